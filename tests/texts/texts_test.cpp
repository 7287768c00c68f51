// The program's texts in both languages: every Japanese text has its English one, and the two
// agree on what the program fills in or underlines.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "MainTexts.h"
#include "Texts.h"
#include "VesselView.h"

namespace {

// Whether UTF-8 text holds Japanese script: kana, CJK punctuation and ideographs, full- and
// half-width forms.
bool HasJapanese(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
        if (length == 3 && i + 2 < text.size()) {
            const unsigned code = (byte & 0x0Fu) << 12 |
                                  (static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6 |
                                  (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
            if ((code >= 0x3000 && code <= 0x30FF) || (code >= 0x4E00 && code <= 0x9FFF) ||
                (code >= 0xFF00 && code <= 0xFFEF)) {
                return true;
            }
        }
        i += length;
    }
    return false;
}

// The string literals of a C++ source, adjacent ones joined as the compiler joins them;
// comments and character literals are skipped.
std::vector<std::string> StringLiterals(const std::string& source) {
    std::vector<std::string> literals;
    bool joining = false;  // only blanks and comments since the last literal
    for (std::size_t i = 0; i < source.size();) {
        const char c = source[i];
        if (source.compare(i, 2, "//") == 0) {
            i = source.find('\n', i);
        } else if (source.compare(i, 2, "/*") == 0) {
            const std::size_t end = source.find("*/", i);
            i = end == std::string::npos ? end : end + 2;
        } else if (c == '\'') {
            for (++i; i < source.size() && source[i] != '\''; ++i) {
                i += source[i] == '\\' ? 1 : 0;
            }
            ++i;
            joining = false;
        } else if (c == '"' || source.compare(i, 2, "R\"") == 0) {
            std::string text;
            if (c == 'R') {
                const std::size_t open = source.find('(', i);
                std::string close(1, ')');
                close.append(source, i + 2, open - i - 2);
                close.push_back('"');
                const std::size_t end = source.find(close, open);
                text = source.substr(open + 1, end - open - 1);
                i = end + close.size();
            } else {
                for (++i; i < source.size() && source[i] != '"'; ++i) {
                    if (source[i] == '\\') {
                        text += source[i++];
                    }
                    text += source[i];
                }
                ++i;
            }
            if (joining) {
                literals.back() += text;
            } else {
                literals.push_back(text);
            }
            joining = true;
            continue;
        } else {
            if (std::isspace(static_cast<unsigned char>(c)) == 0) {
                joining = false;
            }
            ++i;
        }
        if (i == std::string::npos) {
            break;
        }
    }
    return literals;
}

TEST(Texts, SourceScanJoinsAdjacentLiteralsAndSkipsComments) {
    const std::string source =
        "// \"コメント\"\nconst char* a = \"前半 \" /* x */\n  \"後半\";\n"
        "char q = '\"'; auto r = R\"x(生の\"文字列)x\"; f(\"b\", \"c\");";
    EXPECT_EQ(StringLiterals(source),
              (std::vector<std::string>{"前半 後半", "生の\"文字列", "b", "c"}));
}

// Every Japanese text of the window's, the runner's and the engine's sources has its English
// text, and is written once only, as a named constant in a header: the table and every place
// that shows the text name that constant, so the two languages cannot drift apart.
TEST(Texts, EveryJapaneseTextIsOneConstantWithAnEnglishText) {
    // Each language's menu item is named in that language, whatever the current one; the
    // frame draws its labels alike in both languages.
    const std::set<std::string> untranslated = {MainTexts::LANGUAGE_JAPANESE,
                                                CELL_INFO_TEMPERATURE_FORMAT};
    const std::filesystem::path root = QUORVEL_SOURCE_DIR;
    std::map<std::string, std::vector<std::string>> places;  // text -> files writing it
    for (const char* folder : {"app", "batch", "history", "mainwnd", "menu", "model", "output",
                               "platform", "raster", "run", "runfile", "session", "settings",
                               "settingsdlg", "texts", "tools", "view", "web"}) {
        ASSERT_TRUE(std::filesystem::exists(root / folder)) << folder;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".h" && extension != ".cpp") {
                continue;
            }
            std::ifstream file(entry.path(), std::ios::binary);
            const std::string source{std::istreambuf_iterator<char>(file), {}};
            for (const std::string& literal : StringLiterals(source)) {
                if (HasJapanese(literal)) {
                    places[literal].push_back(
                        entry.path().lexically_relative(root).generic_string());
                }
            }
        }
    }
    for (const auto& [text, files] : places) {
        SCOPED_TRACE(text);
        if (!untranslated.contains(text)) {
            EXPECT_NE(Texts::English(text), nullptr) << files.front() << ": no English text";
        }
        EXPECT_EQ(files.size(), 1U) << "written in " << files.front() << " and " << files.back();
        EXPECT_TRUE(files.front().ends_with(".h")) << files.front() << ": not a named constant";
    }
    EXPECT_GT(places.size(), 80U) << "the sources were not found under " << root;
}

// What the program fills in ("%1", "%d") and the keyboard mnemonic ("&") must be there in both
// languages, or a translated prompt would lose its range and a button its shortcut key.
TEST(Texts, EachPairAgreesOnPlaceholdersAndMnemonics) {
    const auto marks = [](const std::string& text) {
        std::multiset<std::string> found;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '%' && i + 1 < text.size()) {
                found.insert(text.substr(i, 2));
            } else if (text[i] == '&') {
                found.insert("&");
            }
        }
        return found;
    };
    std::set<std::string> seen;
    for (const Texts::Pair& pair : Texts::All()) {
        SCOPED_TRACE(pair.japanese);
        EXPECT_TRUE(seen.insert(pair.japanese).second) << "listed twice";
        ASSERT_NE(pair.english, nullptr);
        EXPECT_FALSE(HasJapanese(pair.english));
        EXPECT_EQ(marks(pair.japanese), marks(pair.english));
        EXPECT_STREQ(Texts::English(pair.japanese), pair.english);
    }
    EXPECT_EQ(Texts::English("no such text"), nullptr);
}

}  // namespace
