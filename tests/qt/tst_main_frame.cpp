// The main frame on its own: menu, toolbar, accelerators and status bar.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "qt/about_box.h"
#include "qt/main_frame.h"
#include "ui/resource_ids.h"
#include "zoedit_version.h"

using zoedit::qt::CMainFrame;
namespace cmd = zoedit::ui::cmd;
namespace form = zoedit::ui::form;

class MainFrameTest : public QObject {
    Q_OBJECT

private:
    // Items of a menu as "id caption" lines, "-" for a separator.
    static QStringList itemsOf(QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator())
                out << QStringLiteral("-");
            else if (!a->menu())
                out << QStringLiteral("%1 %2").arg(a->data().toInt()).arg(a->text());
        }
        return out;
    }

    static QMenu* menuAt(CMainFrame& frame, int index) {
        return frame.menuBar()->actions().at(index)->menu();
    }

private slots:
    void menuBarCaptionsInOrder() {
        CMainFrame frame;
        QStringList captions;
        for (QAction* a : frame.menuBar()->actions()) captions << a->text();
        QCOMPARE(captions,
                 (QStringList{"&ملف", "&تعديل", "&عرض", "&التحكم", "&القوائم", "&Vemora"}));
    }

    void fileMenuItemsShortcutTextsAndSeparators() {
        CMainFrame frame;
        QCOMPARE(itemsOf(menuAt(frame, 0)),
                 (QStringList{"57601 &فتح\tCtrl+O", "32792 &حفظ\tCtrl+S", "32841 Revert to Saved",
                              "32840 Restore Backup…", "32842 Backups to Keep…", "-",
                              "32830 Apply &Order From...", "32831 Co&mpare With...", "-",
                              "57607 &طباعة...\tCtrl+P", "57609 Print Pre&view",
                              "57606 P&rint Setup...", "-", "57665 خروج \tAlt_F4"}));
    }

    void otherMenus() {
        CMainFrame frame;
        QCOMPARE(itemsOf(menuAt(frame, 1)),
                 (QStringList{"32812 &جديد\tCtrl+N", "32786 قطع\tCtrl+X", "32811 &إسترجاع\tCtrl+V",
                              "32816 Keep This Order", "-", "32776 &مسح\tCtrl+D", "-",
                              "57643 Undo\tCtrl+Z", "57644 Redo\tCtrl+Y"}));
        // The code page choice follows the three list commands.
        const QStringList view = itemsOf(menuAt(frame, 2));
        QCOMPARE(view.mid(0, 4), (QStringList{"32789 قنوات التلفزيون", "32790 قنوات الراديو", "-",
                                              "32788 المفضلة(A-C)"}));
        QCOMPARE(itemsOf(menuAt(frame, 3)), (QStringList{"32814 Port إعداد", "32813 الخصائص", "-",
                                                         "32784 التحميل من الكمبيوتر للرسيفر",
                                                         "32815 التحميل من الرسيفر للكمبيوتر"}));
        QCOMPARE(itemsOf(menuAt(frame, 4)), (QStringList{"59392 &Toolbar", "59393 &Status Bar"}));
        QCOMPARE(itemsOf(menuAt(frame, 5)), (QStringList{"57664 &معلومات عن ؟"}));
    }

    void menuShortcutTextsDoNotAct() {
        // Only the accelerator table binds keys; a real shortcut on the menu's
        // Ctrl+X would run the channel cut, which no key may reach.
        CMainFrame frame;
        for (QAction* a : frame.findChildren<QAction*>()) QVERIFY(a->shortcut().isEmpty());
    }

    void toolbarOrderTipsAndPictures() {
        CMainFrame frame;
        QToolBar* bar = frame.mainToolBar();
        QCOMPARE(bar->iconSize(), QSize(32, 32));
        QList<int> ids;
        for (QAction* a : bar->actions()) ids << (a->isSeparator() ? 0 : a->data().toInt());
        QCOMPARE(ids, (QList<int>{57601, 32792, 0, 32789, 32790, 32788, 0, 32784, 32815, 0, 32813,
                                  57607, 0, 57664}));
        for (QAction* a : bar->actions()) {
            if (a->isSeparator()) continue;
            QVERIFY2(!a->icon().pixmap(32, 32).isNull(), qPrintable(a->text()));
            QVERIFY(!a->toolTip().isEmpty());
        }
        QCOMPARE(frame.commandAction(cmd::ID_DOWNLOAD)->toolTip(), QStringLiteral("Download"));
        QCOMPARE(frame.commandAction(cmd::ID_DOWNLOAD)->statusTip(),
                 QStringLiteral("Download the Data"));
        QCOMPARE(frame.commandAction(cmd::ID_FILE_SAVE)->toolTip(), QStringLiteral("File Save"));
        QCOMPARE(frame.commandAction(cmd::ID_PORT_SETTINGS)->statusTip(),
                 QStringLiteral("Serial Port Setting"));
    }

    void commandsWithoutHandlerAreDisabled() {
        CMainFrame frame;
        frame.setCommandEnabledQuery([](int id) -> std::optional<bool> {
            if (id == cmd::ID_FILE_OPEN) return true;
            if (id == cmd::ID_VIEW_TV) return false;
            return std::nullopt;
        });
        QVERIFY(frame.commandAction(cmd::ID_FILE_OPEN)->isEnabled());
        QVERIFY(!frame.commandAction(cmd::ID_VIEW_TV)->isEnabled());
        QVERIFY(!frame.commandAction(cmd::ID_DOWNLOAD)->isEnabled());
        // The frame's own commands work whatever the view says.
        QVERIFY(frame.commandAction(cmd::ID_APP_ABOUT)->isEnabled());
        QVERIFY(frame.commandAction(cmd::ID_VIEW_TOOLBAR)->isEnabled());
    }

    void acceleratorsReachTheirCommands() {
        CMainFrame frame;
        QList<int> seen;
        frame.setCommandHandler([&seen](int id) {
            seen << id;
            return true;
        });
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTest::keyClick(&frame, Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
        QTest::keyClick(&frame, Qt::Key_D, Qt::ControlModifier);
        QTest::keyClick(&frame, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(&frame, Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(&frame, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(&frame, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(&frame, Qt::Key_Insert, Qt::ShiftModifier);
        // Ctrl+S is the form's save button, not the menu's save; Ctrl+X and
        // Ctrl+V cut and paste channels, Shift+Ins is the standard paste.
        QCOMPARE(seen, (QList<int>{form::IDC_SAVE, form::IDC_NEW, form::IDC_DELETE,
                                   form::IDC_SEARCH, cmd::ID_FILE_OPEN, cmd::ID_EDIT_CUT_CHANNEL,
                                   cmd::ID_EDIT_PASTE_CHANNEL, cmd::ID_EDIT_PASTE}));
    }

    void barsToggleAndStayInStep() {
        CMainFrame frame;
        frame.show();
        QAction* toolbar = frame.commandAction(cmd::ID_VIEW_TOOLBAR);
        QAction* status = frame.commandAction(cmd::ID_VIEW_STATUS_BAR);
        QVERIFY(toolbar->isChecked() && status->isChecked());
        toolbar->trigger();
        status->trigger();
        QVERIFY(!frame.mainToolBar()->isVisible());
        QVERIFY(!frame.statusBar()->isVisible());
        QVERIFY(!toolbar->isChecked() && !status->isChecked());
        toolbar->trigger();
        QVERIFY(frame.mainToolBar()->isVisible());
        QVERIFY(toolbar->isChecked());
    }

    void statusPanes() {
        CMainFrame frame;
        frame.setStatusText(QStringLiteral("Port Open : Com1"));
        QCOMPARE(frame.statusText(), QStringLiteral("Port Open : Com1"));
        auto* setting = frame.findChild<QLabel*>(QStringLiteral("pane129"));
        QVERIFY(setting);
        QVERIFY(setting->minimumWidth() >=
                setting->fontMetrics().horizontalAdvance("Setting : 115200, none, 8, 1"));
        for (const char* name : {"paneCAP", "paneNUM", "paneSCRL"})
            QVERIFY(frame.findChild<QLabel*>(QLatin1String(name)));
    }

    void closePromptDecidesWhetherTheWindowCloses() {
        CMainFrame frame;
        int asked = 0;
        bool allow = false;
        frame.setClosePrompt([&] {
            ++asked;
            return allow;
        });
        frame.show();
        QVERIFY(!frame.close());
        QVERIFY(frame.isVisible());
        allow = true;
        frame.commandAction(cmd::ID_APP_EXIT)->trigger();
        QVERIFY(!frame.isVisible());
        QCOMPARE(asked, 2);
    }

    // The version the programs print, beside the box's own credits.
    void aboutBoxShowsTheVersion() {
        zoedit::qt::CAboutBox box;
        QStringList texts;
        for (const QLabel* label : box.findChildren<QLabel*>())
            if (!label->text().isEmpty()) texts << label->text();
        QCOMPARE(texts.size(), 2);
        QCOMPARE(texts.front(), QStringLiteral("ZoEdit Version " ZOEDIT_VERSION));
    }
};

QTEST_MAIN(MainFrameTest)
#include "tst_main_frame.moc"
