// A paint of a dialog only draws: captions, control texts and check marks change in the
// dialog's own refresh steps, so a repaint leaves whatever they hold as it is.
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "dialogs/DataLoggerDialog.h"
#include "dialogs/GraphSetupDialog.h"
#include "dialogs/LanguageDialog.h"
#include "dialogs/MeterRollDialog.h"
#include "dialogs/MoistureSetpointDialog.h"
#include "dialogs/PlenumSetupDialogs.h"
#include "dialogs/SampleTimeDialog.h"
#include "dialogs/SetpointEntryDialog.h"
#include "dialogs/ShutdownHistoryDialog.h"
#include "dialogs/SystemInfoDialog.h"
#include "dialogs/TimerEntryDialog.h"
#include "dialogs/WarningHelpDialog.h"

using namespace testing_support;
using namespace dialogs;

namespace {

constexpr TimerLimits kUpToTenMinutes{.maxMinutes = 10, .maxSeconds = 0, .defaultMinutes = 5,
                                      .defaultSeconds = 30, .minMinutes = 0, .minSeconds = 1};

struct PaintCase {
  const char* name;
  int (*open)(plat::Hwnd parent);
  std::vector<int> texts;   // 0 is the caption
  std::vector<int> checks;  // buttons whose check mark is flipped before the paint
};

const std::vector<PaintCase>& Cases() {
  static const std::vector<PaintCase> cases = {
      {"sample time", OpenSampleTimeDialog, {0, kSampleAccept, kSampleButton1}, {kSampleBox1, kSampleBox5}},
      {"graph setup", [](plat::Hwnd p) { return OpenGraphSetupDialog(p); }, {0, kGraphSetupAccept},
       {kGraphSetupBox1, kGraphSetupBox2}},
      {"data logger", OpenDataLoggerDialog, {0, kLoggerDelete, kLoggerUsedSpace}, {kLoggerBoxOn, kLoggerBoxOff}},
      {"system information", OpenSystemInfoDialog, {0, kInfoVersion, kInfoTime, kInfoExit}, {}},
      {"language", OpenLanguageDialog, {0, kLanguageButtonEnglish, kLanguageButtonGerman},
       {kLanguageButtonEnglish, kLanguageButtonGerman}},
      {"setpoint entry",
       [](plat::Hwnd p) {
         OpenSetpointEntry(gSetpointEntryRequest, lnk::CommandRow::PlenumSetpoint1, 180, 0, 160, 120, false);
         return OpenSetpointEntryDialog(p, gSetpointEntryRequest);
       },
       {0, kSetpointAccept, kSetpointDelete}, {}},
      {"timer entry",
       [](plat::Hwnd p) {
         OpenTimerEntry(gTimerEntryRequest, lnk::CommandRow::CoolTime, 3, 15, kUpToTenMinutes);
         return OpenTimerEntryDialog(p, gTimerEntryRequest);
       },
       {0, kTimerAccept, kTimerMinutesDelete}, {}},
      {"moisture setpoint",
       [](plat::Hwnd p) { return OpenMoistureSetpointDialog(p, MoistureSetpoint::Drying) ? 1 : 0; },
       {0, kMoistureModify, kMoistureExit}, {}},
      {"burner differential", OpenBurnerDifferentialDialog, {0, kDifferentialHelp, kDifferentialAccept}, {}},
      {"plenum temperature manager", OpenPlenumTempManagerDialog, {0, kManagerTimeField, kManagerSizeField},
       {kManagerOnRadio, kManagerOffRadio}},
      {"meter roll", [](plat::Hwnd p) { return OpenMeterRollDialog(p); }, {kMeterRollMode}, {}},
      {"warning help",
       [](plat::Hwnd p) { return OpenWarningHelpDialog(p, lnk::kNodeMainIo, lnk::kWarningCodeRearDischarge); },
       {0, kWarningHelpClose}, {}},
      {"shutdown history", OpenShutdownHistoryDialog, {0, kHistoryCopy, kHistorySortByDate, kHistoryBoxByNode},
       {kHistoryBoxByDate, kHistoryBoxByNode}},
  };
  return cases;
}

plat::Hwnd Target(plat::Hwnd dialog, int id) { return id == 0 ? dialog : plat::GetDlgItem(dialog, id); }

// Marks the texts and flips the check marks, repaints the whole dialog, and returns what the
// paint changed.
std::vector<std::string> PaintChanges(plat::Hwnd dialog, const PaintCase& c) {
  constexpr char16_t kMark[] = u"MARKED BY THE TEST";
  std::vector<bool> flipped;
  for (int id : c.texts) plat::SetWindowText(Target(dialog, id), kMark);
  for (int id : c.checks) {
    flipped.push_back(!plat::IsDlgButtonChecked(dialog, id));
    plat::CheckDlgButton(dialog, id, flipped.back());
  }
  plat::InvalidateRect(dialog, nullptr, true);
  plat::UpdateWindow(dialog);
  std::vector<std::string> changed;
  for (int id : c.texts)
    if (std::u16string(plat::GetWindowText(Target(dialog, id))) != kMark)
      changed.push_back(std::string(c.name) + ": text of " + std::to_string(id));
  for (size_t i = 0; i < c.checks.size(); ++i)
    if (plat::IsDlgButtonChecked(dialog, c.checks[i]) != flipped[i])
      changed.push_back(std::string(c.name) + ": check mark of " + std::to_string(c.checks[i]));
  return changed;
}

class DialogPaint : public HeadlessFixture {};

}  // namespace

TEST_F(DialogPaint, APaintChangesNoCaptionTextOrCheckMark) {
  ASSERT_TRUE(hasPack_) << "build the language_packs target first";
  lnk::WriteStatusByte(lnk::kStatusMoistureControlMode, lnk::kModeTemperature2Speed);
  for (const PaintCase& c : Cases()) {
    std::vector<std::string> changed;
    bool seen = false;
    Drive({Step{0, [&](plat::Hwnd d) {
      seen = true;
      changed = PaintChanges(d, c);
      plat::EndDialog(d, plat::IdCancel);
    }}});
    c.open(parent_);
    EXPECT_TRUE(seen) << c.name << " was not shown";
    EXPECT_EQ(changed, std::vector<std::string>{}) << c.name;
  }
}
