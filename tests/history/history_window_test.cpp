#include <gtest/gtest.h>
#include <cmath>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPixmap>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FatalTrap.h"
#include "HistoryDlg.h"

namespace {

constexpr QRgb kBlue = RGB(0, 0, 255);
constexpr QRgb kRed = RGB(255, 0, 0);

const QString kTemperaturePlaceholder = QStringLiteral("Average Temperature");
const QString kHeatPlaceholder = QStringLiteral("Average Heat");

class HistoryWindow : public ::testing::Test {
protected:
    FatalTrap trap;
    CHistoryRecorder samples;  // the run's samples the window shows

    // One tick as the run feeds the window: its averages shown, and when it takes a sample
    // the graph out of date.
    void Record(CHistoryDlg& dlg, int temperature, int heat) {
        dlg.ShowAverages(temperature, heat);
        if (samples.RecordSample(temperature, heat)) {
            dlg.MarkGraphStale();
        }
    }
    // A fresh run's samples, and the graph drawn again.
    void Reset(CHistoryDlg& dlg, int initialTemperature) {
        samples.ResetHistory(initialTemperature);
        dlg.DrawGraph();
    }

    // A shown window whose client area is cx x cy.
    std::unique_ptr<CHistoryDlg> Shown(int cx, int cy) {
        auto dlg = std::make_unique<CHistoryDlg>(samples);
        dlg->resize(cx, cy);
        dlg->show();
        QApplication::processEvents();
        return dlg;
    }

    static void Resize(CHistoryDlg& dlg, int cx, int cy) {
        dlg.resize(cx, cy);
        QApplication::processEvents();
    }

    // Pixels of one colour on the surface, row by row.
    static std::vector<QPoint> PixelsOf(const QImage& image, QRgb colour) {
        std::vector<QPoint> found;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == colour) {
                    found.emplace_back(x, y);
                }
            }
        }
        return found;
    }

    // Checks that the colour forms exactly the run x = 0..198-1 on row y (100 entries on a
    // 200-pixel surface reach x 198, which the last segment leaves out).
    static void ExpectFlatCurve(const QImage& image, QRgb colour, int y) {
        const std::vector<QPoint> pixels = PixelsOf(image, colour);
        ASSERT_EQ(pixels.size(), 198u);
        EXPECT_EQ(pixels.front(), QPoint(0, y));
        EXPECT_EQ(pixels.back(), QPoint(197, y));
    }
};

// ---- Samples -----------------------------------------------------------------------------

TEST_F(HistoryWindow, SampleRedrawsTheSurfaceAndOtherCallsDoNot) {
    auto dlg = Shown(200, 222);
    samples.SetHistoryInterval(0);
    Reset(*dlg, 15);
    const QImage before = dlg->GraphImage()->copy();
    Record(*dlg, 100, 63);
    EXPECT_EQ(*dlg->GraphImage(), before);
    Record(*dlg, 100, 63);
    EXPECT_NE(*dlg->GraphImage(), before);
}

// ---- Graph pixels through the window ------------------------------------------------------

TEST_F(HistoryWindow, ResetDrawsTwoFlatCurves) {
    auto dlg = Shown(200, 222);  // surface 200 x 200, band 180
    Reset(*dlg, 15);
    ExpectFlatCurve(*dlg->GraphImage(), kBlue, 163);  // 15 degrees
    ExpectFlatCurve(*dlg->GraphImage(), kRed, 185);   // 63 J
}

TEST_F(HistoryWindow, RedIsDrawnOverBlueWhereTheCurvesMeet) {
    auto dlg = Shown(200, 222);
    Reset(*dlg, 0);
    EXPECT_TRUE(PixelsOf(*dlg->GraphImage(), kBlue).empty());
    ExpectFlatCurve(*dlg->GraphImage(), kRed, 190);
}

struct FullScaleCase {
    int temperature;
    int heat;
    int blueRow;  // -1: no blue pixel on the surface
    int redRow;
};

