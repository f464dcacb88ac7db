// The whole content of one channel file held in memory: header words, the
// general section, the record tables with their working copies, the
// favourite groups and the trailer word. Records refer to each other by
// table index only.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zoedit {

// Limits of the data model. The satellite count is one byte in the file, so
// a file never names more than 255 satellites, but the table holds 1000.
inline constexpr std::size_t kMaxSatelliteCount = 255;
inline constexpr std::size_t kSatelliteCapacity = 1000;
inline constexpr std::size_t kTransponderCapacity = 1000;
inline constexpr std::size_t kChannelCapacity = 10000;
inline constexpr std::size_t kFavouriteGroupCapacity = 125;
inline constexpr std::size_t kFavouriteMemberCapacity = 10000;

inline constexpr std::uint32_t kFileMagic = 0x55AA55AA;
inline constexpr std::uint32_t kFormatId = 0x04209876;

inline constexpr std::size_t kSatelliteNameSize = 44;  // 43 characters and a NUL
inline constexpr std::size_t kChannelNameSize = 24;    // 23 characters and a NUL
inline constexpr std::size_t kGroupNameSize = 24;
inline constexpr std::size_t kModelIdSize = 32;

enum class ChannelKind { Tv, Radio };

struct FileHeader {
    std::uint32_t magic = 0;
    std::uint16_t usage_type = 0;
    std::uint16_t checksum = 0;
    std::uint32_t opaque_8 = 0;
    std::uint32_t data_length = 0;
    std::uint32_t hw_version = 0;
    std::uint32_t sw_version = 0;
    std::uint32_t opaque_24 = 0;
    std::uint32_t secondary_length = 0;
    std::array<char, kModelIdSize + 1> model_id{};  // last byte always NUL

    bool operator==(const FileHeader&) const = default;
};

struct FormatBlock {
    std::uint32_t format_id = 0;
    std::uint32_t opaque_68 = 0;
    std::uint32_t opaque_72 = 0;
    std::uint32_t tail_length = 0;

    bool operator==(const FormatBlock&) const = default;
};

// Every section starts with a tag byte (carried, never tested) and a length.
struct SectionHeader {
    std::uint8_t tag = 0;
    std::uint32_t length = 0;

    bool operator==(const SectionHeader&) const = default;
};

struct GeneralSection {
    SectionHeader section;
    std::uint16_t word1 = 0;
    std::uint16_t word2 = 0;
    std::uint16_t word3 = 0;
    std::uint16_t favourite_group_count = 0;
    std::uint16_t word5 = 0;
    std::array<std::uint8_t, 10> raw_pairs{};  // five byte pairs in file order

    bool operator==(const GeneralSection&) const = default;
};

struct SatelliteRecord {
    std::uint8_t band = 0;       // 0 C-band, 1 Ku-band
    std::uint16_t position = 0;  // tenths of a degree east, 0..3599
    std::array<char, kSatelliteNameSize> name{};

    bool operator==(const SatelliteRecord&) const = default;
};

struct TransponderRecord {
    std::uint16_t network_id = 0;
    std::uint16_t frequency_order = 0;
    std::uint16_t frequency = 0;    // MHz
    std::uint16_t symbol_rate = 0;  // kS/s
    std::uint8_t polarisation = 0;  // 0 horizontal, 1 vertical
    std::uint8_t fec = 0;           // 0 AUTO, 1..5 = 1/2, 2/3, 3/4, 5/6, 7/8
    std::uint8_t satellite_index = 0;

    bool operator==(const TransponderRecord&) const = default;
};

struct ChannelRecord {
    std::uint16_t transponder_index = 0;
    std::uint16_t service_id = 0;
    std::array<char, kChannelNameSize> name{};
    std::uint16_t code_pid = 0;
    std::uint16_t video_pid = 0;
    std::uint16_t audio_pid = 0;
    std::uint16_t fourth_pid = 0;
    std::uint8_t pid_mode = 0;
    std::uint8_t scrambled = 0;
    std::uint8_t locked = 0;

    bool operator==(const ChannelRecord&) const = default;
};

struct FavouriteGroup {
    std::array<char, kGroupNameSize> name{};
    std::uint16_t tv_count = 0;
    std::uint16_t radio_count = 0;

    bool operator==(const FavouriteGroup&) const = default;
};

