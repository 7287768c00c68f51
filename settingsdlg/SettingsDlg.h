#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <unordered_map>
#include <vector>

#include "SettingsForm.h"
#include "SimulationSettings.h"

class QCheckBox;
class QLineEdit;
class QShowEvent;

// The modal dialog in which the user sets the simulation parameters before each start. After
// a stop it also offers to continue the stopped run; continuing locks the three values that
// define the starting grid (initial temperature, columns, rows). DEFAULT restores the values
// the program starts with, after a confirmation. The rules are the settings form's
// (SettingsForm.h): the dialog shows what it gives and asks the questions it names.
//
// Use: construct, fill the twelve values with SetSettings and set m_bCanContinue, exec(); on
// QDialog::Accepted read the values back with Settings(). After a rejection the caller takes
// nothing; the values are then also back to what they were when the dialog opened.
class CSettingsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CSettingsDlg(QWidget* pParent = nullptr);

    // The twelve values in and out. continueRun is the dialog's answer: SetSettings leaves it
    // alone and Settings() reports it (meaningful only when m_bCanContinue is set).
    void SetSettings(const SimulationSettings& settings);
    SimulationSettings Settings() const;

    // A control by its id, or by its place in the template (creation and tab order).
    QWidget* GetDlgItem(int nId) const;
    QWidget* ControlAt(std::size_t index) const;

    // Check box clicked: continueRun follows the box; the edits for the initial temperature,
    // columns and rows are enabled only for a fresh start.
    void OnContinueClicked();
    // DEFAULT: after confirmation every value is reset and shown; the check box, continueRun
    // and the enabled states stay as they are.
    void OnDefault();

    // OK: read and check the values; the first refused field is reported with a prompt, gets
    // the focus with its text selected and the dialog stays open. Fields before it keep their
    // new values, the bad one and those after it their old ones; while continuing, the three
    // locked fields are not read. Values that make the computation unstable are taken only
    // when the user says to go on; otherwise the first of them gets the focus.
    void accept() override;
    // CANCEL, Escape and the close box: end without taking anything.
    void reject() override;

    int continueRun = 0;     // check box state, set by the dialog
    int m_bCanContinue = 0;  // set by the caller: the stopped run can be continued
    QCheckBox* m_chkContinue = nullptr;

    // The buttons of a message: OK alone, OK and Cancel with OK the default, or OK and Cancel
    // with Cancel the default (a question whose safe answer is to go back).
    enum class Buttons { Ok, OkCancel, OkCancelDefaultCancel };
    // Shows a message and returns true when the user answers OK; an empty caption means the
    // application name. Defaults to a modal message box without icon; tests replace it.
    std::function<bool(const QString& text, const QString& caption, Buttons buttons)> m_messageBox;

protected:
    // Runs the initialisation each time the program opens the dialog.
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void OnInitDialog();
    // Selects the text of the edit that takes the focus on opening, once the focus is there.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    // The caption, the controls' texts and the fields' tooltips in the current language.
    void RetranslateUi();
    // The form's values in the edits; its locks as the edits' and the box's enabled states.
    void ShowTexts(const SettingsFormView& view);
    void ShowLocks(const SettingsFormView& view);
    // The edit given the focus with its whole text selected; none for 0.
    void GoBackTo(int nId);
    QLineEdit* Edit(int nId) const;
    bool ShowMessageBox(const QString& text, const QString& caption, Buttons buttons);

    // The twelve values, the continue box and their rules.
    CSettingsForm m_form;
    std::vector<QWidget*> m_controls;                 // template order
    std::unordered_map<int, QWidget*> m_controlById;  // controls that have an id
    // The edit given the focus on opening, until the focus has reached it.
    QLineEdit* m_pSelectOnFocus = nullptr;
};
