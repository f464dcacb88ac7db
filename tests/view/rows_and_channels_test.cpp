// Where two modes meet, the editor must still change the channel the user
// sees: sorted lists, the other list after a cascade, a failed save, a code
// page switch. Scenario tests first, then a long random run of user actions
// that checks after each one that the lists, the pages and the saved file
// all tell the same story.
#include <cstdlib>
#include <filesystem>
#include <random>

#include "database/channel_file.h"
#include "database/field_format.h"
#include "view/channel_columns.h"
#include "view/history_binding.h"
#include "view_fixture.h"

namespace zoedit::test {
namespace {

using namespace ui::form;
using ui::EventKind;

class RowsAndChannels : public ViewTest {
protected:
    void openAndEdit(const ChannelDatabase& db) {
        path = writeFile("rows.bin", db);
        open(path);
        view->onCommand(IDC_EDIT);
    }
    void select(ChannelKind kind, int row) {
        view->onCommand(kind == ChannelKind::Tv ? ui::cmd::ID_VIEW_TV : ui::cmd::ID_VIEW_RADIO);
        view->onEvent(
            {kind == ChannelKind::Tv ? IDC_TV_LIST : IDC_RADIO_LIST, EventKind::ItemChanged, row});
    }
    void sortBy(ChannelKind kind, ChannelColumn column) {
        view->onEvent({kind == ChannelKind::Tv ? IDC_TV_LIST : IDC_RADIO_LIST,
                       EventKind::ColumnClick, column});
    }
    void click(ui::ControlId box) {
        form().setChecked(box, !form().isChecked(box));
        view->onEvent({box, EventKind::Clicked});
    }
    FakeListControl& list(ChannelKind kind) {
        return kind == ChannelKind::Tv ? tvList() : radioList();
    }
    // The record whose name the list shows in `row`.
    const ChannelRecord* recordShownIn(ChannelKind kind, int row) {
        const std::string number = list(kind).cellText(row, kColumnNumber);
        const auto& table = view->database().channels(kind);
        const std::size_t index = std::stoul(number) - 1;
        return index < table.count ? &table.primary[index] : nullptr;
    }
    // Every row of both lists shows the texts of the channel its number names.
    void expectListsShowTheRecords() {
        const ChannelDatabase& db = view->database();
        for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
            ASSERT_EQ(list(kind).rowCount(), static_cast<int>(db.channels(kind).count));
            for (int r = 0; r < list(kind).rowCount(); ++r) {
                const auto channel = view->rows(kind).channelAt(Row(r));
                ASSERT_TRUE(channel.has_value());
                EXPECT_EQ(list(kind).row(r).texts,
                          channelRowTexts(db, kind, channel->value, view->codePage()))
                    << (kind == ChannelKind::Tv ? "tv" : "radio") << " row " << r;
            }
        }
    }
    // The file read back holds the tables (the trailer word in memory stays
    // as loaded).
    void expectFileHoldsTheTables() {
        ChannelDatabase read_back;
        ASSERT_TRUE(loadChannelFile(path, read_back).ok());
        read_back.trailer = view->database().trailer;
        EXPECT_EQ(testing::contentDifference(read_back, view->database()), "");
    }
    std::string path;
};

ChannelDatabase namedDatabase() {
    testing::DatabaseShape shape;
    shape.tv = 9;
    shape.radio = 6;
    ChannelDatabase db = testing::buildDatabase(shape);
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio})
        for (std::size_t i = 0; i < db.channels(kind).count; ++i) {
            ChannelRecord ch = db.channels(kind).primary[i];
            // Names in reverse order of the table, so a sort by name reverses it.
            setNameBytes(ch.name, std::string(1, static_cast<char>('Z' - i)) + " channel");
            ch.locked = 0;
            put(db.channels(kind), i, ch);
        }
    return db;
}

