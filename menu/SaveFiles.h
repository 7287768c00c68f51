#pragma once

#include <string>

// The files the context menu saves and opens: the name a save dialog proposes, the filter it
// shows and the folder it starts in.
enum class FileKind { Picture, History, Run };

// The desktop's standard folder a kind of file is first looked for in.
enum class StandardFolder { Pictures, Documents };

struct FileKindInfo {
    const char* extension;  // without the dot
    const char* filter;     // Japanese: the front end shows it in its language
    const char* itemText;   // the menu item that saves (or opens) it
    StandardFolder folder;
};
const FileKindInfo& FileKindOf(FileKind kind);

// A moment in local time.
struct LocalTime {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
LocalTime LocalTimeNow();

// A name that sorts by the time it was proposed: quorvel-20261207-153000.png.
std::string SuggestedName(FileKind kind, const LocalTime& time);

// Where a file dialog starts: the folder last used this session; else the standard folder
// when there is one and it exists as a folder; else the home folder.
std::string StartFolder(const std::string& lastUsed, const std::string& standard,
                        const std::string& home);

// A dialog's caption: its menu item's text (as shown, in either language) without the
// ellipsis.
std::string DialogCaption(std::string itemText);
