// Nothing typed is lost and nothing wrong is stored: typing on the pages is
// asked about before the pages leave their record, and Save refuses a typed
// value that does not fit its field while a stored value stays as it was.
#include <gtest/gtest.h>

#include "database/channel_columns.h"
#include "database/channel_file.h"
#include "view/history_binding.h"
#include "view_fixture.h"

namespace zoedit::test {
namespace {

using namespace ui::form;
using ui::EventKind;
using ui::MessageAnswer;

constexpr char kRecordQuestion[] = "Save the changes to this record?";

class TypingQuestion : public ViewTest {
protected:
    void openAndEdit(const ChannelDatabase& db, int row = 1) {
        path = writeFile("typing.bin", db);
        open(path);
        view->OnItemChanged(ChannelKind::Tv, row);
        view->onCommand(IDC_EDIT);
        ASSERT_TRUE(view->Save()) << ::testing::PrintToString(fake.dialogs.messageTexts());
        before = readBytes(path);
        fake.dialogs.clearRecords();
    }
    void clickRow(int row) { view->onEvent({IDC_TV_LIST, EventKind::ItemChanged, row}); }
    ChannelDatabase reread() {
        ChannelDatabase db;
        EXPECT_TRUE(loadChannelFile(path, db).ok());
        return db;
    }
    std::string path;
    std::vector<std::uint8_t> before;
};

TEST_F(TypingQuestion, AnotherRowAsksOnceAndEachAnswerDoesWhatItSays) {
    const ChannelDatabase db = testing::buildDatabase();
    openAndEdit(db);
    form().type(IDC_CHANNEL_NAME, "Typed");

    // Cancel: the pages keep the typing and the list its row.
    fake.dialogs.answerMessage(MessageAnswer::Cancel);
    tvList().setRowSelected(3, true);  // the click selected the row before the handler ran
    clickRow(3);
    EXPECT_EQ(fake.dialogs.messageTexts(), std::vector<std::string>{kRecordQuestion});
    EXPECT_EQ(fake.dialogs.messages()[0].buttons, ui::MessageButtons::YesNoCancel);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), "Typed");
    EXPECT_EQ(state().m_nSelectedTvRow.value, 1);
    EXPECT_EQ(tvList().selectedRow(), 1);
    EXPECT_EQ(readBytes(path), before);

    // No: the typing goes, the row changes, the file stays.
    fake.dialogs.answerMessage(MessageAnswer::No);
    clickRow(3);
    EXPECT_EQ(state().m_nSelectedTvRow.value, 3);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), nameBytes(db.tv.primary[3].name));
    EXPECT_EQ(readBytes(path), before);
    EXPECT_FALSE(view->hasUnsavedEdits());

    // Yes: the record typed on is saved, then the row changes.
    form().type(IDC_CHANNEL_NAME, "Kept");
    fake.dialogs.clearRecords();
    fake.dialogs.answerMessage(MessageAnswer::Yes);
    clickRow(5);
    EXPECT_EQ(fake.dialogs.messageTexts(), std::vector<std::string>{kRecordQuestion});
    EXPECT_EQ(nameBytes(reread().tv.primary[3].name), "Kept");
    EXPECT_EQ(state().m_nSelectedTvRow.value, 5);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), nameBytes(db.tv.primary[5].name));

    // Without typing, rows change without a word.
    fake.dialogs.clearRecords();
    clickRow(2);
    EXPECT_TRUE(fake.dialogs.messages().empty());
}

// In a sorted list, Yes saves (which ends the sort) and then selects the
// channel the user clicked, wherever file order puts it.
TEST_F(TypingQuestion, YesInASortedListLandsOnTheChannelClicked) {
    openAndEdit(testing::buildDatabase());
    view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, kColumnName});
    ASSERT_TRUE(view->isSorted());
    clickRow(0);
    form().type(IDC_SERVICE_ID, "0abc");
    const std::string clicked = tvList().cellText(4, kColumnNumber);
    fake.dialogs.answerMessage(MessageAnswer::Yes);
    clickRow(4);
    EXPECT_FALSE(view->isSorted());
    const Row row = state().m_nSelectedTvRow;
    ASSERT_TRUE(row.valid());
    EXPECT_EQ(tvList().cellText(row.value, kColumnNumber), clicked);
}

