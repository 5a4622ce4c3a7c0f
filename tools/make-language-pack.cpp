// Turns the UTF-8 sources of one language (assets/source/<code>/) into the files the panel
// reads: UTF-16 little-endian with a byte-order mark and CR LF line ends.
//
//   make-language-pack SOURCE_DIR OUT_DIR STRINGS_FILE_NAME
//
// "strings.txt" holds "id<TAB>text" lines and becomes STRINGS_FILE_NAME with line k holding
// string id k. Every other .txt file (the warnings files, help files and the per-warning
// texts in WarningBitmaps/) is converted line by line under the same name, except
// "warning-texts.txt", whose "[NID_nn_WARNING_ID_nn]" sections each become
// WarningBitmaps/NID_nn_WARNING_ID_nn.txt. Lines starting with '#' in strings.txt and
// warning-texts.txt are comments. The tool fails when a text would not be read whole
// by the panel: a line over 150 characters, a string longer than the call that reads it
// returns, a file over the loaders' byte limits.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "i18n/Language.h"
#include "i18n/StringIds.h"

namespace fs = std::filesystem;

namespace {

bool ReadWhole(const fs::path& p, std::string& out) {
  FILE* f = std::fopen(p.c_str(), "rb");
  if (!f) return false;
  char buf[4096];
  size_t n;
  out.clear();
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fclose(f);
  return true;
}

// UTF-8 to UTF-16; false on a malformed sequence.
bool Utf8ToUtf16(const std::string& in, std::u16string& out) {
  out.clear();
  for (size_t i = 0; i < in.size();) {
    const auto c = static_cast<unsigned char>(in[i]);
    uint32_t cp;
    int extra;
    if (c < 0x80) {
      cp = c;
      extra = 0;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1F;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
      cp = c & 0x07;
      extra = 3;
    } else {
      return false;
    }
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= in.size()) return false;
      const auto cc = static_cast<unsigned char>(in[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    i += extra + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return true;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      line.clear();
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

bool WritePack(const fs::path& out, const std::vector<std::u16string>& lines, size_t limit) {
  std::string bytes = "\xFF\xFE";
  for (const auto& line : lines) {
    for (char16_t u : line) {
      bytes.push_back(static_cast<char>(u & 0xFF));
      bytes.push_back(static_cast<char>(u >> 8));
    }
    bytes.append("\r\0\n\0", 4);
  }
  if (limit != 0 && bytes.size() > limit) {
    std::fprintf(stderr, "%s: %zu bytes, the panel reads only %zu\n", out.c_str(), bytes.size(), limit);
    return false;
  }
  std::error_code ec;
  fs::create_directories(out.parent_path(), ec);
  FILE* f = std::fopen(out.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "%s: cannot create\n", out.c_str());
    return false;
  }
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

bool CheckLine(const fs::path& src, size_t number, const std::u16string& line) {
  if (line.size() <= static_cast<size_t>(i18n::kCellChars)) return true;
  std::fprintf(stderr, "%s:%zu: %zu characters, at most %d are kept\n", src.c_str(), number,
               line.size(), i18n::kCellChars);
  return false;
}

bool ConvertStrings(const fs::path& src, const fs::path& out) {
  std::string text;
  if (!ReadWhole(src, text)) {
    std::fprintf(stderr, "%s: cannot read\n", src.c_str());
    return false;
  }
  std::vector<std::u16string> rows;
  bool ok = true;
  size_t number = 0;
  for (const std::string& line : SplitLines(text)) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    const size_t tab = line.find('\t');
    const int id = tab == std::string::npos ? 0 : std::atoi(line.substr(0, tab).c_str());
    if (id < 1 || id > i18n::kStringCount) {
      std::fprintf(stderr, "%s:%zu: expected an id 1..1000 and a tab\n", src.c_str(), number);
      ok = false;
      continue;
    }
    std::u16string value;
    if (!Utf8ToUtf16(line.substr(tab + 1), value)) {
      std::fprintf(stderr, "%s:%zu: not UTF-8\n", src.c_str(), number);
      ok = false;
      continue;
    }
    ok = CheckLine(src, number, value) && ok;
    if (value.size() <= static_cast<size_t>(i18n::kCellChars) &&
        value.size() > static_cast<size_t>(i18n::StringReadChars(id))) {
      std::fprintf(stderr, "%s:%zu: string %d has %zu characters, the panel reads %d of it\n", src.c_str(),
                   number, id, value.size(), i18n::StringReadChars(id));
      ok = false;
    }
    if (rows.size() < static_cast<size_t>(id)) rows.resize(id);
    if (!rows[id - 1].empty()) {
      std::fprintf(stderr, "%s:%zu: id %d given twice\n", src.c_str(), number, id);
      ok = false;
    }
    rows[id - 1] = value;
  }
  return ok && WritePack(out, rows, i18n::kStringsFileBytes);
}

bool ConvertLines(const fs::path& src, const fs::path& out, size_t limit) {
  std::string text;
  if (!ReadWhole(src, text)) return false;
  std::vector<std::u16string> rows;
  bool ok = true;
  size_t number = 0;
  for (const std::string& line : SplitLines(text)) {
    ++number;
    std::u16string value;
    if (!Utf8ToUtf16(line, value)) {
      std::fprintf(stderr, "%s:%zu: not UTF-8\n", src.c_str(), number);
      ok = false;
    }
    ok = CheckLine(src, number, value) && ok;
    rows.push_back(value);
  }
  return ok && WritePack(out, rows, limit);
}

bool ConvertWarningTexts(const fs::path& src, const fs::path& out) {
  std::string text;
  if (!ReadWhole(src, text)) return false;
  bool ok = true;
  std::string name;
  std::vector<std::u16string> rows;
  size_t number = 0;
  auto flush = [&] {
    if (!name.empty()) ok = WritePack(out / "WarningBitmaps" / (name + ".txt"), rows, 0) && ok;
    rows.clear();
  };
  for (const std::string& line : SplitLines(text)) {
    ++number;
    if (!line.empty() && line[0] == '#') continue;
    if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
      flush();
      name = line.substr(1, line.size() - 2);
      continue;
    }
    std::u16string value;
    if (name.empty() || !Utf8ToUtf16(line, value)) {
      std::fprintf(stderr, "%s:%zu: text outside a section or not UTF-8\n", src.c_str(), number);
      ok = false;
      continue;
    }
    ok = CheckLine(src, number, value) && ok;
    rows.push_back(value);
  }
  flush();
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s SOURCE_DIR OUT_DIR STRINGS_FILE_NAME\n", argv[0]);
    return 2;
  }
  const fs::path source = argv[1];
  const fs::path out = argv[2];
  bool ok = ConvertStrings(source / "strings.txt", out / argv[3]);
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(source, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const fs::path& p = it->path();
    if (!it->is_regular_file() || p.extension() != ".txt" || p.filename() == "strings.txt") continue;
    const fs::path relative = fs::relative(p, source);
    if (relative == "warning-texts.txt") {
      ok = ConvertWarningTexts(p, out) && ok;
      continue;
    }
    const bool warnings = p.filename().string().rfind("Warnings", 0) == 0 && !relative.has_parent_path();
    ok = ConvertLines(p, out / relative, warnings ? i18n::kWarningsFileBytes : 0) && ok;
  }
  if (ec) {
    std::fprintf(stderr, "%s: %s\n", source.c_str(), ec.message().c_str());
    return 1;
  }
  return ok ? 0 : 1;
}
