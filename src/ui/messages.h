// The program's own window messages and the way they reach the user-interface
// thread. Any thread may post; the message is handled later on the UI thread.
#pragma once

#include <cstdint>

namespace zoedit::ui {

inline constexpr unsigned WM_USER = 0x400;
inline constexpr unsigned UM_DL_PROGRESS = WM_USER + 2;
inline constexpr unsigned UM_DL_CLOSE = WM_USER + 3;
inline constexpr unsigned UM_DOWNLOAD_RX = WM_USER + 8;
inline constexpr unsigned UM_UPLOAD_RX = WM_USER + 10;
inline constexpr unsigned UM_DL_START = WM_USER + 30;
inline constexpr unsigned UM_UL_START = WM_USER + 32;
inline constexpr unsigned UM_UL_PROGRESS = WM_USER + 33;
inline constexpr unsigned UM_UL_CLOSE = WM_USER + 34;

struct Message {
    unsigned id = 0;
    std::intptr_t wparam = 0;
    std::intptr_t lparam = 0;
};

// Posting never blocks and is safe from any thread.
class MessagePoster {
public:
    virtual ~MessagePoster() = default;
    virtual void postMessage(const Message& message) = 0;
};

}  // namespace zoedit::ui
