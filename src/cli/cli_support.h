// What the subcommands share: loading a file with its error reporting, the
// code page option and the conversion of names for a terminal.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "database/backup_store.h"
#include "database/channel_database.h"
#include "database/codepage.h"

namespace zoedit::cli {

struct LoadedFile {
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<ChannelDatabase> db;
};

// Reads and parses `path`; on failure prints why on stderr, sets the exit
// status to 1 and returns nothing.
std::optional<LoadedFile> loadForCommand(const std::string& path);

// Whole file contents; nothing (with errno's reason in `error`) when unreadable.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path, std::string& error);

// Prints "zoedit-cli: <message>" on stderr and sets the exit status to 1.
void fail(const std::string& message);

// --codepage 1256|1252|latin1 (default 1256): how name bytes are decoded.
void addCodePageOption(CLI::App& command, CodePage& page);

// Text of a NUL-terminated name field as UTF-8.
std::string nameUtf8(std::span<const char> field, CodePage page);

// The transponder a user's first view of the file shows: that of the first TV
// channel, -1 when there is none.
int firstTvTransponder(const ChannelDatabase& db);

// --keep-backups N of any command: how many backups of a replaced file are
// kept (10 unless told; 0 keeps none).
int& keptBackups();
// Where the commands keep backups: the environment's folder, keptBackups().
BackupStore commandBackups();

// Saves `db` to `out` as the editor does after opening it (atomically, the
// band derived from the first TV channel's transponder) and prints
// "Saved OUT (N bytes)", keeping a backup of the file it replaces; on failure
// reports it as fail() does. True when saved (a backup that could not be made
// is only a warning on stderr).
bool saveAsEditorDoes(const std::string& out, ChannelDatabase& db);

}  // namespace zoedit::cli
