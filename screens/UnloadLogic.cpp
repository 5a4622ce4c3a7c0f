#include "screens/UnloadLogic.h"

#include <cstdio>

#include "link/DryerStatus.h"
#include "link/RegisterMap.h"

namespace screens {

namespace {

struct SpeedRow {
  const char* format;
  int settingByte;
  MeterRollSpeed speed;
  plat::Rect place;
};

constexpr SpeedRow kSpeedRows[3] = {
    {" HIGH: %04d ", lnk::kStatusMeterRoll1, MeterRollSpeed::High, {5, 0, 100, 20}},
    {" MED:  %04d ", lnk::kStatusMeterRoll2, MeterRollSpeed::Medium, {5, 25, 100, 45}},
    {" LOW:  %04d ", lnk::kStatusMeterRoll3, MeterRollSpeed::Low, {5, 50, 100, 70}},
};

constexpr int kSettingScale = 10;

}  // namespace

void FormatUnloadFigure(char* out, size_t size, int tenths) {
  std::snprintf(out, size, "%2d.%d", tenths / 10, tenths % 10);
}

int UnloadFigureTenths(const lnk::DryerStatus& s) {
  return lnk::StatusU16HighFirst(s, lnk::kStatusUnloadStatusValue);
}

int BushelsPerHour(const lnk::DryerStatus& s) { return lnk::StatusU16HighFirst(s, lnk::kStatusUnloadPanel173); }

uint32_t TotalBushels(const lnk::DryerStatus& s) {
  return lnk::StatusU32LowFirst(s, lnk::kStatusBushelCounter) / lnk::kBushelCounterUnitsPerBushel;
}

void MakeSpeedLines(const lnk::DryerStatus& s, SpeedLine (&lines)[3]) {
  int inUse = s.b[lnk::kStatusMeterRoll0];
  for (int i = 0; i < 3; ++i) {
    const SpeedRow& row = kSpeedRows[i];
    std::snprintf(lines[i].text, sizeof lines[i].text, row.format,
                  s.b[row.settingByte] * kSettingScale);
    lines[i].highlighted = inUse == static_cast<int>(row.speed);
    lines[i].place = row.place;
  }
}

}  // namespace screens
