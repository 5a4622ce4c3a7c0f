// TIMER_SELECT_WINDOW through the headless backend: the four panels and their places, what each
// panel draws, SETUP presses that open the timer keypad and raise the preset's row, and EXIT.
#include "ScreenHarness.h"
#include "dialogs/TimerEntryDialog.h"
#include "i18n/StringIds.h"
#include "platform/MessageBox.h"
#include "screens/TimerSelectLogic.h"
#include "screens/TimerSelectWindow.h"

using namespace testing_support;

namespace {

constexpr plat::Color kPurple = timer_colour::kDefault;

class TimerScreen : public ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    LoadEnglish();
    screen_ = Create(screens::kTimerSelectClass, screens::TimerSelectWindowProc, plat::RectXywh(0, 0, 640, 475),
                     " SELECT TIMER TO MODIFY - 01");
    ASSERT_NE(screen_, plat::kNoWindow);
  }
  void TearDown() override {
    screens::SetMainWindow(plat::kNoWindow);
    ScreenFixture::TearDown();
  }
  plat::Hwnd Panel(TimerPanel p) { return plat::FindWindow(TimerPanelFor(p).className); }
  plat::Hwnd Button(TimerPanel p, int b) { return plat::GetDlgItem(Panel(p), TimerPanelFor(p).buttons[b].command); }
  std::u16string Text(int id) {
    char16_t t[i18n::kStringDestUnits] = {};
    i18n::GetString(id, t);
    return t;
  }
  // The text drawn by the panel that equals `text` exactly.
  const plat::CapturedText* Exactly(const std::u16string& text, plat::Hwnd panel) {
    for (int i = 0; i < plat::CapturedTextCount(); ++i) {
      const plat::CapturedText* t = plat::CapturedTextAt(i);
      if (std::u16string(t->text) == text && (t->window == panel || plat::GetParent(t->window) == panel)) return t;
    }
    ADD_FAILURE() << Narrow(text) << " not drawn; drawn:\n" << AllTexts();
    return nullptr;
  }
  void ExpectColour(const std::u16string& text, plat::Hwnd panel, plat::Color colour) {
    const plat::CapturedText* t = Exactly(text, panel);
    if (t != nullptr) {
      EXPECT_EQ(t->color, colour) << Narrow(text);
    }
  }
  plat::Hwnd screen_ = plat::kNoWindow;
};

}  // namespace

TEST_F(TimerScreen, FourPanelsOfEqualSizeInTwoByTwoGrid) {
  const plat::Rect load = plat::GetChildRect(Panel(TimerPanel::LoadDelay));
  const plat::Rect grain = plat::GetChildRect(Panel(TimerPanel::OutOfGrain));
  const plat::Rect fan = plat::GetChildRect(Panel(TimerPanel::Fan));
  const plat::Rect unload = plat::GetChildRect(Panel(TimerPanel::UnloadDelay));
  for (const plat::Rect& r : {grain, fan, unload}) {
    EXPECT_EQ(r.Width(), load.Width());
    EXPECT_EQ(r.Height(), load.Height());
  }
  EXPECT_EQ(grain.top, load.top);
  EXPECT_GE(grain.left, load.right);
  EXPECT_EQ(fan.left, load.left);
  EXPECT_GE(fan.top, load.bottom);
  EXPECT_EQ(unload.left, grain.left);
  EXPECT_EQ(unload.top, fan.top);
  for (TimerPanel p : {TimerPanel::LoadDelay, TimerPanel::OutOfGrain, TimerPanel::Fan, TimerPanel::UnloadDelay})
    EXPECT_EQ(plat::GetParent(Panel(p)), screen_);
  // The return button stays below the grid.
  const plat::Rect exit = plat::GetChildRect(plat::GetDlgItem(screen_, screens::kTimerSelectExit));
  EXPECT_GE(exit.top, unload.bottom);
  EXPECT_LE(exit.bottom, plat::GetClientRect(screen_).bottom);
  // One SETUP button on each panel, two on the fan panel.
  EXPECT_NE(Button(TimerPanel::Fan, 1), plat::kNoWindow);
  EXPECT_NE(Button(TimerPanel::UnloadDelay, 0), plat::kNoWindow);
  Set(lnk::kStatusLoadStartupDelay, 1);
  Set(lnk::kStatusOutOfGrainTime, 8);
  Set(lnk::kStatusFanDelay + 1, 3);
  Set(lnk::kStatusUnloadCleanoutDelay, 1);
  lnk::Derived().previousLoadSeconds = 431;
  Repaint(screen_);
  Screenshot("timer_select.png");
}

