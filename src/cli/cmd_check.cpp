// zoedit-cli check FILE: exit 0 when the file's lengths and sums are right
// and every link and value is within its table and range; otherwise one line
// per problem and exit 1.
#include <iostream>
#include <memory>

#include "cli/cli_support.h"
#include "cli/command_registry.h"
#include "database/file_integrity.h"
#include "database/invariants.h"

namespace zoedit::cli {
namespace {

struct CheckOptions {
    std::string path;
    CodePage page = CodePage::Windows1256;
};

void run(const CheckOptions& options) {
    const auto file = loadForCommand(options.path);
    if (!file) return;
    auto problems = describeIntegrity(file->bytes, checkFileIntegrity(file->bytes));
    const auto broken = checkInvariants(*file->db);
    problems.insert(problems.end(), broken.begin(), broken.end());
    // The lines quote names, which are code page bytes.
    for (const auto& p : problems) std::cout << toUtf8(p, options.page) << '\n';
    if (problems.empty()) {
        std::cout << options.path << ": ok\n";
    } else {
        std::cerr << options.path << ": " << problems.size() << " problem"
                  << (problems.size() == 1 ? "" : "s") << '\n';
        exitStatus() = 1;
    }
}

void addCheckCommand(CLI::App& app) {
    auto options = std::make_shared<CheckOptions>();
    auto* cmd = app.add_subcommand("check", "Check a channel file's sums and internal links");
    cmd->add_option("FILE", options->path, "Channel file")->required();
    addCodePageOption(*cmd, options->page);
    cmd->callback([options] { run(*options); });
}

const bool registered = registerCommand(&addCheckCommand);

}  // namespace
}  // namespace zoedit::cli
