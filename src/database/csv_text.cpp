#include "database/csv_text.h"

namespace zoedit {

std::string csvField(std::string_view text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

CsvRecords readCsvRecords(std::string_view text) {
    CsvRecords out;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::size_t line = 1;
    std::size_t i = 0;
    const auto fault = [&](std::size_t at_line, const char* why) {
        out.records.clear();
        out.error_line = at_line;
        out.error = why;
        return std::move(out);
    };
    const auto atLineEnd = [&](std::size_t at) {
        return at == text.size() || text[at] == '\n' || text[at] == '\r';
    };
    while (i < text.size()) {
        CsvRecord record{line, {}};
        for (;;) {  // one field per turn
            std::string field;
            if (i < text.size() && text[i] == '"') {
                const std::size_t opened_on = line;
                ++i;
                for (;;) {
                    if (i == text.size()) return fault(opened_on, "a quoted field is not closed");
                    const char c = text[i++];
                    if (c == '"') {
                        if (i < text.size() && text[i] == '"') {
                            field += '"';
                            ++i;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n') ++line;
                    field += c;
                }
                if (!atLineEnd(i) && text[i] != ',')
                    return fault(line, "a quoted field goes on after its closing quote");
            } else {
                while (!atLineEnd(i) && text[i] != ',') {
                    if (text[i] == '"')
                        return fault(line,
                                     "a quote stands inside a field that does not start "
                                     "with one");
                    field += text[i++];
                }
            }
            record.fields.push_back(std::move(field));
            if (i < text.size() && text[i] == ',') {
                ++i;
                continue;
            }
            break;
        }
        // The record ends at "\n", "\r\n", a lone "\r" or the end of the text.
        if (i < text.size() && text[i] == '\r') ++i;
        if (i < text.size() && text[i] == '\n') ++i;
        ++line;
        out.records.push_back(std::move(record));
    }
    return out;
}

}  // namespace zoedit
