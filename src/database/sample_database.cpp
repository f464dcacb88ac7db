#include "database/sample_database.h"

#include <cstdio>
#include <string>
#include <vector>

#include "database/codepage.h"

namespace zoedit {
namespace {

// SplitMix64: tiny, and the same sequence on every platform and library.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(next() % n); }
    bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }
    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N]) {
        return items[below(N)];
    }

private:
    std::uint64_t state_;
};

struct SatelliteSpec {
    const char* name;
    std::uint16_t position;
    bool ku;
    int transponders;
};

constexpr SatelliteSpec kSatellites[] = {
    {"Astra 19.2E", 192, true, 7},        {"Hotbird 13.0E", 130, true, 7},
    {"Astra 28.2E", 282, true, 5},        {"Nilesat 7.0W", 3530, true, 7},
    {"Badr 26.0E", 260, true, 6},         {"Hispasat 30.0W", 3300, true, 4},
    {"Eutelsat 7.0E", 70, true, 4},       {"Turksat 42.0E", 420, true, 4},
    {"Thor 0.8W", 3592, true, 3},         {"Arabsat 5A 30.5E", 305, false, 3},
    {"Intelsat 20 68.5E", 685, false, 3}, {"AsiaSat 5 100.5E", 1005, false, 3},
};

// Channel themes: a favourite group collects the channels of its theme.
enum Theme { kNews, kSport, kMovies, kKids, kMusic, kDocumentary, kGeneral, kThemeCount };

constexpr const char* kThemeWords[kThemeCount][6] = {
    {"News", "Info", "Report", "World News", "Business", "Headline"},
    {"Sport", "Goal", "Arena", "Racing", "Fight", "Golf"},
    {"Cinema", "Movie", "Film", "Action", "Drama", "Classic"},
    {"Kids", "Cartoon", "Toon", "Junior", "Family", "Teen"},
    {"Music", "Hits", "Beat", "Melody", "Jazz", "Rock"},
    {"Docu", "Discover", "History", "Nature", "Science", "Travel"},
    {"Star", "Life", "Vision", "Gold", "Home", "Style"},
};
constexpr const char* kSuffixes[] = {"24", "Plus", "One", "2", "HD", "TV", "Max", "Extra", "1"};

// Arabic names, one Windows-1256 byte per letter once converted.
constexpr const char* kArabicTv[kThemeCount][3] = {
    {"الإخبارية", "قناة الأخبار", "الحدث"},
    {"الرياضية", "رياضة بلس", "الملاعب"},
    {"أفلام", "سينما العرب", "دراما"},
    {"الأطفال", "براعم", "كرتون"},
    {"موسيقى", "طرب", "أغاني"},
    {"الوثائقية", "الطبيعة", "التاريخ"},
    {"القرآن الكريم", "الأولى", "الفضائية"},
};
constexpr const char* kRadioWords[] = {"Radio",   "FM",      "Classic FM",  "Jazz Radio",
                                       "Talk",    "Hits FM", "Quran Radio", "Pop",
                                       "Country", "Oldies"};
constexpr const char* kArabicRadio[] = {"إذاعة القرآن", "صوت العرب", "راديو سوا", "إذاعة الأغاني",
                                        "البرنامج العام"};

constexpr const char* kGroupNames[kThemeCount] = {"News",  "Sport",       "Movies", "Kids",
                                                  "Music", "Documentary", "Arabic"};

constexpr std::uint16_t kKuRates[] = {27500, 22000, 29900, 30000, 27000, 8000};
constexpr std::uint8_t kKuFec[] = {3, 4, 2, 3, 5, 0};
constexpr std::uint16_t kCRates[] = {26666, 28800, 30000, 13333, 4340};
constexpr std::uint8_t kCFec[] = {3, 2, 5, 3};

std::string arabic(const char* utf8) {
    return fromUtf8(utf8, CodePage::Windows1256);
}

void fillHeader(ChannelDatabase& db, std::uint16_t group_count) {
    db.header.magic = kFileMagic;
    db.header.usage_type = 3;  // channel data, sent with its checksum checked
    db.header.opaque_8 = 0x00000001;
    db.header.hw_version = 0x1021;
    db.header.sw_version = 0x2104;
    setNameBytes(db.header.model_id, "DSR-4200 CI FTA");
    db.format.format_id = kFormatId;
    db.general.section = {0x01, 20};
    db.general.word1 = 0x0001;
    db.general.word2 = 0x0003;
    db.general.word5 = 0x0100;
    db.general.favourite_group_count = group_count;
    db.satellite_section.tag = 0x02;
    db.transponder_section.tag = 0x03;
    db.channel_section.tag = 0x04;
    db.favourites.section.tag = 0x05;
}

