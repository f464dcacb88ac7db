#include "order/apply_order.h"

#include <algorithm>
#include <utility>

namespace zoedit::order {
namespace {

const char* listWord(ChannelKind kind) {
    return kind == ChannelKind::Tv ? "TV" : "radio";
}

std::vector<ChannelKind> listsToApply(const OrderReference& reference,
                                      const ApplyOrderOptions& options) {
    if (!options.lists.empty()) return options.lists;
    std::vector<ChannelKind> lists;
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio})
        if (reference.list(kind)) lists.push_back(kind);
    return lists;
}

edit::ListOrderPlan planList(const ChannelDatabase& open, ChannelKind kind,
                             const std::vector<ReferenceChannel>& reference, const ListMatch& match,
                             const ApplyOrderOptions& options) {
    edit::ListOrderPlan plan;
    plan.kind = kind;
    const auto& channels = open.channels(kind).records();
    std::vector<std::pair<std::size_t, std::size_t>> matched;  // partner, channel
    std::vector<std::size_t> unmatched;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        const auto& partner = match.partner[i];
        if (!partner) {
            unmatched.push_back(i);
            continue;
        }
        matched.emplace_back(*partner, i);
        const ReferenceChannel& ref = reference[*partner];
        if (options.locks && ref.locked != channels[i].locked)
            plan.locks.emplace_back(i, ref.locked);
        if (options.names && ref.name != nameBytes(channels[i].name)) {
            std::array<char, kChannelNameSize> name{};
            setNameBytes(name, ref.name);
            plan.names.emplace_back(i, name);
        }
    }
    std::sort(matched.begin(), matched.end());
    const auto appendMatched = [&] {
        for (const auto& [partner, channel] : matched) plan.order.push_back(channel);
    };
    if (options.unmatched == UnmatchedPlace::Last) appendMatched();
    plan.order.insert(plan.order.end(), unmatched.begin(), unmatched.end());
    if (options.unmatched == UnmatchedPlace::First) appendMatched();
    return plan;
}

// The reference's groups on the open file's channels: each member becomes
// its partner, members without one are left out.
std::vector<edit::GroupPlan> planGroups(const OrderReference& reference, const OrderMatch& match) {
    std::vector<std::optional<std::size_t>> channel_of[2];  // reference index -> channel
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        const auto& list = match.list(kind);
        const auto& ref = reference.list(kind);
        if (!list || !ref) continue;
        auto& map = channel_of[kind == ChannelKind::Tv ? 0 : 1];
        map.assign(ref->size(), std::nullopt);
        for (std::size_t i = 0; i < list->partner.size(); ++i)
            if (const auto& partner = list->partner[i]) map[*partner] = i;
    }
    const auto mapped = [](const std::vector<std::size_t>& members,
                           const std::vector<std::optional<std::size_t>>& map) {
        std::vector<std::size_t> channels;
        for (std::size_t member : members)
            if (member < map.size() && map[member]) channels.push_back(*map[member]);
        return channels;
    };
    std::vector<edit::GroupPlan> groups;
    for (const ReferenceGroup& group : *reference.groups)
        groups.push_back(
            {group.name, mapped(group.tv, channel_of[0]), mapped(group.radio, channel_of[1])});
    return groups;
}

}  // namespace

OrderMatch matchOrder(const ChannelDatabase& open, const OrderReference& reference, CodePage page) {
    OrderMatch match;
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        const auto& list = reference.list(kind);
        if (!list) continue;
        (kind == ChannelKind::Tv ? match.tv : match.radio) =
            matchChannels(referenceChannels(open, kind), *list, page);
    }
    return match;
}

OrderPlan planOrder(const ChannelDatabase& open, const OrderReference& reference,
                    const OrderMatch& match, const ApplyOrderOptions& options) {
    if (options.locks && !reference.has_locks)
        return {std::nullopt, "The reference holds no locks: only a channel file has them."};
    if (options.favourites && !reference.groups)
        return {std::nullopt,
                "The reference holds no favourite groups: only a channel file has them."};
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        const auto& list = match.list(kind);
        if (list && list->partner.size() != open.channels(kind).count)
            return {std::nullopt, "The list has changed since it was matched."};
    }
    edit::ApplyOrder operation;
    for (ChannelKind kind : listsToApply(reference, options)) {
        const auto& list = match.list(kind);
        if (!reference.list(kind) || !list)
            return {std::nullopt,
                    std::string("The reference holds no ") + listWord(kind) + " list."};
        operation.plan.lists.push_back(planList(open, kind, *reference.list(kind), *list, options));
    }
    if (options.favourites) operation.plan.groups = planGroups(reference, match);
    return {std::move(operation), {}};
}

AppliedOrder applyOrder(ChannelDatabase& db, edit::EditHistory& history,
                        const OrderReference& reference, const ApplyOrderOptions& options,
                        const edit::RowSelection& before, const edit::RowSelection& after) {
    AppliedOrder applied{edit::EditResult::done(), matchOrder(db, reference, options.page)};
    const OrderPlan plan = planOrder(db, reference, applied.match, options);
    if (!plan.operation)
        applied.result = edit::EditResult::refused(edit::EditOutcome::InvalidValue, plan.refusal);
    else
        applied.result = history.apply(db, *plan.operation, before, after);
    return applied;
}

}  // namespace zoedit::order
