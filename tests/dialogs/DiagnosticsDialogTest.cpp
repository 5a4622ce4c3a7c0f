// The diagnostics dialog and its test dialogs: the air switch testing rules, the lamp output
// bits of the two connectors, the marks following the status record while a test dialog is
// open, the confirmations and what their answers change, and the output voltage setup.
#include "DialogDriver.h"
#include "dialogs/DiagnosticsDialog.h"
#include "dialogs/DiagnosticsLogic.h"
#include "dialogs/DiagnosticsShared.h"
#include "dialogs/LightOutputsDialog.h"
#include "dialogs/MeterRollDialog.h"
#include "dialogs/MeterRollVoltageDialog.h"
#include "dialogs/SwitchTestDialog.h"
#include "platform/Controls.h"

using namespace testing_support;
using namespace dialogs;

namespace {

constexpr uint8_t kNoTest = lnk::kBurnerModeNoAirSwitchTest;

lnk::DryerStatus StatusWith(uint8_t unitsWithBit2, uint8_t code, uint8_t b148, uint8_t b118) {
  lnk::DryerStatus s{};
  for (int n = 0; n < 6; ++n)
    if ((unitsWithBit2 & (1u << n)) != 0) s.b[lnk::kStatusBurnerMode1 + n] = kNoTest;
  s.b[lnk::kStatusFanHeaterCount] = code;
  s.b[lnk::kStatusAirSwitchReady] = b148;
  s.b[lnk::kStatusStatus118] = b118;
  return s;
}

void WriteStatus(const lnk::DryerStatus& s) {
  for (int k = 0; k < lnk::kStatusBytes; ++k)
    if (s.b[k] != 0) lnk::WriteStatusByte(k, s.b[k]);
}

bool UnitPending(int n) { return lnk::IsPending(static_cast<lnk::CommandRow>(lnk::RowNumber(lnk::CommandRow::BurnerMode1) + n)); }

std::string TextOf(plat::Hwnd dialog, int id) { return Narrow(plat::GetWindowText(plat::GetDlgItem(dialog, id))); }
bool Checked(plat::Hwnd dialog, int id) { return plat::IsDlgButtonChecked(dialog, id); }

// Steps that wait `ms` of the panel's clock inside the dialog (the driver ticks every 50 ms).
std::vector<Step> Wait(int ms) { return std::vector<Step>(static_cast<size_t>(ms / 50), Step{}); }

std::vector<Step> Join(std::initializer_list<std::vector<Step>> parts) {
  std::vector<Step> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

}  // namespace

TEST(AirSwitchTesting, UnitRegistersAndTheTwoReadyBitsDecideTheRadioTheButtonAndTheReenable) {
  struct Case {
    const char* what;
    uint8_t unitsWithBit2, code, b148, b118;
    bool disabled;
    uint16_t button;
    uint8_t reenable;
  };
  const Case cases[] = {
      {"no unit bit 2, ready", 0x00, 1, 0x08, 0x00, false, 207, 0},
      {"no unit bit 2, held by 118", 0x00, 1, 0x00, 0x20, false, 207, 0},
      {"no unit bit 2, every bit of 118 and 148", 0x00, 4, 0xFF, 0xFF, false, 207, 0},
      {"bit 2, 148 bit 3 clear", 0x20, 1, 0xF7, 0x00, true, 208, 0},
      {"bit 2, 118 bit 5 set", 0x20, 1, 0x08, 0x20, true, 208, 0},
      {"two fans re-enabled", 0x3F, 1, 0x08, 0x00, false, 207, 0x30},
      {"two fans, bit 2 only on an absent unit", 0x01, 1, 0x08, 0xDF, false, 207, 0x30},
      {"one unit", 0x20, 0, 0x08, 0x00, false, 207, 0x20},
      {"four units", 0x20, 3, 0x08, 0x00, false, 207, 0x3C},
      {"six units", 0x20, 4, 0x08, 0x00, false, 207, 0x3F},
      {"unknown unit code", 0x20, 9, 0x08, 0x00, false, 207, 0x00},
  };
  for (const Case& c : cases) {
    const AirSwitchState a = EvaluateAirSwitch(StatusWith(c.unitsWithBit2, c.code, c.b148, c.b118));
    EXPECT_EQ(a.testingDisabled, c.disabled) << c.what;
    EXPECT_EQ(a.buttonString, c.button) << c.what;
    EXPECT_EQ(a.reenableSlots, c.reenable) << c.what;
  }
}

TEST(LightOutputs, ConnectorBitsFollowJ1UpwardAndJ2DownwardAndMatchTheSimulatorsLamps) {
  struct Case { int index; int shorted, activated; uint8_t mask; const char* label; };
  const Case cases[] = {
      {0, 177, 239, 0x01, "J1-01 SPARE"}, {7, 177, 239, 0x80, "J1-08 BURNER 3"},
      {8, 178, 240, 0x80, "J2-01 FAN 3"}, {15, 178, 240, 0x01, "J2-08 START"},
  };
  for (const Case& c : cases) {
    const LightOutput& o = kLightOutputs[c.index];
    EXPECT_EQ(o.shortedByte, c.shorted) << c.label;
    EXPECT_EQ(o.activatedByte, c.activated) << c.label;
    EXPECT_EQ(o.mask, c.mask) << c.label;
    EXPECT_STREQ(o.label, c.label);
  }
  // The lamps the simulator lights for each unit are the outputs the dialog names after it.
  auto labelOf = [](const lnk::PanelBit& b) {
    for (const LightOutput& o : kLightOutputs)
      if (o.activatedByte == b.byte && o.mask == b.mask) return std::string(o.label).substr(6);
    return std::string("none");
  };
  for (int unit = 1; unit <= 6; ++unit) {
    EXPECT_EQ(labelOf(lnk::kLightFan[unit - 1]), "FAN " + std::to_string(unit));
    EXPECT_EQ(labelOf(lnk::kLightBurner[unit - 1]), "BURNER " + std::to_string(unit));
  }
  EXPECT_EQ(labelOf(lnk::kLightLoad), "LOAD");
  EXPECT_EQ(labelOf(lnk::kLightUnload), "UNLOAD");
  EXPECT_EQ(labelOf(lnk::kLightStart), "START");

  lnk::DryerStatus s{};
  s.b[lnk::kStatusLights177] = 0x04;
  s.b[lnk::kStatusLights239] = 0x04;
  EXPECT_TRUE(ReadLightOutput(s, 2).shorted && ReadLightOutput(s, 2).activated) << "shorted and activated together";
  EXPECT_FALSE(ReadLightOutput(s, 3).shorted || ReadLightOutput(s, 3).activated);
}

class Diagnostics : public HeadlessFixture {
 protected:
  void TearDown() override {
    SetMeterRollByScreen(false);
    HeadlessFixture::TearDown();
  }
};

TEST_F(Diagnostics, TwoFanDryerReenablingAirSwitchTestingRaisesRegisters105And106Only) {
  WriteStatus(StatusWith(0x3F, 1, 0x08, 0x00));
  lnk::WriteStatusByte(lnk::kStatusBurnerMode1 + 5, kNoTest | lnk::kBurnerModeFanOnly);
  bool radio = true, openInside = false;
  std::string button;
  Drive({Step{kDiagExit, [&](plat::Hwnd d) {
    radio = Checked(d, kDiagAirSwitchDisabledRadio);
    button = TextOf(d, kDiagAirSwitchTesting);
    openInside = DiagnosticsOpen();
  }}});
  OpenDiagnosticsDialog(parent_);
  EXPECT_TRUE(openInside);
  EXPECT_FALSE(DiagnosticsOpen()) << "EXIT clears the mark";
  EXPECT_FALSE(radio);
  if (hasPack_) {
    EXPECT_EQ(button, "DISABLE Testing");
  }
  for (int n = 0; n < 4; ++n) EXPECT_FALSE(UnitPending(n)) << "register " << 101 + n;
  EXPECT_TRUE(UnitPending(4));
  EXPECT_TRUE(UnitPending(5));
  EXPECT_EQ(lnk::ReadRequestByte(105), 0);
  EXPECT_EQ(lnk::ReadRequestByte(106), lnk::kBurnerModeFanOnly) << "the unit's other bits kept";
}

TEST_F(Diagnostics, HeldTestingShowsTheRadioAndTheConfirmationsChangeOnlyOnYes) {
  WriteStatus(StatusWith(0x30, 1, 0x00, 0x00));  // disabled on both units, not ready
  lnk::WriteStatusByte(lnk::kStatusSetup49, 0x10);
  bool radio = false, noteShown = true;
  std::string question;
  uint8_t afterNo = 0;
  Drive({Step{kDiagAirSwitchTesting, [&](plat::Hwnd d) { radio = Checked(d, kDiagAirSwitchDisabledRadio); }},
         Step{plat::IdYes, [&](plat::Hwnd box) {
           question = TextOf(box, kConfirmQuestion);
           noteShown = plat::IsWindowVisible(plat::GetDlgItem(box, kConfirmNote));
         }, kConfirmAirSwitchDialogId},
         Step{kDiagMrSensorShutdown, {}}, Step{plat::IdNo, {}, kConfirmMrSensorDialogId},
         Step{kDiagMrSensorShutdown, [&](plat::Hwnd) { afterNo = lnk::ReadRequestByte(lnk::kStatusSetup49); }},
         Step{plat::IdCancel, {}, kConfirmMrSensorDialogId},
         Step{kDiagMrSensorShutdown, [&](plat::Hwnd) { EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::SetupByte49)); }},
         Step{plat::IdYes, {}, kConfirmMrSensorDialogId},
         Step{kDiagExit, {}}});
  OpenDiagnosticsDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_TRUE(radio);
  EXPECT_FALSE(noteShown);
  if (hasPack_) {
    EXPECT_EQ(question, "Enable air switch testing on every fan/heater again?");
  }
  EXPECT_TRUE(UnitPending(4) && UnitPending(5));
  EXPECT_FALSE(UnitPending(3));
  EXPECT_EQ(lnk::ReadRequestByte(105) & kNoTest, 0);
  EXPECT_EQ(afterNo, 0x10) << "No leaves register 49";
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusSetup49), 0x30) << "Yes toggles bit 5 and keeps bit 4";
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::SetupByte49));
}

