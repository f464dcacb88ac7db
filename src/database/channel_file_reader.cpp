// Parsing a channel file held in memory. Every count is checked against its
// table's capacity and against the bytes left before anything is stored, so a
// short or boastful file is refused without reading past its end.
//
// The file ends with the 2-byte trailer that follows the favourite section;
// bytes after it are ignored (a file fetched from the receiver may be padded
// out to whole transfer blocks).
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

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
    return {LoadStatus::BadFormat, {kMsgCheckSourceFile}};
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

SectionHeader readSectionHeader(be::Reader& r) {
    SectionHeader s;
    s.tag = r.u8();
    s.length = r.u32();
    return s;
}

// True when `count` records of `size` bytes can still be read.
bool fits(const be::Reader& r, std::size_t count, std::size_t size) {
    return !r.failed() && count <= r.remaining() / size;
}

// Reads the fields of records whose bytes `fits` has already vouched for,
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

private:
    const std::uint8_t* p_;
};

// The fresh database's tables are already zero-filled at capacity: only the
// records below the count are stored, and copied to the working copy.
template <typename Record>
void copyToWorking(DualTable<Record>& table) {
    std::copy_n(table.primary.begin(), table.count, table.working.begin());
}

void readGeneral(be::Reader& r, GeneralSection& g) {
    g.section = readSectionHeader(r);
    g.word1 = r.u16();
    g.word2 = r.u16();
    g.word3 = r.u16();
    g.favourite_group_count = r.u16();
    g.word5 = r.u16();
    r.bytes(std::span<std::uint8_t>(g.raw_pairs));
}

bool readSatellites(be::Reader& r, std::span<const std::uint8_t> bytes, ChannelDatabase& db) {
    db.satellite_section = readSectionHeader(r);
    const std::size_t count = r.u8();
    if (!fits(r, count, kSatelliteRecordSize)) return false;
    RecordCursor c(r, bytes);
    db.satellites.count = count;
    for (std::size_t i = 0; i < count; ++i) {
        SatelliteRecord& s = db.satellites.primary[i];
        s.band = c.u8();
        s.position = c.u16();
        c.text(s.name);
        c.skip(kReservedSize);
    }
    r.skip(count * kSatelliteRecordSize);
    copyToWorking(db.satellites);
    return !r.failed();
}

bool readTransponders(be::Reader& r, std::span<const std::uint8_t> bytes, ChannelDatabase& db) {
    db.transponder_section = readSectionHeader(r);
    const std::size_t count = r.u16();
    if (count > kTransponderCapacity || !fits(r, count, kTransponderRecordSize)) return false;
    RecordCursor c(r, bytes);
    db.transponders.count = count;
    for (std::size_t i = 0; i < count; ++i) {
        TransponderRecord& t = db.transponders.primary[i];
        t.network_id = c.u16();
        t.frequency_order = c.u16();
        t.frequency = c.u16();
        t.symbol_rate = c.u16();
        t.polarisation = c.u8();
        t.fec = c.u8();
        t.satellite_index = c.u8();
        c.skip(kReservedSize);
    }
    r.skip(count * kTransponderRecordSize);
    copyToWorking(db.transponders);
    return !r.failed();
}

bool readChannelTable(be::Reader& r, std::span<const std::uint8_t> bytes,
                      DualTable<ChannelRecord>& table) {
    const std::size_t count = r.u16();
    if (count > kChannelCapacity || !fits(r, count, kChannelRecordSize)) return false;
    RecordCursor c(r, bytes);
    table.count = count;
    for (std::size_t i = 0; i < count; ++i) {
        ChannelRecord& ch = table.primary[i];
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
    r.skip(count * kChannelRecordSize);
    copyToWorking(table);
    return !r.failed();
}

// Appends one group's member entries to the flat list of their kind.
bool readMembers(be::Reader& r, std::span<const std::uint8_t> bytes, DualTable<std::uint16_t>& list,
                 std::uint16_t& group_count) {
    group_count = r.u16();
    const std::size_t count = group_count;
    if (count > list.capacity - list.count || !fits(r, count, kMemberEntrySize)) return false;
    RecordCursor c(r, bytes);
    for (std::size_t i = 0; i < count; ++i) {
        list.primary[list.count++] = c.u16();
        c.skip(kReservedSize);
    }
    r.skip(count * kMemberEntrySize);
    return !r.failed();
}

bool readFavourites(be::Reader& r, std::span<const std::uint8_t> bytes, ChannelDatabase& db) {
    FavouriteSection& f = db.favourites;
    f.section = readSectionHeader(r);
    const std::size_t groups = db.general.favourite_group_count;
    if (groups > kFavouriteGroupCapacity) return false;
    for (std::size_t g = 0; g < groups; ++g) {
        FavouriteGroup& group = f.groups[g];
        r.bytes(std::span<char>(group.name));
        if (!readMembers(r, bytes, f.tv_members, group.tv_count)) return false;
        if (!readMembers(r, bytes, f.radio_members, group.radio_count)) return false;
    }
    copyToWorking(f.tv_members);
    copyToWorking(f.radio_members);
    return !r.failed();
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
        return {LoadStatus::BadMagic, {kMsgInvalidDataFormat, kMsgCheckSourceFile}};
    }
    readHeaderFields(r, header);
    FormatBlock format;
    format.format_id = r.u32();
    format.opaque_68 = r.u32();
    format.opaque_72 = r.u32();
    format.tail_length = r.u32();
    if (r.failed() || format.format_id != kFormatId) return refused();

    // The tables are parsed into a fresh database so that a refused file
    // leaves `db` alone; it is only allocated once the file looks like one.
    auto fresh = std::make_unique<ChannelDatabase>();
    fresh->header = header;
    fresh->format = format;
    readGeneral(r, fresh->general);
    if (r.failed() || !readSatellites(r, bytes, *fresh) || !readTransponders(r, bytes, *fresh))
        return refused();
    fresh->channel_section = readSectionHeader(r);
    if (r.failed() || !readChannelTable(r, bytes, fresh->tv) ||
        !readChannelTable(r, bytes, fresh->radio))
        return refused();
    if (!readFavourites(r, bytes, *fresh)) return refused();
    fresh->trailer = r.u16();
    if (r.failed()) return refused();

    db = std::move(*fresh);
    return {};
}

LoadResult loadChannelFile(const std::string& path, ChannelDatabase& db) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) return {LoadStatus::CannotOpen, {}};
    // A regular file is read in one go at its size; anything else (a pipe,
    // say) as far as it goes. A directory opens but cannot be read.
    struct stat st {};
    if (::fstat(::fileno(file.get()), &st) != 0 || S_ISDIR(st.st_mode))
        return {LoadStatus::CannotOpen, {}};
    std::vector<std::uint8_t> bytes;
    if (S_ISREG(st.st_mode))
        bytes.resize(std::min(static_cast<std::size_t>(st.st_size), kLongestFile));
    std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    bytes.resize(got);
    std::uint8_t more[4096];
    while (bytes.size() < kLongestFile && !std::ferror(file.get()) &&
           (got = std::fread(more, 1, sizeof more, file.get())) > 0)
        bytes.insert(bytes.end(), more, more + got);
    // Any read error is treated like a file that cannot be opened.
    if (std::ferror(file.get())) return {LoadStatus::CannotOpen, {}};
    return readChannelFile(bytes, db);
}

}  // namespace zoedit
