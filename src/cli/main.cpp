// zoedit-cli: the channel database and the receiver link from a terminal.
#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "zoedit_version.h"

int main(int argc, char** argv) {
    CLI::App app{"ZoEdit command line: inspect, convert and transfer receiver channel files"};
    app.set_version_flag("--version", "zoedit-cli " ZOEDIT_VERSION, "Print the version and exit");
    app.require_subcommand(1);
    // Before the subcommands, so that they take it after their own arguments too.
    app.fallthrough();
    app.add_option("--keep-backups", zoedit::cli::keptBackups(),
                   "Backups kept of each file a command replaces (default 10, 0 for none)")
        ->check(CLI::NonNegativeNumber);
    for (const auto& setup : zoedit::cli::commandRegistry()) setup(app);
    CLI11_PARSE(app, argc, argv);
    return zoedit::cli::exitStatus();
}
