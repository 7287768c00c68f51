#include "SimApp.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <cstring>

#include "FatalError.h"
#include "Profile.h"
#include "SignalClose.h"
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

StartOptions ParseStartOptions(int argc, const char* const* argv) {
    StartOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            options.help = true;
        } else if (std::strcmp(argv[i], "--version") == 0) {
            options.version = true;
        } else if (std::strcmp(argv[i], "--from-menu") == 0) {
            options.fromMenu = true;
        }
    }
    return options;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: quorvel [--from-menu] [Qt options]\n"
        "Simulation of water heated and boiling in a vessel.\n"
        "\n"
        "  --from-menu  work in $XDG_CONFIG_HOME/quorvel (default ~/.config/quorvel),\n"
        "               which keeps the profile quorvel.ini; the desktop menu starts it so\n"
        "  --help       print this help and exit\n"
        "  --version    print the version and exit\n"
        "\n"
        "Otherwise the profile quorvel.ini is kept in the current working folder.\n"
        "See man quorvel.\n");
}

QString VersionText() {
    return QStringLiteral("quorvel " QUORVEL_VERSION "\n");
}

QString MenuWorkingFolder() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::home().filePath(QStringLiteral(".config"));
    }
    return QDir(base).filePath(QStringLiteral("quorvel"));
}

bool EnterMenuWorkingFolder() {
    const QString folder = MenuWorkingFolder();
    return QDir().mkpath(folder) && QDir::setCurrent(folder);
}

bool CSimApp::InitInstance() {
    IgnoreFileSizeSignal();
    RunMainWindow(ProfilePath(QDir::currentPath(), QCoreApplication::applicationFilePath()),
                  [](CSimDlg& dialog) { dialog.DoModal(); });
    return false;
}

void CloseForSignal(CSimDlg& dialog) {
    // Open menus and dialogs are dismissed as by Escape, so that their loops end and no
    // choice made in them is carried out; a bounded number, in case one refuses.
    for (int i = 0; i < 32; ++i) {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        } else if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != &dialog) {
            if (auto* box = qobject_cast<QDialog*>(modal)) {
                box->reject();
            } else {
                modal->close();
            }
        } else {
            break;
        }
    }
    dialog.OnSysCommand(SC_CLOSE);
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
    // Ended by a signal (as at logging out), the program closes as by the Close command.
    CSignalCloser closer([&dialog] { CloseForSignal(dialog); });
    run(dialog);
    dialog.OnDestroy();
    SetFatalHandler(previous);
    WriteProfile(profilePath, dialog.Profile());
}
