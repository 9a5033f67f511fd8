#pragma once
// Helpers for driving modal dialogs and the whole application in ui tests.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
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

// What a message box showed before it was answered.
struct ShownMessage {
    bool answered = false;
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;  // what Enter would press
    QString CaptionAndText() const { return caption + "|" + text; }
};

// Answers the next modal message box with button; the result is filled in once it has been.
inline std::shared_ptr<ShownMessage> AnswerNextMessageBox(QMessageBox::StandardButton button) {
    auto pShown = std::make_shared<ShownMessage>();
    OnNextModal([pShown, button](QWidget* p) {
        auto* box = qobject_cast<QMessageBox*>(p);
        if (!box || !box->button(button)) {
            ADD_FAILURE() << "expected a message box with the button";
            p->close();
            return;
        }
        *pShown = {true, box->windowTitle(), box->text(), box->icon(), box->standardButton(box->defaultButton())};
        box->button(button)->click();
    });
    return pShown;
}

}  // namespace kibiki::ui::test
