#include "app/ReferenceSettings.h"

#include <QSettings>
#include <array>
#include <sstream>

#include "monitor/ReferenceMenu.h"
#include "program/Program.h"

namespace tunx::app {

namespace {
constexpr std::array<const char*, 2> kKeys = {"reference/A", "reference/B"};
}  // namespace

void ReferenceSettings::load(Program& program) {
    if (!keep_) {
        return;
    }
    References& refs = program.monitor().mon().refs;
    QSettings settings;
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        const QString key = QString::fromLatin1(kKeys[i]);
        const QString kept = settings.value(key).toString();
        if (kept.isEmpty()) {
            continue;
        }
        std::istringstream in(kept.toStdString());
        std::string why;
        if (std::optional<ReferenceTrace> ref = readReferenceCsv(in, why)) {
            refs.traces[i] = std::move(*ref);
        } else {
            settings.remove(key);
        }
    }
    written_ = refs.revision;
}

void ReferenceSettings::keep(Program& program) {
    const References& refs = program.monitor().mon().refs;
    if (!keep_ || refs.revision == written_) {
        return;
    }
    written_ = refs.revision;
    QSettings settings;
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        const QString key = QString::fromLatin1(kKeys[i]);
        if (refs.traces[i]) {
            settings.setValue(key, QString::fromStdString(referenceCsv(*refs.traces[i])));
        } else {
            settings.remove(key);
        }
    }
}

}  // namespace tunx::app
