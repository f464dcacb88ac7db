// Dragging an entry of the list on show: where it lands, what a cancelled or
// misplaced drop leaves, and that nothing but the dragged group ever changes.
#include <random>

#include "favourite_dialog_fixture.h"

namespace zoedit::test {
namespace {

using namespace ui::favourites;
using ui::EventKind;

struct DragCase {
    const char* what;
    int from;
    int onto;
    Members expected;  // group 2 is 1, 2, 3, 4, 5
};

TEST_F(FavouriteDialogTest, DropsLandWhereTheListPutsThem) {
    const std::vector<DragCase> cases = {
        {"down: after the highlighted entry", 1, 3, {1, 3, 4, 2, 5}},
        {"up: before the highlighted entry", 3, 1, {1, 4, 2, 3, 5}},
        {"below the rows: to the end", 0, -1, {2, 3, 4, 5, 1}},
        {"onto the last row", 2, 4, {1, 2, 4, 5, 3}},
        {"onto itself", 2, 2, {1, 2, 3, 4, 5}},
    };
    for (const DragCase& c : cases) {
        SCOPED_TRACE(c.what);
        setMembers(db, ChannelKind::Tv, {{4, 9, 2}, {}, {1, 2, 3, 4, 5}});
        steps.clear();
        open();
        click(IDC_GROUP_SELECTOR[2]);
        drag(IDC_TV_LIST[2], c.from, c.onto);
        EXPECT_EQ(members(2, ChannelKind::Tv), c.expected);
        EXPECT_EQ(texts(IDC_TV_LIST[2]), expectedTexts(2, ChannelKind::Tv));
        const int landed = c.onto < 0 ? 4 : c.onto;
        EXPECT_EQ(form->fakeList(IDC_TV_LIST[2]).selectedRow(), landed);
        EXPECT_TRUE(dialog->modified());
        EXPECT_EQ(dialog->draggedChannel(), static_cast<std::size_t>(c.from + 1));
        // A move is one step; a drop on its own place is none.
        EXPECT_EQ(steps.size(), c.from == landed ? 0u : 1u);
    }
}

TEST_F(FavouriteDialogTest, DragsThatEndElsewhereChangeNothing) {
    const Members before = members(2, ChannelKind::Tv);
    open();
    click(IDC_GROUP_SELECTOR[2]);

    // Escape (or Enter) during the drag.
    send(IDC_TV_LIST[2], EventKind::BeginDrag, 1);
    EXPECT_TRUE(dialog->onKey(*host, ui::DialogKey::Escape));
    // Released outside every list of the dialog: the window system reports no drop.
    send(IDC_TV_LIST[2], EventKind::BeginDrag, 3);
    send(IDC_TV_LIST[2], EventKind::DragCancel);
    // Dropped on a list that is not the one on show, or with a row it does not hold.
    drag(IDC_TV_LIST[2], 0, 3, IDC_RADIO_LIST[2]);
    drag(IDC_TV_LIST[2], 7, 1);

    EXPECT_EQ(members(2, ChannelKind::Tv), before);
    EXPECT_EQ(texts(IDC_TV_LIST[2]), expectedTexts(2, ChannelKind::Tv));
    EXPECT_TRUE(steps.empty());
    // A drag was started: saving still brings the main view up to date.
    EXPECT_TRUE(dialog->modified());
    EXPECT_FALSE(host->result().has_value());
}

// Random drags, drops, cancels, group and side switches against a plain model
// of every group: only the dragged group changes, the way the list shows it.
TEST_F(FavouriteDialogTest, RandomDragsMoveOnlyTheDraggedEntry) {
    std::mt19937 random(20261208);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    setMembers(db, ChannelKind::Tv,
               {{4, 9, 2},
                {1, 2, 3, 4, 5, 6, 7, 8},
                {},
                {7, 8},
                {0},
                {11, 10, 9},
                {5},
                {3, 1},
                {},
                {6, 5, 4, 3}});
    setMembers(db, ChannelKind::Radio,
               {{1}, {2, 3}, {}, {0, 5, 4}, {}, {1, 2, 3, 4, 5, 0}, {}, {}, {2}, {3, 4}});
    std::vector<Members> model[2];
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio})
        for (std::size_t g = 0; g < 10; ++g)
            model[static_cast<int>(kind)].push_back(members(g, kind));
    open();
    int group = 0;
    ChannelKind kind = ChannelKind::Tv;
    std::size_t expected_steps = 0;

    for (int step = 0; step < 2000; ++step) {
        auto& shown = model[static_cast<int>(kind)][static_cast<std::size_t>(group)];
        const auto list = kind == ChannelKind::Tv ? IDC_TV_LIST[group] : IDC_RADIO_LIST[group];
        const int size = static_cast<int>(shown.size());
        switch (below(6)) {
            case 0:
                group = below(10);
                click(IDC_GROUP_SELECTOR[group]);
                break;
            case 1:
                kind = kind == ChannelKind::Tv ? ChannelKind::Radio : ChannelKind::Tv;
                click(kind == ChannelKind::Tv ? IDC_TV_MODE : IDC_RADIO_MODE);
                break;
            case 2:
                if (size == 0) break;
                send(list, EventKind::BeginDrag, below(size));
                send(list, EventKind::DragCancel);
                break;
            default: {
                if (size == 0) break;
                const int from = below(size);
                const int onto = below(size + 1) - 1;  // -1: below the rows
                drag(list, from, onto);
                const int to = onto < 0 ? size - 1 : onto;
                const auto value = shown[static_cast<std::size_t>(from)];
                shown.erase(shown.begin() + from);
                shown.insert(shown.begin() + to, value);
                if (from != to) ++expected_steps;
                break;
            }
        }
        for (ChannelKind k : {ChannelKind::Tv, ChannelKind::Radio})
            for (std::size_t g = 0; g < 10; ++g)
                ASSERT_EQ(members(g, k), model[static_cast<int>(k)][g])
                    << "step " << step << " group " << g;
        const auto on_show = kind == ChannelKind::Tv ? IDC_TV_LIST[group] : IDC_RADIO_LIST[group];
        ASSERT_TRUE(form->isVisible(on_show));
        ASSERT_EQ(texts(on_show), expectedTexts(static_cast<std::size_t>(group), kind));
    }
    EXPECT_EQ(steps.size(), expected_steps);
}

}  // namespace
}  // namespace zoedit::test
