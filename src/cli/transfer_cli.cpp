#ifdef ZOEDIT_HAVE_SERIAL  // the transfers need the serial port target
#include "cli/transfer_cli.h"

#ifdef _WIN32
#include <io.h>
#define ZOEDIT_STDERR_IS_TERMINAL (::_isatty(::_fileno(stderr)) != 0)
#else
#include <unistd.h>
#define ZOEDIT_STDERR_IS_TERMINAL (::isatty(STDERR_FILENO) != 0)
#endif

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "link/config_ini.h"
#include "link/port_command.h"
#include "link/progress_line.h"

namespace zoedit::cli {

namespace {

std::atomic<bool> g_cancel{false};

extern "C" void onInterrupt(int) {
    g_cancel.store(true);
}

// The transfer looks at the flag between its waits, so the handler only sets it.
void catchInterrupts() {
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
}

// config.ini when the current folder has one (it is not created from here),
// then the flags over it.
link::PortState lineState(const LineOptions& o) {
    link::PortState state;
    link::LinkSettings settings;
    if (std::filesystem::exists(link::kConfigFileName)) {
        const link::ConfigLoad load = link::loadConfigIni(link::kConfigFileName);
        if (!load.status.ok) std::cerr << "zoedit-cli: " << load.status.message << "\n";
        settings = load.settings;
    }
    if (!o.port.empty()) settings.port = o.port;
    if (!o.speed.empty()) settings.speed = o.speed;
    if (!o.data_bits.empty()) settings.data_bits = o.data_bits;
    if (!o.parity.empty()) settings.parity = o.parity;
    if (!o.stop_bits.empty()) settings.stop_bits = o.stop_bits;
    if (o.flow >= 0) settings.flow_control = o.flow;
    link::takeSettings(state, settings);
    return state;
}

// One line on stderr, rewritten in place on a terminal; elsewhere a new line
// at most every second, so logs stay short.
class ProgressPrinter {
public:
    void update(std::uint32_t position, std::uint32_t total) {
        const auto now = std::chrono::steady_clock::now();
        if (!started_) {
            started_ = true;
            start_ = now;
        }
        const double seconds = std::chrono::duration<double>(now - start_).count();
        const std::string line = link::progressLine(position, total, seconds);
        if (tty_) {
            std::fprintf(stderr, "\r%s\033[K", line.c_str());
        } else if (now - last_ >= std::chrono::seconds(1) || (total > 0 && position >= total)) {
            std::fprintf(stderr, "%s\n", line.c_str());
            last_ = now;
        }
        shown_ = true;
    }
    void finish() {
        if (tty_ && shown_) std::fputc('\n', stderr);
    }

private:
    bool tty_ = ZOEDIT_STDERR_IS_TERMINAL;
    bool started_ = false;
    bool shown_ = false;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point last_;
};

int exitCodeOf(link::TransferOutcome outcome) {
    switch (outcome) {
        case link::TransferOutcome::Succeeded:
            return 0;
        case link::TransferOutcome::Refused:
            return 1;
        case link::TransferOutcome::PortFailed:
            return 2;
        case link::TransferOutcome::LineLost:
            return 3;
        case link::TransferOutcome::TimedOut:
            return 4;
        case link::TransferOutcome::Cancelled:
            return 130;
    }
    return 1;
}

}  // namespace

void addLineOptions(CLI::App& command, LineOptions& o) {
    command.add_option("--port", o.port, "Serial device (e.g. /dev/ttyUSB0) or COM1..COM4");
    command.add_option("--baud,--speed", o.speed, "Line speed (default: config.ini, else 115200)");
    command.add_option("--data-bits", o.data_bits, "Data bits (default: config.ini, else 8)");
    command.add_option("--parity", o.parity, "Even, Odd, None, Mark or Space (default None)");
    command.add_option("--stop-bits", o.stop_bits, "1, 1.5 or 2 (default 1)");
    command.add_option("--flow", o.flow, "0 None, 1 Xon/Xoff, 2 RTS, 3 Xon/RTS (default 0)")
        ->check(CLI::Range(0, 3));
    command
        .add_option("--timeout", o.timeout_seconds,
                    "Give up when the receiver stays silent this many seconds")
        ->check(CLI::PositiveNumber);
    command.footer(
        "Line settings come from config.ini in the current folder when there is one.\n"
        "Exit status: 0 done, 1 refused (file, receiver or check), 2 port not opened,\n"
        "3 line lost, 4 receiver silent, 130 interrupted.");
}

void runTransfer(const LineOptions& o,
                 link::TransferResult (*transfer)(const std::string&, const link::TransferOptions&),
                 const std::string& path) {
    const link::PortState state = lineState(o);
    link::TransferOptions options;
    options.port = link::portParamsFor(state);
    if (options.port.port_name.empty()) {
        std::cout << link::kMsgPortSetupFirst << "\n";
        exitStatus() = 2;
        return;
    }
    options.timeout = std::chrono::milliseconds(static_cast<long long>(o.timeout_seconds * 1000));
    g_cancel = false;
    catchInterrupts();
    options.cancel = &g_cancel;
    ProgressPrinter printer;
    options.progress = [&printer](std::uint32_t position, std::uint32_t total) {
        printer.update(position, total);
    };
    options.diagnostic = [](const std::string& text) {
        std::cerr << "zoedit-cli: " << text << "\n";
    };
    options.backups = commandBackups();

    // The serial port's watcher thread runs Qt's event loop, which needs the
    // application object.
    int qt_argc = 1;
    char qt_name[] = "zoedit-cli";
    char* qt_argv[] = {qt_name, nullptr};
    const QCoreApplication qt(qt_argc, qt_argv);
    const link::TransferResult result = transfer(path, options);
    printer.finish();
    std::cout << result.message << std::endl;
    exitStatus() = exitCodeOf(result.outcome);
}

}  // namespace zoedit::cli

#endif  // ZOEDIT_HAVE_SERIAL