class HistoryFullScale : public HistoryWindow,
                         public ::testing::WithParamInterface<FullScaleCase> {};

TEST_P(HistoryFullScale, CurvesReachTheTopOrLeaveTheSurface) {
    auto dlg = Shown(200, 222);
    samples.SetHistoryInterval(-1);
    const FullScaleCase c = GetParam();
    for (int i = 0; i < HISTORY_SAMPLE_COUNT; ++i) {
        Record(*dlg, c.temperature, c.heat);
    }
    const QImage& image = *dlg->GraphImage();
    if (c.blueRow < 0) {
        EXPECT_TRUE(PixelsOf(image, kBlue).empty());
    } else {
        ExpectFlatCurve(image, kBlue, c.blueRow);
    }
    if (c.redRow < 0) {
        EXPECT_TRUE(PixelsOf(image, kRed).empty());
    } else {
        ExpectFlatCurve(image, kRed, c.redRow);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, HistoryFullScale,
    ::testing::Values(FullScaleCase{100, 0, 10, 190}, FullScaleCase{0, 2671, 190, 10},
                      FullScaleCase{105, 0, 1, 190}, FullScaleCase{110, 0, -1, 190},
                      FullScaleCase{-10, 2671, -1, 10}, FullScaleCase{0, 3000, 190, -1},
                      FullScaleCase{INT_MAX, INT_MAX, -1, -1},
                      FullScaleCase{INT_MIN, INT_MIN, -1, -1}));

// ---- The window --------------------------------------------------------------------------

TEST_F(HistoryWindow, IsAHiddenTopLevelWindowWithItsCaption) {
    auto dlg = CreateHistoryDlg(samples);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), QString::fromUtf8("履歴ウインドウ"));
    EXPECT_TRUE(dlg->isWindow());
    EXPECT_EQ(dlg->parentWidget(), nullptr);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(dlg->windowFlags() & Qt::WindowMinMaxButtonsHint);
}

struct AcceptedSizeCase {
    int cx;
    int cy;
};

class HistoryAcceptedSize : public HistoryWindow,
                            public ::testing::WithParamInterface<AcceptedSizeCase> {};

TEST_P(HistoryAcceptedSize, SurfaceAboveA22PixelStatusBarSplitAtHalfTheWidth) {
    auto dlg = Shown(300, 300);
    Record(*dlg, 15, 63);
    const int cx = GetParam().cx;
    const int cy = GetParam().cy;
    Resize(*dlg, cx, cy);

    EXPECT_EQ(dlg->GraphRect(), QRect(0, 0, cx, cy - 22));
    ASSERT_NE(dlg->GraphImage(), nullptr);
    EXPECT_EQ(dlg->GraphImage()->size(), QSize(cx, cy - 22));
    CHistoryStatusBar* bar = dlg->StatusBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->objectName(), QStringLiteral("1051"));
    EXPECT_EQ(bar->geometry(), QRect(0, cy - 22, cx, 22));
    EXPECT_EQ(bar->FirstPartRight(), cx / 2);
    EXPECT_EQ(bar->Text(0), kTemperaturePlaceholder);
    EXPECT_EQ(bar->Text(1), kHeatPlaceholder);
}

INSTANTIATE_TEST_SUITE_P(Sizes, HistoryAcceptedSize,
                         ::testing::Values(AcceptedSizeCase{100, 100}, AcceptedSizeCase{101, 100},
                                           AcceptedSizeCase{231, 110}, AcceptedSizeCase{320, 173}));

struct RejectedSizeCase {
    int cx;
    int cy;
    bool minimise;
};

class HistoryRejectedSize : public HistoryWindow,
                            public ::testing::WithParamInterface<RejectedSizeCase> {};

