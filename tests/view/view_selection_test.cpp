// The selection handler: what the three pages and the favourite boxes show
// for the selected channel, and the list contents behind it.
#include "database/field_format.h"
#include "view_fixture.h"

namespace zoedit::test {
namespace {

using namespace ui::form;

// Satellite 2 at 180.0W; transponder 4 on it with FEC AUTO; TV channel 5 on
// transponder 4, in group 0 at place 2.
ChannelDatabase satelliteTwoDatabase() {
    ChannelDatabase db = testing::buildDatabase();
    SatelliteRecord sat = db.satellites.primary[2];
    sat.position = 1800;
    setNameBytes(sat.name, "Second Bird");
    put(db.satellites, 2, sat);
    TransponderRecord tp{0x00ab, 0x0012, 11766, 27500, 1, 0, 2};
    put(db.transponders, 4, tp);
    ChannelRecord ch = db.tv.primary[5];
    ch.transponder_index = 4;
    ch.service_id = 0x1fff;
    ch.video_pid = 8191;
    ch.pid_mode = 1;
    ch.scrambled = 2;
    ch.locked = 1;
    setNameBytes(ch.name, "News 24");
    put(db.tv, 5, ch);
    db.favourites.tv_members.primary[1] = 5;
    db.favourites.tv_members.working[1] = 5;
    return db;
}

TEST_F(ViewTest, SelectingAChannelFillsAllThreePages) {
    const ChannelDatabase db = satelliteTwoDatabase();
    openDatabase(db);
    view->onEvent({IDC_TV_LIST, ui::EventKind::ItemChanged, 5});

    EXPECT_EQ(state().m_nSelectedTvRow.value, 5);
    EXPECT_EQ(state().m_activeList, ActiveList::Tv);
    EXPECT_EQ(view->currentTransponder(), 4u);
    EXPECT_EQ(view->currentSatellite(), 2u);
    // Channel page.
    EXPECT_EQ(text(IDC_CHANNEL_NAME), "News 24");
    EXPECT_EQ(text(IDC_CHANNEL_NUMBER), "006");
    EXPECT_EQ(text(IDC_TRANSPONDER_NUMBER), "5");
    EXPECT_EQ(text(IDC_SERVICE_ID), "1fff");
    EXPECT_EQ(text(IDC_VIDEO_PID), "1fff");
    EXPECT_TRUE(form().isChecked(IDC_PID_MODE));
    EXPECT_TRUE(form().isChecked(IDC_SCRAMBLED));  // any non-zero byte on the page
    EXPECT_TRUE(form().isChecked(IDC_LOCKED));
    EXPECT_TRUE(form().isVisible(IDC_LOCKED_PICTURE));
    EXPECT_FALSE(form().isVisible(IDC_UNLOCKED_PICTURE));
    EXPECT_EQ(text(IDC_TRANSPONDER_SELECTOR), "11766V  27500  AUTO");
    // Transponder page.
    EXPECT_EQ(text(IDC_NETWORK_ID), "00ab");
    EXPECT_EQ(text(IDC_FREQUENCY_ORDER), "0012");
    EXPECT_EQ(text(IDC_FREQUENCY), "11766");
    EXPECT_EQ(text(IDC_SYMBOL_RATE), "27500");
    EXPECT_EQ(text(IDC_POLARISATION), "Vertical");
    EXPECT_EQ(text(IDC_FEC), "AUTO");
    EXPECT_EQ(form().selectedIndex(IDC_FEC), 0);
    // Satellite page and the satellite selector with every name.
    EXPECT_EQ(text(IDC_POSITION), "180.0W");
    EXPECT_EQ(text(IDC_SATELLITE_NAME), "Second Bird");
    EXPECT_EQ(text(IDC_SATELLITE_BANNER), "Second Bird");
    EXPECT_EQ(text(IDC_SATELLITE_SELECTOR), "Second Bird");
    EXPECT_EQ(form().items(IDC_SATELLITE_SELECTOR).size(), db.satellites.count);
    // The list row of the same channel.
    EXPECT_EQ(tvList().cellText(5, 2), "11766 V 27500 AUTO");
    EXPECT_EQ(tvList().cellText(5, 3), "Second Bird");
    EXPECT_EQ(tvList().row(5).image, ui::kNoImage);  // the list wants exactly 1
    // Favourites: member of group 0 at place 2 only.
    EXPECT_TRUE(form().isChecked(IDC_FAVOURITE_CHECK[0]));
    EXPECT_EQ(text(IDC_FAVOURITE_POSITION[0]), "002");
    EXPECT_FALSE(form().isChecked(IDC_FAVOURITE_CHECK[1]));
    EXPECT_EQ(text(IDC_FAVOURITE_POSITION[1]), "000");
}

TEST_F(ViewTest, TheNextSelectionClearsThePreviousChannelsFavourites) {
    openDatabase(satelliteTwoDatabase());
    view->OnItemChanged(ChannelKind::Tv, 5);
    ASSERT_TRUE(form().isChecked(IDC_FAVOURITE_CHECK[0]));
    int outside = -1;
    const auto members = view->database().groupMembers(0, ChannelKind::Tv);
    for (int r = 0; r < 8 && outside < 0; ++r)
        if (std::find(members.begin(), members.end(), r) == members.end()) outside = r;
    ASSERT_GE(outside, 0);
    view->OnItemChanged(ChannelKind::Tv, outside);
    EXPECT_FALSE(form().isChecked(IDC_FAVOURITE_CHECK[0]));
    EXPECT_EQ(text(IDC_FAVOURITE_POSITION[0]), "000");
    EXPECT_EQ(view->favouriteBoxes()[0].working_count,
              view->database().favourites.groups[0].tv_count);
}

TEST_F(ViewTest, ScrambledRowsCarryTheImage) {
    ChannelDatabase db = testing::buildDatabase();
    for (std::size_t i = 0; i < db.tv.count; ++i) {
        ChannelRecord ch = db.tv.primary[i];
        ch.scrambled = static_cast<std::uint8_t>(i % 3);
        put(db.tv, i, ch);
    }
    openDatabase(db);
    for (int i = 0; i < tvList().rowCount(); ++i)
        EXPECT_EQ(tvList().row(i).image, i % 3 == 1 ? ui::kScrambledImage : ui::kNoImage) << i;
}

TEST_F(ViewTest, DuringADragThePagesKeepTheChannelWhereItBegan) {
    openDatabase(satelliteTwoDatabase());
    view->OnItemChanged(ChannelKind::Tv, 5);
    view->state().m_pending = DragInProgress{ChannelIndex(0)};
    view->OnItemChanged(ChannelKind::Tv, 1);
    EXPECT_EQ(state().m_nSelectedTvRow.value, 1);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), "News 24");
    EXPECT_EQ(text(IDC_CHANNEL_NUMBER), "006");
    EXPECT_TRUE(form().isChecked(IDC_FAVOURITE_CHECK[0]));
}

