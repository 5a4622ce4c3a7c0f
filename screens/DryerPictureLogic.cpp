#include "screens/DryerPictureLogic.h"

#include <cstdio>

#include "link/Temperature.h"
#include "i18n/StringIds.h"
#include "i18n/LineText.h"
#include "platform/Verify.h"
#include "screens/StatusReading.h"
#include "screens/UnloadLogic.h"

namespace {

// ---- Layouts ----

struct UnitColumn {
  int x, firstY, width, height, lowest;  // `lowest`: the last unit ends above it
  int p, q, r, s;                         // first frames of the four sets
};

struct LayoutInfo {
  PicturePlace tower;
  UnitColumn units;
  int towerBottom;
};

// The units stack between the upper guide line (y 48) and the paired wheels, which stand
// kWheelRise above the foot of the tower, so no unit is crossed by either.
constexpr int kUpperGuideY = 48;
constexpr int kWheelRise = 70;
constexpr int kUnitGap = 3;
constexpr int kLargeTowerBottom = 340;
constexpr int kSmallTowerBottom = 405;

constexpr UnitColumn kLargeUnits = {.x = 48, .firstY = 100, .width = 111, .height = 113,
                                    .lowest = kLargeTowerBottom - kWheelRise - kUnitGap,
                                    .p = picture::kUnitCP, .q = picture::kUnitCQ,
                                    .r = picture::kUnitCR, .s = picture::kUnitCS};
constexpr UnitColumn kSmallUnits = {.x = 58, .firstY = kUpperGuideY + kUnitGap, .width = 96, .height = 64,
                                    .lowest = kSmallTowerBottom - kWheelRise - kUnitGap,
                                    .p = picture::kUnitSmallP, .q = picture::kUnitSmallQ,
                                    .r = picture::kUnitSmallR, .s = picture::kUnitSmallS};

constexpr LayoutInfo kLayouts[] = {
    {.tower = {picture::kTowerA, {0, 25, 180, kSmallTowerBottom}}, .units = kSmallUnits, .towerBottom = kSmallTowerBottom},
    {.tower = {picture::kTowerB, {0, 25, 180, kSmallTowerBottom}}, .units = kSmallUnits, .towerBottom = kSmallTowerBottom},
    {.tower = {picture::kTowerC, {0, 25, 180, kLargeTowerBottom}}, .units = kLargeUnits, .towerBottom = kLargeTowerBottom},
    {.tower = {picture::kTowerD, {0, 25, 180, kLargeTowerBottom}}, .units = kLargeUnits, .towerBottom = kLargeTowerBottom},
};

const LayoutInfo& Info(PictureLayout layout) { return kLayouts[static_cast<int>(layout)]; }

constexpr int kTwoModules = 1;
constexpr int kThreeModules = 2;

constexpr int kCrowdedFirstY = kUpperGuideY + kUnitGap;

constexpr int kUnitAlarmBit = 1;   // status byte
constexpr int kUnitTurnBit = 0;    // status byte
constexpr int kRunAlarmBit = 2;    // run byte
constexpr int kFanRunBit = 0;      // run byte

constexpr int kReverseStopBit = 7;    // byte 171
constexpr int kPairMoveBit = 3;       // byte 58
constexpr int kPairDirectionBit = 2;  // byte 58
constexpr int kSlowEvery = 5;
constexpr int kPairEvery = 3;


// A unit of the picture counts from the top slot down: unit 1 is slot 6.
int UnitStatusByte(int unit) { return lnk::kStatusUnitStatusB1 + kMaxUnits - unit; }
int UnitRunByte(int unit) { return lnk::kStatusUnitStatusA1 + kMaxUnits - unit; }

int Forward(int phase) { return phase >= kFrameCount - 1 ? 0 : phase + 1; }
int Backward(int phase) { return phase <= 0 ? kFrameCount - 1 : phase - 1; }
int Frame(int phase) { return (phase >= 0 && phase < kFrameCount) ? phase : 0; }

// Takes the counter's value and advances it; true on every `every`-th call.
bool CountTick(int& counter, int every) {
  int taken = counter++;
  if (taken >= every - 1) {
    counter = 0;
    return true;
  }
  return false;
}

// ---- Overlay ----


constexpr plat::Color kMoistureColour = plat::Rgb(0, 200, 0);
constexpr plat::Color kSetpointColour = plat::Rgb(200, 200, 0);

constexpr int kNoGrainTempBit = 2;      // byte 225
constexpr int kNoSensorBit = 5;         // byte 49
constexpr int kOutgoingShownBit = 4;    // byte 257
constexpr int kBatchStateShift = 4;     // byte 257 bits 4..6
constexpr uint8_t kBatchStateMask = 0x07;
constexpr uint8_t kBatchSetpointMask = 0x30;  // byte 257 bits 4 and 5
constexpr int kSensorStatusShownBit = 7;      // byte 293
constexpr uint8_t kSensorStatusMask = 0x03;   // byte 292
// Bushels of corn to metric tonnes: 25.4 kg a bushel.
constexpr int kKilogramsPerTenBushels = 254;
constexpr int kKilogramsPerTonne = 1000;

int ToTonnes(long long bushels) {
  return static_cast<int>(bushels * kKilogramsPerTenBushels / (10 * kKilogramsPerTonne));
}

OverlayLine& Add(OverlayLine (&lines)[kMaxOverlayLines], int& n, plat::Rect place,
                 plat::Color colour, uint16_t textId) {
  OverlayLine& line = lines[n < kMaxOverlayLines ? n++ : kMaxOverlayLines - 1];
  line.place = place;
  line.colour = colour;
  line.textId = textId;
  line.text[0] = 0;
  return line;
}

void Temperature(char (&out)[24], int fahrenheit, bool celsius) {
  std::snprintf(out, sizeof out, "%d%c%c", lnk::DisplayTemperature(fahrenheit, celsius), lnk::kDegreeSign,
                celsius ? 'C' : 'F');
}

void Tenths(char (&out)[24], int tenths, const char* suffix) {
  std::snprintf(out, sizeof out, "%d.%01d%s", tenths / 10, tenths % 10, suffix);
}

uint16_t DryingModeText(const lnk::DryerStatus& s) {
  int mode = MoistureControlMode(s);
  switch (DryerType(s)) {
    case lnk::kDryerTypeContinuous:
      switch (mode) {
        case lnk::kModeTemperature2Speed: return i18n::kModeTextTemp2Speed;
        case lnk::kModeTemperature5Speed: return i18n::kModeTextTemp5Speed;
        case lnk::kModeMoistureVariable: return i18n::kModeTextMoistVariable;
        case lnk::kModeMoisture5Speed: return i18n::kModeTextMoist5Speed;
        case lnk::kModeStagedBatch: return i18n::kModeTextStagedBatch;
        default: return i18n::kModeTextContinuous;
      }
    case lnk::kDryerTypeBatchOption:
      return mode == lnk::kModeStagedBatch ? i18n::kModeTextStagedBatch : i18n::kModeTextBatch;
    default:
      return i18n::kModeTextNone;
  }
}

// Returns false when the line is left empty.
bool StateLine(const lnk::DryerStatus& s, uint16_t& textId, plat::Color& colour) {
  int mode = MoistureControlMode(s);
  if (DryerType(s) == lnk::kDryerTypeBatchOption) {
    int state = (s.b[lnk::kStatusOptionBits] >> kBatchStateShift) & kBatchStateMask;
    textId = static_cast<uint16_t>(kDryerPicTextBatchState + state);
    if (textId > kDryerPicTextBatchStateLast) textId = kDryerPicTextBatchStateLast;
    colour = colour::kGreen;
    return true;
  }
  if (mode == lnk::kModeTemperature2Speed) {
    if (StatusHas(s, lnk::kStatusMoistureControlMode, lnk::kMoistureModeBit7)) {
      textId = StatusHas(s, lnk::kStatusMoistureControlMode, lnk::kMoistureModeBit6) ? kDryerPicTextModeOneOn
                                                                           : kDryerPicTextModeLabel1;
      colour = colour::kGreen;
    } else {
      textId = kDryerPicTextModeOneOff;
      colour = colour::kRed;
    }
    return true;
  }
  if (mode == lnk::kModeMoisture5Speed || mode == lnk::kModeTemperature5Speed) {
    textId = kDryerPicTextModeFourFive;
    colour = colour::kGreen;
    return true;
  }
  return false;
}

uint16_t MeteringLabel(const lnk::DryerStatus& s) {
  int mode = MoistureControlMode(s);
  if (mode == lnk::kModeMoisture5Speed || mode == lnk::kModeTemperature5Speed)
    return s.b[lnk::kStatusMoistureControl201] != 0 ? kDryerPicTextMeterAutoActive : kDryerPicTextMeterAuto;
  if (s.b[lnk::kStatusChart220] != 0) return kDryerPicTextMeterChart;
  // Byte 155 counts up from low (0) to high (2), as on the unload panel.
  switch (s.b[lnk::kStatusMeterRoll0]) {
    case 0: return kDryerPicTextMeterLow;
    case 1: return kDryerPicTextMeterMedium;
    case 2: return kDryerPicTextMeterHigh;
    default: return kDryerPicTextMeterOther;
  }
}

bool MoistureModeShowsOutgoing(const lnk::DryerStatus& s) {
  int mode = MoistureControlMode(s);
  return mode == lnk::kModeTemperature2Speed || mode == lnk::kModeTemperature5Speed ||
         StatusBit(s, lnk::kStatusOptionBits, kOutgoingShownBit);
}

}  // namespace

