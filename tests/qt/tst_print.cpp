// Printing the channel lists: `zoedit --print-pdf` read back with pdftotext,
// its refusals, and the print commands of the editor window.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "database/channel_columns.h"
#include "database/channel_file.h"
#include "database/codepage.h"
#include "qt/list_printing.h"
#include "qt/main_frame.h"
#include "qt/window_test_support.h"
#include "qt/zoedit_window.h"
#include "support/database_builder.h"
#include "support/file_size_limit.h"
#include "view/zoedit_view.h"

using namespace zoedit;
namespace cmd = zoedit::ui::cmd;

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run run(const QString& program, const QStringList& args, const QString& config_home) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The code page choice of the user running the tests stays out of it.
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config_home);
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Arabic comes back from the PDF in its shaped forms between direction
// marks: compare letters, not glyphs.
QString plain(const QString& text) {
    QString out = text.normalized(QString::NormalizationForm_KC);
    out.remove(QRegularExpression(QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}]")));
    return out;
}

// A name in Latin letters shows as it is; one with Arabic words comes back
// in display order, so its words are looked for one by one.
bool showsName(const QString& line, const QString& name) {
    const QString shown = plain(line);
    if (shown.contains(name)) return true;
    for (const QString& word : plain(name).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (!shown.contains(word)) return false;
    return !QRegularExpression(QStringLiteral("^[\\x{0}-\\x{7f}]*$")).match(name).hasMatch();
}

void writeFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_sample;
    QString m_noRadio;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    Run printPdf(const QStringList& args) {
        return run(QStringLiteral(ZOEDIT_GUI_PATH),
                   QStringList{QStringLiteral("--print-pdf")} + args,
                   path(QStringLiteral("config")));
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        m_sample = QStringLiteral(ZOEDIT_SOURCE_DIR "/examples/sample.bin");
        testing::DatabaseShape shape;
        shape.radio = 0;
        shape.groups = {{2, 0}};
        m_noRadio = path(QStringLiteral("no_radio.bin"));
        writeFile(m_noRadio, testing::fileBytesOf(testing::buildDatabase(shape)));
    }

    void pdfHoldsEveryRowInOrderOnNumberedPages() {
        const QString out = path(QStringLiteral("tv.pdf"));
        const Run made = printPdf({out, QStringLiteral("--list"), QStringLiteral("tv"), m_sample});
        QCOMPARE(made.err, QString());
        QCOMPARE(made.status, 0);
        const Run text = run(QStringLiteral("pdftotext"),
                             {QStringLiteral("-layout"), out, QStringLiteral("-")}, QString());
        QCOMPARE(text.status, 0);
        QStringList pages = text.out.split(QLatin1Char('\f'));
        if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.removeLast();
        const int n = static_cast<int>(pages.size());
        QVERIFY2(n > 1, "the sample's TV list should take several pages");

        ChannelDatabase db;
        QVERIFY(loadChannelFile(m_sample.toStdString(), db).ok());
        const std::size_t rows = db.channels(ChannelKind::Tv).count;
        std::size_t next = 0;
        for (int k = 0; k < n; ++k) {
            const QString& page = pages[k];
            QVERIFY2(page.contains(QStringLiteral("Page %1 of %2").arg(k + 1).arg(n)),
                     qPrintable(QStringLiteral("page %1 lacks its number").arg(k + 1)));
            QVERIFY(page.contains(QStringLiteral("Vemora   Channel List")) ||
                    page.contains(QStringLiteral("Vemora Channel List")));
            for (const ChannelColumnSpec& column : kChannelColumns)
                QVERIFY2(page.contains(QString::fromUtf8(column.title.data(), column.title.size())),
                         column.title.data());
            // Each row is one line: its number first, then its name.
            for (const QString& line : page.split(QLatin1Char('\n'))) {
                const QString trimmed = line.trimmed();
                if (!QRegularExpression(QStringLiteral("^\\d{4,5}\\s")).match(trimmed).hasMatch())
                    continue;
                QVERIFY2(next < rows, qPrintable(trimmed));
                const auto texts =
                    channelRowTexts(db, ChannelKind::Tv, next, CodePage::Windows1256);
                const QString number = QString::fromStdString(texts[kColumnNumber]);
                QCOMPARE(trimmed.section(QLatin1Char(' '), 0, 0), number);
                const QString name = QString::fromStdString(texts[kColumnName]);
                QVERIFY2(showsName(trimmed, name), qPrintable(trimmed + " / " + name));
                ++next;
            }
        }
        QCOMPARE(next, rows);
    }

    void refusalsLeaveOutUntouched() {
        const QString out = path(QStringLiteral("kept.pdf"));
        {
            QFile f(out);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("earlier");
        }
        const QString garbage = path(QStringLiteral("garbage.bin"));
        writeFile(garbage, std::vector<std::uint8_t>(300, 0x5a));
        const QString missing_dir = path(QStringLiteral("no/such/dir/out.pdf"));
        const QList<QStringList> cases = {
            {out, garbage},
            {out, QStringLiteral("--list"), QStringLiteral("radio"), m_noRadio},
            {out, path(QStringLiteral("absent.bin"))},
            {missing_dir, m_sample},
        };
        for (const QStringList& args : cases) {
            const Run r = printPdf(args);
            QCOMPARE(r.status, 1);
            QCOMPARE(r.err.count(QLatin1Char('\n')), 1);
            QVERIFY2(!r.err.trimmed().isEmpty(), qPrintable(args.join(' ')));
        }
        {
            // A write that stops halfway, as on a full disk (for root too):
            // the child inherits the limit.
            test::FileSizeLimit limit(2048);
            QVERIFY(limit.applied());
            const Run r = printPdf({out, m_sample});
            QCOMPARE(r.status, 1);
            QVERIFY2(r.err.contains(QStringLiteral("File too large")), qPrintable(r.err));
        }
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("earlier"));
        QVERIFY(!QFile::exists(missing_dir));
        QCOMPARE(m_dir.path() + "/kept.pdf", out);
        const QStringList left = QDir(m_dir.path()).entryList(QDir::Files);
        QVERIFY2(!left.join(' ').contains(QStringLiteral("kept.pdf.")), qPrintable(left.join(' ')));
    }

    void helpListsThePdfOption() {
        const Run r = run(QStringLiteral(ZOEDIT_GUI_PATH), {QStringLiteral("--help")},
                          path(QStringLiteral("config")));
        QVERIFY(r.out.contains(QStringLiteral("--print-pdf")));
        QVERIFY(r.out.contains(QStringLiteral("--list")));
    }

    void printCommandsNeedAFileAndPreviewDrawsTheList() {
        qt::ZoEditWindow w;
        for (int id : {cmd::ID_FILE_PRINT, cmd::ID_FILE_PRINT_PREVIEW, cmd::ID_FILE_PRINT_SETUP})
            QVERIFY(!w.frame().commandAction(id)->isEnabled());
        w.openPath(m_sample);
        for (int id : {cmd::ID_FILE_PRINT, cmd::ID_FILE_PRINT_PREVIEW, cmd::ID_FILE_PRINT_SETUP})
            QVERIFY(w.frame().commandAction(id)->isEnabled());
        QCOMPARE(w.printing().listToPrint(w.view()), ChannelKind::Tv);

        int pages = 0;
        whenModal<QPrintPreviewDialog>([&pages](QPrintPreviewDialog* dialog) {
            if (auto* widget = dialog->findChild<QPrintPreviewWidget*>())
                pages = widget->pageCount();
            dialog->reject();
        });
        w.frame().dispatchCommand(cmd::ID_FILE_PRINT_PREVIEW);
        QVERIFY2(pages > 1, qPrintable(QString::number(pages)));
    }

    void anEmptyListSaysSoInsteadOfPrinting() {
        qt::ZoEditWindow w;
        w.openPath(m_noRadio);
        w.frame().dispatchCommand(cmd::ID_VIEW_RADIO);
        // No row is selected in the radio list: the list on show is the one printed.
        QCOMPARE(w.printing().listToPrint(w.view()), ChannelKind::Radio);
        QString text;
        whenModal<QMessageBox>([&text](QMessageBox* box) {
            text = box->text();
            box->accept();
        });
        w.frame().dispatchCommand(cmd::ID_FILE_PRINT);
        QCOMPARE(text, QStringLiteral("The list has no channels to print."));
    }
};

QTEST_MAIN(PrintTest)
#include "tst_print.moc"
