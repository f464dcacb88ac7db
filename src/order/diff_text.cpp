#include "order/diff_text.h"

#include "database/field_format.h"

namespace zoedit::order {
namespace {

const char* listWord(ChannelKind kind) {
    return kind == ChannelKind::Tv ? "TV" : "radio";
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string channelName(const ChannelDatabase& db, ChannelKind kind, std::size_t index,
                        CodePage page) {
    // A favourite entry may name a channel outside its table.
    const auto& table = db.channels(kind);
    return index < table.count ? toUtf8(nameBytes(table.primary[index].name), page) : std::string();
}

std::string fieldsText(const std::vector<FieldChange>& fields) {
    std::string text;
    for (const FieldChange& f : fields) {
        if (!text.empty()) text += "; ";
        text += std::string(fieldName(f.field)) + " " + (f.before.empty() ? "none" : f.before) +
                " -> " + (f.after.empty() ? "none" : f.after);
    }
    return text;
}

std::string transponderDetails(const ChannelDatabase& db, std::size_t t) {
    const TransponderRecord& tp = db.transponders.primary[t];
    return transponderText(db, t) + " network " + hex4Text(tp.network_id) + " order " +
           hex4Text(tp.frequency_order);
}

void addSide(std::string& text, const char* word, const GroupSideDiff& side,
             const ChannelDatabase& before, const ChannelDatabase& after, ChannelKind kind,
             CodePage page) {
    if (side.empty()) return;
    text += std::string("; ") + word + ":";
    for (std::size_t c : side.added)
        text += " +" + channelNumberText(c + 1) + " " + quoted(channelName(after, kind, c, page));
    for (std::size_t c : side.removed)
        text += " -" + channelNumberText(c + 1) + " " + quoted(channelName(before, kind, c, page));
    if (side.reordered) text += " order changed";
}

}  // namespace

std::string satelliteText(const ChannelDatabase& db, std::size_t s, CodePage page) {
    const SatelliteRecord& sat = db.satellites.primary[s];
    return positionText(sat.position) + " " + quoted(toUtf8(nameBytes(sat.name), page));
}

std::string transponderText(const ChannelDatabase& db, std::size_t t) {
    const TransponderRecord& tp = db.transponders.primary[t];
    const SatelliteRecord* sat = db.satelliteOf(tp);
    std::string text = sat ? positionText(sat->position) + " " : std::string();
    text += decimalText(tp.frequency) + " " + polarisationLetter(tp.polarisation) + " " +
            decimalText(tp.symbol_rate) + " " + fecText(tp.fec);
    return text;
}

const char* diffKindWord(DiffKind kind) {
    switch (kind) {
        case DiffKind::Added:
            return "added";
        case DiffKind::Removed:
            return "removed";
        case DiffKind::Moved:
            return "moved";
        case DiffKind::Renamed:
            return "renamed";
        case DiffKind::Changed:
            return "changed";
    }
    return "";
}

std::size_t diffCount(const DatabaseDiff& diff, DiffKind kind) {
    std::size_t n = 0;
    for (const ListDiff& l : diff.lists) switch (kind) {
            case DiffKind::Added:
                n += l.added.size();
                break;
            case DiffKind::Removed:
                n += l.removed.size();
                break;
            case DiffKind::Moved:
                n += l.moved.size();
                break;
            case DiffKind::Renamed:
                n += l.renamed.size();
                break;
            case DiffKind::Changed:
                n += l.changed.size();
                break;
        }
    return n;
}

std::vector<DiffRow> diffRows(const DatabaseDiff& diff, DiffKind kind,
                              const ChannelDatabase& before, const ChannelDatabase& after,
                              CodePage page) {
    std::vector<DiffRow> rows;
    for (const ListDiff& l : diff.lists) {
        const ChannelKind list = l.kind;
        const auto pairRow = [&](const RecordPair& pair, std::string details) {
            rows.push_back({list, pair.before, pair.after,
                            channelName(after, list, pair.after, page), std::move(details)});
        };
        switch (kind) {
            case DiffKind::Added:
                for (std::size_t c : l.added)
                    rows.push_back({list, std::nullopt, c, channelName(after, list, c, page), {}});
                break;
            case DiffKind::Removed:
                for (std::size_t c : l.removed)
                    rows.push_back({list, c, std::nullopt, channelName(before, list, c, page), {}});
                break;
            case DiffKind::Moved:
                for (const RecordPair& pair : l.moved) pairRow(pair, {});
                break;
            case DiffKind::Renamed:
                for (const RecordPair& pair : l.renamed)
                    pairRow(pair, quoted(channelName(before, list, pair.before, page)) + " -> " +
                                      quoted(channelName(after, list, pair.after, page)));
                break;
            case DiffKind::Changed:
                for (const ChangedChannel& c : l.changed) pairRow(c.pair, fieldsText(c.fields));
                break;
        }
    }
    return rows;
}

std::string rowNumbersText(const DiffRow& row) {
    std::string text = listWord(row.list);
    if (row.before) text += " " + channelNumberText(*row.before + 1);
    if (row.before && row.after) text += " ->";
    if (row.after) text += " " + channelNumberText(*row.after + 1);
    return text;
}

std::string recordCountsText(const RecordDiff& diff) {
    return std::to_string(diff.added.size()) + " added, " + std::to_string(diff.removed.size()) +
           " removed, " + std::to_string(diff.changed.size()) + " changed" +
           (diff.reordered ? ", reordered" : "");
}

std::vector<std::string> recordLines(const DatabaseDiff& diff, const ChannelDatabase& before,
                                     const ChannelDatabase& after, CodePage page) {
    std::vector<std::string> lines;
    for (std::size_t s : diff.satellites.added)
        lines.push_back("added satellite " + satelliteText(after, s, page));
    for (std::size_t s : diff.satellites.removed)
        lines.push_back("removed satellite " + satelliteText(before, s, page));
    for (const RecordPair& p : diff.satellites.changed)
        lines.push_back("changed satellite " + satelliteText(before, p.before, page) + " -> " +
                        satelliteText(after, p.after, page));
    if (diff.satellites.reordered) lines.push_back("satellites in another order");
    for (std::size_t t : diff.transponders.added)
        lines.push_back("added transponder " + transponderText(after, t));
    for (std::size_t t : diff.transponders.removed)
        lines.push_back("removed transponder " + transponderText(before, t));
    for (const RecordPair& p : diff.transponders.changed)
        lines.push_back("changed transponder " + transponderDetails(before, p.before) + " -> " +
                        transponderDetails(after, p.after));
    if (diff.transponders.reordered) lines.push_back("transponders in another order");
    for (const GroupDiff& g : diff.groups) {
        std::string text = "group " + std::to_string(g.group + 1) + " ";
        if (!g.before_name)
            text += "added " + quoted(toUtf8(*g.after_name, page));
        else if (!g.after_name)
            text += "removed " + quoted(toUtf8(*g.before_name, page));
        else if (g.renamed())
            text += "renamed " + quoted(toUtf8(*g.before_name, page)) + " -> " +
                    quoted(toUtf8(*g.after_name, page));
        else
            text += quoted(toUtf8(*g.after_name, page));
        addSide(text, "TV", g.tv, before, after, ChannelKind::Tv, page);
        addSide(text, "radio", g.radio, before, after, ChannelKind::Radio, page);
        lines.push_back(std::move(text));
    }
    return lines;
}

}  // namespace zoedit::order