AnimationPhases gAnimationPhases;

PictureLayout ChoosePictureLayout(const lnk::DryerStatus& s) {
  int modules = s.b[lnk::kStatusModuleCount];
  if (modules == kTwoModules) return PictureLayout::A;
  if (modules == kThreeModules) return PictureLayout::B;
  if (StatusHas(s, lnk::kStatusConfigBits, lnk::kConfigBitsPort) ||
      !StatusHas(s, lnk::kStatusConfigBits, lnk::kConfigBitsHardwareChoice))
    return PictureLayout::C;
  return PictureLayout::D;
}

void AdvanceAnimationPhases(AnimationPhases& p, const lnk::DryerStatus& s) {
  for (int fan = 1; fan <= kMaxUnits; ++fan)
    if (StatusBit(s, UnitRunByte(fan), kFanRunBit)) p.fan[fan - 1] = Forward(p.fan[fan - 1]);
  if (!StatusBit(s, lnk::kStatusRunFlags, kReverseStopBit)) p.reverse = Backward(p.reverse);
  if (IsDryerRunning(s)) {
    p.running = Forward(p.running);
    if (CountTick(p.slowCounter, kSlowEvery)) p.slowRunning = Forward(p.slowRunning);
  }
  if (StatusBit(s, lnk::kStatusLoadState, kPairMoveBit) && CountTick(p.pairCounter, kPairEvery)) {
    bool aForward = StatusBit(s, lnk::kStatusLoadState, kPairDirectionBit);
    p.pairA = aForward ? Forward(p.pairA) : Backward(p.pairA);
    p.pairB = aForward ? Backward(p.pairB) : Forward(p.pairB);
  }
}

