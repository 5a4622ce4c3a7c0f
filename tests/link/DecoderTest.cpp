// The status decoder: field forms, compare-before-store, never-stored bytes and the special
// rules of the fields, one group per rule.
#include "LinkTestSupport.h"

namespace {

class Decoder : public LinkStateTest {};

TEST_F(Decoder, IdenticalFramesRedrawOnlyForTheFirst) {
  TestFrame f;
  f.SetS16LowFirst(kStatusPlenumTemp1, 300).SetU16HighFirst(kStatusMoisture1, 175).Set(kStatusDryerType, 2);
  f.Set(kStatusWarningNode, 14).Set(kStatusWarningId, 5).Set(kStatusDisplayOptions, 0xC0);
  f.Decode();
  EXPECT_GT(events.Redraws(PanelWindow::PlenumView), 0);
  EXPECT_GT(events.Redraws(PanelWindow::UnloadStatus), 0);
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
  f.Set(kStatusPlenumTemp1, 0x2C).Set(kStatusPlenumTemp1 + 1, 0x01);
  f.Set(kStatusMoisture1, 0x00).Set(kStatusMoisture1 + 1, 0xAF);
  f.SetS16LowFirst(kStatusGrainTemp2, -3);
  f.Set(kStatusBushelCounter, 0x10).Set(kStatusBushelCounter + 1, 0x0E).Set(kStatusBushelCounter + 2, 0x01);
  f.SetMinSec(kStatusOutOfGrainTime, 30, 0);
  f.Decode();
  DryerStatus s = Snapshot();
  EXPECT_EQ(StatusS16LowFirst(s, kStatusPlenumTemp1), 300);
  EXPECT_EQ(StatusU16HighFirst(s, kStatusMoisture1), 175);  // 17.5 %
  EXPECT_EQ(StatusS16LowFirst(s, kStatusGrainTemp2), -3);
  EXPECT_EQ(StatusU32LowFirst(s, kStatusBushelCounter), 0x010E10u);
  EXPECT_EQ(StatusMinSecSeconds(s, kStatusOutOfGrainTime), 1800u);
}

TEST_F(Decoder, NeverStoredBytesReadZeroWhateverTheFrameCarries) {
  TestFrame f;
  std::memset(f.b, 0xFF, kStatusPayloadLength);
  f.Decode();
  f.Decode();
  DryerStatus s = Snapshot();
  const int never[] = {0,   1,   2,   33,  34,  35,  36,  37,  38,  48,  53,  54,  55,  56,
                       57,  107, 108, 109, 110, 111, 112, 119, 120, 121, 122, 123, 124, 160,
                       161, 162, 170, 204, 205, 210, 211, 212, 213, 214, 215, 231, 256, 276, 286};
  for (int k : never) EXPECT_EQ(s.b[k], 0) << "byte " << k;
  int stored = 0;
  for (int k = 0; k < kStatusBytes; ++k) stored += s.b[k] == 0xFF;
  EXPECT_EQ(stored, kStatusBytes - static_cast<int>(std::size(never)));
}

// Rule 1: byte 8 re-shows the main views, updates the buttons and sets or keeps miscDisabled.
TEST_F(Decoder, DryerTypeChangeReshowsAndSetsMisc) {
  TestFrame f;
  f.Set(kStatusOptionBits, 0x10).Decode();  // byte 8 still 0
  EXPECT_EQ(Derived().miscDisabled.load(), 0);
  events.ClearCounts();
  f.Set(kStatusDryerType, 1).Decode();
  EXPECT_EQ(events.reshowDryerType, 1);
  EXPECT_EQ(events.updateButtons, 1);
  EXPECT_EQ(events.Redraws(PanelWindow::BatchTimers), 1);
  EXPECT_EQ(events.Redraws(PanelWindow::SetupSelection), 1);
  EXPECT_EQ(Derived().miscDisabled.load(), 1);
  f.Set(kStatusDryerType, 2).Decode();
  EXPECT_EQ(Derived().miscDisabled.load(), 0);
  // Byte 8 back at 1 without the option value leaves the flag as it was.
  f.Set(kStatusOptionBits, 0x20).Decode();
  Derived().miscDisabled = 1;
  f.Set(kStatusDryerType, 1).Decode();
  EXPECT_EQ(Derived().miscDisabled.load(), 1);
}

// Rule 13: byte 257 decides miscDisabled while byte 8 is 1.
TEST_F(Decoder, OptionBitsDecideMiscWhileDryerTypeIsOne) {
  TestFrame f;
  f.Set(kStatusDryerType, 1).Decode();
  events.ClearCounts();
  f.Set(kStatusOptionBits, 0x1F).Decode();  // 0x1F & 0x70 == 0x10
  EXPECT_EQ(Derived().miscDisabled.load(), 1);
  EXPECT_EQ(events.Redraws(PanelWindow::MiscButton), 1);
  f.Set(kStatusOptionBits, 0x30).Decode();
  EXPECT_EQ(Derived().miscDisabled.load(), 0);
  f.Set(kStatusDryerType, 3).Decode();
  Derived().miscDisabled = 1;
  f.Set(kStatusOptionBits, 0x10).Decode();
  EXPECT_EQ(Derived().miscDisabled.load(), 0);
}

// Rule 7: byte 179 raises meterRollModeChanged and decides miscDisabled from bit 1 or 257.
TEST_F(Decoder, LoadFlagsChangeRaisesModeChangedAndDecidesMisc) {
  TestFrame f;
  f.Set(kStatusDryerType, 1).Decode();
  f.Set(kStatusLoadFlags, kLoadFlagsBit1).Decode();
  EXPECT_EQ(Derived().meterRollModeChanged.load(), 1);
  EXPECT_EQ(Derived().miscDisabled.load(), 1);
  Derived().meterRollModeChanged = 0;
  f.Set(kStatusLoadFlags, kLoadFlagsAutomatic).Decode();
  EXPECT_EQ(Derived().meterRollModeChanged.load(), 1);
  EXPECT_EQ(Derived().miscDisabled.load(), 0);
  f.Set(kStatusOptionBits, 0x10).Decode();
  f.Set(kStatusLoadFlags, 0).Decode();
  EXPECT_EQ(Derived().miscDisabled.load(), 1);  // 257 alone
  f.Set(kStatusDryerType, 0).Decode();
  f.Set(kStatusLoadFlags, kLoadFlagsBit1).Decode();
  EXPECT_EQ(Derived().miscDisabled.load(), 0);
  Derived().meterRollModeChanged = 0;
  f.Decode();
  EXPECT_EQ(Derived().meterRollModeChanged.load(), 0);
}

// Rules 3 and 4: the load cycle's low water mark and its length.
TEST_F(Decoder, LoadCycleLengthFromLowWater) {
  TestFrame f;
  f.Set(kStatusLoadFlags, kLoadFlagsAutomatic).SetMinSec(kStatusOutOfGrainCountdown, 30, 0).Decode();
  // The preset of the same frame counts: 26-27 is stored before byte 58.
  f.SetMinSec(kStatusOutOfGrainTime, 30, 0).Set(kStatusLoadState, kLoadStateLoadRunning).Decode();
  EXPECT_EQ(Derived().loadLowWater.load(), 1801u);
  f.SetMinSec(kStatusOutOfGrainCountdown, 25, 0).Decode();
  f.SetMinSec(kStatusOutOfGrainCountdown, 12, 0).Decode();
  EXPECT_EQ(Derived().loadLowWater.load(), 720u);
  f.SetMinSec(kStatusOutOfGrainCountdown, 20, 0).Decode();  // going up keeps the low mark
  EXPECT_EQ(Derived().loadLowWater.load(), 720u);
  events.ClearCounts();
  f.Set(kStatusLoadState, 0).Decode();
  EXPECT_EQ(Derived().previousLoadSeconds.load(), 1080u);
  EXPECT_EQ(events.Redraws(PanelWindow::OutOfGrainTimer), 1);
}

TEST_F(Decoder, LoadCycleLengthClampsAndNeedsAutomaticLoad) {
  TestFrame f;
  f.Set(kStatusLoadFlags, kLoadFlagsAutomatic).SetMinSec(kStatusOutOfGrainTime, 30, 0).Decode();
  f.Set(kStatusLoadState, kLoadStateLoadRunning).Decode();
  f.SetMinSec(kStatusOutOfGrainCountdown, 12, 0).Decode();
  f.SetMinSec(kStatusOutOfGrainTime, 5, 0).Decode();  // preset below the low mark
  f.Set(kStatusLoadState, 0).Decode();
  EXPECT_EQ(Derived().previousLoadSeconds.load(), 86400u);

  f.SetMinSec(kStatusOutOfGrainTime, 255, 59).Set(kStatusLoadState, kLoadStateLoadRunning).Decode();
  Derived().loadLowWater = 0;
  f.Set(kStatusLoadState, 0).Decode();
  EXPECT_EQ(Derived().previousLoadSeconds.load(), 15359u);

  // Without automatic load the toggles change nothing.
  f.Set(kStatusLoadFlags, 0).Decode();
  Derived().loadLowWater = 7;
  f.Set(kStatusLoadState, kLoadStateLoadRunning).Decode();
  EXPECT_EQ(Derived().loadLowWater.load(), 7u);
  f.Set(kStatusLoadState, 0).Decode();
  EXPECT_EQ(Derived().previousLoadSeconds.load(), 15359u);
  EXPECT_EQ(Snapshot().b[kStatusLoadState], 0);
}

// Rule 8: one history record per warning within the 100 s hold.
TEST_F(Decoder, WarningRecordedOnceWithinTheHold) {
  TestFrame f;
  f.Set(kStatusWarningNode, kNodeMainIo).Set(kStatusWarningId, 5).Decode();
  ASSERT_EQ(events.shutdowns.size(), 1u);
  EXPECT_EQ(events.shutdowns[0].node, kNodeMainIo);
  EXPECT_EQ(events.shutdowns[0].warning, 5);
  EXPECT_EQ(Derived().warningRecordHold.load(), 100u);
  EXPECT_GT(events.erases[static_cast<int>(PanelWindow::WarningWindow)], 0);
  for (int s = 0; s < 50; ++s) DecrementWarningRecordHold();
  f.Set(kStatusWarningNode, 0).Set(kStatusWarningId, 0).Decode();
  f.Set(kStatusWarningNode, kNodeMainIo).Set(kStatusWarningId, 5).Decode();
  EXPECT_EQ(events.shutdowns.size(), 1u);
  for (int s = 0; s < 60; ++s) DecrementWarningRecordHold();
  EXPECT_EQ(Derived().warningRecordHold.load(), 0u);
  f.Set(kStatusWarningNode, 0).Set(kStatusWarningId, 0).Decode();
  f.Set(kStatusWarningNode, kNodeMainIo).Set(kStatusWarningId, 5).Decode();
  EXPECT_EQ(events.shutdowns.size(), 2u);
  // Another pair is recorded at once, hold or not.
  f.Set(kStatusWarningNode, kNodeMoistureCont).Set(kStatusWarningId, 2).Decode();
  ASSERT_EQ(events.shutdowns.size(), 3u);
  EXPECT_EQ(events.shutdowns[2].node, kNodeMoistureCont);
  // A node without a warning id records nothing.
  f.Set(kStatusWarningNode, 3).Set(kStatusWarningId, 0).Decode();
  EXPECT_EQ(events.shutdowns.size(), 3u);
}

// Rule 9: leaving mode 3 with bit 7 raises the meter-roll restore.
TEST_F(Decoder, MoistureModeLeavingManualRaisesRestore) {
  TestFrame f;
  f.Set(kStatusMoistureControlMode, 0x82).Decode();
  f.Set(kStatusMoistureControlMode, 0x02).Decode();
  EXPECT_FALSE(IsPending(CommandRow::MeterRollRestore));
  f.Set(kStatusMoistureControlMode, 0x83).Decode();
  f.Set(kStatusMoistureControlMode, 0x84).Decode();  // bit 7 still set
  EXPECT_FALSE(IsPending(CommandRow::MeterRollRestore));
  f.Set(kStatusMoistureControlMode, 0x83).Decode();
  f.Set(kStatusMoistureControlMode, 0x43).Decode();
  EXPECT_TRUE(IsPending(CommandRow::MeterRollRestore));
}

// Rule 10: the DEFAULTS switch asks the main loop unless already acknowledged.
TEST_F(Decoder, DefaultsSwitchRequest) {
  TestFrame f;
  f.Set(kStatusSwitches, kSwitchesDefaultsOn | 0x01).Decode();
  EXPECT_EQ(Derived().defaultsSwitchRequest.load(), 1);
  f.Set(kStatusSwitches, 0x01).Decode();
  EXPECT_EQ(Derived().defaultsSwitchRequest.load(), 0);
  Derived().defaultsAcknowledged = 1;
  f.Set(kStatusSwitches, kSwitchesDefaultsOn).Decode();
  EXPECT_EQ(Derived().defaultsSwitchRequest.load(), 0);
}

// Rule 11: the substitute moisture takes the place of moisture 2 while bit 0 of 279 is set.
TEST_F(Decoder, MoistureSubstituteReplacesMoisture2) {
  TestFrame f;
  f.Set(kStatusOptionBits2, kOptionBits2QuickStart).Set(kStatusSubstituteMoisture, 0x2C);
  f.Set(kStatusSubstituteMoisture + 1, 0x01).Set(kStatusRunFlags, kRunFlagsRunning).Decode();
  f.SetU16HighFirst(kStatusMoisture2, 175).Decode();
  EXPECT_EQ(StatusU16HighFirst(Snapshot(), kStatusMoisture2), 300);
  EXPECT_EQ(Derived().moistureSubstituteCount.load(), 2699u);
  // Not running: substituted, not counted.
  f.Set(kStatusRunFlags, 0).SetU16HighFirst(kStatusMoisture2, 176).Decode();
  EXPECT_EQ(StatusU16HighFirst(Snapshot(), kStatusMoisture2), 300);
  EXPECT_EQ(Derived().moistureSubstituteCount.load(), 2699u);
  // Count used up: the received value is stored.
  Derived().moistureSubstituteCount = 0;
  f.SetU16HighFirst(kStatusMoisture2, 177).Decode();
  EXPECT_EQ(StatusU16HighFirst(Snapshot(), kStatusMoisture2), 177);
  // Bit 0 clear: the received value is stored.
  Derived().moistureSubstituteCount = 5;
  f.Set(kStatusOptionBits2, 0).Decode();
  f.SetU16HighFirst(kStatusMoisture2, 178).Decode();
  EXPECT_EQ(StatusU16HighFirst(Snapshot(), kStatusMoisture2), 178);
  EXPECT_EQ(Derived().moistureSubstituteCount.load(), 5u);
}

// Rule 12: only a toggle of bit 4 of byte 251 sets the option change request.
TEST_F(Decoder, OptionChangeFollowsBit4Toggles) {
  TestFrame f;
  f.Set(kStatusOptionChange, 0x10).Decode();
  EXPECT_EQ(Derived().optionChangeRequest.load(), 1);
  Derived().optionChangeRequest = 0;
  f.Set(kStatusOptionChange, 0x11).Decode();
  EXPECT_EQ(Derived().optionChangeRequest.load(), 0);
  Derived().optionChangeRequest = 1;
  f.Set(kStatusOptionChange, 0x01).Decode();
  EXPECT_EQ(Derived().optionChangeRequest.load(), 0);
}

// Rule 14: celsius follows bit 7; only a change of bit 6 re-shows the main views.
TEST_F(Decoder, DisplayOptionsSetCelsiusAndViewMode) {
  TestFrame f;
  f.Set(kStatusDisplayOptions, kDisplayOptionsCelsius).Decode();
  EXPECT_EQ(Derived().celsius.load(), 1);
  EXPECT_EQ(events.reshowViewMode, 0);
  f.Set(kStatusDisplayOptions, kDisplayOptionsCelsius | kDisplayOptionsGraphView).Decode();
  EXPECT_EQ(events.reshowViewMode, 1);
  f.Set(kStatusDisplayOptions, kDisplayOptionsGraphView).Decode();
  EXPECT_EQ(Derived().celsius.load(), 0);
  EXPECT_EQ(events.reshowViewMode, 1);
  f.Set(kStatusDisplayOptions, 0).Decode();
  EXPECT_EQ(events.reshowViewMode, 2);
}

// Rule 15: the controller withdrawing option bit 0 clears it in request 1:23 and raises row 77.
TEST_F(Decoder, OptionWithdrawClearsQuickStartRequest) {
  TestFrame f;
  f.Set(kStatusOptionBits2, 0x01).Decode();
  f.Set(kStatusOptionWithdraw, 0x80).Decode();
  EXPECT_TRUE(IsPending(CommandRow::OptionBits2));
  EXPECT_EQ(ReadRequestByte(kRequestOptionBits2) & kOptionBits2QuickStart, 0);
  LowerPending(CommandRow::OptionBits2);
  f.Set(kStatusOptionWithdraw, 0x81).Decode();  // changed, bit 7 still set
  EXPECT_TRUE(IsPending(CommandRow::OptionBits2));
  LowerPending(CommandRow::OptionBits2);
  f.Set(kStatusOptionWithdraw, 0x01).Decode();
  EXPECT_FALSE(IsPending(CommandRow::OptionBits2));
}

// Rule 6: zeroing the bushel counter. While the bit is set each frame raises row 66 again (the
// echo of byte 238, later in the frame, lowers it once the controller holds the bit); when the
// counter reads 0 the bit is cleared first, so the cleared byte goes out once more.
TEST_F(Decoder, BushelZeroCommandRepeatsUntilCounterIsZero) {
  TestFrame f;
  f.Set(kStatusBushelCounter, 0x40).Decode();
  RequestByte(kRequestSensorCommand, kSensorCommandZeroBushels | 0x01, CommandRow::SensorCommand);
  LowerPending(CommandRow::SensorCommand);
  f.Decode();  // no echo yet: raised by the decoder
  EXPECT_TRUE(IsPending(CommandRow::SensorCommand));
  f.Set(kStatusSensorCommand, kSensorCommandZeroBushels | 0x01).Decode();
  EXPECT_FALSE(IsPending(CommandRow::SensorCommand));
  EXPECT_EQ(ReadRequestByte(kRequestSensorCommand), kSensorCommandZeroBushels | 0x01);
  f.Set(kStatusBushelCounter, 0).Decode();
  EXPECT_EQ(ReadRequestByte(kRequestSensorCommand), 0x01);
  EXPECT_TRUE(IsPending(CommandRow::SensorCommand));
  std::vector<uint8_t> frame = Build();
  ASSERT_EQ(frame.size(), 6u);
  EXPECT_EQ(frame[2], 0);
  EXPECT_EQ(frame[3], kStatusSensorCommand);
  EXPECT_EQ(frame[5], 0x01);
  f.Set(kStatusSensorCommand, 0x01).Decode();
  EXPECT_FALSE(IsPending(CommandRow::SensorCommand));
  f.Decode();
  EXPECT_FALSE(IsPending(CommandRow::SensorCommand));
}

// Rule 2: a countdown holds while its reset is pending and follows again after the echo.
TEST_F(Decoder, CountdownHoldsWhileItsResetIsPending) {
  struct Case {
    CommandRow row;
    int countdown;
    int preset;
  };
  const Case cases[] = {{CommandRow::HiHeatCountdownReset, kStatusHiHeatCountdown, kStatusHiHeatTime},
                        {CommandRow::LoHeatCountdownReset, kStatusLoHeatCountdown, kStatusLoHeatTime},
                        {CommandRow::CoolCountdownReset, kStatusCoolCountdown, kStatusCoolTime},
                        {CommandRow::UnloadCountdownReset, kStatusUnloadCountdown, kStatusUnloadTime}};
  for (const Case& c : cases) {
    SCOPED_TRACE(RowNumber(c.row));
    TestFrame f;
    f.SetMinSec(c.preset, 20, 0).SetMinSec(c.countdown, 12, 34).Decode();
    RequestCountdownReset(c.row);
    ASSERT_TRUE(IsPending(c.row));
    EXPECT_EQ(ReadRequestByte(c.countdown), 20);
    EXPECT_EQ(ReadRequestByte(c.countdown + 1), 0);
    f.SetMinSec(c.countdown, 12, 33).Decode();
    EXPECT_EQ(StatusMinSecSeconds(Snapshot(), c.countdown), 12u * 60 + 34);
    EXPECT_TRUE(IsPending(c.row));
    f.SetMinSec(c.countdown, 20, 0).Decode();
    EXPECT_FALSE(IsPending(c.row));
    f.SetMinSec(c.countdown, 19, 59).Decode();
    EXPECT_EQ(StatusMinSecSeconds(Snapshot(), c.countdown), 19u * 60 + 59);
  }
}

}  // namespace
