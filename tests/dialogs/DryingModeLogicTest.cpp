// The rules of the drying mode, moisture control and unload rate dialogs without windows: the
// staged batch criteria and their safeties, the 5-speed limits and speed bands, the unload
// rates in bushels per hour, and what reaches the request.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/DryingModeLogic.h"
#include "dialogs/FiveSpeedLogic.h"
#include "dialogs/UnloadParametersLogic.h"
#include "link/DryerStatus.h"
#include "link/SettingRequest.h"

namespace {

class DryingLogic : public ::testing::Test {
 protected:
  void SetUp() override {
    lnk::ResetDryerStatus();
    lnk::ResetSettingRequest();
  }
  void TearDown() override {
    lnk::ResetDryerStatus();
    lnk::ResetSettingRequest();
  }
  static lnk::DryerStatus Snapshot() {
    lnk::DryerStatus s;
    lnk::TakeStatusSnapshot(s);
    return s;
  }
};

constexpr uint8_t kTime = lnk::kOptionBitsTimeCriterion;
constexpr uint8_t kTemp = lnk::kOptionBitsTemperatureCriterion;
constexpr uint8_t kMoist = lnk::kOptionBitsMoistureCriterion;
constexpr uint8_t kDual = lnk::kOptionBitsDualPlenum;
constexpr uint8_t kMaster = lnk::kDisplayOptionsSafetyMaster;
constexpr uint8_t kGuardTime = lnk::kDisplayOptionsMaxTimeGuard;
constexpr uint8_t kGuardTemp = lnk::kDisplayOptionsMaxGrainTempGuard;
constexpr uint8_t kFull = lnk::kDryingCriteriaFullHeat;
constexpr uint8_t kHalf = lnk::kDryingCriteriaHalfHeat;

struct CriterionCase {
  const char* name;
  uint8_t options, safety, mode, criteria;
  SafetyFields fields;
  Criterion press;
  uint8_t wantOptions, wantSafety, wantMode, wantCriteria;
  SafetyFields wantFields;
};

// Bit 7 of 1:10 (Celsius) and bit 0 of 1:1 stand for the bits no criterion may touch.
constexpr CriterionCase kCriterionCases[] = {
    {"time on with the safety on guards by grain temperature", 0x01, kMaster | 0x80, 0x86, kHalf, {false, false},
     Criterion::Time, 0x01 | kTime, kMaster | kGuardTemp | 0x80, 0x00, kHalf, {false, true}},
    {"time on with the safety off sets no guard but opens the field", 0, 0, 0x06, 0, {false, false}, Criterion::Time,
     kTime, 0, 0x00, 0, {false, true}},
    {"time off clears its guard and field", kTime, kMaster | kGuardTemp, 0x00, 0, {false, true}, Criterion::Time, 0,
     kMaster, 0x00, 0, {false, false}},
    {"time from moisture clears moisture and the mode's bit 7", kMoist, kMaster | kGuardTime | kGuardTemp, 0x86, kFull,
     {true, true}, Criterion::Time, kTime, kMaster | kGuardTime | kGuardTemp, 0x00, kFull, {true, true}},
    {"temperature on guards by time and sets the mode's bit 7", kTime, kMaster | kGuardTemp, 0x06, 0, {false, true},
     Criterion::Temperature, kTime | kTemp, kMaster | kGuardTemp | kGuardTime, 0x80, 0, {true, true}},
    {"temperature on with the safety off", 0, 0, 0x00, 0, {false, false}, Criterion::Temperature, kTemp, 0, 0x80, 0,
     {true, false}},
    {"temperature off clears the time guard", kTemp, kMaster | kGuardTime, 0x80, 0, {true, false},
     Criterion::Temperature, 0, kMaster, 0x80, 0, {false, false}},
    {"temperature from moisture also drops the grain temperature guard", kMoist, kMaster | kGuardTime | kGuardTemp,
     0x86, kFull, {true, true}, Criterion::Temperature, kTemp, kMaster | kGuardTime, 0x80, kFull, {true, false}},
    {"moisture excludes the others, dual included, and chooses full heat", kTime | kTemp | kDual | 0x01,
     kMaster | 0x80, 0x00, kHalf | 0x81, {true, true}, Criterion::Moisture, kMoist | 0x01,
     kMaster | kGuardTime | kGuardTemp | 0x80, 0x86, kFull | 0x81, {true, true}},
    {"moisture with the safety off guards nothing and keeps grain temperature closed", kTime, 0, 0x00, 0,
     {false, true}, Criterion::Moisture, kMoist, 0, 0x86, kFull, {true, false}},
};

}  // namespace

