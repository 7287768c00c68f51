#pragma once

#include <QApplication>
#include <QString>
#include <functional>

class CSimDlg;

// The application: reads the profile, runs the main window until it closes and writes
// the profile back. A fatal error shows its message over the main window and ends the
// process with its code, so the profile is then left as it was.
class CSimApp : public QApplication {
    Q_OBJECT

public:
    CSimApp(int& argc, char** argv);

    // The whole life of the program. Always false: nothing runs after it.
    bool InitInstance();
};

// What the command line asks of the program besides running it; every other argument (Qt's
// own options included) is left to Qt or ignored.
struct StartOptions {
    bool help = false;      // --help: print the usage and end
    bool version = false;   // --version: print the version and end
    bool fromMenu = false;  // --from-menu: started from the desktop menu
};
StartOptions ParseStartOptions(int argc, const char* const* argv);

// What --help and --version print.
QString UsageText();
QString VersionText();

// The working folder of a start from the desktop menu, so that the profile does not land in
// the home folder: $XDG_CONFIG_HOME/quorvel, or ~/.config/quorvel when that variable is unset
// or not an absolute path.
QString MenuWorkingFolder();
// Makes MenuWorkingFolder() (created if missing) the working folder. False, with the working
// folder unchanged, when it cannot be created or entered.
bool EnterMenuWorkingFolder();

// The program between start-up and exit: reads the profile at `profilePath`, gives the
// main window its rectangles and option, lets `run` run the window (DoModal in the program),
// destroys it and writes the profile back.
void RunMainWindow(const QString& profilePath, const std::function<void(CSimDlg&)>& run);

// What a closing signal does: dismisses open menus and dialogs, then the Close command.
void CloseForSignal(CSimDlg& dialog);

// Shows a fatal message over `owner`: no icon, OK only, the application's name as title.
void ShowFatalMessage(QWidget* owner, const QString& text);
