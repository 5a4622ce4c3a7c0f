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

namespace {

// Room for a late tail and the whole answer behind it.
constexpr int kReceiveCapacity = 2 * kStatusFrameLength;
constexpr uint32_t kBlinkOffPhase = 0;
constexpr uint32_t kBlinkOnPhase = 3;
constexpr uint32_t kDisplayBlinkBit = 1u << 0;

// Shared with the UI thread.
std::atomic<uint32_t> gAliveCountdown{kLinkAliveSeconds};
std::atomic<uint8_t> gResyncRequest{0};
std::atomic<uint32_t> gCommandHoldOff{0};
std::atomic<uint32_t> gDisplayState{0};
std::atomic<bool> gTrace{false};
// Bytes thrown away ahead of an accepted frame, since the start (link thread; shown in the trace).
uint32_t gDroppedBytes = 0;

// The link thread's own.
uint8_t gRx[kReceiveCapacity];
uint8_t gTx[kTransmitBufferLength];
LinkPort gPort;

plat::SerialPort gSerial;
plat::AutoResetEvent gWakeEvent;
plat::Thread gThread;
std::atomic<bool> gThreadRunning{false};
std::atomic<bool> gStopRequested{false};

// The 175 ms tick's own (UI thread).
uint32_t gTickCount = 0;
uint32_t gWakeCount = 0;
uint32_t gBlinkPhase = 0;
bool gLayoutTaken = false;
uint8_t gLayoutByte = 0;
bool gDelayedRedraw = false;
uint32_t gDelayedRedrawCountdown = kDelayedRedrawTicks;

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
  if (!gTrace.load(std::memory_order_relaxed)) return;
  std::fprintf(stderr, "link %s %d:", what, n);
  for (int i = 0; i < n; ++i) std::fprintf(stderr, "%s%02X", (i % 32 == 0) ? "\n  " : " ", bytes[i]);
  std::fputc('\n', stderr);
}

int ReadAnswer() {
  if (!gPort.read) return 0;
  int got = 0;
  while (got < kReceiveCapacity) {
    const int n = gPort.read(gPort.context, gRx + got, kReceiveCapacity - got);
    if (n <= 0) break;
    got += n;
  }
  return got;
}

void Send(const uint8_t* frame, int length) {
  if (gPort.purge) gPort.purge(gPort.context);
  Trace("tx", frame, length);
  if (gPort.write) gPort.write(gPort.context, frame, length);
}

void LinkThreadBody(void*) {
  while (!gStopRequested.load()) {
    if (!gWakeEvent.Wait()) continue;
    if (gStopRequested.load()) break;
    RunLinkCycle();
  }
}

// exit() from anywhere (Xlib ends the process that way when the display goes) would otherwise
// reach the thread's destructor, which joins a thread asleep until a tick that never comes.
void StopLinkAtExit() { CloseLink(); }

bool StartThread(const LinkPort& port) {
  if (gThreadRunning.load()) return false;
  static const bool stopAtExit = std::atexit(StopLinkAtExit) == 0;
  (void)stopAtExit;
  gPort = port;
  gStopRequested = false;
  if (!gThread.Start(LinkThreadBody, nullptr)) return false;
  gThreadRunning = true;
  return true;
}

}  // namespace

bool OpenLink(const char* devicePath, plat::SerialResult* deviceResult) {
  if (gThreadRunning.load()) return false;
  // On failure the port stays wanted, so the cycle's Maintain() keeps trying it.
  const plat::SerialResult opened = gSerial.Open(devicePath);
  if (deviceResult != nullptr) *deviceResult = opened;
  const LinkPort port{.context = &gSerial, .read = SerialRead, .write = SerialWrite,
                      .purge = SerialPurge, .maintain = SerialMaintain};
  if (!StartThread(port)) {
    gSerial.Close();
    return false;
  }
  return true;
}

bool OpenLinkOnPort(const LinkPort& port) { return StartThread(port); }

void CloseLink() {
  if (gThreadRunning.load()) {
    gStopRequested = true;
    gWakeEvent.Signal();
    gThread.Join();
    gThreadRunning = false;
    gStopRequested = false;
  }
  gSerial.Close();
  gPort = LinkPort{};
}

bool LinkThreadRunning() { return gThreadRunning.load(); }


void SetLinkPort(const LinkPort& port) { gPort = port; }

