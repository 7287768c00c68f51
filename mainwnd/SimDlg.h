#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QIcon>
#include <QRect>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ExportMenu.h"
#include "HistoryDlg.h"
#include "MenuModel.h"
#include "Profile.h"
#include "RunSession.h"
#include "Simulation.h"
#include "TitlePace.h"
#include "Translations.h"
#include "VesselView.h"

class QPushButton;
class CSettingsDlg;
class COuterRectPlacer;
class CMainMenu;
class CRunFileMenu;

// System-menu command ids of the two items the window adds (offered in its context menu),
// and the system Close command.
constexpr unsigned IDM_ABOUTBOX = 0x0010;
constexpr unsigned IDM_SAVESTATE = 0x0020;
constexpr unsigned SC_CLOSE = 0xF060;
// A system command's low four bits are the platform's own; the command is the rest.
constexpr unsigned SC_COMMAND_MASK = 0xFFF0;

// The window icon: the installed icon theme's when the program is installed, else the
// built-in 16 and 32 px icons.
QIcon ApplicationIcon();

class CVesselFocus;

// The main window: the vessel view above six buttons, a view of the run session. It owns the
// session, the buttons, the history window and the step timer, turns its events into the
// session's commands and shows what each changed. Run with DoModal().
class CSimDlg : public QDialog {
    Q_OBJECT

public:
    explicit CSimDlg(QWidget* parent = nullptr);
    ~CSimDlg() override;

    // Initialises (history window, placement), then runs the window until it closes.
    int DoModal();
    // The same initialisation, then shows the window without entering its modal loop
    // (tests and measurements drive the events themselves).
    void DoModalWithoutLoop();
    // Releases the frame, the history window and the grids. Runs once; the destructor
    // runs it if nobody has.
    void OnDestroy();

    // A system menu command: the About box, the save-state option or Close.
    void OnSysCommand(unsigned nID);
    // Layout pass for a new client size (a size message; sizes the window cannot be made
    // come only this way).
    void OnSize(int cx, int cy);
    // Interface language: takes effect at once in both windows and is kept in the profile.
    void SetLanguage(UiLanguage language);
    // Size of the frame's labels and panel: drawn again at once, and kept in the profile.
    void SetTextSize(TextSize size);
    UiLanguage Language() const { return m_language; }

    // Runs the settings dialog modally and returns its result; tests replace it.
    using SettingsDialogRunner = std::function<int(CSettingsDlg&)>;
    void SetSettingsDialogRunner(SettingsDialogRunner run) { m_runSettingsDialog = std::move(run); }
    // Runs the About box modally; tests replace it.
    using AboutBoxRunner = std::function<void(QDialog&)>;
    void SetAboutBoxRunner(AboutBoxRunner run) { m_runAboutBox = std::move(run); }
    // Shows a message (OK only) modally; tests replace it.
    using MessageBoxRunner = std::function<void(const QString& text)>;
    void SetMessageBoxRunner(MessageBoxRunner run) { m_runMessageBox = std::move(run); }

    // Opens a page in the system's browser; tests replace it.
    using UrlOpener = std::function<bool(const QUrl& url)>;
    void SetUrlOpener(UrlOpener open) { m_openUrl = std::move(open); }
    // The context menu's Guide: the user's guide in the current language, from the build tree
    // or the installation the program runs from; a message when it is neither.
    void OpenGuide();

    // The run: its state, speeds and samples.
    CRunSession& Session() { return m_session; }
    const CRunControl& Control() const { return m_session.Control(); }
    // Shows what a command of the session changed.
    void Show(const Changes& changes);
    bool IsStepTimerRunning() const { return m_nTimerId != 0; }
    // Saving the picture and the history from the context menu.
    CExportMenu& Export() { return *m_pExport; }
    // Saving the run and opening a run file from the context menu.
    CRunFileMenu& RunFiles() { return *m_pRunFiles; }
    // A run file DoModal opens once the window is shown (the command line's).
    void SetStartRunFile(const QString& path) { m_startRunFile = path; }

    // Stops the step timer and pending repaints for good: a fatal message is about to be
    // shown and the program ends after it.
    void StopForFatalMessage();

    // Profile values: set by the application before DoModal, read back after it (the
    // window rectangles as healed and, when the option is on, as captured at the close).
    void SetProfile(const ProfileValues& values);
    ProfileValues Profile() const;

