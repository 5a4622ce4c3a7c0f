// The two setup screens in the running panel, reached as a finger reaches them: SETUP, the doors
// (a door without its dialog refuses the finger), MORE, the language dialog, RETURN; the option
// buttons of the one-second tick; the units and metering roll reverse questions.
#include <atomic>
#include <string>

#include "dialogs/DataLoggerDialog.h"
#include "dialogs/LanguageDialog.h"
#include "i18n/Language.h"
#include "link/SettingRequest.h"
#include "platform/Backend.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"
#include "platform/Script.h"
#include "screens/SetupDoors.h"
#include "screens/SetupScreens.h"
#include "tests/shell/PanelTestSupport.h"

namespace {

using paneltest::PanelTest;
using shell::Screen;

// Rows raised while a question is answered, recorded on the raising thread.
std::atomic<bool> gRaised[lnk::kCommandRowCount];

std::string Narrow(const char16_t* s) {
  std::string out;
  for (; *s != 0; ++s) out.push_back(*s < 256 ? static_cast<char>(*s) : '?');
  return out;
}

class SetupScreens : public PanelTest {
 protected:
  // Runs a script of finger presses to its end; false when a line was refused.
  bool Run(const std::string& script) {
    if (plat::StartScriptText(script.c_str()) != plat::ScriptResult::Ok) return false;
    for (int i = 0; i < 200 && plat::ScriptRunning(); ++i) plat::RunFor(50);
    return !plat::ScriptRunning() && plat::ScriptErrorLine() == 0;
  }
  static std::string Press(int id) { return "press " + std::to_string(id) + "\nwait 50\n"; }
  plat::Hwnd Button(Screen s, int id) const { return plat::GetDlgItem(Window(s), id); }
  std::string Title(Screen s) const { return Narrow(plat::GetWindowText(Window(s))); }
};

TEST_F(SetupScreens, WalkThroughBothScreensReachesEveryWiredDoorAndReturnRestoresTheMainScreen) {
  lnk::WriteStatusByte(lnk::kStatusControllerDisplayOptions, lnk::kControllerDisplayBit1 | lnk::kControllerDisplayBit2);
  ASSERT_TRUE(Run(Press(screens::kCmdSetup)));
  ASSERT_TRUE(Visible(Screen::SetupSelection));
  EXPECT_EQ(screens::UiState().mainScreenShowing, 0);
  EXPECT_EQ(Title(Screen::SetupSelection), " SELECT HARDWARE SETUP PARAMETER TO MODIFY - 03");

  // Every door is on one of the screens, wholly on the screen; a door is enabled exactly when
  // its dialog is there to open.
  ASSERT_TRUE(Run(Press(screens::kSetupMore)));
  ASSERT_TRUE(Visible(Screen::ExtendedSetup));
  EXPECT_FALSE(Visible(Screen::SetupSelection));
  ASSERT_TRUE(Run(Press(screens::kSetupReturn) + Press(screens::kCmdSetup)));
  for (const screens::SetupDoor& door : screens::kSetupDoors) {
    SCOPED_TRACE(door.control);
    int placed = 0;
    for (Screen s : {Screen::SetupSelection, Screen::ExtendedSetup}) {
      const plat::Hwnd b = Button(s, door.control);
      if (b == plat::kNoWindow) continue;
      ++placed;
      const plat::Rect r = plat::GetWindowRect(b);
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= plat::kScreenWidth && r.bottom <= plat::kScreenHeight);
      EXPECT_EQ(plat::IsWindowEnabled(b), door.open != nullptr);
    }
    EXPECT_GE(placed, 1);
  }
  // A finger cannot press a door whose dialog is missing.
  for (const screens::SetupDoor& door : screens::kSetupDoors) {
    if (door.open != nullptr || Button(Screen::SetupSelection, door.control) == plat::kNoWindow) continue;
    EXPECT_FALSE(Run(Press(door.control))) << door.control;
  }

  // A wired door opens its dialog: its EXIT is only there while it is open.
  ASSERT_TRUE(Run(Press(screens::kSetupDataLogger) + Press(dialogs::kLoggerExit)));
  EXPECT_TRUE(Visible(Screen::SetupSelection));

