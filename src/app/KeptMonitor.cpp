#include "app/KeptMonitor.h"

#include <QCoreApplication>
#include <QSettings>

namespace tunx::app {

namespace {
constexpr const char* kGroup = "monitor";
}  // namespace

KeptMonitor::KeptMonitor(bool keep)
    : keep_(keep && !QCoreApplication::organizationName().isEmpty()) {}

KeptSettings KeptMonitor::load() const {
    KeptSettings out;
    if (!keep_) {
        return out;
    }
    QSettings settings;
    settings.beginGroup(QString::fromLatin1(kGroup));
    for (const QString& key : settings.childKeys()) {
        const QVariant value = settings.value(key);
        if (value.typeId() == QMetaType::QString) {
            out[key.toStdString()] = value.toString().toStdString();
        }
    }
    return out;
}

void KeptMonitor::save(const KeptSettings& settings) const {
    for (const auto& [name, value] : settings) {
        save(name, value);
    }
}

void KeptMonitor::save(const std::string& name, const std::string& value) const {
    if (keep_) {
        QSettings().setValue(QString::fromLatin1(kGroup) + u'/' + QString::fromStdString(name),
                             QString::fromStdString(value));
    }
}

}  // namespace tunx::app