TEST_F(ViewTest, APendingCutOnlyMarksTheChannel) {
    openDatabase(satelliteTwoDatabase());
    view->state().m_pending = CutPending{ChannelIndex(3)};
    view->OnItemChanged(ChannelKind::Tv, 2);
    EXPECT_EQ(text(IDC_CHANNEL_NUMBER), "003");
    view->OnItemChanged(ChannelKind::Tv, 5);  // rows keep their numbers and their groups
    EXPECT_EQ(text(IDC_CHANNEL_NUMBER), "006");
    EXPECT_TRUE(form().isChecked(IDC_FAVOURITE_CHECK[0]));
}

TEST_F(ViewTest, LinksOutsideTheTablesShowEmptyPagesInsteadOfOtherRecords) {
    ChannelDatabase db = testing::buildDatabase();
    ChannelRecord ch = db.tv.primary[0];
    ch.transponder_index = 999;  // no such transponder
    put(db.tv, 0, ch);
    TransponderRecord tp = db.transponders.primary[1];
    tp.satellite_index = 200;  // no such satellite
    put(db.transponders, 1, tp);
    ChannelRecord on_bad_satellite = db.tv.primary[1];
    on_bad_satellite.transponder_index = 1;
    put(db.tv, 1, on_bad_satellite);
    openDatabase(db);

    view->OnItemChanged(ChannelKind::Tv, 0);
    EXPECT_EQ(text(IDC_FREQUENCY), "");
    EXPECT_EQ(text(IDC_SATELLITE_NAME), "");
    EXPECT_EQ(text(IDC_TRANSPONDER_NUMBER), "1000");
    EXPECT_EQ(tvList().cellText(0, 2), "");

    view->OnItemChanged(ChannelKind::Tv, 1);
    EXPECT_FALSE(text(IDC_FREQUENCY).empty());
    EXPECT_EQ(text(IDC_POSITION), "");
    EXPECT_EQ(tvList().cellText(1, 3), "");
    // A row the table does not have selects no channel: the pages show none.
    view->OnItemChanged(ChannelKind::Tv, 50);
    EXPECT_FALSE(view->selectedChannel().has_value());
    EXPECT_EQ(text(IDC_FREQUENCY), "");
    EXPECT_EQ(text(IDC_CHANNEL_NAME), "");
}

TEST_F(ViewTest, TenThousandRowsArriveInOneCallAndNumberToTenThousand) {
    testing::DatabaseShape shape;
    shape.tv = kChannelCapacity;
    shape.radio = 3;
    openDatabase(testing::buildDatabase(shape));
    ASSERT_EQ(tvList().rowCount(), 10000);
    EXPECT_EQ(tvList().setRowsCalls(), 1);
    EXPECT_EQ(tvList().cellText(0, 0), "0001");
    EXPECT_EQ(tvList().cellText(9999, 0), "10000");
    view->OnItemChanged(ChannelKind::Tv, 9999);
    EXPECT_EQ(text(IDC_CHANNEL_NUMBER), "10000");
}

