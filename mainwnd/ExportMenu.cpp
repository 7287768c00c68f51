#include "ExportMenu.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <cerrno>

#include "ExportTexts.h"
#include "MainTexts.h"
#include "PendingOutputs.h"
#include "PngEncoding.h"
#include "RunHistory.h"
#include "SaveLocations.h"
#include "Translations.h"

CExportMenu::CExportMenu(QWidget& window, std::function<const PixelBuffer*()> frame,
                         const CRunHistory& history)
    : QObject(&window), m_frame(std::move(frame)), m_history(history) {
    m_chooseSaveFile = [this](const QString& caption, const QString& proposed,
                              const QString& filter) {
        QFileDialog dialog(static_cast<QWidget*>(parent()), caption, proposed, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // A name typed without an extension gets the proposed one.
        dialog.setDefaultSuffix(QFileInfo(proposed).suffix());
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    m_showSaveFailure = [this](const QString& text) {
        QMessageBox box(QMessageBox::Warning, QString::fromUtf8(MainTexts::TITLE), text,
                        QMessageBox::Ok, static_cast<QWidget*>(parent()));
        box.exec();
    };
}

void CExportMenu::OnSavePicture() {
    const QString path = ChooseSaveFile(FileKind::Picture, m_pictureFolder);
    if (!path.isEmpty()) {
        SavePicture(path);
    }
}

void CExportMenu::OnSaveHistory() {
    const QString path = ChooseSaveFile(FileKind::History, m_historyFolder);
    if (!path.isEmpty()) {
        SaveHistoryCsv(path);
    }
}

QString CExportMenu::ChooseSaveFile(FileKind kind, QString& folder) {
    folder = StartFolderFor(kind, folder);
    const FileKindInfo& info = FileKindOf(kind);
    const QString path = m_chooseSaveFile(DialogCaptionFor(info.itemText),
                                          ProposedPath(kind, folder), Tr(info.filter));
    if (!path.isEmpty()) {
        folder = QFileInfo(path).absolutePath();
    }
    return path;
}

bool CExportMenu::SavePicture(const QString& path) {
    const PixelBuffer* shown = m_frame();
    if (shown == nullptr) {
        return false;
    }
    const PixelBuffer& frame = *shown;
    return WriteWhole(path, [&frame](PendingOutputs& outputs, std::size_t file) {
        const std::optional<std::vector<unsigned char>> bytes =
            EncodePng(frame.Bits(), frame.Width(), frame.Height(), frame.Stride());
        if (!bytes) {
            outputs.Fail(file, PNG_ENCODE_FAILED);
            return false;
        }
        return outputs.Write(file, bytes->data(), bytes->size());
    });
}

bool CExportMenu::SaveHistoryCsv(const QString& path) {
    const CRunHistory& history = m_history;
    return WriteWhole(path, [&history](PendingOutputs& outputs, std::size_t file) {
        errno = 0;
        if (!history.WriteCsv(outputs.Stream(file))) {
            outputs.Fail(file, errno != 0 ? errno : EIO);
            return false;
        }
        return true;
    });
}

bool CExportMenu::WriteWhole(const QString& path,
                             const std::function<bool(PendingOutputs&, std::size_t)>& write) {
    // The file appears whole under its name or not at all; an old file stays as it was
    // when anything fails, and the run goes on either way.
    PendingOutputs outputs;
    const std::size_t file = outputs.Add(QFile::encodeName(path).toStdString());
    if (outputs.Open() && write(outputs, file) && outputs.Commit()) {
        return true;
    }
    m_showSaveFailure(Tr(ExportTexts::SAVE_FAILED) + QStringLiteral("\n\n") + path +
                      QLatin1Char('\n') + QString::fromLocal8Bit(outputs.ErrorReason().c_str()));
    return false;
}
