// The favourites dialog in the real editor window, offscreen: rename a group,
// drag an entry, press the save button; the main view's box caption and the
// saved file show both. The offscreen platform has no drag loop of its own,
// so the drop reaches the list as the window system would deliver it.
#include <QApplication>
#include <QDialog>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>

#include "database/channel_file.h"
#include "qt/form_binder.h"
#include "qt/main_frame.h"
#include "qt/window_test_support.h"
#include "qt/zoedit_window.h"
#include "view/zoedit_view.h"

using namespace zoedit;
namespace fav = zoedit::ui::favourites;

namespace {

// Runs `act` on the favourites dialog once it is up; the dialog must be
// closed by `act` or the test times out on the modal loop.
void whenDialog(std::function<void(QDialog*)> act, int attempts = 200) {
    QTimer::singleShot(10, [act, attempts] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->objectName() == QStringLiteral("FavouritesDialog"))
            act(dialog);
        else if (attempts > 0)
            whenDialog(act, attempts - 1);
        else
            qFatal("the favourites dialog did not open");
    });
}

std::vector<std::uint16_t> groupMembers(const ChannelDatabase& db, std::size_t g) {
    const auto m = db.groupMembers(g, ChannelKind::Tv);
    return {m.begin(), m.end()};
}

// Drag-enter, move and drop of `data` over `row` of the view, as the drag
// loop delivers them.
bool dropOnRow(QTableView* view, QMimeData* data, int row) {
    const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
    QDragEnterEvent enter(at, Qt::MoveAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(view->viewport(), &enter);
    QDragMoveEvent move(at, Qt::MoveAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(view->viewport(), &move);
    QDropEvent drop(at, Qt::MoveAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(view->viewport(), &drop);
    return drop.isAccepted();
}

#define QVERIFY_OR_FALSE(condition)                                                            \
    do {                                                                                       \
        if (!QTest::qVerify(static_cast<bool>(condition), #condition, "", __FILE__, __LINE__)) \
            return false;                                                                      \
    } while (false)

// The user's part inside the dialog; false at the first check that fails.
bool userRenamesAndDrags(QDialog* dialog) {
    dialog->activateWindow();
    QVERIFY_OR_FALSE(QTest::qWaitForWindowActive(dialog));
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("name1148"));
    auto* list = dialog->findChild<QTableView*>(QStringLiteral("tvList1087"));
    QVERIFY_OR_FALSE(name && list);
    QVERIFY_OR_FALSE(name->isReadOnly());

    // Enter and Escape leave the dialog open.
    QTest::keyClick(dialog, Qt::Key_Escape);
    QTest::keyClick(dialog, Qt::Key_Return);
    QVERIFY_OR_FALSE(dialog->isVisible());

    QTest::mouseClick(name, Qt::LeftButton);
    QVERIFY_OR_FALSE(!name->isReadOnly());
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Sport 24"));

    // Press on the first entry and pull: the drag starts (and, with no drag
    // loop here, ends at once without a drop).
    const QPoint first = list->visualRect(list->model()->index(0, 0)).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseMove(list->viewport(), first + QPoint(0, 20));
    QTest::mouseMove(list->viewport(), first + QPoint(0, 40));
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, first + QPoint(0, 40));
    QVERIFY_OR_FALSE(name->isReadOnly());  // the list took the focus: the name is in
    QApplication::processEvents();         // the list is filled again after the cancelled drag
    std::unique_ptr<QMimeData> data(list->model()->mimeData({list->model()->index(0, 0)}));
    QVERIFY_OR_FALSE(data);
    QVERIFY_OR_FALSE(dropOnRow(list, data.get(), 2));
    QVERIFY_OR_FALSE(list->selectionModel()->isRowSelected(2, {}));
    return true;
}

}  // namespace

class FavouritesDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_sample;

private slots:
    void initTestCase() {
        useTestSettings();
        QVERIFY(m_dir.isValid());
        QVERIFY2(copySampleInto(m_dir, m_sample), "the sample could not be copied");
    }

    void renameDragAndSave() {
        qt::ZoEditWindow w;
        w.frame().show();
        w.openPath(m_sample);
        const auto before = groupMembers(w.view().database(), 0);
        QVERIFY(before.size() >= 4);

        bool checked = false;
        whenDialog([&checked](QDialog* dialog) {
            auto* save = dialog->findChild<QPushButton*>(QStringLiteral("saveButton"));
            // A failed check below still ends the dialog, by its save button.
            checked = userRenamesAndDrags(dialog);
            QTest::mouseClick(save, Qt::LeftButton);
            if (dialog->isVisible()) dialog->done(ui::IDCANCEL);
        });
        w.frame().commandAction(ui::cmd::ID_VIEW_FAVOURITES)->trigger();
        QVERIFY(checked);

        // The drop moved entry 1 onto entry 3's place: 2, 3, 1, 4, ...
        auto moved = before;
        std::rotate(moved.begin(), moved.begin() + 1, moved.begin() + 3);
        QCOMPARE(w.form().text(ui::form::IDC_FAVOURITE_CHECK[0]), std::string("Sport 24"));
        ChannelDatabase saved;
        QVERIFY(loadChannelFile(m_sample.toStdString(), saved).ok());
        QCOMPARE(nameBytes(saved.favourites.groups[0].name), std::string("Sport 24"));
        QVERIFY(groupMembers(saved, 0) == moved);
        QVERIFY(!w.view().hasUnsavedEdits());
    }
};

QTEST_MAIN(FavouritesDialogTest)
#include "tst_favourites_dialog.moc"
