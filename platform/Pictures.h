#pragma once
// The program's own pictures by resource number. The screens register tables of pictures at
// start-up; each picture is drawn by its function into a memory bitmap the first time it is
// asked for and kept for the life of the process, so later paints only copy it.
#include <cstddef>

namespace plat {

class Bitmap;
class Canvas;

// Draws the picture onto a black canvas of the entry's size.
using PictureDrawFn = void (*)(Canvas& canvas);

struct PictureEntry {
  int resourceNumber = 0;
  int width = 0;
  int height = 0;
  PictureDrawFn draw = nullptr;
};

inline constexpr size_t kMaxPictures = 512;

// Registers a table that must stay alive (a static constexpr array). A resource number that is
// already registered keeps its first entry. False when the registry is full.
bool RegisterPictures(const PictureEntry* entries, size_t count);
// The picture's bitmap, drawn on first use; null for an unknown number or a bad entry.
const Bitmap* GetPicture(int resourceNumber);
// Forgets every table and drawn bitmap (tests).
void ResetPictures();

}  // namespace plat
