#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ButtonRow.h"
#include "Drawing.h"
#include "HistoryPanel.h"
#include "MenuModel.h"
#include "RunSession.h"
#include "SettingsForm.h"
#include "Texts.h"
#include "TitlePace.h"

// The program behind the web page: the run session and the history graph. The page turns its
// events into the calls below and reads back what to show after each one; every rule
// (captions, enabled states, the settings' checks, the frame's pixels) stays in the engine.
//
// A start is asked in two calls: StartStop opens the settings dialog (SettingsView then tells
// what it shows) and AnswerStart or CancelStart closes it.
class WebApp {
public:
    WebApp();

    // --- The main window.
    // A new client size: the frame is made for it and drawn again; false for a size the
    // window does not take (it then keeps its layout).
    bool Resize(int cx, int cy);
    int ClientWidth() const { return m_cx; }
    int ClientHeight() const { return m_cy; }
    ButtonRow Buttons() const { return ComputeButtonRow(m_cx, m_cy); }
    // The frame as the window shows it at (0, 0): the view's part of the client area, as bytes
    // R, G, B, A (opaque) row by row from the top.
    const std::vector<std::uint8_t>& FrameRgba();
    int FrameWidth() const { return View().Frame().Width(); }
    int FrameHeight() const { return View().Frame().Height(); }
    // Whether the frame changed since it was last taken.
    bool FrameChanged() const { return m_bFrameChanged; }

    // --- Commands: the six buttons, the mouse and the context menu.
    // Start/stop: stops a running run, or opens the settings dialog (true).
    bool StartStop();
    void PauseResume() { Show(m_session.PauseResume()); }
    void EndsFlame() { Show(m_session.EndsFlame()); }
    void CentreFlame() { Show(m_session.CentreFlame()); }
    void OnTimer() { Show(m_session.Timer()); }
    // The step timer held while a box is open: true when it was running.
    bool HoldTimer();
    void ReleaseTimer(bool wasRunning);
    void MouseMove(int x, int y) { Show(m_session.MouseMove(x, y)); }
    void LButtonUp(int x, int y) { Show(m_session.LButtonUp(x, y)); }
    // The info panel's three lines as it shows them now (the hovered or the selected cell),
    // one per line; empty before a run has started.
    std::string PanelText() const { return m_session.PanelText(); }

    // --- The context menu as the page offers it: no window positions, run files or text sizes
    // yet, the guide when the site carries one. An item is chosen by the menu or by a key
    // (MenuKeyItem); what the choice leaves to the page comes back.
    std::vector<MenuItem> Menu() const;
    MenuOutcome ChooseMenuItem(MenuId id);
    void SetMenuLanguage(MenuLanguage language) { m_menuLanguage = language; }
    void SetGuideShown(bool shown) { m_bGuideShown = shown; }

    // --- The settings dialog: the settings form's (SettingsForm.h) while it is open.
    // What the open dialog shows, its texts put into the page's language by `translate`;
    // none while it is closed.
    std::optional<SettingsFormView> SettingsView(const TranslateText& translate = {}) const;
    // The continue box clicked, and DEFAULT confirmed: SettingsView then shows the change.
    void SetContinue(bool ticked);
    void ResetSettings();
    // The dialog's OK with the texts of its fields, in the view's order: a refusal or the
    // question about unsound settings keep the dialog open; a start closes it and starts.
    SettingsFormAnswer AnswerStart(const std::vector<std::string>& texts, bool runUnsound,
                                   const TranslateText& translate = {});
    void CancelStart();

    // --- The address: a setting under its runner option's name (without "--"), a burner
    // ("ends", "centre") or the seed. The error names what is wrong; empty when taken.
    std::string ApplyOption(const std::string& name, const std::string& value);
    // Every pair of the address in its order: an option given more than once is refused as the
    // runner refuses it, and none of its values is used. The errors, one a line, in order.
    std::vector<std::string> ApplyAddress(
        const std::vector<std::pair<std::string, std::string>>& pairs);

