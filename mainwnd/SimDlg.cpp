#include "SimDlg.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QtMath>
#include <chrono>
#include <cmath>
#include <iterator>

#include "AboutDlg.h"
#include "ButtonRow.h"
#include "DialogUnits.h"
#include "FailureSeam.h"
#include "FatalError.h"
#include "FrameImage.h"
#include "GuideLocation.h"
#include "MainMenu.h"
#include "MainTexts.h"
#include "Placement.h"
#include "RunFileMenu.h"
#include "SettingsDlg.h"
#include "SettingsWarning.h"
#include "Translations.h"
#include "VesselFocus.h"

namespace {

// Command ids of the buttons, kept as their object names.
constexpr int ID_CLOSE = 500;
constexpr int ID_START = 501;
constexpr int ID_ENDS = 502;
constexpr int ID_CENTRE = 503;
constexpr int ID_PAUSE = 1027;
constexpr int ID_HISTORY = 1050;

// Size of the window before it is placed: 313 x 278 dialog units.
constexpr QSize TEMPLATE_SIZE(313, 278);

// Milliseconds of the steady clock the title's pace is kept by.
double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
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

CSimDlg::CSimDlg(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    setMouseTracking(true);
    m_hIcon = ApplicationIcon();
    m_runSettingsDialog = [](CSettingsDlg& dialog) { return dialog.exec(); };
    m_runAboutBox = [](QDialog& dialog) { dialog.exec(); };
    m_runMessageBox = [this](const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationName(), text,
                        QMessageBox::Ok, this);
        box.exec();
    };
    m_openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    resize(DialogUnits(font()).ToPixels(TEMPLATE_SIZE));
    // The window cannot be made smaller than the smallest client area its layout takes.
    setMinimumSize(MIN_CLIENT_WIDTH, MIN_CLIENT_HEIGHT);
    m_repaintTimer.setSingleShot(true);
    m_repaintTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_repaintTimer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    m_titleTimer.setSingleShot(true);
    connect(&m_titleTimer, &QTimer::timeout, this, &CSimDlg::ShowTitle);
    CreateButtons();
    // After the buttons, so that the vessel follows them in the tab order.
    m_pVesselFocus = new CVesselFocus(
        this, [this](int key) { return OnVesselKey(key); }, [this] { update(); });
    const auto show = [this](const Changes& changes) { Show(changes); };
    m_pMenu = new CMainMenu(
        *this, m_session, [this] { return MenuStateNow(); },
        [this](const MenuOutcome& outcome) { RunMenuAction(outcome); });
    m_pExport = new CExportMenu(
        *this, [this] { return View().HasFrame() ? &View().Frame() : nullptr; },
        Control().RunHistory());
    m_pRunFiles = new CRunFileMenu(*this, m_session, show);
    RetranslateUi();
}

CSimDlg::~CSimDlg() {
    OnDestroy();
}

QPushButton* CSimDlg::CreateButton(const char* caption, int id, const char* failure, int code,
                                   const std::function<void()>& onClick) {
    if (!FailureSeam::Pass(ResourceStep::CreateWindow)) {
        FatalError(failure, code);
    }
    auto* button = new QPushButton(Tr(caption), this);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, onClick);
    return button;
}

