// How many ticks the running program really steps per second, and what it costs.
// Run it in a real X session, e.g.: xvfb-run -a build/release/bench/window_rate [seconds
// [boil-limit-seconds]] Starts an 80 x 80 run at 5 ms and at 1 ms and counts the ticks and paints
// of each; then runs at the fastest speed with the history window shown, next to the headless tick
// rate measured in the same process, and times a run from 15 C to an average of 99 C.
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "RunSpeed.h"
#include "SettingsDlg.h"
#include "SettingsTemplate.h"
#include "SimDlg.h"

namespace {

class EventCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Timer) {
            ++ticks;
        } else if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
    long long ticks = 0;
    long long paints = 0;
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

std::unique_ptr<CSimDlg> StartedWindow(int intervalMs, std::uint32_t seed = 1) {
    auto dlg = std::make_unique<CSimDlg>();
    dlg->Simulation().SetSeed(seed);
    dlg->SetProfile({{100, 100, 740, 580}, {0, 0, 337, 212}, false});
    dlg->SetSettingsDialogRunner([intervalMs](CSettingsDlg& dialog) {
        dialog.show();
        QCoreApplication::processEvents();
        for (auto [id, text] :
             {std::pair{IDC_STEP_INTERVAL, QString::number(intervalMs)},
              std::pair{IDC_COLUMNS, QString("80")}, std::pair{IDC_ROWS, QString("80")}}) {
            qobject_cast<QLineEdit*>(dialog.GetDlgItem(id))->setText(text);
        }
        dialog.accept();
        return dialog.result();
    });
    dlg->DoModalWithoutLoop();
    dlg->StartButton()->click();
    return dlg;
}

void Measure(int intervalMs, int seconds) {
    auto dlg = StartedWindow(intervalMs);
    EventCounter counter;
    dlg->installEventFilter(&counter);
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    QElapsedTimer wall;
    const double cpuBefore = CpuSeconds();
    wall.start();
    loop.exec();
    const double elapsed = wall.nsecsElapsed() / 1e9;
    const double cpu = CpuSeconds() - cpuBefore;
    const double nominal = 1000.0 / intervalMs;
    std::printf(
        "interval %d ms: %.0f ticks/s of %.0f nominal (%.3f), %.0f paints/s, CPU %.2f cores\n",
        intervalMs, counter.ticks / elapsed, nominal, counter.ticks / elapsed / nominal,
        counter.paints / elapsed, cpu / elapsed);
    dlg->removeEventFilter(&counter);
}

// Ticks per second of the model alone on a warm 80 x 80 grid, as the window runs them.
double HeadlessRate(double seconds) {
    CSimulation sim;
    sim.SetSeed(1);
    SimulationSettings settings;
    settings.columns = settings.rows = 80;
    sim.FreshStart(settings);
    CHistoryRecorder history;
    sim.RunTicks(2000000, history);
    QElapsedTimer wall;
    wall.start();
    long long ticks = 0;
    while (wall.nsecsElapsed() < seconds * 1e9) {
        sim.RunTicks(100000, history);
        ticks += 100000;
    }
    return ticks / (wall.nsecsElapsed() / 1e9);
}

void MeasureFastest(int seconds) {
    auto dlg = StartedWindow(5);
    dlg->HistoryButton()->click();
    dlg->Show(dlg->Session().SetSpeed(RunSpeed::FASTEST));
    EventCounter counter;
    dlg->installEventFilter(&counter);
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    QElapsedTimer wall;
    const long long ticksBefore = dlg->Simulation().TicksRun();
    wall.start();
    loop.exec();
    const double elapsed = wall.nsecsElapsed() / 1e9;
    const double rate = (dlg->Simulation().TicksRun() - ticksBefore) / elapsed;
    dlg->removeEventFilter(&counter);
    dlg->Show(dlg->Session().PauseResume());
    const double headless = HeadlessRate(seconds / 2.0);
    std::printf(
        "fastest, 80 x 80, history shown: %.0f ticks/s in the window, %.0f headless (%.3f),"
        " %.0f paints/s\n",
        rate, headless, rate / headless, counter.paints / elapsed);
}

// Wall time of an 80 x 80 run at the fastest speed from 15 C to an average of 99 C.
void TimeToBoil(int limitSeconds) {
    auto dlg = StartedWindow(5);
    dlg->HistoryButton()->click();
    dlg->Show(dlg->Session().SetSpeed(RunSpeed::FASTEST));
    QEventLoop loop;
    QElapsedTimer wall;
    QTimer poll;
    double reached = -1;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (dlg->Simulation().AverageTemperature() >= 99) {
            reached = wall.nsecsElapsed() / 1e9;
            loop.quit();
        } else if (wall.elapsed() > limitSeconds * 1000LL) {
            loop.quit();
        }
    });
    wall.start();
    poll.start(20);
    loop.exec();
    const int shown = dlg->Simulation().AverageTemperature();
    dlg->Simulation().ComputeAverages();
    std::printf("  (shown %d C, summed over the grid now %d C)\n", shown,
                dlg->Simulation().AverageTemperature());
    if (reached >= 0) {
        std::printf("fastest, 80 x 80: 15 C to an average of 99 C in %.1f s (%lld ticks)\n",
                    reached, dlg->Simulation().TicksRun());
    } else {
        std::printf("fastest, 80 x 80: average %d C after %d s (%lld ticks)\n",
                    dlg->Simulation().AverageTemperature(), limitSeconds,
                    dlg->Simulation().TicksRun());
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    for (int interval : {5, 1}) {
        Measure(interval, seconds);
    }
    MeasureFastest(seconds);
    if (argc > 2) {
        TimeToBoil(std::max(1, std::atoi(argv[2])));
    }
    return 0;
}
