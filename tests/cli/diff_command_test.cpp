// zoedit-cli diff on real files: a file against itself, against a known
// script of edits (in text and in JSON read back), one list alone, and the
// exit status of each case.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/cli_runner.h"
#include "database/channel_file.h"
#include "database/codepage.h"

namespace zoedit::testing {
namespace {

using nlohmann::json;
using ::testing::HasSubstr;

class DiffCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(cli.run("sample " + file("old.bin")).exit_code, 0);
        ASSERT_TRUE(loadChannelFile(cli.path("old.bin"), old_db).ok());
    }
    std::string file(const std::string& name) const { return "'" + cli.path(name) + "'"; }
    std::string oldName(ChannelKind kind, std::size_t index) const {
        return toUtf8(nameBytes(old_db.channels(kind).primary[index].name), CodePage::Windows1256);
    }

    CliRunner cli;
    ChannelDatabase old_db;
};

TEST_F(DiffCommand, AFileAgainstItselfReportsNothing) {
    for (const char* format : {"text", "json"}) {
        const auto result =
            cli.run("diff " + file("old.bin") + " " + file("old.bin") + " --format " + format);
        EXPECT_EQ(result.exit_code, 0) << result.err;
        if (std::string(format) == "text") {
            EXPECT_THAT(result.out,
                        HasSubstr("TV: 0 added, 0 removed, 0 moved, 0 renamed, 0 changed"));
            EXPECT_THAT(result.out,
                        HasSubstr("The files hold the same records in the same order."));
            continue;
        }
        const json out = json::parse(result.out);
        EXPECT_TRUE(out["same"].get<bool>());
        for (const char* list : {"tv", "radio"})
            for (const char* kind : {"added", "removed", "moved", "renamed", "changed"})
                EXPECT_TRUE(out["lists"][list][kind].empty()) << list << " " << kind;
        EXPECT_TRUE(out["favourite_groups"].empty());
    }
}

TEST_F(DiffCommand, AScriptOfEditsIsReportedExactly) {
    // Third TV channel gone; the first moved to 9; the seventh renamed; the
    // fourth locked; group 1's TV side emptied; a radio channel moved.
    ASSERT_EQ(cli.run("edit " + file("old.bin") + " " + file("new.bin") +
                      " 'delete tv 3' 'move tv 1 9' 'rename tv 5 Renamed One' 'unlock tv 2' "
                      "'lock tv 2' 'fav clear 1 tv' 'move radio 4 1'")
                  .exit_code,
              0);
    ASSERT_EQ(old_db.tv.primary[3].locked, 0) << "the sample's fourth TV channel is unlocked";
    const auto result =
        cli.run("diff " + file("old.bin") + " " + file("new.bin") + " --format json");
    ASSERT_EQ(result.exit_code, 1) << result.err;
    const json out = json::parse(result.out);
    EXPECT_FALSE(out["same"].get<bool>());
    const json& tv = out["lists"]["tv"];
    ASSERT_EQ(tv["removed"].size(), 1u);
    EXPECT_EQ(tv["removed"][0]["number"], 3);
    EXPECT_EQ(tv["removed"][0]["name"], oldName(ChannelKind::Tv, 2));
    EXPECT_TRUE(tv["added"].empty());
    ASSERT_EQ(tv["moved"].size(), 1u);
    EXPECT_EQ(tv["moved"][0]["before"], 1);
    EXPECT_EQ(tv["moved"][0]["after"], 9);
    ASSERT_EQ(tv["renamed"].size(), 1u);
    EXPECT_EQ(tv["renamed"][0]["before"], 7);
    EXPECT_EQ(tv["renamed"][0]["after"], 5);
    EXPECT_EQ(tv["renamed"][0]["old_name"], oldName(ChannelKind::Tv, 6));
    EXPECT_EQ(tv["renamed"][0]["name"], "Renamed One");
    ASSERT_EQ(tv["changed"].size(), 1u);
    EXPECT_EQ(tv["changed"][0]["before"], 4);
    EXPECT_EQ(tv["changed"][0]["after"], 2);
    EXPECT_EQ(tv["changed"][0]["fields"],
              json::parse(R"([{"field": "locked", "before": "0", "after": "1"}])"));

    const json& radio = out["lists"]["radio"];
    ASSERT_EQ(radio["moved"].size(), 1u);
    EXPECT_EQ(radio["moved"][0]["before"], 4);
    EXPECT_EQ(radio["moved"][0]["after"], 1);
    EXPECT_TRUE(radio["added"].empty() && radio["removed"].empty() && radio["renamed"].empty() &&
                radio["changed"].empty());

    // Group 1 lost its TV members; the deleted channel left whatever group
    // it was in; nothing else changed.
    for (const json& group : out["favourite_groups"]) {
        EXPECT_TRUE(group["tv"]["added"].empty());
        EXPECT_TRUE(group["radio"]["added"].empty() && group["radio"]["removed"].empty());
        if (group["group"] != 1) {
            ASSERT_EQ(group["tv"]["removed"].size(), 1u);
            EXPECT_EQ(group["tv"]["removed"][0]["number"], 3);
        }
    }
    ASSERT_FALSE(out["favourite_groups"].empty());
    EXPECT_EQ(out["favourite_groups"][0]["group"], 1);
    EXPECT_EQ(out["favourite_groups"][0]["tv"]["removed"].size(),
              old_db.favourites.groups[0].tv_count);
    EXPECT_TRUE(out["satellites"]["added"].empty() && out["transponders"]["changed"].empty());

    // The same in text.
    const auto text = cli.run("diff " + file("old.bin") + " " + file("new.bin"));
    EXPECT_EQ(text.exit_code, 1);
    EXPECT_THAT(text.out, HasSubstr("TV: 0 added, 1 removed, 1 moved, 1 renamed, 1 changed"));
    EXPECT_THAT(text.out, HasSubstr("moved TV 0001 -> 0009 \""));
    EXPECT_THAT(text.out, HasSubstr("renamed TV 0007 -> 0005 \"Renamed One\" \"" +
                                    oldName(ChannelKind::Tv, 6) + "\" -> \"Renamed One\""));
    EXPECT_THAT(text.out, HasSubstr("changed TV 0004 -> 0002 \""));
    EXPECT_THAT(text.out, HasSubstr("\": locked 0 -> 1\n"));
    EXPECT_THAT(text.out, HasSubstr("The files differ."));

    // The radio list alone holds a move; the TV list alone leaves it out.
    EXPECT_EQ(
        cli.run("diff " + file("old.bin") + " " + file("new.bin") + " --list radio").exit_code, 1);
    const auto tv_only =
        cli.run("diff " + file("old.bin") + " " + file("new.bin") + " --list tv --format json");
    EXPECT_FALSE(json::parse(tv_only.out)["lists"].contains("radio"));
}

