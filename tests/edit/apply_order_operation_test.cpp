// The "Apply Order" operation on its own: a plan it cannot carry out changes
// nothing and leaves no step, and the step it records takes back the number
// of favourite groups along with the groups.
#include <gtest/gtest.h>

#include "database/invariants.h"
#include "edit/edit_history.h"
#include "support/database_builder.h"

namespace zoedit::edit {
namespace {

ListOrderPlan reversed(const ChannelDatabase& db, ChannelKind kind) {
    ListOrderPlan list{kind, {}, {}, {}};
    for (std::size_t i = db.channels(kind).count; i > 0; --i) list.order.push_back(i - 1);
    return list;
}

GroupPlan group(const char* name, std::vector<std::size_t> tv, std::vector<std::size_t> radio) {
    GroupPlan g;
    setNameBytes(g.name, name);
    g.tv = std::move(tv);
    g.radio = std::move(radio);
    return g;
}

TEST(ApplyOrderOperation, APlanThatCannotBeCarriedOutChangesNothing) {
    const ChannelDatabase before = testing::buildDatabase();  // 8 TV, 4 radio, 3 groups
    std::vector<ChannelOrderPlan> plans;
    auto add = [&](auto change) {
        ChannelOrderPlan plan;
        plan.lists = {reversed(before, ChannelKind::Tv)};
        plan.groups = std::vector<GroupPlan>{group("G", {1, 2}, {0})};
        change(plan);
        plans.push_back(plan);
    };
    add([](ChannelOrderPlan& p) { p.lists[0].order.pop_back(); });
    add([](ChannelOrderPlan& p) { p.lists[0].order[0] = p.lists[0].order[1]; });
    add([](ChannelOrderPlan& p) { p.lists.push_back(p.lists[0]); });
    add([](ChannelOrderPlan& p) { p.lists[0].locks = {{8, 1}}; });
    add([](ChannelOrderPlan& p) { p.lists[0].names = {{8, {}}}; });
    add([](ChannelOrderPlan& p) { (*p.groups)[0].radio = {4}; });
    add([](ChannelOrderPlan& p) { p.groups->resize(kFavouriteGroupCapacity + 1); });
    add([](ChannelOrderPlan& p) { (*p.groups)[0].tv.assign(kFavouriteMemberCapacity + 1, 0); });
    for (std::size_t i = 0; i < plans.size(); ++i) {
        SCOPED_TRACE("plan " + std::to_string(i));
        ChannelDatabase db = before;
        // Locks and names come first in the plan: they must not be stored
        // when a later part is refused.
        plans[i].lists[0].locks.emplace_back(0, 1);
        plans[i].lists[0].names.emplace_back(0, std::array<char, kChannelNameSize>{'X'});
        EditHistory history;
        EXPECT_FALSE(history.apply(db, ApplyOrder{plans[i]}).ok());
        EXPECT_EQ(testing::contentDifference(db, before), "");
        EXPECT_FALSE(history.canUndo());
    }
}

TEST(ApplyOrderOperation, TheStepTakesBackTheNumberOfGroups) {
    const ChannelDatabase before = testing::buildDatabase();
    ChannelDatabase db = before;
    ChannelOrderPlan plan;
    plan.lists = {reversed(db, ChannelKind::Radio)};
    plan.groups = std::vector<GroupPlan>{group("A", {7, 0}, {}), group("B", {}, {3}),
                                         group("C", {}, {}), group("D", {2}, {0, 1})};
    EditHistory history;
    ASSERT_TRUE(history.apply(db, ApplyOrder{plan}).ok());
    EXPECT_EQ(history.undoName(), "Apply Order");
    EXPECT_EQ(checkInvariants(db), std::vector<std::string>{});
    ASSERT_EQ(db.favouriteGroupCount(), 4u);
    // Radio members follow their channels to the reversed places.
    EXPECT_EQ(std::vector<std::uint16_t>(db.groupMembers(3, ChannelKind::Radio).begin(),
                                         db.groupMembers(3, ChannelKind::Radio).end()),
              (std::vector<std::uint16_t>{3, 2}));
    EXPECT_EQ(db.groupMembers(0, ChannelKind::Tv)[0], 7);

    RowSelection selection;
    ASSERT_TRUE(history.undo(db, selection).ok());
    EXPECT_EQ(testing::contentDifference(db, before), "");
    ASSERT_TRUE(history.redo(db, selection).ok());
    EXPECT_EQ(db.favouriteGroupCount(), 4u);

    // Fewer groups than before, and none at all.
    for (std::size_t count : {1u, 0u}) {
        ChannelOrderPlan fewer;
        fewer.groups = std::vector<GroupPlan>(count, group("Only", {1}, {1}));
        const ChannelDatabase was = db;
        ASSERT_TRUE(history.apply(db, ApplyOrder{fewer}).ok());
        EXPECT_EQ(db.favouriteGroupCount(), count);
        EXPECT_EQ(db.favourites.tv_members.count, count);
        EXPECT_EQ(checkInvariants(db), std::vector<std::string>{});
        ASSERT_TRUE(history.undo(db, selection).ok());
        EXPECT_EQ(testing::contentDifference(db, was), "");
        ASSERT_TRUE(history.redo(db, selection).ok());
    }
}

}  // namespace
}  // namespace zoedit::edit
