#include "i18n/Resources.h"

#include <cstdio>
#include <cstring>

#include "i18n/Language.h"
#include "platform/Bitmap.h"
#include "platform/Files.h"

namespace i18n {

const char* const kBitmapNames[kBitmapNameCount] = {
    "PLACE HOLDER",
    "GRAPHIC_001_MAIN_TIMERS_BUTTON.BMP",
    "GRAPHIC_002_MAIN_TEMP_BUTTON.BMP",
    "GRAPHIC_003_MAIN_SETUP_BUTTON.BMP",
    "GRAPHIC_004_MAIN_VIEW_BUTTON.BMP",
    "GRAPHIC_005_MAIN_MC_BUTTON.BMP",
    "GRAPHIC_006_MAIN_AUTO_START_BUTTON.BMP",
    "GRAPHIC_007_LOAD_DELAY_BUTTON.BMP",
    "GRAPHIC_008_FAN_DELAY_BUTTON.BMP",
    "GRAPHIC_009_COOL_DOWN_TIMER_BUTTON.BMP",
    "GRAPHIC_010_OOG_TIMER_BUTTON.BMP",
    "GRAPHIC_011_UNLOAD_DELAY_BUTTON.BMP",
    "GRAPHIC_012_PLENUM_6_SP_BUTTON.BMP",
    "GRAPHIC_013_PLENUM_5_SP_BUTTON.BMP",
    "GRAPHIC_014_PLENUM_4_SP_BUTTON.BMP",
    "GRAPHIC_015_PLENUM_3_SP_BUTTON.BMP",
    "GRAPHIC_016_PLENUM_2_SP_BUTTON.BMP",
    "GRAPHIC_017_PLENUM_1_SP_BUTTON.BMP",
    "GRAPHIC_018_GRAIN_SP_BUTTON.BMP",
    "GRAPHIC_019_PLENUM_HI_TEMP_SP_BUTTON.BMP",
    "GRAPHIC_020_PLENUM_LO_TEMP_SP_BUTTON.BMP",
    "GRAPHIC_021_GRAIN_HI_TEMP_SP_BUTTON.BMP",
    "GRAPHIC_022_GRAIN_LO_TEMP_SP_BUTTON.BMP",
    "GRAPHIC_023_DRYING_MODE_BUTTON.BMP",
    "GRAPHIC_024_MC_SETUP_BUTTON.BMP",
    "GRAPHIC_025_UNLOAD_PARAMS_BUTTON.BMP",
    "GRAPHIC_026_TEMP_MANAGER_BUTTON.BMP",
    "GRAPHIC_027_BURNER_MODE_BUTTON.BMP",
    "GRAPHIC_028_CALIB_MOIST_SENSOR_BUTTON.BMP",
    "GRAPHIC_029_EXTENDED_SETUP_BUTTON.BMP",
    "GRAPHIC_030_DIAGNOSTICS_BUTTON.BMP",
    "GRAPHIC_031_BURNER_DIFF_BUTTON.BMP",
    "GRAPHIC_032_PRINTER_SETUP_BUTTON.BMP",
    "GRAPHIC_033_MRR_BUTTON.BMP",
    "GRAPHIC_034_SAMPLER_SETUP_BUTTON.BMP",
    "GRAPHIC_035_BPH_CALIB_BUTTON.BMP",
    "GRAPHIC_036_SET_DATE_TIME_BUTTON.BMP",
    "GRAPHIC_037_TEMP_SCALE_BUTTON.BMP",
    "GRAPHIC_038_DRYER_MODEL_BUTTON.BMP",
    "GRAPHIC_039_DATA_LOGGER_BUTTON.BMP",
    "GRAPHIC_040_USER_DEFAULTS_BUTTON.BMP",
    "GRAPHIC_041_SCREEN_EXIT_BUTTON.BMP",
    "GRAPHIC_042_TABLE_VIEW_BUTTON.BMP",
    "GRAPHIC_043_GRAPH_VIEW_BUTTON.BMP",
    "GRAPHIC_044_OWNERS_MANUAL_BUTTON.BMP",
    "GRAPHIC_045_HISTORY_BUTTON.BMP",
    "GRAPHIC_046_SYSTEM_INFO_BUTTON.BMP",
    "GRAPHIC_047_SOFTWARE_VERSION_BUTTON.BMP",
    "GRAPHIC_048_AS_GRAIN_SELECT_MENU_BUTTON.BMP",
    "GRAPHIC_049_AS_MOISTURE_SETTINGS_MENU_BUTTON.BMP",
    "GRAPHIC_050_AS_CORN_BUTTON.BMP",
    "GRAPHIC_051_AS_SOYBEAN_BUTTON.BMP",
    "GRAPHIC_052_AS_WHEAT_BUTTON.BMP",
    "GRAPHIC_053_AS_BARLEY_BUTTON.BMP",
    "GRAPHIC_054_AS_RICE_BUTTON.BMP",
    "GRAPHIC_055_AS_CANOLA_BUTTON.BMP",
    "GRAPHIC_056_AS_FLAX_BUTTON.BMP",
    "GRAPHIC_057_AS_HEMP_BUTTON.BMP",
    "GRAPHIC_058_AS_MILO_BUTTON.BMP",
    "GRAPHIC_059_AS_PISTACHIO_BUTTON.BMP",
    "GRAPHIC_060_AS_RYE_BUTTON.BMP",
    "GRAPHIC_061_AS_OATS_BUTTON.BMP",
    "GRAPHIC_062_AS_BEGIN_BUTTON.BMP",
    "GRAPHIC_063_CLEAR_BATCH_COUNT_BUTTON.BMP",
    "GRAPHIC_064_GRAPH_MOIST_IN_BUTTON.BMP",
    "GRAPHIC_065_GRAPH_GRAIN_TEMP_IN_BUTTON.BMP",
    "GRAPHIC_066_GRAPH_MOIST_OUT_BUTTON.BMP",
    "GRAPHIC_067_GRAPH_TEMP_OUT_BUTTON.BMP",
    "GRAPHIC_068_GRAPH_DRYER_TEMP_BUTTON.BMP",
    "GRAPHIC_069_GRAPH_METER_ROLLS_BUTTON.BMP",
    "GRAPHIC_070_PLENUM_2_LO_TEMP_SP_BUTTON.BMP",
    "GRAPHIC_071_PLENUM_2_HI_TEMP_SP_BUTTON.BMP",
    "GRAPHIC_072_WARNING_HELP_BUTTON.BMP",
    "GRAPHIC_073_AUTO_START_SETUP_BUTTON.BMP",
    "GRAPHIC_074_REAR_DISCHARGE_IMAGE_1.BMP",
    "GRAPHIC_075_REAR_DISCHARGE_IMAGE_2.BMP",
    "GRAPHIC_076_REAR_DISCHARGE_IMAGE_3.BMP",
    "GRAPHIC_077_REAR_DISCHARGE_IMAGE_4.BMP",
};

namespace {

constexpr size_t kPathSize = 260;

bool LanguagePath(const char* format, int a, int b, char* out, size_t size) {
  char name[kPathSize];
  const int n = std::snprintf(name, sizeof name, format, CurrentFolderCode(), a, b);
  if (n < 0 || static_cast<size_t>(n) >= sizeof name) return false;
  return StoragePath(name, out, size);
}

bool WarningFilePath(int nodeId, int warningId, const char* extension, char* out, size_t size) {
  EnsureLanguageLoaded();
  char format[80];
  std::snprintf(format, sizeof format, "Languages\\%%s\\WarningBitmaps\\NID_%%02d_WARNING_ID_%%02d.%s",
                extension);
  return LanguagePath(format, nodeId, warningId, out, size);
}

}  // namespace

bool LocalisedBitmapPath(int index, char* out, size_t size) {
  EnsureLanguageLoaded();
  if (index < 1 || index >= kBitmapNameCount) return false;
  char name[kPathSize];
  const int n = std::snprintf(name, sizeof name, "Languages\\%s\\Bitmaps\\%s", CurrentFolderCode(),
                              kBitmapNames[index]);
  if (n < 0 || static_cast<size_t>(n) >= sizeof name) return false;
  return StoragePath(name, out, size);
}

bool LoadLocalisedBitmap(int index, plat::Bitmap& out) {
  out.Release();
  char path[kPathSize];
  if (!LocalisedBitmapPath(index, path, sizeof path)) return false;
  return plat::LoadBmpFile(path, out) == plat::BmpResult::Ok;
}

bool LoadLocalisedBitmapPair(int index, plat::Bitmap& normal, plat::Bitmap& pressed) {
  pressed.Release();
  if (!LoadLocalisedBitmap(index, normal)) return false;
  const int w = normal.Width();
  const int h = normal.Height();
  if (!pressed.Allocate(w, h)) {
    normal.Release();
    return false;
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t p = normal.At(x > 0 ? x - 1 : 0, y > 0 ? y - 1 : 0);
      const uint32_t r = ((p >> 16) & 0xFF) * 3 / 4;
      const uint32_t g = ((p >> 8) & 0xFF) * 3 / 4;
      const uint32_t b = (p & 0xFF) * 3 / 4;
      pressed.Pixels()[static_cast<size_t>(y) * w + x] = (r << 16) | (g << 8) | b;
    }
  }
  return true;
}

