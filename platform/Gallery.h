#pragma once
// A window that shows every control, owner drawing, a message box on demand and text in each
// font size: for eyes, screenshots, the smoke test under a real display and the repaint
// benchmark.
#include "platform/Window.h"

namespace plat {

inline constexpr int kGalleryMessageButton = 101;
inline constexpr const char* kGalleryClass = "PLATFORM_GALLERY";

// Creates the gallery as a full-screen top-level window; kNoWindow on failure.
Hwnd CreateGalleryWindow();
// Opens the gallery's message box (what its MESSAGE BOX button does); returns the answer.
int ShowGalleryMessage(Hwnd gallery);

}  // namespace plat
