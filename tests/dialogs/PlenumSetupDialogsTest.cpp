// The burner differential dialog (170) and the plenum temperature manager dialog (514): their
// working values and steps, what ACCEPT raises, and both dialogs driven by presses.
#include <cstring>

#include "DialogDriver.h"
#include "dialogs/PlenumSetupDialogs.h"
#include "dialogs/PlenumSetupLogic.h"
#include "platform/MessageBox.h"

using namespace testing_support;
using namespace dialogs;

namespace {

lnk::DryerStatus Snapshot() {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  return s;
}

class PlenumSetupLogic : public ::testing::Test {
 protected:
  void SetUp() override {
    lnk::ResetDryerStatus();
    lnk::ResetSettingRequest();
  }
  void TearDown() override {
    lnk::ResetDryerStatus();
    lnk::ResetSettingRequest();
  }
  int PendingDifferentials() {
    int count = 0;
    for (int n = 1; n <= kDifferentialPlenums; ++n) count += lnk::IsPending(PlenumDifferentialRow(n)) ? 1 : 0;
    return count;
  }
};

}  // namespace

TEST_F(PlenumSetupLogic, DifferentialsOpenOnTheControllersValuesAndAcceptSendsOnlyTheChangedPlenum) {
  for (int n = 1; n <= kDifferentialPlenums; ++n) {
    EXPECT_EQ(PlenumDifferentialRegister(n), lnk::RegisterIndex(0, 101 - n));
    EXPECT_EQ(lnk::RowRegister(lnk::RowInfo(PlenumDifferentialRow(n))), lnk::RegisterIndex(0, 101 - n));
    lnk::WriteStatusByte(PlenumDifferentialRegister(n), static_cast<uint8_t>(n % 5 + 1));
  }
  BurnerDifferentials d{};
  d.selected = 4;
  OpenBurnerDifferentials(d, Snapshot());
  EXPECT_EQ(d.selected, 1);
  for (int n = 1; n <= kDifferentialPlenums; ++n) EXPECT_EQ(d.value[n - 1], n % 5 + 1);

  // Leaving without a change raises nothing.
  EXPECT_EQ(AcceptBurnerDifferentials(d, Snapshot()), 0);
  EXPECT_EQ(PendingDifferentials(), 0);

  SelectDifferentialPlenum(d, 6);
  SetSelectedDifferential(d, 0);
  SetSelectedDifferential(d, 6);
  EXPECT_EQ(d.value[5], 2) << "only 1..5 degrees";
  SetSelectedDifferential(d, 5);
  EXPECT_EQ(AcceptBurnerDifferentials(d, Snapshot()), 1);
  EXPECT_TRUE(lnk::IsPending(PlenumDifferentialRow(6)));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::RegisterIndex(0, 95)), 5);
  EXPECT_EQ(PendingDifferentials(), 1);
}

TEST_F(PlenumSetupLogic, AValueStillWaitingToBeSentIsWhatTheDialogsOpenOnAndKeep) {
  lnk::WriteStatusByte(PlenumDifferentialRegister(2), 1);
  lnk::RequestByte(PlenumDifferentialRegister(2), 4, PlenumDifferentialRow(2));
  BurnerDifferentials d{};
  OpenBurnerDifferentials(d, Snapshot());
  EXPECT_EQ(d.value[1], 4);
  // Accepting it unchanged keeps the pending value going out.
  AcceptBurnerDifferentials(d, Snapshot());
  EXPECT_TRUE(lnk::IsPending(PlenumDifferentialRow(2)));
  EXPECT_EQ(lnk::ReadRequestByte(PlenumDifferentialRegister(2)), 4);

  lnk::WriteStatusByte(lnk::kStatusSetup50, 0x00);
  lnk::RequestByte(lnk::kStatusSetup50, 0x9A, lnk::CommandRow::SetupByte50);
  EXPECT_EQ(OpenManagerValue(Snapshot()), 0x9A);
  // Changed back to the controller's value while the old request waits: that goes out instead.
  EXPECT_TRUE(AcceptManager(0x00, Snapshot()));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusSetup50), 0x00);
}

