#pragma once
// The history dialog's weak-keys page: the practice window's keyboard with each cap shaded by how
// often it was missed over the latest runs of one practice mode, the count on the cap and in its
// tip. Mode and window of runs are chosen here each time; nothing is stored.
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "kana/practice_mode.h"
#include "progress/heat_map.h"
#include "users/history_record.h"

class QComboBox;
class QLabel;

namespace kibiki::ui {

class CColorStatic;

class CHeatMapPage : public QWidget {
    Q_OBJECT
public:
    CHeatMapPage(std::shared_ptr<const CHistoryRecords> pRecords, PracticeMode mode, bool bJisLayout,
                 QWidget* pParent = nullptr);

    QComboBox* ModeChooser() const { return m_pMode; }
    QComboBox* RunsChooser() const { return m_pRuns; }
    QLabel* Note() const { return m_pNote; }
    // The caps as counted for the chosen mode and runs (counting first if the page was never shown).
    const std::vector<HeatCap>& Counted();
    void SetRecords(std::shared_ptr<const CHistoryRecords> pRecords);
    CColorStatic* Cap(int nCap) const { return m_apCaps[static_cast<std::size_t>(nCap)]; }
    const std::vector<HeatCap>& Caps() const { return m_aCaps; }

protected:
    // Counted when first shown: the dialog opens on its list, and most openings never get here.
    void showEvent(QShowEvent* pEvent) override;

private:
    void Recount();

    std::shared_ptr<const CHistoryRecords> m_pRecords;
    bool m_bJisLayout;
    QComboBox* m_pMode;
    QComboBox* m_pRuns;
    QLabel* m_pNote;
    std::array<CColorStatic*, 48> m_apCaps{};
    std::vector<HeatCap> m_aCaps;
    bool m_bCounted = false;
};

}  // namespace kibiki::ui
