// The File menu's backup commands in the real window: the list of backups,
// a restored backup saved in place, Revert to Saved, and the number kept
// remembered between runs.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "qt/form_binder.h"
#include "qt/main_frame.h"
#include "qt/modal_watchdog.h"
#include "qt/window_test_support.h"
#include "qt/zoedit_window.h"
#include "ui/resource_ids.h"
#include "view/zoedit_view.h"

using namespace zoedit;
using namespace zoedit::ui::form;
namespace cmd = zoedit::ui::cmd;

namespace {

void answerMessageBox(QMessageBox::StandardButton button, QString* text) {
    whenModal<QMessageBox>([button, text](QMessageBox* box) {
        *text = box->text();
        box->button(button)->click();
    });
}

}  // namespace

class BackupWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_sample;
    ModalWatchdog m_watchdog;

    void press(qt::ZoEditWindow& w, ui::ControlId id) {
        QTest::mouseClick(qobject_cast<QAbstractButton*>(w.form().widget(id)), Qt::LeftButton);
    }
    void typeName(qt::ZoEditWindow& w, const QString& name) {
        auto* edit = qobject_cast<QLineEdit*>(w.form().widget(IDC_CHANNEL_NAME));
        edit->selectAll();
        QTest::keyClicks(edit, name);
    }
    QString shownName(qt::ZoEditWindow& w) {
        return qobject_cast<QLineEdit*>(w.form().widget(IDC_CHANNEL_NAME))->text();
    }

private slots:
    void initTestCase() {
        useTestSettings(QStringLiteral("ZoEditBackupTest"));
        QVERIFY(m_dir.isValid());
        qputenv("ZOEDIT_BACKUP_DIR", m_dir.filePath(QStringLiteral("backups")).toUtf8());
    }

    void init() {
        QVERIFY2(copySampleInto(m_dir, m_sample), "the sample could not be copied");
        QDir(m_dir.filePath(QStringLiteral("backups"))).removeRecursively();
        QSettings().clear();
    }

    // Save twice, restore the first save's file from the list, Save: the
    // file holds the first save's bytes again.
    void restoredBackupIsSavedInPlace() {
        qt::ZoEditWindow w;
        w.frame().show();
        w.openPath(m_sample);
        QAction* restore = w.frame().commandAction(cmd::ID_FILE_RESTORE_BACKUP);
        QVERIFY(restore);
        w.frame().updateCommandStates();
        QVERIFY(restore->isEnabled());
        press(w, IDC_EDIT);
        typeName(w, QStringLiteral("First"));
        press(w, IDC_SAVE);
        const QByteArray first = readAll(m_sample);
        typeName(w, QStringLiteral("Second"));
        press(w, IDC_SAVE);
        QVERIFY(readAll(m_sample) != first);

        m_watchdog.expecting(QStringLiteral("the list of backups"));
        auto* seen = new QStringList;
        whenModal<QDialog>([seen](QDialog* dialog) {
            auto* list = dialog->findChild<QListWidget*>(QStringLiteral("choiceList"));
            if (!list) return dialog->reject();
            for (int i = 0; i < list->count(); ++i) *seen << list->item(i)->text();
            list->setCurrentRow(0);  // newest: the file as First saved it
            dialog->accept();
        });
        restore->trigger();
        QCOMPARE(seen->size(), 2);
        QVERIFY2(seen->at(0).startsWith(QStringLiteral("1  ")), qPrintable(seen->at(0)));
        QVERIFY2(seen->at(0).contains(QStringLiteral(" TV, ")), qPrintable(seen->at(0)));
        delete seen;
        QCOMPARE(shownName(w), QStringLiteral("First"));
        QVERIFY(w.view().hasUnsavedEdits());
        QVERIFY(w.form().isEnabled(IDC_SAVE));
        press(w, IDC_SAVE);
        QCOMPARE(readAll(m_sample), first);
        QCOMPARE(w.view().backups().list(m_sample.toStdString()).size(), std::size_t{3});
    }

    void revertAsksAndReadsTheFileAgain() {
        qt::ZoEditWindow w;
        w.frame().show();
        w.openPath(m_sample);
        press(w, IDC_EDIT);
        typeName(w, QStringLiteral("Saved"));
        press(w, IDC_SAVE);
        typeName(w, QStringLiteral("Typed"));
        QString question;
        answerMessageBox(QMessageBox::Yes, &question);
        w.frame().commandAction(cmd::ID_FILE_REVERT)->trigger();
        QCOMPARE(question,
                 QStringLiteral(
                     "Discard the changes made since the last save and read the file again?"));
        QCOMPARE(shownName(w), QStringLiteral("Saved"));
        QVERIFY(!w.view().hasUnsavedEdits());
    }

    void numberKeptOutlivesTheWindow() {
        {
            qt::ZoEditWindow w;
            QCOMPARE(w.view().backups().keep(), kDefaultBackupsKept);
            whenModal<QDialog>([](QDialog* dialog) {
                auto* list = dialog->findChild<QListWidget*>(QStringLiteral("choiceList"));
                if (!list) return dialog->reject();
                const auto found = list->findItems(QStringLiteral("3"), Qt::MatchExactly);
                if (found.isEmpty()) return dialog->reject();
                list->setCurrentItem(found.front());
                dialog->accept();
            });
            w.frame().commandAction(cmd::ID_FILE_BACKUPS_KEPT)->trigger();
            QCOMPARE(w.view().backups().keep(), 3);
        }
        qt::ZoEditWindow again;
        QCOMPARE(again.view().backups().keep(), 3);
        QCOMPARE(again.view().backups().root(),
                 m_dir.filePath(QStringLiteral("backups")).toStdString());
    }
};

QTEST_MAIN(BackupWindowTest)
#include "tst_backup_window.moc"
