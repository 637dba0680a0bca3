// The real program's start as a person meets it: build/bin/pixolo under its own Xvfb with the virtual test camera
// and a session bus, as on a desktop, from starting the process to the first camera picture painted in its preview,
// against a bare viewfinder of the same camera started the same way (bench/viewfinder_reference: camerabin's
// viewfinder when that element is installed, and the camera straight into an X window).
//   ProgramStart   medians of 7 starts each, in turns: pixolo_ms, viewfinder_ms, camerabin_ms (0 when camerabin
//                  is not installed) and the ratio to each; pixolo_without_bus_ms, the program where no session bus
//                  runs (a bare X server: Qt's accessibility bridge has one started on demand); and the program's
//                  start-up timeline (PIXOLO_TIMELINE), the median time of each step since the program's entry, as
//                  counters "step NN <step>".
#include "DesktopSession.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <vector>

namespace
{

constexpr int kStarts = 7;

double median(std::vector<double> values)
{
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Start {
    double firstPictureMs = -1; // from starting the process; negative when none came within the time
    std::vector<std::pair<QString, double>> steps; // the program's timeline
};

// Starts `program` and reads its output until a line ends with `lastStep`; without the session's bus if asked.
Start timedStart(DesktopSession &session, const QString &program, const QStringList &args, const QString &lastStep,
    bool sessionBus = true)
{
    QProcess process;
    QProcessEnvironment env = session.environment();
    env.insert(QStringLiteral("PIXOLO_TIMELINE"), QStringLiteral("1"));
    if (!sessionBus) {
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    }
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(session.tempPath());
    process.setProcessChannelMode(QProcess::MergedChannels);
    Start start;
    QElapsedTimer clock;
    clock.start();
    process.start(program, args);
    QByteArray pending;
    while (start.firstPictureMs < 0 && clock.elapsed() < 10000 && process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(50);
        pending += process.readAll();
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(end));
            pending.remove(0, end + 1);
            if (line.startsWith(QStringLiteral("pixolo: timeline "))) {
                const QString rest = line.mid(17);
                const qsizetype blank = rest.indexOf(QLatin1Char(' '));
                start.steps.emplace_back(rest.mid(blank + 1), rest.left(blank).toDouble());
            }
            if (line.endsWith(lastStep)) {
                start.firstPictureMs = double(clock.nsecsElapsed()) / 1e6;
            }
        }
    }
    process.kill();
    process.waitForFinished(5000);
    return start;
}

void ProgramStart(benchmark::State &state)
{
    for (auto _ : state) {
        DesktopSession session;
        if (!session.ok()) {
            state.SkipWithError("Xvfb did not start");
            return;
        }
        if (!session.startSessionBus()) {
            state.SkipWithError("the session bus did not start");
            return;
        }
        const QString reference = QStringLiteral(PIXOLO_VIEWFINDER_REFERENCE);
        const bool camerabin
            = timedStart(session, reference, { QStringLiteral("camerabin") }, QStringLiteral("first picture"))
                  .firstPictureMs
            >= 0;
        std::vector<double> program, withoutBus, viewfinder, camerabinTimes;
        std::map<QString, std::vector<double>> steps;
        std::vector<QString> order;
        for (int i = 0; i < kStarts; ++i) {
            const Start pixolo
                = timedStart(session, session.programPath(), {}, QStringLiteral("first picture painted"));
            if (pixolo.firstPictureMs < 0) {
                state.SkipWithError("the program painted no picture");
                return;
            }
            program.push_back(pixolo.firstPictureMs);
            for (const auto &[step, ms] : pixolo.steps) {
                if (!steps.count(step)) {
                    order.push_back(step);
                }
                steps[step].push_back(ms);
            }
            withoutBus.push_back(
                timedStart(session, session.programPath(), {}, QStringLiteral("first picture painted"), false)
                    .firstPictureMs);
            viewfinder.push_back(timedStart(session, reference, {}, QStringLiteral("first picture")).firstPictureMs);
            if (camerabin) {
                camerabinTimes.push_back(
                    timedStart(session, reference, { QStringLiteral("camerabin") }, QStringLiteral("first picture"))
                        .firstPictureMs);
            }
        }
        state.counters["pixolo_ms"] = median(program);
        state.counters["pixolo_without_bus_ms"] = median(withoutBus);
        state.counters["viewfinder_ms"] = median(viewfinder);
        state.counters["camerabin_ms"] = median(camerabinTimes);
        if (median(viewfinder) > 0) {
            state.counters["ratio_to_viewfinder"] = median(program) / median(viewfinder);
        }
        if (camerabin) {
            state.counters["ratio_to_camerabin"] = median(program) / median(camerabinTimes);
        }
        for (size_t i = 0; i < order.size(); ++i) {
            const QString name = QStringLiteral("step %1 %2").arg(i, 2, 10, QLatin1Char('0')).arg(order[i]);
            state.counters[name.toStdString()] = median(steps[order[i]]);
        }
    }
}

} // namespace

BENCHMARK(ProgramStart)->Unit(benchmark::kSecond)->Iterations(1);
