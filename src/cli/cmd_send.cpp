// zoedit-cli send FILE --port PATH: the "Download", a channel file from the
// PC to the receiver.
#ifdef ZOEDIT_HAVE_SERIAL  // the transfers need the serial port target
#include <memory>

#include "cli/command_registry.h"
#include "cli/transfer_cli.h"

namespace zoedit::cli {
namespace {

struct SendArgs {
    std::string file;
    LineOptions line;
};

void addSendCommand(CLI::App& app) {
    auto args = std::make_shared<SendArgs>();
    CLI::App* cmd = app.add_subcommand(
        "send", "Send a channel file to the receiver (waits for the receiver to be ready)");
    cmd->add_option("FILE", args->file, "Channel file to send")->required();
    addLineOptions(*cmd, args->line);
    cmd->callback([args] { runTransfer(args->line, &link::sendChannelFile, args->file); });
}

static const bool registered = registerCommand(&addSendCommand);

}  // namespace
}  // namespace zoedit::cli

#endif  // ZOEDIT_HAVE_SERIAL
