#pragma once
// One auto-reset event and one worker thread: all the link needs from the threading API.
#include <cstdint>

namespace plat {

class AutoResetEvent {
 public:
  AutoResetEvent();
  ~AutoResetEvent();
  AutoResetEvent(const AutoResetEvent&) = delete;
  AutoResetEvent& operator=(const AutoResetEvent&) = delete;

  void Signal();
  // Blocks until signalled, then resets. Returns false only on a spurious failure.
  bool Wait();
  // As Wait, giving up after timeoutMs of real time; false on time-out.
  bool WaitFor(uint32_t timeoutMs);

 private:
  struct Impl;
  Impl* impl_;
};

using ThreadBody = void (*)(void* arg);

class Thread {
 public:
  Thread() = default;
  ~Thread();  // joins if still joinable
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  bool Start(ThreadBody body, void* arg);
  void Join();
  bool Running() const { return impl_ != nullptr; }

 private:
  struct Impl;
  Impl* impl_ = nullptr;
};

}  // namespace plat
