// The commands that change records, through the whole view over the fake
// platform: Save's commit, New on the three pages, Cancel, Delete, the
// favourite boxes and the lock. Each change is one step that undo takes back.
#include "database/channel_file.h"
#include "database/field_format.h"
#include "view/form_commit.h"
#include "view/history_binding.h"
#include "view/view_messages.h"
#include "view_fixture.h"

namespace zoedit::test {
namespace {

using namespace ui::form;

class EditViewTest : public ViewTest {
protected:
    // Opens, selects `row`, presses Edit and saves once without a change, so
    // that the file holds what the view writes for these tables.
    void openAndEdit(const ChannelDatabase& db, int row = 2) {
        path = writeFile("edit.bin", db);
        open(path);
        view->OnItemChanged(ChannelKind::Tv, row);
        view->onCommand(IDC_EDIT);
        view->onCommand(IDC_SAVE);
        ASSERT_EQ(view->history().stepCount(), 0u);
    }
    // Undoes every step as the Edit menu does, then saves.
    void undoAllAndSave() {
        CHistoryBinding undo(*view);
        while (undo.canUndo()) undo.undo();
        view->Save();
    }
    ChannelDatabase reread() {
        ChannelDatabase db;
        EXPECT_TRUE(loadChannelFile(path, db).ok());
        return db;
    }
    std::string path;
};

TEST_F(EditViewTest, SaveCommitsThePagesAsOneStepThatUndoTakesBack) {
    const ChannelDatabase db = testing::buildDatabase();
    openAndEdit(db);
    const auto before = readBytes(path);
    form().type(IDC_CHANNEL_NAME, "Typed Name");
    form().type(IDC_VIDEO_PID, "1FFF");
    form().type(IDC_FREQUENCY, "11766");
    form().type(IDC_POSITION, "030.0W");
    form().setSelectedIndex(IDC_FEC, 5);
    view->onCommand(IDC_SAVE);
    const ChannelDatabase saved = reread();
    const ChannelRecord& channel = saved.tv.primary[2];
    EXPECT_EQ(nameBytes(channel.name), "Typed Name");
    EXPECT_EQ(channel.transponder_index, db.tv.primary[2].transponder_index);
    const TransponderRecord& tp = saved.transponders.primary[channel.transponder_index];
    EXPECT_EQ(tp.frequency, 11766);
    EXPECT_EQ(tp.fec, 5);
    EXPECT_EQ(saved.satellites.primary[tp.satellite_index].position, 3300);
    EXPECT_EQ(tvList().cellText(2, 1), "Typed Name");
    EXPECT_EQ(tvList().selectedRow(), 2);
    EXPECT_EQ(view->history().stepCount(), 1u);
    EXPECT_FALSE(view->hasUnsavedEdits());

    undoAllAndSave();
    EXPECT_EQ(readBytes(path), before);
}

TEST_F(EditViewTest, NamesAreCutToTheirFieldsAndRefusedValuesWriteNothing) {
    FormValues values;
    values.channel_name = std::string(30, 'x');
    values.satellite_name = std::string(50, 'y');
    const PageCommitInput input{FormValues{}, values, CodePage::Latin1, Untouched::KeepsRecord};
    EXPECT_EQ(nameBytes(committedChannel({}, input).name).size(), 23u);
    EXPECT_EQ(nameBytes(committedSatellite({}, input).name).size(), 43u);

    openAndEdit(testing::buildDatabase());
    const auto before = readBytes(path);
    EXPECT_EQ(form().inputLimit(IDC_CHANNEL_NAME), 23);
    form().setText(IDC_SERVICE_ID, "12345");  // pasted past the edit's limit
    view->onCommand(IDC_SAVE);
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(view->history().stepCount(), 0u);
    EXPECT_FALSE(fake.dialogs.messages().empty());
}

TEST_F(EditViewTest, NewOnTheChannelPageInsertsAtTheRowOnSave) {
    const ChannelDatabase db = testing::buildDatabase();
    openAndEdit(db, 3);
    const auto before = readBytes(path);
    view->onCommand(IDC_NEW);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), "<inseted>");
    EXPECT_EQ(text(IDC_SERVICE_ID), "0000");
    EXPECT_FALSE(form().isEnabled(IDC_NEW));
    EXPECT_FALSE(form().isEnabled(IDC_DELETE));
    EXPECT_FALSE(form().isEnabled(IDC_FAVOURITE_CHECK[0]));
    EXPECT_FALSE(view->isCommandEnabled(ui::cmd::ID_VIEW_FAVOURITES));
    EXPECT_EQ(view->database().tv.count, db.tv.count);  // nothing changes before Save
    form().type(IDC_CHANNEL_NAME, "Fresh");
    view->onCommand(IDC_SAVE);

