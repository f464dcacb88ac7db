#include "view/page_fields.h"

#include <algorithm>

#include "database/field_format.h"
#include "ui/resource_ids.h"

namespace zoedit {

using namespace ui::form;

namespace {

constexpr PageField kFields[] = {
    {IDC_CHANNEL_NAME, Page::Channel, &FormValues::channel_name, "Channel name", FieldRule::Name},
    {IDC_SERVICE_ID, Page::Channel, &FormValues::service_id, "Service ID", FieldRule::Hex16},
    {IDC_VIDEO_PID, Page::Channel, &FormValues::video_pid, "Video PID", FieldRule::Pid},
    {IDC_CODE_PID, Page::Channel, &FormValues::code_pid, "Code PID", FieldRule::Pid},
    {IDC_AUDIO_PID, Page::Channel, &FormValues::audio_pid, "Audio PID", FieldRule::Pid},
    {IDC_FOURTH_PID, Page::Channel, &FormValues::fourth_pid, "Fourth PID", FieldRule::Pid},
    {IDC_NETWORK_ID, Page::Transponder, &FormValues::network_id, "Network ID", FieldRule::Hex16},
    {IDC_FREQUENCY_ORDER, Page::Transponder, &FormValues::frequency_order, "Frequency order",
     FieldRule::Hex16},
    {IDC_FREQUENCY, Page::Transponder, &FormValues::frequency, "Frequency", FieldRule::Frequency},
    {IDC_SYMBOL_RATE, Page::Transponder, &FormValues::symbol_rate, "Symbol rate",
     FieldRule::Frequency},
    {IDC_SATELLITE_NAME, Page::Satellite, &FormValues::satellite_name, "Satellite name",
     FieldRule::Name},
    {IDC_POSITION, Page::Satellite, &FormValues::position, "Position", FieldRule::Position},
};

bool fits(FieldRule rule, const std::string& text) {
    switch (rule) {
        case FieldRule::Name:
            return !text.empty();
        case FieldRule::Frequency:
            return parseDecimalField(text, 1, 0xFFFF).has_value();
        case FieldRule::Pid:
            return parseHexField(text, 0x1FFF).has_value();
        case FieldRule::Hex16:
            return parseHexField(text, 0xFFFF).has_value();
        case FieldRule::Position:
            return parsePositionField(text).has_value();
    }
    return false;
}

std::string rangeText(FieldRule rule) {
    switch (rule) {
        case FieldRule::Name:
            return "cannot be empty.";
        case FieldRule::Frequency:
            return "must be a number from 1 to 65535.";
        case FieldRule::Pid:
            return "must be a hex number from 0 to 1FFF (0 to 8191).";
        case FieldRule::Hex16:
            return "must be a hex number from 0 to FFFF.";
        case FieldRule::Position:
            return "must be a position from 0.0 to 180.0, east or west (180.0E ~ 180.0W).";
    }
    return {};
}

}  // namespace

const PageField& pageField(ui::ControlId id) {
    return *std::find_if(std::begin(kFields), std::end(kFields),
                         [id](const PageField& f) { return f.id == id; });
}

bool isTyped(const PageField& field, const FormValues& shown, const FormValues& now) {
    return shown.*field.text != now.*field.text;
}

bool hasTyping(const FormValues& shown, const FormValues& now) {
    for (const PageField& field : kFields)
        if (isTyped(field, shown, now)) return true;
    return shown.polarisation_index != now.polarisation_index || shown.fec_index != now.fec_index ||
           shown.scrambled != now.scrambled || shown.pid_mode != now.pid_mode;
}

std::optional<FieldRefusal> firstRefusal(const FormValues& shown, const FormValues& now,
                                         const std::vector<ui::ControlId>& required) {
    for (const PageField& field : kFields) {
        const bool must = std::find(required.begin(), required.end(), field.id) != required.end();
        if (!must && !isTyped(field, shown, now)) continue;
        if (fits(field.rule, now.*field.text)) continue;
        return FieldRefusal{field.id, field.page,
                            std::string(field.label) + " " + rangeText(field.rule)};
    }
    return std::nullopt;
}

}  // namespace zoedit
