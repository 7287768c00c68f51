// The main window's part of its context menu: the state the menu is computed from, and what a
// choice leaves to the window.
#include "SimDlg.h"

#include "RunFileMenu.h"

MenuState CSimDlg::MenuStateNow() const {
    MenuState state = MenuStateOf(m_control);
    state.hasFrame = m_view.HasFrame();
    state.hasHistory = m_pHistoryDlg != nullptr;
    state.saveWindowPositions = m_bSaveWindowPos;
    state.textSize = m_view.GetTextSize();
    state.language =
        m_language == UiLanguage::English ? MenuLanguage::English : MenuLanguage::Japanese;
    return state;
}

void CSimDlg::RunMenuAction(const MenuOutcome& outcome) {
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
