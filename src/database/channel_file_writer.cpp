// Building a channel file in memory, complete in one go: the working copy
// folded back, the band derived, every length settled from the final size,
// the byte sum and the CRC trailer computed over the final bytes. Writing the
// file, measuring it and writing it again would leave the same bytes.
#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>

#include "database/big_endian.h"
#include "database/channel_file.h"
#include "database/channel_file_layout.h"

namespace zoedit {
namespace {

using namespace layout;

// Writes big-endian fields into a buffer already sized to the file; the
// size is settled before writing, so there is no growth on the way. Reserved
// bytes are skipped over the zero-filled buffer.
class FileWriter {
public:
    explicit FileWriter(std::vector<std::uint8_t>& out) : p_(out.data()) {}
    void u8(std::uint8_t v) { *p_++ = v; }
    void u16(std::uint16_t v) {
        be::put16(p_, v);
        p_ += 2;
    }
    void u32(std::uint32_t v) {
        be::put32(p_, v);
        p_ += 4;
    }
    template <typename Byte>
    void bytes(std::span<const Byte> b) {
        std::memcpy(p_, b.data(), b.size());
        p_ += b.size();
    }
    void zeros(std::size_t n) { p_ += n; }
    const std::uint8_t* position() const { return p_; }

private:
    std::uint8_t* p_;
};

// Never write more records than a table holds, whatever its count says; the
// satellite count is a single byte in the file, so its records are bounded
// by that too, or the count and the records would disagree.
std::size_t boundedCount(std::size_t count, std::size_t limit) {
    return std::min(count, limit);
}

template <typename Record>
void foldNewRecords(DualTable<Record>& table) {
    const std::size_t n = boundedCount(table.count, table.capacity);
    for (std::size_t i = 0; i < n; ++i) table.copyToPrimary(i);
}

// Row i of a sorted list showed channel number numbers[i]: that channel's
// primary record takes the edited working record of the row. Applied in row
// order, after the new-record copy of the same row, so that with both modes
// set a later row's copy wins over an earlier one's.
void foldChannels(DualTable<ChannelRecord>& table, bool new_record_mode,
                  const std::vector<int>& numbers) {
    const std::size_t n = boundedCount(table.count, table.capacity);
    for (std::size_t i = 0; i < n; ++i) {
        if (new_record_mode) table.copyToPrimary(i);
        if (i < numbers.size() && numbers[i] >= 1 && static_cast<std::size_t>(numbers[i]) <= n)
            table.primary[static_cast<std::size_t>(numbers[i]) - 1] = table.working[i];
    }
}

void fold(ChannelDatabase& db, const SaveFolding& folding) {
    if (folding.new_record_mode) {
        foldNewRecords(db.satellites);
        foldNewRecords(db.transponders);
        foldNewRecords(db.favourites.tv_members);
        foldNewRecords(db.favourites.radio_members);
    }
    foldChannels(db.tv, folding.new_record_mode, folding.tv_sorted_numbers);
    foldChannels(db.radio, folding.new_record_mode, folding.radio_sorted_numbers);
}

void writeSectionHeader(FileWriter& w, const SectionHeader& s) {
    w.u8(s.tag);
    w.u32(s.length);
}

void writeHeader(FileWriter& w, const FileHeader& h) {
    w.u32(h.magic);
    w.u16(h.usage_type);
    w.u16(h.checksum);
    w.u32(h.opaque_8);
    w.u32(h.data_length);
    w.u32(h.hw_version);
    w.u32(h.sw_version);
    w.u32(h.opaque_24);
    w.zeros(4);  // secondary_length is always written as 0; the held value stays
    w.bytes(std::span<const char>(h.model_id.data(), kModelIdSize));
}

void writeFormat(FileWriter& w, const FormatBlock& f) {
    w.u32(f.format_id);
    w.u32(f.opaque_68);
    w.u32(f.opaque_72);
    w.u32(f.tail_length);
}

void writeGeneral(FileWriter& w, const GeneralSection& g) {
    writeSectionHeader(w, g.section);
    w.u16(g.word1);
    w.u16(g.word2);
    w.u16(g.word3);
    w.u16(g.favourite_group_count);
    w.u16(g.word5);
    w.bytes(std::span<const std::uint8_t>(g.raw_pairs));
}

void writeSatellites(FileWriter& w, const ChannelDatabase& db, std::size_t count) {
    writeSectionHeader(w, db.satellite_section);
    w.u8(static_cast<std::uint8_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const SatelliteRecord& s = db.satellites.primary[i];
        w.u8(s.band);
        w.u16(s.position);
        w.bytes(std::span<const char>(s.name));
        w.zeros(kReservedSize);
    }
}

void writeTransponders(FileWriter& w, const ChannelDatabase& db, std::size_t count) {
    writeSectionHeader(w, db.transponder_section);
    w.u16(static_cast<std::uint16_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const TransponderRecord& t = db.transponders.primary[i];
        w.u16(t.network_id);
        w.u16(t.frequency_order);
        w.u16(t.frequency);
        w.u16(t.symbol_rate);
        w.u8(t.polarisation);
        w.u8(t.fec);
        w.u8(t.satellite_index);
        w.zeros(kReservedSize);
    }
}

void writeChannelTable(FileWriter& w, const DualTable<ChannelRecord>& table, std::size_t count) {
    w.u16(static_cast<std::uint16_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const ChannelRecord& c = table.primary[i];
        w.u16(c.transponder_index);
        w.u16(c.service_id);
        w.bytes(std::span<const char>(c.name));
        w.u16(c.code_pid);
        w.u16(c.video_pid);
        w.u16(c.audio_pid);
        w.u16(c.fourth_pid);
        w.u8(c.pid_mode);
        w.u8(c.scrambled);
        w.u8(c.locked);
        w.zeros(kReservedSize);
    }
}

// Member entries come from the flat list at each group's start; an entry the
// list cannot hold (only possible when the counts were corrupted in memory)
// is written as 0 rather than read from outside the list.
void writeMembers(FileWriter& w, const DualTable<std::uint16_t>& list, std::size_t start,
                  std::uint16_t count) {
    w.u16(count);
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t i = start + k;
        w.u16(i < list.primary.size() ? list.primary[i] : 0);
        w.zeros(kReservedSize);
    }
}

void writeFavourites(FileWriter& w, const ChannelDatabase& db, std::size_t groups) {
    const FavouriteSection& f = db.favourites;
    writeSectionHeader(w, f.section);
    std::size_t tv_start = 0;
    std::size_t radio_start = 0;
    for (std::size_t g = 0; g < groups; ++g) {
        const FavouriteGroup& group = f.groups[g];
        w.bytes(std::span<const char>(group.name));
        writeMembers(w, f.tv_members, tv_start, group.tv_count);
        writeMembers(w, f.radio_members, radio_start, group.radio_count);
        tv_start += group.tv_count;
        radio_start += group.radio_count;
    }
}

}  // namespace

