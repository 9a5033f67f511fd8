#pragma once
// The practice form: question and answer boxes, counters, progress bar, title line and the
// keyboard picture, every control at its place in the form's dialog-unit layout.
#include <QWidget>
#include <array>
#include <functional>
#include <map>

#include "app/dialog_units.h"

class QProgressBar;
class QLabel;

namespace kibiki::ui {

class CColorEdit;
class KeyTranslator;
class CColorStatic;
class CGuideStatic;

// Control ids of the form.
enum ControlId : int {
    IDC_KEY_FIRST = 1000,  // 48 key caps, 1000 + key index
    IDC_FINGER_FIRST = 1060,  // 8 finger labels
    IDC_TITLE = 1072,
    IDC_QUESTION = 1073,
    IDC_ANSWER = 1074,
    IDC_MISSES = 1075,
    IDC_MISSKEY = 1076,
    IDC_ACCURACY = 1077,
    IDC_REMAINING = 1078,
    IDC_SHIFT_LEFT = 1079,
    IDC_SHIFT_RIGHT = 1080,
    IDC_PROGRESS = 1095,
    IDC_MARKER_FIRST = 1114,  // 8 home-position markers
};
constexpr int kKeyCount = 48;
constexpr int kFingerCount = 8;
constexpr int kMarkerCount = 8;

class PracticeWindow : public QWidget {
    Q_OBJECT
public:
    explicit PracticeWindow(QWidget* pParent = nullptr);

    const DialogUnits& Units() const { return m_units; }

    QWidget* Control(int nId) const;
    CColorStatic* Static(int nId) const;
    CColorEdit* Edit(int nId) const;
    CColorStatic* KeyCap(int nKeyIndex) const { return m_apKeys.at(nKeyIndex); }
    CColorStatic* FingerLabel(int nIndex) const { return m_apFingers.at(nIndex); }
    CGuideStatic* Marker(int nIndex) const { return m_apMarkers.at(nIndex); }
    QProgressBar* Progress() const { return m_pProgress; }

    // Every typed character goes here, none into a control. Without a translator the form
    // takes plain ASCII text only.
    void SetKeyTranslator(const KeyTranslator* pTranslator) { m_pTranslator = pTranslator; }
    std::function<void(char)> m_fnTypedChar;

protected:
    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    void CreateControls();
    void SetUpFonts();
    template <class T> T* Add(int nId, int x, int y, int cx, int cy);
    QLabel* AddLabel(const char* pszText, int x, int y, int cx, int cy);

    DialogUnits m_units;
    std::map<int, QWidget*> m_mapControls;
    std::array<CColorStatic*, kKeyCount> m_apKeys{};
    std::array<CColorStatic*, kFingerCount> m_apFingers{};
    std::array<CGuideStatic*, kMarkerCount> m_apMarkers{};
    QProgressBar* m_pProgress = nullptr;
    const KeyTranslator* m_pTranslator = nullptr;
};

}  // namespace kibiki::ui
