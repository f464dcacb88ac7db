// zoedit-cli resave IN OUT: what the editor writes when a file is opened and
// saved at once, with no edit made.
#include <iostream>
#include <memory>

#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "database/channel_file.h"

namespace zoedit::cli {
namespace {

struct ResaveOptions {
    std::string in;
    std::string out;
};

void run(const ResaveOptions& options) {
    const auto file = loadForCommand(options.in);
    if (!file) return;
    // Opening selects the first TV row, which makes its transponder the
    // current one: saving derives that satellite's band from it.
    ChannelDatabase& db = *file->db;
    saveAsEditorDoes(options.out, db);
}

void addResaveCommand(CLI::App& app) {
    auto options = std::make_shared<ResaveOptions>();
    auto* cmd = app.add_subcommand("resave", "Open a channel file and save it unedited");
    cmd->add_option("IN", options->in, "Channel file to open")->required();
    cmd->add_option("OUT", options->out, "Where to save it (may be IN)")->required();
    cmd->callback([options] { run(*options); });
}

const bool registered = registerCommand(&addResaveCommand);

}  // namespace
}  // namespace zoedit::cli