TEST_F(DryingLogic, EveryCriterionTransitionSetsOptionsSafetyModeAndHeatSplit) {
  for (const CriterionCase& c : kCriterionCases) {
    SCOPED_TRACE(c.name);
    DryingRegisters r{.type = lnk::kDryerTypeStagedBatch, .mode = c.mode, .criteria = c.criteria, .options = c.options,
                      .safety = c.safety};
    SafetyFields f = c.fields;
    PressCriterion(r, f, c.press);
    EXPECT_EQ(r.options, c.wantOptions);
    EXPECT_EQ(r.safety, c.wantSafety);
    EXPECT_EQ(r.mode, c.wantMode);
    EXPECT_EQ(r.criteria, c.wantCriteria);
    EXPECT_EQ(f.maxTime, c.wantFields.maxTime);
    EXPECT_EQ(f.maxGrainTemp, c.wantFields.maxGrainTemp);
  }
}

TEST_F(DryingLogic, ModeChoicesDualPlenumAndTheSafetyToggleKeepTheOtherBits) {
  DryingRegisters r{.type = 0, .mode = 0x44, .criteria = 0, .options = 0xFF, .safety = 0};
  ChooseStagedBatch(r);
  EXPECT_EQ(r.type, 1);
  EXPECT_EQ(r.mode, lnk::kModeStagedBatch);
  EXPECT_EQ(r.options, 0xF7) << "only bit 3 goes";
  ChooseContinuousFlow(r);
  EXPECT_EQ(r.type, 0);
  EXPECT_EQ(r.mode, lnk::kModeTemperature2Speed);
  EXPECT_EQ(r.options, 0xF5) << "bits 1 and 3 go";

  lnk::DryerStatus s = Snapshot();
  r.options = 0;
  EXPECT_TRUE(ChooseDualPlenum(r, s)) << "one fan/heater";
  EXPECT_EQ(r.options, kDual);

  r.safety = 0x80;
  ToggleSafety(r);
  EXPECT_EQ(r.safety, 0x80 | kMaster | kGuardTemp);
  r.safety |= kGuardTime;
  ToggleSafety(r);
  EXPECT_EQ(r.safety, 0x80 | kGuardTime) << "the time guard is not the continuous flow's";
}

TEST_F(DryingLogic, AcceptRaisesOnlyWhatDiffersAndKeepsTheOtherBitsOfTheDisplayOptions) {
  lnk::WriteStatusByte(lnk::kStatusOptionBits, kTime);
  lnk::WriteStatusByte(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsCelsius | kMaster);
  lnk::WriteStatusByte(lnk::kStatusDryingCriteria, kFull);
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, 0x00);
  DryingRegisters r = OpenDryingRegisters();
  EXPECT_FALSE(AcceptStagedBatch(DryingRegisters{}, Snapshot())) << "no criterion";
  EXPECT_TRUE(AcceptStagedBatch(r, Snapshot()));
  for (lnk::CommandRow row : {lnk::CommandRow::OptionBits, lnk::CommandRow::DisplayOptions, lnk::CommandRow::DryingCriteria,
                         lnk::CommandRow::MoistureControlMode, lnk::CommandRow::DryerType})
    EXPECT_FALSE(lnk::IsPending(row)) << lnk::RowNumber(row);

  SafetyFields f = OpeningSafetyFields(r);
  EXPECT_FALSE(f.maxTime);
  EXPECT_TRUE(f.maxGrainTemp);
  PressCriterion(r, f, Criterion::Temperature);
  EXPECT_TRUE(AcceptStagedBatch(r, Snapshot()));
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::OptionBits));
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::DisplayOptions));
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MoistureControlMode));
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::DryingCriteria));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusDisplayOptions), lnk::kDisplayOptionsCelsius | kMaster | kGuardTime);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusOptionBits), kTime | kTemp);

  // Reopened while those wait for their echo, the dialog shows them, not the controller's.
  EXPECT_EQ(OpenDryingRegisters().options, kTime | kTemp);
}

