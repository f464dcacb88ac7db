// How long the line needs to carry a number of bytes: every wait on the
// driver is bounded by this, so a line stopped by flow control or a vanished
// device ends a transfer instead of hanging it.
#pragma once

#include <chrono>
#include <cstddef>

#include "link/port_params.h"

namespace zoedit::link {

// Bits on the wire per character: start bit, data bits, parity bit, stop
// bits (1.5 counted as 2).
int bitsPerCharacter(const LineSettings& settings);

// Twice the time the line needs for `bytes` at its speed, plus a fixed
// allowance for the driver and the scheduler.
std::chrono::milliseconds lineTimeBound(std::size_t bytes, const LineSettings& settings);

}  // namespace zoedit::link
