#include "common/SafeSave.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "support/Rig.h"

namespace tunx {
namespace {

namespace fs = std::filesystem;
using test::readFile;

void writeFile(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

// A fresh folder per test; what is left in it after a save tells whether a fresh file stayed.
struct SafeSave : ::testing::Test {
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
    }
    const fs::path dir =
        fs::temp_directory_path() / ("tunx4k-safesave-" + std::to_string(::getpid()));
    const std::string content = "Frek = 1\r\nVpp = 2\r\n";
};

// The file named is replaced and the names around it stay as they were: links are followed to
// the file they name and kept, whatever already uses a name next to the target is not touched.
TEST_F(SafeSave, ReplacesTheFileANameLeadsToAndNothingElse) {
    struct Row {
        const char* what;
        std::function<void(const fs::path&)> plant;  // sets up the folder
        std::string target;                          // the path saved to
        std::string file;                            // where the content must land
        std::size_t entries;                         // what the folder holds afterwards
    };
    const std::string longName(255, 'n');
    const Row rows[] = {
        {"new file", [](const fs::path&) {}, "a.txt", "a.txt", 1},
        {"existing file",
         [](const fs::path& d) { writeFile(d / "a.txt", std::string(50'000, 'x')); }, "a.txt",
         "a.txt", 1},
        {"name as long as allowed", [&](const fs::path& d) { writeFile(d / longName, "old"); },
         longName, longName, 1},
        {"link planted beside the target",
         [](const fs::path& d) {
             writeFile(d / "a.txt", "old");
             writeFile(d / "victim.txt", "victim");
             fs::create_symlink(d / "victim.txt", d / "a.txt.saving");
         },
         "a.txt", "a.txt", 3},
        {"empty folder beside the target",
         [](const fs::path& d) { fs::create_directory(d / "a.txt.saving"); }, "a.txt", "a.txt", 2},
        {"link to a file",
         [](const fs::path& d) {
             writeFile(d / "real.txt", "old");
             fs::create_symlink("real.txt", d / "a.txt");
         },
         "a.txt", "real.txt", 2},
        {"chain of relative links into a sub-folder",
         [](const fs::path& d) {
             fs::create_directory(d / "sub");
             writeFile(d / "sub" / "real.txt", "old");
             fs::create_symlink("real.txt", d / "sub" / "b.txt");
             fs::create_symlink("sub/b.txt", d / "a.txt");
         },
         "a.txt", "sub/real.txt", 2},
        {"link to a file not yet there",
         [](const fs::path& d) { fs::create_symlink("real.txt", d / "a.txt"); }, "a.txt",
         "real.txt", 2},
    };
    for (const Row& r : rows) {
        SetUp();
        r.plant(dir);
        EXPECT_TRUE(saveFileSafely((dir / r.target).string(), content)) << r.what;
        EXPECT_EQ(readFile(dir / r.file), content) << r.what;
        EXPECT_EQ(entries(), r.entries) << r.what;
        EXPECT_EQ(readFile(dir / r.target), content) << r.what;
        if (fs::exists(dir / "victim.txt")) {
            EXPECT_EQ(readFile(dir / "victim.txt"), "victim") << r.what;
            EXPECT_TRUE(fs::is_symlink(dir / "a.txt.saving")) << r.what;
        }
        if (r.file != r.target) {
            EXPECT_TRUE(fs::is_symlink(dir / r.target)) << r.what;
        }
    }
}

TEST_F(SafeSave, KeepsThePermissionsOfTheFileItReplaces) {
    writeFile(dir / "a.txt", "old");
    fs::permissions(dir / "a.txt",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(saveFileSafely((dir / "a.txt").string(), content));
    EXPECT_EQ(fs::status(dir / "a.txt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// Whatever fails, the old file stays as it was and no fresh file is left behind.
TEST_F(SafeSave, AFailureLeavesTheOldFileAndNoFreshOne) {
    struct Row {
        const char* what;
        std::function<void(const fs::path&)> plant;
        std::string target;
        std::size_t entries;
    };
    const Row rows[] = {
        {"folder missing", [](const fs::path&) {}, "none/a.txt", 0},
        {"target is a folder", [](const fs::path& d) { fs::create_directory(d / "a.txt"); },
         "a.txt", 1},
        {"links in a loop",
         [](const fs::path& d) {
             fs::create_symlink("b.txt", d / "a.txt");
             fs::create_symlink("a.txt", d / "b.txt");
         },
         "a.txt", 2},
        {"target ends in a separator", [](const fs::path&) {}, "a.txt/", 0},
        {"no name at all", [](const fs::path&) {}, "", 0},
        {"a NUL byte in the name", [](const fs::path&) {}, std::string("a.txt\0b", 7), 0},
    };
    for (const Row& r : rows) {
        SetUp();
        r.plant(dir);
        const std::string target = r.target.empty() ? "" : (dir / r.target).string();
        EXPECT_FALSE(saveFileSafely(target, content)) << r.what;
        EXPECT_EQ(entries(), r.entries) << r.what;
    }
    EXPECT_FALSE(saveFileSafely("/dev/null", content));  // a device is not replaced
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

// A file the user may not write is not replaced, though the folder would let a new file take
// its name. The superuser may write any file: as the superuser the save runs as an ordinary
// user ("nobody") who owns the folder.
TEST_F(SafeSave, AFileTheUserMayNotWriteIsNotReplaced) {
    constexpr uid_t kNobody = 65534;
    const fs::path file = dir / "a.txt";
    writeFile(file, "old");
    fs::permissions(file, fs::perms::owner_read);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(dir.c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chown(file.c_str(), kNobody, kNobody), 0);
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (root && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(3);
        }
        std::string why;
        const bool saved = saveFileSafely(file.string(), content, &why);
        ::_exit(saved ? 1 : why == "Permission denied" ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(readFile(file), "old");
    EXPECT_EQ(entries(), 1U);
}

// A disk that fills up while the new file is written: the file-size limit makes the write fail
// for every user, the superuser included.
TEST_F(SafeSave, AWriteThatFailsHalfwayLeavesTheOldFile) {
    writeFile(dir / "a.txt", "old");
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 8;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = saveFileSafely((dir / "a.txt").string(), content);
    ::setrlimit(RLIMIT_FSIZE, &before);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_EQ(readFile(dir / "a.txt"), "old");
    EXPECT_EQ(entries(), 1U);
}

}  // namespace
}  // namespace tunx
