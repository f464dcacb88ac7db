// Any bytes as the CSV reference of apply-order: reading must never crash;
// every record it reads must come back field for field once written out
// again; a CSV it accepts must give rows a channel file can hold, and
// matching them against the sample must pair each row at most once.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "database/csv_text.h"
#include "database/sample_database.h"
#include "order/apply_order.h"
#include "order/csv_reference.h"

using namespace zoedit;

namespace {

const ChannelDatabase& sample() {
    static const auto db = [] {
        auto typical = std::make_unique<ChannelDatabase>();
        buildSampleDatabase(*typical, SampleSize::Typical);
        return typical;
    }();
    return *db;
}

void checkRecordsComeBack(std::string_view text) {
    const CsvRecords records = readCsvRecords(text);
    if (!records.ok()) {
        if (records.error_line == 0 || !records.records.empty()) std::abort();
        return;
    }
    // The reader skips one byte order mark; a first field that begins with
    // one more keeps it only behind one written first.
    std::string written = "\xEF\xBB\xBF";
    for (const CsvRecord& record : records.records) {
        for (std::size_t f = 0; f < record.fields.size(); ++f)
            written += (f ? "," : "") + csvField(record.fields[f]);
        written += '\n';
    }
    const CsvRecords again = readCsvRecords(written);
    if (!again.ok() || again.records.size() != records.records.size()) std::abort();
    for (std::size_t r = 0; r < again.records.size(); ++r)
        if (again.records[r].fields != records.records[r].fields) std::abort();
}

void checkReference(const order::OrderReference& reference) {
    const auto& rows = *reference.tv;
    if (rows.size() > kChannelCapacity || reference.radio || reference.groups) std::abort();
    for (const auto& row : rows) {
        if (row.name.size() >= kChannelNameSize || row.name.find('\0') != std::string::npos)
            std::abort();
        if (row.identity && (row.identity->position > 3599 || row.identity->polarisation > 1))
            std::abort();
    }
    const order::OrderMatch match = order::matchOrder(sample(), reference, CodePage::Latin1);
    const order::ListMatch& list = *match.tv;
    std::vector<bool> taken(rows.size(), false);
    for (const auto& partner : list.partner) {
        if (!partner) continue;
        if (*partner >= rows.size() || taken[*partner]) std::abort();
        taken[*partner] = true;
    }
    if (list.by_identity + list.by_name + list.unmatched != sample().tv.count) std::abort();
    if (list.missing.size() !=
        static_cast<std::size_t>(std::count(taken.begin(), taken.end(), false)))
        std::abort();
    const order::OrderPlan plan = order::planOrder(sample(), reference, match, {});
    if (!plan.operation) std::abort();
    std::vector<std::size_t> order = plan.operation->plan.lists.at(0).order;
    std::sort(order.begin(), order.end());
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i] != i) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkRecordsComeBack(text);
    const CodePage page = size % 3 == 0   ? CodePage::Windows1256
                          : size % 3 == 1 ? CodePage::Windows1252
                                          : CodePage::Latin1;
    const order::CsvReference csv = order::readCsvReference(text, ChannelKind::Tv, page);
    if (csv.reference) {
        if (csv.line != 0 || !csv.reason.empty()) std::abort();
        checkReference(*csv.reference);
    } else if (csv.line == 0 || csv.reason.empty()) {
        std::abort();
    }
    return 0;
}
