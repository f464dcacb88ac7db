#include "cli/receiver_server.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <deque>
#include <vector>

namespace zoedit::cli {

namespace {
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

volatile std::sig_atomic_t g_stop = 0;
volatile std::sig_atomic_t g_give_up = 0;

void onStopSignal(int) {
    g_stop = 1;
}

void onGiveUpSignal(int) {
    g_give_up = 1;
}

// A gap between the pieces of a split frame, so that the far side's reads
// tend to see them apart rather than joined again.
constexpr auto kPieceGap = std::chrono::microseconds(300);

// Bytes go to the line in order; with a line rate they leave no faster than
// that rate would carry them.
class PacedWriter {
public:
    PacedWriter(int fd, unsigned baud, bool gaps) : fd_(fd), baud_(baud), gaps_(gaps) {
        // Small slices keep the pace even: about 5 ms of line time each.
        slice_ = baud == 0 ? 65536 : std::max<std::size_t>(1, baud / 10 / 200);
    }

    void push(std::span<const std::uint8_t> piece) {
        pieces_.emplace_back(piece.begin(), piece.end());
    }
    bool empty() const { return pieces_.empty(); }

    // Time until the next byte may go (zero when it may go now).
    Clock::duration wait(Clock::time_point now) const {
        return pieces_.empty() || next_ <= now ? Clock::duration::zero() : next_ - now;
    }

    // Writes what the pace allows now. False on a line error.
    bool flush() {
        while (!pieces_.empty()) {
            const auto now = Clock::now();
            if (next_ > now) return true;
            if (next_ + std::chrono::milliseconds(20) < now)
                next_ = now;  // no credit from idle time
            Bytes& piece = pieces_.front();
            const std::size_t count = std::min(slice_, piece.size() - written_);
            const ssize_t n = ::write(fd_, piece.data() + written_, count);
            if (n < 0) {
                if (errno == EINTR || errno == EAGAIN) return true;
                return false;
            }
            written_ += static_cast<std::size_t>(n);
            if (baud_ != 0) next_ += std::chrono::nanoseconds(n * 10'000'000'000LL / baud_);
            if (written_ == piece.size()) {
                pieces_.pop_front();
                written_ = 0;
                if (gaps_) next_ = std::max(next_, Clock::now() + kPieceGap);
            }
        }
        return true;
    }

private:
    int fd_;
    unsigned baud_;
    bool gaps_;
    std::size_t slice_;
    std::deque<Bytes> pieces_;
    std::size_t written_ = 0;
    Clock::time_point next_ = Clock::now();
};

const char* verdictName(std::uint8_t verdict) {
    switch (verdict) {
        case link::LINK_DONE:
            return "done";
        case link::LINK_BAD_CHECKSUM:
            return "checksum error";
        case link::LINK_BAD_VERIFY:
            return "verify error";
        default:
            return "unknown";
    }
}
}  // namespace

void installStopSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: a blocked read or write returns at once
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    action.sa_handler = onGiveUpSignal;
    sigaction(SIGUSR1, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

int serveReceiver(int fd, link::ReceiverOptions options, const ServeOptions& serve,
                  std::ostream& log) {
    PacedWriter out(fd, serve.baud, options.split != 0);
    const std::string save_path = options.save_path;
    link::ReceiverEmulator receiver(std::move(options),
                                    [&out](std::span<const std::uint8_t> b) { out.push(b); });
    int held_slave = serve.held_slave;
    // A transfer the PC abandoned is given up after this much silence: a few
    // frames' worth of line time, and never less than three seconds.
    auto silence = std::chrono::milliseconds(3000);
    if (serve.baud != 0)
        silence = std::max(silence, std::chrono::milliseconds(4 * 1029 * 10 * 1000 / serve.baud));
    auto last_heard = Clock::now() - serve.announce_every;
    auto last_announce = last_heard;
    int downloads = 0, uploads = 0;
    std::uint8_t buffer[8192];

    while (!g_stop) {
        const auto now = Clock::now();
        if (receiver.idle() && out.empty() && now - last_heard >= serve.announce_every &&
            now - last_announce >= serve.announce_every) {
            receiver.announce();
            last_announce = now;
        }
        // A held transfer waits for the signal alone, however long that takes.
        if (g_give_up || (!receiver.idle() && !receiver.held() && now - last_heard > silence)) {
            if (!receiver.idle())
                log << "receiver: " << (g_give_up ? "told to give up" : "the PC went quiet")
                    << ", transfer abandoned" << std::endl;
            g_give_up = 0;
            receiver.reset();
            last_heard = now - serve.announce_every;
        }
        if (!out.flush()) {
            if (errno == EIO) break;  // the far side closed
            log << "receiver: write failed: " << std::strerror(errno) << std::endl;
            return 1;
        }

        const auto wait =
            out.empty()
                ? std::chrono::nanoseconds(std::chrono::milliseconds(100))
                : std::chrono::duration_cast<std::chrono::nanoseconds>(out.wait(Clock::now()));
        const timespec timeout{static_cast<time_t>(wait.count() / 1'000'000'000),
                               static_cast<long>(wait.count() % 1'000'000'000)};
        pollfd pfd{fd, POLLIN, 0};
        const int ready = ::ppoll(&pfd, 1, &timeout, nullptr);
        if (ready < 0) {
            if (errno == EINTR) continue;
            log << "receiver: poll failed: " << std::strerror(errno) << std::endl;
            return 1;
        }
        if (ready == 0) continue;
        if (pfd.revents & POLLIN) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0) {
                last_heard = Clock::now();
                if (held_slave >= 0) {
                    // Someone else has the line now: from here a hang-up means they left.
                    ::close(held_slave);
                    held_slave = -1;
                }
                receiver.receive(
                    std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(n)));
                if (receiver.downloadsCompleted() != downloads) {
                    downloads = receiver.downloadsCompleted();
                    log << "receiver: download of " << receiver.received().size()
                        << " bytes received";
                    if (!save_path.empty())
                        log << (receiver.saveError() ? ", not saved: " + *receiver.saveError()
                                                     : ", saved to " + save_path);
                    log << std::endl;
                }
                if (receiver.uploadsCompleted() != uploads) {
                    uploads = receiver.uploadsCompleted();
                    log << "receiver: upload sent, PC answered "
                        << verdictName(receiver.lastUploadVerdict().value_or(0)) << std::endl;
                }
                continue;
            }
            if (n == 0 || errno == EIO) break;
            if (errno != EINTR && errno != EAGAIN) {
                log << "receiver: read failed: " << std::strerror(errno) << std::endl;
                return 1;
            }
            continue;
        }
        if (pfd.revents & (POLLHUP | POLLERR)) {
            if (held_slave >= 0) {
                // Nobody has opened the slave side yet; wait instead of spinning.
                ::usleep(20000);
                continue;
            }
            break;
        }
    }
    if (held_slave >= 0) ::close(held_slave);
    log << "receiver: stopped" << std::endl;
    return 0;
}

}  // namespace zoedit::cli
