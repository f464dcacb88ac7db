// zoedit-cli sample OUT [--full]: write a realistic channel file.
#include <iostream>
#include <memory>

#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "database/channel_file.h"
#include "database/sample_database.h"

namespace zoedit::cli {
namespace {

struct SampleOptions {
    std::string out;
    bool full = false;
};

void run(const SampleOptions& options) {
    auto db = std::make_unique<ChannelDatabase>();
    buildSampleDatabase(*db, options.full ? SampleSize::Full : SampleSize::Typical);
    const SaveResult saved =
        saveChannelFile(options.out, *db, SaveFolding{}, firstTvTransponder(*db));
    if (!saved.ok) {
        fail(saved.message);
        return;
    }
    std::cout << "Wrote " << options.out << " (" << db->header.data_length + 64 << " bytes)\n";
}

void addSampleCommand(CLI::App& app) {
    auto options = std::make_shared<SampleOptions>();
    auto* cmd = app.add_subcommand("sample", "Write a realistic sample channel file");
    cmd->add_option("OUT", options->out, "Where to write it")->required();
    cmd->add_flag("--full", options->full, "Every table at its capacity");
    cmd->callback([options] { run(*options); });
}

const bool registered = registerCommand(&addSampleCommand);

}  // namespace
}  // namespace zoedit::cli
