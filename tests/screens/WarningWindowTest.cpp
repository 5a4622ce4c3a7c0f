// WARNING_WINDOW and the help dialog 169 through the headless backend: the connection-lost
// picture and its marker, the warning text on one or two lines, the blinking title, and the
// help picture and text chosen for a warning.
#include <memory>

#include "ScreenHarness.h"
#include "dialogs/WarningHelpDialog.h"
#include "dialogs/WarningHelpLogic.h"
#include "i18n/Resources.h"
#include "i18n/StringIds.h"
#include "link/LinkEvents.h"
#include "link/StatusDecoder.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"
#include "screens/WarningLogic.h"
#include "screens/WarningWindow.h"

using namespace testing_support;

namespace {

constexpr plat::Color kMarkerColour = plat::Rgb(0, 0, 150);
constexpr plat::Color kBarColour = plat::Rgb(0, 125, 0);

class WarningWindowScreen : public ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    screens::UiState() = screens::MainScreenState{};
  }
  void CreateWindow() {
    window_ = Create(screens::kWarningClass, screens::WarningWindowProc, plat::RectXywh(10, 20, 600, 325), "warning");
    ASSERT_NE(window_, plat::kNoWindow);
    client_ = plat::ClientToScreen(window_, plat::Point{0, 0});
  }
  void LoseLink() {
    while (lnk::LinkAliveCountdown() > 0) lnk::DecrementLinkAliveCountdown();
  }
  plat::Color ClientColour(int x, int y) {
    return plat::ColorOf(plat::ScreenPixels().At(client_.x + x, client_.y + y));
  }
  // Left end of the marker on the bar, -1 when it is not drawn.
  int MarkerLeft() {
    for (int x = 100; x < 300; ++x)
      if (ClientColour(x, 70) == kMarkerColour) return x;
    return -1;
  }
  std::u16string Text(int id) {
    char16_t t[i18n::kStringDestUnits] = {};
    i18n::GetString(id, t);
    return t;
  }
  const plat::CapturedText* Find(const std::u16string& text) {
    return plat::FindCapturedText(Narrow(text).c_str(), window_);
  }
  plat::Hwnd window_ = plat::kNoWindow;
  plat::Point client_;
};

std::u16string Repeat(char16_t c, int n) { return std::u16string(static_cast<size_t>(n), c); }

}  // namespace

TEST_F(WarningWindowScreen, LostLinkShowsOnlyTheConnectionPictureAndAsksForAResync) {
  LoadEnglish();
  CreateWindow();
  Set(lnk::kStatusWarningNode, 2);
  Set(lnk::kStatusWarningId, 5);
  LoseLink();
  ASSERT_FALSE(lnk::ResyncRequested());
  Repaint(window_);
  EXPECT_TRUE(lnk::ResyncRequested());
  EXPECT_EQ(Narrow(plat::GetWindowText(window_)), " CONNECTION TO DRYER LOST!");
  const plat::CapturedText* lost = Find(Text(kWarningTextConnectionLost));
  ASSERT_NE(lost, nullptr) << AllTexts();
  EXPECT_EQ(lost->color, kMarkerColour);
  EXPECT_EQ(Find(Text(kWarningTextCallService)), nullptr) << "no warning details while the link is lost";
  EXPECT_EQ(ClientColour(200, 70), kBarColour);
  EXPECT_EQ(MarkerLeft(), 105 - 3) << "the marker starts at the left end (a 6-pixel pen)";
  Screenshot("warning_connection_lost.png");

  lnk::ResetLinkState();  // a good frame: the details come back
  Repaint(window_);
  EXPECT_NE(Find(Text(kWarningTextCallService)), nullptr) << AllTexts();
  EXPECT_EQ(plat::GetWindowText(window_), Text(kWarningTextCaption));
}

