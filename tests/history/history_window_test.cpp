#include <gtest/gtest.h>

#include <QApplication>
#include <QPixmap>
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

    // A shown window whose client area is cx x cy.
    static std::unique_ptr<CHistoryDlg> Shown(int cx, int cy) {
        auto dlg = std::make_unique<CHistoryDlg>();
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

// ---- Cadence: which calls take a sample -----------------------------------------------

std::vector<int> SampledCalls(CHistoryDlg& dlg, int calls, int firstValue = 1) {
    std::vector<int> sampled;
    for (int call = 1; call <= calls; ++call) {
        const int value = firstValue + call - 1;
        dlg.RecordSample(value, value);
        if (dlg.Recorder().Sample(HISTORY_SAMPLE_COUNT - 1).temperature == value) {
            sampled.push_back(call);
        }
    }
    return sampled;
}

struct CadenceCase {
    int interval;
    std::vector<int> firstSampledCalls;
};

class HistoryCadence : public ::testing::TestWithParam<CadenceCase> {};

TEST_P(HistoryCadence, SampleOnEveryIntervalPlusSecondCall) {
    CHistoryDlg dlg;
    dlg.SetHistoryInterval(GetParam().interval);
    const auto& expected = GetParam().firstSampledCalls;
    const std::vector<int> sampled = SampledCalls(dlg, expected.back());
    EXPECT_EQ(sampled, expected);
}

INSTANTIATE_TEST_SUITE_P(Intervals, HistoryCadence,
                         ::testing::Values(CadenceCase{100, {102, 204, 306}},
                                           CadenceCase{0, {2, 4, 6, 8}},
                                           CadenceCase{-1, {1, 2, 3, 4}},
                                           CadenceCase{INT_MIN, {1, 2, 3}}));

TEST_F(HistoryWindow, LoweringTheIntervalBelowTheCountSamplesOnTheNextCall) {
    CHistoryDlg dlg;
    EXPECT_TRUE(SampledCalls(dlg, 50).empty());
    dlg.SetHistoryInterval(10);
    EXPECT_EQ(SampledCalls(dlg, 1, 1000), std::vector<int>{1});
}

TEST_F(HistoryWindow, ResetKeepsTheCountOfCallsSinceTheLastSample) {
    CHistoryDlg dlg;
    SampledCalls(dlg, 60);
    dlg.ResetHistory(40);
    EXPECT_EQ(dlg.Recorder().Sample(0).temperature, 40);
    // 60 calls counted already: the 42nd call after the reset is the 102nd.
    EXPECT_EQ(SampledCalls(dlg, 42, 1000), std::vector<int>{42});
}

TEST_F(HistoryWindow, SampleRedrawsTheSurfaceAndOtherCallsDoNot) {
    auto dlg = Shown(200, 222);
    dlg->SetHistoryInterval(0);
    dlg->ResetHistory(15);
    const QImage before = dlg->GraphImage()->copy();
    dlg->RecordSample(100, 63);
    EXPECT_EQ(*dlg->GraphImage(), before);
    dlg->RecordSample(100, 63);
    EXPECT_NE(*dlg->GraphImage(), before);
    EXPECT_EQ(dlg->Recorder().Sample(HISTORY_SAMPLE_COUNT - 1).temperature, 100);
}

// ---- Graph pixels through the window ------------------------------------------------------

TEST_F(HistoryWindow, ResetDrawsTwoFlatCurves) {
    auto dlg = Shown(200, 222);  // surface 200 x 200, band 180
    dlg->ResetHistory(15);
    ExpectFlatCurve(*dlg->GraphImage(), kBlue, 163);  // 15 degrees
    ExpectFlatCurve(*dlg->GraphImage(), kRed, 185);   // 63 J
}

TEST_F(HistoryWindow, RedIsDrawnOverBlueWhereTheCurvesMeet) {
    auto dlg = Shown(200, 222);
    dlg->ResetHistory(0);
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
    dlg->SetHistoryInterval(-1);
    const FullScaleCase c = GetParam();
    for (int i = 0; i < HISTORY_SAMPLE_COUNT; ++i) {
        dlg->RecordSample(c.temperature, c.heat);
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
    auto dlg = CreateHistoryDlg();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), QString::fromUtf8("履歴ウインドウ"));
    EXPECT_TRUE(dlg->isWindow());
    EXPECT_EQ(dlg->parentWidget(), nullptr);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(dlg->windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_EQ(dlg->HistoryInterval(), 100);
}

struct AcceptedSizeCase {
    int cx;
    int cy;
};

class HistoryAcceptedSize : public HistoryWindow,
                            public ::testing::WithParamInterface<AcceptedSizeCase> {};

TEST_P(HistoryAcceptedSize, SurfaceAboveA22PixelStatusBarSplitAtHalfTheWidth) {
    auto dlg = Shown(300, 300);
    dlg->RecordSample(15, 63);
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
    dlg->ResetHistory(15);
    dlg->RecordSample(20, 80);
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
    dlg->RecordSample(20, 80);
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
    dlg->RecordSample(15, 63);
    EXPECT_EQ(dlg->StatusBar()->Text(0), QString::fromUtf8("平均温度: 15 [ﾟC](青)"));
    EXPECT_EQ(dlg->StatusBar()->Text(1), QString::fromUtf8("平均熱量: 63 [J](赤)"));
    dlg->RecordSample(-4, INT_MAX);
    EXPECT_EQ(dlg->StatusBar()->Text(0), QString::fromUtf8("平均温度: -4 [ﾟC](青)"));
    EXPECT_EQ(dlg->StatusBar()->Text(1), QString::fromUtf8("平均熱量: 2147483647 [J](赤)"));
}

TEST_F(HistoryWindow, RecordingGoesOnWhileHidden) {
    auto dlg = Shown(200, 222);
    dlg->hide();
    dlg->SetHistoryInterval(-1);
    for (int i = 0; i < HISTORY_SAMPLE_COUNT; ++i) {
        dlg->RecordSample(100, 0);
    }
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->StatusBar()->Text(0), QString::fromUtf8("平均温度: 100 [ﾟC](青)"));
    ExpectFlatCurve(*dlg->GraphImage(), kBlue, 10);
}

