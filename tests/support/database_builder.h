// Small, realistic channel databases for tests, benchmarks and fuzz seeds:
// valid header words, every index pointing into its table, names, both
// copies filled as a freshly loaded file would have them.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "database/channel_database.h"

namespace zoedit::testing {

struct DatabaseShape {
    std::size_t satellites = 3;
    std::size_t transponders = 6;
    std::size_t tv = 8;
    std::size_t radio = 4;
    // One entry per favourite group: its TV and radio member counts. Members
    // are taken round-robin from the channel tables (wrapping if needed).
    std::vector<std::pair<std::size_t, std::size_t>> groups = {{3, 1}, {0, 2}, {2, 0}};
    std::uint32_t seed = 1;  // varies the field values, deterministically
};

// Builds the database; counts are clamped to the tables' capacities.
ChannelDatabase buildDatabase(const DatabaseShape& shape = {});

// Every table, group and member of the largest file the editor accepts.
DatabaseShape fullCapacityShape();

// The file bytes of `db` as saved without any editing mode.
std::vector<std::uint8_t> fileBytesOf(ChannelDatabase db);

// Writes the full-capacity file to a new temporary file named after `tag`
// (for the benchmarks) and returns its path.
std::string writeFullCapacityFile(const std::string& tag);

// Empty when the two databases hold the same file content (header, format,
// sections, primary records below each count, groups, members, trailer);
// otherwise a description of the first difference found.
std::string contentDifference(const ChannelDatabase& a, const ChannelDatabase& b);

// Empty when every working record equals its primary record.
std::string workingCopyDifference(const ChannelDatabase& db);

}  // namespace zoedit::testing
