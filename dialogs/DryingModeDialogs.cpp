#include "dialogs/DryingModeDialogs.h"

#include "dialogs/DialogText.h"
#include "dialogs/DryingModeLogic.h"
#include "dialogs/FiveSpeedDialog.h"
#include "dialogs/KeypadLogic.h"
#include "dialogs/MoistureControlHelp.h"
#include "dialogs/SetpointEntryDialog.h"
#include "dialogs/TimerEntryDialog.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"

namespace dialogs {
namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr int kStringMoistureControlSetup = 6;
constexpr int kStringDryingModeHelpCaption = 358;
constexpr int kStringCriteriaHelpCaption = 359;
constexpr int kStringAvailableModesCaption = 365;
constexpr int kStringNoCriteriaCaption = 450;
constexpr char kDryingModeHelpFile[] = "DryingModeSelectionHelp.txt";
constexpr char kCriteriaHelpFile[] = "SelectDryingCriteriaHelp.txt";
constexpr char kAvailableModesHelpFile[] = "AvailableDryingModesHelp.txt";
constexpr char kNoCriteriaHelpFile[] = "NoDryingCriteriaSelectedHelp.txt";

constexpr TimerLimits kStagedBatchTimeLimits = {.maxMinutes = 255, .maxSeconds = 0, .defaultMinutes = 255,
                                                .defaultSeconds = 0, .minMinutes = 0, .minSeconds = 0};

constexpr uint32_t kRadio = Style::NoAuto;
constexpr uint32_t kButton = Style::Center;

lnk::DryerStatus Snapshot() {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  return s;
}

void Check(plat::Hwnd d, int id, bool on) { plat::CheckDlgButton(d, id, on); }

void OpenMaxGrainTemp(plat::Hwnd dialog) {
  const lnk::DryerStatus s = Snapshot();
  OpenSetpointEntryFromStatus(gSetpointEntryRequest, s, lnk::CommandRow::Setting121, kMaxGrainTempMinimum,
                              kMaxGrainTempMaximum, kMaxGrainTempDefault,
                              (s.b[lnk::kStatusDisplayOptions] & lnk::kDisplayOptionsCelsius) != 0);
  OpenSetpointEntryDialog(dialog, gSetpointEntryRequest);
}

void ShowMaxGrainTemp(plat::Hwnd dialog, int field) {
  char text[24];
  FormatMaxGrainTemp(text, sizeof text, MaxGrainTempShown(Snapshot()));
  plat::SetDlgItemText(dialog, field, text);
}

DryingRegisters& RegistersOf(plat::Hwnd dialog) { return *static_cast<DryingRegisters*>(plat::GetWindowData(dialog)); }

// ---- Dialog 512 ----

constexpr DialogControl kModeControls[] = {
    {.kind = ControlKind::GroupBox, .id = -1, .rect = RectXywh(10, 8, 460, 136), .text = "DRYING MODE"},
    {.kind = ControlKind::RadioButton, .id = kDryingModeContinuousRadio, .rect = RectXywh(24, 38, 200, 30),
     .text = "CONTINUOUS FLOW", .style = kRadio | Style::Group},
    {.kind = ControlKind::PushButton, .id = kDryingModeContinuous, .rect = RectXywh(240, 30, 216, 46),
     .text = "CONTINUOUS FLOW", .style = kButton},
    {.kind = ControlKind::RadioButton, .id = kDryingModeStagedBatchRadio, .rect = RectXywh(24, 94, 200, 30),
     .text = "STAGED BATCH", .style = kRadio},
    {.kind = ControlKind::PushButton, .id = kDryingModeStagedBatch, .rect = RectXywh(240, 86, 216, 46),
     .text = "STAGED BATCH", .style = kButton},
    {.kind = ControlKind::OwnerDrawButton, .id = kDryingModeSetup, .rect = RectXywh(10, 154, 460, 50),
     .text = "MOISTURE CONTROL SETUP", .style = kButton},
    {.kind = ControlKind::PushButton, .id = kDryingModeHelp, .rect = RectXywh(10, 214, 150, 46), .text = "HELP",
     .style = kButton},
    {.kind = ControlKind::PushButton, .id = kDryingModeAccept, .rect = RectXywh(320, 214, 150, 46),
     .text = "ACCEPT", .style = kButton},
};

constexpr plat::DialogTemplate kModeTemplate{
    .id = kDryingModeDialogId,
    .caption = "MOISTURE CONTROL SETUP",
    .rect = RectXywh(0, 0, 480, 300),
    .controls = kModeControls,
    .count = static_cast<int>(sizeof kModeControls / sizeof kModeControls[0]),
};

void ShowMode(plat::Hwnd dialog) {
  const DryingRegisters& r = RegistersOf(dialog);
  const bool available = StagedBatchAvailable(Snapshot());
  Check(dialog, kDryingModeContinuousRadio, r.type == lnk::kDryerTypeContinuous);
  Check(dialog, kDryingModeStagedBatchRadio, r.type != lnk::kDryerTypeContinuous);
  plat::EnableDlgItem(dialog, kDryingModeStagedBatch, available);
  plat::EnableDlgItem(dialog, kDryingModeStagedBatchRadio, available);
}

bool OnModeCommand(plat::Hwnd dialog, int id) {
  DryingRegisters& r = RegistersOf(dialog);
  switch (id) {
    case kDryingModeContinuous:
      ChooseContinuousFlow(r);
      RaiseDryingModeChoice(r);
      break;
    case kDryingModeStagedBatch:
      if (!StagedBatchAvailable(Snapshot())) return true;
      ChooseStagedBatch(r);
      RaiseDryingModeChoice(r);
      break;
    case kDryingModeAccept:
      AcceptDryingMode(r);
      plat::EndDialog(dialog, id);
      return true;
    case kDryingModeSetup: {
      AcceptDryingMode(r);
      const int result = r.type != lnk::kDryerTypeContinuous ? OpenStagedBatchDialog(dialog) : OpenContinuousFlowDialog(dialog);
      // An accepted setup closes this dialog too; otherwise it goes on with what the setup left.
      if (result == kBatchAccept) {
        plat::EndDialog(dialog, kDryingModeAccept);
        return true;
      }
      r = ReadDryingRegisters();
      break;
    }
    case kDryingModeHelp:
      ShowHelpFile(dialog, kDryingModeHelpFile, kStringDryingModeHelpCaption);
      return true;
    default:
      return false;
  }
  ShowMode(dialog);
  return true;
}

bool ModeProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog: {
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      DryingRegisters& r = RegistersOf(dialog);
      r = OpenDryingRegisters();
      if (!StagedBatchAvailable(Snapshot())) r.type = lnk::kDryerTypeContinuous;
      PlaceAboveParentCentre(dialog);
      SetString(dialog, 0, kStringMoistureControlSetup);
      SetString(dialog, kDryingModeHelp, i18n::kStringHelp);
      SetString(dialog, kDryingModeAccept, i18n::kStringAccept);
      ShowMode(dialog);
      return true;
    }
    case plat::Msg::Command:
      return OnModeCommand(dialog, plat::CommandId(w));
    default:
      return false;
  }
}

