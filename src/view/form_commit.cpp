#include "view/form_commit.h"

#include <array>

#include "database/field_format.h"
#include "ui/resource_ids.h"
#include "view/page_fields.h"

namespace zoedit {

using namespace ui::form;

namespace {

// Whether the entry of this field is to be stored.
bool takes(ui::ControlId id, const PageCommitInput& input) {
    return input.untouched == Untouched::ReadsText ||
           isTyped(pageField(id), input.shown, input.now);
}

const std::string& textOf(ui::ControlId id, const PageCommitInput& input) {
    return input.now.*pageField(id).text;
}

// Typed text was checked, so the strict reading holds; the lenient one
// reads the texts New puts on the page ("0000", "").
void commitHex(std::uint16_t& field, ui::ControlId id, std::uint16_t high,
               const PageCommitInput& input) {
    if (!takes(id, input)) return;
    const std::string& text = textOf(id, input);
    field = parseHexField(text, high).value_or(readHexText(text));
}

void commitDecimal(std::uint16_t& field, ui::ControlId id, const PageCommitInput& input) {
    if (!takes(id, input)) return;
    const std::string& text = textOf(id, input);
    field = parseDecimalField(text, 1, 0xFFFF).value_or(readDecimalText(text));
}

template <std::size_t N>
void commitName(std::array<char, N>& field, ui::ControlId id, const PageCommitInput& input) {
    if (takes(id, input)) setNameBytes(field, fromUtf8(textOf(id, input), input.code_page));
}

// A box that agrees with the record keeps the stored byte, whatever non-zero
// value it holds.
void commitBox(std::uint8_t& field, int now, const PageCommitInput& input) {
    if (input.untouched == Untouched::ReadsText || (field != 0) != (now != 0)) field = now ? 1 : 0;
}

}  // namespace

SatelliteRecord committedSatellite(const SatelliteRecord& current, const PageCommitInput& input) {
    SatelliteRecord record = current;
    if (takes(IDC_POSITION, input)) {
        const std::string& text = textOf(IDC_POSITION, input);
        record.position = parsePositionField(text).value_or(readPositionText(text));
    }
    commitName(record.name, IDC_SATELLITE_NAME, input);
    return record;
}

TransponderRecord committedTransponder(const TransponderRecord& current,
                                       const PageCommitInput& input) {
    TransponderRecord record = current;
    commitHex(record.network_id, IDC_NETWORK_ID, 0xFFFF, input);
    commitHex(record.frequency_order, IDC_FREQUENCY_ORDER, 0xFFFF, input);
    commitDecimal(record.frequency, IDC_FREQUENCY, input);
    commitDecimal(record.symbol_rate, IDC_SYMBOL_RATE, input);
    const bool read_all = input.untouched == Untouched::ReadsText;
    const int polarisation = input.now.polarisation_index;
    if ((read_all || polarisation != input.shown.polarisation_index) &&
        (polarisation == 0 || polarisation == 1))
        record.polarisation = static_cast<std::uint8_t>(polarisation);
    const int fec = input.now.fec_index;
    if ((read_all || fec != input.shown.fec_index) && fec >= 0 && fec <= 5)
        record.fec = static_cast<std::uint8_t>(fec);
    return record;
}

ChannelRecord committedChannel(const ChannelRecord& current, const PageCommitInput& input) {
    ChannelRecord record = current;
    commitHex(record.service_id, IDC_SERVICE_ID, 0xFFFF, input);
    commitHex(record.code_pid, IDC_CODE_PID, 0x1FFF, input);
    commitHex(record.video_pid, IDC_VIDEO_PID, 0x1FFF, input);
    commitHex(record.audio_pid, IDC_AUDIO_PID, 0x1FFF, input);
    commitHex(record.fourth_pid, IDC_FOURTH_PID, 0x1FFF, input);
    commitName(record.name, IDC_CHANNEL_NAME, input);
    commitBox(record.pid_mode, input.now.pid_mode, input);
    commitBox(record.scrambled, input.now.scrambled, input);
    commitBox(record.locked, input.now.locked, input);
    return record;
}

}  // namespace zoedit
