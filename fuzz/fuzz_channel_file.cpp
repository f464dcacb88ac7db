// Any bytes: the reader must never crash, and whatever it accepts must save
// to a file that reads back and saves to the very same bytes again. Loading
// reuses the tables it loads into, so every input is also loaded into one
// database kept from input to input: it must accept and refuse alike, end
// up exactly as a fresh load (every table at capacity, both copies), and
// stay as it was on a refusal.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "database/channel_file.h"

using namespace zoedit;

namespace {

// Inputs of a few kilobytes put no more than some hundreds of records into a
// table, so leftovers can only lie in the first entries; comparing whole
// tables of 10000 records made every run a hundred times slower.
constexpr std::size_t kCompared = 1024;

template <typename Record>
bool sameTable(const DualTable<Record>& a, const DualTable<Record>& b) {
    const auto head = [](const std::vector<Record>& v) {
        return std::span(v).first(std::min(v.size(), kCompared));
    };
    return a.count == b.count && std::ranges::equal(head(a.primary), head(b.primary)) &&
           std::ranges::equal(head(a.working), head(b.working));
}

bool sameStorage(const ChannelDatabase& a, const ChannelDatabase& b) {
    return a.header == b.header && a.format == b.format && a.general == b.general &&
           a.satellite_section == b.satellite_section &&
           a.transponder_section == b.transponder_section &&
           a.channel_section == b.channel_section && a.favourites.section == b.favourites.section &&
           sameTable(a.satellites, b.satellites) && sameTable(a.transponders, b.transponders) &&
           sameTable(a.tv, b.tv) && sameTable(a.radio, b.radio) &&
           sameTable(a.favourites.tv_members, b.favourites.tv_members) &&
           sameTable(a.favourites.radio_members, b.favourites.radio_members) &&
           a.favourites.groups == b.favourites.groups && a.trailer == b.trailer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ChannelDatabase reused;
    static ChannelDatabase last_loaded;

    ChannelDatabase db;
    const bool ok = readChannelFile({data, size}, db).ok();
    if (readChannelFile({data, size}, reused).ok() != ok) std::abort();
    if (!ok) {
        if (!sameStorage(reused, last_loaded)) std::abort();
        return 0;
    }
    if (!sameStorage(reused, db)) std::abort();
    last_loaded = reused;

    // Let the input choose the current transponder, so band derivation runs too.
    const int current = db.transponderCount() ? static_cast<int>(size % db.transponderCount()) : -1;
    const auto saved = buildChannelFile(db, {}, current);
    ChannelDatabase again;
    if (!readChannelFile(saved, again).ok()) std::abort();
    if (buildChannelFile(again, {}, current) != saved) std::abort();
    return 0;
}
