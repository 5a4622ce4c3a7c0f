#include "sim/SimServer.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "platform/Event.h"
#include "platform/Pty.h"
#include "platform/Serial.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kResultTexts[] = {
    "ok", "the simulator is already running", "no pseudo-terminal could be created",
    "the device could not be opened", "the simulator thread could not be started",
};
static_assert(sizeof(kResultTexts) / sizeof(kResultTexts[0]) == static_cast<size_t>(SimServerResult::ThreadFailed) + 1);

// 38400 baud with 8 data bits, a parity bit and start and stop bits: 11 bits a byte.
constexpr auto kByteTime = std::chrono::nanoseconds(11 * 1000000000LL / 38400);
constexpr int kPacedChunk = 8;
constexpr int kIdleWaitMs = 20;
constexpr int kPauseSliceMs = 5;

enum class LineKind : uint8_t { None, Pty, Serial };

void Trace(const char* what, const uint8_t* bytes, int n) {
  std::fprintf(stderr, "sim %s %d:", what, n);
  for (int i = 0; i < n; ++i) std::fprintf(stderr, " %02X", bytes[i]);
  std::fprintf(stderr, "\n");
}

}  // namespace

const char* SimServerResultText(SimServerResult r) {
  auto i = static_cast<size_t>(r);
  return i < sizeof(kResultTexts) / sizeof(kResultTexts[0]) ? kResultTexts[i] : "unknown";
}

struct SimServer::Impl {
  mutable std::mutex lock;  // guards sim
  Simulator sim;
  SimServerOptions options;
  LineKind line = LineKind::None;
  plat::PtyPair pty;
  plat::SerialPort serial;
  char slavePath[64] = {};
  SimReceiver rx;
  plat::Thread thread;
  std::atomic<bool> stop{false};
  std::atomic<bool> pullRequested{false};
  std::atomic<bool> pulled{false};
  std::atomic<bool> running{false};
  std::atomic<uint32_t> served{0};
  Clock::time_point start;
  Clock::time_point lastStep;

  uint64_t NowMs() const {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
  }

  void WaitForBytes() {
    if (line == LineKind::Pty && pty.IsOpen()) {
      pty.WaitReadable(kIdleWaitMs);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(kIdleWaitMs));
  }

  void ReadLine() {
    uint8_t buffer[256];
    for (;;) {
      int got = 0;
      if (line == LineKind::Pty) {
        if (pty.Read(buffer, sizeof(buffer), got) != plat::PtyResult::Ok) return;
      } else if (line == LineKind::Serial) {
        serial.Maintain();
        if (serial.Read(buffer, sizeof(buffer), got) != plat::SerialResult::Ok) return;
      }
      if (got <= 0) return;
      SimReceiverPush(rx, buffer, got, NowMs());
    }
  }

  bool WriteRaw(const uint8_t* bytes, int n) {
    if (line == LineKind::Pty) return pty.Write(bytes, n) == plat::PtyResult::Ok;
    if (line == LineKind::Serial) return serial.Write(bytes, n) == plat::SerialResult::Ok;
    return false;
  }

  void WritePaced(const uint8_t* bytes, int n) {
    if (!options.realPace) {
      WriteRaw(bytes, n);
      return;
    }
    const Clock::time_point begin = Clock::now();
    for (int done = 0; done < n && !stop.load();) {
      const int chunk = n - done < kPacedChunk ? n - done : kPacedChunk;
      if (!WriteRaw(bytes + done, chunk)) return;
      done += chunk;
      std::this_thread::sleep_until(begin + kByteTime * done);
    }
  }

  void Pause(uint32_t ms) {
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(ms);
    while (!stop.load() && Clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(kPauseSliceMs));
  }

  void Advance() {
    const Clock::time_point now = Clock::now();
    const double seconds = std::chrono::duration<double>(now - lastStep).count();
    lastStep = now;
    std::lock_guard<std::mutex> guard(lock);
    SimStep(sim, seconds * options.speed);
  }

