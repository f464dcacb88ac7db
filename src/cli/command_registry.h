// Each subcommand of zoedit-cli lives in its own file and registers itself
// here at start-up, so that adding a command touches no other file.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <vector>

namespace zoedit::cli {

using CommandSetup = std::function<void(CLI::App&)>;

inline std::vector<CommandSetup>& commandRegistry() {
    static std::vector<CommandSetup> setups;
    return setups;
}

// The process's exit status: a command's callback sets it when it fails, so
// that failures travel as values rather than exceptions.
inline int& exitStatus() {
    static int status = 0;
    return status;
}

// Use as: static const bool registered = registerCommand(&addInfoCommand);
inline bool registerCommand(CommandSetup setup) {
    commandRegistry().push_back(std::move(setup));
    return true;
}

}  // namespace zoedit::cli
