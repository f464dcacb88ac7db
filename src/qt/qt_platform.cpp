#include "qt/qt_platform.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "qt/file_filter.h"
#include "qt/form_binder.h"
#include "qt/main_frame.h"
#include "ui/resource_ids.h"

namespace zoedit::qt {

namespace {

QString toQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const QEvent::Type kPostedMessage = static_cast<QEvent::Type>(QEvent::registerEventType());

class PostedMessageEvent : public QEvent {
public:
    explicit PostedMessageEvent(const ui::Message& m) : QEvent(kPostedMessage), message(m) {}
    ui::Message message;
};

QMessageBox::Icon toQtIcon(ui::MessageIcon icon) {
    switch (icon) {
        case ui::MessageIcon::Information:
            return QMessageBox::Information;
        case ui::MessageIcon::Exclamation:
        case ui::MessageIcon::Warning:
            return QMessageBox::Warning;
        case ui::MessageIcon::Error:
            return QMessageBox::Critical;
        case ui::MessageIcon::Question:
            return QMessageBox::Question;
        case ui::MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

// ---------------------------------------------------------------------------

struct QtDialogs::Running : ui::DialogHost {
    QDialog* dialog = nullptr;
    QtForm* form_ = nullptr;
    ui::ModalDialog* behaviour = nullptr;
    ui::Form& form() override { return *form_; }
    void endDialog(int result) override { dialog->done(result); }
};

ui::MessageAnswer QtDialogs::messageBox(const ui::MessageBoxRequest& request) {
    // Over the dialog that asks, when one runs.
    QMessageBox box(m_running.empty() ? m_parent : m_running.back()->dialog);
    box.setWindowTitle(request.caption.empty() ? QString::fromLatin1(ui::kAppTitle)
                                               : toQt(request.caption));
    box.setText(toQt(request.text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(toQtIcon(request.icon));
    QMessageBox::StandardButtons buttons;
    switch (request.buttons) {
        case ui::MessageButtons::Ok:
            buttons = QMessageBox::Ok;
            break;
        case ui::MessageButtons::OkCancel:
            buttons = QMessageBox::Ok | QMessageBox::Cancel;
            break;
        case ui::MessageButtons::YesNo:
            buttons = QMessageBox::Yes | QMessageBox::No;
            break;
        case ui::MessageButtons::YesNoCancel:
            buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            break;
    }
    box.setStandardButtons(buttons);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return ui::MessageAnswer::Yes;
        case QMessageBox::No:
            return ui::MessageAnswer::No;
        case QMessageBox::Cancel:
            return ui::MessageAnswer::Cancel;
        case QMessageBox::Ok:
            return ui::MessageAnswer::Ok;
        default:
            // Closed by its close box: the answer that destroys nothing.
            if (request.buttons == ui::MessageButtons::YesNo) return ui::MessageAnswer::No;
            return request.buttons == ui::MessageButtons::Ok ? ui::MessageAnswer::Ok
                                                             : ui::MessageAnswer::Cancel;
    }
}

std::optional<std::string> QtDialogs::fileDialog(const ui::FileDialogRequest& request) {
    QFileDialog dialog(m_parent, toQt(request.title));
    dialog.setObjectName(QStringLiteral("fileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = translateFileFilter(request.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!request.default_extension.empty())
        dialog.setDefaultSuffix(toQt(request.default_extension));
    if (!request.initial_name.empty()) dialog.selectFile(toQt(request.initial_name));
    if (!request.open && !(request.flags & ui::OFN_OVERWRITEPROMPT))
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toUtf8().toStdString();
}

std::optional<int> QtDialogs::chooseItem(const ui::ChoiceRequest& request) {
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("choiceDialog"));
    dialog.setWindowTitle(toQt(request.title));
    auto* layout = new QVBoxLayout(&dialog);
    if (!request.prompt.empty()) layout->addWidget(new QLabel(toQt(request.prompt), &dialog));
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("choiceList"));
    for (const std::string& item : request.items) list->addItem(toQt(item));
    if (request.initial >= 0 && request.initial < list->count())
        list->setCurrentRow(request.initial);
    // Wide enough for the longest line without a scroll bar across.
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() + 24);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    if (dialog.exec() != QDialog::Accepted || list->currentRow() < 0) return std::nullopt;
    return list->currentRow();
}

namespace {

std::optional<ui::DialogKey> dialogKey(QKeyEvent* key) {
    if (key->matches(QKeySequence::Undo)) return ui::DialogKey::Undo;
    switch (key->key()) {
        case Qt::Key_Escape:
            return ui::DialogKey::Escape;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return ui::DialogKey::Enter;
        default:
            return std::nullopt;
    }
}

// Offers Enter and Escape to the behaviour before the dialog's own handling,
// and routes the close box and Escape to the behaviour instead of ending at
// once (QDialog would end with its own Rejected code, not IDCANCEL). Keys
// that a focused control leaves reach the dialog on their way up.
class ModalShell : public QObject {
public:
    ModalShell(QDialog* dialog, std::function<bool(ui::DialogKey)> onKey,
               std::function<void()> onClose)
        : QObject(dialog), m_onKey(std::move(onKey)), m_onClose(std::move(onClose)) {
        dialog->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto key = dialogKey(static_cast<QKeyEvent*>(event));
            if (key && m_onKey(*key)) return true;
            if (key != ui::DialogKey::Escape) return false;
        } else if (event->type() != QEvent::Close) {
            return false;
        }
        event->ignore();
        m_onClose();
        return true;
    }

private:
    std::function<bool(ui::DialogKey)> m_onKey;
    std::function<void()> m_onClose;
};

}  // namespace

void QtDialogs::registerDialog(int dialog_id, DialogFactory factory) {
    m_factories.insert(dialog_id, std::move(factory));
}

int QtDialogs::runModal(ui::ModalDialog& behaviour) {
    const DialogFactory factory = m_factories.value(behaviour.dialogId());
    if (!factory) return ui::IDCANCEL;
    QDialog* dialog = factory(m_parent);
    Running running;
    running.dialog = dialog;
    running.behaviour = &behaviour;
    running.form_ = new QtForm(
        dialog, [&running](const ui::ControlEvent& e) { running.behaviour->onEvent(running, e); });
    new ModalShell(
        dialog, [&running](ui::DialogKey key) { return running.behaviour->onKey(running, key); },
        [&running] { running.behaviour->onClose(running); });
    m_running.push_back(&running);
    behaviour.onInitDialog(running);
    const int result = dialog->exec();
    m_running.pop_back();
    delete dialog;
    return result;
}

ui::ModalDialog* QtDialogs::activeDialog() const {
    return m_running.empty() ? nullptr : m_running.back()->behaviour;
}

bool QtDialogs::deliverToDialog(const ui::Message& message) {
    if (m_running.empty()) return false;
    Running* top = m_running.back();
    top->behaviour->onMessage(*top, message);
    return true;
}

// ---------------------------------------------------------------------------

void QtStatusBar::setStatusText(std::string_view text) {
    if (m_frame) m_frame->setStatusText(toQt(text));
}

// ---------------------------------------------------------------------------

QtMessagePoster::QtMessagePoster(QObject* parent) : QObject(parent) {}

void QtMessagePoster::postMessage(const ui::Message& message) {
    QCoreApplication::postEvent(this, new PostedMessageEvent(message));
}

void QtMessagePoster::customEvent(QEvent* event) {
    if (event->type() == kPostedMessage && m_handler)
        m_handler(static_cast<PostedMessageEvent*>(event)->message);
}

// ---------------------------------------------------------------------------

int QtPopupMenus::trackPopupMenu(const std::vector<ui::PopupMenuItem>& items, int x, int y) {
    QMenu menu(m_parent);
    for (const ui::PopupMenuItem& item : items) {
        if (item.separator) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(toQt(item.caption));
        action->setData(item.id);
        action->setEnabled(item.enabled);
    }
    QAction* chosen = menu.exec(QPoint(x, y));
    return chosen ? chosen->data().toInt() : -1;
}

}  // namespace zoedit::qt
