#pragma once
// Names for the controller's register image. Status byte k is status-frame payload byte k:
// page-0 register r is byte r, page-1 register r is byte 256 + r. The setting request array
// uses the same numbering, so a request position is the status byte of the same register.
// Multi-byte fields are named by their first byte; the field's form says how to read it.
#include <cstdint>

namespace lnk {

inline constexpr int kPage1Base = 256;
constexpr int Page1(int reg) { return kPage1Base + reg; }
constexpr int RegisterIndex(int page, int reg) { return page * kPage1Base + reg; }

// ---- Page 0 status bytes ----
inline constexpr int kStatusFanHeaterCount = 3;
inline constexpr int kStatusModuleCount = 4;
inline constexpr int kStatusFuelType = 5;
inline constexpr int kStatusLoadSystem = 6;
inline constexpr int kStatusDryerLengthIndex = 7;
inline constexpr int kStatusDryerType = 8;
inline constexpr int kStatusHiHeatCountdown = 9;   // min:s
inline constexpr int kStatusHiHeatTime = 11;       // min:s
inline constexpr int kStatusBatchState = 13;
inline constexpr int kStatusCoolCountdown = 14;    // min:s
inline constexpr int kStatusCoolTime = 16;         // min:s
inline constexpr int kStatusByte18 = 18;
inline constexpr int kStatusUnloadCountdown = 19;  // min:s
inline constexpr int kStatusUnloadTime = 21;       // min:s
inline constexpr int kStatusByte23 = 23;
inline constexpr int kStatusOutOfGrainCountdown = 24;  // min:s
inline constexpr int kStatusOutOfGrainTime = 26;       // min:s
inline constexpr int kStatusStatusBar28 = 28;
inline constexpr int kStatusBytes29 = 29;  // 2 bytes
inline constexpr int kStatusLoadStartupDelay = 31;  // min:s
inline constexpr int kStatusUnused33 = 33;          // 33..38 never stored
inline constexpr int kStatusStatusBar39 = 39;       // 2 bytes
inline constexpr int kStatusUnloadCleanoutDelay = 41;  // min:s
inline constexpr int kStatusStatusBar43 = 43;
inline constexpr int kStatusBytes44 = 44;  // 2 bytes
inline constexpr int kStatusFanDelay = 46;  // min:s
inline constexpr int kStatusUnused48 = 48;
inline constexpr int kStatusSetup49 = 49;
inline constexpr int kStatusSetup50 = 50;
inline constexpr int kStatusByte51 = 51;
inline constexpr int kStatusLearningCounter = 52;
inline constexpr int kStatusClock = 53;  // 53..57 never stored (the panel clock request)
inline constexpr int kStatusLoadState = 58;
inline constexpr int kStatusPlenumSetpoint1 = 59;  // s16 low-first, slot n at 59 + 2(n-1)
inline constexpr int kStatusPlenumSetpoint2 = 61;
inline constexpr int kStatusPlenumSetpoint3 = 63;
inline constexpr int kStatusPlenumSetpoint4 = 65;
inline constexpr int kStatusPlenumSetpoint5 = 67;
inline constexpr int kStatusPlenumSetpoint6 = 69;
inline constexpr int kStatusPlenumTemp1 = 71;  // s16 low-first, slot n at 71 + 2(n-1)
inline constexpr int kStatusPlenumTemp2 = 73;
inline constexpr int kStatusPlenumTemp3 = 75;
inline constexpr int kStatusPlenumTemp4 = 77;
inline constexpr int kStatusPlenumTemp5 = 79;
inline constexpr int kStatusPlenumTemp6 = 81;
inline constexpr int kStatusTemps83 = 83;  // 3 x s16 low-first, not displayed
inline constexpr int kStatusGrainTemp1 = 89;  // s16 low-first
inline constexpr int kStatusGrainTemp2 = 91;
inline constexpr int kStatusGrainTemp3 = 93;
inline constexpr int kStatusPlenumDifferential1 = 95;  // 6 x u8, 95..100
inline constexpr int kStatusBurnerMode1 = 101;         // 6 x u8, 101..106
inline constexpr int kStatusUnused107 = 107;           // 107..112 never stored
inline constexpr int kStatusBytes113 = 113;            // 5 x u8
inline constexpr int kStatusStatus118 = 118;
inline constexpr int kStatusUnused119 = 119;           // 119..124 never stored
inline constexpr int kStatusUnitStatusA1 = 125;        // unit n at 125 + n - 1; bit 0 animates
inline constexpr int kStatusUnitStatusB1 = 131;
inline constexpr int kStatusUnitStatusC1 = 137;
inline constexpr int kStatusUnitStatusD1 = 143;
inline constexpr int kStatusGrainTempSetpoint1 = 149;  // s16 low-first
inline constexpr int kStatusGrainTempSetpoint2 = 151;
inline constexpr int kStatusGrainTempSetpoint3 = 153;
inline constexpr int kStatusMeterRoll0 = 155;  // meterRoll 0..3 at 155..158
inline constexpr int kStatusMeterRoll1 = 156;
inline constexpr int kStatusMeterRoll2 = 157;
inline constexpr int kStatusMeterRoll3 = 158;
inline constexpr int kStatusMeterRollMode = 159;
inline constexpr int kStatusMeterRollHigh = 160;    // 160..162 never stored: they live in the
inline constexpr int kStatusMeterRollMedium = 161;  // request array
inline constexpr int kStatusMeterRollLow = 162;
inline constexpr int kStatusBushelCalibration = 163;
inline constexpr int kStatusBushelCounter = 164;  // u32 low-first, bushel-seconds
inline constexpr int kStatusMain168 = 168;
inline constexpr int kStatusMain169 = 169;
inline constexpr int kStatusUnused170 = 170;
inline constexpr int kStatusRunFlags = 171;   // bit 6 runs
inline constexpr int kStatusRunFlags2 = 172;  // bit 0 runs
inline constexpr int kStatusUnloadPanel173 = 173;  // 16-bit high-first
inline constexpr int kStatusBytes175 = 175;
inline constexpr int kStatusLights177 = 177;
inline constexpr int kStatusLights178 = 178;
inline constexpr int kStatusLoadFlags = 179;
inline constexpr int kStatusConnector180 = 180;  // 180..182
inline constexpr int kStatusControllerDisplayOptions = 183;
inline constexpr int kStatusGrainTempSelect = 184;
inline constexpr int kStatusWarningId = 185;
inline constexpr int kStatusWarningNode = 186;
inline constexpr int kStatusMoistureControlMode = 187;
inline constexpr int kStatusSwitches = 188;
inline constexpr int kStatusMoisture1 = 189;  // 16-bit high-first
inline constexpr int kStatusMoisture2 = 191;
inline constexpr int kStatusMoisture3 = 193;
inline constexpr int kStatusMoisture4 = 195;
inline constexpr int kStatusUnloadStatusValue = 197;  // 16-bit high-first
inline constexpr int kStatusMoistureSetpoint = 199;   // 16-bit high-first
inline constexpr int kStatusMoistureControl201 = 201;
inline constexpr int kStatusMoistureControl202 = 202;  // logged
inline constexpr int kStatusByte203 = 203;
inline constexpr int kStatusUnused204 = 204;  // 204, 205 never stored
inline constexpr int kStatusMaxUnloadRate = 206;  // 16-bit high-first
inline constexpr int kStatusMinUnloadRate = 208;  // 16-bit high-first
inline constexpr int kStatusUnused210 = 210;      // 210..215 never stored
inline constexpr int kStatusBits216 = 216;        // 216..219
inline constexpr int kStatusChart220 = 220;
inline constexpr int kStatusBatchCounter = 221;  // 16-bit high-first
inline constexpr int kStatusChart223 = 223;
inline constexpr int kStatusDryingCriteria = 224;
inline constexpr int kStatusConfigBits = 225;
inline constexpr int kStatusTrim1 = 226;  // 226..229
inline constexpr int kStatusMeterRollValue230 = 230;
inline constexpr int kStatusUnused231 = 231;
inline constexpr int kStatusMoistureCalibration1 = 232;  // 16-bit high-first
inline constexpr int kStatusMoistureCalibration2 = 234;
inline constexpr int kStatusSensorSetting236 = 236;
inline constexpr int kStatusSensorSetting237 = 237;
inline constexpr int kStatusSensorCommand = 238;  // bit 3 zeroes the bushel counter
inline constexpr int kStatusLights239 = 239;
inline constexpr int kStatusLights240 = 240;
inline constexpr int kStatusMoistureCalibration3 = 241;
inline constexpr int kStatusMoistureCalibration4 = 243;
inline constexpr int kStatusLogged245 = 245;
inline constexpr int kStatusWatchdog = 246;
inline constexpr int kStatusChart247 = 247;  // 16-bit high-first
inline constexpr int kStatusChart249 = 249;  // 16-bit high-first
inline constexpr int kStatusOptionChange = 251;
inline constexpr int kStatusLoHeatCountdown = 252;  // min:s
inline constexpr int kStatusLoHeatTime = 254;       // min:s

// ---- Page 1 status bytes (256 + register) ----
inline constexpr int kStatusUnused256 = Page1(0);
inline constexpr int kStatusOptionBits = Page1(1);
inline constexpr int kStatusPlenumSetpoint7 = Page1(2);  // s16 low-first
inline constexpr int kStatusPlenumSetpoint8 = Page1(4);
inline constexpr int kStatusBatchTimers262 = Page1(6);  // 2 bytes
inline constexpr int kStatusBatchTimers264 = Page1(8);  // 2 bytes
inline constexpr int kStatusDisplayOptions = Page1(10);
inline constexpr int kStatusChart267 = Page1(11);  // 2 bytes
inline constexpr int kStatusFanSetupTime = Page1(13);  // min:s
inline constexpr int kStatusStatusBar271 = Page1(15);
inline constexpr int kStatusDryingModeValues = Page1(16);  // 2 bytes
inline constexpr int kStatusStagedBatchTime = Page1(18);   // min:s
inline constexpr int kStatusUnused276 = Page1(20);
inline constexpr int kStatusSetting121 = Page1(21);  // 2 bytes
inline constexpr int kStatusOptionBits2 = Page1(23);
inline constexpr int kStatusOptionWithdraw = Page1(24);
inline constexpr int kStatusSubstituteMoisture = Page1(25);  // 16-bit low-first
inline constexpr int kStatusSetup283 = Page1(27);
inline constexpr int kStatusSetup284 = Page1(28);
inline constexpr int kStatusAutoStart = Page1(29);
inline constexpr int kStatusUnused286 = Page1(30);
inline constexpr int kStatusMoistureSensorSelection = Page1(31);
inline constexpr int kStatusSetup288 = Page1(32);
inline constexpr int kStatusDataLogger = Page1(33);
inline constexpr int kStatusStatusBar290 = Page1(34);  // s16 low-first
inline constexpr int kStatusSetup292 = Page1(36);
inline constexpr int kStatusHardwareOption137 = Page1(37);
inline constexpr int kStatusUnitCounterA1 = Page1(38);  // 6 x 16-bit low-first
inline constexpr int kStatusUnitCounterB1 = Page1(50);  // 6 x 16-bit low-first
inline constexpr int kStatusRunTimeCounter1 = Page1(62);  // 3 x 16-bit low-first
inline constexpr int kStatusRunTimeCounter2 = Page1(64);
inline constexpr int kStatusRunTimeCounter3 = Page1(66);
inline constexpr int kStatusBytes324 = Page1(68);  // 324..328
inline constexpr int kStatusLastByte = Page1(72);

// ---- Bits and codes ----
inline constexpr uint8_t kLoadStateLoadRunning = 0x80;       // byte 58 bit 7
inline constexpr uint8_t kMeterRollModeKnobBit = 0x80;       // byte 159 bit 7
inline constexpr uint8_t kMeterRollModeSpeedMask = 0x3F;     // byte 159 low 6 bits
inline constexpr uint8_t kMeterRollModeHighBits = 0xC0;
inline constexpr uint8_t kRunFlagsRunning = 0x40;            // byte 171 bit 6
inline constexpr uint8_t kRunFlags2Running = 0x01;           // byte 172 bit 0
inline constexpr uint8_t kRunFlagsPreset = 0xA0;             // byte 171 at start
inline constexpr uint8_t kLoadFlagsBit1 = 0x02;              // byte 179
inline constexpr uint8_t kLoadFlagsBit2 = 0x04;
inline constexpr uint8_t kLoadFlagsLoadSwitch = 0x08;        // byte 179 bit 3
inline constexpr uint8_t kLoadFlagsAutomatic = 0x10;
inline constexpr uint8_t kControllerDisplayBit1 = 0x02;      // byte 183
inline constexpr uint8_t kControllerDisplayBit2 = 0x04;
inline constexpr uint8_t kMoistureModeMask = 0x07;           // byte 187 low 3 bits
inline constexpr uint8_t kMoistureModeLow6Mask = 0x3F;
inline constexpr uint8_t kMoistureModeBit5 = 0x20;
inline constexpr uint8_t kMoistureModeBit6 = 0x40;
inline constexpr uint8_t kMoistureModeBit7 = 0x80;
// Moisture-control modes: the value of byte 187 bits 0..2 (kMoistureModeMask).
inline constexpr int kModeTemperature2Speed = 1;
inline constexpr int kModeMoistureVariable = 3;
inline constexpr int kModeMoisture5Speed = 4;
inline constexpr int kModeTemperature5Speed = 5;
inline constexpr int kModeStagedBatch = 6;
inline constexpr int kModeStagedBatchOther = 7;  // read as staged batch by the fifth button
inline constexpr uint8_t kSwitchesCountdownStyle = 0x02;     // byte 188 bit 1: warning countdown
inline constexpr uint8_t kSwitchesTemperatureStyle = 0x10;   // byte 188 bit 4: warning grain temperature
inline constexpr uint8_t kSwitchesDefaultsOn = 0x20;         // byte 188 bit 5
inline constexpr uint8_t kSwitchesBit6 = 0x40;               // byte 188 bit 6: deviation line, load marker
inline constexpr uint8_t kDryingCriteriaBit1 = 0x02;         // byte 224 bit 1
inline constexpr uint8_t kConfigBitsHardwareChoice = 0x20;   // byte 225 bit 5: the series switch
inline constexpr uint8_t kConfigBitsPort = 0x80;             // byte 225 bit 7
inline constexpr uint8_t kSensorCommandZeroBushels = 0x08;   // byte 238 bit 3
inline constexpr uint8_t kOptionChangeBit = 0x10;            // byte 251 bit 4
inline constexpr uint8_t kOptionBitsMask = 0x70;             // byte 257 bits 4..6
inline constexpr uint8_t kOptionBitsMiscValue = 0x10;
inline constexpr uint8_t kOptionBitsTwoHeat = 0x02;          // byte 257 bit 1: HI and LO HEAT
inline constexpr uint8_t kOptionBitsTemplate = 0x30;         // byte 257 bits 4 and 5
inline constexpr uint8_t kOptionBitsMoisture = 0x40;         // byte 257 bit 6
inline constexpr uint8_t kDisplayOptionsCelsius = 0x80;      // byte 266 bit 7
inline constexpr uint8_t kDisplayOptionsGraphView = 0x40;    // byte 266 bit 6
inline constexpr uint8_t kDisplayOptionsOneShotBits = 0x03;  // request 1:10 bits 0-1
inline constexpr uint8_t kOptionBits2QuickStart = 0x01;      // byte 279 bit 0
inline constexpr uint8_t kOptionBits2EchoIgnored = 0x70;     // bits 4..6 masked off for the echo
inline constexpr uint8_t kOptionWithdrawAutoStartActive = 0x02;  // byte 280 bit 1
inline constexpr uint8_t kOptionWithdrawBit = 0x80;          // byte 280 bit 7

// Fan/heater unit bytes, slot n (1..6) at 124 + n (run), 130 + n (status), 142 + n (burner).
inline constexpr uint8_t kUnitRunTurning = 0x01;      // run byte bit 0: the fan picture turns
inline constexpr uint8_t kUnitRunFanOn = 0x02;        // run byte bit 1: clear shows FAN OFF
inline constexpr uint8_t kUnitRunBurnerFault = 0x04;  // run byte bit 2: called for heat, no flame
inline constexpr uint8_t kUnitStatusOn = 0x01;        // status byte bit 0: the unit runs
inline constexpr uint8_t kUnitStatusFiring = 0x02;    // status byte bit 1: the burner fires
inline constexpr uint8_t kUnitStatusAirSwitch = 0x10;  // status byte bit 4
inline constexpr uint8_t kUnitStatusHighLimit = 0x20;  // status byte bit 5
inline constexpr uint8_t kUnitBurnerOn = 0x01;        // burner byte bit 0: flame proven
inline constexpr uint8_t kUnitBurnerFlameFail = 0x02;  // burner byte bit 1
// Burner mode registers 0:101..0:106 (slot order, like the plenums).
inline constexpr uint8_t kBurnerModeFanOnly = 0x01;   // bit 0: the burner is held off
inline constexpr uint8_t kBurnerModeNoAirSwitchTest = 0x04;  // bit 2: air switch testing disabled
// Byte 171 beside the running bit: both set is the normal state, a clear bit 5 the attention
// state of the out-of-grain timer.
inline constexpr uint8_t kRunFlagsGrainPresent = 0x80;  // bit 7
inline constexpr uint8_t kRunFlagsColumnFull = 0x20;    // bit 5: the level switch is covered
inline constexpr uint8_t kStatusBar28ShowElapsed = 0x01;  // byte 28 bit 0: show the load time
inline constexpr uint8_t kLoadStateFillMoving = 0x08;     // byte 58 bit 3: the fill elements move
inline constexpr uint8_t kLoadStateFillForward = 0x04;    // byte 58 bit 2
inline constexpr uint8_t kSwitchesReady = 0x40;          // byte 188 bit 6: ready to run, no stop
inline constexpr uint8_t kStopReasonBits = 0x03;         // byte 271 bits 0-1
inline constexpr uint8_t kStopReasonNoGrain = 0x01;
inline constexpr uint8_t kOptionBitsTwoHeats = 0x02;     // byte 257 bit 1: HI and LO HEAT
inline constexpr uint8_t kOptionBitsTimeCriterion = 0x10;  // byte 257 bit 4: batch dries by time
// Batch state byte 13: the batch timer that runs.
inline constexpr uint8_t kBatchStateIdle = 0;
inline constexpr uint8_t kBatchStateHiHeat = 1;
inline constexpr uint8_t kBatchStateLoHeat = 2;
inline constexpr uint8_t kBatchStateCool = 3;
inline constexpr uint8_t kBatchStateUnload = 4;
// Meter-roll speed in use, byte 155.
inline constexpr uint8_t kMeterRollInUseLow = 0;
inline constexpr uint8_t kMeterRollInUseMedium = 1;
inline constexpr uint8_t kMeterRollInUseHigh = 2;
inline constexpr int kStatusMeterRollSpeedPercent = kStatusLogged245;  // the speed that runs
// What the four moisture-sensor fields carry.
inline constexpr int kStatusOutgoingMoisture = kStatusMoisture1;       // tenths of a percent
inline constexpr int kStatusIncomingMoisture = kStatusMoisture2;       // tenths of a percent
inline constexpr int kStatusOutgoingGrainTenthsF = kStatusMoisture3;   // tenths of a degree F
inline constexpr int kStatusIncomingGrainTenthsF = kStatusMoisture4;   // tenths of a degree F

// Bits and values the screens, dialogs and logs read, beside their registers.
inline constexpr uint8_t kBatchStateBit0 = 0x01;          // byte 13 bit 0: hides the averaging words
inline constexpr uint8_t kStatusBar43ShowRunTime = 0x01;  // byte 43 bit 0: the running line shows its time
inline constexpr uint8_t kSetup49NoSensor = 0x20;         // byte 49 bit 5: no bushel sensor fitted
// Register 0:50, the plenum temperature manager: on, time step (bits 3..5), size step (bits 0..2).
inline constexpr uint8_t kSetup50ManagerOn = 0x80;
inline constexpr uint8_t kSetup50ManagerTimeMask = 0x38;
inline constexpr int kSetup50ManagerTimeShift = 3;
inline constexpr uint8_t kSetup50ManagerSizeMask = 0x07;
inline constexpr uint8_t kStatus118Alarm = 0x20;          // byte 118 bit 5: the status bar's alarm line
// Byte 148 (slot 6's burner byte) bit 4 picks the second grain setpoint for the deviation line.
inline constexpr int kStatusSetpointChoice = kStatusUnitStatusD1 + 5;
inline constexpr uint8_t kSetpointChoiceSecond = 0x10;
inline constexpr uint8_t kRunFlagsLearning = 0x08;        // byte 171 bit 3: the learning period may show
inline constexpr uint8_t kDryingCriteriaDeviation = 0x08;  // byte 224 bit 3: the deviation line
inline constexpr uint8_t kDryingCriteriaHoldTime = 0x80;   // byte 224 bit 7: the hold-time line
inline constexpr uint8_t kConfigBitsNoGrainTemp = 0x04;    // byte 225 bit 2: no dryer grain temperature
inline constexpr uint8_t kUnused256Bit0 = 0x01;            // byte 256 bit 0: hides the averaging words
inline constexpr uint8_t kOptionBitsIdleOption = 0x01;     // byte 257 bit 0: the idle line of a batch dryer
inline constexpr int kOptionBitsStateShift = 4;            // byte 257 bits 4..6 (kOptionBitsMask) as 0..7
inline constexpr uint8_t kSetup292SensorStatus = 0x03;     // byte 292 bits 0-1: the sensor status text
inline constexpr uint8_t kHardwareOption137SensorStatus = 0x80;  // byte 293 bit 7: show that text
inline constexpr uint8_t kDataLoggerOn = 1;                // byte 289 value: the controller's logger is on
// Byte 184: which grain temperature is the dryer's.
inline constexpr uint8_t kGrainTempSelectThird = 0;
inline constexpr uint8_t kGrainTempSelectSecond = 1;
inline constexpr uint8_t kGrainTempSelectFirst = 2;
// Warning code of a fan/heater node (kNodeFanHeater1..kNodeFanHeaterInt6) for its fan.
inline constexpr int kWarningCodeFan = 5;

// One input or output of the control panel: a status byte and its bit.
struct PanelBit {
  int byte;
  uint8_t mask;
};
// Light outputs, activated: J1-0n is bit n-1 of byte 239, J2-0n bit 8-n of byte 240. Index:
// fan/heater unit 1..6 less one (unit 1 is slot 6).
inline constexpr PanelBit kLightFan[6] = {{kStatusLights240, 0x08}, {kStatusLights240, 0x20},
                                          {kStatusLights240, 0x80}, {kStatusLights239, 0x40},
                                          {kStatusLights239, 0x10}, {kStatusLights239, 0x04}};
inline constexpr PanelBit kLightBurner[6] = {{kStatusLights240, 0x10}, {kStatusLights240, 0x40},
                                             {kStatusLights239, 0x80}, {kStatusLights239, 0x20},
                                             {kStatusLights239, 0x08}, {kStatusLights239, 0x02}};
inline constexpr PanelBit kLightLoad = {kStatusLights240, 0x04};
inline constexpr PanelBit kLightUnload = {kStatusLights240, 0x02};
inline constexpr PanelBit kLightStart = {kStatusLights240, 0x01};
// Switch inputs, bytes 179..183, by unit 1..6 less one.
inline constexpr PanelBit kSwitchFanAuto[6] = {{kStatusLoadFlags, 0x20},   {kStatusConnector180, 0x04},
                                               {kStatusConnector180, 0x40}, {kStatusConnector180 + 1, 0x08},
                                               {kStatusConnector180 + 1, 0x80}, {kStatusConnector180 + 2, 0x20}};
inline constexpr PanelBit kSwitchBurnerAuto[6] = {{kStatusConnector180, 0x01},     {kStatusConnector180, 0x10},
                                                  {kStatusConnector180 + 1, 0x02}, {kStatusConnector180 + 1, 0x20},
                                                  {kStatusConnector180 + 2, 0x08}, {kStatusConnector180 + 2, 0x80}};
inline constexpr PanelBit kSwitchStop = {kStatusLoadFlags, 0x01};
inline constexpr PanelBit kSwitchLoadOn = {kStatusLoadFlags, 0x08};
inline constexpr PanelBit kSwitchStart = {kStatusControllerDisplayOptions, 0x01};

inline constexpr int kDryerTypeContinuous = 0;   // byte 8 values
// Moisture-control mode 2 (byte 187 bits 0..2).
inline constexpr int kModeCenterTracking = 2;  // meter-roll HIGH and LOW may track MEDIUM
// Meter-roll speed being changed: byte 159 low 6 bits, request 0:159.
inline constexpr uint8_t kMeterRollSpeedLow = 0;
inline constexpr uint8_t kMeterRollSpeedMedium = 1;
inline constexpr uint8_t kMeterRollSpeedHigh = 2;
// Auto-start state: byte 280, with kOptionWithdrawBit (bit 7) when it has finished.
inline constexpr uint8_t kAutoStartWaitingBit = 0x04;
inline constexpr uint8_t kAutoStartRunningBit = 0x02;
// Auto-start unit flags: bytes 131..136 (kStatusUnitStatusB1), bit 1 while the unit is on.
inline constexpr uint8_t kUnitStatusBOn = 0x02;
// Warning code of the main I/O node (kNodeMainIo) for the rear discharge.
inline constexpr int kWarningCodeRearDischarge = 5;

inline constexpr int kDryerTypeBatchOption = 1;  // byte 8 value enabling the option rules
inline constexpr int kDryerTypeHighLimit = 3;    // byte 8: uses the high grain temperature limit
inline constexpr int kDryerLengthCount = 15;
inline constexpr uint8_t kDryerLengthFeet[kDryerLengthCount] = {8, 10, 12, 14, 16, 18, 20, 22,
                                                                24, 26, 28, 34, 36, 38, 40};
// Any index outside the table gives 0 feet.
constexpr int DryerLengthFeet(int index) {
  return (index >= 0 && index < kDryerLengthCount) ? kDryerLengthFeet[index] : 0;
}

// Fan/heater units for each code of byte 3 (the hardware setup's choice); a dryer with fewer
// units uses the highest slots.
inline constexpr int kFanHeaterCodeCount = 5;
inline constexpr uint8_t kFanHeaterUnitsForCode[kFanHeaterCodeCount] = {1, 2, 3, 4, 6};
inline constexpr int kFanHeaterSlots = 6;

// Auto-start wizard: the dryer runs, so auto-start cannot begin.
inline constexpr uint8_t kSwitchesDryerRunning = 0x40;  // byte 188 bit 6

// ---- Warning nodes (values of status byte 186) ----
inline constexpr int kNodeNone = 0;
inline constexpr int kNodeDisplayIo = 1;
inline constexpr int kNodeFanHeater1 = 2;     // 2..7: "FAN/HEATER #1" .. "#6"
inline constexpr int kNodeFanHeater6 = 7;
inline constexpr int kNodeFanHeaterInt1 = 8;  // 8..13: "FAN/HEATER INT #1" .. "#6"
inline constexpr int kNodeFanHeaterInt6 = 13;
inline constexpr int kNodeMainIo = 14;
inline constexpr int kNodeMoistureCont = 15;
inline constexpr int kNodeCount = 16;  // valid node values are 0..15
inline constexpr const char* kWarningNodeNames[kNodeCount] = {
    nullptr,           "DISPLAY I/O",       "FAN/HEATER #1",     "FAN/HEATER #2",
    "FAN/HEATER #3",   "FAN/HEATER #4",     "FAN/HEATER #5",     "FAN/HEATER #6",
    "FAN/HEATER INT #1", "FAN/HEATER INT #2", "FAN/HEATER INT #3", "FAN/HEATER INT #4",
    "FAN/HEATER INT #5", "FAN/HEATER INT #6", "MAIN I/O",          "MOISTURE CONT"};
// The name shown for a node, or nullptr when the node has none.
constexpr const char* WarningNodeName(int node) {
  return (node > 0 && node < kNodeCount) ? kWarningNodeNames[node] : nullptr;
}

// ---- Command items, in builder order ----
inline constexpr int kCommandRowCount = 82;
enum class CommandRow : uint8_t {
  FanHeaterCount = 1,
  ModuleCount = 2,
  FuelType = 3,
  LoadSystem = 4,
  DryerLength = 5,
  DryerType = 6,
  HiHeatTime = 7,
  HiHeatCountdownReset = 8,
  LoHeatTime = 9,
  LoHeatCountdownReset = 10,
  CoolTime = 11,
  CoolCountdownReset = 12,
  UnloadTime = 13,
  UnloadCountdownReset = 14,
  OutOfGrainTime = 15,
  LoadStartupDelay = 16,
  UnloadCleanoutDelay = 17,
  FanDelay = 18,
  SetupByte49 = 19,
  SetupByte50 = 20,
  Clock = 21,
  PlenumSetpoint1 = 22,
  PlenumSetpoint2 = 23,
  PlenumSetpoint3 = 24,
  PlenumSetpoint4 = 25,
  PlenumSetpoint5 = 26,
  PlenumSetpoint6 = 27,
  PlenumDifferential1 = 28,
  PlenumDifferential2 = 29,
  PlenumDifferential3 = 30,
  PlenumDifferential4 = 31,
  PlenumDifferential5 = 32,
  PlenumDifferential6 = 33,
  BurnerMode1 = 34,
  BurnerMode2 = 35,
  BurnerMode3 = 36,
  BurnerMode4 = 37,
  BurnerMode5 = 38,
  BurnerMode6 = 39,
  GrainTempSetpoint1 = 40,
  GrainTempSetpoint2 = 41,
  GrainTempSetpoint3 = 42,
  MeterRollSpeedMode = 43,
  MeterRollValue1 = 44,
  MeterRollValue2 = 45,
  MeterRollValue3 = 46,
  MeterRollCopyOver = 47,
  MeterRollFromStatus230 = 48,
  BushelCalibration = 49,
  MoistureControlMode = 50,
  MeterRollRestore = 51,
  MeterRollSpeeds = 52,
  MoistureSetpoint = 53,
  MaxUnloadRate = 54,
  MinUnloadRate = 55,
  BatchCounter = 56,
  DryingCriteria = 57,
  Trim1 = 58,
  Trim2 = 59,
  Trim3 = 60,
  Trim4 = 61,
  MoistureCalibration1 = 62,
  MoistureCalibration2 = 63,
  SensorSetting236 = 64,
  SensorSetting237 = 65,
  SensorCommand = 66,
  MoistureCalibration3 = 67,
  MoistureCalibration4 = 68,
  Watchdog = 69,
  OptionBits = 70,
  PlenumSetpoint7 = 71,
  PlenumSetpoint8 = 72,
  DisplayOptions = 73,
  FanSetupTime = 74,
  StagedBatchTime = 75,
  Setting121 = 76,
  OptionBits2 = 77,
  Setting125 = 78,
  AutoStart = 79,
  MoistureSensorSelection = 80,
  DataLogger = 81,
  HardwareOption137 = 82,
};
constexpr int RowNumber(CommandRow row) { return static_cast<int>(row); }
constexpr int RowIndex(CommandRow row) { return static_cast<int>(row) - 1; }
constexpr CommandRow RowFromIndex(int index) { return static_cast<CommandRow>(index + 1); }

// ---- Request positions (same numbering as the status bytes) ----
inline constexpr int kRequestClockMinute = 53;  // then hour, day, month, year modulo 100
inline constexpr int kRequestClockHour = 54;
inline constexpr int kRequestClockDay = 55;
inline constexpr int kRequestClockMonth = 56;
inline constexpr int kRequestClockYear = 57;
inline constexpr int kRequestMeterRollMode = kStatusMeterRollMode;
inline constexpr int kRequestMeterRoll0 = kStatusMeterRoll0;
inline constexpr int kRequestMeterRollHigh = kStatusMeterRollHigh;
inline constexpr int kRequestMeterRollMedium = kStatusMeterRollMedium;
inline constexpr int kRequestMeterRollLow = kStatusMeterRollLow;
inline constexpr int kRequestSensorCommand = kStatusSensorCommand;
inline constexpr int kRequestDisplayOptions = kStatusDisplayOptions;
inline constexpr int kRequestOptionBits2 = kStatusOptionBits2;
inline constexpr int kRequestMoistureControlMode = kStatusMoistureControlMode;
inline constexpr int kRequestDryingCriteria = kStatusDryingCriteria;

// ---- Setup screens ----
inline constexpr uint8_t kSetup49MeterRollReverse = 0x10;  // byte 49 bit 4: metering roll reverse option active
// ---- Hardware description (the hardware setup dialog and the burner mode dialog) ----
// Codes of byte 3, the number of fan/heater units.
inline constexpr uint8_t kFanHeaterOne = 0;
inline constexpr uint8_t kFanHeaterTwo = 1;
inline constexpr uint8_t kFanHeaterThree = 2;
inline constexpr uint8_t kFanHeaterFour = 3;
inline constexpr uint8_t kFanHeaterSix = 4;
// Codes of byte 4, the number of modules; bytes 5 and 6 have four fuels and three load systems.
inline constexpr uint8_t kModulesOne = 0;
inline constexpr uint8_t kModulesTwo = 1;
inline constexpr uint8_t kModulesThree = 2;
inline constexpr int kModuleCodeCount = 3;
inline constexpr int kFuelCodeCount = 4;
inline constexpr int kLoadSystemCodeCount = 3;
inline constexpr uint8_t kOptionBitsDualPlenum = kOptionBitsTwoHeat;  // byte 257 bit 1
inline constexpr uint8_t kOptionBits2GrainPresent = 0x80;             // byte 279 bit 7
inline constexpr uint8_t kHardwareOptionCycledSampler = 0x80;         // byte 293 bit 7
inline constexpr uint8_t kControllerDisplayFourInchRolls = 0x02;      // byte 183 bit 1: clear 7-inch
// Moisture sensor selection, byte 287: a set bit is a network sensor, clear an analog one.
inline constexpr uint8_t kSensorSelectionWetNetwork = 0x01;
inline constexpr uint8_t kSensorSelectionDryNetwork = 0x02;
// ---- Watchdog, user settings, batch counter and cycled sampler dialogs ----
// Watchdog register 0:246: bit 7 turns it on; bits 0..6 are the seconds without a frame from
// the panel after which the controller stops the dryer. The time is kept while it is off.
inline constexpr uint8_t kWatchdogOnBit = 0x80;
inline constexpr uint8_t kWatchdogSecondsMask = 0x7F;
inline constexpr int kWatchdogSecondsMinimum = 5;
inline constexpr int kWatchdogSecondsMaximum = 120;
inline constexpr int kWatchdogSecondsStep = 5;
inline constexpr int kWatchdogSecondsDefault = 30;  // shown when the register holds no valid time
// The display options the operator keeps as settings (the others of 1:10 are one-shot commands).
inline constexpr uint8_t kDisplayOptionsUserSettings = kDisplayOptionsCelsius | kDisplayOptionsGraphView;
// ---- Drying mode and moisture control setup ----
inline constexpr int kDryerTypeStagedBatch = kDryerTypeBatchOption;  // byte 8
inline constexpr int kStatusMaxGrainTempLimit = kStatusSetting121;   // 1:21..22, degrees F low first
// Page 1 register 1: the staged batch criteria, the dual plenum and a bit that continuous flow clears.
inline constexpr uint8_t kOptionBitsContinuousClears = 0x08;               // bit 3
inline constexpr uint8_t kOptionBitsTemperatureCriterion = 0x20;           // bit 5
inline constexpr uint8_t kOptionBitsMoistureCriterion = kOptionBitsMoisture;  // bit 6
inline constexpr uint8_t kOptionBitsCriteria = kOptionBitsTimeCriterion | kOptionBitsTemperatureCriterion |
                                               kOptionBitsMoistureCriterion;
// Page 1 register 10: the safety master bit and the two guards it allows.
inline constexpr uint8_t kDisplayOptionsMaxTimeGuard = 0x08;       // bit 3
inline constexpr uint8_t kDisplayOptionsMaxGrainTempGuard = 0x10;  // bit 4
inline constexpr uint8_t kDisplayOptionsSafetyMaster = 0x20;       // bit 5
inline constexpr uint8_t kDisplayOptionsSafetyBits = 0x38;
// Byte 224: the staged batch heat split (exactly one of bits 4..6), auto centering, upper sensor.
inline constexpr uint8_t kDryingCriteriaUpperSensor = 0x01;   // bit 0
inline constexpr uint8_t kDryingCriteriaFullHeat = 0x10;      // bit 4
inline constexpr uint8_t kDryingCriteriaTwoThirdsHeat = 0x20;  // bit 5
inline constexpr uint8_t kDryingCriteriaHalfHeat = 0x40;      // bit 6
inline constexpr uint8_t kDryingCriteriaHeatSplit = 0x70;
inline constexpr uint8_t kDryingCriteriaAutoCentering = 0x80;  // bit 7
inline constexpr uint8_t kMoistureModeBits1To2 = 0x06;  // byte 187: what the batch criteria clear
// Byte 225: a series dryer's unload capacity follows its model, and it has no staged batch.
inline constexpr uint8_t kConfigBitsSeries = kConfigBitsHardwareChoice;
// Byte 183 bit 1: 4-inch metering rolls.
inline constexpr uint8_t kControllerDisplaySmallRolls = kControllerDisplayBit1;
// ---- Sensor calibration and bushel counting ----
inline constexpr int kRequestBushelCalibration = kStatusBushelCalibration;  // multiplier, percent
inline constexpr uint32_t kBushelCounterUnitsPerBushel = 3600;             // bytes 164..167 count bushel-seconds
// ---- Diagnostics: light outputs, switch inputs, air switch testing ----
inline constexpr int kStatusSwitchInputs = kStatusLoadFlags;  // five input bytes, 179..183
inline constexpr int kSwitchInputBytes = 5;
inline constexpr int kStatusDryerTypeSwitch = kStatusConfigBits;  // byte 225, bit by bit
inline constexpr int kLightOutputsPerConnector = 8;
inline constexpr uint8_t kSetupShutdownOnMrSensorOff = 0x20;  // register 49 bit 5
// The panel re-enables air switch testing while byte 148 bit 3 is set and byte 118 bit 5 clear.
inline constexpr int kStatusAirSwitchReady = kStatusUnitStatusD1 + 5;  // byte 148
inline constexpr uint8_t kAirSwitchReadyBit = 0x08;
inline constexpr uint8_t kStatus118AirSwitchHold = 0x20;  // byte 118 bit 5

}  // namespace lnk
