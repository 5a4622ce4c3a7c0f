// The command builder and the retirement of setting requests: table order, the 100-byte rule,
// one-shot items, status data, and each way a flag is lowered.
#include "LinkTestSupport.h"

namespace {

class CommandFrame : public LinkStateTest {
 protected:
  // The rows of the items in a built frame, in frame order.
  static std::vector<int> ItemRows(const std::vector<uint8_t>& frame) {
    std::vector<int> rows;
    size_t pos = 2;
    while (pos + 3 <= frame.size()) {
      const int reg = lnk::RegisterIndex(frame[pos], frame[pos + 1]);
      const int count = frame[pos + 2];
      for (const lnk::CommandRowInfo& r : lnk::kCommandRows)
        if (lnk::RowRegister(r) == reg && r.count == count) {
          rows.push_back(lnk::RowNumber(r.row));
          break;
        }
      pos += 3 + count;
    }
    return rows;
  }
  static void RaiseRows(std::initializer_list<int> rows) {
    for (int r : rows) lnk::RaisePending(static_cast<lnk::CommandRow>(r));
  }
};

TEST_F(CommandFrame, NothingPendingBuildsNothing) {
  uint8_t tx[lnk::kTransmitBufferLength] = {};
  EXPECT_FALSE(lnk::BuildCommandFrame(tx));
  EXPECT_EQ(tx[1], 0);
}

TEST_F(CommandFrame, ClockItemIsOneShot) {
  lnk::RequestClock(7, 14, 8, 12, 2026);
  std::vector<uint8_t> f = Build();
  const std::vector<uint8_t> expected = {0x0C, 0x01, 0x00, 0x35, 0x05, 7, 14, 8, 12, 26};
  EXPECT_EQ(f, expected);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::Clock));
  EXPECT_TRUE(Build().empty());
}

TEST_F(CommandFrame, ItemsGoOutInTableOrder) {
  const uint8_t lengthCode = 3;
  lnk::RequestSetting(lnk::CommandRow::HardwareOption137, &lengthCode);
  const uint8_t setpoint[2] = {0xB4, 0x00};
  lnk::RequestSetting(lnk::CommandRow::GrainTempSetpoint1, setpoint);
  const uint8_t units = 4;
  lnk::RequestSetting(lnk::CommandRow::FanHeaterCount, &units);
  const uint8_t moisture[2] = {0x00, 0xAF};
  lnk::RequestSetting(lnk::CommandRow::MoistureSetpoint, moisture);
  std::vector<uint8_t> f = Build();
  const std::vector<uint8_t> expected = {22, 4,    0, 3,   1, 4,    0, 149, 2,    0xB4, 0x00, 0,
                                         199, 2, 0x00, 0xAF, 1, 37, 1, 3};
  EXPECT_EQ(f, expected);
}

TEST_F(CommandFrame, PositionNinetyNineIsWrittenAndHundredIsSkipped) {
  // Rows 2-4 (4 bytes each) and 7-18, 22-26 (5 bytes each) bring the position to 99.
  RaiseRows({2, 3, 4, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 22, 23, 24, 25, 26});
  RaiseRows({27, 28, 79, 82});
  std::vector<uint8_t> f = Build();
  std::vector<int> rows = ItemRows(f);
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(rows[rows.size() - 2], 27);  // written at 99
  EXPECT_EQ(rows.back(), 79);            // never skips
  EXPECT_EQ(f[0], f.size() + 2);
  EXPECT_EQ(f[0], 104 + 4 + 2);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::PlenumDifferential1));
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::HardwareOption137));
  // The skipped items go out once the others are retired.
  for (int r : rows) lnk::LowerPending(static_cast<lnk::CommandRow>(r));
  EXPECT_EQ(ItemRows(Build()), (std::vector<int>{28, 82}));
}

TEST_F(CommandFrame, NeverSkippedRowsAndTheLongestFrame) {
  for (int r = 1; r <= lnk::kCommandRowCount; ++r) lnk::RaisePending(static_cast<lnk::CommandRow>(r));
  std::vector<uint8_t> f = Build();
  std::vector<int> rows = ItemRows(f);
  EXPECT_EQ(rows.front(), 1);
  EXPECT_NE(std::find(rows.begin(), rows.end(), 21), rows.end());
  EXPECT_EQ(rows.back(), 79);
  EXPECT_LE(f[0], lnk::kMaxCommandFrameLength);
  EXPECT_EQ(f[1], rows.size());
}

