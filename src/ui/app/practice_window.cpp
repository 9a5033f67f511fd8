#include "ui/app/practice_window.h"

#include <QApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLabel>
#include "ui/app/progress_bar.h"
#include <algorithm>

#include "ui/app/accessible.h"
#include "ui/app/color_edit.h"
#include "ui/app/color_static.h"
#include "ui/app/colorref.h"
#include "ui/app/fonts.h"
#include "ui/app/key_translator.h"
#include "ui/app/qt_messenger.h"
#include "ui/app/qt_text.h"
#include "ui/guide/guide_static.h"
#include "kana/jis_keyboard.h"
#include "lessons/control_names.h"
#include "lessons/spoken_text.h"
#include "ui/lessons/custom_start_dlg.h"
#include "ui/lessons/lesson_end_dlg.h"
#include "ui/lessons/timed_result_dlg.h"
#include "ui/lessons/lesson_select_dlg.h"

namespace kibiki::ui {

namespace {

constexpr int kFormWidth = 379, kFormHeight = 269;

struct FingerPlace { int x, cx; };
constexpr FingerPlace kFingerPlaces[kFingerCount] = {{20, 22}, {47, 22}, {74, 23}, {102, 49},
                                                     {156, 48}, {209, 22}, {237, 21}, {264, 104}};
constexpr int kMarkerX[kMarkerCount] = {41, 67, 94, 122, 202, 229, 256, 283};
constexpr int kRowFirstX[4] = {20, 26, 33, 43};

// Point sizes of the form's controls at 96 DPI.
constexpr int kKeyPoints = 15, kShiftPoints = 14, kCounterPoints = 14, kTitlePoints = 17,
              kMissKeyPoints = 23;

}  // namespace

PracticeWindow::PracticeWindow(QWidget* pParent) : QWidget(pParent), m_units(FormFont()) {
    setObjectName(QStringLiteral("practiceForm"));
    setFont(FormFont());
    setFixedSize(m_units.Size(kFormWidth, kFormHeight));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    InstallAccessibleFactory();
    CreateControls();
    SetUpFonts();
    for (const auto& [nId, pControl] : m_mapControls) NameControl(nId);
    setAccessibleName(QString::fromStdString(SpokenControlName(0, {})));
}

void PracticeWindow::NameControl(int nId) {
    QWidget* p = Control(nId);
    if (!p) return;
    const std::string shown = m_mapTexts.count(nId) ? m_mapTexts[nId]
                              : Static(nId)                ? ToCp932(Static(nId)->text())
                                                           : std::string();
    p->setAccessibleName(QString::fromStdString(SpokenControlName(nId, shown)));
}

void PracticeWindow::Announce(const std::string& strUtf8) {
    // The answer box too: a screen reader follows the text typed into it and from then on speaks
    // only what that box says.
    const QString strText = QString::fromStdString(strUtf8);
    ui::Announce(*this, strText);
    ui::Describe(*Edit(IDC_ANSWER), strText);
}

template <class T> T* PracticeWindow::Add(int nId, int x, int y, int cx, int cy) {
    T* p = new T(this);
    p->setObjectName(QString::fromStdString(ControlName(nId)));
    p->setGeometry(m_units.Rect(x, y, cx, cy));
    m_mapControls[nId] = p;
    return p;
}

QLabel* PracticeWindow::AddLabel(const char* pszText, int x, int y, int cx, int cy) {
    auto* p = new QLabel(QString::fromUtf8(pszText), this);
    p->setObjectName(QStringLiteral("label%1").arg(QString::fromUtf8(pszText)));
    p->setGeometry(m_units.Rect(x, y, cx, cy));
    p->setFocusPolicy(Qt::NoFocus);
    p->setTextFormat(Qt::PlainText);
    return p;
}

void PracticeWindow::CreateControls() {
    const auto centred = Qt::AlignHCenter | Qt::AlignVCenter;
    const auto right = Qt::AlignRight | Qt::AlignVCenter;

    auto* pTitle = Add<CColorStatic>(IDC_TITLE, 81, 5, 225, 18);
    pTitle->setAlignment(centred);
    pTitle->SetEdges(CColorStatic::kStaticEdge | CColorStatic::kModalFrame);

    AddLabel("問題", 3, 48, 16, 8);
    AddLabel("解答", 3, 95, 16, 8);
    // A page may start on the question's last line.
    Add<CColorEdit>(IDC_QUESTION, 23, 29, 259, 47)->setCenterOnScroll(true);
    Add<CColorEdit>(IDC_ANSWER, 23, 79, 259, 47);

    m_pProgress = Add<CProgressBar>(IDC_PROGRESS, 283, 30, 7, 47);

    AddLabel("ミス回数", 303, 40, 28, 8);
    AddLabel("正解率", 307, 59, 24, 8);
    AddLabel("あと", 317, 76, 14, 8);
    for (const auto& [nId, y] : {std::pair{IDC_MISS_COUNT, 35}, {IDC_ACCURACY, 53}, {IDC_REMAINING, 71}}) {
        auto* p = Add<CColorStatic>(nId, 333, y, 31, 16);
        p->setAlignment(right);
        p->SetEdges(CColorStatic::kBorder);
    }
    AddLabel("回", 367, 39, 9, 8);
    AddLabel("％", 367, 57, 9, 8);
    AddLabel("問", 367, 75, 9, 8);
    AddLabel("ミスキー", 304, 101, 27, 8);
    auto* pMissKey = Add<CColorStatic>(IDC_MISS_KEY, 333, 92, 31, 26);
    pMissKey->setAlignment(centred);
    pMissKey->SetEdges(CColorStatic::kBorder);

    for (int i = 0; i < kFingerCount; ++i) {
        auto* p = Add<CColorStatic>(IDC_FINGER_FIRST + i, kFingerPlaces[i].x, 130, kFingerPlaces[i].cx, 11);
        p->setAlignment(centred);
        p->setText(FromCp932(FingerGroupName(GroupOfFinger(i))));
        m_apFingers[i] = p;
    }

    for (int k = 0; k < kKeyCount; ++k) {
        const KeyPlace place = PlaceOfKey(k);
        auto* p = Add<CColorStatic>(IDC_KEY_FIRST + k, kRowFirstX[place.nRow] + 27 * place.nColumn,
                                    144 + 33 * place.nRow, 24, 24);
        p->setAlignment(centred);
        p->SetEdges(CColorStatic::kModalFrame);
        m_apKeys[k] = p;
    }

    for (const auto& [nId, x] : {std::pair{IDC_SHIFT_LEFT, 4}, {IDC_SHIFT_RIGHT, 341}}) {
        auto* p = Add<CColorStatic>(nId, x, 243, 34, 24);
        p->setAlignment(centred);
        p->SetEdges(CColorStatic::kStaticEdge | CColorStatic::kModalFrame);
        p->setText(QStringLiteral("SHIFT"));
    }

    for (int i = 0; i < kMarkerCount; ++i)
        m_apMarkers[i] = Add<CGuideStatic>(IDC_MARKER_FIRST + i, kMarkerX[i], 236, 9, 5);
}

void PracticeWindow::SetUpFonts() {
    const double dpi = AppliedDpi(this);
    QFont bold = font();
    bold.setBold(true);
    for (CColorStatic* p : m_apKeys) {
        p->setFont(bold);
        p->SetPointSize(ScaledPointSize(kKeyPoints, dpi));
    }
    for (int nId : {IDC_SHIFT_LEFT, IDC_SHIFT_RIGHT}) {
        Static(nId)->SetBackColor(ToColorRef(ButtonFace()));
        Static(nId)->SetPointSize(ScaledPointSize(kShiftPoints, dpi));
    }
    Static(IDC_TITLE)->setFont(bold);
    Static(IDC_TITLE)->SetPointSize(ScaledPointSize(kTitlePoints, dpi));
    for (int nId : {IDC_MISS_COUNT, IDC_ACCURACY, IDC_REMAINING}) {
        Static(nId)->SetBackColor(0xFFFFFF);
        Static(nId)->SetPointSize(ScaledPointSize(kCounterPoints, dpi));
    }
    Static(IDC_MISS_KEY)->SetBackColor(0xFFFFFF);
    Static(IDC_MISS_KEY)->SetPointSize(ScaledPointSize(kMissKeyPoints, dpi));
}

bool PracticeWindow::event(QEvent* pEvent) {
    if (pEvent->type() == QEvent::KeyboardLayoutChange && m_fnLayoutChanged) m_fnLayoutChanged();
    // Tab would move the focus; here it is a typed character like any other.
    if (pEvent->type() == QEvent::KeyPress) {
        auto* pKey = static_cast<QKeyEvent*>(pEvent);
        if (pKey->key() == Qt::Key_Tab || pKey->key() == Qt::Key_Backtab) {
            keyPressEvent(pKey);
            return true;
        }
    }
    return QWidget::event(pEvent);
}

void PracticeWindow::keyPressEvent(QKeyEvent* pEvent) {
    if (m_fnKeyEvent) m_fnKeyEvent(*pEvent);
    const std::string bytes = m_pTranslator ? m_pTranslator->Translate(*pEvent)
                                            : KeyTranslator(nullptr).Translate(*pEvent);
    if (bytes.empty()) {
        QWidget::keyPressEvent(pEvent);
        return;
    }
    pEvent->accept();
    for (char ch : bytes)
        if (m_fnTypedChar) m_fnTypedChar(ch);
}

QWidget* PracticeWindow::Control(int nId) const {
    const auto it = m_mapControls.find(nId);
    return it == m_mapControls.end() ? nullptr : it->second;
}

void PracticeWindow::ApplyTextSize(int nLines) {
    // The box counts a line as shown only when it ends a pixel above the bottom edge: a cell of
    // the full height / N would leave one line (at 大, the only one) off the page.
    const int nCell = (Edit(IDC_QUESTION)->FormatHeight() - 1) / nLines;
    // Both boxes have the form's font and the same height: the size is searched for once.
    Edit(IDC_QUESTION)->SetCellHeight(nCell);
    Edit(IDC_ANSWER)->setFont(Edit(IDC_QUESTION)->font());
}

void PracticeWindow::SetControlText(int nId, const std::string& text) {
    m_mapTexts[nId] = text;
    if (CColorEdit* pEdit = Edit(nId)) pEdit->SetCp932Text(text);
    else if (CColorStatic* pStatic = Static(nId)) pStatic->setText(FromCp932(text));
    // The boxes are named by their labels; their text is their value.
    if (nId != IDC_QUESTION && nId != IDC_ANSWER) NameControl(nId);
}

std::string PracticeWindow::GetControlText(int nId) {
    const auto it = m_mapTexts.find(nId);
    return it == m_mapTexts.end() ? std::string() : it->second;
}

void PracticeWindow::Repaint(int nId) {
    QWidget* p = nId == 0 ? this : Control(nId);
    if (!p) return;
    if (auto* pEdit = qobject_cast<CColorEdit*>(p)) pEdit->viewport()->update();
    p->update();
}

void PracticeWindow::SetCaret(int nId, int nOffset) {
    if (CColorEdit* pEdit = Edit(nId)) pEdit->SetCaret(nOffset, nId != IDC_QUESTION);
}

int PracticeWindow::QuestionLineFromOffset(int nOffset) { return Edit(IDC_QUESTION)->LineFromOffset(nOffset); }
int PracticeWindow::QuestionLineCount() { return Edit(IDC_QUESTION)->LineCount(); }
void PracticeWindow::ShowQuestionFromLine(int nLine) { Edit(IDC_QUESTION)->ShowFromLine(nLine); }

void PracticeWindow::SetProgressRange(int nLower, int nUpper) {
    m_pProgress->setRange(nLower, std::max(nLower, nUpper));
}

void PracticeWindow::SetProgressPos(int nPos) {
    m_pProgress->setValue(std::clamp(nPos, m_pProgress->minimum(), m_pProgress->maximum()));
}

void PracticeWindow::SetProgressStep(int nStep) { m_nProgressStep = nStep; }

void PracticeWindow::StepProgress() {
    int nPos = m_pProgress->value() + m_nProgressStep;
    if (nPos > m_pProgress->maximum()) nPos = m_pProgress->minimum();
    m_pProgress->setValue(nPos);
}

void PracticeWindow::SetTextColor(int nId, COLORREF color) {
    if (CColorStatic* p = Static(nId)) p->SetTextColor(color);
}

void PracticeWindow::SetBackColor(int nId, COLORREF color) {
    if (CColorStatic* p = Static(nId)) p->SetBackColor(color);
}

COLORREF PracticeWindow::ButtonFaceColor() { return ToColorRef(ButtonFace()); }

void PracticeWindow::SetCapSunken(int nId, bool bSunken) {
    if (CColorStatic* p = Static(nId)) p->SetSunken(bSunken);
}

void PracticeWindow::SetCapFramed(int nId, bool bFramed) {
    if (CColorStatic* p = Static(nId)) p->SetFramed(bFramed);
}

void PracticeWindow::SetMarker(int nId, COLORREF color, bool bVisible) {
    auto* p = qobject_cast<CGuideStatic*>(Control(nId));
    if (!p) return;
    p->SetMarkerColor(color);
    p->SetMarkerVisible(bVisible);
    p->setVisible(bVisible);
}

void PracticeWindow::EnableSettingMenus(bool bEnable) {
    if (m_fnEnableSettingMenus) m_fnEnableSettingMenus(bEnable);
}

void PracticeWindow::Beep() { QApplication::beep(); }

void PracticeWindow::CloseInputMethod() {
    // Input methods are off in this window; a composition begun elsewhere is dropped.
    QGuiApplication::inputMethod()->reset();
}

int PracticeWindow::RunLessonEndDialog(const LessonEndInfo& info) {
    CLessonEndDlg dlg(info, window());
    return dlg.Run();
}

int PracticeWindow::RunTimedTestResultDialog(const TimedTestResultInfo& info) {
    CTimedResultDlg dlg(info, window());
    return dlg.Run();
}

int PracticeWindow::RunLessonSelectDialog(const std::array<std::string, 8>& labels) {
    CLessonSelectDlg dlg(labels, window());
    return dlg.exec() == QDialog::Accepted ? dlg.Selected() : -1;
}

bool PracticeWindow::RunCustomStartDialog(CUserSettings& settings, std::string& strPath, int& nMode) {
    CCustomStartDlg dlg(settings, *this, window());
    if (dlg.exec() != QDialog::Accepted) return false;
    strPath = dlg.Model().m_strPath;
    nMode = dlg.Model().m_nMode;
    return true;
}

MsgResult PracticeWindow::ShowMessage(const std::string& text, const std::string& caption,
                                      MsgButtons buttons, MsgIcon icon) {
    return QtMessenger(window()).ShowMessage(text, caption, buttons, icon);
}

CColorStatic* PracticeWindow::Static(int nId) const { return qobject_cast<CColorStatic*>(Control(nId)); }
CColorEdit* PracticeWindow::Edit(int nId) const { return qobject_cast<CColorEdit*>(Control(nId)); }

}  // namespace kibiki::ui
