// zoedit-cli receiver --pty as a child process: the far end of end-to-end
// transfers. The slave path it prints is where the PC side opens its port.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace zoedit::testing {

class EmulatorProcess {
public:
    explicit EmulatorProcess(const std::vector<std::string>& options);
    ~EmulatorProcess();  // kills it if it still runs
    EmulatorProcess(const EmulatorProcess&) = delete;
    EmulatorProcess& operator=(const EmulatorProcess&) = delete;

    bool ok() const { return !slave_path_.empty(); }
    const std::string& slavePath() const { return slave_path_; }
    void kill();
    // Exit status, or -1 when it has not ended within the guard.
    int waitForExit();

private:
    pid_t pid_ = -1;
    bool reaped_ = false;
    std::string slave_path_;
};

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs zoedit-cli with `args` to its end (stdin closed), capturing its output.
ProgramRun runCli(const std::vector<std::string>& args);

}  // namespace zoedit::testing
