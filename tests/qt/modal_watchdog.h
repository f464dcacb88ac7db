// A modal window that nobody answers would hold a window test in its event
// loop until the runner kills it. The watchdog closes any modal window that
// stays up longer than its bound and fails the running test, saying what the
// test was waiting for and what was left open.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <chrono>
#include <memory>
#include <string>

#include "support/hang_guard.h"
#include "ui/resource_ids.h"

class ModalWatchdog {
public:
    explicit ModalWatchdog(int bound_ms = 15000) : m_bound(bound_ms) {
        m_timer.setInterval(50);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { look(); });
        m_timer.start();
    }

    // What the test waits for from now on, named in the failure.
    void expecting(const QString& what) {
        m_what = what;
        if (m_hang) m_hang->expecting(what.toStdString());
    }

    // A case whose event loop never comes back (a loop that spins) is ended
    // from a thread of its own after this long.
    void startCase(const char* name) {
        m_hang = std::make_unique<zoedit::test::HangGuard>(name, std::chrono::seconds(30));
        expecting({});
    }
    void endCase() { m_hang.reset(); }

private:
    static QString describe(QWidget* top) {
        if (auto* box = qobject_cast<QMessageBox*>(top))
            return QStringLiteral("message box \"%1\"").arg(box->text());
        const int id = top->property("controlId").toInt();
        if (id != 0) return QStringLiteral("dialog %1").arg(id);
        return QString::fromLatin1(top->metaObject()->className());
    }

    // As the user would leave it: Cancel where there is one.
    static void close(QWidget* top) {
        for (QPushButton* b : top->findChildren<QPushButton*>())
            if (b->property("controlId").toInt() == zoedit::ui::IDCANCEL) return b->click();
        if (auto* box = qobject_cast<QMessageBox*>(top)) {
            if (!box->buttons().isEmpty()) return box->buttons().front()->click();
        }
        if (auto* dialog = qobject_cast<QDialog*>(top)) return dialog->reject();
        top->close();
    }

    void look() {
        QWidget* top = QApplication::activeModalWidget();
        if (top != m_modal) {
            m_modal = top;
            m_since.start();
            return;
        }
        if (!top || m_since.elapsed() < m_bound) return;
        const QString message =
            QStringLiteral("%1 still open after %2 s; waiting for: %3")
                .arg(describe(top))
                .arg(m_bound / 1000)
                .arg(m_what.isEmpty() ? QStringLiteral("nothing named") : m_what);
        QTest::qFail(qPrintable(message), __FILE__, __LINE__);
        m_since.start();
        close(top);
    }

    int m_bound;
    QString m_what;
    QTimer m_timer;
    QPointer<QWidget> m_modal;
    QElapsedTimer m_since;
    std::unique_ptr<zoedit::test::HangGuard> m_hang;
};
