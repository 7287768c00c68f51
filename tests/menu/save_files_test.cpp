// The files the context menu saves: their proposed names, start folders and dialog captions.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "SaveFiles.h"

namespace {

TEST(SaveFiles, ProposedNamesSortByTheirTime) {
    EXPECT_EQ(SuggestedName(FileKind::Picture, {2026, 12, 7, 15, 30, 0}),
              "quorvel-20261207-153000.png");
    EXPECT_EQ(SuggestedName(FileKind::History, {2027, 1, 2, 3, 4, 5}),
              "quorvel-20270102-030405.csv");
    EXPECT_EQ(SuggestedName(FileKind::Run, {2026, 12, 31, 23, 59, 59}),
              "quorvel-20261231-235959.quorvel");
    const LocalTime now = LocalTimeNow();
    EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.day >= 1 && now.year >= 2000);
}

TEST(SaveFiles, TheStartFolderIsTheLastOneOrAnExistingStandardOneOrHome) {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("save_files_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(root / "Pictures");
    std::ofstream(root / "file") << "x";
    const std::string pictures = (root / "Pictures").string();
    struct Case {
        std::string last, standard, expected;
    };
    const Case cases[] = {
        {"/last", pictures, "/last"},
        {"", pictures, pictures},
        {"", (root / "missing").string(), "/home/me"},
        {"", (root / "file").string(), "/home/me"},  // not a folder
        {"", "", "/home/me"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StartFolder(c.last, c.standard, "/home/me"), c.expected) << c.standard;
    }
    std::filesystem::remove_all(root);
}

TEST(SaveFiles, CaptionsAreTheItemsWithoutTheirEllipsis) {
    EXPECT_EQ(DialogCaption("画像を保存..."), "画像を保存");
    EXPECT_EQ(DialogCaption("Save run..."), "Save run");
    EXPECT_EQ(DialogCaption("About"), "About");
    EXPECT_STREQ(FileKindOf(FileKind::Run).extension, "quorvel");
}

}  // namespace
