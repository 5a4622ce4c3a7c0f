// Dialogs 223 and 226 driven by presses: the offsets' limits and their signed high-first
// bytes, the live readings, ACCEPT sending only what changed, the multiplier's limits, the
// total in whole bushels and the CLEAR question.
#include "DialogDriver.h"
#include "dialogs/MoistureCalibrationDialog.h"
#include "dialogs/UnloadBushelsDialog.h"
#include "platform/MessageBox.h"

using lnk::CommandRow;
using lnk::IsPending;
using lnk::ReadRequestByte;
using lnk::WriteStatusByte;
using lnk::kRequestBushelCalibration;
using lnk::kRequestSensorCommand;
using lnk::kSensorCommandZeroBushels;
using lnk::kStatusBushelCalibration;
using lnk::kStatusBushelCounter;
using lnk::kStatusIncomingGrainTenthsF;
using lnk::kStatusIncomingMoisture;
using lnk::kStatusMoistureCalibration1;
using lnk::kStatusMoistureCalibration2;
using lnk::kStatusMoistureCalibration3;
using lnk::kStatusMoistureCalibration4;
using lnk::kStatusOutgoingGrainTenthsF;
using lnk::kStatusOutgoingMoisture;
using lnk::kStatusSensorCommand;

using namespace testing_support;
using namespace dialogs;

