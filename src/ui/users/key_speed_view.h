#pragma once
// The weak-key keyboard from the practice log: each cap shaded by its misses or its speed
// against the target (a switch), the figure on a badge apart from the legend, a legend of the
// shades, the slowest key pairs, and drills aimed at either.
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "kana/practice_mode.h"
#include "progress/key_figures_map.h"
#include "progress/key_speed.h"
#include "users/history_record.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace kibiki {
class PracticeLog;
}

namespace kibiki::ui {

class CFigureCap;

class CKeySpeedView : public QWidget {
    Q_OBJECT
public:
    // fnLog gives the user's practice log, or null when there is none (asked each time the view
    // is filled, so that a log made meanwhile shows).
    CKeySpeedView(std::shared_ptr<const CHistoryRecords> pRecords, std::function<PracticeLog*()> fnLog,
                  PracticeMode mode, bool bJisLayout, QWidget* pParent = nullptr);

    // Asked to start a drill; the window showing this view closes first.
    std::function<void(PracticeMode)> m_fnDrillKeys;
    std::function<void(PracticeMode, const std::vector<KeyPair>&)> m_fnDrillPairs;

    FigureView View() const;
    void SetView(FigureView view);
    void SetMode(PracticeMode mode);
    void SetRecords(std::shared_ptr<const CHistoryRecords> pRecords);
    // Reads the log again and shows it.
    void Refill();

    const SpeedFigures& Figures() const { return m_figures; }
    const std::vector<FigureCap>& Caps() const { return m_caps; }
    CFigureCap* Cap(int nCap) const { return m_apCaps[static_cast<std::size_t>(nCap)]; }
    QTreeWidget* Pairs() const { return m_pPairs; }
    QSpinBox* Target() const { return m_pTarget; }
    QLabel* Note() const { return m_pNote; }
    QPushButton* DrillPairs() const { return m_pDrillPairs; }

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    void Fill();
    void OnTargetChanged();
    PracticeMode Mode() const;

    std::shared_ptr<const CHistoryRecords> m_pRecords;
    std::function<PracticeLog*()> m_fnLog;
    bool m_bJisLayout;
    bool m_bFilled = false;
    QComboBox* m_pMode;
    QButtonGroup* m_pViewGroup;
    QSpinBox* m_pTarget;
    QLabel* m_pNote;
    std::array<CFigureCap*, 48> m_apCaps{};
    std::array<QLabel*, kHeatLevels> m_apLegend{};
    QTreeWidget* m_pPairs;
    QPushButton* m_pDrillPairs;
    QPushButton* m_pDrillKeys;
    SpeedFigures m_figures;
    std::vector<FigureCap> m_caps;
};

// One cap: its legend, and its figure on a badge in the corner.
class CFigureCap : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    void Set(const FigureCap& cap);
    QString Legend() const { return m_strLegend; }
    QString Badge() const { return m_strBadge; }
    QColor Back() const { return m_back; }

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    QString m_strLegend, m_strBadge;
    QColor m_back, m_text;
};

}  // namespace kibiki::ui