TEST_F(TimerScreen, SetupOpensTheKeypadOnTheReportedPresetAndAcceptRaisesItsRow) {
  struct Case {
    TimerPanel panel;
    int button;
    lnk::CommandRow row;
    int reg;  // the minutes register of the request; seconds follow
    uint8_t reported[2];
    const char* shown;
    const char* maximum;
    std::vector<int> minutes, seconds;
    uint8_t sent[2];
  };
  const Case cases[] = {
      {TimerPanel::LoadDelay, 0, lnk::CommandRow::LoadStartupDelay, 31, {1, 0}, " 001 : 00 ", "= 10:00", {2}, {1, 5}, {2, 15}},
      {TimerPanel::OutOfGrain, 0, lnk::CommandRow::OutOfGrainTime, 26, {8, 0}, " 008 : 00 ", "= 30:00", {2, 5}, {0}, {25, 0}},
      {TimerPanel::Fan, 0, lnk::CommandRow::FanDelay, 46, {0, 3}, " 000 : 03 ", "= 00:25", {}, {2, 0}, {0, 20}},
      {TimerPanel::Fan, 1, lnk::CommandRow::FanSetupTime, lnk::Page1(13), {5, 9}, " 005 : 09 ", "= 60:00", {4, 5}, {3, 0}, {45, 30}},
      {TimerPanel::UnloadDelay, 0, lnk::CommandRow::UnloadCleanoutDelay, 41, {1, 0}, " 001 : 00 ", "= 10:00", {0}, {4, 5}, {0, 45}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    lnk::ResetSettingRequest();
    Set(c.reg, c.reported[0]);
    Set(c.reg + 1, c.reported[1]);
    std::u16string value, maximum;
    int dialogId = 0;
    std::vector<Step> steps{Step{0, [&](plat::Hwnd d) {
                                   dialogId = plat::DialogTemplateId(d);
                                   value = DrawnText(" : ", d);
                                   maximum = DrawnText(c.maximum, d);
                                 }}};
    for (int d : c.minutes) steps.push_back(Step{dialogs::kTimerMinutesDigits[d], {}});
    for (int d : c.seconds) steps.push_back(Step{dialogs::kTimerSecondsDigits[d], {}});
    steps.push_back(Step{dialogs::kTimerAccept, {}});
    Drive(steps);
    ASSERT_TRUE(plat::ClickWindow(Button(c.panel, c.button)));
    EXPECT_TRUE(AllStepsTaken());
    EXPECT_EQ(dialogId, dialogs::kTimerEntryDialogId);
    EXPECT_EQ(Narrow(value), c.shown);
    EXPECT_FALSE(maximum.empty()) << c.maximum;
    EXPECT_TRUE(lnk::IsPending(c.row));
    EXPECT_EQ(lnk::ReadRequestByte(c.reg), c.sent[0]);
    EXPECT_EQ(lnk::ReadRequestByte(c.reg + 1), c.sent[1]);
    // Only the preset's own row goes out.
    for (const Case& other : cases)
      if (other.row != c.row) {
        EXPECT_FALSE(lnk::IsPending(other.row));
      }
  }
}

TEST_F(TimerScreen, FanDelayOfNoneOrTwentySixSecondsIsRefusedWithTheWarning) {
  Set(lnk::kStatusFanDelay + 1, 3);
  for (std::vector<int> seconds : {std::vector<int>{0}, std::vector<int>{2, 6}}) {
    std::u16string caption;
    bool warned = false;
    std::vector<Step> steps;
    for (int d : seconds) steps.push_back(Step{dialogs::kTimerSecondsDigits[d], {}});
    steps.push_back(Step{dialogs::kTimerAccept, {}});
    steps.push_back(Step{plat::IdOk, [&](plat::Hwnd box) {
                           caption = plat::GetWindowText(box);
                           warned = plat::FindCapturedText(kOutOfRangeText, box) != nullptr;
                         },
                         plat::kMessageBoxTemplateId});
    Drive(steps);
    ASSERT_TRUE(plat::ClickWindow(Button(TimerPanel::Fan, 0)));
    EXPECT_TRUE(AllStepsTaken());
    EXPECT_TRUE(warned);
    EXPECT_EQ(Narrow(caption), kOutOfRangeCaption);
    EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::FanDelay));
  }
}

