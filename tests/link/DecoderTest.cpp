// The status decoder: field forms, compare-before-store, never-stored bytes and the special
// rules of the fields, one group per rule.
#include "LinkTestSupport.h"

namespace {

class Decoder : public LinkStateTest {};

TEST_F(Decoder, IdenticalFramesRedrawOnlyForTheFirst) {
  TestFrame f;
  f.SetS16LowFirst(lnk::kStatusPlenumTemp1, 300).SetU16HighFirst(lnk::kStatusMoisture1, 175).Set(lnk::kStatusDryerType, 2);
  f.Set(lnk::kStatusWarningNode, 14).Set(lnk::kStatusWarningId, 5).Set(lnk::kStatusDisplayOptions, 0xC0);
  f.Decode();
  EXPECT_GT(events.Redraws(lnk::PanelWindow::PlenumView), 0);
  EXPECT_GT(events.Redraws(lnk::PanelWindow::UnloadStatus), 0);
  EXPECT_EQ(events.reshowDryerType, 1);
  EXPECT_EQ(events.shutdowns.size(), 1u);
  events.ClearCounts();
  f.Decode();
  EXPECT_EQ(events.TotalRedraws(), 0);
  EXPECT_EQ(events.reshowDryerType + events.reshowViewMode + events.updateButtons, 0);
  EXPECT_TRUE(events.shutdowns.empty());
}

TEST_F(Decoder, FieldsReadBackInTheirByteOrders) {
  TestFrame f;
  f.Set(lnk::kStatusPlenumTemp1, 0x2C).Set(lnk::kStatusPlenumTemp1 + 1, 0x01);
  f.Set(lnk::kStatusMoisture1, 0x00).Set(lnk::kStatusMoisture1 + 1, 0xAF);
  f.SetS16LowFirst(lnk::kStatusGrainTemp2, -3);
  f.Set(lnk::kStatusBushelCounter, 0x10).Set(lnk::kStatusBushelCounter + 1, 0x0E).Set(lnk::kStatusBushelCounter + 2, 0x01);
  f.SetMinSec(lnk::kStatusOutOfGrainTime, 30, 0);
  f.Decode();
  lnk::DryerStatus s = Snapshot();
  EXPECT_EQ(lnk::StatusS16LowFirst(s, lnk::kStatusPlenumTemp1), 300);
  EXPECT_EQ(lnk::StatusU16HighFirst(s, lnk::kStatusMoisture1), 175);  // 17.5 %
  EXPECT_EQ(lnk::StatusS16LowFirst(s, lnk::kStatusGrainTemp2), -3);
  EXPECT_EQ(lnk::StatusU32LowFirst(s, lnk::kStatusBushelCounter), 0x010E10u);
  EXPECT_EQ(lnk::StatusMinSecSeconds(s, lnk::kStatusOutOfGrainTime), 1800u);
}

TEST_F(Decoder, NeverStoredBytesReadZeroWhateverTheFrameCarries) {
  TestFrame f;
  std::memset(f.b, 0xFF, lnk::kStatusPayloadLength);
  f.Decode();
  f.Decode();
  lnk::DryerStatus s = Snapshot();
  const int never[] = {0,   1,   2,   33,  34,  35,  36,  37,  38,  48,  53,  54,  55,  56,
                       57,  107, 108, 109, 110, 111, 112, 119, 120, 121, 122, 123, 124, 160,
                       161, 162, 170, 204, 205, 210, 211, 212, 213, 214, 215, 231, 256, 276, 286};
  for (int k : never) EXPECT_EQ(s.b[k], 0) << "byte " << k;
  int stored = 0;
  for (int k = 0; k < lnk::kStatusBytes; ++k) stored += s.b[k] == 0xFF;
  EXPECT_EQ(stored, lnk::kStatusBytes - static_cast<int>(std::size(never)));
}

// Rule 1: byte 8 re-shows the main views, updates the buttons and sets or keeps miscDisabled.
TEST_F(Decoder, DryerTypeChangeReshowsAndSetsMisc) {
  TestFrame f;
  f.Set(lnk::kStatusOptionBits, 0x10).Decode();  // byte 8 still 0
  EXPECT_EQ(lnk::Derived().miscDisabled.load(), 0);
  events.ClearCounts();
  f.Set(lnk::kStatusDryerType, 1).Decode();
  EXPECT_EQ(events.reshowDryerType, 1);
  EXPECT_EQ(events.updateButtons, 1);
  EXPECT_EQ(events.Redraws(lnk::PanelWindow::BatchTimers), 1);
  EXPECT_EQ(events.Redraws(lnk::PanelWindow::SetupSelection), 1);
  EXPECT_EQ(lnk::Derived().miscDisabled.load(), 1);
  f.Set(lnk::kStatusDryerType, 2).Decode();
  EXPECT_EQ(lnk::Derived().miscDisabled.load(), 0);
  // Byte 8 back at 1 without the option value leaves the flag as it was.
  f.Set(lnk::kStatusOptionBits, 0x20).Decode();
  lnk::Derived().miscDisabled = 1;
  f.Set(lnk::kStatusDryerType, 1).Decode();
  EXPECT_EQ(lnk::Derived().miscDisabled.load(), 1);
}

// Rule 13: byte 257 decides miscDisabled while byte 8 is 1.
TEST_F(Decoder, OptionBitsDecideMiscWhileDryerTypeIsOne) {
  TestFrame f;
  f.Set(lnk::kStatusDryerType, 1).Decode();
  events.ClearCounts();
  f.Set(lnk::kStatusOptionBits, 0x1F).Decode();  // 0x1F & 0x70 == 0x10
  EXPECT_EQ(lnk::Derived().miscDisabled.load(), 1);
  EXPECT_EQ(events.Redraws(lnk::PanelWindow::MiscButton), 1);
  f.Set(lnk::kStatusOptionBits, 0x30).Decode();
  EXPECT_EQ(lnk::Derived().miscDisabled.load(), 0);
  f.Set(lnk::kStatusDryerType, 3).Decode();
  lnk::Derived().miscDisabled = 1;
  f.Set(lnk::kStatusOptionBits, 0x10).Decode();
  EXPECT_EQ(lnk::Derived().miscDisabled.load(), 0);
}

// Rule 7: byte 179 raises meterRollModeChanged and decides miscDisabled from bit 1 or 257.
TEST_F(Decoder, LoadFlagsChangeRaisesModeChangedAndDecidesMisc) {
  TestFrame f;
  f.Set(lnk::kStatusDryerType, 1).Decode();
  f.Set(lnk::kStatusLoadFlags, lnk::kLoadFlagsBit1).Decode();
  EXPECT_EQ(lnk::Derived().meterRollModeChanged.load(), 1);
  EXPECT_EQ(lnk::Derived().miscDisabled.load(), 1);
  lnk::Derived().meterRollModeChanged = 0;
  f.Set(lnk::kStatusLoadFlags, lnk::kLoadFlagsAutomatic).Decode();
  EXPECT_EQ(lnk::Derived().meterRollModeChanged.load(), 1);
  EXPECT_EQ(lnk::Derived().miscDisabled.load(), 0);
  f.Set(lnk::kStatusOptionBits, 0x10).Decode();
  f.Set(lnk::kStatusLoadFlags, 0).Decode();
  EXPECT_EQ(lnk::Derived().miscDisabled.load(), 1);  // 257 alone
  f.Set(lnk::kStatusDryerType, 0).Decode();
  f.Set(lnk::kStatusLoadFlags, lnk::kLoadFlagsBit1).Decode();
  EXPECT_EQ(lnk::Derived().miscDisabled.load(), 0);
  lnk::Derived().meterRollModeChanged = 0;
  f.Decode();
  EXPECT_EQ(lnk::Derived().meterRollModeChanged.load(), 0);
}

// Rules 3 and 4: the load cycle's low water mark and its length.
TEST_F(Decoder, LoadCycleLengthFromLowWater) {
  TestFrame f;
  f.Set(lnk::kStatusLoadFlags, lnk::kLoadFlagsAutomatic).SetMinSec(lnk::kStatusOutOfGrainCountdown, 30, 0).Decode();
  // The preset of the same frame counts: 26-27 is stored before byte 58.
  f.SetMinSec(lnk::kStatusOutOfGrainTime, 30, 0).Set(lnk::kStatusLoadState, lnk::kLoadStateLoadRunning).Decode();
  EXPECT_EQ(lnk::Derived().loadLowWater.load(), 1801u);
  f.SetMinSec(lnk::kStatusOutOfGrainCountdown, 25, 0).Decode();
  f.SetMinSec(lnk::kStatusOutOfGrainCountdown, 12, 0).Decode();
  EXPECT_EQ(lnk::Derived().loadLowWater.load(), 720u);
  f.SetMinSec(lnk::kStatusOutOfGrainCountdown, 20, 0).Decode();  // going up keeps the low mark
  EXPECT_EQ(lnk::Derived().loadLowWater.load(), 720u);
  events.ClearCounts();
  f.Set(lnk::kStatusLoadState, 0).Decode();
  EXPECT_EQ(lnk::Derived().previousLoadSeconds.load(), 1080u);
  EXPECT_EQ(events.Redraws(lnk::PanelWindow::OutOfGrainTimer), 1);
}

TEST_F(Decoder, LoadCycleLengthClampsAndNeedsAutomaticLoad) {
  TestFrame f;
  f.Set(lnk::kStatusLoadFlags, lnk::kLoadFlagsAutomatic).SetMinSec(lnk::kStatusOutOfGrainTime, 30, 0).Decode();
  f.Set(lnk::kStatusLoadState, lnk::kLoadStateLoadRunning).Decode();
  f.SetMinSec(lnk::kStatusOutOfGrainCountdown, 12, 0).Decode();
  f.SetMinSec(lnk::kStatusOutOfGrainTime, 5, 0).Decode();  // preset below the low mark
  f.Set(lnk::kStatusLoadState, 0).Decode();
  EXPECT_EQ(lnk::Derived().previousLoadSeconds.load(), 86400u);

  f.SetMinSec(lnk::kStatusOutOfGrainTime, 255, 59).Set(lnk::kStatusLoadState, lnk::kLoadStateLoadRunning).Decode();
  lnk::Derived().loadLowWater = 0;
  f.Set(lnk::kStatusLoadState, 0).Decode();
  EXPECT_EQ(lnk::Derived().previousLoadSeconds.load(), 15359u);

  // Without automatic load the toggles change nothing.
  f.Set(lnk::kStatusLoadFlags, 0).Decode();
  lnk::Derived().loadLowWater = 7;
  f.Set(lnk::kStatusLoadState, lnk::kLoadStateLoadRunning).Decode();
  EXPECT_EQ(lnk::Derived().loadLowWater.load(), 7u);
  f.Set(lnk::kStatusLoadState, 0).Decode();
  EXPECT_EQ(lnk::Derived().previousLoadSeconds.load(), 15359u);
  EXPECT_EQ(Snapshot().b[lnk::kStatusLoadState], 0);
}

// Rule 8: one history record per warning within the 100 s hold.
TEST_F(Decoder, WarningRecordedOnceWithinTheHold) {
  TestFrame f;
  f.Set(lnk::kStatusWarningNode, lnk::kNodeMainIo).Set(lnk::kStatusWarningId, 5).Decode();
  ASSERT_EQ(events.shutdowns.size(), 1u);
  EXPECT_EQ(events.shutdowns[0].node, lnk::kNodeMainIo);
  EXPECT_EQ(events.shutdowns[0].warning, 5);
  EXPECT_EQ(lnk::Derived().warningRecordHold.load(), 100u);
  EXPECT_GT(events.erases[static_cast<int>(lnk::PanelWindow::WarningWindow)], 0);
  for (int s = 0; s < 50; ++s) lnk::DecrementWarningRecordHold();
  f.Set(lnk::kStatusWarningNode, 0).Set(lnk::kStatusWarningId, 0).Decode();
  f.Set(lnk::kStatusWarningNode, lnk::kNodeMainIo).Set(lnk::kStatusWarningId, 5).Decode();
  EXPECT_EQ(events.shutdowns.size(), 1u);
  for (int s = 0; s < 60; ++s) lnk::DecrementWarningRecordHold();
  EXPECT_EQ(lnk::Derived().warningRecordHold.load(), 0u);
  f.Set(lnk::kStatusWarningNode, 0).Set(lnk::kStatusWarningId, 0).Decode();
  f.Set(lnk::kStatusWarningNode, lnk::kNodeMainIo).Set(lnk::kStatusWarningId, 5).Decode();
  EXPECT_EQ(events.shutdowns.size(), 2u);
  // Another pair is recorded at once, hold or not.
  f.Set(lnk::kStatusWarningNode, lnk::kNodeMoistureCont).Set(lnk::kStatusWarningId, 2).Decode();
  ASSERT_EQ(events.shutdowns.size(), 3u);
  EXPECT_EQ(events.shutdowns[2].node, lnk::kNodeMoistureCont);
  // A node without a warning id records nothing.
  f.Set(lnk::kStatusWarningNode, 3).Set(lnk::kStatusWarningId, 0).Decode();
  EXPECT_EQ(events.shutdowns.size(), 3u);
}

// Rule 9: leaving mode 3 with bit 7 raises the meter-roll restore.
TEST_F(Decoder, MoistureModeLeavingManualRaisesRestore) {
  TestFrame f;
  f.Set(lnk::kStatusMoistureControlMode, 0x82).Decode();
  f.Set(lnk::kStatusMoistureControlMode, 0x02).Decode();
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MeterRollRestore));
  f.Set(lnk::kStatusMoistureControlMode, 0x83).Decode();
  f.Set(lnk::kStatusMoistureControlMode, 0x84).Decode();  // bit 7 still set
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MeterRollRestore));
  f.Set(lnk::kStatusMoistureControlMode, 0x83).Decode();
  f.Set(lnk::kStatusMoistureControlMode, 0x43).Decode();
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MeterRollRestore));
}