TEST_F(DiffCommand, ARenameAloneDiffersAndARefusedFileExitsTwo) {
    ASSERT_EQ(cli.run("edit " + file("old.bin") + " " + file("renamed.bin") +
                      " 'rename radio 2 Other name'")
                  .exit_code,
              0);
    const auto renamed = cli.run("diff " + file("old.bin") + " " + file("renamed.bin"));
    EXPECT_EQ(renamed.exit_code, 1);
    EXPECT_THAT(renamed.out, HasSubstr("radio: 0 added, 0 removed, 0 moved, 1 renamed, 0 changed"));
    // The TV list alone is the same.
    EXPECT_EQ(
        cli.run("diff " + file("old.bin") + " " + file("renamed.bin") + " --list tv").exit_code, 0);

    // A transponder deleted with its channels: the record and each channel.
    ASSERT_EQ(
        cli.run("edit " + file("old.bin") + " " + file("no_tp.bin") + " 'delete transponder 1'")
            .exit_code,
        0);
    const json gone = json::parse(
        cli.run("diff " + file("old.bin") + " " + file("no_tp.bin") + " --format json").out);
    ASSERT_EQ(gone["transponders"]["removed"].size(), 1u);
    EXPECT_EQ(gone["transponders"]["removed"][0]["number"], 1);
    EXPECT_THAT(gone["transponders"]["removed"][0]["text"].get<std::string>(),
                HasSubstr(std::to_string(old_db.transponders.primary[0].frequency)));
    std::size_t on_first = 0;
    for (const ChannelRecord& ch : old_db.tv.records()) on_first += ch.transponder_index == 0;
    EXPECT_EQ(gone["lists"]["tv"]["removed"].size(), on_first);
    EXPECT_TRUE(gone["lists"]["tv"]["moved"].empty());

    cli.write("bad.bin", {0x12, 0x34});
    const auto refused = cli.run("diff " + file("old.bin") + " " + file("bad.bin"));
    EXPECT_EQ(refused.exit_code, 2);
    EXPECT_THAT(refused.err, HasSubstr("bad.bin"));
    EXPECT_TRUE(refused.out.empty());
    EXPECT_EQ(cli.run("diff " + file("missing.bin") + " " + file("old.bin")).exit_code, 2);
}

}  // namespace
}  // namespace zoedit::testing
