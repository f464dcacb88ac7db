#include "cli/database_csv.h"

#include <initializer_list>
#include <vector>

#include "cli/cli_support.h"
#include "database/channel_columns.h"
#include "database/csv_text.h"
#include "database/field_format.h"
#include "order/csv_reference.h"

namespace zoedit::cli {
namespace {

template <typename Fields>
void appendRow(std::string& out, const Fields& fields) {
    bool first = true;
    for (const auto& f : fields) {
        if (!first) out += ',';
        out += csvField(f);
        first = false;
    }
    out += '\n';
}

void appendRow(std::string& out, std::initializer_list<std::string> fields) {
    appendRow<std::initializer_list<std::string>>(out, fields);
}

void channelRows(std::string& out, const ChannelDatabase& db, ChannelKind kind, CodePage page) {
    std::vector<std::string> titles;
    for (const ChannelColumnSpec& column : kChannelColumns) titles.emplace_back(column.title);
    titles.emplace_back(order::kServiceIdTitle);
    titles.emplace_back(order::kPositionTitle);
    appendRow(out, titles);
    const auto& table = db.channels(kind);
    for (std::size_t i = 0; i < table.count; ++i) {
        std::vector<std::string> texts = channelRowTexts(db, kind, i, page);
        for (std::string& text : order::identityColumnTexts(db, table.primary[i]))
            texts.push_back(std::move(text));
        appendRow(out, texts);
    }
}

void satelliteRows(std::string& out, const ChannelDatabase& db, CodePage page) {
    appendRow(out, {"Index", "Name", "Position", "Band"});
    std::size_t i = 0;
    for (const auto& sat : db.satellites.records()) {
        const std::string band = sat.band == 0   ? "C"
                                 : sat.band == 1 ? "Ku"
                                                 : std::to_string(sat.band);
        appendRow(
            out, {std::to_string(i++), nameUtf8(sat.name, page), positionText(sat.position), band});
    }
}

void transponderRows(std::string& out, const ChannelDatabase& db, CodePage page) {
    appendRow(out, {"Index", "Satellite Name", "Frequency", "Polarisation", "Symbol Rate", "FEC",
                    "Network ID", "Frequency Order"});
    std::size_t i = 0;
    for (const auto& tp : db.transponders.records()) {
        const SatelliteRecord* sat = db.satelliteOf(tp);
        appendRow(out, {std::to_string(i++), sat ? nameUtf8(sat->name, page) : std::string(),
                        decimalText(tp.frequency), polarisationLetter(tp.polarisation),
                        decimalText(tp.symbol_rate), fecText(tp.fec), hex4Text(tp.network_id),
                        hex4Text(tp.frequency_order)});
    }
}

void favouriteRows(std::string& out, const ChannelDatabase& db, CodePage page) {
    appendRow(out, {"Group", "Group Name", "List", "Position", "Number", "Channel Name"});
    const std::size_t groups = std::min(db.favouriteGroupCount(), db.favourites.groups.size());
    for (std::size_t g = 0; g < groups; ++g) {
        const std::string group_name = nameUtf8(db.favourites.groups[g].name, page);
        for (auto kind : {ChannelKind::Tv, ChannelKind::Radio}) {
            const auto& table = db.channels(kind);
            int position = 0;
            for (auto member : db.groupMembers(g, kind)) {
                // A member past its table has no name to show.
                const std::string name =
                    table.contains(member) ? nameUtf8(table.primary[member].name, page) : "";
                appendRow(
                    out,
                    {std::to_string(g + 1), group_name, kind == ChannelKind::Tv ? "tv" : "radio",
                     favouritePositionText(++position), channelNumberText(member + 1u), name});
            }
        }
    }
}

}  // namespace

std::string listCsv(const ChannelDatabase& db, ListKind list, CodePage page) {
    std::string out;
    switch (list) {
        case ListKind::Tv:
            channelRows(out, db, ChannelKind::Tv, page);
            break;
        case ListKind::Radio:
            channelRows(out, db, ChannelKind::Radio, page);
            break;
        case ListKind::Satellites:
            satelliteRows(out, db, page);
            break;
        case ListKind::Transponders:
            transponderRows(out, db, page);
            break;
        case ListKind::Favourites:
            favouriteRows(out, db, page);
            break;
    }
    return out;
}

}  // namespace zoedit::cli