TEST_F(Diagnostics, DisablingSetsBit2OnTheUnitsPresentWithItsNote) {
  WriteStatus(StatusWith(0x00, 2, 0x08, 0x00));  // three units, testing on
  bool noteShown = false;
  Drive({Step{kDiagAirSwitchTesting, {}},
         Step{plat::IdYes, [&](plat::Hwnd box) { noteShown = plat::IsWindowVisible(plat::GetDlgItem(box, kConfirmNote)); },
              kConfirmAirSwitchDialogId},
         Step{kDiagExit, {}}});
  OpenDiagnosticsDialog(parent_);
  EXPECT_TRUE(noteShown);
  for (int n = 0; n < 6; ++n) {
    EXPECT_EQ(UnitPending(n), n >= 3) << "register " << 101 + n;
    EXPECT_EQ((lnk::ReadRequestByte(lnk::kStatusBurnerMode1 + n) & kNoTest) != 0, n >= 3) << "register " << 101 + n;
  }
}

TEST_F(Diagnostics, ScreenModeLetsTheMeterRollArrowsWorkWithoutTheKnob) {
  Drive({Step{kDiagMrSpeedViaScreen, {}}, Step{plat::IdYes, {}, kConfirmMrScreenDialogId},
         Step{kDiagExit, [](plat::Hwnd d) { EXPECT_TRUE(Checked(d, kDiagMrSpeedViaScreen)); }}});
  OpenDiagnosticsDialog(parent_);
  ASSERT_TRUE(MeterRollByScreen());
  bool increase = false;
  Drive({Step{kMeterRollCancel, [&](plat::Hwnd d) { increase = plat::IsWindowEnabled(plat::GetDlgItem(d, kMeterRollIncrease)); }}});
  OpenMeterRollDialog(parent_);
  EXPECT_TRUE(increase);
}