namespace {

class CalibrationDialogs : public HeadlessFixture {
 protected:
  static void HighFirst(int k, int v) {
    WriteStatusByte(k, static_cast<uint8_t>((v >> 8) & 0xFF));
    WriteStatusByte(k + 1, static_cast<uint8_t>(v & 0xFF));
  }
  static std::vector<Step> Presses(int control, int times) {
    return std::vector<Step>(static_cast<size_t>(times), Step{control, {}});
  }
  static std::string Field(plat::Hwnd dialog, int id) { return Narrow(plat::GetWindowText(plat::GetDlgItem(dialog, id))); }
  static std::vector<uint8_t> Request(int reg) { return {ReadRequestByte(reg), ReadRequestByte(reg + 1)}; }
};

std::vector<Step> Join(std::vector<Step> a, const std::vector<Step>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST_F(CalibrationDialogs, OffsetsStopAtTenEitherWayAndNegativeOnesGoOutHighByteFirst) {
  HighFirst(kStatusMoistureCalibration2, 99);   // wet moisture
  HighFirst(kStatusMoistureCalibration1, -99);  // dry moisture
  HighFirst(kStatusMoistureCalibration3, 7);    // dry temperature, left alone
  struct Seen { std::string wetMoisture, dryMoisture, wetTemperature, dryTemperature; } seen;
  std::vector<Step> steps = Presses(kCalibrationWetMoistureUp, 3);
  steps = Join(steps, Presses(kCalibrationDryMoistureDown, 3));
  steps = Join(steps, Presses(kCalibrationWetTemperatureDown, 5));
  steps.push_back(Step{kCalibrationAccept, [&](plat::Hwnd d) {
    seen = {Field(d, kCalibrationWetMoistureField), Field(d, kCalibrationDryMoistureField),
            Field(d, kCalibrationWetTemperatureField), Field(d, kCalibrationDryTemperatureField)};
  }});
  Drive(steps);
  OpenMoistureCalibrationDialog(parent_);
  ASSERT_TRUE(AllStepsTaken());
  EXPECT_EQ(seen.wetMoisture, "10.0");
  EXPECT_EQ(seen.dryMoisture, "-10.0");
  EXPECT_EQ(seen.wetTemperature, "-0.5");
  EXPECT_EQ(seen.dryTemperature, "0.7");
  EXPECT_EQ(Request(kStatusMoistureCalibration2), (std::vector<uint8_t>{0x00, 0x64}));
  EXPECT_EQ(Request(kStatusMoistureCalibration1), (std::vector<uint8_t>{0xFF, 0x9C}));
  EXPECT_EQ(Request(kStatusMoistureCalibration4), (std::vector<uint8_t>{0xFF, 0xFB}));
  // Only the pairs that differ from the controller's go out.
  EXPECT_TRUE(IsPending(CommandRow::MoistureCalibration2));
  EXPECT_TRUE(IsPending(CommandRow::MoistureCalibration1));
  EXPECT_TRUE(IsPending(CommandRow::MoistureCalibration4));
  EXPECT_FALSE(IsPending(CommandRow::MoistureCalibration3));
}

TEST_F(CalibrationDialogs, LiveReadingsAreDrawnInDarkBlueAndFollowTheController) {
  HighFirst(kStatusIncomingMoisture, 231);
  HighFirst(kStatusIncomingGrainTenthsF, 605);
  HighFirst(kStatusOutgoingMoisture, 152);
  HighFirst(kStatusOutgoingGrainTenthsF, 884);
  std::vector<std::string> found;
  plat::Color colour{};
  std::u16string caption;
  Drive({Step{0, [&](plat::Hwnd d) {
           for (const char* t : {"23.1 %", "60.5 F", "15.2 %", "88.4 F"})
             if (plat::FindCapturedText(t, d) != nullptr) found.push_back(t);
           if (const plat::CapturedText* t = plat::FindCapturedText("23.1 %", d)) colour = t->color;
           caption = plat::GetWindowText(d);
           HighFirst(kStatusIncomingMoisture, 236);
         }},
         // Waits out one refresh of the readings.
         Step{0, {}}, Step{0, {}}, Step{0, {}}, Step{0, {}}, Step{0, {}}, Step{0, {}}, Step{0, {}},
         Step{kCalibrationAccept, [&](plat::Hwnd d) {
           if (plat::FindCapturedText("23.6 %", d) != nullptr) found.push_back("23.6 %");
         }}});
  OpenMoistureCalibrationDialog(parent_);
  EXPECT_EQ(found, (std::vector<std::string>{"23.1 %", "60.5 F", "15.2 %", "88.4 F", "23.6 %"}));
  EXPECT_EQ(colour, plat::Rgb(0, 0, 100));
  if (hasPack_) {
    EXPECT_EQ(Narrow(caption), "MOISTURE SENSOR CALIBRATION - 36");
  }
  for (CommandRow r : {CommandRow::MoistureCalibration1, CommandRow::MoistureCalibration2,
                       CommandRow::MoistureCalibration3, CommandRow::MoistureCalibration4})
    EXPECT_FALSE(IsPending(r)) << "nothing changed";
}

TEST_F(CalibrationDialogs, MultiplierStopsAtItsLimitsAndTheTotalShowsWholeBushels) {
  WriteStatusByte(kStatusBushelCalibration, 148);
  const uint32_t counter = 7199;
  for (int i = 0; i < 4; ++i) WriteStatusByte(kStatusBushelCounter + i, static_cast<uint8_t>(counter >> (8 * i)));
  std::string total, top, bottom;
  std::vector<Step> steps = {Step{0, [&](plat::Hwnd d) { total = Field(d, kBushelsTotalField); }}};
  steps = Join(steps, Presses(kBushelsIncrease, 4));
  steps.push_back(Step{0, [&](plat::Hwnd d) { top = Field(d, kBushelsMultiplierField); }});
  steps = Join(steps, Presses(kBushelsDecrease, 102));
  steps.push_back(Step{kBushelsAccept, [&](plat::Hwnd d) { bottom = Field(d, kBushelsMultiplierField); }});
  Drive(steps);
  OpenUnloadBushelsDialog(parent_);
  ASSERT_TRUE(AllStepsTaken());
  EXPECT_EQ(total, "1");
  EXPECT_EQ(top, "150 %");
  EXPECT_EQ(bottom, "50 %");
  EXPECT_EQ(ReadRequestByte(kRequestBushelCalibration), 50);
  EXPECT_TRUE(IsPending(CommandRow::BushelCalibration));
  EXPECT_FALSE(IsPending(CommandRow::SensorCommand));
}

TEST_F(CalibrationDialogs, ClearAsksAndOnlyYesRaisesTheZeroingBitBesideTheControllersBits) {
  WriteStatusByte(kStatusBushelCalibration, 100);
  WriteStatusByte(kStatusSensorCommand, 0x01);
  std::u16string caption;
  Drive({Step{kBushelsClear, {}},
         Step{plat::IdNo, [&](plat::Hwnd box) { caption = plat::GetWindowText(box); }, plat::kMessageBoxTemplateId},
         Step{kBushelsClear, [&](plat::Hwnd) { EXPECT_FALSE(IsPending(CommandRow::SensorCommand)) << "after No"; }},
         Step{plat::IdCancel, {}, plat::kMessageBoxTemplateId},
         Step{kBushelsClear, [&](plat::Hwnd) { EXPECT_FALSE(IsPending(CommandRow::SensorCommand)) << "after Cancel"; }},
         Step{plat::IdYes, {}, plat::kMessageBoxTemplateId},
         Step{kBushelsAccept, {}}});
  OpenUnloadBushelsDialog(parent_);
  ASSERT_TRUE(AllStepsTaken());
  EXPECT_EQ(Narrow(caption), kClearBushelsCaption);
  EXPECT_TRUE(IsPending(CommandRow::SensorCommand));
  EXPECT_EQ(ReadRequestByte(kRequestSensorCommand), 0x01 | kSensorCommandZeroBushels);
  EXPECT_FALSE(IsPending(CommandRow::BushelCalibration)) << "the multiplier did not change";
}
