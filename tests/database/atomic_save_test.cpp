#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "database/channel_file.h"
#include "support/database_builder.h"

namespace zoedit {
namespace {

namespace fs = std::filesystem;
using testing::buildDatabase;
using testing::contentDifference;

std::vector<std::uint8_t> slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void spit(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

class AtomicSave : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/zoedit-save-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    // Only the named files are left in the folder: no temporary leftovers.
    void expectOnly(std::initializer_list<const char*> names) {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(dir))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, std::vector<std::string>(names.begin(), names.end()));
    }
    fs::path dir;
};

TEST_F(AtomicSave, NewAndReplacedFilesHoldTheBuiltBytesAndKeepPermissions) {
    ChannelDatabase db = buildDatabase();
    setNameBytes(db.tv.working[0].name, "Folded");
    const fs::path path = dir / "channels.bin";
    ChannelDatabase expected_db = db;
    const auto expected = buildChannelFile(expected_db, {.new_record_mode = true}, 2);

    ASSERT_TRUE(saveChannelFile(path.string(), db, {.new_record_mode = true}, 2).ok);
    EXPECT_EQ(slurp(path), expected);
    EXPECT_EQ(contentDifference(expected_db, db), "");  // memory holds what was written

    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const auto small = testing::fileBytesOf(buildDatabase({.tv = 1, .radio = 0, .groups = {}}));
    const SaveResult replaced = writeFileAtomically(path.string(), small);
    ASSERT_TRUE(replaced.ok) << replaced.message;
    EXPECT_EQ(slurp(path), small);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    expectOnly({"channels.bin"});
}

TEST_F(AtomicSave, SymbolicLinkStaysALinkToTheReplacedFile) {
    const fs::path real = dir / "real.bin";
    const fs::path link = dir / "link.bin";
    spit(real, {1, 2, 3});
    fs::create_symlink(real, link);
    ASSERT_TRUE(writeFileAtomically(link.string(), std::vector<std::uint8_t>{9, 8}).ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(slurp(real), (std::vector<std::uint8_t>{9, 8}));
}

// Failures that happen even for root: each leaves the old data and the
// database in memory as they were, and names the file and the reason.
TEST_F(AtomicSave, FailuresLeaveFileAndMemoryAsTheyWere) {
    const fs::path blocker = dir / "plain.txt";
    spit(blocker, {'x'});
    const fs::path folder_target = dir / "folder.bin";
    fs::create_directory(folder_target);
    const fs::path fifo = dir / "pipe.bin";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const fs::path read_only = dir / "locked.bin";
    spit(read_only, {4, 5, 6});
    fs::permissions(read_only, fs::perms::owner_read | fs::perms::group_read);

    const struct {
        fs::path path;
        std::string reason;
    } cases[] = {
        {blocker / "child.bin", "Not a directory"},
        {folder_target, "Is a directory"},
        {read_only, "Permission denied"},
        {fifo, "Not a regular file"},
        {dir / "missing" / "x.bin", "No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        ChannelDatabase db = buildDatabase();
        setNameBytes(db.tv.working[1].name, "Not yet saved");
        db.transponders.primary[0].frequency = 11111;  // would change a band
        const ChannelDatabase before = db;
        const SaveResult result =
            saveChannelFile(c.path.string(), db, {.new_record_mode = true}, 0);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, "Cannot save " + c.path.string() + ": " + c.reason);
        EXPECT_EQ(contentDifference(before, db), "");
        EXPECT_EQ(nameBytes(db.tv.working[1].name), "Not yet saved");
    }
    EXPECT_EQ(slurp(read_only), (std::vector<std::uint8_t>{4, 5, 6}));
    EXPECT_TRUE(fs::is_directory(folder_target));
    EXPECT_TRUE(fs::is_fifo(fifo));
    expectOnly({"folder.bin", "locked.bin", "pipe.bin", "plain.txt"});
}

// A write that fails halfway (a full disk, here a file size limit) leaves
// the old file whole and removes the temporary file.
TEST_F(AtomicSave, WriteFailingHalfwayKeepsTheOldFile) {
    const fs::path path = dir / "channels.bin";
    const std::vector<std::uint8_t> old_bytes(100, 0x42);
    spit(path, old_bytes);
    const std::vector<std::uint8_t> big(64 * 1024, 0x17);

    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const SaveResult result = writeFileAtomically(path.string(), big);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, old_handler);

    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Cannot save " + path.string() + ": File too large");
    EXPECT_EQ(slurp(path), old_bytes);
    expectOnly({"channels.bin"});
}

}  // namespace
}  // namespace zoedit