void CSimDlg::CreateButtons() {
    // Made once, in the order and with the failure reports of the layout; every accepted
    // resize only moves them and re-applies their captions and enabled states.
    const RunButtons& run = m_session.Buttons();
    m_pHistoryButton =
        CreateButton(MainTexts::HISTORY, ID_HISTORY, MainTexts::HISTORY_BUTTON_FAILED,
                     MainTexts::EXIT_HISTORY_BUTTON, [this] { OnHistoryButton(); });
    m_pPauseButton =
        CreateButton(run.pauseCaption, ID_PAUSE, MainTexts::PAUSE_BUTTON_FAILED,
                     MainTexts::EXIT_RUN_BUTTON, [this] { Show(m_session.PauseResume()); });
    m_pCentreButton =
        CreateButton(Control().CentreCaption(), ID_CENTRE, MainTexts::CENTRE_BUTTON_FAILED,
                     MainTexts::EXIT_RUN_BUTTON, [this] { Show(m_session.CentreFlame()); });
    m_pEndsButton =
        CreateButton(Control().EndsCaption(), ID_ENDS, MainTexts::ENDS_BUTTON_FAILED,
                     MainTexts::EXIT_RUN_BUTTON, [this] { Show(m_session.EndsFlame()); });
    m_pStartButton =
        CreateButton(run.startCaption, ID_START, MainTexts::START_BUTTON_FAILED,
                     MainTexts::EXIT_RUN_BUTTON, [this] { Show(m_session.StartStop()); });
    m_pCloseButton = CreateButton(MainTexts::CLOSE, ID_CLOSE, MainTexts::CLOSE_BUTTON_FAILED,
                                  MainTexts::EXIT_CLOSE_BUTTON, [this] { OnCloseButton(); });
    m_pPauseButton->setEnabled(run.pauseEnabled);
    m_pStartButton->setEnabled(run.startEnabled);
}

int CSimDlg::DoModal() {
    OnInitDialog();
    // The program lives in this loop, but the main window blocks no other window of the
    // program: the history window's close box must work while it runs. Only the settings
    // dialog and the About box are modal, and only while they are open.
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    // The command line's run file is opened from within the loop, so that closing the window
    // (as a signal does while a message about the file is shown) ends the loop.
    if (!m_startRunFile.isEmpty()) {
        QTimer::singleShot(0, this, [this] { m_pRunFiles->Open(m_startRunFile); });
    }
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
    m_pHistoryDlg = CreateHistoryDlg(Control().Recorder());
    m_pHistoryDlg->SetWholeRun(&Control().RunHistory());
    PlaceWindows();
    // The samples were filled as the session began: the graph shows them.
    m_pHistoryDlg->DrawGraph();
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
    SetTextSize(values.textSize);
}

ProfileValues CSimDlg::Profile() const {
    return ProfileValues{m_rcMainWnd, m_rcHistoryWnd, m_bSaveWindowPos, m_language,
                         View().GetTextSize()};
}

void CSimDlg::SetTextSize(TextSize size) {
    Show(m_session.SetTextSize(size));
}

void CSimDlg::ShowTitle() {
    setWindowTitle(QString::fromStdString(Control().Title()));
    m_titlePace.Shown(NowMs());
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
    LayOutButtons(cx, cy);
    const std::optional<Changes> changes = m_session.Resize(cx, cy);
    const PixelRect frame = View().ViewRect();
    m_pVesselFocus->setGeometry(frame.left, frame.top, frame.Width(), frame.Height());
    Show(*changes);
}

void CSimDlg::LayOutButtons(int cx, int cy) {
    const ButtonRow row = ComputeButtonRow(cx, cy);
    QPushButton* const buttons[] = {m_pHistoryButton, m_pPauseButton, m_pCentreButton,
                                    m_pEndsButton,    m_pStartButton, m_pCloseButton};
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        buttons[i]->setGeometry(row.edges[i], row.top, row.edges[i + 1] - row.edges[i],
                                row.bottom - row.top);
    }
    ShowRunButtons();
    ShowBurnerCaptions();
}

void CSimDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (isMinimized()) {
        return;  // the platform shows the icon
    }
    QPainter painter(this);
    const CVesselView& view = View();
    if (view.HasFrame()) {
        painter.drawImage(QPoint(0, 0), FrameImageOf(view.Frame()));
        // Marks over the frame, not in it, so that the frame and the pictures saved from it
        // stay as they are. The vessel's focus: a dotted line just inside the frame's edge.
        if (m_pVesselFocus != nullptr && m_pVesselFocus->hasFocus()) {
            const PixelRect r = view.ViewRect();
            painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
            painter.drawRect(r.left + 1, r.top + 1, r.Width() - 3, r.Height() - 3);
        }
        auto outline = [&view, &painter](int col, int row) {
            const PixelRect r = view.CellRect(col, row);
            if (r.right > r.left && r.bottom > r.top) {
                painter.drawRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1);
            }
        };
        // The cells the last single step changed.
        painter.setPen(QColor::fromRgba(STEP_CHANGE_COLOUR));
        for (const GridCell& cell : Control().StepChanges()) {
            outline(cell.col, cell.row);
        }
        // The keyboard's cell cursor, in the hover outline's colour: kept in sight while the
        // run redraws its cell.
        if (const std::optional<CellHit> cursor = view.Cursor()) {
            painter.setPen(QColor::fromRgba(HOVER_COLOUR));
            outline(cursor->col, cursor->row);
        }
    }
    m_sinceLastPaint.start();
}

