// The one-line progress report of a transfer run from a terminal.
#pragma once

#include <cstdint>
#include <string>

namespace zoedit::link {

// "1088 of 2112 bytes, 3.4 KB/s, 0:01 left". Without a total (0) the part
// after the count is the rate alone; rate and time left appear once some time
// has passed and some bytes moved.
std::string progressLine(std::uint64_t position, std::uint64_t total, double seconds);

}  // namespace zoedit::link
