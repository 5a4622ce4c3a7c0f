// The keypad dialogs 165, 101, 224 and the moisture setpoint window 225 driven by presses: the
// digit machines themselves are tested on the logic; here the wiring from keys to machine, to
// what is drawn, to the request array and its flags, and the refusal message box.
#include <cstring>

#include "DialogDriver.h"
#include "dialogs/MoistureKeypadDialog.h"
#include "dialogs/MoistureSetpointDialog.h"
#include "dialogs/SetpointEntryDialog.h"
#include "dialogs/TimerEntryDialog.h"
#include "platform/MessageBox.h"

using namespace testing_support;
using namespace dialogs;

namespace {

constexpr TimerLimits kOneSecondToTenMinutes{.maxMinutes = 10, .maxSeconds = 0, .defaultMinutes = 5,
                                             .defaultSeconds = 30, .minMinutes = 0, .minSeconds = 1};

class KeypadDialogs : public HeadlessFixture {
 protected:
  std::u16string seenValue_;
  std::u16string seenBoxCaption_;
  bool seenBoxText_ = false;

  Step SeeValue(const char* needle) {
    return Step{0, [this, needle](plat::Hwnd active) { seenValue_ = DrawnText(needle, active); }};
  }
  Step AnswerRefusal() {
    return Step{plat::IdOk, [this](plat::Hwnd active) {
                  EXPECT_EQ(plat::DialogTemplateId(active), plat::kMessageBoxTemplateId);
                  seenBoxCaption_ = plat::GetWindowText(active);
                  seenBoxText_ = plat::FindCapturedText(kOutOfRangeText, active) != nullptr;
                }};
  }
};

std::vector<Step> Join(std::vector<Step> a, std::vector<Step> b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST_F(KeypadDialogs, TimerDigitsTypedByPressesAreDrawnAndAcceptedIntoTheRequest) {
  OpenTimerEntry(gTimerEntryRequest, lnk::CommandRow::CoolTime, 3, 15, kOneSecondToTenMinutes);
  auto steps = Clicks({kTimerMinutesDigits[1], kTimerMinutesDigits[0], kTimerSecondsDigits[0]});
  steps.push_back(SeeValue(" : "));
  steps.push_back(Step{kTimerAccept, {}});
  Drive(steps);
  EXPECT_EQ(OpenTimerEntryDialog(parent_, gTimerEntryRequest), kEntryAccepted);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(Narrow(seenValue_), " 010 : 00 ");
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::CoolTime));
  EXPECT_EQ(lnk::ReadRequestByte(16), 10);
  EXPECT_EQ(lnk::ReadRequestByte(17), 0);
}

TEST_F(KeypadDialogs, TimerOpensOnTheCurrentValueWithItsLimitsAndDefaultKey) {
  OpenTimerEntry(gTimerEntryRequest, lnk::CommandRow::CoolTime, 3, 15, kOneSecondToTenMinutes);
  std::u16string opening, maximum, minimum, afterDefault;
  Drive({Step{0, [&](plat::Hwnd d) {
                opening = DrawnText(" : ", d);
                maximum = DrawnText("= 10:00", d);
                minimum = DrawnText("= 00:01", d);
              }},
         Step{kTimerDefault, {}}, Step{0, [&](plat::Hwnd d) { afterDefault = DrawnText(" : ", d); }},
         Step{kTimerCancel, {}}});
  EXPECT_EQ(OpenTimerEntryDialog(parent_, gTimerEntryRequest), kEntryCancelled);
  EXPECT_EQ(Narrow(opening), " 003 : 15 ");
  EXPECT_FALSE(maximum.empty());
  EXPECT_FALSE(minimum.empty());
  EXPECT_EQ(Narrow(afterDefault), " 005 : 30 ");
}

TEST_F(KeypadDialogs, TimerCancelAfterTypingRaisesNothing) {
  OpenTimerEntry(gTimerEntryRequest, lnk::CommandRow::CoolTime, 3, 15, kOneSecondToTenMinutes);
  Drive(Clicks({kTimerMinutesDigits[4], kTimerSecondsDigits[2], kTimerCancel}));
  EXPECT_EQ(OpenTimerEntryDialog(parent_, gTimerEntryRequest), kEntryCancelled);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::CoolTime));
  EXPECT_EQ(lnk::ReadRequestByte(16), 0);
}

TEST_F(KeypadDialogs, TimerOutOfRangeShowsTheWarningBoxAndWritesNothing) {
  OpenTimerEntry(gTimerEntryRequest, lnk::CommandRow::CoolTime, 3, 15, kOneSecondToTenMinutes);
  // 010:01 is one second above the ten-minute limit.
  Drive(Join(Clicks({kTimerMinutesDigits[1], kTimerMinutesDigits[0], kTimerSecondsDigits[1],
                     kTimerAccept}),
             {AnswerRefusal()}));
  EXPECT_EQ(OpenTimerEntryDialog(parent_, gTimerEntryRequest), kEntryRefused);
  EXPECT_TRUE(seenBoxText_);
  EXPECT_EQ(Narrow(seenBoxCaption_), kOutOfRangeCaption);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::CoolTime));
  EXPECT_EQ(lnk::ReadRequestByte(16), 0);
}

