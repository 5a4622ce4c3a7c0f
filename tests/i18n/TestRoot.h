#pragma once
// A panel root in a fresh temporary folder, with helpers to lay language files into it.
#include <cstdint>
#include <string>

namespace i18n_test {

class TestRoot {
 public:
  TestRoot();   // creates the folder, points the platform's files at it, resets the tables
  ~TestRoot();  // removes the folder
  const std::string& Path() const { return root_; }
  // Host path of a panel-relative name ("Languages\EN\X.txt" or "Hard Disk\...").
  std::string HostPath(const std::string& panelRelative) const;
  void WriteBytes(const std::string& panelRelative, const std::string& bytes) const;
  std::string ReadBytes(const std::string& panelRelative) const;
  void MakeFolder(const std::string& panelRelative) const;

 private:
  std::string root_;
};

// UTF-16 LE with a byte-order mark; every line ends with CR LF.
std::string Utf16File(const std::u16string& text);
std::string Utf16Lines(const std::u16string* lines, int count);
std::u16string U16(const std::string& ascii);

}  // namespace i18n_test
