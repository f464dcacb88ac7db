// The view before any file is loaded: construction, the initial update and
// switching tab pages.
#include "view/page_controls.h"
#include "view_fixture.h"

namespace zoedit::test {
namespace {

using namespace ui::form;

TEST_F(ViewTest, ConstructionStartsEmptyWithFavouritePositionsZero) {
    EXPECT_EQ(settings_reads, 1);
    EXPECT_EQ(port_commands, 1);
    EXPECT_EQ(state().m_nSelectedTvRow.value, -1);
    EXPECT_EQ(state().m_nSelectedRadioRow.value, -1);
    EXPECT_EQ(state().m_nCurrentPage, Page::Channel);
    EXPECT_EQ(state().m_activeList, ActiveList::None);
    EXPECT_FALSE(state().m_bEditing || state().m_bSaved || state().hasPendingChange() ||
                 state().m_bLoaded);
    for (ui::ControlId id : IDC_FAVOURITE_POSITION) EXPECT_EQ(text(id), "000");
    for (ui::ControlId id : {IDC_CHANNEL_NAME, IDC_SERVICE_ID, IDC_POSITION, IDC_FREQUENCY,
                             IDC_FILE_PATH, IDC_SATELLITE_NAME, IDC_CHANNEL_NUMBER})
        EXPECT_EQ(text(id), "") << id;
    EXPECT_FALSE(text(IDC_DATE).empty());
}

TEST_F(ViewTest, InitialUpdateLeavesEverythingLockedUntilAFileIsLoaded) {
    for (ui::ControlId id : {IDC_SEARCH, IDC_EDIT, IDC_NEW, IDC_SAVE, IDC_DELETE, IDC_CANCEL,
                             IDC_TV_SWITCH, IDC_RADIO_SWITCH})
        EXPECT_FALSE(form().isEnabled(id)) << id;
    for (ui::ControlId id : readOnlyEdits()) EXPECT_TRUE(form().isReadOnly(id)) << id;
    for (ui::ControlId id : disabledInReadOnlyState()) EXPECT_FALSE(form().isEnabled(id)) << id;
    EXPECT_EQ(form().items(IDC_TAB),
              (std::vector<std::string>{"Channel", "Transponder", "Satellite"}));
    EXPECT_EQ(form().items(IDC_FEC).front(), "AUTO");
    EXPECT_TRUE(form().isVisible(IDC_TV_LIST));
    EXPECT_FALSE(form().isVisible(IDC_RADIO_LIST));
    EXPECT_EQ(form().control(IDC_SATELLITE_BANNER).style.background, ui::rgb(0, 128, 192));
    EXPECT_EQ(form().control(IDC_CHANNEL_NUMBER).style.font_height, 19);
}

TEST_F(ViewTest, BothListsGetTheFourColumnsAndTheScrambledImages) {
    for (FakeListControl* list : {&tvList(), &radioList()}) {
        ASSERT_EQ(list->columnCount(), 4);
        const char* captions[] = {"Number", "Channel Name", "Transponder", "Satellite Name"};
        const int widths[] = {80, 195, 160, 130};
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(list->column(c).caption, captions[c]);
            EXPECT_EQ(list->column(c).width, widths[c]);
        }
        EXPECT_EQ(list->imageListBitmap(), ui::IDB_SCRAMBLED);
        EXPECT_EQ(list->imageWidth(), 32);
        EXPECT_TRUE(list->singleSelection());
    }
}

TEST_F(ViewTest, TabPagesShowTheirOwnControlsOnly) {
    auto visibleAll = [&](int page) {
        for (ui::ControlId id : pageControls(page))
            if (!form().isVisible(id)) return false;
        return true;
    };
    EXPECT_TRUE(visibleAll(0));
    EXPECT_FALSE(form().isVisible(IDC_FREQUENCY));
    EXPECT_TRUE(form().isVisible(IDC_TV_PICTURE));

    form().setSelectedIndex(IDC_TAB, 1);
    view->onEvent({IDC_TAB, ui::EventKind::SelChange});
    EXPECT_EQ(state().m_nCurrentPage, Page::Transponder);
    EXPECT_TRUE(visibleAll(1));
    EXPECT_FALSE(form().isVisible(IDC_CHANNEL_NAME));
    EXPECT_FALSE(form().isVisible(IDC_POSITION));
    EXPECT_FALSE(form().isVisible(IDC_TV_PICTURE));
    EXPECT_FALSE(form().isVisible(IDC_LOCKED_PICTURE));
    EXPECT_FALSE(form().isVisible(IDC_UNLOCKED_PICTURE));

    form().setSelectedIndex(IDC_TAB, 2);
    view->onEvent({IDC_TAB, ui::EventKind::SelChange});
    EXPECT_TRUE(visibleAll(2));
    // Shared with the transponder page, but the satellite selector is not.
    EXPECT_TRUE(form().isVisible(IDC_TRANSPONDER_NUMBER));
    EXPECT_FALSE(form().isVisible(IDC_SATELLITE_SELECTOR));
    EXPECT_FALSE(form().isVisible(IDC_FREQUENCY));

    form().setSelectedIndex(IDC_TAB, 0);
    view->onEvent({IDC_TAB, ui::EventKind::SelChange});
    EXPECT_TRUE(visibleAll(0));
    EXPECT_FALSE(form().isVisible(IDC_POSITION));
    EXPECT_TRUE(form().isVisible(IDC_UNLOCKED_PICTURE));

    // Nothing loaded: switching pages unlocks nothing.
    EXPECT_EQ(text(IDC_CHANNEL_NAME), "");
    EXPECT_TRUE(form().isReadOnly(IDC_CHANNEL_NAME));
    EXPECT_FALSE(form().isEnabled(IDC_EDIT));
}

TEST_F(ViewTest, ViewCommandsWaitForALoadedFileAndEditCommandsForEditMode) {
    using namespace ui::cmd;
    EXPECT_FALSE(view->isCommandEnabled(ID_VIEW_TV));
    EXPECT_FALSE(view->isCommandEnabled(ID_VIEW_FAVOURITES));
    EXPECT_FALSE(view->isCommandEnabled(ID_FILE_SAVE));
    EXPECT_TRUE(view->isCommandEnabled(ID_FILE_OPEN));
    for (int print : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP})
        EXPECT_FALSE(view->isCommandEnabled(print));
    openDatabase(testing::buildDatabase());
    EXPECT_TRUE(view->isCommandEnabled(ID_VIEW_RADIO));
    for (int print : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP})
        EXPECT_TRUE(view->isCommandEnabled(print));
    EXPECT_FALSE(view->isCommandEnabled(ID_EDIT_NEW));
    view->onCommand(IDC_EDIT);
    EXPECT_TRUE(view->isCommandEnabled(ID_FILE_SAVE));
    EXPECT_TRUE(view->isCommandEnabled(ID_EDIT_DELETE));
    EXPECT_TRUE(view->isCommandEnabled(ID_EDIT_CUT_CHANNEL));
    EXPECT_FALSE(view->isCommandEnabled(ID_EDIT_PASTE_CHANNEL));
}

TEST_F(ViewTest, TooLongTextIsRefusedWhenTheFormIsReadBack) {
    openDatabase(testing::buildDatabase());
    form().setText(IDC_SERVICE_ID, "12345");
    form().setText(IDC_FREQUENCY, "123456");
    EXPECT_FALSE(view->UpdateDataFromForm());
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_EQ(fake.dialogs.messages()[0].text, "Please enter no more than 4 characters.");
    EXPECT_EQ(fake.dialogs.messages()[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(form().focus(), IDC_SERVICE_ID);  // stops at the first field in order
    EXPECT_EQ(form().inputLimit(IDC_FREQUENCY), 5);

    form().setText(IDC_SERVICE_ID, "1fff");
    form().setText(IDC_FREQUENCY, "12345");
    EXPECT_TRUE(view->UpdateDataFromForm());
    EXPECT_EQ(view->values().service_id, "1fff");
}

}  // namespace
}  // namespace zoedit::test
