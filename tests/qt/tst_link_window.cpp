// The receiver link's real windows, offscreen, against the receiver emulator
// on a pseudo-terminal: the menu commands, the file dialogs, the progress
// dialogs and the message boxes, driven as a user would drive them.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <deque>
#include <functional>
#include <memory>

#include "link/download_machine.h"
#include "link/receiver_link.h"
#include "link/serial/comm_port.h"
#include "link/upload_machine.h"
#include "qt/link_window.h"
#include "qt/main_frame.h"
#include "qt/modal_watchdog.h"
#include "qt/qt_platform.h"
#include "qt/window_test_support.h"
#include "qt/zoedit_window.h"
#include "ui/resource_ids.h"

using namespace zoedit;

namespace {

QString samplePath() {
    return QStringLiteral(ZOEDIT_SOURCE_DIR "/examples/sample.bin");
}

// The sample's usage type 0 is one the link refuses to send; as 3 (checked
// mode, its checksum is right) it goes both ways.
// The sample with another usage type, e.g. 0, which the link refuses to send.
QString sampleWithUsageType(const QTemporaryDir& dir, char usage) {
    QByteArray bytes = readAll(samplePath());
    bytes[4] = 0x00;
    bytes[5] = usage;
    const QString path = dir.filePath(QStringLiteral("sample%1.bin").arg(int(usage)));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
    return path;
}

// zoedit-cli receiver --pty; the path it prints is where the PC opens its port.
class Emulator {
public:
    explicit Emulator(QStringList options) {
        m_process.setProgram(QStringLiteral(ZOEDIT_CLI_PATH));
        m_process.setArguments(QStringList{QStringLiteral("receiver"), QStringLiteral("--pty")} +
                               options);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        if (!m_process.waitForStarted(10000)) return;
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
        }
        m_path = QString::fromUtf8(m_process.readLine()).trimmed();
    }
    ~Emulator() {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    const QString& path() const { return m_path; }
    // Ends a transfer it holds (--hold-after): it gives it up and announces
    // itself again.
    void giveUp() { ::kill(static_cast<pid_t>(m_process.processId()), SIGUSR1); }

private:
    QProcess m_process;
    QString m_path;
};

// Answers the modal windows as they come up: file dialogs with the queued
// paths, message boxes with OK (keeping their texts), and hands the running
// progress dialog to `onProgress`, which may press its Cancel button.
class ModalDriver : public QObject {
public:
    ModalDriver() {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] { look(); });
        m_timer.start();
    }
    std::deque<QString> files;
    QStringList messages;
    std::function<void(QDialog&)> onProgress;

    void look() {
        QWidget* top = QApplication::activeModalWidget();
        if (auto* fd = qobject_cast<QFileDialog*>(top)) {
            if (files.empty()) return fd->reject();
            fd->selectFile(files.front());
            if (auto* name = fd->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(files.front());
            // The dialog may still be applying its initial name: try again later.
            if (fd->selectedFiles() != QStringList{files.front()}) return;
            files.pop_front();
            static_cast<QDialog*>(fd)->done(QDialog::Accepted);  // as its own accept ends
        } else if (auto* box = qobject_cast<QMessageBox*>(top)) {
            messages << box->text();
            box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->accept();
        } else if (auto* dialog = qobject_cast<QDialog*>(top)) {
            const int id = dialog->property("controlId").toInt();
            if ((id == ui::IDD_DOWNLOAD_PROGRESS || id == ui::IDD_UPLOAD_PROGRESS) && onProgress)
                onProgress(*dialog);
        }
    }

private:
    QTimer m_timer;
};

QString childText(QDialog& dialog, int control) {
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (w->property("controlId").toInt() != control) continue;
        if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    }
    return {};
}

void pressCancel(QDialog& dialog) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->property("controlId").toInt() == ui::IDCANCEL) b->click();
}

