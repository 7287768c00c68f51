// The main window's part of its context menu: the state the menu is computed from, and what a
// choice leaves to the window.
#include "SimDlg.h"

#include "RunFileMenu.h"

MenuState CSimDlg::MenuStateNow() const {
    MenuState state = MenuStateOf(Control());
    state.hasFrame = View().HasFrame();
    state.hasHistory = m_pHistoryDlg != nullptr;
    state.saveWindowPositions = m_bSaveWindowPos;
    state.textSize = View().GetTextSize();
    state.language =
        m_language == UiLanguage::English ? MenuLanguage::English : MenuLanguage::Japanese;
    return state;
}

void CSimDlg::RunMenuAction(const MenuOutcome& outcome) {
    Show(outcome.changes);
    switch (outcome.action) {
        case MenuAction::ToggleWindowPositions:
            OnSysCommand(IDM_SAVESTATE);
            break;
        case MenuAction::ShowAbout:
            OnSysCommand(IDM_ABOUTBOX);
            break;
        case MenuAction::SavePicture:
            m_pExport->OnSavePicture();
            break;
        case MenuAction::SaveHistory:
            m_pExport->OnSaveHistory();
            break;
        case MenuAction::SaveRun:
            m_pRunFiles->OnSaveRun();
            break;
        case MenuAction::OpenRun:
            m_pRunFiles->OnOpenRun();
            break;
        case MenuAction::SetTextSize:
            SetTextSize(outcome.textSize);
            break;
        case MenuAction::SetLanguage:
            SetLanguage(outcome.language == MenuLanguage::English ? UiLanguage::English
                                                                  : UiLanguage::Japanese);
            break;
        case MenuAction::OpenGuide:
            OpenGuide();
            break;
        case MenuAction::None:
            break;
    }
}
