// In-memory stand-ins for the window system: forms that store what is
// written to them, lists, scripted answers for message boxes, file dialogs,
// modal dialogs and context menus (recording what was shown), and a message
// queue that the test pumps by hand.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/list_control.h"
#include "ui/platform.h"

namespace zoedit::test {

class FakeListControl final : public ui::ListControl {
public:
    void insertColumn(int index, const ui::ListColumn& column) override;
    int columnCount() const override { return static_cast<int>(columns_.size()); }
    ui::ListColumn column(int index) const override;
    void setColumnWidth(int index, int width) override;
    void setColumnOrder(const std::vector<int>& order) override { order_ = order; }
    std::vector<int> columnOrder() const override;

    void setRows(std::vector<ui::ListRow> rows) override;
    void insertRow(int index, ui::ListRow row) override;
    void setRow(int index, ui::ListRow row) override;
    void deleteRow(int index) override;
    void deleteAllRows() override;
    int rowCount() const override { return static_cast<int>(rows_.size()); }
    ui::ListRow row(int index) const override;
    std::string cellText(int row, int column) const override;

    void setRowSelected(int row, bool selected) override;
    bool isRowSelected(int row) const override;
    int selectedRow() const override;
    std::vector<int> selectedRows() const override;
    void setSingleSelection(bool single) override { single_ = single; }

    void setFocusedRow(int row) override { focused_ = row; }
    int focusedRow() const override { return focused_; }
    void ensureVisible(int row) override { visible_row_ = row; }
    void setDropHighlight(int row) override { drop_ = row; }
    int dropHighlight() const override { return drop_; }
    int rowAt(int x, int y) const override;

    void setListStyle(bool list_style) override { list_style_ = list_style; }
    void setImageList(int bitmap_id, int image_width) override;

    // Inspection by tests.
    const std::vector<ui::ListRow>& rows() const { return rows_; }
    int ensuredVisibleRow() const { return visible_row_; }
    bool listStyle() const { return list_style_; }
    int imageListBitmap() const { return image_bitmap_; }
    int imageWidth() const { return image_width_; }
    bool singleSelection() const { return single_; }
    int setRowsCalls() const { return set_rows_calls_; }
    // rowAt answers row = y / kRowHeight.
    static constexpr int kRowHeight = 10;

private:
    bool validRow(int row) const { return row >= 0 && row < rowCount(); }

    std::vector<ui::ListColumn> columns_;
    std::vector<int> order_;
    std::vector<ui::ListRow> rows_;
    std::vector<bool> selected_;
    bool single_ = true;
    int focused_ = -1;
    int visible_row_ = -1;
    int drop_ = -1;
    bool list_style_ = false;
    int image_bitmap_ = 0;
    int image_width_ = 0;
    int set_rows_calls_ = 0;
};

struct FakeControl {
    std::string text;
    bool checked = false;
    bool enabled = true;
    bool read_only = false;
    bool visible = true;
    int limit = 0;
    std::vector<std::string> items;
    int selected = -1;
    int image = 0;
    ui::LabelStyle style;
    int range_low = 0;
    int range_high = 100;
    int position = 0;
};

// Controls spring into being on first use, enabled and visible, so a test
// needs to declare only the list controls.
class FakeForm final : public ui::Form {
public:
    explicit FakeForm(const std::vector<ui::ControlId>& list_ids = {});

    std::string text(ui::ControlId id) const override { return get(id).text; }
    void setText(ui::ControlId id, std::string_view text) override;
    bool isChecked(ui::ControlId id) const override { return get(id).checked; }
    void setChecked(ui::ControlId id, bool checked) override { at(id).checked = checked; }
    bool isEnabled(ui::ControlId id) const override { return get(id).enabled; }
    void setEnabled(ui::ControlId id, bool enabled) override { at(id).enabled = enabled; }
    bool isReadOnly(ui::ControlId id) const override { return get(id).read_only; }
    void setReadOnly(ui::ControlId id, bool read_only) override { at(id).read_only = read_only; }
    bool isVisible(ui::ControlId id) const override { return get(id).visible; }
    void setVisible(ui::ControlId id, bool visible) override { at(id).visible = visible; }
    void setFocus(ui::ControlId id) override { focus_ = id; }

    int inputLimit(ui::ControlId id) const override { return get(id).limit; }
    void setInputLimit(ui::ControlId id, int limit) override { at(id).limit = limit; }

    std::vector<std::string> items(ui::ControlId id) const override { return get(id).items; }
    void setItems(ui::ControlId id, std::vector<std::string> items) override;
    void addItem(ui::ControlId id, std::string_view item) override;
    int selectedIndex(ui::ControlId id) const override { return get(id).selected; }
    void setSelectedIndex(ui::ControlId id, int index) override;

    void setImage(ui::ControlId id, int bitmap_id) override { at(id).image = bitmap_id; }
    void setLabelStyle(ui::ControlId id, const ui::LabelStyle& style) override;
    void setRange(ui::ControlId id, int low, int high) override;
    void setPosition(ui::ControlId id, int position) override { at(id).position = position; }

    ui::ListControl* list(ui::ControlId id) override;

