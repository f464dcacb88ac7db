// The Form of the platform layer over a widget tree built from a Designer
// file: every widget that carries a `controlId` property is a control.
// Signals of the user's own actions become ControlEvents; writes from code
// never notify.
#pragma once

#include <QHash>
#include <QObject>
#include <functional>
#include <memory>

#include "ui/form.h"

class QWidget;

namespace zoedit::qt {

class QtListControl;

class QtForm final : public QObject, public ui::Form {
    Q_OBJECT
public:
    using EventSink = std::function<void(const ui::ControlEvent&)>;

    // Binds every widget under `root` (and root itself) that has a controlId.
    explicit QtForm(QWidget* root, EventSink sink = {});
    ~QtForm() override;

    void setEventSink(EventSink sink) { m_sink = std::move(sink); }
    QWidget* widget(ui::ControlId id) const { return m_widgets.value(id); }
    QWidget* root() const { return m_root; }

    std::string text(ui::ControlId id) const override;
    void setText(ui::ControlId id, std::string_view text) override;
    bool isChecked(ui::ControlId id) const override;
    void setChecked(ui::ControlId id, bool checked) override;
    bool isEnabled(ui::ControlId id) const override;
    void setEnabled(ui::ControlId id, bool enabled) override;
    bool isReadOnly(ui::ControlId id) const override;
    void setReadOnly(ui::ControlId id, bool read_only) override;
    bool isVisible(ui::ControlId id) const override;
    void setVisible(ui::ControlId id, bool visible) override;
    void setFocus(ui::ControlId id) override;

    int inputLimit(ui::ControlId id) const override;
    void setInputLimit(ui::ControlId id, int limit) override;

    std::vector<std::string> items(ui::ControlId id) const override;
    void setItems(ui::ControlId id, std::vector<std::string> items) override;
    void addItem(ui::ControlId id, std::string_view item) override;
    int selectedIndex(ui::ControlId id) const override;
    void setSelectedIndex(ui::ControlId id, int index) override;

    void setImage(ui::ControlId id, int bitmap_id) override;
    void setLabelStyle(ui::ControlId id, const ui::LabelStyle& style) override;
    void setRange(ui::ControlId id, int low, int high) override;
    void setPosition(ui::ControlId id, int position) override;

    ui::ListControl* list(ui::ControlId id) override;
    QtListControl* qtList(ui::ControlId id) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bind(QWidget* widget, ui::ControlId id);
    void emitEvent(ui::ControlId id, ui::EventKind kind, int item = -1);

    QWidget* m_root;
    EventSink m_sink;
    QHash<ui::ControlId, QWidget*> m_widgets;
    QHash<ui::ControlId, QtListControl*> m_lists;
    int m_fromCode = 0;  // depth of writes made by the program
};

}  // namespace zoedit::qt
