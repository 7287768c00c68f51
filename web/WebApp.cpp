#include "WebApp.h"

#include <string_view>

#include "HistoryTexts.h"
#include "NumberText.h"
#include "RunHistory.h"
#include "RunSpeed.h"
#include "SettingsSchema.h"
#include "SettingsWarning.h"

namespace {

// The burner levels by the names the runner's options take.
constexpr std::pair<std::string_view, int> LEVEL_NAMES[] = {
    {"off", FLAME_OFF}, {"strong", FLAME_STRONG}, {"medium", FLAME_MEDIUM}, {"weak", FLAME_WEAK}};

// The speeds by the numbers of their labels ("×1000" as 1000), the fastest as "max".
constexpr std::string_view SPEED_NAMES[RunSpeed::COUNT] = {"1",    "10",    "100",
                                                           "1000", "10000", "max"};

// 0xAARRGGBB words as bytes R, G, B, A, every pixel opaque as the screen shows it.
void ToRgba(const PixelBuffer& pixels, std::vector<std::uint8_t>& rgba) {
    const int width = pixels.Width();
    const int height = pixels.Height();
    rgba.resize(static_cast<std::size_t>(width) * height * 4);
    std::uint8_t* out = rgba.data();
    for (int y = 0; y < height; ++y) {
        const Rgb* row = pixels.Bits() + static_cast<std::size_t>(y) * pixels.Stride();
        for (int x = 0; x < width; ++x, out += 4) {
            out[0] = static_cast<std::uint8_t>(RedOf(row[x]));
            out[1] = static_cast<std::uint8_t>(GreenOf(row[x]));
            out[2] = static_cast<std::uint8_t>(BlueOf(row[x]));
            out[3] = 0xFF;
        }
    }
}

}  // namespace

WebApp::WebApp() {
    m_sim.SetRedrawObserver(&m_cellBatch);
    m_history.SetWholeRun(&m_control.RunHistory());
    m_shownButtons = m_control.Buttons();
    // As the desktop window does when it opens.
    m_control.ResetHistory(m_sim.InitialTemperature());
    m_control.SetHistoryInterval(DEFAULT_HISTORY_INTERVAL);
    m_firstSettings = m_sim.CurrentSettings(m_control.HistoryInterval());
}

bool WebApp::Resize(int cx, int cy) {
    if (!AcceptsClientSize(cx, cy)) {
        return false;
    }
    m_cx = cx;
    m_cy = cy;
    m_view.CreateFrame(cx, cy);
    m_view.FullRebuild(m_control.HasStarted());
    m_bFrameChanged = true;
    return true;
}

const std::vector<std::uint8_t>& WebApp::FrameRgba() {
    m_bFrameChanged = false;
    if (m_view.HasFrame()) {
        ToRgba(m_view.Frame(), m_frameRgba);
    } else {
        m_frameRgba.clear();
    }
    return m_frameRgba;
}

bool WebApp::StartStop() {
    m_control.OnStartStop();
    return m_request.has_value();
}

void WebApp::MouseMove(int x, int y) {
    if (!m_control.HasStarted() || !m_view.HasFrame()) {
        return;
    }
    m_view.MouseMove(x, y);
    m_bFrameChanged = true;
}

void WebApp::LButtonUp(int x, int y) {
    if (!m_control.HasStarted() || !m_view.HasFrame()) {
        return;
    }
    if (m_view.LButtonUp(x, y)) {
        m_bFrameChanged = true;
    }
}

std::string WebApp::PanelText() const {
    if (!m_control.HasStarted() || !m_sim.HasGrid()) {
        return {};
    }
    const CellHit cell = m_view.ShowsSelected() ? m_view.Selection() : m_view.Hover();
    if (cell.col < 0 || cell.row < 0 || cell.col >= m_sim.Columns() || cell.row >= m_sim.Rows()) {
        return {};
    }
    const CellInfoText text =
        CVesselView::FormatCellInfo(cell.col, cell.row, m_sim.Cell(cell.row, cell.col));
    return text.cell + "\n" + text.temperature + "\n" + text.heat;
}

WebApp::FieldRefusal WebApp::AnswerStart(const std::vector<std::string>& texts, bool continueRun,
                                         bool runUnsound,
                                         const std::function<std::string(const char*)>& translate) {
    if (!m_request) {
        return {};
    }
    // As the dialog's exchange: the fields in the table's order, the first refused one
    // reported; while continuing, the fields that fix the starting grid are neither read nor
    // checked.
    SimulationSettings settings = m_request->current;
    const bool continuing = m_request->canContinue && continueRun;
    std::size_t index = 0;
    for (const SettingField& field : SETTING_FIELDS) {
        if (field.kind == SettingKind::Check) {
            continue;
        }
        const std::string text = index < texts.size() ? texts[index] : std::string();
        ++index;
        if (continuing && field.fixesStartGrid) {
            continue;
        }
        const FieldError error = ReadSettingField(field, text, settings);
        if (error != FieldError::None) {
            return {field.id, SettingPrompt(field, error), error == FieldError::OutOfRange, {}};
        }
    }
    if (!runUnsound) {
        const auto asGiven = [](const char* japanese) { return std::string(japanese); };
        const auto& shown = translate ? translate : asGiven;
        std::string warning = SettingsWarning(settings, shown);
        if (!warning.empty()) {
            FieldRefusal refusal;
            refusal.id = FirstUnsoundField(settings);
            refusal.unsoundWarning = warning + '\n' + shown(WarningTexts::RUN_ANYWAY);
            return refusal;
        }
    }
    settings.continueRun = continuing;
    m_request.reset();
    m_answer = StartAnswer{settings, continuing};
    // The start the run control makes with this answer: the dialog answers at once.
    m_control.OnStartStop();
    m_answer.reset();
    return {};
}

