// The Qt side of the platform layer: the list model's batching, the list
// control's selection rules, the form binder and the file filters.
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QThread>
#include <QVBoxLayout>
#include <thread>

#include "qt/file_filter.h"
#include "qt/form_binder.h"
#include "qt/list_model.h"
#include "qt/qt_list_control.h"
#include "qt/qt_platform.h"

using namespace zoedit;

namespace {

ui::ListRow row(const std::string& first, int image = ui::kNoImage) {
    return ui::ListRow{{first, "b", "c", "d"}, image};
}

// A small form: one of each kind of control the forms use.
struct Fixture {
    QWidget root;
    QLineEdit* edit = new QLineEdit(&root);
    QComboBox* combo = new QComboBox(&root);
    QCheckBox* check = new QCheckBox(&root);
    QLabel* label = new QLabel(&root);
    QTableView* table = new QTableView(&root);
    std::vector<ui::ControlEvent> events;
    std::unique_ptr<qt::QtForm> form;

    Fixture() {
        auto* layout = new QVBoxLayout(&root);
        int id = 10;
        for (QWidget* w : std::initializer_list<QWidget*>{edit, combo, check, label, table}) {
            w->setProperty("controlId", id++);
            layout->addWidget(w);
        }
        combo->setEditable(true);
        form = std::make_unique<qt::QtForm>(
            &root, [this](const ui::ControlEvent& e) { events.push_back(e); });
        for (int c = 0; c < 4; ++c) form->list(14)->insertColumn(c, {"col", 50 + c});
    }
};

}  // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void filtersBecomeQtNameFilters() {
        QCOMPARE(qt::translateFileFilter("Data Files(*.bin)|*.bin|All Files(*.*)|*.*|"),
                 (QStringList{"Data Files(*.bin)", "All Files(*.*)"}));
        QCOMPARE(qt::translateFileFilter("Channels|*.bin;*.sgn|All|*.*|"),
                 (QStringList{"Channels (*.bin *.sgn)", "All (*.*)"}));
        // No trailing bar, an empty pattern, and nothing at all.
        QCOMPARE(qt::translateFileFilter("Text|*.txt"), (QStringList{"Text (*.txt)"}));
        QCOMPARE(qt::translateFileFilter("Any||"), (QStringList{"Any (*)"}));
        QVERIFY(qt::translateFileFilter("").isEmpty());
    }

    void rowsInsertedAtTheTopReachTheViewInOneReset() {
        qt::ListModel model;
        model.insertColumn(0, {"Number", 80});
        model.flush();
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        for (int i = 9999; i >= 0; --i) model.insertRow(0, row(std::to_string(i)));
        // Until the batch ends the views see the old, empty table.
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.size(), 10000);
        QCOMPARE(resets.count(), 0);
        QTRY_COMPARE(resets.count(), 1);  // the event loop ends the batch
        QCOMPARE(model.rowCount(), 10000);
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("0"));
        QCOMPARE(model.index(9999, 0).data().toString(), QStringLiteral("9999"));
    }

    void rowEditsKeepIndexesValid() {
        qt::ListModel model;
        model.insertColumn(0, {"Number", 80});
        model.setRows({row("a"), row("b"), row("c", ui::kScrambledImage)});
        model.setImage(QPixmap(8, 8));
        model.flush();
        // Out-of-range requests change nothing; a far insert appends.
        model.deleteRow(7);
        model.setRow(-1, row("x"));
        model.insertRow(50, row("d"));
        model.flush();
        QCOMPARE(model.size(), 4);
        QCOMPARE(QString::fromStdString(model.row(3).texts[0]), QStringLiteral("d"));
        QVERIFY(!model.index(2, 0).data(Qt::DecorationRole).isNull());
        QVERIFY(model.index(1, 0).data(Qt::DecorationRole).isNull());
        // The drop highlight goes with its row.
        model.setDropHighlight(1);
        QVERIFY(model.index(1, 0).data(Qt::BackgroundRole).isValid());
        model.deleteRow(1);
        QCOMPARE(model.dropHighlight(), -1);
        model.setDropHighlight(99);
        QCOMPARE(model.dropHighlight(), -1);
        // Cells beyond a short row are empty, not a crash.
        model.setRows({ui::ListRow{{"only"}, ui::kNoImage}});
        model.insertColumn(1, {"Name", 100});
        model.flush();
        QCOMPARE(model.index(0, 1).data().toString(), QString());
    }

    void listSelectionFromCodeIsSilentAndFromTheUserIsNot() {
        Fixture f;
        ui::ListControl* list = f.form->list(14);
        QVERIFY(list);
        list->setRows({row("0"), row("1"), row("2")});
        list->setRowSelected(1, true);
        QCOMPARE(list->selectedRow(), 1);
        QCOMPARE(list->focusedRow(), 1);
        QVERIFY(f.events.empty());
        // Selecting another row replaces the old one (single selection).
        list->setRowSelected(2, true);
        QCOMPARE(list->selectedRows(), (std::vector<int>{2}));
        f.root.show();
        QTest::keyClick(f.table, Qt::Key_Up);
        QCOMPARE(f.events.size(), std::size_t{1});
        QCOMPARE(f.events[0].id, 14);
        QCOMPARE(f.events[0].kind, ui::EventKind::ItemChanged);
        QCOMPARE(f.events[0].item, 1);
        // Replacing the rows clears the selection.
        list->setRows({row("x")});
        QCOMPARE(list->selectedRow(), -1);
        QCOMPARE(list->cellText(0, 0), std::string("x"));
        QCOMPARE(list->cellText(5, 0), std::string());
    }

    void columnsAndOrder() {
        Fixture f;
        ui::ListControl* list = f.form->list(14);
        QCOMPARE(list->columnCount(), 4);
        QCOMPARE(list->column(1).width, 51);
        list->setColumnOrder({3, 0, 1, 2});
        QCOMPARE(list->columnOrder(), (std::vector<int>{3, 0, 1, 2}));
        // Headers clicked by the user report the logical column.
        f.root.show();
        f.table->horizontalHeader()->sectionClicked(2);
        QCOMPARE(f.events.back().kind, ui::EventKind::ColumnClick);
        QCOMPARE(f.events.back().item, 2);
    }

    void writesFromCodeNeverLookLikeTheUser() {
        Fixture f;
        f.form->setText(10, "abc");
        f.form->setChecked(12, true);
        f.form->setItems(11, {"AUTO", "1/2"});
        f.form->setSelectedIndex(11, 1);
        QVERIFY(f.events.empty());
        QCOMPARE(f.form->text(10), std::string("abc"));
        QVERIFY(f.form->isChecked(12));
        QCOMPARE(f.form->selectedIndex(11), 1);
        f.root.show();
        QTest::mouseClick(f.check, Qt::LeftButton, {}, QPoint(6, f.check->height() / 2));
        QCOMPARE(f.events.size(), std::size_t{1});
        QCOMPARE(f.events[0].kind, ui::EventKind::Clicked);
        QCOMPARE(f.events[0].id, 12);
    }

    void comboTextsAndSelection() {
        Fixture f;
        f.form->setItems(11, {"Horizontal", "Vertical"});
        // Filling keeps the edit part; a text that matches no item selects nothing.
        f.form->setText(11, "Sideways");
        QCOMPARE(f.form->text(11), std::string("Sideways"));
        QCOMPARE(f.form->selectedIndex(11), -1);
        f.form->setSelectedIndex(11, 1);
        QCOMPARE(f.form->text(11), std::string("Vertical"));
        f.form->setSelectedIndex(11, 7);
        QCOMPARE(f.form->selectedIndex(11), -1);
        f.form->addItem(11, "Circular");
        QCOMPARE(f.form->items(11).size(), std::size_t{3});
    }

    void inputLimitsAndReadOnly() {
        Fixture f;
        QCOMPARE(f.form->inputLimit(10), 0);
        f.form->setInputLimit(10, 4);
        QCOMPARE(f.form->inputLimit(10), 4);
        f.root.show();
        f.edit->setFocus();
        QTest::keyClicks(f.edit, "123456");
        QCOMPARE(f.form->text(10), std::string("1234"));
        QCOMPARE(f.events.back().kind, ui::EventKind::EditChange);
        f.form->setInputLimit(10, 0);
        QCOMPARE(f.form->inputLimit(10), 0);
        f.form->setReadOnly(11, true);
        QVERIFY(f.form->isReadOnly(11));
    }

    void labelsShowNamesAsPlainText() {
        // A name like "<b>News</b>" must show as typed, not as markup.
        Fixture f;
        f.form->setText(13, "<b>News</b>");
        QCOMPARE(f.label->textFormat(), Qt::PlainText);
        QCOMPARE(f.form->text(13), std::string("<b>News</b>"));
    }

    void messagesPostedFromAnotherThreadArriveInOrderOnTheUiThread() {
        qt::QtMessagePoster poster;
        std::vector<unsigned> ids;
        bool onUiThread = true;
        poster.setHandler([&](const ui::Message& m) {
            onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
            ids.push_back(m.id);
        });
        std::thread watcher([&poster] {
            for (unsigned i = 0; i < 100; ++i)
                poster.postMessage({ui::UM_DOWNLOAD_RX + (i % 2), i, 0});
        });
        watcher.join();
        QVERIFY(ids.empty());  // nothing runs until the loop turns
        QTRY_COMPARE(ids.size(), std::size_t{100});
        QVERIFY(onUiThread);
        for (unsigned i = 0; i < 100; ++i) QCOMPARE(ids[i], ui::UM_DOWNLOAD_RX + (i % 2));
    }

    void visibilityIsWhatTheProgramAskedFor() {
        // A control on a page that is not shown yet still reports its own state.
        Fixture f;
        f.form->setVisible(10, false);
        QVERIFY(!f.form->isVisible(10));
        f.form->setVisible(10, true);
        QVERIFY(f.form->isVisible(10));
        // Unknown controls answer with empty values.
        QCOMPARE(f.form->text(999), std::string());
        QVERIFY(!f.form->isEnabled(999));
        QVERIFY(f.form->list(10) == nullptr);
    }
};

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
