// Parsing a channel file held in memory. Every count is checked against its
// table's capacity and against the bytes left before anything is stored, so a
// short or boastful file is refused without reading past its end.
//
// The file ends with the 2-byte trailer that follows the favourite section;
// bytes after it are ignored (a file fetched from the receiver may be padded
// out to whole transfer blocks).

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <type_traits>

#include "database/big_endian.h"
#include "database/channel_file.h"
#include "database/channel_file_layout.h"

namespace zoedit {
namespace {

using namespace layout;

// The longest file the tables can take; anything after it would be ignored,
// so a huge file picked by mistake is never read whole.
constexpr std::size_t kLongestFile =
    kEmptyFileSize + kSatelliteRecordSize * kMaxSatelliteCount +
    kTransponderRecordSize * kTransponderCapacity + kChannelRecordSize * 2 * kChannelCapacity +
    kGroupFixedSize * kFavouriteGroupCapacity + kMemberEntrySize * 2 * kFavouriteMemberCapacity;

LoadResult refused() {
    return {LoadStatus::BadFormat, {kMsgCheckSourceFile}, {}};
}

// The header fields after the magic, in file order.
void readHeaderFields(be::Reader& r, FileHeader& h) {
    h.usage_type = r.u16();
    h.checksum = r.u16();
    h.opaque_8 = r.u32();
    h.data_length = r.u32();
    h.hw_version = r.u32();
    h.sw_version = r.u32();
    h.opaque_24 = r.u32();
    h.secondary_length = r.u32();
    h.model_id.fill('\0');
    r.bytes(std::span<char>(h.model_id.data(), kModelIdSize));
}

// Reads the fields of records whose bytes have already been found in place,
// without checking every field again; the Reader then skips the whole block.
class RecordCursor {
public:
    explicit RecordCursor(const be::Reader& r, std::span<const std::uint8_t> bytes)
        : p_(bytes.data() + r.position()) {}
    std::uint8_t u8() { return *p_++; }
    std::uint16_t u16() {
        p_ += 2;
        return be::get16(p_ - 2);
    }
    template <std::size_t N>
    void text(std::array<char, N>& out) {
        std::memcpy(out.data(), p_, N);
        p_ += N;
    }
    void skip(std::size_t n) { p_ += n; }
    const std::uint8_t* here() const { return p_; }

private:
    const std::uint8_t* p_;
};

// Where the compiler lays a channel record out with its fields at the
// offsets they have in the file, a record is copied as three 16-byte blocks
// with its six numbers byte-swapped in the register; there are 20000 of them
// in a full file, and decoding them field by field took most of a load.
constexpr bool kChannelMirrorsFile =
    std::is_trivially_copyable_v<ChannelRecord> && sizeof(ChannelRecord) == 40 &&
    offsetof(ChannelRecord, transponder_index) == 0 && offsetof(ChannelRecord, service_id) == 2 &&
    offsetof(ChannelRecord, name) == 4 && offsetof(ChannelRecord, code_pid) == 28 &&
    offsetof(ChannelRecord, video_pid) == 30 && offsetof(ChannelRecord, audio_pid) == 32 &&
    offsetof(ChannelRecord, fourth_pid) == 34 && offsetof(ChannelRecord, pid_mode) == 36 &&
    offsetof(ChannelRecord, scrambled) == 37 && offsetof(ChannelRecord, locked) == 38;

#if defined(__GNUC__)
using Lanes16 = std::uint16_t __attribute__((vector_size(16)));

// Copies 16 bytes, swapping the bytes of the 16-bit lanes set in `swap` when
// the machine is little-endian.
inline void copyBlock(std::uint8_t* to, const std::uint8_t* from, Lanes16 swap) {
    Lanes16 v;
    std::memcpy(&v, from, sizeof v);
    if constexpr (std::endian::native == std::endian::little)
        v = (((v << 8) | (v >> 8)) & swap) | (v & ~swap);
    std::memcpy(to, &v, sizeof v);
}

// Bytes 0..15 hold the two leading numbers, 16..31 the rest of the name,
// and 24..39 the four PIDs (at 4..11 of that block) and the flags; byte 39
// is a reserved byte that lands in the record's padding.
void decodeMirroredChannel(const std::uint8_t* from, ChannelRecord& ch) {
    constexpr std::uint16_t k = 0xFFFF;
    auto* to = reinterpret_cast<std::uint8_t*>(&ch);
    copyBlock(to, from, Lanes16{k, k, 0, 0, 0, 0, 0, 0});
    copyBlock(to + 16, from + 16, Lanes16{});
    copyBlock(to + 24, from + 24, Lanes16{0, 0, k, k, k, k, 0, 0});
}
#else
void decodeMirroredChannel(const std::uint8_t* from, ChannelRecord& ch) {
    std::memcpy(static_cast<void*>(&ch), from, 39);
    ch.transponder_index = be::get16(from);
    ch.service_id = be::get16(from + 2);
    ch.code_pid = be::get16(from + 28);
    ch.video_pid = be::get16(from + 30);
    ch.audio_pid = be::get16(from + 32);
    ch.fourth_pid = be::get16(from + 34);
}
#endif

void decodeChannel(RecordCursor& c, ChannelRecord& ch) {
    if constexpr (kChannelMirrorsFile) {
        decodeMirroredChannel(c.here(), ch);
        c.skip(kChannelRecordSize);
    } else {
        ch.transponder_index = c.u16();
        ch.service_id = c.u16();
        c.text(ch.name);
        ch.code_pid = c.u16();
        ch.video_pid = c.u16();
        ch.audio_pid = c.u16();
        ch.fourth_pid = c.u16();
        ch.pid_mode = c.u8();
        ch.scrambled = c.u8();
        ch.locked = c.u8();
        c.skip(kReservedSize);
    }
}

// How many records of each table a file holds.
struct TableCounts {
    std::size_t satellites = 0;
    std::size_t transponders = 0;
    std::size_t tv = 0;
    std::size_t radio = 0;
    std::size_t groups = 0;
    std::size_t tv_members = 0;
    std::size_t radio_members = 0;
};

// One walk over the sections after the format block serves both passes of
// a load, so that what is checked and what is stored cannot drift apart.
// Checking (kStore false) tests every count against its table and against
// the bytes left and stores nothing. Storing (kStore true) runs over bytes
// that have passed the check, into a database whose tables are prepared for
// exactly the counts found, and writes every field below each count.
template <bool kStore>
class SectionWalker {
public:
    SectionWalker(std::span<const std::uint8_t> bytes, ChannelDatabase* db)
        : bytes_(bytes), r_(bytes, kFormatBlockEnd), db_(db) {}