std::uint16_t crc16Arc(std::span<const std::uint8_t> bytes, std::uint16_t initial) {
    // Eight bytes per step (slicing-by-8): the trailer covers the whole file,
    // about a megabyte at full capacity.
    static const auto tables = [] {
        std::array<std::array<std::uint16_t, 256>, 8> t{};
        for (unsigned i = 0; i < 256; ++i) {
            unsigned crc = i;
            for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
            t[0][i] = static_cast<std::uint16_t>(crc);
        }
        for (unsigned i = 0; i < 256; ++i)
            for (std::size_t k = 1; k < 8; ++k)
                t[k][i] = static_cast<std::uint16_t>((t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF]);
        return t;
    }();
    unsigned crc = initial;
    const std::uint8_t* p = bytes.data();
    std::size_t n = bytes.size();
    for (; n >= 8; n -= 8, p += 8) {
        crc ^= p[0] | (unsigned{p[1]} << 8);
        crc = tables[7][crc & 0xFF] ^ tables[6][crc >> 8] ^ tables[5][p[2]] ^ tables[4][p[3]] ^
              tables[3][p[4]] ^ tables[2][p[5]] ^ tables[1][p[6]] ^ tables[0][p[7]];
    }
    for (; n > 0; --n, ++p) crc = (crc >> 8) ^ tables[0][(crc ^ *p) & 0xFF];
    return static_cast<std::uint16_t>(crc);
}

