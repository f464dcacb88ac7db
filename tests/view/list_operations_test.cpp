// The list operations over the fake platform: context menus, cut and paste,
// the column sort with "Keep This Order", dragging rows, and a long random
// run of them checked against a plain model of the channel order and the
// favourite groups.
#include <algorithm>
#include <map>
#include <random>

#include "database/channel_file.h"
#include "view/history_binding.h"
#include "view/list_sort.h"
#include "view_fixture.h"

namespace zoedit::test {
namespace {

using namespace ui::form;
using ui::ControlId;
using ui::EventKind;
namespace item = ui::context;

// Channels carry their first index as service id, so that a test can tell
// where each one went.
ChannelDatabase numberedDatabase(std::size_t tv = 12, std::size_t radio = 5) {
    testing::DatabaseShape shape;
    shape.tv = tv;
    shape.radio = radio;
    shape.groups = {{5, 2}, {4, 0}, {3, 3}};
    ChannelDatabase db = testing::buildDatabase(shape);
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        auto& table = db.channels(kind);
        for (std::size_t i = 0; i < table.count; ++i) {
            ChannelRecord ch = table.primary[i];
            ch.service_id = static_cast<std::uint16_t>(i);
            // Names repeat, so that the sort has equal texts to keep in order.
            setNameBytes(ch.name, std::string("Ch ") + static_cast<char>('A' + (i * 7) % 5));
            put(table, i, ch);
        }
    }
    return db;
}

class ListOperationsTest : public ViewTest {
protected:
    void SetUp() override {
        dir_ = testScratchDir("zoedit_lists_");
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        view = std::make_unique<CZoEditView>(fake.platform());
        view->OnInitialUpdate();
        binding = std::make_unique<CHistoryBinding>(*view);
        path = (dir_ / "lists.bin").string();
        const auto bytes = testing::fileBytesOf(numberedDatabase());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        open(path);
        view->onCommand(IDC_EDIT);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // The service ids (first indexes) of a list in table order.
    std::vector<int> order(ChannelKind kind = ChannelKind::Tv) const {
        std::vector<int> ids;
        const auto& table = view->database().channels(kind);
        for (std::size_t i = 0; i < table.count; ++i) ids.push_back(table.primary[i].service_id);
        return ids;
    }
    // Each group's TV members as service ids, in group order.
    std::vector<std::vector<int>> groups(ChannelKind kind = ChannelKind::Tv) const {
        std::vector<std::vector<int>> result;
        const ChannelDatabase& db = view->database();
        for (std::size_t g = 0; g < db.favouriteGroupCount(); ++g) {
            result.emplace_back();
            for (std::uint16_t m : db.groupMembers(g, kind))
                result.back().push_back(db.channels(kind).primary[m].service_id);
        }
        return result;
    }
    void select(int row, ControlId list = IDC_TV_LIST) {
        view->onEvent({list, EventKind::ItemChanged, row});
    }
    void drag(int from, int to, ControlId list = IDC_TV_LIST) {
        select(from, list);
        view->onEvent({list, EventKind::BeginDrag, from});
        view->onEvent({list, EventKind::ButtonUp, to});
        view->onEvent({list, EventKind::DragEnd});
    }
    std::vector<ui::PopupMenuItem> contextMenu(ControlId list = IDC_TV_LIST) {
        fake.menus.answer(-1);
        view->onEvent({list, EventKind::RightClick, 0, 10, 10});
        return fake.menus.shown.back();
    }
    void choose(int id, ControlId list = IDC_TV_LIST) {
        fake.menus.answer(id);
        view->onEvent({list, EventKind::RightClick, 0, 10, 10});
    }
    std::vector<std::string> column(int c) {
        std::vector<std::string> texts;
        for (int r = 0; r < tvList().rowCount(); ++r) texts.push_back(tvList().cellText(r, c));
        return texts;
    }

    std::unique_ptr<CHistoryBinding> binding;
    std::filesystem::path dir_;
    std::string path;
};

std::vector<int> iota(int n) {
    std::vector<int> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)] = i;
    return v;
}