TEST_F(PlenumSetupLogic, ManagerStepsWrapRoundAndKeepTheOtherFields) {
  // Time index 7 (240 minutes) with size index 5 and the manager on.
  const uint8_t v = kManagerOnBit | (7 << 3) | 5;
  const uint8_t up = StepManagerTime(v, true);
  EXPECT_EQ(ManagerTimeIndex(up), 0) << "240 gives 15";
  EXPECT_EQ(ManagerSizeIndex(up), 5);
  EXPECT_TRUE(ManagerOn(up));
  EXPECT_EQ(ManagerTimeIndex(StepManagerTime(up, false)), 7) << "15 gives 240";
  EXPECT_EQ(ManagerTimeIndex(StepManagerTime(v, false)), 6);

  EXPECT_EQ(ManagerSizeIndex(StepManagerSize(7, true)), 0);
  EXPECT_EQ(ManagerSizeIndex(StepManagerSize(0, false)), 7);
  EXPECT_EQ(ManagerTimeIndex(StepManagerSize(v, true)), 7);

  EXPECT_FALSE(ManagerOn(ToggleManager(v)));
  EXPECT_EQ(ToggleManager(v) & 0x7F, v & 0x7F);

  char16_t text[64];
  FormatManagerTime(v, u"MINUTES", text, 64);
  EXPECT_EQ(Narrow(text), "240 MINUTES");
  FormatManagerSize(v, text, 64);
  EXPECT_EQ(Narrow(text), "15 \xb0" "F");
  FormatManagerSize(StepManagerSize(v, true), text, 64);
  EXPECT_EQ(Narrow(text), "20 \xb0" "F");

  lnk::WriteStatusByte(lnk::kStatusSetup50, v);
  EXPECT_FALSE(AcceptManager(v, Snapshot()));
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::SetupByte50));
  EXPECT_TRUE(AcceptManager(up, Snapshot()));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusSetup50), up);
}

namespace {

class PlenumSetupDialogs : public HeadlessFixture {
 protected:
  void SetUp() override {
    HeadlessFixture::SetUp();
    if (hasPack_) i18n::EnsureLanguageLoaded();
  }
  std::string Field(plat::Hwnd dialog, int id) { return Narrow(plat::GetWindowText(plat::GetDlgItem(dialog, id))); }
};

void Screenshot(const char* name) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(DRYER_BINARY_DIR) / "screenshots", ec);
  plat::ScreenshotPng((std::filesystem::path(DRYER_BINARY_DIR) / "screenshots" / name).c_str());
}

}  // namespace

TEST_F(PlenumSetupDialogs, DifferentialOfTheSelectedPlenumIsSetAndDrawnInFahrenheitEvenWithSiUnits) {
  ASSERT_TRUE(hasPack_) << "build the language_packs target first";
  lnk::WriteStatusByte(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsCelsius);
  for (int n = 1; n <= 6; ++n) lnk::WriteStatusByte(PlenumDifferentialRegister(n), 2);
  plat::CapturedText selected{};
  plat::Color plenum1Colour{};
  std::string caption;
  Drive({Step{0, [&](plat::Hwnd d) {
           caption = Narrow(plat::GetWindowText(d));
           const plat::CapturedText* t = plat::FindCapturedText("PLENUM 1: ", d);
           ASSERT_NE(t, nullptr);
           plenum1Colour = t->color;
         }},
         Step{kDifferentialPlenumButtons[2], {}},
         Step{kDifferentialDegreeButtons[3], {}},
         Step{0, [&](plat::Hwnd d) {
           const plat::CapturedText* t = plat::FindCapturedText("PLENUM 3:", d);
           ASSERT_NE(t, nullptr);
           selected = *t;
           Screenshot("burner_differential.png");
         }},
         Step{kDifferentialAccept, {}}});
  EXPECT_EQ(OpenBurnerDifferentialDialog(parent_), kDifferentialAccept);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(caption, "BURNER DIFFERENTIAL SETUP - 24");
  EXPECT_EQ(plenum1Colour, plat::Rgb(255, 0, 0)) << "plenum 1 is selected on opening";
  EXPECT_EQ(Narrow(selected.text), "PLENUM 3:   4 \xb0" "F ");
  EXPECT_EQ(selected.color, plat::Rgb(255, 0, 0));
  EXPECT_TRUE(lnk::IsPending(PlenumDifferentialRow(3)));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::RegisterIndex(0, 98)), 4);
  for (int n : {1, 2, 4, 5, 6}) EXPECT_FALSE(lnk::IsPending(PlenumDifferentialRow(n))) << "plenum " << n;
}

