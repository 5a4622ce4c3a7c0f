#include "screens/TimerSelectLogic.h"

#include <cstdio>

#include "i18n/LineText.h"
#include "i18n/StringIds.h"
#include "i18n/TextWrap.h"
#include "link/DryerStatus.h"
#include "link/SettingRequest.h"

namespace {

constexpr TimerLimits Limits(int maxMinutes, int maxSeconds, int defaultMinutes, int defaultSeconds,
                             int minMinutes, int minSeconds) {
  return TimerLimits{.maxMinutes = static_cast<uint8_t>(maxMinutes),
                     .maxSeconds = static_cast<uint8_t>(maxSeconds),
                     .defaultMinutes = static_cast<uint8_t>(defaultMinutes),
                     .defaultSeconds = static_cast<uint8_t>(defaultSeconds),
                     .minMinutes = static_cast<uint8_t>(minMinutes),
                     .minSeconds = static_cast<uint8_t>(minSeconds)};
}

constexpr TimerPresetInfo kPresets[kTimerPresetCount] = {
    {.preset = TimerPreset::LoadStartupDelay,
     .presetByte = lnk::kStatusLoadStartupDelay,
     .row = lnk::CommandRow::LoadStartupDelay,
     .limits = Limits(10, 0, 1, 0, 0, 1)},
    {.preset = TimerPreset::OutOfGrain,
     .presetByte = lnk::kStatusOutOfGrainTime,
     .row = lnk::CommandRow::OutOfGrainTime,
     .limits = Limits(30, 0, 8, 0, 0, 0)},
    {.preset = TimerPreset::FanDelay,
     .presetByte = lnk::kStatusFanDelay,
     .row = lnk::CommandRow::FanDelay,
     .limits = Limits(0, 25, 0, 3, 0, 1)},
    {.preset = TimerPreset::FanSetup,
     .presetByte = lnk::kStatusFanSetupTime,
     .row = lnk::CommandRow::FanSetupTime,
     .limits = Limits(60, 0, 0, 0, 0, 0)},
    {.preset = TimerPreset::UnloadCleanoutDelay,
     .presetByte = lnk::kStatusUnloadCleanoutDelay,
     .row = lnk::CommandRow::UnloadCleanoutDelay,
     .limits = Limits(10, 0, 1, 0, 0, 0)},
    {.preset = TimerPreset::StagedBatch,
     .presetByte = lnk::kStatusStagedBatchTime,
     .row = lnk::CommandRow::StagedBatchTime,
     .limits = Limits(255, 0, 255, 0, 0, 0)},
};

enum SetupCommand : int {
  kSetupLoadDelay = 2001,
  kSetupOutOfGrain = 2002,
  kSetupFanDelay = 2003,
  kSetupFanTimer = 2004,
  kSetupUnloadDelay = 2005,
};

constexpr int kPanelWidth = 316;
constexpr int kPanelHeight = 190;
constexpr int kLeftColumn = 4;
constexpr int kRightColumn = 320;
constexpr int kTopRow = 4;
constexpr int kBottomRow = 198;

constexpr TimerPanelInfo kPanels[kTimerPanelCount] = {
    {.panel = TimerPanel::LoadDelay,
     .className = "LOAD_DELAY_CHILD_WINDOW",
     .caption = " Load Startup Delay",
     .titleId = kTimerTextLoadDelayTitle,
     .place = plat::RectXywh(kLeftColumn, kTopRow, kPanelWidth, kPanelHeight),
     .buttonCount = 1,
     .buttons = {{.command = kSetupLoadDelay, .preset = TimerPreset::LoadStartupDelay, .bitmap = 7}}},
    {.panel = TimerPanel::OutOfGrain,
     .className = "OUT_OF_GRAIN_CHILD_WINDOW",
     .caption = " Out of Grain Timer",
     .titleId = kTimerTextOutOfGrainTitle,
     .place = plat::RectXywh(kRightColumn, kTopRow, kPanelWidth, kPanelHeight),
     .buttonCount = 1,
     .buttons = {{.command = kSetupOutOfGrain, .preset = TimerPreset::OutOfGrain, .bitmap = 10}}},
    {.panel = TimerPanel::Fan,
     .className = "FAN_DELAY_CHILD_WINDOW",
     .caption = " Fan Setup",
     .titleId = kTimerTextFanDelayTitle,
     .place = plat::RectXywh(kLeftColumn, kBottomRow, kPanelWidth, kPanelHeight),
     .buttonCount = 2,
     .buttons = {{.command = kSetupFanDelay, .preset = TimerPreset::FanDelay, .bitmap = 8},
                 {.command = kSetupFanTimer, .preset = TimerPreset::FanSetup, .bitmap = 9}}},
    {.panel = TimerPanel::UnloadDelay,
     .className = "UNLOAD_DELAY_CHILD_WINDOW",
     .caption = " Unload Cleanout Delay",
     .titleId = kTimerTextUnloadDelayTitle,
     .place = plat::RectXywh(kRightColumn, kBottomRow, kPanelWidth, kPanelHeight),
     .buttonCount = 1,
     .buttons = {{.command = kSetupUnloadDelay, .preset = TimerPreset::UnloadCleanoutDelay, .bitmap = 11}}},
};


constexpr int kOneMinuteDefault = 1;
constexpr int kOutOfGrainDefaultMinutes = 8;

// Appends the next line, or nothing once the panel is full.
PanelLine* NextLine(TimerPanelText& out, plat::Color colour, int button) {
  if (out.lineCount >= kMaxPanelLines) return nullptr;
  PanelLine& line = out.lines[out.lineCount++];
  line.text[0] = 0;
  line.length = 0;
  line.colour = colour;
  line.button = button;
  return &line;
}

void AddText(TimerPanelText& out, const char16_t* text, plat::Color colour, int button = 0) {
  PanelLine* line = NextLine(out, colour, button);
  if (line != nullptr) line->length = LineText(line->text, kPanelLineUnits).Add(text).Length();
}

void AddLatin1(TimerPanelText& out, const char* text, plat::Color colour) {
  PanelLine* line = NextLine(out, colour, 0);
  if (line != nullptr) line->length = LineText(line->text, kPanelLineUnits).AddLatin1(text).Length();
}

void AddString(TimerPanelText& out, int id, plat::Color colour, int button = 0) {
  char16_t text[i18n::kStringDestUnits] = {};
  i18n::GetString(id, text);
  AddText(out, text, colour, button);
}

// "%s = %d %s" with string 55 and the minutes unit.
void AddDefaultLine(TimerPanelText& out, int minutes, const char16_t* minutesUnit) {
  PanelLine* line = NextLine(out, timer_colour::kDefault, 0);
  if (line == nullptr) return;
  char16_t label[i18n::kStringDestUnits] = {};
  i18n::GetString(i18n::kStringDefault, label);
  char number[16];
  std::snprintf(number, sizeof number, " = %d ", minutes);
  line->length = LineText(line->text, kPanelLineUnits).Add(label).AddLatin1(number).Add(minutesUnit).Length();
}

void FillBox(PresetBox& box, const lnk::DryerStatus& s, TimerPreset preset, const char16_t* minutesUnit,
             const char16_t* secondsUnit) {
  const TimerPresetInfo& info = TimerPresetFor(preset);
  i18n::GetString(kTimerTextPreset, box.label);
  char number[8];
  std::snprintf(number, sizeof number, "%03d ", s.b[info.presetByte]);
  LineText(box.minutes, kPanelLineUnits).AddLatin1(number).Add(minutesUnit);
  std::snprintf(number, sizeof number, "%02d ", s.b[info.presetByte + 1]);
  LineText(box.seconds, kPanelLineUnits).AddLatin1(number).Add(secondsUnit);
}

void AddUnloadHelp(TimerPanelText& out) {
  char16_t first[i18n::kStringDestUnits] = {};
  char16_t second[i18n::kStringDestUnits] = {};
  i18n::GetString(kTimerTextUnloadHelp1, first);
  i18n::GetString(kTimerTextUnloadHelp2, second);
  char16_t joined[2 * i18n::kStringDestUnits];
  LineText(joined, sizeof joined / sizeof joined[0]).Add(first).AddLatin1(" ").Add(second);
  char16_t wrapped[kUnloadHelpWidth + 1];
  bool more = i18n::NextWrappedLine(true, kUnloadHelpWidth, joined, wrapped);
  for (int i = 0; more && i < kUnloadHelpMaxLines; ++i) {
    AddText(out, wrapped, timer_colour::kHelp);
    more = i18n::NextWrappedLine(false, kUnloadHelpWidth, joined, wrapped);
  }
}

void AddPreviousLoad(TimerPanelText& out, const lnk::DryerStatus& s, uint32_t previousLoadSeconds,
                     const char16_t* minutesUnit, const char16_t* secondsUnit) {
  if (LoadSwitchOn(s)) {
    for (const char* text : kLoadSwitchOnLines) AddLatin1(out, text, timer_colour::kLoadSwitchOn);
    return;
  }
  AddString(out, kTimerTextPreviousLoad, timer_colour::kHelp);
  PanelLine* line = NextLine(out, timer_colour::kHelp, 0);
  if (line != nullptr)
    line->length = FormatPreviousLoadLine(previousLoadSeconds, minutesUnit, secondsUnit, line->text, kPanelLineUnits);
}

}  // namespace