// ---- Dialog 515 ----

constexpr DialogControl kFlowControls[] = {
    {.kind = ControlKind::GroupBox, .id = -1, .rect = RectXywh(10, 8, 300, 250), .text = "METERING ROLL CONTROL"},
    {.kind = ControlKind::RadioButton, .id = kFlowTemperature, .rect = RectXywh(20, 32, 140, 28),
     .text = "TEMPERATURE", .style = kRadio | Style::Group},
    {.kind = ControlKind::RadioButton, .id = kFlowMoisture, .rect = RectXywh(165, 32, 140, 28), .text = "MOISTURE",
     .style = kRadio},
    {.kind = ControlKind::RadioButton, .id = kFlowTwoSpeed, .rect = RectXywh(30, 70, 130, 28), .text = "2 SPEED",
     .style = kRadio | Style::Group},
    {.kind = ControlKind::RadioButton, .id = kFlowTemperatureFiveSpeed, .rect = RectXywh(30, 104, 130, 28),
     .text = "5 SPEED", .style = kRadio},
    {.kind = ControlKind::RadioButton, .id = kFlowVariable, .rect = RectXywh(175, 70, 130, 28), .text = "VARIABLE",
     .style = kRadio},
    {.kind = ControlKind::RadioButton, .id = kFlowMoistureFiveSpeed, .rect = RectXywh(175, 104, 130, 28),
     .text = "5 SPEED", .style = kRadio},
    {.kind = ControlKind::PushButton, .id = kFlowFiveSpeedSetup, .rect = RectXywh(20, 144, 280, 44),
     .text = "5 SPEED SETUP", .style = kButton},
    {.kind = ControlKind::PushButton, .id = kFlowAutoCentering, .rect = RectXywh(20, 200, 170, 44),
     .text = "AUTO CENTERING", .style = kButton},
    {.kind = ControlKind::RadioButton, .id = kFlowAutoCenteringEnabled, .rect = RectXywh(198, 208, 106, 28),
     .text = "ENABLED", .style = kRadio | Style::Group},
    {.kind = ControlKind::GroupBox, .id = -1, .rect = RectXywh(320, 8, 290, 112), .text = "UPPER MOISTURE SENSOR"},
    {.kind = ControlKind::PushButton, .id = kFlowUpperSensorSelect, .rect = RectXywh(330, 34, 120, 72),
     .text = "SELECT", .style = kButton},
    {.kind = ControlKind::RadioButton, .id = kFlowUpperSensorEnabled, .rect = RectXywh(460, 36, 140, 28),
     .text = "ENABLED", .style = kRadio | Style::Group},
    {.kind = ControlKind::RadioButton, .id = kFlowUpperSensorDisabled, .rect = RectXywh(460, 72, 140, 28),
     .text = "DISABLED", .style = kRadio},
    {.kind = ControlKind::GroupBox, .id = -1, .rect = RectXywh(320, 128, 290, 130), .text = "MAX GRAIN TEMP SAFETY"},
    {.kind = ControlKind::PushButton, .id = kFlowSafetyToggle, .rect = RectXywh(330, 152, 130, 44),
     .text = "DISABLE", .style = kButton},
    {.kind = ControlKind::PushButton, .id = kFlowMaxGrainTemp, .rect = RectXywh(470, 152, 130, 44),
     .text = "MAX GRAIN TEMP", .style = kButton},
    {.kind = ControlKind::Edit, .id = kFlowMaxGrainTempField, .rect = RectXywh(330, 206, 270, 36), .text = "",
     .style = Style::Center | Style::Border},
    {.kind = ControlKind::PushButton, .id = kFlowHelp, .rect = RectXywh(10, 270, 150, 46), .text = "HELP",
     .style = kButton},
    {.kind = ControlKind::PushButton, .id = kFlowAccept, .rect = RectXywh(460, 270, 150, 46), .text = "ACCEPT",
     .style = kButton},
};

