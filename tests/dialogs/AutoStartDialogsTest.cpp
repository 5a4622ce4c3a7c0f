// Dialogs 612 and 617: the state band and progress rows read from the controller, and what
// each confirmation answer sends, with and without auto-start active.
#include <cstring>

#include "DialogDriver.h"
#include "dialogs/AutoStartDialogs.h"
#include "dialogs/AutoStartLogic.h"
#include "i18n/StringIds.h"

using namespace testing_support;
using namespace dialogs;

namespace {

const int kRequest123 = lnk::RowRegister(lnk::RowInfo(lnk::CommandRow::OptionBits2));
const int kRequestGrain = lnk::RowRegister(lnk::RowInfo(lnk::CommandRow::AutoStart));

int g_shown = 0;
void CountShown() { ++g_shown; }

lnk::DryerStatus Blank() {
  lnk::DryerStatus s;
  std::memset(s.b, 0, sizeof s.b);
  return s;
}

void PutWord(lnk::DryerStatus& s, int at, int value) {
  s.b[at] = static_cast<uint8_t>(value & 0xFF);
  s.b[at + 1] = static_cast<uint8_t>(value >> 8);
}

std::string Text(int stringId) {
  char16_t text[i18n::kStringDestUnits] = {};
  i18n::GetString(stringId, text);
  return Narrow(text);
}

class AutoStartDialogs : public HeadlessFixture {
 protected:
  void SetUp() override {
    HeadlessFixture::SetUp();
    g_shown = 0;
  }
  // Opens 617 with the controller's 1:23 and grain, answers with `control` and returns the
  // question shown.
  std::string Answer(uint8_t status123, uint8_t statusGrain, int control) {
    lnk::WriteStatusByte(lnk::kStatusOptionBits2, status123);
    lnk::WriteStatusByte(lnk::kStatusAutoStart, statusGrain);
    std::string question;
    Drive({Step{control, [&](plat::Hwnd d) {
                  question = Narrow(plat::GetWindowText(plat::GetDlgItem(d, kAutoStartQuestion)));
                }}});
    EXPECT_EQ(OpenAutoStartConfirmDialog(parent_, CountShown), control);
    EXPECT_TRUE(AllStepsTaken());
    return question;
  }
};

}  // namespace

TEST(AutoStartLogic, BandFollowsByte280Bit7ThenBit2ThenBit1) {
  lnk::DryerStatus s = Blank();
  s.b[lnk::kStatusOptionWithdraw] = 0x86;
  EXPECT_EQ(ChooseAutoStartBand(s).stringId, i18n::kStringAutoStartDone);
  EXPECT_EQ(plat::PixelOf(ChooseAutoStartBand(s).colour), plat::PixelOf(plat::Rgb(0, 0, 255)));
  s.b[lnk::kStatusOptionWithdraw] = 0x06;
  EXPECT_EQ(ChooseAutoStartBand(s).stringId, i18n::kStringAutoStartWaiting);
  EXPECT_EQ(plat::PixelOf(ChooseAutoStartBand(s).colour), plat::PixelOf(plat::Rgb(255, 255, 0)));
  s.b[lnk::kStatusOptionWithdraw] = 0x02;
  EXPECT_EQ(ChooseAutoStartBand(s).stringId, i18n::kStringAutoStartRunning);
  EXPECT_EQ(plat::PixelOf(ChooseAutoStartBand(s).colour), plat::PixelOf(plat::Rgb(0, 255, 0)));
  s.b[lnk::kStatusOptionWithdraw] = 0x79;  // every other bit
  EXPECT_EQ(ChooseAutoStartBand(s).stringId, 0);
  EXPECT_EQ(plat::PixelOf(ChooseAutoStartBand(s).colour), plat::PixelOf(plat::Rgb(255, 255, 255)));
}

TEST(AutoStartLogic, RowsPerFanHeaterCode) {
  lnk::DryerStatus s = Blank();
  const int expected[] = {1, 2, 3, 4, 6, 0};
  for (int code = 0; code < 6; ++code) {
    s.b[lnk::kStatusFanHeaterCount] = static_cast<uint8_t>(code);
    EXPECT_EQ(AutoStartUnitCount(s), expected[code]) << "code " << code;
  }
  s.b[lnk::kStatusFanHeaterCount] = 255;
  EXPECT_EQ(AutoStartUnitCount(s), 0);
}

