// zoedit-cli edit on real files: a script of operations lands in OUT, and a
// bad OP of any kind leaves OUT as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "cli/cli_runner.h"
#include "database/channel_file.h"
#include "database/invariants.h"

namespace zoedit::testing {
namespace {

using ::testing::HasSubstr;

// The first channel whose lock is `locked`; the count when there is none.
std::size_t firstWithLock(const DualTable<ChannelRecord>& table, bool locked) {
    std::size_t i = 0;
    while (i < table.count && (table.primary[i].locked != 0) != locked) ++i;
    return i;
}

std::string describe(const ChannelRecord& c) {
    std::ostringstream out;
    out << "name \"" << nameBytes(c.name) << "\" transponder " << c.transponder_index << " sid "
        << c.service_id << " pids " << c.code_pid << '/' << c.video_pid << '/' << c.audio_pid << '/'
        << c.fourth_pid << " mode " << int{c.pid_mode} << " scrambled " << int{c.scrambled}
        << " locked " << int{c.locked};
    return out.str();
}

void expectSameChannels(const char* list, const DualTable<ChannelRecord>& out,
                        const DualTable<ChannelRecord>& expected) {
    ASSERT_EQ(out.count, expected.count) << list;
    for (std::size_t i = 0; i < out.count; ++i) {
        EXPECT_EQ(describe(out.primary[i]), describe(expected.primary[i]))
            << list << " channel " << i + 1;
    }
}

// Every record and favourite entry the file holds.
void expectSameRecords(const ChannelDatabase& out, const ChannelDatabase& expected) {
    expectSameChannels("tv", out.tv, expected.tv);
    expectSameChannels("radio", out.radio, expected.radio);
    EXPECT_TRUE(std::ranges::equal(out.satellites.records(), expected.satellites.records()));
    EXPECT_TRUE(std::ranges::equal(out.transponders.records(), expected.transponders.records()));
    EXPECT_TRUE(out.general == expected.general);
    for (std::size_t g = 0; g < expected.favouriteGroupCount(); ++g) {
        EXPECT_EQ(nameBytes(out.favourites.groups[g].name),
                  nameBytes(expected.favourites.groups[g].name))
            << "group " << g + 1;
        for (const ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
            EXPECT_TRUE(
                std::ranges::equal(out.groupMembers(g, kind), expected.groupMembers(g, kind)))
                << "members of group " << g + 1;
        }
    }
}

class EditCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(cli.run("sample '" + cli.path("in.bin") + "'").exit_code, 0);
        ASSERT_TRUE(loadChannelFile(cli.path("in.bin"), in).ok());
    }
    CliResult edit(const std::string& ops, const std::string& out = "out.bin") {
        return cli.run("edit '" + cli.path("in.bin") + "' '" + cli.path(out) + "' " + ops);
    }
    ChannelDatabase load(const std::string& name) {
        ChannelDatabase db;
        EXPECT_TRUE(loadChannelFile(cli.path(name), db).ok());
        return db;
    }

    CliRunner cli;
    ChannelDatabase in;
};

TEST_F(EditCommand, AScriptOfOperationsLandsInOut) {
    const std::string second = nameBytes(in.tv.primary[1].name);
    const int group1_size = static_cast<int>(in.groupMembers(0, ChannelKind::Tv).size());
    const std::size_t member = in.groupMembers(0, ChannelKind::Tv).back();
    ASSERT_GT(member, 3u);
    const std::string number = std::to_string(member + 1);
    const auto result = edit(
        "'fav remove 1 tv " + number + "' 'fav add 1 tv " + number + " at 1' " +
        "'delete tv 1' 'move tv 1 3' 'rename tv 2 Al  Jazeera' 'lock radio 1' 'unlock radio 1' "
        "'lock radio 2' 'fav rename 2 Sports Plus' "
        "'fav clear 2 radio' 'delete satellite 1' 'undo' 'redo' 'undo' 'rename tv 1 '");
    ASSERT_EQ(result.exit_code, 0) << result.err;
    const ChannelDatabase out = load("out.bin");
    EXPECT_EQ(checkInvariants(out), std::vector<std::string>{});
    EXPECT_EQ(out.tv.count, in.tv.count - 1);              // the satellite's delete was undone
    EXPECT_EQ(nameBytes(out.tv.primary[2].name), second);  // old 2, then 1, moved to 3
    EXPECT_EQ(nameBytes(out.tv.primary[1].name), "Al  Jazeera");
    EXPECT_EQ(nameBytes(out.tv.primary[0].name), "");
    EXPECT_EQ(out.radio.primary[0].locked, 0);
    EXPECT_EQ(out.radio.primary[1].locked, 1);
    EXPECT_EQ(nameBytes(out.tv.primary[out.groupMembers(0, ChannelKind::Tv).front()].name),
              nameBytes(in.tv.primary[member].name));
    EXPECT_EQ(static_cast<int>(out.groupMembers(0, ChannelKind::Tv).size()), group1_size);
    EXPECT_EQ(nameBytes(out.favourites.groups[1].name), "Sports Plus");
    EXPECT_TRUE(out.groupMembers(1, ChannelKind::Radio).empty());

    // OUT may be IN.
    ASSERT_EQ(edit("'delete radio 1'", "in.bin").exit_code, 0);
    EXPECT_EQ(load("in.bin").radio.count, in.radio.count - 1);
}