TEST_P(HistoryRejectedSize, KeepsTheSurfaceAndTheStatusBar) {
    auto dlg = Shown(200, 222);
    Reset(*dlg, 15);
    Record(*dlg, 20, 80);
    const QImage surface = dlg->GraphImage()->copy();
    const CHistoryStatusBar* bar = dlg->StatusBar();

    if (GetParam().minimise) {
        dlg->showMinimized();
        QApplication::processEvents();
    }
    // Sizes below 100 come only as size messages: the window cannot be made that small.
    dlg->OnSize(dlg->windowState(), GetParam().cx, GetParam().cy);

    EXPECT_EQ(dlg->GraphRect(), QRect(0, 0, 200, 200));
    ASSERT_NE(dlg->GraphImage(), nullptr);
    EXPECT_EQ(*dlg->GraphImage(), surface);
    EXPECT_EQ(dlg->StatusBar(), bar);
    EXPECT_EQ(bar->geometry(), QRect(0, 200, 200, 22));
    EXPECT_EQ(bar->Text(0), QString::fromUtf8("平均温度: 20 [ﾟC](青)"));
}

INSTANTIATE_TEST_SUITE_P(Sizes, HistoryRejectedSize,
                         ::testing::Values(RejectedSizeCase{99, 300, false},
                                           RejectedSizeCase{300, 99, false},
                                           RejectedSizeCase{99, 99, false},
                                           RejectedSizeCase{300, 300, true}));

TEST_F(HistoryWindow, RestoringFromTheIconRebuildsSurfaceAndStatusBar) {
    auto dlg = Shown(200, 222);
    Record(*dlg, 20, 80);
    dlg->showMinimized();
    QApplication::processEvents();
    ASSERT_EQ(dlg->StatusBar()->Text(0), QString::fromUtf8("平均温度: 20 [ﾟC](青)"));
    dlg->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(dlg->GraphRect(), QRect(0, 0, 200, 200));
    EXPECT_EQ(dlg->StatusBar()->Text(0), kTemperaturePlaceholder);
    EXPECT_EQ(dlg->StatusBar()->Text(1), kHeatPlaceholder);
}

TEST_F(HistoryWindow, StatusTextsShowEveryCallsAverages) {
    auto dlg = Shown(200, 222);
    Record(*dlg, 15, 63);
    EXPECT_EQ(dlg->StatusBar()->Text(0), QString::fromUtf8("平均温度: 15 [ﾟC](青)"));
    EXPECT_EQ(dlg->StatusBar()->Text(1), QString::fromUtf8("平均熱量: 63 [J](赤)"));
    Record(*dlg, -4, INT_MAX);
    EXPECT_EQ(dlg->StatusBar()->Text(0), QString::fromUtf8("平均温度: -4 [ﾟC](青)"));
    EXPECT_EQ(dlg->StatusBar()->Text(1), QString::fromUtf8("平均熱量: 2147483647 [J](赤)"));
}

TEST_F(HistoryWindow, AveragesThatAreNotFiniteNeverReadAsNumbers) {
    auto dlg = Shown(200, 222);
    dlg->ShowAverages(std::nan(""), 2675.0);
    EXPECT_EQ(dlg->StatusBar()->Text(0), QString::fromUtf8("平均温度: NaN [ﾟC](青)"));
    EXPECT_EQ(dlg->StatusBar()->Text(1), QString::fromUtf8("平均熱量: 2675 [J](赤)"));
    dlg->ShowAverages(-HUGE_VAL, HUGE_VAL);
    EXPECT_EQ(dlg->StatusBar()->Text(0), QString::fromUtf8("平均温度: -inf [ﾟC](青)"));
    EXPECT_EQ(dlg->StatusBar()->Text(1), QString::fromUtf8("平均熱量: inf [J](赤)"));
    dlg->ShowAverages(15.0, 63.0);
    EXPECT_EQ(dlg->StatusBar()->Text(0), QString::fromUtf8("平均温度: 15 [ﾟC](青)"));
}