TEST_F(CommandFrame, PlenumSetpointRetiresTheCycleAfterItsEcho) {
  const uint8_t setpoint[2] = {0xB4, 0x00};  // 180 F
  lnk::RequestSetting(lnk::CommandRow::PlenumSetpoint1, setpoint);
  const std::vector<uint8_t> frame = {9, 1, 0x00, 0x3B, 0x02, 0xB4, 0x00};
  EXPECT_EQ(Build(), frame);
  TestFrame f;
  f.SetS16LowFirst(lnk::kStatusPlenumSetpoint1, 180).Decode();
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::PlenumSetpoint1));
  EXPECT_EQ(Build(), frame);
  f.Decode();
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::PlenumSetpoint1));
  EXPECT_TRUE(Build().empty());
}

TEST_F(CommandFrame, EverySetpointRowComparesWithThePreviousFrame) {
  const lnk::CommandRow rows[] = {lnk::CommandRow::PlenumSetpoint6, lnk::CommandRow::GrainTempSetpoint3, lnk::CommandRow::PlenumSetpoint8};
  for (lnk::CommandRow row : rows) {
    SCOPED_TRACE(lnk::RowNumber(row));
    const int k = lnk::RowRegister(lnk::RowInfo(row));
    const uint8_t v[2] = {0x2C, 0x01};
    lnk::RequestSetting(row, v);
    TestFrame f;
    f.SetS16LowFirst(k, 300).Decode();
    EXPECT_TRUE(lnk::IsPending(row));
    f.Decode();
    EXPECT_FALSE(lnk::IsPending(row));
  }
}

TEST_F(CommandFrame, StatusEchoLowersInTheFrameOfTheEcho) {
  const uint8_t moisture[2] = {0x00, 0xAF};
  lnk::RequestSetting(lnk::CommandRow::MoistureSetpoint, moisture);
  const uint8_t sensor = 2;
  lnk::RequestSetting(lnk::CommandRow::MoistureSensorSelection, &sensor);
  TestFrame f;
  f.SetU16HighFirst(lnk::kStatusMoistureSetpoint, 0x00AE).Set(lnk::kStatusMoistureSensorSelection, 2).Decode();
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MoistureSetpoint));  // one byte differs
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MoistureSensorSelection));
  f.SetU16HighFirst(lnk::kStatusMoistureSetpoint, 0x00AF).Decode();
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MoistureSetpoint));
}

TEST_F(CommandFrame, DisplayOptionsAreOneShotWithCommandBitsCleared) {
  lnk::RequestByte(lnk::kRequestDisplayOptions, lnk::kDisplayOptionsCelsius | 0x03, lnk::CommandRow::DisplayOptions);
  std::vector<uint8_t> f = Build();
  const std::vector<uint8_t> expected = {8, 1, 1, 10, 1, 0x83};
  EXPECT_EQ(f, expected);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::DisplayOptions));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestDisplayOptions), lnk::kDisplayOptionsCelsius);
  // Also lowered by its echo before it is built.
  lnk::RequestByte(lnk::kRequestDisplayOptions, lnk::kDisplayOptionsGraphView, lnk::CommandRow::DisplayOptions);
  TestFrame s;
  s.Set(lnk::kStatusDisplayOptions, lnk::kDisplayOptionsGraphView).Decode();
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::DisplayOptions));
}