int ShownUnitCount(const lnk::DryerStatus& s) {
  return lnk::PlenumSlotsInUse(s.b[lnk::kStatusFanHeaterCount]);
}

UnitPicture ChooseUnitPicture(const lnk::DryerStatus& s, const AnimationPhases& p, PictureLayout layout,
                              int unit) {
  const UnitColumn& column = Info(layout).units;
  UnitPicture picture{};
  if (unit < 1 || unit > kMaxUnits) unit = 1;
  int status = UnitStatusByte(unit);
  int run = UnitRunByte(unit);
  int first;
  if (StatusBit(s, status, kUnitAlarmBit)) {
    bool alarm = StatusBit(s, run, kRunAlarmBit);
    picture.set = alarm ? UnitSet::S : UnitSet::R;
    first = alarm ? column.s : column.r;
  } else if (StatusBit(s, status, kUnitTurnBit)) {
    picture.set = UnitSet::Q;
    first = column.q;
  } else {
    picture.set = UnitSet::P;
    first = column.p;
  }
  // The off picture has one look; the others follow their fan's phase.
  picture.resource = picture.set == UnitSet::P ? first : first + Frame(p.fan[unit - 1]);

  int count = ShownUnitCount(s);
  // Three or more units start higher up the tower, so each keeps a useful size.
  int firstY = count > 2 ? kCrowdedFirstY : column.firstY;
  int step = column.height;
  if (count > 1) {
    int room = (column.lowest - firstY - column.height) / (count - 1);
    // Too close for full-size pictures: the units share the column evenly, drawn smaller.
    if (room < step) step = (column.lowest - firstY) / count;
  }
  int y = firstY + step * (unit - 1);
  // Many units stack closer than a picture's height: each is then drawn smaller, so none hides
  // the one above it.
  int height = step < column.height ? step : column.height;
  int width = column.width * height / column.height;
  picture.place = plat::RectXywh(column.x + (column.width - width) / 2, y, width, height);
  return picture;
}

PicturePlace TowerPicture(PictureLayout layout) { return Info(layout).tower; }

