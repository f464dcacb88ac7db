// Command 32788: when the favourites dialog opens, and what the main view
// shows and saves after it.
#include "database/channel_file.h"
#include "favourites/favourite_dialog_fixture.h"
#include "view_fixture.h"

namespace zoedit::test {
namespace {

using namespace ui::form;
namespace fav = ui::favourites;
using ui::cmd::ID_VIEW_FAVOURITES;

class ViewFavouritesTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        fake.dialogs.setDialogLists(ui::IDD_FAVORITES, favouriteLists());
        path = writeFile("groups.bin", testing::buildDatabase());
        open(path);
    }
    static void send(ui::ModalDialog& dialog, FakeDialogHost& host, ui::ControlId id,
                     ui::EventKind kind, int item = -1, int from = -1) {
        ui::ControlEvent event{id, kind, item, 0, 0};
        event.from = from;
        dialog.onEvent(host, event);
    }
    static void rename(ui::ModalDialog& dialog, FakeDialogHost& host, FakeForm& form, int k,
                       const std::string& name) {
        send(dialog, host, fav::IDC_GROUP_NAME[k], ui::EventKind::SetFocus);
        form.type(fav::IDC_GROUP_NAME[k], name);
        send(dialog, host, fav::IDC_GROUP_NAME[k], ui::EventKind::KillFocus);
    }

    Members groupMembers(std::size_t g) const {
        const auto m = view->database().groupMembers(g, ChannelKind::Tv);
        return Members(m.begin(), m.end());
    }

    std::string path;
};

TEST_F(ViewFavouritesTest, OpensOnlyWithAFileAndNoPendingMode) {
    EXPECT_TRUE(view->isCommandEnabled(ID_VIEW_FAVOURITES));
    for (PendingChange pending :
         {PendingChange{NewRecordPending{}}, PendingChange{CutPending{ChannelIndex(2)}},
          PendingChange{DragInProgress{ChannelIndex(1)}}}) {
        view->state().m_pending = pending;
        EXPECT_FALSE(view->isCommandEnabled(ID_VIEW_FAVOURITES));
        EXPECT_TRUE(view->onCommand(ID_VIEW_FAVOURITES));
        view->state().clearPendingChange();
    }
    EXPECT_TRUE(fake.dialogs.modalDialogs().empty());
    view->onCommand(ID_VIEW_FAVOURITES);
    EXPECT_EQ(fake.dialogs.modalDialogs(), std::vector<int>{ui::IDD_FAVORITES});
}

// Renaming a group and dragging an entry, then the save button: the box
// caption, the main list and the saved file show both.
TEST_F(ViewFavouritesTest, SaveButtonAfterADragShowsAndSavesEveryChange) {
    const Members before = groupMembers(0);
    ASSERT_GE(before.size(), 3u);
    fake.dialogs.scriptModal([](ui::ModalDialog& dialog, FakeDialogHost& host, FakeForm& form) {
        rename(dialog, host, form, 0, "News");
        send(dialog, host, fav::IDC_TV_LIST[0], ui::EventKind::BeginDrag, 0);
        send(dialog, host, fav::IDC_TV_LIST[0], ui::EventKind::Drop, -1, 0);
        send(dialog, host, fav::IDC_SAVE, ui::EventKind::Clicked);
    });
    view->onCommand(ID_VIEW_FAVOURITES);

    EXPECT_EQ(text(IDC_FAVOURITE_CHECK[0]), "News");
    Members moved(before.begin() + 1, before.end());
    moved.push_back(before.front());
    ChannelDatabase saved;
    ASSERT_TRUE(loadChannelFile(path, saved).ok());
    EXPECT_EQ(nameBytes(saved.favourites.groups[0].name), "News");
    const auto members = saved.groupMembers(0, ChannelKind::Tv);
    EXPECT_EQ(Members(members.begin(), members.end()), moved);
    // The dragged channel is the one selected in the main list.
    EXPECT_EQ(tvList().selectedRow(), static_cast<int>(before.front()));
    EXPECT_FALSE(view->hasUnsavedEdits());
}

