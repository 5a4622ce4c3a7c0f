// make-manual-pdf: turns an operator's manual written as plain text into a PDF, so the manual
// is built from the sources like everything else the panel ships.
//
//   make-manual-pdf SOURCE.txt OUT.pdf
//
// The source is UTF-8 text: "= " starts the title, "== " a section heading, "- " a bullet,
// an empty line ends a paragraph, and every other line continues the paragraph. Text is set in
// the PDF's standard Helvetica faces with the WinAnsi code page (so German letters need no
// embedded font), wrapped on A4 pages with a page number at the foot. The output has no date
// in it, so the same source always gives the same file.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Advance widths in 1/1000 of the font size for WinAnsi codes 32..255 (Helvetica and
// Helvetica-Bold); 0 marks a code the converter never produces.
constexpr uint16_t kRegularWidths[224] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556,
    1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778,
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 333, 556,
    222, 556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833, 556, 556,
    556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 333, 0,
    0, 0, 222, 0, 333, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 222, 222, 333, 333, 350, 556, 1000, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 333, 556, 556, 556, 556, 260, 556, 333, 737, 370, 333, 584, 584, 737, 333,
    400, 584, 333, 333, 333, 578, 537, 278, 333, 333, 365, 333, 834, 834, 834, 611,
    667, 667, 667, 667, 667, 667, 1000, 722, 667, 667, 667, 667, 278, 278, 278, 278,
    722, 722, 778, 778, 778, 778, 778, 584, 778, 722, 722, 722, 722, 667, 667, 611,
    556, 556, 556, 556, 556, 556, 889, 500, 556, 556, 556, 556, 278, 278, 278, 278,
    556, 556, 556, 556, 556, 556, 556, 584, 611, 556, 556, 556, 556, 500, 556, 500,
};
constexpr uint16_t kBoldWidths[224] = {
    278, 333, 474, 556, 556, 889, 722, 238, 333, 333, 389, 584, 278, 333, 278, 278,
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 333, 333, 584, 584, 584, 611,
    975, 722, 722, 722, 722, 667, 611, 778, 722, 278, 556, 722, 611, 833, 722, 778,
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 333, 278, 333, 333, 556,
    278, 556, 611, 556, 611, 556, 333, 611, 611, 278, 278, 556, 278, 889, 611, 611,
    611, 611, 389, 556, 333, 611, 556, 778, 556, 556, 500, 389, 280, 389, 333, 0,
    0, 0, 278, 0, 500, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 278, 278, 500, 500, 350, 556, 1000, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 333, 556, 556, 556, 556, 280, 556, 333, 737, 370, 333, 584, 584, 737, 333,
    400, 584, 333, 333, 333, 611, 556, 278, 333, 333, 365, 333, 834, 834, 834, 611,
    722, 722, 722, 722, 722, 722, 1000, 722, 667, 667, 667, 667, 278, 278, 278, 278,
    722, 722, 778, 778, 778, 778, 778, 584, 778, 722, 722, 722, 722, 667, 667, 611,
    556, 556, 556, 556, 556, 556, 889, 556, 556, 556, 556, 556, 278, 278, 278, 278,
    611, 611, 611, 611, 611, 611, 611, 584, 611, 611, 611, 611, 611, 556, 611, 556,
};

constexpr double kPageWidth = 595;   // A4 in points
constexpr double kPageHeight = 842;
constexpr double kMargin = 62;
constexpr double kTextWidth = kPageWidth - 2 * kMargin;
constexpr double kBulletIndent = 16;

enum class Face : uint8_t { Regular, Bold };

struct Style {
  Face face;
  double size;
  double leading;
  double spaceBefore;
};
constexpr Style kTitle{Face::Bold, 20, 26, 0};
constexpr Style kHeading{Face::Bold, 13, 18, 10};
constexpr Style kBody{Face::Regular, 10.5, 14.5, 5};

enum class BlockKind : uint8_t { Title, Heading, Paragraph, Bullet };
struct Block {
  BlockKind kind;
  std::string text;  // WinAnsi bytes
};

