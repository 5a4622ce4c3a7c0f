#pragma once
// PNG files through libpng, for headless screenshots and for reading them back in tests.
#include <cstdint>

#include "platform/Canvas.h"

namespace plat {

class Bitmap;

enum class PngResult : uint8_t { Ok, OpenFailed, WriteFailed, BadFile, TooLarge };
const char* PngResultText(PngResult r);

// Writes the pixels as an 8-bit RGB PNG at a host path, replacing the file.
PngResult WritePng(const char* hostPath, const PixelView& pixels);
// Reads any PNG into 0x00RRGGBB pixels (alpha is dropped). On failure `out` is empty.
PngResult ReadPng(const char* hostPath, Bitmap& out);

}  // namespace plat
