// The channel lists' own operations in the real window, offscreen: a row
// dragged through the view's drag and drop and the file saved and read back,
// the context menu's items, a header click sorting, and the cut key.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "database/channel_file.h"
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

class ListOperationsWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_sample;
    ModalWatchdog m_watchdog;

    QTableView* table(qt::ZoEditWindow& w) {
        return qobject_cast<QTableView*>(w.form().widget(IDC_TV_LIST));
    }
    void openForEditing(qt::ZoEditWindow& w) {
        w.frame().show();
        w.openPath(m_sample);
        QApplication::processEvents();
        QTest::mouseClick(qobject_cast<QWidget*>(w.form().widget(IDC_EDIT)), Qt::LeftButton);
        QVERIFY(w.view().state().m_bEditing);
    }
    std::vector<std::uint16_t> serviceIds(const ChannelDatabase& db) {
        std::vector<std::uint16_t> ids;
        for (std::size_t i = 0; i < db.tv.count; ++i) ids.push_back(db.tv.primary[i].service_id);
        return ids;
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        QVERIFY2(copySampleInto(m_dir, m_sample), "the sample could not be copied");
    }

    // The view's drop lands in the model; a synthesised mouse drag cannot
    // run the platform's drag loop offscreen, so the drop is the model's.
    void aDroppedRowMovesTheChannelAndTheSavedFileKeepsIt() {
        qt::ZoEditWindow w;
        openForEditing(w);
        QTableView* tv = table(w);
        auto* model = tv->model();
        QVERIFY(model->rowCount() > 6);
        const auto before = serviceIds(w.view().database());
        QVERIFY(tv->dragEnabled());
        QVERIFY(tv->showDropIndicator());
        QVERIFY(tv->hasAutoScroll());

        tv->selectRow(2);
        std::unique_ptr<QMimeData> data(model->mimeData({model->index(2, 0)}));
        QVERIFY(data);
        QVERIFY(w.view().state().isDragging());
        QVERIFY(model->canDropMimeData(data.get(), Qt::MoveAction, -1, -1, model->index(5, 0)));
        QVERIFY(model->dropMimeData(data.get(), Qt::MoveAction, -1, -1, model->index(5, 0)));
        data.reset();  // the drag is over
        QApplication::processEvents();
        QVERIFY(!w.view().state().isDragging());

        auto expected = before;
        expected.erase(expected.begin() + 2);
        expected.insert(expected.begin() + 5, before[2]);
        QCOMPARE(serviceIds(w.view().database()), expected);
        QCOMPARE(tv->selectionModel()->selectedRows().front().row(), 5);

        // A drag that ends without a drop (Escape, or released outside the
        // list) changes nothing.
        data.reset(model->mimeData({model->index(0, 0)}));
        data.reset();
        QApplication::processEvents();
        QVERIFY(!w.view().state().isDragging());

        QVERIFY(w.view().Save());
        ChannelDatabase reread;
        QVERIFY(loadChannelFile(m_sample.toStdString(), reread).ok());
        QCOMPARE(serviceIds(reread), expected);
    }

    void theContextMenuShowsItsItemsGreyedAsTheModesSay() {
        qt::ZoEditWindow w;
        openForEditing(w);
        QTableView* tv = table(w);
        QStringList texts;
        QList<bool> enabled;
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            for (QAction* a : menu->actions()) {
                texts << a->text();
                enabled << a->isEnabled();
            }
            menu->close();
        });
        const QRect rect = tv->visualRect(tv->model()->index(1, 1));
        emit tv->customContextMenuRequested(rect.center());
        QCOMPARE(texts,
                 (QStringList{"<TV channel>", "New  (&N)", "Cut  (&X)", "Paste(&P)", "Del  (&D)"}));
        QCOMPARE(enabled[3], false);
        QCOMPARE(enabled[2], true);
    }

    void aHeaderClickSortsTheListAndTheCutKeyWorksOnlyOffTheEdits() {
        qt::ZoEditWindow w;
        openForEditing(w);
        QTableView* tv = table(w);
        QHeaderView* header = tv->horizontalHeader();
        const int x = header->sectionViewportPosition(1) + header->sectionSize(1) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        QVERIFY(w.view().isSorted());
        QStringList names;
        for (int r = 0; r < tv->model()->rowCount(); ++r)
            names << tv->model()->index(r, 1).data().toString();
        for (int r = 1; r < names.size(); ++r) QVERIFY(names[r - 1].toUtf8() <= names[r].toUtf8());
        QVERIFY(w.frame().commandAction(cmd::ID_EDIT_KEEP_ORDER)->isEnabled());
        QVERIFY(!w.frame().commandAction(cmd::ID_VIEW_FAVOURITES)->isEnabled());
        QTest::mouseClick(qobject_cast<QWidget*>(w.form().widget(IDC_CANCEL)), Qt::LeftButton);
        QVERIFY(!w.view().isSorted());
        QCOMPARE(tv->model()->index(0, 0).data().toString(), QStringLiteral("0001"));

        auto* name = qobject_cast<QLineEdit*>(w.form().widget(IDC_CHANNEL_NAME));
        name->setFocus();
        QTest::keyClick(name, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(!w.view().state().isCutPending());
        tv->setFocus();
        QTest::keyClick(tv, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(w.view().state().isCutPending());
    }
};

QTEST_MAIN(ListOperationsWindowTest)
#include "tst_list_operations.moc"
