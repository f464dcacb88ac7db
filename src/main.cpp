#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstring>

#include "qt/main_form_widget.h"
#include "qt/main_frame.h"

namespace {

bool wantsScreenshot(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--screenshot") == 0) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // A screenshot needs no display at all.
    if (wantsScreenshot(argc, argv)) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption shot(QStringLiteral("screenshot"),
                            QStringLiteral("Render the main window to a PNG file and exit."),
                            QStringLiteral("OUT.png"));
    parser.addOption(shot);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Channel file to open."));
    parser.process(app);

    zoedit::qt::CMainFrame frame;
    frame.setCentralWidget(new zoedit::qt::MainFormWidget(&frame));
    if (parser.isSet(shot)) {
        frame.resize(1180, 760);
        frame.show();
        QApplication::processEvents();
        return frame.grab().save(parser.value(shot)) ? 0 : 1;
    }
    frame.showMaximized();
    return app.exec();
}