TEST_F(HistoryWindow, WholeRunGraphShowsEverySampleOnAxesAndTheDefaultStays) {
    CRunHistory run;
    auto sample = [&run](long long i) {
        run.OnSample(i * 102, static_cast<int>(std::min<long long>(100, 15 + i / 4)),
                     static_cast<int>(std::min<long long>(2671, 63 + 9 * i)));
    };
    for (long long i = 1; i <= 300; ++i) {
        sample(i);
    }
    auto dlg = Shown(480, 322);
    const QImage classic = dlg->GraphImage()->copy();
    dlg->SetWholeRun(&run);

    // Offered by the context menu, unticked; choosing it shows the whole run.
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 1);
        QAction* whole = menu->actions().front();
        EXPECT_EQ(whole->text(), QString::fromUtf8("全体を表示"));
        EXPECT_FALSE(whole->isChecked());
        whole->trigger();
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(50, 50),
                            dlg->mapToGlobal(QPoint(50, 50)));
    QApplication::sendEvent(dlg.get(), &event);
    ASSERT_TRUE(dlg->ShowsWholeRun());

    const QImage whole = *dlg->GraphImage();
    const WholeRunLayout& l = dlg->WholeLayout();
    ASSERT_EQ(whole.size(), QSize(480, 300));
    ASSERT_TRUE(l.Usable());
    EXPECT_EQ(l.span, 50000);  // the last sample at tick 30,600
    const QRgb white = RGB(255, 255, 255);
    const QRgb grid = WHOLE_RUN_GRIDLINE;
    const QRgb black = RGB(0, 0, 0);
    EXPECT_EQ(whole.pixel(l.width - 1, l.height - 1), white);
    EXPECT_EQ(whole.pixel(l.right - 3, l.TemperatureY(60)), grid);  // past the last sample
    EXPECT_EQ(whole.pixel(l.left, (l.top + l.bottom) / 2), black);
    EXPECT_EQ(whole.pixel(l.right, (l.top + l.bottom) / 2), black);
    EXPECT_EQ(whole.pixel(l.X(20000), l.bottom + 2), black);  // the tick mark at 20k
    // The curves through the first and last samples.
    EXPECT_EQ(whole.pixel(l.X(30600) - 1, l.TemperatureY(90)), kBlue);
    EXPECT_EQ(whole.pixel(l.X(30600) - 1, l.HeatY(2671)), kRed);
    EXPECT_EQ(whole.pixel(l.X(102) + 1, l.TemperatureY(15)), kBlue);
    // Labels: dark text left of the left axis at the 100 C tick and under the bottom axis.
    auto inked = [&whole](int left, int top, int right, int bottom) {
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                if (qGray(whole.pixel(x, y)) < 128) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(inked(0, l.top - 4, l.left - 6, l.top + 4));
    EXPECT_TRUE(inked(l.X(50000) - 10, l.bottom + 6, l.right, l.tickAxisTitleTop - 1));

    // Later samples add to the graph while the axes hold; past the span the axis grows.
    for (long long i = 301; i <= 400; ++i) {
        sample(i);
    }
    dlg->MarkGraphStale();
    const QImage grown = *dlg->GraphImage();
    EXPECT_EQ(l.span, 50000);
    EXPECT_EQ(grown.pixel(l.X(32742), l.TemperatureY(95)), kBlue);  // sample 321
    EXPECT_EQ(grown.pixel(l.right - 3, l.TemperatureY(60)), grid);
    for (long long i = 401; i <= 500; ++i) {
        sample(i);
    }
    dlg->MarkGraphStale();
    dlg->GraphImage();
    EXPECT_EQ(l.span, 100000);

    // The default view is the 100-sample graph, exactly as before.
    dlg->ShowWholeRun(false);
    EXPECT_EQ(*dlg->GraphImage(), classic);
}