TEST(AutoStartLogic, ProgressReadsLowFirstWordsPerUnitAndStaysWithinTheTotal) {
  lnk::DryerStatus s = Blank();
  PutWord(s, lnk::kStatusRunTimeCounter1, 600);
  PutWord(s, lnk::kStatusUnitCounterA1 + 2 * 2, 300);  // unit 3
  PutWord(s, lnk::kStatusUnitCounterB1 + 2 * 2, 0x0102);
  s.b[lnk::kStatusUnitStatusB1 + kAutoStartMaxUnits - 1] = lnk::kUnitStatusBOn;  // unit 1's flag byte
  AutoStartProgress p = ReadAutoStartProgress(s, 3);
  EXPECT_EQ(p.first, 300);
  EXPECT_EQ(p.second, 258);
  EXPECT_EQ(p.total, 600);
  EXPECT_FALSE(p.on);
  EXPECT_TRUE(ReadAutoStartProgress(s, 1).on);
  EXPECT_FALSE(ReadAutoStartProgress(s, 6).on);

  PutWord(s, lnk::kStatusUnitCounterA1 + 2 * 5, 500);  // unit 6, beyond the total together
  PutWord(s, lnk::kStatusUnitCounterB1 + 2 * 5, 40000);
  p = ReadAutoStartProgress(s, 6);
  EXPECT_EQ(p.first, 500);
  EXPECT_EQ(p.second, 100);
  PutWord(s, lnk::kStatusUnitCounterA1 + 2 * 5, 65535);
  p = ReadAutoStartProgress(s, 6);
  EXPECT_EQ(p.first, 600);
  EXPECT_EQ(p.second, 0);
  EXPECT_EQ(ReadAutoStartProgress(s, 7).total, 0) << "no unit 7";
}

TEST(AutoStartLogic, BarSegmentsFillTheBarExactly) {
  AutoStartSegments seg = ScaleAutoStartBar({.first = 150, .second = 150, .total = 600, .on = true}, 280);
  EXPECT_EQ(seg.first, 70);
  EXPECT_EQ(seg.second, 70);
  EXPECT_EQ(seg.third, 140);
  seg = ScaleAutoStartBar({.first = 1, .second = 1, .total = 3, .on = false}, 280);
  EXPECT_EQ(seg.first + seg.second + seg.third, 280);
  seg = ScaleAutoStartBar({.first = 65535, .second = 65535, .total = 65535, .on = false}, 280);
  EXPECT_EQ(seg.first, 280);
  EXPECT_EQ(seg.second, 0);
  EXPECT_EQ(seg.third, 0);
  seg = ScaleAutoStartBar({.first = 10, .second = 10, .total = 0, .on = false}, 280);
  EXPECT_EQ(seg.first, 0);
  EXPECT_EQ(seg.second, 0);
  EXPECT_EQ(seg.third, 280);
}

TEST(AutoStartLogic, TimesAreMinutesAndTwoDigitSeconds) {
  char text[16];
  FormatAutoStartTime(text, sizeof text, 0);
  EXPECT_STREQ(text, "0:00");
  FormatAutoStartTime(text, sizeof text, 125);
  EXPECT_STREQ(text, "2:05");
  FormatAutoStartTime(text, sizeof text, 65535);
  EXPECT_STREQ(text, "1092:15");
  EXPECT_EQ(FormatAutoStartTime(text, 3, 125), 2u);
  EXPECT_STREQ(text, "2:");
}

TEST_F(AutoStartDialogs, YesWhileInactiveStartsAndSendsTheGrainChoice) {
  lnk::WriteRequestByte(kRequestGrain, 3);  // the wizard's choice
  const std::string question = Answer(0xA6, 7, kAutoStartYes);
  EXPECT_EQ(lnk::ReadRequestByte(kRequest123), 0xA7) << "bit 0 set, the rest as the controller has it";
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::OptionBits2));
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::AutoStart));
  EXPECT_EQ(lnk::ReadRequestByte(kRequestGrain), 3);
  EXPECT_EQ(g_shown, 1);
  if (hasPack_) EXPECT_EQ(question, Text(kStringAskStartAutoStart));
}

