// Raw channel files with arbitrary counts (records left zero), for the
// reader's limits, where a consistent database cannot be built.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "database/big_endian.h"
#include "database/channel_database.h"

namespace zoedit::testing {

struct RawCounts {
    std::uint8_t satellites = 0;
    std::uint16_t transponders = 0;
    std::uint16_t tv = 0;
    std::uint16_t radio = 0;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> groups{};  // TV, radio members
};

inline std::vector<std::uint8_t> rawChannelFile(const RawCounts& c) {
    std::vector<std::uint8_t> out;
    be::Writer w(out);
    w.u32(kFileMagic);
    w.zeros(60);
    w.u32(kFormatId);
    w.zeros(12);
    w.u8(1);
    w.u32(20);
    w.zeros(6);
    w.u16(static_cast<std::uint16_t>(c.groups.size()));
    w.zeros(12);
    w.u8(2);
    w.u32(0);
    w.u8(c.satellites);
    w.zeros(52u * c.satellites);
    w.u8(3);
    w.u32(0);
    w.u16(c.transponders);
    w.zeros(16u * c.transponders);
    w.u8(4);
    w.u32(0);
    w.u16(c.tv);
    w.zeros(44u * c.tv);
    w.u16(c.radio);
    w.zeros(44u * c.radio);
    w.u8(5);
    w.u32(0);
    for (const auto& [tv, radio] : c.groups) {
        w.zeros(24);
        w.u16(tv);
        w.zeros(7u * tv);
        w.u16(radio);
        w.zeros(7u * radio);
    }
    w.u16(0);
    return out;
}

}  // namespace zoedit::testing
