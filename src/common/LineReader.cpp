#include "common/LineReader.h"

#include <filesystem>
#include <utility>

#include "common/RuntimeError.h"

namespace tunx {

namespace {
constexpr const char* kFolderText = " is a folder, not a readable file";
constexpr const char* kNotAFileText = " is not a readable file";
constexpr const char* kTooLargeText = " is not a readable file: it is larger than 16 MB";

using Traits = std::char_traits<char>;
}  // namespace

FileKind fileKind(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    switch (status.type()) {
        case fs::file_type::not_found:
        case fs::file_type::none:
        case fs::file_type::unknown:
            return FileKind::Missing;
        case fs::file_type::directory:
            return FileKind::Folder;
        case fs::file_type::regular:
            break;
        default:
            return FileKind::NotAFile;  // a device, a pipe or a socket
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) {
        return FileKind::Missing;
    }
    return size > kMaxTextFileBytes ? FileKind::TooLarge : FileKind::Readable;
}

std::string unreadableFileText(const std::string& path, FileKind kind) {
    switch (kind) {
        case FileKind::Folder:
            return path + kFolderText;
        case FileKind::NotAFile:
            return path + kNotAFileText;
        case FileKind::TooLarge:
            return path + kTooLargeText;
        case FileKind::Readable:
        case FileKind::Missing:
            break;
    }
    return {};
}

LineReader::LineReader(const std::string& path) : kind_(fileKind(path)) {
    if (kind_ != FileKind::Readable) {
        return;
    }
    file_.open(path, std::ios::binary);
    if (file_.is_open()) {
        in_ = &file_;
    } else {
        kind_ = FileKind::Missing;
    }
}

LineReader::LineReader(std::istream& in) : kind_(FileKind::Readable), in_(&in) {}

bool LineReader::atEnd() {
    return in_ == nullptr || lastEnd_ == LineEnd::Cut || in_->rdbuf()->sgetc() == Traits::eof();
}

int LineReader::take() {
    ++consumed_;
    return in_->rdbuf()->sbumpc();
}

std::optional<std::string> LineReader::next() {
    if (atEnd()) {
        return std::nullopt;
    }
    std::string line;
    lastEnd_ = LineEnd::None;
    for (;;) {
        if (consumed_ >= kMaxTextFileBytes) {
            lastEnd_ = LineEnd::Cut;
            break;
        }
        const int c = take();
        if (c == Traits::eof()) {
            break;
        }
        if (c == '\n') {
            lastEnd_ = LineEnd::Lf;
            break;
        }
        if (c == '\r') {
            lastEnd_ = LineEnd::Cr;
            if (in_->rdbuf()->sgetc() == '\n') {
                take();
                lastEnd_ = LineEnd::CrLf;
            }
            break;
        }
        if (line.size() == kMaxLine) {
            lastEnd_ = LineEnd::Cut;
            break;
        }
        line += static_cast<char>(c);
    }
    return line;
}

std::string requireLine(LineReader& in) {
    auto line = in.next();
    if (!line || in.lastEnd() == LineReader::LineEnd::Cut) {
        throw RuntimeError(kInputPastEnd);
    }
    return std::move(*line);
}

}  // namespace tunx
