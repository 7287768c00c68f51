// The About box: its lines, its keys, and the run it holds while it is open.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "AboutDlg.h"
#include "SimDlgFixture.h"

namespace {

TEST_F(SimDlgTest, AboutBoxHoldsTheTimerOnlyWhileItIsOpen) {
    Start();
    bool timerWhileOpen = true;
    dlg->SetAboutBoxRunner([&](QDialog& about) {
        timerWhileOpen = dlg->IsStepTimerRunning();
        about.show();
        QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_EQ(about.result(), QDialog::Accepted);
    });
    dlg->OnSysCommand(IDM_ABOUTBOX);
    EXPECT_FALSE(timerWhileOpen);
    EXPECT_TRUE(dlg->IsStepTimerRunning());

    dlg->PauseButton()->click();
    dlg->OnSysCommand(IDM_ABOUTBOX);
    EXPECT_FALSE(dlg->IsStepTimerRunning());
    EXPECT_EQ(dlg->PauseButton()->text(), kResume);
}

TEST(AboutBox, ShowsItsLinesUnclippedInsideTheBox) {
    CAboutDlg about;
    const QList<QLabel*> labels = about.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 4);  // the icon and three lines
    QStringList texts;
    for (const QLabel* label : labels) {
        EXPECT_TRUE(about.rect().contains(label->geometry())) << label->text().toStdString();
        if (!label->text().isEmpty()) {
            texts << label->text();
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                << label->text().toStdString();
            EXPECT_LE(label->fontMetrics().height(), label->height())
                << label->text().toStdString();
        }
    }
    EXPECT_TRUE(texts.contains("Quorvel Ver. 3.1"));
    EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
}

TEST(AboutBox, EnterAndEscapeCloseIt) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QDialog::DialogCode result;
    } cases[] = {{Qt::Key_Return, Qt::NoModifier, QDialog::Accepted},
                 {Qt::Key_Enter, Qt::KeypadModifier, QDialog::Accepted},
                 {Qt::Key_Escape, Qt::NoModifier, QDialog::Rejected}};
    for (const auto& c : cases) {
        CAboutDlg about;
        about.show();
        QTest::keyClick(&about, c.key, c.modifiers);
        EXPECT_FALSE(about.isVisible()) << c.key;
        EXPECT_EQ(about.result(), c.result) << c.key;
    }
    CAboutDlg about;
    about.show();
    QTest::keyClick(&about, Qt::Key_A);
    EXPECT_TRUE(about.isVisible()) << "other keys leave it open";
}

}  // namespace
