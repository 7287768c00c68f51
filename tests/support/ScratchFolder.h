#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// A fixture that gives each test a fresh folder of its own under the system's temporary folder,
// removed after the test, and reads and writes files in it.
class ScratchFolderTest : public ::testing::Test {
protected:
    explicit ScratchFolderTest(const std::string& prefix) : prefix_(prefix) {}

    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              (prefix_ + "-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string Path(const std::string& name) const { return (dir / name).string(); }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(dir / name) << text;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(dir / name);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Paths of this program's temporary files (".quorvel-*") anywhere under the folder.
    std::vector<std::string> TemporaryFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
            if (entry.path().filename().string().rfind(".quorvel-", 0) == 0) {
                names.push_back(entry.path().string());
            }
        }
        return names;
    }

    std::filesystem::path dir;

private:
    std::string prefix_;
};
