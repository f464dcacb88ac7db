// The real editor window, offscreen: opening through the file dialog,
// selecting rows, pages, switches, accelerators, the close prompt and the
// code page of names.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "database/channel_database.h"
#include "qt/form_binder.h"
#include "qt/main_frame.h"
#include "qt/modal_watchdog.h"
#include "qt/qt_list_control.h"
#include "qt/window_test_support.h"
#include "qt/zoedit_window.h"
#include "view/zoedit_view.h"

using namespace zoedit;
using namespace zoedit::ui::form;
namespace cmd = zoedit::ui::cmd;

namespace {

void answerFileDialog(const QString& path) {
    whenModal<QFileDialog>([path](QFileDialog* dialog) {
        // Typed as a user would; selecting through the dialog's file system
        // model would race with the thread that fills it. done() rather than
        // accept() for the same reason: accept() looks the file up in the model.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        name->setText(path);
        static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
    });
}

void answerMessageBox(QMessageBox::StandardButton button, QString* text = nullptr) {
    whenModal<QMessageBox>([button, text](QMessageBox* box) {
        if (text) *text = box->text();
        box->button(button)->click();
    });
}

}  // namespace

class EditorWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_sample;
    ModalWatchdog m_watchdog;

    QTableView* table(qt::ZoEditWindow& w, ui::ControlId id) {
        return qobject_cast<QTableView*>(w.form().widget(id));
    }

    // Opens the sample copy as the command line does; the tests of the Open
    // command itself go through the menu and a scripted file dialog.
    void openSample(qt::ZoEditWindow& w) {
        w.openPath(m_sample);
        QApplication::processEvents();
    }

    void clickRow(QTableView* view, int row) {
        const QRect rect = view->visualRect(view->model()->index(row, 1));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }

