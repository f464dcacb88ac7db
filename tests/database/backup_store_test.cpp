#include "database/backup_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "database/atomic_file.h"
#include "database/backup_restore.h"
#include "database/channel_file.h"
#include "support/database_builder.h"
#include "support/file_size_limit.h"
#include "support/link_fixture.h"

namespace zoedit {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using test::readBytes;
using test::writeBytes;

// Distinct contents of one length: the n-th save of a file.
Bytes version(int n, std::size_t size = 300) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(n * 13 + i);
    return bytes;
}

class Backups : public ::testing::Test {
protected:
    std::vector<Bytes> contents(const fs::path& original) const {
        std::vector<Bytes> found;
        for (const BackupEntry& entry : store.list(original.string()))
            found.push_back(readBytes(entry.path));
        return found;
    }

    test::TempDir dir;
    fs::path path = dir.path("channels.bin");
    BackupStore store{dir.path("backups").string(), kDefaultBackupsKept};
};

// Every save backs up what it replaces; the store keeps the newest ten, newest
// first, in the order they were made even when saves follow within the same
// millisecond.
TEST_F(Backups, TwelveSavesKeepTheLastTenNewestFirst) {
    for (int n = 1; n <= 12; ++n) {
        const SaveResult saved = writeFileAtomically(path.string(), version(n), store);
        ASSERT_TRUE(saved.ok) << saved.message;
        EXPECT_EQ(saved.warning, "");
    }
    EXPECT_EQ(readBytes(path), version(12));
    std::vector<Bytes> expected;
    for (int n = 11; n >= 2; --n) expected.push_back(version(n));
    EXPECT_EQ(contents(path), expected);

    const auto entries = store.list(path.string());
    ASSERT_EQ(entries.size(), 10u);
    for (const BackupEntry& entry : entries) {
        EXPECT_EQ(entry.size, 300u);
        EXPECT_EQ(fs::path(entry.path).extension(), ".bin");
        EXPECT_EQ(fs::path(entry.path).parent_path(), fs::path(store.folderFor(path.string())));
    }
    // A smaller setting takes effect at the next backup.
    const BackupStore three(store.root(), 3);
    ASSERT_TRUE(writeFileAtomically(path.string(), version(13), three).ok);
    EXPECT_EQ(contents(path), (std::vector<Bytes>{version(12), version(11), version(10)}));
}

// The old file is linked, not copied: the backup is the very file that was
// replaced. Same bytes make no backup, whatever writes them.
TEST_F(Backups, SameFileSystemLinksTheOldFileAndUnchangedContentMakesNone) {
    ChannelDatabase db = testing::buildDatabase();
    ASSERT_TRUE(saveChannelFile(path.string(), db, {}, 0, store).ok);
    const Bytes first = readBytes(path);

    ASSERT_TRUE(saveChannelFile(path.string(), db, {}, 0, store).ok);
    ASSERT_TRUE(writeFileAtomically(path.string(), first, store).ok);
    EXPECT_TRUE(store.list(path.string()).empty());

    // One byte more, one byte different: each is a change.
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    Bytes longer = first;
    longer.push_back(0);
    ASSERT_TRUE(writeFileAtomically(path.string(), longer, store).ok);
    Bytes changed = longer;
    changed[100] ^= 1;
    ASSERT_TRUE(writeFileAtomically(path.string(), changed, store).ok);
    const auto entries = store.list(path.string());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(readBytes(entries[0].path), longer);
    EXPECT_EQ(readBytes(entries[1].path), first);
    struct stat kept {};
    ASSERT_EQ(::stat(entries[1].path.c_str(), &kept), 0);
    EXPECT_EQ(kept.st_ino, before.st_ino);
    EXPECT_EQ(kept.st_nlink, 1u);
}

TEST_F(Backups, BackupFolderOnAnotherFileSystemGetsACopy) {
    if (!fs::is_directory("/dev/shm")) GTEST_SKIP() << "no /dev/shm";
    test::TempDir other_root;
    char pattern[] = "/dev/shm/zoedit-backups-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const BackupStore elsewhere(pattern, 2);
    writeBytes(path, version(1));
    const SaveResult saved = writeFileAtomically(path.string(), version(2), elsewhere);
    ASSERT_TRUE(saved.ok) << saved.message;
    EXPECT_EQ(saved.warning, "");
    const auto entries = elsewhere.list(path.string());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(readBytes(entries[0].path), version(1));
    // Nothing but the copy: the atomic writer's temporary file is gone.
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(entries[0].path).parent_path()),
                            fs::directory_iterator()),
              1);
    fs::remove_all(pattern);
}

// Failures that happen for root too. A save that fails keeps the file and
// leaves no backup behind, even when the failure comes at the rename, after
// the backup was made.
TEST_F(Backups, FailedSaveKeepsTheFileAndMakesNoBackup) {
    writeBytes(path, version(1));
    {
        test::FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.applied());
        const SaveResult result = writeFileAtomically(path.string(), version(2, 64 * 1024), store);
        EXPECT_FALSE(result.ok);
    }
    EXPECT_EQ(readBytes(path), version(1));
    EXPECT_TRUE(store.list(path.string()).empty());

    // The rename fails after the backup was made: the temporary file was
    // taken away meanwhile.
    {
        AtomicFile file;
        file.keepBackups(store);
        ASSERT_TRUE(file.open(path.string()).ok);
        ASSERT_TRUE(file.append(version(2)).ok);
        for (const auto& entry : fs::directory_iterator(dir.dir()))
            if (entry.path().filename().string().starts_with(".channels.bin.tmp"))
                fs::remove(entry.path());
        EXPECT_FALSE(file.commit().ok);
        EXPECT_EQ(readBytes(path), version(1));
        EXPECT_TRUE(store.list(path.string()).empty());
    }

    // The file's folder replaced by a regular file.
    const fs::path folder = dir.path("out");
    fs::create_directory(folder);
    const fs::path inside = folder / "channels.bin";
    writeBytes(inside, version(1));
    AtomicFile again;
    again.keepBackups(store);
    ASSERT_TRUE(again.open(inside.string()).ok);
    ASSERT_TRUE(again.append(version(3)).ok);
    fs::rename(folder, dir.path("moved"));
    writeBytes(folder, {'f'});
    EXPECT_FALSE(again.commit().ok);
    EXPECT_EQ(readBytes(dir.path("moved") / "channels.bin"), version(1));
    EXPECT_TRUE(store.list(inside.string()).empty());
}

