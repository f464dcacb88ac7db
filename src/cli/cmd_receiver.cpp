// zoedit-cli receiver: plays the receiver's side of the link on a serial
// device or on a pseudo-terminal it creates.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>

#include "cli/command_registry.h"
#include "cli/posix_line.h"
#include "cli/receiver_server.h"
#include "link/receiver_emulator.h"

namespace zoedit::cli {

namespace {

struct ReceiverArgs {
    std::string port;
    bool pty = false;
    unsigned baud = 0;
    std::string reject;
    std::string verdict = "done";
    std::string send_file;
    std::string save_file;
    std::size_t split = 0;
    std::size_t noise = 0;
    std::size_t hold_after = 0;
};

int runReceiver(const ReceiverArgs& args) {
    using link::ReceiverOptions;
    ReceiverOptions options;
    static const std::map<std::string, ReceiverOptions::Reject> rejects = {
        {"hw", ReceiverOptions::Reject::Hw},
        {"sw", ReceiverOptions::Reject::Sw},
        {"model", ReceiverOptions::Reject::Model}};
    static const std::map<std::string, ReceiverOptions::Verdict> verdicts = {
        {"done", ReceiverOptions::Verdict::Done},
        {"checksum", ReceiverOptions::Verdict::Checksum},
        {"verify", ReceiverOptions::Verdict::Verify}};
    if (!args.reject.empty()) options.reject = rejects.at(args.reject);
    options.verdict = verdicts.at(args.verdict);
    options.save_path = args.save_file;
    options.split = args.split;
    options.noise = args.noise;
    options.hold_after_blocks = args.hold_after;
    if (!args.send_file.empty()) {
        std::ifstream in(args.send_file, std::ios::binary);
        if (!in) {
            std::cerr << "receiver: cannot read " << args.send_file << "\n";
            return 2;
        }
        options.send_file.assign(std::istreambuf_iterator<char>(in),
                                 std::istreambuf_iterator<char>());
        if (options.send_file.size() < link::kLinkHeaderSize) {
            std::cerr << "receiver: " << args.send_file
                      << " is shorter than a channel file header\n";
            return 2;
        }
    }

    installStopSignals();
    ServeOptions serve;
    serve.baud = args.baud;
    int fd = -1;
    if (args.pty) {
        PtyPair pty = openRawPty();
        if (!pty.error.empty()) {
            std::cerr << "receiver: " << pty.error << "\n";
            return 1;
        }
        fd = pty.master;
        serve.held_slave = pty.slave;
        std::printf("%s\n", pty.slave_path.c_str());
        std::fflush(stdout);
    } else {
        OpenedLine line = openLineDevice(args.port, args.baud);
        if (!line.error.empty()) {
            std::cerr << "receiver: " << line.error << "\n";
            return 1;
        }
        fd = line.fd;
    }
    const int status = serveReceiver(fd, std::move(options), serve, std::cerr);
    ::close(fd);
    return status;
}

void addReceiverCommand(CLI::App& app) {
    auto args = std::make_shared<ReceiverArgs>();
    CLI::App* cmd = app.add_subcommand(
        "receiver", "Play the receiver's side of the link (answers downloads, serves uploads)");
    auto* port = cmd->add_option("--port", args->port, "Serial device to serve on");
    auto* pty = cmd->add_flag("--pty", args->pty,
                              "Create a pseudo-terminal pair, print the path of its other side");
    port->excludes(pty);
    cmd->add_option("--baud", args->baud, "Pace output at this line rate (10 bits a byte)")
        ->check(CLI::PositiveNumber);
    cmd->add_option("--reject", args->reject, "Reject every header")
        ->check(CLI::IsMember({"hw", "sw", "model"}));
    cmd->add_option("--verdict", args->verdict, "Verdict on a completed download")
        ->check(CLI::IsMember({"done", "checksum", "verify"}));
    cmd->add_option("--send", args->send_file, "Channel file sent when the PC asks for one")
        ->check(CLI::ExistingFile);
    cmd->add_option("--save", args->save_file, "Where a received channel file is stored");
    cmd->add_option("--split", args->split, "Deliver each frame in pieces of this many bytes");
    cmd->add_option("--noise", args->noise, "Stray bytes sent before the first answer");
    cmd->add_option("--hold-after", args->hold_after,
                    "Hold an upload after this many blocks until SIGUSR1 gives it up");
    cmd->callback([args, cmd] {
        if (args->port.empty() && !args->pty) throw CLI::RequiredError("--port or --pty");
        if (const int status = runReceiver(*args); status != 0) throw CLI::RuntimeError(status);
    });
}

static const bool registered = registerCommand(&addReceiverCommand);

}  // namespace

}  // namespace zoedit::cli
