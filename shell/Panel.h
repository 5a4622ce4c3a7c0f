#pragma once
// The panel process: start-up in its fixed order, the message loop that serves the decoder's
// requests, and a clean stop (after --run-for, a closed window or SIGTERM).
#include <cstdint>

namespace lnk {
struct LinkPort;
}

namespace shell {

// The --usb value that looks for a mounted removable drive at every copy.
inline constexpr const char* kUsbAuto = "auto";

struct PanelOptions {
  const char* port = nullptr;  // null: the built-in simulator on a pseudo-terminal
  const char* root = nullptr;  // required by StartPanel
  const char* usb = nullptr;   // null: "Hard Disk2" below the root; kUsbAuto: a removable drive
  const char* pack = nullptr;  // folder of the language packs copied into a new root
  const char* script = nullptr;
  double runForSeconds = 0;    // 0: until the window closes or a signal comes
  int scale = 1;
  bool headless = false;
  bool fullscreen = false;
  bool traceLink = false;
  bool simFast = false;        // the built-in simulator answers at once (tests)
  const char* scenario = nullptr;  // the built-in simulator's scenario; null: its default
  double simSpeed = 1;             // the built-in simulator's simulated seconds per second
  const lnk::LinkPort* linkPort = nullptr;  // tests: the link talks to this port instead
};

enum class StartResult : uint8_t {
  Ok,
  NoMainWindow,  // the process ends with 0, as a panel whose window cannot be made does
  LinkFailed,    // the port is not open yet: the link tries it again while the panel shows the
                 // lost link
  NoDisplay,     // full screen without a screen, or a magnification that does not fit: the
                 // process ends with kExitNoDisplay
};
inline constexpr int kExitNoDisplay = 3;
const char* StartResultText(StartResult r);

// Makes the root's storage folders and, for every shipped language, a whole copy of its pack
// in "<root>/Hard Disk/Languages": a missing one is copied, one that does not match the
// shipped manifest is moved aside and copied afresh (i18n::EnsureLanguagePack). False when
// the root holds no English pack.
bool PrepareRoot(const char* root, const char* packDir);
// The language packs shipped beside the running program (installed or in the build tree), or
// null when there are none.
const char* DefaultPackDir();

// Start order steps 3 to 15: display, main window, preferences, screen windows, link (or the
// built-in simulator and the link), timers, history store, first paint, the 0xA0 preset and
// the language. The display must not be open yet.
StartResult StartPanel(const PanelOptions& options);
// The decoder's three requests, served after each message.
void ServeLoopRequests();
// Runs the message loop until the quit message; returns its code.
int RunMessageLoop(const PanelOptions& options);
// Stops the link and the simulator, closes the store and the display (tests and a clean exit).
void StopPanel();
// Asks the loop to end at its next message; safe from a signal handler.
void RequestPanelStop();
// True once a stop was asked for or the --run-for time is up. The main window's timers check
// it, so the panel also ends while a modal dialog runs its own loop.
bool PanelStopDue();

// The built-in simulator's device, "" when the panel talks to a given port.
const char* BuiltInSimulatorPath();

// The whole program: single instance, start, loop, stop. Returns the process exit code.
int RunPanel(const PanelOptions& options);

}  // namespace shell
