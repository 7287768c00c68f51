#include "RunFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <sstream>
#include <utility>

#include "Burners.h"
#include "NumberText.h"
#include "SettingsSchema.h"
#include "Simulation.h"

namespace {

// The record name of a settings field: its runner option without the dashes.
std::string_view SettingKey(const SettingField& field) {
    if (field.option != nullptr) {
        return std::string_view(field.option).substr(2);
    }
    return field.id == IDC_STEP_INTERVAL ? "step-interval" : "";
}

bool IsNumericSetting(const SettingField& field) {
    return field.kind != SettingKind::Check && !SettingKey(field).empty();
}

std::string LevelName(int level) {
    const std::string_view name = FlameLevelName(level);
    return name.empty() ? "?" : std::string(name);
}

// %.17g in every locale: the digits that read back to the same double. Through a
// classic-locale stream, as the C++ library of the WebAssembly build has no floating-point
// to_chars.
void AppendReal(std::string& text, double value) {
    static thread_local std::ostringstream out = [] {
        std::ostringstream stream;
        stream.imbue(std::locale::classic());
        stream.precision(17);
        return stream;
    }();
    out.str(std::string());
    out << value;
    text += out.str();
}

void AppendInteger(std::string& text, long long value) {
    text += FormatInteger(value);
}

std::string GeneratorText(const std::mt19937& generator) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << generator;
    return out.str();
}

std::string ColourText(std::uint32_t colour) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%06x", colour & 0xFFFFFFu);
    return buffer;
}

// The text split into lines, read in order; every fault names the line it is in.
class Reader {
public:
    explicit Reader(std::string_view text) : m_text(text) {}

    // The next line's words after `key`, which must be its first word. False (with the
    // fault) when the text ends or the line holds another record.
    bool Record(std::string_view key, std::vector<std::string_view>& words) {
        if (!NextLine()) {
            return Fail("the file ends before '" + std::string(key) + "' (it is cut short)");
        }
        words = Split(m_line);
        if (words.empty() || words[0] != key) {
            return Fail("'" + std::string(key) + "' expected, found '" + Shown(m_line) + "'");
        }
        words.erase(words.begin());
        return true;
    }
    // A record of exactly `count` words after its key.
    bool Record(std::string_view key, std::size_t count, std::vector<std::string_view>& words) {
        if (!Record(key, words)) {
            return false;
        }
        if (words.size() != count) {
            return Fail("'" + std::string(key) + "' needs " + std::to_string(count) +
                        (count == 1 ? " value" : " values") + ", found " +
                        std::to_string(words.size()));
        }
        return true;
    }
    // A line of exactly `count` words, without a key (the rows of a table).
    bool Row(std::string_view table, std::size_t minCount, std::size_t maxCount,
             std::vector<std::string_view>& words) {
        if (!NextLine()) {
            return Fail("the file ends inside '" + std::string(table) + "' (it is cut short)");
        }
        words = Split(m_line);
        if (words.size() < minCount || words.size() > maxCount) {
            return Fail("a line of '" + std::string(table) + "' expected, found '" + Shown(m_line) +
                        "'");
        }
        return true;
    }
    bool AtEnd() const { return m_pos >= m_text.size(); }

    bool Fail(const std::string& what) {
        m_error = "line " + std::to_string(m_lineNumber) + ": " + what;
        return false;
    }
    const std::string& Error() const { return m_error; }

    // Numbers of a record, each named for its fault.
    template <typename Int>
    bool Integer(std::string_view word, std::string_view what, Int low, Int high, Int& value) {
        Int parsed{};
        const auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), parsed);
        if (ec == std::errc::result_out_of_range) {
            return Fail(std::string(what) + " '" + Shown(word) + "' is out of range");
        }
        if (ec != std::errc() || ptr != word.data() + word.size()) {
            return Fail(std::string(what) + " '" + Shown(word) + "' is not an integer");
        }
        if (parsed < low || parsed > high) {
            return Fail(std::string(what) + " " + std::string(word) + " is out of range (" +
                        std::to_string(low) + " to " + std::to_string(high) + ")");
        }
        value = parsed;
        return true;
    }
    template <typename Int>
    bool Integer(std::string_view word, std::string_view what, Int& value) {
        return Integer(word, what, std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max(),
                       value);
    }
    bool Real(std::string_view word, std::string_view what, double& value) {
        const std::string lower = Lower(word);
        if (lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos) {
            return Fail(std::string(what) + " '" + Shown(word) + "' is not a finite number");
        }
        if (TrimBlanks(word) != word || !ParseReal(word, value)) {
            return Fail(std::string(what) + " '" + Shown(word) + "' is not a number");
        }
        return true;
    }

    // A word as a fault shows it: control characters escaped, long words cut.
    static std::string Shown(std::string_view word) {
        return EscapeText(word.substr(0, 60)) + (word.size() > 60 ? "..." : "");
    }