std::uint16_t byteSum16(std::span<const std::uint8_t> bytes) {
    // Eight bytes per step in four 16-bit lanes; 128 steps add at most
    // 128 * 2 * 255 to a lane, so the lanes are folded before they overflow.
    constexpr std::uint64_t kEvenBytes = 0x00FF00FF00FF00FFull;
    const std::uint8_t* p = bytes.data();
    std::size_t n = bytes.size();
    std::uint64_t total = 0;
    while (n >= 8) {
        const std::size_t steps = std::min<std::size_t>(n / 8, 128);
        std::uint64_t lanes = 0;
        for (std::size_t i = 0; i < steps; ++i, p += 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            lanes += (word & kEvenBytes) + ((word >> 8) & kEvenBytes);
        }
        n -= steps * 8;
        total +=
            (lanes & 0xFFFF) + ((lanes >> 16) & 0xFFFF) + ((lanes >> 32) & 0xFFFF) + (lanes >> 48);
    }
    for (; n > 0; --n) total += *p++;
    return static_cast<std::uint16_t>(total);
}

std::vector<std::uint8_t> buildChannelFile(ChannelDatabase& db, const SaveFolding& folding,
                                           int current_transponder) {
    fold(db, folding);
    // The band reaches the satellite records of the final file even though
    // the satellites precede the transponders in it.
    if (current_transponder >= 0) deriveBand(db, static_cast<std::size_t>(current_transponder));

    const std::size_t satellites =
        boundedCount(db.satellites.count, std::min(db.satellites.capacity, kMaxSatelliteCount));
    const std::size_t transponders = boundedCount(db.transponders.count, db.transponders.capacity);
    const std::size_t tv = boundedCount(db.tv.count, db.tv.capacity);
    const std::size_t radio = boundedCount(db.radio.count, db.radio.capacity);
    const std::size_t groups =
        boundedCount(db.general.favourite_group_count, db.favourites.groups.size());
    db.general.favourite_group_count = static_cast<std::uint16_t>(groups);

    std::size_t members = 0;
    for (std::size_t g = 0; g < groups; ++g)
        members +=
            std::size_t{db.favourites.groups[g].tv_count} + db.favourites.groups[g].radio_count;

    db.satellite_section.length = static_cast<std::uint32_t>(1 + kSatelliteRecordSize * satellites);
    db.transponder_section.length =
        static_cast<std::uint32_t>(2 + kTransponderRecordSize * transponders);
    db.channel_section.length = static_cast<std::uint32_t>(4 + kChannelRecordSize * (tv + radio));
    db.favourites.section.length =
        static_cast<std::uint32_t>(kGroupFixedSize * groups + kMemberEntrySize * members);

    const std::size_t size = kEmptyFileSize + db.satellite_section.length - 1 +
                             db.transponder_section.length - 2 + db.channel_section.length - 4 +
                             db.favourites.section.length;
    db.header.data_length = static_cast<std::uint32_t>(size - kHeaderSize);
    db.format.tail_length = static_cast<std::uint32_t>(size - kFormatBlockEnd);

    std::vector<std::uint8_t> out(size);
    FileWriter w(out);
    writeHeader(w, db.header);
    writeFormat(w, db.format);
    writeGeneral(w, db.general);
    writeSatellites(w, db, satellites);
    writeTransponders(w, db, transponders);
    w.u8(db.channel_section.tag);
    w.u32(db.channel_section.length);
    writeChannelTable(w, db.tv, tv);
    writeChannelTable(w, db.radio, radio);
    writeFavourites(w, db, groups);
    w.zeros(2);  // the trailer, filled in below
    assert(w.position() == out.data() + out.size());

    const std::span<const std::uint8_t> covered(out.data() + kHeaderSize,
                                                out.size() - kHeaderSize - 2);
    const std::uint16_t crc = crc16Arc(covered);
    be::put16(&out[out.size() - 2], crc);
    db.header.checksum = byteSum16(std::span<const std::uint8_t>(out).subspan(kHeaderSize));
    be::put16(&out[6], db.header.checksum);
    return out;
}

}  // namespace zoedit