const TimerPresetInfo& TimerPresetFor(TimerPreset preset) {
  const int i = static_cast<int>(preset);
  return kPresets[i < kTimerPresetCount ? i : 0];
}

void OpenTimerPreset(TimerEntryRequest& r, TimerPreset preset) {
  const TimerPresetInfo& info = TimerPresetFor(preset);
  lnk::LoadRequestFromStatus(info.row);
  const int reg = lnk::RowRegister(lnk::RowInfo(info.row));
  OpenTimerEntry(r, info.row, lnk::ReadRequestByte(reg), lnk::ReadRequestByte(reg + 1), info.limits);
}

const TimerPanelInfo& TimerPanelFor(TimerPanel panel) {
  const int i = static_cast<int>(panel);
  return kPanels[i < kTimerPanelCount ? i : 0];
}

bool TimerPresetForCommand(int command, TimerPreset& out) {
  for (const TimerPanelInfo& p : kPanels) {
    for (int b = 0; b < p.buttonCount; ++b) {
      if (p.buttons[b].command != command) continue;
      out = p.buttons[b].preset;
      return true;
    }
  }
  return false;
}

bool LoadSwitchOn(const lnk::DryerStatus& s) { return (s.b[lnk::kStatusLoadFlags] & lnk::kLoadFlagsLoadSwitch) != 0; }