bool WarningBitmapPath(int nodeId, int warningId, char* out, size_t size) {
  return WarningFilePath(nodeId, warningId, "bmp", out, size);
}

bool WarningTextPath(int nodeId, int warningId, char* out, size_t size) {
  return WarningFilePath(nodeId, warningId, "txt", out, size);
}

size_t ReadHelpFile(const char* name, char16_t* dest, size_t n) {
  if (n == 0) return 0;
  dest[0] = 0;
  char relative[kPathSize];
  char path[kPathSize];
  plat::FileHandle f;
  bool open = false;
  for (const char* code : {CurrentFolderCode(), "EN"}) {
    const int len = std::snprintf(relative, sizeof relative, "Languages\\%s\\%s", code, name);
    if (len < 0 || static_cast<size_t>(len) >= sizeof relative) return 0;
    if (StoragePath(relative, path, sizeof path) &&
        plat::OpenFile(path, plat::OpenMode::Read, f) == plat::FileResult::Ok) {
      open = true;
      break;
    }
  }
  if (!open) return 0;
  uint64_t size = 0;
  size_t got = 0;
  if (plat::GetFileSize(f, size) == plat::FileResult::Ok) {
    std::memset(dest, 0, n * sizeof(char16_t));
    const size_t room = 2 * (n - 1);
    const size_t want = (size < room ? static_cast<size_t>(size) : room) & ~static_cast<size_t>(1);
    auto* bytes = reinterpret_cast<uint8_t*>(dest);
    size_t part = 0;
    if (plat::ReadFile(f, bytes, want, part) == plat::FileResult::Ok) got = part;
    got &= ~static_cast<size_t>(1);
    dest[got / 2] = 0;
  }
  plat::CloseFile(f);
  return got / 2;
}

}  // namespace i18n
