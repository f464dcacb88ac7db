// The favourites dialog: what it shows, renaming, clearing a name, the keys
// and what it keeps between openings.
#include "favourite_dialog_fixture.h"

namespace zoedit::test {
namespace {

using namespace ui::favourites;
using ui::EventKind;

TEST_F(FavouriteDialogTest, OpensOnTheTvListOfGroupZeroInGroupOrder) {
    open();
    // Entries 4, 9, 2 show as 001, 002, 003 with those channels' names.
    EXPECT_EQ(texts(IDC_TV_LIST[0]),
              (std::vector<std::string>{"001 " + channelName(ChannelKind::Tv, 4),
                                        "002 " + channelName(ChannelKind::Tv, 9),
                                        "003 " + channelName(ChannelKind::Tv, 2)}));
    for (int k = 0; k < kFavouriteDialogGroups; ++k) {
        EXPECT_EQ(form->text(IDC_GROUP_NAME[k]), "Group " + std::to_string(k));
        EXPECT_TRUE(form->isReadOnly(IDC_GROUP_NAME[k]));
        EXPECT_EQ(form->inputLimit(IDC_GROUP_NAME[k]), 23);
        EXPECT_EQ(form->isChecked(IDC_GROUP_SELECTOR[k]), k == 0);
        EXPECT_EQ(form->isVisible(IDC_TV_LIST[k]), k == 0) << k;
        EXPECT_FALSE(form->isVisible(IDC_RADIO_LIST[k])) << k;
        EXPECT_TRUE(form->fakeList(IDC_TV_LIST[k]).listStyle());
        EXPECT_TRUE(form->fakeList(IDC_RADIO_LIST[k]).singleSelection());
    }
    EXPECT_TRUE(form->isChecked(IDC_TV_MODE));
    EXPECT_FALSE(form->isVisible(IDC_RADIO_LABEL));
    EXPECT_FALSE(form->isVisible(IDC_CANCEL));
    EXPECT_EQ(form->text(IDC_GROUP_CAPTION), "Group 0");
}

TEST_F(FavouriteDialogTest, GroupsAndSidesShowOneListAtATime) {
    open();
    click(IDC_GROUP_SELECTOR[3]);
    EXPECT_EQ(texts(IDC_TV_LIST[3]), expectedTexts(3, ChannelKind::Tv));
    EXPECT_EQ(form->text(IDC_GROUP_CAPTION), "Group 3");
    click(IDC_RADIO_MODE);
    // The group stays; its radio list shows.
    EXPECT_TRUE(form->isChecked(IDC_GROUP_SELECTOR[3]));
    EXPECT_TRUE(form->isVisible(IDC_RADIO_LIST[3]));
    EXPECT_FALSE(form->isVisible(IDC_TV_LIST[3]));
    EXPECT_TRUE(form->isVisible(IDC_RADIO_LABEL));
    EXPECT_FALSE(form->isVisible(IDC_TV_LABEL));
    EXPECT_EQ(texts(IDC_RADIO_LIST[3]), expectedTexts(3, ChannelKind::Radio));
    click(IDC_GROUP_SELECTOR[6]);
    EXPECT_TRUE(texts(IDC_RADIO_LIST[6]).empty());
    EXPECT_TRUE(steps.empty());
}

TEST_F(FavouriteDialogTest, NameEditIsWritableOnlyWhileItHasTheFocus) {
    open();
    send(IDC_GROUP_NAME[5], EventKind::SetFocus);
    EXPECT_FALSE(form->isReadOnly(IDC_GROUP_NAME[5]));
    EXPECT_TRUE(form->isChecked(IDC_GROUP_SELECTOR[5]));  // focusing selects the group
    form->type(IDC_GROUP_NAME[5], "Sport and a name much longer than the field");
    send(IDC_GROUP_NAME[5], EventKind::KillFocus);
    EXPECT_TRUE(form->isReadOnly(IDC_GROUP_NAME[5]));
    // The edit took 23 characters; the table holds exactly those.
    EXPECT_EQ(nameBytes(db.favourites.groups[5].name), "Sport and a name much l");
    EXPECT_EQ(form->text(IDC_GROUP_CAPTION), "Sport and a name much l");
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].size(), 1u);

    // Leaving a name as it was is no step.
    send(IDC_GROUP_NAME[5], EventKind::SetFocus);
    send(IDC_GROUP_NAME[5], EventKind::KillFocus);
    EXPECT_EQ(steps.size(), 1u);
}

TEST_F(FavouriteDialogTest, ClearingANameEmptiesOnlyThatSideOnYes) {
    const Members radio3 = members(3, ChannelKind::Radio);
    std::vector<Members> tv_after(10);
    for (std::size_t g = 4; g < 10; ++g) tv_after[g] = members(g, ChannelKind::Tv);
    open();

    // An empty group asks nothing.
    rename(1, "");
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(nameBytes(db.favourites.groups[1].name), "");

    dialogs.answerMessage(ui::MessageAnswer::Yes);
    rename(3, "");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0],
              (ui::MessageBoxRequest{
                  "Input the Favorite Name, or Related channel will be deleted, proceed saving?",
                  "Zo Editor", ui::MessageButtons::YesNo, ui::MessageIcon::Exclamation}));
    EXPECT_TRUE(members(3, ChannelKind::Tv).empty());
    EXPECT_EQ(members(3, ChannelKind::Radio), radio3);
    for (std::size_t g = 4; g < 10; ++g) EXPECT_EQ(members(g, ChannelKind::Tv), tv_after[g]) << g;
    EXPECT_TRUE(texts(IDC_TV_LIST[3]).empty());
    EXPECT_EQ(nameBytes(db.favourites.groups[3].name), "");
    // The rename and the emptying are one step.
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[1].size(), 2u);
}