private:
    bool NextLine() {
        if (AtEnd()) {
            return false;
        }
        const std::size_t end = m_text.find('\n', m_pos);
        const std::size_t stop = end == std::string_view::npos ? m_text.size() : end;
        m_line = m_text.substr(m_pos, stop - m_pos);
        m_pos = end == std::string_view::npos ? m_text.size() : end + 1;
        ++m_lineNumber;
        return true;
    }
    // Words are separated by one space each; any other blank is part of a word (and then
    // refused by its reader).
    static std::vector<std::string_view> Split(std::string_view line) {
        std::vector<std::string_view> words;
        std::size_t start = 0;
        while (start <= line.size()) {
            const std::size_t space = line.find(' ', start);
            const std::size_t stop = space == std::string_view::npos ? line.size() : space;
            words.push_back(line.substr(start, stop - start));
            if (space == std::string_view::npos) {
                break;
            }
            start = space + 1;
        }
        if (words.size() == 1 && words[0].empty()) {
            words.clear();
        }
        return words;
    }
    static std::string Lower(std::string_view word) {
        std::string lower(word);
        for (char& c : lower) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return lower;
    }
    static std::string EscapeText(std::string_view word) {
        std::string shown;
        for (const char c : word) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 || byte == 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
                shown += escaped;
            } else {
                shown += c;
            }
        }
        return shown;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::string_view m_line;
    int m_lineNumber = 0;
    std::string m_error;
};

bool ReadLevel(Reader& reader, std::string_view key, int& level) {
    std::vector<std::string_view> words;
    if (!reader.Record(key, 1, words)) {
        return false;
    }
    if (const std::optional<FlameLevel> named = FlameLevelFromName(words[0])) {
        level = *named;
        return true;
    }
    return reader.Fail("burner level '" + Reader::Shown(words[0]) + "' does not exist (" +
                       FlameLevelChoices(" or ") + ")");
}

// One cell of a grid: "phase temperature heat", and for a bubble of the live grid what it
// stands on.
bool ReadCell(Reader& reader, std::string_view table, bool live, CCell& cell,
              std::uint32_t& background) {
    std::vector<std::string_view> words;
    if (!reader.Row(table, 3, live ? 4 : 3, words)) {
        return false;
    }
    int phase = 0;
    if (!reader.Integer(words[0], "phase", phase)) {
        return false;
    }
    if (phase != PHASE_LIQUID && phase != PHASE_VAPOUR) {
        return reader.Fail("phase " + std::string(words[0]) + " is neither 1 nor -1");
    }
    if (!reader.Real(words[1], "temperature", cell.m_dTemperature) ||
        !reader.Real(words[2], "heat", cell.m_dHeat)) {
        return false;
    }
    cell.m_nPhase = phase;
    background = 0;
    if (live && (phase == PHASE_VAPOUR) != (words.size() == 4)) {
        return reader.Fail(phase == PHASE_VAPOUR ? "a bubble needs the colour it stands on"
                                                 : "only a bubble has a colour it stands on");
    }
    if (words.size() == 4) {
        const std::string_view colour = words[3];
        const auto [ptr, ec] =
            std::from_chars(colour.data(), colour.data() + colour.size(), background, 16);
        if (colour.size() != 6 || ec != std::errc() || ptr != colour.data() + colour.size() ||
            colour.find_first_not_of("0123456789abcdef") != std::string_view::npos) {
            return reader.Fail("colour '" + Reader::Shown(colour) +
                               "' is not six hexadecimal digits");
        }
        background |= 0xFF000000u;
    }
    return true;
}

