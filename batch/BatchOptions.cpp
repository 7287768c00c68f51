#include "BatchOptions.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <sstream>

#include "PendingOutputs.h"
#include "VesselView.h"

namespace {

// A number must be the whole argument: "12abc", "", " 12", NaN and infinities are refused.
// A single leading '+' is allowed, as people type it.
std::string_view WithoutPlus(std::string_view text) {
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') {
        text.remove_prefix(1);
    }
    return text;
}

template <typename Int>
bool ParseInteger(std::string_view text, Int& value) {
    text = WithoutPlus(text);
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

// Whether a well-formed decimal number that does not fit a double is below 1 in magnitude:
// the power of ten of its first significant digit, plus its exponent, is negative.
bool IsBelowOne(std::string_view text) {
    long long integerDigits = 0;
    long long digits = 0;
    long long firstSignificant = -1;
    bool seenPoint = false;
    std::size_t i = text.find_first_not_of('-');
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        if (text[i] == '.') {
            seenPoint = true;
            continue;
        }
        integerDigits += seenPoint ? 0 : 1;
        if (firstSignificant < 0 && text[i] != '0') {
            firstSignificant = digits;
        }
        ++digits;
    }
    long long exponent = 0;
    if (i + 1 < text.size()) {
        std::string_view part = text.substr(i + 1);
        const bool negative = part[0] == '-';
        part.remove_prefix(part[0] == '-' || part[0] == '+' ? 1 : 0);
        // An exponent this long lies far beyond either end of the range.
        if (std::from_chars(part.data(), part.data() + part.size(), exponent).ec != std::errc() ||
            exponent > 1'000'000'000) {
            return negative;
        }
        exponent = negative ? -exponent : exponent;
    }
    return integerDigits - firstSignificant - 1 + exponent < 0;
}

// A number too small in magnitude for a double is taken as 0, as the arithmetic would take it;
// one too large is refused like an infinity.
bool ParseReal(std::string_view text, double& value) {
    text = WithoutPlus(text);
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec == std::errc::result_out_of_range && ptr == end && IsBelowOne(text)) {
        value = 0.0;
        return true;
    }
    return ec == std::errc() && ptr == end && !text.empty() && std::isfinite(value);
}

bool ParseLevel(std::string_view text, int& level) {
    static constexpr std::pair<std::string_view, int> kLevels[] = {{"off", FLAME_OFF},
                                                                   {"strong", FLAME_STRONG},
                                                                   {"medium", FLAME_MEDIUM},
                                                                   {"weak", FLAME_WEAK}};
    for (const auto& [name, value] : kLevels) {
        if (text == name) {
            level = value;
            return true;
        }
    }
    return false;
}

std::string Describe(const std::string& option, const std::string& value,
                     const std::string& accepted) {
    return "quorvel-batch: " + option + ": invalid value '" + value + "' (accepted: " + accepted +
           ")";
}

template <typename Number>
std::string RangeText(Number low, Number high) {
    std::ostringstream out;
    out << low << " to " << high;
    return out.str();
}

}  // namespace