private slots:
    void initTestCase() {
        useTestSettings();
        QVERIFY(m_dir.isValid());
    }

    void init() { QVERIFY2(copySampleInto(m_dir, m_sample), "the sample could not be copied"); }

    void startsEmptyAndReadOnly() {
        qt::ZoEditWindow w;
        w.frame().show();
        auto* tabs = qobject_cast<QTabBar*>(w.form().widget(IDC_TAB));
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(2), QStringLiteral("Satellite"));
        QTableView* tv = table(w, IDC_TV_LIST);
        QCOMPARE(tv->model()->columnCount(), 4);
        QCOMPARE(tv->model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Channel Name"));
        // The number column grows past 80 only as far as picture and five digits need.
        QVERIFY(tv->columnWidth(0) >= 80 && tv->columnWidth(0) < 120);
        QCOMPARE(tv->columnWidth(1), 195);
        QCOMPARE(tv->columnWidth(2), 160);
        QVERIFY(tv->showGrid());
        QCOMPARE(tv->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(tv->selectionMode(), QAbstractItemView::SingleSelection);
        QVERIFY(!table(w, IDC_RADIO_LIST)->isVisible());
        for (ui::ControlId id : {IDC_EDIT, IDC_NEW, IDC_SAVE, IDC_DELETE, IDC_CANCEL, IDC_SEARCH})
            QVERIFY(!w.form().isEnabled(id));
        QVERIFY(w.form().isReadOnly(IDC_CHANNEL_NAME));
        QVERIFY(!w.frame().commandAction(cmd::ID_VIEW_TV)->isEnabled());
        QVERIFY(w.frame().commandAction(cmd::ID_FILE_OPEN)->isEnabled());
        // The channel page shows; the others' fields are hidden.
        QVERIFY(w.form().widget(IDC_CHANNEL_NAME)->isVisible());
        QVERIFY(!w.form().widget(IDC_POSITION)->isVisible());
        QVERIFY(!w.form().widget(IDC_FREQUENCY)->isVisible());
    }

    void openThroughTheFileDialogShowsTheRows() {
        qt::ZoEditWindow w;
        w.frame().show();
        answerFileDialog(m_sample);
        w.frame().commandAction(cmd::ID_FILE_OPEN)->trigger();
        QApplication::processEvents();
        const ChannelDatabase& db = w.view().database();
        QVERIFY(db.tv.count > 0);
        QTableView* tv = table(w, IDC_TV_LIST);
        QCOMPARE(tv->model()->rowCount(), static_cast<int>(db.tv.count));
        QCOMPARE(tv->model()->index(0, 0).data().toString(), QStringLiteral("0001"));
        // Scrambled rows, and only those, carry the picture.
        for (int row = 0; row < tv->model()->rowCount(); ++row) {
            const bool picture = !tv->model()->index(row, 0).data(Qt::DecorationRole).isNull();
            QCOMPARE(picture, db.tv.primary[static_cast<std::size_t>(row)].scrambled == 1);
        }
        QCOMPARE(tv->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(tv->selectionModel()->selectedRows().front().row(), 0);
        QCOMPARE(QString::fromStdString(w.form().text(IDC_FILE_PATH)), m_sample);
        QCOMPARE(QString::fromStdString(w.form().text(IDC_CHANNEL_NUMBER)), QStringLiteral("001"));
        QVERIFY(w.form().isEnabled(IDC_EDIT));
        QVERIFY(w.frame().commandAction(cmd::ID_VIEW_TV)->isEnabled());

        // A second file through the same dialog replaces the rows.
        const QString small = m_dir.filePath(QStringLiteral("small.bin"));
        QFile::remove(small);
        QVERIFY(QFile::copy(m_sample, small));
        answerFileDialog(small);
        w.frame().commandAction(cmd::ID_FILE_OPEN)->trigger();
        QApplication::processEvents();
        QCOMPARE(QString::fromStdString(w.form().text(IDC_FILE_PATH)), small);
        QCOMPARE(tv->model()->rowCount(), static_cast<int>(db.tv.count));
    }

    void cancellingTheDialogLoadsNothing() {
        qt::ZoEditWindow w;
        w.frame().show();
        whenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
        w.frame().commandAction(cmd::ID_FILE_OPEN)->trigger();
        QCOMPARE(table(w, IDC_TV_LIST)->model()->rowCount(), 0);
        QVERIFY(!w.form().isEnabled(IDC_EDIT));
    }

    void aRefusedFileSaysWhyAndKeepsTheForm() {
        const QString bad = m_dir.filePath(QStringLiteral("bad.bin"));
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(200, '\x11'));
        f.close();
        qt::ZoEditWindow w;
        w.frame().show();
        QString first;
        // One box gives both reasons.
        whenModal<QMessageBox>([&first](QMessageBox* box) {
            first = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        answerFileDialog(bad);
        w.frame().commandAction(cmd::ID_FILE_OPEN)->trigger();
        QCOMPARE(first, QStringLiteral("Invalid Data Format!!!\nInvalid Data Format, Check the "
                                       "Source File"));
        QCOMPARE(table(w, IDC_TV_LIST)->model()->rowCount(), 0);
        QVERIFY(w.form().isReadOnly(IDC_CHANNEL_NAME));
    }

    void clickingARowFillsThePages() {
        qt::ZoEditWindow w;
        w.frame().show();
        openSample(w);
        QTableView* tv = table(w, IDC_TV_LIST);
        clickRow(tv, 2);
        QCOMPARE(w.view().state().m_nSelectedTvRow.value, 2);
        QCOMPARE(QString::fromStdString(w.form().text(IDC_CHANNEL_NAME)),
                 tv->model()->index(2, 1).data().toString());
        QCOMPARE(QString::fromStdString(w.form().text(IDC_CHANNEL_NUMBER)), QStringLiteral("003"));
        QCOMPARE(QString::fromStdString(w.form().text(IDC_SATELLITE_BANNER)),
                 tv->model()->index(2, 3).data().toString());
        // The transponder page follows the channel's transponder.
        const auto& channel = w.view().database().tv.primary[2];
        QCOMPARE(QString::fromStdString(w.form().text(IDC_TRANSPONDER_NUMBER)),
                 QString::number(channel.transponder_index + 1));
        // Keys move the selection as clicks do.
        QTest::keyClick(tv, Qt::Key_Down);
        QCOMPARE(w.view().state().m_nSelectedTvRow.value, 3);
        QCOMPARE(QString::fromStdString(w.form().text(IDC_CHANNEL_NUMBER)), QStringLiteral("004"));
    }

    void tabsShowTheirPages() {
        qt::ZoEditWindow w;
        w.frame().show();
        openSample(w);
        auto* tabs = qobject_cast<QTabBar*>(w.form().widget(IDC_TAB));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
        QCOMPARE(w.view().state().m_nCurrentPage, Page::Satellite);
        QVERIFY(w.form().widget(IDC_POSITION)->isVisible());
        QVERIFY(w.form().widget(IDC_SATELLITE_NAME)->isVisible());
        QVERIFY(!w.form().widget(IDC_SATELLITE_SELECTOR)->isVisible());
        QVERIFY(!w.form().widget(IDC_CHANNEL_NAME)->isVisible());
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QVERIFY(w.form().widget(IDC_SATELLITE_SELECTOR)->isVisible());
        QVERIFY(w.form().widget(IDC_FREQUENCY)->isVisible());
        QVERIFY(!w.form().widget(IDC_POSITION)->isVisible());
        QVERIFY(!w.form().widget(IDC_SATELLITE_NAME)->isVisible());
    }

    void switchesShowOneListAtATime() {
        qt::ZoEditWindow w;
        w.frame().show();
        openSample(w);
        QTest::mouseClick(qobject_cast<QAbstractButton*>(w.form().widget(IDC_RADIO_SWITCH)),
                          Qt::LeftButton);
        QTableView* radio = table(w, IDC_RADIO_LIST);
        QVERIFY(radio->isVisible());
        QVERIFY(!table(w, IDC_TV_LIST)->isVisible());
        QCOMPARE(radio->model()->rowCount(), static_cast<int>(w.view().database().radio.count));
        QVERIFY(w.form().widget(IDC_RADIO_PICTURE)->isVisible());
        w.frame().commandAction(cmd::ID_VIEW_TV)->trigger();
        QVERIFY(table(w, IDC_TV_LIST)->isVisible());
        QVERIFY(w.form().isChecked(IDC_TV_SWITCH));
        QVERIFY(!w.form().isChecked(IDC_RADIO_SWITCH));
    }

    void saveKeyDoesWhatTheButtonDoesAndNothingWhileItIsDisabled() {
        qt::ZoEditWindow w;
        w.frame().show();
        openSample(w);
        w.frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.frame()));
        QVERIFY(!w.form().isEnabled(IDC_SAVE));
        QCOMPARE(w.view().state().m_bSaved, 0);
        // Typed into the list, which has the focus after loading.
        QTest::keyClick(table(w, IDC_TV_LIST), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(w.view().state().m_bSaved, 0);
        QTest::mouseClick(qobject_cast<QAbstractButton*>(w.form().widget(IDC_EDIT)),
                          Qt::LeftButton);
        QTest::keyClick(table(w, IDC_TV_LIST), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(w.view().state().m_bSaved, 1);
    }

    void closingWithEditsAndAnsweringNoLeavesTheFile() {
        const QByteArray before = readAll(m_sample);
        qt::ZoEditWindow w;
        w.frame().show();
        openSample(w);
        QTest::mouseClick(qobject_cast<QAbstractButton*>(w.form().widget(IDC_EDIT)),
                          Qt::LeftButton);
        QVERIFY(w.view().hasUnsavedEdits());
        auto* name = qobject_cast<QLineEdit*>(w.form().widget(IDC_CHANNEL_NAME));
        QVERIFY(!name->isReadOnly());
        QString question;
        answerMessageBox(QMessageBox::No, &question);
        QVERIFY(w.frame().close());
        QCOMPARE(question, QStringLiteral("Save changes to the All Data Channels?"));
        QCOMPARE(readAll(m_sample), before);
    }

    // Escape at the close question is Cancel: the window stays, and so does
    // every unsaved change (here typing, which gets the record's question).
    void escapeAtTheCloseQuestionKeepsTheWindowAndTheTyping() {
        const QByteArray before = readAll(m_sample);
        qt::ZoEditWindow w;
        w.frame().show();
        openSample(w);
        QTest::mouseClick(qobject_cast<QAbstractButton*>(w.form().widget(IDC_EDIT)),
                          Qt::LeftButton);
        auto* name = qobject_cast<QLineEdit*>(w.form().widget(IDC_CHANNEL_NAME));
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral("zz"));
        QString question;
        whenModal<QMessageBox>([&question](QMessageBox* box) {
            question = box->text();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QVERIFY(!w.frame().close());
        QCOMPARE(question, QStringLiteral("Save the changes to this record?"));
        QVERIFY(w.frame().isVisible());
        QVERIFY(name->text().endsWith(QStringLiteral("zz")));
        QCOMPARE(readAll(m_sample), before);
        answerMessageBox(QMessageBox::No);
        QVERIFY(w.frame().close());
    }

    void closingWithoutEditsAsksNothing() {
        qt::ZoEditWindow w;
        w.frame().show();
        openSample(w);
        QVERIFY(w.frame().close());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void namesFollowTheChosenCodePageWithoutLosingBytes() {
        qt::ZoEditWindow w;
        w.frame().show();
        openSample(w);
        const ChannelDatabase& db = w.view().database();
        // A row whose name has bytes past ASCII.
        int row = -1;
        for (std::size_t i = 0; i < db.tv.count && row < 0; ++i) {
            const std::string name = nameBytes(db.tv.primary[i].name);
            for (char c : name)
                if (static_cast<unsigned char>(c) >= 0x80) row = static_cast<int>(i);
        }
        QVERIFY(row >= 0);
        const auto bytes = db.tv.primary[static_cast<std::size_t>(row)].name;
        QTableView* tv = table(w, IDC_TV_LIST);
        const QString arabic = tv->model()->index(row, 1).data().toString();
        QVERIFY(arabic.contains(QChar(0x0627)) || arabic.at(0).script() == QChar::Script_Arabic);

        w.setCodePage(CodePage::Latin1);
        QCOMPARE(tv->model()->index(row, 1).data().toString(),
                 QString::fromLatin1(nameBytes(bytes).c_str()));
        QCOMPARE(QSettings().value("names/codePage").toInt(), 2);
        QCOMPARE(w.frame().codePageIndex(), 2);
        // The selection survives the refill.
        QCOMPARE(tv->selectionModel()->selectedRows().size(), 1);

        w.setCodePage(CodePage::Windows1256);
        QCOMPARE(tv->model()->index(row, 1).data().toString(), arabic);
        QVERIFY(db.tv.primary[static_cast<std::size_t>(row)].name == bytes);
    }

    void theCodePageChoiceOutlivesTheWindow() {
        {
            qt::ZoEditWindow w;
            w.setCodePage(CodePage::Windows1252);
        }
        qt::ZoEditWindow again;
        QCOMPARE(again.view().codePage(), CodePage::Windows1252);
        QCOMPARE(again.frame().codePageIndex(), 1);
        again.setCodePage(CodePage::Windows1256);
    }
};

QTEST_MAIN(EditorWindowTest)
#include "tst_editor_window.moc"