void CSimDlg::StopForFatalMessage() {
    Show(m_session.StopTimer());
    m_repaintTimer.stop();
}

void CSimDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_nTimerId) {
        Show(m_session.Timer());
    } else {
        QDialog::timerEvent(event);
    }
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

void CSimDlg::TicksShown(bool backToBack) {
    if (!backToBack) {
        InvalidateAfterTick();
        return;
    }
    if (!m_titleTimer.isActive()) {
        m_titleTimer.start(static_cast<int>(std::ceil(m_titlePace.WaitMs(NowMs()))));
    }
    // Long messages come back to back: a repaint that is due goes ahead of the next one
    // instead of waiting for a timer behind it.
    if (!m_sinceLastPaint.isValid() || m_sinceLastPaint.elapsed() >= SCREEN_REFRESH_MS) {
        m_repaintTimer.stop();
        update();
    } else {
        InvalidateAfterTick();
    }
}

void CSimDlg::Show(const Changes& changes) {
    if (changes.Has(Shown::StepTimer)) {
        if (m_nTimerId != 0) {
            killTimer(m_nTimerId);
            m_nTimerId = 0;
        }
        if (m_session.StepTimerPeriod() > 0) {
            m_nTimerId = startTimer(m_session.StepTimerPeriod(), Qt::PreciseTimer);
        }
    }
    if (changes.Has(Shown::RunButtons)) {
        ShowRunButtons();
    }
    if (changes.Has(Shown::BurnerCaptions)) {
        ShowBurnerCaptions();
    }
    if (m_pHistoryDlg) {
        if (changes.Has(Shown::GraphReset)) {
            m_pHistoryDlg->DrawGraph();
        } else if (changes.Has(Shown::GraphStale)) {
            m_pHistoryDlg->MarkGraphStale();
        }
        if (changes.Has(Shown::Averages)) {
            m_pHistoryDlg->ShowAverages(m_session.Averages()->first, m_session.Averages()->second);
        }
    }
    if (changes.Has(Shown::Panel)) {
        ShowPanelToScreenReaders();
    }
    if (changes.Has(Shown::Title)) {
        ShowTitle();
    }
    if (changes.Has(Shown::Frame)) {
        update();
    }
    if (changes.Has(Shown::Ticks)) {
        TicksShown(changes.Has(Shown::BackToBack));
    }
    if (changes.Has(Shown::SettingsAsked)) {
        RunSettingsDialog();
    }
    if (changes.Has(Shown::Divergence)) {
        m_runMessageBox(Tr(WarningTexts::DIVERGED));
    }
}

void CSimDlg::ShowRunButtons() {
    const RunButtons& buttons = m_session.Buttons();
    m_pStartButton->setText(Tr(buttons.startCaption));
    m_pPauseButton->setText(Tr(buttons.pauseCaption));
    m_pStartButton->setEnabled(buttons.startEnabled);
    m_pPauseButton->setEnabled(buttons.pauseEnabled);
}

void CSimDlg::ShowBurnerCaptions() {
    m_pEndsButton->setText(Tr(Control().EndsCaption()));
    m_pCentreButton->setText(Tr(Control().CentreCaption()));
}

void CSimDlg::RunSettingsDialog() {
    const std::optional<CRunSession::SettingsRequest>& request = m_session.Request();
    CSettingsDlg dialog(this);
    dialog.SetSettings(request->current);
    dialog.m_bCanContinue = request->canContinue ? 1 : 0;
    if (m_runSettingsDialog(dialog) != QDialog::Accepted) {
        Show(m_session.CancelStart());
        return;
    }
    Show(m_session.Start(StartAnswer{dialog.Settings(), dialog.continueRun != 0}));
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
            const Changes held = m_session.HoldTimer();
            Show(held);
            CAboutDlg about(this);
            m_runAboutBox(about);
            Show(m_session.ReleaseTimer(held));
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
    m_pMenu->Exec(event->globalPos());
}