TEST_F(RowsAndChannels, TheLockAndTheBoxesOfASortedListChangeTheChannelShown) {
    openAndEdit(namedDatabase());
    select(ChannelKind::Tv, 0);
    sortBy(ChannelKind::Tv, kColumnName);
    view->onEvent({IDC_TV_LIST, EventKind::ItemChanged, 1});
    const std::string shown = tvList().cellText(1, kColumnName);
    ASSERT_EQ(text(IDC_CHANNEL_NAME), shown);
    click(IDC_LOCKED);
    const ChannelRecord* target = recordShownIn(ChannelKind::Tv, 1);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->locked, 1);
    EXPECT_EQ(nameBytes(target->name), shown);
    for (const ChannelRecord& ch : view->database().tv.records())
        if (&ch != target) EXPECT_EQ(ch.locked, 0);

    // A favourite box adds the shown channel, and takes it out again.
    click(IDC_FAVOURITE_CHECK[1]);
    const std::size_t channel = std::stoul(tvList().cellText(1, kColumnNumber)) - 1;
    const auto members = view->database().groupMembers(1, ChannelKind::Tv);
    ASSERT_FALSE(members.empty());
    EXPECT_EQ(members.back(), channel);
    click(IDC_FAVOURITE_CHECK[1]);
    EXPECT_TRUE(fake.dialogs.messages().empty());
    EXPECT_EQ(view->database().groupMembers(1, ChannelKind::Tv).size(), members.size() - 1);
}

TEST_F(RowsAndChannels, ACascadeFromOneListRefillsTheOther) {
    openAndEdit(namedDatabase());
    select(ChannelKind::Tv, 0);
    view->OnTabSelChange(2);
    fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
    view->onCommand(IDC_DELETE);
    expectListsShowTheRecords();
    // The radio list's rows are the surviving channels, and a delete from it
    // deletes the row the user marked.
    view->OnTabSelChange(0);
    select(ChannelKind::Radio, 0);
    const std::string marked = radioList().cellText(0, kColumnName);
    const std::size_t before = view->database().radio.count;
    fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
    view->onEvent({IDC_RADIO_LIST, EventKind::RightClick});  // menu without a script: nothing
    view->onCommand(IDC_DELETE);
    ASSERT_EQ(view->database().radio.count, before - 1);
    for (const ChannelRecord& ch : view->database().radio.records())
        EXPECT_NE(nameBytes(ch.name), marked);
    expectListsShowTheRecords();
}

TEST_F(RowsAndChannels, EachListKeepsItsOwnSortAndSaveWritesTheChannelShown) {
    openAndEdit(namedDatabase());
    select(ChannelKind::Tv, 0);
    sortBy(ChannelKind::Tv, kColumnName);
    select(ChannelKind::Radio, 0);
    sortBy(ChannelKind::Radio, kColumnName);
    select(ChannelKind::Tv, 2);
    expectListsShowTheRecords();
    const std::size_t channel = std::stoul(tvList().cellText(2, kColumnNumber)) - 1;
    form().setText(IDC_CHANNEL_NAME, "Renamed");
    ASSERT_TRUE(view->Save());
    EXPECT_EQ(nameBytes(view->database().tv.primary[channel].name), "Renamed");
    EXPECT_FALSE(view->isSorted());
    EXPECT_EQ(tvList().cellText(state().m_nSelectedTvRow.value, kColumnName), "Renamed");
    expectFileHoldsTheTables();
}

TEST_F(RowsAndChannels, ARefusedOpenKeepsTheSortedRowsTrue) {
    openAndEdit(namedDatabase());
    select(ChannelKind::Tv, 0);
    sortBy(ChannelKind::Tv, kColumnName);
    auto bad = testing::fileBytesOf(namedDatabase());
    bad[64] = 0x05;
    open(writeBytes("bad.bin", bad));
    // The save question (answered No), then one box for the refusal.
    EXPECT_EQ(fake.dialogs.messages().size(), 2u);
    expectListsShowTheRecords();
    view->onEvent({IDC_TV_LIST, EventKind::ItemChanged, 3});
    const std::size_t shown = std::stoul(tvList().cellText(3, kColumnNumber)) - 1;
    form().setText(IDC_SERVICE_ID, "0abc");
    ASSERT_TRUE(view->Save());
    EXPECT_EQ(view->database().tv.primary[shown].service_id, 0xabc);
}