    bool walk() {
        GeneralSection general;
        readGeneral(general);
        counts_.groups = general.favourite_group_count;
        if constexpr (kStore) db_->general = general;
        if (r_.failed() || !satellites() || !transponders() || !channels() || !favourites())
            return false;
        const std::uint16_t trailer = r_.u16();
        if constexpr (kStore) db_->trailer = trailer;
        return !r_.failed();
    }

    const TableCounts& counts() const { return counts_; }

private:
    void readGeneral(GeneralSection& g) {
        g.section = sectionHeader();
        g.word1 = r_.u16();
        g.word2 = r_.u16();
        g.word3 = r_.u16();
        g.favourite_group_count = r_.u16();
        g.word5 = r_.u16();
        r_.bytes(std::span<std::uint8_t>(g.raw_pairs));
    }

    SectionHeader sectionHeader() {
        SectionHeader s;
        s.tag = r_.u8();
        s.length = r_.u32();
        return s;
    }

    // True when `count` records of `size` bytes are still there to read.
    bool fits(std::size_t count, std::size_t size) const {
        return !r_.failed() && count <= r_.remaining() / size;
    }

    // Checks that `count` records of `size` bytes fit the table and the bytes
    // left; when storing, decodes them into `table`'s primary copy from entry
    // `first` on and copies them to the working copy a few at a time, while
    // they are still in the cache. (Decoding into a temporary and storing it
    // twice is slower: the compiler's wide copy stalls on the narrow stores.)
    template <typename Record, typename Decode>
    bool records(std::size_t count, std::size_t capacity, std::size_t size,
                 DualTable<Record>* table, std::size_t first, Decode decode) {
        if (count > capacity || !fits(count, size)) return false;
        if constexpr (kStore) {
            constexpr std::size_t kBatch = 64;
            RecordCursor c(r_, bytes_);
            Record* primary = table->primary.data() + first;
            Record* working = table->working.data() + first;
            for (std::size_t done = 0; done < count; done += kBatch) {
                const std::size_t n = std::min(kBatch, count - done);
                for (std::size_t i = done; i < done + n; ++i) decode(c, primary[i]);
                std::memcpy(working + done, primary + done, n * sizeof(Record));
            }
        }
        r_.skip(count * size);
        return !r_.failed();
    }

