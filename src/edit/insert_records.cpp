// New records: a channel at a row, a transponder before the current one, a
// satellite with its first transponder and channel at the ends.
#include "edit/edit_operations.h"
#include "edit/table_rows.h"

namespace zoedit::edit {

using namespace detail;

namespace {

EditResult checkRoomForChannel(const ChannelDatabase& db, ChannelKind kind) {
    if (db.channels(kind).count >= kChannelCapacity)
        return full(channelWord(kind), kChannelCapacity);
    return EditResult::done();
}

// Both the channel table and the favourite entries that follow its rows.
void openChannelRow(ChannelDatabase& db, TableCopy copy, ChannelKind kind, std::size_t row,
                    const ChannelRecord& record) {
    insertRow(db.channels(kind), copy, row, record);
    renumberMembers(db, copy, kind, [row](std::uint16_t v) -> std::uint16_t {
        return v >= row && v < 0xFFFF ? v + 1 : v;
    });
}

}  // namespace

EditResult insertChannel(ChannelDatabase& db, TableCopy copy, ChannelKind kind, std::size_t row,
                         const ChannelRecord& record) {
    if (auto room = checkRoomForChannel(db, kind); !room.ok()) return room;
    if (row > db.channels(kind).count)
        return noSuch(channelWord(kind), row, db.channels(kind).count);
    if (!db.transponders.contains(record.transponder_index))
        return noSuch("transponder", record.transponder_index, db.transponders.count);
    openChannelRow(db, copy, kind, row, record);
    return EditResult::done();
}

EditResult insertTransponder(ChannelDatabase& db, TableCopy copy, std::size_t transponder,
                             ChannelKind kind, std::size_t row) {
    if (db.transponders.count >= kTransponderCapacity)
        return full("transponder", kTransponderCapacity);
    if (auto room = checkRoomForChannel(db, kind); !room.ok()) return room;
    if (!db.transponders.contains(transponder))
        return noSuch("transponder", transponder, db.transponders.count);
    if (!db.channels(kind).contains(row))
        return noSuch(channelWord(kind), row, db.channels(kind).count);

    insertRow(db.transponders, copy, transponder, rowsOf(db.transponders, copy)[transponder]);
    for (ChannelKind k : {ChannelKind::Tv, ChannelKind::Radio}) {
        auto& table = db.channels(k);
        auto& rows = rowsOf(table, copy);
        for (std::size_t i = 0; i < table.count; ++i)
            if (rows[i].transponder_index > transponder) ++rows[i].transponder_index;
    }
    const ChannelRecord copied = rowsOf(db.channels(kind), copy)[row];
    openChannelRow(db, copy, kind, row, copied);
    return EditResult::done();
}

EditResult insertSatellite(ChannelDatabase& db, TableCopy copy, ChannelKind kind,
                           const SatelliteRecord& satellite, const TransponderRecord& transponder,
                           const ChannelRecord& channel) {
    if (db.satellites.count >= kMaxSatelliteCount) return full("satellite", kMaxSatelliteCount);
    if (db.transponders.count >= kTransponderCapacity)
        return full("transponder", kTransponderCapacity);
    if (auto room = checkRoomForChannel(db, kind); !room.ok()) return room;
    if (auto check = checkSatelliteValues(satellite); !check.ok()) return check;
    if (auto check = checkTransponderValues(transponder); !check.ok()) return check;

    const std::size_t s = db.satellites.count;
    insertRow(db.satellites, copy, s, satellite);
    TransponderRecord tp = transponder;
    tp.satellite_index = static_cast<std::uint8_t>(s);
    const std::size_t t = db.transponders.count;
    insertRow(db.transponders, copy, t, tp);
    ChannelRecord ch = channel;
    ch.transponder_index = static_cast<std::uint16_t>(t);
    insertRow(db.channels(kind), copy, db.channels(kind).count, ch);
    return EditResult::done();
}

}  // namespace zoedit::edit
