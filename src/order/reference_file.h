// A reference file as the user names it: a channel file, or the CSV of one
// list. Read once; a CSV is turned into a reference for the list the user
// says it holds, which may change while a dialog shows it.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "database/channel_database.h"
#include "database/codepage.h"
#include "order/order_reference.h"

namespace zoedit::order {

struct ReferenceSource {
    std::string path;
    std::shared_ptr<const ChannelDatabase> database;  // a channel file
    std::string csv;                                  // otherwise the CSV's text
    bool isChannelFile() const { return database != nullptr; }
};

struct ReadReferenceSource {
    std::optional<ReferenceSource> source;
    // "cannot read PATH: reason", or "PATH: " and the reader's messages.
    std::string error;
};

// A file whose first bytes are the channel file's magic, or whose name ends
// in .bin or .sgn, is read as a channel file; anything else as a CSV.
ReadReferenceSource readReferenceSource(const std::string& path);

struct ReferenceResult {
    std::optional<OrderReference> reference;
    std::string error;  // "PATH: line 7: ..." for a refused CSV
};

// The reference a source gives; a CSV is read as list `csv_list`.
ReferenceResult referenceOf(const ReferenceSource& source, ChannelKind csv_list, CodePage page);

}  // namespace zoedit::order
