#include "BatchOptions.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

#include "Burners.h"
#include "NumberText.h"
#include "PendingOutputs.h"
#include "SettingsSchema.h"
#include "Simulation.h"
#include "VesselView.h"

namespace {

std::string Describe(const std::string& option, const std::string& value,
                     const std::string& accepted) {
    return "quorvel-batch: " + option + ": invalid value '" + EscapeControls(value) +
           "' (accepted: " + accepted + ")";
}

// Numbers as the settings dialog shows them: 0.035 as "0.035", 1.0 as "1".
template <typename Number>
std::string NumberText(Number number) {
    if constexpr (std::is_integral_v<Number>) {
        return FormatInteger(static_cast<long long>(number));
    } else {
        return FormatReal(number);
    }
}

template <typename Number>
std::string RangeText(Number low, Number high) {
    return NumberText(low) + " to " + NumberText(high);
}

// --- How each option's value is read -----------------------------------------------------
// Each reader takes the value into its place in the options, or returns the one line that
// says what is wrong with it. Readers of flags take no value.

// A flag: takes no value and sets its field.
template <typename Target>
struct Flag {
    static constexpr bool TAKES_VALUE = false;
    Target BatchOptions::*field;
    bool set;
    std::string Read(BatchOptions& options, const std::string&, const std::string&) const {
        options.*field = set;
        return {};
    }
};

// A whole number from 0 to `high`: the tick count (up to what a run counts), the seed (up to
// the largest its type holds).
template <typename Int, typename Target>
struct Count {
    static constexpr bool TAKES_VALUE = true;
    Target BatchOptions::*field;
    Int high = std::numeric_limits<Int>::max();
    std::string Read(BatchOptions& options, const std::string& option,
                     const std::string& value) const {
        Int parsed = 0;
        if (!ParseInteger(value, parsed) || std::cmp_less(parsed, 0) || parsed > high) {
            return Describe(option, value, "an integer from " + RangeText(Int{0}, high));
        }
        options.*field = parsed;
        return {};
    }
};

// A field of the settings, read and checked as the settings dialog reads and checks it.
struct SettingOption {
    static constexpr bool TAKES_VALUE = true;
    const SettingField* field;
    std::string Read(BatchOptions& options, const std::string& option,
                     const std::string& value) const {
        if (ReadSettingField(*field, value, options.settings) == FieldError::None) {
            return {};
        }
        if (field->kind == SettingKind::Int) {
            const int low =
                field->bounded ? static_cast<int>(field->low) : std::numeric_limits<int>::min();
            const int high =
                field->bounded ? static_cast<int>(field->high) : std::numeric_limits<int>::max();
            return Describe(option, value, "an integer from " + RangeText(low, high));
        }
        return Describe(option, value,
                        field->bounded ? "a number from " + RangeText(field->low, field->high)
                                       : "a finite number");
    }
};

struct BurnerLevel {
    static constexpr bool TAKES_VALUE = true;
    int BatchOptions::*field;
    std::string Read(BatchOptions& options, const std::string& option,
                     const std::string& value) const {
        const std::optional<FlameLevel> level = FlameLevelFromName(value);
        if (!level) {
            return Describe(option, value, FlameLevelChoices(" or "));
        }
        options.*field = *level;
        return {};
    }
};

struct OutputFile {
    static constexpr bool TAKES_VALUE = true;
    std::string BatchOptions::*field;
    std::string Read(BatchOptions& options, const std::string& option,
                     const std::string& value) const {
        if (value.empty()) {
            return Describe(option, value, "a file name");
        }
        options.*field = value;
        return {};
    }
};

// "WxH": the client area the picture's frame is made for.
struct ViewSize {
    static constexpr bool TAKES_VALUE = true;
    std::string Read(BatchOptions& options, const std::string& option,
                     const std::string& value) const {
        // One token: blanks may surround it but not its two numbers.
        const std::string_view text = TrimBlanks(value);
        const std::size_t separator = text.find('x');
        const std::string_view widthText = text.substr(0, separator);
        const std::string_view heightText =
            separator == std::string_view::npos ? std::string_view() : text.substr(separator + 1);
        int width = 0;
        int height = 0;
        if (separator == std::string_view::npos || TrimBlanks(widthText) != widthText ||
            TrimBlanks(heightText) != heightText || !ParseInteger(widthText, width) ||
            !ParseInteger(heightText, height) || width < MIN_CLIENT_WIDTH ||
            width > MAX_VIEW_SIZE || height < MIN_CLIENT_HEIGHT || height > MAX_VIEW_SIZE) {
            return Describe(option, value,
                            "WIDTHxHEIGHT, width " + RangeText(MIN_CLIENT_WIDTH, MAX_VIEW_SIZE) +
                                ", height " + RangeText(MIN_CLIENT_HEIGHT, MAX_VIEW_SIZE));
        }
        options.viewWidth = width;
        options.viewHeight = height;
        return {};
    }
};

struct TextSizeOption {
    static constexpr bool TAKES_VALUE = true;
    std::string Read(BatchOptions& options, const std::string& option,
                     const std::string& value) const {
        const std::optional<TextSize> size = TextSizeFromName(value);
        if (!size) {
            return Describe(option, value, "standard, large or extra-large");
        }
        options.textSize = *size;
        return {};
    }
};

using OptionReader =
    std::variant<Flag<bool>, Flag<std::optional<bool>>, Count<long long, long long>,
                 Count<std::uint32_t, std::optional<std::uint32_t>>, SettingOption, BurnerLevel,
                 OutputFile, ViewSize, TextSizeOption>;

struct OptionRow {
    std::string_view name;
    OptionReader reader;
};

// The runner's own options; the settings' options come from the settings' table.
const OptionRow OPTIONS[] = {
    {"--help", Flag<bool>{&BatchOptions::help, true}},
    {"-h", Flag<bool>{&BatchOptions::help, true}},
    {"--progress", Flag<std::optional<bool>>{&BatchOptions::progress, true}},
    {"--no-progress", Flag<std::optional<bool>>{&BatchOptions::progress, false}},
    {"--ticks", Count<long long, long long>{&BatchOptions::ticks, MAX_TICKS_RUN}},
    {"--seed", Count<std::uint32_t, std::optional<std::uint32_t>>{&BatchOptions::seed}},
    {"--ends", BurnerLevel{&BatchOptions::endsLevel}},
    {"--centre", BurnerLevel{&BatchOptions::centreLevel}},
    {"--grid-out", OutputFile{&BatchOptions::gridOut}},
    {"--history-out", OutputFile{&BatchOptions::historyOut}},
    {"--png", OutputFile{&BatchOptions::pngOut}},
    {"--run-out", OutputFile{&BatchOptions::runOut}},
    {"--run-in", OutputFile{&BatchOptions::runIn}},
    {"--view-size", ViewSize{}},
    {"--text-size", TextSizeOption{}},
};

std::optional<OptionRow> FindOption(std::string_view name) {
    for (const OptionRow& row : OPTIONS) {
        if (row.name == name) {
            return row;
        }
    }
    if (const SettingField* field = FindSettingOption(name)) {
        return OptionRow{name, SettingOption{field}};
    }
    return std::nullopt;
}

// Two outputs written to one file would leave only the last of them; an output written to
// the run file gone on from would replace it (even --run-out: the saved run stays as it was).
std::string SameFileError(const BatchOptions& options) {
    const std::pair<const char*, const std::string*> outputs[] = {
        {"--run-in", &options.runIn},
        {"--grid-out", &options.gridOut},
        {"--history-out", &options.historyOut},
        {"--png", &options.pngOut},
        {"--run-out", &options.runOut}};
    for (std::size_t a = 0; a < std::size(outputs); ++a) {
        for (std::size_t b = a + 1; b < std::size(outputs); ++b) {
            const std::string& first = *outputs[a].second;
            const std::string& second = *outputs[b].second;
            if (!first.empty() && !second.empty() &&
                ResolveOutputPath(first) == ResolveOutputPath(second)) {
                return std::string("quorvel-batch: ") + outputs[a].first + " '" +
                       EscapeControls(first) + "' and " + outputs[b].first + " '" +
                       EscapeControls(second) + "' name the same file";
            }
        }
    }
    return {};
}

// The name under which an option counts as given: its spellings and its opposite share one.
std::string_view OptionKey(std::string_view name) {
    if (name == "-h") {
        return "--help";
    }
    return name == "--no-progress" ? "--progress" : name;
}

}  // namespace

