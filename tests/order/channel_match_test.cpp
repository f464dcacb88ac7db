// The matching rules where they can go wrong: equal names, one service id
// on several transponders, frequencies near the tolerance, references
// longer and shorter than the list, and the order of preference.
#include "order/channel_match.h"

#include <gtest/gtest.h>

namespace zoedit::order {
namespace {

using Rows = std::vector<ReferenceChannel>;

ChannelIdentity id(std::uint16_t frequency, std::uint16_t service_id, std::uint8_t polarisation = 0,
                   std::uint16_t position = 192) {
    return {position, frequency, polarisation, service_id};
}
ReferenceChannel row(std::string name, std::optional<ChannelIdentity> identity = std::nullopt) {
    return {identity, std::move(name), 0};
}

ListMatch match(const Rows& open, const Rows& reference, CodePage page = CodePage::Windows1252) {
    const ListMatch m = matchChannels(open, reference, page);
    EXPECT_EQ(m.how.size(), open.size());
    EXPECT_EQ(m.by_identity + m.by_name + m.unmatched, open.size());
    return m;
}

std::vector<std::optional<std::size_t>> partners(const ListMatch& m) {
    return m.partner;
}
using P = std::vector<std::optional<std::size_t>>;

TEST(ChannelMatch, ChannelsOfTheSameNameTakeTheReferencesInTheirOrder) {
    const auto m = match({row("News"), row("News"), row("News")}, {row("News"), row("News")});
    EXPECT_EQ(partners(m), (P{0, 1, std::nullopt}));
    EXPECT_EQ(m.how[0], MatchedBy::Name);
    EXPECT_EQ(m.how[2], MatchedBy::None);
    // An identity tells two channels of one name apart, whatever their order.
    const auto by_id = match({row("News", id(11000, 2)), row("News", id(11000, 1))},
                             {row("News", id(11000, 1)), row("News", id(11000, 2))});
    EXPECT_EQ(partners(by_id), (P{1, 0}));
    EXPECT_EQ(by_id.by_identity, 2u);
}

TEST(ChannelMatch, OneServiceIdOnTwoTransponders) {
    const Rows reference = {row("A", id(11000, 5, 0)), row("B", id(12000, 5, 1)),
                            row("C", id(12000, 5, 0)), row("D", id(11000, 5, 0, 130))};
    const Rows open = {row("d", id(11000, 5, 0, 130)), row("c", id(12000, 5, 0)),
                       row("b", id(12000, 5, 1)), row("a", id(11000, 5, 0))};
    const auto m = match(open, reference);
    EXPECT_EQ(partners(m), (P{3, 2, 1, 0}));
    EXPECT_EQ(m.by_identity, 4u);
}

TEST(ChannelMatch, AFrequencyOneMegahertzOffMatchesAndThreeDoesNot) {
    const Rows reference = {row("One", id(11000, 7)), row("Two", id(11500, 8))};
    const auto m = match({row("Uno", id(11001, 7)), row("Dos", id(11497, 8))}, reference);
    EXPECT_EQ(m.how[0], MatchedBy::Identity);
    EXPECT_EQ(m.how[1], MatchedBy::None);
    EXPECT_EQ(m.partner[1], std::nullopt);
    // Two below and two above are still the same transponder.
    const auto edges = match({row("x", id(10998, 7)), row("y", id(11502, 8))}, reference);
    EXPECT_EQ(partners(edges), (P{0, 1}));
    // Three off falls back on the name.
    const auto named = match({row("Two", id(11503, 8))}, reference);
    EXPECT_EQ(named.how[0], MatchedBy::Name);
    EXPECT_EQ(named.partner[0], 1u);
}

TEST(ChannelMatch, ExactFrequenciesArePairedBeforeNearOnes) {
    // X (11001) is as near to both; taking the first would leave Y (11000)
    // two away from the other and pair both wrongly.
    const Rows reference = {row("R1", id(11000, 9)), row("R2", id(11002, 9))};
    const auto m = match({row("X", id(11001, 9)), row("Y", id(11000, 9))}, reference);
    EXPECT_EQ(partners(m), (P{1, 0}));
    // At the same distance below and above, the reference's order decides.
    const auto tie =
        match({row("Z", id(11001, 9))}, {row("Above", id(11002, 9)), row("Below", id(11000, 9))});
    EXPECT_EQ(tie.partner[0], 0u);
}

TEST(ChannelMatch, AReferenceLongerThanTheListLeavesItsRestMissing) {
    const Rows reference = {row("A", id(11000, 1)), row("B", id(11000, 2)), row("C"),
                            row("D", id(11000, 4)), row("E")};
    const auto m = match({row("E"), row("B", id(11000, 2)), row("zz", id(11000, 4))}, reference);
    EXPECT_EQ(partners(m), (P{4, 1, 3}));
    EXPECT_EQ(m.missing, (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(m.by_identity, 2u);
    EXPECT_EQ(m.by_name, 1u);
}

TEST(ChannelMatch, AReferenceShorterThanTheListLeavesTheRestUnmatched) {
    const auto m = match({row("A"), row("B", id(12000, 3)), row("C"), row("D")},
                         {row("D"), row("x", id(12000, 3))});
    EXPECT_EQ(partners(m), (P{std::nullopt, 1, std::nullopt, 0}));
    EXPECT_EQ(m.unmatched, 2u);
    EXPECT_TRUE(m.missing.empty());
    EXPECT_TRUE(match({row("A")}, {}).missing.empty());
    EXPECT_EQ(match({}, {row("A")}).missing, std::vector<std::size_t>{0});
}

TEST(ChannelMatch, NamesMatchIgnoringCaseAndBlanksOnlyAfterTheSameBytes) {
    const Rows reference = {row("Al Jazeera"), row("al jazeera"),
                            row("\xC9"
                                "cole TV"),
                            row("")};
    // The exact name wins over an earlier reference that only folds to it.
    const auto m = match({row("al jazeera"), row("ALJAZEERA "),
                          row("\xE9"
                              "COLE  tv"),
                          row("")},
                         reference);
    EXPECT_EQ(partners(m), (P{1, 0, 2, std::nullopt}));
    EXPECT_EQ(m.by_name, 3u);
    // Letters of other blocks are not folded: Windows-1256 0xC9 is an Arabic letter.
    const auto arabic = match({row("\xE9")}, {row("\xC9")}, CodePage::Windows1256);
    EXPECT_EQ(arabic.partner[0], std::nullopt);
    // Identity comes first: a channel keeps its identity partner even when
    // another reference channel carries its name.
    const auto first =
        match({row("Sport", id(11000, 1))}, {row("Sport"), row("Renamed", id(11000, 1))});
    EXPECT_EQ(first.partner[0], 1u);
    EXPECT_EQ(first.missing, std::vector<std::size_t>{0});
}

TEST(ChannelMatch, APartnerIsTakenOnce) {
    // Both open channels have the identity and the name of the one reference.
    const auto m =
        match({row("A", id(11000, 1)), row("A", id(11000, 1))}, {row("A", id(11000, 1))});
    EXPECT_EQ(partners(m), (P{0, std::nullopt}));
}

}  // namespace
}  // namespace zoedit::order
