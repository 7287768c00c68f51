#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QIcon>
#include <QRect>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>

#include "CellRedrawBatch.h"
#include "HistoryDlg.h"
#include "Profile.h"
#include "RunSpeed.h"
#include "Simulation.h"
#include "Translations.h"
#include "VesselView.h"

class QAction;
class QMenu;
class QPushButton;
class CSettingsDlg;
class PendingOutputs;
class COuterRectPlacer;

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

// The main window: the vessel view above six buttons. It owns the simulation, the view's
// off-screen frame, the buttons, the history window and the step timer, and runs the
// start / stop / pause / resume control. Run with DoModal().
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

    // Command handlers.
    void OnStartStop();
    void OnPauseResume();
    void OnEndsFlame();
    void OnCentreFlame();
    void OnHistoryButton();
    void OnCloseButton();
    void OnSysCommand(unsigned nID);
    // One message of the step timer: one tick at the normal speed, more at the faster ones.
    void Step();
    // Speed of the run (an index of RunSpeed), kept for the session.
    void SetSpeed(int speed);
    int Speed() const { return m_nSpeed; }
    // While paused: runs exactly one whole tick and shows it.
    void SingleStep();
    bool IsPaused() const;
    // Layout pass for a new client size.
    void OnSize(int cx, int cy);
    void OnMouseMove(const QPoint& point);
    void OnLButtonUp(const QPoint& point);
    void CaptureWindowRects();
    void ShowTitle();
    // Interface language: takes effect at once in both windows and is kept in the profile.
    void SetLanguage(UiLanguage language);
    UiLanguage Language() const { return m_language; }

    // Runs the settings dialog modally and returns its result; tests replace it.
    using SettingsDialogRunner = std::function<int(CSettingsDlg&)>;
    void SetSettingsDialogRunner(SettingsDialogRunner run) { m_runSettingsDialog = std::move(run); }
    // Runs the About box modally; tests replace it.
    using AboutBoxRunner = std::function<void(QDialog&)>;
    void SetAboutBoxRunner(AboutBoxRunner run) { m_runAboutBox = std::move(run); }

    // Saving from the context menu. The file dialog and the failure message are replaceable
    // for tests: the chooser gets the caption, the proposed path and the filter and returns
    // the chosen path (empty: cancelled); the failure runner gets the message's text.
    using SaveFileChooser = std::function<QString(const QString& caption, const QString& proposed,
                                                  const QString& filter)>;
    void SetSaveFileChooser(SaveFileChooser choose) { m_chooseSaveFile = std::move(choose); }
    using SaveFailureRunner = std::function<void(const QString& text)>;
    void SetSaveFailureRunner(SaveFailureRunner show) { m_showSaveFailure = std::move(show); }
    void OnSavePicture();
    void OnSaveHistory();
    // Write the frame as PNG, or the whole run's samples as CSV, to `path` whole or not at
    // all; a failure is shown with the path and the reason. True when the file was written.
    bool SavePicture(const QString& path);
    bool SaveHistoryCsv(const QString& path);

    bool IsStepTimerRunning() const { return m_nTimerId != 0; }
    // Stops the step timer and pending repaints for good: a fatal message is about to be
    // shown and the program ends after it.
    void StopForFatalMessage();

    // Profile values: set by the application before DoModal, read back after it (the
    // window rectangles as healed and, when the option is on, as captured at the close).
    void SetProfile(const ProfileValues& values);
    ProfileValues Profile() const;

    // The model the window runs and the view that draws it.
    CSimulation& Simulation() { return m_sim; }
    const CSimulation& Simulation() const { return m_sim; }
    const CVesselView& View() const { return m_view; }
    // The history window; null before the initialisation and after OnDestroy.
    CHistoryDlg* HistoryDlg() const { return m_pHistoryDlg.get(); }

    // Whether a run has been started once: the cells are drawn and the mouse inspects them.
    bool HasStarted() const { return m_bStarted; }
    // Whether a stopped run can be continued.
    bool CanContinue() const { return m_bCanContinue; }
    // The client area of the last accepted size.
    const QRect& ClientRect() const { return m_rcClient; }

    // The six buttons; null after OnDestroy.
    QPushButton* CloseButton() const { return m_pCloseButton; }
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

private:
    void CreateButtons();
    QPushButton* CreateButton(const char* caption, int id, const char* failure, int code,
                              void (CSimDlg::*handler)());
    void LayOutButtons(int cx, int cy);
    void AfterFlameChange(QPushButton* button, const char* caption);
    void SetStepTimer();
    bool KillStepTimer();
    void UpdateHistory();
    void PlaceWindows();
    // Invalidation after a tick: at most one repaint per screen refresh.
    void InvalidateAfterTick();

    // Runs `ticks` ticks (0: as many as fit the fastest speed's budget) as one timer
    // message: cells drawn once each afterwards, history, panel and title once.
    void RunTimerMessage(long long ticks);
    void CreateSpeedActions();
    void AddRunMenu(QMenu& menu);
    void InitExport();
    void AddExportMenu(QMenu& menu);
    QString ChooseSaveFile(const char* menuText, QString& folder, const char* extension,
                           const char* filter);
    bool WriteWhole(const QString& path,
                    const std::function<bool(PendingOutputs&, std::size_t)>& write);
    // The language items of the context menu, and the texts shown in the current language.
    void AddLanguageMenu(QMenu& menu);
    void RetranslateUi();

    // Repaints follow the ticks at most once per screen refresh (about 60 a second).
    static constexpr qint64 SCREEN_REFRESH_MS = 16;

    SettingsDialogRunner m_runSettingsDialog;
    AboutBoxRunner m_runAboutBox;
    SaveFileChooser m_chooseSaveFile;
    SaveFailureRunner m_showSaveFailure;
    QString m_pictureFolder;  // the last folder a picture was saved to, this session
    QString m_historyFolder;  // the same for the history

    bool m_bSaveWindowPos = false;
    UiLanguage m_language = UiLanguage::Japanese;
    ScreenRect m_rcHistoryWnd;
    ScreenRect m_rcMainWnd;

    std::unique_ptr<CHistoryDlg> m_pHistoryDlg;
    bool m_bStarted = false;
    QRect m_rcClient;
    const char* m_pszStartButtonText;
    const char* m_pszPauseButtonText;
    bool m_bCanContinue = false;

    CSimulation m_sim;
    CVesselView m_view;

    QPushButton* m_pCloseButton = nullptr;
    QPushButton* m_pStartButton = nullptr;
    QPushButton* m_pEndsButton = nullptr;
    QPushButton* m_pCentreButton = nullptr;
    QPushButton* m_pPauseButton = nullptr;
    QPushButton* m_pHistoryButton = nullptr;
    QIcon m_hIcon;

    int m_nTimerId = 0;
    int m_nSpeed = 0;
    CCellRedrawBatch m_cellBatch{m_view};
    QAction* m_pSpeedActions[RunSpeed::COUNT] = {};
    QAction* m_pStepAction = nullptr;
    QTimer m_titleTimer;        // pending title update with the tick count
    qint64 m_nLastFlushNs = 0;  // drawing of the changed cells in the last timer message
    bool m_bDestroyed = false;
    // Keep the windows' outer rectangles; owned by their windows.
    COuterRectPlacer* m_pMainPlacer = nullptr;
    COuterRectPlacer* m_pHistoryPlacer = nullptr;
    QTimer m_repaintTimer;           // pending repaint of ticks since the last paint
    QElapsedTimer m_sinceLastPaint;  // time since the last paint
};
