#include "app/FileFilter.h"

namespace tunx::app {

namespace {

constexpr QChar kFieldSeparator = u'|';
constexpr QChar kPatternSeparator = u';';
constexpr const char* kEveryFile = "*.*";
constexpr const char* kAnyName = "*";

QStringList patternsOf(const QString& field) {
    const QString anyName = QString::fromLatin1(kAnyName);
    QStringList out;
    for (const QString& raw : field.split(kPatternSeparator, Qt::SkipEmptyParts)) {
        const QString pattern = raw.trimmed();
        if (pattern.isEmpty()) {
            continue;
        }
        if (pattern == QLatin1String(kEveryFile) || pattern == anyName) {
            if (!out.contains(anyName)) {
                out.append(anyName);
            }
            continue;
        }
        for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()}) {
            if (!out.contains(variant)) {
                out.append(variant);
            }
        }
    }
    if (out.isEmpty()) {
        out.append(anyName);
    }
    return out;
}

// "Text files (*.TXT)" -> "Text files".
QString descriptionWords(const QString& description) {
    QString words = description.trimmed();
    const qsizetype open = words.lastIndexOf(u'(');
    if (open >= 0 && words.endsWith(u')')) {
        words.truncate(open);
    }
    return words.trimmed();
}

}  // namespace

QStringList toQtNameFilters(const std::string& filter) {
    const QStringList fields = QString::fromStdString(filter).split(kFieldSeparator);
    QStringList out;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        const QStringList patterns = patternsOf(fields[i + 1]);
        QString words = descriptionWords(fields[i]);
        if (words.isEmpty()) {
            words = patterns.join(u' ');
        }
        out.append(words + QStringLiteral(" (") + patterns.join(u' ') + u')');
    }
    if (out.isEmpty()) {
        out.append(QString::fromLatin1(kAnyName));
    }
    return out;
}

}  // namespace tunx::app