// Every command that would show the pages anew asks first; Cancel leaves
// the typing, the list and the code page where they were.
TEST_F(TypingQuestion, ListSwitchSortCodePageUndoAndPasteAskFirst) {
    openAndEdit(testing::buildDatabase());
    form().setChecked(IDC_LOCKED, !form().isChecked(IDC_LOCKED));
    view->onEvent({IDC_LOCKED, EventKind::Clicked});  // a step to undo
    form().type(IDC_FREQUENCY, "12000");
    const auto ask = [&](const std::function<void()>& action) {
        fake.dialogs.clearRecords();
        fake.dialogs.answerMessage(MessageAnswer::Cancel);
        action();
        EXPECT_EQ(fake.dialogs.messageTexts(), std::vector<std::string>{kRecordQuestion});
        EXPECT_EQ(text(IDC_FREQUENCY), "12000");
    };
    ask([&] { view->onCommand(ui::cmd::ID_VIEW_RADIO); });
    EXPECT_EQ(state().m_shownList, ActiveList::Tv);
    EXPECT_TRUE(form().isChecked(IDC_TV_SWITCH));
    ask([&] { view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, kColumnName}); });
    EXPECT_FALSE(view->isSorted());
    ask([&] { EXPECT_FALSE(view->setCodePage(CodePage::Latin1)); });
    CHistoryBinding binding(*view);
    ask([&] { binding.undo(); });
    EXPECT_TRUE(view->history().canUndo());
    ask([&] { view->onEvent({IDC_TV_LIST, EventKind::ItemClick, -1}); });
    EXPECT_EQ(state().m_nSelectedTvRow.value, 1);
}

// A switch between the pages keeps the typing of all three, and one Save
// commits them together.
TEST_F(TypingQuestion, PageSwitchesDoNotAskAndSaveCommitsAllThreePages) {
    const ChannelDatabase db = testing::buildDatabase();
    openAndEdit(db);
    form().type(IDC_CHANNEL_NAME, "Three");
    view->OnTabSelChange(1);
    form().type(IDC_FREQUENCY, "12345");
    view->OnTabSelChange(2);
    form().type(IDC_POSITION, "045.0W");
    view->OnTabSelChange(0);
    EXPECT_TRUE(fake.dialogs.messages().empty());
    ASSERT_TRUE(view->Save());
    const ChannelDatabase saved = reread();
    const ChannelRecord& channel = saved.tv.primary[1];
    EXPECT_EQ(nameBytes(channel.name), "Three");
    const TransponderRecord& transponder = saved.transponders.primary[channel.transponder_index];
    EXPECT_EQ(transponder.frequency, 12345);
    EXPECT_EQ(saved.satellites.primary[transponder.satellite_index].position, 3600 - 450);
}