BatchParseResult ParseBatchOptions(const std::vector<std::string>& args) {
    BatchParseResult result;
    BatchOptions& o = result.options;
    SimulationSettings& s = o.settings;

    using Setter = std::function<std::string(const std::string& option, const std::string& value)>;
    auto intIn = [](int& target, int low, int high) -> Setter {
        return [&target, low, high](const std::string& option, const std::string& value) {
            int parsed = 0;
            if (!ParseInteger(value, parsed) || parsed < low || parsed > high) {
                return Describe(option, value, "an integer from " + RangeText(low, high));
            }
            target = parsed;
            return std::string();
        };
    };
    auto anyInt = [&intIn](int& target) {
        return intIn(target, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    };
    auto realIn = [](double& target, double low, double high) -> Setter {
        return [&target, low, high](const std::string& option, const std::string& value) {
            double parsed = 0.0;
            if (!ParseReal(value, parsed) || parsed < low || parsed > high) {
                const bool bounded = low != -std::numeric_limits<double>::max();
                return Describe(
                    option, value,
                    bounded ? "a number from " + RangeText(low, high) : "a finite number");
            }
            target = parsed;
            return std::string();
        };
    };
    auto anyReal = [&realIn](double& target) {
        return realIn(target, -std::numeric_limits<double>::max(),
                      std::numeric_limits<double>::max());
    };
    auto level = [](int& target) -> Setter {
        return [&target](const std::string& option, const std::string& value) {
            if (!ParseLevel(value, target)) {
                return Describe(option, value, "off, strong, medium or weak");
            }
            return std::string();
        };
    };
    auto text = [](std::string& target) -> Setter {
        return [&target](const std::string& option, const std::string& value) {
            if (value.empty()) {
                return Describe(option, value, "a file name");
            }
            target = value;
            return std::string();
        };
    };
    Setter ticks = [&o](const std::string& option, const std::string& value) {
        long long parsed = 0;
        if (!ParseInteger(value, parsed) || parsed < 0) {
            return Describe(
                option, value,
                "an integer from 0 to " + std::to_string(std::numeric_limits<long long>::max()));
        }
        o.ticks = parsed;
        return std::string();
    };
    // "WxH": the client area the picture's frame is made for.
    Setter viewSize = [&o](const std::string& option, const std::string& value) {
        const std::size_t x = value.find('x');
        int width = 0;
        int height = 0;
        if (x == std::string::npos || !ParseInteger(std::string_view(value).substr(0, x), width) ||
            !ParseInteger(std::string_view(value).substr(x + 1), height) ||
            width < MIN_CLIENT_WIDTH || width > MAX_VIEW_SIZE || height < MIN_CLIENT_HEIGHT ||
            height > MAX_VIEW_SIZE) {
            return Describe(option, value,
                            "WIDTHxHEIGHT, width " + RangeText(MIN_CLIENT_WIDTH, MAX_VIEW_SIZE) +
                                ", height " + RangeText(MIN_CLIENT_HEIGHT, MAX_VIEW_SIZE));
        }
        o.viewWidth = width;
        o.viewHeight = height;
        return std::string();
    };
    Setter seed = [&o](const std::string& option, const std::string& value) {
        std::uint32_t parsed = 0;
        if (!ParseInteger(value, parsed)) {
            return Describe(option, value, "an integer from 0 to 4294967295");
        }
        o.seed = parsed;
        return std::string();
    };

    const std::vector<std::pair<std::string, Setter>> valued = {
        {"--ticks", ticks},
        {"--seed", seed},
        {"--columns", intIn(s.columns, MIN_GRID_SIZE, MAX_GRID_SIZE)},
        {"--rows", intIn(s.rows, MIN_GRID_SIZE, MAX_GRID_SIZE)},
        {"--initial-temperature",
         intIn(s.initialTemperature, MIN_INITIAL_TEMPERATURE, MAX_INITIAL_TEMPERATURE)},
        {"--convection-ratio",
         realIn(s.convectionRatio, MIN_CONVECTION_RATIO, MAX_CONVECTION_RATIO)},
        {"--conduction", anyReal(s.conductionCoefficient)},
        {"--cooling", anyReal(s.coolingCoefficient)},
        {"--room-temperature", anyInt(s.roomTemperature)},
        {"--strong", anyInt(s.strongFlamePower)},
        {"--medium", anyInt(s.mediumFlamePower)},
        {"--weak", anyInt(s.weakFlamePower)},
        {"--ends", level(o.endsLevel)},
        {"--centre", level(o.centreLevel)},
        {"--history-interval", anyInt(s.historyInterval)},
        {"--grid-out", text(o.gridOut)},
        {"--history-out", text(o.historyOut)},
        {"--png", text(o.pngOut)},
        {"--view-size", viewSize},
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string option = args[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = option.find('=');
            option.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = option.substr(eq + 1);
            option.resize(eq);
        }
        if (option == "--help" || option == "-h" || option == "--progress" ||
            option == "--no-progress") {
            if (inlineValue) {
                result.error = "quorvel-batch: " + option + " takes no value";
                return result;
            }
            if (option == "--help" || option == "-h") {
                o.help = true;
            } else {
                o.progress = option == "--progress";
            }
            continue;
        }
        const Setter* setter = nullptr;
        for (const auto& [name, apply] : valued) {
            if (name == option) {
                setter = &apply;
            }
        }
        if (setter == nullptr) {
            result.error = "quorvel-batch: unknown option '" + args[i] + "' (see --help)";
            return result;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                result.error = "quorvel-batch: " + option + ": missing value";
                return result;
            }
            inlineValue = args[++i];
        }
        result.error = (*setter)(option, *inlineValue);
        if (!result.error.empty()) {
            return result;
        }
    }
    // Two outputs written to one file would leave only the last of them.
    const std::pair<const char*, const std::string*> outputs[] = {
        {"--grid-out", &o.gridOut}, {"--history-out", &o.historyOut}, {"--png", &o.pngOut}};
    for (std::size_t a = 0; a < std::size(outputs); ++a) {
        for (std::size_t b = a + 1; b < std::size(outputs); ++b) {
            const std::string& first = *outputs[a].second;
            const std::string& second = *outputs[b].second;
            if (!first.empty() && !second.empty() &&
                ResolveOutputPath(first) == ResolveOutputPath(second)) {
                result.error = std::string("quorvel-batch: ") + outputs[a].first + " '" + first +
                               "' and " + outputs[b].first + " '" + second + "' name the same file";
                return result;
            }
        }
    }
    return result;
}

