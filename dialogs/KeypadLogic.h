#pragma once
// The digit machines of the three keypads: the timer entry (dialog 165), the setpoint entry
// (dialog 101) and the moisture keypad (dialog 224). The dialogs only turn presses into these
// calls and draw the texts formatted here; nothing in this file opens a window.
#include <cstddef>
#include <cstdint>

#include "i18n/StringIds.h"
#include "link/RegisterMap.h"

namespace lnk {
struct DryerStatus;
}

// Keys other than the digits 0..9.
inline constexpr int kKeyDelete = 10;
inline constexpr int kKeyDefault = 11;

enum class EntryResult : uint8_t { Accepted, OutOfRange };

// The fixed English texts of the refusal, the same in every language.
inline constexpr const char* kOutOfRangeText = "The value entered is out of range.";
inline constexpr const char* kOutOfRangeCaption = "WARNING!";

// ---- Timer entry ----

struct TimerLimits {
  uint8_t maxMinutes, maxSeconds;
  uint8_t defaultMinutes, defaultSeconds;
  uint8_t minMinutes, minSeconds;
};

// One instance shared by every timer window; the opener fills it before opening dialog 165.
// The accepted value goes to `row`, whose two registers are minutes then seconds.
struct TimerEntryRequest {
  int secondsDigits;
  int minutesDigits;
  uint8_t seconds;
  uint8_t minutes;
  uint8_t maxMinutes, maxSeconds;
  uint8_t defaultMinutes, defaultSeconds;
  uint8_t minMinutes, minSeconds;
  lnk::CommandRow row;
  int lastKey;
  uint8_t typedOnce;
};

extern TimerEntryRequest gTimerEntryRequest;

void OpenTimerEntry(TimerEntryRequest& r, lnk::CommandRow row, int minutes, int seconds,
                    const TimerLimits& limits);
// As above, with the current value read from the status record at the row's registers.
void OpenTimerEntryFromStatus(TimerEntryRequest& r, const lnk::DryerStatus& s, lnk::CommandRow row,
                              const TimerLimits& limits);
// `key` is a digit 0..9 or kKeyDelete.
void TimerMinutesKey(TimerEntryRequest& r, int key);
void TimerSecondsKey(TimerEntryRequest& r, int key);
void TimerDefault(TimerEntryRequest& r);
EntryResult CheckTimerEntry(const TimerEntryRequest& r);
// ACCEPT: range-checks, and when accepted writes minutes and seconds and raises the row.
EntryResult AcceptTimerEntry(const TimerEntryRequest& r);

// " %03d : %02d " of the working value.
void FormatTimerEntryValue(char* out, size_t size, const TimerEntryRequest& r);
// The three information lines "%s = %02d:%02d" with the translated label (DEFAULT, MAXIMUM,
// MINIMUM), padded with trailing blanks so a shorter line covers a longer one drawn before it.
enum class TimerInfoLine : uint8_t { Default, Maximum, Minimum };
inline constexpr uint16_t kTimerInfoLabelIds[3] = {i18n::kStringDefault, 356, 357};
size_t FormatTimerInfoLine(const TimerEntryRequest& r, TimerInfoLine which,
                           const char16_t* label, char16_t* out, size_t size);

// ---- Setpoint entry ----

// One shared instance, filled by the opener before opening dialog 101. Limits and default are
// in degrees F; `value` is in the unit shown (°C when `celsius`).
struct SetpointEntryRequest {
  int digits;
  int value;
  uint16_t maximum;
  uint16_t minimum;
  uint16_t lastKey;
  uint16_t defaultValue;
  uint8_t typedOnce;
  bool celsius;
  lnk::CommandRow row;
};

extern SetpointEntryRequest gSetpointEntryRequest;

void OpenSetpointEntry(SetpointEntryRequest& r, lnk::CommandRow row, int currentF, int minimumF,
                       int maximumF, int defaultF, bool celsius);
// As above, with the current value read (signed, low byte first) at the row's registers.
void OpenSetpointEntryFromStatus(SetpointEntryRequest& r, const lnk::DryerStatus& s, lnk::CommandRow row,
                                 int minimumF, int maximumF, int defaultF, bool celsius);
// `key` is a digit 0..9 or kKeyDelete.
void SetpointKey(SetpointEntryRequest& r, int key);
void SetpointClear(SetpointEntryRequest& r);
void SetpointDefault(SetpointEntryRequest& r);

struct SetpointOutcome {
  EntryResult result;
  int fahrenheit;  // what goes to the controller when accepted
};
// The range check is made on the plain conversion; the echo correction that makes the sent
// value show again as the typed °C comes after it, so the top of a °C range may go out one or
// two degrees F above the maximum (the controller accepts it).
SetpointOutcome CheckSetpointEntry(const SetpointEntryRequest& r);
EntryResult AcceptSetpointEntry(const SetpointEntryRequest& r);

// " %03d %cF " or " %03d %cC " with the degree sign.
void FormatSetpointEntryValue(char* out, size_t size, const SetpointEntryRequest& r);

// ---- Moisture keypad ----

enum class MoistureSetpoint : uint8_t {
  Drying,     // page 0 registers 199..200, high byte first
  AutoStart,  // page 1 registers 25..26, low byte first
};

inline constexpr int kMoistureKeypadMaximum = 999;  // three digits: 99.9 %

struct MoistureKeypad {
  MoistureSetpoint target;
  uint16_t value;  // tenths of a percent
  bool typed;      // a key was pressed since opening
};

void OpenMoistureKeypad(MoistureKeypad& k, MoistureSetpoint target);
// `key` is a digit 0..9 or kKeyDelete. A digit that would pass 99.9 % is ignored.
void MoistureKey(MoistureKeypad& k, int key);
// ACCEPT: stores the typed value and raises its row; returns false, leaving the setpoint and
// its flag as they were, when no key was typed.
bool AcceptMoistureKeypad(const MoistureKeypad& k);
lnk::CommandRow MoistureSetpointRow(MoistureSetpoint target);
// The two request bytes in the setpoint's own byte order.
void MoistureSetpointBytes(MoistureSetpoint target, uint16_t tenths, uint8_t out[2]);
// The setpoint as the controller reports it.
int MoistureSetpointFromStatus(const lnk::DryerStatus& s, MoistureSetpoint target);

// Field 1146 of the moisture setpoint window: "%d.%01d %%" when it opens, and the keypad's
// "%02d.%01d %%" after each key.
void FormatMoistureSetpoint(char* out, size_t size, int tenths);
void FormatMoistureKeypadValue(char* out, size_t size, int tenths);

// ---- Held arrow buttons ----

inline constexpr int kRepeatDelayTicks = 5;

// One tenth-second step of a dialog's held-button repeat. `held[i]` is the pushed state of
// its watched buttons in order. Returns the index of the button whose command is to be sent
// now, or -1. The first action comes from the ordinary click, so repetition starts after the
// button has been seen held for half a second.
int StepHeldRepeat(int& delay, const bool* held, int count);