TEST_F(HistoryWindow, RecordingGoesOnWhileHidden) {
    auto dlg = Shown(200, 222);
    dlg->hide();
    samples.SetHistoryInterval(-1);
    for (int i = 0; i < HISTORY_SAMPLE_COUNT; ++i) {
        Record(*dlg, 100, 0);
    }
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->StatusBar()->Text(0), QString::fromUtf8("平均温度: 100 [ﾟC](青)"));
    ExpectFlatCurve(*dlg->GraphImage(), kBlue, 10);
}

TEST_F(HistoryWindow, PlacingTheHiddenWindowMakesItsSurfaceAtOnce) {
    auto dlg = CreateHistoryDlg(samples);
    Reset(*dlg, 15);
    dlg->PlaceHidden(QRect(20, 30, 200, 222));
    EXPECT_FALSE(dlg->isVisible());
    ASSERT_NE(dlg->GraphImage(), nullptr);
    ExpectFlatCurve(*dlg->GraphImage(), kBlue, 163);
    Record(*dlg, 42, 176);
    dlg->show();
    QApplication::processEvents();
    // Showing keeps the surface and the texts of the last call.
    EXPECT_EQ(dlg->size(), QSize(200, 222));
    EXPECT_EQ(dlg->StatusBar()->Text(0), QString::fromUtf8("平均温度: 42 [ﾟC](青)"));
    ExpectFlatCurve(*dlg->GraphImage(), kBlue, 163);
}

TEST_F(HistoryWindow, CloseBoxOnlyHidesAndKeepsTheGraph) {
    auto dlg = Shown(200, 222);
    Reset(*dlg, 15);
    const QImage surface = dlg->GraphImage()->copy();
    EXPECT_TRUE(dlg->close());
    EXPECT_FALSE(dlg->isVisible());
    dlg->show();
    QApplication::processEvents();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(samples.Sample(50).temperature, 15);
    EXPECT_EQ(*dlg->GraphImage(), surface);
}

TEST_F(HistoryWindow, PaintingCopiesTheSurface) {
    auto dlg = Shown(200, 222);
    Reset(*dlg, 15);
    const QImage shown =
        dlg->grab(QRect(0, 0, 200, 200)).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, *dlg->GraphImage());
}

TEST_F(HistoryWindow, SamplesKeptWithoutASurfaceAreDrawnByTheFirstAcceptedResize) {
    // The window cannot be made smaller than 100 x 100: the first size message comes alone.
    auto dlg = std::make_unique<CHistoryDlg>(samples);
    dlg->OnSize(Qt::WindowNoState, 90, 90);
    EXPECT_EQ(dlg->GraphImage(), nullptr);
    EXPECT_EQ(dlg->StatusBar(), nullptr);
    Reset(*dlg, 15);
    Record(*dlg, 20, 80);  // no status bar yet: nothing to show the texts in
    dlg->show();
    Resize(*dlg, 200, 222);
    ASSERT_NE(dlg->GraphImage(), nullptr);
    ExpectFlatCurve(*dlg->GraphImage(), kBlue, 163);
    EXPECT_EQ(dlg->StatusBar()->Text(0), kTemperaturePlaceholder);
}

TEST_F(HistoryWindow, NothingIsShownOrDrawnAfterDestruction) {
    auto dlg = Shown(200, 222);
    dlg->DestroyWindow();
    EXPECT_EQ(dlg->StatusBar(), nullptr);
    EXPECT_EQ(dlg->GraphImage(), nullptr);
    EXPECT_FALSE(dlg->isVisible());
    Record(*dlg, 15, 63);
    Reset(*dlg, 15);
    dlg->OnSize(Qt::WindowNoState, 300, 300);
    EXPECT_EQ(dlg->GraphImage(), nullptr);
}

// ---- Fatal failures -----------------------------------------------------------------------

enum class FatalAction { ResizeSized, FirstResize, Redraw, Destroy, Create };

struct FatalCase {
    const char* name;
    FatalAction action;
    ResourceStep step;
    int occurrence;
    const char* message;
    int code;
};

