// The hardware setup dialog (164) with its sensor selection (613) and the burner mode dialog
// (177): the SELECT steps and forced corrections, what ACCEPT raises, and each dialog driven by
// presses in both layouts.
#include <filesystem>
#include <set>

#include "DialogDriver.h"
#include "dialogs/BurnerModeDialog.h"
#include "dialogs/HardwareSetupDialog.h"
#include "dialogs/HardwareSetupLogic.h"
#include "dialogs/SensorSelectDialog.h"
#include "platform/MessageBox.h"

using lnk::CommandRow;
using lnk::DryerStatus;
using lnk::IsPending;
using lnk::ReadRequestByte;
using lnk::RequestByte;
using lnk::ResetDryerStatus;
using lnk::ResetSettingRequest;
using lnk::RowFromIndex;
using lnk::TakeStatusSnapshot;
using lnk::WriteRequestByte;
using lnk::WriteStatusByte;
using lnk::kBurnerModeFanOnly;
using lnk::kBurnerModeNoAirSwitchTest;
using lnk::kCommandRowCount;
using lnk::kConfigBitsHardwareChoice;
using lnk::kFanHeaterFour;
using lnk::kFanHeaterOne;
using lnk::kFanHeaterSix;
using lnk::kFanHeaterThree;
using lnk::kHardwareOptionCycledSampler;
using lnk::kModulesOne;
using lnk::kModulesTwo;
using lnk::kOptionBits2GrainPresent;
using lnk::kOptionBits2QuickStart;
using lnk::kOptionBitsDualPlenum;
using lnk::kSensorSelectionWetNetwork;
using lnk::kStatusConfigBits;
using lnk::kStatusDryerLengthIndex;
using lnk::kStatusFanHeaterCount;
using lnk::kStatusFuelType;
using lnk::kStatusHardwareOption137;
using lnk::kStatusLoadSystem;
using lnk::kStatusModuleCount;
using lnk::kStatusMoistureSensorSelection;
using lnk::kStatusOptionBits;
using lnk::kStatusOptionBits2;

using namespace testing_support;
using namespace dialogs;

namespace {

DryerStatus Snapshot() {
  DryerStatus s;
  TakeStatusSnapshot(s);
  return s;
}

std::set<int> PendingRows() {
  std::set<int> rows;
  for (int i = 0; i < kCommandRowCount; ++i)
    if (IsPending(RowFromIndex(i))) rows.insert(i + 1);
  return rows;
}

class HardwareSetupLogicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetDryerStatus();
    ResetSettingRequest();
  }
  void TearDown() override {
    ResetDryerStatus();
    ResetSettingRequest();
  }
};

}  // namespace

TEST_F(HardwareSetupLogicTest, SelectStepsWrapAndKeepTheFanHeaterCountWithinWhatTheModulesAllow) {
  struct Case {
    const char* what;
    HardwareGroup group;
    HardwareSetup from;
    uint8_t modules, fanHeaters, length;
  };
  using G = HardwareGroup;
  const Case kCases[] = {
      {"one module: One to Two", G::FanHeaters, {.fanHeaters = 0, .modules = 0}, 0, 1, 0},
      {"one module: Three back to One", G::FanHeaters, {.fanHeaters = 2, .modules = 0}, 0, 0, 0},
      {"two modules: Three to Four", G::FanHeaters, {.fanHeaters = 2, .modules = 1}, 1, 3, 0},
      {"two modules: Four to Three", G::FanHeaters, {.fanHeaters = 3, .modules = 1}, 1, 2, 0},
      {"three modules: Four to Six", G::FanHeaters, {.fanHeaters = 3, .modules = 2}, 2, 4, 0},
      {"three modules: Six to Four", G::FanHeaters, {.fanHeaters = 4, .modules = 2}, 2, 3, 0},
      {"series: One to Three", G::FanHeaters, {.fanHeaters = 0, .series = true}, 0, 2, 0},
      {"series: Three to One", G::FanHeaters, {.fanHeaters = 2, .series = true}, 0, 0, 0},
      {"series: Two is no series count", G::FanHeaters, {.fanHeaters = 1, .series = true}, 0, 2, 0},
      {"two modules after Six give Three", G::Modules, {.fanHeaters = 4, .modules = 0}, 1, 2, 0},
      {"two modules after One give Three", G::Modules, {.fanHeaters = 0, .modules = 0}, 1, 2, 0},
      {"three modules force Four", G::Modules, {.fanHeaters = 2, .modules = 1}, 2, 3, 0},
      {"three modules keep Four", G::Modules, {.fanHeaters = 3, .modules = 1}, 2, 3, 0},
      {"one module after Six gives Three", G::Modules, {.fanHeaters = 4, .modules = 2}, 0, 2, 0},
      {"40 ft wraps to 8 ft", G::Length, {.length = 14}, 0, 0, 0},
      {"28 ft steps to 34 ft", G::Length, {.length = 10}, 0, 0, 11},
  };
  for (const Case& c : kCases) {
    HardwareSetup h = c.from;
    SelectNext(h, c.group);
    EXPECT_EQ(h.modules, c.modules) << c.what;
    EXPECT_EQ(h.fanHeaters, c.fanHeaters) << c.what;
    EXPECT_EQ(h.length, c.length) << c.what;
  }
  HardwareSetup h{.fuel = 3, .loadSystem = 2};
  SelectNext(h, HardwareGroup::Fuel);
  SelectNext(h, HardwareGroup::LoadSystem);
  EXPECT_EQ(h.fuel, 0) << "Diesel wraps to LP";
  EXPECT_EQ(h.loadSystem, 0) << "Dual Fill wraps to End Fill";
}

