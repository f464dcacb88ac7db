// The two progress dialogs of the receiver link. They show what the machines
// post (UM_DL_PROGRESS / UM_UL_PROGRESS) and end with the Cancel result on
// their close message or the Cancel button; the owner then puts the machine
// back to rest.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "database/channel_database.h"
#include "link/rate_meter.h"
#include "ui/dialogs.h"

namespace zoedit::link {

// The rate line of a progress dialog while nothing has come for this long.
inline constexpr double kSilenceBeforeHint = 5.0;
inline constexpr char kMsgNoAnswerYet[] =
    "No answer from the receiver yet: is it connected and waiting?";
inline constexpr char kMsgPortClosedOpenIt[] = "The port is closed: open it from the control menu.";

// Seconds on a steady clock; tests pass their own.
using SecondsClock = std::function<double()>;
SecondsClock steadySeconds();

struct DownloadDialogTexts {
    std::string model_id;
    std::string hw_version;
    std::string sw_version;
    std::string port;   // the port setting text as stored
    std::string speed;  // the speed setting text as stored
    std::uint32_t total = 0;
};

// The header's fields as the dialog shows them.
DownloadDialogTexts downloadDialogTexts(const FileHeader& header, std::uint32_t total,
                                        const std::string& port, const std::string& speed);

class CDownloadProgressDlg : public ui::ModalDialog {
public:
    CDownloadProgressDlg(DownloadDialogTexts texts, SecondsClock clock);

    int dialogId() const override;
    void onInitDialog(ui::DialogHost& host) override;
    void onEvent(ui::DialogHost& host, const ui::ControlEvent& event) override;
    void onMessage(ui::DialogHost& host, const ui::Message& message) override;
    void onClose(ui::DialogHost& host) override;
    // A message that reached the owner instead of the running dialog.
    void deliver(const ui::Message& message);
    // The rate line, while the receiver is silent (a hint) or once it speaks
    // again (empty until the next rate).
    void setRateLine(const std::string& text);

private:
    DownloadDialogTexts m_texts;
    ui::DialogHost* m_host = nullptr;  // only while running
    SecondsClock m_clock;
    RateMeter m_rate;
};

class CUploadProgressDlg : public ui::ModalDialog {
public:
    // `expected` answers the bytes of all block frames the receiver will send
    // (0 while its header has not come).
    CUploadProgressDlg(std::string output_path, std::function<std::uint32_t()> expected,
                       SecondsClock clock);

    int dialogId() const override;
    void onInitDialog(ui::DialogHost& host) override;
    void onEvent(ui::DialogHost& host, const ui::ControlEvent& event) override;
    void onMessage(ui::DialogHost& host, const ui::Message& message) override;

    void onClose(ui::DialogHost& host) override;
    void deliver(const ui::Message& message);
    // The status line (static 1145) while the dialog runs.
    void setStatusText(const std::string& text);
    void setRateLine(const std::string& text);

private:
    std::string m_path;
    std::function<std::uint32_t()> m_expected;
    SecondsClock m_clock;
    RateMeter m_rate;
    ui::DialogHost* m_host = nullptr;  // only while running
};

// The upload's expected byte count from the announced data length: whole
// 1,029-byte frames of 1,024 data bytes each.
std::uint32_t expectedUploadBytes(std::uint32_t data_length);

}  // namespace zoedit::link