TEST_F(ViewTest, ListSwitchesShowOneListAndSelectItsFirstRow) {
    openDatabase(testing::buildDatabase());
    view->onCommand(ui::cmd::ID_VIEW_RADIO);
    EXPECT_FALSE(form().isVisible(IDC_TV_LIST));
    EXPECT_FALSE(form().isVisible(IDC_TV_LIST_CAPTION));
    EXPECT_TRUE(form().isVisible(IDC_RADIO_LIST));
    EXPECT_TRUE(form().isVisible(IDC_RADIO_LIST_CAPTION));
    EXPECT_TRUE(form().isChecked(IDC_RADIO_SWITCH));
    EXPECT_FALSE(form().isChecked(IDC_TV_SWITCH));
    EXPECT_TRUE(form().isVisible(IDC_RADIO_PICTURE));
    EXPECT_FALSE(form().isVisible(IDC_TV_PICTURE));
    EXPECT_EQ(form().focus(), IDC_RADIO_LIST);
    EXPECT_EQ(radioList().selectedRow(), 0);
    EXPECT_EQ(radioList().focusedRow(), 0);
    EXPECT_EQ(state().m_activeList, ActiveList::Radio);
    EXPECT_EQ(state().m_nSelectedRadioRow.value, 0);
    EXPECT_EQ(text(IDC_CHANNEL_NAME_LABEL), ui::kRadioChannelNameLabel);

    // Back to TV: row 0 was still selected there, and the TV list must
    // become the active one all the same.
    view->onEvent({IDC_TV_SWITCH, ui::EventKind::Clicked});
    EXPECT_EQ(state().m_activeList, ActiveList::Tv);
    EXPECT_TRUE(form().isVisible(IDC_TV_LIST));
    EXPECT_TRUE(form().isVisible(IDC_TV_PICTURE));
    EXPECT_EQ(text(IDC_CHANNEL_NAME), tvList().cellText(0, 1));
    EXPECT_EQ(text(IDC_CHANNEL_NAME_LABEL), ui::kTvChannelNameLabel);
}

TEST_F(ViewTest, SwitchingToAnEmptyListLeavesNoRowSelected) {
    testing::DatabaseShape shape;
    shape.radio = 0;
    shape.groups = {};
    openDatabase(testing::buildDatabase(shape));
    view->ShowList(ChannelKind::Radio);
    EXPECT_EQ(state().m_activeList, ActiveList::Radio);
    EXPECT_EQ(state().m_nSelectedRadioRow.value, -1);
    EXPECT_EQ(radioList().rowCount(), 0);
}

TEST_F(ViewTest, NamesAreShownThroughTheChosenCodePage) {
    ChannelDatabase db = testing::buildDatabase();
    ChannelRecord ch = db.tv.primary[0];
    setNameBytes(ch.name, "\xC7\xE1\xDA\xD1\xC8\xED\xC9");  // Arabic letters in cp1256
    put(db.tv, 0, ch);
    openDatabase(db);
    EXPECT_EQ(tvList().cellText(0, 1), toUtf8(nameBytes(ch.name), CodePage::Windows1256));
    EXPECT_EQ(text(IDC_CHANNEL_NAME), tvList().cellText(0, 1));
    EXPECT_NE(tvList().cellText(0, 1), nameBytes(ch.name));
}

}  // namespace
}  // namespace zoedit::test

namespace zoedit::test {
namespace {

TEST_F(ViewTest, LeftClickSetsTheRowButNotTheActiveList) {
    openDatabase(testing::buildDatabase());
    ASSERT_EQ(state().m_activeList, ActiveList::Tv);
    view->onEvent({ui::form::IDC_RADIO_LIST, ui::EventKind::ItemClick, 2});
    EXPECT_EQ(state().m_nSelectedRadioRow.value, 2);
    EXPECT_EQ(state().m_activeList, ActiveList::Tv);
    view->onEvent({ui::form::IDC_TV_LIST, ui::EventKind::ItemClick, -1});
    EXPECT_EQ(state().m_nSelectedTvRow.value, -1);
}

}  // namespace
}  // namespace zoedit::test

namespace zoedit::test {
namespace {

TEST_F(ViewTest, TranspondersNamingSatelliteZeroOfAnEmptyTableShowAnEmptySatellitePage) {
    testing::DatabaseShape shape;
    shape.satellites = 0;
    ChannelDatabase db = testing::buildDatabase(shape);
    for (std::size_t t = 0; t < db.transponders.count; ++t) {
        TransponderRecord tp = db.transponders.primary[t];
        tp.satellite_index = 0;
        put(db.transponders, t, tp);
    }
    openDatabase(db);
    EXPECT_TRUE(fake.dialogs.messages().empty());
    ASSERT_EQ(state().m_bLoaded, 1);
    view->OnItemChanged(ChannelKind::Tv, 1);
    EXPECT_FALSE(text(ui::form::IDC_FREQUENCY).empty());
    EXPECT_EQ(text(ui::form::IDC_SATELLITE_NAME), "");
    EXPECT_EQ(text(ui::form::IDC_POSITION), "");
    EXPECT_TRUE(form().items(ui::form::IDC_SATELLITE_SELECTOR).empty());
    EXPECT_EQ(tvList().cellText(1, 3), "");
}

}  // namespace
}  // namespace zoedit::test