bool ParseInto(Reader& reader, RunFile& run) {
    std::vector<std::string_view> words;
    // The version line.
    if (!reader.Record(RUN_FILE_MAGIC, words)) {
        reader.Fail("not a Quorvel run file (its first line is not 'quorvel-run VERSION')");
        return false;
    }
    int version = 0;
    if (words.size() != 1 || !reader.Integer(words[0], "version", version) || version < 1) {
        return reader.Fail("not a Quorvel run file (its version is not a positive integer)");
    }
    if (version > RUN_FILE_VERSION) {
        return reader.Fail("written by a newer Quorvel (run file version " +
                           std::to_string(version) + "; this version reads up to " +
                           std::to_string(RUN_FILE_VERSION) + ")");
    }

    // The settings, checked as the settings dialog checks them.
    for (const SettingField& field : SETTING_FIELDS) {
        if (!IsNumericSetting(field)) {
            continue;
        }
        const std::string_view key = SettingKey(field);
        if (!reader.Record(key, 1, words)) {
            return false;
        }
        double probe = 0.0;
        if (field.kind == SettingKind::Real && !reader.Real(words[0], key, probe)) {
            return false;
        }
        if (TrimBlanks(words[0]) != words[0]) {
            return reader.Fail(std::string(key) + " '" + Reader::Shown(words[0]) +
                               "' is not a number");
        }
        switch (ReadSettingField(field, words[0], run.settings)) {
            case FieldError::None:
                break;
            case FieldError::NotANumber:
                return reader.Fail(std::string(key) + " '" + Reader::Shown(words[0]) + "' is not " +
                                   (field.kind == SettingKind::Int ? "an integer" : "a number"));
            case FieldError::OutOfRange:
                return reader.Fail(std::string(key) + " " + std::string(words[0]) +
                                   " is out of range (" + SettingBoundText(field, field.low) +
                                   " to " + SettingBoundText(field, field.high) + ")");
        }
    }
    const int columns = run.settings.columns;
    const int rows = run.settings.rows;
    const auto cells = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);

    if (!reader.Record("seed", 1, words) || !reader.Integer(words[0], "seed", run.seed) ||
        !ReadLevel(reader, "ends", run.endsLevel) ||
        !ReadLevel(reader, "centre", run.centreLevel)) {
        return false;
    }
    if (!reader.Record("burner-heat", static_cast<std::size_t>(columns), words)) {
        return false;
    }
    run.burnerHeat.resize(static_cast<std::size_t>(columns));
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (!reader.Integer(words[i], "burner heat", run.burnerHeat[i])) {
            return false;
        }
    }
    // The heat follows from the levels and powers; another heat means a changed file.
    const int endsPower = FlamePower(run.settings, run.endsLevel);
    const int centrePower = FlamePower(run.settings, run.centreLevel);
    for (int col = 0; col < columns; ++col) {
        const int expected = ColumnBurnerHeat(col, columns, endsPower, centrePower);
        if (expected != run.burnerHeat[static_cast<std::size_t>(col)]) {
            return reader.Fail("burner heat of column " + std::to_string(col) + " is " +
                               std::to_string(run.burnerHeat[static_cast<std::size_t>(col)]) +
                               ", but the levels and powers give " + std::to_string(expected));
        }
    }

    if (!reader.Record("ticks", 1, words) ||
        !reader.Integer(words[0], "ticks", 0LL, std::numeric_limits<long long>::max(),
                        run.ticksRun)) {
        return false;
    }
    // The generator: 624 words of state and the position in them, as the library writes them.
    constexpr std::size_t kStateWords = std::mt19937::state_size + 1;
    if (!reader.Record("generator", kStateWords, words)) {
        return false;
    }
    std::string state;
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::uint32_t word = 0;
        if (!reader.Integer(words[i], "generator word", word)) {
            return false;
        }
        state += (i > 0 ? " " : "") + std::string(words[i]);
    }
    {
        std::istringstream in(state);
        in.imbue(std::locale::classic());
        in >> run.generator;
        // Only a state the library itself writes is taken: one that reads back unchanged.
        if (!in || GeneratorText(run.generator) != state) {
            return reader.Fail("the generator's state is not one the generator can have");
        }
    }
    if (!reader.Record("averages", 2, words) ||
        !reader.Integer(words[0], "average temperature", run.averageTemperature) ||
        !reader.Integer(words[1], "average heat", run.averageHeat)) {
        return false;
    }
    if (!reader.Record("selected", 2, words) ||
        !reader.Integer(words[0], "selected column", -1, columns - 1, run.selectedCol) ||
        !reader.Integer(words[1], "selected row", -1, rows - 1, run.selectedRow)) {
        return false;
    }
    if ((run.selectedCol < 0) != (run.selectedRow < 0)) {
        return reader.Fail("the selected cell has only one of its column and row");
    }
    if (!reader.Record("since-sample", 1, words) ||
        !reader.Integer(words[0], "ticks since the last sample", 0, std::numeric_limits<int>::max(),
                        run.ticksSinceSample)) {
        return false;
    }
    if (!reader.Record("window", 2 * HISTORY_SAMPLE_COUNT, words)) {
        return false;
    }
    for (std::size_t i = 0; i < run.window.size(); ++i) {
        if (!reader.Integer(words[2 * i], "sample temperature", run.window[i].temperature) ||
            !reader.Integer(words[2 * i + 1], "sample heat", run.window[i].heat)) {
            return false;
        }
    }

    // The grids.
    run.grid.resize(cells);
    run.stage.resize(cells);
    run.bubbleBackgrounds.assign(cells, 0);
    std::uint32_t unused = 0;
    if (!reader.Record("grid", 0, words)) {
        return false;
    }
    for (std::size_t i = 0; i < cells; ++i) {
        if (!ReadCell(reader, "grid", true, run.grid[i], run.bubbleBackgrounds[i])) {
            return false;
        }
    }
    if (!reader.Record("stage", 0, words)) {
        return false;
    }
    for (std::size_t i = 0; i < cells; ++i) {
        if (!ReadCell(reader, "stage", false, run.stage[i], unused)) {
            return false;
        }
    }

    // The whole run's samples: kept as the history keeps them, in the order they were taken.
    std::size_t count = 0;
    if (!reader.Record("run-history", 3, words) ||
        !reader.Integer(words[0], "stride", 1LL, 1LL << 62, run.historyStride) ||
        !reader.Integer(words[1], "skipped samples", 0LL, run.historyStride - 1,
                        run.historySkipped) ||
        !reader.Integer(words[2], "sample count", std::size_t{0}, RUN_HISTORY_BOUND - 1, count)) {
        return false;
    }
    if ((run.historyStride & (run.historyStride - 1)) != 0) {
        return reader.Fail("stride " + std::to_string(run.historyStride) +
                           " is not a power of two");
    }
    run.history.resize(count);
    long long previous = 0;
    for (CRunHistory::Entry& entry : run.history) {
        if (previous == run.ticksRun) {
            return reader.Fail("more samples than ticks run");
        }
        if (!reader.Row("run-history", 3, 3, words) ||
            !reader.Integer(words[0], "sample tick", previous + 1, run.ticksRun, entry.tick) ||
            !reader.Integer(words[1], "sample temperature", entry.temperature) ||
            !reader.Integer(words[2], "sample heat", entry.heat)) {
            return false;
        }
        previous = entry.tick;
    }
    if (!reader.Record("end", 0, words)) {
        return false;
    }
    if (!reader.AtEnd()) {
        return reader.Fail("text after 'end'");
    }
    return true;
}

}  // namespace

