// Parsing a channel file held in memory. Every count is checked against its
// table's capacity and against the bytes left before anything is stored, so a
// short or boastful file is refused without reading past its end.
//
// The file ends with the 2-byte trailer that follows the favourite section;
// bytes after it are ignored (a file fetched from the receiver may be padded
// out to whole transfer blocks).
#include <cerrno>
#include <cstdio>
#include <memory>

#include "database/big_endian.h"
#include "database/channel_file.h"

namespace zoedit {
namespace {

constexpr std::size_t kSatelliteRecordSize = 52;
constexpr std::size_t kTransponderRecordSize = 16;
constexpr std::size_t kChannelRecordSize = 44;
constexpr std::size_t kMemberEntrySize = 7;
constexpr std::size_t kReservedSize = 5;

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

void readGeneral(be::Reader& r, GeneralSection& g) {
    g.section = readSectionHeader(r);
    g.word1 = r.u16();
    g.word2 = r.u16();
    g.word3 = r.u16();
    g.favourite_group_count = r.u16();
    g.word5 = r.u16();
    r.bytes(std::span<std::uint8_t>(g.raw_pairs));
}

bool readSatellites(be::Reader& r, ChannelDatabase& db) {
    db.satellite_section = readSectionHeader(r);
    const std::size_t count = r.u8();
    if (!fits(r, count, kSatelliteRecordSize)) return false;
    db.satellites.reset(count);
    for (std::size_t i = 0; i < count; ++i) {
        SatelliteRecord& s = db.satellites.primary[i];
        s.band = r.u8();
        s.position = r.u16();
        r.bytes(std::span<char>(s.name));
        r.skip(kReservedSize);
    }
    db.satellites.copyAllToWorking();
    return !r.failed();
}

bool readTransponders(be::Reader& r, ChannelDatabase& db) {
    db.transponder_section = readSectionHeader(r);
    const std::size_t count = r.u16();
    if (count > kTransponderCapacity || !fits(r, count, kTransponderRecordSize)) return false;
    db.transponders.reset(count);
    for (std::size_t i = 0; i < count; ++i) {
        TransponderRecord& t = db.transponders.primary[i];
        t.network_id = r.u16();
        t.frequency_order = r.u16();
        t.frequency = r.u16();
        t.symbol_rate = r.u16();
        t.polarisation = r.u8();
        t.fec = r.u8();
        t.satellite_index = r.u8();
        r.skip(kReservedSize);
    }
    db.transponders.copyAllToWorking();
    return !r.failed();
}

bool readChannelTable(be::Reader& r, DualTable<ChannelRecord>& table) {
    const std::size_t count = r.u16();
    if (count > kChannelCapacity || !fits(r, count, kChannelRecordSize)) return false;
    table.reset(count);
    for (std::size_t i = 0; i < count; ++i) {
        ChannelRecord& c = table.primary[i];
        c.transponder_index = r.u16();
        c.service_id = r.u16();
        r.bytes(std::span<char>(c.name));
        c.code_pid = r.u16();
        c.video_pid = r.u16();
        c.audio_pid = r.u16();
        c.fourth_pid = r.u16();
        c.pid_mode = r.u8();
        c.scrambled = r.u8();
        c.locked = r.u8();
        r.skip(kReservedSize);
    }
    table.copyAllToWorking();
    return !r.failed();
}

// Appends one group's member entries to the flat list of their kind.
bool readMembers(be::Reader& r, DualTable<std::uint16_t>& list, std::uint16_t& group_count) {
    group_count = r.u16();
    const std::size_t count = group_count;
    if (count > list.capacity - list.count || !fits(r, count, kMemberEntrySize)) return false;
    for (std::size_t i = 0; i < count; ++i) {
        list.primary[list.count++] = r.u16();
        r.skip(kReservedSize);
    }
    return !r.failed();
}

bool readFavourites(be::Reader& r, ChannelDatabase& db) {
    FavouriteSection& f = db.favourites;
    f.section = readSectionHeader(r);
    const std::size_t groups = db.general.favourite_group_count;
    if (groups > kFavouriteGroupCapacity) return false;
    f.tv_members.reset(0);
    f.radio_members.reset(0);
    for (std::size_t g = 0; g < groups; ++g) {
        FavouriteGroup& group = f.groups[g];
        r.bytes(std::span<char>(group.name));
        if (!readMembers(r, f.tv_members, group.tv_count)) return false;
        if (!readMembers(r, f.radio_members, group.radio_count)) return false;
    }
    f.tv_members.copyAllToWorking();
    f.radio_members.copyAllToWorking();
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
    // Parsed into a fresh database so that a refused file leaves `db` alone.
    auto fresh = std::make_unique<ChannelDatabase>();
    fresh->header.magic = r.u32();
    if (r.failed() || fresh->header.magic != kFileMagic) {
        // The old loader went on to read the format id from offset 4, which
        // would accept a file whose bytes 4..7 happen to hold it; a wrong magic
        // is always refused here, with both of its messages.
        return {LoadStatus::BadMagic, {kMsgInvalidDataFormat, kMsgCheckSourceFile}};
    }
    readHeaderFields(r, fresh->header);

    FormatBlock& f = fresh->format;
    f.format_id = r.u32();
    f.opaque_68 = r.u32();
    f.opaque_72 = r.u32();
    f.tail_length = r.u32();
    if (r.failed() || f.format_id != kFormatId) return refused();

    readGeneral(r, fresh->general);
    if (r.failed() || !readSatellites(r, *fresh) || !readTransponders(r, *fresh)) return refused();
    fresh->channel_section = readSectionHeader(r);
    if (r.failed() || !readChannelTable(r, fresh->tv) || !readChannelTable(r, fresh->radio))
        return refused();
    if (!readFavourites(r, *fresh)) return refused();
    fresh->trailer = r.u16();
    if (r.failed()) return refused();

    db = std::move(*fresh);
    return {};
}

LoadResult loadChannelFile(const std::string& path, ChannelDatabase& db) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) return {LoadStatus::CannotOpen, {}};
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[64 * 1024];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.insert(bytes.end(), buffer, buffer + n);
        if (n < sizeof buffer) break;
    }
    // A directory opens but cannot be read; treat any read error like a
    // file that cannot be opened.
    if (std::ferror(file.get())) return {LoadStatus::CannotOpen, {}};
    return readChannelFile(bytes, db);
}

}  // namespace zoedit
