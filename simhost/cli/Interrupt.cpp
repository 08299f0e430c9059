// The signal handlers: Ctrl-C as the cancel chord, and the clean-up before the program ends.
#include "Interrupt.h"

#include <signal.h>
#include <unistd.h>

#include "TemporaryFiles.h"

namespace sim {

namespace {

std::atomic<bool> g_held{false};
struct sigaction g_previous;

// Only async-signal-safe work here: the table's removal (system calls), and SA_RESETHAND has put
// the default action back, so raising the signal again ends the program when this returns.
void onEndingSignal(int signal) {
    removeTemporaryPaths();
    raise(signal);
}

void onInterrupt(int) {
    // A lock-free store, write(2) and sigaction(2): the next Ctrl-C gets what it had before.
    g_held.store(true);
    static const char kMessage[] =
        "\nCtrl-C: holding Shift + Command until the plug-in cancels (Ctrl-C again ends "
        "zentrim-host)\n";
    ssize_t ignored = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    (void)ignored;
    sigaction(SIGINT, &g_previous, nullptr);
}

}  // namespace

static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

void removeTemporaryFilesOnEndingSignals() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        struct sigaction current = {};
        sigaction(signal, nullptr, &current);
        // A signal the caller ignores (nohup, a background job's SIGINT) stays ignored.
        if (current.sa_handler == SIG_IGN) continue;
        struct sigaction action = {};
        action.sa_handler = onEndingSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        sigaction(signal, &action, nullptr);
    }
}

CancelChordOnInterrupt::~CancelChordOnInterrupt() {
    disarm();
}

void CancelChordOnInterrupt::arm() {
    if (armed_) return;
    g_held.store(false);
    happened_ = false;
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &g_previous);
    armed_ = true;
}

void CancelChordOnInterrupt::disarm() {
    if (!armed_) return;
    sigaction(SIGINT, &g_previous, nullptr);
    happened_ = happened_ || g_held.load();
    g_held.store(false);
    armed_ = false;
}

const std::atomic<bool>& CancelChordOnInterrupt::held() {
    return g_held;
}

}  // namespace sim
