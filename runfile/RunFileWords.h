#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

// The words of a run file: how its numbers are written, and a reader that takes the text
// line by line and word by word, strictly, naming the line of every fault.

// %.17g in every locale: the digits that read back to the same double.
void AppendReal(std::string& text, double value);
void AppendInteger(std::string& text, long long value);
// The generator's state as the library writes it: its words separated by spaces.
std::string GeneratorText(const std::mt19937& generator);
// The low 24 bits as six lower-case hexadecimal digits.
std::string ColourText(std::uint32_t colour);

using RunFileWordList = std::vector<std::string_view>;

// The text split into lines, read in order; every fault names the line it is in.
class RunFileReader {
public:
    explicit RunFileReader(std::string_view text) : m_text(text) {}

    // The next line's words after `key`, which must be its first word. False (with the
    // fault) when the text ends or the line holds another record.
    bool Record(std::string_view key, RunFileWordList& words);
    // A record of exactly `count` words after its key.
    bool Record(std::string_view key, std::size_t count, RunFileWordList& words);
    // Whether the words a record `key` holds are `count`; the fault when they are not.
    bool Count(std::string_view key, std::size_t count, const RunFileWordList& words);
    // A line of `minCount` to `maxCount` words, without a key (the rows of a table).
    bool Row(std::string_view table, std::size_t minCount, std::size_t maxCount,
             RunFileWordList& words);
    bool AtEnd() const { return m_pos >= m_text.size(); }

    bool Fail(const std::string& what);
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
    bool Real(std::string_view word, std::string_view what, double& value);

    // A word as a fault shows it: control characters escaped, long words cut.
    static std::string Shown(std::string_view word);

private:
    bool NextLine();

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::string_view m_line;
    int m_lineNumber = 0;
    std::string m_error;
};