TEST_F(WarningWindowScreen, MarkerSweepsOneStepPerBlinkStepAndPausesAtEachEnd) {
  CreateWindow();
  LoseLink();
  Repaint(window_);
  const int start = MarkerLeft();
  ASSERT_GT(start, 0);
  Repaint(window_);
  EXPECT_EQ(MarkerLeft(), start) << "no step without the blink-step bit";
  std::vector<int> positions;
  for (int i = 0; i < 30; ++i) {
    screens::UiState().displayState |= 0x02;
    Repaint(window_);
    EXPECT_EQ(screens::UiState().displayState & 0x02, 0);
    positions.push_back((MarkerLeft() - start) / 10);
  }
  // Up to 13, once more at 13, down to 0, once more at 0, up again.
  std::vector<int> expected;
  for (int p = 1; p <= 13; ++p) expected.push_back(p);
  expected.push_back(13);
  for (int p = 12; p >= 0; --p) expected.push_back(p);
  expected.push_back(0);
  expected.push_back(1);
  expected.push_back(2);
  EXPECT_EQ(positions, expected);
}

TEST_F(WarningWindowScreen, SixtyCharactersOnOneLineSixtyOneOnTwo) {
  const std::u16string sixty = Repeat(u'A', 29) + u" " + Repeat(u'B', 30);
  const std::u16string sixtyOne = Repeat(u'C', 20) + u" " + Repeat(u'D', 20) + u" " + Repeat(u'E', 19);
  ReplacePackFile("WarningsDIO.txt", u"header\r\n" + sixty + u"\r\n" + sixtyOne + u"\r\n");
  LoadEnglish();
  CreateWindow();
  Set(lnk::kStatusWarningNode, 1);
  Set(lnk::kStatusWarningId, 1);
  Repaint(window_);
  const plat::CapturedText* one = Find(sixty);
  ASSERT_NE(one, nullptr) << AllTexts();
  EXPECT_EQ(one->rect.top - client_.y, 65);
  EXPECT_EQ(one->color, plat::Rgb(255, 255, 255));

  Set(lnk::kStatusWarningId, 2);
  Repaint(window_);
  const plat::CapturedText* first = Find(Repeat(u'C', 20));
  const plat::CapturedText* second = Find(Repeat(u'E', 19));
  ASSERT_NE(first, nullptr) << AllTexts();
  ASSERT_NE(second, nullptr) << AllTexts();
  EXPECT_EQ(first->rect.top - client_.y, 60);
  EXPECT_EQ(second->rect.top - client_.y, 80);
  EXPECT_EQ(Narrow(first->text), Narrow(Repeat(u'C', 20)));
  EXPECT_EQ(Narrow(second->text), Narrow(Repeat(u'D', 20) + u" " + Repeat(u'E', 19)));
}

TEST_F(WarningWindowScreen, TitleBlinksWithTheLinkTrigger) {
  LoadEnglish();
  CreateWindow();
  Set(lnk::kStatusWarningNode, 14);
  Set(lnk::kStatusWarningId, 3);
  int shown = 0, hidden = 0;
  for (int tick = 0; tick < 16; ++tick) {
    lnk::LinkTick();
    Repaint(window_);
    const bool drawn = Find(Text(kWarningTextTitle)) != nullptr;
    EXPECT_EQ(drawn, lnk::BlinkOn()) << tick;
    (drawn ? shown : hidden)++;
  }
  EXPECT_GT(shown, 0);
  EXPECT_GT(hidden, 0);
  const plat::CapturedText* call = Find(Text(kWarningTextCallService));
  ASSERT_NE(call, nullptr);
  EXPECT_EQ(call->color, plat::Rgb(0, 255, 0));
  Screenshot("warning_details.png");
}