    // --- What the page shows.
    const CRunControl& Control() const { return m_session.Control(); }
    const RunButtons& ShownButtons() const { return m_session.Buttons(); }
    bool TimerOn() const { return m_session.StepTimerPeriod() > 0; }
    int TimerPeriod() const { return m_nTimerPeriod; }
    // Counts the step timer's (re)starts: the page restarts its pacing when it changes.
    int TimerStarts() const { return m_nTimerStarts; }
    // The averages of the last tick, for the history panel's status bar; none yet.
    // The last averages shown: whole numbers, or NaN or an infinity where cells are not finite.
    const std::optional<std::pair<double, double>>& Averages() const {
        return m_session.Averages();
    }
    // Whether the run has paused on cells that are not finite or below absolute zero since
    // the last call: the page then says so once.
    bool TakeDivergence() { return std::exchange(m_bDivergencePending, false); }
    const CVesselView& View() const { return m_session.View(); }
    std::uint32_t Seed() const { return m_session.Simulation().Seed(); }
    long long TicksRun() const { return m_session.Simulation().TicksRun(); }

    // --- The history panel (CHistoryPanel): its graph made for a client area of cx x cy; true
    // when it was made anew, false for the size it has or one it does not take.
    bool ResizeGraph(int cx, int cy);
    // The graph as bytes R, G, B, A (opaque) row by row from the top; empty before a size.
    const std::vector<std::uint8_t>& GraphRgba();
    int GraphWidth() const { return m_history.GraphWidth(); }
    int GraphHeight() const { return m_history.GraphHeight(); }
    // Whether the graph changed since it was last taken.
    bool GraphChanged() const { return m_history.Changed(); }
    // A part of the status bar (CHistoryPanel::TEMPERATURE_PART, HEAT_PART) as it reads now.
    std::string HistoryStatus(int part) const { return m_history.StatusText(part); }
    // The whole run on axes, or the last 100 samples; false when the view stays as it was.
    bool ShowWholeRun(bool whole) { return m_history.ShowWholeRun(whole); }
    bool ShowsWholeRun() const { return m_history.ShowsWholeRun(); }
    // The language the panel's texts are given in: English, or the program's Japanese.
    void SetEnglish(bool english);

    // The window title to show at `nowMs` (milliseconds of the page's steady clock), when there
    // is one: a command's at once, the ticks' at most every 100 ms (CTitlePace) while the run
    // steps, and at once when it has stopped stepping.
    std::optional<std::string> TitleToShow(double nowMs);

    // The whole run's history as the CSV file the desktop saves.
    std::string HistoryCsv() const;

private:
    // Takes what a command of the session changed into what the page reads back.
    void Show(const Changes& changes);
    MenuState MenuNow() const;

    CRunSession m_session;
    std::optional<Changes> m_held;  // what HoldTimer held, until it is released
    int m_cx = 0;
    int m_cy = 0;
    std::vector<std::uint8_t> m_frameRgba;
    bool m_bFrameChanged = true;

    int m_nTimerPeriod = 0;  // the last period the step timer started with
    int m_nTimerStarts = 0;
    bool m_bDivergencePending = false;
    MenuLanguage m_menuLanguage = MenuLanguage::Japanese;
    bool m_bGuideShown = false;

    // The settings the first dialog shows: the program's, or the address's.
    SimulationSettings m_firstSettings;
    std::optional<CSettingsForm> m_form;  // the open settings dialog

    bool m_bEnglish = false;
    CHistoryPanel m_history{
        m_session.Control().Recorder(), [this](const char* japanese) {
            return std::string(m_bEnglish ? Texts::InEnglish(japanese) : japanese);
        }};
    std::vector<std::uint8_t> m_graphRgba;

    CTitlePace m_titlePace;
    bool m_bTitleNow = true;      // the title is to be shown at once (nothing shown yet)
    bool m_bTitleTicked = false;  // ticks at a faster speed changed the title
};
