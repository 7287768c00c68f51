#include "SimDlg.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QtMath>
#include <cstring>
#include <iterator>

#include "AboutDlg.h"
#include "DialogUnits.h"
#include "FailureSeam.h"
#include "FatalError.h"
#include "FrameImage.h"
#include "Layout.h"
#include "MainTexts.h"
#include "Numbers.h"
#include "Placement.h"
#include "RunSpeed.h"
#include "SettingsDlg.h"
#include "Translations.h"

namespace {

// Command ids of the buttons, kept as their object names.
constexpr int ID_CLOSE = 500;
constexpr int ID_START = 501;
constexpr int ID_ENDS = 502;
constexpr int ID_CENTRE = 503;
constexpr int ID_PAUSE = 1027;
constexpr int ID_HISTORY = 1050;

// Size of the window before it is placed: 313 x 278 dialog units.
constexpr QSize kTemplateSize(313, 278);

bool Is(const char* caption, const char* text) {
    return std::strcmp(caption, text) == 0;
}

ScreenRect ToScreenRect(const QRect& r) {
    return ScreenRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// The pixel a mouse position lies in. At a scale factor other than 1 positions fall
// between pixels; rounding would move a point on the wall (x = 14.6) onto the grid.
QPoint PixelAt(const QPointF& position) {
    return QPoint(qFloor(position.x()), qFloor(position.y()));
}

}  // namespace

QIcon ApplicationIcon() {
    Q_INIT_RESOURCE(quorvel);
    QIcon builtIn;
    builtIn.addFile(QStringLiteral(":/quorvel-32.png"), QSize(32, 32));
    builtIn.addFile(QStringLiteral(":/quorvel-16.png"), QSize(16, 16));
    return QIcon::fromTheme(QStringLiteral(QUORVEL_APP_ID), builtIn);
}

CSimDlg::CSimDlg(QWidget* parent)
    : QDialog(parent),
      m_pszStartButtonText(MainTexts::START),
      m_pszPauseButtonText(MainTexts::PAUSE),
      m_view(m_sim) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    setMouseTracking(true);
    m_hIcon = ApplicationIcon();
    m_sim.SetRedrawObserver(&m_cellBatch);
    m_runSettingsDialog = [](CSettingsDlg& dialog) { return dialog.exec(); };
    m_runAboutBox = [](QDialog& dialog) { dialog.exec(); };
    resize(DialogUnits(font()).ToPixels(kTemplateSize));
    // The window cannot be made smaller than the smallest client area its layout takes.
    setMinimumSize(MIN_CLIENT_WIDTH, MIN_CLIENT_HEIGHT);
    m_repaintTimer.setSingleShot(true);
    m_repaintTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_repaintTimer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    m_titleTimer.setSingleShot(true);
    connect(&m_titleTimer, &QTimer::timeout, this, &CSimDlg::ShowTitle);
    CreateButtons();
    CreateSpeedActions();
    InitExport();
    RetranslateUi();
}

CSimDlg::~CSimDlg() {
    OnDestroy();
}

