#include "screens/BatchTimerLogic.h"

#include <cstdio>

#include "link/DryerStatus.h"
#include "link/SettingRequest.h"
#include "i18n/LineText.h"
#include "screens/StatusReading.h"

namespace {

constexpr plat::Color kHeatColour = plat::Rgb(200, 200, 0);
constexpr plat::Color kCoolColour = plat::Rgb(0, 0, 250);
constexpr plat::Color kUnloadColour = plat::Rgb(0, 250, 0);

constexpr BatchTimerInfo kTimers[kBatchTimerCount] = {
    {.timer = BatchTimer::HiHeat,
     .countdownByte = lnk::kStatusHiHeatCountdown,
     .presetByte = lnk::kStatusHiHeatTime,
     .presetRow = lnk::CommandRow::HiHeatTime,
     .resetRow = lnk::CommandRow::HiHeatCountdownReset,
     .limits = {.maxMinutes = 200, .maxSeconds = 0, .defaultMinutes = 60, .defaultSeconds = 0,
                .minMinutes = 0, .minSeconds = 0},
     .colour = kHeatColour},
    {.timer = BatchTimer::LoHeat,
     .countdownByte = lnk::kStatusLoHeatCountdown,
     .presetByte = lnk::kStatusLoHeatTime,
     .presetRow = lnk::CommandRow::LoHeatTime,
     .resetRow = lnk::CommandRow::LoHeatCountdownReset,
     .limits = {.maxMinutes = 200, .maxSeconds = 0, .defaultMinutes = 60, .defaultSeconds = 0,
                .minMinutes = 0, .minSeconds = 0},
     .colour = kHeatColour},
    {.timer = BatchTimer::Cool,
     .countdownByte = lnk::kStatusCoolCountdown,
     .presetByte = lnk::kStatusCoolTime,
     .presetRow = lnk::CommandRow::CoolTime,
     .resetRow = lnk::CommandRow::CoolCountdownReset,
     .limits = {.maxMinutes = 60, .maxSeconds = 0, .defaultMinutes = 20, .defaultSeconds = 0,
                .minMinutes = 0, .minSeconds = 0},
     .colour = kCoolColour},
    {.timer = BatchTimer::Unload,
     .countdownByte = lnk::kStatusUnloadCountdown,
     .presetByte = lnk::kStatusUnloadTime,
     .presetRow = lnk::CommandRow::UnloadTime,
     .resetRow = lnk::CommandRow::UnloadCountdownReset,
     .limits = {.maxMinutes = 60, .maxSeconds = 0, .defaultMinutes = 10, .defaultSeconds = 0,
                .minMinutes = 0, .minSeconds = 0},
     .colour = kUnloadColour},
};

constexpr BatchLayout kOneHeatLayout = {
    .count = 3,
    .places = {{.timer = BatchTimer::HiHeat,
                .preset = {0, 0, 126, 20},
                .minutes = {0, 15, 90, 90},
                .seconds = {90, 55, 150, 135},
                .minutesFont = 75,
                .secondsFont = 40},
               {.timer = BatchTimer::Cool,
                .preset = {126, 0, 259, 20},
                .minutes = {120, 15, 220, 90},
                .seconds = {220, 55, 280, 135},
                .minutesFont = 75,
                .secondsFont = 40},
               {.timer = BatchTimer::Unload,
                .preset = {259, 0, 400, 20},
                .minutes = {220, 15, 350, 90},
                .seconds = {350, 55, 410, 135},
                .minutesFont = 75,
                .secondsFont = 40}},
    .heatDividers = false,
};

// The heat column holds both heats, each above its own button (HI HEAT at y 55, LO HEAT at
// y 140), the low heat's preset between the two dividers.
constexpr BatchLayout kTwoHeatLayout = {
    .count = 4,
    .places = {{.timer = BatchTimer::HiHeat,
                .preset = {0, 0, 126, 20},
                .minutes = {0, 18, 80, 56},
                .seconds = {80, 30, 126, 56},
                .minutesFont = 38,
                .secondsFont = 24},
               {.timer = BatchTimer::LoHeat,
                .preset = {0, 88, 126, 107},
                .minutes = {0, 105, 80, 141},
                .seconds = {80, 117, 126, 141},
                .minutesFont = 38,
                .secondsFont = 24},
               kOneHeatLayout.places[1],
               kOneHeatLayout.places[2]},
    .heatDividers = true,
};

constexpr int kAveragingOptionBit = 6;  // byte 257
constexpr int kHeatDoneBit = 7;       // byte 171
constexpr int kBatchStateBit = 0;     // byte 13
constexpr int kPage1StateBit = 0;     // byte 256


const BatchTimerInfo* TimerForCommand(int command) {
  switch (command) {
    case kBatchCommandDry:
    case kBatchCommandHiHeat: return &BatchTimerFor(BatchTimer::HiHeat);
    case kBatchCommandLoHeat: return &BatchTimerFor(BatchTimer::LoHeat);
    case kBatchCommandCool: return &BatchTimerFor(BatchTimer::Cool);
    case kBatchCommandUnload: return &BatchTimerFor(BatchTimer::Unload);
    default: return nullptr;
  }
}

}  // namespace

const BatchTimerInfo& BatchTimerFor(BatchTimer timer) {
  return kTimers[static_cast<int>(timer)];
}

