#include "screens/UnloadLogic.h"

#include <cstdio>

#include "link/DryerStatus.h"
#include "link/RegisterMap.h"

namespace {

struct SpeedRow {
  const char* format;
  int settingByte;
  MeterRollSpeed speed;
  plat::Rect place;
};

constexpr SpeedRow kSpeedRows[3] = {
    {" HIGH: %04d ", kStatusMeterRoll1, MeterRollSpeed::High, {5, 0, 100, 20}},
    {" MED:  %04d ", kStatusMeterRoll2, MeterRollSpeed::Medium, {5, 25, 100, 45}},
    {" LOW:  %04d ", kStatusMeterRoll3, MeterRollSpeed::Low, {5, 50, 100, 70}},
};

constexpr int kSettingScale = 10;

}  // namespace

void FormatUnloadFigure(char* out, size_t size, int tenths) {
  std::snprintf(out, size, "%2d.%d", tenths / 10, tenths % 10);
}

int UnloadFigureTenths(const DryerStatus& s) {
  return StatusU16HighFirst(s, kStatusUnloadStatusValue);
}

int BushelsPerHour(const DryerStatus& s) { return StatusU16HighFirst(s, kStatusUnloadPanel173); }

uint32_t TotalBushels(const DryerStatus& s) {
  return StatusU32LowFirst(s, kStatusBushelCounter) / kBushelSecondsPerBushel;
}

void MakeSpeedLines(const DryerStatus& s, SpeedLine (&lines)[3]) {
  int inUse = s.b[kStatusMeterRoll0];
  for (int i = 0; i < 3; ++i) {
    const SpeedRow& row = kSpeedRows[i];
    std::snprintf(lines[i].text, sizeof lines[i].text, row.format,
                  s.b[row.settingByte] * kSettingScale);
    lines[i].highlighted = inUse == static_cast<int>(row.speed);
    lines[i].place = row.place;
  }
}
