#pragma once
// The two ticks of the main window besides the link's: the one-second tick (clock, link
// watch, data logs, setup option buttons, batch timer restarts, the auto-start message) and the
// tenth-second tick (warning window, blink, animation, dryer picture, held arrow buttons).
#include <cstdint>

namespace shell {

inline constexpr uint32_t kLinkTimerId = 36865;
inline constexpr uint32_t kSecondTimerId = 36866;
inline constexpr uint32_t kTenthTimerId = 36894;
inline constexpr uint32_t kLinkTimerMs = 175;
inline constexpr uint32_t kSecondTimerMs = 1000;
inline constexpr uint32_t kTenthTimerMs = 100;

inline constexpr int kBatchLatchCount = 4;
inline constexpr int kRepeatDialogCount = 4;

// Counters owned by the ticks; none is saved.
struct TickState {
  uint8_t dryerRunning = 0;
  uint8_t autoStartShown = 0;
  uint32_t batchLatch[kBatchLatchCount] = {1, 1, 1, 1};
  uint32_t blinkCounter = 0;
  uint32_t repeatDelay[kRepeatDialogCount] = {};
  uint32_t secondTicks = 0;
  uint32_t tenthTicks = 0;
};
TickState& Ticks();
void ResetTickState();

// The questions of the one-second tick (batch restarts, the log size, the auto-start end, a
// storage condition to tell the operator) are asked through this function: a modal message box
// unless a test puts its own answerer in. Returns the answer id (plat::IdYes, IdNo, IdOk).
enum class TickQuestion : uint8_t { BatchRestart, LogSize, AutoStartFinished, StorageNotice };
using TickAsker = int (*)(TickQuestion which, const char16_t* text, const char16_t* caption);
void SetTickAsker(TickAsker asker);

void OneSecondTick();
void TenthSecondTick();


}  // namespace shell
