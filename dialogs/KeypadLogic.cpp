#include "dialogs/KeypadLogic.h"

#include <cstdio>

#include "i18n/LineText.h"
#include "link/Temperature.h"
#include "link/DryerStatus.h"
#include "link/SettingRequest.h"

TimerEntryRequest gTimerEntryRequest;
SetpointEntryRequest gSetpointEntryRequest;

namespace {

constexpr int kLargestMinutesBeforeThirdDigit = 24;  // so at most 249 minutes
constexpr int kLargestSecondsBeforeSecondDigit = 5;  // so at most 59 seconds
constexpr int kLargestSetpointBeforeThirdDigit = 99;

bool IsDigit(int key) { return key >= 0 && key <= 9; }

uint8_t ClampByte(int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

// The first key of the dialog clears the field it lands on, so a first DELETE empties it.
void ApplyFirstKey(uint8_t& typedOnce, int state, uint8_t& field) {
  if (typedOnce == 0 && state == 0) {
    typedOnce = 1;
    field = 0;
  }
}

void MinutesMachine(TimerEntryRequest& r, int key) {
  uint8_t& m = r.minutes;
  int& state = r.minutesDigits;
  if (key == kKeyDelete) {
    m = static_cast<uint8_t>(m / 10);
    if (state > 0) --state;
    return;
  }
  int d = key;
  switch (state) {
    case 0:
      m = static_cast<uint8_t>(d);
      if (d != 0) state = 1;
      break;
    case 1:
      m = static_cast<uint8_t>(m * 10 + d);
      state = 2;
      break;
    case 2:
      // A dropped digit still fills the field, so the next DELETE removes the last kept one.
      if (m <= kLargestMinutesBeforeThirdDigit) m = static_cast<uint8_t>(m * 10 + d);
      state = 3;
      break;
    default:
      break;
  }
}

void SecondsMachine(TimerEntryRequest& r, int key) {
  uint8_t& sec = r.seconds;
  int& state = r.secondsDigits;
  if (key == kKeyDelete) {
    sec = static_cast<uint8_t>(sec / 10);
    if (state > 0) --state;
    return;
  }
  int d = key;
  switch (state) {
    case 0:
      sec = static_cast<uint8_t>(d);
      if (d != 0) state = 1;
      break;
    case 1:
      if (sec <= kLargestSecondsBeforeSecondDigit) sec = static_cast<uint8_t>(sec * 10 + d);
      state = 2;
      break;
    default:
      break;
  }
}

int TimerSeconds(int minutes, int seconds) { return minutes * 60 + seconds; }

int SetpointDigitState(int value) {
  if (value >= 100) return 2;
  if (value >= 10) return 1;
  return 0;
}

// Adds what makes the sent Fahrenheit value show again as the typed Celsius value.
int EchoCorrection(int celsius) {
  switch (celsius % 5) {
    case 4: return 1;
    case 1:
    case 2:
    case 3: return 2;
    default: return 0;
  }
}

}  // namespace

// ---- Timer entry ----

void OpenTimerEntry(TimerEntryRequest& r, lnk::CommandRow row, int minutes, int seconds,
                    const TimerLimits& limits) {
  r = TimerEntryRequest{};
  r.minutes = ClampByte(minutes);
  r.seconds = ClampByte(seconds);
  r.maxMinutes = limits.maxMinutes;
  r.maxSeconds = limits.maxSeconds;
  r.defaultMinutes = limits.defaultMinutes;
  r.defaultSeconds = limits.defaultSeconds;
  r.minMinutes = limits.minMinutes;
  r.minSeconds = limits.minSeconds;
  r.row = row;
}

void OpenTimerEntryFromStatus(TimerEntryRequest& r, const lnk::DryerStatus& s, lnk::CommandRow row,
                              const TimerLimits& limits) {
  int reg = lnk::RowRegister(lnk::RowInfo(row));
  OpenTimerEntry(r, row, s.b[reg], s.b[reg + 1], limits);
}

void TimerMinutesKey(TimerEntryRequest& r, int key) {
  if (!IsDigit(key) && key != kKeyDelete) return;
  r.lastKey = key;
  ApplyFirstKey(r.typedOnce, r.minutesDigits, r.minutes);
  MinutesMachine(r, key);
}

void TimerSecondsKey(TimerEntryRequest& r, int key) {
  if (!IsDigit(key) && key != kKeyDelete) return;
  r.lastKey = key;
  ApplyFirstKey(r.typedOnce, r.secondsDigits, r.seconds);
  SecondsMachine(r, key);
}

void TimerDefault(TimerEntryRequest& r) {
  r.seconds = r.defaultSeconds;
  r.minutes = r.defaultMinutes;
  r.lastKey = kKeyDefault;
  r.secondsDigits = r.defaultSeconds >= 10 ? 1 : 0;
  r.minutesDigits = r.defaultMinutes >= 100 ? 3 : (r.defaultMinutes >= 10 ? 2 : 1);
}

EntryResult CheckTimerEntry(const TimerEntryRequest& r) {
  int entered = TimerSeconds(r.minutes, r.seconds);
  if (entered > TimerSeconds(r.maxMinutes, r.maxSeconds) ||
      entered < TimerSeconds(r.minMinutes, r.minSeconds))
    return EntryResult::OutOfRange;
  return EntryResult::Accepted;
}

EntryResult AcceptTimerEntry(const TimerEntryRequest& r) {
  EntryResult result = CheckTimerEntry(r);
  if (result == EntryResult::Accepted) {
    const uint8_t bytes[2] = {r.minutes, r.seconds};
    lnk::RequestSetting(r.row, bytes);
  }
  return result;
}

void FormatTimerEntryValue(char* out, size_t size, const TimerEntryRequest& r) {
  std::snprintf(out, size, " %03d : %02d ", r.minutes, r.seconds);
}

size_t FormatTimerInfoLine(const TimerEntryRequest& r, TimerInfoLine which,
                           const char16_t* label, char16_t* out, size_t size) {
  int minutes = r.defaultMinutes;
  int seconds = r.defaultSeconds;
  if (which == TimerInfoLine::Maximum) {
    minutes = r.maxMinutes;
    seconds = r.maxSeconds;
  } else if (which == TimerInfoLine::Minimum) {
    minutes = r.minMinutes;
    seconds = r.minSeconds;
  }
  char numbers[24];
  std::snprintf(numbers, sizeof numbers, " = %02d:%02d    ", minutes, seconds);
  return LineText(out, size).Add(label).AddLatin1(numbers).Length();
}

// ---- Setpoint entry ----

void OpenSetpointEntry(SetpointEntryRequest& r, lnk::CommandRow row, int currentF, int minimumF,
                       int maximumF, int defaultF, bool celsius) {
  r = SetpointEntryRequest{};
  r.value = lnk::DisplayTemperature(currentF, celsius);
  r.minimum = static_cast<uint16_t>(minimumF);
  r.maximum = static_cast<uint16_t>(maximumF);
  r.defaultValue = static_cast<uint16_t>(defaultF);
  r.celsius = celsius;
  r.row = row;
}

void OpenSetpointEntryFromStatus(SetpointEntryRequest& r, const lnk::DryerStatus& s, lnk::CommandRow row,
                                 int minimumF, int maximumF, int defaultF, bool celsius) {
  int current = lnk::StatusS16LowFirst(s, lnk::RowRegister(lnk::RowInfo(row)));
  OpenSetpointEntry(r, row, current, minimumF, maximumF, defaultF, celsius);
}

void SetpointKey(SetpointEntryRequest& r, int key) {
  if (!IsDigit(key) && key != kKeyDelete) return;
  r.lastKey = static_cast<uint16_t>(key);
  if (r.typedOnce == 0 && r.digits == 0) {
    r.typedOnce = 1;
    r.value = 0;
  }
  if (key == kKeyDelete) {
    r.value /= 10;
    r.digits = r.digits == 1 ? 2 : 1;
    return;
  }
  switch (r.digits) {
    case 0:
      r.value = key;
      r.digits = 1;
      break;
    case 1:
      r.value = r.value * 10 + key;
      r.digits = 2;
      break;
    default:
      if (r.value <= kLargestSetpointBeforeThirdDigit) r.value = r.value * 10 + key;
      break;
  }
}

void SetpointClear(SetpointEntryRequest& r) {
  r.value = 0;
  r.digits = 0;
}

void SetpointDefault(SetpointEntryRequest& r) {
  r.lastKey = static_cast<uint16_t>(kKeyDefault);
  r.value = lnk::DisplayTemperature(r.defaultValue, r.celsius);
  r.digits = SetpointDigitState(r.value);
}

SetpointOutcome CheckSetpointEntry(const SetpointEntryRequest& r) {
  int f = r.celsius ? lnk::CelsiusToFahrenheit(r.value) : r.value;
  if (f > r.maximum || f < r.minimum) return {EntryResult::OutOfRange, f};
  if (r.celsius) f += EchoCorrection(r.value);
  return {EntryResult::Accepted, f};
}

EntryResult AcceptSetpointEntry(const SetpointEntryRequest& r) {
  SetpointOutcome outcome = CheckSetpointEntry(r);
  if (outcome.result == EntryResult::Accepted) {
    uint16_t f = static_cast<uint16_t>(outcome.fahrenheit);
    const uint8_t bytes[2] = {static_cast<uint8_t>(f & 0xFF), static_cast<uint8_t>(f >> 8)};
    lnk::RequestSetting(r.row, bytes);
  }
  return outcome.result;
}

void FormatSetpointEntryValue(char* out, size_t size, const SetpointEntryRequest& r) {
  std::snprintf(out, size, " %03d %c%c ", r.value, lnk::kDegreeSign, r.celsius ? 'C' : 'F');
}

// ---- Moisture keypad ----

void OpenMoistureKeypad(MoistureKeypad& k, MoistureSetpoint target) {
  k = MoistureKeypad{.target = target, .value = 0, .typed = false};
}

void MoistureKey(MoistureKeypad& k, int key) {
  if (key == kKeyDelete) {
    k.value = static_cast<uint16_t>(k.value / 10);
  } else if (IsDigit(key)) {
    int next = k.value * 10 + key;
    if (next <= kMoistureKeypadMaximum) k.value = static_cast<uint16_t>(next);
  } else {
    return;
  }
  k.typed = true;
}

lnk::CommandRow MoistureSetpointRow(MoistureSetpoint target) {
  return target == MoistureSetpoint::Drying ? lnk::CommandRow::MoistureSetpoint
                                            : lnk::CommandRow::Setting125;
}

void MoistureSetpointBytes(MoistureSetpoint target, uint16_t tenths, uint8_t out[2]) {
  uint8_t high = static_cast<uint8_t>(tenths >> 8);
  uint8_t low = static_cast<uint8_t>(tenths & 0xFF);
  if (target == MoistureSetpoint::Drying) {
    out[0] = high;
    out[1] = low;
  } else {
    out[0] = low;
    out[1] = high;
  }
}

bool AcceptMoistureKeypad(const MoistureKeypad& k) {
  if (!k.typed) return false;
  uint8_t bytes[2];
  MoistureSetpointBytes(k.target, k.value, bytes);
  lnk::RequestSetting(MoistureSetpointRow(k.target), bytes);
  return true;
}

int MoistureSetpointFromStatus(const lnk::DryerStatus& s, MoistureSetpoint target) {
  return target == MoistureSetpoint::Drying ? lnk::StatusU16HighFirst(s, lnk::kStatusMoistureSetpoint)
                                            : lnk::StatusU16LowFirst(s, lnk::kStatusSubstituteMoisture);
}

void FormatMoistureSetpoint(char* out, size_t size, int tenths) {
  std::snprintf(out, size, "%d.%01d %%", tenths / 10, tenths % 10);
}

void FormatMoistureKeypadValue(char* out, size_t size, int tenths) {
  std::snprintf(out, size, "%02d.%01d %%", tenths / 10, tenths % 10);
}

// ---- Held arrow buttons ----

int StepHeldRepeat(int& delay, const bool* held, int count) {
  for (int i = 0; i < count; ++i) {
    if (!held[i]) continue;
    if (delay == 0) return i;
    --delay;
    return -1;
  }
  delay = kRepeatDelayTicks;
  return -1;
}
