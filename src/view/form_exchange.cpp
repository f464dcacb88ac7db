// Exchange of the form variables with the controls, in the form's order.
#include <string>

#include "view/zoedit_view.h"

namespace zoedit {

using namespace ui::form;

namespace {

// Limits of the edits; the names' limits are those of their byte fields.
struct Limited {
    ui::ControlId id;
    int limit;
};
constexpr Limited kLimits[] = {
    {IDC_CHANNEL_NAME, static_cast<int>(kChannelNameSize) - 1},
    {IDC_SERVICE_ID, 4},
    {IDC_CODE_PID, 4},
    {IDC_FOURTH_PID, 4},
    {IDC_SATELLITE_NAME, static_cast<int>(kSatelliteNameSize) - 1},
    {IDC_FREQUENCY_ORDER, 4},
    {IDC_FREQUENCY, 5},
    {IDC_SYMBOL_RATE, 5},
    {IDC_NETWORK_ID, 4},
};

int limitOf(ui::ControlId id) {
    for (const Limited& l : kLimits)
        if (l.id == id) return l.limit;
    return 0;
}

// Characters, not bytes: the form's texts are UTF-8.
std::size_t characterCount(std::string_view utf8) {
    std::size_t n = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

// The text fields in exchange order.
struct TextBinding {
    ui::ControlId id;
    std::string FormValues::*value;
};
constexpr TextBinding kTexts[] = {
    {IDC_FILE_PATH, &FormValues::path},
    {IDC_DATE, &FormValues::date},
    {IDC_SATELLITE_BANNER, &FormValues::satellite_banner},
    {IDC_CHANNEL_NAME, &FormValues::channel_name},
    {IDC_SERVICE_ID, &FormValues::service_id},
    {IDC_VIDEO_PID, &FormValues::video_pid},
    {IDC_CODE_PID, &FormValues::code_pid},
    {IDC_AUDIO_PID, &FormValues::audio_pid},
    {IDC_FOURTH_PID, &FormValues::fourth_pid},
    {IDC_SATELLITE_NAME, &FormValues::satellite_name},
    {IDC_POSITION, &FormValues::position},
    {IDC_FREQUENCY_ORDER, &FormValues::frequency_order},
    {IDC_FREQUENCY, &FormValues::frequency},
    {IDC_SYMBOL_RATE, &FormValues::symbol_rate},
    {IDC_NETWORK_ID, &FormValues::network_id},
};

}  // namespace

void CZoEditView::UpdateDataToForm() {
    ui::Form& form = m_platform.form;
    for (const TextBinding& b : kTexts) {
        form.setText(b.id, m_values.*b.value);
        if (const int limit = limitOf(b.id)) form.setInputLimit(b.id, limit);
    }
    setComboText(IDC_POLARISATION, m_values.polarisation);
    form.setChecked(IDC_LOCKED, m_values.locked != 0);
    form.setChecked(IDC_SCRAMBLED, m_values.scrambled != 0);
    form.setText(IDC_TRANSPONDER_NUMBER, m_values.transponder_number);
    form.setText(IDC_CHANNEL_NUMBER, m_values.channel_number);
    form.setChecked(IDC_PID_MODE, m_values.pid_mode != 0);
    for (int k = 0; k < kFavouriteBoxCount; ++k) {
        const FavouriteBox& box = m_favouriteBoxes.boxes()[static_cast<std::size_t>(k)];
        form.setChecked(IDC_FAVOURITE_CHECK[k], box.checked);
        form.setText(IDC_FAVOURITE_POSITION[k], box.position);
    }
}

// The form as it is now; the values the program keeps (path, date) pass
// through the controls like the rest.
FormValues CZoEditView::readForm() const {
    const ui::Form& form = m_platform.form;
    FormValues now;
    for (const TextBinding& b : kTexts) now.*b.value = form.text(b.id);
    now.polarisation = form.text(IDC_POLARISATION);
    now.polarisation_index = form.selectedIndex(IDC_POLARISATION);
    now.fec_index = form.selectedIndex(IDC_FEC);
    now.locked = form.isChecked(IDC_LOCKED) ? 1 : 0;
    now.scrambled = form.isChecked(IDC_SCRAMBLED) ? 1 : 0;
    now.transponder_number = form.text(IDC_TRANSPONDER_NUMBER);
    now.channel_number = form.text(IDC_CHANNEL_NUMBER);
    now.pid_mode = form.isChecked(IDC_PID_MODE) ? 1 : 0;
    return now;
}

bool CZoEditView::UpdateDataFromForm() {
    ui::Form& form = m_platform.form;
    FormValues now = readForm();
    for (const TextBinding& b : kTexts) {
        const int limit = limitOf(b.id);
        if (limit > 0 && characterCount(now.*b.value) > static_cast<std::size_t>(limit)) {
            std::string prompt = ui::kTextTooLongPrompt;
            prompt.replace(prompt.find("%d"), 2, std::to_string(limit));
            m_platform.dialogs.messageBox(
                {prompt, ui::kAppTitle, ui::MessageButtons::Ok, ui::MessageIcon::Exclamation});
            form.setFocus(b.id);
            return false;
        }
    }
    m_values = std::move(now);
    for (int k = 0; k < kFavouriteBoxCount; ++k) {
        FavouriteBox& box = m_favouriteBoxes.boxes()[static_cast<std::size_t>(k)];
        box.checked = form.isChecked(IDC_FAVOURITE_CHECK[k]);
        box.position = form.text(IDC_FAVOURITE_POSITION[k]);
    }
    return true;
}

}  // namespace zoedit
