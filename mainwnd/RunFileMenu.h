#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "RunSession.h"

class QWidget;

// Saving the run to a run file (.quorvel) and opening one again, from the main window's
// context menu or the command line. A file is written whole or not at all; a file that
// cannot be read is refused with its name and fault and the present run stays as it was.
// The file dialogs, the question and the failure message are replaceable for tests.
class CRunFileMenu : public QObject {
    Q_OBJECT

public:
    // `show` shows what a command of the session changed.
    CRunFileMenu(QWidget& window, CRunSession& session, std::function<void(const Changes&)> show);

    // The menu's items: a file dialog, then the save or the opening.
    void OnSaveRun();
    void OnOpenRun();
    // Opens the run file at `path` in place of the present run, asking first while a run
    // would be lost. True when it was opened.
    bool Open(const QString& path);

    // The chooser gets the caption, the proposed path and the filter and returns the chosen
    // path (empty: cancelled).
    using FileChooser = std::function<QString(const QString& caption, const QString& proposed,
                                              const QString& filter)>;
    void SetSaveFileChooser(FileChooser choose) { m_chooseSaveFile = std::move(choose); }
    void SetOpenFileChooser(FileChooser choose) { m_chooseOpenFile = std::move(choose); }
    // Shows a failure's text.
    using FailureRunner = std::function<void(const QString& text)>;
    void SetFailureRunner(FailureRunner show) { m_showFailure = std::move(show); }
    // Asks whether the present run may be replaced; true for yes.
    using QuestionRunner = std::function<bool(const QString& text)>;
    void SetReplaceQuestion(QuestionRunner ask) { m_askReplace = std::move(ask); }

private:
    bool Save(const QString& path);
    // Reads the file and opens its run; a failure is shown and the step timer started again
    // when it was running.
    bool ReadAndOpen(const QString& path, const Changes& held);
    // Whether the present run may go: asked only while there is one.
    bool MayReplace();
    // The step timer held while a question or a file dialog is open, and released.
    Changes HoldTimer();
    void ReleaseTimer(const Changes& held);

    QWidget& m_window;
    CRunSession& m_session;
    std::function<void(const Changes&)> m_show;
    FileChooser m_chooseSaveFile;
    FileChooser m_chooseOpenFile;
    FailureRunner m_showFailure;
    QuestionRunner m_askReplace;
    QString m_folder;  // the last folder a run was saved to or opened from, this session
};