    bool satellites() {
        const SectionHeader section = sectionHeader();
        counts_.satellites = r_.u8();
        if constexpr (kStore) db_->satellite_section = section;
        return records(counts_.satellites, kMaxSatelliteCount, kSatelliteRecordSize,
                       kStore ? &db_->satellites : nullptr, 0,
                       [](RecordCursor& c, SatelliteRecord& s) {
                           s.band = c.u8();
                           s.position = c.u16();
                           c.text(s.name);
                           c.skip(kReservedSize);
                       });
    }

    bool transponders() {
        const SectionHeader section = sectionHeader();
        counts_.transponders = r_.u16();
        if constexpr (kStore) db_->transponder_section = section;
        return records(counts_.transponders, kTransponderCapacity, kTransponderRecordSize,
                       kStore ? &db_->transponders : nullptr, 0,
                       [](RecordCursor& c, TransponderRecord& t) {
                           t.network_id = c.u16();
                           t.frequency_order = c.u16();
                           t.frequency = c.u16();
                           t.symbol_rate = c.u16();
                           t.polarisation = c.u8();
                           t.fec = c.u8();
                           t.satellite_index = c.u8();
                           c.skip(kReservedSize);
                       });
    }

    bool channelTable(std::size_t& count, DualTable<ChannelRecord>* table) {
        count = r_.u16();
        return records(count, kChannelCapacity, kChannelRecordSize, table, 0,
                       [](RecordCursor& c, ChannelRecord& ch) { decodeChannel(c, ch); });
    }

    bool channels() {
        const SectionHeader section = sectionHeader();
        if constexpr (kStore) db_->channel_section = section;
        return channelTable(counts_.tv, kStore ? &db_->tv : nullptr) &&
               channelTable(counts_.radio, kStore ? &db_->radio : nullptr);
    }

    // One group's member entries, placed after those of the earlier groups
    // in the flat list of their kind; `total` is that list's length so far.
    bool members(std::uint16_t& group_count, std::size_t& total, DualTable<std::uint16_t>* list) {
        group_count = r_.u16();
        const std::size_t count = group_count;
        if (!records(count, kFavouriteMemberCapacity - total, kMemberEntrySize, list, total,
                     [](RecordCursor& c, std::uint16_t& member) {
                         member = c.u16();
                         c.skip(kReservedSize);
                     }))
            return false;
        total += count;
        return true;
    }