TEST_F(CommandFrame, DisplayOptionEditsBeforeTheEchoBuildOnThePanelsLastRequest) {
  const int reg = lnk::kRequestDisplayOptions;
  TestFrame f;
  f.Set(lnk::kStatusDisplayOptions, 0x30).Decode();
  lnk::RequestBits(reg, lnk::kDisplayOptionsGraphView, 0, lnk::CommandRow::DisplayOptions);
  EXPECT_EQ(Build(), (std::vector<uint8_t>{8, 1, 1, 10, 1, 0x70}));
  f.Decode();  // an answer from before the command: still 0x30
  lnk::RequestBits(reg, lnk::kDisplayOptionsCelsius, 0, lnk::CommandRow::DisplayOptions);
  EXPECT_EQ(Build(), (std::vector<uint8_t>{8, 1, 1, 10, 1, 0xF0}));

  // Once echoed, edits start from the controller's byte again, without its command bits.
  f.Set(lnk::kStatusDisplayOptions, 0xF0 | lnk::kDisplayOptionsOneShotBits).Decode();
  f.Set(lnk::kStatusDisplayOptions, 0x23).Decode();
  lnk::RequestBits(reg, lnk::kDisplayOptionsGraphView, 0, lnk::CommandRow::DisplayOptions);
  EXPECT_EQ(Build(), (std::vector<uint8_t>{8, 1, 1, 10, 1, 0x60}));
  f.Set(lnk::kStatusDisplayOptions, 0x61).Decode();
  EXPECT_TRUE(lnk::LoadRequestFromStatus(lnk::CommandRow::DisplayOptions));
  EXPECT_EQ(lnk::ReadRequestByte(reg), 0x60);

  // A request the controller never takes stops standing in for its byte after a few answers.
  lnk::RequestBits(reg, lnk::kDisplayOptionsCelsius, 0, lnk::CommandRow::DisplayOptions);
  EXPECT_EQ(Build(), (std::vector<uint8_t>{8, 1, 1, 10, 1, 0xE0}));
  for (int i = 0; i < 3; ++i) f.Decode();
  lnk::RequestBits(reg, 0, lnk::kDisplayOptionsGraphView, lnk::CommandRow::DisplayOptions);
  EXPECT_EQ(Build(), (std::vector<uint8_t>{8, 1, 1, 10, 1, 0x20}));
}

TEST_F(CommandFrame, OptionBits2EchoIgnoresBits4To6) {
  lnk::RequestByte(lnk::kRequestOptionBits2, 0x71, lnk::CommandRow::OptionBits2);
  TestFrame f;
  f.Set(lnk::kStatusOptionBits2, 0x71).Decode();
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::OptionBits2));
  f.Set(lnk::kStatusOptionBits2, 0x01).Decode();
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::OptionBits2));
}

TEST_F(CommandFrame, StatusDataRowsCopyFromTheRecord) {
  TestFrame f;
  f.Set(lnk::kStatusMeterRoll0, 11).Set(lnk::kStatusMeterRoll1, 22).Set(lnk::kStatusMeterRoll2, 33).Set(lnk::kStatusMeterRoll3, 44);
  f.Set(lnk::kStatusMeterRollValue230, 55).Decode();
  lnk::RaisePending(lnk::CommandRow::MeterRollCopyOver);
  lnk::RaisePending(lnk::CommandRow::MeterRollFromStatus230);
  lnk::RaisePending(lnk::CommandRow::MeterRollRestore);
  const std::vector<uint8_t> expected = {2 + 7 + 4 + 6 + 2, 3,  0,  159, 4,  11, 22, 33, 44, 0, 161,
                                         1,                 55, 0, 160, 3,  22, 33, 44};
  EXPECT_EQ(Build(), expected);
}

// Rule 2 of the meter roll: 156..158 retire only in a frame in which the byte changes.
TEST_F(CommandFrame, MeterRollValueRetiresOnlyOnAChangeToTheRequest) {
  TestFrame f;
  f.Set(lnk::kStatusMeterRoll1, 50).Decode();
  lnk::RequestByte(lnk::kStatusMeterRoll1, 50, lnk::CommandRow::MeterRollValue1);
  f.Decode();
  f.Decode();
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MeterRollValue1));
  f.Set(lnk::kStatusMeterRoll1, 49).Decode();
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MeterRollValue1));
  f.Set(lnk::kStatusMeterRoll1, 50).Decode();
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MeterRollValue1));
}