TEST_F(HardwareSetupLogicTest, AcceptRaisesExactlyTheRegistersThatChanged) {
  // Two modules, four units, 24 ft, natural gas, centre fill, grain present, cycled sampler on.
  const int kBase[][2] = {{kStatusFanHeaterCount, kFanHeaterFour}, {kStatusModuleCount, kModulesTwo},
                          {kStatusFuelType, 1}, {kStatusLoadSystem, 1}, {kStatusDryerLengthIndex, 8},
                          {kStatusOptionBits2, kOptionBits2GrainPresent | kOptionBits2QuickStart},
                          {kStatusHardwareOption137, kHardwareOptionCycledSampler | 0x01}};
  struct Case {
    const char* what;
    void (*before)();  // before opening
    void (*edit)(HardwareSetup& h);
    uint8_t optionBits;  // status byte 257
    std::set<int> rows;
  };
  const auto none = [] {};
  const Case kCases[] = {
      {"nothing changed", none, [](HardwareSetup&) {}, 0, {}},
      {"length", none, [](HardwareSetup& h) { SelectNext(h, HardwareGroup::Length); }, 0, {5}},
      {"fuel and load system", none, [](HardwareSetup& h) { h.fuel = 2; h.loadSystem = 0; }, 0, {3, 4}},
      {"modules keep Four", none, [](HardwareSetup& h) { SelectNext(h, HardwareGroup::Modules); }, 0, {2}},
      {"grain present and cycled sampler off", none,
       [](HardwareSetup& h) { h.grainPresent = h.cycledSampler = false; }, 0, {77, 82}},
      {"dual plenum with more than one unit", none, [](HardwareSetup&) {}, kOptionBitsDualPlenum | 0x10, {70}},
      {"dual plenum kept with one unit", none,
       [](HardwareSetup& h) { h.modules = kModulesOne, h.fanHeaters = kFanHeaterOne; }, kOptionBitsDualPlenum, {1, 2}},
      {"a pending length is what opens and goes on", [] { RequestByte(kStatusDryerLengthIndex, 9, CommandRow::DryerLength); },
       [](HardwareSetup& h) { EXPECT_EQ(h.length, 9); }, 0, {5}},
      {"an unraised request is not what opens", [] { WriteRequestByte(kStatusFuelType, 3); },
       [](HardwareSetup& h) { EXPECT_EQ(h.fuel, 1); }, 0, {}},
  };
  for (const Case& c : kCases) {
    ResetDryerStatus();
    ResetSettingRequest();
    for (const auto& b : kBase) WriteStatusByte(b[0], static_cast<uint8_t>(b[1]));
    WriteStatusByte(kStatusOptionBits, c.optionBits);
    c.before();
    HardwareSetup h = OpenHardwareSetup(Snapshot());
    c.edit(h);
    EXPECT_EQ(AcceptHardwareSetup(h), static_cast<int>(c.rows.size())) << c.what;
    EXPECT_EQ(PendingRows(), c.rows) << c.what;
  }
  // Only bit 7 of 1:23 and 1:37 is the dialog's; the others go out as the controller has them.
  ResetSettingRequest();
  HardwareSetup h = OpenHardwareSetup(Snapshot());
  h.grainPresent = h.cycledSampler = false;
  AcceptHardwareSetup(h);
  EXPECT_EQ(ReadRequestByte(kStatusOptionBits2), kOptionBits2QuickStart);
  EXPECT_EQ(ReadRequestByte(kStatusHardwareOption137), 0x01);
}