// One code point of UTF-8 to WinAnsi; '?' for what the code page lacks.
unsigned char ToWinAnsi(uint32_t cp) {
  if (cp >= 32 && cp < 127) return static_cast<unsigned char>(cp);
  if (cp >= 160 && cp <= 255) return static_cast<unsigned char>(cp);
  switch (cp) {
    case 0x201A: return 130;
    case 0x201E: return 132;
    case 0x2018: return 145;
    case 0x2019: return 146;
    case 0x201C: return 147;
    case 0x201D: return 148;
    case 0x2022: return 149;
    case 0x2013: return 150;
    case 0x2014: return 151;
    default: return '?';
  }
}

std::string FromUtf8(const std::string& in) {
  std::string out;
  for (size_t i = 0; i < in.size();) {
    const auto c = static_cast<unsigned char>(in[i]);
    uint32_t cp = c;
    size_t n = 1;
    if (c >= 0xF0) {
      cp = c & 0x07;
      n = 4;
    } else if (c >= 0xE0) {
      cp = c & 0x0F;
      n = 3;
    } else if (c >= 0xC0) {
      cp = c & 0x1F;
      n = 2;
    }
    for (size_t k = 1; k < n && i + k < in.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(in[i + k]) & 0x3F);
    i += n;
    if (cp == '\t') cp = ' ';
    out.push_back(static_cast<char>(ToWinAnsi(cp)));
  }
  return out;
}

double TextWidth(const std::string& s, const Style& st) {
  const uint16_t* table = st.face == Face::Bold ? kBoldWidths : kRegularWidths;
  double units = 0;
  for (char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    units += c >= 32 ? table[c - 32] : 0;
  }
  return units * st.size / 1000.0;
}

bool ReadBlocks(const char* path, std::vector<Block>& blocks) {
  FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  char buf[4096];
  bool open = false;  // a paragraph or bullet takes the next lines
  while (std::fgets(buf, sizeof buf, f) != nullptr) {
    std::string line = buf;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.empty()) {
      open = false;
    } else if (line.rfind("== ", 0) == 0) {
      blocks.push_back({BlockKind::Heading, FromUtf8(line.substr(3))});
      open = false;
    } else if (line.rfind("= ", 0) == 0) {
      blocks.push_back({BlockKind::Title, FromUtf8(line.substr(2))});
      open = false;
    } else if (line.rfind("- ", 0) == 0) {
      blocks.push_back({BlockKind::Bullet, FromUtf8(line.substr(2))});
      open = true;
    } else if (open) {
      size_t start = line.find_first_not_of(' ');
      blocks.back().text += " " + FromUtf8(line.substr(start));
    } else {
      blocks.push_back({BlockKind::Paragraph, FromUtf8(line)});
      open = true;
    }
  }
  std::fclose(f);
  return true;
}