QPushButton* CSimDlg::CreateButton(const char* caption, int id, const char* failure, int code,
                                   void (CSimDlg::*handler)()) {
    if (!FailureSeam::Pass(ResourceStep::CreateWindow)) {
        FatalError(failure, code);
    }
    auto* button = new QPushButton(Tr(caption), this);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

void CSimDlg::CreateButtons() {
    // Made once, in the order and with the failure reports of the layout; every accepted
    // resize only moves them and re-applies their captions and enabled states.
    m_pHistoryButton =
        CreateButton(MainTexts::HISTORY, ID_HISTORY, MainTexts::HISTORY_BUTTON_FAILED,
                     MainTexts::EXIT_HISTORY_BUTTON, &CSimDlg::OnHistoryButton);
    m_pPauseButton = CreateButton(m_pszPauseButtonText, ID_PAUSE, MainTexts::PAUSE_BUTTON_FAILED,
                                  MainTexts::EXIT_RUN_BUTTON, &CSimDlg::OnPauseResume);
    m_pCentreButton =
        CreateButton(m_sim.CentreButtonText(), ID_CENTRE, MainTexts::CENTRE_BUTTON_FAILED,
                     MainTexts::EXIT_RUN_BUTTON, &CSimDlg::OnCentreFlame);
    m_pEndsButton = CreateButton(m_sim.EndsButtonText(), ID_ENDS, MainTexts::ENDS_BUTTON_FAILED,
                                 MainTexts::EXIT_RUN_BUTTON, &CSimDlg::OnEndsFlame);
    m_pStartButton = CreateButton(m_pszStartButtonText, ID_START, MainTexts::START_BUTTON_FAILED,
                                  MainTexts::EXIT_RUN_BUTTON, &CSimDlg::OnStartStop);
    m_pCloseButton = CreateButton(MainTexts::CLOSE, ID_CLOSE, MainTexts::CLOSE_BUTTON_FAILED,
                                  MainTexts::EXIT_CLOSE_BUTTON, &CSimDlg::OnCloseButton);
    m_pPauseButton->setEnabled(!Is(m_pszStartButtonText, MainTexts::START));
    m_pStartButton->setEnabled(!Is(m_pszPauseButtonText, MainTexts::RESUME));
}

int CSimDlg::DoModal() {
    OnInitDialog();
    // The program lives in this loop, but the main window blocks no other window of the
    // program: the history window's close box must work while it runs. Only the settings
    // dialog and the About box are modal, and only while they are open.
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    loop.exec(QEventLoop::DialogExec);
    return result();
}

void CSimDlg::DoModalWithoutLoop() {
    OnInitDialog();
    show();
    QCoreApplication::processEvents();
}

void CSimDlg::OnInitDialog() {
    setWindowIcon(m_hIcon);
    m_pPauseButton->setEnabled(false);
    m_pHistoryDlg = CreateHistoryDlg();
    PlaceWindows();
    m_pHistoryDlg->ResetHistory(m_sim.InitialTemperature());
    m_pHistoryDlg->SetHistoryInterval(DEFAULT_HISTORY_INTERVAL);
}

void CSimDlg::PlaceWindows() {
    // Stored rectangles are healed before anything is sized from them, and the healed ones
    // are what the profile gets back.
    const ProfileValues defaults;
    const std::vector<ScreenArea> screens = CurrentScreens();
    m_rcMainWnd = HealWindowRect(m_rcMainWnd, defaults.mainWnd, screens);
    m_rcHistoryWnd = HealWindowRect(m_rcHistoryWnd, defaults.historyWnd, screens);
    m_pMainPlacer = new COuterRectPlacer(this);
    m_pMainPlacer->Place(m_rcMainWnd);
    // Until it is first shown the history window has no frame, so its outer rectangle is
    // taken as its client area for now; the placer corrects it once the window is framed.
    m_pHistoryDlg->PlaceHidden(QRect(m_rcHistoryWnd.left, m_rcHistoryWnd.top,
                                     m_rcHistoryWnd.Width(), m_rcHistoryWnd.Height()));
    m_pHistoryPlacer = new COuterRectPlacer(m_pHistoryDlg.get());
    m_pHistoryPlacer->Place(m_rcHistoryWnd);
}

void CSimDlg::SetProfile(const ProfileValues& values) {
    m_rcMainWnd = values.mainWnd;
    m_rcHistoryWnd = values.historyWnd;
    m_bSaveWindowPos = values.saveWindowPos;
    SetLanguage(values.language);
}

ProfileValues CSimDlg::Profile() const {
    return ProfileValues{m_rcMainWnd, m_rcHistoryWnd, m_bSaveWindowPos, m_language};
}

void CSimDlg::ShowTitle() {
    setWindowTitle(RunSpeed::Title(MainTexts::TITLE, m_nSpeed, m_sim.TicksRun()));
}

void CSimDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    OnSize(width(), height());
}

void CSimDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        // Restoring from the icon is a new size message even when the size is unchanged.
        if ((change->oldState() & Qt::WindowMinimized) && !isMinimized()) {
            OnSize(width(), height());
        }
    } else if (event->type() == QEvent::LanguageChange) {
        RetranslateUi();
    }
}

void CSimDlg::OnSize(int cx, int cy) {
    if (isMinimized() || !AcceptsClientSize(cx, cy) || m_bDestroyed) {
        return;
    }
    m_rcClient = QRect(0, 0, cx, cy);
    ShowTitle();
    LayOutButtons(cx, cy);
    m_view.CreateFrame(cx, cy);
    m_view.FullRebuild(m_bStarted);
    update();
}

void CSimDlg::LayOutButtons(int cx, int cy) {
    const ButtonRow row = ComputeButtonRow(cx, cy);
    QPushButton* const buttons[] = {m_pHistoryButton, m_pPauseButton, m_pCentreButton,
                                    m_pEndsButton,    m_pStartButton, m_pCloseButton};
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        buttons[i]->setGeometry(row.edges[i], row.top, row.edges[i + 1] - row.edges[i],
                                row.bottom - row.top);
    }
    m_pPauseButton->setText(Tr(m_pszPauseButtonText));
    m_pCentreButton->setText(Tr(m_sim.CentreButtonText()));
    m_pEndsButton->setText(Tr(m_sim.EndsButtonText()));
    m_pStartButton->setText(Tr(m_pszStartButtonText));
    m_pPauseButton->setEnabled(!Is(m_pszStartButtonText, MainTexts::START));
    m_pStartButton->setEnabled(!Is(m_pszPauseButtonText, MainTexts::RESUME));
}

void CSimDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (isMinimized()) {
        return;  // the platform shows the icon
    }
    QPainter painter(this);
    if (m_view.HasFrame()) {
        painter.drawImage(QPoint(0, 0), FrameImageOf(m_view.Frame()));
    }
    m_sinceLastPaint.start();
}

void CSimDlg::SetStepTimer() {
    if (m_nTimerId != 0) {
        killTimer(m_nTimerId);
    }
    m_nTimerId = startTimer(m_sim.StepInterval(), Qt::PreciseTimer);
}

bool CSimDlg::KillStepTimer() {
    if (m_nTimerId == 0) {
        return false;
    }
    killTimer(m_nTimerId);
    m_nTimerId = 0;
    return true;
}

void CSimDlg::StopForFatalMessage() {
    KillStepTimer();
    m_repaintTimer.stop();
}

void CSimDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_nTimerId) {
        Step();
    } else {
        QDialog::timerEvent(event);
    }
}

void CSimDlg::Step() {
    RunTimerMessage(RunSpeed::TICKS_PER_MESSAGE[m_nSpeed]);
}

void CSimDlg::InvalidateAfterTick() {
    // Every tick patches the frame, but a screen shows at most about 60 pictures a second:
    // ticks that come faster share one repaint, which always copies the whole current
    // frame, so what the screen shows is exactly what the ticks drew.
    if (m_repaintTimer.isActive()) {
        return;
    }
    const qint64 since =
        m_sinceLastPaint.isValid() ? m_sinceLastPaint.elapsed() : SCREEN_REFRESH_MS;
    m_repaintTimer.start(static_cast<int>(std::max<qint64>(0, SCREEN_REFRESH_MS - since)));
}

void CSimDlg::UpdateHistory() {
    // The ticks have recorded their samples already; the status bar shows the last tick.
    m_pHistoryDlg->ShowAverages(m_sim.AverageTemperature(), CalToJoules(m_sim.AverageHeat()));
}

void CSimDlg::OnStartStop() {
    if (Is(m_pszStartButtonText, MainTexts::STOP)) {
        KillStepTimer();
        m_pszStartButtonText = MainTexts::START;
        m_pStartButton->setText(Tr(m_pszStartButtonText));
        m_bCanContinue = true;
        m_pPauseButton->setEnabled(false);
        return;
    }

    m_pPauseButton->setEnabled(true);
    CSettingsDlg dialog(this);
    dialog.SetSettings(m_sim.CurrentSettings(m_pHistoryDlg->HistoryInterval()));
    dialog.m_bCanContinue = m_bCanContinue ? 1 : 0;
    m_view.DrawFlames(m_sim.EndsFlame(), m_sim.CentreFlame());
    if (m_runSettingsDialog(dialog) != QDialog::Accepted) {
        m_pPauseButton->setEnabled(false);
        return;
    }
    m_bStarted = true;
    const SimulationSettings settings = dialog.Settings();

    if (m_bCanContinue && dialog.continueRun) {
        // The grid, its size, the initial temperature, the history and the selection stay.
        m_sim.ContinuedStart(settings);
        m_pHistoryDlg->SetHistoryInterval(settings.historyInterval);
    } else {
        m_pHistoryDlg->ResetHistory(settings.initialTemperature);
        m_pHistoryDlg->SetHistoryInterval(settings.historyInterval);
        m_sim.FreshStart(settings);
        m_view.CentreInspection();
        m_view.FullRebuild(true);
    }
    m_pszStartButtonText = MainTexts::STOP;
    m_pStartButton->setText(Tr(m_pszStartButtonText));
    update();
    ShowTitle();
    SetStepTimer();
}

void CSimDlg::OnPauseResume() {
    if (!Is(m_pszStartButtonText, MainTexts::STOP)) {
        return;
    }
    if (Is(m_pszPauseButtonText, MainTexts::PAUSE)) {
        KillStepTimer();
        m_pszPauseButtonText = MainTexts::RESUME;
        m_pPauseButton->setText(Tr(m_pszPauseButtonText));
        m_pStartButton->setEnabled(false);
    } else if (Is(m_pszPauseButtonText, MainTexts::RESUME)) {
        SetStepTimer();
        m_pszPauseButtonText = MainTexts::PAUSE;
        m_pPauseButton->setText(Tr(m_pszPauseButtonText));
        m_pStartButton->setEnabled(true);
    }
}