// Delete on the transponder and satellite pages takes the records the pages
// show, with a selected row, a transponder and a satellite of three
// different indexes.
TEST_F(RowsAndChannels, DeleteOnTheRecordPagesTakesTheShownTransponderAndSatellite) {
    testing::DatabaseShape shape;
    shape.satellites = 4;
    shape.transponders = 8;
    shape.tv = 12;
    ChannelDatabase db = testing::buildDatabase(shape);
    ChannelRecord channel = db.tv.primary[5];
    channel.transponder_index = 3;
    put(db.tv, 5, channel);
    TransponderRecord transponder = db.transponders.primary[3];
    transponder.satellite_index = 1;
    put(db.transponders, 3, transponder);
    for (Page page : {Page::Transponder, Page::Satellite}) {
        openAndEdit(db);
        select(ChannelKind::Tv, 5);
        const auto t = view->currentTransponder();
        const auto s = view->currentSatellite();
        ASSERT_EQ(t, 3u);
        ASSERT_EQ(s, 1u);
        const std::string frequency = text(IDC_FREQUENCY);
        const std::string satellite = text(IDC_SATELLITE_NAME);
        const TransponderRecord gone_transponder = view->database().transponders.primary[*t];
        view->OnTabSelChange(static_cast<int>(page));
        fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
        view->onCommand(IDC_DELETE);
        if (page == Page::Transponder) {
            for (const TransponderRecord& tp : view->database().transponders.records())
                EXPECT_FALSE(tp.frequency == gone_transponder.frequency &&
                             tp.satellite_index == gone_transponder.satellite_index &&
                             tp.symbol_rate == gone_transponder.symbol_rate)
                    << "transponder " << frequency << " is still there";
        } else {
            for (const SatelliteRecord& sat : view->database().satellites.records())
                EXPECT_NE(toUtf8(nameBytes(sat.name), view->codePage()), satellite);
        }
        expectListsShowTheRecords();
        view->OnTabSelChange(0);
        view->onCommand(IDC_CANCEL);
    }
}

TEST_F(RowsAndChannels, EndOfDataLeavesNoRecordOnThePagesToSaveInto) {
    testing::DatabaseShape shape;
    shape.satellites = 2;
    shape.transponders = 3;
    shape.tv = 1;
    shape.radio = 2;
    openAndEdit(testing::buildDatabase(shape));
    select(ChannelKind::Tv, 0);
    view->OnTabSelChange(1);
    fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
    view->onCommand(IDC_DELETE);
    EXPECT_EQ(fake.dialogs.messageTexts().back(), "End of Data");
    EXPECT_EQ(text(IDC_FREQUENCY), "");
    EXPECT_EQ(text(IDC_SATELLITE_NAME), "");
    form().setText(IDC_FREQUENCY, "12345");
    ASSERT_TRUE(view->Save());
    for (const TransponderRecord& transponder : view->database().transponders.records())
        EXPECT_NE(transponder.frequency, 12345);
    // The drop lists still offer their choices for the next record.
    select(ChannelKind::Radio, 0);
    EXPECT_EQ(form().items(IDC_POLARISATION).size(), 2u);
    EXPECT_GE(form().selectedIndex(IDC_POLARISATION), 0);
}

TEST_F(RowsAndChannels, AFailedSaveOfANewChangesNothingAndTheNextSaveInsertsOnce) {
    const ChannelDatabase db = namedDatabase();
    openAndEdit(db);
    select(ChannelKind::Tv, 3);
    view->onCommand(IDC_NEW);
    // The target replaced by a folder: the write fails, also for root.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_FALSE(view->Save());
    EXPECT_EQ(view->database().tv.count, db.tv.count);
    EXPECT_TRUE(state().isNewRecord());
    EXPECT_FALSE(view->history().canUndo());
    std::filesystem::remove(path);
    ASSERT_TRUE(view->Save());
    EXPECT_EQ(view->database().tv.count, db.tv.count + 1);
    EXPECT_EQ(view->history().stepCount(), 1u);
}

TEST_F(RowsAndChannels, ACodePageSwitchWhileEditingKeepsTheNameBytes) {
    ChannelDatabase db = namedDatabase();
    ChannelRecord ch = db.tv.primary[0];
    setNameBytes(ch.name, "Caf\xE9 \xC7");  // differs between the code pages
    put(db.tv, 0, ch);
    openAndEdit(db);
    select(ChannelKind::Tv, 0);
    view->setCodePage(CodePage::Windows1252);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), tvList().cellText(0, kColumnName));
    ASSERT_TRUE(view->Save());
    EXPECT_EQ(nameBytes(view->database().tv.primary[0].name), "Caf\xE9 \xC7");
}

