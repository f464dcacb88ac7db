#include "support/fake_platform.h"

#include <algorithm>
#include <numeric>

namespace zoedit::test {

// ---------------------------------------------------------------------------
// FakeListControl

void FakeListControl::insertColumn(int index, const ui::ListColumn& column) {
    index = std::clamp(index, 0, columnCount());
    columns_.insert(columns_.begin() + index, column);
    order_.clear();
}

ui::ListColumn FakeListControl::column(int index) const {
    if (index < 0 || index >= columnCount()) return {};
    return columns_[static_cast<std::size_t>(index)];
}

void FakeListControl::setColumnWidth(int index, int width) {
    if (index >= 0 && index < columnCount())
        columns_[static_cast<std::size_t>(index)].width = width;
}

std::vector<int> FakeListControl::columnOrder() const {
    if (!order_.empty()) return order_;
    std::vector<int> order(columns_.size());
    std::iota(order.begin(), order.end(), 0);
    return order;
}

void FakeListControl::setRows(std::vector<ui::ListRow> rows) {
    rows_ = std::move(rows);
    selected_.assign(rows_.size(), false);
    focused_ = -1;
    drop_ = -1;
    ++set_rows_calls_;
}

void FakeListControl::insertRow(int index, ui::ListRow row) {
    index = std::clamp(index, 0, rowCount());
    rows_.insert(rows_.begin() + index, std::move(row));
    selected_.insert(selected_.begin() + index, false);
    if (focused_ >= index) ++focused_;
}

void FakeListControl::setRow(int index, ui::ListRow row) {
    if (validRow(index)) rows_[static_cast<std::size_t>(index)] = std::move(row);
}

void FakeListControl::deleteRow(int index) {
    if (!validRow(index)) return;
    rows_.erase(rows_.begin() + index);
    selected_.erase(selected_.begin() + index);
    if (focused_ == index)
        focused_ = -1;
    else if (focused_ > index)
        --focused_;
}

void FakeListControl::deleteAllRows() {
    rows_.clear();
    selected_.clear();
    focused_ = -1;
    drop_ = -1;
}

ui::ListRow FakeListControl::row(int index) const {
    return validRow(index) ? rows_[static_cast<std::size_t>(index)] : ui::ListRow{};
}

std::string FakeListControl::cellText(int row, int column) const {
    if (!validRow(row)) return {};
    const auto& texts = rows_[static_cast<std::size_t>(row)].texts;
    if (column < 0 || static_cast<std::size_t>(column) >= texts.size()) return {};
    return texts[static_cast<std::size_t>(column)];
}

void FakeListControl::setRowSelected(int row, bool selected) {
    if (!validRow(row)) return;
    if (selected && single_) std::fill(selected_.begin(), selected_.end(), false);
    selected_[static_cast<std::size_t>(row)] = selected;
}

bool FakeListControl::isRowSelected(int row) const {
    return validRow(row) && selected_[static_cast<std::size_t>(row)];
}

int FakeListControl::selectedRow() const {
    const auto it = std::find(selected_.begin(), selected_.end(), true);
    return it == selected_.end() ? -1 : static_cast<int>(it - selected_.begin());
}

std::vector<int> FakeListControl::selectedRows() const {
    std::vector<int> rows;
    for (std::size_t i = 0; i < selected_.size(); ++i)
        if (selected_[i]) rows.push_back(static_cast<int>(i));
    return rows;
}

int FakeListControl::rowAt(int /*x*/, int y) const {
    if (y < 0) return -1;
    const int row = y / kRowHeight;
    return validRow(row) ? row : -1;
}

void FakeListControl::setImageList(int bitmap_id, int image_width) {
    image_bitmap_ = bitmap_id;
    image_width_ = image_width;
}

// ---------------------------------------------------------------------------
// FakeForm

FakeForm::FakeForm(const std::vector<ui::ControlId>& list_ids) {
    for (ui::ControlId id : list_ids) {
        lists_[id] = std::make_unique<FakeListControl>();
        controls_[id];
    }
}

const FakeControl& FakeForm::get(ui::ControlId id) const {
    static const FakeControl kUnknown;
    const auto it = controls_.find(id);
    return it == controls_.end() ? kUnknown : it->second;
}

void FakeForm::setText(ui::ControlId id, std::string_view text) {
    at(id).text = std::string(text);
}

void FakeForm::setItems(ui::ControlId id, std::vector<std::string> items) {
    auto& c = at(id);
    c.items = std::move(items);
    c.selected = -1;
}

void FakeForm::addItem(ui::ControlId id, std::string_view item) {
    at(id).items.emplace_back(item);
}

void FakeForm::setSelectedIndex(ui::ControlId id, int index) {
    auto& c = at(id);
    if (index < 0 || static_cast<std::size_t>(index) >= c.items.size()) {
        c.selected = -1;
        return;
    }
    c.selected = index;
    c.text = c.items[static_cast<std::size_t>(index)];
}

void FakeForm::setLabelStyle(ui::ControlId id, const ui::LabelStyle& style) {
    at(id).style = style;
}

void FakeForm::setRange(ui::ControlId id, int low, int high) {
    auto& c = at(id);
    c.range_low = low;
    c.range_high = high;
}

ui::ListControl* FakeForm::list(ui::ControlId id) {
    const auto it = lists_.find(id);
    return it == lists_.end() ? nullptr : it->second.get();
}

FakeListControl& FakeForm::fakeList(ui::ControlId id) {
    auto& slot = lists_[id];
    if (!slot) slot = std::make_unique<FakeListControl>();
    return *slot;
}

void FakeForm::type(ui::ControlId id, std::string_view text) {
    auto& c = at(id);
    c.text = std::string(text);
    if (c.limit > 0 && c.text.size() > static_cast<std::size_t>(c.limit))
        c.text.resize(static_cast<std::size_t>(c.limit));
}

// ---------------------------------------------------------------------------
// FakeDialogs

ui::MessageAnswer FakeDialogs::messageBox(const ui::MessageBoxRequest& request) {
    messages_.push_back(request);
    if (while_box_shown) while_box_shown(request);
    ui::MessageAnswer answer = ui::MessageAnswer::Ok;
    if (!message_answers_.empty()) {
        answer = message_answers_.front();
        message_answers_.pop_front();
    } else if (request.buttons == ui::MessageButtons::YesNo ||
               request.buttons == ui::MessageButtons::YesNoCancel) {
        answer = ui::MessageAnswer::No;
    }
    answers_.push_back(answer);
    return answer;
}

std::optional<std::string> FakeDialogs::fileDialog(const ui::FileDialogRequest& request) {
    file_requests_.push_back(request);
    if (file_answers_.empty()) return std::nullopt;
    auto answer = file_answers_.front();
    file_answers_.pop_front();
    return answer;
}

int FakeDialogs::runModal(ui::ModalDialog& dialog) {
    modal_dialogs_.push_back(dialog.dialogId());
    FakeForm form(dialog_lists_[dialog.dialogId()]);
    FakeDialogHost host(form);
    dialog.onInitDialog(host);
    if (host.result()) return *host.result();
    if (!modal_scripts_.empty()) {
        auto script = std::move(modal_scripts_.front());
        modal_scripts_.pop_front();
        script(dialog, host, form);
    }
    if (!host.result()) dialog.onClose(host);
    return host.result().value_or(ui::IDCANCEL);
}

std::optional<int> FakeDialogs::chooseItem(const ui::ChoiceRequest& request) {
    choice_requests_.push_back(request);
    if (choice_answers_.empty()) return std::nullopt;
    const auto answer = choice_answers_.front();
    choice_answers_.pop_front();
    return answer;
}

void FakeDialogs::setDialogLists(int dialog_id, std::vector<ui::ControlId> list_ids) {
    dialog_lists_[dialog_id] = std::move(list_ids);
}

std::vector<std::string> FakeDialogs::messageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages_) texts.push_back(m.text);
    return texts;
}

