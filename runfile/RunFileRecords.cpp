// The records of a run file in their order, each with how it is written and how it is read
// back, so that the writer and the reader follow one list.
#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <sstream>

#include "Burners.h"
#include "NumberText.h"
#include "RunFile.h"
#include "RunFileWords.h"
#include "SettingsSchema.h"
#include "Simulation.h"

namespace {

// No cell of a run is ever warmer than the boiling point: every rule that sets a temperature
// caps it there, and the start is at most there. So no mean or sample of a run is warmer.
constexpr double HOTTEST = BOILING_POINT;
constexpr int HOTTEST_SHOWN = static_cast<int>(BOILING_POINT);

// One line of the file: its first word, the words after it and, for a table, the lines that
// follow it.
struct Record {
    std::string_view key;
    // How many words follow the key; without it `read` checks them itself.
    std::size_t (*count)(const RunFile& run);
    // Appends the words after the key, each after a space.
    void (*write)(const Record& record, const RunFile& run, std::string& text);
    // Takes the words after the key (none to take: null).
    bool (*read)(const Record& record, RunFileReader& reader, const RunFileWordList& words,
                 RunFile& run);
    // The table's lines after the record's own, each ending with its line break.
    void (*writeRows)(const RunFile& run, std::string& text) = nullptr;
    bool (*readRows)(RunFileReader& reader, RunFile& run) = nullptr;
    // The settings field a settings record keeps.
    const SettingField* field = nullptr;
    // The fault when the line is not this record, in place of the usual one.
    const char* notThere = nullptr;
};

template <std::size_t N>
std::size_t Words(const RunFile&) {
    return N;
}

std::size_t ColumnWords(const RunFile& run) {
    return static_cast<std::size_t>(run.settings.columns);
}

std::size_t CellCount(const RunFile& run) {
    return static_cast<std::size_t>(run.settings.columns) *
           static_cast<std::size_t>(run.settings.rows);
}

void Word(std::string& text, long long value) {
    text += ' ';
    AppendInteger(text, value);
}

void Word(std::string& text, std::string_view word) {
    text += ' ';
    text += word;
}

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

std::string_view LevelName(int level) {
    const std::string_view name = FlameLevelName(level);
    return name.empty() ? "?" : name;
}

bool ReadLevel(RunFileReader& reader, std::string_view word, int& level) {
    if (const std::optional<FlameLevel> named = FlameLevelFromName(word)) {
        level = *named;
        return true;
    }
    return reader.Fail("burner level '" + RunFileReader::Shown(word) + "' does not exist (" +
                       FlameLevelChoices(" or ") + ")");
}

bool ReadVersion(const Record&, RunFileReader& reader, const RunFileWordList& words, RunFile&) {
    int version = 0;
    if (words.size() != 1 || !reader.Integer(words[0], "version", version) || version < 1) {
        return reader.Fail("not a Quorvel run file (its version is not a positive integer)");
    }
    if (version > RUN_FILE_VERSION) {
        return reader.Fail("written by a newer Quorvel (run file version " +
                           std::to_string(version) + "; this version reads up to " +
                           std::to_string(RUN_FILE_VERSION) + ")");
    }
    return true;
}

void WriteSetting(const Record& record, const RunFile& run, std::string& text) {
    text += ' ';
    if (record.field->kind == SettingKind::Int) {
        AppendInteger(text, run.settings.*record.field->intValue);
    } else {
        AppendReal(text, run.settings.*record.field->realValue);
    }
}

// A setting, checked as the settings dialog checks it.
bool ReadSetting(const Record& record, RunFileReader& reader, const RunFileWordList& words,
                 RunFile& run) {
    const SettingField& field = *record.field;
    const std::string_view key = record.key;
    double probe = 0.0;
    if (field.kind == SettingKind::Real && !reader.Real(words[0], key, probe)) {
        return false;
    }
    if (TrimBlanks(words[0]) != words[0]) {
        return reader.Fail(std::string(key) + " '" + RunFileReader::Shown(words[0]) +
                           "' is not a number");
    }
    switch (ReadSettingField(field, words[0], run.settings)) {
        case FieldError::None:
            return true;
        case FieldError::NotANumber:
            return reader.Fail(std::string(key) + " '" + RunFileReader::Shown(words[0]) +
                               "' is not " +
                               (field.kind == SettingKind::Int ? "an integer" : "a number"));
        case FieldError::OutOfRange:
            break;
    }
    return reader.Fail(std::string(key) + " " + std::string(words[0]) + " is out of range (" +
                       SettingBoundText(field, field.low) + " to " +
                       SettingBoundText(field, field.high) + ")");
}

bool ReadBurnerHeat(const Record&, RunFileReader& reader, const RunFileWordList& words,
                    RunFile& run) {
    run.burnerHeat.resize(words.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (!reader.Integer(words[i], "burner heat", run.burnerHeat[i])) {
            return false;
        }
    }
    // The heat follows from the levels and powers; another heat means a changed file.
    const int columns = run.settings.columns;
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
    return true;
}

// The generator: 624 words of state and the position in them, as the library writes them.
bool ReadGenerator(const Record&, RunFileReader& reader, const RunFileWordList& words,
                   RunFile& run) {
    std::string state;
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::uint32_t word = 0;
        if (!reader.Integer(words[i], "generator word", word)) {
            return false;
        }
        if (i > 0) {
            state += ' ';
        }
        state += words[i];
    }
    std::istringstream in(state);
    in.imbue(std::locale::classic());
    in >> run.generator;
    // Only a state the library itself writes is taken: one that reads back unchanged.
    if (!in || GeneratorText(run.generator) != state) {
        return reader.Fail("the generator's state is not one the generator can have");
    }
    // The zero state is the generator's one fixed point: no seed leads there and from it every
    // draw is 0. Past one turn of its words such a state draws only zeros; any other state
    // never draws as many zeros in a row as it has words.
    std::mt19937 probe = run.generator;
    probe.discard(std::mt19937::state_size);
    for (std::size_t i = 0; i < std::mt19937::state_size; ++i) {
        if (probe() != 0) {
            return true;
        }
    }
    return reader.Fail("the generator's state is zero, which no seed leads to");
}

