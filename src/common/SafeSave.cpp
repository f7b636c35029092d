#include "common/SafeSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <string_view>

namespace tunx {

namespace {

constexpr const char* kNoName = "no file name";
constexpr const char* kNoFileName = "the path names no file";
constexpr const char* kNotRegular = "not a regular file";
constexpr const char* kNulInName = "the name holds a NUL byte";

namespace fs = std::filesystem;

// Links followed to the file a path names, as the system's own limit on link chains.
constexpr int kMaxLinkHops = 40;
// Fresh names tried before giving up (each is taken only when nobody has it).
constexpr int kNameAttempts = 100;
// Names of fresh files: short whatever the target's name, so a target whose name is as long as
// the system allows can still be replaced.
constexpr const char* kPendingPrefix = ".tunx4k-";
constexpr int kTagDigits = 16;
constexpr const char* kPendingSuffix = ".tmp";
constexpr mode_t kNewFileMode = 0666;  // less the user's umask, as any new file gets
constexpr mode_t kPermissionBits = 07777;

// The file a path names once its symbolic links are followed; nullopt when the chain cannot be
// followed (too long, unreadable).
std::optional<fs::path> followLinks(fs::path path) {
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) {
            return path;
        }
        const fs::path to = fs::read_symlink(path, ec);
        if (ec) {
            return std::nullopt;
        }
        path = to.is_absolute() ? to : path.parent_path() / to;
    }
    return std::nullopt;
}

// Hexadecimal digits from the system's random source, for names nobody can guess beforehand.
std::string randomTag(std::random_device& random) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    constexpr unsigned kDigitMask = 0xF;
    std::string tag;
    for (int i = 0; i < kTagDigits; ++i) {
        tag += kDigits[random() & kDigitMask];
    }
    return tag;
}

// A fresh file that is removed again unless it has been committed under the target's name.
class PendingFile {
  public:
    // Creates a file of a new unpredictable name in `folder`; isOpen() tells whether it worked.
    explicit PendingFile(const fs::path& folder) {
        std::random_device random;
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            path_ = folder / (kPendingPrefix + randomTag(random) + kPendingSuffix);
            // O_EXCL with O_CREAT never opens an existing name, a link included.
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                         kNewFileMode);
            if (fd_ >= 0) {
                created_ = true;
                return;
            }
            if (errno != EEXIST) {
                return;
            }
        }
    }
    ~PendingFile() {
        closeFile();
        if (created_ && !committed_) {
            ::unlink(path_.c_str());
        }
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }

    // Writes all of `content`, gives the file `mode` and flushes it to disk.
    bool write(std::string_view content, std::optional<mode_t> mode) {
        while (!content.empty()) {
            const ssize_t n = ::write(fd_, content.data(), content.size());
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            content.remove_prefix(static_cast<std::size_t>(n));
        }
        if (mode && ::fchmod(fd_, *mode) != 0) {
            return false;
        }
        return ::fsync(fd_) == 0 && closeFile();
    }

    // Renames the file over `target`; from then on it is the target and stays.
    bool commit(const fs::path& target) {
        if (::rename(path_.c_str(), target.c_str()) != 0) {
            return false;
        }
        committed_ = true;
        return true;
    }

  private:
    bool closeFile() {
        if (fd_ < 0) {
            return true;
        }
        const bool ok = ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }

    fs::path path_;
    int fd_ = -1;
    bool created_ = false;
    bool committed_ = false;
};

// Flushes the folder's entry list, so the renamed file survives a power cut; a folder that
// cannot be flushed leaves the file saved all the same.
void flushFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

bool saveFileSafely(const std::string& path, std::string_view content, std::string* why) {
    // The reason of a failure: what the system said, taken before anything else can change it.
    const auto fail = [why](const char* reason = nullptr) {
        if (why != nullptr) {
            *why = reason != nullptr ? reason : std::strerror(errno);
        }
        return false;
    };
    if (path.empty()) {
        return fail(kNoName);
    }
    if (path.find('\0') != std::string::npos) {
        return fail(kNulInName);  // the system would take the name as cut there
    }
    const auto target = followLinks(path);
    if (!target || !target->has_filename()) {
        return fail(kNoFileName);
    }
    std::optional<mode_t> mode;  // an existing file keeps its permissions
    struct stat existing {};
    if (::lstat(target->c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) {
            return fail(kNotRegular);
        }
        // A file the user may not write is not replaced either, though the folder would let
        // the new one take its name.
        if (::faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0) {
            return fail();
        }
        mode = existing.st_mode & kPermissionBits;
    } else if (errno != ENOENT) {
        return fail();
    }
    const fs::path folder = target->has_parent_path() ? target->parent_path() : fs::path(".");
    PendingFile pending(folder);
    if (!pending.isOpen()) {
        return fail();
    }
    if (!pending.write(content, mode) || !pending.commit(*target)) {
        return fail();
    }
    flushFolder(folder);
    return true;
}

bool writesOver(const std::string& path, const std::string& other) {
    std::error_code ec;
    return fs::equivalent(path, other, ec);
}

}  // namespace tunx
