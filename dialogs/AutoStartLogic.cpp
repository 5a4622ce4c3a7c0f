#include "dialogs/AutoStartLogic.h"

#include <cstdio>

#include "i18n/StringIds.h"
#include "link/SettingRequest.h"

namespace dialogs {

namespace {


int Limit(int v, int total) { return v > total ? total : v; }

}  // namespace

AutoStartBand ChooseAutoStartBand(const lnk::DryerStatus& s) {
  const uint8_t bits = s.b[lnk::kStatusOptionWithdraw];
  if (bits & lnk::kOptionWithdrawBit) return {i18n::kStringAutoStartDone, plat::Rgb(0, 0, 255)};
  if (bits & lnk::kAutoStartWaitingBit) return {i18n::kStringAutoStartWaiting, plat::Rgb(255, 255, 0)};
  if (bits & lnk::kAutoStartRunningBit) return {i18n::kStringAutoStartRunning, plat::Rgb(0, 255, 0)};
  return {0, plat::Rgb(255, 255, 255)};
}

int AutoStartUnitCount(const lnk::DryerStatus& s) {
  return lnk::PlenumSlotsInUse(s.b[lnk::kStatusFanHeaterCount]);
}

AutoStartProgress ReadAutoStartProgress(const lnk::DryerStatus& s, int unit) {
  if (unit < 1 || unit > kAutoStartMaxUnits) return {0, 0, 0, false};
  const int total = lnk::StatusU16LowFirst(s, lnk::kStatusRunTimeCounter1);
  const int first = Limit(lnk::StatusU16LowFirst(s, lnk::kStatusUnitCounterA1 + 2 * (unit - 1)), total);
  const int second = Limit(lnk::StatusU16LowFirst(s, lnk::kStatusUnitCounterB1 + 2 * (unit - 1)), total - first);
  const bool on = (s.b[lnk::kStatusUnitStatusB1 + kAutoStartMaxUnits - unit] & lnk::kUnitStatusBOn) != 0;
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

bool AutoStartActive(const lnk::DryerStatus& s) { return (s.b[lnk::kStatusOptionBits2] & lnk::kOptionBits2QuickStart) != 0; }

bool ApplyAutoStartAnswer(AutoStartAnswer answer, bool active) {
  const int reg = lnk::RowRegister(lnk::RowInfo(lnk::CommandRow::OptionBits2));
  if (answer == AutoStartAnswer::Yes) {
    if (!active) {
      lnk::RequestBits(reg, lnk::kOptionBits2QuickStart, 0, lnk::CommandRow::OptionBits2);
      lnk::RaisePending(lnk::CommandRow::AutoStart);
      return true;
    }
    lnk::LoadRequestFromStatus(lnk::CommandRow::AutoStart);
    lnk::RequestBits(reg, 0, lnk::kOptionBits2QuickStart, lnk::CommandRow::OptionBits2);
    return false;
  }
  if (active) return false;
  lnk::RequestBits(reg, 0, lnk::kOptionBits2QuickStart, lnk::CommandRow::OptionBits2);
  return true;
}

}  // namespace dialogs