TEST_F(ListOperationsTest, ContextMenusShowTheirItemsGreyedAsTheModesSay) {
    using Items = std::vector<ui::PopupMenuItem>;
    EXPECT_EQ(contextMenu(), (Items{{item::ID_TITLE, "<TV channel>", true},
                                    {item::ID_NEW, "New  (&N)", true},
                                    {item::ID_CUT, "Cut  (&X)", true},
                                    {item::ID_PASTE, "Paste(&P)", false},
                                    {item::ID_DELETE, "Del  (&D)", true}}));
    select(3);
    view->onCommand(ui::cmd::ID_EDIT_CUT_CHANNEL);
    EXPECT_EQ(contextMenu()[2], (ui::PopupMenuItem{item::ID_CUT, "Cut (&X)", false}));
    EXPECT_TRUE(contextMenu()[3].enabled);
    EXPECT_FALSE(contextMenu()[4].enabled);
    EXPECT_EQ(contextMenu(IDC_RADIO_LIST)[0].caption, "<Radio channel>");
    EXPECT_EQ(contextMenu(IDC_RADIO_LIST)[2],
              (ui::PopupMenuItem{item::ID_CUT, "Cut  (&X)", false}));
    EXPECT_FALSE(view->isCommandEnabled(ui::cmd::ID_VIEW_FAVOURITES));
    EXPECT_FALSE(view->isCommandEnabled(ui::cmd::ID_EDIT_CUT_CHANNEL));
    EXPECT_TRUE(view->isCommandEnabled(ui::cmd::ID_EDIT_PASTE_CHANNEL));

    view->onCommand(IDC_CANCEL);
    view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, kColumnName});
    const Items sorted = contextMenu();
    EXPECT_FALSE(sorted[1].enabled);
    EXPECT_EQ(sorted[2], (ui::PopupMenuItem{item::ID_CUT, "Cut (&X)", false}));
    EXPECT_FALSE(sorted[4].enabled);
    EXPECT_FALSE(view->isCommandEnabled(ui::cmd::ID_VIEW_FAVOURITES));
    EXPECT_TRUE(view->isCommandEnabled(ui::cmd::ID_EDIT_KEEP_ORDER));

    // Out of edit mode: no title, four greyed items, and choosing one does nothing.
    open(path);
    EXPECT_EQ(contextMenu(), (Items{{item::ID_NEW, "New  (&N)", false},
                                    {item::ID_CUT, "Cut  (&X)", false},
                                    {item::ID_PASTE, "Paste(&P)", false},
                                    {item::ID_DELETE, "Del  (&D)", false}}));
    choose(item::ID_CUT);
    EXPECT_FALSE(state().hasPendingChange());
    EXPECT_TRUE(view->isCommandEnabled(ui::cmd::ID_VIEW_FAVOURITES));
}

TEST_F(ListOperationsTest, CutAndPasteMoveTheChannelWithItsFavouritePlacesAsOneStep) {
    const ChannelDatabase opened = view->database();
    const auto groups_before = groups();
    select(3);
    choose(item::ID_CUT);
    EXPECT_EQ(order(), iota(12));  // the cut only marks the channel
    EXPECT_FALSE(form().isEnabled(IDC_NEW));
    EXPECT_FALSE(form().isEnabled(IDC_DELETE));
    select(7);
    EXPECT_EQ(text(IDC_CHANNEL_NUMBER), "008");
    choose(item::ID_PASTE);
    EXPECT_EQ(order(), (std::vector<int>{0, 1, 2, 4, 5, 6, 7, 3, 8, 9, 10, 11}));
    EXPECT_EQ(groups(), groups_before);
    EXPECT_EQ(state().m_nSelectedTvRow.value, 7);
    EXPECT_EQ(tvList().selectedRow(), 7);
    EXPECT_FALSE(state().hasPendingChange());
    EXPECT_EQ(binding->undoText(), "Undo Move Channel");

    // And back up: row 7 pasted on row 3 takes that place.
    view->onCommand(ui::cmd::ID_EDIT_CUT_CHANNEL);
    select(3);
    view->onCommand(ui::cmd::ID_EDIT_PASTE_CHANNEL);
    EXPECT_EQ(order(), iota(12));
    EXPECT_EQ(groups(), groups_before);

    binding->undo();
    binding->undo();
    EXPECT_EQ(testing::contentDifference(view->database(), opened), "");
}

TEST_F(ListOperationsTest, APendingCutChangesNoTableOnSaveCancelOrOpen) {
    const auto bytes = readBytes(path);
    select(2);
    view->onCommand(ui::cmd::ID_EDIT_CUT_CHANNEL);
    ASSERT_TRUE(view->Save());
    EXPECT_EQ(readBytes(path), bytes);
    EXPECT_EQ(order(), iota(12));

    view->onCommand(ui::cmd::ID_EDIT_CUT_CHANNEL);
    view->onCommand(IDC_CANCEL);
    EXPECT_FALSE(state().hasPendingChange());
    EXPECT_EQ(order(), iota(12));

    view->onCommand(ui::cmd::ID_EDIT_CUT_CHANNEL);
    open(path);
    EXPECT_FALSE(state().hasPendingChange());
    EXPECT_EQ(order(), iota(12));
}

