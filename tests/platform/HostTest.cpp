#include "platform/Host.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tunx {
namespace {

// The installation folder sits beside the bin/ the program runs from: a package's /usr/bin
// and /usr/share/tunx4k, a prefix of one's own, the build tree.
TEST(InstallationFolder, IsShareTunx4kBesideBin) {
    const std::pair<const char*, const char*> rows[] = {
        {"/usr/bin/tunx4k", "/usr/share/tunx4k/"},
        {"/usr/bin/tunx4k-cli", "/usr/share/tunx4k/"},
        {"/usr/local/bin/tunx4k", "/usr/local/share/tunx4k/"},
        {"/opt/tunx4k/bin/tunx4k", "/opt/tunx4k/share/tunx4k/"},
        {"/home/u/src/tunx4k/build/bin/tunx4k", "/home/u/src/tunx4k/build/share/tunx4k/"},
    };
    for (const auto& [executable, folder] : rows) {
        EXPECT_EQ(installationFolderOf(executable), folder) << executable;
    }
}

// This test program runs from the build tree's bin/, whose share/tunx4k/ holds the files.
TEST(InstallationFolder, OfThisProgramIsTheBuildTreesShare) {
    const std::string folder = installationFolder();
    EXPECT_TRUE(folder.ends_with("/share/tunx4k/")) << folder;
    EXPECT_TRUE(std::filesystem::equivalent(folder, TUNX_SHARE_DIR)) << folder;
}

}  // namespace
}  // namespace tunx
