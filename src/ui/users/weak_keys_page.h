#pragma once
// The progress window's "苦手キー" page: views of the keys the learner finds hard, one at a time
// in a stack. Today the weak-key keyboard; a view of per-key speed can join it as a second page.
#include <QWidget>
#include <memory>

#include "kana/practice_mode.h"
#include "users/history_record.h"

class QStackedWidget;

namespace kibiki::ui {

class CHeatMapPage;

class CWeakKeysPage : public QWidget {
    Q_OBJECT
public:
    CWeakKeysPage(std::shared_ptr<const CHistoryRecords> pRecords, PracticeMode mode, bool bJisLayout,
                  QWidget* pParent = nullptr);

    QStackedWidget* Views() const { return m_pViews; }
    CHeatMapPage* HeatMap() const { return m_pHeatMap; }

private:
    QStackedWidget* m_pViews;
    CHeatMapPage* m_pHeatMap;
};

}  // namespace kibiki::ui
