#include "order/csv_reference.h"

#include <vector>

#include "database/csv_text.h"
#include "database/field_format.h"

namespace zoedit::order {
namespace {

constexpr std::string_view kNameTitle = "Channel Name";
constexpr std::string_view kTransponderTitle = "Transponder";

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A field as a message quotes it, cut short when it is long.
std::string quoted(std::string_view text) {
    constexpr std::size_t kShown = 40;
    if (text.size() > kShown) {
        std::size_t cut = kShown;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        return "\"" + std::string(text.substr(0, cut)) + "...\"";
    }
    return "\"" + std::string(text) + "\"";
}

// 1 to 4 hex digits, "0x" before them allowed.
std::optional<std::uint16_t> readServiceId(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    if (text.empty() || text.size() > 4) return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        if (hexValue(c) < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(hexValue(c));
    }
    return static_cast<std::uint16_t>(value);
}

// Decimal digits, at most `max`; the digits are consumed from `text`.
std::optional<unsigned> readDecimal(std::string_view& text, unsigned max) {
    std::size_t n = 0;
    unsigned value = 0;
    while (n < text.size() && isDigit(text[n])) {
        value = value * 10 + static_cast<unsigned>(text[n] - '0');
        if (value > max) return std::nullopt;
        ++n;
    }
    if (n == 0) return std::nullopt;
    text.remove_prefix(n);
    return value;
}

// "019.2E" or "007.0W" (one decimal, or none), as tenths of a degree east.
std::optional<std::uint16_t> readPosition(std::string_view text) {
    const auto degrees = readDecimal(text, 360);
    if (!degrees) return std::nullopt;
    unsigned tenths = *degrees * 10;
    if (text.size() >= 2 && text[0] == '.' && isDigit(text[1])) {
        tenths += static_cast<unsigned>(text[1] - '0');
        text.remove_prefix(2);
    }
    if (text.size() != 1) return std::nullopt;
    if (text[0] == 'E' || text[0] == 'e') {
        if (tenths > 3599) return std::nullopt;
        return static_cast<std::uint16_t>(tenths);
    }
    if (text[0] == 'W' || text[0] == 'w') {
        if (tenths == 0 || tenths > 1800) return std::nullopt;
        return static_cast<std::uint16_t>(3600 - tenths);
    }
    return std::nullopt;
}

struct TransponderText {
    bool bad = false;
    std::optional<std::uint16_t> frequency;
    std::optional<std::uint8_t> polarisation;  // none when the text shows no letter
};

// "11747 H 27500 3/4": the frequency and the polarisation letter are read.
TransponderText readTransponder(std::string_view text) {
    TransponderText out;
    if (text.empty()) return out;
    out.frequency = readDecimal(text, 0xFFFF);
    if (!out.frequency || (!text.empty() && text[0] != ' ')) {
        out.bad = true;
        return out;
    }
    if (text.size() >= 2 && (text[1] == 'H' || text[1] == 'V') &&
        (text.size() == 2 || text[2] == ' '))
        out.polarisation = text[1] == 'H' ? 0 : 1;
    return out;
}

struct Columns {
    std::size_t count = 0;
    std::optional<std::size_t> name, transponder, service_id, position;
};

Columns columnsOf(const std::vector<std::string>& titles) {
    Columns columns;
    columns.count = titles.size();
    for (std::size_t c = 0; c < titles.size(); ++c) {
        const std::string_view title = trimmed(titles[c]);
        const auto first = [&](std::optional<std::size_t>& column, std::string_view wanted) {
            if (!column && title == wanted) column = c;
        };
        first(columns.name, kNameTitle);
        first(columns.transponder, kTransponderTitle);
        first(columns.service_id, kServiceIdTitle);
        first(columns.position, kPositionTitle);
    }
    return columns;
}

bool allEmpty(const std::vector<std::string>& fields) {
    for (const auto& f : fields)
        if (!f.empty()) return false;
    return true;
}

// Why the row is bad, or empty when `row` was filled from it.
std::string readRow(const std::vector<std::string>& fields, const Columns& columns, CodePage page,
                    ReferenceChannel& row) {
    if (fields.size() != columns.count)
        return "it has " + std::to_string(fields.size()) + " fields where the first line names " +
               std::to_string(columns.count) + " columns";
    const std::string& name = fields[*columns.name];
    bool lossless = true;
    row.name = fromUtf8(name, page, &lossless);
    if (!lossless || row.name.find('\0') != std::string::npos)
        return "the channel name " + quoted(name) + " has characters the code page cannot hold";
    if (row.name.size() >= kChannelNameSize)
        return "the channel name " + quoted(name) + " is longer than the " +
               std::to_string(kChannelNameSize - 1) + " letters a name holds";

    TransponderText tp;
    if (columns.transponder) {
        tp = readTransponder(trimmed(fields[*columns.transponder]));
        if (tp.bad)
            return "the transponder " + quoted(fields[*columns.transponder]) +
                   " does not begin with its frequency in MHz";
    }
    std::optional<std::uint16_t> service_id;
    if (columns.service_id) {
        const std::string_view text = trimmed(fields[*columns.service_id]);
        if (!text.empty() && !(service_id = readServiceId(text)))
            return "the service id " + quoted(text) +
                   " is not a hexadecimal number of at most four digits";
    }
    std::optional<std::uint16_t> position;
    if (columns.position) {
        const std::string_view text = trimmed(fields[*columns.position]);
        if (!text.empty() && !(position = readPosition(text)))
            return "the satellite position " + quoted(text) + " is not a position such as " +
                   positionText(192) + " or " + positionText(3530);
    }
    if (tp.frequency && tp.polarisation && service_id && position)
        row.identity = ChannelIdentity{*position, *tp.frequency, *tp.polarisation, *service_id};
    return {};
}

}  // namespace

std::array<std::string, 2> identityColumnTexts(const ChannelDatabase& db,
                                               const ChannelRecord& channel) {
    const TransponderRecord* tp = db.transponderOf(channel);
    const SatelliteRecord* sat = tp ? db.satelliteOf(*tp) : nullptr;
    return {hex4Text(channel.service_id),
            sat && sat->position <= 3599 ? positionText(sat->position) : std::string()};
}

std::string CsvReference::message() const {
    return "line " + std::to_string(line) + ": " + reason;
}

CsvReference readCsvReference(std::string_view text, ChannelKind kind, CodePage page) {
    CsvReference out;
    const auto refuse = [&out](std::size_t line, std::string reason) {
        out.line = line;
        out.reason = std::move(reason);
        return std::move(out);
    };
    const CsvRecords records = readCsvRecords(text);
    if (!records.ok()) return refuse(records.error_line, records.error);

    std::optional<Columns> columns;
    std::vector<ReferenceChannel> rows;
    for (const CsvRecord& record : records.records) {
        if (allEmpty(record.fields)) continue;
        if (!columns) {
            columns = columnsOf(record.fields);
            if (!columns->name)
                return refuse(record.line, "the first line must name the columns, \"" +
                                               std::string(kNameTitle) + "\" among them");
            continue;
        }
        if (rows.size() == kChannelCapacity)
            return refuse(record.line,
                          "a list holds at most " + std::to_string(kChannelCapacity) + " channels");
        ReferenceChannel row;
        if (std::string why = readRow(record.fields, *columns, page, row); !why.empty())
            return refuse(record.line, std::move(why));
        rows.push_back(std::move(row));
    }
    if (!columns) return refuse(1, "the CSV is empty: it names no columns");
    OrderReference& reference = out.reference.emplace();
    (kind == ChannelKind::Tv ? reference.tv : reference.radio) = std::move(rows);
    return out;
}

}  // namespace zoedit::order
