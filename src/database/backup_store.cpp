#include "database/backup_store.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <tuple>
#include <vector>

#include "database/atomic_file.h"
#include "ui/local_time.h"

namespace zoedit {

namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

constexpr std::size_t kStampLength = 23;  // "2026-12-09_13-54-55.123"

// Paths are UTF-8 inside the program, whatever the system's own code page.
fs::path fsPath(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string environment(const char* name) {
#if defined(_WIN32)
    const std::wstring wide(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = ::_wgetenv(wide.c_str());
    return value != nullptr ? utf8Of(fs::path(value)) : std::string();
#else
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
#endif
}

// The same file by whatever name it was reached: through links, with "..",
// relative to the current folder.
std::string canonicalKey(const std::string& original) {
    std::error_code error;
    fs::path path = fs::weakly_canonical(fsPath(original), error);
    if (error) path = fs::absolute(fsPath(original), error).lexically_normal();
    if (error) path = fsPath(original);
    std::string key = utf8Of(path.make_preferred());
#if defined(_WIN32)
    // One file whatever the case of its name.
    std::transform(key.begin(), key.end(), key.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
#endif
    return key;
}

// FNV-1a: the same folder on every machine and every build.
std::uint64_t pathHash(const std::string& text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

std::string stampOf(system_clock::time_point when) {
    const auto ms = floor<milliseconds>(when);
    const auto day = floor<days>(ms);
    const year_month_day date{day};
    const hh_mm_ss time{ms - day};
    char text[32];
    std::snprintf(
        text, sizeof text, "%04d-%02u-%02u_%02d-%02d-%02d.%03d", static_cast<int>(date.year()),
        static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
        static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
        static_cast<int>(time.seconds().count()), static_cast<int>(time.subseconds().count()));
    return text;
}

// A copy's name back into its time and sequence; false for anything else in
// the folder (a temporary file of a copy being written, a user's own file).
bool parseName(const std::string& name, BackupEntry& entry) {
    if (name.size() < kStampLength) return false;
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
    const std::string stamp = name.substr(0, kStampLength);
    if (std::sscanf(stamp.c_str(), "%4d-%2d-%2d_%2d-%2d-%2d.%3d", &y, &mo, &d, &h, &mi, &s, &ms) !=
        7)
        return false;
    const auto day = sys_days{year{y} / month{static_cast<unsigned>(mo)} /
                              std::chrono::day{static_cast<unsigned>(d)}};
    const system_clock::time_point when =
        day + hours{h} + minutes{mi} + seconds{s} + milliseconds{ms};
    if (stampOf(when) != stamp) return false;
    int sequence = 0;
    std::size_t at = kStampLength;
    if (at < name.size() && name[at] == '_') {
        const std::size_t digits_from = ++at;
        while (at < name.size() && name[at] >= '0' && name[at] <= '9' && at - digits_from < 6)
            sequence = sequence * 10 + (name[at++] - '0');
        if (at == digits_from) return false;
    }
    if (at < name.size() && name[at] != '.') return false;
    entry.stamp = stamp;
    entry.sequence = sequence;
    entry.when = when;
    return true;
}

bool newerFirst(const BackupEntry& a, const BackupEntry& b) {
    return std::tie(a.stamp, a.sequence) > std::tie(b.stamp, b.sequence);
}

std::string copyName(const std::string& stamp, int sequence, const std::string& extension) {
    return stamp + (sequence > 0 ? "_" + std::to_string(sequence) : "") + extension;
}

// Where no hard link can be made (another file system, one without links):
// the bytes themselves, whole or not at all.
std::string copyThroughAtomicWriter(const std::string& from, const std::string& to) {
    AtomicFile copy;
    if (SaveResult r = copy.open(to); !r.ok) return r.message;
    std::string failed;
    const bool read = readFileInPieces(from, [&](std::span<const std::uint8_t> bytes) {
        if (SaveResult r = copy.append(bytes); !r.ok) failed = r.message;
        return failed.empty();
    });
    if (!failed.empty()) return failed;
    if (!read) return "cannot read " + from;
    if (SaveResult r = copy.commit(); !r.ok) return r.message;
    return {};
}

}  // namespace

BackupStore BackupStore::fromEnvironment(int keep) {
    if (std::string named = environment(kBackupFolderVariable); !named.empty())
        return BackupStore(named, keep);
    fs::path root;
#if defined(_WIN32)
    if (std::string local = environment("LOCALAPPDATA"); !local.empty()) root = fsPath(local);
#else
    if (std::string data = environment("XDG_DATA_HOME"); !data.empty() && data.front() == '/')
        root = fsPath(data);
    else if (std::string home = environment("HOME"); !home.empty())
        root = fsPath(home) / ".local" / "share";
#endif
    if (root.empty()) return BackupStore({}, keep);
    return BackupStore(utf8Of(root / "zoedit" / "backups"), keep);
}

std::string BackupStore::folderFor(const std::string& original) const {
    const std::string key = canonicalKey(original);
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(pathHash(key)));
    const fs::path name = fsPath(key).filename();
    return utf8Of(fsPath(root_) / (utf8Of(name) + "-" + hash));
}

std::vector<BackupEntry> BackupStore::list(const std::string& original) const {
    std::vector<BackupEntry> entries;
    if (root_.empty()) return entries;
    std::error_code error;
    for (fs::directory_iterator it(fsPath(folderFor(original)), error), end; !error && it != end;
         it.increment(error)) {
        BackupEntry entry;
        if (!it->is_regular_file(error) || !parseName(utf8Of(it->path().filename()), entry))
            continue;
        entry.path = utf8Of(it->path());
        entry.size = it->file_size(error);
        if (error) entry.size = 0;
        error.clear();
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(), newerFirst);
    return entries;
}

BackupOutcome BackupStore::keepCopyOf(const std::string& original) const {
    if (!enabled()) return {};
    const std::string folder = folderFor(original);
    auto warning = [&](const std::string& reason) {
        return BackupOutcome{
            {},
            "Saved, but no backup of " + original + " could be kept in " + folder + ": " + reason};
    };
    std::error_code error;
    fs::create_directories(fsPath(folder), error);
    if (error) return warning(error.message());

    // Named after the newest copy when the clock stands still or went back,
    // so that the newest copy is always the last one made.
    std::string stamp = stampOf(system_clock::now());
    int sequence = 0;
    const std::vector<BackupEntry> existing = list(original);
    if (!existing.empty() && existing.front().stamp >= stamp) {
        stamp = existing.front().stamp;
        sequence = existing.front().sequence + 1;
    }
    const std::string extension = utf8Of(fsPath(original).extension());
    for (int attempt = 0; attempt < 100; ++attempt, ++sequence) {
        const std::string copy = utf8Of(fsPath(folder) / copyName(stamp, sequence, extension));
        fs::create_hard_link(fsPath(original), fsPath(copy), error);
        if (!error) return {copy, {}};
        // Another program's copy took the name in the same millisecond.
        if (error == std::errc::file_exists) continue;
        if (std::string failed = copyThroughAtomicWriter(original, copy); !failed.empty())
            return warning(failed);
        return {copy, {}};
    }
    return warning(std::make_error_code(std::errc::file_exists).message());
}

void BackupStore::withdraw(const BackupOutcome& outcome) {
    std::error_code error;
    if (!outcome.made.empty()) fs::remove(fsPath(outcome.made), error);
}

void BackupStore::prune(const std::string& original) const {
    if (!enabled()) return;
    const std::vector<BackupEntry> entries = list(original);
    std::error_code error;
    for (std::size_t i = static_cast<std::size_t>(keep_); i < entries.size(); ++i)
        fs::remove(fsPath(entries[i].path), error);
}

bool readFileInPieces(const std::string& path,
                      const std::function<bool(std::span<const std::uint8_t>)>& take) {
    std::ifstream in(fsPath(path), std::ios::binary);
    if (!in) return false;
    std::vector<char> chunk(64 * 1024);
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) break;
        if (!take(std::span(reinterpret_cast<const std::uint8_t*>(chunk.data()), got))) return true;
    }
    return !in.bad();
}

std::string backupTimeText(const BackupEntry& entry) {
    const auto ms = duration_cast<milliseconds>(entry.when.time_since_epoch()).count() % 1000;
    const std::tm local = ui::localTime(system_clock::to_time_t(entry.when));
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(ms));
    return text;
}

}  // namespace zoedit