TransponderRecord makeTransponder(Random& rnd, bool ku, std::uint8_t satellite,
                                  std::uint16_t network, std::uint16_t order) {
    TransponderRecord tp;
    tp.network_id = network;
    tp.frequency_order = order;
    tp.frequency = ku ? static_cast<std::uint16_t>(10714 + 19 * rnd.below(107))
                      : static_cast<std::uint16_t>(3700 + 20 * rnd.below(25) + 5 * rnd.below(4));
    tp.symbol_rate = ku ? rnd.pick(kKuRates) : rnd.pick(kCRates);
    tp.polarisation = static_cast<std::uint8_t>(rnd.below(2));
    tp.fec = ku ? rnd.pick(kKuFec) : rnd.pick(kCFec);
    tp.satellite_index = satellite;
    return tp;
}

void addSatellitesAndTransponders(ChannelDatabase& db, Random& rnd, SampleSize size) {
    std::vector<SatelliteRecord> sats;
    std::vector<TransponderRecord> tps;
    for (const auto& orbit : kSatellites) {
        const auto index = static_cast<std::uint8_t>(sats.size());
        SatelliteRecord sat;
        sat.band = orbit.ku ? 1 : 0;
        sat.position = orbit.position;
        setNameBytes(sat.name, orbit.name);
        sats.push_back(sat);
        const auto network = static_cast<std::uint16_t>(0x0001 + 0x35 * index);
        for (int t = 0; t < orbit.transponders; ++t)
            tps.push_back(makeTransponder(rnd, orbit.ku, index, network,
                                          static_cast<std::uint16_t>(0x0400 + tps.size())));
    }
    if (size == SampleSize::Full) {
        while (sats.size() < kMaxSatelliteCount) {
            SatelliteRecord sat;
            sat.position = static_cast<std::uint16_t>(sats.size() * 14 % 3600);
            sat.band = sats.size() % 4 == 0 ? 0 : 1;
            char name[48];
            std::snprintf(name, sizeof name, "Satellite %03zu", sats.size());
            setNameBytes(sat.name, name);
            sats.push_back(sat);
        }
        while (tps.size() < kTransponderCapacity) {
            const auto sat = static_cast<std::uint8_t>(tps.size() % sats.size());
            tps.push_back(makeTransponder(rnd, sats[sat].band == 1, sat, 0x0100 + sat,
                                          static_cast<std::uint16_t>(0x0400 + tps.size())));
        }
    }
    db.satellites.reset(sats.size());
    std::copy(sats.begin(), sats.end(), db.satellites.primary.begin());
    db.transponders.reset(tps.size());
    std::copy(tps.begin(), tps.end(), db.transponders.primary.begin());
}

// A unique name for channel `serial` of a theme; some themes' channels get
// Arabic names.
std::string channelName(Random& rnd, Theme theme, std::size_t serial, bool full) {
    if (!full && rnd.chance(18)) {
        const std::string base = arabic(kArabicTv[theme][rnd.below(3)]);
        return serial < 40 ? base : base + " " + std::to_string(serial % 9 + 1);
    }
    std::string name = kThemeWords[theme][rnd.below(6)];
    name += ' ';
    name += rnd.pick(kSuffixes);
    if (full || serial >= 60) name += " " + std::to_string(serial);
    return name;
}

ChannelRecord makeChannel(Random& rnd, std::uint16_t transponder, std::size_t slot, bool radio) {
    ChannelRecord ch;
    ch.transponder_index = transponder;
    ch.service_id = static_cast<std::uint16_t>(1000 + 50 * transponder % 30000 + slot);
    const auto base = static_cast<std::uint16_t>(0x0100 + 0x20 * (slot % 200));
    ch.video_pid = radio ? 0 : base;
    ch.audio_pid = static_cast<std::uint16_t>(base + 1);
    ch.code_pid = radio ? ch.audio_pid : base;
    ch.fourth_pid = radio || rnd.chance(40) ? 0 : static_cast<std::uint16_t>(base + 3);
    ch.pid_mode = !radio && rnd.chance(10) ? 1 : 0;
    ch.scrambled = rnd.chance(radio ? 5 : 25) ? 1 : 0;
    ch.locked = rnd.chance(radio ? 1 : 4) ? 1 : 0;
    return ch;
}

