#pragma once
// Shared between the link's own sources; nothing outside link/ includes this.
// Lock order: the status lock before the request lock, never the other way round.
#include <atomic>
#include <mutex>

#include "link/DryerStatus.h"
#include "link/SettingRequest.h"

namespace lnk::detail {

// Copies of shared bytes are plain loops rather than memcpy: ThreadSanitizer checks every
// access of a loop, but not the ranges of a library memcpy.
inline void CopyBytes(uint8_t* to, const uint8_t* from, int n) {
  for (int i = 0; i < n; ++i) to[i] = from[i];
}

std::mutex& StatusMutex();
// The live record; only touch it with StatusMutex held.
DryerStatus& LiveStatus();

std::mutex& RequestMutex();

// Accepted frames left in which the controller may still apply a value the builder sent for
// the row: set when the item goes out, cleared by its echo, counted down by every other frame.
// While it runs the panel's own request is the newer value, not the status byte.
inline constexpr uint8_t kEchoWaitFrames = 3;

// The request side's state. The bytes and the echo waits are only touched with RequestMutex
// held; the pending flags are read without the lock and changed with it held. The flags are
// atomics and cannot be assigned, so Reset() clears every member in place.
struct RequestState {
  uint8_t bytes[kSettingRequestBytes] = {};
  uint8_t awaitingEcho[kCommandRowCount] = {};
  std::atomic<uint8_t> pending[kCommandRowCount] = {};

  void Reset() {
    for (uint8_t& b : bytes) b = 0;
    for (uint8_t& a : awaitingEcho) a = 0;
    for (auto& f : pending) f.store(0);
  }
};
extern RequestState gRequests;

// The request bytes; only touch them with RequestMutex held.
inline uint8_t* RequestBytes() { return gRequests.bytes; }
inline bool Pending(int rowIndex) { return gRequests.pending[rowIndex].load(std::memory_order_acquire) != 0; }
inline void SetPending(int rowIndex, bool raised) {
  gRequests.pending[rowIndex].store(raised ? 1 : 0, std::memory_order_release);
}
inline bool AwaitingEcho(int rowIndex) { return gRequests.awaitingEcho[rowIndex] != 0; }
// Called by the decoder once per accepted frame, with both locks held, after the frame is stored.
void AgeAwaitedEchoes(const DryerStatus& status);

// The decoder's own state that is not part of the derived values.
struct DecoderState {
  uint8_t lastViewBit = 0;  // bit 6 of byte 266 at its last change
};
DecoderState& Decoder();

// The decoder's first frame ends the wait the start-up preset began.
void EndFirstFrameWait();

}  // namespace lnk::detail