void CSimDlg::OpenGuide() {
    const std::string language = m_language == UiLanguage::English ? "en" : "ja";
    const std::string page =
        FindGuidePage(QCoreApplication::applicationDirPath().toStdString(), language);
    if (!page.empty() && m_openUrl(QUrl::fromLocalFile(QString::fromStdString(page)))) {
        return;
    }
    const QString where =
        page.empty() ? QString::fromStdString(language + ".html") : QString::fromStdString(page);
    m_runMessageBox(Tr(MainTexts::GUIDE_MISSING) + "\n" + where);
}

void CSimDlg::closeEvent(QCloseEvent* event) {
    // The title bar's close box: the system Close command.
    CaptureWindowRects();
    QDialog::closeEvent(event);
}

void CSimDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
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
    Show(m_session.MouseMove(point.x(), point.y()));
}

void CSimDlg::OnLButtonUp(const QPoint& point) {
    Show(m_session.LButtonUp(point.x(), point.y()));
}

void CSimDlg::OnDestroy() {
    if (m_bDestroyed) {
        return;
    }
    m_bDestroyed = true;
    Show(m_session.Release());
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
}

void CSimDlg::SetLanguage(UiLanguage language) {
    // Installing the translators sends every window QEvent::LanguageChange; each window
    // then shows its texts again in the new language.
    SetUiLanguage(language);
    m_language = CurrentUiLanguage();
}

void CSimDlg::RetranslateUi() {
    const RunButtons& run = m_session.Buttons();
    const std::pair<QPushButton*, std::pair<const char*, const char*>> buttons[] = {
        {m_pHistoryButton, {MainTexts::HISTORY, MainTexts::HISTORY_TIP}},
        {m_pPauseButton, {run.pauseCaption, MainTexts::PAUSE_TIP}},
        {m_pCentreButton, {Control().CentreCaption(), MainTexts::CENTRE_TIP}},
        {m_pEndsButton, {Control().EndsCaption(), MainTexts::ENDS_TIP}},
        {m_pStartButton, {run.startCaption, MainTexts::START_TIP}},
        {m_pCloseButton, {MainTexts::CLOSE, MainTexts::CLOSE_TIP}}};
    for (const auto& [button, texts] : buttons) {
        if (button != nullptr) {
            button->setText(Tr(texts.first));
            button->setToolTip(Tr(texts.second));
        }
    }
    if (m_pVesselFocus != nullptr) {
        m_pVesselFocus->setAccessibleName(Tr(MainTexts::VESSEL_NAME));
    }
}

QWidget* CSimDlg::VesselFocus() const {
    return m_pVesselFocus;
}

bool CSimDlg::OnVesselKey(int key) {
    static const std::pair<int, CursorKey> keys[] = {
        {Qt::Key_Left, CursorKey::Left},    {Qt::Key_Right, CursorKey::Right},
        {Qt::Key_Up, CursorKey::Up},        {Qt::Key_Down, CursorKey::Down},
        {Qt::Key_Space, CursorKey::Select}, {Qt::Key_Escape, CursorKey::Leave}};
    for (const auto& [qtKey, cursorKey] : keys) {
        if (qtKey == key) {
            const std::optional<Changes> changes = m_session.OnCursorKey(cursorKey);
            if (changes) {
                Show(*changes);
            }
            return changes.has_value();
        }
    }
    return false;
}

void CSimDlg::ShowPanelToScreenReaders() {
    if (m_pVesselFocus == nullptr) {
        return;
    }
    QString text;
    if (const std::optional<CellInfoText> panel = View().PanelText()) {
        text = QString::fromStdString(panel->cell + "\n" + panel->temperature + "\n" + panel->heat);
    }
    if (text != m_pVesselFocus->accessibleDescription()) {
        m_pVesselFocus->setAccessibleDescription(text);
        QAccessibleEvent event(m_pVesselFocus, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
}
