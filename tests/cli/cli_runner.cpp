#include "cli/cli_runner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace zoedit::testing {

CliRunner::CliRunner() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zoedit-cli-XXXXXX").string();
    if (::mkdtemp(pattern.data())) dir_ = pattern;
}

CliRunner::~CliRunner() {
    std::error_code ignored;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
}

std::string CliRunner::path(const std::string& name) const {
    return (dir_ / name).string();
}

CliResult CliRunner::run(const std::string& args) const {
    const std::string err_path = path("stderr.txt");
    // Files the program replaces keep their backups in the scratch folder
    // unless the test names a folder: never in the user's own data folder.
    const std::string backups =
        std::getenv("ZOEDIT_BACKUP_DIR") ? "" : "ZOEDIT_BACKUP_DIR='" + path(".backups") + "' ";
    const std::string command =
        backups + std::string(ZOEDIT_CLI_PATH) + " " + args + " 2>'" + err_path + "'";
    CliResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int status = ::pclose(pipe);
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(err_path);
    std::stringstream text;
    text << err.rdbuf();
    result.err = text.str();
    return result;
}

std::vector<std::uint8_t> CliRunner::read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void CliRunner::write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace zoedit::testing
