#pragma once

#include <cstdint>
#include <fstream>
#include <istream>
#include <optional>
#include <string>

namespace tunx {

// What stands at a path that is to be read as a text file.
enum class FileKind { Readable, Missing, Folder, NotAFile, TooLarge };

// Files of the program's kinds (calibration data, profiles, configurations, scripts) are a few
// kilobytes; anything far larger is not one of them.
inline constexpr std::uintmax_t kMaxTextFileBytes = 16 * 1024 * 1024;

// Looks at the path (following links): a regular file of at most kMaxTextFileBytes is Readable.
FileKind fileKind(const std::string& path);

// The message for a path that is there but cannot be read as a text file (a folder, a device,
// a pipe, a file far too large), naming the path; empty for Readable and Missing.
std::string unreadableFileText(const std::string& path, FileKind kind);

// Reads text line by line. A line ends at LF, CR LF or a lone CR; the end is not part of the
// line. Reading never takes more than a line's worth of text without a line end: a line that
// reaches kMaxLine is returned cut there, with the end Cut, and nothing more is read, so a
// runaway or binary input ends at once instead of being read on. At most kMaxTextFileBytes are
// read in all; an input that goes on beyond that ends with a Cut line as well.
class LineReader {
  public:
    static constexpr std::size_t kMaxLine = 64 * 1024;

    // How the line last returned by next() ended.
    enum class LineEnd { None, Lf, Cr, CrLf, Cut };

    // Opens a path only when fileKind() finds it Readable.
    explicit LineReader(const std::string& path);
    // Reads a stream the caller opened (the script runner's script or standard input).
    explicit LineReader(std::istream& in);

    bool isOpen() const { return in_ != nullptr; }
    FileKind kind() const { return kind_; }
    // The next line, or nullopt at the end of the input or after a Cut line.
    std::optional<std::string> next();
    bool atEnd();
    LineEnd lastEnd() const { return lastEnd_; }

  private:
    int take();

    FileKind kind_ = FileKind::Missing;
    std::ifstream file_;
    std::istream* in_ = nullptr;
    std::uintmax_t consumed_ = 0;
    LineEnd lastEnd_ = LineEnd::None;
};

// The next line of a file of fixed layout: a missing or cut line raises
// RuntimeError("Input past end of file").
std::string requireLine(LineReader& in);

}  // namespace tunx