BatchButtons ChooseBatchButtons(const lnk::DryerStatus& s) {
  switch (DryerType(s)) {
    case lnk::kDryerTypeContinuous: return {.showHiLoHeat = false, .showDry = true};
    case lnk::kDryerTypeHighLimit: return {.showHiLoHeat = true, .showDry = false};
    default: {
      bool two = IsTwoHeat(s);
      return {.showHiLoHeat = two, .showDry = !two};
    }
  }
}

bool IsBatchButtonShown(const BatchButtons& rule, int command) {
  switch (command) {
    case kBatchCommandHiHeat:
    case kBatchCommandLoHeat: return rule.showHiLoHeat;
    case kBatchCommandDry: return rule.showDry;
    default: return true;
  }
}

bool IsTwoHeat(const lnk::DryerStatus& s) { return StatusHas(s, lnk::kStatusOptionBits, lnk::kOptionBitsTwoHeat); }

bool ShowsAveragingWords(const lnk::DryerStatus& s) {
  return StatusBit(s, lnk::kStatusOptionBits, kAveragingOptionBit) &&
         MoistureControlMode(s) == lnk::kModeStagedBatch &&
         !StatusBit(s, lnk::kStatusRunFlags, kHeatDoneBit) &&
         !StatusBit(s, lnk::kStatusBatchState, kBatchStateBit) &&
         !StatusBit(s, lnk::kStatusUnused256, kPage1StateBit);
}

void MakeBatchTimerTexts(const lnk::DryerStatus& s, BatchTimer timer, BatchTimerTexts& out) {
  const BatchTimerInfo& t = BatchTimerFor(timer);
  std::snprintf(out.presetMinutes, sizeof out.presetMinutes, "%02d", s.b[t.presetByte]);
  std::snprintf(out.presetSeconds, sizeof out.presetSeconds, "%02d", s.b[t.presetByte + 1]);
  std::snprintf(out.countdownMinutes, sizeof out.countdownMinutes, "%d", s.b[t.countdownByte]);
  std::snprintf(out.countdownSeconds, sizeof out.countdownSeconds, "%02d",
                s.b[t.countdownByte + 1]);
}

size_t FormatBatchPresetRow(const BatchTimerTexts& t, const char16_t* minutesUnit,
                            const char16_t* secondsUnit, char16_t* out, size_t size) {
  LineText line(out, size);
  line.AddLatin1(t.presetMinutes).AddLatin1(" ").Add(minutesUnit).AddLatin1(" ");
  line.AddLatin1(t.presetSeconds).AddLatin1(" ").Add(secondsUnit);
  return line.Length();
}

// Wherever HI HEAT and LO HEAT are shown the heat column holds both heats: over the one-heat
// layout the buttons would cover its heat countdown.
const BatchLayout& ChooseBatchLayout(const lnk::DryerStatus& s) {
  return IsTwoHeat(s) || ChooseBatchButtons(s).showHiLoHeat ? kTwoHeatLayout : kOneHeatLayout;
}

bool OpenBatchTimerEntry(TimerEntryRequest& r, const lnk::DryerStatus& s, int command) {
  const BatchTimerInfo* t = TimerForCommand(command);
  if (t == nullptr) return false;
  OpenTimerEntryFromStatus(r, s, t->presetRow, t->limits);
  return true;
}

uint16_t BatchHoldQuestionId(BatchHoldGroup group, bool dryHeld) {
  switch (group) {
    case BatchHoldGroup::Heat: return dryHeld ? kBatchTextHeatQuestionDry : kBatchTextHeatQuestion;
    case BatchHoldGroup::LowHeat: return kBatchTextLowHeatQuestion;
    case BatchHoldGroup::Cool: return kBatchTextCoolQuestion;
    case BatchHoldGroup::Unload: return kBatchTextUnloadQuestion;
  }
  return kBatchTextHeatQuestion;
}

BatchTimer BatchHoldTimer(BatchHoldGroup group) {
  switch (group) {
    case BatchHoldGroup::Heat: return BatchTimer::HiHeat;
    case BatchHoldGroup::LowHeat: return BatchTimer::LoHeat;
    case BatchHoldGroup::Cool: return BatchTimer::Cool;
    case BatchHoldGroup::Unload: return BatchTimer::Unload;
  }
  return BatchTimer::HiHeat;
}

bool StepBatchHoldLatch(uint32_t& latch, bool held) {
  if (!held) {
    latch = 1;
    return false;
  }
  if (latch == 0) {
    latch = 1;
    return true;
  }
  --latch;
  return false;
}

void BatchHoldQuestionNumbers(const lnk::DryerStatus& s, BatchHoldGroup group, int (&numbers)[2]) {
  const BatchTimerInfo& t = BatchTimerFor(BatchHoldTimer(group));
  numbers[0] = s.b[t.presetByte];
  numbers[1] = s.b[t.presetByte + 1];
}

void RestartBatchTimer(const lnk::DryerStatus& s, BatchHoldGroup group) {
  const BatchTimerInfo& t = BatchTimerFor(BatchHoldTimer(group));
  const uint8_t preset[2] = {s.b[t.presetByte], s.b[t.presetByte + 1]};
  lnk::RequestSetting(t.resetRow, preset);
}