constexpr plat::DialogTemplate kFlowTemplate{
    .id = kContinuousFlowDialogId,
    .caption = "CONTINUOUS FLOW SETUP",
    .rect = RectXywh(0, 0, 620, 356),
    .controls = kFlowControls,
    .count = static_cast<int>(sizeof kFlowControls / sizeof kFlowControls[0]),
};

void ShowFlow(plat::Hwnd dialog) {
  const DryingRegisters& r = RegistersOf(dialog);
  const int mode = ModeOf(r);
  const bool temperature = TemperatureBased(mode);
  const bool moisture = MoistureBased(mode);
  Check(dialog, kFlowTemperature, temperature);
  Check(dialog, kFlowMoisture, moisture);
  Check(dialog, kFlowTwoSpeed, mode == lnk::kModeTemperature2Speed);
  Check(dialog, kFlowTemperatureFiveSpeed, mode == lnk::kModeTemperature5Speed);
  Check(dialog, kFlowVariable, mode == lnk::kModeMoistureVariable);
  Check(dialog, kFlowMoistureFiveSpeed, mode == lnk::kModeMoisture5Speed);
  plat::EnableDlgItem(dialog, kFlowTwoSpeed, temperature);
  plat::EnableDlgItem(dialog, kFlowTemperatureFiveSpeed, temperature);
  plat::EnableDlgItem(dialog, kFlowVariable, moisture);
  plat::EnableDlgItem(dialog, kFlowMoistureFiveSpeed, moisture);
  plat::EnableDlgItem(dialog, kFlowAutoCentering, FiveSpeed(mode));
  plat::EnableDlgItem(dialog, kFlowFiveSpeedSetup, FiveSpeed(mode));
  Check(dialog, kFlowAutoCenteringEnabled, (r.criteria & lnk::kDryingCriteriaAutoCentering) != 0);
  const bool upper = (r.criteria & lnk::kDryingCriteriaUpperSensor) != 0;
  Check(dialog, kFlowUpperSensorEnabled, upper);
  Check(dialog, kFlowUpperSensorDisabled, !upper);
  const bool safety = SafetyEnabled(r);
  plat::SetDlgItemText(dialog, kFlowSafetyToggle, safety ? "DISABLE" : "ENABLE");
  plat::EnableDlgItem(dialog, kFlowMaxGrainTemp, safety);
  plat::EnableDlgItem(dialog, kFlowMaxGrainTempField, safety);
  ShowMaxGrainTemp(dialog, kFlowMaxGrainTempField);
}