BatchParseResult ParseBatchOptions(const std::vector<std::string>& args) {
    BatchParseResult result;
    // A second value would silently win over the first (and an output named first would
    // never be written): each option is taken once.
    std::vector<std::pair<std::string, std::string>> given;  // key, name as given
    for (std::size_t i = 0; i < args.size(); ++i) {
        // "--option=VALUE" carries its value; otherwise the value is the next argument.
        std::string option = args[i];
        std::optional<std::string> value;
        if (const auto eq = option.find('=');
            option.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = option.substr(eq + 1);
            option.resize(eq);
        }
        const std::optional<OptionRow> row = FindOption(option);
        if (!row) {
            result.error =
                "quorvel-batch: unknown option '" + EscapeControls(args[i]) + "' (see --help)";
            return result;
        }
        const auto earlier = std::find_if(given.begin(), given.end(), [&](const auto& seen) {
            return seen.first == OptionKey(row->name);
        });
        if (earlier != given.end()) {
            result.error =
                "quorvel-batch: " + option +
                (earlier->second == option ? " given twice" : " given after " + earlier->second) +
                " (each option may be given once)";
            return result;
        }
        given.emplace_back(std::string(OptionKey(row->name)), option);
        const bool takesValue =
            std::visit([](const auto& reader) { return reader.TAKES_VALUE; }, row->reader);
        if (!takesValue && value) {
            result.error = "quorvel-batch: " + option + " takes no value";
            return result;
        }
        if (takesValue && !value) {
            if (i + 1 >= args.size()) {
                result.error = "quorvel-batch: " + option + ": missing value";
                return result;
            }
            value = args[++i];
        }
        result.error = std::visit(
            [&](const auto& reader) {
                return reader.Read(result.options, option, value.value_or(std::string()));
            },
            row->reader);
        if (!result.error.empty()) {
            return result;
        }
    }
    // A run read back brings its settings, seed and burner levels; none may be given beside it.
    if (!result.options.runIn.empty()) {
        for (const auto& [key, name] : given) {
            if (key == "--seed" || key == "--ends" || key == "--centre" ||
                FindSettingOption(key) != nullptr) {
                result.error = "quorvel-batch: " + name +
                               " cannot be given with --run-in (the run file holds the settings, "
                               "the seed and the burner levels)";
                return result;
            }
        }
    }
    result.error = SameFileError(result.options);
    return result;
}

