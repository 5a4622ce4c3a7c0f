#pragma once
// The simulator on a line: a thread that reads requests from a new pseudo-terminal pair (or a
// serial device), answers them through the simulator core and advances its simulated time
// with real time. Used in-process by dryer-panel's built-in simulator and by the tests, and by
// the dryer-sim program.
#include <cstdint>

#include "sim/Simulator.h"

struct SimServerOptions {
  SimFaults faults;
  bool realPace = true;        // write answers at 38400 baud, 11 bits a byte (about 95 ms a frame)
  bool physicsFrozen = false;  // the image changes only through commands
  bool trace = false;          // hex dumps of every request and answer on stderr
  const SimScenario* scenario = nullptr;  // null: the default scenario
  double speed = 1;            // simulated seconds per real second
};

enum class SimServerResult : uint8_t {
  Ok,
  AlreadyRunning,
  PtyFailed,     // no pseudo-terminal pair could be made
  DeviceFailed,  // the given device could not be opened
  ThreadFailed,
};
const char* SimServerResultText(SimServerResult r);

class SimServer {
 public:
  SimServer();
  ~SimServer();  // stops and joins
  SimServer(const SimServer&) = delete;
  SimServer& operator=(const SimServer&) = delete;

  // Creates a new pseudo-terminal pair and serves on its master; SlavePath() is the device to
  // give the panel.
  SimServerResult StartOnPty(const SimServerOptions& options);
  // Serves on an existing device (a serial port, the far end of a cable).
  SimServerResult StartOnDevice(const char* path, const SimServerOptions& options);
  // Stops the thread, joins it and closes the line. Safe to call twice.
  void Stop();
  bool Running() const;
  const char* SlavePath() const;

  // Closes the line while the thread goes on, as a pulled cable does: a panel on the slave
  // sees the device disappear. Returns when the line is closed.
  void PullCable();

  // Requests handled to the end: answer written, dropped, ignored or unheard. A test that
  // waits for it to move knows the answer is on the line before the panel's next read.
  uint32_t Served() const;

  // Copies the whole simulator state under its lock.
  void Snapshot(Simulator& out) const;
  // Runs `edit` on the simulator under its lock (set registers, turn the knob, change faults).
  void Edit(void (*edit)(Simulator& sim, void* arg), void* arg);
  void SetSilent(bool silent);
  // The control panel's START and STOP buttons.
  void PressStart();
  void PressStop();
  void SetFaults(const SimFaults& faults);

 private:
  struct Impl;
  Impl* impl_;
};
