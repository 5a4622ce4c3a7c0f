// TEMP_SELECT_WINDOW through the headless backend: the buttons each dryer shows, what is drawn
// beside them, a press opening the setpoint keypad and ACCEPT raising the right request, the
// grain panel's texts and EXIT.
#include <vector>

#include "ScreenHarness.h"
#include "dialogs/KeypadLogic.h"
#include "dialogs/SetpointEntryDialog.h"
#include "i18n/StringIds.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"
#include "screens/StatusReading.h"
#include "screens/TempSelectLogic.h"

using namespace testing_support;

namespace {

class TempSelectWindow : public ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    screen_ = Create(screens::kTempSelectClass, screens::TempSelectWindowProc, plat::RectXywh(0, 0, 640, 475),
                     " SELECT TEMPERATURE SETPOINT TO MODIFY - 02");
    ASSERT_NE(screen_, plat::kNoWindow);
    plenum_ = plat::FindWindow(kPlenumSetpointChildClass);
    grain_ = plat::FindWindow(kGrainSetpointChildClass);
    ASSERT_NE(plenum_, plat::kNoWindow);
    ASSERT_NE(grain_, plat::kNoWindow);
  }
  void PaintAll() {
    screens::RefreshScreen(screen_);
    plat::ClearCapturedText();
    plat::InvalidateRect(screen_, nullptr, true);
    plat::InvalidateRect(plenum_, nullptr, true);
    plat::InvalidateRect(grain_, nullptr, true);
    plat::UpdateWindow(screen_);
  }
  plat::Hwnd PlenumButtonWindow(PlenumButton b) {
    return plat::GetDlgItem(plenum_, kPlenumButtons[static_cast<int>(b)].controlId);
  }
  plat::Hwnd GrainButtonWindow(GrainButton b) {
    return plat::GetDlgItem(grain_, kGrainButtons[static_cast<int>(b)].controlId);
  }
  std::vector<PlenumButton> VisiblePlenumButtons() {
    std::vector<PlenumButton> out;
    for (int i = 0; i < kPlenumButtonCount; ++i)
      if (plat::IsWindowVisible(PlenumButtonWindow(static_cast<PlenumButton>(i))))
        out.push_back(static_cast<PlenumButton>(i));
    return out;
  }
  void Dryer(int type, int plenumCode, bool twoHeat = false) {
    Set(lnk::kStatusDryerType, static_cast<uint8_t>(type));
    Set(lnk::kStatusFanHeaterCount, static_cast<uint8_t>(plenumCode));
    Set(lnk::kStatusOptionBits, twoHeat ? 0x02 : 0x00);
  }
  void Celsius(bool on) { Set(lnk::kStatusDisplayOptions, on ? lnk::kDisplayOptionsCelsius : 0); }
  // Clears the keypad, types the digits and accepts.
  std::vector<Step> Type(std::initializer_list<int> digits) {
    std::vector<Step> steps = Clicks({dialogs::kSetpointClear});
    for (int d : digits) steps.push_back(Step{dialogs::kSetpointDigits[d], {}});
    steps.push_back(Step{dialogs::kSetpointAccept, {}});
    return steps;
  }
  int Request16(int reg) { return lnk::ReadRequestByte(reg) | (lnk::ReadRequestByte(reg + 1) << 8); }

  plat::Hwnd screen_ = plat::kNoWindow;
  plat::Hwnd plenum_ = plat::kNoWindow;
  plat::Hwnd grain_ = plat::kNoWindow;
};

using PB = PlenumButton;

}  // namespace

