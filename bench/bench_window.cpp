// A check-in through the real main window (offscreen), over a 999-member table.
#include "core/program_state.h"
#include "core/settings_store.h"
#include "member_files.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/platform.h"
#include "platform/printers.h"
#include "platform/prompts.h"
#include "platform/sound.h"
#include "ui/frm_main.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

struct QuietSound : Sound {
    void play(const QString&) override {}
};
struct QuietPrompts : Prompts {
    void message(const QString&, Icon, const QString&) override {}
    Answer ask(const QString&, Buttons, Answer d, Icon, const QString&) override { return d; }
    QString saveFileDialog(const QString&, const QString&, int*) override { return {}; }
    QString openFileDialog(const QString&, const QString&) override { return {}; }
};
struct NoKeyboard : Keyboard {
    bool isOn(Lock) const override { return false; }
    void setOn(Lock, bool) override {}
};
struct NoPrinters : Printers {
    int count() const override { return 0; }
};

struct Window {
    QTemporaryDir home;
    QuietSound sound;
    QuietPrompts prompts;
    SystemClock clock;
    NoKeyboard keyboard;
    NoPrinters printers;
    Platform platform;
    ProgramState state;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<frmMain> window;

    Window()
    {
        platform.sound = &sound;
        platform.prompts = &prompts;
        platform.clock = &clock;
        platform.keyboard = &keyboard;
        platform.printers = &printers;
        state.paths.memberFile = home.path() + QStringLiteral("/Veln.dat");
        state.paths.settingsFile = home.path() + QStringLiteral("/VELN.ini");
        // Every check-in through the window writes its journal line; the
        // event loop syncs them once per turn.
        state.paths.journalFile = home.path() + QStringLiteral("/journal.jsonl");
        writeMemberFile(state.paths.memberFile, manyMembers(999));
        settings = std::make_unique<SettingsStore>(state.paths.settingsFile);
        window = std::make_unique<frmMain>(platform, state, *settings);
        window->resize(1600, 1000);
        window->show();
        QCoreApplication::processEvents();
    }
};

void BM_WindowCheckInUnknown(benchmark::State& st)
{
    Window w;
    for (auto _ : st) {
        w.window->TxtChkin->setText(QStringLiteral("KB0ABC"));
        w.window->txtChkin_KeyDown(13);
        st.PauseTiming();
        w.window->cmdHide_Click();  // the lists would otherwise grow without end
        w.window->Timer2->stop();
        st.ResumeTiming();
    }
}
BENCHMARK(BM_WindowCheckInUnknown);

void BM_WindowCheckInMember(benchmark::State& st)
{
    Window w;
    const QString call = w.window->memberTable().call(999);
    for (auto _ : st) {
        w.window->TxtChkin->setText(call);
        w.window->txtChkin_KeyDown(13);
        st.PauseTiming();
        w.window->session().deleteLine(1, false);  // so the next round checks in again
        st.ResumeTiming();
    }
}
BENCHMARK(BM_WindowCheckInMember);

// One check-in with n-1 stations listed already: the cost must not grow with n.
void BM_WindowCheckInWithRoster(benchmark::State& st)
{
    Window w;
    const int listed = int(st.range(0)) - 1;
    for (int slot = 1; slot <= listed; ++slot) {
        w.window->TxtChkin->setText(w.window->memberTable().call(slot));
        w.window->txtChkin_KeyDown(13);
    }
    QCoreApplication::processEvents();
    const QString call = w.window->memberTable().call(999);
    for (auto _ : st) {
        w.window->TxtChkin->setText(call);
        w.window->txtChkin_KeyDown(13);
        QCoreApplication::processEvents();  // the list lays itself out
        st.PauseTiming();
        const int last = w.window->roster().lineCount();
        w.window->session().deleteLine(last, false);
        QCoreApplication::processEvents();
        st.ResumeTiming();
    }
}
BENCHMARK(BM_WindowCheckInWithRoster)->Arg(10)->Arg(100)->Arg(999);

// A whole net: 999 members check in one after another.
void BM_WindowWholeNet(benchmark::State& st)
{
    for (auto _ : st) {
        st.PauseTiming();
        auto w = std::make_unique<Window>();
        st.ResumeTiming();
        for (int slot = 1; slot <= 999; ++slot) {
            w->window->TxtChkin->setText(w->window->memberTable().call(slot));
            w->window->txtChkin_KeyDown(13);
        }
        QCoreApplication::processEvents();
        st.PauseTiming();
        w.reset();
        st.ResumeTiming();
    }
}
BENCHMARK(BM_WindowWholeNet)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
