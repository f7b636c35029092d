#pragma once

#include <fstream>
#include <optional>
#include <string>

namespace tunx {

// Reads a text file line by line. A line ends at LF, CR LF or a lone CR; the end is not
// part of the line. Lines longer than the limit are cut there (the rest is skipped), so a
// binary or runaway file cannot exhaust memory.
class LineReader {
  public:
    static constexpr std::size_t kMaxLine = 64 * 1024;

    // How the line last returned by next() ended.
    enum class LineEnd { None, Lf, Cr, CrLf };

    explicit LineReader(const std::string& path);
    bool isOpen() const { return in_.is_open(); }
    // The next line, or nullopt at the end of the file.
    std::optional<std::string> next();
    bool atEnd();
    LineEnd lastEnd() const { return lastEnd_; }

  private:
    std::ifstream in_;
    LineEnd lastEnd_ = LineEnd::None;
};

}  // namespace tunx