TEST_F(HistoryWindow, PlacingTheHiddenWindowMakesItsSurfaceAtOnce) {
    auto dlg = CreateHistoryDlg();
    dlg->ResetHistory(15);
    dlg->PlaceHidden(QRect(20, 30, 200, 222));
    EXPECT_FALSE(dlg->isVisible());
    ASSERT_NE(dlg->GraphImage(), nullptr);
    ExpectFlatCurve(*dlg->GraphImage(), kBlue, 163);
    dlg->RecordSample(42, 176);
    dlg->show();
    QApplication::processEvents();
    // Showing keeps the surface and the texts of the last call.
    EXPECT_EQ(dlg->size(), QSize(200, 222));
    EXPECT_EQ(dlg->StatusBar()->Text(0), QString::fromUtf8("平均温度: 42 [ﾟC](青)"));
    ExpectFlatCurve(*dlg->GraphImage(), kBlue, 163);
}

TEST_F(HistoryWindow, CloseBoxOnlyHidesAndKeepsTheHistory) {
    auto dlg = Shown(200, 222);
    dlg->ResetHistory(15);
    const QImage surface = dlg->GraphImage()->copy();
    EXPECT_TRUE(dlg->close());
    EXPECT_FALSE(dlg->isVisible());
    dlg->show();
    QApplication::processEvents();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->Recorder().Sample(50).temperature, 15);
    EXPECT_EQ(*dlg->GraphImage(), surface);
}

TEST_F(HistoryWindow, PaintingCopiesTheSurface) {
    auto dlg = Shown(200, 222);
    dlg->ResetHistory(15);
    const QImage shown =
        dlg->grab(QRect(0, 0, 200, 200)).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, *dlg->GraphImage());
}

TEST_F(HistoryWindow, SamplesKeptWithoutASurfaceAreDrawnByTheFirstAcceptedResize) {
    // The window cannot be made smaller than 100 x 100: the first size message comes alone.
    auto dlg = std::make_unique<CHistoryDlg>();
    dlg->OnSize(Qt::WindowNoState, 90, 90);
    EXPECT_EQ(dlg->GraphImage(), nullptr);
    EXPECT_EQ(dlg->StatusBar(), nullptr);
    dlg->ResetHistory(15);
    dlg->RecordSample(20, 80);  // no status bar yet: nothing to show the texts in
    dlg->show();
    Resize(*dlg, 200, 222);
    ASSERT_NE(dlg->GraphImage(), nullptr);
    ExpectFlatCurve(*dlg->GraphImage(), kBlue, 163);
    EXPECT_EQ(dlg->StatusBar()->Text(0), kTemperaturePlaceholder);
}

TEST_F(HistoryWindow, NothingIsRecordedAfterDestruction) {
    auto dlg = Shown(200, 222);
    dlg->DestroyWindow();
    EXPECT_EQ(dlg->StatusBar(), nullptr);
    EXPECT_EQ(dlg->GraphImage(), nullptr);
    EXPECT_FALSE(dlg->isVisible());
    dlg->RecordSample(15, 63);
    dlg->ResetHistory(15);
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
        dlg = std::make_unique<CHistoryDlg>();
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
                    dlg->ResetHistory(15);
                    break;
                case FatalAction::Destroy:
                    dlg->DestroyWindow();
                    break;
                case FatalAction::Create:
                    CreateHistoryDlg();
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
