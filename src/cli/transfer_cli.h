// What zoedit-cli send and receive share: the line settings (config.ini in
// the current folder, each overridable), the progress line, the closing
// message and the exit status.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "link/serial/transfer_session.h"

namespace zoedit::cli {

struct LineOptions {
    std::string port;  // a device path or COM1..COM4; empty: config.ini's port
    std::string speed, data_bits, parity, stop_bits;
    int flow = -1;
    double timeout_seconds = 60;
};

void addLineOptions(CLI::App& command, LineOptions& options);

// Runs `transfer` with the options settled, reports on the terminal and sets
// the exit status: 0 succeeded, 1 refused, 2 port not opened, 3 line lost,
// 4 silent receiver, 130 cancelled.
void runTransfer(const LineOptions& options,
                 link::TransferResult (*transfer)(const std::string&, const link::TransferOptions&),
                 const std::string& path);

}  // namespace zoedit::cli