// A table held twice: the primary copy is what is saved, the working copy is
// what new-record mode, sorted mode and a pending cut edit. Both are always
// allocated at the table's capacity so that an index below capacity is valid.
template <typename Record>
struct DualTable {
    explicit DualTable(std::size_t table_capacity) : capacity(table_capacity) { reset(0); }

    // Reallocates both copies at capacity, zero-filled; count is clamped.
    void reset(std::size_t new_count) {
        primary.assign(capacity, Record{});
        working.assign(capacity, Record{});
        count = new_count < capacity ? new_count : capacity;
    }
    // Readies the table to be overwritten with `new_count` records: the count
    // is clamped, both copies keep their storage and only the entries from the
    // count to capacity are zeroed, so loading a file allocates nothing. The
    // caller must store every record below the count, in both copies.
    void prepare(std::size_t new_count) {
        count = new_count < capacity ? new_count : capacity;
        primary.resize(capacity);
        working.resize(capacity);
        std::fill(primary.begin() + static_cast<std::ptrdiff_t>(count), primary.end(), Record{});
        std::fill(working.begin() + static_cast<std::ptrdiff_t>(count), working.end(), Record{});
    }
    void copyToWorking(std::size_t i) { working.at(i) = primary.at(i); }
    void copyToPrimary(std::size_t i) { primary.at(i) = working.at(i); }
    void copyAllToWorking() { working = primary; }

    std::span<const Record> records() const { return {primary.data(), count}; }
    bool contains(std::size_t i) const { return i < count; }

    std::size_t capacity;
    std::size_t count = 0;
    std::vector<Record> primary;
    std::vector<Record> working;
};

struct FavouriteSection {
    SectionHeader section;
    std::vector<FavouriteGroup> groups = std::vector<FavouriteGroup>(kFavouriteGroupCapacity);
    // All groups' members end to end: group g starts after the members of groups 0..g-1.
    DualTable<std::uint16_t> tv_members{kFavouriteMemberCapacity};
    DualTable<std::uint16_t> radio_members{kFavouriteMemberCapacity};
};

struct ChannelDatabase {
    FileHeader header;
    FormatBlock format;
    GeneralSection general;
    SectionHeader satellite_section;
    SectionHeader transponder_section;
    SectionHeader channel_section;
    DualTable<SatelliteRecord> satellites{kSatelliteCapacity};
    DualTable<TransponderRecord> transponders{kTransponderCapacity};
    DualTable<ChannelRecord> tv{kChannelCapacity};
    DualTable<ChannelRecord> radio{kChannelCapacity};
    FavouriteSection favourites;
    std::uint16_t trailer = 0;

    DualTable<ChannelRecord>& channels(ChannelKind kind) {
        return kind == ChannelKind::Tv ? tv : radio;
    }
    const DualTable<ChannelRecord>& channels(ChannelKind kind) const {
        return kind == ChannelKind::Tv ? tv : radio;
    }

    std::size_t satelliteCount() const { return satellites.count; }
    std::size_t transponderCount() const { return transponders.count; }
    std::size_t tvCount() const { return tv.count; }
    std::size_t radioCount() const { return radio.count; }
    std::size_t favouriteGroupCount() const { return general.favourite_group_count; }

    // Links; nullptr when the index points outside its table (files are not
    // checked on loading, so every caller must be ready for that).
    const TransponderRecord* transponderOf(const ChannelRecord& channel) const;
    const SatelliteRecord* satelliteOf(const TransponderRecord& transponder) const;

    // Members of favourite group g of one kind, clamped to the flat list.
    std::span<const std::uint16_t> groupMembers(std::size_t g, ChannelKind kind) const;
    std::size_t groupMemberStart(std::size_t g, ChannelKind kind) const;
    // 1-based place of channel `index` in group g, 0 when it is not a member.
    int favouritePosition(std::size_t g, ChannelKind kind, std::size_t index) const;
};

// Sets the band of the transponder's satellite from its frequency: C-band for
// 3000..6000 MHz, Ku-band above 9999 up to 17000 MHz, otherwise unchanged.
// Does nothing when either index is outside its table.
void deriveBand(ChannelDatabase& db, std::size_t transponder_index);

// Name fields are bytes in the receiver's code page, NUL-terminated.
std::string nameBytes(std::span<const char> field);
// Stores bytes into a name field, cut to the field less its NUL and NUL-padded.
void setNameBytes(std::span<char> field, std::string_view bytes);

}  // namespace zoedit
