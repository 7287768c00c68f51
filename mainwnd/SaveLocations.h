#pragma once

#include <QString>

#include "SaveFiles.h"

// The engine's rules for the files the context menu saves and opens, with the desktop's
// standard folders and its home folder.
//
// The folder a file dialog for `kind` starts in, given the folder last used this session
// (empty: none yet).
QString StartFolderFor(FileKind kind, const QString& lastUsed);
// The path a save dialog proposes: a name of the present time in `folder`.
QString ProposedPath(FileKind kind, const QString& folder);
// The dialog's caption: the menu item's text in the current language without its ellipsis.
QString DialogCaptionFor(const char* itemText);
