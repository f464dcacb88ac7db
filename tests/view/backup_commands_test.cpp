// The File menu's backup commands and Save's backups, through the whole view
// over the fake platform.
#include "view/backup_commands.h"

#include "database/channel_file.h"
#include "database/field_format.h"
#include "view_fixture.h"

namespace zoedit::test {
namespace {

using namespace ui::form;
using ui::cmd::ID_FILE_BACKUPS_KEPT;
using ui::cmd::ID_FILE_RESTORE_BACKUP;
using ui::cmd::ID_FILE_REVERT;

class BackupCommandsTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = std::filesystem::temp_directory_path() /
               (std::string("zoedit_backups_") + info->name());
        std::filesystem::remove_all(root);
        view->setBackups(BackupStore(root.string(), kDefaultBackupsKept));
        owned = std::make_unique<CBackupCommands>(
            *view, [this](int kept) { kept_stored.push_back(kept); });
    }
    CBackupCommands& commands() { return *owned; }
    void TearDown() override {
        std::filesystem::remove_all(root);
        ViewTest::TearDown();
    }
    // Opens, selects the third TV row and enters edit mode.
    void openAndEdit() {
        path = writeFile("channels.bin", testing::buildDatabase());
        open(path);
        view->OnItemChanged(ChannelKind::Tv, 2);
        view->onCommand(IDC_EDIT);
    }
    void saveName(const std::string& name) {
        form().type(IDC_CHANNEL_NAME, name);
        ASSERT_TRUE(view->Save());
    }
    std::string shownName() { return tvList().cellText(2, 1); }

    std::filesystem::path root;
    std::string path;
    std::vector<int> kept_stored;
    std::unique_ptr<CBackupCommands> owned;
};

// Save three times, restore the first, Save: the file holds the first save's
// bytes again and the file it replaced is itself a backup now.
TEST_F(BackupCommandsTest, RestoredBackupIsTheModifiedDocumentUntilSaved) {
    EXPECT_FALSE(*commands().enabled(ID_FILE_RESTORE_BACKUP));
    EXPECT_FALSE(*commands().enabled(ID_FILE_REVERT));
    openAndEdit();
    saveName("First");
    const auto first = readBytes(path);
    saveName("Second");
    saveName("Third");
    const auto third = readBytes(path);
    ASSERT_EQ(view->backups().list(path).size(), 3u);  // the original, First, Second

    commands().onCommand(ID_FILE_RESTORE_BACKUP);  // the list cancelled: nothing changes
    EXPECT_FALSE(view->hasUnsavedEdits());
    fake.dialogs.clearRecords();
    fake.dialogs.answerChoice(1);  // newest first: the file as First saved it
    ASSERT_TRUE(commands().onCommand(ID_FILE_RESTORE_BACKUP));
    ASSERT_EQ(fake.dialogs.choiceRequests().size(), 1u);
    const ui::ChoiceRequest& shown = fake.dialogs.choiceRequests()[0];
    EXPECT_EQ(shown.title, "Restore Backup");
    ASSERT_EQ(shown.items.size(), 3u);
    EXPECT_EQ(shown.items[0].substr(0, 3), "1  ");
    EXPECT_NE(shown.items[1].find(std::to_string(first.size()) + " bytes"), std::string::npos);
    EXPECT_NE(shown.items[1].find(" TV, "), std::string::npos);
    EXPECT_TRUE(fake.dialogs.messages().empty());  // nothing to lose: no question

    EXPECT_EQ(view->currentPath(), path);
    EXPECT_EQ(text(IDC_FILE_PATH), path);
    EXPECT_TRUE(view->hasUnsavedEdits());
    EXPECT_TRUE(view->isCommandEnabled(ui::cmd::ID_FILE_SAVE));
    EXPECT_EQ(readBytes(path), third);  // nothing written yet
    view->OnItemChanged(ChannelKind::Tv, 2);
    EXPECT_EQ(shownName(), "First");

    ASSERT_TRUE(view->Save());
    EXPECT_EQ(readBytes(path), first);
    EXPECT_FALSE(view->hasUnsavedEdits());
    const auto entries = view->backups().list(path);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(readBytes(entries[0].path), third);
}

