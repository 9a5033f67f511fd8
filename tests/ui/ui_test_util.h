#pragma once
// Helpers for driving modal dialogs and the whole application in ui tests.
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace kibiki::ui::test {

// Runs fn on the next modal dialog once it is open (the dialog's own event loop runs it).
inline void OnNextModal(std::function<void(QWidget*)> fn) {
    auto pTimer = std::make_shared<QTimer>();
    pTimer->setInterval(1);
    QObject::connect(pTimer.get(), &QTimer::timeout, [pTimer, fn] {
        if (QWidget* p = QApplication::activeModalWidget()) {
            pTimer->stop();
            QTimer::singleShot(0, [pTimer, fn, p] { fn(p); });
        }
    });
    pTimer->start();
}

}  // namespace kibiki::ui::test
