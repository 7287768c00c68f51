#include "SimApp.h"

#include <QDir>
#include <QMessageBox>

#include "FatalError.h"
#include "Profile.h"
#include "SimDlg.h"
#include "Translations.h"

CSimApp::CSimApp(int& argc, char** argv) : QApplication(argc, argv) {
    InstallPlatformTranslations(*this);
    // Lets the desktop match the windows to the installed desktop entry (taskbar name, icon).
    setDesktopFileName(QStringLiteral(QUORVEL_APP_ID));
}

void ShowFatalMessage(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text, QMessageBox::Ok,
                    owner);
    box.exec();
}

bool CSimApp::InitInstance() {
    RunMainWindow(ProfilePath(QDir::currentPath(), QCoreApplication::applicationFilePath()),
                  [](CSimDlg& dialog) { dialog.DoModal(); });
    return false;
}

void RunMainWindow(const QString& profilePath, const std::function<void(CSimDlg&)>& run) {
    CSimDlg dialog;
    FatalHandler previous = SetFatalHandler([&dialog](const std::string& text, int) {
        ShowFatalMessage(&dialog, QString::fromStdString(text));
    });

    const ProfileValues read = ReadProfile(profilePath);
    dialog.m_rcMainWnd = read.mainWnd;
    dialog.m_rcHistoryWnd = read.historyWnd;
    dialog.m_bSaveWindowPos = read.saveWindowPos;

    run(dialog);
    dialog.OnDestroy();
    SetFatalHandler(previous);

    ProfileValues written;
    written.mainWnd = dialog.m_rcMainWnd;
    written.historyWnd = dialog.m_rcHistoryWnd;
    written.saveWindowPos = dialog.m_bSaveWindowPos;
    WriteProfile(profilePath, written);
}