TEST_F(TempSelectWindow, PlenumButtonsFollowThePlenumCountAndOnePlenumSitsBottomLeft) {
  Dryer(0, 0);
  PaintAll();
  ASSERT_EQ(VisiblePlenumButtons(), (std::vector<PB>{PB::Plenum1}));
  const plat::Rect one = plat::GetWindowRect(PlenumButtonWindow(PB::Plenum1));
  const plat::Rect panel = plat::GetWindowRect(plenum_);
  EXPECT_LT(one.right, panel.left + panel.Width() / 2) << "left column";
  EXPECT_GT(one.top, panel.top + panel.Height() / 2) << "bottom row";

  Dryer(0, 3);
  PaintAll();
  EXPECT_EQ(VisiblePlenumButtons(), (std::vector<PB>{PB::Plenum1, PB::Plenum2, PB::Plenum3, PB::Plenum4}));
  Dryer(1, 4);
  PaintAll();
  EXPECT_EQ(VisiblePlenumButtons(),
            (std::vector<PB>{PB::Plenum1, PB::Plenum2, PB::Plenum3, PB::Plenum4, PB::Plenum5, PB::Plenum6}));
  Dryer(1, 1, true);
  PaintAll();
  EXPECT_EQ(VisiblePlenumButtons(), (std::vector<PB>{PB::HiHeat1, PB::LoHeat1, PB::HiHeat2, PB::LoHeat2}));
  EXPECT_FALSE(plat::IsWindowVisible(GrainButtonWindow(GrainButton::Single)));
  EXPECT_TRUE(plat::IsWindowVisible(GrainButtonWindow(GrainButton::TwoHeatSecond)));
}

TEST_F(TempSelectWindow, SetpointsBesideTheButtonsInTheDisplayUnit) {
  Dryer(0, 3);
  Set16LowFirst(lnk::kStatusPlenumSetpoint6, 180);  // plenum 1
  Set16LowFirst(lnk::kStatusPlenumSetpoint3, 212);  // plenum 4
  Set16LowFirst(lnk::kStatusGrainTempSetpoint1, 105);
  PaintAll();
  const plat::CapturedText* p1 = plat::FindCapturedText(" 180 \xb0" "F ", plenum_);
  ASSERT_NE(p1, nullptr) << AllTexts();
  EXPECT_EQ(p1->color, colour::kBlue);
  const plat::Rect button1 = plat::GetWindowRect(PlenumButtonWindow(PB::Plenum1));
  EXPECT_GE(p1->rect.left, button1.right) << "beside its button";
  EXPECT_LT(p1->rect.top, button1.bottom);
  EXPECT_NE(plat::FindCapturedText(" 212 \xb0" "F ", plenum_), nullptr) << AllTexts();
  EXPECT_NE(plat::FindCapturedText(" 105 \xb0" "F ", grain_), nullptr) << AllTexts();

  Celsius(true);
  PaintAll();
  EXPECT_NE(plat::FindCapturedText("  82 \xb0" "C ", plenum_), nullptr) << AllTexts();
  EXPECT_NE(plat::FindCapturedText(" 100 \xb0" "C ", plenum_), nullptr) << AllTexts();
  EXPECT_NE(plat::FindCapturedText("  40 \xb0" "C ", grain_), nullptr) << AllTexts();
  EXPECT_EQ(plat::FindCapturedText("\xb0" "F", screen_), nullptr) << AllTexts();

  // With the dryer type switch in the single-plenum series only plenum 1's value is drawn.
  Set(lnk::kStatusConfigBits, lnk::kConfigBitsHardwareChoice);
  PaintAll();
  EXPECT_TRUE(plat::IsWindowVisible(PlenumButtonWindow(PB::Plenum4)));
  EXPECT_NE(plat::FindCapturedText("  82 \xb0" "C ", plenum_), nullptr);
  EXPECT_EQ(plat::FindCapturedText(" 100 \xb0" "C ", plenum_), nullptr) << AllTexts();
}

TEST_F(TempSelectWindow, PressingAPlenumOpensTheKeypadOnItsValueAndAcceptRaisesItsRow) {
  Dryer(0, 4);
  Set16LowFirst(lnk::kStatusPlenumSetpoint4, 175);  // plenum 3
  PaintAll();
  std::u16string opened;
  int limitMax = 0;
  std::vector<Step> steps{Step{0, [&](plat::Hwnd active) {
    EXPECT_EQ(plat::DialogTemplateId(active), dialogs::kSetpointEntryDialogId);
    opened = DrawnText(" 175 ", active);
    limitMax = gSetpointEntryRequest.maximum;
  }}};
  for (Step& s : Type({2, 4, 5})) steps.push_back(std::move(s));
  Drive(std::move(steps));
  plat::ClickWindow(PlenumButtonWindow(PB::Plenum3));
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(Narrow(opened), " 175 \xb0" "F ");
  EXPECT_EQ(limitMax, 250);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::PlenumSetpoint4));
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::PlenumSetpoint6));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusPlenumSetpoint4), 245);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusPlenumSetpoint4 + 1), 0);
}