  void Serve() {
    uint8_t frame[lnk::kMaxCommandFrameLength];
    SimReply reply;
    while (!stop.load()) {
      if (pullRequested.load()) {
        pty.Close();
        serial.Close();
        line = LineKind::None;
        pullRequested.store(false);
        pulled.store(true);
      }
      WaitForBytes();
      ReadLine();
      Advance();
      int n;
      while (!stop.load() && (n = SimReceiverTake(rx, frame, NowMs())) > 0) {
        SimAnswer answer;
        {
          std::lock_guard<std::mutex> guard(lock);
          answer = SimHandleRequest(sim, frame, n, reply);
        }
        if (options.trace) Trace("got", frame, n);
        if (answer != SimAnswer::Sent) {
          served.fetch_add(1);
          continue;
        }
        if (options.trace) Trace("answer", reply.bytes, reply.length);
        if (reply.splitAt > 0 && reply.splitAt < reply.length) {
          WritePaced(reply.bytes, reply.splitAt);
          Pause(reply.pauseMs);
          WritePaced(reply.bytes + reply.splitAt, reply.length - reply.splitAt);
        } else {
          WritePaced(reply.bytes, reply.length);
        }
        served.fetch_add(1);
      }
    }
  }

  static void Body(void* self) { static_cast<Impl*>(self)->Serve(); }

  SimServerResult Begin(const SimServerOptions& o) {
    options = o;
    // Fault times are given in seconds of the line, whatever the speed of the plant.
    SimFaults faults = o.faults;
    if (o.speed > 0) {
      faults.silentAfterS *= o.speed;
      faults.silentForS *= o.speed;
      faults.warningFromS *= o.speed;
      faults.warningToS *= o.speed;
      for (int i = 0; i < faults.forcedCount && i < kSimForcedBitMax; ++i) faults.forced[i].fromS *= o.speed;
    }
    if (!(options.speed > 0)) options.speed = 1;
    SimInitScenario(sim, o.scenario != nullptr ? *o.scenario : SimDefaultScenario(), faults);
    sim.physicsFrozen = o.physicsFrozen;
    rx = SimReceiver{};
    stop.store(false);
    pulled.store(false);
    pullRequested.store(false);
    start = Clock::now();
    lastStep = start;
    if (!thread.Start(&Impl::Body, this)) {
      pty.Close();
      serial.Close();
      line = LineKind::None;
      return SimServerResult::ThreadFailed;
    }
    running.store(true);
    return SimServerResult::Ok;
  }
};

SimServer::SimServer() : impl_(new Impl) {}

SimServer::~SimServer() {
  Stop();
  delete impl_;
}

SimServerResult SimServer::StartOnPty(const SimServerOptions& options) {
  if (impl_->running.load()) return SimServerResult::AlreadyRunning;
  if (impl_->pty.Open() != plat::PtyResult::Ok) return SimServerResult::PtyFailed;
  std::snprintf(impl_->slavePath, sizeof(impl_->slavePath), "%s", impl_->pty.SlavePath());
  impl_->line = LineKind::Pty;
  return impl_->Begin(options);
}

SimServerResult SimServer::StartOnDevice(const char* path, const SimServerOptions& options) {
  if (impl_->running.load()) return SimServerResult::AlreadyRunning;
  if (impl_->serial.Open(path) != plat::SerialResult::Ok) return SimServerResult::DeviceFailed;
  std::snprintf(impl_->slavePath, sizeof(impl_->slavePath), "%s", path);
  impl_->line = LineKind::Serial;
  return impl_->Begin(options);
}

void SimServer::Stop() {
  if (!impl_->running.load()) return;
  impl_->stop.store(true);
  impl_->thread.Join();
  impl_->pty.Close();
  impl_->serial.Close();
  impl_->line = LineKind::None;
  impl_->running.store(false);
}

bool SimServer::Running() const { return impl_->running.load(); }

const char* SimServer::SlavePath() const { return impl_->slavePath; }

void SimServer::PullCable() {
  if (!impl_->running.load() || impl_->pulled.load()) return;
  impl_->pullRequested.store(true);
  while (!impl_->pulled.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

uint32_t SimServer::Served() const { return impl_->served.load(); }

void SimServer::Snapshot(Simulator& out) const {
  std::lock_guard<std::mutex> guard(impl_->lock);
  out = impl_->sim;
}

void SimServer::Edit(void (*edit)(Simulator& sim, void* arg), void* arg) {
  std::lock_guard<std::mutex> guard(impl_->lock);
  edit(impl_->sim, arg);
}

void SimServer::SetSilent(bool silent) {
  std::lock_guard<std::mutex> guard(impl_->lock);
  impl_->sim.forcedSilent = silent;
}

void SimServer::PressStart() {
  std::lock_guard<std::mutex> guard(impl_->lock);
  SimPressStart(impl_->sim);
}

void SimServer::PressStop() {
  std::lock_guard<std::mutex> guard(impl_->lock);
  SimPressStop(impl_->sim);
}

void SimServer::SetFaults(const SimFaults& faults) {
  std::lock_guard<std::mutex> guard(impl_->lock);
  impl_->sim.faults = faults;
}