TEST_F(RowsAndChannels, UndoingAGroupRenameGivesTheBoxItsNameBack) {
    openAndEdit(namedDatabase());
    select(ChannelKind::Tv, 0);
    const std::string caption = text(IDC_FAVOURITE_CHECK[0]);
    CHistoryBinding binding(*view);
    ASSERT_TRUE(binding.apply(edit::RenameFavouriteGroup{0, "Sport"}).ok());
    EXPECT_EQ(text(IDC_FAVOURITE_CHECK[0]), "Sport");
    binding.undo();
    EXPECT_EQ(text(IDC_FAVOURITE_CHECK[0]), caption);
}

TEST_F(RowsAndChannels, ContextDeleteIsGreyedWhileANewWaits) {
    openAndEdit(namedDatabase());
    select(ChannelKind::Tv, 2);
    view->onCommand(IDC_NEW);
    fake.menus.answer(ui::context::ID_DELETE);
    view->onEvent({IDC_TV_LIST, EventKind::RightClick});
    const auto& shown = fake.menus.shown.back();
    for (const ui::PopupMenuItem& item : shown)
        if (item.id == ui::context::ID_DELETE) EXPECT_FALSE(item.enabled);
    EXPECT_EQ(view->database().tv.count, namedDatabase().tv.count);
}

// Long random runs of what a user does, over small files. After every action:
// every row of both lists shows its channel's texts; while nothing is pending
// the pages show the selected channel, its transponder and its satellite;
// a lock click changes exactly the channel its row showed; a Save that
// succeeds leaves a file that reads back as the tables, and one that fails
// changes nothing.
class RowsAndChannelsRun : public RowsAndChannels {
protected:
    void expectPagesShowTheSelection() {
        if (state().hasPendingChange()) return;
        const ChannelDatabase& db = view->database();
        const auto channel = view->selectedChannel();
        if (!channel) {
            EXPECT_EQ(text(IDC_SERVICE_ID).empty() || text(IDC_SERVICE_ID) == "0000", true);
            return;
        }
        const ChannelRecord& record = db.channels(channel->kind).primary[channel->index.value];
        EXPECT_EQ(text(IDC_CHANNEL_NAME), toUtf8(nameBytes(record.name), view->codePage()));
        EXPECT_EQ(text(IDC_SERVICE_ID), channelPageTexts(record).service_id);
        const TransponderRecord* transponder = db.transponderOf(record);
        EXPECT_EQ(text(IDC_FREQUENCY),
                  transponder ? transponderPageTexts(*transponder).frequency : "");
        const auto satellite = view->currentSatellite();
        EXPECT_EQ(text(IDC_SATELLITE_NAME),
                  satellite
                      ? toUtf8(nameBytes(db.satellites.primary[*satellite].name), view->codePage())
                      : "");
    }

