// zoedit-cli receive OUT --port PATH: the "Upload", the receiver's channel
// file into OUT (put in place only when the transfer completes).
#ifdef ZOEDIT_HAVE_SERIAL  // the transfers need the serial port target
#include <memory>

#include "cli/command_registry.h"
#include "cli/transfer_cli.h"

namespace zoedit::cli {
namespace {

struct ReceiveArgs {
    std::string out;
    LineOptions line;
};

void addReceiveCommand(CLI::App& app) {
    auto args = std::make_shared<ReceiveArgs>();
    CLI::App* cmd = app.add_subcommand("receive", "Fetch the receiver's channel file into OUT");
    cmd->add_option("OUT", args->out, "Where the channel file is stored")->required();
    addLineOptions(*cmd, args->line);
    cmd->callback([args] { runTransfer(args->line, &link::receiveChannelFile, args->out); });
}

static const bool registered = registerCommand(&addReceiveCommand);

}  // namespace
}  // namespace zoedit::cli

#endif  // ZOEDIT_HAVE_SERIAL