bool ReadSelection(const Record&, RunFileReader& reader, const RunFileWordList& words,
                   RunFile& run) {
    if (!reader.Integer(words[0], "selected column", -1, run.settings.columns - 1,
                        run.selectedCol) ||
        !reader.Integer(words[1], "selected row", -1, run.settings.rows - 1, run.selectedRow)) {
        return false;
    }
    if ((run.selectedCol < 0) != (run.selectedRow < 0)) {
        return reader.Fail("the selected cell has only one of its column and row");
    }
    return true;
}

bool ReadWindow(const Record&, RunFileReader& reader, const RunFileWordList& words, RunFile& run) {
    for (std::size_t i = 0; i < run.window.size(); ++i) {
        if (!reader.Integer(words[2 * i], "sample temperature", INT_MIN, HOTTEST_SHOWN,
                            run.window[i].temperature) ||
            !reader.Integer(words[2 * i + 1], "sample heat", run.window[i].heat)) {
            return false;
        }
    }
    return true;
}

// One cell of a grid: "phase temperature heat", and for a bubble of the live grid what it
// stands on.
void WriteCell(std::string& text, const CCell& cell) {
    AppendInteger(text, cell.m_nPhase);
    text += ' ';
    AppendReal(text, cell.m_dTemperature);
    text += ' ';
    AppendReal(text, cell.m_dHeat);
}

bool ReadCell(RunFileReader& reader, std::string_view table, bool live, CCell& cell,
              std::uint32_t& background) {
    RunFileWordList words;
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
    if (cell.m_dTemperature > HOTTEST) {
        return reader.Fail("temperature " + RunFileReader::Shown(words[1]) +
                           " is above the boiling point (100), where no cell ever is");
    }
    // A staged cell keeps the phase of the start, liquid: staging moves heat, never a phase.
    if (!live && phase != PHASE_LIQUID) {
        return reader.Fail("a staged cell is always liquid (phase 1), not " +
                           std::string(words[0]));
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
            return reader.Fail("colour '" + RunFileReader::Shown(colour) +
                               "' is not six hexadecimal digits");
        }
        background |= 0xFF000000u;
    }
    return true;
}

void WriteGridRows(const RunFile& run, std::string& text) {
    for (std::size_t i = 0; i < run.grid.size(); ++i) {
        WriteCell(text, run.grid[i]);
        if (run.grid[i].m_nPhase == PHASE_VAPOUR) {
            Word(text, ColourText(i < run.bubbleBackgrounds.size() ? run.bubbleBackgrounds[i] : 0));
        }
        text += '\n';
    }
}

bool ReadGridRows(RunFileReader& reader, RunFile& run) {
    run.grid.resize(CellCount(run));
    run.bubbleBackgrounds.assign(run.grid.size(), 0);
    for (std::size_t i = 0; i < run.grid.size(); ++i) {
        if (!ReadCell(reader, "grid", true, run.grid[i], run.bubbleBackgrounds[i])) {
            return false;
        }
    }
    return true;
}