TEST_F(TimerScreen, LoadDelayPanelDrawsTitlePresetHelpDefaultAndNote) {
  Set(lnk::kStatusLoadStartupDelay, 3);
  Set(lnk::kStatusLoadStartupDelay + 1, 7);
  const plat::Hwnd panel = Panel(TimerPanel::LoadDelay);
  Repaint(panel);
  ExpectColour(Text(kTimerTextPreset), panel, timer_colour::kPresetLabel);
  ExpectColour(u"003 " + Text(kTimerTextMinutes), panel, timer_colour::kPresetValue);
  ExpectColour(u"07 " + Text(kTimerTextSeconds), panel, timer_colour::kPresetValue);
  ExpectColour(Text(i18n::kStringDefault) + u" = 1 " + Text(kTimerTextMinutes), panel, kPurple);
  ExpectColour(Text(kTimerTextLoadNote), panel, timer_colour::kNote);
  // Title, help lines and the default line from top to bottom.
  int lastTop = -1;
  for (int id : {45, 52, 53, 54}) {
    const plat::CapturedText* t = Exactly(Text(id), panel);
    ASSERT_NE(t, nullptr) << id;
    if (id != 45) {
      EXPECT_EQ(t->color, timer_colour::kHelp) << id;
    }
    EXPECT_GT(t->rect.top, lastTop) << id;
    lastTop = t->rect.top;
  }
  EXPECT_EQ(Narrow(plat::GetWindowText(panel)), Narrow(Text(kTimerTextLoadDelayTitle)));
  EXPECT_EQ(Narrow(plat::GetWindowText(screen_)), Narrow(Text(kTimerScreenTitleId)));
}

TEST_F(TimerScreen, OutOfGrainPanelShowsThePreviousLoadTimeAboveItsHelp) {
  Set(lnk::kStatusOutOfGrainTime, 12);
  lnk::Derived().previousLoadSeconds = 125;
  // Every bit of byte 179 but the load switch.
  Set(lnk::kStatusLoadFlags, 0xF7);
  const plat::Hwnd panel = Panel(TimerPanel::OutOfGrain);
  Repaint(panel);
  const plat::CapturedText* label = Exactly(Text(kTimerTextPreviousLoad), panel);
  const plat::CapturedText* time = Exactly(Text(kTimerTextMinutes) + u": 002     " + Text(kTimerTextSeconds) + u": 05", panel);
  const plat::CapturedText* help = Exactly(Text(kTimerTextOutOfGrainHelp1), panel);
  ASSERT_TRUE(label && time && help);
  EXPECT_LT(label->rect.top, time->rect.top);
  EXPECT_LT(time->rect.top, help->rect.top);
  ExpectColour(u"012 " + Text(kTimerTextMinutes), panel, timer_colour::kPresetValue);
  ExpectColour(Text(kTimerTextOutOfGrainHelp2), panel, timer_colour::kHelp);
  ExpectColour(Text(i18n::kStringDefault) + u" = 8 " + Text(kTimerTextMinutes), panel, kPurple);
  ExpectColour(Text(kTimerTextOutOfGrainNote), panel, timer_colour::kNote);
  EXPECT_EQ(plat::FindCapturedText(kLoadSwitchOnLines[0], panel), nullptr);
}