// An OP that changes one field changes only that field: the rest of the
// record, and every other record of the file, comes out as it went in.
TEST_F(EditCommand, AnOpOnOneFieldLeavesEverythingElseAsItWas) {
    const std::size_t last_tv = in.tv.count - 1;
    const std::size_t unlocked_tv = firstWithLock(in.tv, false);
    const std::size_t locked_radio = firstWithLock(in.radio, true);
    ASSERT_LT(unlocked_tv, in.tv.count);
    ASSERT_LT(locked_radio, in.radio.count) << "the sample has no locked radio channel";
    // Otherwise a rename that starts from a blank record would go unseen.
    for (const ChannelRecord* channel : {&in.tv.primary[last_tv], &in.radio.primary[0]}) {
        ASSERT_NE(channel->service_id, 0);
        ASSERT_NE(channel->video_pid | channel->audio_pid, 0);
    }
    struct Case {
        std::string op;
        std::function<void(ChannelDatabase&)> change;
    };
    const std::vector<Case> cases = {
        {"'rename tv " + std::to_string(last_tv + 1) + " Renamed TV'",
         [&](ChannelDatabase& db) { setNameBytes(db.tv.primary[last_tv].name, "Renamed TV"); }},
        {"'rename radio 1 R'",
         [](ChannelDatabase& db) { setNameBytes(db.radio.primary[0].name, "R"); }},
        {"'lock tv " + std::to_string(unlocked_tv + 1) + "'",
         [&](ChannelDatabase& db) { db.tv.primary[unlocked_tv].locked = 1; }},
        {"'unlock radio " + std::to_string(locked_radio + 1) + "'",
         [&](ChannelDatabase& db) { db.radio.primary[locked_radio].locked = 0; }},
        {"'fav rename 3 Third Group'",
         [](ChannelDatabase& db) { setNameBytes(db.favourites.groups[2].name, "Third Group"); }},
    };
    for (const auto& [op, change] : cases) {
        SCOPED_TRACE(op);
        const auto result = edit(op);
        ASSERT_EQ(result.exit_code, 0) << result.err;
        ChannelDatabase expected;
        ASSERT_TRUE(loadChannelFile(cli.path("in.bin"), expected).ok());
        change(expected);
        expectSameRecords(load("out.bin"), expected);
    }
}

TEST_F(EditCommand, ABadOpNamesItsPlaceAndReasonAndLeavesOutAlone) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"'frobnicate tv 1'", "unknown operation"},
        {"'fav paint 1 tv 1'", "unknown favourite operation"},
        {"'delete tv'", "missing"},
        {"'move tv 1'", "missing"},
        {"'lock tv x'", "not a number"},
        {"'delete tv 0'", "out of range"},
        {"'delete tv 999'", "no TV channel 999"},
        {"'delete hamster 1'", "not tv, radio"},
        {"'delete satellite 13'", "no satellite 13"},
        {"'fav add 99 tv 1'", "no favourite group 99"},
        {"'fav move 1 tv 1 99'", "no place 99"},
        {"'fav add 1 tv 1' 'fav add 1 tv 1'", "in the group already"},
        {"'fav remove 1 radio 120'", "not in the group"},
        {"'lock tv 1 2'", "unexpected '2'"},
        {"'undo' 'undo'", "nothing to undo"},
        {"'lock tv 1' 'redo'", "nothing to redo"},
    };
    cli.write("out.bin", {1, 2, 3});
    for (const auto& [ops, reason] : cases) {
        const auto result = edit("'lock tv 3' " + ops);
        EXPECT_EQ(result.exit_code, 1) << ops;
        EXPECT_THAT(result.err, HasSubstr("OP ")) << ops;
        EXPECT_THAT(result.err, HasSubstr(reason)) << ops;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_EQ(cli.read("out.bin"), (std::vector<std::uint8_t>{1, 2, 3})) << ops;
    }
    // The place counts every OP, the good ones before the bad one too.
    EXPECT_THAT(edit("'lock tv 3' 'lock tv 4' 'undo' 'undo' 'undo'").err,
                HasSubstr("OP 5 \"undo\": There is nothing to undo."));
}

TEST_F(EditCommand, ACapacityReachedIsABadOp) {
    ASSERT_EQ(cli.run("sample --full '" + cli.path("in.bin") + "'").exit_code, 0);
    const auto result = edit("'fav remove 1 tv 1' 'fav add 1 tv 1 at 1' 'fav add 2 tv 1'");
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_THAT(result.err, HasSubstr("OP 3 \"fav add 2 tv 1\": "));
    EXPECT_THAT(result.err, HasSubstr("10000"));
}

TEST_F(EditCommand, HelpShowsTheGrammar) {
    const auto result = cli.run("edit --help");
    EXPECT_THAT(result.out, HasSubstr("fav add G tv|radio N [at P]"));
}

}  // namespace
}  // namespace zoedit::testing