  // The language dialog switches the language, and the extended screen speaks it at once.
  ASSERT_TRUE(Run(Press(screens::kSetupMore) + Press(screens::kExtendedLanguage) +
                  Press(dialogs::kLanguageButtonGerman)));
  EXPECT_EQ(Title(Screen::ExtendedSetup), " ZU \xC4NDERNDEN SETUP-PARAMETER W\xC4HLEN - 06");

  // A warning stays behind the setup screens and comes back with the main screen.
  lnk::WriteStatusByte(lnk::kStatusWarningNode, 2);
  lnk::WriteStatusByte(lnk::kStatusWarningId, 1);
  plat::RunFor(200);
  EXPECT_FALSE(Visible(Screen::Warning));
  ASSERT_TRUE(Run(Press(screens::kSetupReturn)));
  EXPECT_FALSE(Visible(Screen::ExtendedSetup));
  EXPECT_TRUE(Visible(Screen::DryerPic));
  EXPECT_TRUE(plat::IsWindowVisible(shell::MainButton(2)));
  EXPECT_EQ(screens::UiState().mainScreenShowing, 1);
  plat::RunFor(200);
  EXPECT_TRUE(Visible(Screen::Warning));
}

TEST_F(SetupScreens, OptionButtonsFollowTheControllerWithinASecond) {
  struct Case {
    uint8_t displayOptions;  // byte 183
    uint8_t dryerSwitch;     // byte 225
    bool burnerMode, sampler, meterRollReverse;
  };
  const Case cases[] = {
      {0, 0, true, false, false},
      {lnk::kControllerDisplayBit2, 0, true, true, false},
      {lnk::kControllerDisplayBit1, 0, true, false, true},
      {lnk::kControllerDisplayBit1, lnk::kConfigBitsHardwareChoice, false, false, false},
      {lnk::kControllerDisplayBit1 | lnk::kControllerDisplayBit2, lnk::kConfigBitsHardwareChoice, false, true,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.displayOptions) << " " << int(c.dryerSwitch));
    // The extended screen is open when the controller's options change: the tick follows them.
    ASSERT_TRUE(Run(Press(screens::kCmdSetup) + Press(screens::kSetupMore)));
    lnk::WriteStatusByte(lnk::kStatusControllerDisplayOptions, c.displayOptions);
    lnk::WriteStatusByte(lnk::kStatusConfigBits, c.dryerSwitch);
    plat::RunFor(1000);
    EXPECT_EQ(plat::IsWindowVisible(Button(Screen::ExtendedSetup, screens::kExtendedSampler)), c.sampler);
    EXPECT_EQ(plat::IsWindowVisible(Button(Screen::ExtendedSetup, screens::kExtendedMeterRollReverse)),
              c.meterRollReverse);
    ASSERT_TRUE(Run(Press(screens::kSetupReturn) + Press(screens::kCmdSetup)));
    EXPECT_EQ(plat::IsWindowVisible(Button(Screen::SetupSelection, screens::kSetupBurnerMode)), c.burnerMode);
    ASSERT_TRUE(Run(Press(screens::kSetupReturn)));
  }
}