TEST_F(PlenumSetupDialogs, DifferentialHelpShowsItsFileAndLeavingUnchangedRaisesNothing) {
  ASSERT_TRUE(hasPack_) << "build the language_packs target first";
  std::string boxCaption;
  bool boxHasText = false;
  Drive({Step{kDifferentialHelp, {}},
         Step{plat::IdOk,
              [&](plat::Hwnd box) {
                EXPECT_EQ(plat::DialogTemplateId(box), plat::kMessageBoxTemplateId);
                boxCaption = Narrow(plat::GetWindowText(box));
                boxHasText = plat::CapturedTextCount() > 0 && plat::FindCapturedText("differential", box) != nullptr;
              }},
         Step{kDifferentialAccept, {}}});
  EXPECT_EQ(OpenBurnerDifferentialDialog(parent_), kDifferentialAccept);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(boxCaption, "BURNER DIFFERENTIAL HELP");
  EXPECT_TRUE(boxHasText);
  for (int n = 1; n <= 6; ++n) EXPECT_FALSE(lnk::IsPending(PlenumDifferentialRow(n)));
}

TEST_F(PlenumSetupDialogs, ManagerShowsItsFieldsStepsThemAndOnlyAcceptSendsThem) {
  ASSERT_TRUE(hasPack_) << "build the language_packs target first";
  lnk::WriteStatusByte(lnk::kStatusSetup50, kManagerOnBit | (7 << 3) | 0);
  std::string time, size, afterTime;
  bool onChecked = false, offAfterToggle = false;
  plat::Rect placed;
  auto steps = [&](int closeWith) {
    return std::vector<Step>{
        Step{0,
             [&](plat::Hwnd d) {
               time = Field(d, kManagerTimeField);
               size = Field(d, kManagerSizeField);
               onChecked = plat::IsDlgButtonChecked(d, kManagerOnRadio);
               placed = plat::GetWindowRect(d);
             }},
        Step{kManagerTimeUp, {}},
        Step{kManagerSizeDown, {}},
        Step{kManagerSelectOnOff, {}},
        Step{closeWith, [&](plat::Hwnd d) {
               afterTime = Field(d, kManagerTimeField);
               offAfterToggle = plat::IsDlgButtonChecked(d, kManagerOffRadio);
               Screenshot("plenum_temp_manager.png");
             }}};
  };
  Drive(steps(kManagerCancel));
  EXPECT_EQ(OpenPlenumTempManagerDialog(parent_), kManagerCancel);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(time, "240 MINUTES");
  EXPECT_EQ(size, "1 \xb0" "F");
  EXPECT_TRUE(onChecked);
  EXPECT_EQ(afterTime, "15 MINUTES");
  EXPECT_TRUE(offAfterToggle);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::SetupByte50)) << "CANCEL sends nothing";
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusSetup50), 0);
  // Centred sideways, 20 pixels above the centre of the parent.
  EXPECT_EQ(placed.left + placed.Width() / 2, 320);
  EXPECT_EQ(placed.top + placed.Height() / 2, 240 - 20);

  Drive(steps(kManagerAccept));
  EXPECT_EQ(OpenPlenumTempManagerDialog(parent_), kManagerAccept);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::SetupByte50));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusSetup50), (0 << 3) | 7) << "off, 15 minutes, 25 degree steps";
}