std::string BatchUsage() {
    // The text as it reads, with each default and range filled in from where it is defined.
    std::string text = R"(Usage: quorvel-batch [options]
Runs the Quorvel water simulation without a window and reports what it did.

  --ticks N                 ticks to run (default {ticks})
  --seed N                  random seed, {seeds} (default: from the clock)
  --columns N, --rows N     grid size, {grid sizes} (default {columns} x {rows})
  --initial-temperature T   degrees C, {initial temperatures} (default {initial temperature})
  --convection-ratio K      {convection ratios} (default {convection ratio})
  --conduction C            conduction coefficient (default {conduction})
  --cooling C               cooling coefficient (default {cooling})
  --room-temperature T      degrees C (default {room temperature})
  --strong P, --medium P, --weak P
                            flame powers in cal per step (default {strong}, {medium}, {weak})
  --ends LEVEL              both-ends burner: {levels} (default {ends})
  --centre LEVEL            centre burner (default {centre})
  --history-interval N      history sampling interval in ticks (default {history interval})
  --grid-out FILE           write every cell after the last tick: row col phase temperature heat
  --history-out FILE        write the history samples as CSV
  --png FILE                write the vessel view after the last tick as a PNG picture
  --run-out FILE            write the run after the last tick as a run file (.quorvel), which
                            the window opens and --run-in goes on from
  --run-in FILE             go on from the run in a run file for --ticks more ticks, with its
                            settings, seed and burner levels (none of those options may be
                            given); the history CSV then begins with the file's samples
  --view-size WxH           window client area the picture is drawn for (default {view size},
                            giving a {picture size} picture); width {widths}, height {heights}
  --text-size SIZE          the picture's labels and panel: standard, large (1.5 times) or
                            extra-large (twice); a size the panel cannot hold at the view size
                            gives way to the largest that fits (default standard)
  --progress, --no-progress
                            show a progress bar on stderr (default: when stderr is a
                            terminal)
  --help                    show this text

A value may also be given as --option=VALUE. Blanks around a number are ignored. A number too
small for a double (such as 1e-999) counts as 0; one too large for it is refused. Two outputs
may not name the same file, nor may an output name the file of --run-in. Each option may be
given once (--progress and --no-progress count as one).

Each output is written whole or not at all: the outputs are checked and their temporary files
created, as .quorvel-XXXXXX.tmp in each output's folder, before the first tick, and the files
are renamed into place only when every one of them is complete. SIGINT, SIGTERM, SIGHUP and
SIGQUIT remove the temporary files and end the run with status {signal base} + the signal number; after
SIGKILL they stay behind and may be deleted. Once the renaming has begun a signal no longer
stops the run: the outputs are put in place and the run ends as it would have without it.
If a rename is refused, the ones already made are undone and the message tells what became
of each output. A replaced output keeps its permissions, but not a set-user-id or
set-group-id bit. An output that is a symbolic link replaces the file the link points to,
which is created if it does not exist yet.

Settings that make the computation unstable or take water below absolute zero are run, but
named on stderr first. Exit status: {done} done, {output failed} an output or the summary could
not be written, {bad options} bad options or a run file that cannot be read, {diverged} the run
ended with cells not finite or below -273.15 C (the summary then ends with unphysical_cells=N;
the outputs are written, but a run file cannot hold a value that is not a number: it is left
out and named), {no memory} out of memory.
)";
    const BatchOptions defaults;
    const SimulationSettings& settings = defaults.settings;
    const PixelRect picture = CVesselView::ViewRectFor(defaults.viewWidth, defaults.viewHeight);
    const std::pair<std::string_view, std::string> fields[] = {
        {"{ticks}", NumberText(defaults.ticks)},
        {"{seeds}", RangeText(std::uint32_t{0}, std::numeric_limits<std::uint32_t>::max())},
        {"{grid sizes}", RangeText(MIN_GRID_SIZE, MAX_GRID_SIZE)},
        {"{columns}", NumberText(settings.columns)},
        {"{rows}", NumberText(settings.rows)},
        {"{initial temperatures}", RangeText(MIN_INITIAL_TEMPERATURE, MAX_INITIAL_TEMPERATURE)},
        {"{initial temperature}", NumberText(settings.initialTemperature)},
        {"{convection ratios}", RangeText(MIN_CONVECTION_RATIO, MAX_CONVECTION_RATIO)},
        {"{convection ratio}", NumberText(settings.convectionRatio)},
        {"{conduction}", NumberText(settings.conductionCoefficient)},
        {"{cooling}", NumberText(settings.coolingCoefficient)},
        {"{room temperature}", NumberText(settings.roomTemperature)},
        {"{strong}", NumberText(settings.strongFlamePower)},
        {"{medium}", NumberText(settings.mediumFlamePower)},
        {"{weak}", NumberText(settings.weakFlamePower)},
        {"{levels}", FlameLevelChoices(", ")},
        {"{ends}", std::string(FlameLevelName(defaults.endsLevel))},
        {"{centre}", std::string(FlameLevelName(defaults.centreLevel))},
        {"{history interval}", NumberText(settings.historyInterval)},
        {"{view size}", NumberText(defaults.viewWidth) + "x" + NumberText(defaults.viewHeight)},
        {"{picture size}", NumberText(picture.Width()) + " x " + NumberText(picture.Height())},
        {"{widths}", RangeText(MIN_CLIENT_WIDTH, MAX_VIEW_SIZE)},
        {"{heights}", RangeText(MIN_CLIENT_HEIGHT, MAX_VIEW_SIZE)},
        {"{signal base}", NumberText(SIGNAL_EXIT_BASE)},
        {"{done}", NumberText(BATCH_EXIT_DONE)},
        {"{output failed}", NumberText(BATCH_EXIT_OUTPUT_FAILED)},
        {"{bad options}", NumberText(BATCH_EXIT_BAD_OPTIONS)},
        {"{diverged}", NumberText(BATCH_EXIT_DIVERGED)},
        {"{no memory}", NumberText(BATCH_EXIT_NO_MEMORY)},
    };
    for (const auto& [field, value] : fields) {
        for (std::size_t at = text.find(field); at != std::string::npos;
             at = text.find(field, at + value.size())) {
            text.replace(at, field.size(), value);
        }
    }
    return text;
}
