// The favourite boxes on their own, over a fake form: the lookup, the
// captions and enabled state of a file with few groups, and the change each
// click asks for, checked against a naive model of one group's places.
#include "view/favourite_boxes.h"

#include <gtest/gtest.h>

#include <random>

#include "support/database_builder.h"
#include "support/fake_platform.h"

namespace zoedit {
namespace {

using namespace ui::form;

class FavouriteBoxesTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::DatabaseShape shape;
        shape.tv = 20;
        shape.groups = {{8, 0}, {0, 0}, {2, 1}};
        db = testing::buildDatabase(shape);
        // Group 0 holds channels 10..17 in order; group 2 holds 3, then 3 again.
        for (std::size_t e = 0; e < 8; ++e) setMember(e, static_cast<std::uint16_t>(10 + e));
        setMember(8, 3);
        setMember(9, 3);
    }
    void setMember(std::size_t e, std::uint16_t value) {
        db.favourites.tv_members.primary[e] = value;
        db.favourites.tv_members.working[e] = value;
    }
    // The user ticks or clears box k.
    std::optional<FavouriteChange> click(int k, bool checked, std::optional<int> channel) {
        form.setChecked(IDC_FAVOURITE_CHECK[k], checked);
        return boxes.onClick(k, ChannelKind::Tv, channel);
    }

    ChannelDatabase db;
    test::FakeForm form;
    FavouriteBoxes boxes{form, db};
    EditorState state;
};

TEST_F(FavouriteBoxesTest, LookupShowsPlacesAndTheLaterOfTwoEntries) {
    boxes.onSelection(ChannelKind::Tv, 14, state);
    EXPECT_TRUE(form.isChecked(IDC_FAVOURITE_CHECK[0]));
    EXPECT_EQ(form.text(IDC_FAVOURITE_POSITION[0]), "005");
    EXPECT_EQ(boxes.boxes()[0].entry_index, 4);

    boxes.onSelection(ChannelKind::Tv, 3, state);
    EXPECT_FALSE(form.isChecked(IDC_FAVOURITE_CHECK[0]));  // the indicator unticks it
    EXPECT_EQ(form.text(IDC_FAVOURITE_POSITION[0]), "000");
    EXPECT_EQ(form.text(IDC_FAVOURITE_POSITION[2]), "002");
    EXPECT_EQ(boxes.boxes()[2].entry_index, 9);

    // A drag keeps what the boxes show; a pending cut only marks its channel,
    // so the places show as ever.
    state.m_pending = DragInProgress{ChannelIndex(3)};
    boxes.onSelection(ChannelKind::Tv, 12, state);
    EXPECT_EQ(form.text(IDC_FAVOURITE_POSITION[2]), "002");
    EXPECT_EQ(boxes.boxes()[0].working_count, 8);
    state.m_pending = CutPending{ChannelIndex(0)};
    boxes.onSelection(ChannelKind::Tv, 3, state);
    EXPECT_TRUE(form.isChecked(IDC_FAVOURITE_CHECK[2]));
    EXPECT_EQ(form.text(IDC_FAVOURITE_POSITION[2]), "002");
}

TEST_F(FavouriteBoxesTest, BoxesOfMissingGroupsHaveNoCaptionAndStayOff) {
    boxes.setCaptions(CodePage::Windows1256);
    boxes.setEnabled(true);
    for (int k = 0; k < kFavouriteBoxCount; ++k) {
        EXPECT_EQ(form.isEnabled(IDC_FAVOURITE_CHECK[k]), k < 3) << k;
        if (k >= 3) EXPECT_EQ(form.text(IDC_FAVOURITE_CHECK[k]), "") << k;
    }
    EXPECT_NE(form.text(IDC_FAVOURITE_CHECK[0]), "");
    // Even a click that reaches a missing group's box changes nothing.
    EXPECT_EQ(click(5, true, 1), std::nullopt);
    EXPECT_FALSE(form.isChecked(IDC_FAVOURITE_CHECK[5]));
}

TEST_F(FavouriteBoxesTest, ClicksWithoutAChannelOrOnAShownPlaceChangeNothing) {
    boxes.onSelection(ChannelKind::Tv, 14, state);
    EXPECT_EQ(click(1, true, std::nullopt), std::nullopt);
    EXPECT_FALSE(form.isChecked(IDC_FAVOURITE_CHECK[1]));  // the box goes back
    EXPECT_EQ(click(0, true, 14), std::nullopt);           // already shows "005"
}

// Random clicks on group 0 against a list of its places: every click asks
// for the change the model expects, remembered places included.
TEST_F(FavouriteBoxesTest, ClicksAgreeWithANaiveModelOfTheGroup) {
    std::mt19937 random(7);
    std::vector<std::uint16_t> group(db.groupMembers(0, ChannelKind::Tv).begin(),
                                     db.groupMembers(0, ChannelKind::Tv).end());
    std::optional<std::size_t> remembered;
    for (int step = 0; step < 400; ++step) {
        const int channel = static_cast<int>(random() % 20);
        boxes.onSelection(ChannelKind::Tv, channel, state);
        const auto place = std::find(group.begin(), group.end(), channel);
        const bool member = place != group.end();
        ASSERT_EQ(form.isChecked(IDC_FAVOURITE_CHECK[0]), member);
        const auto change = click(0, !member, channel);
        ASSERT_TRUE(change);
        EXPECT_EQ(change->channel, static_cast<std::size_t>(channel));
        if (member) {
            const std::size_t position = static_cast<std::size_t>(place - group.begin()) + 1;
            EXPECT_EQ(change->action, FavouriteChange::Action::Remove);
            EXPECT_EQ(change->position, position);
            group.erase(place);
            remembered = position;
        } else {
            const std::size_t expected =
                remembered ? std::min(*remembered, group.size() + 1) : group.size() + 1;
            EXPECT_EQ(change->action, FavouriteChange::Action::Add);
            EXPECT_EQ(change->position, expected);
            group.insert(group.begin() + static_cast<std::ptrdiff_t>(expected - 1),
                         static_cast<std::uint16_t>(channel));
            remembered.reset();
        }
        boxes.changeApplied(*change);
        // The tables follow the model, as the edit operations would leave them.
        db.favourites.groups[0].tv_count = static_cast<std::uint16_t>(group.size());
        std::vector<std::uint16_t> all(group);
        for (std::uint16_t v : {std::uint16_t{3}, std::uint16_t{3}}) all.push_back(v);
        db.favourites.tv_members.count = all.size();
        std::copy(all.begin(), all.end(), db.favourites.tv_members.primary.begin());
    }
}

}  // namespace
}  // namespace zoedit
