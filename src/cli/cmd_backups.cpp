// zoedit-cli backups FILE and restore FILE [N]: the copies kept of a file
// before it was replaced, and putting one back.
#include <iostream>
#include <memory>

#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "database/backup_restore.h"

namespace zoedit::cli {
namespace {

struct BackupOptions {
    std::string file;
    int number = 1;
};

void list(const BackupOptions& options) {
    const BackupStore store = commandBackups();
    const auto entries = store.list(options.file);
    if (entries.empty())
        std::cerr << "zoedit-cli: no backups of " << options.file << " in "
                  << store.folderFor(options.file) << '\n';
    for (std::size_t i = 0; i < entries.size(); ++i)
        std::cout << backupLine(static_cast<int>(i) + 1, entries[i]) << '\n';
}

void restore(const BackupOptions& options) {
    const BackupStore store = commandBackups();
    const auto entries = store.list(options.file);
    if (options.number < 1 || static_cast<std::size_t>(options.number) > entries.size()) {
        fail(options.file + " has no backup " + std::to_string(options.number) + " (it has " +
             std::to_string(entries.size()) + ")");
        return;
    }
    const BackupEntry& chosen = entries[static_cast<std::size_t>(options.number) - 1];
    const SaveResult restored = restoreBackup(store, options.file, chosen);
    if (!restored.ok) {
        fail(restored.message);
        return;
    }
    if (!restored.warning.empty()) std::cerr << "zoedit-cli: " << restored.warning << '\n';
    std::cout << "Restored " << options.file << " from backup " << options.number << " of "
              << backupTimeText(chosen) << " (" << chosen.size << " bytes)\n";
}

void addBackupCommands(CLI::App& app) {
    auto options = std::make_shared<BackupOptions>();
    auto* backups = app.add_subcommand(
        "backups", "List the backups of FILE, newest first: number, time, size, channels");
    backups->add_option("FILE", options->file, "The file as it is named when saved")->required();
    backups->callback([options] { list(*options); });

    auto* restore_cmd = app.add_subcommand(
        "restore",
        "Put backup N of FILE back (1, the newest, unless told), keeping a backup of "
        "what it replaces");
    restore_cmd->add_option("FILE", options->file, "The file to restore")->required();
    restore_cmd->add_option("N", options->number, "Number in the list of `backups FILE`")
        ->check(CLI::PositiveNumber);
    restore_cmd->callback([options] { restore(*options); });
}

const bool registered = registerCommand(&addBackupCommands);

}  // namespace
}  // namespace zoedit::cli
