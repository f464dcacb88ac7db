// Any bytes: the reader must never crash, and whatever it accepts must save
// to a file that reads back and saves to the very same bytes again.
#include <cstdint>
#include <cstdlib>

#include "database/channel_file.h"

using namespace zoedit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ChannelDatabase db;
    if (!readChannelFile({data, size}, db).ok()) return 0;

    // Let the input choose the current transponder, so band derivation runs too.
    const int current = db.transponderCount() ? static_cast<int>(size % db.transponderCount()) : -1;
    const auto saved = buildChannelFile(db, {}, current);
    ChannelDatabase again;
    if (!readChannelFile(saved, again).ok()) std::abort();
    if (buildChannelFile(again, {}, current) != saved) std::abort();
    return 0;
}
