#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "qt/form_binder.h"
#include "qt/link_window.h"
#include "qt/main_frame.h"
#include "qt/pdf_export.h"
#include "qt/window_settings.h"
#include "qt/zoedit_window.h"
#include "view/zoedit_view.h"
#include "zoedit_version.h"

namespace {

bool hasOption(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], option, std::strlen(option)) == 0) return true;
    return false;
}

// Writing a PDF reports on stderr in one line of its own; the toolkit's
// remarks about the environment stay out of it.
void keepSeriousMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
}

// The editor's command line.
struct CommandLine {
    QCommandLineParser parser;
    const QCommandLineOption shot{QStringLiteral("screenshot"),
                                  QStringLiteral("Render the main window to a PNG file and exit."),
                                  QStringLiteral("OUT.png")};
    const QCommandLineOption page{QStringLiteral("page"),
                                  QStringLiteral("Tab page shown in the screenshot (0, 1 or 2)."),
                                  QStringLiteral("N"), QStringLiteral("0")};
    const QCommandLineOption size{QStringLiteral("size"),
                                  QStringLiteral("Window size of the screenshot, WIDTHxHEIGHT."),
                                  QStringLiteral("WxH"), QStringLiteral("1366x768")};
    const QCommandLineOption pdf{
        QStringLiteral("print-pdf"),
        QStringLiteral("Print a channel list of FILE to a PDF file and exit."),
        QStringLiteral("OUT.pdf")};
    const QCommandLineOption list{QStringLiteral("list"),
                                  QStringLiteral("List printed by --print-pdf: tv or radio."),
                                  QStringLiteral("tv|radio"), QStringLiteral("tv")};

    CommandLine() {
        parser.setApplicationDescription(
            QStringLiteral("Channel list editor for satellite receivers"));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOptions({shot, page, size, pdf, list});
        parser.addPositionalArgument(QStringLiteral("FILE"),
                                     QStringLiteral("Channel file to open at start."));
    }
};

bool asksForHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") return false;
        if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" ||
            arg == "--version")
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication::setOrganizationName(QStringLiteral("ZoEdit"));
    QApplication::setApplicationVersion(QStringLiteral(ZOEDIT_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("zoedit"));
    CommandLine command_line;
    QCommandLineParser& parser = command_line.parser;
    // Help and version are answered without a window system, so that they
    // work where there is no display (a terminal, a package build). The name
    // is the command's here, as "--version" shows it; the settings keep theirs.
    if (asksForHelpOrVersion(argc, argv)) {
        QCoreApplication terminal(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("zoedit"));
        parser.process(terminal);  // prints the answer and exits
        return 0;
    }
    QApplication::setApplicationName(QStringLiteral("ZoEdit"));

    // A screenshot and a PDF need no display at all.
    const bool pdf_only = hasOption(argc, argv, "--print-pdf");
    if (pdf_only || hasOption(argc, argv, "--screenshot")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (pdf_only) qInstallMessageHandler(keepSeriousMessages);
    QApplication app(argc, argv);
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(command_line.pdf)) {
        if (files.size() != 1) {
            std::fprintf(stderr, "--print-pdf needs exactly one channel file\n");
            return 1;
        }
        return zoedit::qt::printListToPdf(parser.value(command_line.pdf),
                                          parser.value(command_line.list), files.front());
    }

    zoedit::qt::ZoEditWindow window;
    zoedit::qt::CMainFrame& frame = window.frame();
    if (parser.isSet(command_line.shot)) {
        const QStringList wh = parser.value(command_line.size).split(QLatin1Char('x'));
        frame.resize(wh.value(0).toInt(), wh.value(1).toInt());
        frame.show();
        // Nobody can answer a message box without a display: report it and
        // let the picture show what the window shows after it.
        QTimer dismiss;
        QObject::connect(&dismiss, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                std::fprintf(stderr, "%s\n", qPrintable(box->text()));
                box->done(QMessageBox::Ok);
            }
        });
        dismiss.start(20);
        if (!files.isEmpty()) window.openPath(files.front());
        window.view().OnTabSelChange(parser.value(command_line.page).toInt());
        window.form().setSelectedIndex(zoedit::ui::form::IDC_TAB,
                                       parser.value(command_line.page).toInt());
        QApplication::processEvents();
        const bool saved = frame.grab().save(parser.value(command_line.shot), "PNG");
        if (!saved)
            std::fprintf(stderr, "cannot write %s\n", qPrintable(parser.value(command_line.shot)));
        return saved ? 0 : 1;
    }
    // Not for a screenshot: opening the port could stop it with a message box.
    zoedit::qt::LinkWindow link(window);
    if (!zoedit::qt::restoreWindowSettings(frame, window.form())) {
        // The first run opens maximised; this is the size un-maximising gives.
        frame.resize(frame.minimumSizeHint().expandedTo(QSize(1200, 700)));
        frame.setWindowState(Qt::WindowMaximized);
    }
    // The file is opened after the port command has had its say, so that
    // their messages come one after the other.
    if (!files.isEmpty()) {
        QObject::connect(&link, &zoedit::qt::LinkWindow::startUpFinished, &window,
                         [&window, file = files.front()] { window.openPath(file); });
    }
    frame.show();
    const int result = app.exec();
    zoedit::qt::saveWindowSettings(frame, window.form());
    return result;
}
