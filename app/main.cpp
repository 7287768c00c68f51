#include <cstdio>

#include "SimApp.h"

int main(int argc, char** argv) {
    // --help and --version answer without a display.
    const StartOptions options = ParseStartOptions(argc, argv);
    if (options.help || options.version) {
        const QString text = options.help ? UsageText() : VersionText();
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    CSimApp app(argc, argv);
    // Taken before the working folder may change, so that a relative name still holds.
    const QString runFile = RunFileArgument(QCoreApplication::arguments());
    // A menu start that cannot enter its folder keeps the working folder it was given.
    if (options.fromMenu) {
        EnterMenuWorkingFolder();
    }
    app.InitInstance(runFile);
    return 0;
}
