// The editor window on small and common screens, offscreen: nothing overlaps
// at 1024x600, the number column takes five digits and the picture, Tab
// leaves the list, F10 reaches the menus, the message pane gets its text back
// after a prompt, read-only fields look so, and the window's size, place and
// column widths outlive it.
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusTipEvent>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "qt/form_binder.h"
#include "qt/main_frame.h"
#include "qt/qt_list_control.h"
#include "qt/window_settings.h"
#include "qt/window_test_support.h"
#include "qt/zoedit_window.h"
#include "view/page_controls.h"
#include "view/zoedit_view.h"

using namespace zoedit;
using namespace zoedit::ui::form;

namespace {

// The part of a widget that is on show, in the window's coordinates: its
// rectangle clipped by every parent (a page scrolled away shows nothing).
QRect shownRect(QWidget* widget, QWidget* window) {
    QRect rect(widget->mapTo(window, QPoint(0, 0)), widget->size());
    for (QWidget* p = widget->parentWidget(); p && p != window; p = p->parentWidget())
        rect &= QRect(p->mapTo(window, QPoint(0, 0)), p->size());
    return rect;
}

bool isAncestor(QWidget* parent, QWidget* child) {
    for (QWidget* w = child->parentWidget(); w; w = w->parentWidget())
        if (w == parent) return true;
    return false;
}

}  // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QTableView* table(qt::ZoEditWindow& w, ui::ControlId id) {
        return qobject_cast<QTableView*>(w.form().widget(id));
    }

    QString sample(const QString& name, bool full) {
        const QString path = m_dir.filePath(name);
        if (QFile::exists(path)) return path;
        QStringList args{QStringLiteral("sample")};
        if (full) args << QStringLiteral("--full");
        args << path;
        QProcess cli;
        cli.start(QStringLiteral(ZOEDIT_CLI_PATH), args);
        if (!cli.waitForFinished(30000) || cli.exitCode() != 0) return {};
        return path;
    }

