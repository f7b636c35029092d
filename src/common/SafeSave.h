#pragma once

#include <string>
#include <string_view>

namespace tunx {

// Replaces the file at `path` with `content`, so that the file is either the old one or the
// complete new one, whatever happens:
// - the new content goes into a fresh file with an unpredictable name in the target's folder,
//   created exclusively and never through a link, and is flushed to disk;
// - that file is then renamed over the target; when `path` is a symbolic link, the file it
//   points to is replaced and the link stays;
// - on any failure the fresh file is removed and the old file is left as it was.
// A target that exists but is no regular file (a folder, a device), or that the user may not
// write (read-only), is not replaced; neither is a name holding a NUL byte.
// Returns whether the new content is in place; on failure `why` (when given) says what stood in
// the way, in words ("Permission denied", "not a regular file").
bool saveFileSafely(const std::string& path, std::string_view content, std::string* why = nullptr);

// Whether writing to `path` would write over the existing file `other` names (the same file,
// by links or not), as a transcript named like its own script would.
bool writesOver(const std::string& path, const std::string& other);

}  // namespace tunx