// Rule 10: the DEFAULTS switch asks the main loop unless already acknowledged.
TEST_F(Decoder, DefaultsSwitchRequest) {
  TestFrame f;
  f.Set(lnk::kStatusSwitches, lnk::kSwitchesDefaultsOn | 0x01).Decode();
  EXPECT_EQ(lnk::Derived().defaultsSwitchRequest.load(), 1);
  f.Set(lnk::kStatusSwitches, 0x01).Decode();
  EXPECT_EQ(lnk::Derived().defaultsSwitchRequest.load(), 0);
  lnk::Derived().defaultsAcknowledged = 1;
  f.Set(lnk::kStatusSwitches, lnk::kSwitchesDefaultsOn).Decode();
  EXPECT_EQ(lnk::Derived().defaultsSwitchRequest.load(), 0);
}

// Rule 11: the substitute moisture takes the place of moisture 2 while bit 0 of 279 is set.
TEST_F(Decoder, MoistureSubstituteReplacesMoisture2) {
  TestFrame f;
  f.Set(lnk::kStatusOptionBits2, lnk::kOptionBits2QuickStart).Set(lnk::kStatusSubstituteMoisture, 0x2C);
  f.Set(lnk::kStatusSubstituteMoisture + 1, 0x01).Set(lnk::kStatusRunFlags, lnk::kRunFlagsRunning).Decode();
  f.SetU16HighFirst(lnk::kStatusMoisture2, 175).Decode();
  EXPECT_EQ(lnk::StatusU16HighFirst(Snapshot(), lnk::kStatusMoisture2), 300);
  EXPECT_EQ(lnk::Derived().moistureSubstituteCount.load(), 2699u);
  // Not running: substituted, not counted.
  f.Set(lnk::kStatusRunFlags, 0).SetU16HighFirst(lnk::kStatusMoisture2, 176).Decode();
  EXPECT_EQ(lnk::StatusU16HighFirst(Snapshot(), lnk::kStatusMoisture2), 300);
  EXPECT_EQ(lnk::Derived().moistureSubstituteCount.load(), 2699u);
  // Count used up: the received value is stored.
  lnk::Derived().moistureSubstituteCount = 0;
  f.SetU16HighFirst(lnk::kStatusMoisture2, 177).Decode();
  EXPECT_EQ(lnk::StatusU16HighFirst(Snapshot(), lnk::kStatusMoisture2), 177);
  // Bit 0 clear: the received value is stored.
  lnk::Derived().moistureSubstituteCount = 5;
  f.Set(lnk::kStatusOptionBits2, 0).Decode();
  f.SetU16HighFirst(lnk::kStatusMoisture2, 178).Decode();
  EXPECT_EQ(lnk::StatusU16HighFirst(Snapshot(), lnk::kStatusMoisture2), 178);
  EXPECT_EQ(lnk::Derived().moistureSubstituteCount.load(), 5u);
}

