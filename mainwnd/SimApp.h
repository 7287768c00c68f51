#pragma once

#include <QApplication>
#include <QString>

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

    const QString& ProfileFile() const { return m_profilePath; }

private:
    QString m_profilePath;
};

// Shows a fatal message over `owner`: no icon, OK only, the application's name as title.
void ShowFatalMessage(QWidget* owner, const QString& text);
