#pragma once
// The program's own pictures: the dryer tower of each layout, the fan/heater units with their
// four picture sets of three frames, the moving elements, the blinking marker and the pictures
// of the warning window. Each is drawn by code into a memory bitmap the first time it is asked
// for and kept by resource number.
namespace screens {

// The warning window's pictures (the rest are named in DryerPictureLogic.h).
inline constexpr int kPictureConnectionPanel = 259;       // 100 x 75: the panel
inline constexpr int kPictureConnectionController = 260;  // 100 x 124: the controller
inline constexpr int kPictureWarningSign = 517;           // 100 x 92

// Registers the table with the platform; registering again changes nothing.
void RegisterScreenPictures();

}  // namespace screens
