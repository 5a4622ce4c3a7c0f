#include "link/Link.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "link/DryerStatus.h"
#include "link/Framing.h"
#include "link/LinkEvents.h"
#include "link/SettingRequest.h"
#include "link/StatusDecoder.h"
#include "platform/Event.h"
#include "platform/Serial.h"

namespace lnk {

namespace {

// Room for a late tail and the whole answer behind it.
constexpr int kReceiveCapacity = 2 * kStatusFrameLength;
constexpr uint32_t kBlinkOffPhase = 0;
constexpr uint32_t kBlinkOnPhase = 3;
constexpr uint32_t kDisplayBlinkBit = 1u << 0;

// Shared with the UI thread. Atomics cannot be assigned, so Reset() stores the starting
// values of a fresh instance; a member added here must be added there too.
struct SharedState {
  std::atomic<uint32_t> aliveCountdown{kLinkAliveSeconds};
  std::atomic<uint8_t> resyncRequest{0};
  std::atomic<uint32_t> commandHoldOff{0};
  std::atomic<uint32_t> displayState{0};

  void Reset() {
    const SharedState fresh;
    aliveCountdown.store(fresh.aliveCountdown.load());
    resyncRequest.store(fresh.resyncRequest.load());
    commandHoldOff.store(fresh.commandHoldOff.load());
    displayState.store(fresh.displayState.load());
  }
};

// The link thread's own counts.
struct CycleState {
  uint32_t droppedBytes = 0;  // thrown away ahead of an accepted frame, since the start (trace)
};

// The 175 ms tick's own (UI thread).
struct TickState {
  uint32_t tickCount = 0;
  uint32_t wakeCount = 0;
  uint32_t blinkPhase = 0;
  bool layoutTaken = false;
  uint8_t layoutByte = 0;
  bool delayedRedraw = false;
  uint32_t delayedRedrawCountdown = kDelayedRedrawTicks;
};

// The port, its buffers and the thread live as long as the process: a reset of the state
// above never touches them, so it is safe while a test's port is installed.
struct LinkIo {
  uint8_t rx[kReceiveCapacity];
  uint8_t tx[kTransmitBufferLength];
  LinkPort port;
};
struct LinkThreadState {
  plat::SerialPort serial;
  plat::AutoResetEvent wakeEvent;
  plat::Thread thread;
  std::atomic<bool> running{false};
  std::atomic<bool> stopRequested{false};
  std::atomic<bool> trace{false};
};

SharedState gShared;
CycleState gCycle;
TickState gTick;
LinkIo gIo;
LinkThreadState gThread;

int SerialRead(void* c, uint8_t* buffer, int capacity) {
  int got = 0;
  static_cast<plat::SerialPort*>(c)->Read(buffer, capacity, got);
  return got;
}
void SerialWrite(void* c, const uint8_t* buffer, int length) {
  static_cast<plat::SerialPort*>(c)->Write(buffer, length);
}
void SerialPurge(void* c) { static_cast<plat::SerialPort*>(c)->Purge(); }
void SerialMaintain(void* c) { static_cast<plat::SerialPort*>(c)->Maintain(); }

void Trace(const char* what, const uint8_t* bytes, int n) {
  if (!gThread.trace.load(std::memory_order_relaxed)) return;
  std::fprintf(stderr, "link %s %d:", what, n);
  for (int i = 0; i < n; ++i) std::fprintf(stderr, "%s%02X", (i % 32 == 0) ? "\n  " : " ", bytes[i]);
  std::fputc('\n', stderr);
}

int ReadAnswer() {
  if (!gIo.port.read) return 0;
  int got = 0;
  while (got < kReceiveCapacity) {
    const int n = gIo.port.read(gIo.port.context, gIo.rx + got, kReceiveCapacity - got);
    if (n <= 0) break;
    got += n;
  }
  return got;
}

void Send(const uint8_t* frame, int length) {
  if (gIo.port.purge) gIo.port.purge(gIo.port.context);
  Trace("tx", frame, length);
  if (gIo.port.write) gIo.port.write(gIo.port.context, frame, length);
}

void LinkThreadBody(void*) {
  while (!gThread.stopRequested.load()) {
    if (!gThread.wakeEvent.Wait()) continue;
    if (gThread.stopRequested.load()) break;
    RunLinkCycle();
  }
}

// exit() from anywhere (Xlib ends the process that way when the display goes) would otherwise
// reach the thread's destructor, which joins a thread asleep until a tick that never comes.
void StopLinkAtExit() { CloseLink(); }

bool StartThread(const LinkPort& port) {
  if (gThread.running.load()) return false;
  static const bool stopAtExit = std::atexit(StopLinkAtExit) == 0;
  (void)stopAtExit;
  gIo.port = port;
  gThread.stopRequested = false;
  if (!gThread.thread.Start(LinkThreadBody, nullptr)) return false;
  gThread.running = true;
  return true;
}

}  // namespace

bool OpenLink(const char* devicePath, plat::SerialResult* deviceResult) {
  if (gThread.running.load()) return false;
  // On failure the port stays wanted, so the cycle's Maintain() keeps trying it.
  const plat::SerialResult opened = gThread.serial.Open(devicePath);
  if (deviceResult != nullptr) *deviceResult = opened;
  const LinkPort port{.context = &gThread.serial, .read = SerialRead, .write = SerialWrite,
                      .purge = SerialPurge, .maintain = SerialMaintain};
  if (!StartThread(port)) {
    gThread.serial.Close();
    return false;
  }
  return true;
}

bool OpenLinkOnPort(const LinkPort& port) { return StartThread(port); }

void CloseLink() {
  if (gThread.running.load()) {
    gThread.stopRequested = true;
    gThread.wakeEvent.Signal();
    gThread.thread.Join();
    gThread.running = false;
    gThread.stopRequested = false;
  }
  gThread.serial.Close();
  gIo.port = LinkPort{};
}

bool LinkThreadRunning() { return gThread.running.load(); }


void SetLinkPort(const LinkPort& port) { gIo.port = port; }

void RunLinkCycle() {
  if (gIo.port.maintain) gIo.port.maintain(gIo.port.context);
  const int got = ReadAnswer();
  if (got > 0) Trace("rx", gIo.rx, got);
  const int at = StatusFrameOffset(gIo.rx, got);
  if (at >= 0) {
    if (at > 0) {
      gCycle.droppedBytes += static_cast<uint32_t>(at);
      if (gThread.trace.load(std::memory_order_relaxed))
        std::fprintf(stderr, "link dropped %d bytes ahead of the frame, %u in all\n", at, gCycle.droppedBytes);
    }
    gShared.aliveCountdown.store(kLinkAliveSeconds);
    DecodeStatusFrame(gIo.rx + at);
  }
  uint32_t holdOff = gShared.commandHoldOff.load();
  if (holdOff > 0) --holdOff;
  if (holdOff == 0 && gShared.resyncRequest.exchange(0) != 0) {
    gShared.commandHoldOff.store(kResyncHoldOffCycles);
    Send(kResyncFrame, kResyncFrameLength);
    return;
  }
  gShared.commandHoldOff.store(holdOff);
  if (holdOff < kCommandHoldOffLimit && BuildCommandFrame(gIo.tx)) {
    const int length = gIo.tx[0];
    AppendChecksum(gIo.tx, length - 2);
    Send(gIo.tx, length);
    return;
  }
  Send(kPollFrame, kPollFrameLength);
}

void LinkTick() {
  const uint8_t layout = ReadStatusByte(kStatusOptionBits2);
  if (!gTick.layoutTaken) {
    gTick.layoutTaken = true;
    gTick.layoutByte = layout;
  } else if (layout != gTick.layoutByte) {
    gTick.layoutByte = layout;
    PostRelayoutButtonBar();
  }

  PostRedraw(PanelWindow::StatusBar, false);

  gTick.blinkPhase = (gTick.blinkPhase + 1) % kBlinkPhases;
  if (gTick.blinkPhase == kBlinkOffPhase || gTick.blinkPhase == kBlinkOnPhase) {
    if (gTick.blinkPhase == kBlinkOffPhase)
      gShared.displayState.fetch_and(~kDisplayBlinkBit);
    else
      gShared.displayState.fetch_or(kDisplayBlinkBit);
    if (ReadStatusByte(kStatusWarningId) != 0 || ReadStatusByte(kStatusWarningNode) != 0)
      PostRedraw(PanelWindow::WarningWindow, true);
  }

  ++gTick.tickCount;
  if (gTick.tickCount % 2 == 0 && gThread.running.load()) {
    ++gTick.wakeCount;
    gThread.wakeEvent.Signal();
  }

  if (gTick.delayedRedraw) {
    if (gTick.delayedRedrawCountdown > 0) {
      --gTick.delayedRedrawCountdown;
      return;
    }
    gTick.delayedRedraw = false;
    gTick.delayedRedrawCountdown = kDelayedRedrawTicks;
    PostRedraw(PanelWindow::LineGraph, false);
    PostRedraw(PanelWindow::PlenumView, false);
  }
}

uint32_t LinkAliveCountdown() { return gShared.aliveCountdown.load(); }
bool LinkConnected() { return gShared.aliveCountdown.load() != 0; }

void DecrementLinkAliveCountdown() {
  uint32_t v = gShared.aliveCountdown.load();
  while (v > 0 && !gShared.aliveCountdown.compare_exchange_weak(v, v - 1)) {
  }
}

void RaiseResyncRequest() { gShared.resyncRequest.store(1); }
bool ResyncRequested() { return gShared.resyncRequest.load() != 0; }
uint32_t CommandHoldOff() { return gShared.commandHoldOff.load(); }
uint32_t LinkTickCount() { return gTick.tickCount; }
uint32_t LinkWakeCount() { return gTick.wakeCount; }
uint32_t BlinkPhase() { return gTick.blinkPhase; }
bool BlinkOn() { return (gShared.displayState.load() & kDisplayBlinkBit) != 0; }
void RaiseDelayedRedraw() { gTick.delayedRedraw = true; }
void SetLinkTrace(bool on) { gThread.trace.store(on); }

void ResetLinkState() {
  gShared.Reset();
  gCycle = {};
  gTick = {};
}

}  // namespace lnk
