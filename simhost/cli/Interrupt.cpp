// The SIGINT handler that turns Ctrl-C into the cancel chord.
#include "Interrupt.h"

#include <signal.h>
#include <unistd.h>

namespace sim {

namespace {

std::atomic<bool> g_held{false};
struct sigaction g_previous;

void onInterrupt(int) {
    // Only async-signal-safe work here: a lock-free store and write(2). SA_RESETHAND has put the
    // default action back, so the next Ctrl-C ends the program.
    g_held.store(true);
    static const char kMessage[] =
        "\nCtrl-C: holding Shift + Command until the plug-in cancels (Ctrl-C again ends "
        "zentrim-host)\n";
    ssize_t ignored = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    (void)ignored;
}

}  // namespace

static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

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
    action.sa_flags = SA_RESETHAND;
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
