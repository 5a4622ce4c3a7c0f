#pragma once
// Per-language files beside the string tables: button pictures, the picture and text of
// each warning, and help texts. Every path goes through StoragePath and the folder code of
// the current language (EN for English and any id out of range).
#include <cstddef>
#include <cstdint>

namespace plat {
class Bitmap;
}

namespace i18n {

constexpr int kBitmapNameCount = 78;  // entry 0 is a place holder, 1..77 name picture files
extern const char* const kBitmapNames[kBitmapNameCount];

// "Languages\<code>\Bitmaps\<name>" under StoragePath; false for an index outside 1..77 or
// when the path does not fit.
bool LocalisedBitmapPath(int index, char* out, size_t size);
// Loads the picture of `index` in the current language into `out`. False, with `out` empty,
// when the file is missing or unreadable (no English fallback: the caller's button then
// shows its text).
bool LoadLocalisedBitmap(int index, plat::Bitmap& out);
// The picture and its pressed look (the same picture darkened and moved one pixel down and
// right), for the owner-drawn buttons that copy a normal and a pressed picture. False, with
// both empty, when the picture is missing.
bool LoadLocalisedBitmapPair(int index, plat::Bitmap& normal, plat::Bitmap& pressed);

// "Languages\<code>\WarningBitmaps\NID_nn_WARNING_ID_nn.bmp" (and ".txt") under StoragePath;
// existence is not tested.
bool WarningBitmapPath(int nodeId, int warningId, char* out, size_t size);
bool WarningTextPath(int nodeId, int warningId, char* out, size_t size);

// Reads the help file `name` of the current language (or, when missing, the English one)
// into `dest`, raw UTF-16 bytes, at most n - 1 characters, always terminated inside the n
// units of `dest`; a byte-order mark stays as the first character. A missing or unreadable
// file gives an empty text. Returns the characters read.
size_t ReadHelpFile(const char* name, char16_t* dest, size_t n);

}  // namespace i18n