std::string BatchUsage() {
    return R"(Usage: quorvel-batch [options]
Runs the Quorvel water simulation without a window and reports what it did.

  --ticks N                 ticks to run (default 10000)
  --seed N                  random seed, 0 to 4294967295 (default: from the clock)
  --columns N, --rows N     grid size, 3 to 80 (default 20 x 20)
  --initial-temperature T   degrees C, 0 to 100 (default 15)
  --convection-ratio K      0 to 1 (default 0.7)
  --conduction C            conduction coefficient (default 0.035)
  --cooling C               cooling coefficient (default 0.6)
  --room-temperature T      degrees C (default 10)
  --strong P, --medium P, --weak P
                            flame powers in cal per step (default 400, 140, 70)
  --ends LEVEL              both-ends burner: off, strong, medium, weak (default weak)
  --centre LEVEL            centre burner (default medium)
  --history-interval N      history sampling interval in ticks (default 100)
  --grid-out FILE           write every cell after the last tick: row col phase temperature heat
  --history-out FILE        write the history samples as CSV
  --png FILE                write the vessel view after the last tick as a PNG picture
  --view-size WxH           window client area the picture is drawn for (default 640x480,
                            giving a 640 x 439 picture); width 151 to 10000, height 101 to 10000
  --progress, --no-progress
                            show a progress bar on stderr (default: when stderr is a
                            terminal)
  --help                    show this text

A value may also be given as --option=VALUE. A number too small for a double (such as 1e-999)
counts as 0; one too large for it is refused. Two outputs may not name the same file.

Each output is written whole or not at all: the outputs are checked and their temporary files
created, as .quorvel-XXXXXX.tmp in each output's folder, before the first tick, and the files
are renamed into place only when every one of them is complete. SIGINT, SIGTERM, SIGHUP and
SIGQUIT remove the temporary files and end the run with status 128 + the signal number; after
SIGKILL they stay behind and may be deleted. An output that is a symbolic link replaces the
file the link points to.

Exit status: 0 done, 1 an output could not be written, 2 bad options.
)";
}
