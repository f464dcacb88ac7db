#include "qt/form_binder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTabBar>
#include <QTableView>
#include <QTextEdit>

#include "qt/color_label.h"
#include "qt/pictures.h"
#include "qt/qt_list_control.h"

namespace zoedit::qt {

namespace {

// Qt's own "no limit" for a line edit.
constexpr int kQtNoLimit = 32767;

QString toQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string fromQt(const QString& text) {
    return text.toUtf8().toStdString();
}

QColor toColor(ui::Rgb rgb) {
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

QLineEdit* lineEditOf(QWidget* w) {
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit;
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->lineEdit();
    return nullptr;
}

// Read-only fields take the window's background, so that they do not invite
// typing and the Edit button visibly opens them.
void showReadOnly(QLineEdit* edit, bool read_only) {
    edit->setReadOnly(read_only);
    if (!read_only) {
        edit->setPalette(QPalette());
        return;
    }
    QPalette palette = edit->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Window));
    edit->setPalette(palette);
}

}  // namespace

QtForm::QtForm(QWidget* root, EventSink sink)
    : QObject(root), m_root(root), m_sink(std::move(sink)) {
    ensureResources();
    QList<QWidget*> all = root->findChildren<QWidget*>();
    all.prepend(root);
    for (QWidget* w : all) {
        const QVariant id = w->property("controlId");
        if (id.isValid() && !m_widgets.contains(id.toInt())) bind(w, id.toInt());
    }
}

QtForm::~QtForm() = default;

void QtForm::emitEvent(ui::ControlId id, ui::EventKind kind, int item) {
    if (m_fromCode == 0 && m_sink) m_sink(ui::ControlEvent{id, kind, item, 0, 0});
}

void QtForm::bind(QWidget* w, ui::ControlId id) {
    m_widgets.insert(id, w);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        // Names come from files: never let them be read as markup.
        label->setTextFormat(Qt::PlainText);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        connect(button, &QAbstractButton::clicked, this,
                [this, id] { emitEvent(id, ui::EventKind::Clicked); });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        connect(combo, &QComboBox::activated, this,
                [this, id] { emitEvent(id, ui::EventKind::SelChange); });
        if (QLineEdit* edit = combo->lineEdit()) {
            connect(edit, &QLineEdit::textEdited, this,
                    [this, id] { emitEvent(id, ui::EventKind::EditChange); });
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        connect(edit, &QLineEdit::textEdited, this,
                [this, id] { emitEvent(id, ui::EventKind::EditChange); });
        edit->installEventFilter(this);
        if (edit->isReadOnly()) showReadOnly(edit, true);
    } else if (auto* tab = qobject_cast<QTabBar*>(w)) {
        connect(tab, &QTabBar::currentChanged, this,
                [this, id](int index) { emitEvent(id, ui::EventKind::SelChange, index); });
    } else if (auto* table = qobject_cast<QTableView*>(w)) {
        m_lists.insert(id, new QtListControl(id, table, [this](const ui::ControlEvent& e) {
                           if (m_sink) m_sink(e);
                       }));
    }
}

bool QtForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const QVariant id = watched->property("controlId");
        if (id.isValid())
            emitEvent(id.toInt(), event->type() == QEvent::FocusIn ? ui::EventKind::SetFocus
                                                                   : ui::EventKind::KillFocus);
    }
    return QObject::eventFilter(watched, event);
}

std::string QtForm::text(ui::ControlId id) const {
    QWidget* w = widget(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return fromQt(edit->text());
    if (auto* combo = qobject_cast<QComboBox*>(w)) return fromQt(combo->currentText());
    if (auto* label = qobject_cast<QLabel*>(w)) return fromQt(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return fromQt(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(w)) return fromQt(group->title());
    if (w) return fromQt(w->windowTitle());
    return {};
}

void QtForm::setText(ui::ControlId id, std::string_view text) {
    QWidget* w = widget(id);
    const QString t = toQt(text);
    ++m_fromCode;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(t);
        edit->setCursorPosition(0);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->isEditable())
            combo->setEditText(t);
        else
            combo->setCurrentIndex(combo->findText(t));
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(t);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(t);
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(t);
    } else if (w) {
        w->setWindowTitle(t);
    }
    --m_fromCode;
}

bool QtForm::isChecked(ui::ControlId id) const {
    auto* button = qobject_cast<QAbstractButton*>(widget(id));
    return button && button->isChecked();
}

void QtForm::setChecked(ui::ControlId id, bool checked) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget(id))) {
        ++m_fromCode;
        button->setCheckable(true);
        button->setChecked(checked);
        --m_fromCode;
    }
}

bool QtForm::isEnabled(ui::ControlId id) const {
    QWidget* w = widget(id);
    return w && w->isEnabled();
}

void QtForm::setEnabled(ui::ControlId id, bool enabled) {
    if (QWidget* w = widget(id)) w->setEnabled(enabled);
}

