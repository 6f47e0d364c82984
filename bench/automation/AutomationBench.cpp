// Cost of driving the stand-in client on the simulated desktop with virtual time.
#include <benchmark/benchmark.h>

#include "ca/automation/Controls.h"
#include "ca/automation/ListView.h"
#include "ca/automation/TextEntry.h"
#include "ca/automation/sim/SimDesktop.h"
#include "ca/automation/sim/StandInClient.h"
#include "ca/util/Clock.h"

namespace {

using namespace ca::automation;

sim::StandInConfig entryForm() {
    sim::StandInConfig config;
    config.startScreen = sim::Screen::Entry;
    return config;
}

// 10,000 text-entry method calls, the five methods in turn, into the entry form's fields.
void TenThousandTextEntryCalls(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        ca::VirtualClock clock;
        sim::SimDesktop desktop(clock);
        sim::StandInClient client(desktop, entryForm());
        std::vector<HWnd> fields;
        for (int p = 0; p < client.fieldCount(sim::Area::Header); ++p) {
            fields.push_back(client.fieldWindow({sim::Area::Header, p}));
        }
        state.ResumeTiming();
        for (int i = 0; i < 10000; ++i) {
            const HWnd f = fields[static_cast<std::size_t>(i) % fields.size()];
            switch (i % 5) {
                case 0:
                    SetText(desktop, f, "深圳海关");
                    break;
                case 1:
                    FocusPaste(desktop, clock, f, "上海浦东");
                    break;
                case 2:
                    ClickPaste(desktop, clock, f, "USD", true, 0);
                    break;
                case 3:
                    PasteConfirm(desktop, clock, f, "照章征税", 50, 50);
                    break;
                case 4:
                    UnlockPaste(desktop, clock, f, "千克");
                    break;
            }
        }
        benchmark::DoNotOptimize(client.confirmations().size());
    }
}
BENCHMARK(TenThousandTextEntryCalls)->Unit(benchmark::kMillisecond);

// One message sent to an edit of the stand-in (WM_GETTEXT of a short text).
void SendOneMessage(benchmark::State& state) {
    ca::VirtualClock clock;
    sim::SimDesktop desktop(clock);
    sim::StandInClient client(desktop, entryForm());
    const HWnd f = client.fieldWindow({sim::Area::Header, 40});
    desktop.setText(f, "20240115");
    char buffer[256];
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            desktop.sendMessage(f, WmGetText, sizeof buffer, reinterpret_cast<LParam>(buffer)));
    }
}
BENCHMARK(SendOneMessage);

// A list cell read across the simulated process boundary.
void ReadOneListCell(benchmark::State& state) {
    ca::VirtualClock clock;
    sim::SimDesktop desktop(clock);
    sim::ClientFixture fixture;
    fixture.rows = {{"220120240001", "TY0001", "公司"}};
    sim::StandInClient client(desktop, {}, fixture);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadListCell(desktop, client.queryList(), 0, 2));
}
BENCHMARK(ReadOneListCell);

}  // namespace

BENCHMARK_MAIN();
