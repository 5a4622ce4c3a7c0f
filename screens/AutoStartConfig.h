#pragma once
// AUTO_START_CONFIG_WINDOW, the auto-start wizard: grain select and moisture settings pages
// beside two left buttons, EXIT and INITIATE or CONTINUE below; and the way into it from the
// setup screen's auto-start button.
#include <cstdint>

#include "platform/Window.h"

namespace screens {

// The main window hides the main screens and the setup screens and shows the wizard.
inline constexpr int kCmdShowAutoStartConfig = 40010;

// The wizard's page numbers.
enum class AutoStartPage : uint8_t { None = 0, GrainSelect = 1, MoistureSettings = 4 };

enum AutoStartConfigControl : int {
  kAsGrainSelect = 1380,
  kAsMoistureSettings = 1381,
  kAsExit = 1382,
  kAsInitiate = 1383,
  kAsContinue = 1384,
  kAsAutoStartMoisture = 1385,  // the CONTINUE beside the auto-start moisture setpoint
  kAsDryingMoisture = 1386,     // the CONTINUE beside the drying moisture setpoint
  kAsFirstGrain = 1390,         // grain i is kAsFirstGrain + i
};

inline constexpr int kGrainCount = 12;
inline constexpr int kGrainsPerColumn = 6;
inline constexpr const char* kGrainNames[kGrainCount] = {"Corn",  "Soy Beans", "Wheat",      "Barley",
                                                         "Rice",  "Canola",    "Flax",       "Hemp",
                                                         "Milo",  "Pistachios", "Rye",       "Oats"};
inline constexpr int kGrainWheat = 2;

inline constexpr const char* kAutoStartRunningCaption = "ATTENTION";
inline constexpr const char* kAutoStartRunningText = "Cannot initiate auto-start with dryer running.";

// The setup screen's auto-start button: the switch requirements first when auto-start is not
// active, the status dialog when it is, the refusal while the dryer runs, otherwise the wizard
// on its empty page with 1:23 and the grain loaded from the controller.
void OpenAutoStart(plat::Hwnd parent);

plat::LResult AutoStartConfigWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
// The page shown (tests and the screenshots).
AutoStartPage CurrentAutoStartPage();

}  // namespace screens