TEST_F(ListOperationsTest, PasteAndDeleteWithoutAPlaceAreRefusedAndChangeNothing) {
    select(2);
    view->onCommand(ui::cmd::ID_EDIT_CUT_CHANNEL);
    select(1, IDC_RADIO_LIST);
    view->onCommand(ui::cmd::ID_EDIT_PASTE_CHANNEL);
    EXPECT_EQ(fake.dialogs.messageTexts().back(),
              "The cut channel can only be pasted into the list it was cut from.");
    EXPECT_TRUE(state().isCutPending());
    select(4);
    view->onEvent({IDC_TV_LIST, EventKind::ItemClick, -1});  // a click below the rows
    view->onCommand(ui::cmd::ID_EDIT_PASTE_CHANNEL);
    EXPECT_EQ(fake.dialogs.messageTexts().back(),
              "No channel is selected. Select a channel in the list first.");
    EXPECT_EQ(order(), iota(12));
    EXPECT_EQ(binding->history().stepCount(), 0u);

    view->onCommand(IDC_CANCEL);
    view->onEvent({IDC_TV_LIST, EventKind::ItemClick, -1});
    choose(item::ID_DELETE);
    EXPECT_EQ(order(), iota(12));
}

TEST_F(ListOperationsTest, ContextDeleteAsksAndDeletesTheListsChannel) {
    select(4);
    choose(item::ID_DELETE);  // answered No
    EXPECT_EQ(fake.dialogs.messages().back().text,
              "Marked channels will be deleted, proceed SAVING?");
    EXPECT_EQ(fake.dialogs.messages().back().caption, "Zo Editor");
    EXPECT_EQ(order().size(), 12u);
    fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
    choose(item::ID_DELETE);
    auto expected = iota(12);
    expected.erase(expected.begin() + 4);
    EXPECT_EQ(order(), expected);
    for (const auto& group : groups()) EXPECT_EQ(std::count(group.begin(), group.end(), 4), 0);
    EXPECT_EQ(tvList().rowCount(), 11);
}

TEST_F(ListOperationsTest, ColumnSortIsAViewOrderThatSaveAndCancelEnd) {
    ASSERT_TRUE(view->Save());  // the file as this program writes it
    const auto bytes = readBytes(path);
    select(6);
    const std::string name6 = text(IDC_CHANNEL_NAME);
    view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, kColumnName});
    auto names = column(kColumnName);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    // Equal names keep file order.
    for (int r = 1; r < tvList().rowCount(); ++r) {
        if (names[r] == names[r - 1]) {
            EXPECT_LT(tvList().cellText(r - 1, 0), tvList().cellText(r, 0));
        }
    }
    // The selected channel stays selected, and the pages show the row's record.
    const int row = state().m_nSelectedTvRow.value;
    EXPECT_EQ(tvList().selectedRow(), row);
    EXPECT_EQ(tvList().cellText(row, kColumnNumber), "0007");
    select(0);
    EXPECT_EQ(std::stoi(text(IDC_CHANNEL_NUMBER)), std::stoi(tvList().cellText(0, kColumnNumber)));
    EXPECT_EQ(text(IDC_CHANNEL_NAME), tvList().cellText(0, kColumnName));
    select(row);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), name6);

    view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, kColumnName});  // again: descending
    names = column(kColumnName);
    EXPECT_TRUE(std::is_sorted(names.rbegin(), names.rend()));
    view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, kColumnNumber});  // another: ascending
    EXPECT_EQ(column(kColumnNumber).front(), "0001");
    view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, kColumnNumber});
    EXPECT_EQ(column(kColumnNumber).front(), "0012");
    EXPECT_EQ(order(), iota(12));

    ASSERT_TRUE(view->Save());
    EXPECT_EQ(readBytes(path), bytes);
    EXPECT_FALSE(view->isSorted());
    EXPECT_EQ(column(kColumnNumber).front(), "0001");
    EXPECT_EQ(tvList().cellText(state().m_nSelectedTvRow.value, kColumnNumber), "0007");

    view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, kColumnSatellite});
    view->onCommand(IDC_CANCEL);
    EXPECT_FALSE(view->isSorted());
    EXPECT_EQ(column(kColumnNumber).front(), "0001");

    open(path);  // out of edit mode the header click sorts nothing
    view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, kColumnName});
    EXPECT_FALSE(view->isSorted());
    EXPECT_EQ(column(kColumnNumber).front(), "0001");
}