TEST_F(Diagnostics, TestDialogsFollowTheStatusRecordWithinOneRefreshPeriod) {
  lnk::WriteStatusByte(lnk::kStatusLights177, 0x01);  // J1-01 shorted ...
  lnk::WriteStatusByte(lnk::kStatusLights239, 0x01);  // ... and activated
  lnk::WriteStatusByte(lnk::kStatusLights240, 0x80);  // J2-01 activated
  lnk::WriteStatusByte(lnk::kStatusConnector180, 0x08);
  lnk::WriteStatusByte(lnk::kStatusDryerTypeSwitch, 0x80);
  struct Seen { bool shorted0, activated0, activated8, shorted8, fan2On, port, stopBefore, stopAfter, j2After; } seen{};
  std::string title;
  const int settle = static_cast<int>(kFollowStatusMs) + 50;
  Drive(Join({{Step{kDiagLightOutputs, {}}},
              {Step{0, [&](plat::Hwnd d) {
                 seen.shorted0 = Checked(d, kLightShortedFirst);
                 seen.activated0 = Checked(d, kLightActivatedFirst);
                 seen.activated8 = Checked(d, kLightActivatedFirst + 8);
                 seen.shorted8 = Checked(d, kLightShortedFirst + 8);
                 lnk::WriteStatusByte(lnk::kStatusLights178, 0x80);
               }, kLightOutputsDialogId}},
              Wait(settle),
              {Step{kLightsExit, [&](plat::Hwnd d) { seen.j2After = Checked(d, kLightShortedFirst + 8); }}},
              {Step{kDiagSwitchWiring, {}, kDiagnosticsDialogId}},
              {Step{0, [&](plat::Hwnd d) {
                 seen.fan2On = Checked(d, SwitchInputControl(180, 3));
                 seen.port = Checked(d, kDryerTypeFirst + 7);
                 seen.stopBefore = Checked(d, SwitchInputControl(179, 0));
                 title = TextOf(d, kSwitchGroupFirst);
                 lnk::WriteStatusByte(lnk::kStatusLoadFlags, 0x01);
               }, kSwitchTestDialogId}},
              Wait(settle),
              {Step{kSwitchTestExit, [&](plat::Hwnd d) { seen.stopAfter = Checked(d, SwitchInputControl(179, 0)); }}},
              {Step{kDiagExit, {}, kDiagnosticsDialogId}}}));
  OpenDiagnosticsDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_TRUE(seen.shorted0 && seen.activated0) << "shorted and activated both shown";
  EXPECT_TRUE(seen.activated8);
  EXPECT_FALSE(seen.shorted8);
  EXPECT_TRUE(seen.j2After) << "a change while open shows within one refresh";
  EXPECT_TRUE(seen.fan2On);
  EXPECT_TRUE(seen.port);
  EXPECT_FALSE(seen.stopBefore);
  EXPECT_TRUE(seen.stopAfter);
  if (hasPack_) {
    EXPECT_EQ(title, "J3 CONNECTOR");
  }
}

