#include "cli/database_json.h"

#include "cli/cli_support.h"

namespace zoedit::cli {

using json = nlohmann::ordered_json;

json headerJson(const ChannelDatabase& db, CodePage page) {
    const FileHeader& h = db.header;
    return json{{"magic", h.magic},
                {"usage_type", h.usage_type},
                {"checksum", h.checksum},
                {"opaque_8", h.opaque_8},
                {"data_length", h.data_length},
                {"hw_version", h.hw_version},
                {"sw_version", h.sw_version},
                {"opaque_24", h.opaque_24},
                {"secondary_length", h.secondary_length},
                {"model_id", nameUtf8(h.model_id, page)},
                {"format_id", db.format.format_id},
                {"opaque_68", db.format.opaque_68},
                {"opaque_72", db.format.opaque_72},
                {"tail_length", db.format.tail_length}};
}

json satellitesJson(const ChannelDatabase& db, CodePage page) {
    json list = json::array();
    for (const auto& sat : db.satellites.records())
        list.push_back(
            {{"band", sat.band}, {"position", sat.position}, {"name", nameUtf8(sat.name, page)}});
    return list;
}

json transpondersJson(const ChannelDatabase& db) {
    json list = json::array();
    for (const auto& tp : db.transponders.records())
        list.push_back({{"network_id", tp.network_id},
                        {"frequency_order", tp.frequency_order},
                        {"frequency", tp.frequency},
                        {"symbol_rate", tp.symbol_rate},
                        {"polarisation", tp.polarisation},
                        {"fec", tp.fec},
                        {"satellite_index", tp.satellite_index}});
    return list;
}

json channelsJson(const ChannelDatabase& db, ChannelKind kind, CodePage page) {
    json list = json::array();
    for (const auto& ch : db.channels(kind).records())
        list.push_back({{"transponder_index", ch.transponder_index},
                        {"service_id", ch.service_id},
                        {"name", nameUtf8(ch.name, page)},
                        {"code_pid", ch.code_pid},
                        {"video_pid", ch.video_pid},
                        {"audio_pid", ch.audio_pid},
                        {"fourth_pid", ch.fourth_pid},
                        {"pid_mode", ch.pid_mode},
                        {"scrambled", ch.scrambled},
                        {"locked", ch.locked}});
    return list;
}

json favouritesJson(const ChannelDatabase& db, CodePage page) {
    json list = json::array();
    const std::size_t groups = std::min(db.favouriteGroupCount(), db.favourites.groups.size());
    for (std::size_t g = 0; g < groups; ++g) {
        const auto tv = db.groupMembers(g, ChannelKind::Tv);
        const auto radio = db.groupMembers(g, ChannelKind::Radio);
        list.push_back({{"name", nameUtf8(db.favourites.groups[g].name, page)},
                        {"tv", json(std::vector<std::uint16_t>(tv.begin(), tv.end()))},
                        {"radio", json(std::vector<std::uint16_t>(radio.begin(), radio.end()))}});
    }
    return list;
}

json databaseJson(const ChannelDatabase& db, CodePage page) {
    const GeneralSection& g = db.general;
    json raw = json::array();
    for (auto b : g.raw_pairs) raw.push_back(b);
    return json{{"header", headerJson(db, page)},
                {"general",
                 {{"word1", g.word1},
                  {"word2", g.word2},
                  {"word3", g.word3},
                  {"favourite_group_count", g.favourite_group_count},
                  {"word5", g.word5},
                  {"raw_pairs", raw}}},
                {"satellites", satellitesJson(db, page)},
                {"transponders", transpondersJson(db)},
                {"tv", channelsJson(db, ChannelKind::Tv, page)},
                {"radio", channelsJson(db, ChannelKind::Radio, page)},
                {"favourites", favouritesJson(db, page)},
                {"trailer", db.trailer}};
}

}  // namespace zoedit::cli
