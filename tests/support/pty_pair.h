// A pseudo-terminal pair for tests of the serial link: the code under test
// opens the slave by its path, the test plays the far end on the master.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace zoedit::testing {

class PtyPair {
public:
    PtyPair();  // both sides raw; check ok()
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0; }
    const std::string& slavePath() const { return slave_path_; }
    int masterFd() const { return master_; }
    int slaveFd() const { return slave_; }

    // Writes everything to the master, waiting for room; false on error.
    bool writeMaster(const std::vector<std::uint8_t>& bytes);
    // Reads from the master until `count` bytes came or `limit` passed.
    std::vector<std::uint8_t> readMaster(std::size_t count,
                                         std::chrono::milliseconds limit = std::chrono::seconds(5));

    // The far end goes away: the code under test sees a hang-up.
    void closeMaster();
    void closeSlave();

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slave_path_;
};

}  // namespace zoedit::testing