void WriteStageRows(const RunFile& run, std::string& text) {
    for (const CCell& cell : run.stage) {
        WriteCell(text, cell);
        text += '\n';
    }
}

bool ReadStageRows(RunFileReader& reader, RunFile& run) {
    run.stage.resize(CellCount(run));
    std::uint32_t unused = 0;
    for (CCell& cell : run.stage) {
        if (!ReadCell(reader, "stage", false, cell, unused)) {
            return false;
        }
    }
    return true;
}

// The whole run's samples: kept as the history keeps them, in the order they were taken.
bool ReadHistoryCounts(const Record&, RunFileReader& reader, const RunFileWordList& words,
                       RunFile& run) {
    std::size_t count = 0;
    if (!reader.Integer(words[0], "stride", 1LL, 1LL << 62, run.historyStride) ||
        !reader.Integer(words[1], "skipped samples", 0LL, run.historyStride - 1,
                        run.historySkipped) ||
        !reader.Integer(words[2], "sample count", std::size_t{0}, RUN_HISTORY_BOUND - 1, count)) {
        return false;
    }
    if ((run.historyStride & (run.historyStride - 1)) != 0) {
        return reader.Fail("stride " + std::to_string(run.historyStride) +
                           " is not a power of two");
    }
    // Each thinning halves a full history and doubles the stride: a stride S > 1 keeps at
    // least half the bound and was reached only after S times half the bound samples, each
    // on a tick of its own.
    constexpr long long half = static_cast<long long>(RUN_HISTORY_BOUND / 2);
    const std::string stride = "stride " + std::to_string(run.historyStride);
    if (run.historyStride > 1 && run.historyStride > run.ticksRun / half) {
        return reader.Fail(stride + " is reached only after " + std::to_string(run.historyStride) +
                           " times " + std::to_string(half) + " samples, more than the " +
                           std::to_string(run.ticksRun) + " ticks run");
    }
    if (run.historyStride > 1 && count < static_cast<std::size_t>(half)) {
        return reader.Fail(stride + " keeps at least " + std::to_string(half) + " samples, not " +
                           std::to_string(count));
    }
    run.history.resize(count);
    return true;
}

void WriteHistoryRows(const RunFile& run, std::string& text) {
    for (const CRunHistory::Entry& entry : run.history) {
        AppendInteger(text, entry.tick);
        Word(text, entry.temperature);
        Word(text, entry.heat);
        text += '\n';
    }
}

bool ReadHistoryRows(RunFileReader& reader, RunFile& run) {
    RunFileWordList words;
    long long previous = 0;
    for (CRunHistory::Entry& entry : run.history) {
        if (previous == run.ticksRun) {
            return reader.Fail("more samples than ticks run");
        }
        if (!reader.Row("run-history", 3, 3, words) ||
            !reader.Integer(words[0], "sample tick", previous + 1, run.ticksRun, entry.tick) ||
            !reader.Integer(words[1], "sample temperature", INT_MIN, HOTTEST_SHOWN,
                            entry.temperature) ||
            !reader.Integer(words[2], "sample heat", entry.heat)) {
            return false;
        }
        previous = entry.tick;
    }
    return true;
}

void WriteNothing(const Record&, const RunFile&, std::string&) {}