// The scheme a button chooses, 0 for the other buttons.
int ModeOfButton(int id) {
  switch (id) {
    case kFlowTemperature:
    case kFlowTwoSpeed: return lnk::kModeTemperature2Speed;
    case kFlowTemperatureFiveSpeed: return lnk::kModeTemperature5Speed;
    case kFlowVariable: return lnk::kModeMoistureVariable;
    case kFlowMoisture:
    case kFlowMoistureFiveSpeed: return lnk::kModeMoisture5Speed;
    default: return 0;
  }
}

bool OnFlowCommand(plat::Hwnd dialog, int id) {
  DryingRegisters& r = RegistersOf(dialog);
  if (const int mode = ModeOfButton(id); mode != 0) {
    SetMoistureMode(r, mode);
    RaiseByteIfChanged(lnk::CommandRow::MoistureControlMode, r.mode);
    ShowFlow(dialog);
    return true;
  }
  switch (id) {
    case kFlowAutoCentering: ToggleAutoCentering(r); break;
    case kFlowUpperSensorSelect: ToggleUpperSensor(r); break;
    case kFlowSafetyToggle: ToggleSafety(r); break;
    case kFlowMaxGrainTemp: OpenMaxGrainTemp(dialog); break;
    case kFlowFiveSpeedSetup: OpenFiveSpeedDialog(dialog, ModeOf(r)); break;
    case kFlowHelp:
      ShowHelpFile(dialog, kCriteriaHelpFile, kStringCriteriaHelpCaption);
      return true;
    case kFlowAccept:
      AcceptContinuousFlow(r, Snapshot());
      plat::EndDialog(dialog, id);
      return true;
    default:
      return false;
  }
  ShowFlow(dialog);
  return true;
}

bool FlowProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      RegistersOf(dialog) = OpenDryingRegisters();
      PlaceAboveParentCentre(dialog);
      SetString(dialog, kFlowHelp, i18n::kStringHelp);
      SetString(dialog, kFlowAccept, i18n::kStringAccept);
      ShowFlow(dialog);
      return true;
    case plat::Msg::Command:
      return OnFlowCommand(dialog, plat::CommandId(w));
    default:
      return false;
  }
}

// ---- Dialog 516 ----