    const ChannelDatabase saved = reread();
    ASSERT_EQ(saved.tv.count, db.tv.count + 1);
    EXPECT_EQ(nameBytes(saved.tv.primary[3].name), "Fresh");
    EXPECT_EQ(saved.tv.primary[3].transponder_index, db.tv.primary[3].transponder_index);
    EXPECT_EQ(saved.tv.primary[4], db.tv.primary[3]);
    for (std::size_t g = 0; g < db.favouriteGroupCount(); ++g)
        EXPECT_EQ(saved.favouritePosition(g, ChannelKind::Tv, 4),
                  db.favouritePosition(g, ChannelKind::Tv, 3));
    EXPECT_EQ(state().m_nSelectedTvRow.value, 3);
    EXPECT_TRUE(form().isEnabled(IDC_NEW));
    EXPECT_FALSE(state().hasPendingChange());
    EXPECT_EQ(view->history().stepCount(), 1u);
    undoAllAndSave();
    EXPECT_EQ(readBytes(path), before);
}

TEST_F(EditViewTest, NewOnTheTransponderAndSatellitePages) {
    const ChannelDatabase db = testing::buildDatabase();
    openAndEdit(db, 1);
    const std::size_t t = db.tv.primary[1].transponder_index;
    view->OnTabSelChange(1);
    view->onCommand(IDC_NEW);
    EXPECT_EQ(text(IDC_TRANSPONDER_NUMBER), "0");
    EXPECT_EQ(text(IDC_NETWORK_ID), "0000");
    view->onCommand(IDC_SAVE);
    ChannelDatabase saved = reread();
    EXPECT_EQ(saved.transponders.count, db.transponders.count + 1);
    EXPECT_EQ(saved.tv.count, db.tv.count + 1);
    EXPECT_EQ(saved.transponders.primary[t + 1], db.transponders.primary[t]);
    EXPECT_EQ(nameBytes(saved.tv.primary[1].name), "<inseted>");

    view->OnTabSelChange(2);
    view->onCommand(IDC_NEW);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), "<inserted>");
    EXPECT_EQ(text(IDC_SATELLITE_NAME), "");
    form().type(IDC_SATELLITE_NAME, "Far Bird");
    form().type(IDC_POSITION, "045.0E");
    view->onCommand(IDC_SAVE);
    saved = reread();
    ASSERT_EQ(saved.satellites.count, db.satellites.count + 1);
    EXPECT_EQ(nameBytes(saved.satellites.primary[db.satellites.count].name), "Far Bird");
    EXPECT_EQ(saved.satellites.primary[db.satellites.count].position, 450);
    const ChannelRecord& last = saved.tv.primary[saved.tv.count - 1];
    EXPECT_EQ(nameBytes(last.name), "<inserted>");
    EXPECT_EQ(last.transponder_index, saved.transponders.count - 1);
    EXPECT_EQ(state().m_nSelectedTvRow.value, static_cast<int>(saved.tv.count) - 1);
}

