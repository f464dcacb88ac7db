// Storing a page's values into one record.
#include "edit/edit_operations.h"
#include "edit/table_rows.h"

namespace zoedit::edit {

using namespace detail;

EditResult detail::checkSatelliteValues(const SatelliteRecord& values) {
    if (values.position > 3599)
        return EditResult::refused(EditOutcome::InvalidValue,
                                   format("An orbital position of %u tenths of a degree is "
                                          "beyond 359.9.",
                                          unsigned{values.position}));
    return EditResult::done();
}

EditResult detail::checkTransponderValues(const TransponderRecord& values) {
    if (values.polarisation > 1)
        return EditResult::refused(EditOutcome::InvalidValue,
                                   "The polarisation is neither horizontal nor vertical.");
    if (values.fec > 5)
        return EditResult::refused(EditOutcome::InvalidValue, "The FEC is not one of the six.");
    return EditResult::done();
}

EditResult setSatelliteFields(ChannelDatabase& db, TableCopy copy, std::size_t satellite,
                              const SatelliteRecord& values) {
    if (!db.satellites.contains(satellite))
        return noSuch("satellite", satellite, db.satellites.count);
    if (auto check = checkSatelliteValues(values); !check.ok()) return check;
    rowsOf(db.satellites, copy)[satellite] = values;
    return EditResult::done();
}

EditResult setTransponderFields(ChannelDatabase& db, TableCopy copy, std::size_t transponder,
                                const TransponderRecord& values) {
    if (!db.transponders.contains(transponder))
        return noSuch("transponder", transponder, db.transponders.count);
    if (auto check = checkTransponderValues(values); !check.ok()) return check;
    TransponderRecord& record = rowsOf(db.transponders, copy)[transponder];
    const std::uint8_t satellite = record.satellite_index;
    record = values;
    record.satellite_index = satellite;
    return EditResult::done();
}

EditResult setChannelFields(ChannelDatabase& db, TableCopy copy, ChannelKind kind, std::size_t row,
                            const ChannelRecord& values) {
    auto& table = db.channels(kind);
    if (!table.contains(row)) return noSuch(channelWord(kind), row, table.count);
    ChannelRecord& record = rowsOf(table, copy)[row];
    const std::uint16_t transponder = record.transponder_index;
    record = values;
    record.transponder_index = transponder;
    return EditResult::done();
}

EditResult setChannelLock(ChannelDatabase& db, TableCopy copy, ChannelKind kind, std::size_t row,
                          bool locked) {
    auto& table = db.channels(kind);
    if (!table.contains(row)) return noSuch(channelWord(kind), row, table.count);
    rowsOf(table, copy)[row].locked = locked ? 1 : 0;
    return EditResult::done();
}

}  // namespace zoedit::edit