// Each checked field at both ends of its range is stored; one past either
// end, or not a number, is refused with its name, its page and its focus,
// and the file stays as it was.
TEST_F(TypingQuestion, TypedValuesAtAndPastEachEndOfTheirRange) {
    struct Case {
        ui::ControlId field;
        Page page;
        std::vector<std::string> fits;
        std::vector<std::string> refused;
        const char* named;
    };
    const Case cases[] = {
        {IDC_FREQUENCY,
         Page::Transponder,
         {"1", "65535"},
         {"0", "65536", "99999", "abc"},
         "Frequency must be a number from 1 to 65535."},
        {IDC_SYMBOL_RATE,
         Page::Transponder,
         {"1", "65535"},
         {"0", "65536", "275x"},
         "Symbol rate must be a number from 1 to 65535."},
        {IDC_VIDEO_PID, Page::Channel, {"0", "1fff"}, {"2000", "ffff", "g"}, "Video PID"},
        {IDC_SERVICE_ID, Page::Channel, {"0", "ffff"}, {"fffg", "-1", ""}, "Service ID"},
        {IDC_NETWORK_ID, Page::Transponder, {"0", "ffff"}, {"zz", " "}, "Network ID"},
        {IDC_FREQUENCY_ORDER, Page::Transponder, {"0", "ffff"}, {"0x"}, "Frequency order"},
        {IDC_POSITION,
         Page::Satellite,
         {"000.0E", "180.0E", "180.0W", "000.1W"},
         {"180.1E", "180.1W", "999.9E", "-1E", "x"},
         "(180.0E ~ 180.0W)"},
        {IDC_CHANNEL_NAME, Page::Channel, {"A"}, {""}, "Channel name cannot be empty."},
        {IDC_SATELLITE_NAME, Page::Satellite, {"B"}, {""}, "Satellite name cannot be empty."},
    };
    ChannelDatabase db = testing::buildDatabase();
    ChannelRecord channel = db.tv.primary[1];
    channel.pid_mode = 1;  // the PIDs take typing
    put(db.tv, 1, channel);
    openAndEdit(db);
    for (const Case& c : cases) {
        for (const std::string& refused : c.refused) {
            const auto file = readBytes(path);
            form().type(c.field, refused);
            fake.dialogs.clearRecords();
            EXPECT_FALSE(view->Save()) << refused;
            ASSERT_EQ(fake.dialogs.messages().size(), 1u) << refused;
            EXPECT_NE(fake.dialogs.messages()[0].text.find(c.named), std::string::npos)
                << fake.dialogs.messages()[0].text;
            EXPECT_EQ(form().focus(), c.field);
            EXPECT_EQ(state().m_nCurrentPage, c.page);
            EXPECT_EQ(readBytes(path), file) << refused;
        }
        for (const std::string& fits : c.fits) {
            form().type(c.field, fits);
            EXPECT_TRUE(view->Save()) << fits;
            EXPECT_EQ(text(c.field) == fits || c.field == IDC_POSITION ||
                          std::stoul(text(c.field), nullptr, 16) == std::stoul(fits, nullptr, 16),
                      true)
                << fits << " shows as " << text(c.field);
        }
    }
    const ChannelDatabase saved = reread();
    channel = saved.tv.primary[1];
    EXPECT_EQ(channel.video_pid, 0x1FFF);
    EXPECT_EQ(channel.service_id, 0xFFFF);
    const TransponderRecord& transponder = saved.transponders.primary[channel.transponder_index];
    EXPECT_EQ(transponder.frequency, 65535);
    EXPECT_EQ(transponder.symbol_rate, 65535);
    EXPECT_EQ(saved.satellites.primary[transponder.satellite_index].position, 3599);
}

// Values a file holds outside the ranges are shown and saved as they are,
// and editing another field of the record is not blocked by them.
TEST_F(TypingQuestion, StoredOutOfRangeValuesSurviveASaveOfTheirRecord) {
    ChannelDatabase db = testing::buildDatabase();
    ChannelRecord channel = db.tv.primary[1];
    channel.video_pid = 0xFFFF;
    channel.pid_mode = 1;
    put(db.tv, 1, channel);
    TransponderRecord transponder = db.transponders.primary[channel.transponder_index];
    transponder.frequency = 0;
    put(db.transponders, channel.transponder_index, transponder);
    SatelliteRecord satellite = db.satellites.primary[transponder.satellite_index];
    satellite.position = 4000;  // beyond the full circle
    put(db.satellites, transponder.satellite_index, satellite);
    openAndEdit(db);
    form().type(IDC_CHANNEL_NAME, "Renamed");
    ASSERT_TRUE(view->Save()) << ::testing::PrintToString(fake.dialogs.messageTexts());
    const ChannelDatabase saved = reread();
    EXPECT_EQ(nameBytes(saved.tv.primary[1].name), "Renamed");
    EXPECT_EQ(saved.tv.primary[1].video_pid, 0xFFFF);
    EXPECT_EQ(saved.transponders.primary[channel.transponder_index].frequency, 0);
    EXPECT_EQ(saved.satellites.primary[transponder.satellite_index].position, 4000);
}

}  // namespace
}  // namespace zoedit::test
