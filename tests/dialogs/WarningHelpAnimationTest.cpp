// The rear-discharge animation of the warning help dialog as the operator sees it: the tick
// repaints only the dialog's animation region, so the frames must change inside it and agree
// outside it, or the picture on screen stands still or mixes two frames.
#include <cstdio>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "dialogs/WarningHelpDialog.h"
#include "dialogs/WarningHelpLogic.h"
#include "platform/Bitmap.h"
#include "platform/Window.h"

using namespace testing_support;

namespace {

constexpr int kPictureWidth = 500;
constexpr int kPictureHeight = 400;
constexpr plat::Point kPictureAt{10, 0};  // where the dialog copies the picture

using Pixels = std::vector<uint32_t>;

// The screen's pixels of a client rectangle of `dialog`.
Pixels Grab(plat::Hwnd dialog, const plat::Rect& r) {
  const plat::Point origin = plat::ClientToScreen(dialog, plat::Point{r.left, r.top});
  Pixels out;
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) out.push_back(plat::ScreenPixels().At(origin.x + x, origin.y + y));
  return out;
}

int Differing(const Pixels& a, const Pixels& b) {
  int n = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
  return n;
}

class WarningHelpAnimation : public HeadlessFixture {};

}  // namespace

TEST_F(WarningHelpAnimation, EveryNewPictureChangesTheRepaintedRegionAndMatchesItsFileEverywhere) {
  ASSERT_TRUE(hasPack_) << "build the language_packs target first";
  i18n::EnsureLanguageLoaded();
  std::vector<plat::Bitmap> files(4);
  for (int frame = 0; frame < 4; ++frame) {
    char path[200];
    FormatRearDischargePath(path, sizeof path, frame);
    ASSERT_EQ(plat::LoadBmpFile(path, files[frame]), plat::BmpResult::Ok) << path;
    ASSERT_EQ(files[frame].Width(), kPictureWidth);
    ASSERT_EQ(files[frame].Height(), kPictureHeight);
  }
  const plat::Rect picture = plat::RectXywh(kPictureAt.x, kPictureAt.y, kPictureWidth, kPictureHeight);
  const plat::Rect& region = dialogs::kHelpAnimationRegion;

  // Frames 0 to 6 and back to 0; only the tick's own region repaint shows each one.
  constexpr int kSteps = 8;
  std::vector<Pixels> seen;
  std::vector<int> frames;
  std::vector<int> mismatches;
  std::vector<Step> steps;
  for (int i = 0; i < kSteps; ++i) {
    steps.push_back(Step{0, [&, i](plat::Hwnd d) {
      const int frame = dialogs::HelpAnimationFrame();
      frames.push_back(frame);
      seen.push_back(Grab(d, region));
      // The whole picture on screen is the file of this frame: nothing of an older frame is
      // left outside the region.
      const plat::Bitmap& file = files[frame < 3 ? frame : 3];
      const Pixels shown = Grab(d, picture);
      int wrong = 0;
      for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < kPictureWidth; ++x) wrong += shown[y * kPictureWidth + x] != file.At(x, y);
      mismatches.push_back(wrong);
      if (i + 1 < kSteps) dialogs::StepHelpAnimation();
    }});
  }
  steps.push_back(Step{dialogs::kWarningHelpClose, {}});
  while (dialogs::HelpAnimationFrame() != 0) dialogs::StepHelpAnimation();
  Drive(steps);
  dialogs::OpenWarningHelpDialog(parent_, lnk::kNodeMainIo, lnk::kWarningCodeRearDischarge);
  ASSERT_TRUE(AllStepsTaken());
  ASSERT_EQ(seen.size(), static_cast<size_t>(kSteps));

  EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 0}));
  for (int i = 0; i < kSteps; ++i) EXPECT_EQ(mismatches[i], 0) << "frame " << frames[i];
  // A new picture (frames 1, 2, 3 and 0 again) changes a good part of the region; frames 4
  // to 6 keep the fourth picture.
  const int area = region.Width() * region.Height();
  for (int i = 1; i < kSteps; ++i) {
    const int changed = Differing(seen[i - 1], seen[i]);
    const bool newPicture = frames[i] <= 3;
    if (newPicture) {
      EXPECT_GT(changed, area / 50) << "frame " << frames[i - 1] << " to " << frames[i];
    } else {
      EXPECT_EQ(changed, 0) << "frame " << frames[i - 1] << " to " << frames[i];
    }
  }
}