TEST_F(TempSelectWindow, LoHeatButtonsWriteThePageOneSetpointsAndTheLoneSecondPlenumButtonDoesNothing) {
  Dryer(1, 1, true);
  PaintAll();
  Drive(Type({1, 5, 0}));
  plat::ClickWindow(PlenumButtonWindow(PB::LoHeat1));
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::PlenumSetpoint8));
  EXPECT_EQ(Request16(lnk::kStatusPlenumSetpoint8), 150);
  Drive(Type({1, 6, 0}));
  plat::ClickWindow(PlenumButtonWindow(PB::LoHeat2));
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::PlenumSetpoint7));
  EXPECT_EQ(Request16(lnk::kStatusPlenumSetpoint7), 160);

  // Without a second plenum the plenum 2 button does not open the keypad even when pressed.
  lnk::ResetSettingRequest();
  Dryer(1, 0, true);
  Drive(Type({1, 7, 0}));
  plat::SendCommand(plenum_, kPlenumButtons[static_cast<int>(PB::HiHeat2)].controlId);
  EXPECT_EQ(g_next, 0u) << "no dialog opened";
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::PlenumSetpoint5));
  g_steps.clear();
}

TEST_F(TempSelectWindow, GrainButtonUsesTheLimitOfItsDryerType) {
  // 175 °F is above the 160 °F limit of dryer types 0 and 1: refused, nothing raised.
  Dryer(0, 0);
  PaintAll();
  std::vector<Step> refused = Type({1, 7, 5});
  refused.push_back(Step{plat::IdOk, {}});
  Drive(std::move(refused));
  plat::ClickWindow(GrainButtonWindow(GrainButton::Single));
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::GrainTempSetpoint1));

  // Type 3 has its own setpoint, up to 180 °F.
  Dryer(3, 0);
  PaintAll();
  Drive(Type({1, 7, 5}));
  plat::ClickWindow(GrainButtonWindow(GrainButton::Single));
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::GrainTempSetpoint1));
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::GrainTempSetpoint2));
  EXPECT_EQ(Request16(lnk::kStatusGrainTempSetpoint2), 175);

  // The second two-heat-level grain setpoint.
  Dryer(1, 0, true);
  PaintAll();
  Drive(Type({9, 0}));
  plat::ClickWindow(GrainButtonWindow(GrainButton::TwoHeatSecond));
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::GrainTempSetpoint3));
  EXPECT_EQ(Request16(lnk::kStatusGrainTempSetpoint3), 90);
}

TEST_F(TempSelectWindow, CelsiusEntrySendsFahrenheitThatShowsAgainAsTheTypedValue) {
  Dryer(0, 0);
  Celsius(true);
  Set16LowFirst(lnk::kStatusPlenumSetpoint6, 180);
  PaintAll();
  std::u16string opened;
  std::vector<Step> steps{Step{0, [&](plat::Hwnd active) { opened = DrawnText("\xb0", active); }}};
  for (Step& s : Type({5, 4})) steps.push_back(std::move(s));
  Drive(std::move(steps));
  plat::ClickWindow(PlenumButtonWindow(PB::Plenum1));
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(Narrow(opened), " 082 \xb0" "C ");
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::PlenumSetpoint6));
  EXPECT_EQ(Request16(lnk::kStatusPlenumSetpoint6), 130);
}

