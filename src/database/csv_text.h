// CSV as the program writes it and reads it back: fields separated by
// commas, records ending in "\n" (or "\r\n"), a field holding a comma, a
// quote, a line break or an outer blank quoted with its quotes doubled.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zoedit {

// One field, quoted when it needs to be.
std::string csvField(std::string_view text);

struct CsvRecord {
    std::size_t line = 0;  // 1-based line on which the record starts
    std::vector<std::string> fields;
};

struct CsvRecords {
    std::vector<CsvRecord> records;
    // When the text is not CSV: the line of the fault and what it is.
    std::size_t error_line = 0;
    std::string error;

    bool ok() const { return error.empty(); }
};

// Every record of `text`, an empty line giving a record of one empty field.
// A UTF-8 byte order mark at the start is skipped. A quote inside a field
// that does not start with one, text after a closing quote and a quoted
// field that never closes are faults.
CsvRecords readCsvRecords(std::string_view text);

}  // namespace zoedit
