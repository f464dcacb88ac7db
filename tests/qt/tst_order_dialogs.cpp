// "Apply Order From..." and "Compare With..." in the real editor window,
// offscreen: the counts the dialog shows, the options reaching the step,
// Cancel changing nothing, Undo after Apply; the comparison's tabs with their
// counts, a sort, and a double click that selects the channel in the list.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>

#include "database/channel_file.h"
#include "edit/edit_operations.h"
#include "qt/main_frame.h"
#include "qt/window_test_support.h"
#include "qt/zoedit_window.h"
#include "view/zoedit_view.h"

using namespace zoedit;
namespace cmd = zoedit::ui::cmd;

namespace {

void answerFileDialog(const QString& path) {
    whenModal<QFileDialog>([path](QFileDialog* dialog) {
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        name->setText(path);
        static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
    });
}

// Runs `act` on the dialog named `name` once it is up; `act` must end it.
void whenDialog(const QString& name, std::function<void(QDialog*)> act, int attempts = 500) {
    QTimer::singleShot(10, [name, act, attempts] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->objectName() == name)
            act(dialog);
        else if (attempts > 0)
            whenDialog(name, act, attempts - 1);
        else
            qFatal("the dialog did not open");
    });
}

QString labelText(QDialog* dialog, const char* name) {
    auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("(missing)");
}

bool sameRecords(std::span<const ChannelRecord> a, std::span<const ChannelRecord> b) {
    if (a.size() != b.size()) qWarning("lengths %zu and %zu", a.size(), b.size());
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (!(a[i] == b[i])) {
            qWarning("first difference at %zu: %s/%d and %s/%d", i, nameBytes(a[i].name).c_str(),
                     a[i].locked, nameBytes(b[i].name).c_str(), b[i].locked);
            return false;
        }
    return a.size() == b.size();
}

}  // namespace

class OrderDialogsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_reference;
    QString m_rescan;
    std::unique_ptr<ChannelDatabase> m_referenceDb;

    // The sample after a rescan: its first twenty TV channels in reverse
    // order, every lock lost, the last radio channel gone.
    bool writeRescan() {
        auto db = std::make_unique<ChannelDatabase>();
        if (!loadChannelFile(m_reference.toStdString(), *db).ok()) return false;
        for (std::size_t i = 0; i < 10; ++i)
            if (!edit::moveChannel(*db, edit::TableCopy::Primary, ChannelKind::Tv, 0, 19 - i).ok())
                return false;
        for (std::size_t i = 0; i < db->tv.count; ++i)
            edit::setChannelLock(*db, edit::TableCopy::Primary, ChannelKind::Tv, i, false);
        if (!edit::deleteChannel(*db, edit::TableCopy::Primary, ChannelKind::Radio,
                                 db->radio.count - 1)
                 .ok())
            return false;
        m_rescan = m_dir.filePath(QStringLiteral("rescan.bin"));
        return saveChannelFile(m_rescan.toStdString(), *db, SaveFolding{}, -1).ok;
    }