TEST_F(EditViewTest, NewThenCancelLeavesTablesListsAndHistoryAlone) {
    const ChannelDatabase db = testing::buildDatabase();
    openAndEdit(db, 2);
    const auto rows = tvList().rows();
    view->onCommand(IDC_NEW);
    view->onCommand(IDC_CANCEL);
    EXPECT_EQ(testing::contentDifference(view->database(), reread()), "");
    EXPECT_EQ(tvList().rows(), rows);
    EXPECT_EQ(view->history().stepCount(), 0u);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), tvList().cellText(2, 1));
    EXPECT_TRUE(form().isEnabled(IDC_NEW));
    EXPECT_TRUE(form().isEnabled(IDC_FAVOURITE_CHECK[0]));
}

TEST_F(EditViewTest, NewIsRefusedAtCapacityAndWithoutASelectedRow) {
    testing::DatabaseShape shape;
    shape.tv = kChannelCapacity;
    openAndEdit(testing::buildDatabase(shape));
    view->onCommand(IDC_NEW);
    EXPECT_FALSE(state().isNewRecord());
    ASSERT_FALSE(fake.dialogs.messages().empty());
    EXPECT_NE(fake.dialogs.messages().back().text.find("10000"), std::string::npos);

    openAndEdit(testing::buildDatabase());
    view->onEvent({IDC_TV_LIST, ui::EventKind::ItemClick, -1});  // a click outside the rows
    view->onCommand(IDC_NEW);
    view->onCommand(IDC_DELETE);
    EXPECT_FALSE(state().isNewRecord());
    EXPECT_EQ(fake.dialogs.messageTexts().back(), messages::kNoChannelSelected);
    EXPECT_EQ(view->history().stepCount(), 0u);
}

TEST_F(EditViewTest, DeleteAsksFirstAndTakesDependantsAlong) {
    const ChannelDatabase db = testing::buildDatabase();
    openAndEdit(db, static_cast<int>(db.tv.count) - 1);
    const auto before = readBytes(path);
    view->onCommand(IDC_DELETE);  // no scripted answer: No
    EXPECT_EQ(fake.dialogs.messages().back().text, messages::kDeleteChannelQuestion);
    EXPECT_EQ(fake.dialogs.messages().back().caption, ui::kQuestionCaption);
    EXPECT_EQ(view->database().tv.count, db.tv.count);
    EXPECT_EQ(state().m_nSelectedTvRow.value,
              static_cast<int>(db.tv.count) - 1);  // No moves nothing

    fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
    view->onCommand(IDC_DELETE);
    EXPECT_EQ(view->database().tv.count, db.tv.count - 1);
    EXPECT_EQ(state().m_nSelectedTvRow.value, static_cast<int>(db.tv.count) - 2);  // the row above

    view->OnTabSelChange(2);
    fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
    view->onCommand(IDC_DELETE);
    EXPECT_EQ(fake.dialogs.messages().back().text, messages::kDeleteSatelliteQuestion);
    EXPECT_EQ(view->database().satellites.count, db.satellites.count - 1);
    for (const ChannelRecord& channel : view->database().tv.records())
        EXPECT_LT(channel.transponder_index, view->database().transponders.count);
    EXPECT_TRUE(view->currentSatellite().has_value());
    EXPECT_EQ(view->history().stepCount(), 2u);
    view->Save();
    undoAllAndSave();
    EXPECT_EQ(readBytes(path), before);
}