TEST_F(WarningWindowScreen, TemperatureStyleShowsTheGrainTemperatureInFahrenheitAlways) {
  LoadEnglish();
  CreateWindow();
  Set(lnk::kStatusWarningNode, 3);
  Set(lnk::kStatusWarningId, 5);
  Set(lnk::kStatusSwitches, 0x10);
  Set(lnk::kStatusDisplayOptions, 0x80);  // Celsius on screen does not change this line
  Set(lnk::kStatusGrainTempSelect, 1);
  Set16LowFirst(lnk::kStatusGrainTemp2, 180);
  while (!lnk::BlinkOn()) lnk::LinkTick();
  Repaint(window_);
  const std::string grain = std::string("GRAIN TEMPERATURE: 180 ") + static_cast<char>(176) + " F";
  const plat::CapturedText* t = plat::FindCapturedText(grain.c_str(), window_);
  ASSERT_NE(t, nullptr) << AllTexts();
  EXPECT_EQ(t->color, plat::Rgb(0, 0, 100));
  const plat::CapturedText* title = Find(Text(kWarningTextTemperatureTitle));
  ASSERT_NE(title, nullptr) << AllTexts();
  EXPECT_EQ(title->color, plat::Rgb(0, 0, 255));
  EXPECT_NE(Find(Text(kWarningTextFanTemperatureNote1)), nullptr) << "the fan note of the temperature style";
  EXPECT_EQ(Find(Text(kWarningTextFanNote1)), nullptr);
}

