#include "SimApp.h"

#include <QDir>
#include <QMessageBox>

#include "FatalError.h"
#include "Profile.h"
#include "SimDlg.h"
#include "Translations.h"

CSimApp::CSimApp(int& argc, char** argv) : QApplication(argc, argv) {
    SetUiLanguage(UiLanguage::Japanese);
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
    // The message box is in place before the window is built, so that a failure to create
    // its buttons is shown too; it is owned by the window once the window exists, and the
    // window's run is stopped first, so nothing changes or fails again behind the box.
    CSimDlg* owner = nullptr;
    FatalHandler previous = SetFatalHandler([&owner](const std::string& text, int) {
        if (owner != nullptr) {
            owner->StopForFatalMessage();
        }
        ShowFatalMessage(owner, Tr(text.c_str()));
    });
    // The language is in place before the window is built, so that even a failure to build
    // it is reported in that language.
    const ProfileValues profile = ReadProfile(profilePath);
    SetUiLanguage(profile.language);
    CSimDlg dialog;
    owner = &dialog;

    dialog.SetProfile(profile);
    run(dialog);
    dialog.OnDestroy();
    SetFatalHandler(previous);
    WriteProfile(profilePath, dialog.Profile());
}
