#pragma once
// Time for the whole panel: a monotonic millisecond clock and the local wall-clock time.
// Tests and the headless backend switch to a virtual clock that only moves when advanced,
// so every timer, countdown and log step can be driven second by second without sleeping.
#include <cstdint>

namespace plat {

struct LocalTime {
  int year = 2000;    // four digits
  int month = 1;      // 1..12
  int day = 1;        // 1..31
  int hour = 0;       // 0..23
  int minute = 0;     // 0..59
  int second = 0;     // 0..59
  int dayOfWeek = 6;  // 0 = Sunday
  int millisecond = 0;
};

// Milliseconds since an arbitrary start; never goes backwards.
uint64_t NowMs();

// Local time of the panel clock (system time plus the kept offset, or the virtual time).
void GetLocalTime(LocalTime& out);
// Sets the panel clock. Keeps an offset when the system clock cannot be set; false when
// the value is not a valid date.
bool SetLocalTime(const LocalTime& t);

// Days of that month (1..12) in that year, leap years counted; 0 for another month.
int DaysInMonth(int year, int month);

// Virtual clock: from this call on, NowMs and GetLocalTime return virtual values that move
// only through AdvanceVirtualClock. The wall clock starts at `start`.
void UseVirtualClock(const LocalTime& start);
bool VirtualClockActive();
void AdvanceVirtualClock(uint64_t ms);
// Back to the real clocks (tests call it in teardown).
void UseRealClock();

// Seconds since 1970 for a local time (no time zone shifts: the panel lives in local time).
int64_t ToEpochSeconds(const LocalTime& t);
LocalTime FromEpochSeconds(int64_t seconds);

}  // namespace plat
