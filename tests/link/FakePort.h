#pragma once
// A port for the link cycle: what the controller "answers" is queued one chunk per cycle (the
// cycle's maintain call moves to the next), and every purge and write is logged. Safe to use
// from the link thread while the test thread waits on it.
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "link/Framing.h"
#include "link/Link.h"

struct FakePort {
  std::mutex m;
  std::condition_variable changed;
  std::deque<std::vector<uint8_t>> answers;
  std::vector<uint8_t> current;
  std::vector<uint8_t> everyCycle;  // answered when the queue is empty (a steady controller)
  std::vector<std::vector<uint8_t>> writes;
  std::string ops;  // 'p' purge, 'w' write, in order
  int cycles = 0;

  void Answer(const uint8_t* bytes, int n) {
    std::lock_guard<std::mutex> lock(m);
    answers.emplace_back(bytes, bytes + n);
  }
  void AnswerNothing() {
    std::lock_guard<std::mutex> lock(m);
    answers.emplace_back();
  }
  void AnswerEveryCycle(const uint8_t* bytes, int n) {
    std::lock_guard<std::mutex> lock(m);
    everyCycle.assign(bytes, bytes + n);
  }
  std::vector<uint8_t> LastWrite() {
    std::lock_guard<std::mutex> lock(m);
    return writes.empty() ? std::vector<uint8_t>{} : writes.back();
  }
  int Cycles() {
    std::lock_guard<std::mutex> lock(m);
    return cycles;
  }
  int Writes() {
    std::lock_guard<std::mutex> lock(m);
    return static_cast<int>(writes.size());
  }
  // Bounded wait for the link thread; generous, so a slow sanitizer build still passes.
  bool WaitForWrites(int n, int timeoutMs = 10000) {
    std::unique_lock<std::mutex> lock(m);
    return changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                            [&] { return static_cast<int>(writes.size()) >= n; });
  }

  lnk::LinkPort Port() {
    lnk::LinkPort p;
    p.context = this;
    p.maintain = [](void* c) {
      auto* f = static_cast<FakePort*>(c);
      std::lock_guard<std::mutex> lock(f->m);
      ++f->cycles;
      if (!f->answers.empty()) {
        f->current = std::move(f->answers.front());
        f->answers.pop_front();
      } else {
        f->current = f->everyCycle;
      }
    };
    p.read = [](void* c, uint8_t* buffer, int capacity) {
      auto* f = static_cast<FakePort*>(c);
      std::lock_guard<std::mutex> lock(f->m);
      const int n = std::min(capacity, static_cast<int>(f->current.size()));
      if (n > 0) std::memcpy(buffer, f->current.data(), n);
      f->current.erase(f->current.begin(), f->current.begin() + n);
      return n;
    };
    p.purge = [](void* c) {
      auto* f = static_cast<FakePort*>(c);
      std::lock_guard<std::mutex> lock(f->m);
      f->ops += 'p';
    };
    p.write = [](void* c, const uint8_t* bytes, int n) {
      auto* f = static_cast<FakePort*>(c);
      {
        std::lock_guard<std::mutex> lock(f->m);
        f->ops += 'w';
        f->writes.emplace_back(bytes, bytes + n);
      }
      f->changed.notify_all();
    };
    return p;
  }
};

// The kind of request a written frame is.
inline char RequestKind(const std::vector<uint8_t>& w) {
  if (w.size() == lnk::kPollFrameLength && std::memcmp(w.data(), lnk::kPollFrame, lnk::kPollFrameLength) == 0) return 'P';
  if (w.size() == lnk::kResyncFrameLength && std::memcmp(w.data(), lnk::kResyncFrame, lnk::kResyncFrameLength) == 0) return 'R';
  if (!w.empty() && w[0] == w.size()) return 'C';
  return '?';
}