std::vector<Record> MakeRecords() {
    std::vector<Record> records;
    records.push_back({
        .key = RUN_FILE_MAGIC,
        .count = nullptr,
        .write = [](const Record&, const RunFile&,
                    std::string& text) { Word(text, RUN_FILE_VERSION); },
        .read = ReadVersion,
        .notThere = "not a Quorvel run file (its first line is not 'quorvel-run VERSION')",
    });
    for (const SettingField& field : SETTING_FIELDS) {
        if (IsNumericSetting(field)) {
            records.push_back({.key = SettingKey(field),
                               .count = Words<1>,
                               .write = WriteSetting,
                               .read = ReadSetting,
                               .field = &field});
        }
    }
    const Record fixed[] = {
        {"seed", Words<1>,
         [](const Record&, const RunFile& run, std::string& text) { Word(text, run.seed); },
         [](const Record&, RunFileReader& reader, const RunFileWordList& words, RunFile& run) {
             return reader.Integer(words[0], "seed", run.seed);
         }},
        {"ends", Words<1>,
         [](const Record&, const RunFile& run, std::string& text) {
             Word(text, LevelName(run.endsLevel));
         },
         [](const Record&, RunFileReader& reader, const RunFileWordList& words, RunFile& run) {
             return ReadLevel(reader, words[0], run.endsLevel);
         }},
        {"centre", Words<1>,
         [](const Record&, const RunFile& run, std::string& text) {
             Word(text, LevelName(run.centreLevel));
         },
         [](const Record&, RunFileReader& reader, const RunFileWordList& words, RunFile& run) {
             return ReadLevel(reader, words[0], run.centreLevel);
         }},
        {"burner-heat", ColumnWords,
         [](const Record&, const RunFile& run, std::string& text) {
             for (const int heat : run.burnerHeat) {
                 Word(text, heat);
             }
         },
         ReadBurnerHeat},
        {"ticks", Words<1>,
         [](const Record&, const RunFile& run, std::string& text) { Word(text, run.ticksRun); },
         [](const Record&, RunFileReader& reader, const RunFileWordList& words, RunFile& run) {
             return reader.Integer(words[0], "ticks", 0LL, MAX_TICKS_RUN, run.ticksRun);
         }},
        {"generator", Words<std::mt19937::state_size + 1>,
         [](const Record&, const RunFile& run, std::string& text) {
             Word(text, GeneratorText(run.generator));
         },
         ReadGenerator},
        {"averages", Words<2>,
         [](const Record&, const RunFile& run, std::string& text) {
             Word(text, run.averageTemperature);
             Word(text, run.averageHeat);
         },
         [](const Record&, RunFileReader& reader, const RunFileWordList& words, RunFile& run) {
             return reader.Integer(words[0], "average temperature", INT_MIN, HOTTEST_SHOWN,
                                   run.averageTemperature) &&
                    reader.Integer(words[1], "average heat", run.averageHeat);
         }},
        {"selected", Words<2>,
         [](const Record&, const RunFile& run, std::string& text) {
             Word(text, run.selectedCol);
             Word(text, run.selectedRow);
         },
         ReadSelection},
        {"since-sample", Words<1>,
         [](const Record&, const RunFile& run, std::string& text) {
             Word(text, run.ticksSinceSample);
         },
         [](const Record&, RunFileReader& reader, const RunFileWordList& words, RunFile& run) {
             return reader.Integer(words[0], "ticks since the last sample", 0,
                                   std::numeric_limits<int>::max(), run.ticksSinceSample);
         }},
        {"window", Words<2 * HISTORY_SAMPLE_COUNT>,
         [](const Record&, const RunFile& run, std::string& text) {
             for (const HistorySample& sample : run.window) {
                 Word(text, sample.temperature);
                 Word(text, sample.heat);
             }
         },
         ReadWindow},
        {"grid", Words<0>, WriteNothing, nullptr, WriteGridRows, ReadGridRows},
        {"stage", Words<0>, WriteNothing, nullptr, WriteStageRows, ReadStageRows},
        {"run-history", Words<3>,
         [](const Record&, const RunFile& run, std::string& text) {
             Word(text, run.historyStride);
             Word(text, run.historySkipped);
             Word(text, static_cast<long long>(run.history.size()));
         },
         ReadHistoryCounts, WriteHistoryRows, ReadHistoryRows},
        {"end", Words<0>, WriteNothing, nullptr},
    };
    records.insert(records.end(), std::begin(fixed), std::end(fixed));
    return records;
}

const std::vector<Record>& Records() {
    static const std::vector<Record> records = MakeRecords();
    return records;
}

bool ParseInto(RunFileReader& reader, RunFile& run) {
    RunFileWordList words;
    for (const Record& record : Records()) {
        if (!reader.Record(record.key, words)) {
            if (record.notThere != nullptr) {
                reader.Fail(record.notThere);
            }
            return false;
        }
        if ((record.count != nullptr && !reader.Count(record.key, record.count(run), words)) ||
            (record.read != nullptr && !record.read(record, reader, words, run)) ||
            (record.readRows != nullptr && !record.readRows(reader, run))) {
            return false;
        }
    }
    return reader.AtEnd() || reader.Fail("text after 'end'");
}

}  // namespace

std::optional<std::string> FormatRunFile(const RunFile& run, std::string& error) {
    const std::size_t cells = CellCount(run);
    if (run.grid.size() != cells || run.stage.size() != cells) {
        error = "there is no run to save";
        return std::nullopt;
    }
    if (run.ticksRun > MAX_TICKS_RUN) {
        error = "the run has gone past " + std::to_string(MAX_TICKS_RUN) +
                " ticks, more than a run file keeps";
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
    for (const Record& record : Records()) {
        text += record.key;
        record.write(record, run, text);
        text += '\n';
        if (record.writeRows != nullptr) {
            record.writeRows(run, text);
        }
    }
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
    RunFileReader reader(text);
    auto run = std::make_optional<RunFile>();
    if (!ParseInto(reader, *run)) {
        error = reader.Error();
        return std::nullopt;
    }
    return run;
}
