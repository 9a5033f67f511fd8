#pragma once
// The progress window's "苦手キー" page: views of the keys the learner finds hard, one at a time
// in a stack: the history's missed keys, and, once a practice log is attached, the log's
// misses and speed per key with the slowest pairs (opened first when the user has a log).
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "progress/key_speed.h"

#include "kana/practice_mode.h"
#include "users/history_record.h"

class QButtonGroup;
class QStackedWidget;

namespace kibiki {
class PracticeLog;
}

namespace kibiki::ui {

class CHeatMapPage;
class CKeySpeedView;

class CWeakKeysPage : public QWidget {
    Q_OBJECT
public:
    CWeakKeysPage(std::shared_ptr<const CHistoryRecords> pRecords, PracticeMode mode, bool bJisLayout,
                  QWidget* pParent = nullptr);

    QStackedWidget* Views() const { return m_pViews; }
    CHeatMapPage* HeatMap() const { return m_pHeatMap; }
    CKeySpeedView* SpeedView() const { return m_pSpeed; }

    struct LogAccess {
        std::function<PracticeLog*()> fnLog;  // null when the user has none
        std::function<void(PracticeMode)> fnDrillKeys;
        std::function<void(PracticeMode, const std::vector<KeyPair>&)> fnDrillPairs;
    };
    // Adds the practice log's view and a switch between the two; shows it when a log exists.
    void AttachLog(LogAccess access);

private:
    QStackedWidget* m_pViews;
    CHeatMapPage* m_pHeatMap;
    CKeySpeedView* m_pSpeed = nullptr;
    QButtonGroup* m_pSource = nullptr;
    std::shared_ptr<const CHistoryRecords> m_pRecords;
    PracticeMode m_mode;
    bool m_bJisLayout;
};

}  // namespace kibiki::ui
