#include "platform/Pictures.h"

#include "platform/Bitmap.h"
#include "platform/Canvas.h"

namespace plat {
namespace {

struct PictureSlot {
  const PictureEntry* entry = nullptr;
  Bitmap bitmap;
  bool drawn = false;
  bool failed = false;
};

struct PictureRegistry {
  PictureSlot slots[kMaxPictures];
  size_t count = 0;
};

PictureRegistry& Registry() {
  static PictureRegistry r;
  return r;
}

PictureSlot* Find(int resourceNumber) {
  PictureRegistry& r = Registry();
  for (size_t i = 0; i < r.count; ++i) {
    if (r.slots[i].entry->resourceNumber == resourceNumber) return &r.slots[i];
  }
  return nullptr;
}

}  // namespace

bool RegisterPictures(const PictureEntry* entries, size_t count) {
  PictureRegistry& r = Registry();
  bool ok = true;
  for (size_t i = 0; entries && i < count; ++i) {
    if (Find(entries[i].resourceNumber)) continue;
    if (r.count == kMaxPictures) {
      ok = false;
      continue;
    }
    r.slots[r.count++].entry = &entries[i];
  }
  return ok;
}

const Bitmap* GetPicture(int resourceNumber) {
  PictureSlot* slot = Find(resourceNumber);
  if (!slot || slot->failed) return nullptr;
  if (!slot->drawn) {
    const PictureEntry& e = *slot->entry;
    if (!e.draw || !slot->bitmap.Allocate(e.width, e.height)) {
      slot->failed = true;
      return nullptr;
    }
    Canvas canvas(slot->bitmap);
    e.draw(canvas);
    slot->drawn = true;
  }
  return &slot->bitmap;
}

void ResetPictures() {
  PictureRegistry& r = Registry();
  for (size_t i = 0; i < r.count; ++i) r.slots[i] = PictureSlot{};
  r.count = 0;
}

}  // namespace plat
