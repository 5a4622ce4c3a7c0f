#pragma once
// The link to the dryer controller: the serial port, the link thread and its 350 ms cycle, the
// connection-alive countdown and the 175 ms link tick of the UI thread.
//
// One cycle: read what the controller answered to the previous request, accept it when exactly
// 331 bytes came with a good CRC, or when a longer read ends in 331 such bytes (a late tail
// ahead of a whole answer; the tail is dropped and counted in the trace), refresh the
// countdown and decode, then send one request: a
// resync when asked for and the hold-off is over, a command when the builder has items and the
// hold-off allows it, a poll otherwise, always purging both queues first.
#include <cstdint>

#include "platform/Serial.h"

namespace lnk {

// The port the cycle talks to. The real one is the serial device; tests plug a fake.
struct LinkPort {
  void* context = nullptr;
  // Reads whatever has arrived, up to `capacity`; returns the number of bytes (0 when none).
  int (*read)(void* context, uint8_t* buffer, int capacity) = nullptr;
  void (*write)(void* context, const uint8_t* buffer, int length) = nullptr;
  void (*purge)(void* context) = nullptr;
  // Called at the start of every cycle: a port that went away is reopened from here.
  void (*maintain)(void* context) = nullptr;
};

inline constexpr uint32_t kLinkAliveSeconds = 10;
inline constexpr uint32_t kResyncHoldOffCycles = 10;
inline constexpr uint32_t kCommandHoldOffLimit = 2;  // the builder runs while the hold-off is below this
inline constexpr uint32_t kBlinkPhases = 8;
inline constexpr uint32_t kDelayedRedrawTicks = 25;

// Opens the serial device and starts the link thread. A device that cannot be opened yet (a USB
// adapter still enumerating at boot) is tried again from the thread's cycles, as one that went
// away is, while the countdown runs out and the panel shows the lost link. `deviceResult` gets
// the first attempt's result. False only when no link thread could be started.
bool OpenLink(const char* devicePath, plat::SerialResult* deviceResult = nullptr);
// Starts the link thread on a given port (tests, the in-process simulator). False when a link
// thread already runs.
bool OpenLinkOnPort(const LinkPort& port);
// Stops and joins the link thread and closes the port. The panel never calls it; tests and a
// clean exit do. Call it from the thread that runs the ticks.
void CloseLink();
bool LinkThreadRunning();

// Sets the port RunLinkCycle uses, for driving cycles by hand without the thread.
void SetLinkPort(const LinkPort& port);
// One link cycle (the body of the thread after each wake).
void RunLinkCycle();

// The 175 ms tick (UI thread): layout watch on byte 279, status-bar redraw, blink, link wake on
// even counts, delayed redraw.
void LinkTick();

// ---- Link state shared with the UI thread ----
uint32_t LinkAliveCountdown();
bool LinkConnected();
// The 1 s tick: one second off the countdown, never below 0 even while a frame sets it to 10.
void DecrementLinkAliveCountdown();
// Raised by the warning window while it shows the connection-lost text.
void RaiseResyncRequest();
bool ResyncRequested();
uint32_t CommandHoldOff();
uint32_t LinkTickCount();
// How many times the tick has woken the link thread.
uint32_t LinkWakeCount();
uint32_t BlinkPhase();
// Bit 0 of the shared display-state word: on during blink phases 3..7.
bool BlinkOn();
// Raised on accepting the hardware-setup dialog: redraws the line graph and the plenum view 25
// ticks later.
void RaiseDelayedRedraw();

// Hex dumps of every frame read and written to standard error.
void SetLinkTrace(bool on);

// Back to the start state (countdown 10, no resync, no hold-off, tick and blink at 0, layout
// byte not taken). Only while no link thread runs. Tests only.
void ResetLinkState();

}  // namespace lnk