// Has the driver look in before each of the port's notifications, since a
// loop busy with them may keep its timer waiting, and may slow their handling
// so that a transfer lasts long enough to be watched.
class Brake : public QObject {
public:
    Brake(int ms, ModalDriver& driver) : m_ms(ms), m_driver(driver) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() < QEvent::User) return false;
        m_driver.look();
        QThread::msleep(static_cast<unsigned long>(m_ms));
        return false;
    }

private:
    int m_ms;
    ModalDriver& m_driver;
};

}  // namespace

class TestLinkWindow : public QObject {
    Q_OBJECT

private:
    // What the upload's byte count shows once two block frames have arrived.
    static constexpr int kHeldCount = 2 * 1029;
    QTemporaryDir m_dir;
    ModalWatchdog m_watchdog;
    std::unique_ptr<qt::ZoEditWindow> m_window;
    qt::LinkWindow* m_link = nullptr;

    // A main window whose config.ini names `port`, shown, its port opened.
    void openWindow(const QString& port) {
        QVERIFY2(!port.isEmpty(), "the emulator printed no path for its port within 10 s");
        QFile config(m_dir.filePath(QStringLiteral("config.ini")));
        QVERIFY(config.open(QIODevice::WriteOnly | QIODevice::Truncate));
        config.write(QStringLiteral("8\n0\n0\nNone\n%1\n115200\n1\n").arg(port).toUtf8());
        config.close();
        m_window = std::make_unique<qt::ZoEditWindow>();
        m_link = new qt::LinkWindow(*m_window);
        m_window->frame().show();
    }
    link::ReceiverLink& link() { return m_link->link(); }
    void run(int command) { m_window->frame().dispatchCommand(command); }
    QString statusText() { return m_window->frame().statusText(); }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);  // the file dialog's history stays out of ~
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }
    void init() { m_watchdog.startCase(QTest::currentTestFunction()); }
    void cleanup() {
        delete m_link;
        m_link = nullptr;
        m_window.reset();
        m_watchdog.endCase();
    }

    void portOpensWhenTheWindowIsFirstShownAndTheCommandToggles() {
        Emulator emulator({});
        QVERIFY(!emulator.path().isEmpty());
        openWindow(emulator.path());
        QTRY_VERIFY(link().portState().m_bPortOpen);
        QCOMPARE(statusText(),
                 QStringLiteral("Initialization of Port %1 is successful.").arg(emulator.path()));
        QAction* action = m_window->frame().commandAction(ui::cmd::ID_PORT_OPEN_CLOSE);
        QVERIFY(action->isCheckable() && action->isChecked());
        QVERIFY(action->isEnabled());
        auto* pane = m_window->frame().findChild<QLabel*>(QStringLiteral("pane129"));
        QVERIFY(pane);
        QCOMPARE(pane->text(), QStringLiteral("Setting : 115200, none, 8, 1"));

        run(ui::cmd::ID_PORT_OPEN_CLOSE);
        QVERIFY(!action->isChecked());
        QCOMPARE(statusText(), QStringLiteral("Port %1 is closed.").arg(emulator.path()));
    }

    void aPortThatCannotBeOpenedSaysSoAtStart() {
        ModalDriver driver;
        openWindow(m_dir.filePath(QStringLiteral("no-such-device")));
        // The box names the device and the system's reason on its second line.
        const QString device = m_dir.filePath(QStringLiteral("no-such-device"));
        QTRY_COMPARE(driver.messages,
                     QStringList{QStringLiteral("Failed initializing port.\n%1: No such file or "
                                                "directory")
                                     .arg(device)});
        QCOMPARE(statusText(), QStringLiteral("Failed initializing port."));
        QVERIFY(!m_window->frame().commandAction(ui::cmd::ID_PORT_OPEN_CLOSE)->isChecked());
    }

    void startUpMessagesComeOneAfterTheOther() {
        // As the program starts with a file named on the command line: the
        // file is opened once the port command has had its say.
        ModalDriver driver;
        const QString missing = m_dir.filePath(QStringLiteral("missing.bin"));
        QFile config(m_dir.filePath(QStringLiteral("config.ini")));
        QVERIFY(config.open(QIODevice::WriteOnly | QIODevice::Truncate));
        config.write(QStringLiteral("8\n0\n0\nNone\n%1\n115200\n1\n")
                         .arg(m_dir.filePath(QStringLiteral("no-such-device")))
                         .toUtf8());
        config.close();
        m_window = std::make_unique<qt::ZoEditWindow>();
        m_link = new qt::LinkWindow(*m_window);
        QWidget* modalAtFinish = nullptr;
        int finished = 0;
        connect(m_link, &qt::LinkWindow::startUpFinished, this, [&] {
            ++finished;
            modalAtFinish = QApplication::activeModalWidget();
            m_window->openPath(missing);
        });
        m_window->frame().show();
        QTRY_COMPARE(driver.messages.size(), 2);
        QCOMPARE(finished, 1);
        QVERIFY(!modalAtFinish);
        QCOMPARE(driver.messages,
                 (QStringList{
                     QStringLiteral("Failed initializing port.\n%1: No such file or directory")
                         .arg(m_dir.filePath(QStringLiteral("no-such-device"))),
                     QStringLiteral("Cannot open %1: No such file or directory").arg(missing)}));
    }

    void settingsDialogSavesWhatTheUserTyped() {
        openWindow(QStringLiteral("Port"));
        QTRY_COMPARE(statusText(), QStringLiteral("Please set up the port first."));
        bool seen = false;
        QTimer::singleShot(100, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->property("controlId").toInt(), ui::IDD_PORT_SETTINGS);
            auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("portCombo"));
            QVERIFY(combo && combo->count() >= 4);
            QCOMPARE(combo->itemText(3), QStringLiteral("Com4"));
            combo->setEditText(QStringLiteral("COM2"));
            dialog->findChild<QComboBox*>(QStringLiteral("speedCombo"))->setCurrentIndex(6);
            dialog->findChild<QRadioButton*>(QStringLiteral("flowXonRts"))->click();
            seen = true;
            dialog->findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
        });
        run(ui::cmd::ID_PORT_SETTINGS);
        QVERIFY(seen);
        QCOMPARE(readAll(QStringLiteral("config.ini")),
                 QByteArray("8\n0\n3\nNone\nCOM2\n9600\n1\n"));
        QCOMPARE(link().portState().m_nPortNumber, 2);
        auto* pane = m_window->frame().findChild<QLabel*>(QStringLiteral("pane129"));
        QCOMPARE(pane->text(), QStringLiteral("Setting : 9600, none, 8, 1"));

        QTimer::singleShot(100, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QComboBox*>(QStringLiteral("portCombo"))
                ->setEditText(QStringLiteral("Com4"));
            dialog->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        });
        run(ui::cmd::ID_PORT_SETTINGS);
        QCOMPARE(readAll(QStringLiteral("config.ini")),
                 QByteArray("8\n0\n3\nNone\nCOM2\n9600\n1\n"));
    }

    void downloadOfTheSampleEndsWithDownloadOk() {
        const QString saved = m_dir.filePath(QStringLiteral("received.bin"));
        Emulator emulator({QStringLiteral("--save"), saved});
        openWindow(emulator.path());
        QTRY_VERIFY(link().portState().m_bPortOpen);
        ModalDriver driver;
        // A usage type the link cannot send is refused when the receiver is
        // ready, and the dialog closes; the program goes on.
        driver.files.push_back(sampleWithUsageType(m_dir, 0));
        m_watchdog.expecting(QStringLiteral("\"Unknown Usage Type\" for a file the link refuses"));
        run(ui::cmd::ID_DOWNLOAD);
        QCOMPARE(driver.messages, QStringList{QStringLiteral("Unknown Usage Type")});
        driver.messages.clear();

        const QString sample = samplePath();
        driver.files.push_back(sample);
        QString model;
        driver.onProgress = [&](QDialog& d) { model = childText(d, ui::download::IDC_MODEL_ID); };
        // Looked at before each notification: seen however quickly it ends.
        Brake look(0, driver);
        m_window->findChild<qt::QtMessagePoster*>()->installEventFilter(&look);
        m_watchdog.expecting(QStringLiteral("\"Download OK\" for the sample"));
        run(ui::cmd::ID_DOWNLOAD);
        // The command returns once the progress dialog has closed.
        QCOMPARE(driver.messages, QStringList{QStringLiteral("Download OK")});
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(link().flags().m_bDownloadActive.load(), 0);
        QCOMPARE(link().download().state(), link::DownloadMachine::State::WaitReady);
        QCOMPARE(model, QStringLiteral("DSR-4200 CI FTA"));
        QTRY_COMPARE(readAll(saved), readAll(sample));
    }

    void uploadStoresWhatTheEmulatorSent() {
        const QString sample = samplePath();
        Emulator emulator({QStringLiteral("--send"), sample});
        openWindow(emulator.path());
        QTRY_VERIFY(link().portState().m_bPortOpen);
        ModalDriver driver;
        const QString out = m_dir.filePath(QStringLiteral("fetched.bin"));
        driver.files.push_back(out);
        m_watchdog.expecting(QStringLiteral("\"UpLoad Complete(C)!!\" for the sample"));
        run(ui::cmd::ID_UPLOAD);
        QCOMPARE(driver.messages, QStringList{QStringLiteral("UpLoad Complete(C)!!")});
        QCOMPARE(QString::fromStdString(link().upload().outputPath()), out);
        const QByteArray sent = readAll(sample);
        const QByteArray stored = readAll(out);
        // Checked and whole: stored as the file it is, without the filler
        // of the receiver's last block.
        QCOMPARE(stored, sent);
        QCOMPARE(link().flags().m_bUploadActive.load(), 0);
    }

    void aRejectionShowsItsMessageAndTheDialogWaitsForCancel() {
        Emulator emulator({QStringLiteral("--reject"), QStringLiteral("hw")});
        openWindow(emulator.path());
        QTRY_VERIFY(link().portState().m_bPortOpen);
        ModalDriver driver;
        driver.files.push_back(samplePath());
        driver.onProgress = [&](QDialog& d) {
            if (!driver.messages.isEmpty()) pressCancel(d);
        };
        m_watchdog.expecting(QStringLiteral("\"H/W version error\" and the test's Cancel"));
        run(ui::cmd::ID_DOWNLOAD);
        QCOMPARE(driver.messages, QStringList{QStringLiteral("H/W version error")});
        QCOMPARE(link().flags().m_bDownloadActive.load(), 0);
    }

    void cancelMidTransferLeavesNothingArmedAndTheNextOneWorks() {
        const QString sample = samplePath();
        // The emulator stops after the second block until told to give up,
        // so Cancel lands mid-transfer however busy the machine is.
        Emulator emulator({QStringLiteral("--send"), sample, QStringLiteral("--hold-after"),
                           QStringLiteral("2")});
        openWindow(emulator.path());
        QTRY_VERIFY(link().portState().m_bPortOpen);
        ModalDriver driver;
        const QString out = m_dir.filePath(QStringLiteral("cancelled.bin"));
        driver.files.push_back(out);
        const QString held_count = QStringLiteral("%1").arg(kHeldCount);
        QString count_at_cancel;
        driver.onProgress = [&](QDialog& d) {
            const QString count = childText(d, ui::upload::IDC_BYTE_COUNT).trimmed();
            if (count == held_count && count_at_cancel.isEmpty()) {
                count_at_cancel = count;
                pressCancel(d);
            }
        };
        m_watchdog.expecting(QStringLiteral("the upload's byte count to reach %1").arg(held_count));
        run(ui::cmd::ID_UPLOAD);
        QCOMPARE(count_at_cancel, held_count);
        QVERIFY(driver.messages.isEmpty());
        QCOMPARE(link().flags().m_bUploadActive.load(), 0);
        QCOMPARE(link().flags().m_bDownloadActive.load(), 0);
        QCOMPARE(link().upload().state(), link::UploadMachine::State::CollectHeader);
        QVERIFY(!QFile::exists(out));

        // The emulator gives the abandoned transfer up and announces itself
        // again: a download goes through.
        emulator.giveUp();
        driver.onProgress = nullptr;
        driver.files.push_back(sample);
        m_watchdog.expecting(QStringLiteral("\"Download OK\" after the cancelled upload"));
        run(ui::cmd::ID_DOWNLOAD);
        QCOMPARE(driver.messages, QStringList{QStringLiteral("Download OK")});
    }

    // As a new user: the emulator's path typed into the settings, the port
    // opened from the menu, each direction watched mid-transfer. Pictures of
    // the progress dialogs go to $ZOEDIT_SHOT_DIR when it is set.
    void aUserTypesThePathAndWatchesBothTransfers() {
        const QString shots = qEnvironmentVariable("ZOEDIT_SHOT_DIR");
        const QString sample = samplePath();
        // Held after five blocks: the upload cannot end before it is watched.
        Emulator emulator({QStringLiteral("--send"), sample, QStringLiteral("--baud"),
                           QStringLiteral("9600"), QStringLiteral("--hold-after"),
                           QStringLiteral("5")});
        openWindow(QStringLiteral("Port"));
        QTRY_COMPARE(statusText(), QStringLiteral("Please set up the port first."));
        QTimer::singleShot(100, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("portCombo"));
            combo->lineEdit()->selectAll();
            QTest::keyClicks(combo->lineEdit(), emulator.path());
            if (!shots.isEmpty()) dialog->grab().save(shots + QStringLiteral("/port_settings.png"));
            dialog->findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
        });
        run(ui::cmd::ID_PORT_SETTINGS);
        run(ui::cmd::ID_PORT_OPEN_CLOSE);
        QVERIFY(link().portState().m_bPortOpen);

        ModalDriver driver;
        Brake brake(40, driver);
        auto* poster = m_window->findChild<qt::QtMessagePoster*>();
        poster->installEventFilter(&brake);
        bool grabbed = false;
        driver.files.push_back(sample);
        driver.onProgress = [&](QDialog& d) {
            const QString position = childText(d, ui::download::IDC_POSITION);
            if (grabbed || position.section('/', 0, 0).toInt() < 8000) return;
            grabbed = true;
            if (!shots.isEmpty()) d.grab().save(shots + QStringLiteral("/download_progress.png"));
        };
        m_watchdog.expecting(QStringLiteral("\"Download OK\" from the 9600 baud emulator"));
        run(ui::cmd::ID_DOWNLOAD);
        poster->removeEventFilter(&brake);
        QVERIFY(grabbed);
        QCOMPARE(driver.messages, QStringList{QStringLiteral("Download OK")});

        grabbed = false;
        driver.files.push_back(m_dir.filePath(QStringLiteral("watched.bin")));
        driver.onProgress = [&](QDialog& d) {
            const int count = childText(d, ui::upload::IDC_BYTE_COUNT).trimmed().toInt();
            if (grabbed || count < 4 * 1029) return;
            grabbed = true;
            if (!shots.isEmpty()) d.grab().save(shots + QStringLiteral("/upload_progress.png"));
            pressCancel(d);  // seen enough
        };
        m_watchdog.expecting(QStringLiteral("the upload's byte count to pass %1").arg(4 * 1029));
        run(ui::cmd::ID_UPLOAD);
        QVERIFY(grabbed);
        QCOMPARE(link().flags().m_bUploadActive.load(), 0);
    }
};

QTEST_MAIN(TestLinkWindow)
#include "tst_link_window.moc"
