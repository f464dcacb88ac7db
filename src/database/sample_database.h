// A realistic channel database for demonstrations, tests and benchmarks:
// real satellites at their orbital positions, plausible transponders and
// invented channel names. Always the same bytes for the same size.
#pragma once

#include "database/channel_database.h"

namespace zoedit {

enum class SampleSize {
    Typical,  // a dozen satellites, some hundreds of channels, a few favourite groups
    Full,     // every table at its capacity
};

// Replaces the whole content of `db`. Both copies of every table hold the
// same records and every link is valid. Section lengths, data_length,
// tail_length, checksum and the trailer are left for the writer to settle.
void buildSampleDatabase(ChannelDatabase& db, SampleSize size);

}  // namespace zoedit
