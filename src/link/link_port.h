// The little the link's logic needs of a serial port; CCommPort is the real
// one, tests use fakes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/port_params.h"

namespace zoedit::link {

class LinkPort {
public:
    virtual ~LinkPort() = default;
    // True when the port is open, configured and watched.
    virtual bool OpenPort(const PortParams& params) = 0;
    virtual void ClosePort() = 0;
    // Returns `count` once the bytes are on their way to the line, fewer when
    // they cannot go (port closed, line lost or stopped).
    virtual std::size_t WriteComm(const std::uint8_t* bytes, std::size_t count) = 0;
    // Why the last OpenPort failed, in the system's words; empty when unknown.
    virtual std::string lastError() const { return {}; }
};

}  // namespace zoedit::link
