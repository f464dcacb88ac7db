#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "database/atomic_file.h"
#include "database/channel_file.h"
#include "support/database_builder.h"
#include "support/file_size_limit.h"

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

std::vector<std::uint8_t> block(std::size_t index) {
    std::vector<std::uint8_t> bytes(1024);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(index * 31 + i * 7);
    return bytes;
}

// The streaming form: appended block by block, read back, cut, put in place
// with the old file's permissions; nothing shows at the target before.
TEST_F(AtomicSave, StreamedFileAppearsWholeOnlyOnCommit) {
    const fs::path path = dir / "received.bin";
    const std::vector<std::uint8_t> old_bytes(10, 0x42);
    spit(path, old_bytes);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    std::vector<std::uint8_t> expected;
    AtomicFile file;
    ASSERT_TRUE(file.open(path.string()).ok);
    for (std::size_t i = 0; i < 5; ++i) {
        const auto b = block(i);
        ASSERT_TRUE(file.append(b).ok);
        expected.insert(expected.end(), b.begin(), b.end());
        EXPECT_EQ(slurp(path), old_bytes);
    }
    std::vector<std::uint8_t> read;
    ASSERT_TRUE(
        file.readBack(1000, 100000,
                      [&](auto piece) { read.insert(read.end(), piece.begin(), piece.end()); })
            .ok);
    EXPECT_TRUE(std::equal(read.begin(), read.end(), expected.begin() + 1000, expected.end()));
    EXPECT_EQ(read.size(), expected.size() - 1000);  // the file ended first
    ASSERT_TRUE(file.truncate(4000).ok);
    expected.resize(4000);
    EXPECT_EQ(file.size(), 4000u);
    ASSERT_TRUE(file.commit().ok);
    EXPECT_EQ(slurp(path), expected);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    expectOnly({"received.bin"});
}

// Failures that happen even for root, each after some blocks went out: a
// size limit reached halfway, the folder replaced by a plain file before the
// rename, and a cancel (discard, or the writer simply going away). Each keeps
// the earlier file byte for byte and leaves no temporary file anywhere.
TEST_F(AtomicSave, StreamedFileFailingOrCancelledKeepsTheEarlierFile) {
    const std::vector<std::uint8_t> old_bytes = block(99);
    enum class Fault { SizeLimit, FolderReplaced, Discard, Destroyed };
    for (const Fault fault :
         {Fault::SizeLimit, Fault::FolderReplaced, Fault::Discard, Fault::Destroyed}) {
        SCOPED_TRACE(static_cast<int>(fault));
        const fs::path folder = dir / "out";
        const fs::path moved = dir / "moved";
        fs::create_directory(folder);
        spit(folder / "received.bin", old_bytes);
        fs::path earlier = folder / "received.bin";
        const std::string path = earlier.string();
        {
            AtomicFile file;
            ASSERT_TRUE(file.open(path).ok);
            SaveResult result;
            if (fault == Fault::SizeLimit) {
                test::FileSizeLimit limit(3 * 1024 + 100);
                ASSERT_TRUE(limit.applied());
                for (std::size_t i = 0; i < 6 && result.ok; ++i) result = file.append(block(i));
                EXPECT_EQ(result.message, "Cannot save " + path + ": File too large");
            } else {
                for (std::size_t i = 0; i < 3; ++i) ASSERT_TRUE(file.append(block(i)).ok);
            }
            if (fault == Fault::FolderReplaced) {
                fs::rename(folder, moved);
                spit(folder, {'f'});
                earlier = moved / "received.bin";
                result = file.commit();
                EXPECT_EQ(result.message, "Cannot save " + path + ": Not a directory");
                EXPECT_EQ(slurp(folder), std::vector<std::uint8_t>{'f'});
            }
            if (fault == Fault::Discard) file.discard();
            if (fault != Fault::Destroyed) {
                EXPECT_FALSE(result.ok && fault != Fault::Discard);
                EXPECT_FALSE(file.active());
                // A commit after a failure or a cancel puts nothing in place.
                EXPECT_FALSE(file.commit().ok);
            }
        }
        EXPECT_EQ(slurp(earlier), old_bytes);
        std::vector<std::string> left;
        for (const auto& entry : fs::recursive_directory_iterator(dir))
            left.push_back(fs::relative(entry.path(), dir).string());
        std::sort(left.begin(), left.end());
        if (fault == Fault::FolderReplaced) {
            EXPECT_EQ(left, (std::vector<std::string>{"moved", "moved/received.bin", "out"}));
        } else {
            EXPECT_EQ(left, (std::vector<std::string>{"out", "out/received.bin"}));
        }
        fs::remove_all(folder);
        fs::remove_all(moved);
    }
}

}  // namespace
}  // namespace zoedit