TEST_F(SetupScreens, UnitsAndMeterRollReverseQuestionsChangeTheirBitOnlyOnYes) {
  constexpr int kOnSetup = 0;
  constexpr int kOnExtended = 1;
  struct Case {
    int screen;
    int control;
    int statusByte;
    uint8_t bit;
    bool on;
    int answer;
    const char* question;
    const char* caption;
    lnk::CommandRow row;
  };
  const char* toSi = "Switch to Metric (SI) Units (Celsius, metric ton, etc.)?";
  const char* toEnglish = "Switch to English Units (Fahrenheit, bushels, etc.)?";
  const char* activate = "Do you wish to ACTIVATE the Metering Roll Reverse Option?";
  const char* deactivate = "Do you wish to DEACTIVATE the Metering Roll Reverse Option?";
  const char* mrr = " METERING ROLL REVERSE OPTION";
  const int units = lnk::kStatusDisplayOptions;
  const int setup49 = lnk::kStatusSetup49;
  const uint8_t c = lnk::kDisplayOptionsCelsius;
  const uint8_t r = lnk::kSetup49MeterRollReverse;
  const lnk::CommandRow display = lnk::CommandRow::DisplayOptions;
  const lnk::CommandRow row49 = lnk::CommandRow::SetupByte49;
  const Case cases[] = {
      {kOnSetup, screens::kSetupUnits, units, c, false, plat::IdNo, toSi, "SWITCH TO SI UNITS OF MEASURE", display},
      {kOnSetup, screens::kSetupUnits, units, c, false, plat::IdCancel, toSi, "SWITCH TO SI UNITS OF MEASURE", display},
      {kOnSetup, screens::kSetupUnits, units, c, true, plat::IdNo, toEnglish, "SWITCH TO ENGLISH UNITS OF MEASURE",
       display},
      {kOnSetup, screens::kSetupUnits, units, c, false, plat::IdYes, toSi, "SWITCH TO SI UNITS OF MEASURE", display},
      {kOnExtended, screens::kExtendedUnitsConfirm, units, c, true, plat::IdYes, toEnglish,
       "SWITCH TO ENGLISH UNITS OF MEASURE", display},
      {kOnSetup, screens::kSetupMeterRollReverse, setup49, r, false, plat::IdYes, activate, mrr, row49},
      {kOnSetup, screens::kSetupMeterRollReverse, setup49, r, true, plat::IdCancel, deactivate, mrr, row49},
      {kOnExtended, screens::kExtendedMeterRollReverse, setup49, r, true, plat::IdYes, deactivate, mrr, row49},
  };
  for (auto& r : gRaised) r = false;
  lnk::SetRaiseObserver([](lnk::CommandRow row) { gRaised[static_cast<int>(row)] = true; });
  plat::StartTextCapture();
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.control << " " << k.on << " " << k.answer);
    lnk::ResetSettingRequest();
    // Other bits of the register stay as the controller has them.
    lnk::WriteStatusByte(k.statusByte, static_cast<uint8_t>((k.on ? k.bit : 0) | 0x20));
    lnk::WriteStatusByte(lnk::kStatusControllerDisplayOptions, lnk::kControllerDisplayBit1);
    lnk::WriteStatusByte(lnk::kStatusConfigBits, 0);
    std::string walk = Press(screens::kCmdSetup);
    if (k.screen == kOnExtended) walk += Press(screens::kSetupMore);
    ASSERT_TRUE(Run(walk));
    plat::ClearCapturedText();
    ASSERT_TRUE(Run(Press(k.control) + Press(k.answer)));
    EXPECT_NE(plat::FindCapturedText(k.question), nullptr);
    EXPECT_NE(plat::FindCapturedText(k.caption), nullptr);
    // The link thread may send a raised row before the check, so the raise itself is what counts.
    const bool raised = gRaised[static_cast<int>(k.row)].exchange(false);
    if (k.answer == plat::IdYes) {
      EXPECT_TRUE(raised);
      EXPECT_EQ(lnk::ReadRequestByte(k.statusByte), static_cast<uint8_t>((k.on ? 0 : k.bit) | 0x20));
    } else {
      EXPECT_FALSE(raised);
      EXPECT_FALSE(lnk::IsPending(k.row));
    }
    ASSERT_TRUE(Run(Press(screens::kSetupReturn)));
    lnk::WriteStatusByte(k.statusByte, 0);
  }
  lnk::SetRaiseObserver(nullptr);
}

// The controller's bit decides until the panel asks for a change; then the question follows
// what the panel asked for, so a second press before the echo offers the way back.
TEST_F(SetupScreens, SecondUnitsSwitchBeforeTheEchoAsksForTheWayBack) {
  plat::StartTextCapture();
  ASSERT_TRUE(Run(Press(screens::kCmdSetup) + Press(screens::kSetupUnits) + Press(plat::IdYes)));
  ASSERT_TRUE(lnk::IsPending(lnk::CommandRow::DisplayOptions));
  plat::ClearCapturedText();
  ASSERT_TRUE(Run(Press(screens::kSetupUnits) + Press(plat::IdYes)));
  EXPECT_NE(plat::FindCapturedText("Switch to English Units"), nullptr);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestDisplayOptions) & lnk::kDisplayOptionsCelsius, 0);
}

}  // namespace