TEST_F(EditViewTest, DeletingTheLastChannelSaysEndOfDataAndEmptyTablesAreRefused) {
    testing::DatabaseShape shape;
    shape.tv = 1;
    shape.groups = {{1, 0}};
    openAndEdit(testing::buildDatabase(shape), 0);
    fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
    view->onCommand(IDC_DELETE);
    EXPECT_EQ(view->database().tv.count, 0u);
    EXPECT_EQ(fake.dialogs.messageTexts().back(), messages::kEndOfData);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), "Null");
    // The drop lists keep their items for later records, showing no choice.
    EXPECT_EQ(form().items(IDC_FEC).size(), 6u);
    EXPECT_EQ(form().selectedIndex(IDC_FEC), -1);
    EXPECT_EQ(form().selectedIndex(IDC_POLARISATION), -1);
    EXPECT_EQ(text(IDC_FREQUENCY), "");
    EXPECT_EQ(view->database().favourites.groups[0].tv_count, 0);
    view->onCommand(IDC_DELETE);
    EXPECT_EQ(fake.dialogs.messageTexts().back(), messages::kNotDelete);
}

TEST_F(EditViewTest, FavouriteClicksChangeTheGroupsAtOnceAsSteps) {
    testing::DatabaseShape shape;
    shape.tv = 12;
    shape.groups = {{8, 0}, {0, 0}};
    ChannelDatabase db = testing::buildDatabase(shape);
    for (std::size_t e = 0; e < 8; ++e) {
        db.favourites.tv_members.primary[e] = static_cast<std::uint16_t>(e);
        db.favourites.tv_members.working[e] = static_cast<std::uint16_t>(e);
    }
    path = writeFile("fav.bin", db);
    open(path);
    view->Save();
    const auto before = readBytes(path);
    // Outside edit mode too, as a click on a box is meant to.
    view->OnItemChanged(ChannelKind::Tv, 4);
    ASSERT_EQ(text(IDC_FAVOURITE_POSITION[0]), "005");
    form().setChecked(IDC_FAVOURITE_CHECK[0], false);
    view->onEvent({IDC_FAVOURITE_CHECK[0], ui::EventKind::Clicked});
    EXPECT_EQ(text(IDC_FAVOURITE_POSITION[0]), "000");
    EXPECT_EQ(view->database().favourites.groups[0].tv_count, 7);
    form().setChecked(IDC_FAVOURITE_CHECK[0], true);
    view->onEvent({IDC_FAVOURITE_CHECK[0], ui::EventKind::Clicked});
    EXPECT_EQ(text(IDC_FAVOURITE_POSITION[0]), "005");  // back at its place

    view->OnItemChanged(ChannelKind::Tv, 10);
    form().setChecked(IDC_FAVOURITE_CHECK[1], true);
    view->onEvent({IDC_FAVOURITE_CHECK[1], ui::EventKind::Clicked});
    EXPECT_EQ(text(IDC_FAVOURITE_POSITION[1]), "001");
    EXPECT_TRUE(form().isChecked(IDC_FAVOURITE_CHECK[1]));
    EXPECT_EQ(view->history().stepCount(), 3u);
    EXPECT_TRUE(view->hasUnsavedEdits());
    view->Save();
    undoAllAndSave();
    EXPECT_EQ(readBytes(path), before);
}

TEST_F(EditViewTest, TheLockChangesTheRecordAtOnceAndShowsItsPicture) {
    ChannelDatabase db = testing::buildDatabase();
    ChannelRecord channel = db.tv.primary[2];
    channel.locked = 0;
    put(db.tv, 2, channel);
    openAndEdit(db, 2);
    const auto before = readBytes(path);
    form().setChecked(IDC_LOCKED, true);
    view->onEvent({IDC_LOCKED, ui::EventKind::Clicked});
    EXPECT_EQ(view->database().tv.primary[2].locked, 1);
    EXPECT_TRUE(form().isVisible(IDC_LOCKED_PICTURE));
    EXPECT_FALSE(form().isVisible(IDC_UNLOCKED_PICTURE));
    EXPECT_EQ(view->history().undoName(), "Lock Channel");
    view->Save();
    EXPECT_EQ(reread().tv.primary[2].locked, 1);
    undoAllAndSave();
    EXPECT_EQ(readBytes(path), before);
}

}  // namespace
}  // namespace zoedit::test
