#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "ScratchFolder.h"

// Runs the real quorvel-batch in a fresh temporary directory.
class BatchRunTest : public ScratchFolderTest {
protected:
    BatchRunTest() : ScratchFolderTest("quorvel-batch-test") {}
    void TearDown() override {
        for (const std::filesystem::path& mount : mounts) {
            std::system(("umount '" + mount.string() + "'").c_str());
        }
        ScratchFolderTest::TearDown();
    }

    // Exit status of the runner; stdout and stderr are kept in out.txt and err.txt. The shell
    // commands in `before` run first (a limit, a timeout).
    int Run(const std::string& args, const std::string& before = "") {
        const std::string command = "cd '" + dir.string() + "' && " + before + " '" +
                                    QUORVEL_BATCH_EXE "' " + args + " >out.txt 2>err.txt";
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    // Starts the runner as a child (not through a shell, which would make it ignore SIGINT).
    pid_t Start(const std::vector<std::string>& args) {
        std::vector<std::string> words = {QUORVEL_BATCH_EXE};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        return Fork([&argv] {
            execvp(argv[0], argv.data());
            return 127;
        });
    }
    // Runs `body` in a child in the folder, its standard output and error going to out.txt, as
    // a user's shell would start it whatever this test program inherited; the child ends with
    // the status `body` returns.
    pid_t Fork(const std::function<int()>& body) {
        std::fflush(nullptr);  // nothing of this program's is written twice
        const pid_t pid = fork();
        if (pid == 0) {
            const int out =
                chdir(dir.c_str()) == 0 ? open("out.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1;
            if (out < 0 || dup2(out, 1) < 0 || dup2(out, 2) < 0) {
                _exit(126);
            }
            for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
                std::signal(signalNumber, SIG_DFL);
            }
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            _exit(body());
        }
        return pid;
    }
    // The child's exit status, 1000 + the signal that ended it, or -1 (and the child killed)
    // when it is still running after a minute.
    static int Wait(pid_t pid) {
        int raw = 0;
        pid_t ended = 0;
        for (int i = 0; i < 6000 && (ended = waitpid(pid, &raw, WNOHANG)) == 0; ++i) {
            usleep(10000);
        }
        if (ended == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &raw, 0);
            return -1;
        }
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : 1000 + WTERMSIG(raw);
    }
    // A tmpfs with the given mount options at dir/name; false when this user may not mount.
    bool MountTmpfs(const std::string& name, const std::string& options) {
        std::filesystem::create_directories(dir / name);
        const std::string command =
            "mount -t tmpfs -o " + options + " tmpfs '" + (dir / name).string() + "' 2>/dev/null";
        if (std::system(command.c_str()) != 0) {
            return false;
        }
        mounts.push_back(dir / name);
        return true;
    }
    std::vector<std::string> Lines(const std::string& name) const {
        std::vector<std::string> lines;
        std::istringstream in(Read(name));
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::vector<std::filesystem::path> mounts;
};
