#include "SaveFiles.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "ExportTexts.h"
#include "RunFileTexts.h"

const FileKindInfo& FileKindOf(FileKind kind) {
    static const FileKindInfo KINDS[] = {
        {"png", ExportTexts::PICTURE_FILTER, ExportTexts::SAVE_PICTURE, StandardFolder::Pictures},
        {"csv", ExportTexts::HISTORY_FILTER, ExportTexts::SAVE_HISTORY, StandardFolder::Documents},
        {"quorvel", RunFileTexts::RUN_FILTER, RunFileTexts::SAVE_RUN, StandardFolder::Documents},
    };
    return KINDS[static_cast<int>(kind)];
}

LocalTime LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string SuggestedName(FileKind kind, const LocalTime& t) {
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return std::string("quorvel-") + stamp + "." + FileKindOf(kind).extension;
}

std::string StartFolder(const std::string& lastUsed, const std::string& standard,
                        const std::string& home) {
    if (!lastUsed.empty()) {
        return lastUsed;
    }
    std::error_code error;
    if (!standard.empty() && std::filesystem::is_directory(standard, error)) {
        return standard;
    }
    return home;
}

std::string DialogCaption(std::string itemText) {
    for (std::size_t at; (at = itemText.find("...")) != std::string::npos;) {
        itemText.erase(at, 3);
    }
    return itemText;
}
