#pragma once
// Every missed key of one run, one "A…3回" line each.
#include <QDialog>
#include <string>

class QListWidget;

namespace kibiki::ui {

class CShowMissDetailsDlg : public QDialog {
    Q_OBJECT
public:
    // strDetails: CP932 lines each ending in CR LF, or empty.
    explicit CShowMissDetailsDlg(const std::string& strDetails, QWidget* pParent = nullptr);
    QListWidget* List() const { return m_pList; }

private:
    QListWidget* m_pList;
};

}  // namespace kibiki::ui
