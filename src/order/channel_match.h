// Pairs the channels of one list of the open file with those of the same
// list of a reference, each with at most one partner:
//
// 1. by identity: the same satellite position, polarisation and service id,
//    on frequencies at most kFrequencyTolerance MHz apart (rescans round
//    differently). Exact frequencies are paired first, then those 1 MHz
//    apart, then 2, so that a nearer transponder is not taken by a farther
//    one's channel;
// 2. the rest by name: the same bytes, then the same letters once case and
//    blanks are ignored. Empty names pair with nothing.
//
// Channels are taken in the open file's order; among equally good partners
// the first unused one in the reference's order wins.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "database/codepage.h"
#include "order/order_reference.h"

namespace zoedit::order {

inline constexpr int kFrequencyTolerance = 2;  // MHz

enum class MatchedBy { Identity, Name, None };

struct ListMatch {
    // Per channel of the open list: how it was paired, and with which
    // reference channel (its index in the reference's list).
    std::vector<MatchedBy> how;
    std::vector<std::optional<std::size_t>> partner;
    // Reference channels that no channel of the open list took, in order.
    std::vector<std::size_t> missing;
    std::size_t by_identity = 0;
    std::size_t by_name = 0;
    std::size_t unmatched = 0;
};

// Names are compared as bytes of code page `page` (which says which bytes
// are letters of what case, and which are blanks).
ListMatch matchChannels(std::span<const ReferenceChannel> open,
                        std::span<const ReferenceChannel> reference, CodePage page);

}  // namespace zoedit::order
