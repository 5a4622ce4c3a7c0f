#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include <sys/stat.h>

#include "tests/platform/SysTempDir.h"

using namespace plat;

namespace {

class SysFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.c_str()[0]);
    SetFileRoot(dir_.c_str());
    SetUsbDir(nullptr);
  }
  void TearDown() override {
    ClearFileFaults();
    SetUsbDir(nullptr);
  }

  void MakeDir(const char* rel) { ASSERT_EQ(mkdir(dir_.Sub(rel).c_str(), 0755), 0) << rel; }
  void WriteText(const char* panelPath, const std::string& text) {
    FileHandle f;
    ASSERT_EQ(OpenFile(panelPath, OpenMode::CreateAlways, f), FileResult::Ok) << panelPath;
    ASSERT_EQ(WriteFile(f, text.data(), text.size()), FileResult::Ok);
    CloseFile(f);
  }
  std::string ReadText(const char* panelPath) {
    FileHandle f;
    if (OpenFile(panelPath, OpenMode::Read, f) != FileResult::Ok) return "<missing>";
    std::string text;
    char buf[4096];
    size_t got = 0;
    while (ReadFile(f, buf, sizeof(buf), got) == FileResult::Ok && got > 0) text.append(buf, got);
    CloseFile(f);
    return text;
  }
  std::string Resolved(const char* panelPath) {
    char out[1024];
    if (!ResolvePath(panelPath, out, sizeof(out))) return "<refused>";
    std::string s = out;
    std::string root = dir_.c_str();
    return s.compare(0, root.size(), root) == 0 ? "<root>" + s.substr(root.size()) : s;
  }

  SysTempDir dir_;
};

}  // namespace

TEST_F(SysFiles, PanelPathsMapBelowTheRootIgnoringCase) {
  MakeDir("Hard Disk");
  MakeDir("Hard Disk/datalog");
  MakeDir("Languages");
  WriteText("\\Hard Disk\\datalog\\LONGTERMDATALOG.dat", "x");

  EXPECT_EQ(Resolved("\\Hard Disk\\DataLog\\LongTermDataLog.dat"),
            "<root>/Hard Disk/datalog/LONGTERMDATALOG.dat");
  EXPECT_EQ(Resolved("\\HARD DISK\\DATALOG\\longtermdatalog.DAT"),
            "<root>/Hard Disk/datalog/LONGTERMDATALOG.dat");
  EXPECT_TRUE(FileExists("\\hard disk\\DataLog\\LongTermDataLog.dat"));
  EXPECT_TRUE(FolderExists("\\Hard Disk\\DATALOG"));
  EXPECT_FALSE(FileExists("\\Hard Disk\\DataLog"));
  // Relative names resolve from the root; missing components keep the case they were given.
  EXPECT_EQ(Resolved("languages\\EN\\EnglishStrings.txt"), "<root>/Languages/EN/EnglishStrings.txt");
  EXPECT_EQ(Resolved("/Hard Disk/New Folder/A.txt"), "<root>/Hard Disk/New Folder/A.txt");
  // Nothing escapes the root, and a short buffer is refused rather than cut.
  EXPECT_EQ(Resolved("\\Hard Disk\\..\\..\\etc\\passwd"), "<refused>");
  char tiny[8];
  EXPECT_FALSE(ResolvePath("\\Hard Disk\\x", tiny, sizeof(tiny)));
}

TEST_F(SysFiles, SecondHardDiskIsTheUsbFolder) {
  EXPECT_EQ(Resolved("\\Hard Disk2\\Dryer.txt"), "<root>/Hard Disk2/Dryer.txt");
  EXPECT_FALSE(FolderExists("\\Hard Disk2"));  // no stick
  SysTempDir usb;
  SetUsbDir(usb.c_str());
  EXPECT_TRUE(FolderExists("\\Hard Disk2"));
  EXPECT_TRUE(FolderExists("\\hard disk2\\"));
  WriteText("\\Hard Disk2\\DryerShutdownHistory.txt", "abc");
  struct stat st;
  EXPECT_EQ(stat(usb.Sub("DryerShutdownHistory.txt").c_str(), &st), 0);
  // "Hard Disk" itself stays the storage card below the root.
  EXPECT_EQ(Resolved("\\Hard Disk\\x"), "<root>/Hard Disk/x");
}