constexpr DialogControl kBatchControls[] = {
    {.kind = ControlKind::GroupBox, .id = -1, .rect = RectXywh(10, 6, 600, 126), .text = "DRYING CRITERIA"},
    {.kind = ControlKind::CheckBox, .id = kBatchTime, .rect = RectXywh(20, 28, 580, 30),
     .text = "TIME - Dry Timer(s) must expire before drying is complete", .style = kRadio},
    {.kind = ControlKind::CheckBox, .id = kBatchTemperature, .rect = RectXywh(20, 62, 580, 30),
     .text = "TEMPERATURE - Grain Temp must reach setpoint before drying is complete", .style = kRadio},
    {.kind = ControlKind::CheckBox, .id = kBatchMoisture, .rect = RectXywh(20, 96, 580, 30),
     .text = "MOISTURE - Batch automatic moisture control selected", .style = kRadio},
    {.kind = ControlKind::GroupBox, .id = -1, .rect = RectXywh(10, 138, 230, 104), .text = "TEMPERATURE BASED OPTIONS"},
    {.kind = ControlKind::RadioButton, .id = kBatchSingle, .rect = RectXywh(20, 164, 210, 30), .text = "SINGLE",
     .style = kRadio | Style::Group},
    {.kind = ControlKind::RadioButton, .id = kBatchDual, .rect = RectXywh(20, 202, 210, 30), .text = "DUAL *",
     .style = kRadio},
    {.kind = ControlKind::GroupBox, .id = -1, .rect = RectXywh(250, 138, 360, 104), .text = "HEAT SPLIT"},
    {.kind = ControlKind::RadioButton, .id = kBatchFullHeat, .rect = RectXywh(260, 164, 110, 30), .text = "FULL",
     .style = kRadio | Style::Group},
    {.kind = ControlKind::RadioButton, .id = kBatchTwoThirdsHeat, .rect = RectXywh(372, 164, 116, 30),
     .text = "1/3 - 2/3", .style = kRadio},
    {.kind = ControlKind::RadioButton, .id = kBatchHalfHeat, .rect = RectXywh(490, 164, 116, 30),
     .text = "1/2 - 1/2", .style = kRadio},
    {.kind = ControlKind::GroupBox, .id = -1, .rect = RectXywh(10, 248, 600, 72), .text = "SAFETY PARAMETERS"},
    {.kind = ControlKind::PushButton, .id = kBatchSafetyToggle, .rect = RectXywh(20, 270, 104, 42),
     .text = "DISABLE", .style = kButton},
    {.kind = ControlKind::PushButton, .id = kBatchMaxTime, .rect = RectXywh(132, 270, 110, 42), .text = "MAX TIME",
     .style = kButton},
    {.kind = ControlKind::Edit, .id = kBatchMaxTimeField, .rect = RectXywh(248, 276, 96, 30), .text = "",
     .style = Style::Center | Style::Border},
    {.kind = ControlKind::PushButton, .id = kBatchMaxGrainTemp, .rect = RectXywh(352, 270, 150, 42),
     .text = "MAX GRAIN TEMP", .style = kButton},
    {.kind = ControlKind::Edit, .id = kBatchMaxGrainTempField, .rect = RectXywh(508, 276, 94, 30), .text = "",
     .style = Style::Center | Style::Border},
    {.kind = ControlKind::PushButton, .id = kBatchHelp, .rect = RectXywh(10, 330, 150, 46), .text = "HELP",
     .style = kButton},
    {.kind = ControlKind::PushButton, .id = kBatchAccept, .rect = RectXywh(460, 330, 150, 46), .text = "ACCEPT",
     .style = kButton},
};

constexpr plat::DialogTemplate kBatchTemplate{
    .id = kStagedBatchDialogId,
    .caption = "STAGED BATCH SETUP",
    .rect = RectXywh(0, 0, 620, 412),
    .controls = kBatchControls,
    .count = static_cast<int>(sizeof kBatchControls / sizeof kBatchControls[0]),
};

struct BatchState {
  DryingRegisters r;
  SafetyFields fields;
};

BatchState& BatchOf(plat::Hwnd dialog) { return *static_cast<BatchState*>(plat::GetWindowData(dialog)); }

void ShowBatch(plat::Hwnd dialog) {
  const BatchState& b = BatchOf(dialog);
  const uint8_t options = b.r.options;
  Check(dialog, kBatchTime, (options & lnk::kOptionBitsTimeCriterion) != 0);
  Check(dialog, kBatchTemperature, (options & lnk::kOptionBitsTemperatureCriterion) != 0);
  Check(dialog, kBatchMoisture, (options & lnk::kOptionBitsMoistureCriterion) != 0);
  Check(dialog, kBatchSingle, (options & lnk::kOptionBitsDualPlenum) == 0);
  Check(dialog, kBatchDual, (options & lnk::kOptionBitsDualPlenum) != 0);
  Check(dialog, kBatchFullHeat, (b.r.criteria & lnk::kDryingCriteriaFullHeat) != 0);
  Check(dialog, kBatchTwoThirdsHeat, (b.r.criteria & lnk::kDryingCriteriaTwoThirdsHeat) != 0);
  Check(dialog, kBatchHalfHeat, (b.r.criteria & lnk::kDryingCriteriaHalfHeat) != 0);
  plat::SetDlgItemText(dialog, kBatchSafetyToggle, SafetyEnabled(b.r) ? "DISABLE" : "ENABLE");
  plat::EnableDlgItem(dialog, kBatchMaxTime, b.fields.maxTime);
  plat::EnableDlgItem(dialog, kBatchMaxTimeField, b.fields.maxTime);
  plat::EnableDlgItem(dialog, kBatchMaxGrainTemp, b.fields.maxGrainTemp);
  plat::EnableDlgItem(dialog, kBatchMaxGrainTempField, b.fields.maxGrainTemp);
  char text[24];
  FormatMaxTime(text, sizeof text, Snapshot());
  plat::SetDlgItemText(dialog, kBatchMaxTimeField, text);
  ShowMaxGrainTemp(dialog, kBatchMaxGrainTempField);
}

