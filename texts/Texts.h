#pragma once

#include <string_view>
#include <vector>

// The program's texts in both languages. Every text is written once, in Japanese, as a named
// constant beside the code that uses it; its English text is found here, by the Japanese one. Texts
// that read the same in both languages (names, numbers, "&OK") have no entry and are shown as they
// are.
namespace Texts {

struct Pair {
    const char* japanese;  // UTF-8
    const char* english;
};

// Every pair, each Japanese text once.
const std::vector<Pair>& All();

// The English text of a Japanese one; null when it has none.
const char* English(std::string_view japanese);
// The text as an English front end shows it: its English text, or the text itself when it
// reads the same in both languages.
const char* InEnglish(const char* japanese);

}  // namespace Texts