void RunLinkCycle() {
  if (gPort.maintain) gPort.maintain(gPort.context);
  const int got = ReadAnswer();
  if (got > 0) Trace("rx", gRx, got);
  const int at = StatusFrameOffset(gRx, got);
  if (at >= 0) {
    if (at > 0) {
      gDroppedBytes += static_cast<uint32_t>(at);
      if (gTrace.load(std::memory_order_relaxed))
        std::fprintf(stderr, "link dropped %d bytes ahead of the frame, %u in all\n", at, gDroppedBytes);
    }
    gAliveCountdown.store(kLinkAliveSeconds);
    DecodeStatusFrame(gRx + at);
  }
  uint32_t holdOff = gCommandHoldOff.load();
  if (holdOff > 0) --holdOff;
  if (holdOff == 0 && gResyncRequest.exchange(0) != 0) {
    gCommandHoldOff.store(kResyncHoldOffCycles);
    Send(kResyncFrame, kResyncFrameLength);
    return;
  }
  gCommandHoldOff.store(holdOff);
  if (holdOff < kCommandHoldOffLimit && BuildCommandFrame(gTx)) {
    const int length = gTx[0];
    AppendChecksum(gTx, length - 2);
    Send(gTx, length);
    return;
  }
  Send(kPollFrame, kPollFrameLength);
}

void LinkTick() {
  const uint8_t layout = ReadStatusByte(kStatusOptionBits2);
  if (!gLayoutTaken) {
    gLayoutTaken = true;
    gLayoutByte = layout;
  } else if (layout != gLayoutByte) {
    gLayoutByte = layout;
    PostRelayoutButtonBar();
  }

  PostRedraw(PanelWindow::StatusBar, false);

  gBlinkPhase = (gBlinkPhase + 1) % kBlinkPhases;
  if (gBlinkPhase == kBlinkOffPhase || gBlinkPhase == kBlinkOnPhase) {
    if (gBlinkPhase == kBlinkOffPhase)
      gDisplayState.fetch_and(~kDisplayBlinkBit);
    else
      gDisplayState.fetch_or(kDisplayBlinkBit);
    if (ReadStatusByte(kStatusWarningId) != 0 || ReadStatusByte(kStatusWarningNode) != 0)
      PostRedraw(PanelWindow::WarningWindow, true);
  }

  ++gTickCount;
  if (gTickCount % 2 == 0 && gThreadRunning.load()) {
    ++gWakeCount;
    gWakeEvent.Signal();
  }

  if (gDelayedRedraw) {
    if (gDelayedRedrawCountdown > 0) {
      --gDelayedRedrawCountdown;
      return;
    }
    gDelayedRedraw = false;
    gDelayedRedrawCountdown = kDelayedRedrawTicks;
    PostRedraw(PanelWindow::LineGraph, false);
    PostRedraw(PanelWindow::PlenumView, false);
  }
}

uint32_t LinkAliveCountdown() { return gAliveCountdown.load(); }
bool LinkConnected() { return gAliveCountdown.load() != 0; }

void DecrementLinkAliveCountdown() {
  uint32_t v = gAliveCountdown.load();
  while (v > 0 && !gAliveCountdown.compare_exchange_weak(v, v - 1)) {
  }
}

void RaiseResyncRequest() { gResyncRequest.store(1); }
bool ResyncRequested() { return gResyncRequest.load() != 0; }
uint32_t CommandHoldOff() { return gCommandHoldOff.load(); }
uint32_t LinkTickCount() { return gTickCount; }
uint32_t LinkWakeCount() { return gWakeCount; }
uint32_t BlinkPhase() { return gBlinkPhase; }
bool BlinkOn() { return (gDisplayState.load() & kDisplayBlinkBit) != 0; }
void RaiseDelayedRedraw() { gDelayedRedraw = true; }
void SetLinkTrace(bool on) { gTrace.store(on); }

void ResetLinkState() {
  gAliveCountdown = kLinkAliveSeconds;
  gDroppedBytes = 0;
  gResyncRequest = 0;
  gCommandHoldOff = 0;
  gDisplayState = 0;
  gTickCount = 0;
  gWakeCount = 0;
  gBlinkPhase = 0;
  gLayoutTaken = false;
  gLayoutByte = 0;
  gDelayedRedraw = false;
  gDelayedRedrawCountdown = kDelayedRedrawTicks;
}