RunFile CaptureRun(const CSimulation& simulation, const CHistoryRecorder& recorder,
                   const CRunHistory& history, int selectedCol, int selectedRow,
                   const std::function<std::uint32_t(int col, int row)>& background) {
    RunFile run;
    run.settings = simulation.CurrentSettings(recorder.HistoryInterval());
    run.seed = simulation.Seed();
    run.endsLevel = simulation.EndsFlame();
    run.centreLevel = simulation.CentreFlame();
    for (int col = 0; col < simulation.Columns(); ++col) {
        run.burnerHeat.push_back(simulation.HasGrid() ? simulation.BurnerHeat(col) : 0);
    }
    run.ticksRun = simulation.TicksRun();
    run.generator = simulation.Generator();
    run.averageTemperature = simulation.AverageTemperature();
    run.averageHeat = simulation.AverageHeat();
    run.selectedCol = selectedCol;
    run.selectedRow = selectedRow;
    run.ticksSinceSample = recorder.TicksSinceSample();
    for (int i = 0; i < HISTORY_SAMPLE_COUNT; ++i) {
        run.window[static_cast<std::size_t>(i)] = recorder.Sample(i);
    }
    if (simulation.HasGrid()) {
        for (int row = 0; row < simulation.Rows(); ++row) {
            for (int col = 0; col < simulation.Columns(); ++col) {
                const CCell& cell = simulation.Cell(row, col);
                run.grid.push_back(cell);
                run.stage.push_back(simulation.StagedCell(row, col));
                run.bubbleBackgrounds.push_back(
                    cell.m_nPhase == PHASE_VAPOUR && background ? background(col, row) : 0);
            }
        }
    }
    run.historyStride = history.Stride();
    run.historySkipped = history.Skipped();
    run.history = history.Entries();
    return run;
}

