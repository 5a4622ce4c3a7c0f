// Dialog 166 driven by presses: the copies it makes on opening, the 0..100 limits of the
// working speeds, tracking of the centre, the mode bits loaded from the controller first, and
// the rows ACCEPT / EXIT and CANCEL / EXIT raise.
#include "DialogDriver.h"
#include "dialogs/MeterRollDialog.h"
#include "platform/MessageBox.h"

using namespace testing_support;
using namespace dialogs;

namespace {

class MeterRollDialog : public HeadlessFixture {
 protected:
  void Speeds(int inUse, int high, int medium, int low) {
    lnk::WriteStatusByte(lnk::kStatusMeterRoll0, static_cast<uint8_t>(inUse));
    lnk::WriteStatusByte(lnk::kStatusMeterRoll1, static_cast<uint8_t>(high));
    lnk::WriteStatusByte(lnk::kStatusMeterRoll2, static_cast<uint8_t>(medium));
    lnk::WriteStatusByte(lnk::kStatusMeterRoll3, static_cast<uint8_t>(low));
  }
  // The working HIGH, MEDIUM and LOW values while the dialog is open.
  struct Working { int high, medium, low; };
  Working Read() {
    return {lnk::ReadRequestByte(lnk::kRequestMeterRollHigh), lnk::ReadRequestByte(lnk::kRequestMeterRollMedium),
            lnk::ReadRequestByte(lnk::kRequestMeterRollLow)};
  }
  Step Record(Working& into) { return Step{0, [&into, this](plat::Hwnd) { into = Read(); }}; }
  std::vector<Step> Repeat(int control, int times) {
    return std::vector<Step>(static_cast<size_t>(times), Step{control, {}});
  }
};

std::vector<Step> Join(std::vector<Step> a, const std::vector<Step>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST_F(MeterRollDialog, OpeningCopiesTheSpeedsAndTakesMediumFromByte230InModesFourAndFive) {
  Speeds(1, 40, 30, 20);
  lnk::WriteStatusByte(lnk::kStatusMeterRollValue230, 55);
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, lnk::kModeMoisture5Speed);
  lnk::RaisePending(lnk::CommandRow::MeterRollSpeedMode);
  Working seen{};
  bool increaseEnabled = true;
  Drive({Step{kMeterRollCancel, [&](plat::Hwnd d) {
                seen = Read();
                increaseEnabled = plat::IsWindowEnabled(plat::GetDlgItem(d, kMeterRollIncrease));
              }}});
  EXPECT_EQ(OpenMeterRollDialog(parent_), kMeterRollCancel);
  EXPECT_EQ(seen.high, 40);
  EXPECT_EQ(seen.medium, 55);
  EXPECT_EQ(seen.low, 20);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestMeterRoll0), 1);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MeterRollSpeedMode));
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MeterRollFromStatus230));
  EXPECT_FALSE(increaseEnabled) << "the arrows need the question flag";

  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, lnk::kModeTemperature2Speed);
  Drive({Step{kMeterRollCancel, [&](plat::Hwnd) { seen = Read(); }}});
  OpenMeterRollDialog(parent_);
  EXPECT_EQ(seen.medium, 30) << "other modes copy byte 157";
}

TEST_F(MeterRollDialog, WorkingSpeedsStayWithinZeroAndOneHundred) {
  Speeds(2, 99, 50, 1);
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, 0);
  lnk::WriteRequestByte(lnk::kRequestMeterRollMode, lnk::kMeterRollSpeedHigh);  // as the decoder mirrors byte 159
  Working top{}, bottom{};
  // 0:159 picks the speed the arrows change: HIGH first, then LOW.
  auto steps = Repeat(kMeterRollIncrease, 3);
  steps.push_back(Record(top));
  steps.push_back(Step{0, [](plat::Hwnd) { lnk::WriteRequestByte(lnk::kRequestMeterRollMode, lnk::kMeterRollSpeedLow); }});
  steps = Join(steps, Repeat(kMeterRollDecrease, 3));
  steps.push_back(Record(bottom));
  steps.push_back(Step{kMeterRollAccept, {}});
  Drive(steps);
  EXPECT_EQ(OpenMeterRollDialog(parent_, MeterRollOpening{.question = true}), kMeterRollAccept);
  EXPECT_EQ(top.high, 100);
  EXPECT_EQ(bottom.low, 0);
  EXPECT_EQ(bottom.medium, 50);
  // ACCEPT sends what changed, and only that.
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MeterRollValue1));
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MeterRollValue2));
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MeterRollValue3));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMeterRoll1), 100);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMeterRoll3), 0);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MeterRollCopyOver)) << "the question flag was set";
}

