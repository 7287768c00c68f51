// Finding the user's guide from the program's folder: the build tree's copy, the installed one,
// the build tree's first, and nothing where neither is.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "GuideLocation.h"

namespace fs = std::filesystem;

namespace {

struct Layout {
    const char* name;
    std::vector<const char*> pages;  // relative to the root
    const char* programDir;
    const char* language;
    const char* expected;  // relative to the root; null for none
};

TEST(GuideLocation, FindsTheBuildTreesOrTheInstalledPageInTheLanguage) {
    const std::string installed = std::string(QUORVEL_INSTALL_DATADIR) + "/doc/quorvel/guide/";
    const std::string installedJa = installed + "ja.html";
    const std::string installedEn = installed + "en.html";
    const Layout layouts[] = {
        {"build tree", {"guide/ja.html", "guide/en.html"}, "app", "en", "guide/en.html"},
        {"installed", {installedJa.c_str(), installedEn.c_str()}, "bin", "ja", installedJa.c_str()},
        {"both: the build tree's",
         {"guide/ja.html", installedJa.c_str()},
         "app",
         "ja",
         "guide/ja.html"},
        {"only the other language", {"guide/ja.html"}, "app", "en", nullptr},
        {"none", {}, "bin", "ja", nullptr},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const fs::path root =
            fs::temp_directory_path() / ("quorvel-guide-location-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / layout.programDir);
        for (const char* page : layout.pages) {
            fs::create_directories((root / page).parent_path());
            std::ofstream(root / page) << "<html></html>\n";
        }
        const std::string found =
            FindGuidePage((root / layout.programDir).string(), layout.language);
        if (layout.expected == nullptr) {
            EXPECT_EQ(found, "");
        } else {
            EXPECT_EQ(found, fs::canonical(root / layout.expected).string());
        }
        fs::remove_all(root);
    }
}

}  // namespace