// Revert asks before unsaved changes go; No keeps them, Yes reads the file.
TEST_F(BackupCommandsTest, RevertToSavedAsksOnlyWhenSomethingWouldBeLost) {
    openAndEdit();
    saveName("Saved");
    form().type(IDC_CHANNEL_NAME, "Typed");
    view->onEvent({IDC_CHANNEL_NAME, ui::EventKind::EditChange});
    ASSERT_TRUE(view->hasUnsavedEdits());

    fake.dialogs.answerMessage(ui::MessageAnswer::No);
    commands().onCommand(ID_FILE_REVERT);
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_EQ(fake.dialogs.messages()[0],
              (ui::MessageBoxRequest{kDiscardChangesQuestion, ui::kQuestionCaption,
                                     ui::MessageButtons::YesNo, ui::MessageIcon::Warning}));
    EXPECT_EQ(text(IDC_CHANNEL_NAME), "Typed");
    EXPECT_TRUE(view->hasUnsavedEdits());

    fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
    commands().onCommand(ID_FILE_REVERT);
    EXPECT_FALSE(view->hasUnsavedEdits());
    EXPECT_EQ(view->state().m_bEditing, 0);
    view->OnItemChanged(ChannelKind::Tv, 2);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), "Saved");

    fake.dialogs.clearRecords();
    commands().onCommand(ID_FILE_REVERT);
    EXPECT_TRUE(fake.dialogs.messages().empty());
}

// A backup that cannot be made: the save goes on and one box says why.
TEST_F(BackupCommandsTest, SaveWithoutABackupSaysSoOnce) {
    openAndEdit();
    writeBytes("plain", {'x'});
    view->setBackups(
        BackupStore((std::filesystem::path(path).parent_path() / "plain").string(), 10));
    fake.dialogs.clearRecords();
    saveName("Saved anyway");
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_NE(fake.dialogs.messages()[0].text.find("no backup of " + path), std::string::npos);
    ChannelDatabase db;
    ASSERT_TRUE(loadChannelFile(path, db).ok());
    EXPECT_EQ(nameBytes(db.tv.primary[2].name), "Saved anyway");
    // Unchanged bytes need no backup: nothing to warn about.
    fake.dialogs.clearRecords();
    ASSERT_TRUE(view->Save());
    EXPECT_TRUE(fake.dialogs.messages().empty());
}

TEST_F(BackupCommandsTest, NoBackupsYetIsSaid) {
    openAndEdit();
    commands().onCommand(ID_FILE_RESTORE_BACKUP);
    EXPECT_TRUE(fake.dialogs.choiceRequests().empty());
    EXPECT_EQ(fake.dialogs.messageTexts(),
              std::vector<std::string>{"There are no backups of " + path + "."});
}

TEST_F(BackupCommandsTest, BackupsToKeepOffersTheNumberInUseAndKeepsTheChoice) {
    commands().onCommand(ID_FILE_BACKUPS_KEPT);  // cancelled
    ASSERT_EQ(fake.dialogs.choiceRequests().size(), 1u);
    const ui::ChoiceRequest& shown = fake.dialogs.choiceRequests()[0];
    EXPECT_EQ(shown.items[static_cast<std::size_t>(shown.initial)], "10");
    EXPECT_EQ(shown.items.front(), "None");
    EXPECT_TRUE(kept_stored.empty());
    EXPECT_EQ(view->backups().keep(), 10);

    fake.dialogs.answerChoice(3);
    commands().onCommand(ID_FILE_BACKUPS_KEPT);
    EXPECT_EQ(view->backups().keep(), 3);
    EXPECT_EQ(view->backups().root(), root.string());
    EXPECT_EQ(kept_stored, std::vector<int>{3});

    // Three saves of changes keep three, and "None" keeps none at all.
    openAndEdit();
    for (const char* name : {"A", "B", "C", "D"}) saveName(name);
    EXPECT_EQ(view->backups().list(path).size(), 3u);
    fake.dialogs.answerChoice(0);
    commands().onCommand(ID_FILE_BACKUPS_KEPT);
    EXPECT_FALSE(view->backups().enabled());
    saveName("E");
    EXPECT_EQ(view->backups().list(path).size(), 3u);
}

}  // namespace
}  // namespace zoedit::test
