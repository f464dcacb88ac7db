// zoedit-cli: the channel database and the receiver link from a terminal.
#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
    CLI::App app{"ZoEdit command line: inspect, convert and transfer receiver channel files"};
    app.require_subcommand(1);
    CLI11_PARSE(app, argc, argv);
    return 0;
}
