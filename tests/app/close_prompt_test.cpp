// Closing the main frame with and without unsaved edits.
#include "app/close_prompt.h"

#include <gtest/gtest.h>

#include "support/fake_platform.h"

namespace zoedit::app {
namespace {

struct ClosePrompt : ::testing::Test {
    test::FakeDialogs dialogs;
    int saves = 0;
    bool save_result = true;
    std::function<bool()> save = [this] {
        ++saves;
        return save_result;
    };
};

TEST_F(ClosePrompt, WithoutEditsClosesAtOnce) {
    EXPECT_TRUE(runClosePrompt(dialogs, false, save));
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(saves, 0);
}

TEST_F(ClosePrompt, NoClosesWithoutSaving) {
    dialogs.answerMessage(ui::MessageAnswer::No);
    EXPECT_TRUE(runClosePrompt(dialogs, true, save));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, "Save changes to the All Data Channels?");
    EXPECT_EQ(dialogs.messages()[0].caption, "Zo Editor");
    EXPECT_EQ(dialogs.messages()[0].buttons, ui::MessageButtons::YesNo);
    EXPECT_EQ(dialogs.messages()[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(saves, 0);
}

TEST_F(ClosePrompt, YesSavesThenCloses) {
    dialogs.answerMessage(ui::MessageAnswer::Yes);
    EXPECT_TRUE(runClosePrompt(dialogs, true, save));
    EXPECT_EQ(saves, 1);
}

TEST_F(ClosePrompt, AFailedSaveKeepsTheWindowOpen) {
    save_result = false;
    dialogs.answerMessage(ui::MessageAnswer::Yes);
    EXPECT_FALSE(runClosePrompt(dialogs, true, save));
    EXPECT_EQ(saves, 1);
}

}  // namespace
}  // namespace zoedit::app