// Rule 12: only a toggle of bit 4 of byte 251 sets the option change request.
TEST_F(Decoder, OptionChangeFollowsBit4Toggles) {
  TestFrame f;
  f.Set(lnk::kStatusOptionChange, 0x10).Decode();
  EXPECT_EQ(lnk::Derived().optionChangeRequest.load(), 1);
  lnk::Derived().optionChangeRequest = 0;
  f.Set(lnk::kStatusOptionChange, 0x11).Decode();
  EXPECT_EQ(lnk::Derived().optionChangeRequest.load(), 0);
  lnk::Derived().optionChangeRequest = 1;
  f.Set(lnk::kStatusOptionChange, 0x01).Decode();
  EXPECT_EQ(lnk::Derived().optionChangeRequest.load(), 0);
}

// Rule 14: celsius follows bit 7; only a change of bit 6 re-shows the main views.
TEST_F(Decoder, DisplayOptionsSetCelsiusAndViewMode) {
  TestFrame f;
  f.Set(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsCelsius).Decode();
  EXPECT_EQ(lnk::Derived().celsius.load(), 1);
  EXPECT_EQ(events.reshowViewMode, 0);
  f.Set(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsCelsius | lnk::kDisplayOptionsGraphView).Decode();
  EXPECT_EQ(events.reshowViewMode, 1);
  f.Set(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsGraphView).Decode();
  EXPECT_EQ(lnk::Derived().celsius.load(), 0);
  EXPECT_EQ(events.reshowViewMode, 1);
  f.Set(lnk::kStatusDisplayOptions, 0).Decode();
  EXPECT_EQ(events.reshowViewMode, 2);
}