TEST_F(TimerScreen, LoadSwitchOnShowsTheTwoFixedEnglishLinesInEveryLanguage) {
  lnk::Derived().previousLoadSeconds = 125;
  Set(lnk::kStatusLoadFlags, 0x08);
  const plat::Hwnd panel = Panel(TimerPanel::OutOfGrain);
  for (i18n::LanguageId language : {i18n::kEnglish, i18n::kGerman}) {
    SCOPED_TRACE(static_cast<int>(language));
    i18n::SetLanguage(language);
    Repaint(panel);
    for (const char* line : kLoadSwitchOnLines) {
      const plat::CapturedText* t = plat::FindCapturedText(line, panel);
      ASSERT_NE(t, nullptr) << line << "\n" << AllTexts();
      EXPECT_EQ(Narrow(t->text), line);
      EXPECT_EQ(t->color, timer_colour::kLoadSwitchOn);
    }
    EXPECT_EQ(plat::FindCapturedText(": 002", panel), nullptr);
    for (int i = 0; i < plat::CapturedTextCount(); ++i)
      EXPECT_NE(std::u16string(plat::CapturedTextAt(i)->text), Text(kTimerTextPreviousLoad));
    // The rest of the panel follows the language.
    Exactly(Text(kTimerTextOutOfGrainTitle), panel);
    Exactly(Text(kTimerTextOutOfGrainHelp1), panel);
  }
  EXPECT_NE(Text(kTimerTextOutOfGrainTitle), u" Out of Grain Timer");
}

TEST_F(TimerScreen, FanPanelDrawsBothPresetsWithTheirHelpUnderTheirOwnButton) {
  Set(lnk::kStatusFanDelay, 0);
  Set(lnk::kStatusFanDelay + 1, 3);
  Set(lnk::kStatusFanSetupTime, 12);
  Set(lnk::kStatusFanSetupTime + 1, 34);
  const plat::Hwnd panel = Panel(TimerPanel::Fan);
  Repaint(panel);
  ExpectColour(u"000 " + Text(kTimerTextMinutes), panel, timer_colour::kPresetValue);
  ExpectColour(u"03 " + Text(kTimerTextSeconds), panel, timer_colour::kPresetValue);
  ExpectColour(u"012 " + Text(kTimerTextMinutes), panel, timer_colour::kPresetValue);
  ExpectColour(u"34 " + Text(kTimerTextSeconds), panel, timer_colour::kPresetValue);
  const plat::CapturedText* delayHelp = Exactly(Text(kTimerTextFanDelayHelp), panel);
  const plat::CapturedText* timerHelp = Exactly(Text(kTimerTextFanTimerHelp), panel);
  ASSERT_TRUE(delayHelp && timerHelp);
  const plat::Rect upper = plat::GetChildRect(Button(TimerPanel::Fan, 0));
  const plat::Rect lower = plat::GetChildRect(Button(TimerPanel::Fan, 1));
  const int panelTop = plat::GetWindowRect(panel).top;
  EXPECT_GE(delayHelp->rect.top - panelTop, upper.bottom);
  EXPECT_LE(delayHelp->rect.bottom - panelTop, lower.top);
  EXPECT_GE(timerHelp->rect.top - panelTop, lower.bottom);
  EXPECT_EQ(plat::FindCapturedText(" = ", panel), nullptr) << "the fan panel has no default line";
}

