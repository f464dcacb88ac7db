// zoedit-cli apply-order on real files: a channel file or an exported CSV
// as reference gives a reordered file its order back, and a refused REF or
// IN leaves OUT unwritten.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "database/channel_file.h"
#include "database/invariants.h"

namespace zoedit::testing {
namespace {

using ::testing::HasSubstr;

std::vector<std::uint8_t> bytesOf(const std::string& s) {
    return {s.begin(), s.end()};
}

class ApplyOrderCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(cli.run("sample '" + cli.path("old.bin") + "'").exit_code, 0);
        // The receiver's rescan as edits: the third channel gone, others in
        // new places, a lock lost, a group emptied.
        ASSERT_EQ(run("edit",
                      "old.bin new.bin 'delete tv 3' 'move tv 1 9' 'move radio 5 1' "
                      "'lock tv 2' 'fav clear 1 tv' 'fav clear 2 radio'")
                      .exit_code,
                  0);
        // What the file should come back as: the old one less that channel.
        ASSERT_EQ(run("edit", "old.bin expected.bin 'delete tv 3'").exit_code, 0);
    }
    CliResult run(const std::string& command, const std::string& args) {
        std::string quoted;
        std::size_t start = 0;
        // Bare file names become paths in the scratch folder.
        while (start < args.size()) {
            std::size_t end = args.find(' ', start);
            if (args[start] == '\'') end = args.find('\'', start + 1) + 1;
            if (end == std::string::npos) end = args.size();
            const std::string word = args.substr(start, end - start);
            const bool file =
                word.find(".bin") != std::string::npos || word.find(".csv") != std::string::npos;
            quoted += (file && word[0] != '\'' ? "'" + cli.path(word) + "'" : word) + " ";
            start = end + 1;
        }
        return cli.run(command + " " + quoted);
    }

    CliRunner cli;
};

TEST_F(ApplyOrderCommand, AChannelFileGivesBackOrderLocksAndGroups) {
    const auto result = run("apply-order", "old.bin new.bin out.bin --locks --favourites");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr(" by identity, 0 by name, 0 unmatched (placed last); "
                                      "1 reference channels missing\nmissing TV 0003 "));
    EXPECT_THAT(result.out, HasSubstr("radio: 120 by identity"));
    EXPECT_THAT(result.out, HasSubstr("Saved "));
    EXPECT_EQ(cli.read("out.bin"), cli.read("expected.bin"));
    ChannelDatabase out;
    ASSERT_TRUE(loadChannelFile(cli.path("out.bin"), out).ok());
    EXPECT_EQ(checkInvariants(out), std::vector<std::string>{});

    // One list only, and OUT may be IN: the radio list keeps the rescan's order.
    ASSERT_EQ(run("apply-order", "old.bin new.bin new.bin --list radio").exit_code, 0);
    ChannelDatabase old_file, again;
    ASSERT_TRUE(loadChannelFile(cli.path("old.bin"), old_file).ok());
    ASSERT_TRUE(loadChannelFile(cli.path("new.bin"), again).ok());
    EXPECT_EQ(again.radio.primary[4], old_file.radio.primary[4]);
    EXPECT_NE(again.tv.primary[0].name, old_file.tv.primary[0].name);
}

TEST_F(ApplyOrderCommand, AnExportedCsvGivesBackTheOrderOfItsList) {
    const auto exported = run("export", "old.bin --format csv --list radio");
    ASSERT_EQ(exported.exit_code, 0);
    cli.write("radio.csv", bytesOf(exported.out));
    ASSERT_EQ(run("edit", "new.bin renamed.bin 'rename radio 1 Renamed'").exit_code, 0);
    const auto result = run("apply-order", "radio.csv renamed.bin out.bin --list radio --names");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("radio: 120 by identity"));
    EXPECT_THAT(result.out, ::testing::Not(HasSubstr("TV:")));
    EXPECT_EQ(run("export", "out.bin --format csv --list radio").out, exported.out);
    // Locks and groups are not in a CSV.
    const auto locks = run("apply-order", "radio.csv new.bin out2.bin --list radio --locks");
    EXPECT_EQ(locks.exit_code, 1);
    EXPECT_THAT(locks.err, HasSubstr("no locks"));
    EXPECT_TRUE(cli.read("out2.bin").empty());
}

TEST_F(ApplyOrderCommand, ARefusedReferenceOrInputWritesNothing) {
    const std::string good = "0001,A,11747 H 27500 3/4,Sat,0001,019.2E\n";
    cli.write("bad.csv", bytesOf("Number,Channel Name,Transponder,Satellite Name,Service ID,"
                                 "Satellite Position\n" +
                                 good + good + "0003,B,11747 H 27500 3/4,Sat,xyz,019.2E\n"));
    cli.write("broken.bin", {0x55, 0xAA, 0x55, 0xAA, 1, 2, 3});
    cli.write("out.bin", {1, 2, 3});
    const std::vector<std::uint8_t> in_before = cli.read("new.bin");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"bad.csv new.bin out.bin", "bad.csv: line 4: the service id \"xyz\""},
        {"bad.csv new.bin new.bin", "line 4"},
        {"broken.bin new.bin out.bin", "broken.bin: "},
        {"missing.bin new.bin out.bin", "cannot read"},
        {"old.bin broken.bin out.bin", "broken.bin: "},
    };
    for (const auto& [args, reason] : cases) {
        const auto result = run("apply-order", args);
        EXPECT_EQ(result.exit_code, 1) << args;
        EXPECT_THAT(result.err, HasSubstr(reason)) << args;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_EQ(cli.read("out.bin"), (std::vector<std::uint8_t>{1, 2, 3})) << args;
        EXPECT_EQ(cli.read("new.bin"), in_before) << args;
    }
}

}  // namespace
}  // namespace zoedit::testing