// Closed by its close box the dialog saves nothing, but what it changed is in
// the tables: the captions and the boxes show it and closing will ask.
TEST_F(ViewFavouritesTest, CloseBoxKeepsChangesShownButUnsaved) {
    const auto bytes = readBytes(path);
    ASSERT_EQ(state().m_nSelectedTvRow.value, 0);
    ASSERT_TRUE(form().isChecked(IDC_FAVOURITE_CHECK[0]));
    fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
    fake.dialogs.scriptModal([](ui::ModalDialog& dialog, FakeDialogHost& host, FakeForm& form) {
        rename(dialog, host, form, 2, "Films");
        rename(dialog, host, form, 0, "");  // Yes: group 0 loses its TV entries
    });
    view->onCommand(ID_VIEW_FAVOURITES);

    EXPECT_EQ(text(IDC_FAVOURITE_CHECK[2]), "Films");
    EXPECT_EQ(text(IDC_FAVOURITE_CHECK[0]), "");
    EXPECT_FALSE(form().isChecked(IDC_FAVOURITE_CHECK[0]));
    EXPECT_EQ(text(IDC_FAVOURITE_POSITION[0]), "000");
    EXPECT_EQ(view->favouriteBoxes()[0].working_count, 0);
    EXPECT_EQ(readBytes(path), bytes);
    EXPECT_TRUE(view->hasUnsavedEdits());
}

// Each change in the dialog is one step; Ctrl+Z in it takes back the steps of
// this opening and stops there.
TEST_F(ViewFavouritesTest, UndoInTheDialogReachesBackToItsOpeningOnly) {
    const edit::EditHistory& history = view->history();
    ASSERT_TRUE(view->document().apply(edit::RenameFavouriteGroup{1, "Outside"}, {}, {}).ok());
    const ChannelDatabase opened = view->database();
    fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
    std::vector<std::string> step_names;
    fake.dialogs.scriptModal([&](ui::ModalDialog& dialog, FakeDialogHost& host, FakeForm& form) {
        rename(dialog, host, form, 0, "News");
        send(dialog, host, fav::IDC_TV_LIST[0], ui::EventKind::BeginDrag, 0);
        send(dialog, host, fav::IDC_TV_LIST[0], ui::EventKind::Drop, 2, 0);
        rename(dialog, host, form, 2, "");  // Yes: the name and the TV side in one step
        step_names.push_back(history.undoName());
        EXPECT_EQ(history.stepCount(), 4u);
        for (int i = 0; i < 4; ++i) EXPECT_TRUE(dialog.onKey(host, ui::DialogKey::Undo));
        // The names and the list on show are those of the tables again.
        EXPECT_EQ(form.text(fav::IDC_GROUP_NAME[0]), nameBytes(opened.favourites.groups[0].name));
        EXPECT_EQ(form.fakeList(fav::IDC_TV_LIST[2]).rowCount(),
                  static_cast<int>(opened.groupMembers(2, ChannelKind::Tv).size()));
        send(dialog, host, fav::IDC_SAVE, ui::EventKind::Clicked);
    });
    view->onCommand(ID_VIEW_FAVOURITES);

    EXPECT_EQ(step_names, std::vector<std::string>{"Empty Favourite Group"});
    for (std::size_t g = 0; g < 3; ++g) {
        EXPECT_EQ(view->database().favourites.groups[g], opened.favourites.groups[g]) << g;
        EXPECT_EQ(groupMembers(g), Members(opened.groupMembers(g, ChannelKind::Tv).begin(),
                                           opened.groupMembers(g, ChannelKind::Tv).end()));
    }
    EXPECT_EQ(history.undoName(), "Rename Favourite Group");
    EXPECT_EQ(nameBytes(view->database().favourites.groups[1].name), "Outside");
}

}  // namespace
}  // namespace zoedit::test
