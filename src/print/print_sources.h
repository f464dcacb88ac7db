// Where a printed channel list comes from: the list control as the user
// arranged it on screen, or a channel table with the lists' default columns
// when no list is on screen (printing from the command line).
#pragma once

#include "database/channel_database.h"
#include "database/codepage.h"
#include "print/list_printer.h"
#include "ui/list_control.h"

namespace zoedit::print {

// Average character width of a list's font on a 96 dpi screen, standing in
// for the list window when there is none.
inline constexpr int kReferenceScreenCharWidth = 7;

// The list's headings, widths, column order and item texts. The list must
// outlive the print job.
PrintSource listControlSource(const ui::ListControl& list, int screenCharWidth);

// Record i of the primary table as row i of the list would show it, names
// decoded through `codePage`; default widths, the reference character width.
PrintSource channelTableSource(const ChannelDatabase& db, ChannelKind kind, CodePage codePage);

}  // namespace zoedit::print
