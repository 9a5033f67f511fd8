#pragma once
#include <QDialog>

namespace kibiki::ui {

// The version box: icon, product name, version and a notice, closed with "OK".
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* pParent = nullptr);
};

}  // namespace kibiki::ui
