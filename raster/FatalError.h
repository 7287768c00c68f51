#pragma once

#include <functional>
#include <string>

// Ends the program after a resource failure: the handler shows the message (the desktop
// program installs its message box; the default writes to stderr), then the process exits
// with the code. A handler may also throw, which tests use to catch the report.
using FatalHandler = std::function<void(const std::string& text, int code)>;

// Installs a handler and returns the one it replaces.
FatalHandler SetFatalHandler(FatalHandler handler);

[[noreturn]] void FatalError(const char* text, int code);
