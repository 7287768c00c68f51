#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "PendingOutputs.h"

// Where an output goes: the path it resolves to and the unique names beside it.

int CreateUnique(const std::string& folder, const char* suffix, mode_t mode, std::string& name) {
    static constexpr char CHARS[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<unsigned long long> counter{0};
    unsigned long long seed = static_cast<unsigned long long>(
                                  std::chrono::steady_clock::now().time_since_epoch().count()) ^
                              (static_cast<unsigned long long>(getpid()) << 32);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        unsigned long long bits = (seed += 0x9E3779B97F4A7C15ULL * (counter.fetch_add(1) + 1));
        bits ^= bits >> 31;
        bits *= 0xBF58476D1CE4E5B9ULL;
        std::string random(6, 'x');
        for (char& c : random) {
            c = CHARS[bits % (sizeof CHARS - 1)];
            bits /= sizeof CHARS - 1;
        }
        name = (folder.empty() ? std::string(".") : folder) + "/.quorvel-" + random + suffix;
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

std::string ResolveOutputPath(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error) {
        return path;
    }
    // Each link met is replaced by what it points to, also when that does not exist yet,
    // so that a link to a missing file resolves to the file the output will create.
    std::vector<std::string> rest;
    for (const fs::path& part : absolute.relative_path()) {
        rest.push_back(part.string());
    }
    std::reverse(rest.begin(), rest.end());  // the next part last
    fs::path resolved = absolute.root_path();
    constexpr int MAX_LINKS = 40;  // as the system's own limit
    int links = 0;
    while (!rest.empty()) {
        const std::string part = std::move(rest.back());
        rest.pop_back();
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            resolved = resolved.parent_path();
            continue;
        }
        const fs::path next = resolved / part;
        if (!fs::is_symlink(next, error)) {
            resolved = next;
            continue;
        }
        const fs::path target = fs::read_symlink(next, error);
        if (error || ++links > MAX_LINKS) {
            return absolute.lexically_normal().string();
        }
        if (target.is_absolute()) {
            resolved = target.root_path();
        }
        std::vector<std::string> parts;
        for (const fs::path& targetPart : target.relative_path()) {
            parts.push_back(targetPart.string());
        }
        rest.insert(rest.end(), parts.rbegin(), parts.rend());
    }
    return resolved.string();
}
