// Closing the main frame and opening another file, with and without unsaved
// edits and typing: one question at most, and Cancel (Escape) stays.
#include <gtest/gtest.h>

#include "database/channel_file.h"
#include "view/view_fixture.h"

namespace zoedit::test {
namespace {

using ui::MessageAnswer;
using namespace ui::form;
using Leave = CZoEditView::LeaveFile;

class LeaveFile : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        path = writeFile("leave.bin", testing::buildDatabase());
        open(path);
        before = readBytes(path);
        fake.dialogs.clearRecords();
    }
    // A step of the history: unsaved, but not typing.
    void changeARecord() {
        view->onCommand(IDC_EDIT);
        form().setChecked(IDC_LOCKED, !form().isChecked(IDC_LOCKED));
        view->onEvent({IDC_LOCKED, ui::EventKind::Clicked});
        ASSERT_TRUE(view->history().canUndo());
        fake.dialogs.clearRecords();
    }
    std::string path;
    std::vector<std::uint8_t> before;
};

TEST_F(LeaveFile, WithoutEditsClosesAtOnce) {
    EXPECT_TRUE(view->QueryLeaveFile(Leave::Close));
    EXPECT_TRUE(fake.dialogs.messages().empty());
}

TEST_F(LeaveFile, NoClosesWithoutSaving) {
    changeARecord();
    fake.dialogs.answerMessage(MessageAnswer::No);
    EXPECT_TRUE(view->QueryLeaveFile(Leave::Close));
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_EQ(fake.dialogs.messages()[0].text, "Save changes to the All Data Channels?");
    EXPECT_EQ(fake.dialogs.messages()[0].caption, "Zo Editor");
    EXPECT_EQ(fake.dialogs.messages()[0].buttons, ui::MessageButtons::YesNoCancel);
    EXPECT_EQ(fake.dialogs.messages()[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(readBytes(path), before);
}

TEST_F(LeaveFile, YesSavesThenCloses) {
    changeARecord();
    fake.dialogs.answerMessage(MessageAnswer::Yes);
    EXPECT_TRUE(view->QueryLeaveFile(Leave::Close));
    EXPECT_NE(readBytes(path), before);
    EXPECT_FALSE(view->hasUnsavedEdits());
}

// Escape answers Cancel: the window, the tables and the history stay.
TEST_F(LeaveFile, CancelOrEscapeKeepsTheWindowAndTheData) {
    changeARecord();
    const std::uint8_t locked = view->database().tv.primary[0].locked;
    fake.dialogs.answerMessage(MessageAnswer::Cancel);
    EXPECT_FALSE(view->QueryLeaveFile(Leave::Close));
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(view->database().tv.primary[0].locked, locked);
    EXPECT_TRUE(view->hasUnsavedEdits());
    EXPECT_TRUE(view->history().canUndo());
}

TEST_F(LeaveFile, AFailedSaveKeepsTheWindowOpen) {
    changeARecord();
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);  // the save cannot replace a folder
    fake.dialogs.answerMessage(MessageAnswer::Yes);
    EXPECT_FALSE(view->QueryLeaveFile(Leave::Close));
    EXPECT_TRUE(view->hasUnsavedEdits());
}

// Typing alone gets the record's question, never two questions in a row.
TEST_F(LeaveFile, OnlyTypingAsksTheRecordQuestionOnce) {
    view->onCommand(IDC_EDIT);
    form().type(IDC_CHANNEL_NAME, "Typed");
    fake.dialogs.clearRecords();
    fake.dialogs.answerMessage(MessageAnswer::No);
    EXPECT_TRUE(view->QueryLeaveFile(Leave::Close));
    EXPECT_EQ(fake.dialogs.messageTexts(),
              std::vector<std::string>{"Save the changes to this record?"});
    EXPECT_EQ(fake.dialogs.messages()[0].buttons, ui::MessageButtons::YesNoCancel);
}

TEST_F(LeaveFile, TypingBesideOtherChangesAsksTheFileQuestionAndYesKeepsBoth) {
    changeARecord();
    form().type(IDC_CHANNEL_NAME, "Typed");
    fake.dialogs.answerMessage(MessageAnswer::Yes);
    EXPECT_TRUE(view->QueryLeaveFile(Leave::Close));
    EXPECT_EQ(fake.dialogs.messageTexts(),
              std::vector<std::string>{"Save changes to the All Data Channels?"});
    ChannelDatabase reread;
    ASSERT_TRUE(loadChannelFile(path, reread).ok());
    EXPECT_EQ(nameBytes(reread.tv.primary[0].name), "Typed");
    EXPECT_NE(reread.tv.primary[0].locked, testing::buildDatabase().tv.primary[0].locked);
}

TEST_F(LeaveFile, CancelAtOpenKeepsTheFileAndTheTyping) {
    view->onCommand(IDC_EDIT);
    form().type(IDC_CHANNEL_NAME, "Typed");
    const std::string other = writeFile("other.bin", testing::buildDatabase({.seed = 3}));
    fake.dialogs.answerMessage(MessageAnswer::Cancel);
    open(other);
    EXPECT_EQ(text(IDC_FILE_PATH), path);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), "Typed");
    EXPECT_TRUE(fake.dialogs.fileRequests().empty());
    // Yes commits the typing, saves, then opens.
    fake.dialogs.answerMessage(MessageAnswer::Yes);
    open(other);
    EXPECT_EQ(text(IDC_FILE_PATH), other);
    ChannelDatabase reread;
    ASSERT_TRUE(loadChannelFile(path, reread).ok());
    EXPECT_EQ(nameBytes(reread.tv.primary[0].name), "Typed");
}

}  // namespace
}  // namespace zoedit::test