TEST_F(AutoStartDialogs, YesWhileActiveCancelsWithTheControllersGrain) {
  lnk::WriteRequestByte(kRequestGrain, 9);
  const std::string question = Answer(0xA7, 5, kAutoStartYes);
  EXPECT_EQ(lnk::ReadRequestByte(kRequest123), 0xA6);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::OptionBits2));
  EXPECT_EQ(lnk::ReadRequestByte(kRequestGrain), 5);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::AutoStart));
  EXPECT_EQ(g_shown, 0);
  if (hasPack_) {
    EXPECT_EQ(question, Text(kStringAskCancelAutoStart));
    EXPECT_NE(Text(kStringAskCancelAutoStart), Text(kStringAskStartAutoStart));
  }
}

TEST_F(AutoStartDialogs, NoAndCancelWhileInactiveClearTheRequestBit) {
  for (int control : {kAutoStartNo, kAutoStartCancelConfirm}) {
    lnk::ResetSettingRequest();
    g_shown = 0;
    // A start already requested but not yet echoed is withdrawn.
    lnk::WriteRequestByte(kRequest123, 0x21);
    lnk::RaisePending(lnk::CommandRow::OptionBits2);
    Answer(0x00, 4, control);
    EXPECT_EQ(lnk::ReadRequestByte(kRequest123), 0x20) << control;
    EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::OptionBits2)) << control;
    EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::AutoStart)) << control;
    EXPECT_EQ(g_shown, 1) << control;

    lnk::ResetSettingRequest();
    Answer(0xC2, 4, control);
    EXPECT_EQ(lnk::ReadRequestByte(kRequest123), 0xC2) << "loaded from the controller first";
    EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::OptionBits2));
  }
}

TEST_F(AutoStartDialogs, NoAndCancelWhileActiveChangeNothing) {
  for (int control : {kAutoStartNo, kAutoStartCancelConfirm}) {
    lnk::ResetSettingRequest();
    lnk::WriteRequestByte(kRequestGrain, 2);
    Answer(0x81, 6, control);
    EXPECT_EQ(lnk::ReadRequestByte(kRequest123), 0) << control;
    EXPECT_EQ(lnk::ReadRequestByte(kRequestGrain), 2) << control;
    EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::OptionBits2)) << control;
    EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::AutoStart)) << control;
    EXPECT_EQ(g_shown, 0) << control;
  }
}

TEST_F(AutoStartDialogs, StatusShowsUnknownStateAndOneRowPerUnit) {
  lnk::WriteStatusByte(lnk::kStatusFanHeaterCount, 1);
  std::u16string unknown, second, third;
  Drive({Step{kAutoStartMinimize, [&](plat::Hwnd d) {
    unknown = DrawnText("Unkown", d);
    second = DrawnText("#2", d);
    third = DrawnText("#3", d);
  }}});
  EXPECT_EQ(OpenAutoStartStatusDialog(parent_, CountShown), kAutoStartMinimize);
  EXPECT_EQ(Narrow(unknown), "Auto-Start Status Unkown");
  EXPECT_FALSE(second.empty());
  EXPECT_TRUE(third.empty()) << "byte 3 = 1 has two units";
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::OptionBits2));
  EXPECT_EQ(g_shown, 0);
}

TEST_F(AutoStartDialogs, CancelAutoStartAsksThenClosesTheStatus) {
  lnk::WriteStatusByte(lnk::kStatusOptionBits2, 0x03);
  lnk::WriteStatusByte(lnk::kStatusOptionWithdraw, 0x02);
  std::u16string band;
  Drive({Step{kAutoStartCancel, [&](plat::Hwnd d) {
           if (hasPack_) band = DrawnText(Text(i18n::kStringAutoStartRunning).c_str(), d);
         }},
         Step{kAutoStartYes, {}, kAutoStartConfirmDialogId}});
  EXPECT_EQ(OpenAutoStartStatusDialog(parent_, CountShown), kAutoStartCancel);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(lnk::ReadRequestByte(kRequest123), 0x02);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::OptionBits2));
  if (hasPack_) EXPECT_FALSE(band.empty());
}
