#pragma once

#include <optional>
#include <string>

namespace tunx {

struct Control;

enum class MsgIcon { None, Exclamation, Critical, Information };
enum class FileDialogKind { Open, Save };

// The window system as the core sees it.
class Ui {
  public:
    virtual ~Ui() = default;

    // Modal message box with an OK button; no title means the application's default title.
    virtual void MsgBox(const std::string& text, MsgIcon icon = MsgIcon::None,
                        const std::optional<std::string>& title = std::nullopt) = 0;

    // Modal message box with Yes and No buttons and the default title: true for Yes.
    virtual bool MsgBoxYesNo(const std::string& text) = 0;

    // Common open/save dialog. `filter` is in the "Description|pattern|..." form,
    // `filterIndex` 1-based. Returns the chosen path, or empty when cancelled.
    virtual std::string FileDialog(FileDialogKind kind, const std::string& title,
                                   const std::string& filter, int filterIndex) = 0;

    // The application ends now (the caller unwinds with ApplicationEnded afterwards).
    virtual void EndApplication() = 0;

    // Opens the user's guide text file for reading.
    virtual void OpenUsersGuide(const std::string& path) = 0;

    // Shows a window of the program (modeless) and brings `front` to the front.
    virtual void ShowForm(const std::string& form, const std::string& front) = 0;

    // Repaints a control at once, while a handler still runs.
    virtual void Repaint(const Control& control) = 0;

    // Busy cursor on or off while a blocking sequence runs.
    virtual void SetBusy(bool busy) = 0;
};

}  // namespace tunx
