#pragma once
// Where the 640 x 480 panel lies on the screen the display gives it, and the way back from a
// point on that screen to the panel, for touches.
#include "platform/Canvas.h"

namespace plat {

// Full screen: the largest whole magnification that fits, centred, so every panel pixel stays
// a square of screen pixels; a screen smaller than the panel gets it shrunk to fit, keeping its
// shape, centred (letter-boxed).
Rect FullScreenPanelRect(int screenWidth, int screenHeight);
// Whether a window magnified `scale` times fits on a screen of that size.
bool ScaledWindowFits(int scale, int screenWidth, int screenHeight);
// The panel point under (x, y) of the screen or window the panel was placed in at `panel`,
// clamped into the panel, so a finger that slides off it ends on its edge.
Point ScreenToPanel(const Rect& panel, int x, int y);

}  // namespace plat
