#include "FatalError.h"

#include <cstdio>
#include <cstdlib>

namespace {

void WriteToStderr(const std::string& text, int code) {
    std::fprintf(stderr, "%s (exit code %d)\n", text.c_str(), code);
    std::fflush(stderr);
}

FatalHandler& Handler() {
    static FatalHandler handler = WriteToStderr;
    return handler;
}

}  // namespace

FatalHandler SetFatalHandler(FatalHandler handler) {
    FatalHandler previous = std::move(Handler());
    Handler() = handler ? std::move(handler) : FatalHandler(WriteToStderr);
    return previous;
}

void FatalError(const char* text, int code) {
    Handler()(text, code);
    std::exit(code);
}