// A backup that cannot be made never stops the save: the file is written and
// the one result carries the warning naming why.
TEST_F(Backups, BackupFolderThatIsARegularFileLetsTheSaveGoOnWithOneWarning) {
    writeBytes(dir.path("plain"), {'x'});
    const BackupStore blocked(dir.path("plain").string(), 10);
    writeBytes(path, version(1));
    const SaveResult saved = writeFileAtomically(path.string(), version(2), blocked);
    ASSERT_TRUE(saved.ok) << saved.message;
    EXPECT_EQ(readBytes(path), version(2));
    EXPECT_NE(saved.warning.find("no backup of " + path.string()), std::string::npos)
        << saved.warning;
    EXPECT_NE(saved.warning.find("Not a directory"), std::string::npos) << saved.warning;
    EXPECT_EQ(readBytes(dir.path("plain")), Bytes{'x'});
    // No file to replace, nothing to back up, nothing to warn about.
    const SaveResult fresh = writeFileAtomically(dir.path("new.bin").string(), version(1), blocked);
    EXPECT_TRUE(fresh.ok);
    EXPECT_EQ(fresh.warning, "");
}

// Files are told apart by their canonical path: the same name in two folders
// never mixes, the same file by two names (a link, "..") is one.
TEST_F(Backups, FilesKeepApartByCanonicalPath) {
    fs::create_directories(dir.path("a"));
    fs::create_directories(dir.path("b"));
    const fs::path a = dir.path("a") / "channels.bin";
    const fs::path b = dir.path("b") / "channels.bin";
    for (int n = 1; n <= 3; ++n) {
        ASSERT_TRUE(writeFileAtomically(a.string(), version(n), store).ok);
        ASSERT_TRUE(writeFileAtomically(b.string(), version(10 + n), store).ok);
    }
    EXPECT_NE(store.folderFor(a.string()), store.folderFor(b.string()));
    EXPECT_EQ(contents(a), (std::vector<Bytes>{version(2), version(1)}));
    EXPECT_EQ(contents(b), (std::vector<Bytes>{version(12), version(11)}));

    fs::create_symlink(a, dir.path("link.bin"));
    const std::string roundabout = (dir.path("b") / ".." / "a" / "channels.bin").string();
    EXPECT_EQ(store.folderFor(dir.path("link.bin").string()), store.folderFor(a.string()));
    EXPECT_EQ(store.folderFor(roundabout), store.folderFor(a.string()));
    ASSERT_TRUE(writeFileAtomically(dir.path("link.bin").string(), version(4), store).ok);
    EXPECT_EQ(contents(a).front(), version(3));
    EXPECT_TRUE(fs::is_symlink(dir.path("link.bin")));
}

// Restoring gives the backup's bytes back and is itself a replacement that
// keeps a backup; a store that is off keeps nothing.
TEST_F(Backups, RestoreGivesTheBytesBackAndBacksUpWhatItReplaced) {
    for (int n = 1; n <= 3; ++n)
        ASSERT_TRUE(writeFileAtomically(path.string(), version(n), store).ok);
    const auto entries = store.list(path.string());
    ASSERT_EQ(entries.size(), 2u);
    const SaveResult restored = restoreBackup(store, path.string(), entries[1]);
    ASSERT_TRUE(restored.ok) << restored.message;
    EXPECT_EQ(readBytes(path), version(1));
    EXPECT_EQ(contents(path), (std::vector<Bytes>{version(3), version(2), version(1)}));

    const BackupStore off;
    EXPECT_FALSE(off.enabled());
    ASSERT_TRUE(writeFileAtomically(path.string(), version(5), off).ok);
    EXPECT_EQ(contents(path).size(), 3u);
}

TEST(BackupLocation, EnvironmentNamesTheFolder) {
    const char* saved = std::getenv(kBackupFolderVariable);
    const std::string saved_value = saved ? saved : "";
    ::setenv(kBackupFolderVariable, "/somewhere/else", 1);
    EXPECT_EQ(BackupStore::fromEnvironment().root(), "/somewhere/else");
    EXPECT_EQ(BackupStore::fromEnvironment().keep(), kDefaultBackupsKept);
    ::unsetenv(kBackupFolderVariable);
    const char* data = std::getenv("XDG_DATA_HOME");
    const std::string data_value = data ? data : "";
    ::setenv("XDG_DATA_HOME", "/data", 1);
    EXPECT_EQ(BackupStore::fromEnvironment(3).root(), "/data/zoedit/backups");
    ::setenv("XDG_DATA_HOME", "relative", 1);  // not absolute: ignored
    ::setenv("HOME", std::getenv("HOME") ? std::getenv("HOME") : "/root", 1);
    EXPECT_EQ(BackupStore::fromEnvironment(3).root(),
              std::string(std::getenv("HOME")) + "/.local/share/zoedit/backups");
    if (data)
        ::setenv("XDG_DATA_HOME", data_value.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
    if (saved) ::setenv(kBackupFolderVariable, saved_value.c_str(), 1);
}

}  // namespace
}  // namespace zoedit