// Channels come transponder by transponder, as a receiver's scan stores them.
void addChannels(ChannelDatabase& db, Random& rnd, SampleSize size, std::vector<Theme>& themes) {
    const bool full = size == SampleSize::Full;
    const std::size_t tv_count = full ? kChannelCapacity : 320;
    const std::size_t radio_count = full ? kChannelCapacity : 120;
    const std::size_t transponders = db.transponders.count;

    db.tv.reset(tv_count);
    themes.clear();
    for (std::size_t i = 0; i < tv_count; ++i) {
        const auto tp = static_cast<std::uint16_t>(i * transponders / tv_count);
        auto ch = makeChannel(rnd, tp, i, false);
        const auto theme = static_cast<Theme>(rnd.below(kThemeCount));
        setNameBytes(ch.name, channelName(rnd, theme, i, full));
        db.tv.primary[i] = ch;
        themes.push_back(theme);
    }
    db.radio.reset(radio_count);
    for (std::size_t i = 0; i < radio_count; ++i) {
        const auto tp = static_cast<std::uint16_t>(i * transponders / radio_count);
        auto ch = makeChannel(rnd, tp, i, true);
        std::string name = !full && rnd.chance(20) ? arabic(rnd.pick(kArabicRadio))
                                                   : std::string(rnd.pick(kRadioWords));
        name += " " + std::to_string(full ? i : i % 97 + 1);
        setNameBytes(ch.name, name);
        db.radio.primary[i] = ch;
    }
}

void addFavourites(ChannelDatabase& db, SampleSize size, const std::vector<Theme>& themes) {
    std::vector<std::uint16_t> tv;
    std::vector<std::uint16_t> radio;
    std::size_t groups = 0;
    if (size == SampleSize::Full) {
        groups = kFavouriteGroupCapacity;
        const std::size_t per_group = kFavouriteMemberCapacity / groups;
        for (std::size_t g = 0; g < groups; ++g) {
            char name[32];
            std::snprintf(name, sizeof name, "Group %03zu", g + 1);
            setNameBytes(db.favourites.groups[g].name, name);
            db.favourites.groups[g].tv_count = static_cast<std::uint16_t>(per_group);
            db.favourites.groups[g].radio_count = static_cast<std::uint16_t>(per_group);
            for (std::size_t k = 0; k < per_group; ++k) {
                // Each channel once in all, spread over the groups.
                tv.push_back(static_cast<std::uint16_t>((k * groups + g) % db.tv.count));
                radio.push_back(static_cast<std::uint16_t>((g * per_group + k) % db.radio.count));
            }
        }
    } else {
        groups = kThemeCount;
        for (std::size_t g = 0; g < groups; ++g) {
            setNameBytes(db.favourites.groups[g].name, kGroupNames[g]);
            std::size_t count = 0;
            for (std::size_t i = 0; i < themes.size() && count < 24; ++i) {
                if (themes[i] != static_cast<Theme>(g)) continue;
                tv.push_back(static_cast<std::uint16_t>(i));
                ++count;
            }
            db.favourites.groups[g].tv_count = static_cast<std::uint16_t>(count);
            // Radio sides for a few groups only; the others stay empty.
            std::size_t radio_members = g == kNews ? 4 : g == kMusic ? 9 : 0;
            for (std::size_t k = 0; k < radio_members; ++k)
                radio.push_back(static_cast<std::uint16_t>((g * 7 + k * 5) % db.radio.count));
            db.favourites.groups[g].radio_count = static_cast<std::uint16_t>(radio_members);
        }
    }
    db.general.favourite_group_count = static_cast<std::uint16_t>(groups);
    db.favourites.tv_members.reset(tv.size());
    std::copy(tv.begin(), tv.end(), db.favourites.tv_members.primary.begin());
    db.favourites.radio_members.reset(radio.size());
    std::copy(radio.begin(), radio.end(), db.favourites.radio_members.primary.begin());
}

}  // namespace

void buildSampleDatabase(ChannelDatabase& db, SampleSize size) {
    db = ChannelDatabase{};
    Random rnd(size == SampleSize::Full ? 0x5EED'F011 : 0x5EED'0001);
    std::vector<Theme> themes;
    addSatellitesAndTransponders(db, rnd, size);
    addChannels(db, rnd, size, themes);
    addFavourites(db, size, themes);
    fillHeader(db, db.general.favourite_group_count);
    db.satellites.copyAllToWorking();
    db.transponders.copyAllToWorking();
    db.tv.copyAllToWorking();
    db.radio.copyAllToWorking();
    db.favourites.tv_members.copyAllToWorking();
    db.favourites.radio_members.copyAllToWorking();
}

}  // namespace zoedit
