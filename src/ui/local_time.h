// The calendar time of the machine's own time zone; the one call for it
// differs between platforms.
#pragma once

#include <ctime>

namespace zoedit::ui {

// `when` broken down in local time (all zero if the system cannot).
std::tm localTime(std::time_t when);

}  // namespace zoedit::ui