namespace {

class HardwareSetupDialogs : public HeadlessFixture {
 protected:
  void SetUp() override {
    HeadlessFixture::SetUp();
    if (hasPack_) i18n::EnsureLanguageLoaded();
  }
  static std::string Text(plat::Hwnd dialog, int id) {
    return Narrow(plat::GetWindowText(plat::GetDlgItem(dialog, id)));
  }
  static bool Shown(plat::Hwnd dialog, int id) { return plat::IsWindowVisible(plat::GetDlgItem(dialog, id)); }
  template <int N>
  static int Checked(plat::Hwnd dialog, const int (&radios)[N]) {
    int found = -1;
    for (int i = 0; i < N; ++i)
      if (plat::IsDlgButtonChecked(dialog, radios[i])) found = found == -1 ? i : -2;
    return found;
  }
};

void Screenshot(const char* name) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(DRYER_BINARY_DIR) / "screenshots", ec);
  plat::ScreenshotPng((std::filesystem::path(DRYER_BINARY_DIR) / "screenshots" / name).c_str());
}

}  // namespace

TEST_F(HardwareSetupDialogs, PortDryerWalkShowsSelectsConfirmsAndSendsOnlyTheChanges) {
  ASSERT_TRUE(hasPack_) << "build the language_packs target first";
  // Six units with one module, as a controller may report them; 40 ft, dual plenum chosen.
  WriteStatusByte(kStatusFanHeaterCount, kFanHeaterSix);
  WriteStatusByte(kStatusDryerLengthIndex, 14);
  WriteStatusByte(kStatusOptionBits, kOptionBitsDualPlenum);
  int fanOnOpening = -1, lengthAfterWrap = -1, fanAfterModules = -1;
  bool grainWithOneModule = true, grainWithTwo = false, rollsEnabled = true;
  std::string caption, lengthTitle, grainLabel, cycledLabel;
  Drive({Step{kHwLengthSelect,
              [&](plat::Hwnd d) {
                caption = Narrow(plat::GetWindowText(d));
                lengthTitle = Text(d, kHwLengthGroup);
                fanOnOpening = Checked(d, kHwFanRadios);
                grainWithOneModule = Shown(d, kHwGrainPresent);
                rollsEnabled = plat::IsWindowEnabled(plat::GetDlgItem(d, kHwRollFourInch));
              }},
         Step{kHwModuleSelect, [&](plat::Hwnd d) { lengthAfterWrap = Checked(d, kHwLengthRadios); }},
         Step{kHwGrainPresent,
              [&](plat::Hwnd d) {
                fanAfterModules = Checked(d, kHwFanRadios);
                grainWithTwo = Shown(d, kHwGrainPresent);
              }},
         Step{kHwCycledSampler, {}},
         Step{plat::IdYes, {}, plat::kMessageBoxTemplateId},
         Step{kHwSensorSetup,
              [&](plat::Hwnd d) {
                grainLabel = Text(d, kHwGrainPresent);
                cycledLabel = Text(d, kHwCycledSampler);
                Screenshot("hardware_setup_port.png");
              }},
         Step{kSensorWetNetwork, {}, kSensorSelectDialogId},
         Step{kSensorAccept, [](plat::Hwnd) { Screenshot("sensor_select.png"); }, kSensorSelectDialogId},
         Step{kHwAccept, {}, kHardwareSetupDialogId}});
  OpenHardwareSetupDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(caption, "DRYER HARDWARE SETUP - 05 ");
  EXPECT_EQ(lengthTitle, "Dryer Length (ft)");
  EXPECT_EQ(fanOnOpening, kFanHeaterSix);
  EXPECT_FALSE(grainWithOneModule);
  EXPECT_FALSE(rollsEnabled) << "the roll size is shown, not set";
  EXPECT_EQ(lengthAfterWrap, 0) << "40 ft wraps to 8 ft";
  EXPECT_EQ(fanAfterModules, kFanHeaterThree) << "two modules after Six give Three";
  EXPECT_TRUE(grainWithTwo);
  EXPECT_EQ(grainLabel, "GRAIN PRESENT: ON");
  EXPECT_EQ(cycledLabel, "CYCLED SAMPLER: ON");
  EXPECT_EQ(PendingRows(), (std::set<int>{1, 2, 5, 70, 77, 80, 82}));
  const int kWanted[][2] = {{kStatusFanHeaterCount, kFanHeaterThree}, {kStatusModuleCount, kModulesTwo},
                            {kStatusDryerLengthIndex, 0}, {kStatusOptionBits, 0},
                            {kStatusOptionBits2, kOptionBits2GrainPresent},
                            {kStatusHardwareOption137, kHardwareOptionCycledSampler},
                            {kStatusMoistureSensorSelection, kSensorSelectionWetNetwork}};
  for (const auto& w : kWanted) EXPECT_EQ(ReadRequestByte(w[0]), w[1]) << "register " << w[0];
}

