// File menu "Apply Order From..." and "Compare With..." on the fake
// platform: when they are on, what the dialogs show, the options reaching
// the one step, Cancel leaving everything, Undo after Apply, and a double
// click in the comparison selecting the channel in a sorted main list.
#include <gtest/gtest.h>

#include <algorithm>

#include "database/channel_columns.h"
#include "edit/edit_operations.h"
#include "order/apply_order_dialog.h"
#include "order/compare_dialog.h"
#include "view/view_fixture.h"

namespace zoedit::test {
namespace {

using ui::EventKind;
using namespace ui::form;
namespace ao = ui::apply_order;
namespace cmp = ui::compare;

ChannelDatabase referenceDatabase() {
    testing::DatabaseShape shape;
    shape.tv = 9;
    shape.radio = 5;
    ChannelDatabase db = testing::buildDatabase(shape);
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio})
        for (std::size_t i = 0; i < db.channels(kind).count; ++i) {
            ChannelRecord ch = db.channels(kind).primary[i];
            ch.service_id = static_cast<std::uint16_t>(100 + i);
            // Names in reverse order of the table, so a sort by name reverses it.
            setNameBytes(ch.name, std::string(1, static_cast<char>('Z' - i)) + " channel");
            ch.locked = i == 2;
            put(db.channels(kind), i, ch);
        }
    return db;
}

// The reference after a rescan: the TV list turned round, the lock lost,
// the last radio channel gone.
ChannelDatabase rescanned(const ChannelDatabase& reference) {
    ChannelDatabase db = reference;
    auto& tv = db.tv;
    std::reverse(tv.primary.begin(), tv.primary.begin() + static_cast<std::ptrdiff_t>(tv.count));
    for (std::size_t i = 0; i < tv.count; ++i) tv.primary[i].locked = 0;
    EXPECT_TRUE(
        edit::deleteChannel(db, edit::TableCopy::Primary, ChannelKind::Radio, db.radio.count - 1)
            .ok());
    db.general.favourite_group_count = 0;
    db.favourites.tv_members.reset(0);
    db.favourites.radio_members.reset(0);
    tv.copyAllToWorking();
    return db;
}

class ViewOrder : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        reference = referenceDatabase();
        reference_path = writeFile("reference.bin", reference);
        openDatabase(rescanned(reference), "rescan.bin");
        fake.dialogs.setDialogLists(ui::IDD_APPLY_ORDER, {ao::IDC_UNMATCHED_LIST});
        fake.dialogs.setDialogLists(ui::IDD_COMPARE, {cmp::IDC_CHANNELS});
    }
    std::vector<std::string> tvNames() const {
        std::vector<std::string> names;
        for (const ChannelRecord& ch : view->database().tv.records())
            names.push_back(nameBytes(ch.name));
        return names;
    }

    ChannelDatabase reference;
    std::string reference_path;
};

TEST_F(ViewOrder, TheCommandsWaitForALoadedFileAndNoPendingChange) {
    CZoEditView fresh(fake.platform());
    EXPECT_FALSE(fresh.isCommandEnabled(ui::cmd::ID_FILE_APPLY_ORDER));
    EXPECT_FALSE(fresh.isCommandEnabled(ui::cmd::ID_FILE_COMPARE));

    EXPECT_TRUE(view->isCommandEnabled(ui::cmd::ID_FILE_APPLY_ORDER));
    EXPECT_TRUE(view->isCommandEnabled(ui::cmd::ID_FILE_COMPARE));
    view->onCommand(IDC_EDIT);
    view->onEvent({IDC_TV_LIST, EventKind::ItemChanged, 1});
    view->onCommand(ui::cmd::ID_EDIT_CUT_CHANNEL);
    ASSERT_TRUE(state().isCutPending());
    EXPECT_FALSE(view->isCommandEnabled(ui::cmd::ID_FILE_APPLY_ORDER));
    EXPECT_FALSE(view->isCommandEnabled(ui::cmd::ID_FILE_COMPARE));
    // A command that is off does nothing, even from a key.
    view->onCommand(ui::cmd::ID_FILE_APPLY_ORDER);
    EXPECT_TRUE(fake.dialogs.fileRequests().empty() ||
                fake.dialogs.fileRequests().back().title != "Apply Order From");
    view->onCommand(ui::cmd::ID_EDIT_PASTE_CHANNEL);

    view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, kColumnName});
    ASSERT_TRUE(view->isSorted());
    EXPECT_FALSE(view->isCommandEnabled(ui::cmd::ID_FILE_APPLY_ORDER));
    EXPECT_TRUE(view->isCommandEnabled(ui::cmd::ID_FILE_COMPARE));
}