// Rule 3: the knob, and requests 0:159..0:162 kept in step with the controller.
TEST_F(CommandFrame, KnobToggleRaisesKnobRequestOnce) {
  TestFrame f;
  f.Set(lnk::kStatusMeterRollMode, 0x82).Decode();
  EXPECT_EQ(lnk::Derived().knobRequest.load(), 1);
  EXPECT_EQ(Snapshot().b[lnk::kStatusMeterRollMode], 0x82);
  lnk::Derived().knobRequest = 0;
  f.Decode();
  f.Set(lnk::kStatusMeterRollMode, 0x81).Decode();  // bit 7 unchanged: not stored
  EXPECT_EQ(lnk::Derived().knobRequest.load(), 0);
  EXPECT_EQ(Snapshot().b[lnk::kStatusMeterRollMode], 0x82);
  events.meterRollVisible = true;
  f.Set(lnk::kStatusMeterRollMode, 0x01).Decode();
  EXPECT_EQ(Snapshot().b[lnk::kStatusMeterRollMode], 0x01);
  EXPECT_EQ(lnk::Derived().knobRequest.load(), 0);
  events.meterRollVisible = false;
  events.meterRollQuestion = true;
  f.Set(lnk::kStatusMeterRollMode, 0x81).Decode();
  EXPECT_EQ(Snapshot().b[lnk::kStatusMeterRollMode], 0x01);
  EXPECT_EQ(lnk::Derived().knobRequest.load(), 0);
}

TEST_F(CommandFrame, MeterRollRequestsFollowTheController) {
  TestFrame f;
  f.Set(lnk::kStatusMeterRollMode, 0x82).Set(lnk::kStatusMeterRollHigh, 70).Set(lnk::kStatusMeterRollMedium, 60);
  f.Set(lnk::kStatusMeterRollLow, 50).Decode();
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestMeterRollMode), 0x02);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestMeterRollHigh), 70);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestMeterRollMedium), 60);
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestMeterRollLow), 50);
  EXPECT_EQ(Snapshot().b[lnk::kStatusMeterRollHigh], 0);  // never stored
  // Row 52 pending: the working speeds are kept, and it retires when all four equal.
  const uint8_t speeds[4] = {0x02, 80, 60, 40};
  lnk::RequestSetting(lnk::CommandRow::MeterRollSpeeds, speeds);
  f.Set(lnk::kStatusMeterRollMode, 0x02).Decode();
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestMeterRollHigh), 80);
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MeterRollSpeeds));
  f.Set(lnk::kStatusMeterRollHigh, 80).Set(lnk::kStatusMeterRollLow, 40).Decode();
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MeterRollSpeeds));
}

TEST_F(CommandFrame, MeterRollCopyOverRetiresWhileQuestionPending) {
  events.meterRollQuestion = true;
  lnk::WriteRequestByte(lnk::kRequestMeterRollMode, 1);
  lnk::WriteRequestByte(lnk::kRequestMeterRollHigh, 70);
  lnk::WriteRequestByte(lnk::kRequestMeterRollMedium, 60);
  lnk::WriteRequestByte(lnk::kRequestMeterRollLow, 50);
  lnk::RaisePending(lnk::CommandRow::MeterRollCopyOver);
  TestFrame f;
  f.Set(lnk::kStatusMeterRollMode, 0x01).Set(lnk::kStatusMeterRollHigh, 70).Set(lnk::kStatusMeterRollMedium, 60).Decode();
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MeterRollCopyOver));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestMeterRollLow), 50);  // no rewrites while the question is up
  f.Set(lnk::kStatusMeterRollLow, 50).Decode();
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MeterRollCopyOver));
}

TEST_F(CommandFrame, MeterRollStatus230AndRestoreEchoes) {
  events.meterRollQuestion = true;  // keeps request 0:161 as the dialog set it
  lnk::WriteRequestByte(lnk::kRequestMeterRollMedium, 42);
  lnk::RaisePending(lnk::CommandRow::MeterRollFromStatus230);
  lnk::RaisePending(lnk::CommandRow::MeterRollRestore);
  TestFrame f;
  f.Set(lnk::kStatusMeterRoll1, 9).Set(lnk::kStatusMeterRoll2, 8).Set(lnk::kStatusMeterRoll3, 7).Decode();
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MeterRollFromStatus230));
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MeterRollRestore));
  f.Set(lnk::kStatusMeterRollMedium, 42).Decode();
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MeterRollFromStatus230));
  f.Set(lnk::kStatusMeterRollHigh, 9).Set(lnk::kStatusMeterRollMedium, 8).Set(lnk::kStatusMeterRollLow, 7).Decode();
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MeterRollRestore));
}

