#include "ui/app/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include "ui/app/practice_window.h"

namespace kibiki::ui {

CMainFrame::CMainFrame(QWidget* pParent)
    : QMainWindow(pParent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                               Qt::CustomizeWindowHint),
      m_pForm(new PracticeWindow(this)) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("Kibiki"));
    setCentralWidget(m_pForm);
    setFocusProxy(m_pForm);
    BuildMenus();
    FitAndCentre();
}

QAction* CMainFrame::AddCommand(QMenu* pMenu, int nCommand, const char* pszText, bool bCheckable) {
    QAction* pAction = pMenu->addAction(QString::fromUtf8(pszText));
    pAction->setObjectName(QStringLiteral("cmd%1").arg(nCommand));
    pAction->setCheckable(bCheckable);
    connect(pAction, &QAction::triggered, this, [this, nCommand] { emit Command(nCommand); });
    m_mapActions[nCommand] = pAction;
    return pAction;
}

void CMainFrame::BuildMenus() {
    QMenuBar* pBar = menuBar();
    auto addMenu = [&](QMenu* pParentMenu, int nPos, const char* pszTitle) {
        QMenu* pMenu = pParentMenu ? pParentMenu->addMenu(QString::fromUtf8(pszTitle))
                                   : pBar->addMenu(QString::fromUtf8(pszTitle));
        if (nPos >= 0) m_mapMenus[nPos] = pMenu;
        connect(pMenu, &QMenu::aboutToShow, this, [this] {
            if (m_fnUpdateMenus) m_fnUpdateMenus();
        });
        // Esc out of a menu leaves the bar holding the keyboard until a second Esc: a typist's
        // next key would vanish. Once no menu is open (moving to the next one keeps one), the
        // keys go back to the practice area.
        if (!pParentMenu)
            connect(pMenu, &QMenu::aboutToHide, this, [this] {
                QTimer::singleShot(0, this, [this] {
                    if (!QApplication::activePopupWidget() && menuBar()->hasFocus())
                        m_pForm->setFocus(Qt::OtherFocusReason);
                });
            });
        return pMenu;
    };

    QMenu* pLesson = addMenu(nullptr, MENU_LESSON, "レッスン(&L)");
    QAction* pNew = AddCommand(pLesson, ID_FILE_NEW, "レッスンの開始(&N)...");
    pNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    pNew->setShortcutContext(Qt::WindowShortcut);
    AddCommand(pLesson, ID_WEAK_KEY_DRILL, "苦手キーの練習");
    AddCommand(pLesson, ID_TIMED_TEST, "腕試し...");
    AddCommand(pLesson, ID_LESSON_END, "レッスンの終了");
    pLesson->addSeparator();
    AddCommand(pLesson, ID_APP_EXIT, "Kibikiの終了(&X)");

    QMenu* pUser = addMenu(nullptr, MENU_USER, "ユーザ(&U)");
    AddCommand(pUser, ID_USER_SELECT, "選択(&S)...");
    AddCommand(pUser, ID_USER_HISTORY, "履歴表示(&H)...");
    AddCommand(pUser, ID_USER_PROGRESS, "学習の記録(&R)...");

    QMenu* pSettings = addMenu(nullptr, MENU_SETTINGS, "設定(&O)");
    QMenu* pMode = addMenu(pSettings, -1, "練習モード");
    AddCommand(pMode, ID_MODE_KANA, "かな入力練習", true);
    AddCommand(pMode, ID_MODE_ROMAN, "ローマ字入力練習", true);
    AddCommand(pMode, ID_MODE_HIRAGANA_ROMAN, "ひらがなローマ字入力練習", true);
    AddCommand(pMode, ID_MODE_KANA_KANJI, "かな入力練習（漢字）", true);
    AddCommand(pMode, ID_MODE_ROMAN_KANJI, "ローマ字入力練習（漢字）", true);
    AddCommand(pSettings, ID_COLOR_SETTINGS, "色の設定...");
    AddCommand(pSettings, ID_CUSTOM_LESSONS, "オリジナルレッスン...");
    QMenu* pFont = addMenu(pSettings, -1, "フォント");
    AddCommand(pFont, ID_FONT_SMALL, "小", true);
    AddCommand(pFont, ID_FONT_MEDIUM, "中", true);
    AddCommand(pFont, ID_FONT_LARGE, "大", true);
    AddCommand(pSettings, ID_ROMAN_SETTINGS, "ローマ字の設定...");

    QMenu* pHelp = addMenu(nullptr, MENU_HELP, "ヘルプ(&H)");
    AddCommand(pHelp, ID_HELP_CONTENTS, "目次(&C)");
    AddCommand(pHelp, ID_APP_ABOUT, "バージョン情報(&A)...");
}

QAction* CMainFrame::Action(int nCommand) const {
    const auto it = m_mapActions.find(nCommand);
    return it == m_mapActions.end() ? nullptr : it->second;
}

QMenu* CMainFrame::TopMenu(int nPos) const {
    const auto it = m_mapMenus.find(nPos);
    return it == m_mapMenus.end() ? nullptr : it->second;
}

void CMainFrame::SetCommandEnabled(int nCommand, bool bEnabled) {
    if (QAction* p = Action(nCommand)) p->setEnabled(bEnabled);
}

void CMainFrame::SetCommandChecked(int nCommand, bool bChecked) {
    if (QAction* p = Action(nCommand)) p->setChecked(bChecked);
}

void CMainFrame::SetMenuEnabled(int nPos, bool bEnabled) {
    if (QMenu* p = TopMenu(nPos)) p->menuAction()->setEnabled(bEnabled);
}

void CMainFrame::FitAndCentre() {
    // The menu bar's height is known only once it has laid out its items.
    const QSize size(m_pForm->width(), m_pForm->height() + menuBar()->sizeHint().height());
    setFixedSize(size);
    if (const QScreen* pScreen = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect area = pScreen->availableGeometry();
        move(area.center() - QPoint(size.width() / 2, size.height() / 2));
    }
}

}  // namespace kibiki::ui