TEST_F(ViewOrder, ApplyShowsTheCountsTakesTheOptionsAndIsOneUndoStep) {
    const auto rescan_names = tvNames();
    const ChannelDatabase before = view->database();
    fake.dialogs.answerFile(reference_path);
    fake.dialogs.scriptModal([&](ui::ModalDialog& dialog, FakeDialogHost& host, FakeForm& form) {
        EXPECT_EQ(form.text(ao::IDC_BY_IDENTITY), "13");
        EXPECT_EQ(form.text(ao::IDC_BY_NAME), "0");
        EXPECT_EQ(form.text(ao::IDC_UNMATCHED_OPEN), "0");
        EXPECT_EQ(form.text(ao::IDC_UNMATCHED_REFERENCE), "1");
        const auto& rows = form.fakeList(ao::IDC_UNMATCHED_LIST).rows();
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].texts,
                  (std::vector<std::string>{"reference", "Radio", "0005", "V channel"}));
        EXPECT_TRUE(form.isEnabled(ao::IDC_LOCKS));
        // The TV list alone, with the locks.
        form.setSelectedIndex(ao::IDC_LIST, 1);
        dialog.onEvent(host, {ao::IDC_LIST, EventKind::SelChange});
        EXPECT_EQ(form.text(ao::IDC_BY_IDENTITY), "9");
        EXPECT_TRUE(form.fakeList(ao::IDC_UNMATCHED_LIST).rows().empty());
        form.setChecked(ao::IDC_LOCKS, true);
        dialog.onEvent(host, {ao::IDC_APPLY, EventKind::Clicked});
    });
    view->onCommand(ui::cmd::ID_FILE_APPLY_ORDER);

    auto expected = rescan_names;
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(tvNames(), expected);
    EXPECT_EQ(view->database().tv.primary[2].locked, 1);
    EXPECT_EQ(view->database().radio.count, before.radio.count);
    EXPECT_TRUE(std::equal(view->database().radio.records().begin(),
                           view->database().radio.records().end(), before.radio.records().begin()));
    EXPECT_EQ(view->history().undoName(), "Apply Order");
    EXPECT_TRUE(view->hasUnsavedEdits());
    // The list shows the new order.
    EXPECT_EQ(tvList().cellText(0, kColumnName), expected[0]);

    edit::RowSelection selection;
    ASSERT_TRUE(view->document().undo(selection).ok());
    EXPECT_EQ(testing::contentDifference(view->database(), before), "");
}

TEST_F(ViewOrder, CancelAndARefusedReferenceChangeNothing) {
    const ChannelDatabase before = view->database();
    fake.dialogs.answerFile(reference_path);
    fake.dialogs.scriptModal([](ui::ModalDialog& dialog, FakeDialogHost& host, FakeForm& form) {
        form.setChecked(ao::IDC_NAMES, true);
        dialog.onEvent(host, {ao::IDC_CANCEL, EventKind::Clicked});
    });
    view->onCommand(ui::cmd::ID_FILE_APPLY_ORDER);
    EXPECT_EQ(fake.dialogs.modalDialogs().back(), ui::IDD_APPLY_ORDER);
    EXPECT_EQ(testing::contentDifference(view->database(), before), "");
    EXPECT_FALSE(view->history().canUndo());

    const std::string bad = writeBytes("bad.csv", {'x', '\n'});
    fake.dialogs.answerFile(bad);
    view->onCommand(ui::cmd::ID_FILE_APPLY_ORDER);
    ASSERT_FALSE(fake.dialogs.messages().empty());
    EXPECT_NE(fake.dialogs.messages().back().text.find("bad.csv"), std::string::npos);
    EXPECT_EQ(testing::contentDifference(view->database(), before), "");
}

