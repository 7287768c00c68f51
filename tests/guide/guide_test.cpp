// The user's guide: it builds, it describes every context-menu item and every setting of the
// program in both languages (taken from the program's own tables), and every link and picture
// of its pages resolves inside the guide.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ExportTexts.h"
#include "MainTexts.h"
#include "RunFileTexts.h"
#include "RunSpeed.h"
#include "SettingsSchema.h"
#include "SettingsTemplate.h"
#include "Texts.h"
#include "WholeRunGraph.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A text as the guide names it: without the keyboard mnemonic ("(&A)", "&") and the label's
// range and colon ("初めの温度 (0 ～ 100) :" names "初めの温度").
std::string Plain(std::string text) {
    for (const char* cut : {" (", "(&", " :", ":"}) {
        if (const auto at = text.find(cut); at != std::string::npos) {
            text.erase(at);
        }
    }
    std::erase(text, '&');
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

struct Guide {
    std::string japanese;
    std::string english;
};

const Guide& Sources() {
    static const Guide guide{ReadFile(fs::path(GUIDE_SOURCE_DIR) / "ja.md"),
                             ReadFile(fs::path(GUIDE_SOURCE_DIR) / "en.md")};
    return guide;
}

// The line of a Markdown table whose first cell is `name`; empty when there is none.
std::string TableRow(const std::string& page, const std::string& name) {
    std::istringstream lines(page);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("| " + name + " |")) {
            return line;
        }
    }
    return {};
}

// The label the dialog shows for a field: the check box's own text, or the label before the
// edit box.
std::string FieldLabel(const SettingField& field, bool english) {
    const SettingsItem* label = nullptr;
    for (const SettingsItem& item : SETTINGS_ITEMS) {
        if (item.kind == ITEM_STATIC && item.english != nullptr) {
            label = &item;
        }
        if (item.id == field.id) {
            const SettingsItem& named = item.kind == ITEM_EDIT ? *label : item;
            return Plain(english ? named.english : named.text);
        }
    }
    return {};
}

TEST(Guide, DescribesEveryContextMenuItemInBothLanguages) {
    std::vector<const char*> items = {MainTexts::SAVE_STATE,
                                      MainTexts::ABOUT,
                                      RunSpeed::MENU,
                                      RunSpeed::SINGLE_STEP,
                                      ExportTexts::SAVE_PICTURE,
                                      ExportTexts::SAVE_HISTORY,
                                      RunFileTexts::SAVE_RUN,
                                      RunFileTexts::OPEN_RUN,
                                      MainTexts::TEXT_SIZE_MENU,
                                      MainTexts::TEXT_SIZE_STANDARD,
                                      MainTexts::TEXT_SIZE_LARGE,
                                      MainTexts::TEXT_SIZE_EXTRA_LARGE,
                                      MainTexts::LANGUAGE_ENGLISH,
                                      MainTexts::LANGUAGE_JAPANESE,
                                      MainTexts::GUIDE,
                                      WholeRunTexts::MENU_ITEM};
    items.insert(items.end(), std::begin(RunSpeed::LABELS), std::end(RunSpeed::LABELS));
    for (const char* item : items) {
        EXPECT_NE(Sources().japanese.find(Plain(item)), std::string::npos) << item;
        EXPECT_NE(Sources().english.find(Plain(Texts::InEnglish(item))), std::string::npos)
            << Texts::InEnglish(item);
    }
}

TEST(Guide, DescribesEverySettingWithItsDefaultRangeAndOptionInBothLanguages) {
    const SimulationSettings defaults;
    for (const SettingField& field : SETTING_FIELDS) {
        for (const bool english : {false, true}) {
            const std::string label = FieldLabel(field, english);
            const std::string row =
                TableRow(english ? Sources().english : Sources().japanese, label);
            ASSERT_FALSE(row.empty()) << "no row for " << label;
            if (field.kind != SettingKind::Check) {
                EXPECT_NE(row.find("| " + SettingFieldText(field, defaults) + " |"),
                          std::string::npos)
                    << label << ": default";
            }
            if (field.bounded) {
                EXPECT_NE(row.find(SettingBoundText(field, field.low)), std::string::npos) << label;
                EXPECT_NE(row.find(SettingBoundText(field, field.high)), std::string::npos)
                    << label;
            }
            if (field.option != nullptr) {
                EXPECT_NE(row.find(std::string("`") + field.option + "`"), std::string::npos)
                    << label << ": " << field.option;
            }
        }
    }
}

// Builds the guide afresh into a temporary folder with the project's script, as the build does.
class BuiltGuide : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = fs::temp_directory_path() / ("quorvel-guide-test-" + std::to_string(::getpid()));
        fs::remove_all(s_dir);
        const std::string command =
            "bash '" GUIDE_BUILD_SCRIPT "' '" QUORVEL_BATCH_EXE "' '" + s_dir.string() + "'";
        s_status = std::system(command.c_str());
    }
    static void TearDownTestSuite() { fs::remove_all(s_dir); }

    static inline fs::path s_dir;
    static inline int s_status = -1;
};

// Every href="..." and src="..." of a page: the attribute's name and its target. (Searched
// for, not matched by std::regex, whose code GCC 12 warns about under the sanitizers.)
std::vector<std::pair<std::string, std::string>> References(const std::string& html) {
    std::vector<std::pair<std::string, std::string>> found;
    for (const std::string attribute : {"href", "src"}) {
        const std::string opening = " " + attribute + "=\"";
        for (std::size_t at = html.find(opening); at != std::string::npos;
             at = html.find(opening, at + 1)) {
            const std::size_t start = at + opening.size();
            found.emplace_back(attribute, html.substr(start, html.find('"', start) - start));
        }
    }
    return found;
}

TEST_F(BuiltGuide, EveryLinkAndPictureResolvesInsideTheGuide) {
    ASSERT_EQ(s_status, 0);
    for (const char* page : {"ja.html", "en.html"}) {
        const std::string html = ReadFile(s_dir / page);
        ASSERT_FALSE(html.empty()) << page;
        int pictures = 0;
        for (const auto& [attribute, target] : References(html)) {
            SCOPED_TRACE(std::string(page) + ": " + target);
            ASSERT_FALSE(target.empty());
            EXPECT_EQ(target.find(':'), std::string::npos) << "the guide reaches out of itself";
            if (target.starts_with("#")) {
                EXPECT_NE(html.find("id=\"" + target.substr(1) + "\""), std::string::npos);
            } else {
                EXPECT_TRUE(fs::is_regular_file(s_dir / target));
                pictures += attribute == "src";
            }
        }
        EXPECT_EQ(pictures, 5) << page;
    }
}

}  // namespace
