#include "ports/Recording.h"

#include <algorithm>
#include <cstring>

namespace tunx {

namespace {
std::string withStatus(std::string line, int status) {
    if (status != usb::kSuccess) {
        line += " -> " + std::to_string(status);
    }
    return line;
}
}  // namespace

int RecordingUsbApi::SI_GetNumDevices(std::uint32_t& numDevices) {
    const int status = inner_.SI_GetNumDevices(numDevices);
    t_.write(status == usb::kSuccess ? "devices " + std::to_string(numDevices)
                                     : "devices -> status " + std::to_string(status));
    return status;
}

int RecordingUsbApi::SI_GetProductString(std::uint32_t deviceNum, std::span<char> buffer,
                                         int options) {
    const int status = inner_.SI_GetProductString(deviceNum, buffer, options);
    const auto end = std::find(buffer.begin(), buffer.end(), '\0');
    t_.write("product " + std::to_string(deviceNum) + " -> " +
             Transcript::escape(std::string(buffer.begin(), end)));
    return status;
}

int RecordingUsbApi::SI_Open(std::uint32_t deviceNum, DeviceHandle& handle) {
    const int status = inner_.SI_Open(deviceNum, handle);
    t_.write(withStatus("open " + std::to_string(deviceNum), status));
    return status;
}

int RecordingUsbApi::SI_Close(DeviceHandle handle) {
    const int status = inner_.SI_Close(handle);
    t_.write("close");
    return status;
}

int RecordingUsbApi::SI_SetTimeouts(std::uint32_t readTimeout, std::uint32_t writeTimeout) {
    const int status = inner_.SI_SetTimeouts(readTimeout, writeTimeout);
    t_.write("timeouts " + std::to_string(readTimeout) + " " + std::to_string(writeTimeout));
    return status;
}

int RecordingUsbApi::SI_SetBaudRate(DeviceHandle handle, std::uint32_t baudRate) {
    const int status = inner_.SI_SetBaudRate(handle, baudRate);
    t_.write(withStatus("baud " + std::to_string(baudRate), status));
    return status;
}

int RecordingUsbApi::SI_FlushBuffers(DeviceHandle handle, std::uint8_t tx, std::uint8_t rx) {
    const int status = inner_.SI_FlushBuffers(handle, tx, rx);
    t_.write("flush");
    return status;
}

int RecordingUsbApi::SI_Write(DeviceHandle handle, std::span<const std::uint8_t> data,
                              std::uint32_t& bytesWritten) {
    const int status = inner_.SI_Write(handle, data, bytesWritten);
    t_.write(withStatus("write " + Transcript::bytes(data), status));
    return status;
}

int RecordingUsbApi::SI_Read(DeviceHandle handle, std::span<std::uint8_t> buffer,
                             std::uint32_t& bytesReturned) {
    bytesReturned = 0;
    const int status = inner_.SI_Read(handle, buffer, bytesReturned);
    std::string line = "read " + std::to_string(buffer.size()) + " -> ";
    const std::size_t got = std::min<std::size_t>(bytesReturned, buffer.size());
    if (status == usb::kSuccess) {
        line += Transcript::bytes(buffer.first(got));
    } else if (status == usb::kReadTimedOut && got == 0) {
        line += "timeout";
    } else {
        line += "status " + std::to_string(status);
    }
    t_.write(line);
    return status;
}

void RecordingClock::Sleep(int milliseconds) {
    t_.write("sleep " + std::to_string(milliseconds));
    inner_.Sleep(milliseconds);
}

void RecordingUi::MsgBox(const std::string& text, MsgIcon icon,
                         const std::optional<std::string>& title) {
    t_.write(title ? "message [" + *title + "] " + Transcript::escape(text)
                   : "message " + Transcript::escape(text));
    inner_.MsgBox(text, icon, title);
}

bool RecordingUi::MsgBoxYesNo(const std::string& text) {
    const bool yes = inner_.MsgBoxYesNo(text);
    t_.write("question " + Transcript::escape(text) + (yes ? " -> yes" : " -> no"));
    return yes;
}

std::string RecordingUi::FileDialog(FileDialogKind kind, const std::string& title,
                                    const std::string& filter, int filterIndex) {
    std::string path = inner_.FileDialog(kind, title, filter, filterIndex);
    t_.write("dialog " + title + " -> " + (path.empty() ? "\"\"" : Transcript::escape(path)));
    return path;
}

void RecordingUi::EndApplication() {
    t_.write("end");
    t_.flush();
    inner_.EndApplication();
}

void RecordingUi::OpenUsersGuide(const std::string& path) {
    t_.write("guide " + path);
    inner_.OpenUsersGuide(path);
}

void RecordingUi::ShowForm(const std::string& form, const std::string& front) {
    inner_.ShowForm(form, front);
}

void RecordingCanvas::Line(double x1, double y1, double x2, double y2, Colour colour, int width,
                           LineStyle style) {
    if (lines_) {
        t_.write("line " + Transcript::coordinate(x1) + " " + Transcript::coordinate(y1) + " " +
                 Transcript::coordinate(x2) + " " + Transcript::coordinate(y2) + " " +
                 (colour::isPictureBack(colour) ? std::string("back") : std::to_string(colour)) +
                 " " + std::to_string(width) + (style == LineStyle::Dotted ? " dot" : " solid"));
    }
    inner_.Line(x1, y1, x2, y2, colour, width, style);
}

void RecordingCanvas::Clear() {
    if (lines_) {
        t_.write("clear");
    }
    inner_.Clear();
}

void RecordingCanvas::Fade(double keep) {
    if (lines_) {
        t_.write("fade " + Transcript::coordinate(keep));
    }
    inner_.Fade(keep);
}

}  // namespace tunx
