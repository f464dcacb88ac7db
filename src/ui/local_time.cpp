#include "ui/local_time.h"

namespace zoedit::ui {

std::tm localTime(std::time_t when) {
    std::tm local{};
#if defined(_WIN32)
    if (localtime_s(&local, &when) != 0) local = std::tm{};
#else
    if (localtime_r(&when, &local) == nullptr) local = std::tm{};
#endif
    return local;
}

}  // namespace zoedit::ui
