// The main window as the window tests drive it: shown at a fixed size, with a settings
// dialog that answers as the test says, under the fatal-error trap.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <functional>
#include <memory>
#include <utility>

#include "FatalTrap.h"
#include "FrameImage.h"
#include "SettingsDlg.h"
#include "SettingsTemplate.h"
#include "SimDlg.h"

inline const QString kStart = QString::fromUtf8("スタート");
inline const QString kStop = QString::fromUtf8("ストップ");
inline const QString kPause = QString::fromUtf8("一時停止");
inline const QString kResume = QString::fromUtf8("再開");

// What the settings dialog does when the Start command opens it.
struct DialogAnswer {
    bool ok = true;
    std::function<void(CSettingsDlg&)> edit;  // applied to the shown dialog before answering
};

inline void SetEdit(CSettingsDlg& dialog, int id, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(dialog.GetDlgItem(id));
    ASSERT_NE(edit, nullptr) << id;
    edit->setText(text);
}

// Shows the dialog, applies the answer's edits and accepts or cancels it.
inline int Answer(CSettingsDlg& dialog, const DialogAnswer& answer) {
    dialog.show();
    QCoreApplication::processEvents();
    if (answer.edit) {
        answer.edit(dialog);
    }
    if (answer.ok) {
        dialog.accept();
    } else {
        dialog.reject();
    }
    return dialog.result();
}

// Mouse input as the window system delivers it: the pointer moved to `point`, or the left
// button released there.
inline void MoveMouse(CSimDlg& dlg, const QPointF& point) {
    QMouseEvent event(QEvent::MouseMove, point, dlg.mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&dlg, &event);
}
inline void ReleaseLeftButton(CSimDlg& dlg, const QPointF& point) {
    QMouseEvent event(QEvent::MouseButtonRelease, point, dlg.mapToGlobal(point), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&dlg, &event);
}

// A shown main window with a 640 x 480 client area whose settings dialog runs `run`.
inline std::unique_ptr<CSimDlg> ShownWindow(CSimDlg::SettingsDialogRunner run) {
    auto dlg = std::make_unique<CSimDlg>();
    dlg->SetProfile({{0, 0, 640, 480}, {0, 0, 337, 212}, false});
    dlg->SetSettingsDialogRunner(std::move(run));
    dlg->DoModalWithoutLoop();
    dlg->resize(640, 480);
    QCoreApplication::processEvents();
    return dlg;
}

// A shown main window; each Start answers the dialog with the answer given to Start.
class SimDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        dlg = ShownWindow([this](CSettingsDlg& dialog) {
            ++dialogRuns;
            lastCanContinue = dialog.m_bCanContinue;
            return Answer(dialog, next);
        });
    }

    void ResizeClient(int cx, int cy) {
        dlg->resize(cx, cy);
        QCoreApplication::processEvents();
    }

    void Start(DialogAnswer answer = {}) {
        next = std::move(answer);
        dlg->StartButton()->click();
    }

    QRgb Pixel(int x, int y) const { return FrameImageOf(dlg->View().Frame()).pixel(x, y); }

    void ExpectState(const QString& start, bool startEnabled, const QString& pause,
                     bool pauseEnabled, bool timer) {
        EXPECT_EQ(dlg->StartButton()->text(), start);
        EXPECT_EQ(dlg->StartButton()->isEnabled(), startEnabled);
        EXPECT_EQ(dlg->PauseButton()->text(), pause);
        EXPECT_EQ(dlg->PauseButton()->isEnabled(), pauseEnabled);
        EXPECT_EQ(dlg->IsStepTimerRunning(), timer);
        EXPECT_EQ(dlg->windowTitle(), "Quorvel Ver. 3.1");
    }

    FatalTrap trap;
    std::unique_ptr<CSimDlg> dlg;
    DialogAnswer next;
    int dialogRuns = 0;
    int lastCanContinue = -1;
};
