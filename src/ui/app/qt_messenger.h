#pragma once
// Messages from the core as modal message boxes over the practice window.
#include <QPointer>
#include <QWidget>

#include "platform/messenger.h"

namespace kibiki::ui {

class QtMessenger : public Messenger {
public:
    explicit QtMessenger(QWidget* pParent = nullptr) : m_pParent(pParent) {}

    MsgResult ShowMessage(const std::string& text, const std::string& caption, MsgButtons buttons,
                          MsgIcon icon) override;

private:
    QPointer<QWidget> m_pParent;
};

}  // namespace kibiki::ui
