#include "dialogs/WarningHelpLogic.h"

#include <cstdio>

#include "link/RegisterMap.h"

namespace {

constexpr int kFirstSharedPictureCode = 2;
constexpr int kLastSharedPictureCode = 7;
constexpr const char* kRearDischargePictures[] = {
    "GRAPHIC_074_REAR_DISCHARGE_IMAGE_1.BMP",
    "GRAPHIC_075_REAR_DISCHARGE_IMAGE_2.BMP",
    "GRAPHIC_076_REAR_DISCHARGE_IMAGE_3.BMP",
    "GRAPHIC_077_REAR_DISCHARGE_IMAGE_4.BMP",
};
constexpr int kRearDischargePictureCount = 4;
constexpr const char* kEnglishBitmapFormat = "\\Hard Disk\\Languages\\%s\\Bitmaps\\%s";

}  // namespace

HelpSubject HelpSubjectFor(int node, int code) {
  return {(node >= lnk::kNodeFanHeater1 && node <= lnk::kNodeFanHeater6) ? lnk::kNodeFanHeater1 : node, code};
}

HelpSubject HelpPictureSubject(int node, int code) {
  HelpSubject subject = HelpSubjectFor(node, code);
  if (subject.code >= kFirstSharedPictureCode && subject.code <= kLastSharedPictureCode)
    subject.code = kFirstSharedPictureCode;
  return subject;
}

bool IsRearDischarge(int node, int code) {
  return node == lnk::kNodeMainIo && code == lnk::kWarningCodeRearDischarge;
}

const char* RearDischargePicture(int frame) {
  if (frame < 0) frame = 0;
  if (frame >= kRearDischargePictureCount) frame = kRearDischargePictureCount - 1;
  return kRearDischargePictures[frame];
}

void FormatRearDischargePath(char* out, size_t size, int frame) {
  std::snprintf(out, size, kEnglishBitmapFormat, "EN", RearDischargePicture(frame));
}
