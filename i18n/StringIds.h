#pragma once
// The string ids the panel uses, with the room each text has where it is drawn. The language
// pack check measures every shipped language against this table, and the screens take their
// ids for the texts whose id is chosen here (drying-mode lines, picture captions, diagnostics
// help caption) from the named constants below.
#include <cstddef>
#include <cstdint>

#include "i18n/Language.h"
#include "i18n/Resources.h"

namespace i18n {

struct UsedString {
  uint16_t id;
  // Room where the text is drawn, in pixels, and the font it is drawn with; 0 when the text
  // is wrapped by its user or its place is not fixed (then only the cell length is checked).
  uint16_t maxWidth = 0;
  uint8_t fontHeight = 0;
  bool bold = false;
};

// Texts shared by many dialogs.
inline constexpr uint16_t kStringHelp = 3;
inline constexpr uint16_t kStringAccept = 4;
inline constexpr uint16_t kStringIncrease = 8;
inline constexpr uint16_t kStringDecrease = 9;
inline constexpr uint16_t kStringCancel = 10;
inline constexpr uint16_t kStringOn = 14;
inline constexpr uint16_t kStringOff = 15;
inline constexpr uint16_t kStringDefault = 55;
inline constexpr uint16_t kStringClear = 99;
inline constexpr uint16_t kStringYes = 134;
inline constexpr uint16_t kStringNo = 135;
inline constexpr uint16_t kStringDelete = 141;
inline constexpr uint16_t kStringModifySetpoint = 144;
inline constexpr uint16_t kStringExit = 145;
// Texts shared by a screen and a dialog or a record.
inline constexpr uint16_t kStringPlenum1 = 91;  // plenum n is string 92 - n
inline constexpr uint16_t kStringSample = 286;
// The auto-start state, on the status bar and in the auto-start status dialog.
inline constexpr uint16_t kStringAutoStart = 301;
inline constexpr uint16_t kStringAutoStartRunning = 503;
inline constexpr uint16_t kStringAutoStartWaiting = 504;
inline constexpr uint16_t kStringAutoStartDone = 506;

// Drying-mode line of the dryer picture: continuous flow modes 1..5, then batch.
inline constexpr uint16_t kModeTextContinuous = 250;
inline constexpr uint16_t kModeTextTemp2Speed = 251;
inline constexpr uint16_t kModeTextTemp5Speed = 252;
inline constexpr uint16_t kModeTextMoistVariable = 253;
inline constexpr uint16_t kModeTextMoist5Speed = 254;
inline constexpr uint16_t kModeTextBatch = 255;
inline constexpr uint16_t kModeTextStagedBatch = 256;
inline constexpr uint16_t kModeTextNone = 257;
// Caption of the diagnostics help message box.
inline constexpr uint16_t kDiagnosticsHelpCaption = 215;
// The shutdown history dialog: caption, sort buttons and their check boxes, the copy button
// ("%s %s" of its two halves), its three questions (text, caption) and the note when no row is
// selected for help.
inline constexpr uint16_t kHistoryCaption = 427;
inline constexpr uint16_t kHistoryCopyFirst = 428;
inline constexpr uint16_t kHistorySortedByWarning = 429;
inline constexpr uint16_t kHistorySortedByDate = 430;
inline constexpr uint16_t kHistorySortedByNode = 431;
inline constexpr uint16_t kHistorySortByWarning = 432;
inline constexpr uint16_t kHistorySortByDate = 433;
inline constexpr uint16_t kHistorySortByNode = 434;
inline constexpr uint16_t kHistoryCopySecond = 435;
inline constexpr uint16_t kHistoryClearQuestion = 436;
inline constexpr uint16_t kHistoryClearCaption = 437;
inline constexpr uint16_t kHistoryCopyQuestion = 438;
inline constexpr uint16_t kHistoryCopyCaption = 439;
inline constexpr uint16_t kHistoryNoStickQuestion = 440;
inline constexpr uint16_t kHistoryNoStickCaption = 441;
inline constexpr uint16_t kHistoryNoSelection = 471;
inline constexpr uint16_t kHistoryNoSelectionCaption = 472;
// Questions of the diagnostics confirmations 606, 607 and 608: caption, switch on, switch off.
inline constexpr uint16_t kConfirmMrScreenCaption = 406;
inline constexpr uint16_t kConfirmMrScreenOn = 407;
inline constexpr uint16_t kConfirmMrScreenOff = 408;
inline constexpr uint16_t kConfirmMrSensorCaption = 409;
inline constexpr uint16_t kConfirmMrSensorDisable = 410;
inline constexpr uint16_t kConfirmMrSensorEnable = 411;
inline constexpr uint16_t kConfirmAirSwitchCaption = 412;
inline constexpr uint16_t kConfirmAirSwitchDisable = 413;
inline constexpr uint16_t kConfirmAirSwitchEnable = 414;
inline constexpr uint16_t kConfirmAirSwitchNote = 415;
// The warning help dialog's note that the warning has no picture: text, caption.
inline constexpr uint16_t kStringPictureMissing = 467;
inline constexpr uint16_t kStringPictureMissingCaption = 468;
// Status bar line and warning window text from the start until the first status frame.
inline constexpr uint16_t kStringWaitingForDryer = 600;
// The caption drawn on language picture k (1..77) is string kPictureCaptionBase + k.
inline constexpr uint16_t kPictureCaptionBase = 520;
// The message after a copy to the USB stick that names where the file went.
inline constexpr uint16_t kStringCopiedToStickCaption = 598;
inline constexpr uint16_t kStringCopiedToStickText = 599;
// The caption of the warning help dialog, which the warning window and the history open.
inline constexpr uint16_t kStringWarningHelpCaption = 459;

// The hardware setup dialog, the moisture sensor selection and the burner mode dialog.
inline constexpr uint16_t kStringNotAvailable = 147;
inline constexpr uint16_t kStringSeriesModelGroup = 191;
inline constexpr uint16_t kStringSeriesFanGroup = 192;
inline constexpr uint16_t kStringCycledSamplerOn = 486;
inline constexpr uint16_t kStringCycledSamplerOff = 487;
inline constexpr uint16_t kStringGrainPresentOn = 488;
inline constexpr uint16_t kStringGrainPresentOff = 489;
inline constexpr uint16_t kStringHardwareCaption = 800;
inline constexpr uint16_t kStringHwFanGroup = 801;
inline constexpr uint16_t kStringHwModuleGroup = 802;
inline constexpr uint16_t kStringHwFuelGroup = 803;
inline constexpr uint16_t kStringHwLoadGroup = 804;
inline constexpr uint16_t kStringHwLengthGroup = 805;
inline constexpr uint16_t kStringHwRollGroup = 806;
inline constexpr uint16_t kStringSelect = 807;
inline constexpr uint16_t kStringSensorSetup = 808;
inline constexpr uint16_t kStringAcceptExit = 809;
inline constexpr uint16_t kStringFuel1 = 810;        // fuel code c is 810 + c
inline constexpr uint16_t kStringLoadSystem1 = 814;  // load system code c is 814 + c
inline constexpr uint16_t kStringRollFourInch = 817;
inline constexpr uint16_t kStringRollSevenInch = 818;
inline constexpr uint16_t kStringSensorSelectCaption = 819;
inline constexpr uint16_t kStringSensorAnalog = 820;
inline constexpr uint16_t kStringSensorNetwork = 821;
inline constexpr uint16_t kStringCycledConfirmText = 822;
inline constexpr uint16_t kStringCycledConfirmCaption = 823;
inline constexpr uint16_t kStringBurnerModeCaption = 824;
inline constexpr uint16_t kStringBurnerUnit = 825;
inline constexpr uint16_t kStringBurnerOn = 826;
inline constexpr uint16_t kStringBurnerFanOnly = 827;
inline constexpr uint16_t kStringAirSwitchTestOn = 828;
inline constexpr uint16_t kStringAirSwitchTestOff = 829;
inline constexpr uint16_t kStringBurnerModeHelpCaption = 830;

// Time and date, watchdog, user settings, batch counter and cycled sampler dialogs.
inline constexpr uint16_t kStringTimeDateCaption = 740;
inline constexpr uint16_t kStringMonth = 741;  // then day, year, hour, minute
inline constexpr uint16_t kStringInvalidDateCaption = 746;
inline constexpr uint16_t kStringMonthHasOnly = 747;  // "... only" N "days ..."
inline constexpr uint16_t kStringDaysCorrectDay = 748;
inline constexpr uint16_t kStringTimeDateHelpCaption = 749;
inline constexpr uint16_t kStringWatchdogCaption = 750;
inline constexpr uint16_t kStringWatchdog = 751;
inline constexpr uint16_t kStringWatchdogTime = 752;
inline constexpr uint16_t kStringSeconds = 753;
inline constexpr uint16_t kStringWatchdogHelpCaption = 754;
inline constexpr uint16_t kStringUserSettingsCaption = 755;
inline constexpr uint16_t kStringTemperatureUnits = 756;
inline constexpr uint16_t kStringDegreesF = 757;
inline constexpr uint16_t kStringDegreesC = 758;
inline constexpr uint16_t kStringMainScreenView = 759;
inline constexpr uint16_t kStringStatusChartView = 760;
inline constexpr uint16_t kStringGraphView = 761;
inline constexpr uint16_t kStringUserSettingsHelpCaption = 762;
inline constexpr uint16_t kStringBatchCounterCaption = 763;
inline constexpr uint16_t kStringBatchCounterQuestion = 764;
inline constexpr uint16_t kStringBatchesCounted = 765;
inline constexpr uint16_t kStringBatchCounterHelpCaption = 766;
inline constexpr uint16_t kStringCycledSamplerCaption = 767;
inline constexpr uint16_t kStringCycledSamplerQuestion = 768;
inline constexpr uint16_t kStringCycledSamplerNote = 769;
inline constexpr uint16_t kStringCycledSamplerHelpCaption = 770;
// Auto-start wizard: the buttons that leave it or open a moisture setpoint.
inline constexpr uint16_t kStringAutoStartContinue = 941;
// The metering roll output voltage setup: caption, the three speeds, the output line, help.
inline constexpr uint16_t kStringVoltageCaption = 840;
inline constexpr uint16_t kStringVoltageHigh = 841;
inline constexpr uint16_t kStringVoltageMedium = 842;
inline constexpr uint16_t kStringVoltageLow = 843;
inline constexpr uint16_t kStringVoltageOutputNow = 844;
inline constexpr uint16_t kStringVoltageHelpCaption = 845;

// Buttons of the extended setup screen; the first two are also the diagnostics dialog's.
inline constexpr uint16_t kStringCheckLightOutputs = 204;
inline constexpr uint16_t kStringCheckSwitchWiring = 205;
inline constexpr uint16_t kStringLanguageButton = 880;

// How many characters of string `id` reach the operator. The picture captions are drawn at
// build time from the whole stored line; every other text is read at run time through
// GetString, which copies at most 100 characters, so a longer text is cut.
constexpr int StringReadChars(int id) {
  return id > kPictureCaptionBase && id < kPictureCaptionBase + kBitmapNameCount ? kCellChars
                                                                                 : kStringDestUnits - 1;
}

constexpr UsedString Fixed(uint16_t id) { return UsedString{.id = id}; }
constexpr UsedString Room(uint16_t id, uint16_t width, uint8_t height, bool bold) {
  return UsedString{.id = id, .maxWidth = width, .fontHeight = height, .bold = bold};
}

inline constexpr UsedString kUsedStrings[] = {
    // Buttons and captions shared by many dialogs.
    Fixed(3), Fixed(4), Fixed(6), Fixed(8), Fixed(9), Fixed(10), Fixed(13), Fixed(17),
    Fixed(134), Fixed(135), Fixed(141), Fixed(145),
    // Data logger state column of the status chart is 28 pixels wide; ON and OFF are also
    // the logger dialog's buttons and the auto-start unit states.
    Room(14, 28, 12, false), Room(15, 28, 12, false), Room(243, 28, 12, false),
    // Moisture sensor calibration and bushels.
    Fixed(35), Fixed(36), Fixed(37), Fixed(38), Fixed(39), Fixed(40), Fixed(41), Fixed(42),
    Fixed(43), Fixed(97), Fixed(98), Fixed(99), Fixed(100), Fixed(362), Fixed(363),
    // Timer screen panels.
    Fixed(44), Fixed(45), Fixed(46), Fixed(47), Fixed(48), Fixed(49), Fixed(50), Fixed(51),
    Room(52, 300, 14, false), Room(53, 300, 14, false), Room(54, 300, 14, false), Fixed(55),
    Room(56, 300, 14, false), Room(57, 150, 14, false), Room(60, 300, 14, false),
    Room(61, 300, 14, false), Room(62, 300, 14, false), Room(65, 300, 14, false),
    Room(66, 300, 14, false), Fixed(67), Fixed(68), Room(69, 300, 14, false),
    // Keypads.
    Fixed(142), Fixed(143), Fixed(144), Fixed(355), Fixed(356), Fixed(357),
    // Temperatures, burner differential, temperature manager.
    Fixed(85), Fixed(86), Fixed(87), Fixed(88), Fixed(89), Fixed(90), Fixed(91), Fixed(92),
    Fixed(93), Fixed(94), Fixed(95), Fixed(96), Fixed(193), Fixed(194), Fixed(195), Fixed(196),
    Fixed(197), Fixed(198), Fixed(199), Fixed(200), Fixed(201), Fixed(361), Fixed(364),
    // Hardware setup.
    Fixed(147), Fixed(191), Fixed(192), Fixed(486), Fixed(487), Fixed(488), Fixed(489),
    // Diagnostics.
    Fixed(202), Fixed(203), Fixed(204), Fixed(205), Fixed(206), Fixed(207), Fixed(208),
    Fixed(209), Fixed(210), Fixed(211), Fixed(212), Fixed(213), Fixed(214),
    Fixed(kDiagnosticsHelpCaption), Fixed(380), Fixed(381), Fixed(382), Fixed(383), Fixed(384),
    Fixed(385), Fixed(386), Fixed(387), Fixed(406), Fixed(407), Fixed(408), Fixed(409),
    Fixed(410), Fixed(411), Fixed(412), Fixed(413), Fixed(414), Fixed(415),
    // Drying mode and moisture control setup.
    Fixed(358), Fixed(359), Fixed(360), Fixed(365), Fixed(450),
    // Status overlay of the dryer picture: 70 pixels of room, less the number after a label.
    Room(kModeTextContinuous, 70, 12, false), Room(kModeTextTemp2Speed, 70, 12, false),
    Room(kModeTextTemp5Speed, 70, 12, false), Room(kModeTextMoistVariable, 70, 12, false),
    Room(kModeTextMoist5Speed, 70, 12, false), Room(kModeTextBatch, 70, 12, false),
    Room(kModeTextStagedBatch, 70, 12, false), Room(kModeTextNone, 70, 12, false),
    Room(264, 50, 12, false), Room(265, 50, 12, false), Room(266, 70, 12, false),
    Room(267, 50, 12, false), Room(268, 70, 12, false), Room(33, 70, 12, false),
    Room(269, 70, 12, false), Room(270, 70, 12, false), Room(271, 70, 12, false),
    Room(272, 48, 12, false), Room(273, 48, 12, false), Room(274, 48, 12, false),
    Room(275, 48, 12, false), Room(276, 48, 12, false), Room(277, 48, 12, false),
    Room(278, 48, 12, false), Room(279, 36, 12, false), Room(280, 36, 12, false),
    Room(281, 70, 12, false), Room(282, 36, 12, false), Room(283, 36, 12, false),
    Room(284, 36, 12, false), Room(286, 70, 12, false), Room(288, 36, 12, false),
    Room(295, 55, 12, false), Room(296, 40, 12, false), Room(297, 36, 12, false),
    // Main window questions and the view pop-up.
    Fixed(299), Fixed(300), Fixed(469),
    // Status bar line: 385 pixels at Tahoma 28 bold, less what follows the text.
    Room(301, 300, 28, true), Room(302, 385, 28, true), Room(303, 385, 28, true),
    Room(304, 385, 28, true), Room(305, 385, 28, true), Room(306, 300, 28, true),
    Room(307, 300, 28, true), Room(308, 270, 28, true), Room(309, 250, 25, false),
    Room(310, 280, 28, true), Room(311, 385, 28, true), Room(504, 385, 28, true),
    Room(kStringWaitingForDryer, 385, 28, true),
    // Plenum view labels and state lines: 150 pixels at 14 bold.
    Room(314, 150, 14, true), Room(315, 150, 14, true), Room(316, 150, 14, true),
    Room(317, 150, 14, true), Room(319, 150, 14, true), Room(320, 150, 14, true),
    Room(321, 150, 14, true), Room(326, 150, 14, true), Room(327, 150, 14, true), Fixed(328),
    // Warning window.
    Fixed(329), Room(330, 525, 40, true), Room(331, 550, 16, true), Room(332, 550, 16, false),
    Room(333, 550, 16, false), Room(334, 550, 16, false), Room(335, 550, 16, false),
    Room(336, 550, 16, false), Room(337, 550, 16, false), Room(338, 320, 24, true),
    Room(339, 525, 30, true), Room(462, 430, 40, true), Fixed(kStringWarningHelpCaption), Fixed(kStringPictureMissing),
    Fixed(kStringPictureMissingCaption),
    // Status chart column headers: 50 pixels per column.
    Room(286, 100, 12, false), Room(341, 50, 12, false), Room(342, 38, 12, false),
    Room(344, 50, 12, false), Room(345, 50, 12, false), Room(346, 50, 12, false),
    // Graph screen.
    Fixed(453), Fixed(454), Fixed(455), Fixed(456), Fixed(457), Fixed(460),
    // Shutdown history.
    Fixed(kHistoryCaption), Fixed(kHistoryCopyFirst), Fixed(kHistorySortedByWarning),
    Fixed(kHistorySortedByDate), Fixed(kHistorySortedByNode), Fixed(kHistorySortByWarning),
    Fixed(kHistorySortByDate), Fixed(kHistorySortByNode), Fixed(kHistoryCopySecond),
    Fixed(kHistoryClearQuestion), Fixed(kHistoryClearCaption), Fixed(kHistoryCopyQuestion),
    Fixed(kHistoryCopyCaption), Fixed(kHistoryNoStickQuestion), Fixed(kHistoryNoStickCaption),
    Fixed(kHistoryNoSelection), Fixed(kHistoryNoSelectionCaption),
    // Data-log dialogs and system information.
    Fixed(350), Fixed(366), Fixed(367), Fixed(368), Fixed(369), Fixed(370), Fixed(371),
    Fixed(372), Fixed(373), Fixed(376), Fixed(377), Fixed(378), Fixed(379), Fixed(422),
    Fixed(423), Fixed(424), Fixed(425), Fixed(426),
    // Batch drying timers: buttons 110 pixels wide in the system font, units beside digits.
    Fixed(442), Room(443, 104, 13, true), Room(444, 104, 13, true), Room(445, 104, 13, true),
    Room(446, 104, 13, true), Room(447, 104, 13, true), Room(448, 36, 16, false),
    Room(449, 36, 16, false),
    // Language names on the buttons of the language dialog.
    Room(473, 130, 13, true), Room(474, 130, 13, true), Room(475, 130, 13, true),
    Room(476, 130, 13, true), Room(477, 130, 13, true), Room(478, 130, 13, true),
    Room(479, 130, 13, true), Room(480, 130, 13, true), Room(481, 130, 13, true),
    Room(482, 130, 13, true), Room(483, 130, 13, true), Room(484, 130, 13, true),
    Room(485, 130, 13, true),
    // Auto-start.
    Fixed(491), Fixed(492), Fixed(493), Fixed(494), Fixed(495), Fixed(496), Fixed(497),
    Fixed(498), Fixed(499), Fixed(500), Fixed(501), Fixed(502), Room(503, 400, 30, true),
    Room(506, 400, 30, true), Fixed(507), Fixed(508), Fixed(510), Fixed(511), Fixed(512),
    // Batch timer restart questions (two numbers each) and their caption.
    Fixed(513), Fixed(514), Fixed(515), Fixed(516), Fixed(517), Fixed(518),
    // Where a copy to the stick went.
    Fixed(kStringCopiedToStickCaption), Fixed(kStringCopiedToStickText),
    // Setup screens: titles, the units and metering roll reverse questions, the language button.
    Fixed(871), Fixed(872), Fixed(873), Fixed(874), Fixed(875), Fixed(876), Fixed(877),
    Fixed(878), Fixed(879), Fixed(880),
    // The hardware setup dialog, the moisture sensor selection and the burner mode dialog.
    Room(147, 56, 13, true), Room(191, 200, 13, true), Room(192, 200, 13, true),
    Room(486, 146, 13, true), Room(487, 146, 13, true), Room(488, 146, 13, true),
    Room(489, 146, 13, true), Fixed(800), Room(801, 190, 13, true), Room(802, 190, 13, true),
    Room(803, 190, 13, true), Room(804, 190, 13, true), Room(805, 200, 13, true),
    Room(806, 190, 13, true), Room(807, 76, 13, true), Room(808, 146, 13, true),
    Room(809, 150, 13, true), Room(810, 82, 13, true), Room(811, 82, 13, true),
    Room(812, 82, 13, true), Room(813, 82, 13, true), Room(814, 82, 13, true),
    Room(815, 82, 13, true), Room(816, 82, 13, true), Room(817, 82, 13, true),
    Room(818, 82, 13, true), Fixed(819), Room(820, 190, 13, true), Room(821, 190, 13, true),
    Fixed(822), Fixed(823), Fixed(824), Room(825, 150, 13, true), Room(826, 196, 13, true),
    Room(827, 196, 13, true), Room(828, 196, 13, true), Room(829, 196, 13, true), Fixed(830),
    // Time and date, watchdog, user settings, batch counter and cycled sampler dialogs.
    Fixed(740), Fixed(741), Fixed(742), Fixed(743), Fixed(744), Fixed(745), Fixed(746),
    Fixed(747), Fixed(748), Fixed(749), Fixed(750), Fixed(751), Fixed(752), Fixed(753),
    Fixed(754), Fixed(755), Fixed(756), Fixed(757), Fixed(758), Fixed(759), Fixed(760),
    Fixed(761), Fixed(762), Fixed(763), Fixed(764), Fixed(765), Fixed(766), Fixed(767),
    Fixed(768), Fixed(769), Fixed(770),
    // Auto-start wizard: CONTINUE on a 150-pixel button.
    Room(kStringAutoStartContinue, 140, 16, false),
    // Metering roll output voltage setup: the speed radios are 200 pixels wide.
    Fixed(kStringVoltageCaption), Room(kStringVoltageHigh, 170, 16, true),
    Room(kStringVoltageMedium, 170, 16, true), Room(kStringVoltageLow, 170, 16, true),
    Fixed(kStringVoltageOutputNow), Fixed(kStringVoltageHelpCaption),
};
inline constexpr size_t kUsedStringCount = sizeof(kUsedStrings) / sizeof(kUsedStrings[0]);

// Ids of the batch restart questions, which hold two integer fields.
inline constexpr uint16_t kTwoNumberFormats[] = {513, 514, 516, 517, 518};

}  // namespace i18n
