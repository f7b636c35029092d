#pragma once

#include "ports/Canvas.h"
#include "ports/Clock.h"
#include "ports/Transcript.h"
#include "ports/Ui.h"
#include "ports/UsbApi.h"

namespace tunx {

// Decorators that pass every call on and write its transcript line.

class RecordingUsbApi : public UsbApi {
  public:
    RecordingUsbApi(UsbApi& inner, Transcript& transcript) : inner_(inner), t_(transcript) {}

    int SI_GetNumDevices(std::uint32_t& numDevices) override;
    int SI_GetProductString(std::uint32_t deviceNum, std::span<char> buffer, int options) override;
    int SI_Open(std::uint32_t deviceNum, DeviceHandle& handle) override;
    int SI_Close(DeviceHandle handle) override;
    int SI_SetTimeouts(std::uint32_t readTimeout, std::uint32_t writeTimeout) override;
    int SI_SetBaudRate(DeviceHandle handle, std::uint32_t baudRate) override;
    int SI_FlushBuffers(DeviceHandle handle, std::uint8_t tx, std::uint8_t rx) override;
    int SI_Write(DeviceHandle handle, std::span<const std::uint8_t> data,
                 std::uint32_t& bytesWritten) override;
    int SI_Read(DeviceHandle handle, std::span<std::uint8_t> buffer,
                std::uint32_t& bytesReturned) override;
    // Not library calls: no transcript line (the program's messages show them).
    std::string noDeviceAdvice() const override { return inner_.noDeviceAdvice(); }
    std::string deviceProblem(std::uint32_t deviceNum) const override {
        return inner_.deviceProblem(deviceNum);
    }

  private:
    UsbApi& inner_;
    Transcript& t_;
};

class RecordingClock : public Clock {
  public:
    RecordingClock(Clock& inner, Transcript& transcript) : inner_(inner), t_(transcript) {}
    void Sleep(int milliseconds) override;
    long long elapsedMs() const override { return inner_.elapsedMs(); }

  private:
    Clock& inner_;
    Transcript& t_;
};

class RecordingUi : public Ui {
  public:
    RecordingUi(Ui& inner, Transcript& transcript) : inner_(inner), t_(transcript) {}

    void MsgBox(const std::string& text, MsgIcon icon,
                const std::optional<std::string>& title) override;
    bool MsgBoxYesNo(const std::string& text) override;
    std::string FileDialog(FileDialogKind kind, const std::string& title, const std::string& filter,
                           int filterIndex) override;
    void EndApplication() override;
    void OpenUsersGuide(const std::string& path) override;
    void ShowForm(const std::string& form, const std::string& front) override;
    void Repaint(const Control& control) override { inner_.Repaint(control); }
    void SetBusy(bool busy) override { inner_.SetBusy(busy); }

  private:
    Ui& inner_;
    Transcript& t_;
};

// Writes the drawing calls only while lines are on (the script's `lines on`).
class RecordingCanvas : public Canvas {
  public:
    RecordingCanvas(Canvas& inner, Transcript& transcript) : inner_(inner), t_(transcript) {}
    void Line(double x1, double y1, double x2, double y2, Colour colour, int width,
              LineStyle style) override;
    void Clear() override;
    void Fade(double keep) override;
    Colour BackColor() const override { return inner_.BackColor(); }

    void setLines(bool on) { lines_ = on; }
    bool lines() const { return lines_; }

    bool Save(const std::string& path, std::string& why) override { return inner_.Save(path, why); }
    bool SaveSheet(const std::string& path, const PlotSheet& sheet, std::string& why) override {
        return inner_.SaveSheet(path, sheet, why);
    }

  private:
    Canvas& inner_;
    Transcript& t_;
    bool lines_ = false;
};

}  // namespace tunx
