// The buttons under the pages, the keys that stand for them, the search and
// the lock pictures, through the whole view over the fake platform.
#include "database/field_format.h"
#include "view/view_messages.h"
#include "view_fixture.h"

namespace zoedit::test {
namespace {

using namespace ui::form;
namespace cmd = ui::cmd;

struct Buttons {
    bool edit, new_, save, del, cancel;
    bool operator==(const Buttons&) const = default;
};

class RecordViewTest : public ViewTest {
protected:
    Buttons buttons() {
        return {form().isEnabled(IDC_EDIT), form().isEnabled(IDC_NEW), form().isEnabled(IDC_SAVE),
                form().isEnabled(IDC_DELETE), form().isEnabled(IDC_CANCEL)};
    }
    void searchFor(const std::string& name) {
        fake.dialogs.scriptModal([name](ui::ModalDialog& d, FakeDialogHost& host, FakeForm& f) {
            f.setText(ui::search::IDC_NAME, name);
            d.onEvent(host, {ui::search::IDC_OK, ui::EventKind::Clicked});
        });
        view->onCommand(IDC_SEARCH);
    }
    void nameChannel(std::size_t row, const char* name) {
        ChannelRecord record = view->database().tv.primary[row];
        setNameBytes(record.name, name);
        ASSERT_TRUE(view->document()
                        .apply(edit::SetChannelFields{ChannelKind::Tv, row, record}, {}, {})
                        .ok());
        view->FillList(ChannelKind::Tv);
    }
};

TEST_F(RecordViewTest, ButtonsAndMenuFollowTheTable) {
    openDatabase(testing::buildDatabase());
    EXPECT_EQ(buttons(), (Buttons{true, false, false, false, false}));
    EXPECT_FALSE(view->isCommandEnabled(cmd::ID_FILE_SAVE));
    view->onEvent({IDC_EDIT, ui::EventKind::Clicked});
    EXPECT_EQ(state().m_bEditing, 1);
    EXPECT_TRUE(form().isEnabled(IDC_SAVE));
    EXPECT_TRUE(form().isEnabled(IDC_CANCEL));
    EXPECT_FALSE(form().isEnabled(IDC_EDIT));
    EXPECT_TRUE(view->isCommandEnabled(cmd::ID_FILE_SAVE));
    // The menu's New and Delete never stand enabled beside a disabled button.
    EXPECT_EQ(view->isCommandEnabled(cmd::ID_EDIT_NEW), form().isEnabled(IDC_NEW));
    EXPECT_EQ(view->isCommandEnabled(cmd::ID_EDIT_DELETE), form().isEnabled(IDC_DELETE));
    EXPECT_FALSE(form().isReadOnly(IDC_CHANNEL_NAME));
    EXPECT_FALSE(form().isEnabled(IDC_TRANSPONDER_SELECTOR));
    EXPECT_FALSE(form().isEnabled(IDC_SATELLITE_SELECTOR));
}

TEST_F(RecordViewTest, KeysOfDisabledButtonsDoNothing) {
    const std::string path = writeFile("keys.bin", testing::buildDatabase());
    open(path);
    const auto before = readBytes(path);
    // Ctrl+S sends the Save button's identifier; Save is off before Edit.
    view->onEvent({IDC_SAVE, ui::EventKind::Clicked});
    view->onCommand(IDC_SAVE);
    EXPECT_EQ(state().m_bSaved, 0);
    EXPECT_EQ(readBytes(path), before);
    view->onCommand(IDC_EDIT);
    view->onCommand(IDC_SAVE);
    EXPECT_EQ(state().m_bSaved, 1);
}

TEST_F(RecordViewTest, SearchSelectsTheLastWholeNameMatchAndFillsThePages) {
    openDatabase(testing::buildDatabase());
    nameChannel(0, "NEWS");
    nameChannel(2, "NEWS 24");
    nameChannel(5, "News");
    searchFor("news");
    EXPECT_EQ(tvList().selectedRow(), 5);
    EXPECT_EQ(tvList().ensuredVisibleRow(), 5);
    EXPECT_EQ(state().m_nSelectedTvRow.value, 5);
    EXPECT_EQ(text(IDC_CHANNEL_NUMBER), "006");
    EXPECT_EQ(form().focus(), IDC_TV_LIST);
    // No match, or a closed dialog: the selection stays.
    searchFor("nothing like it");
    EXPECT_EQ(state().m_nSelectedTvRow.value, 5);
    view->onCommand(IDC_SEARCH);  // no script: the dialog is closed
    EXPECT_EQ(state().m_nSelectedTvRow.value, 5);
    // The first row is found too.
    nameChannel(5, "Other");
    searchFor("News");
    EXPECT_EQ(state().m_nSelectedTvRow.value, 0);
}

TEST_F(RecordViewTest, SearchLooksInTheRadioListWhenItIsOnShow) {
    openDatabase(testing::buildDatabase());
    view->ShowList(ChannelKind::Radio);
    const std::string name = radioList().cellText(2, 1);
    searchFor(name);
    EXPECT_EQ(state().m_nSelectedRadioRow.value, 2);
    EXPECT_EQ(state().m_activeList, ActiveList::Radio);
}

TEST_F(RecordViewTest, LockPictureFollowsTheSelectedChannel) {
    ChannelDatabase db = testing::buildDatabase();
    for (std::size_t row : {0, 1}) {
        ChannelRecord channel = db.tv.primary[row];
        channel.locked = row == 1;
        put(db.tv, row, channel);
    }
    openDatabase(db);
    view->OnItemChanged(ChannelKind::Tv, 1);
    EXPECT_TRUE(form().isChecked(IDC_LOCKED));
    EXPECT_TRUE(form().isVisible(IDC_LOCKED_PICTURE));
    EXPECT_FALSE(form().isVisible(IDC_UNLOCKED_PICTURE));
    EXPECT_EQ(form().control(IDC_LOCKED_PICTURE).image, ui::IDB_LOCKED);
    view->OnItemChanged(ChannelKind::Tv, 0);
    EXPECT_FALSE(form().isVisible(IDC_LOCKED_PICTURE));
    EXPECT_TRUE(form().isVisible(IDC_UNLOCKED_PICTURE));
    // Off the channel page neither shows.
    view->OnTabSelChange(1);
    EXPECT_FALSE(form().isVisible(IDC_LOCKED_PICTURE));
    EXPECT_FALSE(form().isVisible(IDC_UNLOCKED_PICTURE));
}

TEST_F(RecordViewTest, CancelShowsTheStoredRecordAgain) {
    openDatabase(testing::buildDatabase());
    view->OnItemChanged(ChannelKind::Tv, 3);
    const std::string stored = text(IDC_CHANNEL_NAME);
    view->onCommand(IDC_EDIT);
    form().type(IDC_CHANNEL_NAME, "typed, then thought better of");
    view->onCommand(IDC_CANCEL);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), stored);
    EXPECT_EQ(tvList().selectedRow(), 3);
    EXPECT_EQ(buttons(), (Buttons{false, form().isEnabled(IDC_NEW), true,
                                  form().isEnabled(IDC_DELETE), true}));
}

