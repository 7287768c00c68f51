#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QString>
#include <QTest>

#include <memory>
#include <vector>

#include "SettingsDlg.h"
#include "SettingsSamples.h"
#include "SettingsTemplate.h"

// One message the dialog asked to show.
struct ShownMessage {
    QString text;
    QString caption;
    bool okCancel;
    bool cancelDefault;
};

// A settings dialog whose message boxes are recorded and answered by the test, driven with
// real key presses and mouse clicks.
class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dlg = std::make_unique<CSettingsDlg>();
        dlg->m_messageBox = [this](const QString& text, const QString& caption,
                                   CSettingsDlg::Buttons buttons) {
            messages.push_back({text, caption, buttons != CSettingsDlg::Buttons::Ok,
                                buttons == CSettingsDlg::Buttons::OkCancelDefaultCancel});
            return answer;
        };
    }

    // A fresh dialog and no recorded messages, for tables that run several cases.
    void Reset() {
        messages.clear();
        answer = true;
        SetUp();
    }

    // Fills the dialog as the Start command does and opens it.
    void Open(const SimulationSettings& settings = SimulationSettings{}, bool canContinue = false) {
        dlg->SetSettings(settings);
        dlg->m_bCanContinue = canContinue ? 1 : 0;
        dlg->show();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }

    QLineEdit* Edit(int nId) const { return qobject_cast<QLineEdit*>(dlg->GetDlgItem(nId)); }

    // Replaces the field's text the way a user does: select all, delete, type.
    void Type(int nId, const QString& text) {
        QLineEdit* edit = Edit(nId);
        ASSERT_NE(edit, nullptr) << nId;
        ASSERT_TRUE(edit->isEnabled()) << nId;
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        ASSERT_EQ(edit->text(), text);
    }

    void Click(int nId) { QTest::mouseClick(dlg->GetDlgItem(nId), Qt::LeftButton); }

    // Presses OK; true when the dialog closed with OK.
    bool PressOk() {
        Click(IDC_SETTINGS_OK);
        return !dlg->isVisible() && dlg->result() == QDialog::Accepted;
    }

    // The values the program starts with, as the edits show them.
    void ExpectDefaultsShown() {
        const struct {
            int id;
            const char* text;
        } shown[] = {
            {IDC_INITIAL_TEMPERATURE, "15"},
            {IDC_CONVECTION_RATIO, "0.7"},
            {IDC_COLUMNS, "20"},
            {IDC_ROWS, "20"},
            {IDC_STRONG_FLAME_POWER, "400"},
            {IDC_MEDIUM_FLAME_POWER, "140"},
            {IDC_WEAK_FLAME_POWER, "70"},
            {IDC_CONDUCTION_COEFFICIENT, "0.035"},
            {IDC_COOLING_COEFFICIENT, "0.6"},
            {IDC_ROOM_TEMPERATURE, "10"},
            {IDC_STEP_INTERVAL, "5"},
            {IDC_HISTORY_INTERVAL, "100"},
        };
        for (const auto& s : shown) {
            EXPECT_EQ(Edit(s.id)->text(), QString::fromUtf8(s.text)) << s.id;
        }
    }

    std::unique_ptr<CSettingsDlg> dlg;
    std::vector<ShownMessage> messages;
    bool answer = true;
};

// The value a field's control stands for.
inline double FieldOf(const SimulationSettings& s, int nId) {
    switch (nId) {
        case IDC_INITIAL_TEMPERATURE:
            return s.initialTemperature;
        case IDC_CONVECTION_RATIO:
            return s.convectionRatio;
        case IDC_CONDUCTION_COEFFICIENT:
            return s.conductionCoefficient;
        case IDC_COOLING_COEFFICIENT:
            return s.coolingCoefficient;
        case IDC_ROOM_TEMPERATURE:
            return s.roomTemperature;
        case IDC_STRONG_FLAME_POWER:
            return s.strongFlamePower;
        case IDC_MEDIUM_FLAME_POWER:
            return s.mediumFlamePower;
        case IDC_WEAK_FLAME_POWER:
            return s.weakFlamePower;
        case IDC_STEP_INTERVAL:
            return s.stepIntervalMs;
        case IDC_COLUMNS:
            return s.columns;
        case IDC_ROWS:
            return s.rows;
        case IDC_HISTORY_INTERVAL:
            return s.historyInterval;
    }
    ADD_FAILURE() << "no field for control " << nId;
    return 0;
}