private slots:
    void initTestCase() {
        useTestSettings();
        QVERIFY(m_dir.isValid());
        QVERIFY(copySampleInto(m_dir, m_reference));
        m_referenceDb = std::make_unique<ChannelDatabase>();
        QVERIFY(loadChannelFile(m_reference.toStdString(), *m_referenceDb).ok());
        QVERIFY(std::any_of(m_referenceDb->tv.records().begin(), m_referenceDb->tv.records().end(),
                            [](const ChannelRecord& ch) { return ch.locked != 0; }));
        QVERIFY(writeRescan());
    }

    void applyTheTvOrderWithTheLocksThenUndo() {
        qt::ZoEditWindow w;
        w.frame().show();
        w.openPath(m_rescan);
        const auto before = std::make_unique<ChannelDatabase>(w.view().database());

        QString counts;
        int unmatched_rows = -1;
        answerFileDialog(m_reference);
        whenDialog(QStringLiteral("ApplyOrderDialog"), [&](QDialog* dialog) {
            counts = labelText(dialog, "count1003") + "/" + labelText(dialog, "count1004") + "/" +
                     labelText(dialog, "count1005") + "/" + labelText(dialog, "count1006");
            auto* lists = dialog->findChild<QComboBox*>(QStringLiteral("listCombo"));
            lists->setCurrentIndex(1);
            emit lists->activated(1);  // as the user's choice of "TV"
            unmatched_rows = dialog->findChild<QTableView*>(QStringLiteral("unmatchedList"))
                                 ->model()
                                 ->rowCount();
            // On the box itself: the widget is wider than what it draws.
            auto* locks = dialog->findChild<QCheckBox*>(QStringLiteral("locksCheck"));
            QTest::mouseClick(locks, Qt::LeftButton, {}, QPoint(8, locks->height() / 2));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("applyButton")),
                              Qt::LeftButton);
            if (dialog->isVisible()) dialog->done(ui::IDCANCEL);
        });
        w.frame().commandAction(cmd::ID_FILE_APPLY_ORDER)->trigger();

        const ChannelDatabase& db = w.view().database();
        const std::size_t tv = m_referenceDb->tv.count, radio = m_referenceDb->radio.count;
        QCOMPARE(counts, QStringLiteral("%1/0/0/1").arg(tv + radio - 1));
        QCOMPARE(unmatched_rows, 0);  // the TV list alone: nothing unmatched
        // The TV list is the reference's again, locks and all; radio as it was.
        QVERIFY(sameRecords(db.tv.records(), m_referenceDb->tv.records()));
        QVERIFY(sameRecords(db.radio.records(), before->radio.records()));
        auto* undo = w.frame().commandAction(cmd::ID_EDIT_UNDO);
        w.frame().updateCommandStates();
        QVERIFY(undo->isEnabled());
        QVERIFY(undo->text().startsWith(QStringLiteral("Undo Apply Order")));
        undo->trigger();
        QVERIFY(sameRecords(w.view().database().tv.records(), before->tv.records()));
    }

    void cancelChangesNothing() {
        qt::ZoEditWindow w;
        w.frame().show();
        w.openPath(m_rescan);
        const auto before = std::make_unique<ChannelDatabase>(w.view().database());
        answerFileDialog(m_reference);
        whenDialog(QStringLiteral("ApplyOrderDialog"), [](QDialog* dialog) {
            dialog->findChild<QCheckBox*>(QStringLiteral("namesCheck"))->click();
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cancelButton")),
                              Qt::LeftButton);
            if (dialog->isVisible()) dialog->done(ui::IDCANCEL);
        });
        w.frame().commandAction(cmd::ID_FILE_APPLY_ORDER)->trigger();
        QVERIFY(sameRecords(w.view().database().tv.records(), before->tv.records()));
        QVERIFY(!w.view().history().canUndo());
        QVERIFY(!w.view().hasUnsavedEdits());
    }

    void compareShowsTheTabsAndADoubleClickSelects() {
        qt::ZoEditWindow w;
        w.frame().show();
        w.openPath(m_rescan);
        w.view().onCommand(cmd::ID_VIEW_RADIO);

        QStringList tabs;
        int after_number = -1;
        answerFileDialog(m_reference);
        whenDialog(QStringLiteral("CompareDialog"), [&](QDialog* dialog) {
            auto* bar = dialog->findChild<QTabBar*>(QStringLiteral("compareTabs"));
            for (int i = 0; i < bar->count(); ++i) tabs << bar->tabText(i);
            bar->setCurrentIndex(2);        // moved
            QApplication::processEvents();  // the list is filled on the next turn of the loop
            auto* list = dialog->findChild<QTableView*>(QStringLiteral("channelList"));
            // Sorted by the new number, twice: descending.
            for (int click = 0; click < 2; ++click) {
                const int x = list->horizontalHeader()->sectionViewportPosition(2) + 5;
                QTest::mouseClick(list->horizontalHeader()->viewport(), Qt::LeftButton, {},
                                  QPoint(x, 5));
                QApplication::processEvents();
            }
            const QModelIndex first = list->model()->index(0, 2);
            after_number = first.data().toString().toInt();
            // The press that comes before a double click, then the double click.
            const QPoint at = list->visualRect(first).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("closeButton")),
                              Qt::LeftButton);
            if (dialog->isVisible()) dialog->done(ui::IDCANCEL);
        });
        w.frame().commandAction(cmd::ID_FILE_COMPARE)->trigger();

        QCOMPARE(tabs.size(), 5);
        QCOMPARE(tabs[0], QStringLiteral("Added (0)"));
        QCOMPARE(tabs[1], QStringLiteral("Removed (1)"));
        QVERIFY(tabs[2].startsWith(QStringLiteral("Moved (")) && tabs[2] != "Moved (0)");
        QVERIFY(tabs[4] != QStringLiteral("Changed (0)"));  // the locks lost
        // The highest new number among the moved channels is the one selected.
        QVERIFY(after_number > 1);
        const auto selected = w.view().selectedChannel();
        QVERIFY(selected.has_value());
        QCOMPARE(selected->kind, ChannelKind::Tv);
        QCOMPARE(static_cast<int>(selected->index.value) + 1, after_number);
    }
};

QTEST_MAIN(OrderDialogsTest)
#include "tst_order_dialogs.moc"
