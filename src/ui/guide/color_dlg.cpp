#include "ui/guide/color_dlg.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "ui/app/color_static.h"
#include "ui/app/colorref.h"
#include "ui/app/dialog_units.h"
#include "ui/app/fonts.h"
#include "kana/jis_keyboard.h"
#include "ui/app/qt_text.h"
#include "ui/guide/color_swatch.h"

namespace kibiki::ui {

namespace {

std::optional<QColor> ChooseColor(QWidget* pParent, const QColor& initial) {
    QColorDialog dlg(initial, pParent);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.selectedColor();
}

constexpr int kFoldLineY = 49;
constexpr int kSwatchX[4] = {68, 105, 143, 181};

}  // namespace

CColorDlg::CColorDlg(const CUserSettings& settings, QWidget* pParent)
    : QDialog(pParent), m_fnChooseColor(ChooseColor), m_model(settings) {
    setObjectName(QStringLiteral("colorDlg"));
    setWindowTitle(QStringLiteral("色の設定"));
    setFont(FormFont());
    const DialogUnits du(font());
    m_fullSize = du.Size(339, 193);
    m_foldedSize = du.Size(339, kFoldLineY);

    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setObjectName(QStringLiteral("ok"));
    pOk->setGeometry(du.Rect(282, 7, 50, 14));
    pOk->setDefault(true);
    auto* pCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    pCancel->setObjectName(QStringLiteral("cancel"));
    pCancel->setGeometry(du.Rect(282, 24, 50, 14));
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(pCancel, &QPushButton::clicked, this, &QDialog::reject);

    m_pColor = new QCheckBox(QStringLiteral("キーボードに色をつける"), this);
    m_pColor->setObjectName(QStringLiteral("keyboard_colors"));
    m_pColor->setGeometry(du.Rect(18, 17, 110, 12));
    m_pHomePos = new QCheckBox(QStringLiteral("ホームポジションのガイドを表示"), this);
    m_pHomePos->setObjectName(QStringLiteral("home_guide"));
    m_pHomePos->setGeometry(du.Rect(132, 16, 140, 13));
    m_pColor->setChecked(m_model.m_bColor);
    m_pHomePos->setChecked(m_model.m_bHomePos);
    // In the top strip: the frame helps with or without the finger colours.
    m_pFrameNext = new QCheckBox(QStringLiteral("次のキーを太枠で示す"), this);
    m_pFrameNext->setObjectName(QStringLiteral("frame_next"));
    m_pFrameNext->setGeometry(du.Rect(18, 32, 110, 12));
    connect(m_pFrameNext, &QCheckBox::toggled, this, [this](bool bChecked) {
        m_model.m_colors.bFrameNext = bChecked;
        ShowColors();
    });
    for (QCheckBox* p : {m_pColor, m_pHomePos})
        connect(p, &QCheckBox::toggled, this, [this] {
            m_model.m_bColor = m_pColor->isChecked();
            m_model.m_bHomePos = m_pHomePos->isChecked();
            Fold();
        });

    // The fold line: a thin etched rule, so the unfolded dialog shows where the top strip ends.
    auto* pLine = new QFrame(this);
    pLine->setObjectName(QStringLiteral("fold_line"));
    pLine->setFrameShape(QFrame::HLine);
    pLine->setFrameShadow(QFrame::Sunken);
    pLine->setGeometry(du.Rect(7, kFoldLineY, 325, 4));

    auto label = [&](const char* pszText, QRect r, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
        auto* p = new QLabel(QString::fromUtf8(pszText), this);
        p->setGeometry(r);
        p->setAlignment(align);
        return p;
    };
    // Headings centred over their swatches, which the template places 37-38 units apart.
    for (int g = 0; g < 4; ++g)
        label("", du.Rect(kSwatchX[g] - 10, 62, 37, 10), Qt::AlignHCenter | Qt::AlignVCenter)
            ->setText(FromCp932(FingerGroupName(g)));
    label("キー色", du.Rect(18, 80, 40, 12), Qt::AlignRight | Qt::AlignVCenter);
    label("文字色", du.Rect(18, 103, 40, 12), Qt::AlignRight | Qt::AlignVCenter);
    label("ガイド色", du.Rect(18, 129, 40, 12), Qt::AlignRight | Qt::AlignVCenter);
    label("ホームポジションガイド色", du.Rect(226, 62, 100, 10), Qt::AlignHCenter | Qt::AlignVCenter);

    // A swatch is named by its column and row: "小指のキー色".
    const QString rowNames[3] = {QStringLiteral("キー色"), QStringLiteral("文字色"), QStringLiteral("ガイド色")};
    auto addSwatch = [&](int nId, const char* pszName, QRect r, const QString& strSpoken) {
        auto* p = new CColorSwatch(this);
        p->setObjectName(QString::fromLatin1(pszName));
        p->setAccessibleName(strSpoken);
        p->setGeometry(r);
        connect(p, &CColorSwatch::clicked, this, [this, nId] { PickColor(nId); });
        m_mapSwatches[nId] = p;
    };
    // Finger groups 0-3: little, ring, middle, index.
    const char* const keyNames[4] = {"key_little", "key_ring", "key_middle", "key_index"};
    const char* const textNames[4] = {"text_little", "text_ring", "text_middle", "text_index"};
    const char* const guideNames[4] = {"guide_little", "guide_ring", "guide_middle", "guide_index"};
    for (int g = 0; g < 4; ++g) {
        const QString finger = FromCp932(FingerGroupName(g)) + QStringLiteral("の");
        addSwatch(IDC_SWATCH_KEY_FIRST + g, keyNames[g], du.Rect(kSwatchX[g], 78, 17, 15), finger + rowNames[0]);
        addSwatch(IDC_SWATCH_TEXT_FIRST + g, textNames[g], du.Rect(kSwatchX[g], 101, 17, 15), finger + rowNames[1]);
        addSwatch(IDC_SWATCH_GUIDE_FIRST + g, guideNames[g], du.Rect(kSwatchX[g], 127, 17, 15), finger + rowNames[2]);
    }
    addSwatch(IDC_SWATCH_HOME, "home_color", du.Rect(267, 78, 17, 15), QStringLiteral("ホームポジションガイド色"));
    // Tab goes along the rows the labels name (キー色, 文字色, ガイド色), then the marker colour.
    QWidget* pPrevious = m_mapSwatches[IDC_SWATCH_KEY_FIRST];
    for (int nFirst : {IDC_SWATCH_KEY_FIRST, IDC_SWATCH_TEXT_FIRST, IDC_SWATCH_GUIDE_FIRST})
        for (int g = 0; g < 4; ++g) {
            if (nFirst == IDC_SWATCH_KEY_FIRST && g == 0) continue;
            QWidget::setTabOrder(pPrevious, m_mapSwatches[nFirst + g]);
            pPrevious = m_mapSwatches[nFirst + g];
        }
    QWidget::setTabOrder(pPrevious, m_mapSwatches[IDC_SWATCH_HOME]);

    auto* pClear = new QPushButton(QStringLiteral("見やすい配色"), this);
    pClear->setObjectName(QStringLiteral("clear_colors"));
    pClear->setGeometry(du.Rect(246, 96, 56, 13));
    pClear->setToolTip(QStringLiteral("明るいキーに濃い青の案内文字。色の区別がつきにくい方にも見やすい配色です。"));
    auto* pStandard = new QPushButton(QStringLiteral("標準配色"), this);
    pStandard->setObjectName(QStringLiteral("standard_colors"));
    pStandard->setGeometry(du.Rect(246, 111, 56, 13));
    auto* pHigh = new QPushButton(QStringLiteral("高コントラスト"), this);
    pHigh->setObjectName(QStringLiteral("high_contrast_colors"));
    pHigh->setGeometry(du.Rect(246, 126, 56, 13));
    connect(pHigh, &QPushButton::clicked, this, [this] {
        m_model.SetScheme(kHighContrastColors);
        ShowColors();
    });
    connect(pStandard, &QPushButton::clicked, this, [this] {
        m_model.SetScheme(kStandardColors);
        ShowColors();
    });
    connect(pClear, &QPushButton::clicked, this, [this] {
        m_model.SetScheme(kClearColors);
        ShowColors();
    });

    auto* pGroup = new QGroupBox(QStringLiteral("色見本"), this);
    pGroup->setGeometry(du.Rect(7, 149, 324, 37));
    QFont sampleFont = font();
    sampleFont.setPointSize(13);
    for (int i = 0; i < 10; ++i) {
        auto* p = new CColorStatic(this);
        p->setObjectName(QStringLiteral("sample_%1").arg(i));
        p->setGeometry(du.Rect(12 + 32 * i, 160, 25, 21));
        p->setAlignment(Qt::AlignCenter);
        p->SetEdges(CColorStatic::kModalFrame);
        p->setFont(sampleFont);
        p->setText(QString::fromLatin1(m_model.Sample(i).pszLegend));
        m_apSamples[i] = p;
    }

    ShowColors();
    setFixedSize(m_fullSize);
    Fold();
}

CColorSwatch* CColorDlg::Swatch(int nId) const {
    const auto it = m_mapSwatches.find(nId);
    return it == m_mapSwatches.end() ? nullptr : it->second;
}

QCheckBox* CColorDlg::CheckBox(int nId) const {
    switch (nId) {
    case IDC_CHECK_COLOR: return m_pColor;
    case IDC_CHECK_HOMEPOS: return m_pHomePos;
    case IDC_CHECK_FRAME_NEXT: return m_pFrameNext;
    default: return nullptr;
    }
}

void CColorDlg::PickColor(int nId) {
    COLORREF* pValue = m_model.Swatch(nId);
    if (!pValue || !m_fnChooseColor) return;
    const std::optional<QColor> chosen = m_fnChooseColor(this, FromColorRef(*pValue));
    if (!chosen || !chosen->isValid()) return;
    *pValue = ToColorRef(*chosen);
    ShowColors();
}

void CColorDlg::ShowColors() {
    for (const auto& [nId, pSwatch] : m_mapSwatches) pSwatch->SetBackColor(*m_model.Swatch(nId));
    for (int i = 0; i < 10; ++i) {
        const CColorModel::SampleKey k = m_model.Sample(i);
        m_apSamples[i]->SetBackColor(k.back);
        m_apSamples[i]->SetTextColor(k.text);
        m_apSamples[i]->SetFramed(k.bLit && m_model.m_colors.bFrameNext);
    }
    // A scheme brings its frame choice with it.
    m_pFrameNext->setChecked(m_model.m_colors.bFrameNext);
}

void CColorDlg::Fold() {
    const bool folded = m_model.IsFolded();
    // Hidden controls below the fold must not take the focus either.
    for (QWidget* p : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (p->geometry().top() >= m_foldedSize.height()) p->setVisible(!folded);
    setFixedSize(folded ? m_foldedSize : m_fullSize);
}

}  // namespace kibiki::ui