TEST_F(FavouriteDialogTest, AnswerNoKeepsTheNameEverywhere) {
    open();
    click(IDC_RADIO_MODE);
    dialogs.answerMessage(ui::MessageAnswer::No);
    rename(9, "");
    EXPECT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(form->text(IDC_GROUP_NAME[9]), "Group 9");
    EXPECT_EQ(nameBytes(db.favourites.groups[9].name), "Group 9");
    EXPECT_EQ(form->text(IDC_GROUP_CAPTION), "Group 9");
    EXPECT_EQ(members(9, ChannelKind::Radio), (Members{3, 4}));
    EXPECT_TRUE(steps.empty());
}

TEST_F(FavouriteDialogTest, EnterAndEscapeNeverCloseTheDialog) {
    open();
    EXPECT_TRUE(dialog->onKey(*host, ui::DialogKey::Enter));
    EXPECT_TRUE(dialog->onKey(*host, ui::DialogKey::Escape));
    EXPECT_FALSE(host->result().has_value());
    // Ctrl+Z in a name edit is the edit's own.
    send(IDC_GROUP_NAME[2], EventKind::SetFocus);
    EXPECT_FALSE(dialog->onKey(*host, ui::DialogKey::Undo));
    click(IDC_SAVE);
    EXPECT_EQ(host->result(), ui::IDOK);
}

TEST_F(FavouriteDialogTest, ANameBeingTypedCountsWhenTheDialogIsClosed) {
    open();
    send(IDC_GROUP_NAME[4], EventKind::SetFocus);
    form->type(IDC_GROUP_NAME[4], "Kids");
    dialog->onClose(*host);
    EXPECT_EQ(host->result(), ui::IDCANCEL);
    EXPECT_EQ(nameBytes(db.favourites.groups[4].name), "Kids");
    // Focus leaving as the window goes changes nothing more.
    send(IDC_GROUP_NAME[4], EventKind::KillFocus);
    EXPECT_EQ(steps.size(), 1u);
}

TEST_F(FavouriteDialogTest, KeepsTheGroupBetweenOpeningsAndOnlyOffersTheFilesGroups) {
    db.general.favourite_group_count = 6;
    open();
    click(IDC_GROUP_SELECTOR[5]);
    open();
    EXPECT_TRUE(form->isChecked(IDC_GROUP_SELECTOR[5]));
    EXPECT_TRUE(form->isVisible(IDC_TV_LIST[5]));
    for (int k = 6; k < kFavouriteDialogGroups; ++k) {
        EXPECT_FALSE(form->isEnabled(IDC_GROUP_SELECTOR[k])) << k;
        EXPECT_FALSE(form->isEnabled(IDC_GROUP_NAME[k])) << k;
    }
    click(IDC_GROUP_SELECTOR[7]);
    EXPECT_TRUE(form->isChecked(IDC_GROUP_SELECTOR[5]));
}

TEST_F(FavouriteDialogTest, UndoTakesBackOnlyTheStepsOfThisOpening) {
    std::vector<ChannelDatabase> history;  // the tables before each step
    auto open_with_history = [&] {
        open();
        FavouriteEdits edits;
        edits.apply = [&](std::span<const edit::EditOperation> step) {
            history.push_back(db);
            for (const auto& operation : step)
                EXPECT_TRUE(edit::applyOperation(db, edit::TableCopy::Primary, operation).ok());
            return edit::EditResult::done();
        };
        edits.undo = [&] {
            if (history.empty()) return false;
            db = std::move(history.back());
            history.pop_back();
            return true;
        };
        dialog = std::make_unique<CFavoriteDlg>(db, CodePage::Windows1252, dialogs, memory,
                                                std::move(edits));
        dialog->onInitDialog(*host);
    };
    open_with_history();
    rename(0, "Earlier");
    dialog->onClose(*host);

    open_with_history();
    const Members before = members(2, ChannelKind::Tv);
    rename(1, "Kids");
    click(IDC_GROUP_SELECTOR[2]);
    drag(IDC_TV_LIST[2], 0, 3);
    EXPECT_TRUE(dialog->onKey(*host, ui::DialogKey::Undo));
    EXPECT_EQ(members(2, ChannelKind::Tv), before);
    EXPECT_EQ(texts(IDC_TV_LIST[2]), expectedTexts(2, ChannelKind::Tv));
    EXPECT_TRUE(dialog->onKey(*host, ui::DialogKey::Undo));
    EXPECT_EQ(nameBytes(db.favourites.groups[1].name), "Group 1");
    EXPECT_EQ(form->text(IDC_GROUP_NAME[1]), "Group 1");
    // The step of the earlier opening stays.
    EXPECT_TRUE(dialog->onKey(*host, ui::DialogKey::Undo));
    EXPECT_EQ(nameBytes(db.favourites.groups[0].name), "Earlier");
    EXPECT_EQ(history.size(), 1u);
}

}  // namespace
}  // namespace zoedit::test
