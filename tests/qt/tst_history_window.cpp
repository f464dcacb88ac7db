// Undo and Redo in the real window, offscreen: the Edit menu's texts name
// the step and follow the history, the keys reach the history, and a text
// edit with the focus keeps Ctrl+Z for its own text.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "qt/form_binder.h"
#include "qt/main_frame.h"
#include "qt/window_test_support.h"
#include "qt/zoedit_window.h"
#include "view/history_binding.h"
#include "view/zoedit_view.h"

using namespace zoedit;
using namespace zoedit::ui::form;
namespace cmd = zoedit::ui::cmd;

class HistoryWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    static QString menuText(qt::ZoEditWindow& w, int command) {
        w.frame().updateCommandStates();
        return w.frame().commandAction(command)->text().section(QLatin1Char('\t'), 0, 0);
    }

private slots:
    void initTestCase() {
        useTestSettings();
        QVERIFY(m_dir.isValid());
    }

    void menuAndKeysFollowTheHistory() {
        QString path;
        QVERIFY2(copySampleInto(m_dir, path), "the sample could not be copied");
        qt::ZoEditWindow w;
        w.frame().show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.frame()));
        w.openPath(path);
        QAction* undo = w.frame().commandAction(cmd::ID_EDIT_UNDO);
        QAction* redo = w.frame().commandAction(cmd::ID_EDIT_REDO);
        QCOMPARE(menuText(w, cmd::ID_EDIT_UNDO), QStringLiteral("Undo"));
        QVERIFY(!undo->isEnabled());

        const std::size_t channels = w.view().database().tvCount();
        QVERIFY(w.history().apply(edit::DeleteChannel{ChannelKind::Tv, 0}).ok());
        QCOMPARE(menuText(w, cmd::ID_EDIT_UNDO), QStringLiteral("Undo Delete Channel"));
        QVERIFY(undo->isEnabled());
        QVERIFY(!redo->isEnabled());
        QVERIFY(w.view().hasUnsavedEdits());

        // The list has the focus: Ctrl+Z undoes the step.
        w.form().widget(IDC_TV_LIST)->setFocus();
        QTest::keyClick(&w.frame(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.view().database().tvCount(), channels);
        QVERIFY(!w.view().hasUnsavedEdits());
        QCOMPARE(menuText(w, cmd::ID_EDIT_REDO), QStringLiteral("Redo Delete Channel"));
        QTest::keyClick(&w.frame(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.view().database().tvCount(), channels - 1);

        // A writable text edit keeps Ctrl+Z for its text.
        w.view().OnEdit();
        auto* name = qobject_cast<QLineEdit*>(w.form().widget(IDC_CHANNEL_NAME));
        QVERIFY(name && !name->isReadOnly());
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral("xy"));
        // The menu says what the keys do: the field's own undo.
        QCOMPARE(menuText(w, cmd::ID_EDIT_UNDO), QStringLiteral("Undo Typing"));
        QVERIFY(undo->isEnabled());
        QCOMPARE(menuText(w, cmd::ID_EDIT_REDO), QStringLiteral("Redo Typing"));
        QVERIFY(!redo->isEnabled());
        QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.view().database().tvCount(), channels - 1);
        undo->trigger();  // the menu item while the edit has the focus: the edit's text again
        QCOMPARE(w.view().database().tvCount(), channels - 1);
        w.form().widget(IDC_TV_LIST)->setFocus();
        QTest::keyClick(&w.frame(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.view().database().tvCount(), channels);
        QTest::keyClick(&w.frame(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(w.view().database().tvCount(), channels - 1);
    }
};

QTEST_MAIN(HistoryWindowTest)
#include "tst_history_window.moc"