void PressBatchCriterion(BatchState& b, Criterion c) {
  PressCriterion(b.r, b.fields, c);
  RaiseByteIfChanged(lnk::CommandRow::MoistureControlMode, b.r.mode);
  // The moisture criterion also chooses the full heat.
  if (c == Criterion::Moisture) RaiseByteIfChanged(lnk::CommandRow::DryingCriteria, b.r.criteria);
}

void ChooseBatchHeatSplit(BatchState& b, HeatSplit h) {
  ChooseHeatSplit(b.r, h);
  RaiseByteIfChanged(lnk::CommandRow::DryingCriteria, b.r.criteria);
}

bool OnBatchCommand(plat::Hwnd dialog, int id) {
  BatchState& b = BatchOf(dialog);
  switch (id) {
    case kBatchTime: PressBatchCriterion(b, Criterion::Time); break;
    case kBatchTemperature: PressBatchCriterion(b, Criterion::Temperature); break;
    case kBatchMoisture: PressBatchCriterion(b, Criterion::Moisture); break;
    case kBatchSingle: ChooseSinglePlenum(b.r); break;
    case kBatchDual:
      if (!ChooseDualPlenum(b.r, Snapshot()))
        plat::MessageBox(dialog, kDualPlenumRefusal, kInvalidSelectionCaption, plat::MbButtons::Ok,
                         plat::MbIcon::Exclamation);
      break;
    case kBatchFullHeat: ChooseBatchHeatSplit(b, HeatSplit::Full); break;
    case kBatchTwoThirdsHeat: ChooseBatchHeatSplit(b, HeatSplit::TwoThirds); break;
    case kBatchHalfHeat: ChooseBatchHeatSplit(b, HeatSplit::Half); break;
    case kBatchSafetyToggle: ToggleBatchSafety(b.r, b.fields); break;
    case kBatchMaxTime:
      OpenTimerEntryFromStatus(gTimerEntryRequest, Snapshot(), lnk::CommandRow::StagedBatchTime, kStagedBatchTimeLimits);
      OpenTimerEntryDialog(dialog, gTimerEntryRequest);
      break;
    case kBatchMaxGrainTemp: OpenMaxGrainTemp(dialog); break;
    case kBatchHelp:
      ShowHelpFile(dialog, kAvailableModesHelpFile, kStringAvailableModesCaption);
      return true;
    case kBatchAccept:
      if (!AcceptStagedBatch(b.r, Snapshot())) {
        ShowHelpFile(dialog, kNoCriteriaHelpFile, kStringNoCriteriaCaption);
        return true;
      }
      plat::EndDialog(dialog, id);
      return true;
    default:
      return false;
  }
  ShowBatch(dialog);
  return true;
}

bool BatchProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog: {
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      BatchState& b = BatchOf(dialog);
      b.r = OpenDryingRegisters();
      b.fields = OpeningSafetyFields(b.r);
      PlaceAboveParentCentre(dialog);
      SetString(dialog, kBatchHelp, i18n::kStringHelp);
      SetString(dialog, kBatchAccept, i18n::kStringAccept);
      ShowBatch(dialog);
      return true;
    }
    case plat::Msg::Command:
      return OnBatchCommand(dialog, plat::CommandId(w));
    default:
      return false;
  }
}

}  // namespace

void OpenDryingModeDialog(plat::Hwnd parent) {
  DryingRegisters r{};
  plat::DialogBox(parent, kModeTemplate, ModeProc, reinterpret_cast<plat::LParam>(&r));
}

int OpenContinuousFlowDialog(plat::Hwnd parent) {
  DryingRegisters r{};
  return plat::DialogBox(parent, kFlowTemplate, FlowProc, reinterpret_cast<plat::LParam>(&r));
}

int OpenStagedBatchDialog(plat::Hwnd parent) {
  BatchState b{};
  return plat::DialogBox(parent, kBatchTemplate, BatchProc, reinterpret_cast<plat::LParam>(&b));
}

void OpenMoistureControlDialog(plat::Hwnd parent) {
  if (lnk::ReadStatusByte(lnk::kStatusDryerType) != lnk::kDryerTypeContinuous)
    OpenStagedBatchDialog(parent);
  else
    OpenContinuousFlowDialog(parent);
}

}  // namespace dialogs