// Rule 15: the controller withdrawing option bit 0 clears it in request 1:23 and raises row 77.
TEST_F(Decoder, OptionWithdrawClearsQuickStartRequest) {
  TestFrame f;
  f.Set(lnk::kStatusOptionBits2, 0x01).Decode();
  f.Set(lnk::kStatusOptionWithdraw, 0x80).Decode();
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::OptionBits2));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestOptionBits2) & lnk::kOptionBits2QuickStart, 0);
  lnk::LowerPending(lnk::CommandRow::OptionBits2);
  f.Set(lnk::kStatusOptionWithdraw, 0x81).Decode();  // changed, bit 7 still set
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::OptionBits2));
  lnk::LowerPending(lnk::CommandRow::OptionBits2);
  f.Set(lnk::kStatusOptionWithdraw, 0x01).Decode();
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::OptionBits2));
}

// Rule 6: zeroing the bushel counter. While the bit is set each frame raises row 66 again (the
// echo of byte 238, later in the frame, lowers it once the controller holds the bit); when the
// counter reads 0 the bit is cleared first, so the cleared byte goes out once more.
TEST_F(Decoder, BushelZeroCommandRepeatsUntilCounterIsZero) {
  TestFrame f;
  f.Set(lnk::kStatusBushelCounter, 0x40).Decode();
  lnk::RequestByte(lnk::kRequestSensorCommand, lnk::kSensorCommandZeroBushels | 0x01, lnk::CommandRow::SensorCommand);
  lnk::LowerPending(lnk::CommandRow::SensorCommand);
  f.Decode();  // no echo yet: raised by the decoder
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::SensorCommand));
  f.Set(lnk::kStatusSensorCommand, lnk::kSensorCommandZeroBushels | 0x01).Decode();
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::SensorCommand));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestSensorCommand), lnk::kSensorCommandZeroBushels | 0x01);
  f.Set(lnk::kStatusBushelCounter, 0).Decode();
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestSensorCommand), 0x01);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::SensorCommand));
  std::vector<uint8_t> frame = Build();
  ASSERT_EQ(frame.size(), 6u);
  EXPECT_EQ(frame[2], 0);
  EXPECT_EQ(frame[3], lnk::kStatusSensorCommand);
  EXPECT_EQ(frame[5], 0x01);
  f.Set(lnk::kStatusSensorCommand, 0x01).Decode();
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::SensorCommand));
  f.Decode();
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::SensorCommand));
}