TEST_F(TimerScreen, UnloadPanelWrapsItsTwoHelpStringsIntoAtMostThreeLinesOfForty) {
  const plat::Hwnd panel = Panel(TimerPanel::UnloadDelay);
  Repaint(panel);
  std::u16string joined;
  int lines = 0;
  for (int i = 0; i < plat::CapturedTextCount(); ++i) {
    const plat::CapturedText* t = plat::CapturedTextAt(i);
    if (t->color != timer_colour::kHelp || t->window != panel || std::u16string(t->text) == Text(kTimerTextUnloadDelayTitle)) continue;
    const std::u16string line(t->text);
    EXPECT_LE(line.size(), kUnloadHelpWidth) << Narrow(line);
    if (!joined.empty()) joined += u" ";
    joined += line;
    ++lines;
  }
  EXPECT_GE(lines, 2);
  EXPECT_LE(lines, kUnloadHelpMaxLines);
  // The English texts fit in three lines, so nothing is lost, the last character included.
  EXPECT_EQ(Narrow(joined), Narrow(Text(kTimerTextUnloadHelp1) + u" " + Text(kTimerTextUnloadHelp2)));
  ExpectColour(Text(i18n::kStringDefault) + u" = 1 " + Text(kTimerTextMinutes), panel, kPurple);
  ExpectColour(Text(kTimerTextUnloadNote), panel, timer_colour::kNote);
}

TEST_F(TimerScreen, ExitHidesTheScreenAndAsksForTheMainScreen) {
  ASSERT_TRUE(plat::RegisterClass(plat::WindowClass{.name = "MAIN_RECORDER", .proc = MainRecorder}));
  const plat::Hwnd main = plat::CreateWindow(plat::WindowDesc{.className = "MAIN_RECORDER", .rect = {0, 0, 10, 10}});
  screens::SetMainWindow(main);
  g_mainCommands.clear();
  ASSERT_TRUE(plat::IsWindowVisible(screen_));
  ASSERT_TRUE(plat::ClickWindow(plat::GetDlgItem(screen_, screens::kTimerSelectExit)));
  EXPECT_FALSE(plat::IsWindowVisible(screen_));
  ASSERT_EQ(g_mainCommands.size(), 1u);
  EXPECT_EQ(g_mainCommands[0], screens::kCmdShowMainScreen);
}

TEST_F(TimerScreen, UnloadHelpLongerThanThreeLinesIsCutAtTheThirdLine) {
  // A translation whose two help strings need five lines of forty characters.
  std::u16string file;
  for (int id = 1; id <= 68; ++id) {
    if (id == 67 || id == 68) {
      for (int w = 0; w < 10; ++w) file += u"cleanout ";
    } else {
      file += u"x";
    }
    file += u"\r\n";
  }
  ReplacePackFile("EnglishStrings.txt", file);
  i18n::LoadStringTable();
  ASSERT_EQ(Text(kTimerTextUnloadHelp1).size(), 90u);
  const plat::Hwnd panel = Panel(TimerPanel::UnloadDelay);
  Repaint(panel);
  int lines = 0;
  for (int i = 0; i < plat::CapturedTextCount(); ++i) {
    const plat::CapturedText* t = plat::CapturedTextAt(i);
    if (t->color != timer_colour::kHelp || t->window != panel || std::u16string(t->text) == Text(kTimerTextUnloadDelayTitle)) continue;
    EXPECT_LE(std::u16string(t->text).size(), kUnloadHelpWidth);
    EXPECT_EQ(std::u16string(t->text).substr(0, 8), u"cleanout");
    ++lines;
  }
  EXPECT_EQ(lines, kUnloadHelpMaxLines) << AllTexts();
  // The lines after the help still come.
  ExpectColour(u"x = 1 x", panel, kPurple);
}

TEST_F(TimerScreen, PaintingTheTitlesDoesNotAskForAnotherPaint) {
  Repaint(screen_);
  plat::PumpUntilIdle();
  plat::ClearCapturedText();
  plat::PumpUntilIdle();
  EXPECT_EQ(plat::CapturedTextCount(), 0) << AllTexts();
}