void WebApp::CancelStart() {
    if (!m_request) {
        return;
    }
    m_request.reset();
    ShowRunButtons(m_control.Buttons());
}

std::string WebApp::ApplyOption(const std::string& name, const std::string& value) {
    // Named alike in both languages: the pair as given and what it may be.
    const std::string shown = name + "=" + value;
    if (name == "seed") {
        std::uint32_t seed = 0;
        if (!ParseInteger(value, seed)) {
            return shown + " (0 - 4294967295)";
        }
        m_sim.SetSeed(seed);
        return {};
    }
    if (name == "ends" || name == "centre") {
        for (const auto& [levelName, level] : LEVEL_NAMES) {
            if (value == levelName) {
                if (name == "ends") {
                    m_sim.SetFlames(level, m_sim.CentreFlame());
                } else {
                    m_sim.SetFlames(m_sim.EndsFlame(), level);
                }
                return {};
            }
        }
        return shown + " (off, strong, medium, weak)";
    }
    if (name == "speed") {
        for (int speed = 0; speed < RunSpeed::COUNT; ++speed) {
            if (value == SPEED_NAMES[speed]) {
                m_control.SetSpeed(speed);
                return {};
            }
        }
        return shown + " (1, 10, 100, 1000, 10000, max)";
    }
    const SettingField* field = FindSettingOption("--" + name);
    if (field == nullptr) {
        return shown + " (?)";
    }
    switch (ReadSettingField(*field, value, m_firstSettings)) {
        case FieldError::None:
            if (field->intValue == &SimulationSettings::historyInterval) {
                m_control.SetHistoryInterval(m_firstSettings.historyInterval);
            }
            return {};
        case FieldError::OutOfRange:
        case FieldError::NotANumber:
            break;
    }
    if (field->bounded) {
        return shown + " (" + SettingBoundText(*field, field->low) + " - " +
               SettingBoundText(*field, field->high) + ")";
    }
    return shown;
}

bool WebApp::ResizeGraph(int cx, int cy) {
    // The page's panel reports its size whenever its box may have changed.
    if (m_history.HasSurface() && cx == m_history.GraphWidth() &&
        cy - CHistoryPanel::STATUS_BAR_HEIGHT == m_history.GraphHeight()) {
        return false;
    }
    return m_history.Resize(cx, cy);
}

const std::vector<std::uint8_t>& WebApp::GraphRgba() {
    const PixelBuffer* graph = m_history.Graph();
    if (graph == nullptr) {
        m_graphRgba.clear();
    } else {
        ToRgba(*graph, m_graphRgba);
    }
    return m_graphRgba;
}

void WebApp::SetEnglish(bool english) {
    if (english != m_bEnglish) {
        m_bEnglish = english;
        if (m_history.ShowsWholeRun()) {
            m_history.Redraw();  // the legend and the axis name
        }
    }
}

std::optional<std::string> WebApp::TitleToShow(double nowMs) {
    if (!m_bTitleNow && !(m_bTitleTicked && m_titlePace.Due(nowMs))) {
        return std::nullopt;
    }
    m_bTitleNow = false;
    m_bTitleTicked = false;
    m_titlePace.Shown(nowMs);
    return m_control.Title();
}

std::string WebApp::HistoryCsv() const {
    // The lines the desktop's file gets, in memory: the page hands them over as a download.
    std::string csv = HISTORY_CSV_HEADER;
    for (const CRunHistory::Entry& entry : m_control.RunHistory().Entries()) {
        csv += FormatHistoryCsvLine(entry.tick, entry.temperature, entry.heat);
    }
    return csv;
}

void WebApp::StartStepTimer(int periodMs) {
    m_bTimerOn = true;
    m_nTimerPeriod = periodMs;
    ++m_nTimerStarts;
}

void WebApp::StopStepTimer() {
    m_bTimerOn = false;
}

void WebApp::ShowRunButtons(const RunButtons& buttons) {
    // While the settings dialog is open the buttons stay as it opened them.
    if (!m_request) {
        m_shownButtons = buttons;
    }
}

void WebApp::DrawFlames() {
    m_view.DrawFlames(m_sim.EndsFlame(), m_sim.CentreFlame());
    m_bFrameChanged = true;
}

std::optional<StartAnswer> WebApp::RunSettingsDialog(const SimulationSettings& current,
                                                     bool canContinue) {
    if (m_answer) {
        return m_answer;
    }
    // Until a run has started the dialog shows the address's settings, if it gave any.
    m_request = SettingsRequest{m_control.HasStarted() ? current : m_firstSettings, canContinue};
    return std::nullopt;
}

void WebApp::ShowOpenedRun(const RunFile& run) {
    m_view.ShowRunReadBack(run.selectedCol, run.selectedRow, run.bubbleBackgrounds);
    m_bFrameChanged = true;
}

void WebApp::ShowFreshRun() {
    m_view.CentreInspection();
    m_view.FullRebuild(true);
    m_bFrameChanged = true;
}
