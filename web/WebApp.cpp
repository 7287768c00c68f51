#include "WebApp.h"

#include <algorithm>
#include <string_view>

#include "Burners.h"
#include "EscapeControls.h"
#include "HistoryTexts.h"
#include "NumberText.h"
#include "RunHistory.h"
#include "RunSpeed.h"
#include "SettingsSchema.h"

namespace {

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
    m_history.SetWholeRun(&m_session.Control().RunHistory());
    m_firstSettings = m_session.Simulation().CurrentSettings(m_session.Control().HistoryInterval());
}

void WebApp::Show(const Changes& changes) {
    if (changes.Has(Shown::Frame) || changes.Has(Shown::Ticks)) {
        m_bFrameChanged = true;
    }
    if (changes.Has(Shown::StepTimer) && m_session.StepTimerPeriod() > 0) {
        m_nTimerPeriod = m_session.StepTimerPeriod();
        ++m_nTimerStarts;
    }
    if (changes.Has(Shown::GraphReset)) {
        m_history.Redraw();
    } else if (changes.Has(Shown::GraphStale)) {
        m_history.MarkStale();
    }
    if (changes.Has(Shown::Averages)) {
        m_history.ShowAverages(Averages()->first, Averages()->second);
    }
    // The page asks for the title as it paints (TitleToShow).
    m_bTitleNow = m_bTitleNow || changes.Has(Shown::Title);
    m_bTitleTicked = m_bTitleTicked || changes.Has(Shown::BackToBack);
    if (changes.Has(Shown::Divergence)) {
        m_bDivergencePending = true;
    }
    if (const auto& request = m_session.Request(); changes.Has(Shown::SettingsAsked) && request) {
        m_form.emplace();
        m_form->SetValues(request->current);
        m_form->Open(request->canContinue);
    }
}

bool WebApp::Resize(int cx, int cy) {
    const std::optional<Changes> changes = m_session.Resize(cx, cy);
    if (!changes) {
        return false;
    }
    m_cx = cx;
    m_cy = cy;
    Show(*changes);
    return true;
}

bool WebApp::HoldTimer() {
    const Changes held = m_session.HoldTimer();
    Show(held);
    return held.Has(Shown::StepTimer);
}

void WebApp::ReleaseTimer(bool wasRunning) {
    Show(m_session.ReleaseTimer(wasRunning ? Changes(Shown::StepTimer) : Changes()));
}

const std::vector<std::uint8_t>& WebApp::FrameRgba() {
    m_bFrameChanged = false;
    if (View().HasFrame()) {
        ToRgba(View().Frame(), m_frameRgba);
    } else {
        m_frameRgba.clear();
    }
    return m_frameRgba;
}

bool WebApp::StartStop() {
    Show(m_session.StartStop());
    return m_form.has_value();
}

std::optional<SettingsFormView> WebApp::SettingsView(const TranslateText& translate) const {
    if (!m_form) {
        return std::nullopt;
    }
    return m_form->View(translate);
}

void WebApp::SetContinue(bool ticked) {
    if (m_form) {
        m_form->SetContinue(ticked);
    }
}

void WebApp::ResetSettings() {
    if (m_form) {
        m_form->ResetToDefaults();
    }
}

SettingsFormAnswer WebApp::AnswerStart(const std::vector<std::string>& texts, bool runUnsound,
                                       const TranslateText& translate) {
    if (!m_form) {
        return {};
    }
    const SettingsFormAnswer answer = m_form->Answer(texts, runUnsound, translate);
    if (answer.kind == SettingsFormAnswer::Kind::Start) {
        m_form.reset();
        Show(m_session.Start(StartAnswer{answer.settings, answer.settings.continueRun}));
    }
    return answer;
}

void WebApp::CancelStart() {
    m_form.reset();
    Show(m_session.CancelStart());
}

