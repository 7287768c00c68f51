// How many ticks the running program really steps per second, and what it costs.
// Run it in a real X session, e.g.: xvfb-run -a build/release/bench/window_rate [seconds]
// Starts an 80 x 80 run at 5 ms and at 1 ms and counts the ticks and paints of each.
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "SettingsDlg.h"
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

void Measure(int intervalMs, int seconds) {
    CSimDlg dlg;
    dlg.m_rcMainWnd = {100, 100, 740, 580};
    dlg.m_rcHistoryWnd = {0, 0, 337, 212};
    dlg.m_runSettingsDialog = [intervalMs](CSettingsDlg& dialog) {
        dialog.show();
        QCoreApplication::processEvents();
        for (auto [id, text] : {std::pair{1022, QString::number(intervalMs)},
                                std::pair{1029, QString("80")}, std::pair{1030, QString("80")}}) {
            qobject_cast<QLineEdit*>(dialog.GetDlgItem(id))->setText(text);
        }
        dialog.accept();
        return dialog.result();
    };
    dlg.DoModalWithoutLoop();
    dlg.m_pStartButton->click();

    EventCounter counter;
    dlg.installEventFilter(&counter);
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
    dlg.removeEventFilter(&counter);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    for (int interval : {5, 1}) {
        Measure(interval, seconds);
    }
    return 0;
}