void RestoreRun(const RunFile& run, CSimulation& simulation, CHistoryRecorder& recorder,
                CRunHistory& history) {
    simulation.RestoreStart(run.settings, run.endsLevel, run.centreLevel, run.seed, run.generator,
                            run.ticksRun, run.averageTemperature, run.averageHeat);
    const int columns = run.settings.columns;
    for (int row = 0; row < run.settings.rows; ++row) {
        for (int col = 0; col < columns; ++col) {
            const auto index = static_cast<std::size_t>(row) * columns + col;
            simulation.SetCell(row, col, run.grid[index]);
            simulation.SetStagedCell(row, col, run.stage[index]);
        }
    }
    recorder.SetHistoryInterval(run.settings.historyInterval);
    recorder.Restore(run.window, run.ticksSinceSample);
    history.Restore(run.history, run.historyStride, run.historySkipped);
}

std::optional<std::string> FormatRunFile(const RunFile& run, std::string& error) {
    const auto cells = static_cast<std::size_t>(run.settings.columns) * run.settings.rows;
    if (run.grid.size() != cells || run.stage.size() != cells) {
        error = "there is no run to save";
        return std::nullopt;
    }
    for (std::size_t i = 0; i < cells; ++i) {
        for (const CCell* cell : {&run.grid[i], &run.stage[i]}) {
            if (!std::isfinite(cell->m_dTemperature) || !std::isfinite(cell->m_dHeat)) {
                error = "the run holds a cell whose value is not a finite number (row " +
                        std::to_string(i / run.settings.columns) + ", column " +
                        std::to_string(i % run.settings.columns) + ")";
                return std::nullopt;
            }
        }
    }
    std::string text;
    text.reserve(cells * 100 + run.history.size() * 32 + 8192);
    text += RUN_FILE_MAGIC;
    text += ' ';
    AppendInteger(text, RUN_FILE_VERSION);
    text += '\n';
    for (const SettingField& field : SETTING_FIELDS) {
        if (!IsNumericSetting(field)) {
            continue;
        }
        text += SettingKey(field);
        text += ' ';
        if (field.kind == SettingKind::Int) {
            AppendInteger(text, run.settings.*field.intValue);
        } else {
            AppendReal(text, run.settings.*field.realValue);
        }
        text += '\n';
    }
    text += "seed ";
    AppendInteger(text, run.seed);
    text += "\nends " + LevelName(run.endsLevel) + "\ncentre " + LevelName(run.centreLevel) +
            "\nburner-heat";
    for (const int heat : run.burnerHeat) {
        text += ' ';
        AppendInteger(text, heat);
    }
    text += "\nticks ";
    AppendInteger(text, run.ticksRun);
    text += "\ngenerator " + GeneratorText(run.generator) + "\naverages ";
    AppendInteger(text, run.averageTemperature);
    text += ' ';
    AppendInteger(text, run.averageHeat);
    text += "\nselected ";
    AppendInteger(text, run.selectedCol);
    text += ' ';
    AppendInteger(text, run.selectedRow);
    text += "\nsince-sample ";
    AppendInteger(text, run.ticksSinceSample);
    text += "\nwindow";
    for (const HistorySample& sample : run.window) {
        text += ' ';
        AppendInteger(text, sample.temperature);
        text += ' ';
        AppendInteger(text, sample.heat);
    }
    text += '\n';
    const auto appendCell = [&text](const CCell& cell) {
        AppendInteger(text, cell.m_nPhase);
        text += ' ';
        AppendReal(text, cell.m_dTemperature);
        text += ' ';
        AppendReal(text, cell.m_dHeat);
    };
    text += "grid\n";
    for (std::size_t i = 0; i < cells; ++i) {
        appendCell(run.grid[i]);
        if (run.grid[i].m_nPhase == PHASE_VAPOUR) {
            text += ' ';
            text += ColourText(i < run.bubbleBackgrounds.size() ? run.bubbleBackgrounds[i] : 0);
        }
        text += '\n';
    }
    text += "stage\n";
    for (std::size_t i = 0; i < cells; ++i) {
        appendCell(run.stage[i]);
        text += '\n';
    }
    text += "run-history ";
    AppendInteger(text, run.historyStride);
    text += ' ';
    AppendInteger(text, run.historySkipped);
    text += ' ';
    AppendInteger(text, static_cast<long long>(run.history.size()));
    text += '\n';
    for (const CRunHistory::Entry& entry : run.history) {
        AppendInteger(text, entry.tick);
        text += ' ';
        AppendInteger(text, entry.temperature);
        text += ' ';
        AppendInteger(text, entry.heat);
        text += '\n';
    }
    text += "end\n";
    return text;
}