PicturePlace ChooseElementPicture(const AnimationPhases& p, PictureLayout layout,
                                  MovingElement element) {
  int bottom = Info(layout).towerBottom;
  switch (element) {
    case MovingElement::Reverse:
      return {picture::kReverse + Frame(p.reverse), plat::RectXywh(65, bottom - 14, 50, 14)};
    case MovingElement::Running:
      return {picture::kRunning + Frame(p.running), plat::RectXywh(10, bottom, 160, 15)};
    case MovingElement::SlowRunning:
      return {picture::kSlowRunning + Frame(p.slowRunning), plat::RectXywh(60, 5, 60, 20)};
    case MovingElement::PairA:
      return {picture::kPairA + Frame(p.pairA), plat::RectXywh(20, bottom - kWheelRise, 30, 30)};
    case MovingElement::PairB:
      return {picture::kPairB + Frame(p.pairB), plat::RectXywh(130, bottom - kWheelRise, 30, 30)};
  }
  VERIFY_NOT_REACHED();
  return {picture::kReverse, {}};
}

bool StepBlinkMarker(bool& flag, const lnk::DryerStatus& s) {
  bool active = (s.b[lnk::kStatusLoadFlags] & lnk::kLoadFlagsBit1) != 0 &&
                DryerType(s) == lnk::kDryerTypeBatchOption &&
                StatusHas(s, lnk::kStatusSwitches, lnk::kSwitchesBit6);
  flag = active ? !flag : false;
  return flag;
}

PicturePlace MarkerPicture(PictureLayout layout) {
  return {picture::kMarker, plat::RectXywh(8, 60, 16, 16)};
}

