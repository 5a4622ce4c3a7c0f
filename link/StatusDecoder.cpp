#include "link/StatusDecoder.h"

#include <cstring>

#include "link/LinkEvents.h"
#include "link/LinkInternal.h"

namespace lnk {

namespace {

enum class FieldKind : uint8_t {
  Plain,
  Setpoint,        // temperature setpoint: echo compared with the previous frame's value
  Countdown,       // not stored while its reset is pending
  MeterRollValue,  // 156..158: retired only in a frame in which the byte changes
  DryerType,
  OutOfGrainCountdown,
  LoadState,
  MeterRollMode,   // 159 with the unstored 160..162
  BushelCounter,
  LoadFlags,
  Warning,
  MoistureMode,
  Switches,
  Moisture2,
  OptionChange,
  OptionBits,
  DisplayOptions,
  OptionWithdraw,
};

constexpr uint32_t W(PanelWindow w) { return 1u << static_cast<int>(w); }
constexpr uint32_t kTemperatureViews = W(PanelWindow::DryerPicture) | W(PanelWindow::StatusBar) |
                                       W(PanelWindow::PlenumView) | W(PanelWindow::LineGraph) |
                                       W(PanelWindow::StatusChart) | W(PanelWindow::MainScreens) |
                                       W(PanelWindow::BatchTimers) | W(PanelWindow::UnloadStatus);
constexpr uint32_t kMoistureViews = W(PanelWindow::UnloadStatus) | W(PanelWindow::StatusBar) | W(PanelWindow::StatusChart);

// A run of `count` fields of `width` bytes each, starting at status byte `first`.
struct FieldRun {
  uint16_t first;
  uint8_t count = 1;
  uint8_t width = 1;
  FieldKind kind = FieldKind::Plain;
  uint32_t windows = 0;
  CommandRow row = CommandRow::FanHeaterCount;  // first row of a Setpoint, Countdown or MeterRollValue run
};

using enum PanelWindow;
constexpr FieldRun kFields[] = {
    {.first = 3, .count = 5, .windows = W(DryerPicture) | W(SetupSelection) | W(PlenumView)},
    {.first = 8, .kind = FieldKind::DryerType, .windows = W(BatchTimers) | W(SetupSelection)},
    {.first = 9, .width = 2, .kind = FieldKind::Countdown, .windows = W(BatchTimers), .row = CommandRow::HiHeatCountdownReset},
    {.first = 11, .width = 2, .windows = W(BatchTimers)},
    {.first = 13, .windows = W(BatchTimers)},
    {.first = 14, .width = 2, .kind = FieldKind::Countdown, .windows = W(BatchTimers), .row = CommandRow::CoolCountdownReset},
    {.first = 16, .width = 2, .windows = W(BatchTimers)},
    {.first = 18},
    {.first = 19, .width = 2, .kind = FieldKind::Countdown, .windows = W(BatchTimers), .row = CommandRow::UnloadCountdownReset},
    {.first = 21, .width = 2, .windows = W(BatchTimers)},
    {.first = 23},
    {.first = 24, .width = 2, .kind = FieldKind::OutOfGrainCountdown, .windows = W(StatusBar) | W(OutOfGrainTimer)},
    {.first = 26, .width = 2, .windows = W(StatusBar) | W(OutOfGrainTimer)},
    {.first = 28, .windows = W(StatusBar)},
    {.first = 29, .width = 2},
    {.first = 31, .width = 2, .windows = W(MainScreens)},
    {.first = 39, .width = 2, .windows = W(StatusBar)},
    {.first = 41, .width = 2, .windows = W(MainScreens)},
    {.first = 43, .windows = W(StatusBar)},
    {.first = 44, .width = 2},
    {.first = 46, .width = 2, .windows = W(MainScreens)},
    {.first = 49, .count = 2, .windows = W(SetupSelection)},
    {.first = 51},
    {.first = 52, .windows = W(MainScreens)},
    {.first = 58, .kind = FieldKind::LoadState, .windows = W(DryerPicture) | W(OutOfGrainTimer)},
    {.first = 59, .count = 6, .width = 2, .kind = FieldKind::Setpoint, .windows = W(PlenumView) | W(DryerPicture) | W(StatusBar),
     .row = CommandRow::PlenumSetpoint1},
    {.first = 71, .count = 6, .width = 2, .windows = W(PlenumView) | W(DryerPicture) | W(StatusBar) | W(LineGraph)},
    {.first = 83, .count = 3, .width = 2},
    {.first = 89, .count = 3, .width = 2, .windows = W(DryerPicture) | W(StatusBar) | W(LineGraph)},
    {.first = 95, .count = 6, .windows = W(PlenumView) | W(Diagnostics)},
    {.first = 101, .count = 6, .windows = W(PlenumView) | W(Diagnostics)},
    {.first = 113, .count = 5},
    {.first = 118, .windows = W(StatusBar) | W(Diagnostics)},
    {.first = 125, .count = 24, .windows = W(DryerPicture)},
    {.first = 149, .count = 3, .width = 2, .kind = FieldKind::Setpoint, .windows = W(DryerPicture) | W(StatusBar),
     .row = CommandRow::GrainTempSetpoint1},
    {.first = 155, .windows = W(UnloadStatus) | W(DryerPicture)},
    {.first = 156, .count = 3, .kind = FieldKind::MeterRollValue, .windows = W(UnloadStatus) | W(DryerPicture),
     .row = CommandRow::MeterRollValue1},
    {.first = 159, .kind = FieldKind::MeterRollMode, .windows = W(UnloadStatus)},
    {.first = 163, .windows = W(MainScreens)},
    {.first = 164, .width = 4, .kind = FieldKind::BushelCounter, .windows = W(StatusBar) | W(UnloadStatus)},
    {.first = 168, .count = 2, .windows = W(MainScreens)},
    {.first = 171, .count = 2, .windows = W(DryerPicture) | W(StatusBar) | W(ButtonBar)},
    {.first = 173, .width = 2, .windows = W(UnloadStatus) | W(StatusChart)},
    {.first = 175, .width = 2},
    {.first = 177, .count = 2, .windows = W(Diagnostics)},
    {.first = 179, .kind = FieldKind::LoadFlags, .windows = W(DryerPicture) | W(UnloadStatus) | W(ButtonBar)},
    {.first = 180, .count = 3, .windows = W(Diagnostics)},
    {.first = 183, .windows = W(MainScreens)},
    {.first = 184, .windows = W(StatusBar)},
    {.first = 185, .width = 2, .kind = FieldKind::Warning, .windows = W(WarningWindow)},
    {.first = 187, .kind = FieldKind::MoistureMode, .windows = W(UnloadStatus) | W(StatusBar)},
    {.first = 188, .kind = FieldKind::Switches, .windows = W(WarningWindow)},
    {.first = 189, .width = 2, .windows = kMoistureViews},
    {.first = 191, .width = 2, .kind = FieldKind::Moisture2, .windows = kMoistureViews},
    {.first = 193, .count = 2, .width = 2, .windows = kMoistureViews},
    {.first = 197, .width = 2, .windows = W(UnloadStatus)},
    {.first = 199, .width = 2, .windows = W(UnloadStatus) | W(StatusBar)},
    {.first = 201, .count = 2, .windows = W(UnloadStatus)},
    {.first = 203},
    {.first = 206, .count = 2, .width = 2, .windows = W(UnloadStatus)},
    {.first = 216, .count = 4},
    {.first = 220, .windows = W(StatusChart)},
    {.first = 221, .width = 2, .windows = W(BatchTimers)},
    {.first = 223, .windows = W(StatusChart)},
    {.first = 224, .windows = W(UnloadStatus)},
    {.first = 225, .windows = W(SetupSelection)},
    {.first = 226, .count = 4, .windows = W(UnloadStatus)},
    {.first = 230, .windows = W(UnloadStatus)},
    {.first = 232, .count = 2, .width = 2, .windows = W(Diagnostics)},
    {.first = 236, .count = 3, .windows = W(Diagnostics)},
    {.first = 239, .count = 2, .windows = W(Diagnostics)},
    {.first = 241, .count = 2, .width = 2, .windows = W(Diagnostics)},
    {.first = 245},
    {.first = 246},
    {.first = 247, .count = 2, .width = 2, .windows = W(StatusChart)},
    {.first = 251, .kind = FieldKind::OptionChange},
    {.first = 252, .width = 2, .kind = FieldKind::Countdown, .windows = W(BatchTimers), .row = CommandRow::LoHeatCountdownReset},
    {.first = 254, .width = 2, .windows = W(BatchTimers)},
    {.first = 257, .kind = FieldKind::OptionBits, .windows = W(MiscButton) | W(ButtonBar)},
    {.first = 258, .count = 2, .width = 2, .kind = FieldKind::Setpoint, .windows = W(PlenumView), .row = CommandRow::PlenumSetpoint7},
    {.first = 262, .count = 2, .width = 2, .windows = W(BatchTimers)},
    {.first = 266, .kind = FieldKind::DisplayOptions, .windows = kTemperatureViews},
    {.first = 267, .width = 2, .windows = W(StatusChart) | W(WarningWindow)},
    {.first = 269, .width = 2},
    {.first = 271, .windows = W(StatusBar)},
    {.first = 272, .width = 2},
    {.first = 274, .width = 2, .windows = W(BatchTimers)},
    {.first = 277, .width = 2},
    {.first = 279, .windows = W(ButtonBar)},
    {.first = 280, .kind = FieldKind::OptionWithdraw},
    {.first = 281, .width = 2},
    {.first = 283, .count = 3, .windows = W(SetupSelection)},
    {.first = 287, .count = 3, .windows = W(SetupSelection)},
    {.first = 290, .width = 2, .windows = W(StatusBar)},
    {.first = 292, .count = 2, .windows = W(SetupSelection)},
    {.first = 294, .count = 12, .width = 2, .windows = W(UnitStatistics)},
    {.first = 318, .count = 3, .width = 2, .windows = W(UnitStatistics)},
    {.first = 324, .count = 5},
};

// The table covers exactly the stored bytes, in ascending order, each once.
static_assert([] {
  int next = 0;
  for (const FieldRun& f : kFields) {
    for (int k = next; k < f.first; ++k)
      if (StatusByteStored(k)) return false;
    for (int k = f.first; k < f.first + f.count * f.width; ++k)
      if (!StatusByteStored(k)) return false;
    if (f.first < next) return false;
    next = f.first + f.count * f.width;
  }
  for (int k = next; k < kStatusBytes; ++k)
    if (StatusByteStored(k)) return false;
  return true;
}(), "field table and never-stored bytes disagree");

// Rows retired by plain status echo, in the order of the status byte of their last register;
// each check runs once that byte has been stored.
struct EchoRows {
  int8_t row[kCommandRowCount];
  int16_t lastByte[kCommandRowCount];
  int count;
};
constexpr EchoRows MakeEchoRows() {
  EchoRows e{};
  for (int i = 0; i < kCommandRowCount; ++i) {
    const CommandRowInfo& r = kCommandRows[i];
    if (r.retire != RowRetire::StatusEcho && r.retire != RowRetire::OneShotAndEcho &&
        r.retire != RowRetire::OptionBits2Echo)
      continue;
    const int last = RowRegister(r) + r.count - 1;
    int j = e.count++;
    for (; j > 0 && e.lastByte[j - 1] > last; --j) {
      e.row[j] = e.row[j - 1];
      e.lastByte[j] = e.lastByte[j - 1];
    }
    e.row[j] = static_cast<int8_t>(i);
    e.lastByte[j] = static_cast<int16_t>(last);
  }
  return e;
}
constexpr EchoRows kEcho = MakeEchoRows();

// What the decoder asks of the rest of the panel, sent after the record is unlocked.
struct Posts {
  uint32_t redraw = 0;
  uint32_t erase = 0;
  bool reshowDryerType = false;
  bool reshowViewMode = false;
  bool updateButtons = false;
  bool shutdown = false;
  uint8_t shutdownNode = 0;
  uint8_t shutdownWarning = 0;
};

struct Decode {
  DryerStatus& st;
  const uint8_t* fr;
  uint8_t* req;
  DryerDerived& d;
  uint64_t changedWords = 0;  // bit w: bytes 8w..8w+7 of frame and record differ
  int echoCursor = 0;
  Posts posts;
};

constexpr int kDiffWords = (kStatusBytes + 7) / 8;
static_assert(kDiffWords <= 64);

uint64_t DiffWords(const uint8_t* a, const uint8_t* b) {
  uint64_t mask = 0;
  int w = 0;
  for (; (w + 1) * 8 <= kStatusBytes; ++w) {
    uint64_t x, y;
    std::memcpy(&x, a + 8 * w, 8);
    std::memcpy(&y, b + 8 * w, 8);
    if (x != y) mask |= uint64_t{1} << w;
  }
  for (int k = w * 8; k < kStatusBytes; ++k)
    if (a[k] != b[k]) mask |= uint64_t{1} << w;
  return mask;
}

// False only when no byte of [first, end) can differ; true may be a neighbour's change.
bool RangeMayDiffer(const Decode& x, int first, int end) {
  const int w0 = first / 8;
  const int w1 = (end - 1) / 8;
  const uint64_t upTo = w1 >= 63 ? ~uint64_t{0} : (uint64_t{2} << w1) - 1;
  return (x.changedWords & upTo & ~((uint64_t{1} << w0) - 1)) != 0;
}

bool Same(const uint8_t* a, const uint8_t* b, int n) {
  for (int i = 0; i < n; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

// Compares, stores and asks for the field's redraws. True when the field changed.
bool StoreField(Decode& x, int k, int width, uint32_t windows) {
  if (Same(x.st.b + k, x.fr + k, width)) return false;
  detail::CopyBytes(x.st.b + k, x.fr + k, width);
  x.posts.redraw |= windows;
  return true;
}

void RetireRowByEcho(Decode& x, int i) {
  if (!detail::Pending(i)) return;
  const CommandRowInfo& r = kCommandRows[i];
  const int first = RowRegister(r);
  bool echoed;
  if (r.retire == RowRetire::OptionBits2Echo)
    echoed = x.st.b[first] == (x.req[first] & static_cast<uint8_t>(~kOptionBits2EchoIgnored));
  else
    echoed = Same(x.st.b + first, x.req + first, r.count);
  if (echoed) detail::SetPending(i, false);
}

// Runs the echo checks of every row whose last register lies below `end`.
void RetireEchoesBelow(Decode& x, int end) {
  while (x.echoCursor < kEcho.count && kEcho.lastByte[x.echoCursor] < end) RetireRowByEcho(x, kEcho.row[x.echoCursor++]);
}

void UpdateMiscFromOptionBits(Decode& x) {
  if (x.st.b[kStatusDryerType] != kDryerTypeBatchOption)
    x.d.miscDisabled = 0;
  else
    x.d.miscDisabled = (x.st.b[kStatusOptionBits] & kOptionBitsMask) == kOptionBitsMiscValue ? 1 : 0;
}

void DryerTypeRule(Decode& x) {
  x.posts.reshowDryerType = true;
  x.posts.updateButtons = true;
  if (x.st.b[kStatusDryerType] != kDryerTypeBatchOption)
    x.d.miscDisabled = 0;
  else if ((x.st.b[kStatusOptionBits] & kOptionBitsMask) == kOptionBitsMiscValue)
    x.d.miscDisabled = 1;
}

void CountdownField(Decode& x, const FieldRun& f) {
  const int i = RowIndex(f.row);
  const int k = f.first;
  if (detail::Pending(i)) {
    if (Same(x.fr + k, x.req + k, 2)) detail::SetPending(i, false);
    return;
  }
  StoreField(x, k, 1, f.windows);
  StoreField(x, k + 1, 1, f.windows);
}

void LoadStateRule(Decode& x, uint8_t old) {
  const uint8_t now = x.st.b[kStatusLoadState];
  if (((old ^ now) & kLoadStateLoadRunning) == 0) return;
  if ((x.st.b[kStatusLoadFlags] & kLoadFlagsAutomatic) == 0) return;
  const uint32_t presetSeconds = StatusMinSecSeconds(x.st, kStatusOutOfGrainTime);
  if ((old & kLoadStateLoadRunning) == 0) {
    x.d.loadLowWater = presetSeconds + 1;
    return;
  }
  const uint32_t low = x.d.loadLowWater.load();
  uint32_t length = presetSeconds >= low ? presetSeconds - low : kPreviousLoadSecondsMax;
  if (length > kPreviousLoadSecondsMax) length = kPreviousLoadSecondsMax;
  x.d.previousLoadSeconds = length;
  x.posts.redraw |= W(OutOfGrainTimer);
}

// Registers 159..162 of the meter roll. Bytes 160..162 are never stored: their current values
// live in the request array, which this rule keeps in step with the controller.
void MeterRollRule(Decode& x, const FieldRun& f) {
  const uint8_t* rx = x.fr + kStatusMeterRollMode;
  uint8_t* rq = x.req + kRequestMeterRollMode;
  const bool question = MeterRollQuestionPending();
  const int row48 = RowIndex(CommandRow::MeterRollFromStatus230);
  const int row51 = RowIndex(CommandRow::MeterRollRestore);
  const int row52 = RowIndex(CommandRow::MeterRollSpeeds);
  const int row47 = RowIndex(CommandRow::MeterRollCopyOver);
  if (!question && ((rx[0] ^ x.st.b[kStatusMeterRollMode]) & kMeterRollModeKnobBit) != 0) {
    x.st.b[kStatusMeterRollMode] = rx[0];
    x.posts.redraw |= f.windows;
    if (!MeterRollWindowVisible()) x.d.knobRequest = 1;
  }
  if (detail::Pending(row48) && x.fr[kStatusMeterRollMedium] == x.req[kRequestMeterRollMedium])
    detail::SetPending(row48, false);
  if (detail::Pending(row51) && Same(x.fr + kStatusMeterRollHigh, x.fr + kStatusMeterRoll1, 3))
    detail::SetPending(row51, false);
  if (question) {
    if (Same(rq, rx, 4)) detail::SetPending(row47, false);
    return;
  }
  if ((rq[0] & kMeterRollModeSpeedMask) != rx[0]) rq[0] = rx[0] & kMeterRollModeSpeedMask;
  if (!detail::Pending(row52))
    for (int i = 1; i < 4; ++i)
      if (rq[i] != rx[i]) rq[i] = rx[i];
  if (Same(rq, rx, 4)) detail::SetPending(row52, false);
}

void BushelCounterRule(Decode& x) {
  uint8_t& command = x.req[kRequestSensorCommand];
  if ((command & kSensorCommandZeroBushels) == 0) return;
  if (StatusU32LowFirst(x.st, kStatusBushelCounter) == 0) command &= static_cast<uint8_t>(~kSensorCommandZeroBushels);
  detail::SetPending(RowIndex(CommandRow::SensorCommand), true);
}

void LoadFlagsRule(Decode& x) {
  x.d.meterRollModeChanged = 1;
  if (x.st.b[kStatusDryerType] != kDryerTypeBatchOption) {
    x.d.miscDisabled = 0;
    return;
  }
  const bool bit1 = (x.st.b[kStatusLoadFlags] & kLoadFlagsBit1) != 0;
  const bool option = (x.st.b[kStatusOptionBits] & kOptionBitsMask) == kOptionBitsMiscValue;
  x.d.miscDisabled = (bit1 || option) ? 1 : 0;
}

void WarningRule(Decode& x) {
  const uint8_t id = x.st.b[kStatusWarningId];
  const uint8_t node = x.st.b[kStatusWarningNode];
  if (id == 0) return;
  const bool samePair = node == x.d.lastWarningNode && id == x.d.lastWarningId;
  if (!samePair || x.d.warningRecordHold.load() == 0) {
    x.d.warningRecordHold = kWarningRecordHoldSeconds;
    x.posts.shutdown = true;
    x.posts.shutdownNode = node;
    x.posts.shutdownWarning = id;
  }
  x.d.lastWarningNode = node;
  x.d.lastWarningId = id;
}

void MoistureModeRule(Decode& x, uint8_t old) {
  const uint8_t now = x.st.b[kStatusMoistureControlMode];
  if ((old & kMoistureModeMask) == 3 && (old & kMoistureModeBit7) != 0 && (now & kMoistureModeBit7) == 0) {
    detail::SetPending(RowIndex(CommandRow::MeterRollRestore), true);
  }
}

void Moisture2Field(Decode& x, const FieldRun& f) {
  const int k = f.first;
  if (Same(x.st.b + k, x.fr + k, 2)) return;
  x.posts.redraw |= f.windows;
  if ((x.st.b[kStatusOptionBits2] & kOptionBits2QuickStart) != 0 && x.d.moistureSubstituteCount.load() > 0) {
    if (DryerRunning(x.st)) x.d.moistureSubstituteCount.fetch_sub(1);
    // The substitute travels low byte first; moisture is kept high byte first.
    x.st.b[k] = x.st.b[kStatusSubstituteMoisture + 1];
    x.st.b[k + 1] = x.st.b[kStatusSubstituteMoisture];
    return;
  }
  detail::CopyBytes(x.st.b + k, x.fr + k, 2);
}

void DisplayOptionsRule(Decode& x) {
  const uint8_t now = x.st.b[kStatusDisplayOptions];
  x.d.celsius = (now & kDisplayOptionsCelsius) ? 1 : 0;
  const uint8_t view = now & kDisplayOptionsGraphView;
  detail::DecoderState& ds = detail::Decoder();
  if (view != ds.lastViewBit) {
    ds.lastViewBit = view;
    x.posts.reshowViewMode = true;
  }
}

void OptionWithdrawRule(Decode& x) {
  if ((x.st.b[kStatusOptionWithdraw] & kOptionWithdrawBit) == 0) return;
  const int row = RowIndex(CommandRow::OptionBits2);
  // Only bit 0 is withdrawn: start from the controller's byte unless an edit is in flight.
  if (!detail::Pending(row)) x.req[kRequestOptionBits2] = x.st.b[kStatusOptionBits2];
  x.req[kRequestOptionBits2] &= static_cast<uint8_t>(~kOptionBits2QuickStart);
  detail::SetPending(row, true);
}

void DecodeRun(Decode& x, const FieldRun& f) {
  const int w = f.width;
  const int end = f.first + f.count * w;
  const bool mayDiffer = RangeMayDiffer(x, f.first, end);
  switch (f.kind) {
    case FieldKind::Plain:
      if (mayDiffer)
        for (int k = f.first; k < end; k += w) StoreField(x, k, w, f.windows);
      RetireEchoesBelow(x, end);
      return;
    case FieldKind::Setpoint:
      for (int k = f.first; k < end; k += w) {
        const int i = RowIndex(f.row) + (k - f.first) / w;
        if (detail::Pending(i)) {
          if (Same(x.st.b + k, x.req + k, w)) detail::SetPending(i, false);
        }
        if (mayDiffer) StoreField(x, k, w, f.windows);
      }
      RetireEchoesBelow(x, end);
      return;
    case FieldKind::Countdown:
      CountdownField(x, f);
      RetireEchoesBelow(x, end);
      return;
    case FieldKind::MeterRollValue:
      for (int k = f.first; k < end; ++k) {
        const int i = RowIndex(f.row) + (k - f.first);
        if (mayDiffer && StoreField(x, k, 1, f.windows) && detail::Pending(i)) {
          if (x.st.b[k] == x.req[k]) detail::SetPending(i, false);
        }
      }
      RetireEchoesBelow(x, end);
      return;
    case FieldKind::DryerType:
    case FieldKind::OutOfGrainCountdown:
    case FieldKind::LoadState:
    case FieldKind::MeterRollMode:
    case FieldKind::BushelCounter:
    case FieldKind::LoadFlags:
    case FieldKind::Warning:
    case FieldKind::MoistureMode:
    case FieldKind::Switches:
    case FieldKind::Moisture2:
    case FieldKind::OptionChange:
    case FieldKind::OptionBits:
    case FieldKind::DisplayOptions:
    case FieldKind::OptionWithdraw:
      break;
  }

  // The fields with a rule of their own: store, retire, then the rule.
  const int k = f.first;
  const uint8_t old = x.st.b[k];
  bool changed = false;
  switch (f.kind) {
    case FieldKind::MeterRollMode:
      MeterRollRule(x, f);
      break;
    case FieldKind::Moisture2:
      if (mayDiffer) Moisture2Field(x, f);
      break;
    case FieldKind::Warning:
      changed = mayDiffer && StoreField(x, k, w, 0);
      if (changed) {
        x.posts.redraw |= f.windows;
        x.posts.erase |= f.windows;
      }
      break;
    case FieldKind::Plain:
    case FieldKind::Setpoint:
    case FieldKind::Countdown:
    case FieldKind::MeterRollValue:
    case FieldKind::DryerType:
    case FieldKind::OutOfGrainCountdown:
    case FieldKind::LoadState:
    case FieldKind::BushelCounter:
    case FieldKind::LoadFlags:
    case FieldKind::MoistureMode:
    case FieldKind::Switches:
    case FieldKind::OptionChange:
    case FieldKind::OptionBits:
    case FieldKind::DisplayOptions:
    case FieldKind::OptionWithdraw:
      changed = mayDiffer && StoreField(x, k, w, f.windows);
      break;
  }
  RetireEchoesBelow(x, end);
  if (f.kind == FieldKind::BushelCounter) {
    BushelCounterRule(x);
    return;
  }
  if (!changed) return;
  const uint8_t now = x.st.b[k];
  switch (f.kind) {
    case FieldKind::DryerType:
      DryerTypeRule(x);
      return;
    case FieldKind::OutOfGrainCountdown: {
      const uint32_t left = StatusMinSecSeconds(x.st, k);
      if (left < x.d.loadLowWater.load()) x.d.loadLowWater = left;
      return;
    }
    case FieldKind::LoadState:
      LoadStateRule(x, old);
      return;
    case FieldKind::LoadFlags:
      LoadFlagsRule(x);
      return;
    case FieldKind::Warning:
      WarningRule(x);
      return;
    case FieldKind::MoistureMode:
      MoistureModeRule(x, old);
      return;
    case FieldKind::Switches:
      x.d.defaultsSwitchRequest = ((now & kSwitchesDefaultsOn) != 0 && x.d.defaultsAcknowledged.load() == 0) ? 1 : 0;
      return;
    case FieldKind::OptionChange:
      if (((old ^ now) & kOptionChangeBit) != 0) x.d.optionChangeRequest = (now & kOptionChangeBit) ? 1 : 0;
      return;
    case FieldKind::OptionBits:
      UpdateMiscFromOptionBits(x);
      return;
    case FieldKind::DisplayOptions:
      DisplayOptionsRule(x);
      return;
    case FieldKind::OptionWithdraw:
      OptionWithdrawRule(x);
      return;
    case FieldKind::Plain:
    case FieldKind::Setpoint:
    case FieldKind::Countdown:
    case FieldKind::MeterRollValue:
    case FieldKind::MeterRollMode:
    case FieldKind::BushelCounter:
    case FieldKind::Moisture2:
      return;
  }
}

void SendPosts(const Posts& p) {
  if (p.reshowDryerType) PostReshowMainViews(ReshowReason::DryerTypeChanged);
  if (p.updateButtons) PostUpdateMainButtons();
  if (p.reshowViewMode) PostReshowMainViews(ReshowReason::ViewModeChanged);
  if (p.shutdown) PostShutdownRecord(p.shutdownNode, p.shutdownWarning);
  for (int w = 0; w < kPanelWindowCount; ++w)
    if (p.redraw & (1u << w)) PostRedraw(static_cast<PanelWindow>(w), (p.erase & (1u << w)) != 0);
}

}  // namespace

void DecodeStatusFrame(const uint8_t* frame) {
  Posts posts;
  {
    // Both locks for the whole frame: every compare-and-lower and every rewrite of a request
    // is then atomic to the UI's write-and-raise, and the frame costs two lock operations.
    std::lock_guard<std::mutex> statusLock(detail::StatusMutex());
    std::lock_guard<std::mutex> requestLock(detail::RequestMutex());
    Decode x{detail::LiveStatus(), frame, detail::RequestBytes(), Derived(), 0, 0, {}};
    x.changedWords = DiffWords(x.st.b, frame);
    for (const FieldRun& f : kFields) DecodeRun(x, f);
    RetireEchoesBelow(x, kStatusBytes);
    detail::AgeAwaitedEchoes(x.st);
    posts = x.posts;
  }
  detail::EndFirstFrameWait();
  SendPosts(posts);
}

}  // namespace lnk