TEST_F(RecordViewTest, RefreshAfterDeletingTheLastRowSelectsTheRowAbove) {
    ChannelDatabase db = testing::buildDatabase();
    openDatabase(db);
    const int last = static_cast<int>(db.tv.count) - 1;
    view->OnItemChanged(ChannelKind::Tv, last);
    ASSERT_TRUE(
        view->document()
            .apply(edit::DeleteChannel{ChannelKind::Tv, static_cast<std::size_t>(last)}, {}, {})
            .ok());  // as a delete of that row leaves the table
    view->RefreshAndReselect(true);
    EXPECT_EQ(tvList().rowCount(), last);
    EXPECT_EQ(state().m_nSelectedTvRow.value, last - 1);
    EXPECT_EQ(tvList().selectedRow(), last - 1);
    // Without a delete the same row stays selected.
    view->RefreshAndReselect();
    EXPECT_EQ(state().m_nSelectedTvRow.value, last - 1);
}

TEST_F(RecordViewTest, ACodePageChangeShowsNamesAgainAndKeepsTheSelection) {
    ChannelDatabase db = testing::buildDatabase();
    ChannelRecord ch = db.tv.primary[2];
    setNameBytes(ch.name, "Caf\xc7");
    put(db.tv, 2, ch);
    setNameBytes(db.favourites.groups[0].name, "F\xc7te");
    openDatabase(db);
    view->OnItemChanged(ChannelKind::Tv, 2);
    view->setCodePage(CodePage::Latin1);
    EXPECT_EQ(tvList().cellText(2, 1), "Caf\xc3\x87");
    EXPECT_EQ(text(IDC_CHANNEL_NAME), "Caf\xc3\x87");
    EXPECT_EQ(text(IDC_FAVOURITE_CHECK[0]), "F\xc3\x87te");
    EXPECT_EQ(tvList().selectedRow(), 2);
    // While editing, typing is settled first: Cancel keeps it and the code
    // page, Yes saves it and switches.
    view->onCommand(IDC_EDIT);
    form().type(IDC_CHANNEL_NAME, "Typed");
    fake.dialogs.answerMessage(ui::MessageAnswer::Cancel);
    EXPECT_FALSE(view->setCodePage(CodePage::Windows1256));
    EXPECT_EQ(view->codePage(), CodePage::Latin1);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), "Typed");
    EXPECT_EQ(tvList().cellText(2, 1), "Caf\xc3\x87");
    fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
    EXPECT_TRUE(view->setCodePage(CodePage::Windows1256));
    EXPECT_EQ(text(IDC_CHANNEL_NAME), "Typed");
    EXPECT_EQ(tvList().cellText(2, 1), "Typed");
    EXPECT_EQ(nameBytes(view->database().tv.primary[2].name), "Typed");
}

}  // namespace
}  // namespace zoedit::test