int MakeOverlayLines(const lnk::DryerStatus& s, PictureLayout layout,
                     OverlayLine (&lines)[kMaxOverlayLines]) {
  int n = 0;
  bool celsius = IsCelsius(s);
  bool noSensor = StatusBit(s, lnk::kStatusSetup49, kNoSensorBit);
  int mode = MoistureControlMode(s);

  Tenths(Add(lines, n, {192, 40, 250, 60}, kMoistureColour, 0).text,
         lnk::StatusU16HighFirst(s, lnk::kStatusMoisture2), "%");

  if (StatusBit(s, lnk::kStatusConfigBits, kNoGrainTempBit))
    Add(lines, n, {195, 200, 250, 220}, colour::kYellow, kDryerPicTextNoGrainTemp);
  else
    Temperature(Add(lines, n, {195, 200, 250, 220}, colour::kYellow, 0).text,
                DryerGrainTemperature(s), celsius);

  Add(lines, n, {180, 280, 250, 300}, colour::kGreen, DryingModeText(s));

  uint16_t stateId;
  plat::Color stateColour;
  if (StateLine(s, stateId, stateColour)) Add(lines, n, {180, 290, 250, 310}, stateColour, stateId);

  constexpr plat::Rect kMetering = {180, 300, 250, 320};
  int meter = s.b[lnk::kStatusLogged245];
  if (StatusHas(s, lnk::kStatusOptionWithdraw, lnk::kOptionWithdrawAutoStartActive)) {
    OverlayLine& line = Add(lines, n, kMetering, colour::kRed, 0);
    std::snprintf(line.text, sizeof line.text, "AS %d", meter);
  } else {
    OverlayLine& line = Add(lines, n, kMetering, colour::kRed, MeteringLabel(s));
    int speed = s.b[lnk::kStatusMeterRoll0];
    if (speed != 0 && speed != 2)
      std::snprintf(line.text, sizeof line.text, "%d.%d", meter, s.b[lnk::kStatusChart223]);
    else
      std::snprintf(line.text, sizeof line.text, "%d", meter);
  }

  constexpr plat::Rect kCounterLine = {180, 310, 250, 330};
  if (DryerType(s) == lnk::kDryerTypeBatchOption) {
    OverlayLine& line = Add(lines, n, kCounterLine, colour::kWhite, kDryerPicTextBatchCounter);
    std::snprintf(line.text, sizeof line.text, "%d", lnk::StatusU16HighFirst(s, lnk::kStatusBatchCounter));
  } else {
    OverlayLine& line = Add(lines, n, kCounterLine, colour::kWhite, kDryerPicTextUnload);
    int v = lnk::StatusU16HighFirst(s, lnk::kStatusUnloadStatusValue);
    if (StatusHas(s, lnk::kStatusConfigBits, lnk::kConfigBitsHardwareChoice))
      std::snprintf(line.text, sizeof line.text, "%d.%02d", v / 100, v % 100);
    else
      std::snprintf(line.text, sizeof line.text, "%d.%01d", v / 10, v % 10);
  }

  constexpr plat::Rect kRateLine = {180, 320, 250, 340};
  constexpr plat::Rect kTotalLine = {180, 330, 250, 350};
  if (noSensor) {
    Add(lines, n, kRateLine, colour::kWhite, kDryerPicTextNoSensor);
    Add(lines, n, kTotalLine, colour::kWhite, kDryerPicTextNoSensor);
  } else {
    int rate = BushelsPerHour(s);
    long long total = TotalBushels(s);
    OverlayLine& r = Add(lines, n, kRateLine, colour::kWhite,
                         celsius ? kDryerPicTextRateSi : kDryerPicTextRateEnglish);
    std::snprintf(r.text, sizeof r.text, "%d", celsius ? ToTonnes(rate) : rate);
    OverlayLine& t = Add(lines, n, kTotalLine, colour::kWhite,
                         celsius ? kDryerPicTextTotalSi : kDryerPicTextTotalEnglish);
    std::snprintf(t.text, sizeof t.text, "%lld", celsius ? ToTonnes(total) : total);
  }

  // The outgoing grain temperature comes in tenths of a degree, signed.
  int outgoingTenths = static_cast<int16_t>(lnk::StatusU16HighFirst(s, lnk::kStatusMoisture3));
  Temperature(Add(lines, n, {180, 340, 250, 360}, colour::kYellow, 0).text, outgoingTenths / 10,
              celsius);

  if (MoistureModeShowsOutgoing(s))
    Tenths(Add(lines, n, {180, 350, 250, 370}, colour::kGreen, 0).text,
           lnk::StatusU16HighFirst(s, lnk::kStatusMoisture1), "%");

  if (StatusBit(s, lnk::kStatusHardwareOption137, kSensorStatusShownBit) &&
      (s.b[lnk::kStatusSetup292] & kSensorStatusMask) != 0)
    Add(lines, n, {180, 360, 250, 380}, colour::kBlue, i18n::kStringSample);

  bool batchSetpoint = DryerType(s) == lnk::kDryerTypeBatchOption &&
                       (s.b[lnk::kStatusOptionBits] & kBatchSetpointMask) != 0;
  if ((s.b[lnk::kStatusMoistureControlMode] & lnk::kMoistureModeLow6Mask) != lnk::kModeTemperature2Speed &&
      mode != lnk::kModeTemperature5Speed && !batchSetpoint) {
    OverlayLine& sp = Add(lines, n, {180, 370, 250, 390}, kSetpointColour, 0);
    std::snprintf(sp.text, sizeof sp.text, "SP %d.%1d%%",
                  lnk::StatusU16HighFirst(s, lnk::kStatusMoistureSetpoint) / 10,
                  lnk::StatusU16HighFirst(s, lnk::kStatusMoistureSetpoint) % 10);
    Tenths(Add(lines, n, {180, 380, 250, 400}, colour::kGreen, 0).text,
           lnk::StatusU16HighFirst(s, lnk::kStatusMoisture1), "%");
  }

  bool twoHeat = StatusHas(s, lnk::kStatusOptionBits, lnk::kOptionBitsTwoHeat);
  int setpointByte = (DryerType(s) != lnk::kDryerTypeContinuous && twoHeat) ? lnk::kStatusGrainTempSetpoint3
                                                    : lnk::kStatusGrainTempSetpoint1;
  Temperature(Add(lines, n, {180, 390, 250, 410}, kSetpointColour,
                  twoHeat ? kDryerPicTextGrainSetpointTwoHeat : kDryerPicTextGrainSetpoint)
                  .text,
              lnk::StatusS16LowFirst(s, setpointByte), celsius);
  return n;
}

size_t FormatOverlayLine(const OverlayLine& line, const char16_t* label, char16_t* out,
                         size_t size) {
  LineText t(out, size);
  if (line.textId != 0) {
    t.Add(label);
    if (line.text[0] != 0) t.AddLatin1(" ");
  }
  return t.AddLatin1(line.text).Length();
}

GuideLines ChooseGuideLines(const lnk::DryerStatus& s, PictureLayout layout) {
  int mode = MoistureControlMode(s);
  GuideLines g{};
  g.from[0] = {135, kUpperGuideY};
  g.to[0] = {190, kUpperGuideY};
  g.from[1] = {175, 208};
  g.to[1] = {190, 208};
  g.ladderLeft = 170;
  g.ladderRight = 178;
  g.ladderTop = 285;
  g.ladderBottom = (mode == lnk::kModeTemperature2Speed || mode == lnk::kModeTemperature5Speed) ? 355 : 345;
  return g;
}