    bool favourites() {
        const SectionHeader section = sectionHeader();
        if (counts_.groups > kFavouriteGroupCapacity) return false;
        FavouriteSection* f = kStore ? &db_->favourites : nullptr;
        if constexpr (kStore) f->section = section;
        for (std::size_t g = 0; g < counts_.groups; ++g) {
            FavouriteGroup group;
            r_.bytes(std::span<char>(group.name));
            if (!members(group.tv_count, counts_.tv_members, kStore ? &f->tv_members : nullptr) ||
                !members(group.radio_count, counts_.radio_members,
                         kStore ? &f->radio_members : nullptr))
                return false;
            if constexpr (kStore) f->groups[g] = group;
        }
        return !r_.failed();
    }

    std::span<const std::uint8_t> bytes_;
    be::Reader r_;
    ChannelDatabase* db_;
    TableCounts counts_;
};

// Sizes every table for the counts found and clears what lies beyond them,
// reusing the storage the database already has.
void prepareTables(ChannelDatabase& db, const TableCounts& counts) {
    db.satellites.prepare(counts.satellites);
    db.transponders.prepare(counts.transponders);
    db.tv.prepare(counts.tv);
    db.radio.prepare(counts.radio);
    db.favourites.tv_members.prepare(counts.tv_members);
    db.favourites.radio_members.prepare(counts.radio_members);
    auto& groups = db.favourites.groups;
    groups.resize(kFavouriteGroupCapacity);
    std::fill(groups.begin() + static_cast<std::ptrdiff_t>(counts.groups), groups.end(),
              FavouriteGroup{});
}

}  // namespace

std::optional<FileHeader> readFileHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderSize) return std::nullopt;
    be::Reader r(bytes);
    FileHeader h;
    h.magic = r.u32();
    readHeaderFields(r, h);
    return h;
}

LoadResult readChannelFile(std::span<const std::uint8_t> bytes, ChannelDatabase& db) {
    be::Reader r(bytes);
    FileHeader header;
    header.magic = r.u32();
    if (r.failed() || header.magic != kFileMagic) {
        // Refused outright with both messages, even when bytes 4..7 happen to
        // hold the format id: reading on from there would accept such a file.
        return {LoadStatus::BadMagic, {kMsgInvalidDataFormat, kMsgCheckSourceFile}, {}};
    }
    readHeaderFields(r, header);
    FormatBlock format;
    format.format_id = r.u32();
    format.opaque_68 = r.u32();
    format.opaque_72 = r.u32();
    format.tail_length = r.u32();
    if (r.failed() || format.format_id != kFormatId) return refused();

    // Checked whole before anything is stored, so that a refused file leaves
    // `db` alone without parsing into a second database.
    SectionWalker<false> check(bytes, nullptr);
    if (!check.walk()) return refused();

    db.header = header;
    db.format = format;
    prepareTables(db, check.counts());
    SectionWalker<true> store(bytes, &db);
    [[maybe_unused]] const bool stored = store.walk();
    assert(stored && "bytes that passed the check failed to decode");
    return {};
}

namespace {

LoadResult cannotOpen(int error) {
    return {LoadStatus::CannotOpen, {}, std::strerror(error)};
}

}  // namespace

LoadResult loadChannelFile(const std::string& path, ChannelDatabase& db) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    const int open_error = errno;
    // A directory opens on some systems and is refused as inaccessible on
    // others; either way the user is told what it is.
    std::error_code not_known;
    if (std::filesystem::is_directory(path, not_known)) return cannotOpen(EISDIR);
    if (!file) return cannotOpen(open_error);
    // Read as far as the longest file the tables can take, into a buffer that
    // is not cleared first: the bytes past what was read are never looked at,
    // and clearing a megabyte costs about as much as the read itself.
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(kLongestFile);
    std::size_t size = 0;
    while (size < kLongestFile) {
        const std::size_t got = std::fread(buffer.get() + size, 1, kLongestFile - size, file.get());
        if (got == 0) break;
        size += got;
    }
    // Any read error is treated like a file that cannot be opened.
    if (std::ferror(file.get())) return cannotOpen(errno != 0 ? errno : EIO);
    return readChannelFile({buffer.get(), size}, db);
}

}  // namespace zoedit