TEST_F(CommandFrame, SpeedModeRowIsLoweredOnlyByTheDialog) {
  lnk::RequestByte(lnk::kRequestMeterRollMode, 2, lnk::CommandRow::MeterRollSpeedMode);
  TestFrame f;
  f.Set(lnk::kStatusMeterRollMode, 2).Decode();
  f.Decode();
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::MeterRollSpeedMode));
  lnk::LowerPending(lnk::CommandRow::MeterRollSpeedMode);
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::MeterRollSpeedMode));
}

}  // namespace

namespace {

// Rule 5 of the meter roll: the speed mode chosen before row 43 is raised.
TEST_F(CommandFrame, MeterRollSpeedModeRule) {
  struct Case {
    uint8_t mode187, flags179, before, after;
  };
  const Case cases[] = {
      {0x01, lnk::kLoadFlagsBit1, 0, 1}, {0x41, 0, 1, 2}, {0x01, 0, 0, 2},   {0x01, 0, 2, 0},
      {0x01, 0, 1, 1},              {0x02, lnk::kLoadFlagsBit1, 0, 0},      {0x81, 0, 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.mode187) << " " << int(c.flags179) << " " << int(c.before));
    TestFrame f;
    f.Set(lnk::kStatusMoistureControlMode, c.mode187).Set(lnk::kStatusLoadFlags, c.flags179).Decode();
    events.meterRollQuestion = true;  // the dialog is up: no rewrites of 0:159
    lnk::WriteRequestByte(lnk::kRequestMeterRollMode, c.before);
    lnk::ApplyMeterRollSpeedModeRule();
    EXPECT_EQ(lnk::ReadRequestByte(lnk::kRequestMeterRollMode), c.after);
    events.meterRollQuestion = false;
  }
}

}  // namespace

namespace {

TEST_F(CommandFrame, HardwareSetupRaisesOnlyChangedRows) {
  TestFrame f;
  f.Set(lnk::kStatusFanHeaterCount, 3).Set(lnk::kStatusFuelType, 1).Decode();
  const uint8_t units = 3;
  const uint8_t fuel = 2;
  EXPECT_FALSE(lnk::RequestSettingIfChanged(lnk::CommandRow::FanHeaterCount, &units));
  EXPECT_TRUE(lnk::RequestSettingIfChanged(lnk::CommandRow::FuelType, &fuel));
  EXPECT_EQ(ItemRows(Build()), (std::vector<int>{3}));
}

TEST_F(CommandFrame, HardwareSetupEditTakenBackToTheControllersValueReplacesThePendingOne) {
  TestFrame f;
  f.Set(lnk::kStatusFuelType, 1).Set(lnk::kStatusLoadSystem, 1).Decode();
  const uint8_t one = 1;
  const uint8_t two = 2;
  // Not yet sent: taking it back leaves nothing to send.
  EXPECT_TRUE(lnk::RequestSettingIfChanged(lnk::CommandRow::LoadSystem, &two));
  EXPECT_FALSE(lnk::RequestSettingIfChanged(lnk::CommandRow::LoadSystem, &one));
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::LoadSystem));
  EXPECT_EQ(lnk::ReadRequestByte(lnk::kStatusLoadSystem), 1);
  EXPECT_TRUE(Build().empty());

  // Sent and not yet echoed: the controller may apply 2, so 1 goes out after it.
  EXPECT_TRUE(lnk::RequestSettingIfChanged(lnk::CommandRow::FuelType, &two));
  EXPECT_EQ(Build(), (std::vector<uint8_t>{8, 1, 0, 5, 1, 2}));
  EXPECT_TRUE(lnk::RequestSettingIfChanged(lnk::CommandRow::FuelType, &one));
  EXPECT_EQ(Build(), (std::vector<uint8_t>{8, 1, 0, 5, 1, 1}));
  f.Set(lnk::kStatusFuelType, 2).Decode();  // the controller took 2
  EXPECT_TRUE(lnk::IsPending(lnk::CommandRow::FuelType));
  EXPECT_EQ(Build(), (std::vector<uint8_t>{8, 1, 0, 5, 1, 1}));
  f.Set(lnk::kStatusFuelType, 1).Decode();
  EXPECT_FALSE(lnk::IsPending(lnk::CommandRow::FuelType));
}

}  // namespace
