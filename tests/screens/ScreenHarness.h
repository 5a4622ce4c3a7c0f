#pragma once
// Screen windows on the headless backend: each test registers the window's class, creates it
// at its place on the main screen, sets status bytes and reads back what its paint drew.
#include <cstdio>
#include <string>
#include <vector>

#include "../dialogs/DialogDriver.h"
#include "screens/Screens.h"

namespace testing_support {

// A stand-in main window that keeps the commands a screen sends it; each test clears it first.
inline std::vector<int> g_mainCommands;
inline plat::LResult MainRecorder(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg == plat::Msg::Command) g_mainCommands.push_back(plat::CommandId(w));
  return plat::DefWindowProc(h, msg, w, l);
}

class ScreenFixture : public HeadlessFixture {
 protected:
  plat::Hwnd Create(const char* className, plat::WindowProc proc, plat::Rect rect, const char* title = nullptr) {
    EXPECT_TRUE(plat::RegisterClass(plat::WindowClass{.name = className, .proc = proc, .eraseBackground = false}));
    plat::WindowFlags flags = plat::WindowFlag::Visible;
    if (title != nullptr) flags |= plat::WindowFlag::Caption;
    return plat::CreateWindow(plat::WindowDesc{.className = className, .title = title, .parent = parent_,
                                               .rect = rect, .flags = flags});
  }
  // Refreshes the window as the tick does and repaints it now with a fresh capture, so only this
  // paint's texts are seen.
  void Repaint(plat::Hwnd h) {
    screens::RefreshScreen(h);
    plat::ClearCapturedText();
    plat::InvalidateRect(h, nullptr, true);
    plat::UpdateWindow(h);
  }
  void Set(int byte, uint8_t value) { lnk::WriteStatusByte(byte, value); }
  void Set16HighFirst(int byte, int value) {
    lnk::WriteStatusByte(byte, static_cast<uint8_t>(value >> 8));
    lnk::WriteStatusByte(byte + 1, static_cast<uint8_t>(value & 0xFF));
  }
  void Set16LowFirst(int byte, int value) {
    lnk::WriteStatusByte(byte, static_cast<uint8_t>(value & 0xFF));
    lnk::WriteStatusByte(byte + 1, static_cast<uint8_t>(value >> 8));
  }
  // The texts this window drew, each on a line, for failure messages.
  std::string AllTexts() const {
    std::string all;
    for (int i = 0; i < plat::CapturedTextCount(); ++i) all += Narrow(plat::CapturedTextAt(i)->text) + "\n";
    return all;
  }
  void Screenshot(const char* name) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(DRYER_BINARY_DIR) / "screenshots", ec);
    plat::ScreenshotPng((std::filesystem::path(DRYER_BINARY_DIR) / "screenshots" / name).c_str());
  }
  // Replaces the English pack by a folder of links to its files, with `name` (a path below the
  // EN folder) written instead as UTF-16 with its byte-order mark.
  void ReplacePackFile(const std::string& name, const std::u16string& text) {
    namespace fs = std::filesystem;
    ASSERT_TRUE(hasPack_) << "build the language_packs target first";
    const fs::path languages = fs::path(root_) / "Hard Disk" / "Languages";
    const fs::path built = fs::path(DRYER_BINARY_DIR) / "assets" / "Languages";
    std::error_code ec;
    if (fs::is_symlink(languages)) {
      fs::remove(languages, ec);
      fs::create_directories(languages / "EN" / "WarningBitmaps", ec);
      for (const auto& e : fs::directory_iterator(built / "EN")) {
        if (e.is_directory()) continue;
        fs::create_symlink(e.path(), languages / "EN" / e.path().filename(), ec);
      }
      for (const auto& e : fs::directory_iterator(built / "EN" / "WarningBitmaps"))
        fs::create_symlink(e.path(), languages / "EN" / "WarningBitmaps" / e.path().filename(), ec);
      fs::create_directory_symlink(built / "EN" / "Bitmaps", languages / "EN" / "Bitmaps", ec);
    }
    const fs::path target = languages / "EN" / name;
    fs::remove(target, ec);
    std::string bytes = "\xFF\xFE";
    for (char16_t ch : text) {
      bytes.push_back(static_cast<char>(ch & 0xFF));
      bytes.push_back(static_cast<char>(ch >> 8));
    }
    FILE* f = std::fopen(target.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  void LoadEnglish() {
    ASSERT_TRUE(hasPack_) << "build the language_packs target first";
    i18n::EnsureLanguageLoaded();
  }
};

}  // namespace testing_support
