#include "support/database_builder.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <tuple>

#include "database/channel_file.h"

namespace zoedit::testing {
namespace {

constexpr std::array<const char*, 8> kSatelliteNames = {
    "Astral 19.2E", "Hotland 13E", "Nilestar 7W",   "Arabstar 26E",
    "Turkstar 42E", "Eutel 16E",   "Yahstar 52.5E", "Express 53E"};
constexpr std::array<std::uint16_t, 8> kPositions = {192, 130, 3530, 260, 420, 160, 525, 530};
constexpr std::array<const char*, 10> kChannelStems = {
    "News", "Sport", "Movies", "Kids", "Music", "Docs", "Drama", "Quran", "Weather", "Radio"};

// A tiny deterministic generator, so that seeds give different but stable data.
struct Mix {
    std::uint32_t state;
    std::uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    std::uint16_t below(std::uint32_t n) { return static_cast<std::uint16_t>(next() % n); }
};

ChannelRecord makeChannel(Mix& mix, std::size_t i, std::size_t transponders, bool radio) {
    ChannelRecord c;
    c.transponder_index = transponders ? static_cast<std::uint16_t>(i % transponders) : 0;
    c.service_id = static_cast<std::uint16_t>(0x100 + i);
    const std::string name = std::string(kChannelStems[(i + mix.below(3)) % kChannelStems.size()]) +
                             (radio ? " FM " : " TV ") + std::to_string(i + 1);
    setNameBytes(c.name, name);
    c.code_pid = static_cast<std::uint16_t>(0x1FFF & (0x20 + i));
    c.video_pid = radio ? 0 : static_cast<std::uint16_t>(0x100 + mix.below(0x1E00));
    c.audio_pid = static_cast<std::uint16_t>(0x100 + mix.below(0x1E00));
    c.fourth_pid = static_cast<std::uint16_t>(mix.below(0x2000));
    c.pid_mode = i % 5 == 0;
    c.scrambled = i % 3 == 0;
    c.locked = i % 7 == 0;
    return c;
}

void fillMembers(DualTable<std::uint16_t>& list, std::size_t channels, std::size_t& cursor,
                 std::size_t count) {
    for (std::size_t k = 0; k < count && list.count < list.capacity; ++k) {
        list.primary[list.count++] = channels ? static_cast<std::uint16_t>(cursor++ % channels) : 0;
    }
}

template <typename Record, typename Tie>
std::string tableDifference(const char* what, const DualTable<Record>& a,
                            const DualTable<Record>& b, Tie tie) {
    if (a.count != b.count)
        return std::string(what) + " count " + std::to_string(a.count) + " vs " +
               std::to_string(b.count);
    for (std::size_t i = 0; i < a.count; ++i)
        if (tie(a.primary[i]) != tie(b.primary[i]))
            return std::string(what) + " record " + std::to_string(i) + " differs";
    return {};
}

auto tieSatellite = [](const SatelliteRecord& s) { return std::tie(s.band, s.position, s.name); };
auto tieTransponder = [](const TransponderRecord& t) {
    return std::tie(t.network_id, t.frequency_order, t.frequency, t.symbol_rate, t.polarisation,
                    t.fec, t.satellite_index);
};
auto tieChannel = [](const ChannelRecord& c) {
    return std::tie(c.transponder_index, c.service_id, c.name, c.code_pid, c.video_pid, c.audio_pid,
                    c.fourth_pid, c.pid_mode, c.scrambled, c.locked);
};
auto tieMember = [](const std::uint16_t& m) { return m; };
auto tieSection = [](const SectionHeader& s) { return std::tie(s.tag, s.length); };

}  // namespace

ChannelDatabase buildDatabase(const DatabaseShape& shape) {
    Mix mix{shape.seed * 2654435761u + 17};
    ChannelDatabase db;
    FileHeader& h = db.header;
    h.magic = kFileMagic;
    h.usage_type = 0x0001;
    h.opaque_8 = 0x00010002 + shape.seed;
    h.hw_version = 0x01020003;
    h.sw_version = 0x02000100 + shape.seed;
    h.opaque_24 = 0xA5A50000;
    setNameBytes(std::span<char>(h.model_id.data(), kModelIdSize + 1), "ZR-2000 CI Plus");
    db.format = {kFormatId, 0x11223344, 0x55667788, 0};
    db.general.section = {0x01, 20};
    db.general.word1 = 0x0101;
    db.general.word2 = 0x0202;
    db.general.word3 = static_cast<std::uint16_t>(shape.seed);
    db.general.word5 = 0x0505;
    db.general.raw_pairs = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    db.satellite_section.tag = 0x02;
    db.transponder_section.tag = 0x03;
    db.channel_section.tag = 0x04;
    db.favourites.section.tag = 0x05;

    db.satellites.reset(std::min(shape.satellites, kMaxSatelliteCount));
    for (std::size_t i = 0; i < db.satellites.count; ++i) {
        SatelliteRecord& s = db.satellites.primary[i];
        s.band = static_cast<std::uint8_t>(i % 2);
        s.position =
            static_cast<std::uint16_t>((kPositions[i % kPositions.size()] + 10 * (i / 8)) % 3600);
        setNameBytes(s.name, std::string(kSatelliteNames[i % kSatelliteNames.size()]) +
                                 (i < kSatelliteNames.size() ? "" : " #" + std::to_string(i)));
    }

    db.transponders.reset(shape.transponders);
    for (std::size_t i = 0; i < db.transponders.count; ++i) {
        TransponderRecord& t = db.transponders.primary[i];
        t.network_id = static_cast<std::uint16_t>(0x0001 + i / 4);
        t.frequency_order = static_cast<std::uint16_t>(i);
        t.frequency = static_cast<std::uint16_t>(i % 3 == 2 ? 3700 + mix.below(500)
                                                            : 10700 + mix.below(2050));
        t.symbol_rate = static_cast<std::uint16_t>(22000 + 500 * mix.below(16));
        t.polarisation = static_cast<std::uint8_t>(i % 2);
        t.fec = static_cast<std::uint8_t>(mix.below(6));
        t.satellite_index =
            db.satellites.count ? static_cast<std::uint8_t>(i % db.satellites.count) : 0;
    }

    db.tv.reset(shape.tv);
    for (std::size_t i = 0; i < db.tv.count; ++i)
        db.tv.primary[i] = makeChannel(mix, i, db.transponders.count, false);
    db.radio.reset(shape.radio);
    for (std::size_t i = 0; i < db.radio.count; ++i)
        db.radio.primary[i] = makeChannel(mix, i, db.transponders.count, true);

    const std::size_t groups = std::min(shape.groups.size(), kFavouriteGroupCapacity);
    db.general.favourite_group_count = static_cast<std::uint16_t>(groups);
    std::size_t tv_cursor = 0, radio_cursor = 0;
    for (std::size_t g = 0; g < groups; ++g) {
        FavouriteGroup& group = db.favourites.groups[g];
        setNameBytes(group.name, "Favourites " + std::to_string(g + 1));
        const std::size_t tv_before = db.favourites.tv_members.count;
        const std::size_t radio_before = db.favourites.radio_members.count;
        fillMembers(db.favourites.tv_members, db.tv.count, tv_cursor, shape.groups[g].first);
        fillMembers(db.favourites.radio_members, db.radio.count, radio_cursor,
                    shape.groups[g].second);
        group.tv_count = static_cast<std::uint16_t>(db.favourites.tv_members.count - tv_before);
        group.radio_count =
            static_cast<std::uint16_t>(db.favourites.radio_members.count - radio_before);
    }

    // Settle lengths, checksum and trailer as a loaded file would have them.
    ChannelDatabase settled = db;
    const auto bytes = buildChannelFile(settled, {}, -1);
    settled.trailer = static_cast<std::uint16_t>((bytes[bytes.size() - 2] << 8) | bytes.back());
    settled.satellites.copyAllToWorking();
    settled.transponders.copyAllToWorking();
    settled.tv.copyAllToWorking();
    settled.radio.copyAllToWorking();
    settled.favourites.tv_members.copyAllToWorking();
    settled.favourites.radio_members.copyAllToWorking();
    return settled;
}

DatabaseShape fullCapacityShape() {
    DatabaseShape shape;
    shape.satellites = kMaxSatelliteCount;
    shape.transponders = kTransponderCapacity;
    shape.tv = kChannelCapacity;
    shape.radio = kChannelCapacity;
    shape.groups.assign(kFavouriteGroupCapacity,
                        {kFavouriteMemberCapacity / kFavouriteGroupCapacity,
                         kFavouriteMemberCapacity / kFavouriteGroupCapacity});
    return shape;
}

std::vector<std::uint8_t> fileBytesOf(ChannelDatabase db) {
    return buildChannelFile(db, {}, -1);
}

std::string contentDifference(const ChannelDatabase& a, const ChannelDatabase& b) {
    const auto header = [](const FileHeader& h) {
        return std::tie(h.magic, h.usage_type, h.checksum, h.opaque_8, h.data_length, h.hw_version,
                        h.sw_version, h.opaque_24, h.secondary_length, h.model_id);
    };
    if (header(a.header) != header(b.header)) return "header differs";
    const auto format = [](const FormatBlock& f) {
        return std::tie(f.format_id, f.opaque_68, f.opaque_72, f.tail_length);
    };
    if (format(a.format) != format(b.format)) return "format block differs";
    const auto general = [](const GeneralSection& g) {
        return std::tie(g.section.tag, g.section.length, g.word1, g.word2, g.word3,
                        g.favourite_group_count, g.word5, g.raw_pairs);
    };
    if (general(a.general) != general(b.general)) return "general section differs";
    if (tieSection(a.satellite_section) != tieSection(b.satellite_section) ||
        tieSection(a.transponder_section) != tieSection(b.transponder_section) ||
        tieSection(a.channel_section) != tieSection(b.channel_section) ||
        tieSection(a.favourites.section) != tieSection(b.favourites.section))
        return "a section tag or length differs";
    for (const std::string& d :
         {tableDifference("satellite", a.satellites, b.satellites, tieSatellite),
          tableDifference("transponder", a.transponders, b.transponders, tieTransponder),
          tableDifference("tv", a.tv, b.tv, tieChannel),
          tableDifference("radio", a.radio, b.radio, tieChannel),
          tableDifference("tv member", a.favourites.tv_members, b.favourites.tv_members, tieMember),
          tableDifference("radio member", a.favourites.radio_members, b.favourites.radio_members,
                          tieMember)})
        if (!d.empty()) return d;
    for (std::size_t g = 0; g < a.favouriteGroupCount() && g < a.favourites.groups.size(); ++g) {
        const auto& x = a.favourites.groups[g];
        const auto& y = b.favourites.groups[g];
        if (std::tie(x.name, x.tv_count, x.radio_count) !=
            std::tie(y.name, y.tv_count, y.radio_count))
            return "favourite group " + std::to_string(g) + " differs";
    }
    if (a.trailer != b.trailer) return "trailer differs";
    return {};
}

std::string workingCopyDifference(const ChannelDatabase& db) {
    const auto check = [](const char* what, const auto& table, auto tie) -> std::string {
        for (std::size_t i = 0; i < table.count; ++i)
            if (tie(table.primary[i]) != tie(table.working[i]))
                return std::string(what) + " working record " + std::to_string(i) + " differs";
        return {};
    };
    for (const std::string& d :
         {check("satellite", db.satellites, tieSatellite),
          check("transponder", db.transponders, tieTransponder), check("tv", db.tv, tieChannel),
          check("radio", db.radio, tieChannel),
          check("tv member", db.favourites.tv_members, tieMember),
          check("radio member", db.favourites.radio_members, tieMember)})
        if (!d.empty()) return d;
    return {};
}

std::string writeFullCapacityFile(const std::string& tag) {
    std::string pattern = "/tmp/zoedit-bench-" + tag + "-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    const auto bytes = fileBytesOf(buildDatabase(fullCapacityShape()));
    if (fd >= 0) {
        if (::write(fd, bytes.data(), bytes.size()) < 0) std::perror("write");
        ::close(fd);
    }
    return pattern;
}

}  // namespace zoedit::testing
