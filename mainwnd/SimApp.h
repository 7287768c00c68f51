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

// The program between start-up and exit: reads the profile at `profilePath`, gives the
// main window its rectangles and option, lets `run` run the window (DoModal in the program),
// destroys it and writes the profile back.
void RunMainWindow(const QString& profilePath, const std::function<void(CSimDlg&)>& run);

// Shows a fatal message over `owner`: no icon, OK only, the application's name as title.
void ShowFatalMessage(QWidget* owner, const QString& text);
