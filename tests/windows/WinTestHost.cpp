// The Windows test host: a real Win32 process with a main window and the simulated host's suites,
// which loads the built Zentrim.aex (and with --probe the Zentrim Host Check) and drives it as the
// host would.
// Usage: WinTestHost PLUGIN.aex WORK_FOLDER [--screenshot] [--probe HOSTCHECK.aex]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <exception>

#include "Checks.h"
#include "HostWindow.h"
#include "ProbeScenario.h"
#include "Scenarios.h"
#include "ScriptEngine.h"

namespace {

wintest::Bench* g_bench = nullptr;
AEGP_RenderSuite3 g_render;  // the simulator's table with one entry watched
A_Err (*g_renderFrame)(AEGP_RenderOptionsH, AEGP_RenderSuiteCheckForCancel, AEGP_CancelRefcon,
                       AEGP_FrameReceiptH*) = nullptr;

// Every frame the plug-in renders passes here first: the test looks at the window between frames,
// as a host's own rendering would let it repaint.
A_Err watchedRenderFrame(AEGP_RenderOptionsH options, AEGP_RenderSuiteCheckForCancel cancel,
                         AEGP_CancelRefcon refcon, AEGP_FrameReceiptH* receipt) {
    if (g_bench) {
        int frame = g_bench->frames++;
        if (g_bench->onFrame) g_bench->onFrame(frame);
    }
    return g_renderFrame(options, cancel, refcon, receipt);
}

void watchRendering(sim::Host& host) {
    const void* table = host.findSuite(kAEGPRenderSuite, kAEGPRenderSuiteVersion3);
    std::memcpy(&g_render, table, sizeof g_render);
    g_renderFrame = g_render.AEGP_RenderAndCheckoutFrame;
    g_render.AEGP_RenderAndCheckoutFrame = &watchedRenderFrame;
    host.addSuite(kAEGPRenderSuite, kAEGPRenderSuiteVersion3, &g_render);
}

int run(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: WinTestHost PLUGIN.aex WORK_FOLDER [--screenshot] [--probe "
                     "HOSTCHECK.aex]\n");
        return 2;
    }
    // A host process has the common controls' window classes (the progress bar) registered; the
    // plug-in relies on that.
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
    wintest::check(InitCommonControlsEx(&icc) != 0, "common controls initialised");

    // Odd sizes, so that centring on it exercises the integer halves.
    HWND mainWindow = wintest::createMainWindow(101, 73, 901, 603);
    if (!wintest::check(mainWindow != NULL, "the host's main window is created")) return 1;

    sim::Host host;
    host.platform().mainWindow = mainWindow;
    sim::ScriptOptions scriptOptions;
    scriptOptions.fs = "Windows";
    const std::string sandbox = sim::installScriptEngine(host, sim::UserAnswers{}, scriptOptions);
    watchRendering(host);

    wintest::Bench bench(host);
    bench.mainWindow = mainWindow;
    bench.pluginPath = argv[1];
    bench.workFolder = argv[2];
    bench.sandbox = sandbox;
    std::string probe;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0) bench.screenshot = true;
        if (std::strcmp(argv[i], "--probe") == 0 && i + 1 < argc) probe = argv[++i];
    }
    g_bench = &bench;

    wintest::LoadedPlugin plugin;
    if (wintest::loadPlugin(bench, bench.pluginPath, 1, &plugin))
        wintest::runScenarios(bench, plugin);
    if (!probe.empty()) wintest::runProbeScenario(bench, probe);
    g_bench = nullptr;
    DestroyWindow(mainWindow);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int status = 0;
    try {
        status = run(argc, argv);
    } catch (const std::exception& e) {
        wintest::check(false, std::string("unexpected exception: ") + e.what());
    }
    if (status == 2) return 2;
    std::printf("%d passed, %d failed\n", wintest::passedCount(), wintest::failedCount());
    return wintest::failedCount() == 0 && status == 0 ? 0 : 1;
}
