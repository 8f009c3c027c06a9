// The converter as a desktop program: one running copy takes files; a second
// start hands its file to it and opens no window, unless it was started with
// the quit option /Q, which gives it a window of its own that closes after
// one drop.
#pragma once

namespace drumlin {

// Runs the window until it is closed; the exit status.
int RunDrumlinWindow(int argc, char** argv);

}  // namespace drumlin

// What libdrumlin-window.so exports for the program: RunDrumlinWindow.
extern "C" int DrumlinWindowMain(int argc, char** argv);
using DrumlinWindowEntry = int(int argc, char** argv);
