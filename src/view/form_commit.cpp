#include "view/form_commit.h"

#include "database/field_format.h"

namespace zoedit {

SatelliteRecord committedSatellite(const SatelliteRecord& current, const FormValues& values,
                                   CodePage page) {
    SatelliteRecord record = current;
    record.position = readPositionText(values.position);
    setNameBytes(record.name, fromUtf8(values.satellite_name, page));
    return record;
}

TransponderRecord committedTransponder(const TransponderRecord& current, const FormValues& values,
                                       int polarisation_index, int fec_index) {
    TransponderRecord record = current;
    record.network_id = readHexText(values.network_id);
    record.frequency_order = readHexText(values.frequency_order);
    record.frequency = readDecimalText(values.frequency);
    record.symbol_rate = readDecimalText(values.symbol_rate);
    if (polarisation_index == 0 || polarisation_index == 1)
        record.polarisation = static_cast<std::uint8_t>(polarisation_index);
    if (fec_index >= 0 && fec_index <= 5) record.fec = static_cast<std::uint8_t>(fec_index);
    return record;
}

ChannelRecord committedChannel(const ChannelRecord& current, const FormValues& values,
                               CodePage page) {
    ChannelRecord record = current;
    record.service_id = readHexText(values.service_id);
    record.code_pid = readHexText(values.code_pid);
    record.video_pid = readHexText(values.video_pid);
    record.audio_pid = readHexText(values.audio_pid);
    record.fourth_pid = readHexText(values.fourth_pid);
    setNameBytes(record.name, fromUtf8(values.channel_name, page));
    record.pid_mode = values.pid_mode ? 1 : 0;
    record.scrambled = values.scrambled ? 1 : 0;
    record.locked = values.locked ? 1 : 0;
    return record;
}

}  // namespace zoedit
