// What planning refuses before any edit is made: options the reference
// cannot meet, and a match made before the lists changed.
#include "order/apply_order.h"

#include <gtest/gtest.h>

#include "support/database_builder.h"

namespace zoedit::order {
namespace {

TEST(ApplyOrder, OptionsTheReferenceCannotMeetAreRefusedAndNothingChanges) {
    const ChannelDatabase before = testing::buildDatabase();
    OrderReference csv_like;
    csv_like.tv = referenceChannels(before, ChannelKind::Tv);
    const auto with = [](auto set) {
        ApplyOrderOptions options;
        set(options);
        return options;
    };
    const auto refusal = [&](const OrderReference& reference, const ApplyOrderOptions& options) {
        ChannelDatabase db = before;
        edit::EditHistory history;
        const AppliedOrder applied = applyOrder(db, history, reference, options);
        EXPECT_FALSE(applied.result.ok());
        EXPECT_FALSE(history.canUndo());
        EXPECT_EQ(testing::contentDifference(db, before), "");
        return applied.result.message;
    };
    EXPECT_EQ(refusal(csv_like, with([](auto& o) { o.locks = true; })),
              "The reference holds no locks: only a channel file has them.");
    EXPECT_EQ(refusal(csv_like, with([](auto& o) { o.favourites = true; })),
              "The reference holds no favourite groups: only a channel file has them.");
    EXPECT_EQ(refusal(csv_like, with([](auto& o) { o.lists = {ChannelKind::Radio}; })),
              "The reference holds no radio list.");
    EXPECT_EQ(refusal(referenceFromDatabase(before), {.lists = {ChannelKind::Tv, ChannelKind::Tv}}),
              "A list can take only one order at a time.");

    // A match made before a channel went is not applied to the shorter list.
    const OrderReference reference = referenceFromDatabase(before);
    const OrderMatch match = matchOrder(before, reference, CodePage::Windows1256);
    ChannelDatabase shorter = before;
    shorter.radio.count -= 1;
    EXPECT_FALSE(planOrder(shorter, reference, match, {}).operation);
    EXPECT_TRUE(planOrder(before, reference, match, {}).operation);
}

}  // namespace
}  // namespace zoedit::order
