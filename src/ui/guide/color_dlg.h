#pragma once
// "色の設定": finger colours of the keyboard, the home-position markers and a sample row. The
// dialog edits a CColorModel; the caller applies it after "OK".
#include <QColor>
#include <QDialog>
#include <functional>
#include <map>
#include <optional>

#include "lessons/color_settings.h"

class QCheckBox;

namespace kibiki::ui {

class CColorStatic;
class CColorSwatch;

class CColorDlg : public QDialog {
    Q_OBJECT
public:
    explicit CColorDlg(const CUserSettings& settings, QWidget* pParent = nullptr);

    const CColorModel& Model() const { return m_model; }

    // How a swatch asks for a colour: Qt's colour dialog over this one; tests answer here.
    std::function<std::optional<QColor>(QWidget*, const QColor&)> m_fnChooseColor;

    CColorSwatch* Swatch(int nId) const;
    CColorStatic* Sample(int nIndex) const { return m_apSamples[nIndex]; }
    QCheckBox* CheckBox(int nId) const;

    // The full size and the folded size (its top strip down to the fold line).
    QSize FullSize() const { return m_fullSize; }
    QSize FoldedSize() const { return m_foldedSize; }

private:
    void PickColor(int nId);
    void ShowColors();
    void Fold();

    CColorModel m_model;
    std::map<int, CColorSwatch*> m_mapSwatches;
    CColorStatic* m_apSamples[10];
    QCheckBox* m_pColor;
    QCheckBox* m_pHomePos;
    QCheckBox* m_pFrameNext;
    QSize m_fullSize;
    QSize m_foldedSize;
};

}  // namespace kibiki::ui
