#include "view/page_controls.h"

#include <array>

namespace zoedit {

using namespace ui::form;

namespace {

constexpr std::array kChannelPage = {IDC_CHANNEL_NUMBER,
                                     IDC_SATELLITE_BANNER,
                                     IDC_TRANSPONDER_SELECTOR_LABEL,
                                     IDC_TRANSPONDER_SELECTOR,
                                     IDC_CHANNEL_NAME_LABEL,
                                     IDC_CHANNEL_NAME,
                                     IDC_SERVICE_ID_LABEL,
                                     IDC_SERVICE_ID,
                                     IDC_PID_MODE,
                                     IDC_VIDEO_PID_LABEL,
                                     IDC_VIDEO_PID,
                                     IDC_CODE_PID_LABEL,
                                     IDC_CODE_PID,
                                     IDC_AUDIO_PID_LABEL,
                                     IDC_AUDIO_PID,
                                     IDC_FOURTH_PID_LABEL,
                                     IDC_FOURTH_PID,
                                     IDC_HEX_LABEL_1,
                                     IDC_HEX_LABEL_2,
                                     IDC_HEX_LABEL_3,
                                     IDC_HEX_LABEL_4,
                                     IDC_PID_GROUP,
                                     IDC_FAVOURITES_GROUP,
                                     IDC_FAVOURITE_CHECK[0],
                                     IDC_FAVOURITE_CHECK[1],
                                     IDC_FAVOURITE_CHECK[2],
                                     IDC_FAVOURITE_CHECK[3],
                                     IDC_FAVOURITE_CHECK[4],
                                     IDC_FAVOURITE_CHECK[5],
                                     IDC_FAVOURITE_CHECK[6],
                                     IDC_FAVOURITE_CHECK[7],
                                     IDC_FAVOURITE_CHECK[8],
                                     IDC_FAVOURITE_CHECK[9],
                                     IDC_FAVOURITE_POSITION[0],
                                     IDC_FAVOURITE_POSITION[1],
                                     IDC_FAVOURITE_POSITION[2],
                                     IDC_FAVOURITE_POSITION[3],
                                     IDC_FAVOURITE_POSITION[4],
                                     IDC_FAVOURITE_POSITION[5],
                                     IDC_FAVOURITE_POSITION[6],
                                     IDC_FAVOURITE_POSITION[7],
                                     IDC_FAVOURITE_POSITION[8],
                                     IDC_FAVOURITE_POSITION[9],
                                     IDC_LOCK_GROUP,
                                     IDC_LOCKED,
                                     IDC_SCRAMBLED};

constexpr std::array kTransponderPage = {IDC_SATELLITE_NAME_LABEL,
                                         IDC_SATELLITE_SELECTOR,
                                         IDC_TRANSPONDER_COUNT_LABEL,
                                         IDC_TRANSPONDER_NUMBER,
                                         IDC_FREQUENCY_ORDER_LABEL,
                                         IDC_FREQUENCY_ORDER,
                                         IDC_NETWORK_ID_LABEL,
                                         IDC_NETWORK_ID,
                                         IDC_FREQUENCY_LABEL,
                                         IDC_FREQUENCY,
                                         IDC_POLARISATION_LABEL,
                                         IDC_POLARISATION,
                                         IDC_SYMBOL_RATE_LABEL,
                                         IDC_SYMBOL_RATE,
                                         IDC_FEC_LABEL,
                                         IDC_FEC,
                                         IDC_PAGE_GROUP};

constexpr std::array kSatellitePage = {IDC_SATELLITE_NAME_LABEL,    IDC_SATELLITE_NAME,
                                       IDC_TRANSPONDER_COUNT_LABEL, IDC_TRANSPONDER_NUMBER,
                                       IDC_FREQUENCY_ORDER_LABEL,   IDC_FREQUENCY_ORDER,
                                       IDC_POSITION_LABEL,          IDC_POSITION,
                                       IDC_POSITION_HINT,           IDC_PAGE_GROUP};

constexpr std::array kReadOnlyEdits = {
    IDC_CHANNEL_NAME, IDC_SERVICE_ID,         IDC_VIDEO_PID,       IDC_CODE_PID,   IDC_AUDIO_PID,
    IDC_FOURTH_PID,   IDC_TRANSPONDER_NUMBER, IDC_FREQUENCY_ORDER, IDC_NETWORK_ID, IDC_FREQUENCY,
    IDC_SYMBOL_RATE,  IDC_SATELLITE_NAME,     IDC_POSITION};

constexpr std::array kDisabledInReadOnlyState = {IDC_TRANSPONDER_SELECTOR,
                                                 IDC_SATELLITE_SELECTOR,
                                                 IDC_POLARISATION,
                                                 IDC_FEC,
                                                 IDC_PID_MODE,
                                                 IDC_LOCKED,
                                                 IDC_SCRAMBLED,
                                                 IDC_FAVOURITE_CHECK[0],
                                                 IDC_FAVOURITE_CHECK[1],
                                                 IDC_FAVOURITE_CHECK[2],
                                                 IDC_FAVOURITE_CHECK[3],
                                                 IDC_FAVOURITE_CHECK[4],
                                                 IDC_FAVOURITE_CHECK[5],
                                                 IDC_FAVOURITE_CHECK[6],
                                                 IDC_FAVOURITE_CHECK[7],
                                                 IDC_FAVOURITE_CHECK[8],
                                                 IDC_FAVOURITE_CHECK[9],
                                                 IDC_FILL_TV,
                                                 IDC_FILL_RADIO};

}  // namespace

std::span<const ui::ControlId> pageControls(int page) {
    switch (page) {
        case 0:
            return kChannelPage;
        case 1:
            return kTransponderPage;
        case 2:
            return kSatellitePage;
        default:
            return {};
    }
}

std::span<const ui::ControlId> readOnlyEdits() {
    return kReadOnlyEdits;
}
std::span<const ui::ControlId> disabledInReadOnlyState() {
    return kDisabledInReadOnlyState;
}

}  // namespace zoedit
