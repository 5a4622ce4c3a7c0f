#include "dialogs/AutoStartLogic.h"

#include <cstdio>

#include "i18n/StringIds.h"
#include "link/SettingRequest.h"

namespace dialogs {

namespace {


int Limit(int v, int total) { return v > total ? total : v; }

}  // namespace

AutoStartBand ChooseAutoStartBand(const DryerStatus& s) {
  const uint8_t bits = s.b[kStatusOptionWithdraw];
  if (bits & kOptionWithdrawBit) return {i18n::kStringAutoStartDone, plat::Rgb(0, 0, 255)};
  if (bits & kAutoStartWaitingBit) return {i18n::kStringAutoStartWaiting, plat::Rgb(255, 255, 0)};
  if (bits & kAutoStartRunningBit) return {i18n::kStringAutoStartRunning, plat::Rgb(0, 255, 0)};
  return {0, plat::Rgb(255, 255, 255)};
}

int AutoStartUnitCount(const DryerStatus& s) {
  return PlenumSlotsInUse(s.b[kStatusFanHeaterCount]);
}

AutoStartProgress ReadAutoStartProgress(const DryerStatus& s, int unit) {
  if (unit < 1 || unit > kAutoStartMaxUnits) return {0, 0, 0, false};
  const int total = StatusU16LowFirst(s, kStatusRunTimeCounter1);
  const int first = Limit(StatusU16LowFirst(s, kStatusUnitCounterA1 + 2 * (unit - 1)), total);
  const int second = Limit(StatusU16LowFirst(s, kStatusUnitCounterB1 + 2 * (unit - 1)), total - first);
  const bool on = (s.b[kStatusUnitStatusB1 + kAutoStartMaxUnits - unit] & kUnitStatusBOn) != 0;
  return {first, second, total, on};
}

AutoStartSegments ScaleAutoStartBar(const AutoStartProgress& p, int width) {
  if (width <= 0) return {0, 0, 0};
  if (p.total <= 0) return {0, 0, width};
  const int first = static_cast<int>(static_cast<int64_t>(Limit(p.first, p.total)) * width / p.total);
  const int end = static_cast<int>(static_cast<int64_t>(Limit(p.first + p.second, p.total)) * width / p.total);
  return {first, end - first, width - end};
}

size_t FormatAutoStartTime(char* out, size_t size, int seconds) {
  if (size == 0) return 0;
  if (seconds < 0) seconds = 0;
  const int n = std::snprintf(out, size, "%d:%02d", seconds / 60, seconds % 60);
  return n < 0 ? 0 : (static_cast<size_t>(n) < size ? static_cast<size_t>(n) : size - 1);
}

bool AutoStartActive(const DryerStatus& s) { return (s.b[kStatusOptionBits2] & kOptionBits2QuickStart) != 0; }

bool ApplyAutoStartAnswer(AutoStartAnswer answer, bool active) {
  const int reg = RowRegister(RowInfo(CommandRow::OptionBits2));
  if (answer == AutoStartAnswer::Yes) {
    if (!active) {
      RequestBits(reg, kOptionBits2QuickStart, 0, CommandRow::OptionBits2);
      RaisePending(CommandRow::AutoStart);
      return true;
    }
    LoadRequestFromStatus(CommandRow::AutoStart);
    RequestBits(reg, 0, kOptionBits2QuickStart, CommandRow::OptionBits2);
    return false;
  }
  if (active) return false;
  RequestBits(reg, 0, kOptionBits2QuickStart, CommandRow::OptionBits2);
  return true;
}

}  // namespace dialogs
