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

    std::string path;
};

TEST_F(ViewFavouritesTest, OpensOnlyWithAFileAndNoPendingMode) {
    EXPECT_TRUE(view->isCommandEnabled(ID_VIEW_FAVOURITES));
    for (int EditorState::*mode :
         {&EditorState::m_bNewRecord, &EditorState::m_bSorted, &EditorState::m_bCutPending}) {
        view->state().*mode = 1;
        EXPECT_FALSE(view->isCommandEnabled(ID_VIEW_FAVOURITES));
        EXPECT_TRUE(view->onCommand(ID_VIEW_FAVOURITES));
        view->state().*mode = 0;
    }
    EXPECT_TRUE(fake.dialogs.modalDialogs().empty());
    view->onCommand(ID_VIEW_FAVOURITES);
    EXPECT_EQ(fake.dialogs.modalDialogs(), std::vector<int>{ui::IDD_FAVORITES});
}

// Renaming a group and dragging an entry, then the save button: the box
// caption, the main list and the saved file show both.
TEST_F(ViewFavouritesTest, SaveButtonAfterADragShowsAndSavesEveryChange) {
    const Members before = [&] {
        const auto m = view->database().groupMembers(0, ChannelKind::Tv);
        return Members(m.begin(), m.end());
    }();
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
    ASSERT_EQ(state().m_nSelectedTvRow, 0);
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

}  // namespace
}  // namespace zoedit::test
