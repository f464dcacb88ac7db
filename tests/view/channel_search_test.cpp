// Finding a channel by name: whole names, any letter case, every row.
#include "view/channel_search.h"

#include <gtest/gtest.h>

#include "support/fake_platform.h"

namespace zoedit {
namespace {

test::FakeListControl listOf(std::vector<std::string> names) {
    test::FakeListControl list;
    std::vector<ui::ListRow> rows;
    for (auto& name : names) rows.push_back({{"0001", name, "", ""}, ui::kNoImage});
    list.setRows(std::move(rows));
    return list;
}

TEST(ChannelSearch, WholeNamesInAnyCaseTheLastMatchWins) {
    const auto list = listOf({"NEWS", "NEWS 24", "Sport", "news", "Caf\xc3\xa9", ""});
    EXPECT_EQ(findChannelRow(list, "news"), 3);  // the one further down
    EXPECT_EQ(findChannelRow(list, "news 2"), std::nullopt);
    EXPECT_EQ(findChannelRow(list, "SPORT"), 2);
    EXPECT_EQ(findChannelRow(list, "CAF\xc3\x89"), 4);  // Latin-1 letters have capitals too
    EXPECT_EQ(findChannelRow(list, ""), 5);             // only the channel without a name
    // The first row is compared too.
    EXPECT_EQ(findChannelRow(listOf({"Alpha", "Beta"}), "ALPHA"), 0);
    EXPECT_EQ(findChannelRow(listOf({}), "x"), std::nullopt);
    // Arabic letters have no case: they match only themselves.
    EXPECT_TRUE(sameNameIgnoringCase("\xd8\xa7\xd9\x84", "\xd8\xa7\xd9\x84"));
    EXPECT_FALSE(sameNameIgnoringCase("\xd8\xa7", "\xd8\xa8"));
}

TEST(ChannelSearch, TheDialogGivesTheTypedNameOnlyOnOk) {
    test::FakeDialogs dialogs;
    dialogs.scriptModal([](ui::ModalDialog& d, test::FakeDialogHost& host, test::FakeForm& f) {
        f.setText(ui::search::IDC_NAME, "News");
        d.onEvent(host, {ui::search::IDC_OK, ui::EventKind::Clicked});
    });
    CSearchDlg dialog;
    EXPECT_EQ(dialogs.runModal(dialog), ui::IDOK);
    EXPECT_EQ(dialog.searchText(), "News");
    EXPECT_EQ(dialogs.modalDialogs().back(), ui::IDD_SEARCH);
    CSearchDlg closed;
    EXPECT_EQ(dialogs.runModal(closed), ui::IDCANCEL);  // the close box cancels
}

}  // namespace
}  // namespace zoedit
