#include "dialogs/FiveSpeedLogic.h"

#include <cstdio>

#include "dialogs/DryingModeLogic.h"
#include "link/DryerStatus.h"
#include "link/SettingRequest.h"
#include "link/Temperature.h"

namespace {

constexpr lnk::CommandRow kBandRows[4] = {lnk::CommandRow::Trim1, lnk::CommandRow::Trim2, lnk::CommandRow::Trim3, lnk::CommandRow::Trim4};

constexpr int kMoistureOuterMaxMode4 = 30;  // tenths of a percent
constexpr int kMoistureOuterMaxOther = 5;   // degrees F
constexpr int kMoistureInnerMin = 1;
constexpr int kSpeedOuterMin = 4;
constexpr int kSpeedOuterMax = 30;
constexpr int kSpeedInnerMin = 2;
constexpr int kSpeedInnerMax = 9;
constexpr int kFullSpeed = 100;

int MoistureMax(int mode) { return mode == lnk::kModeMoisture5Speed ? kMoistureOuterMaxMode4 : kMoistureOuterMaxOther; }

uint8_t* Bytes(FiveSpeedBands& b) { return &b.moistureOuter; }

}  // namespace

FiveSpeedBands OpenFiveSpeedBands() {
  for (lnk::CommandRow row : kBandRows) lnk::LoadRequestFromStatus(row);
  return FiveSpeedBands{lnk::ReadRequestByte(lnk::kStatusTrim1), lnk::ReadRequestByte(lnk::kStatusTrim1 + 1),
                        lnk::ReadRequestByte(lnk::kStatusTrim1 + 2), lnk::ReadRequestByte(lnk::kStatusTrim1 + 3)};
}

bool StepBand(FiveSpeedBands& b, int mode, BandPair pair, BandColumn column, int delta) {
  const bool outer = pair == BandPair::Outer;
  if (column == BandColumn::Moisture) {
    // The inner moisture offset has no upper limit of its own; it is kept to the outer one's
    // range so a long run of presses cannot wrap the byte.
    uint8_t& v = outer ? b.moistureOuter : b.moistureInner;
    const int next = v + delta;
    const int lowest = outer ? 0 : kMoistureInnerMin;
    if (next < lowest || next > MoistureMax(mode)) return false;
    v = static_cast<uint8_t>(next);
    return true;
  }
  if (outer) {
    const int next = b.speedOuter + delta;
    if (next < kSpeedOuterMin || next > kSpeedOuterMax || next <= b.speedInner) return false;
    b.speedOuter = static_cast<uint8_t>(next);
    return true;
  }
  const int next = b.speedInner + delta;
  if (next < kSpeedInnerMin || next > kSpeedInnerMax || next >= b.speedOuter) return false;
  b.speedInner = static_cast<uint8_t>(next);
  return true;
}

FiveSpeedBands FiveSpeedDefaults(int mode) {
  if (mode == lnk::kModeMoisture5Speed) return FiveSpeedBands{6, 3, 6, 3};
  return FiveSpeedBands{3, 1, 6, 3};
}

int AcceptFiveSpeed(const FiveSpeedBands& b) {
  FiveSpeedBands copy = b;
  int raised = 0;
  for (int i = 0; i < 4; ++i) raised += lnk::RequestSettingIfChanged(kBandRows[i], Bytes(copy) + i) ? 1 : 0;
  return raised;
}

int CentreSpeed(const lnk::DryerStatus& s, int mode) {
  return FiveSpeed(mode) ? s.b[lnk::kStatusMeterRollValue230] : s.b[lnk::kStatusMeterRoll2];
}

BandSpeeds ComputeBandSpeeds(int centre, const FiveSpeedBands& b, int maxRate, int minRate) {
  const int offsets[4] = {b.speedOuter, b.speedInner, -b.speedInner, -b.speedOuter};
  const bool rated = maxRate > minRate;
  BandSpeeds out{};
  for (int i = 0; i < 4; ++i) {
    const int v = centre + offsets[i];
    const bool possible = v >= 0 && v <= kFullSpeed && (!rated || (v >= minRate && v <= maxRate));
    out.speed[i] = possible ? v : kImpossibleSpeed;
  }
  return out;
}

BandSpeeds BandSpeedsFor(const lnk::DryerStatus& s, int mode, const FiveSpeedBands& b) {
  const int maxRate = s.b[lnk::kStatusMaxUnloadRate] << 8 | s.b[lnk::kStatusMaxUnloadRate + 1];
  const int minRate = s.b[lnk::kStatusMinUnloadRate] << 8 | s.b[lnk::kStatusMinUnloadRate + 1];
  return ComputeBandSpeeds(CentreSpeed(s, mode), b, maxRate, minRate);
}

void FormatCentreLine(char* out, size_t size, const lnk::DryerStatus& s, int mode) {
  if (mode == lnk::kModeMoisture5Speed) {
    const int tenths = s.b[lnk::kStatusMoistureSetpoint] << 8 | s.b[lnk::kStatusMoistureSetpoint + 1];
    std::snprintf(out, size, "%d.%d %%", tenths / 10, tenths % 10);
    return;
  }
  const int f = static_cast<int16_t>(s.b[lnk::kStatusGrainTempSetpoint1] | s.b[lnk::kStatusGrainTempSetpoint1 + 1] << 8);
  std::snprintf(out, size, "%d F", f);
}

void FormatMoistureOffset(char* out, size_t size, int mode, int offset, bool plus) {
  const char sign = plus ? '+' : '-';
  if (mode == lnk::kModeMoisture5Speed)
    std::snprintf(out, size, "%c%01d.%d %%", sign, offset / 10, offset % 10);
  else
    std::snprintf(out, size, "%c%01d F", sign, offset);
}

void FormatSpeedOffset(char* out, size_t size, int offset, bool plus) {
  std::snprintf(out, size, "%c%d %%", plus ? '+' : '-', offset);
}

void FormatActualSpeed(char* out, size_t size, int speed) {
  if (speed == kImpossibleSpeed)
    std::snprintf(out, size, "%s", kInvalidSelectionText);
  else
    std::snprintf(out, size, "%d %%", speed);
}
