// Runs the real zoedit-cli in a scratch folder and captures what it prints.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zoedit::testing {

struct CliResult {
    int exit_code = -1;
    std::string out;
    std::string err;
};

class CliRunner {
public:
    CliRunner();
    ~CliRunner();
    CliRunner(const CliRunner&) = delete;
    CliRunner& operator=(const CliRunner&) = delete;

    // `args` is passed through the shell; paths below are quoted already.
    CliResult run(const std::string& args) const;

    std::string path(const std::string& name) const;  // quoted-free path in the scratch folder
    std::vector<std::uint8_t> read(const std::string& name) const;
    void write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;

private:
    std::filesystem::path dir_;
};

}  // namespace zoedit::testing