    void run(std::uint32_t seed, int steps) {
        std::mt19937 random(seed);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        testing::DatabaseShape shape;
        shape.satellites = 3;
        shape.transponders = 5;
        shape.tv = 7;
        shape.radio = 5;
        shape.seed = seed;
        const std::string good = writeFile("good.bin", testing::buildDatabase(shape));
        auto bad_bytes = testing::fileBytesOf(testing::buildDatabase(shape));
        bad_bytes[64] = 0x05;
        const std::string bad = writeBytes("bad.bin", bad_bytes);
        path = good;
        open(good);
        CHistoryBinding binding(*view);
        for (int step = 0; step < steps; ++step) {
            const ChannelKind kind = pick(2) ? ChannelKind::Tv : ChannelKind::Radio;
            const ui::ControlId list_id = kind == ChannelKind::Tv ? IDC_TV_LIST : IDC_RADIO_LIST;
            const int rows = list(kind).rowCount();
            const int action = pick(16);
            switch (action) {
                case 0:
                case 1:
                    view->onEvent({list_id, EventKind::ItemChanged, pick(rows + 1)});
                    break;
                case 2:
                    view->onCommand(kind == ChannelKind::Tv ? ui::cmd::ID_VIEW_TV
                                                            : ui::cmd::ID_VIEW_RADIO);
                    break;
                case 3:
                    view->OnTabSelChange(pick(3));
                    break;
                case 4:
                    view->onEvent({IDC_EDIT, EventKind::Clicked});
                    break;
                case 5:
                    sortBy(kind, static_cast<ChannelColumn>(pick(kChannelColumnCount)));
                    break;
                case 6: {
                    const auto channel = view->selectedChannel();
                    const Row row = state().selectedRow(state().m_activeList);
                    if (!channel || state().hasPendingChange() || !row.valid()) break;
                    const std::string number =
                        list(channel->kind).cellText(row.value, kColumnNumber);
                    const std::uint8_t before = view->database()
                                                    .channels(channel->kind)
                                                    .primary[channel->index.value]
                                                    .locked;
                    click(IDC_LOCKED);
                    const ChannelRecord* shown = recordShownIn(channel->kind, row.value);
                    ASSERT_NE(shown, nullptr);
                    EXPECT_EQ(list(channel->kind).cellText(row.value, kColumnNumber), number);
                    EXPECT_NE(shown->locked != 0, before != 0) << "the lock missed its row";
                    break;
                }
                case 7:
                    if (form().isEnabled(IDC_FAVOURITE_CHECK[0]))
                        click(IDC_FAVOURITE_CHECK[pick(2)]);
                    break;
                case 8: {
                    const bool fail = pick(3) == 0;
                    if (fail) {
                        std::filesystem::remove(path);
                        std::filesystem::create_directory(path);
                    }
                    const ChannelDatabase before = view->database();
                    const std::size_t history = view->history().stepCount();
                    const PendingChange pending = state().m_pending;
                    const bool sorted = view->isSorted();
                    const bool saved = view->Save();
                    if (fail) {
                        EXPECT_FALSE(saved);
                        EXPECT_EQ(testing::contentDifference(view->database(), before), "");
                        EXPECT_EQ(view->history().stepCount(), history);
                        EXPECT_TRUE(state().m_pending == pending);
                        EXPECT_EQ(view->isSorted(), sorted);
                        std::filesystem::remove(path);
                    } else if (saved) {
                        expectFileHoldsTheTables();
                    }
                    break;
                }
                case 9:
                    view->onEvent({IDC_CANCEL, EventKind::Clicked});
                    break;
                case 10:
                    fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
                    view->onEvent({IDC_DELETE, EventKind::Clicked});
                    fake.dialogs.clearAnswers();
                    break;
                case 11:
                    if (pick(2))
                        view->onCommand(ui::cmd::ID_EDIT_CUT_CHANNEL);
                    else
                        view->onCommand(ui::cmd::ID_EDIT_PASTE_CHANNEL);
                    break;
                case 12:
                    view->onEvent({list_id, EventKind::BeginDrag, pick(rows + 1)});
                    view->onEvent({list_id, EventKind::ButtonUp, pick(rows + 1) - 1});
                    break;
                case 13:
                    if (pick(2))
                        binding.undo();
                    else
                        binding.redo();
                    break;
                case 14:
                    view->setCodePage(pick(2) ? CodePage::Windows1252 : CodePage::Windows1256);
                    break;
                case 15:
                    if (pick(2)) {
                        view->onCommand(ui::cmd::ID_EDIT_KEEP_ORDER);
                    } else {
                        fake.dialogs.answerMessage(ui::MessageAnswer::No);
                        open(bad);
                        fake.dialogs.clearAnswers();
                    }
                    break;
            }
            expectListsShowTheRecords();
            expectPagesShowTheSelection();
            if (::testing::Test::HasFailure()) {
                ADD_FAILURE() << "seed " << seed << ", after step " << step << " (action " << action
                              << ")";
                return;
            }
        }
    }
};

// ZOEDIT_LONG_RUN=N runs N seeds of 5000 actions each instead (by hand).
TEST_F(RowsAndChannelsRun, ListsPagesAndFileAgreeAfterEveryAction) {
    const char* long_run = std::getenv("ZOEDIT_LONG_RUN");
    const std::uint32_t seeds = long_run ? static_cast<std::uint32_t>(std::atoi(long_run)) : 4u;
    for (std::uint32_t seed = 1; seed <= seeds; ++seed) {
        run(seed, long_run ? 5000 : 400);
        if (HasFailure()) return;
    }
}

}  // namespace
}  // namespace zoedit::test
