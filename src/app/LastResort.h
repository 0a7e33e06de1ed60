#pragma once
// The ways the program can end without the engine's orderly close: a crash
// (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT) and exit() called from inside a
// library (Qt does that when the display goes away). Each still unkeys the
// transmitter through the radio link's last-resort mirror, with write(2)
// only, before the program goes.
namespace zr::app {

// Process-wide: the fatal-signal handlers and the exit hook (SIGPIPE is
// ignored so a broken socket cannot end the program around them). Call
// once, early.
void installLastResortUnkey();

// Per thread: a stack of its own for the fatal-signal handler, so even a
// stack overflow can still unkey. Call on every thread that runs our code.
void giveThreadASignalStack();

}  // namespace zr::app
