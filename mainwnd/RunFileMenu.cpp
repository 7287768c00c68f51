#include "RunFileMenu.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <optional>
#include <string>

#include "ExportTexts.h"
#include "MainTexts.h"
#include "PendingOutputs.h"
#include "RunControl.h"
#include "RunFile.h"
#include "RunFileTexts.h"
#include "SaveLocations.h"
#include "Translations.h"
#include "VesselView.h"

CRunFileMenu::CRunFileMenu(QWidget& window, CRunSession& session,
                           std::function<void(const Changes&)> show)
    : QObject(&window), m_window(window), m_session(session), m_show(std::move(show)) {
    m_chooseSaveFile = [this](const QString& caption, const QString& proposed,
                              const QString& filter) {
        QFileDialog dialog(&m_window, caption, proposed, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QString::fromUtf8(FileKindOf(FileKind::Run).extension));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    m_chooseOpenFile = [this](const QString& caption, const QString& folder,
                              const QString& filter) {
        QFileDialog dialog(&m_window, caption, folder, filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    m_showFailure = [this](const QString& text) {
        QMessageBox box(QMessageBox::Warning, QString::fromUtf8(MainTexts::TITLE), text,
                        QMessageBox::Ok, &m_window);
        box.exec();
    };
    m_askReplace = [this](const QString& text) {
        QMessageBox box(QMessageBox::Question, QString::fromUtf8(MainTexts::TITLE), text,
                        QMessageBox::Yes | QMessageBox::No, &m_window);
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    };
}

void CRunFileMenu::OnSaveRun() {
    m_folder = StartFolderFor(FileKind::Run, m_folder);
    // The run goes on while the dialog is open; it is saved as it stands when a name is chosen.
    const QString path =
        m_chooseSaveFile(DialogCaptionFor(RunFileTexts::SAVE_RUN),
                         ProposedPath(FileKind::Run, m_folder), Tr(RunFileTexts::RUN_FILTER));
    if (!path.isEmpty()) {
        m_folder = QFileInfo(path).absolutePath();
        Save(path);
    }
}

bool CRunFileMenu::Save(const QString& path) {
    std::string fault;
    const std::optional<std::string> text = FormatRunFile(m_session.Capture(), fault);
    PendingOutputs outputs;
    const std::size_t file = outputs.Add(QFile::encodeName(path).toStdString());
    if (outputs.Open()) {
        if (!text) {
            outputs.Fail(file, fault);
        } else if (outputs.Write(file, text->data(), text->size()) && outputs.Commit()) {
            return true;
        }
    }
    m_showFailure(Tr(ExportTexts::SAVE_FAILED) + QStringLiteral("\n\n") + path + QLatin1Char('\n') +
                  QString::fromLocal8Bit(outputs.ErrorReason().c_str()));
    return false;
}

bool CRunFileMenu::MayReplace() {
    return !m_session.Control().HasStarted() || m_askReplace(Tr(RunFileTexts::REPLACE_RUN));
}

Changes CRunFileMenu::HoldTimer() {
    const Changes held = m_session.HoldTimer();
    m_show(held);
    return held;
}

void CRunFileMenu::ReleaseTimer(const Changes& held) {
    m_show(m_session.ReleaseTimer(held));
}

void CRunFileMenu::OnOpenRun() {
    // The run waits while the question and the file dialog are open.
    const Changes held = HoldTimer();
    if (!MayReplace()) {
        ReleaseTimer(held);
        return;
    }
    m_folder = StartFolderFor(FileKind::Run, m_folder);
    const QString path = m_chooseOpenFile(DialogCaptionFor(RunFileTexts::OPEN_RUN), m_folder,
                                          Tr(RunFileTexts::RUN_FILTER));
    if (path.isEmpty()) {
        ReleaseTimer(held);
        return;
    }
    m_folder = QFileInfo(path).absolutePath();
    ReadAndOpen(path, held);
}

bool CRunFileMenu::ReadAndOpen(const QString& path, const Changes& held) {
    std::string fault;
    const std::optional<RunFile> run = ReadRunFile(QFile::encodeName(path).toStdString(), fault);
    if (!run) {
        m_showFailure(Tr(RunFileTexts::OPEN_FAILED) + QStringLiteral("\n\n") + path +
                      QLatin1Char('\n') + QString::fromUtf8(fault.c_str()));
        ReleaseTimer(held);
        return false;
    }
    m_show(m_session.OpenRun(*run));
    return true;
}

bool CRunFileMenu::Open(const QString& path) {
    const Changes held = HoldTimer();
    if (!MayReplace()) {
        ReleaseTimer(held);
        return false;
    }
    return ReadAndOpen(path, held);
}