    // Inspection by tests.
    FakeListControl& fakeList(ui::ControlId id);
    const FakeControl& control(ui::ControlId id) const { return get(id); }
    bool has(ui::ControlId id) const { return controls_.count(id) != 0; }
    ui::ControlId focus() const { return focus_; }
    // Types as a user would: a text longer than the limit is cut.
    void type(ui::ControlId id, std::string_view text);

private:
    FakeControl& at(ui::ControlId id) { return controls_[id]; }
    const FakeControl& get(ui::ControlId id) const;

    std::map<ui::ControlId, FakeControl> controls_;
    std::map<ui::ControlId, std::unique_ptr<FakeListControl>> lists_;
    ui::ControlId focus_ = 0;
};

class FakeDialogHost final : public ui::DialogHost {
public:
    explicit FakeDialogHost(FakeForm& form) : form_(form) {}
    ui::Form& form() override { return form_; }
    void endDialog(int result) override { result_ = result; }
    std::optional<int> result() const { return result_; }

private:
    FakeForm& form_;
    std::optional<int> result_;
};

class FakeDialogs final : public ui::Dialogs {
public:
    // What the test wants the user to do inside a modal dialog; it may send
    // events to the dialog and must end it through the host.
    using ModalScript = std::function<void(ui::ModalDialog&, FakeDialogHost&, FakeForm&)>;

    ui::MessageAnswer messageBox(const ui::MessageBoxRequest& request) override;
    std::optional<std::string> fileDialog(const ui::FileDialogRequest& request) override;
    int runModal(ui::ModalDialog& dialog) override;
    std::optional<int> chooseItem(const ui::ChoiceRequest& request) override;

    // Scripted answers, used in order. Without one, a message box answers
    // Ok or No (never the destructive Yes), a file dialog is cancelled and a
    // modal dialog is closed by its close box.
    void answerMessage(ui::MessageAnswer answer) { message_answers_.push_back(answer); }
    void answerFile(std::optional<std::string> path) { file_answers_.push_back(std::move(path)); }
    void scriptModal(ModalScript script) { modal_scripts_.push_back(std::move(script)); }
    // A list of lines answers the next scripted index (nullopt: Cancel, also
    // without a script).
    void answerChoice(std::optional<int> index) { choice_answers_.push_back(index); }
    // Drops the scripted message answers no box used.
    void clearAnswers() { message_answers_.clear(); }
    // Runs while each message box is up, as the event loop would run timers.
    std::function<void(const ui::MessageBoxRequest&)> while_box_shown;
    // Lists of the dialog's form, by identifier.
    void setDialogLists(int dialog_id, std::vector<ui::ControlId> list_ids);

    const std::vector<ui::MessageBoxRequest>& messages() const { return messages_; }
    // The answer each box in messages() got.
    const std::vector<ui::MessageAnswer>& answers() const { return answers_; }
    std::vector<std::string> messageTexts() const;
    const std::vector<ui::FileDialogRequest>& fileRequests() const { return file_requests_; }
    const std::vector<int>& modalDialogs() const { return modal_dialogs_; }
    const std::vector<ui::ChoiceRequest>& choiceRequests() const { return choice_requests_; }
    void clearRecords();

private:
    std::deque<ui::MessageAnswer> message_answers_;
    std::deque<std::optional<std::string>> file_answers_;
    std::deque<ModalScript> modal_scripts_;
    std::deque<std::optional<int>> choice_answers_;
    std::vector<ui::ChoiceRequest> choice_requests_;
    std::map<int, std::vector<ui::ControlId>> dialog_lists_;
    std::vector<ui::MessageBoxRequest> messages_;
    std::vector<ui::MessageAnswer> answers_;
    std::vector<ui::FileDialogRequest> file_requests_;
    std::vector<int> modal_dialogs_;
};

class FakeStatusBar final : public ui::StatusBar {
public:
    void setStatusText(std::string_view text) override { texts.emplace_back(text); }
    std::string last() const { return texts.empty() ? std::string() : texts.back(); }
    std::vector<std::string> texts;
};

class FakePopupMenus final : public ui::PopupMenus {
public:
    int trackPopupMenu(const std::vector<ui::PopupMenuItem>& items, int x, int y) override;
    void answer(int id) { answers_.push_back(id); }
    std::vector<std::vector<ui::PopupMenuItem>> shown;

private:
    std::deque<int> answers_;
};

// Posting is thread-safe; pump() delivers on the calling (test) thread.
class FakeMessageQueue final : public ui::MessagePoster {
public:
    void postMessage(const ui::Message& message) override;
    // Delivers every queued message, including those posted while pumping;
    // returns how many were delivered.
    int pump(const std::function<void(const ui::Message&)>& handler);
    std::vector<ui::Message> take();
    std::size_t size() const;

private:
    mutable std::mutex mutex_;
    std::deque<ui::Message> queue_;
};

// Everything at once, wired as the main view expects.
struct FakePlatform {
    explicit FakePlatform(const std::vector<ui::ControlId>& list_ids);
    FakeForm form;
    FakeDialogs dialogs;
    FakeStatusBar status;
    FakeMessageQueue queue;
    FakePopupMenus menus;
    ui::Platform platform() { return ui::Platform{form, dialogs, status, queue, menus}; }
};

}  // namespace zoedit::test
