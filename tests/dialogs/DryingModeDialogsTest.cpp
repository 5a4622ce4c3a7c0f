// The drying mode selection (512), continuous flow setup (515), staged batch setup (516),
// bracketed 5-speed setup (435) and unload parameters (513) driven by presses on the headless
// display, one walk each, with a screenshot of each for the documentation.
#include <filesystem>

#include "DialogDriver.h"
#include "dialogs/DryingModeDialogs.h"
#include "dialogs/FiveSpeedDialog.h"
#include "dialogs/SetpointEntryDialog.h"
#include "dialogs/UnloadParametersDialog.h"
#include "dialogs/UnloadParametersLogic.h"
#include "platform/MessageBox.h"

using namespace testing_support;
using namespace dialogs;

namespace {

class DryingDialogs : public HeadlessFixture {
 protected:
  void SetUp() override {
    HeadlessFixture::SetUp();
    if (hasPack_) i18n::EnsureLanguageLoaded();
    UnloadWarning() = {};
  }
  void TearDown() override {
    UnloadWarning() = {};
    HeadlessFixture::TearDown();
  }
  static std::string Text(plat::Hwnd d, int id) { return Narrow(plat::GetWindowText(plat::GetDlgItem(d, id))); }
  static bool Enabled(plat::Hwnd d, int id) { return plat::IsWindowEnabled(plat::GetDlgItem(d, id)); }
  static bool Checked(plat::Hwnd d, int id) { return plat::IsDlgButtonChecked(d, id); }
  // A check of the message box on top: its caption, then OK.
  static Step Box(std::string& caption) {
    return Step{plat::IdOk, [&caption](plat::Hwnd box) {
                  EXPECT_EQ(plat::DialogTemplateId(box), plat::kMessageBoxTemplateId);
                  caption = Narrow(plat::GetWindowText(box));
                }};
  }
  static void Screenshot(const char* name) {
    const std::filesystem::path dir = std::filesystem::path(DRYER_BINARY_DIR) / "screenshots";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    EXPECT_TRUE(plat::ScreenshotPng((dir / name).c_str()));
  }
  static bool OnScreen(plat::Hwnd d) {
    const plat::Rect r = plat::GetWindowRect(d);
    return r.left >= 0 && r.top >= 0 && r.right <= 640 && r.bottom <= 480;
  }
};

}  // namespace

TEST_F(DryingDialogs, SelectionRefusesStagedBatchOnASeriesDryerAndSendsTheForcedContinuousFlow) {
  ASSERT_TRUE(hasPack_) << "build the language_packs target first";
  lnk::WriteStatusByte(lnk::kStatusConfigBits, lnk::kConfigBitsSeries);
  lnk::WriteStatusByte(lnk::kStatusDryerType, lnk::kDryerTypeStagedBatch);
  bool stagedEnabled = true, radioEnabled = true, continuousShown = false;
  Drive({Step{kDryingModeStagedBatch, [&](plat::Hwnd d) {
                stagedEnabled = Enabled(d, kDryingModeStagedBatch);
                radioEnabled = Enabled(d, kDryingModeStagedBatchRadio);
                continuousShown = Checked(d, kDryingModeContinuousRadio) && !Checked(d, kDryingModeStagedBatchRadio);
              }},
         Step{kDryingModeAccept, {}}});
  OpenDryingModeDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_FALSE(stagedEnabled);
  EXPECT_FALSE(radioEnabled);
  EXPECT_TRUE(continuousShown);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MoistureControlMode)) << "a press on a disabled button does nothing";
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::DryerType));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusDryerType), lnk::kDryerTypeContinuous);
}