class HistoryFatal : public HistoryWindow, public ::testing::WithParamInterface<FatalCase> {};

TEST_P(HistoryFatal, ReportsTheSitesMessageAndCode) {
    const FatalCase c = GetParam();
    std::unique_ptr<CHistoryDlg> dlg;
    if (c.action == FatalAction::FirstResize || c.action == FatalAction::Create) {
        dlg = std::make_unique<CHistoryDlg>(samples);
    } else {
        dlg = Shown(200, 222);
    }
    FailureSeam::Arm(c.step, c.occurrence);
    ExpectFatal(
        [&] {
            switch (c.action) {
                case FatalAction::ResizeSized:
                case FatalAction::FirstResize:
                    dlg->OnSize(Qt::WindowNoState, 300, 300);
                    break;
                case FatalAction::Redraw:
                    Reset(*dlg, 15);
                    break;
                case FatalAction::Destroy:
                    dlg->DestroyWindow();
                    break;
                case FatalAction::Create:
                    CreateHistoryDlg(samples);
                    break;
            }
        },
        c.message, c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Sites, HistoryFatal,
    ::testing::Values(
        FatalCase{"ResizeDetach", FatalAction::ResizeSized, ResourceStep::SelectBitmap, 1,
                  "ビットマップの切り放しに失敗しました。", -1},
        FatalCase{"ResizeDeleteDC", FatalAction::ResizeSized, ResourceStep::DeleteMemoryDC, 1,
                  "メモリデバイスコンテキストの解放に失敗しました。", -1},
        FatalCase{"ResizeDeleteBitmap", FatalAction::ResizeSized, ResourceStep::DeleteBitmap, 1,
                  "ビットマップの解放に失敗しました。", -1},
        FatalCase{"DestroyDetach", FatalAction::Destroy, ResourceStep::SelectBitmap, 1,
                  "ビットマップの切り放しに失敗しました。", -1},
        FatalCase{"DestroyDeleteDC", FatalAction::Destroy, ResourceStep::DeleteMemoryDC, 1,
                  "メモリデバイスコンテキストの解放に失敗しました。", -1},
        FatalCase{"DestroyDeleteBitmap", FatalAction::Destroy, ResourceStep::DeleteBitmap, 1,
                  "ビットマップの解放に失敗しました。", -1},
        FatalCase{"CreateBitmap", FatalAction::ResizeSized, ResourceStep::CreateBitmap, 1,
                  "ビットマップの作成に失敗しました。", -2},
        FatalCase{"CreateDC", FatalAction::ResizeSized, ResourceStep::CreateMemoryDC, 1,
                  "メモリデバイスコンテキストの作成に失敗しました。", -2},
        FatalCase{"AssignAfterRelease", FatalAction::ResizeSized, ResourceStep::SelectBitmap, 2,
                  "ビットマップの割り当てに失敗しました。", -2},
        FatalCase{"AssignFirstSurface", FatalAction::FirstResize, ResourceStep::SelectBitmap, 1,
                  "ビットマップの割り当てに失敗しました。", -2},
        FatalCase{"ResizeBrush", FatalAction::ResizeSized, ResourceStep::CreateBrush, 1,
                  "ブラシの作成に失敗しました。", -3},
        FatalCase{"RedrawBrush", FatalAction::Redraw, ResourceStep::CreateBrush, 1,
                  "ブラシの作成に失敗しました。", -3},
        FatalCase{"RedrawRegion", FatalAction::Redraw, ResourceStep::CreateRegion, 1,
                  "リージョンの作成に失敗しました。", -3},
        FatalCase{"CreateWindow", FatalAction::Create, ResourceStep::CreateWindow, 1,
                  "履歴ウインドウを作成できませんでした。", -101}),
    [](const ::testing::TestParamInfo<FatalCase>& info) { return std::string(info.param.name); });

}  // namespace
