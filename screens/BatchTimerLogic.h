#pragma once
// BATCH_DRYING_WINDOW without the window: which buttons show, what each column says, where it
// goes, which limits its keypad gets, and the hold-to-restart latches of the one-second tick.
#include <cstddef>
#include <cstdint>

#include "dialogs/KeypadLogic.h"
#include "link/RegisterMap.h"
#include "platform/Canvas.h"

namespace lnk {
struct DryerStatus;
}

// String ids of the batch restart questions.
enum BatchText : uint16_t {
  kBatchTextHeatQuestionDry = 513,
  kBatchTextHeatQuestion = 514,
  kBatchTextLowHeatQuestion = 516,
  kBatchTextCoolQuestion = 517,
  kBatchTextUnloadQuestion = 518,
};

enum class BatchTimer : uint8_t { HiHeat, LoHeat, Cool, Unload };
inline constexpr int kBatchTimerCount = 4;

// Commands of the window's buttons.
enum BatchCommand : int {
  kBatchCommandDry = 36958,
  kBatchCommandHiHeat = 36959,
  kBatchCommandLoHeat = 36960,
  kBatchCommandCool = 36961,
  kBatchCommandUnload = 36962,
  kBatchCommandSampleTime = 36900,
};

// The window's buttons, children created with it and drawn by the platform.
struct BatchButton {
  int command;
  uint16_t textId;
  plat::Rect place;
  bool multiLine;
};
inline constexpr uint16_t kBatchCaptionId = 442;
inline constexpr int kBatchButtonCount = 5;
inline constexpr BatchButton kBatchButtons[kBatchButtonCount] = {
    {.command = kBatchCommandHiHeat, .textId = 446, .place = plat::RectXywh(7, 55, 110, 25)},
    {.command = kBatchCommandLoHeat, .textId = 447, .place = plat::RectXywh(7, 140, 110, 25)},
    {.command = kBatchCommandDry, .textId = 443, .place = plat::RectXywh(5, 110, 110, 55),
     .multiLine = true},
    {.command = kBatchCommandCool, .textId = 444, .place = plat::RectXywh(138, 110, 110, 55)},
    {.command = kBatchCommandUnload, .textId = 445, .place = plat::RectXywh(273, 110, 110, 55)},
};
inline constexpr uint16_t kBatchMinutesUnitId = 449;
inline constexpr uint16_t kBatchSecondsUnitId = 448;

struct BatchTimerInfo {
  BatchTimer timer;
  int countdownByte;     // minutes, then seconds
  int presetByte;        // minutes, then seconds
  lnk::CommandRow presetRow;  // where an edited preset goes
  lnk::CommandRow resetRow;   // restarting the countdown from the preset
  TimerLimits limits;
  plat::Color colour;
};
const BatchTimerInfo& BatchTimerFor(BatchTimer timer);

// HI HEAT and LO HEAT replace DRY on two-heat dryers; DRY stays enabled in every case.
struct BatchButtons {
  bool showHiLoHeat;
  bool showDry;
};
BatchButtons ChooseBatchButtons(const lnk::DryerStatus& s);
// Whether the button with `command` is shown under the rule; COOL and UNLOAD always are.
bool IsBatchButtonShown(const BatchButtons& rule, int command);

bool IsTwoHeat(const lnk::DryerStatus& s);
// While the controller averages the incoming moisture the heat minutes give way to the words
// "AVERAGING", "INCOMING" and "MOISTURE".
bool ShowsAveragingWords(const lnk::DryerStatus& s);
inline constexpr const char* kAveragingWords[3] = {"AVERAGING", "INCOMING", "MOISTURE"};

// The narrow parts of one column: "%02d" preset minutes and seconds, "%d" countdown minutes
// and "%02d" countdown seconds.
struct BatchTimerTexts {
  char presetMinutes[4];
  char presetSeconds[4];
  char countdownMinutes[4];
  char countdownSeconds[4];
};
void MakeBatchTimerTexts(const lnk::DryerStatus& s, BatchTimer timer, BatchTimerTexts& out);
// The preset row "%02d %s %02d %s" with the minutes and seconds unit texts (449, 448).
size_t FormatBatchPresetRow(const BatchTimerTexts& t, const char16_t* minutesUnit,
                            const char16_t* secondsUnit, char16_t* out, size_t size);

// Places of one timer: the preset row, the large minutes and the seconds.
struct BatchTimerPlace {
  BatchTimer timer;
  plat::Rect preset;
  plat::Rect minutes;
  plat::Rect seconds;
  int minutesFont;  // text heights
  int secondsFont;
};
struct BatchLayout {
  int count;
  BatchTimerPlace places[kBatchTimerCount];
  bool heatDividers;  // the 3-pixel line at y 87 and the 1-pixel line at y 107
};
const BatchLayout& ChooseBatchLayout(const lnk::DryerStatus& s);

// The keypad opened by a button's command: false for a command that is not a timer button.
bool OpenBatchTimerEntry(TimerEntryRequest& r, const lnk::DryerStatus& s, int command);

// ---- Holding a button restarts its timer (one-second tick) ----

enum class BatchHoldGroup : uint8_t { Heat, LowHeat, Cool, Unload };
inline constexpr int kBatchHoldGroupCount = 4;
inline constexpr uint16_t kBatchHoldCaptionId = 515;

// The question of a group (its text is a format with the preset's minutes and seconds), and
// the timer it restarts. `dryHeld` picks the DRY wording of the heat group.
uint16_t BatchHoldQuestionId(BatchHoldGroup group, bool dryHeld);
BatchTimer BatchHoldTimer(BatchHoldGroup group);
// The two numbers of the question: the preset's minutes and seconds.
void BatchHoldQuestionNumbers(const lnk::DryerStatus& s, BatchHoldGroup group, int (&numbers)[2]);

// One tick of a group's latch; true when the question is to be asked now. A button has to be
// seen held on two consecutive ticks; the latch is set before the question is shown, so a tick
// that runs inside the question's own loop does not ask again.
bool StepBatchHoldLatch(uint32_t& latch, bool held);
// Yes to the question: the countdown restarts from the preset.
void RestartBatchTimer(const lnk::DryerStatus& s, BatchHoldGroup group);
