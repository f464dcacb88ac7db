// Record editing in the real window, offscreen: Edit, typing and Save read
// back from the file; New then Cancel; Delete on the satellite page; a
// favourite box; Ctrl+F; the lock picture; and Undo after each giving the
// previous file content back on the next Save.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "database/channel_file.h"
#include "qt/form_binder.h"
#include "qt/main_frame.h"
#include "qt/window_test_support.h"
#include "qt/zoedit_window.h"
#include "view/history_binding.h"
#include "view/zoedit_view.h"

using namespace zoedit;
using namespace zoedit::ui::form;

namespace {}  // namespace

class RecordEditingTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_sample;

    QAbstractButton* button(qt::ZoEditWindow& w, ui::ControlId id) {
        return qobject_cast<QAbstractButton*>(w.form().widget(id));
    }
    void click(qt::ZoEditWindow& w, ui::ControlId id) {
        QTest::mouseClick(button(w, id), Qt::LeftButton);
    }
    // Opens the sample, selects TV row `row`, presses Edit and saves once
    // unchanged; returns the file as the editor writes these tables.
    QByteArray openForEditing(qt::ZoEditWindow& w, int row = 2) {
        w.frame().show();
        w.openPath(m_sample);
        auto* tv = qobject_cast<QTableView*>(w.form().widget(IDC_TV_LIST));
        QTest::mouseClick(tv->viewport(), Qt::LeftButton, {},
                          tv->visualRect(tv->model()->index(row, 1)).center());
        click(w, IDC_EDIT);
        click(w, IDC_SAVE);
        return readAll(m_sample);
    }
    // Undo as the Edit menu does it: the records and the selection come
    // back and the pages show them again before the next Save.
    void undo(qt::ZoEditWindow& w) {
        CHistoryBinding binding(w.view());
        QVERIFY(binding.canUndo());
        binding.undo();
    }
    void undoAndSave(qt::ZoEditWindow& w, const QByteArray& expected) {
        undo(w);
        click(w, IDC_SAVE);
        QCOMPARE(readAll(m_sample), expected);
    }

private slots:
    void initTestCase() {
        useTestSettings();
        QVERIFY(m_dir.isValid());
    }

    void init() { QVERIFY2(copySampleInto(m_dir, m_sample), "the sample could not be copied"); }

    void typedNameIsSavedToTheFile() {
        qt::ZoEditWindow w;
        const QByteArray baseline = openForEditing(w);
        auto* name = qobject_cast<QLineEdit*>(w.form().widget(IDC_CHANNEL_NAME));
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Typed Here"));
        click(w, IDC_SAVE);
        ChannelDatabase db;
        QVERIFY(loadChannelFile(m_sample.toStdString(), db).ok());
        QCOMPARE(QString::fromStdString(nameBytes(db.tv.primary[2].name)),
                 QStringLiteral("Typed Here"));
        undoAndSave(w, baseline);
    }

    void newThenCancelChangesNothing() {
        qt::ZoEditWindow w;
        const QByteArray baseline = openForEditing(w);
        auto* tv = qobject_cast<QTableView*>(w.form().widget(IDC_TV_LIST));
        const int rows = tv->model()->rowCount();
        click(w, IDC_NEW);
        QCOMPARE(QString::fromStdString(w.form().text(IDC_CHANNEL_NAME)),
                 QStringLiteral("<inseted>"));
        QVERIFY(!w.form().isEnabled(IDC_FAVOURITE_CHECK[0]));
        click(w, IDC_CANCEL);
        QCOMPARE(tv->model()->rowCount(), rows);
        QCOMPARE(w.view().history().stepCount(), std::size_t{0});
        click(w, IDC_SAVE);
        QCOMPARE(readAll(m_sample), baseline);
    }

    void deleteOnTheSatellitePageWithYes() {
        qt::ZoEditWindow w;
        const QByteArray baseline = openForEditing(w);
        const std::size_t satellites = w.view().database().satellites.count;
        auto* tabs = qobject_cast<QTabBar*>(w.form().widget(IDC_TAB));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
        QString question;
        whenModal<QMessageBox>([&question](QMessageBox* box) {
            question = box->text();
            box->button(QMessageBox::Yes)->click();
        });
        click(w, IDC_DELETE);
        QVERIFY(question.startsWith(QStringLiteral("All channels and transponders")));
        QCOMPARE(w.view().database().satellites.count, satellites - 1);
        click(w, IDC_SAVE);
        ChannelDatabase db;
        QVERIFY(loadChannelFile(m_sample.toStdString(), db).ok());
        QCOMPARE(db.satellites.count, satellites - 1);
        undo(w);  // the save's own step, if any, is empty: the delete comes back
        click(w, IDC_SAVE);
        QCOMPARE(readAll(m_sample), baseline);
    }

    void favouriteBoxClickShowsTheNewPosition() {
        qt::ZoEditWindow w;
        const QByteArray baseline = openForEditing(w);
        const ChannelDatabase& db = w.view().database();
        const int before = db.favouritePosition(0, ChannelKind::Tv, 2);
        const auto count = db.groupMembers(0, ChannelKind::Tv).size();
        click(w, IDC_FAVOURITE_CHECK[0]);
        auto* label = qobject_cast<QLabel*>(w.form().widget(IDC_FAVOURITE_POSITION[0]));
        if (before == 0) {
            QCOMPARE(label->text(), QString::asprintf("%.3d", static_cast<int>(count) + 1));
            QVERIFY(button(w, IDC_FAVOURITE_CHECK[0])->isChecked());
        } else {
            QCOMPARE(label->text(), QStringLiteral("000"));
        }
        click(w, IDC_SAVE);
        undoAndSave(w, baseline);
    }

    void ctrlFFindsAChannel() {
        qt::ZoEditWindow w;
        openForEditing(w);
        const std::string wanted = w.form().list(IDC_TV_LIST)->cellText(5, 1);
        whenModal<QDialog>([wanted](QDialog* dialog) {
            auto* edit = dialog->findChild<QLineEdit*>();
            edit->setText(QString::fromStdString(wanted).toLower());
            QTest::mouseClick(dialog->findChild<QAbstractButton*>(), Qt::LeftButton);
        });
        w.frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.frame()));
        QTest::keyClick(w.form().widget(IDC_TV_LIST), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(w.view().state().m_nSelectedTvRow.value >= 0);
        QCOMPARE(w.form().list(IDC_TV_LIST)->cellText(w.view().state().m_nSelectedTvRow.value, 1),
                 wanted);
        QCOMPARE(w.form().text(IDC_CHANNEL_NAME), wanted);
    }

    void lockPictureFollowsTheBox() {
        qt::ZoEditWindow w;
        const QByteArray baseline = openForEditing(w);
        const bool locked = w.view().database().tv.primary[2].locked != 0;
        click(w, IDC_LOCKED);
        QCOMPARE(w.view().database().tv.primary[2].locked != 0, !locked);
        QCOMPARE(w.form().widget(IDC_LOCKED_PICTURE)->isVisible(), !locked);
        QCOMPARE(w.form().widget(IDC_UNLOCKED_PICTURE)->isVisible(), locked);
        click(w, IDC_SAVE);
        undoAndSave(w, baseline);
        QCOMPARE(w.form().widget(IDC_LOCKED_PICTURE)->isVisible(), locked);
    }
};

QTEST_MAIN(RecordEditingTest)
#include "tst_record_editing.moc"