std::string WebApp::ApplyOption(const std::string& name, const std::string& value) {
    // Named alike in both languages: the pair as given (escaped and cut short, since the
    // address is anyone's) and what it may be.
    const std::string shown = EscapeControls(name) + "=" + EscapeControls(value);
    if (name == "seed") {
        std::uint32_t seed = 0;
        if (!ParseInteger(value, seed)) {
            return shown + " (0 - 4294967295)";
        }
        m_session.Simulation().SetSeed(seed);
        return {};
    }
    if (name == "ends" || name == "centre") {
        const std::optional<FlameLevel> level = FlameLevelFromName(value);
        if (!level) {
            return shown + " (" + FlameLevelChoices(", ") + ")";
        }
        CSimulation& sim = m_session.Simulation();
        if (name == "ends") {
            sim.SetFlames(*level, sim.CentreFlame());
        } else {
            sim.SetFlames(sim.EndsFlame(), *level);
        }
        return {};
    }
    if (name == "speed") {
        for (int speed = 0; speed < RunSpeed::COUNT; ++speed) {
            if (value == SPEED_NAMES[speed]) {
                Show(m_session.SetSpeed(speed));
                return {};
            }
        }
        return shown + " (1, 10, 100, 1000, 10000, max)";
    }
    const SettingField* field = FindSettingOption("--" + name);
    if (field == nullptr) {
        return shown + " (?)";
    }
    const FieldError error = ReadSettingField(*field, value, m_firstSettings);
    m_session.SetFirstSettings(m_firstSettings);
    switch (error) {
        case FieldError::None:
            if (field->intValue == &SimulationSettings::historyInterval) {
                m_session.SetHistoryInterval(m_firstSettings.historyInterval);
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

std::vector<std::string> WebApp::ApplyAddress(
    const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::vector<std::string> errors;
    std::vector<std::string> refused;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const std::string& name = pairs[i].first;
        const auto again = [&name](const auto& pair) { return pair.first == name; };
        if (std::find(refused.begin(), refused.end(), name) != refused.end()) {
            continue;
        }
        if (std::any_of(pairs.begin() + static_cast<std::ptrdiff_t>(i) + 1, pairs.end(), again)) {
            refused.push_back(name);
            errors.push_back(EscapeControls(name) + " given twice (each option may be given once)");
            continue;
        }
        if (std::string error = ApplyOption(name, pairs[i].second); !error.empty()) {
            errors.push_back(std::move(error));
        }
    }
    return errors;
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
    // The ticks' title waits for its pace while the run steps; once it no longer does, no
    // later ticks will show it, so it is shown at once.
    const bool ticked = m_bTitleTicked && (m_titlePace.Due(nowMs) || !TimerOn());
    if (!m_bTitleNow && !ticked) {
        return std::nullopt;
    }
    m_bTitleNow = false;
    m_bTitleTicked = false;
    m_titlePace.Shown(nowMs);
    return Control().Title();
}

std::string WebApp::HistoryCsv() const {
    // The lines the desktop's file gets, in memory: the page hands them over as a download.
    std::string csv = HISTORY_CSV_HEADER;
    for (const CRunHistory::Entry& entry : Control().RunHistory().Entries()) {
        csv += FormatHistoryCsvLine(entry.tick, entry.temperature, entry.heat);
    }
    return csv;
}

MenuState WebApp::MenuNow() const {
    MenuState state = MenuStateOf(Control());
    state.hasFrame = View().HasFrame();
    state.hasHistory = true;  // the page's history panel is always there
    state.language = m_menuLanguage;
    state.offersWindowPositions = false;
    state.offersRunFiles = false;
    state.offersTextSizes = false;
    state.offersGuide = m_bGuideShown;
    return state;
}

std::vector<MenuItem> WebApp::Menu() const {
    return ContextMenuItems(MenuNow());
}

MenuOutcome WebApp::ChooseMenuItem(MenuId id) {
    const MenuOutcome outcome = ::ChooseMenuItem(m_session, MenuNow(), id);
    Show(outcome.changes);
    return outcome;
}