TEST_F(SysFiles, OpenModesReadWriteSeekAndSize) {
  FileHandle f;
  EXPECT_EQ(OpenFile("missing.txt", OpenMode::Read, f), FileResult::NotFound);
  EXPECT_FALSE(f.valid());
  EXPECT_EQ(OpenFile("missing.txt", OpenMode::ReadWrite, f), FileResult::NotFound);
  EXPECT_EQ(OpenFile("\\No Card\\x.txt", OpenMode::CreateAlways, f), FileResult::NotFound);

  WriteText("a.txt", "hello");
  EXPECT_EQ(OpenFile("A.TXT", OpenMode::CreateNew, f), FileResult::AlreadyExists);
  ASSERT_EQ(OpenFile("a.txt", OpenMode::Append, f), FileResult::Ok);
  ASSERT_EQ(WriteFile(f, " world", 6), FileResult::Ok);
  CloseFile(f);
  EXPECT_FALSE(f.valid());
  EXPECT_EQ(ReadText("a.txt"), "hello world");

  ASSERT_EQ(OpenFile("a.txt", OpenMode::OpenAlways, f), FileResult::Ok);
  uint64_t size = 0, pos = 0;
  EXPECT_EQ(GetFileSize(f, size), FileResult::Ok);
  EXPECT_EQ(size, 11u);
  EXPECT_EQ(SeekFile(f, -5, SeekFrom::End, &pos), FileResult::Ok);
  EXPECT_EQ(pos, 6u);
  char buf[16] = {};
  size_t got = 0;
  EXPECT_EQ(ReadFile(f, buf, sizeof(buf), got), FileResult::Ok);
  EXPECT_EQ(std::string(buf, got), "world");
  EXPECT_EQ(ReadFile(f, buf, sizeof(buf), got), FileResult::Ok);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(TruncateFile(f, 4), FileResult::Ok);
  CloseFile(f);
  EXPECT_EQ(ReadText("a.txt"), "hell");

  ASSERT_EQ(OpenFile("a.txt", OpenMode::CreateAlways, f), FileResult::Ok);
  CloseFile(f);
  EXPECT_EQ(FileSizeByPath("a.txt", size), FileResult::Ok);
  EXPECT_EQ(size, 0u);

  // A folder is not a file.
  MakeDir("Folder");
  EXPECT_EQ(OpenFile("folder", OpenMode::Read, f), FileResult::BadPath);
  FileInfo info;
  EXPECT_EQ(GetFileInfo("FOLDER", info), FileResult::Ok);
  EXPECT_TRUE(info.isFolder);
  EXPECT_EQ(GetFileInfo("nothing", info), FileResult::NotFound);
}

TEST_F(SysFiles, DeleteMoveAndCreateFolder) {
  EXPECT_EQ(CreateFolder("\\Hard Disk"), FileResult::Ok);
  EXPECT_EQ(CreateFolder("\\HARD DISK"), FileResult::Ok);  // exists already, in another case
  EXPECT_EQ(CreateFolder("\\Hard Disk\\A\\B"), FileResult::NotFound);
  WriteText("\\Hard Disk\\old.dat", "old");
  WriteText("\\Hard Disk\\new.dat", "new");
  EXPECT_EQ(MoveFile("\\Hard Disk\\NEW.dat", "\\Hard Disk\\old.dat"), FileResult::Ok);
  EXPECT_EQ(ReadText("\\Hard Disk\\old.dat"), "new");
  EXPECT_FALSE(FileExists("\\Hard Disk\\new.dat"));
  EXPECT_EQ(DeleteFile("\\hard disk\\OLD.DAT"), FileResult::Ok);
  EXPECT_EQ(DeleteFile("\\Hard Disk\\old.dat"), FileResult::NotFound);
}

TEST_F(SysFiles, WildcardsMatchLikeTheOriginalFileSystem) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  };
  constexpr Case kCases[] = {
      {"*", "anything", true},
      {"*.*", "NODOT", true},
      {"*.DAT", "graph.dat", true},
      {"*.DAT", "graph.dat.bak", false},
      {"G??PH.DAT", "GRAPH.DAT", true},
      {"G??PH.DAT", "GRPH.DAT", false},
      {"?", "", false},
      {"A*B*C", "AxxBxxBxxC", true},
      {"A*B*C", "AxxBxxCx", false},
      {"**x", "x", true},
      {"DATA_LOG_24HR*.DAT", "data_log_24hr16_10_04_19_05_09.DAT", true},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " / " << c.name;
}

TEST_F(SysFiles, FindFirstNextListsMatchingEntriesOfOneFolder) {
  MakeDir("Hard Disk");
  MakeDir("Hard Disk/GraphDataLog");
  WriteText("\\Hard Disk\\GraphDataLog\\GRAPH_DATA_LOG_24HR16_10_04_19_05_09.DAT", "12345");
  WriteText("\\Hard Disk\\GraphDataLog\\graph_data_log_24hr16_10_05_01_00_00.dat", "");
  WriteText("\\Hard Disk\\GraphDataLog\\GRAPH_DATA_LOG_24HR16_10_05.DAT", "");  // wrong shape
  WriteText("\\Hard Disk\\GraphDataLog\\notes.txt", "");

  FindHandle h;
  FindData d;
  std::set<std::string> names;
  const char* pattern = "\\Hard Disk\\graphdatalog\\GRAPH_DATA_LOG_24HR??_??_??_??_??_??.DAT";
  ASSERT_EQ(FindFirstFile(pattern, h, d), FileResult::Ok);
  do {
    names.insert(d.name);
    if (std::strcmp(d.name, "GRAPH_DATA_LOG_24HR16_10_04_19_05_09.DAT") == 0) {
      EXPECT_EQ(d.size, 5u);
    }
    EXPECT_FALSE(d.isFolder);
  } while (FindNextFile(h, d) == FileResult::Ok);
  EXPECT_EQ(FindNextFile(h, d), FileResult::NotFound);
  FindClose(h);
  EXPECT_EQ(names, (std::set<std::string>{"GRAPH_DATA_LOG_24HR16_10_04_19_05_09.DAT",
                                          "graph_data_log_24hr16_10_05_01_00_00.dat"}));

  EXPECT_EQ(FindFirstFile("\\Hard Disk\\GraphDataLog\\*.BMP", h, d), FileResult::NotFound);
  EXPECT_EQ(h.dir, nullptr);
  EXPECT_EQ(FindFirstFile("\\Hard Disk\\NoFolder\\*", h, d), FileResult::NotFound);
  ASSERT_EQ(FindFirstFile("\\Hard Disk\\*", h, d), FileResult::Ok);
  EXPECT_STREQ(d.name, "GraphDataLog");
  EXPECT_TRUE(d.isFolder);
  FindClose(h);
}