TEST_F(DryingDialogs, StagedBatchFromTheSelectionClosesBothOnAcceptAfterRefusalsThatKeepItOpen) {
  ASSERT_TRUE(hasPack_) << "build the language_packs target first";
  lnk::WriteStatusByte(lnk::kStatusFanHeaterCount, 1);  // two fan/heaters
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, lnk::kModeMoisture5Speed);
  lnk::WriteStatusByte(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsSafetyMaster);
  lnk::WriteStatusByte(lnk::kStatusDryingCriteria, lnk::kDryingCriteriaFullHeat);
  std::string dualCaption, noCriterionCaption;
  bool singleKept = false, stillOpen = false, grainTempOpen = false, maxTimeClosed = false, onScreen = false;
  std::string timeField, limitField;
  lnk::WriteStatusByte(lnk::kStatusStagedBatchTime, 30);
  Drive({Step{kDryingModeStagedBatch, {}},
         Step{kDryingModeSetup, {}},
         Step{kBatchDual, [&](plat::Hwnd d) { EXPECT_EQ(plat::DialogTemplateId(d), kStagedBatchDialogId); }},
         Box(dualCaption),
         Step{kBatchAccept, [&](plat::Hwnd d) { singleKept = Checked(d, kBatchSingle) && !Checked(d, kBatchDual); }},
         Box(noCriterionCaption),
         Step{kBatchTime, [&](plat::Hwnd d) { stillOpen = plat::DialogTemplateId(d) == kStagedBatchDialogId; }},
         Step{kBatchHalfHeat, {}},
         Step{kBatchMaxGrainTemp, {}},
         Step{kSetpointDefault, {}, kSetpointEntryDialogId},
         Step{kSetpointAccept, {}},
         Step{0, [&](plat::Hwnd d) {
                limitField = Text(d, kBatchMaxGrainTempField);
                grainTempOpen = Enabled(d, kBatchMaxGrainTemp) && Enabled(d, kBatchMaxGrainTempField);
                maxTimeClosed = !Enabled(d, kBatchMaxTime);
                timeField = Text(d, kBatchMaxTimeField);
                onScreen = OnScreen(d);
                Screenshot("staged_batch_setup.png");
              }},
         Step{kBatchAccept, {}}});
  OpenDryingModeDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(dualCaption, "INVALID SELECTION");
  EXPECT_TRUE(singleKept);
  EXPECT_EQ(noCriterionCaption, "NO DRYING CRITERIA SELECTED");
  EXPECT_TRUE(stillOpen) << "ACCEPT without a criterion keeps the setup open";
  EXPECT_TRUE(grainTempOpen);
  EXPECT_TRUE(maxTimeClosed);
  EXPECT_EQ(timeField, "030:00");
  EXPECT_EQ(limitField, "150 F") << "the keypad's accepted default, before the controller echoes it";
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::Setting121));
  EXPECT_TRUE(onScreen);
  EXPECT_EQ(plat::ActiveTopLevel(), parent_) << "the selection closed with the setup";
  // Continuous flow, moisture 5-speed, to a staged batch dried by time.
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::DryerType));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusDryerType), lnk::kDryerTypeStagedBatch);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::OptionBits));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusOptionBits), lnk::kOptionBitsTimeCriterion);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MoistureControlMode));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMoistureControlMode), 0) << "the time criterion clears bits 1, 2 and 7";
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::DisplayOptions));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusDisplayOptions), lnk::kDisplayOptionsSafetyMaster | lnk::kDisplayOptionsMaxGrainTempGuard);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::DryingCriteria));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusDryingCriteria), lnk::kDryingCriteriaHalfHeat);
}