TEST_F(Diagnostics, VoltageSetupStepsWithinZeroToTenVoltsAndSendsOnlyWhatChanged) {
  lnk::WriteStatusByte(lnk::kStatusMeterRoll0, lnk::kMeterRollInUseMedium);
  lnk::WriteStatusByte(lnk::kStatusMeterRoll1, 98);
  lnk::WriteStatusByte(lnk::kStatusMeterRoll2, 50);
  lnk::WriteStatusByte(lnk::kStatusMeterRoll3, 1);
  lnk::WriteStatusByte(lnk::kStatusMeterRollSpeedPercent, 50);
  std::string high, outputNow;
  const std::vector<Step> up(3, Step{kVoltageIncrease, {}});
  const std::vector<Step> down(3, Step{kVoltageDecrease, {}});
  Drive(Join({{Step{kVoltageHighRadio, {}}}, up,
              {Step{kVoltageLowRadio, [&](plat::Hwnd d) { high = TextOf(d, kVoltageHighValue); }}}, down,
              {Step{kVoltageAccept, [&](plat::Hwnd d) {
                outputNow = TextOf(d, kVoltageOutputNow);
                EXPECT_TRUE(Checked(d, kVoltageLowRadio));
                EXPECT_FALSE(Checked(d, kVoltageHighRadio) || Checked(d, kVoltageMediumRadio)) << "one speed checked";
              }}}}));
  EXPECT_EQ(OpenMeterRollVoltageDialog(parent_), kVoltageAccept);
  EXPECT_EQ(high, "10.0 V");
  if (hasPack_) {
    EXPECT_EQ(outputNow, "Output now: MEDIUM SPEED 5.0 V");
  }
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MeterRollValue1));
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MeterRollValue2));
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MeterRollValue3));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMeterRoll1), 100);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMeterRoll3), 0);
}
