#include "database/invariants.h"

#include <cstdio>

namespace zoedit {
namespace {

template <typename... Args>
std::string line(const char* fmt, Args... args) {
    char buffer[256];
    const int n = std::snprintf(buffer, sizeof buffer, fmt, args...);
    return n < 0 ? std::string() : std::string(buffer, std::min<std::size_t>(n, sizeof buffer - 1));
}

void checkSatellites(const ChannelDatabase& db, std::vector<std::string>& out) {
    if (db.satellites.count > kMaxSatelliteCount)
        out.push_back(
            line("satellites: count %zu is above %zu", db.satellites.count, kMaxSatelliteCount));
    for (std::size_t i = 0; i < db.satellites.count; ++i) {
        const auto& sat = db.satellites.primary[i];
        if (sat.position > 3599)
            out.push_back(line("satellite %zu (%s): position %u is above 3599", i,
                               nameBytes(sat.name).c_str(), unsigned{sat.position}));
    }
}

void checkTransponders(const ChannelDatabase& db, std::vector<std::string>& out) {
    for (std::size_t i = 0; i < db.transponders.count; ++i) {
        const auto& tp = db.transponders.primary[i];
        if (tp.satellite_index >= db.satellites.count)
            out.push_back(
                line("transponder %zu (%u MHz): satellite_index %u is not below the "
                     "satellite count %zu",
                     i, unsigned{tp.frequency}, unsigned{tp.satellite_index}, db.satellites.count));
        if (tp.polarisation > 1)
            out.push_back(line("transponder %zu (%u MHz): polarisation %u is neither 0 nor 1", i,
                               unsigned{tp.frequency}, unsigned{tp.polarisation}));
        if (tp.fec > 5)
            out.push_back(line("transponder %zu (%u MHz): fec %u is above 5", i,
                               unsigned{tp.frequency}, unsigned{tp.fec}));
    }
}

void checkChannels(const ChannelDatabase& db, ChannelKind kind, std::vector<std::string>& out) {
    const auto& table = db.channels(kind);
    const char* what = kind == ChannelKind::Tv ? "tv channel" : "radio channel";
    for (std::size_t i = 0; i < table.count; ++i) {
        const auto& ch = table.primary[i];
        if (ch.transponder_index >= db.transponders.count)
            out.push_back(
                line("%s %zu (%s): transponder_index %u is not below the transponder "
                     "count %zu",
                     what, i, nameBytes(ch.name).c_str(), unsigned{ch.transponder_index},
                     db.transponders.count));
    }
}

void checkFavourites(const ChannelDatabase& db, ChannelKind kind, std::vector<std::string>& out) {
    const bool tv = kind == ChannelKind::Tv;
    const auto& members = tv ? db.favourites.tv_members : db.favourites.radio_members;
    const std::size_t channel_count = db.channels(kind).count;
    const char* what = tv ? "tv" : "radio";
    const std::size_t groups = std::min(db.favouriteGroupCount(), kFavouriteGroupCapacity);

    std::size_t total = 0;
    for (std::size_t g = 0; g < groups; ++g) {
        const auto& group = db.favourites.groups[g];
        const std::size_t count = tv ? group.tv_count : group.radio_count;
        const std::string name = nameBytes(group.name);
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t at = total + k;
            if (at >= members.count) break;  // reported below as a count mismatch
            if (members.primary[at] >= channel_count)
                out.push_back(line(
                    "favourite group %zu (%s): %s member %zu is channel index %u, "
                    "not below the %s channel count %zu",
                    g, name.c_str(), what, k, unsigned{members.primary[at]}, what, channel_count));
        }
        total += count;
    }
    if (total != members.count)
        out.push_back(
            line("favourite groups: the %s member counts add up to %zu, but the %s "
                 "member list holds %zu",
                 what, total, what, members.count));
}

}  // namespace

std::vector<std::string> checkInvariants(const ChannelDatabase& db) {
    std::vector<std::string> out;
    checkSatellites(db, out);
    checkTransponders(db, out);
    checkChannels(db, ChannelKind::Tv, out);
    checkChannels(db, ChannelKind::Radio, out);
    if (db.favouriteGroupCount() > kFavouriteGroupCapacity)
        out.push_back(line("favourite groups: count %zu is above %zu", db.favouriteGroupCount(),
                           kFavouriteGroupCapacity));
    checkFavourites(db, ChannelKind::Tv, out);
    checkFavourites(db, ChannelKind::Radio, out);
    return out;
}

}  // namespace zoedit