size_t FormatPreviousLoadLine(uint32_t seconds, const char16_t* minutesUnit, const char16_t* secondsUnit,
                              char16_t* out, size_t size) {
  char minutes[16];
  char rest[16];
  std::snprintf(minutes, sizeof minutes, ": %03u     ", static_cast<unsigned>(seconds / 60));
  std::snprintf(rest, sizeof rest, ": %02u", static_cast<unsigned>(seconds % 60));
  return LineText(out, size).Add(minutesUnit).AddLatin1(minutes).Add(secondsUnit).AddLatin1(rest).Length();
}

void BuildTimerPanelText(TimerPanel panel, const lnk::DryerStatus& s, uint32_t previousLoadSeconds,
                         TimerPanelText& out) {
  const TimerPanelInfo& info = TimerPanelFor(panel);
  out.title[0] = 0;
  out.boxCount = 0;
  out.lineCount = 0;
  i18n::GetString(info.titleId, out.title);
  char16_t minutesUnit[i18n::kStringDestUnits] = {};
  char16_t secondsUnit[i18n::kStringDestUnits] = {};
  i18n::GetString(kTimerTextMinutes, minutesUnit);
  i18n::GetString(kTimerTextSeconds, secondsUnit);
  for (int b = 0; b < info.buttonCount; ++b)
    FillBox(out.boxes[out.boxCount++], s, info.buttons[b].preset, minutesUnit, secondsUnit);

  switch (panel) {
    case TimerPanel::LoadDelay:
      AddString(out, kTimerTextLoadHelp1, timer_colour::kHelp);
      AddString(out, kTimerTextLoadHelp2, timer_colour::kHelp);
      AddString(out, kTimerTextLoadHelp3, timer_colour::kHelp);
      AddDefaultLine(out, kOneMinuteDefault, minutesUnit);
      AddString(out, kTimerTextLoadNote, timer_colour::kNote);
      break;
    case TimerPanel::OutOfGrain:
      AddPreviousLoad(out, s, previousLoadSeconds, minutesUnit, secondsUnit);
      AddString(out, kTimerTextOutOfGrainHelp1, timer_colour::kHelp);
      AddString(out, kTimerTextOutOfGrainHelp2, timer_colour::kHelp);
      AddDefaultLine(out, kOutOfGrainDefaultMinutes, minutesUnit);
      AddString(out, kTimerTextOutOfGrainNote, timer_colour::kNote);
      break;
    case TimerPanel::Fan:
      AddString(out, kTimerTextFanDelayHelp, timer_colour::kHelp, 0);
      AddString(out, kTimerTextFanTimerHelp, timer_colour::kHelp, 1);
      break;
    case TimerPanel::UnloadDelay:
      AddUnloadHelp(out);
      AddDefaultLine(out, kOneMinuteDefault, minutesUnit);
      AddString(out, kTimerTextUnloadNote, timer_colour::kNote);
      break;
  }
}