TEST_F(DryingDialogs, ContinuousFlowChoosesItsSchemeTogglesTheSafetyAndSetsTheBandsInFiveSpeed) {
  ASSERT_TRUE(hasPack_) << "build the language_packs target first";
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, lnk::kModeTemperature2Speed);
  lnk::WriteStatusByte(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsSafetyMaster | lnk::kDisplayOptionsMaxGrainTempGuard);
  lnk::WriteStatusByte(lnk::kStatusMaxGrainTempLimit, 150);
  lnk::WriteStatusByte(lnk::kStatusMoistureSetpoint + 1, 155);
  lnk::WriteStatusByte(lnk::kStatusMeterRollValue230, 60);
  lnk::WriteStatusByte(lnk::kStatusMinUnloadRate + 1, 10);
  lnk::WriteStatusByte(lnk::kStatusMaxUnloadRate + 1, 85);
  const uint8_t opening[4] = {20, 19, 30, 9};
  for (int i = 0; i < 4; ++i) lnk::WriteStatusByte(lnk::kStatusTrim1 + i, opening[i]);
  bool fiveSpeedClosed = false, moistureOptionsClosed = false, variableOn = false, fiveSpeedOpen = false;
  std::string field, label, centre, outer, inner, outerSpeed, invalid;
  bool grainTempClosed = false, flowOnScreen = false, fiveOnScreen = false;
  Drive({Step{kFlowMoisture, [&](plat::Hwnd d) {
                fiveSpeedClosed = !Enabled(d, kFlowFiveSpeedSetup) && !Enabled(d, kFlowAutoCentering);
                moistureOptionsClosed = !Enabled(d, kFlowVariable) && !Enabled(d, kFlowMoistureFiveSpeed);
                field = Text(d, kFlowMaxGrainTempField);
              }},
         Step{kFlowVariable, {}},
         Step{kFlowMoistureFiveSpeed, [&](plat::Hwnd d) { variableOn = Checked(d, kFlowVariable); }},
         Step{kFlowFiveSpeedSetup, [&](plat::Hwnd d) { fiveSpeedOpen = Enabled(d, kFlowFiveSpeedSetup); }},
         Step{kFiveSpeedDefaults, [&](plat::Hwnd d) {
                EXPECT_EQ(plat::DialogTemplateId(d), kFiveSpeedDialogId);
                invalid = Text(d, kFiveSpeedActualFields[0]);  // 60 + 30 passes the maximum rate, 85
              }},
         Step{kFiveSpeedSelect, [&](plat::Hwnd d) {
                centre = Text(d, kFiveSpeedCentre);
                outer = Text(d, kFiveSpeedMoistureFields[0]);
                inner = Text(d, kFiveSpeedMoistureFields[2]);
                outerSpeed = Text(d, kFiveSpeedActualFields[0]);
                fiveOnScreen = OnScreen(d);
                Screenshot("five_speed_setup.png");
              }},
         Step{kFiveSpeedSpeedUp, {}},  // inner speed 3 -> 4
         Step{kFiveSpeedAccept, {}},
         Step{kFlowSafetyToggle, {}},
         Step{0, [&](plat::Hwnd d) {
                label = Text(d, kFlowSafetyToggle);
                grainTempClosed = !Enabled(d, kFlowMaxGrainTemp) && !Enabled(d, kFlowMaxGrainTempField);
                flowOnScreen = OnScreen(d);
                Screenshot("continuous_flow_setup.png");
              }},
         Step{kFlowAccept, {}}});
  EXPECT_EQ(OpenContinuousFlowDialog(parent_), kFlowAccept);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_TRUE(fiveSpeedClosed);
  EXPECT_TRUE(moistureOptionsClosed);
  EXPECT_EQ(field, "150 F");
  EXPECT_TRUE(variableOn) << "VARIABLE was chosen before moisture 5 SPEED";
  EXPECT_TRUE(fiveSpeedOpen);
  EXPECT_EQ(invalid, "INVALID SELECTION");
  EXPECT_EQ(centre, "15.5 %");
  EXPECT_EQ(outer, "+0.6 %");
  EXPECT_EQ(inner, "-0.3 %");
  EXPECT_EQ(outerSpeed, "66 %");
  EXPECT_TRUE(fiveOnScreen);
  EXPECT_EQ(label, "ENABLE");
  EXPECT_TRUE(grainTempClosed);
  EXPECT_TRUE(flowOnScreen);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MoistureControlMode));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMoistureControlMode), lnk::kModeMoisture5Speed);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusDisplayOptions), 0) << "DISABLE cleared the master bit and its guard";
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::DisplayOptions));
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::DryingCriteria));
  const uint8_t bands[4] = {6, 3, 6, 4};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusTrim1 + i), bands[i]) << i;
  for (lnk::CommandRow row : {lnk::CommandRow::Trim1, lnk::CommandRow::Trim2, lnk::CommandRow::Trim3, lnk::CommandRow::Trim4})
    EXPECT_TRUE(lnk::IsPending(row)) << lnk::RowNumber(row);
}

