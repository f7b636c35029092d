#include "cli/ScriptUi.h"

namespace tunx::cli {

std::string ScriptUi::FileDialog(FileDialogKind, const std::string&, const std::string&, int) {
    if (answers_.empty()) {
        return {};  // no answer queued: the dialog is cancelled
    }
    std::string path = std::move(answers_.front());
    answers_.pop_front();
    return path;
}

std::vector<std::string> ScriptUi::takeShown() {
    std::vector<std::string> out;
    out.swap(shown_);
    return out;
}

}  // namespace tunx::cli
