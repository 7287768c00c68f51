#include "RunFileWords.h"

#include <cstdio>
#include <sstream>

#include "EscapeControls.h"
#include "NumberText.h"

namespace {

// Words are separated by one space each; any other blank is part of a word (and then
// refused by its reader).
RunFileWordList Split(std::string_view line) {
    RunFileWordList words;
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

std::string Lower(std::string_view word) {
    std::string lower(word);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

// The word between single quotes.
std::string Quoted(std::string_view word) {
    std::string quoted;
    quoted.reserve(word.size() + 2);
    quoted += '\'';
    quoted += word;
    quoted += '\'';
    return quoted;
}

}  // namespace

// Through a classic-locale stream, as the C++ library of the WebAssembly build has no
// floating-point to_chars.
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

bool RunFileReader::Record(std::string_view key, RunFileWordList& words) {
    if (!NextLine()) {
        return Fail("the file ends before '" + std::string(key) + "' (it is cut short)");
    }
    words = Split(m_line);
    if (words.empty() || words[0] != key) {
        return Fail(Quoted(key) + " expected, found " + Quoted(Shown(m_line)));
    }
    words.erase(words.begin());
    return true;
}

bool RunFileReader::Record(std::string_view key, std::size_t count, RunFileWordList& words) {
    return Record(key, words) && Count(key, count, words);
}

bool RunFileReader::Count(std::string_view key, std::size_t count, const RunFileWordList& words) {
    if (words.size() != count) {
        return Fail(Quoted(key) + " needs " + std::to_string(count) +
                    (count == 1 ? " value" : " values") + ", found " +
                    std::to_string(words.size()));
    }
    return true;
}

bool RunFileReader::Row(std::string_view table, std::size_t minCount, std::size_t maxCount,
                        RunFileWordList& words) {
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

bool RunFileReader::Fail(const std::string& what) {
    m_error = "line " + std::to_string(m_lineNumber) + ": " + what;
    return false;
}

bool RunFileReader::Real(std::string_view word, std::string_view what, double& value) {
    const std::string lower = Lower(word);
    if (lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos) {
        return Fail(std::string(what) + " '" + Shown(word) + "' is not a finite number");
    }
    if (TrimBlanks(word) != word || !ParseReal(word, value)) {
        return Fail(std::string(what) + " '" + Shown(word) + "' is not a number");
    }
    return true;
}

std::string RunFileReader::Shown(std::string_view word) {
    return EscapeControls(word.substr(0, 60)) + (word.size() > 60 ? "..." : "");
}

bool RunFileReader::NextLine() {
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