TEST_F(WarningWindowScreen, HelpForNodeFiveCodeFourShowsNodeTwosPictureAndText) {
  LoadEnglish();
  CreateWindow();
  Set(lnk::kStatusWarningNode, 5);
  Set(lnk::kStatusWarningId, 4);
  Repaint(window_);
  std::vector<std::u16string> rows;
  bool pictureShown = false;
  Drive({Step{dialogs::kWarningHelpClose, [&](plat::Hwnd d) {
                const plat::Hwnd list = plat::GetDlgItem(d, dialogs::kWarningHelpText);
                for (int i = 0; i < plat::ListItemCount(list); ++i) rows.push_back(plat::ListItemText(list, i));
                char path[200];
                ASSERT_TRUE(i18n::WarningBitmapPath(2, 2, path, sizeof path));
                plat::Bitmap expected;
                ASSERT_EQ(plat::LoadBmpFile(path, expected), plat::BmpResult::Ok);
                const plat::Point at = plat::ClientToScreen(d, plat::Point{10, 0});
                pictureShown = plat::ScreenPixels().At(at.x + 250, at.y + 200) == expected.At(250, 200) &&
                               plat::ScreenPixels().At(at.x + 100, at.y + 50) == expected.At(100, 50);
              }}});
  plat::ClickWindow(plat::GetDlgItem(window_, screens::kWarningHelpButton));
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_TRUE(pictureShown);
  ASSERT_FALSE(rows.empty());
  EXPECT_NE(rows[0], u"NO TEXT FILE AVAILABLE.");
  // Node 2's own help text for code 4, line by line.
  char path[200];
  ASSERT_TRUE(i18n::WarningTextPath(2, 4, path, sizeof path));
  std::string host;
  host.resize(400);
  ASSERT_TRUE(plat::ResolvePath(path, host.data(), host.size()));
  FILE* f = std::fopen(host.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::u16string text;
  for (int lo, hi; (lo = std::fgetc(f)) != EOF && (hi = std::fgetc(f)) != EOF;)
    text.push_back(static_cast<char16_t>(lo | (hi << 8)));
  std::fclose(f);
  const size_t firstBreak = text.find(u'\r');
  EXPECT_EQ(rows[0], text.substr(1, firstBreak - 1));
}

TEST_F(WarningWindowScreen, HelpTextLinesAndTheMissingPictureQuestion) {
  ReplacePackFile("WarningBitmaps/NID_01_WARNING_ID_40.txt", u"A\tB\r\nsecond line\r\nno end");
  LoadEnglish();
  CreateWindow();
  Set(lnk::kStatusWarningNode, 1);
  Set(lnk::kStatusWarningId, 40);  // a text but no picture
  std::vector<std::u16string> rows;
  std::u16string question;
  Drive({Step{plat::IdCancel, [&](plat::Hwnd box) {
    EXPECT_EQ(plat::DialogTemplateId(box), plat::kMessageBoxTemplateId);
    question = plat::GetWindowText(box);
    const plat::Hwnd help = plat::FindOpenDialog(dialogs::kWarningHelpDialogId);
    const plat::Hwnd list = plat::GetDlgItem(help, dialogs::kWarningHelpText);
    for (int i = 0; i < plat::ListItemCount(list); ++i) rows.push_back(plat::ListItemText(list, i));
  }, plat::kMessageBoxTemplateId}});
  plat::ClickWindow(plat::GetDlgItem(window_, screens::kWarningHelpButton));
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(question, Text(i18n::kStringPictureMissingCaption));
  EXPECT_EQ(rows, (std::vector<std::u16string>{u"A    B", u"second line"}));
  EXPECT_EQ(plat::FindOpenDialog(dialogs::kWarningHelpDialogId), plat::kNoWindow) << "Cancel closes";
}

TEST_F(WarningWindowScreen, HelpWithoutATextFileSaysSo) {
  LoadEnglish();
  CreateWindow();
  Set(lnk::kStatusWarningNode, 1);
  Set(lnk::kStatusWarningId, 1);  // picture and text in the pack ...
  Set(lnk::kStatusWarningNode, 15);
  Set(lnk::kStatusWarningId, 99);  // ... but none for this one
  std::vector<std::u16string> rows;
  Drive({Step{plat::IdRetry, {}, plat::kMessageBoxTemplateId},  // still missing: asked again
         Step{plat::IdCancel, [&](plat::Hwnd) {
                const plat::Hwnd list =
                    plat::GetDlgItem(plat::FindOpenDialog(dialogs::kWarningHelpDialogId), dialogs::kWarningHelpText);
                for (int i = 0; i < plat::ListItemCount(list); ++i) rows.push_back(plat::ListItemText(list, i));
              }, plat::kMessageBoxTemplateId}});
  plat::ClickWindow(plat::GetDlgItem(window_, screens::kWarningHelpButton));
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(rows, (std::vector<std::u16string>{u"NO TEXT FILE AVAILABLE."}));
}

TEST_F(WarningWindowScreen, HelpTextIsCutAtSixteenKilobytes) {
  // 800 lines of 21 units; 16,384 bytes hold the byte-order mark and 8,191 units: 390 whole
  // lines and the start of the next, which has no LF and is left out.
  std::u16string text;
  for (int i = 0; i < 800; ++i) text += Repeat(u'x', 20) + u"\n";
  ReplacePackFile("WarningBitmaps/NID_01_WARNING_ID_41.txt", text);
  LoadEnglish();
  CreateWindow();
  Set(lnk::kStatusWarningNode, 1);
  Set(lnk::kStatusWarningId, 41);
  int rows = -1;
  Drive({Step{plat::IdCancel, [&](plat::Hwnd) {
    rows = plat::ListItemCount(plat::GetDlgItem(plat::FindOpenDialog(dialogs::kWarningHelpDialogId),
                                                dialogs::kWarningHelpText));
  }, plat::kMessageBoxTemplateId}});
  plat::ClickWindow(plat::GetDlgItem(window_, screens::kWarningHelpButton));
  EXPECT_EQ(rows, 390);
}

TEST_F(WarningWindowScreen, RearDischargeHelpAnimatesThroughItsFourPictures) {
  LoadEnglish();
  CreateWindow();
  Set(lnk::kStatusWarningNode, 14);
  Set(lnk::kStatusWarningId, 5);
  auto pictureOf = [](int frame) {
    char path[200];
    FormatRearDischargePath(path, sizeof path, frame);
    auto b = std::make_shared<plat::Bitmap>();
    EXPECT_EQ(plat::LoadBmpFile(path, *b), plat::BmpResult::Ok) << path;
    return b;
  };
  const auto first = pictureOf(0), second = pictureOf(1), last = pictureOf(3);
  std::vector<int> matched;
  auto check = [&](plat::Hwnd d) {
    const plat::Point at = plat::ClientToScreen(d, plat::Point{10, 0});
    int which = -1;
    const std::shared_ptr<plat::Bitmap> pictures[] = {first, second, last};
    for (int i = 0; i < 3; ++i) {
      bool same = true;
      for (int y = 0; y < 400 && same; ++y)
        for (int x = 0; x < 500 && same; ++x)
          same = plat::ScreenPixels().At(at.x + x, at.y + y) == pictures[i]->At(x, y);
      if (same) which = which == -1 ? i : -2;  // -2: the pictures do not tell apart
    }
    matched.push_back(which);
  };
  std::vector<Step> steps;
  for (int i = 0; i < 8; ++i)
    steps.push_back(Step{0, [&, i](plat::Hwnd d) {
      check(d);
      if (i == 7) return;
      dialogs::StepHelpAnimation();
      // The whole picture is repainted, so every part of the frame chosen is seen.
      plat::InvalidateRect(d, nullptr, false);
    }});
  steps.push_back(Step{dialogs::kWarningHelpClose, {}});
  while (dialogs::HelpAnimationFrame() != 0) dialogs::StepHelpAnimation();
  Drive(steps);
  plat::ClickWindow(plat::GetDlgItem(window_, screens::kWarningHelpButton));
  // Frames 0, 1, 2 and then 3 to 6 on the fourth picture; back to the first after 6.
  ASSERT_EQ(matched.size(), 8u);
  EXPECT_EQ(matched[0], 0);
  EXPECT_EQ(matched[1], 1);
  EXPECT_EQ(matched[3], 2);
  EXPECT_EQ(matched[4], 2);
  EXPECT_EQ(matched[6], 2);
  EXPECT_EQ(matched[7], 0);
}

namespace {
plat::Hwnd g_warningWindow = plat::kNoWindow;
void InvalidateWarningWindow(void*, lnk::PanelWindow window, bool erase) {
  if (window == lnk::PanelWindow::WarningWindow) plat::InvalidateRect(g_warningWindow, nullptr, erase);
}
}  // namespace

// The style and countdown bytes change the title, the details and the notes together: their
// change must repaint the whole window, or the 300 ms blink strip shows the new style inside
// the old one until the title blinks.
TEST_F(WarningWindowScreen, StyleAndCountdownChangesRepaintTheWholeWindow) {
  LoadEnglish();
  CreateWindow();
  g_warningWindow = window_;
  lnk::SetLinkEvents(lnk::LinkEvents{.redraw = InvalidateWarningWindow});
  while (!lnk::BlinkOn()) lnk::LinkTick();
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  s.b[lnk::kStatusWarningNode] = 3;
  s.b[lnk::kStatusWarningId] = 5;
  lnk::DecodeStatusFrame(s.b);
  plat::UpdateWindow(window_);
  ASSERT_NE(Find(Text(kWarningTextTitle)), nullptr) << AllTexts();

  struct Case {
    int byte;
    uint8_t value;
    std::u16string title;
  };
  const Case cases[] = {{lnk::kStatusSwitches, 0x10, Text(kWarningTextTemperatureTitle)},
                        {lnk::kStatusSwitches, 0x02, Text(kWarningTextCountdownTitle) + u": 0:00"},
                        {lnk::kStatusChart267, 4, Text(kWarningTextCountdownTitle) + u": 4:00"},
                        {lnk::kStatusChart267 + 1, 30, Text(kWarningTextCountdownTitle) + u": 4:30"}};
  for (const Case& c : cases) {
    plat::ClearCapturedText();
    s.b[c.byte] = c.value;
    lnk::DecodeStatusFrame(s.b);
    plat::UpdateWindow(window_);
    EXPECT_NE(Find(c.title), nullptr) << Narrow(c.title) << "\n" << AllTexts();
  }
  lnk::SetLinkEvents(lnk::LinkEvents{});
  g_warningWindow = plat::kNoWindow;
}
