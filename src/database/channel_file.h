// Reading and writing the channel file. Both work on bytes in memory; the
// file system is touched once per operation (read whole, or write a
// temporary file beside the target and rename it over).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "database/atomic_file.h"
#include "database/channel_database.h"

namespace zoedit {

inline constexpr char kMsgInvalidDataFormat[] = "Invalid Data Format!!!";
inline constexpr char kMsgCheckSourceFile[] = "Invalid Data Format, Check the Source File";

inline constexpr std::size_t kHeaderSize = 64;
inline constexpr std::size_t kFormatBlockEnd = 80;
inline constexpr std::size_t kEmptyFileSize = 134;

enum class LoadStatus {
    Ok,
    CannotOpen,  // the file could not be read: `reason` says why
    BadMagic,    // messages: both texts in turn
    BadFormat,   // wrong format id, or data that ends early / exceeds a table
};

struct LoadResult {
    LoadStatus status = LoadStatus::Ok;
    // Texts to show in OK boxes, in order (empty for Ok and CannotOpen).
    std::vector<std::string> messages;
    // Why the file could not be read (CannotOpen only), in the system's words.
    std::string reason;
    bool ok() const { return status == LoadStatus::Ok; }
};

// Parses a whole channel file into `db`. On any failure `db` is left exactly
// as it was. Never reads past `bytes` nor stores past a table's capacity.
LoadResult readChannelFile(std::span<const std::uint8_t> bytes, ChannelDatabase& db);
LoadResult loadChannelFile(const std::string& path, ChannelDatabase& db);

// The 64-byte header alone (used by the receiver link); nullopt when short.
std::optional<FileHeader> readFileHeader(std::span<const std::uint8_t> bytes);

// How the working copy is folded back into the primary tables while saving.
struct SaveFolding {
    bool new_record_mode = false;  // every table and member list: primary[i] = working[i]
    // Sorted mode of a channel list: row i of the list showed channel number
    // tv_sorted_numbers[i]; primary[n-1] = working[i]. Empty when not sorted.
    std::vector<int> tv_sorted_numbers{};
    std::vector<int> radio_sorted_numbers{};
};

// Folds the working copy, derives the band of `current_transponder`'s
// satellite, settles section lengths, data_length, tail_length, checksum and
// returns the complete file with its CRC trailer. `db` keeps the values
// written (except the trailer word, which stays as loaded).
std::vector<std::uint8_t> buildChannelFile(ChannelDatabase& db, const SaveFolding& folding,
                                           int current_transponder);

// buildChannelFile + writeFileAtomically (keeping a copy of the file it
// replaces in `backups`).
SaveResult saveChannelFile(const std::string& path, ChannelDatabase& db, const SaveFolding& folding,
                           int current_transponder, const BackupStore& backups = {});

// CRC-16/ARC (reflected 0xA001, init 0, no final xor) and the 16-bit byte sum.
// `crc` carries on a CRC over bytes that came before.
std::uint16_t crc16Arc(std::span<const std::uint8_t> bytes, std::uint16_t crc = 0);
std::uint16_t byteSum16(std::span<const std::uint8_t> bytes);

}  // namespace zoedit
