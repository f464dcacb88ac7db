// Save's commit of the tab pages: the records that the current satellite, the
// current transponder and the selected channel become with the page's
// entries. A typed entry (its text differs from what the page showed) has
// been checked against its field's range before; it is read strictly. Names
// are turned into the file's code page and cut to their field.
#pragma once

#include "database/channel_database.h"
#include "database/codepage.h"
#include "view/editor_state.h"

namespace zoedit {

// What an entry the user left as shown stands for: the record's own value
// (an existing record: a stored value outside any range stays as it was),
// or the text itself (the values New put on the page).
enum class Untouched { KeepsRecord, ReadsText };

struct PageCommitInput {
    const FormValues& shown;
    const FormValues& now;
    CodePage code_page;
    Untouched untouched;
};

SatelliteRecord committedSatellite(const SatelliteRecord& current, const PageCommitInput& input);
// A drop-list selection outside the list keeps the field.
TransponderRecord committedTransponder(const TransponderRecord& current,
                                       const PageCommitInput& input);
ChannelRecord committedChannel(const ChannelRecord& current, const PageCommitInput& input);

}  // namespace zoedit