TEST_F(MeterRollDialog, TrackingPutsHighAndLowFifteenPercentAroundMedium) {
  Speeds(1, 90, 60, 10);
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, lnk::kModeCenterTracking);  // tracking off
  lnk::WriteRequestByte(lnk::kRequestMeterRollMode, lnk::kMeterRollSpeedMedium);     // the arrows change MEDIUM
  Working tracked{}, moved{}, capped{};
  std::u16string caption;
  auto steps = std::vector<Step>{Step{kMeterRollMode, {}},
                                 Step{plat::IdYes, [&](plat::Hwnd box) { caption = plat::GetWindowText(box); },
                                      plat::kMessageBoxTemplateId},
                                 Record(tracked), Step{kMeterRollIncrease, {}}, Record(moved)};
  steps = Join(steps, Repeat(kMeterRollIncrease, 30));
  steps.push_back(Record(capped));
  steps.push_back(Step{kMeterRollAccept, {}});
  Drive(steps);
  OpenMeterRollDialog(parent_, MeterRollOpening{.question = true});
  EXPECT_EQ(std::string(caption.begin(), caption.end()), kTrackingCaption);
  EXPECT_EQ(tracked.high, 69);  // 1.15 x 60
  EXPECT_EQ(tracked.low, 51);   // 0.85 x 60
  EXPECT_EQ(moved.medium, 61);
  EXPECT_EQ(moved.high, 70);
  EXPECT_EQ(moved.low, 51);
  EXPECT_EQ(capped.medium, 91);
  EXPECT_EQ(capped.high, 100);
  EXPECT_EQ(capped.low, 77);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MoistureControlMode));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestMoistureControlMode), 0x22);
}

TEST_F(MeterRollDialog, NoToTheTrackingQuestionLeavesTheBitClear) {
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, lnk::kModeCenterTracking);
  Drive({Step{kMeterRollMode, {}}, Step{plat::IdNo, {}, plat::kMessageBoxTemplateId}, Step{kMeterRollCancel, {}}});
  OpenMeterRollDialog(parent_);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestMoistureControlMode), 0x02);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MeterRollSpeeds));
}

TEST_F(MeterRollDialog, ModeAndCriteriaBitsStartFromTheControllersBytes) {
  // The controller's own bits in 0:187 and 0:224 survive the bits the dialog changes.
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, lnk::kMoistureModeBit7 | lnk::kModeCenterTracking | lnk::kMoistureModeBit5);  // tracking on
  lnk::WriteStatusByte(lnk::kStatusDryingCriteria, 0x81);
  Drive({Step{kMeterRollMode, {}}, Step{kMeterRollAccept, {}}});
  OpenMeterRollDialog(parent_);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestMoistureControlMode), 0x82) << "tracking switched off, bit 7 kept";
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MeterRollSpeeds)) << "switching tracking off";
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestDryingCriteria), 0x83);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::DryingCriteria));
}

TEST_F(MeterRollDialog, ModeOneTogglesOneOrTwoSpeeds) {
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, lnk::kModeTemperature2Speed);
  std::u16string text;
  Drive({Step{kMeterRollMode, {}},
         Step{kMeterRollCancel, [&](plat::Hwnd d) { text = plat::GetWindowText(plat::GetDlgItem(d, kMeterRollMode)); }}});
  OpenMeterRollDialog(parent_);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestMoistureControlMode), 0x41);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MoistureControlMode));
  EXPECT_EQ(text, u"TWO SPEEDS");
}

TEST_F(MeterRollDialog, CancelRaisesTheRestoreRowAndClearsTheReminder) {
  Speeds(1, 40, 30, 20);
  uint8_t reminder = 1;
  bool visibleInside = false;
  Drive({Step{kMeterRollIncrease, [&](plat::Hwnd) { visibleInside = MeterRollDialogVisible(); }},
         Step{kMeterRollCancel, {}}});
  EXPECT_EQ(OpenMeterRollDialog(parent_, MeterRollOpening{.question = true, .reminder = &reminder}), kMeterRollCancel);
  EXPECT_TRUE(visibleInside);
  EXPECT_FALSE(MeterRollDialogVisible());
  EXPECT_FALSE(dialogs::MeterRollQuestionPending());
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MeterRollRestore));
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MeterRollValue2));
  EXPECT_EQ(reminder, 0);
}

TEST_F(MeterRollDialog, BarsAndScaleAreDrawnAndTheAutomaticNoteShown) {
  Speeds(1, 45, 30, 20);
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, lnk::kModeMoistureVariable);
  std::vector<std::string> seen;
  Drive({Step{kMeterRollCancel, [&](plat::Hwnd d) {
    for (const char* t : {"HIGH SP", "MAIN SP", "LOW SP", "-25%", "-50%", "-75%", "-100%", "0450", "NOTE:  The dryer has"})
      if (plat::FindCapturedText(t, d) != nullptr) seen.push_back(t);
  }}});
  OpenMeterRollDialog(parent_, MeterRollOpening{.question = true});
  EXPECT_EQ(seen.size(), 9u);
}