private slots:
    void initTestCase() {
        useTestSettings(QStringLiteral("ZoEditLayoutTest"));
        QVERIFY(m_dir.isValid());
    }

    void nothingOverlapsAtTheSmallestSize() {
        const QString path = sample(QStringLiteral("sample.bin"), false);
        QVERIFY(!path.isEmpty());
        qt::ZoEditWindow w;
        QMainWindow& frame = w.frame();
        frame.show();
        w.openPath(path);
        QVERIFY(frame.minimumSizeHint().width() <= 1024);
        QVERIFY(frame.minimumSizeHint().height() <= 600);
        QVERIFY(frame.sizeHint().width() <= 1366);
        QVERIFY(frame.sizeHint().height() <= 740);
        for (int page = 0; page < 3; ++page) {
            w.view().OnTabSelChange(page);
            for (QSize size : {QSize(1024, 600), QSize(1366, 740)}) {
                frame.resize(size);
                QApplication::processEvents();
                QCOMPARE(frame.size(), size);
                // Every control of the page, and the ones beside every page.
                std::vector<ui::ControlId> ids(pageControls(page).begin(),
                                               pageControls(page).end());
                for (ui::ControlId id : {IDC_EDIT, IDC_NEW, IDC_SAVE, IDC_DELETE, IDC_CANCEL,
                                         IDC_SEARCH, IDC_TV_SWITCH, IDC_RADIO_SWITCH, IDC_TV_LIST,
                                         IDC_TV_LIST_CAPTION, IDC_FILE_PATH, IDC_TAB,
                                         IDC_TV_PICTURE, IDC_UNLOCKED_PICTURE, IDC_LOCKED_PICTURE})
                    ids.push_back(id);
                std::vector<QWidget*> shown;
                for (ui::ControlId id : ids) {
                    QWidget* widget = w.form().widget(id);
                    QVERIFY2(widget, qPrintable(QString::number(id)));
                    if (widget->isVisible()) shown.push_back(widget);
                }
                QVERIFY(shown.size() > 10);
                for (std::size_t a = 0; a < shown.size(); ++a) {
                    const QRect ra = shownRect(shown[a], &frame);
                    QVERIFY2(frame.rect().contains(ra) || ra.isEmpty(),
                             qPrintable(shown[a]->objectName()));
                    for (std::size_t b = a + 1; b < shown.size(); ++b) {
                        if (isAncestor(shown[a], shown[b]) || isAncestor(shown[b], shown[a]))
                            continue;
                        const QRect rb = shownRect(shown[b], &frame);
                        QVERIFY2(
                            !ra.intersects(rb),
                            qPrintable(QStringLiteral("page %1 at %2x%3: %4 and %5")
                                           .arg(page)
                                           .arg(size.width())
                                           .arg(size.height())
                                           .arg(shown[a]->objectName(), shown[b]->objectName())));
                    }
                }
            }
        }
        // The list takes the width the pages leave.
        QTableView* tv = table(w, IDC_TV_LIST);
        frame.resize(1024, 600);
        QApplication::processEvents();
        const int narrow = tv->width();
        frame.resize(1366, 740);
        QApplication::processEvents();
        QCOMPARE(tv->width(), narrow + 342);
    }

    void theLastNumberOfAFullListIsNotCut() {
        const QString path = sample(QStringLiteral("full.bin"), true);
        QVERIFY(!path.isEmpty());
        qt::ZoEditWindow w;
        w.frame().show();
        w.frame().resize(1024, 600);
        w.openPath(path);
        QTableView* tv = table(w, IDC_TV_LIST);
        QCOMPARE(tv->model()->rowCount(), 10000);
        QCOMPARE(tv->model()->index(9999, 0).data().toString(), QStringLiteral("10000"));
        tv->scrollToBottom();
        QApplication::processEvents();
        // What the delegate needs for the picture and "10000" together.
        QStyleOptionViewItem option;
        option.initFrom(tv);
        option.font = tv->font();
        option.decorationSize = tv->iconSize();
        option.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
        const QModelIndex last = tv->model()->index(9999, 0);
        QModelIndex scrambled;
        for (int row = 9999; row >= 0 && !scrambled.isValid(); --row)
            if (!tv->model()->index(row, 0).data(Qt::DecorationRole).isNull())
                scrambled = tv->model()->index(row, 0);
        QVERIFY(scrambled.isValid());
        // The widest number with the picture beside it.
        QStyleOptionViewItem withPicture = option;
        withPicture.icon = QIcon(qvariant_cast<QPixmap>(scrambled.data(Qt::DecorationRole)));
        withPicture.text = last.data().toString();
        const int needed =
            tv->style()
                ->sizeFromContents(QStyle::CT_ItemViewItem, &withPicture, QSize(), tv)
                .width();
        QVERIFY2(tv->columnWidth(0) >= needed,
                 qPrintable(QStringLiteral("%1 < %2").arg(tv->columnWidth(0)).arg(needed)));
        const int textWidth = tv->fontMetrics().horizontalAdvance(withPicture.text);
        QVERIFY(tv->columnWidth(0) >= tv->iconSize().width() + textWidth);

        // A double click on the divider after a column fits the column.
        QHeaderView* header = tv->horizontalHeader();
        tv->setColumnWidth(1, 20);
        const int divider = header->sectionViewportPosition(1) + header->sectionSize(1) - 1;
        QTest::mouseDClick(header->viewport(), Qt::LeftButton, {},
                           QPoint(divider, header->height() / 2));
        QVERIFY2(tv->columnWidth(1) > 60, qPrintable(QString::number(tv->columnWidth(1))));
    }

    void tabLeavesTheListAndComesBack() {
        const QString path = sample(QStringLiteral("sample.bin"), false);
        qt::ZoEditWindow w;
        w.frame().show();
        w.openPath(path);
        w.frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.frame()));
        QTableView* tv = table(w, IDC_TV_LIST);
        tv->setFocus();
        QCOMPARE(QApplication::focusWidget(), tv);
        const int row = w.view().state().m_nSelectedTvRow.value;
        QTest::keyClick(tv, Qt::Key_Tab);
        QWidget* next = QApplication::focusWidget();
        QVERIFY(next && next != tv && !isAncestor(tv, next));
        QCOMPARE(w.view().state().m_nSelectedTvRow.value, row);
        QTest::keyClick(next, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), tv);
        // Every stop of a whole round is a distinct, shown control.
        QSet<QWidget*> seen;
        for (int i = 0; i < 60; ++i) {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus && focus->isVisible() && focus->isEnabled());
            seen.insert(focus);
            QTest::keyClick(focus, Qt::Key_Tab);
            if (QApplication::focusWidget() == tv) break;
        }
        QCOMPARE(QApplication::focusWidget(), tv);
        QVERIFY(seen.size() > 3);
    }

    void f10OpensTheMenus() {
        qt::ZoEditWindow w;
        w.frame().show();
        w.frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.frame()));
        QTest::keyClick(&w.frame(), Qt::Key_F10);
        QMenuBar* bar = w.frame().menuBar();
        QCOMPARE(bar->activeAction(), bar->actions().front());
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<QMenu*>(QApplication::activePopupWidget()), 2000);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    }

    void thePaneGetsItsTextBackAfterAPrompt() {
        qt::ZoEditWindow w;
        qt::CMainFrame& frame = w.frame();
        frame.show();
        frame.setStatusText(QStringLiteral("Port opened"));
        QWidget* button =
            frame.mainToolBar()->widgetForAction(frame.commandAction(ui::cmd::ID_FILE_OPEN));
        QStatusTipEvent over(QStringLiteral("Open an existing document"));
        QApplication::sendEvent(button, &over);
        QCOMPARE(frame.statusText(), QStringLiteral("Open an existing document"));
        QStatusTipEvent away{QString()};
        QApplication::sendEvent(button, &away);
        QCOMPARE(frame.statusText(), QStringLiteral("Port opened"));
        // A menu closed while one of its items is under the pointer.
        QMenu* menu = frame.menuBar()->actions().front()->menu();
        QApplication::sendEvent(button, &over);
        menu->popup(QPoint(0, 0));
        menu->hide();
        QCOMPARE(frame.statusText(), QStringLiteral("Port opened"));
    }

    void readOnlyFieldsLookReadOnly() {
        const QString path = sample(QStringLiteral("sample.bin"), false);
        qt::ZoEditWindow w;
        w.frame().show();
        w.openPath(path);
        auto* name = qobject_cast<QLineEdit*>(w.form().widget(IDC_CHANNEL_NAME));
        QVERIFY(name->isReadOnly());
        QCOMPARE(name->palette().color(QPalette::Base), name->palette().color(QPalette::Window));
        w.view().OnEdit();
        QVERIFY(!name->isReadOnly());
        QCOMPARE(name->palette().color(QPalette::Base),
                 QApplication::palette(name).color(QPalette::Base));
        QVERIFY(name->palette().color(QPalette::Base) != name->palette().color(QPalette::Window));
    }

    void sizePlaceAndColumnWidthsOutliveTheWindow() {
        QSettings().clear();
        {
            qt::ZoEditWindow w;
            QVERIFY(!qt::restoreWindowSettings(w.frame(), w.form()));
            w.frame().show();
            w.frame().setGeometry(40, 50, 1100, 650);
            QApplication::processEvents();
            w.form().qtList(IDC_TV_LIST)->setColumnWidth(1, 241);
            w.form().qtList(IDC_RADIO_LIST)->setColumnWidth(2, 99);
            qt::saveWindowSettings(w.frame(), w.form());
        }
        {
            qt::ZoEditWindow w;
            QVERIFY(qt::restoreWindowSettings(w.frame(), w.form()));
            QCOMPARE(w.frame().size(), QSize(1100, 650));
            QCOMPARE(table(w, IDC_TV_LIST)->columnWidth(1), 241);
            QCOMPARE(table(w, IDC_RADIO_LIST)->columnWidth(2), 99);
            QCOMPARE(table(w, IDC_TV_LIST)->columnWidth(2), 160);
            w.frame().showMaximized();
            QApplication::processEvents();
            qt::saveWindowSettings(w.frame(), w.form());
        }
        qt::ZoEditWindow w;
        QVERIFY(qt::restoreWindowSettings(w.frame(), w.form()));
        w.frame().show();
        QVERIFY(w.frame().isMaximized());
        QSettings().clear();
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "tst_window_layout.moc"