TEST_F(DryingLogic, FiveSpeedLimitsIgnoreAPressThatWouldBreakThem) {
  struct Case {
    const char* name;
    int mode;
    FiveSpeedBands from;
    BandPair pair;
    BandColumn column;
    int delta;
    bool taken;
  };
  const Case cases[] = {
      {"moisture outer up to 30 in mode 4", 4, {29, 3, 6, 3}, BandPair::Outer, BandColumn::Moisture, +1, true},
      {"not past 30", 4, {30, 3, 6, 3}, BandPair::Outer, BandColumn::Moisture, +1, false},
      {"at most 5 F in a temperature mode", 5, {5, 1, 6, 3}, BandPair::Outer, BandColumn::Moisture, +1, false},
      {"inner moisture at least 1", 4, {6, 1, 6, 3}, BandPair::Inner, BandColumn::Moisture, -1, false},
      {"inner moisture above 1 goes down", 4, {6, 2, 6, 3}, BandPair::Inner, BandColumn::Moisture, -1, true},
      {"speed outer at least 4", 4, {6, 3, 4, 2}, BandPair::Outer, BandColumn::Speed, -1, false},
      {"speed outer at most 30", 4, {6, 3, 30, 3}, BandPair::Outer, BandColumn::Speed, +1, false},
      {"speed outer stays above the inner", 4, {6, 3, 6, 5}, BandPair::Outer, BandColumn::Speed, -1, false},
      {"speed inner stays below the outer", 4, {6, 3, 6, 5}, BandPair::Inner, BandColumn::Speed, +1, false},
      {"speed inner at most 9", 4, {6, 3, 20, 9}, BandPair::Inner, BandColumn::Speed, +1, false},
      {"speed inner at least 2", 4, {6, 3, 20, 2}, BandPair::Inner, BandColumn::Speed, -1, false},
      {"speed inner within its limits", 4, {6, 3, 20, 8}, BandPair::Inner, BandColumn::Speed, +1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FiveSpeedBands b = c.from;
    EXPECT_EQ(StepBand(b, c.mode, c.pair, c.column, c.delta), c.taken);
    const int changed = (b.moistureOuter != c.from.moistureOuter) + (b.moistureInner != c.from.moistureInner) +
                        (b.speedOuter != c.from.speedOuter) + (b.speedInner != c.from.speedInner);
    EXPECT_EQ(changed, c.taken ? 1 : 0);
  }
}

TEST_F(DryingLogic, FiveSpeedDefaultsFormatsAndImpossibleBands) {
  char text[40];
  const FiveSpeedBands moisture = FiveSpeedDefaults(lnk::kModeMoisture5Speed);
  const FiveSpeedBands temperature = FiveSpeedDefaults(lnk::kModeTemperature5Speed);
  FormatMoistureOffset(text, sizeof text, lnk::kModeTemperature5Speed, temperature.moistureOuter, true);
  EXPECT_STREQ(text, "+3 F");
  EXPECT_EQ(temperature.moistureInner, 1);
  EXPECT_EQ(temperature.speedOuter, 6);
  EXPECT_EQ(temperature.speedInner, 3);

  // Centre 60 %: +6, +3, -3, -6.
  BandSpeeds v = ComputeBandSpeeds(60, moisture, 90, 10);
  EXPECT_EQ(v.speed[0], 66);
  EXPECT_EQ(v.speed[3], 54);
  // A band past the maximum unload rate can never run; the one inside it still can.
  v = ComputeBandSpeeds(86, moisture, 90, 10);
  EXPECT_EQ(v.speed[0], kImpossibleSpeed);
  EXPECT_EQ(v.speed[1], 89);
  EXPECT_EQ(v.speed[3], 80);
  v = ComputeBandSpeeds(12, moisture, 90, 10);
  EXPECT_EQ(v.speed[2], kImpossibleSpeed);
  EXPECT_EQ(v.speed[3], kImpossibleSpeed);
  // Without usable unload rates only the full range counts.
  v = ComputeBandSpeeds(97, moisture, 0, 0);
  EXPECT_EQ(v.speed[0], kImpossibleSpeed);
  EXPECT_EQ(v.speed[1], 100);
  FormatActualSpeed(text, sizeof text, kImpossibleSpeed);
  EXPECT_STREQ(text, "INVALID SELECTION");
}

TEST_F(DryingLogic, UnloadRatesInBushelsPerHourAndTheirBasis) {
  struct Case {
    uint8_t config;
    uint8_t rolls;
    uint8_t lengthCode;
    int percent;
    const char* bushels;
    const char* note;
  };
  const Case cases[] = {
      {lnk::kConfigBitsPort, 0, 6, 100, "2812", "*Based upon 20ft dryer @ 17.5 RPM."},
      {lnk::kConfigBitsPort, lnk::kControllerDisplaySmallRolls, 6, 100, "2592", "*Based upon 20ft dryer @ 17.5 RPM."},
      {lnk::kConfigBitsPort, 0, 14, 50, "2812", "*Based upon 40ft dryer @ 17.5 RPM."},
      {lnk::kConfigBitsSeries, 0, 3, 50, "1500", "*Based upon 3000 BPH capacity."},
      {lnk::kConfigBitsSeries, 0, 5, 100, "4000", "*Based upon 4000 BPH capacity."},
      {lnk::kConfigBitsSeries, 0, 6, 10, "640", "*Based upon 6400 BPH capacity."},
      {lnk::kConfigBitsSeries, 0, 8, 100, "7000", "*Based upon 7000 BPH capacity."},
      {lnk::kConfigBitsSeries | lnk::kConfigBitsPort, 0, 9, 100, "8000", "*Based upon 8000 BPH capacity."},
      {0, 0, 20, 100, "0", ""},
  };
  for (const Case& c : cases) {
    lnk::DryerStatus s = Snapshot();
    s.b[lnk::kStatusConfigBits] = c.config;
    s.b[lnk::kStatusControllerDisplayOptions] = c.rolls;
    s.b[lnk::kStatusDryerLengthIndex] = c.lengthCode;
    char text[64];
    FormatBushels(text, sizeof text, BushelsPerHour(s, c.percent));
    EXPECT_STREQ(text, c.bushels) << int(c.lengthCode);
    FormatBasedUpon(text, sizeof text, s);
    EXPECT_STREQ(text, c.note) << int(c.lengthCode);
  }
}

TEST_F(DryingLogic, UnloadRatesStepWithinTheirRangeAndGoOutHighByteFirst) {
  int percent = 100;
  StepUnloadRate(percent, +1);
  EXPECT_EQ(percent, 100);
  percent = 0;
  StepUnloadRate(percent, -1);
  EXPECT_EQ(percent, 0);

  lnk::WriteStatusByte(lnk::kStatusMaxUnloadRate + 1, 90);
  lnk::WriteStatusByte(lnk::kStatusMinUnloadRate + 1, 10);
  const UnloadRates r = OpenUnloadRates();
  EXPECT_EQ(r.maximum, 90);
  EXPECT_EQ(r.minimum, 10);
  AcceptUnloadRates({90, 300});
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MaxUnloadRate));
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MinUnloadRate));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMinUnloadRate), 1);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMinUnloadRate + 1), 44);
}
