#include "platform/Event.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <pthread.h>

namespace plat {

struct AutoResetEvent::Impl {
  std::mutex mutex;
  std::condition_variable signalled;
  bool set = false;
};

AutoResetEvent::AutoResetEvent() : impl_(new Impl) {}

AutoResetEvent::~AutoResetEvent() { delete impl_; }

void AutoResetEvent::Signal() {
  if (!impl_) return;
  {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->set = true;
  }
  impl_->signalled.notify_one();
}

bool AutoResetEvent::Wait() {
  if (!impl_) return false;
  std::unique_lock<std::mutex> lock(impl_->mutex);
  impl_->signalled.wait(lock, [this] { return impl_->set; });
  impl_->set = false;
  return true;
}

bool AutoResetEvent::WaitFor(uint32_t timeoutMs) {
  if (!impl_) return false;
  std::unique_lock<std::mutex> lock(impl_->mutex);
  bool got = impl_->signalled.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                       [this] { return impl_->set; });
  if (got) impl_->set = false;
  return got;
}

namespace {
struct ThreadEntry {
  ThreadBody body;
  void* arg;
};

void* RunThreadEntry(void* p) {
  auto* entry = static_cast<ThreadEntry*>(p);
  entry->body(entry->arg);
  return nullptr;
}
}  // namespace

struct Thread::Impl {
  pthread_t thread;
  ThreadEntry entry;
};

Thread::~Thread() { Join(); }

bool Thread::Start(ThreadBody body, void* arg) {
  if (impl_ || !body) return false;
  impl_ = new Impl;
  if (!impl_) return false;
  impl_->entry = ThreadEntry{body, arg};
  // pthread rather than std::thread: a failed start is a result here, not an exception.
  if (pthread_create(&impl_->thread, nullptr, RunThreadEntry, &impl_->entry) != 0) {
    delete impl_;
    impl_ = nullptr;
    return false;
  }
  return true;
}

void Thread::Join() {
  if (!impl_) return;
  pthread_join(impl_->thread, nullptr);
  delete impl_;
  impl_ = nullptr;
}

}  // namespace plat