TEST_F(SysFiles, CopyRefusesAnExistingTargetAndRemovesAPartialOne) {
  std::string big(50000, 'x');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>('a' + i % 26);
  WriteText("log.dat", big);
  WriteText("target.txt", "keep me");

  EXPECT_EQ(CopyFile("log.dat", "TARGET.txt", true), FileResult::AlreadyExists);
  EXPECT_EQ(ReadText("target.txt"), "keep me");
  EXPECT_EQ(CopyFile("missing.dat", "other.txt", false), FileResult::NotFound);
  EXPECT_FALSE(FileExists("other.txt"));

  ASSERT_EQ(CopyFile("log.dat", "copy.txt", true), FileResult::Ok);
  EXPECT_EQ(ReadText("copy.txt"), big);
  ASSERT_EQ(CopyFile("LOG.DAT", "target.txt", false), FileResult::Ok);
  EXPECT_EQ(ReadText("target.txt"), big);

  // The stick fills up after the first chunk: no half-copied file is left behind.
  InjectFileFault(FileOp::Write, 2, FileResult::NoSpace, false);
  EXPECT_EQ(CopyFile("log.dat", "partial.txt", true), FileResult::NoSpace);
  EXPECT_FALSE(FileExists("partial.txt"));
  EXPECT_EQ(ReadText("log.dat"), big);
  // A failing final sync removes the target too.
  InjectFileFault(FileOp::Sync, 1, FileResult::IoError, false);
  EXPECT_EQ(CopyFile("log.dat", "partial.txt", true), FileResult::IoError);
  EXPECT_FALSE(FileExists("partial.txt"));
  InjectFileFault(FileOp::Copy, 1, FileResult::IoError, false);
  EXPECT_EQ(CopyFile("log.dat", "partial.txt", true), FileResult::IoError);
  EXPECT_EQ(CopyFile("log.dat", "partial.txt", true), FileResult::Ok);
}

TEST_F(SysFiles, InjectedFaultsHitTheNthCallOnceOrForGood) {
  FileHandle f;
  ASSERT_EQ(OpenFile("f.bin", OpenMode::CreateAlways, f), FileResult::Ok);
  InjectFileFault(FileOp::Write, 3, FileResult::NoSpace, false);
  EXPECT_EQ(WriteFile(f, "1", 1), FileResult::Ok);
  EXPECT_EQ(WriteFile(f, "2", 1), FileResult::Ok);
  EXPECT_EQ(WriteFile(f, "3", 1), FileResult::NoSpace);
  EXPECT_EQ(WriteFile(f, "4", 1), FileResult::Ok);
  EXPECT_EQ(WriteFile(f, "5", 1), FileResult::Ok);

  InjectFileFault(FileOp::Write, 2, FileResult::IoError, true);
  EXPECT_EQ(WriteFile(f, "6", 1), FileResult::Ok);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(WriteFile(f, "x", 1), FileResult::IoError);
  // Other kinds count on their own.
  EXPECT_EQ(SyncFile(f), FileResult::Ok);
  ClearFileFaults();
  EXPECT_EQ(WriteFile(f, "7", 1), FileResult::Ok);
  CloseFile(f);
  EXPECT_EQ(ReadText("f.bin"), "124567");

  WriteText("a", "A");
  InjectFileFault(FileOp::Rename, 1, FileResult::IoError, false);
  EXPECT_EQ(MoveFile("a", "b"), FileResult::IoError);
  EXPECT_EQ(ReadText("a"), "A");
  EXPECT_FALSE(FileExists("b"));
  InjectFileFault(FileOp::Open, 1, FileResult::ReadOnly, false);
  EXPECT_EQ(OpenFile("a", OpenMode::Read, f), FileResult::ReadOnly);
  InjectFileFault(FileOp::Delete, 1, FileResult::IoError, false);
  EXPECT_EQ(DeleteFile("a"), FileResult::IoError);
  EXPECT_TRUE(FileExists("a"));
  InjectFileFault(FileOp::Read, 1, FileResult::IoError, false);
  EXPECT_EQ(ReadText("a"), "");
  EXPECT_EQ(ReadText("a"), "A");
  EXPECT_STREQ(FileResultText(FileResult::NoSpace), "no space");
}
