#include "link/progress_dialogs.h"

#include <chrono>
#include <climits>

#include "link/link_frames.h"

namespace zoedit::link {

namespace {

int clampToInt(std::uint32_t value) {
    return value > static_cast<std::uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(value);
}

}  // namespace

SecondsClock steadySeconds() {
    return [] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
}

DownloadDialogTexts downloadDialogTexts(const FileHeader& header, std::uint32_t total,
                                        const std::string& port, const std::string& speed) {
    DownloadDialogTexts t;
    t.model_id = modelIdText(header);
    t.hw_version = hardwareVersionText(header.hw_version);
    t.sw_version = softwareVersionText(header.sw_version);
    t.port = port;
    t.speed = speed;
    t.total = total;
    return t;
}

std::uint32_t expectedUploadBytes(std::uint32_t data_length) {
    const std::uint64_t frames = (std::uint64_t{data_length} + kBlockDataSize - 1) / kBlockDataSize;
    const std::uint64_t bytes = frames * kBlockFrameSize;
    return bytes > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(bytes);
}

// ---------------------------------------------------------------------------

CDownloadProgressDlg::CDownloadProgressDlg(DownloadDialogTexts texts, SecondsClock clock)
    : m_texts(std::move(texts)), m_clock(std::move(clock)) {}

int CDownloadProgressDlg::dialogId() const {
    return ui::IDD_DOWNLOAD_PROGRESS;
}

void CDownloadProgressDlg::onInitDialog(ui::DialogHost& host) {
    using namespace ui::download;
    ui::Form& form = host.form();
    form.setText(IDC_MODEL_ID, m_texts.model_id);
    form.setText(IDC_HW_VERSION, m_texts.hw_version);
    form.setText(IDC_SW_VERSION, m_texts.sw_version);
    form.setText(IDC_COM_PORT, m_texts.port);
    form.setText(IDC_SPEED, m_texts.speed);
    form.setText(IDC_POSITION, downloadPositionText(0, m_texts.total));
    form.setText(IDC_RATE, "");
    form.setRange(IDC_PROGRESS, 0, clampToInt(m_texts.total));
    form.setPosition(IDC_PROGRESS, 0);
    m_rate.reset();
    m_host = &host;
}

void CDownloadProgressDlg::onEvent(ui::DialogHost& host, const ui::ControlEvent& event) {
    if (event.kind == ui::EventKind::Clicked && event.id == ui::download::IDC_CANCEL) onClose(host);
}

void CDownloadProgressDlg::onClose(ui::DialogHost& host) {
    m_host = nullptr;
    host.endDialog(ui::IDCANCEL);
}

void CDownloadProgressDlg::deliver(const ui::Message& message) {
    if (m_host != nullptr) onMessage(*m_host, message);
}

void CDownloadProgressDlg::onMessage(ui::DialogHost& host, const ui::Message& message) {
    using namespace ui::download;
    if (message.id == ui::UM_DL_CLOSE) {
        onClose(host);
        return;
    }
    if (message.id != ui::UM_DL_PROGRESS) return;
    const auto position = static_cast<std::uint32_t>(message.wparam);
    ui::Form& form = host.form();
    form.setPosition(IDC_PROGRESS, clampToInt(position));
    form.setText(IDC_POSITION, downloadPositionText(position, m_texts.total));
    const std::string rate = m_rate.report(position, m_texts.total, m_clock ? m_clock() : 0.0);
    if (!rate.empty()) form.setText(IDC_RATE, rate);
}

void CDownloadProgressDlg::setRateLine(const std::string& text) {
    if (m_host != nullptr) m_host->form().setText(ui::download::IDC_RATE, text);
}

// ---------------------------------------------------------------------------

CUploadProgressDlg::CUploadProgressDlg(std::string output_path,
                                       std::function<std::uint32_t()> expected, SecondsClock clock)
    : m_path(std::move(output_path)), m_expected(std::move(expected)), m_clock(std::move(clock)) {}

int CUploadProgressDlg::dialogId() const {
    return ui::IDD_UPLOAD_PROGRESS;
}

void CUploadProgressDlg::onInitDialog(ui::DialogHost& host) {
    using namespace ui::upload;
    m_host = &host;
    ui::Form& form = host.form();
    form.setText(IDC_OUTPUT_PATH, m_path);
    form.setText(IDC_BYTE_COUNT, "0");
    form.setText(IDC_EMPTY, "");
    form.setText(IDC_RATE, "");
    m_rate.reset();
}

void CUploadProgressDlg::onEvent(ui::DialogHost& host, const ui::ControlEvent& event) {
    if (event.kind == ui::EventKind::Clicked && event.id == ui::upload::IDC_CANCEL) onClose(host);
}

void CUploadProgressDlg::onClose(ui::DialogHost& host) {
    m_host = nullptr;
    host.endDialog(ui::IDCANCEL);
}

void CUploadProgressDlg::deliver(const ui::Message& message) {
    if (m_host != nullptr) onMessage(*m_host, message);
}

void CUploadProgressDlg::onMessage(ui::DialogHost& host, const ui::Message& message) {
    using namespace ui::upload;
    if (message.id == ui::UM_UL_CLOSE) {
        onClose(host);
        return;
    }
    if (message.id != ui::UM_UL_PROGRESS) return;
    const auto total = static_cast<std::uint32_t>(message.wparam);
    ui::Form& form = host.form();
    form.setText(IDC_BYTE_COUNT, uploadCountText(total));
    const std::uint32_t expected = m_expected ? m_expected() : 0;
    const std::string rate = m_rate.report(total, expected, m_clock ? m_clock() : 0.0);
    if (!rate.empty()) form.setText(IDC_RATE, rate);
}

void CUploadProgressDlg::setRateLine(const std::string& text) {
    if (m_host != nullptr) m_host->form().setText(ui::upload::IDC_RATE, text);
}

void CUploadProgressDlg::setStatusText(const std::string& text) {
    if (m_host != nullptr) m_host->form().setText(ui::upload::IDC_EMPTY, text);
}

}  // namespace zoedit::link
