// Applying a reference's order to the open file: the matched channels take
// the reference's order, the others keep theirs and go after (or before)
// them; locks, names and favourite groups come along when asked. The whole
// of it is one edit operation, and so one undo step, "Apply Order".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "database/codepage.h"
#include "edit/edit_history.h"
#include "order/channel_match.h"
#include "order/order_reference.h"

namespace zoedit::order {

enum class UnmatchedPlace { Last, First };

struct ApplyOrderOptions {
    // The lists to reorder; empty means every list the reference holds.
    std::vector<ChannelKind> lists;
    bool names = false;  // matched channels take the reference's names
    bool locks = false;  // ... and its locks (a channel file only)
    // The groups become the reference's, TV and radio sides, whichever
    // lists are reordered (a channel file only).
    bool favourites = false;
    UnmatchedPlace unmatched = UnmatchedPlace::Last;
    CodePage page = CodePage::Windows1256;  // of the names, for matching them
};

// Every list the reference holds, matched against the open file's.
struct OrderMatch {
    std::optional<ListMatch> tv;
    std::optional<ListMatch> radio;

    const std::optional<ListMatch>& list(ChannelKind kind) const {
        return kind == ChannelKind::Tv ? tv : radio;
    }
};

OrderMatch matchOrder(const ChannelDatabase& open, const OrderReference& reference, CodePage page);

// The edit that applies the match, or why it cannot be made: the options ask
// for what the reference lacks (a list, or locks and groups from a CSV), or
// the open file's lists no longer have the lengths they were matched at.
struct OrderPlan {
    std::optional<edit::ApplyOrder> operation;
    std::string refusal;
};
OrderPlan planOrder(const ChannelDatabase& open, const OrderReference& reference,
                    const OrderMatch& match, const ApplyOrderOptions& options);

struct AppliedOrder {
    edit::EditResult result;
    OrderMatch match;
};
// Matches, plans and applies through the history as one step. A refusal
// (see planOrder) changes nothing and records nothing.
AppliedOrder applyOrder(ChannelDatabase& db, edit::EditHistory& history,
                        const OrderReference& reference, const ApplyOrderOptions& options,
                        const edit::RowSelection& before = {},
                        const edit::RowSelection& after = {});

}  // namespace zoedit::order