bool QtForm::isReadOnly(ui::ControlId id) const {
    QLineEdit* edit = lineEditOf(widget(id));
    return edit && edit->isReadOnly();
}

void QtForm::setReadOnly(ui::ControlId id, bool read_only) {
    if (QLineEdit* edit = lineEditOf(widget(id))) showReadOnly(edit, read_only);
}

bool QtForm::isVisible(ui::ControlId id) const {
    // What the program asked for, whatever the state of the parents.
    QWidget* w = widget(id);
    return w && !w->isHidden();
}

void QtForm::setVisible(ui::ControlId id, bool visible) {
    if (QWidget* w = widget(id)) w->setVisible(visible);
}

void QtForm::setFocus(ui::ControlId id) {
    if (QWidget* w = widget(id)) w->setFocus(Qt::OtherFocusReason);
}

int QtForm::inputLimit(ui::ControlId id) const {
    QLineEdit* edit = lineEditOf(widget(id));
    if (!edit) return 0;
    return edit->maxLength() >= kQtNoLimit ? 0 : edit->maxLength();
}

void QtForm::setInputLimit(ui::ControlId id, int limit) {
    if (QLineEdit* edit = lineEditOf(widget(id)))
        edit->setMaxLength(limit > 0 ? limit : kQtNoLimit);
}

std::vector<std::string> QtForm::items(ui::ControlId id) const {
    std::vector<std::string> out;
    QWidget* w = widget(id);
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        for (int i = 0; i < combo->count(); ++i) out.push_back(fromQt(combo->itemText(i)));
    } else if (auto* tab = qobject_cast<QTabBar*>(w)) {
        for (int i = 0; i < tab->count(); ++i) out.push_back(fromQt(tab->tabText(i)));
    }
    return out;
}

void QtForm::setItems(ui::ControlId id, std::vector<std::string> items) {
    QWidget* w = widget(id);
    ++m_fromCode;
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        // Filling keeps the edit part's text, as a drop-down combo box does.
        const QString kept = combo->currentText();
        QStringList list;
        list.reserve(static_cast<qsizetype>(items.size()));
        for (const auto& item : items) list.append(toQt(item));
        combo->clear();
        combo->addItems(list);
        combo->setCurrentIndex(-1);
        if (combo->isEditable()) combo->setEditText(kept);
    } else if (auto* tab = qobject_cast<QTabBar*>(w)) {
        while (tab->count() > 0) tab->removeTab(0);
        for (const auto& item : items) tab->addTab(toQt(item));
    }
    --m_fromCode;
}

void QtForm::addItem(ui::ControlId id, std::string_view item) {
    QWidget* w = widget(id);
    ++m_fromCode;
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        const QString kept = combo->currentText();
        const int current = combo->currentIndex();
        combo->addItem(toQt(item));
        combo->setCurrentIndex(current);
        if (combo->isEditable()) combo->setEditText(kept);
    } else if (auto* tab = qobject_cast<QTabBar*>(w)) {
        tab->addTab(toQt(item));
    }
    --m_fromCode;
}

int QtForm::selectedIndex(ui::ControlId id) const {
    QWidget* w = widget(id);
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        // An edit part whose text matches no item selects nothing.
        if (combo->isEditable() && combo->currentIndex() >= 0 &&
            combo->itemText(combo->currentIndex()) != combo->currentText())
            return combo->findText(combo->currentText());
        return combo->currentIndex();
    }
    if (auto* tab = qobject_cast<QTabBar*>(w)) return tab->currentIndex();
    return -1;
}

void QtForm::setSelectedIndex(ui::ControlId id, int index) {
    QWidget* w = widget(id);
    ++m_fromCode;
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    } else if (auto* tab = qobject_cast<QTabBar*>(w)) {
        if (index >= 0 && index < tab->count()) tab->setCurrentIndex(index);
    }
    --m_fromCode;
}

void QtForm::setImage(ui::ControlId id, int bitmap_id) {
    if (auto* label = qobject_cast<QLabel*>(widget(id))) label->setPixmap(bitmap(bitmap_id));
}

void QtForm::setLabelStyle(ui::ControlId id, const ui::LabelStyle& style) {
    auto* label = qobject_cast<CColorLabel*>(widget(id));
    if (!label) return;
    label->setTextColor(toColor(style.text));
    label->setBackgroundColor(toColor(style.background));
    label->setBold(style.bold);
    if (style.font_height > 0) label->setFontHeight(style.font_height);
}

void QtForm::setRange(ui::ControlId id, int low, int high) {
    if (auto* bar = qobject_cast<QProgressBar*>(widget(id))) bar->setRange(low, high);
}

void QtForm::setPosition(ui::ControlId id, int position) {
    if (auto* bar = qobject_cast<QProgressBar*>(widget(id))) bar->setValue(position);
}

ui::ListControl* QtForm::list(ui::ControlId id) {
    return m_lists.value(id);
}

QtListControl* QtForm::qtList(ui::ControlId id) const {
    return m_lists.value(id);
}

}  // namespace zoedit::qt