TEST_F(ViewOrder, ADoubleClickInTheComparisonSelectsTheChannelInASortedList) {
    // Sorted by name, the TV list shows the channels in another order than
    // the file's: row and channel index differ.
    view->onCommand(IDC_EDIT);
    view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, kColumnName});
    view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, kColumnName});
    ASSERT_TRUE(view->isSorted());
    view->onCommand(ui::cmd::ID_VIEW_RADIO);

    std::optional<ChannelRef> wanted;
    fake.dialogs.answerFile(reference_path);
    fake.dialogs.scriptModal([&](ui::ModalDialog& dialog, FakeDialogHost& host, FakeForm& form) {
        const auto tabs = form.items(cmp::IDC_TABS);
        EXPECT_EQ(tabs, (std::vector<std::string>{"Added (0)", "Removed (1)", "Moved (8)",
                                                  "Renamed (0)", "Changed (1)"}));
        auto& compare = static_cast<order::CCompareDlg&>(dialog);
        form.setSelectedIndex(cmp::IDC_TABS, 2);
        dialog.onEvent(host, {cmp::IDC_TABS, EventKind::SelChange});
        EXPECT_EQ(form.fakeList(cmp::IDC_CHANNELS).rowCount(), 8);
        // Sorted by the new number, descending on the second click.
        dialog.onEvent(host,
                       {cmp::IDC_CHANNELS, EventKind::ColumnClick, order::CCompareDlg::After});
        dialog.onEvent(host,
                       {cmp::IDC_CHANNELS, EventKind::ColumnClick, order::CCompareDlg::After});
        const auto& rows = form.fakeList(cmp::IDC_CHANNELS).rows();
        for (std::size_t r = 1; r < rows.size(); ++r)
            EXPECT_GT(rows[r - 1].texts[order::CCompareDlg::After],
                      rows[r].texts[order::CCompareDlg::After]);
        // The channel now first or second in the file: the sorted main list
        // shows it far from that row.
        int pick = -1;
        for (int r = 0; r < static_cast<int>(rows.size()) && pick < 0; ++r)
            if (compare.rowAt(r)->after.value_or(9) <= 1) pick = r;
        ASSERT_GE(pick, 0);
        const order::DiffRow* row = compare.rowAt(pick);
        wanted = ChannelRef{row->list, ChannelIndex(*row->after)};
        dialog.onEvent(host, {cmp::IDC_CHANNELS, EventKind::DoubleClick, pick});
        // A removed channel is not in the open file: nothing happens.
        form.setSelectedIndex(cmp::IDC_TABS, 1);
        dialog.onEvent(host, {cmp::IDC_TABS, EventKind::SelChange});
        dialog.onEvent(host, {cmp::IDC_CHANNELS, EventKind::DoubleClick, 0});
        dialog.onEvent(host, {cmp::IDC_CLOSE, EventKind::Clicked});
    });
    view->onCommand(ui::cmd::ID_FILE_COMPARE);
    ASSERT_TRUE(wanted);
    EXPECT_EQ(state().m_shownList, ActiveList::Tv);
    EXPECT_EQ(view->selectedChannel(), wanted);
    const Row row = state().m_nSelectedTvRow;
    ASSERT_TRUE(row.valid());
    EXPECT_NE(static_cast<std::size_t>(row.value), wanted->index.value);
    EXPECT_TRUE(tvList().isRowSelected(row.value));
    EXPECT_EQ(tvList().cellText(row.value, kColumnName),
              nameBytes(view->database().tv.primary[wanted->index.value].name));
}

}  // namespace
}  // namespace zoedit::test
