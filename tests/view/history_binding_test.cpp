// Undo and redo as the main view runs them: records, lists, the selected row
// and the pages come back, the unsaved-changes state follows the history,
// and pending modes keep the history shut.
#include "view/history_binding.h"

#include "database/channel_file.h"
#include "view_fixture.h"

namespace zoedit::test {
namespace {

using namespace ui::form;

class HistoryBindingTest : public ViewTest {
protected:
    void SetUp() override {
        dir_ = testScratchDir("zoedit_history_");
        std::filesystem::create_directories(dir_);
        view = std::make_unique<CZoEditView>(fake.platform());
        view->OnInitialUpdate();
        binding = std::make_unique<CHistoryBinding>(*view);
        testing::DatabaseShape shape;
        shape.tv = 6;
        openDatabase(testing::buildDatabase(shape), (dir_ / "x.bin").string());
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    void openDatabase(const ChannelDatabase& db, const std::string& path) {
        const auto bytes = testing::fileBytesOf(db);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        open(path);
    }

    std::unique_ptr<CHistoryBinding> binding;
    std::filesystem::path dir_;
};

TEST_F(HistoryBindingTest, UndoGivesBackRecordsListAndSelectionAndTheCleanState) {
    const ChannelDatabase opened = view->database();
    view->OnItemChanged(ChannelKind::Tv, 5);
    const std::string last_name = text(IDC_CHANNEL_NAME);
    EXPECT_FALSE(binding->canUndo());
    EXPECT_EQ(binding->undoText(), "Undo");

    ASSERT_TRUE(binding->apply(edit::DeleteChannel{ChannelKind::Tv, 5}).ok());
    EXPECT_EQ(tvList().rowCount(), 5);
    EXPECT_EQ(state().m_nSelectedTvRow.value, 4);  // the row above the deleted last one
    EXPECT_TRUE(view->hasUnsavedEdits());
    EXPECT_TRUE(binding->canUndo());
    EXPECT_EQ(binding->undoText(), "Undo Delete Channel");

    binding->undo();
    EXPECT_EQ(testing::contentDifference(view->database(), opened), "");
    EXPECT_EQ(tvList().rowCount(), 6);
    EXPECT_EQ(state().m_nSelectedTvRow.value, 5);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), last_name);  // the pages show the restored record
    EXPECT_FALSE(view->hasUnsavedEdits());
    EXPECT_EQ(binding->redoText(), "Redo Delete Channel");

    binding->redo();
    EXPECT_EQ(tvList().rowCount(), 5);
    EXPECT_TRUE(view->hasUnsavedEdits());
}

TEST_F(HistoryBindingTest, SavingKeepsTheHistoryAndMovesTheCleanMark) {
    ASSERT_TRUE(binding->apply(edit::SetChannelLock{ChannelKind::Tv, 1, true}).ok());
    ASSERT_TRUE(view->Save());
    EXPECT_FALSE(view->hasUnsavedEdits());
    EXPECT_TRUE(binding->canUndo());
    binding->undo();
    EXPECT_TRUE(view->hasUnsavedEdits());  // now differs from the saved file
    binding->redo();
    EXPECT_FALSE(view->hasUnsavedEdits());

    open(view->currentPath());  // opening clears the history
    EXPECT_FALSE(binding->canUndo());
    EXPECT_FALSE(binding->canRedo());
}

TEST_F(HistoryBindingTest, PendingModesKeepUndoAndRedoShut) {
    ASSERT_TRUE(binding->apply(edit::MoveChannel{ChannelKind::Tv, 0, 3}).ok());
    for (const PendingChange& pending :
         {PendingChange{NewRecordPending{}}, PendingChange{CutPending{ChannelIndex(0)}},
          PendingChange{DragInProgress{ChannelIndex(0)}}}) {
        view->state().m_pending = pending;
        EXPECT_FALSE(binding->canUndo());
        binding->undo();
        EXPECT_TRUE(binding->history().canUndo());  // nothing was undone
        view->state().clearPendingChange();
    }
    EXPECT_TRUE(binding->canUndo());
}

}  // namespace
}  // namespace zoedit::test
