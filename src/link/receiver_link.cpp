#include "link/receiver_link.h"

#include <cctype>

#include "link/port_command.h"
#include "link/port_settings_dialog.h"

namespace zoedit::link {

namespace {

class StatusAndBoxes : public PortCommandUi {
public:
    StatusAndBoxes(ui::StatusBar& status, std::function<void(const std::string&)> box)
        : m_status(status), m_box(std::move(box)) {}
    void setStatusText(const std::string& text) override { m_status.setStatusText(text); }
    void showMessage(const std::string& text) override { m_box(text); }

private:
    ui::StatusBar& m_status;
    std::function<void(const std::string&)> m_box;
};

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string settingPaneText(const LinkSettings& s) {
    return "Setting : " + s.speed + ", " + lower(s.parity) + ", " + s.data_bits + ", " +
           s.stop_bits;
}

ReceiverLink::ReceiverLink(ReceiverLinkServices services, std::string config_path,
                           ReceiverLinkHooks hooks)
    : m_services(std::move(services)),
      m_configPath(std::move(config_path)),
      m_hooks(std::move(hooks)),
      m_download(
          m_services.flags, [this](auto bytes) { sendBytes(bytes); }, m_downloadEvents),
      m_upload(
          m_services.flags, [this](auto bytes) { sendBytes(bytes); }, m_uploadEvents) {
    if (!m_hooks.clock) m_hooks.clock = steadySeconds();
    const auto box = [this](const std::string& text) { showMessage(text); };

    m_downloadEvents.on_progress = [this](std::uint32_t position) {
        m_services.poster.postMessage(
            {ui::UM_DL_PROGRESS, static_cast<std::intptr_t>(position), 0});
    };
    m_downloadEvents.on_close = [this] { m_services.poster.postMessage({ui::UM_DL_CLOSE, 0, 0}); };
    m_downloadEvents.on_message = box;
    m_downloadEvents.on_status = [this](const std::string& text) {
        m_services.status.setStatusText(text);
    };

    m_uploadEvents.on_progress = [this](std::uint32_t total) {
        m_services.poster.postMessage({ui::UM_UL_PROGRESS, static_cast<std::intptr_t>(total), 0});
    };
    m_uploadEvents.on_close = [this] { m_services.poster.postMessage({ui::UM_UL_CLOSE, 0, 0}); };
    m_uploadEvents.on_message = box;
    m_uploadEvents.on_status = [this](const std::string& text) {
        if (m_uploadDlg != nullptr) m_uploadDlg->setStatusText(text);
    };
}

void ReceiverLink::ReadSettings() {
    const ConfigLoad load = loadPortState(m_port, m_configPath);
    // The defaults are in use; the user should know their choice was not kept.
    if (!load.status.ok) showMessage(load.status.message);
    updateSettingPane();
}

bool ReceiverLink::onCommand(int id) {
    switch (id) {
        case ui::cmd::ID_PORT_SETTINGS:
            OnPortSettings();
            return true;
        case ui::cmd::ID_PORT_OPEN_CLOSE:
            OnPortCommand();
            return true;
        case ui::cmd::ID_DOWNLOAD:
            OnDownload();
            return true;
        case ui::cmd::ID_UPLOAD:
            OnUpload();
            return true;
        default:
            return false;
    }
}

bool ReceiverLink::isCommandChecked(int id) const {
    return id == ui::cmd::ID_PORT_OPEN_CLOSE && m_port.m_bPortOpen;
}

bool ReceiverLink::onMessage(const ui::Message& message) {
    switch (message.id) {
        case ui::UM_DL_START:
            OnDownloadStart();
            return true;
        case ui::UM_UL_START:
            OnUploadStart();
            return true;
        case ui::UM_DOWNLOAD_RX:
            OnDownloadRx();
            return true;
        case ui::UM_UPLOAD_RX:
            OnUploadRx();
            return true;
        case ui::UM_DL_PROGRESS:
        case ui::UM_DL_CLOSE:
            if (m_downloadDlg != nullptr) m_downloadDlg->deliver(message);
            return true;
        case ui::UM_UL_PROGRESS:
        case ui::UM_UL_CLOSE:
            if (m_uploadDlg != nullptr) m_uploadDlg->deliver(message);
            return true;
        default:
            return false;
    }
}

void ReceiverLink::OnPortSettings() {
    std::vector<std::string> devices;
    if (m_hooks.serial_devices) devices = m_hooks.serial_devices();
    CPortSettingsDlg dialog(m_port.settings, std::move(devices),
                            [this](const std::string& text) { showMessage(text); });
    if (m_services.dialogs.runModal(dialog) != ui::IDOK) return;
    const ConfigStatus saved = acceptSettings(m_port, dialog.chosen(), m_configPath);
    updateSettingPane();
    if (!saved.ok) showMessage(saved.message);
}

void ReceiverLink::OnPortCommand() {
    StatusAndBoxes ui(m_services.status, [this](const std::string& text) { showMessage(text); });
    runPortCommand(m_port, m_services.port, ui);
}

std::optional<std::string> ReceiverLink::chooseFile(bool open) {
    ui::FileDialogRequest request;
    request.open = open;
    request.default_extension = "bin";
    request.initial_name = "*.bin;*.sgn";
    request.flags = ui::OFN_OVERWRITEPROMPT;
    request.filter = kTransferFileFilter;
    return m_services.dialogs.fileDialog(request);
}

void ReceiverLink::OnDownload() {
    const std::optional<std::string> path = chooseFile(true);
    if (!path) return;
    if (!m_download.prepareFile(*path)) return;
    OnDownloadStart();
}

void ReceiverLink::OnDownloadStart() {
    CDownloadProgressDlg dialog(downloadDialogTexts(m_download.header(), m_download.progressTotal(),
                                                    m_port.settings.port, m_port.settings.speed),
                                m_hooks.clock);
    m_downloadDlg = &dialog;
    heard();
    const int result = m_services.dialogs.runModal(dialog);
    m_downloadDlg = nullptr;
    if (result == ui::IDCANCEL) m_download.cancel();
}

void ReceiverLink::OnUpload() {
    const std::optional<std::string> path = chooseFile(false);
    if (!path) return;
    m_upload.arm(*path);
    OnUploadStart();
}

void ReceiverLink::OnUploadStart() {
    CUploadProgressDlg dialog(
        m_upload.outputPath(),
        [this]() -> std::uint32_t {
            if (m_upload.state() != UploadMachine::State::ReceiveBlocks) return 0;
            return expectedUploadBytes(m_upload.header().data_length);
        },
        m_hooks.clock);
    m_uploadDlg = &dialog;
    heard();
    m_upload.start();
    if (endOnStoppedLine(m_upload, ui::UM_UL_CLOSE)) {
        m_uploadDlg = nullptr;
        return;
    }
    const int result = m_services.dialogs.runModal(dialog);
    m_uploadDlg = nullptr;
    if (result == ui::IDCANCEL) m_upload.cancel();
}

template <typename Step>
void ReceiverLink::drainInto(std::size_t batch_size, const std::atomic<int>& armed, Step step) {
    // A message box inside a step runs a nested loop that may bring the next
    // notification: it is taken up here once the step is over, so the machine
    // never runs inside itself.
    if (m_stepping) {
        m_rxPending = true;
        return;
    }
    m_stepping = true;
    m_batch.resize(batch_size);
    do {
        m_rxPending = false;
        // Bytes left once the transfer has ended stay queued for the next one.
        while (armed.load() != 0) {
            const std::size_t n = m_services.drain(m_batch.data(), m_batch.size());
            if (n == 0) break;
            heard();
            step(std::span<const std::uint8_t>(m_batch.data(), n));
        }
    } while (m_rxPending);
    m_stepping = false;
}

void ReceiverLink::OnDownloadRx() {
    drainInto(kDownloadBatchSize, m_services.flags.m_bDownloadActive,
              [this](std::span<const std::uint8_t> batch) {
                  m_download.step(batch, m_port.m_bPortOpen);
                  endOnStoppedLine(m_download, ui::UM_DL_CLOSE);
              });
}

void ReceiverLink::OnUploadRx() {
    drainInto(kUploadBatchSize, m_services.flags.m_bUploadActive,
              [this](std::span<const std::uint8_t> batch) {
                  m_upload.step(batch, m_port.m_bPortOpen);
                  endOnStoppedLine(m_upload, ui::UM_UL_CLOSE);
              });
}

bool ReceiverLink::waitingForReceiver() const {
    if (m_downloadDlg != nullptr) return m_download.verdict() == TransferVerdict::Pending;
    return !m_upload.finished();
}

double ReceiverLink::now() const {
    return m_hooks.clock();  // set in the constructor
}

void ReceiverLink::setRateLine(const std::string& text) {
    if (m_downloadDlg != nullptr) m_downloadDlg->setRateLine(text);
    if (m_uploadDlg != nullptr) m_uploadDlg->setRateLine(text);
}

void ReceiverLink::heard() {
    m_lastHeard = now();
    if (m_silenceShown) setRateLine("");
    m_silenceShown = false;
}

void ReceiverLink::onTick() {
    if (m_downloadDlg == nullptr && m_uploadDlg == nullptr) return;
    // A box of a step (the closing message above all) keeps the user, not
    // the receiver, busy; and once the verdict is in, nobody is waited for.
    if (m_stepping || !waitingForReceiver()) return;
    if (now() - m_lastHeard < kSilenceBeforeHint) return;
    // Still waiting for Cancel or the receiver: this only says what to check.
    setRateLine(m_port.m_bPortOpen ? kMsgNoAnswerYet : kMsgPortClosedOpenIt);
    m_silenceShown = true;
}

void ReceiverLink::showMessage(const std::string& text) {
    m_services.dialogs.messageBox(
        {text, ui::kAppTitle, ui::MessageButtons::Ok, ui::MessageIcon::None});
}

void ReceiverLink::sendBytes(std::span<const std::uint8_t> bytes) {
    const std::size_t taken = m_services.port.WriteComm(bytes.data(), bytes.size());
    // With the port closed nothing can go out; the dialog waits for Cancel.
    if (taken < bytes.size() && m_port.m_bPortOpen) m_lineStopped = true;
}

template <typename Machine>
bool ReceiverLink::endOnStoppedLine(Machine& machine, unsigned close_id) {
    if (!m_lineStopped) return false;
    m_lineStopped = false;
    machine.cancel();
    m_services.poster.postMessage({close_id, 0, 0});
    showMessage(kMsgLineStopped);
    return true;
}

void ReceiverLink::updateSettingPane() {
    if (m_hooks.setting_pane) m_hooks.setting_pane(settingPaneText(m_port.settings));
}

}  // namespace zoedit::link
