// An output file built beside its final name and put in place only when it
// is complete, so that an interrupted transfer leaves the old file intact.
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zoedit::link {

class PendingFile {
public:
    PendingFile() = default;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() { discard(); }

    // Creates a fresh temporary file beside `target`. On failure returns a
    // message that names the file and the reason.
    std::optional<std::string> create(const std::string& target);
    std::optional<std::string> append(std::span<const std::uint8_t> bytes);
    // Closes the temporary file, reads it back and sums (mod 65,536) up to
    // `count` bytes from offset `from`; a file that ends early sums what is there.
    std::optional<std::string> sumBack(std::size_t from, std::size_t count, std::uint16_t& sum);
    // Renames the temporary file over the target.
    std::optional<std::string> commit();
    // Removes the temporary file, if any; the target is untouched.
    void discard();

    bool active() const { return !temp_path_.empty(); }
    const std::string& tempPath() const { return temp_path_; }

private:
    std::string target_;
    std::string temp_path_;
    std::ofstream out_;
};

}  // namespace zoedit::link