TEST_F(KeypadDialogs, SetpointTypedInCelsiusIsSentCorrectedInFahrenheit) {
  OpenSetpointEntry(gSetpointEntryRequest, lnk::CommandRow::PlenumSetpoint1, 180, 0, 160, 120, true);
  auto steps = Clicks({kSetpointClear, kSetpointDigits[7], kSetpointDigits[1]});
  steps.push_back(SeeValue("C "));
  steps.push_back(Step{kSetpointAccept, {}});
  Drive(steps);
  EXPECT_EQ(OpenSetpointEntryDialog(parent_, gSetpointEntryRequest), kEntryAccepted);
  EXPECT_EQ(Narrow(seenValue_), std::string(" 071 ") + static_cast<char>(176) + "C ");
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::PlenumSetpoint1));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusPlenumSetpoint1), 161);  // 159 °F passes the check, then the echo correction
  EXPECT_EQ(lnk::ReadRequestByte(60), 0);
}

TEST_F(KeypadDialogs, SetpointOpensConvertedAndRefusesAboveTheLimit) {
  OpenSetpointEntry(gSetpointEntryRequest, lnk::CommandRow::PlenumSetpoint1, 180, 0, 160, 120, true);
  std::u16string opening;
  auto steps = std::vector<Step>{Step{0, [&](plat::Hwnd d) { opening = DrawnText("C ", d); }}};
  steps = Join(steps, Clicks({kSetpointDigits[7], kSetpointDigits[2], kSetpointAccept}));
  steps.push_back(AnswerRefusal());
  Drive(steps);
  EXPECT_EQ(OpenSetpointEntryDialog(parent_, gSetpointEntryRequest), kEntryRefused);
  EXPECT_EQ(Narrow(opening), std::string(" 082 ") + static_cast<char>(176) + "C ");
  EXPECT_TRUE(seenBoxText_);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::PlenumSetpoint1));
}

TEST_F(KeypadDialogs, SetpointCancelRaisesNothing) {
  OpenSetpointEntry(gSetpointEntryRequest, lnk::CommandRow::GrainTempSetpoint1, 100, 50, 200, 120, false);
  Drive(Clicks({kSetpointDigits[1], kSetpointDigits[5], kSetpointCancel}));
  EXPECT_EQ(OpenSetpointEntryDialog(parent_, gSetpointEntryRequest), kEntryCancelled);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::GrainTempSetpoint1));
}

TEST_F(KeypadDialogs, MoistureWindowShowsTheSetpointAndTheKeypadStoresTheTypedValue) {
  lnk::WriteStatusByte(lnk::kStatusMoistureSetpoint, 0x00);
  lnk::WriteStatusByte(lnk::kStatusMoistureSetpoint + 1, 0x9B);  // 15.5 %
  std::u16string opening, typed;
  auto steps = std::vector<Step>{
      Step{kMoistureModify, [&](plat::Hwnd d) {
             opening = plat::GetWindowText(plat::GetDlgItem(d, kMoistureValueField));
           }}};
  steps = Join(steps, Clicks({kMoistureDigits[1], kMoistureDigits[8], kMoistureDigits[2],
                              kMoistureDigits[5]}));
  steps.push_back(Step{kMoistureAccept, [&](plat::Hwnd d) {
                         (void)d;
                         typed = plat::GetWindowText(plat::GetDlgItem(
                             plat::FindOpenDialog(kMoistureSetpointDialogId), kMoistureValueField));
                       }});
  steps.push_back(Step{kMoistureExit, {}});
  Drive(steps);
  EXPECT_TRUE(OpenMoistureSetpointDialog(parent_, MoistureSetpoint::Drying));
  EXPECT_EQ(Narrow(opening), "15.5 %");
  EXPECT_EQ(Narrow(typed), "18.2 %");  // the fourth digit would pass 99.9 % and is ignored
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MoistureSetpoint));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMoistureSetpoint), 0x00);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMoistureSetpoint + 1), 182);
}

// The keypad stands beside the setpoint window, so the field it types into stays in sight.
TEST_F(KeypadDialogs, MoistureKeypadLeavesTheFieldItTypesIntoInSightAndStaysOnTheScreen) {
  plat::Rect field, keypad;
  Drive({Step{kMoistureModify, [&](plat::Hwnd d) {
                field = plat::GetWindowRect(plat::GetDlgItem(d, kMoistureValueField));
              }},
         Step{kMoistureDigits[4], [&](plat::Hwnd d) { keypad = plat::GetWindowRect(d); },
              kMoistureKeypadDialogId},
         Step{kMoistureAccept, {}}, Step{kMoistureExit, {}}});
  OpenMoistureSetpointDialog(parent_, MoistureSetpoint::Drying);
  ASSERT_TRUE(AllStepsTaken());
  EXPECT_TRUE(plat::Intersect(field, keypad).Empty());
  EXPECT_GE(keypad.left, 0);
  EXPECT_GE(keypad.top, 0);
  EXPECT_LE(keypad.right, plat::kScreenWidth);
  EXPECT_LE(keypad.bottom, plat::kScreenHeight);
}

TEST_F(KeypadDialogs, MoistureKeypadAcceptWithoutAKeyLeavesTheSetpointAlone) {
  Drive(Clicks({kMoistureModify, kMoistureAccept, kMoistureExit}));
  EXPECT_FALSE(OpenMoistureSetpointDialog(parent_, MoistureSetpoint::AutoStart));
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::Setting125));
}

TEST_F(KeypadDialogs, AutoStartMoistureGoesLowByteFirst) {
  Drive(Clicks({kMoistureModify, kMoistureDigits[3], kMoistureDigits[0], kMoistureDigits[0],
                kMoistureAccept, kMoistureExit}));
  EXPECT_TRUE(OpenMoistureSetpointDialog(parent_, MoistureSetpoint::AutoStart));
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::Setting125));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusSubstituteMoisture), 300 & 0xFF);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusSubstituteMoisture + 1), 300 >> 8);
}