    // The model the window runs and the view that draws it.
    CSimulation& Simulation() { return m_session.Simulation(); }
    const CSimulation& Simulation() const { return m_session.Simulation(); }
    const CVesselView& View() const { return m_session.View(); }
    // The history window; null before the initialisation and after OnDestroy.
    CHistoryDlg* HistoryDlg() const { return m_pHistoryDlg.get(); }

    // The client area of the last accepted size.
    const QRect& ClientRect() const { return m_rcClient; }

    // The six buttons; null after OnDestroy.
    QPushButton* CloseButton() const { return m_pCloseButton; }
    QWidget* VesselFocus() const;
    QPushButton* StartButton() const { return m_pStartButton; }
    QPushButton* EndsButton() const { return m_pEndsButton; }
    QPushButton* CentreButton() const { return m_pCentreButton; }
    QPushButton* PauseButton() const { return m_pPauseButton; }
    QPushButton* HistoryButton() const { return m_pHistoryButton; }

protected:
    void OnInitDialog();
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Escape does not close the main window: one stray key would end the run.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The settings dialog the session asks for, run modally, and its answer.
    void RunSettingsDialog();
    void ShowRunButtons();
    void ShowBurnerCaptions();
    void ShowTitle();
    // A timer message's ticks are shown: at the screen's pace, the title at its own.
    void TicksShown(bool backToBack);

    // A key pressed while the vessel has the focus: arrows move the cell cursor, Space
    // selects at it, Escape leaves it. False for a key it does not use.
    bool OnVesselKey(int key);
    // Gives the panel's lines to screen readers as the vessel's description.
    void ShowPanelToScreenReaders();
    void OnHistoryButton();
    void OnCloseButton();
    void OnMouseMove(const QPoint& point);
    void OnLButtonUp(const QPoint& point);
    void CaptureWindowRects();
    // What the context menu shows, and what a choice in it leaves to the window.
    MenuState MenuStateNow() const;
    void RunMenuAction(const MenuOutcome& outcome);

    void CreateButtons();
    QPushButton* CreateButton(const char* caption, int id, const char* failure, int code,
                              const std::function<void()>& onClick);
    void LayOutButtons(int cx, int cy);
    void PlaceWindows();
    // Invalidation after a tick: at most one repaint per screen refresh.
    void InvalidateAfterTick();
    // The texts shown in the current language.
    void RetranslateUi();

    // Repaints follow the ticks at most once per screen refresh (about 60 a second).
    static constexpr qint64 SCREEN_REFRESH_MS = 16;

    SettingsDialogRunner m_runSettingsDialog;
    AboutBoxRunner m_runAboutBox;
    MessageBoxRunner m_runMessageBox;
    UrlOpener m_openUrl;

    bool m_bSaveWindowPos = false;
    UiLanguage m_language = UiLanguage::Japanese;
    ScreenRect m_rcHistoryWnd;
    ScreenRect m_rcMainWnd;

    std::unique_ptr<CHistoryDlg> m_pHistoryDlg;
    QRect m_rcClient;

    CRunSession m_session;

    QPushButton* m_pCloseButton = nullptr;
    CVesselFocus* m_pVesselFocus = nullptr;  // owned child: the vessel's keyboard focus
    QPushButton* m_pStartButton = nullptr;
    QPushButton* m_pEndsButton = nullptr;
    QPushButton* m_pCentreButton = nullptr;
    QPushButton* m_pPauseButton = nullptr;
    QPushButton* m_pHistoryButton = nullptr;
    QIcon m_hIcon;

    int m_nTimerId = 0;
    CMainMenu* m_pMenu = nullptr;         // owned by the window
    CExportMenu* m_pExport = nullptr;     // owned by the window
    CRunFileMenu* m_pRunFiles = nullptr;  // owned by the window
    QString m_startRunFile;
    QTimer m_titleTimer;  // pending title update with the tick count
    CTitlePace m_titlePace;
    bool m_bDestroyed = false;
    // Keep the windows' outer rectangles; owned by their windows.
    COuterRectPlacer* m_pMainPlacer = nullptr;
    COuterRectPlacer* m_pHistoryPlacer = nullptr;
    QTimer m_repaintTimer;           // pending repaint of ticks since the last paint
    QElapsedTimer m_sinceLastPaint;  // time since the last paint
};
