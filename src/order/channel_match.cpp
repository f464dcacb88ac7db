#include "order/channel_match.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>

namespace zoedit::order {
namespace {

// Satellite position, polarisation and service id in one number; the
// frequency is compared apart, within the tolerance.
std::uint64_t exactPart(const ChannelIdentity& id) {
    return (std::uint64_t{id.position} << 24) | (std::uint64_t{id.polarisation} << 16) |
           id.service_id;
}

// The reference channels with an identity, sorted so that every channel of
// one identity and frequency forms a run in the reference's order. Taken
// channels are skipped through `next_`, each run's first untaken channel is
// found in near constant time however many of its run were taken.
class IdentityIndex {
public:
    explicit IdentityIndex(std::span<const ReferenceChannel> reference) {
        for (std::size_t i = 0; i < reference.size(); ++i)
            if (const auto& id = reference[i].identity)
                entries_.push_back({exactPart(*id), id->frequency, i});
        std::sort(entries_.begin(), entries_.end());
        next_.resize(entries_.size() + 1);
        for (std::size_t p = 0; p < next_.size(); ++p) next_[p] = p;
    }

    // The first untaken reference channel of this identity on exactly
    // `frequency`, as a place in the index.
    std::optional<std::size_t> firstUntaken(std::uint64_t exact, long frequency) {
        if (frequency < 0 || frequency > 0xFFFF) return std::nullopt;
        const Entry low{exact, static_cast<std::uint16_t>(frequency), 0};
        const auto first = std::lower_bound(entries_.begin(), entries_.end(), low);
        const std::size_t p = untakenFrom(static_cast<std::size_t>(first - entries_.begin()));
        if (p == entries_.size() || entries_[p].exact != exact ||
            entries_[p].frequency != low.frequency)
            return std::nullopt;
        return p;
    }
    std::size_t referenceIndex(std::size_t place) const { return entries_[place].index; }
    void take(std::size_t place) { next_[place] = place + 1; }

private:
    struct Entry {
        std::uint64_t exact;
        std::uint16_t frequency;
        std::size_t index;
        auto operator<=>(const Entry&) const = default;
    };

    std::size_t untakenFrom(std::size_t p) {
        std::size_t root = p;
        while (next_[root] != root) root = next_[root];
        while (next_[p] != root) p = std::exchange(next_[p], root);
        return root;
    }

    std::vector<Entry> entries_;
    std::vector<std::size_t> next_;  // a place, or a later place when it is taken
};

// Reference channels by a key of their name, each key's in the reference's
// order with a cursor past the taken ones.
template <typename Key>
class NameIndex {
public:
    template <typename KeyOf>
    NameIndex(std::span<const ReferenceChannel> reference, KeyOf key_of) {
        for (std::size_t i = 0; i < reference.size(); ++i) {
            Key key = key_of(reference[i].name);
            if (!key.empty()) buckets_[std::move(key)].indexes.push_back(i);
        }
    }
    std::optional<std::size_t> takeFirstUntaken(const Key& key, const std::vector<bool>& taken) {
        const auto found = buckets_.find(key);
        if (found == buckets_.end()) return std::nullopt;
        Bucket& bucket = found->second;
        while (bucket.cursor < bucket.indexes.size() && taken[bucket.indexes[bucket.cursor]])
            ++bucket.cursor;
        if (bucket.cursor == bucket.indexes.size()) return std::nullopt;
        return bucket.indexes[bucket.cursor++];
    }

private:
    struct Bucket {
        std::vector<std::size_t> indexes;
        std::size_t cursor = 0;
    };
    std::unordered_map<Key, Bucket> buckets_;
};

char32_t foldCase(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;  // Latin-1 capitals
    switch (c) {
        case 0x152:
            return 0x153;  // OE
        case 0x160:
            return 0x161;  // S caron
        case 0x17D:
            return 0x17E;  // Z caron
        case 0x178:
            return 0xFF;  // Y diaeresis
        default:
            return c;
    }
}

// Spaces, and the invisible marks that Arabic names carry between letters.
bool isBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == 0xA0 || (c >= 0x200B && c <= 0x200F);
}

std::u32string foldedName(const std::string& bytes, CodePage page) {
    std::u32string key;
    key.reserve(bytes.size());
    for (unsigned char byte : bytes) {
        const char32_t c = codePoint(byte, page);
        if (!isBlank(c)) key.push_back(foldCase(c));
    }
    return key;
}

class Matcher {
public:
    Matcher(std::span<const ReferenceChannel> open, std::span<const ReferenceChannel> reference,
            CodePage page)
        : open_(open), reference_(reference), page_(page), taken_(reference.size(), false) {
        result_.how.assign(open.size(), MatchedBy::None);
        result_.partner.assign(open.size(), std::nullopt);
    }

    ListMatch run() {
        IdentityIndex identities(reference_);
        for (int distance = 0; distance <= kFrequencyTolerance; ++distance)
            pairByIdentity(identities, distance);
        NameIndex<std::string> exact(reference_, [](const std::string& name) { return name; });
        pairByName(exact, [](const std::string& name) { return name; });
        const auto folded = [this](const std::string& name) { return foldedName(name, page_); };
        NameIndex<std::u32string> loose(reference_, folded);
        pairByName(loose, folded);

        for (std::size_t i = 0; i < reference_.size(); ++i)
            if (!taken_[i]) result_.missing.push_back(i);
        result_.unmatched = open_.size() - result_.by_identity - result_.by_name;
        return std::move(result_);
    }

private:
    void pair(std::size_t channel, std::size_t partner, MatchedBy how) {
        result_.how[channel] = how;
        result_.partner[channel] = partner;
        taken_[partner] = true;
        ++(how == MatchedBy::Identity ? result_.by_identity : result_.by_name);
    }

    void pairByIdentity(IdentityIndex& index, int distance) {
        for (std::size_t i = 0; i < open_.size(); ++i) {
            const auto& id = open_[i].identity;
            if (!id || result_.partner[i]) continue;
            const std::uint64_t exact = exactPart(*id);
            auto best = index.firstUntaken(exact, long{id->frequency} - distance);
            if (distance > 0) {
                const auto above = index.firstUntaken(exact, long{id->frequency} + distance);
                if (above && (!best || index.referenceIndex(*above) < index.referenceIndex(*best)))
                    best = above;
            }
            if (!best) continue;
            index.take(*best);
            pair(i, index.referenceIndex(*best), MatchedBy::Identity);
        }
    }

    template <typename Key, typename KeyOf>
    void pairByName(NameIndex<Key>& index, KeyOf key_of) {
        for (std::size_t i = 0; i < open_.size(); ++i) {
            if (result_.partner[i]) continue;
            const Key key = key_of(open_[i].name);
            if (key.empty()) continue;
            if (const auto partner = index.takeFirstUntaken(key, taken_))
                pair(i, *partner, MatchedBy::Name);
        }
    }

    std::span<const ReferenceChannel> open_;
    std::span<const ReferenceChannel> reference_;
    CodePage page_;
    std::vector<bool> taken_;
    ListMatch result_;
};

}  // namespace

ListMatch matchChannels(std::span<const ReferenceChannel> open,
                        std::span<const ReferenceChannel> reference, CodePage page) {
    return Matcher(open, reference, page).run();
}

}  // namespace zoedit::order