// Splits a text into lines that fit `width`; a word longer than a line stands alone.
std::vector<std::string> Wrap(const std::string& text, const Style& st, double width) {
  std::vector<std::string> lines;
  std::string line;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    size_t end = text.find(' ', i);
    if (end == std::string::npos) end = text.size();
    if (end == i) break;
    const std::string word = text.substr(i, end - i);
    i = end;
    const std::string candidate = line.empty() ? word : line + " " + word;
    if (!line.empty() && TextWidth(candidate, st) > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = candidate;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string PdfString(const std::string& s) {
  std::string out = "(";
  for (char c : s) {
    if (c == '(' || c == ')' || c == '\\') out.push_back('\\');
    out.push_back(c);
  }
  return out + ")";
}

class Pages {
 public:
  std::vector<std::string> streams;

  void Text(const std::string& s, const Style& st, double x) {
    if (streams.empty() || y_ - st.leading < kMargin + 20) NewPage();
    y_ -= st.leading;
    char head[96];
    std::snprintf(head, sizeof head, "BT /%s %.1f Tf %.2f %.2f Td ", st.face == Face::Bold ? "F2" : "F1", st.size, x,
                  y_);
    streams.back() += head + PdfString(s) + " Tj ET\n";
  }
  // Text on the line just set, e.g. a bullet before it.
  void Mark(const std::string& s, const Style& st, double x) {
    char head[96];
    std::snprintf(head, sizeof head, "BT /%s %.1f Tf %.2f %.2f Td ", st.face == Face::Bold ? "F2" : "F1", st.size, x,
                  y_);
    streams.back() += head + PdfString(s) + " Tj ET\n";
  }
  void Space(double points) {
    if (!streams.empty() && y_ < kPageHeight - kMargin) y_ -= points;
  }
  // Keeps a heading on the page of the lines that follow it.
  void NeedRoom(double points) {
    if (!streams.empty() && y_ - points < kMargin + 20) NewPage();
  }

 private:
  double y_ = 0;
  void NewPage() {
    streams.emplace_back();
    y_ = kPageHeight - kMargin;
  }
};

void Lay(const std::vector<Block>& blocks, Pages& pages) {
  for (const Block& b : blocks) {
    switch (b.kind) {
      case BlockKind::Title:
        for (const std::string& l : Wrap(b.text, kTitle, kTextWidth)) pages.Text(l, kTitle, kMargin);
        pages.Space(8);
        break;
      case BlockKind::Heading:
        pages.Space(kHeading.spaceBefore);
        pages.NeedRoom(kHeading.leading + 3 * kBody.leading);
        for (const std::string& l : Wrap(b.text, kHeading, kTextWidth)) pages.Text(l, kHeading, kMargin);
        break;
      case BlockKind::Paragraph:
        pages.Space(kBody.spaceBefore);
        for (const std::string& l : Wrap(b.text, kBody, kTextWidth)) pages.Text(l, kBody, kMargin);
        break;
      case BlockKind::Bullet: {
        pages.Space(kBody.spaceBefore / 2);
        bool first = true;
        for (const std::string& l : Wrap(b.text, kBody, kTextWidth - kBulletIndent)) {
          pages.Text(l, kBody, kMargin + kBulletIndent);
          if (first) pages.Mark("\x95", kBody, kMargin + 4);
          first = false;
        }
        break;
      }
    }
  }
}

bool WritePdf(const char* path, const std::string& title, const std::vector<std::string>& streams) {
  std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  std::vector<size_t> offsets;
  auto object = [&](const std::string& body) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
  };
  const size_t pageCount = streams.size();
  // 1 catalog, 2 page tree, 3 and 4 fonts, 5 info, then a page and its content per page.
  std::string kids;
  for (size_t i = 0; i < pageCount; ++i) kids += std::to_string(6 + 2 * i) + " 0 R ";
  object("<< /Type /Catalog /Pages 2 0 R >>");
  object("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pageCount) + " >>");
  object("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
  object("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>");
  object("<< /Title " + PdfString(title) + " /Producer (make-manual-pdf) >>");
  for (size_t i = 0; i < pageCount; ++i) {
    char foot[96];
    std::snprintf(foot, sizeof foot, "BT /F1 9 Tf %.2f %.2f Td (%zu / %zu) Tj ET\n", kPageWidth / 2 - 10, kMargin / 2,
                  i + 1, pageCount);
    const std::string content = streams[i] + foot;
    object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> "
           "/Contents " +
           std::to_string(7 + 2 * i) + " 0 R >>");
    object("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream");
  }
  const size_t xref = pdf.size();
  pdf += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
  for (size_t off : offsets) {
    char row[24];
    std::snprintf(row, sizeof row, "%010zu 00000 n \n", off);
    pdf += row;
  }
  pdf += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root 1 0 R /Info 5 0 R >>\nstartxref\n" +
         std::to_string(xref) + "\n%%EOF\n";
  FILE* f = std::fopen(path, "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(pdf.data(), 1, pdf.size(), f) == pdf.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make-manual-pdf SOURCE.txt OUT.pdf\n");
    return 2;
  }
  std::vector<Block> blocks;
  if (!ReadBlocks(argv[1], blocks)) {
    std::fprintf(stderr, "make-manual-pdf: cannot read %s\n", argv[1]);
    return 1;
  }
  if (blocks.empty() || blocks.front().kind != BlockKind::Title) {
    std::fprintf(stderr, "make-manual-pdf: %s must start with a \"= \" title line\n", argv[1]);
    return 1;
  }
  Pages pages;
  Lay(blocks, pages);
  if (!WritePdf(argv[2], blocks.front().text, pages.streams)) {
    std::fprintf(stderr, "make-manual-pdf: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
