// What the user sees of the copies a store keeps of a file, and putting one
// back.
#pragma once

#include <string>

#include "database/atomic_file.h"
#include "database/backup_store.h"

namespace zoedit {

// One line of a list of copies: "2  2026-12-09 15:54:55.123  1049134 bytes
// 9000 TV, 1000 radio" (the counts read from the copy, or why it cannot be
// read as a channel file).
std::string backupLine(int number, const BackupEntry& entry);

// Puts the bytes of `backup` back at `original` through the atomic writer,
// keeping a copy of what they replace in `store`.
SaveResult restoreBackup(const BackupStore& store, const std::string& original,
                         const BackupEntry& backup);

}  // namespace zoedit