TEST_F(DryingDialogs, UnloadRatesShowBushelsAskOnAcceptAndNoChangesNothing) {
  ASSERT_TRUE(hasPack_) << "build the language_packs target first";
  lnk::WriteStatusByte(lnk::kStatusConfigBits, lnk::kConfigBitsPort);
  lnk::WriteStatusByte(lnk::kStatusDryerLengthIndex, 6);  // 20 ft
  lnk::WriteStatusByte(lnk::kStatusMaxUnloadRate + 1, 51);
  lnk::WriteStatusByte(lnk::kStatusMinUnloadRate + 1, 50);
  std::string stepCaption, acceptCaption, bushels, note, percent, after;
  bool acceptAsked = false, onScreen = false;
  Drive({Step{kUnloadMaxDown, {}},
         Step{plat::IdNo, [&](plat::Hwnd box) { stepCaption = Narrow(plat::GetWindowText(box)); }},
         Step{kUnloadMaxDown, {}},  // 49: asked only once per run
         Step{kUnloadMaxUp, [&](plat::Hwnd d) { EXPECT_EQ(plat::DialogTemplateId(d), kUnloadParametersDialogId); }},
         Step{kUnloadAccept, [&](plat::Hwnd d) {
                percent = Text(d, kUnloadMaxPercent);
                bushels = Text(d, kUnloadMaxBushels);
                note = Text(d, kUnloadBasedUpon);
                onScreen = OnScreen(d);
                Screenshot("unload_parameters.png");
              }},
         Step{plat::IdNo, [&](plat::Hwnd box) {
                acceptCaption = Narrow(plat::GetWindowText(box));
                acceptAsked = plat::FindCapturedText("\t\tSet defaults?  Pressing YES will set defaults (Hi", box) != nullptr;
                Screenshot("unload_parameters_question.png");
              }}});
  EXPECT_EQ(RunUnloadRatesDialog(parent_), kUnloadCancel);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(stepCaption, kUnloadRatesCaption);
  EXPECT_EQ(acceptCaption, kUnloadRatesCaption);
  EXPECT_TRUE(acceptAsked);
  EXPECT_EQ(percent, "50");
  EXPECT_EQ(bushels, "1406");
  EXPECT_EQ(note, "*Based upon 20ft dryer @ 17.5 RPM.");
  EXPECT_TRUE(onScreen);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MaxUnloadRate));
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MinUnloadRate));

  // 100 % of a 20 ft dryer with the large rolls; YES on the step question sets the defaults.
  UnloadWarning() = {};
  lnk::WriteStatusByte(lnk::kStatusMaxUnloadRate + 1, 100);
  lnk::WriteStatusByte(lnk::kStatusMinUnloadRate + 1, 99);
  Drive({Step{kUnloadMinUp, [&](plat::Hwnd d) { bushels = Text(d, kUnloadMaxBushels); }},
         Step{plat::IdYes, {}},
         Step{kUnloadAccept, [&](plat::Hwnd d) { after = Text(d, kUnloadMaxPercent) + "/" + Text(d, kUnloadMinPercent); }}});
  EXPECT_EQ(RunUnloadRatesDialog(parent_), kUnloadAccept);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(bushels, "2812");
  EXPECT_EQ(after, "80/10");
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MaxUnloadRate));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMaxUnloadRate + 1), 80);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MinUnloadRate));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusMinUnloadRate + 1), 10);
}

TEST_F(DryingDialogs, MoistureControlDoorFollowsTheDryerTypeAndTheSelectionIsOnScreen) {
  ASSERT_TRUE(hasPack_) << "build the language_packs target first";
  int opened = 0;
  std::string caption;
  bool onScreen = false;
  Drive({Step{0, [&](plat::Hwnd d) { opened = plat::DialogTemplateId(d); }}, Step{kFlowAccept, {}}});
  OpenMoistureControlDialog(parent_);
  EXPECT_EQ(opened, kContinuousFlowDialogId);

  lnk::WriteStatusByte(lnk::kStatusDryerType, lnk::kDryerTypeStagedBatch);
  lnk::WriteStatusByte(lnk::kStatusOptionBits, lnk::kOptionBitsTimeCriterion);
  Drive({Step{0, [&](plat::Hwnd d) { opened = plat::DialogTemplateId(d); }}, Step{kBatchAccept, {}}});
  OpenMoistureControlDialog(parent_);
  EXPECT_EQ(opened, kStagedBatchDialogId);

  Drive({Step{kDryingModeAccept, [&](plat::Hwnd d) {
           caption = Narrow(plat::GetWindowText(d));
           onScreen = OnScreen(d);
           Screenshot("drying_mode_selection.png");
         }}});
  OpenDryingModeDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(caption, "MOISTURE CONTROL SETUP");
  EXPECT_TRUE(onScreen);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::DryerType)) << "nothing changed";
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::OptionBits));
}
