#include "ui/app/qt_messenger.h"

#include <QMessageBox>
#include <QPushButton>

#include "ui/app/qt_text.h"

namespace kibiki::ui {

MsgResult QtMessenger::ShowMessage(const std::string& text, const std::string& caption,
                                   MsgButtons buttons, MsgIcon icon) {
    QMessageBox box(m_pParent);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setWindowTitle(caption.empty() ? QStringLiteral("Kibiki") : FromCp932(caption));
    // CR LF line breaks of the texts become plain line breaks.
    box.setText(FromCp932(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
        case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
        case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Ok);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            break;
        case MsgButtons::YesNoDefaultNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::No);
            // Focus landing on はい must not make it the default Enter presses.
            if (auto* pYes = qobject_cast<QPushButton*>(box.button(QMessageBox::Yes))) pYes->setAutoDefault(false);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes: return MsgResult::Yes;
        case QMessageBox::No: return MsgResult::No;
        case QMessageBox::Cancel: return MsgResult::Cancel;
        case QMessageBox::Ok: return MsgResult::Ok;
        default:  // closed with the window's close box or Escape
            return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoDefaultNo ? MsgResult::No
                   : buttons == MsgButtons::OkCancel ? MsgResult::Cancel : MsgResult::Ok;
    }
}

}  // namespace kibiki::ui