void FakeDialogs::clearRecords() {
    messages_.clear();
    answers_.clear();
    file_requests_.clear();
    modal_dialogs_.clear();
    choice_requests_.clear();
}

// ---------------------------------------------------------------------------

int FakePopupMenus::trackPopupMenu(const std::vector<ui::PopupMenuItem>& items, int, int) {
    shown.push_back(items);
    if (answers_.empty()) return -1;
    const int id = answers_.front();
    answers_.pop_front();
    return id;
}

void FakeMessageQueue::postMessage(const ui::Message& message) {
    std::lock_guard lock(mutex_);
    queue_.push_back(message);
}

int FakeMessageQueue::pump(const std::function<void(const ui::Message&)>& handler) {
    int delivered = 0;
    for (;;) {
        ui::Message message;
        {
            std::lock_guard lock(mutex_);
            if (queue_.empty()) return delivered;
            message = queue_.front();
            queue_.pop_front();
        }
        handler(message);
        ++delivered;
    }
}

std::vector<ui::Message> FakeMessageQueue::take() {
    std::lock_guard lock(mutex_);
    std::vector<ui::Message> all(queue_.begin(), queue_.end());
    queue_.clear();
    return all;
}

std::size_t FakeMessageQueue::size() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

FakePlatform::FakePlatform(const std::vector<ui::ControlId>& list_ids) : form(list_ids) {}

}  // namespace zoedit::test