std::optional<RunFile> ParseRunFile(std::string_view text, std::string& error) {
    if (static_cast<long long>(text.size()) > RUN_FILE_MAX_BYTES) {
        error = "larger than 64 MB, more than any run file";
        return std::nullopt;
    }
    if (text.empty()) {
        error = "the file is empty";
        return std::nullopt;
    }
    if (text.find('\0') != std::string_view::npos) {
        error = "not a text file (it holds a zero byte)";
        return std::nullopt;
    }
    // Every record ends with a line break, the last one too: without it the file was cut.
    if (text.back() != '\n') {
        error = "line " + std::to_string(std::count(text.begin(), text.end(), '\n') + 1) +
                ": the file is cut short (its last line is incomplete)";
        return std::nullopt;
    }
    Reader reader(text);
    auto run = std::make_optional<RunFile>();
    if (!ParseInto(reader, *run)) {
        error = reader.Error();
        return std::nullopt;
    }
    return run;
}

std::optional<RunFile> ReadRunFile(const std::string& path, std::string& error) {
    // Opened without waiting, so that a named pipe or a device cannot hold the program up;
    // only a regular file is read.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? "a folder, not a file" : "not a regular file";
        close(fd);
        return std::nullopt;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = fdopen(fd, "rb");
    if (file == nullptr) {
        error = std::strerror(errno);
        close(fd);
        return std::nullopt;
    }
    if (info.st_size > RUN_FILE_MAX_BYTES) {
        error = "larger than 64 MB, more than any run file";
        std::fclose(file);
        return std::nullopt;
    }
    // Read to the end, but never beyond the limit, even if the file grows meanwhile.
    std::string text;
    std::size_t length = 0;
    bool failed = false;
    while (length <= static_cast<std::size_t>(RUN_FILE_MAX_BYTES)) {
        text.resize(length + (1 << 20));
        const std::size_t got = std::fread(text.data() + length, 1, text.size() - length, file);
        length += got;
        failed = std::ferror(file) != 0;
        if (failed || got == 0 || std::feof(file) != 0) {
            break;
        }
    }
    const int reason = errno;
    std::fclose(file);
    if (failed) {
        error = std::strerror(reason != 0 ? reason : EIO);
        return std::nullopt;
    }
    text.resize(length);
    return ParseRunFile(text, error);
}