TEST_F(HardwareSetupDialogs, SeriesDryerNamesItsModelsHidesTheFourGroupsAndStepsOneAndThree) {
  ASSERT_TRUE(hasPack_) << "build the language_packs target first";
  WriteStatusByte(kStatusConfigBits, kConfigBitsHardwareChoice);
  WriteStatusByte(kStatusModuleCount, kModulesTwo);
  std::string titles, models;
  bool hiddenShown = true, keptShown = false;
  int afterOne = -1, afterTwo = -1;
  Drive({Step{kHwFanSelect,
              [&](plat::Hwnd d) {
                titles = Text(d, kHwFanGroup) + "|" + Text(d, kHwLengthGroup);
                models = Text(d, kHwLengthRadios[0]) + "|" + Text(d, kHwLengthRadios[10]) + "|" +
                         Text(d, kHwLengthRadios[11]);
                hiddenShown = Shown(d, kHwModuleGroup) || Shown(d, kHwModuleSelect) || Shown(d, kHwLoadGroup) ||
                              Shown(d, kHwLoadSelect) || Shown(d, kHwRollGroup) || Shown(d, kHwRollFourInch) ||
                              Shown(d, kHwGrainPresent);
                keptShown = Shown(d, kHwFuelGroup) && Shown(d, kHwLengthSelect) && Shown(d, kHwCycledSampler);
                Screenshot("hardware_setup_series.png");
              }},
         Step{kHwFanSelect, [&](plat::Hwnd d) { afterOne = Checked(d, kHwFanRadios); }},
         Step{kHwAccept, [&](plat::Hwnd d) { afterTwo = Checked(d, kHwFanRadios); }}});
  OpenHardwareSetupDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(titles, "Fan/Heater Units|Dryer Model");
  EXPECT_EQ(models, std::string(kSeriesModelNames[0]) + "|" + kSeriesModelNames[10] + "|N/A");
  EXPECT_FALSE(hiddenShown) << "grain present never shows on a series dryer, even with two modules";
  EXPECT_TRUE(keptShown);
  EXPECT_EQ(afterOne, kFanHeaterThree);
  EXPECT_EQ(afterTwo, kFanHeaterOne);
  EXPECT_TRUE(PendingRows().empty()) << "back at One: nothing changed";
}

TEST_F(HardwareSetupDialogs, BurnerModeWalkSendsTheChangedUnitsHelpsCancelsAndNeverOpensOnASeriesDryer) {
  ASSERT_TRUE(hasPack_) << "build the language_packs target first";
  WriteStatusByte(kStatusFanHeaterCount, kFanHeaterThree);
  bool fourthShown = true, thirdShown = false, helpHasText = false;
  std::string labels, helpCaption;
  Drive({Step{kBurnerModeHelp,
              [&](plat::Hwnd d) {
                fourthShown = Shown(d, kBurnerFireButtons[3]) || Shown(d, kBurnerUnitLabels[3]);
                thirdShown = Shown(d, kBurnerFireButtons[2]) && Shown(d, kBurnerAirSwitchButtons[2]);
              }},
         Step{plat::IdOk,
              [&](plat::Hwnd box) {
                helpCaption = Narrow(plat::GetWindowText(box));
                helpHasText = plat::FindCapturedText("two buttons", box) != nullptr;
              },
              plat::kMessageBoxTemplateId},
         Step{kBurnerFireButtons[2], {}, kBurnerModeDialogId},
         Step{kBurnerAirSwitchButtons[0], {}},
         Step{kBurnerModeAccept,
              [&](plat::Hwnd d) {
                labels = Text(d, kBurnerUnitLabels[2]) + "|" + Text(d, kBurnerFireButtons[2]) + "|" +
                         Text(d, kBurnerAirSwitchButtons[0]);
                Screenshot("burner_mode.png");
              }}});
  OpenBurnerModeDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_FALSE(fourthShown);
  EXPECT_TRUE(thirdShown);
  EXPECT_EQ(helpCaption, "BURNER MODE HELP");
  EXPECT_TRUE(helpHasText);
  EXPECT_EQ(labels, "FAN/HEATER UNIT 3|BURNER: OFF (FAN ONLY)|AIR SWITCH TEST: OFF");
  // Unit n at register 107 - n: rows 37 and 39.
  EXPECT_EQ(PendingRows(), (std::set<int>{37, 39}));
  EXPECT_EQ(ReadRequestByte(104), kBurnerModeFanOnly);
  EXPECT_EQ(ReadRequestByte(106), kBurnerModeNoAirSwitchTest);

  ResetSettingRequest();
  Drive({Step{kBurnerFireButtons[0], {}}, Step{kBurnerModeCancel, {}}});
  OpenBurnerModeDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_TRUE(PendingRows().empty()) << "CANCEL sends nothing";

  WriteStatusByte(kStatusConfigBits, kConfigBitsHardwareChoice);
  bool opened = false;
  Drive({Step{kBurnerModeCancel, [&](plat::Hwnd) { opened = true; }}});
  OpenBurnerModeDialog(parent_);
  EXPECT_FALSE(opened) << "a series dryer has no burner modes";
}
