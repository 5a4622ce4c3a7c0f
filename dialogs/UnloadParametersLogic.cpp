#include "dialogs/UnloadParametersLogic.h"

#include <cstdio>

#include "link/DryerStatus.h"
#include "link/RegisterMap.h"
#include "link/SettingRequest.h"

namespace {

constexpr double kFactorSmallRolls = 129.6;  // 4-inch metering rolls
constexpr double kFactorLargeRolls = 140.6202;

int ReadRate(int reg) { return lnk::ReadRequestByte(reg) << 8 | lnk::ReadRequestByte(reg + 1); }

bool Series(const lnk::DryerStatus& s) { return (s.b[lnk::kStatusConfigBits] & lnk::kConfigBitsSeries) != 0; }

}  // namespace

UnloadRates OpenUnloadRates() {
  lnk::LoadRequestFromStatus(lnk::CommandRow::MaxUnloadRate);
  lnk::LoadRequestFromStatus(lnk::CommandRow::MinUnloadRate);
  return UnloadRates{ReadRate(lnk::kStatusMaxUnloadRate), ReadRate(lnk::kStatusMinUnloadRate)};
}

void StepUnloadRate(int& percent, int delta) {
  const int next = percent + delta;
  if (next >= 0 && next <= 100) percent = next;
}

UnloadWarningState& UnloadWarning() {
  static UnloadWarningState state;
  return state;
}

bool TakeStepWarning(const UnloadRates& r) {
  if (!RatesOutOfOrder(r) || UnloadWarning().shown) return false;
  UnloadWarning().shown = true;
  return true;
}

int SeriesCapacity(int lengthCode) {
  if (lengthCode <= 3) return 3000;
  if (lengthCode <= 5) return 4000;
  if (lengthCode == 6) return 6400;
  if (lengthCode <= 8) return 7000;
  return 8000;
}

double BushelsPerHour(const lnk::DryerStatus& s, int percent) {
  const int code = s.b[lnk::kStatusDryerLengthIndex];
  if (Series(s)) return percent / 100.0 * SeriesCapacity(code);
  const double factor =
      (s.b[lnk::kStatusControllerDisplayOptions] & lnk::kControllerDisplaySmallRolls) ? kFactorSmallRolls : kFactorLargeRolls;
  return percent / 100.0 * lnk::DryerLengthFeet(code) * factor;
}

void FormatBushels(char* out, size_t size, double bushels) { std::snprintf(out, size, "%0.0f", bushels); }

void FormatBasedUpon(char* out, size_t size, const lnk::DryerStatus& s) {
  const int code = s.b[lnk::kStatusDryerLengthIndex];
  if (Series(s))
    std::snprintf(out, size, "*Based upon %d BPH capacity.", SeriesCapacity(code));
  else if (s.b[lnk::kStatusConfigBits] & lnk::kConfigBitsPort)
    std::snprintf(out, size, "*Based upon %dft dryer @ 17.5 RPM.", lnk::DryerLengthFeet(code));
  else if (size > 0)
    out[0] = 0;
}

void AcceptUnloadRates(const UnloadRates& r) {
  const uint8_t maximum[2] = {static_cast<uint8_t>(r.maximum >> 8), static_cast<uint8_t>(r.maximum & 0xFF)};
  const uint8_t minimum[2] = {static_cast<uint8_t>(r.minimum >> 8), static_cast<uint8_t>(r.minimum & 0xFF)};
  lnk::RequestSettingIfChanged(lnk::CommandRow::MaxUnloadRate, maximum);
  lnk::RequestSettingIfChanged(lnk::CommandRow::MinUnloadRate, minimum);
}
