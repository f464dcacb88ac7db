// The receiver link as the main window offers it: the port settings and port
// commands, Download and Upload with their progress dialogs, and the handlers
// of the port's notifications. Owns the settings and both machines; the
// window system reaches it through the platform layer only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/download_machine.h"
#include "link/link_port.h"
#include "link/port_settings.h"
#include "link/progress_dialogs.h"
#include "link/transfer_events.h"
#include "link/upload_machine.h"
#include "ui/platform.h"

namespace zoedit::link {

inline constexpr char kTransferFileFilter[] =
    "Dunvar sat (Vemora )(*.bin,*.sgn)|*.bin|All Files(*.*)|*.*|";

// The batch sizes of the two notification handlers.
inline constexpr std::size_t kDownloadBatchSize = 8196;
inline constexpr std::size_t kUploadBatchSize = 65536;

// The second status pane: "Setting : 115200, none, 8, 1".
std::string settingPaneText(const LinkSettings& settings);

struct ReceiverLinkServices {
    ui::Dialogs& dialogs;
    ui::StatusBar& status;
    ui::MessagePoster& poster;
    LinkPort& port;
    // The flags the port's watcher reads.
    TransferFlags& flags;
    // Takes up to `max` received bytes out of QueueRead; returns how many.
    std::function<std::size_t(std::uint8_t* out, std::size_t max)> drain;
};

struct ReceiverLinkHooks {
    // Serial devices found on the machine, offered in the settings dialog.
    std::function<std::vector<std::string>()> serial_devices;
    // The second status pane shows this text.
    std::function<void(const std::string&)> setting_pane;
    SecondsClock clock;  // steady clock when empty
};

class ReceiverLink {
public:
    ReceiverLink(ReceiverLinkServices services, std::string config_path,
                 ReceiverLinkHooks hooks = {});
    ReceiverLink(const ReceiverLink&) = delete;
    ReceiverLink& operator=(const ReceiverLink&) = delete;

    // While the view is built: config.ini read, or created with the defaults.
    void ReadSettings();

    // Menu commands 32813, 32814, 32784 and 32815; false for any other.
    bool onCommand(int id);
    bool isCommandChecked(int id) const;
    // UM_DL_START, UM_UL_START, UM_DOWNLOAD_RX, UM_UPLOAD_RX and the progress
    // dialogs' messages while one runs; false for any other.
    bool onMessage(const ui::Message& message);

    void OnPortSettings();
    void OnPortCommand();
    void OnDownload();
    void OnUpload();
    void OnDownloadStart();
    void OnUploadStart();
    void OnDownloadRx();
    void OnUploadRx();
    // Called about once a second by the platform: a progress dialog whose
    // receiver has said nothing for a while tells the user what to check.
    void onTick();

    PortState& portState() { return m_port; }
    const PortState& portState() const { return m_port; }
    DownloadMachine& download() { return m_download; }
    UploadMachine& upload() { return m_upload; }
    const TransferFlags& flags() const { return m_services.flags; }
    const std::string& configPath() const { return m_configPath; }

private:
    // What one machine shows, handed to the owner's functions.
    class Events : public TransferEvents {
    public:
        std::function<void(std::uint32_t)> on_progress;
        std::function<void()> on_close;
        std::function<void(const std::string&)> on_message;
        std::function<void(const std::string&)> on_status;
        void progress(std::uint32_t position) override { on_progress(position); }
        void close() override { on_close(); }
        void messageBox(const std::string& text) override { on_message(text); }
        void statusText(const std::string& text) override { on_status(text); }
    };

    void showMessage(const std::string& text);
    void sendBytes(std::span<const std::uint8_t> bytes);
    // After a machine ran: a write the open line did not take ends the
    // transfer (disarmed, dialog closed, the reason shown). True when it did.
    template <typename Machine>
    bool endOnStoppedLine(Machine& machine, unsigned close_id);
    std::optional<std::string> chooseFile(bool open);
    void updateSettingPane();
    template <typename Step>
    void drainInto(std::size_t batch_size, const std::atomic<int>& armed, Step step);

    ReceiverLinkServices m_services;
    std::string m_configPath;
    ReceiverLinkHooks m_hooks;
    PortState m_port;
    Events m_downloadEvents;
    Events m_uploadEvents;
    DownloadMachine m_download;
    UploadMachine m_upload;
    CDownloadProgressDlg* m_downloadDlg = nullptr;  // while it runs
    CUploadProgressDlg* m_uploadDlg = nullptr;
    std::vector<std::uint8_t> m_batch;
    bool m_stepping = false;      // a machine step is running (a box may nest the loop)
    bool m_rxPending = false;     // a notification came while it ran
    bool m_lineStopped = false;   // a write since the last look fell short
    double m_lastHeard = 0.0;     // when the running dialog opened or last got bytes
    bool m_silenceShown = false;  // the rate line holds the silence hint
    double now() const;
    bool waitingForReceiver() const;
    void heard();
    void setRateLine(const std::string& text);
};

}  // namespace zoedit::link