// Rule 2: a countdown holds while its reset is pending and follows again after the echo.
TEST_F(Decoder, CountdownHoldsWhileItsResetIsPending) {
  struct Case {
    lnk::CommandRow row;
    int countdown;
    int preset;
  };
  const Case cases[] = {{lnk::CommandRow::HiHeatCountdownReset, lnk::kStatusHiHeatCountdown, lnk::kStatusHiHeatTime},
                        {lnk::CommandRow::LoHeatCountdownReset, lnk::kStatusLoHeatCountdown, lnk::kStatusLoHeatTime},
                        {lnk::CommandRow::CoolCountdownReset, lnk::kStatusCoolCountdown, lnk::kStatusCoolTime},
                        {lnk::CommandRow::UnloadCountdownReset, lnk::kStatusUnloadCountdown, lnk::kStatusUnloadTime}};
  for (const Case& c : cases) {
    SCOPED_TRACE(lnk::RowNumber(c.row));
    TestFrame f;
    f.SetMinSec(c.preset, 20, 0).SetMinSec(c.countdown, 12, 34).Decode();
    lnk::RequestCountdownReset(c.row);
    ASSERT_TRUE(lnk::IsPending(c.row));
    EXPECT_EQ(lnk::ReadRequestByte(c.countdown), 20);
    EXPECT_EQ(lnk::ReadRequestByte(c.countdown + 1), 0);
    f.SetMinSec(c.countdown, 12, 33).Decode();
    EXPECT_EQ(lnk::StatusMinSecSeconds(Snapshot(), c.countdown), 12u * 60 + 34);
    EXPECT_TRUE(lnk::IsPending(c.row));
    f.SetMinSec(c.countdown, 20, 0).Decode();
    EXPECT_FALSE(lnk::IsPending(c.row));
    f.SetMinSec(c.countdown, 19, 59).Decode();
    EXPECT_EQ(lnk::StatusMinSecSeconds(Snapshot(), c.countdown), 19u * 60 + 59);
  }
}

}  // namespace
