// zoedit-cli info FILE [--json]: header words, counts and whether the file's
// own lengths and sums agree with its bytes.
#include <cstdio>
#include <iostream>
#include <memory>

#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "cli/database_json.h"
#include "database/file_integrity.h"

namespace zoedit::cli {
namespace {

struct InfoOptions {
    std::string path;
    bool json = false;
    CodePage page = CodePage::Windows1256;
};

std::string hex(std::uint32_t value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%0*x", digits, value);
    return buffer;
}

std::string verdict(bool ok, const std::string& expected) {
    return ok ? "  (ok)" : "  (expected " + expected + ")";
}

void printText(const LoadedFile& file, const FileIntegrity& check, CodePage page) {
    const ChannelDatabase& db = *file.db;
    const FileHeader& h = db.header;
    const auto row = [](const char* name, const std::string& value) {
        std::printf("%-18s %s\n", name, value.c_str());
    };
    row("file size", std::to_string(file.bytes.size()));
    row("magic", hex(h.magic, 8));
    row("usage_type", hex(h.usage_type, 4));
    row("checksum",
        hex(h.checksum, 4) + verdict(check.checksum_ok, hex(check.expected_checksum, 4)));
    row("data_length",
        std::to_string(h.data_length) + verdict(h.data_length == check.expected_data_length,
                                                std::to_string(check.expected_data_length)));
    row("hw_version", hex(h.hw_version, 8));
    row("sw_version", hex(h.sw_version, 8));
    row("secondary_length", std::to_string(h.secondary_length));
    row("model_id", nameUtf8(h.model_id, page));
    row("format_id", hex(db.format.format_id, 8));
    row("tail_length", std::to_string(db.format.tail_length) +
                           verdict(db.format.tail_length == check.expected_tail_length,
                                   std::to_string(check.expected_tail_length)));
    row("trailer", hex(db.trailer, 4) + verdict(check.trailer_ok, hex(check.expected_trailer, 4)));
    row("satellites", std::to_string(db.satelliteCount()));
    row("transponders", std::to_string(db.transponderCount()));
    row("tv_channels", std::to_string(db.tvCount()));
    row("radio_channels", std::to_string(db.radioCount()));
    row("favourite_groups", std::to_string(db.favouriteGroupCount()));
}

void run(const InfoOptions& options) {
    const auto file = loadForCommand(options.path);
    if (!file) return;
    const FileIntegrity check = checkFileIntegrity(file->bytes);
    if (!options.json) {
        printText(*file, check, options.page);
        return;
    }
    const ChannelDatabase& db = *file->db;
    auto out = headerJson(db, options.page);
    out["trailer"] = db.trailer;
    out["satellites"] = db.satelliteCount();
    out["transponders"] = db.transponderCount();
    out["tv_channels"] = db.tvCount();
    out["radio_channels"] = db.radioCount();
    out["favourite_groups"] = db.favouriteGroupCount();
    out["checksum_ok"] = check.checksum_ok;
    out["trailer_ok"] = check.trailer_ok;
    out["lengths_ok"] = check.lengths_ok;
    std::cout << out.dump(2) << '\n';
}

void addInfoCommand(CLI::App& app) {
    auto options = std::make_shared<InfoOptions>();
    auto* cmd = app.add_subcommand("info", "Show a channel file's header, counts and sums");
    cmd->add_option("FILE", options->path, "Channel file")->required();
    cmd->add_flag("--json", options->json, "One JSON object instead of text");
    addCodePageOption(*cmd, options->page);
    cmd->callback([options] { run(*options); });
}

const bool registered = registerCommand(&addInfoCommand);

}  // namespace
}  // namespace zoedit::cli
