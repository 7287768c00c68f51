#include "GuideLocation.h"

#include <filesystem>
#include <system_error>

std::string FindGuidePage(const std::string& programDir, const std::string& language) {
    namespace fs = std::filesystem;
    const fs::path dir(programDir);
    const fs::path page = language + ".html";
    const fs::path candidates[] = {
        dir / ".." / "guide" / page,
        dir / ".." / QUORVEL_INSTALL_DATADIR / "doc" / "quorvel" / "guide" / page,
    };
    for (const fs::path& candidate : candidates) {
        std::error_code error;
        if (fs::is_regular_file(candidate, error)) {
            const fs::path found = fs::weakly_canonical(candidate, error);
            return (error ? candidate : found).string();
        }
    }
    return {};
}