void CSimDlg::OnEndsFlame() {
    m_sim.AdvanceEndsFlame();
    AfterFlameChange(m_pEndsButton, m_sim.EndsButtonText());
}

void CSimDlg::OnCentreFlame() {
    m_sim.AdvanceCentreFlame();
    AfterFlameChange(m_pCentreButton, m_sim.CentreButtonText());
}

void CSimDlg::AfterFlameChange(QPushButton* button, const char* caption) {
    // The new level shows at once and heats from the very next bottom step of a run.
    m_view.DrawFlames(m_sim.EndsFlame(), m_sim.CentreFlame());
    if (m_sim.HasGrid()) {
        m_sim.ComputeBurnerHeat();
    }
    button->setText(Tr(caption));
    update();
}

void CSimDlg::OnHistoryButton() {
    // Shown without taking the focus from the main window; a second press hides it.
    if (m_pHistoryDlg->isVisible()) {
        m_pHistoryDlg->hide();
        return;
    }
    m_pHistoryDlg->show();
}

void CSimDlg::OnCloseButton() {
    CaptureWindowRects();
    accept();
}

void CSimDlg::CaptureWindowRects() {
    if (!m_bSaveWindowPos) {
        return;
    }
    m_rcMainWnd = m_pMainPlacer ? m_pMainPlacer->OuterRect() : ToScreenRect(frameGeometry());
    if (m_pHistoryDlg) {
        m_rcHistoryWnd = m_pHistoryPlacer ? m_pHistoryPlacer->OuterRect()
                                          : ToScreenRect(m_pHistoryDlg->frameGeometry());
    }
}

void CSimDlg::OnSysCommand(unsigned nID) {
    switch (nID & SC_COMMAND_MASK) {
        case IDM_ABOUTBOX: {
            const bool wasRunning = KillStepTimer();
            CAboutDlg about(this);
            m_runAboutBox(about);
            if (wasRunning) {
                SetStepTimer();
            }
            break;
        }
        case IDM_SAVESTATE:
            m_bSaveWindowPos = !m_bSaveWindowPos;
            break;
        case SC_CLOSE:
            close();  // closeEvent captures the rectangles
            break;
        default:
            break;
    }
}

void CSimDlg::contextMenuEvent(QContextMenuEvent* event) {
    // The window's own system-menu items.
    QMenu menu(this);
    QAction* saveState = menu.addAction(Tr(MainTexts::SAVE_STATE));
    saveState->setCheckable(true);
    saveState->setChecked(m_bSaveWindowPos);
    QAction* about = menu.addAction(Tr(MainTexts::ABOUT));
    AddRunMenu(menu);
    AddExportMenu(menu);
    AddLanguageMenu(menu);
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == saveState) {
        OnSysCommand(IDM_SAVESTATE);
    } else if (chosen == about) {
        OnSysCommand(IDM_ABOUTBOX);
    }
}

void CSimDlg::closeEvent(QCloseEvent* event) {
    // The title bar's close box: the system Close command.
    CaptureWindowRects();
    QDialog::closeEvent(event);
}

void CSimDlg::mouseMoveEvent(QMouseEvent* event) {
    OnMouseMove(PixelAt(event->position()));
    QDialog::mouseMoveEvent(event);
}

void CSimDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        OnLButtonUp(PixelAt(event->position()));
    }
    QDialog::mouseReleaseEvent(event);
}

void CSimDlg::OnMouseMove(const QPoint& point) {
    if (!m_bStarted) {
        return;
    }
    m_view.MouseMove(point.x(), point.y());
    update();
}

void CSimDlg::OnLButtonUp(const QPoint& point) {
    if (!m_bStarted) {
        return;
    }
    if (m_view.LButtonUp(point.x(), point.y())) {
        update();
    }
}

void CSimDlg::OnDestroy() {
    if (m_bDestroyed) {
        return;
    }
    m_bDestroyed = true;
    KillStepTimer();
    m_view.ReleaseFrame();
    for (QPushButton** button : {&m_pCloseButton, &m_pStartButton, &m_pEndsButton, &m_pCentreButton,
                                 &m_pPauseButton, &m_pHistoryButton}) {
        delete *button;
        *button = nullptr;
    }
    if (m_pHistoryDlg) {
        m_pHistoryDlg->DestroyWindow();
        m_pHistoryDlg.reset();
        m_pHistoryPlacer = nullptr;
    }
    m_sim.ReleaseGrids();
}
