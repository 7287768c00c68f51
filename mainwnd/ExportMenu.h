#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <functional>

#include "PixelBuffer.h"
#include "SaveFiles.h"

class QWidget;
class CRunHistory;
class PendingOutputs;

// Saving the vessel's picture (PNG) and the whole run's history (CSV) from the main
// window's context menu, in the headless runner's formats, each file written whole or not
// at all. The file dialog and the failure message are replaceable for tests.
class CExportMenu : public QObject {
    Q_OBJECT

public:
    // `frame` gives the picture to save, or null while there is none.
    CExportMenu(QWidget& window, std::function<const PixelBuffer*()> frame,
                const CRunHistory& history);

    // The menu's items: a file dialog, then the save.
    void OnSavePicture();
    void OnSaveHistory();

    // The chooser gets the caption, the proposed path and the filter and returns the chosen
    // path (empty: cancelled); the failure runner gets the message's text.
    using SaveFileChooser = std::function<QString(const QString& caption, const QString& proposed,
                                                  const QString& filter)>;
    void SetSaveFileChooser(SaveFileChooser choose) { m_chooseSaveFile = std::move(choose); }
    using SaveFailureRunner = std::function<void(const QString& text)>;
    void SetSaveFailureRunner(SaveFailureRunner show) { m_showSaveFailure = std::move(show); }

private:
    // Write the frame as PNG, or the whole run's samples as CSV, to `path` whole or not at
    // all; a failure is shown with the path and the reason. True when the file was written.
    bool SavePicture(const QString& path);
    bool SaveHistoryCsv(const QString& path);
    QString ChooseSaveFile(FileKind kind, QString& folder);
    bool WriteWhole(const QString& path,
                    const std::function<bool(PendingOutputs&, std::size_t)>& write);

    std::function<const PixelBuffer*()> m_frame;
    const CRunHistory& m_history;
    SaveFileChooser m_chooseSaveFile;
    SaveFailureRunner m_showSaveFailure;
    QString m_pictureFolder;  // the last folder a picture was saved to, this session
    QString m_historyFolder;  // the same for the history
};
