// Save's commit of the tab pages: the records that the current satellite, the
// current transponder and the selected channel become, read back from the
// page's texts. Numbers keep their low 16 bits; names are turned into the
// file's code page and cut to their field.
#pragma once

#include "database/channel_database.h"
#include "database/codepage.h"
#include "view/editor_state.h"

namespace zoedit {

SatelliteRecord committedSatellite(const SatelliteRecord& current, const FormValues& values,
                                   CodePage page);
// The drop lists' selected indexes; one outside the list keeps the field.
TransponderRecord committedTransponder(const TransponderRecord& current, const FormValues& values,
                                       int polarisation_index, int fec_index);
ChannelRecord committedChannel(const ChannelRecord& current, const FormValues& values,
                               CodePage page);

}  // namespace zoedit