TEST_F(ListOperationsTest, KeepThisOrderMovesEveryChannelToItsRowAsOneStep) {
    const ChannelDatabase opened = view->database();
    const auto groups_before = groups();
    view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, kColumnName});
    const auto shown = column(kColumnName);
    std::vector<int> expected;
    for (int r = 0; r < tvList().rowCount(); ++r)
        expected.push_back(std::stoi(tvList().cellText(r, kColumnNumber)) - 1);
    view->onCommand(ui::cmd::ID_EDIT_KEEP_ORDER);
    EXPECT_FALSE(view->isSorted());
    EXPECT_EQ(order(), expected);
    EXPECT_EQ(column(kColumnName), shown);
    EXPECT_EQ(column(kColumnNumber).back(), "0012");
    EXPECT_EQ(groups(), groups_before);
    EXPECT_EQ(binding->undoText(), "Undo Keep This Order");
    binding->undo();
    EXPECT_EQ(testing::contentDifference(view->database(), opened), "");
}

TEST_F(ListOperationsTest, DragsLandAfterTheRowGoingDownOnItGoingUpAndAtTheEndBelowTheRows) {
    const auto groups_before = groups();
    drag(2, 5);
    EXPECT_EQ(order(), (std::vector<int>{0, 1, 3, 4, 5, 2, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(state().m_nSelectedTvRow.value, 5);
    EXPECT_FALSE(state().isDragging());
    drag(5, 2);
    EXPECT_EQ(order(), iota(12));
    drag(5, -1);  // below the last row
    EXPECT_EQ(order().back(), 5);
    drag(3, 3);  // on itself
    EXPECT_EQ(order().back(), 5);
    EXPECT_EQ(groups(), groups_before);
    EXPECT_EQ(binding->history().stepCount(), 3u);

    // Released outside a list, or Escape: the drag ends with no drop.
    select(4);
    view->onEvent({IDC_TV_LIST, EventKind::BeginDrag, 4});
    EXPECT_TRUE(state().isDragging());
    select(0);  // the pages keep the dragged channel while rows move
    EXPECT_EQ(text(IDC_CHANNEL_NUMBER), "005");
    view->onEvent({IDC_TV_LIST, EventKind::DragEnd});
    EXPECT_FALSE(state().isDragging());
    select(1);
    EXPECT_EQ(text(IDC_CHANNEL_NUMBER), "002");
    EXPECT_EQ(binding->history().stepCount(), 3u);
}

TEST_F(ListOperationsTest, DragsStartOnlyInEditModeOutsideSortedModeAndReplaceACut) {
    select(2);
    view->onCommand(ui::cmd::ID_EDIT_CUT_CHANNEL);
    drag(6, 8);  // the cut is given up, the drag goes on
    EXPECT_FALSE(state().hasPendingChange());
    EXPECT_EQ(order()[8], 6);

    view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, kColumnName});
    const auto sorted_order = order();
    drag(1, 4);
    EXPECT_TRUE(view->isSorted());
    EXPECT_EQ(order(), sorted_order);

    open(path);
    drag(1, 4);
    EXPECT_EQ(order(), iota(12));
}

TEST_F(ListOperationsTest, PidModeOpensTheThreePidsButNeverTheCodePid) {
    select(1);
    form().setChecked(IDC_PID_MODE, true);
    view->onEvent({IDC_PID_MODE, EventKind::Clicked});
    for (ControlId id : {IDC_VIDEO_PID, IDC_AUDIO_PID, IDC_FOURTH_PID})
        EXPECT_FALSE(form().isReadOnly(id)) << id;
    EXPECT_TRUE(form().isReadOnly(IDC_CODE_PID));
    form().setChecked(IDC_PID_MODE, false);
    view->onEvent({IDC_PID_MODE, EventKind::Clicked});
    for (ControlId id : {IDC_VIDEO_PID, IDC_AUDIO_PID, IDC_FOURTH_PID, IDC_CODE_PID})
        EXPECT_TRUE(form().isReadOnly(id)) << id;
}

// Random cuts, pastes, drags, deletes, sorts and kept orders against a plain
// model: the order of the channels and the members of every group.
TEST_F(ListOperationsTest, RandomListOperationsKeepEveryChannelAndFavouriteOnItsRecord) {
    std::mt19937 rng(7);
    std::vector<int> model = iota(12);
    std::vector<std::vector<int>> model_groups = groups();
    const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const auto move = [&model](int from, int to) {
        const int id = model[static_cast<std::size_t>(from)];
        model.erase(model.begin() + from);
        model.insert(model.begin() + to, id);
    };
    for (int step = 0; step < 300; ++step) {
        const int n = static_cast<int>(model.size());
        if (n < 3) break;
        switch (pick(6)) {
            case 0: {  // cut and paste
                const int from = pick(n), to = pick(n);
                view->onCommand(IDC_CANCEL);
                select(from);
                view->onCommand(ui::cmd::ID_EDIT_CUT_CHANNEL);
                select(to);
                view->onCommand(ui::cmd::ID_EDIT_PASTE_CHANNEL);
                move(from, to);
                break;
            }
            case 1: {
                view->onCommand(IDC_CANCEL);
                const int from = pick(n), to = pick(n + 1) - 1;
                drag(from, to);
                move(from, to < 0 ? n - 1 : to);
                break;
            }
            case 2:
                if (pick(4) == 0) {
                    view->onCommand(IDC_CANCEL);
                    select(pick(n));
                    fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
                    choose(item::ID_DELETE);
                }
                break;
            case 3:
                view->onEvent({IDC_TV_LIST, EventKind::ColumnClick, pick(kChannelColumnCount)});
                break;
            case 4:
                if (view->isSorted()) {
                    std::vector<int> shown;
                    for (int r = 0; r < tvList().rowCount(); ++r)
                        shown.push_back(model[static_cast<std::size_t>(
                            std::stoi(tvList().cellText(r, kColumnNumber)) - 1)]);
                    view->onCommand(ui::cmd::ID_EDIT_KEEP_ORDER);
                    model = shown;
                }
                break;
            default:
                binding->undo();  // only runs when nothing is pending
                if (!state().hasPendingChange() && binding->history().canRedo()) {
                    binding->redo();
                }
                break;
        }
        // Deletes are checked by what is left: the model drops what the table dropped.
        const auto ids = order();
        if (ids.size() < model.size()) {
            std::vector<int> gone;
            for (int id : model)
                if (std::find(ids.begin(), ids.end(), id) == ids.end()) gone.push_back(id);
            ASSERT_EQ(gone.size(), 1u) << "step " << step;
            model.erase(std::find(model.begin(), model.end(), gone.front()));
            for (auto& group : model_groups)
                group.erase(std::remove(group.begin(), group.end(), gone.front()), group.end());
        }
        ASSERT_EQ(ids, model) << "step " << step;
        ASSERT_EQ(groups(), model_groups) << "step " << step;
    }
}

// The sort against insertion into a sorted list, which keeps equal texts in
// their order by construction.
TEST(ListSort, StableByTextAndNumbersByValuePastFourDigits) {
    std::mt19937 rng(3);
    for (int round = 0; round < 50; ++round) {
        const std::size_t n = 1 + rng() % 40;
        std::vector<std::size_t> rows(n);
        std::map<std::size_t, std::string> texts;
        for (std::size_t i = 0; i < n; ++i) {
            rows[i] = (rng() % 2) ? 9990 + i : i;  // numbers on both sides of 10000
            texts[rows[i]] =
                std::string(1, static_cast<char>(rng() % 2 ? '\xe3' : 'a' + rng() % 3));
        }
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        std::shuffle(rows.begin(), rows.end(), rng);
        const auto text = [&texts](std::size_t c) { return texts.at(c); };
        for (bool ascending : {true, false}) {
            std::vector<std::size_t> naive;
            for (std::size_t c : rows) {
                auto at = naive.end();
                for (auto it = naive.begin(); it != naive.end(); ++it) {
                    const auto a = static_cast<unsigned char>(text(c)[0]);
                    const auto b = static_cast<unsigned char>(text(*it)[0]);
                    if (ascending ? a < b : a > b) {
                        at = it;
                        break;
                    }
                }
                naive.insert(at, c);
            }
            EXPECT_EQ(sortedRows(rows, kColumnName, ascending, text), naive);
            auto numbers = rows;
            std::sort(numbers.begin(), numbers.end());
            if (!ascending) std::reverse(numbers.begin(), numbers.end());
            EXPECT_EQ(sortedRows(rows, kColumnNumber, ascending, text), numbers);
        }
    }
}

}  // namespace
}  // namespace zoedit::test
