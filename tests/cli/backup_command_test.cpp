#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sstream>

#include "cli/cli_runner.h"

namespace zoedit::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::MatchesRegex;

class BackupCommands : public ::testing::Test {
protected:
    // Every command keeps its backups in the scratch folder.
    void SetUp() override {
        if (const char* was = std::getenv("ZOEDIT_BACKUP_DIR")) saved = was;
        ::setenv("ZOEDIT_BACKUP_DIR", cli.path("backups").c_str(), 1);
    }
    void TearDown() override {
        if (saved)
            ::setenv("ZOEDIT_BACKUP_DIR", saved->c_str(), 1);
        else
            ::unsetenv("ZOEDIT_BACKUP_DIR");
    }
    CliResult run(const std::string& args) const { return cli.run(args); }
    CliResult edit(const std::string& ops, const std::string& more = "") const {
        return run("edit '" + file + "' '" + file + "' " + ops + more);
    }
    std::vector<std::string> lines(const std::string& text) const {
        std::vector<std::string> found;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) found.push_back(line);
        return found;
    }

    std::optional<std::string> saved;
    CliRunner cli;
    std::string file = cli.path("channels.bin");
};

// Each command that replaces the file keeps what it replaced; the list is
// newest first with number, time, size and channel counts, and restore puts
// a chosen one back while keeping what it replaces.
TEST_F(BackupCommands, EditsListAndRestore) {
    ASSERT_EQ(run("sample '" + file + "'").exit_code, 0);
    const auto sample = cli.read("channels.bin");
    ASSERT_EQ(edit("'delete tv 1'").exit_code, 0);
    const auto after_first = cli.read("channels.bin");
    ASSERT_EQ(edit("'delete radio 1'").exit_code, 0);
    // Nothing changes: no backup.
    ASSERT_EQ(run("resave '" + file + "' '" + file + "'").exit_code, 0);

    const CliResult listed = run("backups '" + file + "'");
    ASSERT_EQ(listed.exit_code, 0) << listed.err;
    const auto rows = lines(listed.out);
    ASSERT_EQ(rows.size(), 2u) << listed.out;
    EXPECT_THAT(rows[0], MatchesRegex("1  [0-9-]+ [0-9:.]+  " + std::to_string(after_first.size()) +
                                      " bytes  [0-9]+ TV, [0-9]+ radio"));
    EXPECT_THAT(rows[1], MatchesRegex("2  .*  " + std::to_string(sample.size()) + " bytes  .*"));

    const CliResult restored = run("restore '" + file + "' 2");
    ASSERT_EQ(restored.exit_code, 0) << restored.err;
    EXPECT_THAT(restored.out, HasSubstr("Restored " + file + " from backup 2"));
    EXPECT_EQ(cli.read("channels.bin"), sample);
    EXPECT_EQ(lines(run("backups '" + file + "'").out).size(), 3u);

    // The newest by default: the file as it was before the restore.
    ASSERT_EQ(run("restore '" + file + "'").exit_code, 0);
    EXPECT_NE(cli.read("channels.bin"), sample);

    const CliResult missing = run("restore '" + file + "' 9");
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_THAT(missing.err, HasSubstr("has no backup 9 (it has 4)"));
}

TEST_F(BackupCommands, KeepOptionBeforeOrAfterTheCommand) {
    ASSERT_EQ(run("sample '" + file + "'").exit_code, 0);
    for (int n = 1; n <= 3; ++n) ASSERT_EQ(edit("'delete tv 1'", " --keep-backups 2").exit_code, 0);
    EXPECT_EQ(lines(run("backups '" + file + "'").out).size(), 2u);
    ASSERT_EQ(run("--keep-backups 1 edit '" + file + "' '" + file + "' 'delete tv 1'").exit_code,
              0);
    EXPECT_EQ(lines(run("backups '" + file + "'").out).size(), 1u);
    // None kept: the file is saved, its last backup stays, nothing is added.
    const auto last = lines(run("backups '" + file + "'").out);
    ASSERT_EQ(edit("'delete tv 1'", " --keep-backups 0").exit_code, 0);
    EXPECT_EQ(lines(run("backups '" + file + "'").out), last);
    EXPECT_NE(run("backups '" + file + "' --keep-backups -1").exit_code, 0);
}

// A backup folder that is a plain file: the edit is saved, and stderr says
// once that no backup was kept.
TEST_F(BackupCommands, UnusableBackupFolderOnlyWarns) {
    ASSERT_EQ(run("sample '" + file + "'").exit_code, 0);
    cli.write("backups", {'x'});
    const CliResult edited = edit("'delete tv 1'");
    EXPECT_EQ(edited.exit_code, 0);
    EXPECT_THAT(edited.out, HasSubstr("Saved " + file));
    EXPECT_EQ(lines(edited.err).size(), 1u) << edited.err;
    EXPECT_THAT(edited.err, HasSubstr("no backup of " + file));
    EXPECT_THAT(edited.err, HasSubstr("Not a directory"));
}

}  // namespace
}  // namespace zoedit::testing