TEST_F(TempSelectWindow, TitlesAndTheGrainHelpComeFromTheStringTable) {
  LoadEnglish();
  PaintAll();
  EXPECT_EQ(Narrow(plat::GetWindowText(screen_)), " SELECT TEMPERATURE SETPOINT TO MODIFY - 02");
  EXPECT_EQ(Narrow(plat::GetWindowText(plenum_)),
            " Plenum Temperature Setpoint Adjustment (Range = 50 to 250 F -> 10 to 120 C)");
  EXPECT_EQ(Narrow(plat::GetWindowText(grain_)),
            " Grain Temperature Setpoint Adjustment (Range = 50 to 160 or 180 F -> 10 to 71 or 82 C)");
  EXPECT_NE(plat::FindCapturedText("GRAIN TEMPERATURE SETPOINT", grain_), nullptr) << AllTexts();

  auto helpLines = [&] {
    std::vector<std::string> lines;
    for (int i = 0; i < plat::CapturedTextCount(); ++i) {
      const plat::CapturedText* t = plat::CapturedTextAt(i);
      if (t->window == grain_ && t->color == colour::kRed) lines.push_back(Narrow(t->text));
    }
    return lines;
  };
  const std::vector<std::string> fahrenheit = helpLines();
  ASSERT_EQ(fahrenheit.size(), 3u) << AllTexts();
  std::string joined;
  for (const std::string& line : fahrenheit) {
    EXPECT_LE(line.size(), kGrainHelpLineChars) << line;
    joined += (joined.empty() ? "" : " ") + line;
  }
  EXPECT_EQ(joined, "The burners are turned off when the grain reaches this temperature (in F). The lowest "
                    "setpoint is 50 F.");

  Celsius(true);
  PaintAll();
  const std::vector<std::string> celsius = helpLines();
  ASSERT_FALSE(celsius.empty());
  EXPECT_EQ(celsius[0], "The burners are turned off when the");
  ASSERT_GE(celsius.size(), 2u);
  EXPECT_NE(celsius[1].find("(in C)"), std::string::npos) << celsius[1];

  Celsius(false);
  Dryer(0, 4);
  for (int n = 1; n <= 6; ++n) Set16LowFirst(lnk::RegisterIndex(0, 71 - 2 * n), 170 + 5 * n);
  Set16LowFirst(lnk::kStatusGrainTempSetpoint1, 105);
  PaintAll();
  Screenshot("temp_select.png");
  Dryer(1, 1, true);
  PaintAll();
  Screenshot("temp_select_two_heat.png");
}

TEST_F(TempSelectWindow, ExitHidesTheScreenAndAsksForTheMainScreen) {
  ASSERT_TRUE(plat::RegisterClass(plat::WindowClass{.name = "MAIN_RECORDER", .proc = MainRecorder}));
  const plat::Hwnd main = plat::CreateWindow(plat::WindowDesc{.className = "MAIN_RECORDER", .rect = {0, 0, 1, 1}});
  screens::SetMainWindow(main);
  g_mainCommands.clear();
  plat::ClickWindow(plat::GetDlgItem(screen_, kTempSelectExit));
  EXPECT_FALSE(plat::IsWindowVisible(screen_));
  EXPECT_EQ(g_mainCommands, (std::vector<int>{screens::kCmdShowMainScreen}));
  screens::SetMainWindow(plat::kNoWindow);
}

TEST_F(TempSelectWindow, PaintingTheTitlesAndButtonsDoesNotAskForAnotherPaint) {
  LoadEnglish();
  Dryer(1, 1, true);  // the first paint hides the plenum buttons and shows the grid
  PaintAll();
  plat::PumpUntilIdle();
  plat::ClearCapturedText();
  plat::PumpUntilIdle();
  EXPECT_EQ(plat::CapturedTextCount(), 0) << AllTexts();
}

TEST_F(TempSelectWindow, ExitSpeaksTheDisplayLanguage) {
  LoadEnglish();
  i18n::SetLanguage(i18n::kGerman);
  PaintAll();
  char16_t exit[i18n::kStringDestUnits] = {};
  i18n::GetString(i18n::kStringExit, exit);
  ASSERT_NE(Narrow(exit), "EXIT");
  EXPECT_EQ(plat::GetWindowText(plat::GetDlgItem(screen_, kTempSelectExit)), std::u16string(exit));
}
