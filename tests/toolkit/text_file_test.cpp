#include "toolkit/text_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <sstream>

#include "toolkit/exceptions.h"
#include "common/file_size_cap.h"

namespace kelvora {
namespace {

namespace fs = std::filesystem;
constexpr std::size_t kBlock = TTextReader::kBlockSize;

// A fresh folder per test, removed with everything in it afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "kelvora-text-file-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (const auto& entry : fs::recursive_directory_iterator(path_, ignored))
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const fs::path& Path() const { return path_; }

  std::set<std::string> Entries() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) names.insert(entry.path().filename().string());
    return names;
  }

 private:
  fs::path path_;
};

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot prepare " + path);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<std::string> ReadLines(const std::string& path) {
  TTextReader reader;
  reader.AssignFile(path);
  reader.Reset();
  std::vector<std::string> lines;
  while (!reader.Eof()) lines.emplace_back(reader.ReadLineView());
  reader.Close();
  return lines;
}

int OpenDescriptors() {
  return static_cast<int>(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

// Runs `attempt` and returns the message of the EInOutError it raises, or
// "no error".
std::string ErrorOf(const std::function<void()>& attempt) {
  try {
    attempt();
  } catch (const EInOutError& error) {
    return error.Message();
  }
  return "no error";
}

int ErrorCodeOf(const std::function<void()>& attempt) {
  try {
    attempt();
  } catch (const EInOutError& error) {
    return error.ErrorCode();
  }
  return 0;
}

// Permission checks mean nothing to root, so as root the attempt runs in a
// child process that has become the unprivileged user "nobody". Returns the
// error message, or nothing when no unprivileged user can be had here.
std::optional<std::string> ErrorAsUnprivileged(const std::function<void()>& attempt) {
  if (::geteuid() != 0) return ErrorOf(attempt);
  int channel[2];
  if (::pipe(channel) != 0) return std::nullopt;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    std::string result = "unavailable";
    if (::setgid(65534) == 0 && ::setuid(65534) == 0) result = ErrorOf(attempt);
    if (::write(channel[1], result.data(), result.size()) < 0) _exit(2);
    _exit(0);
  }
  ::close(channel[1]);
  std::string result;
  char chunk[256];
  ssize_t n;
  while ((n = ::read(channel[0], chunk, sizeof chunk)) > 0) result.append(chunk, static_cast<std::size_t>(n));
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (result == "unavailable" || result.empty()) return std::nullopt;
  return result;
}

// ---------------------------------------------------------------------------
// Line ends

struct LineCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};

std::string Repeat(std::size_t n, char c) { return std::string(n, c); }

std::vector<LineCase> LineCases() {
  using namespace std::string_literals;
  return {
      {"LineFeeds", "a\nb\n", {"a", "b"}},
      {"CarriageReturnLineFeeds", "a\r\nb\r\n", {"a", "b"}},
      {"LoneCarriageReturns", "a\rb\r", {"a", "b"}},
      {"MixedEnds", "a\nb\r\nc\rd\n", {"a", "b", "c", "d"}},
      {"LastLineWithoutEnd", "a\nlast", {"a", "last"}},
      {"EmptyFile", "", {}},
      {"OnlyLineFeeds", "\n\n", {"", ""}},
      {"LineFeedThenCarriageReturn", "\n\r", {"", ""}},
      {"CarriageReturnBeforeCrLf", "\r\r\n", {"", ""}},
      {"OrdinaryControlBytes", "\xEF\xBB\xBF" "Date:\0x\x1Ay\n\x1A"s, {"\xEF\xBB\xBF" "Date:\0x\x1Ay"s, "\x1A"}},
      {"CrLfSplitAcrossBlocks", Repeat(kBlock - 1, 'x') + "\r\nnext", {Repeat(kBlock - 1, 'x'), "next"}},
      {"LoneCrAtBlockEnd", Repeat(kBlock - 1, 'x') + "\rnext\n", {Repeat(kBlock - 1, 'x'), "next"}},
      {"CrAtBlockEndThenEmptyLine", Repeat(kBlock - 1, 'x') + "\r\n\nz", {Repeat(kBlock - 1, 'x'), "", "z"}},
      {"LineFillingBlockExactly", Repeat(kBlock - 1, 'a') + "\nb", {Repeat(kBlock - 1, 'a'), "b"}},
      {"LineLongerThanBlocks", "ab\n" + Repeat(3 * kBlock + 17, 'y') + "\nq", {"ab", Repeat(3 * kBlock + 17, 'y'), "q"}},
      {"CrLfSplitInsideLongLine", "z" + Repeat(2 * kBlock - 2, 'y') + "\r\nt", {"z" + Repeat(2 * kBlock - 2, 'y'), "t"}},
      {"LongLastLineWithoutEnd", "a\r" + Repeat(kBlock + 5, 'w'), {"a", Repeat(kBlock + 5, 'w')}},
      {"ManyEndsCloseTogether", Repeat(9, '\n') + "a\r\r\nb", {"", "", "", "", "", "", "", "", "", "a", "", "b"}},
  };
}

// The straightforward reading of the line-end rules, byte by byte, to hold
// the reader against on files no one would write by hand.
std::vector<std::string> ReferenceLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\n' && bytes[i] != '\r') {
      line += bytes[i];
      continue;
    }
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    lines.push_back(std::exchange(line, {}));
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// Random files around block and chunk boundaries: dense line ends, sparse
// ones (lines longer than a block) and every mix of LF, CR and CR LF.
TEST(TextReader, AgreesWithTheLineEndRulesOnRandomFiles) {
  TempFolder folder;
  const std::string path = folder / "random.txt";
  std::mt19937 random(20030211);
  for (const int endsPerThousand : {100, 10, 1}) {
    for (const char* alphabet : {"\n", "\r", "\r\n\r\n\r"}) {
      const std::size_t size = kBlock + kBlock / 4 + random() % (kBlock / 2);
      std::string bytes(size, 'x');
      const std::size_t kinds = std::strlen(alphabet);
      for (char& c : bytes)
        if (static_cast<int>(random() % 1000) < endsPerThousand) c = alphabet[random() % kinds];
      WriteBytes(path, bytes);
      const auto expected = ReferenceLines(bytes);
      const auto lines = ReadLines(path);
      ASSERT_EQ(lines.size(), expected.size()) << endsPerThousand << " " << kinds;
      EXPECT_TRUE(lines == expected) << endsPerThousand << " " << kinds;
    }
  }
}

// Passing over lines to the next one with a prefix finds what reading every
// line would, also where a block ends inside the prefix, inside a CR LF or
// inside a long line, and mixed with plain reading. The files are made of
// pieces of date lines and every kind of line end, read in blocks as small
// as one byte.
TEST(TextReader, PassingToAPrefixFindsTheLinesReadingWouldFind) {
  TempFolder folder;
  const std::string path = folder / "prefixed.txt";
  const std::vector<std::string> pieces = {"Date:", "Date: Tue, 1 Feb", "Da", "te:", "D", "x Date:", "\n",
                                           "\r", "\r\n", "\n\n", "Dat\r\n", "ate:"};
  std::mt19937 random(1996);
  for (const std::size_t blockSize : {1u, 2u, 4u, 5u, 6u, 7u, 13u, 64u, 0u}) {
    for (int file = 0; file < 20; ++file) {
      std::string bytes;
      for (int i = random() % 200; i > 0; --i) bytes += pieces[random() % pieces.size()];
      WriteBytes(path, bytes);
      const auto lines = ReferenceLines(bytes);
      // Even rounds pass to the next "Date:" line, odd ones read one line.
      std::vector<std::string> expected, got;
      for (std::size_t at = 0, round = 0; at < lines.size(); ++round) {
        if (round % 2 == 1) {
          expected.push_back(lines[at++]);
          continue;
        }
        while (at < lines.size() && !lines[at].starts_with("Date:")) ++at;
        if (at < lines.size()) expected.push_back(lines[at++]);
      }
      TTextReader reader(blockSize);
      reader.AssignFile(path);
      reader.Reset();
      std::string_view line;
      for (std::size_t round = 0;; ++round) {
        if (round % 2 == 1) {
          if (reader.Eof()) break;
          got.emplace_back(reader.ReadLineView());
        } else {
          if (!reader.ReadLineStartingWith("Date:", line)) break;
          got.emplace_back(line);
        }
      }
      ASSERT_EQ(got, expected) << "block size " << blockSize << ", file " << file;
    }
  }
}

class TextReaderLineEnds : public ::testing::TestWithParam<LineCase> {};

TEST_P(TextReaderLineEnds, DeliversEachLineOnceWithoutItsEnd) {
  TempFolder folder;
  const std::string path = folder / "input.txt";
  WriteBytes(path, GetParam().bytes);
  const auto lines = ReadLines(path);
  ASSERT_EQ(lines.size(), GetParam().lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_TRUE(lines[i] == GetParam().lines[i]) << "line " << i;
}

INSTANTIATE_TEST_SUITE_P(Table, TextReaderLineEnds, ::testing::ValuesIn(LineCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Both ways of scanning (the one this processor takes and the portable one
// other processors take) list exactly the LF and CR offsets, at every size
// around a 64-byte chunk and with chunks crowded with line ends.
TEST(LineEndScan, ListsEveryLineEndInOrder) {
  std::mt19937 random(7);
  for (const std::size_t size : {0u, 1u, 5u, 63u, 64u, 65u, 127u, 128u, 129u, 1000u, 4099u}) {
    for (const int endsPerThousand : {0, 30, 500, 1000}) {
      std::vector<char> bytes(size + 64, '\n');  // the slack must not count
      std::vector<std::uint32_t> expected;
      for (std::size_t i = 0; i < size; ++i) {
        const bool end = static_cast<int>(random() % 1000) < endsPerThousand;
        bytes[i] = end ? "\n\r"[random() % 2] : static_cast<char>(random() % 256);
        if (bytes[i] == '\n' || bytes[i] == '\r') expected.push_back(static_cast<std::uint32_t>(i));
      }
      for (const auto scan : {&IndexLineEnds, &IndexLineEndsPortable}) {
        std::vector<std::uint32_t> out(size + 4);
        out.resize(scan(bytes.data(), size, out.data()));
        EXPECT_EQ(out, expected) << "size " << size << ", " << endsPerThousand << " ends per thousand";
      }
    }
  }
}

TEST(TextReader, CopyingAndViewingReadTheSameLines) {
  TempFolder folder;
  const std::string path = folder / "input.txt";
  WriteBytes(path, "one\r\n" + Repeat(kBlock + 3, 'l') + "\rthree");
  TTextReader reader;
  reader.AssignFile(path);
  reader.Reset();
  std::string line;
  reader.ReadLine(line);
  EXPECT_EQ(line, "one");
  reader.ReadLine(line);
  EXPECT_EQ(line.size(), kBlock + 3);
  reader.ReadLine(line);
  EXPECT_EQ(line, "three");
  EXPECT_TRUE(reader.Eof());
  reader.ReadLine(line);
  EXPECT_EQ(line, "") << "reading past the end gives an empty line";
}

TEST(TextReader, ResetStartsAgainFromTheFirstLine) {
  TempFolder folder;
  const std::string path = folder / "input.txt";
  WriteBytes(path, "first\nsecond\n");
  TTextReader reader;
  reader.AssignFile(path);
  reader.Reset();
  EXPECT_EQ(reader.ReadLineView(), "first");
  reader.Reset();
  EXPECT_EQ(reader.ReadLineView(), "first");
  EXPECT_EQ(reader.ReadLineView(), "second");
  EXPECT_TRUE(reader.Eof());
}

TEST(TextReader, HundredMegabyteLineIsDeliveredWhole) {
  TempFolder folder;
  const std::string path = folder / "long.txt";
  std::string big(100u << 20, 'D');
  big[12345] = '\0';
  {
    std::ofstream out(path, std::ios::binary);
    out << "before\n" << big << "\r\nafter";
  }
  TTextReader reader;
  reader.AssignFile(path);
  reader.Reset();
  EXPECT_EQ(reader.ReadLineView(), "before");
  const std::string_view line = reader.ReadLineView();
  EXPECT_EQ(line.size(), big.size());
  EXPECT_TRUE(line == big);
  EXPECT_EQ(reader.ReadLineView(), "after");
  EXPECT_TRUE(reader.Eof());
}

TEST(TextReader, UnopenedReaderRaisesInsteadOfReading) {
  TTextReader reader;
  EXPECT_EQ(ErrorCodeOf([&] { reader.Eof(); }), ioFileNotOpen);
  EXPECT_EQ(ErrorCodeOf([&] { reader.ReadLineView(); }), ioFileNotOpen);
}

// ---------------------------------------------------------------------------
// Errors on opening

struct OpenErrorCase {
  const char* name;
  std::function<std::string(const TempFolder&)> prepare;  // returns the file name to open
  int code;
  const char* message;  // nullptr: the code's own text is enough
};

std::vector<OpenErrorCase> ReaderErrorCases() {
  return {
      {"MissingFile", [](const TempFolder& f) { return f / "absent.txt"; }, ioFileNotFound, "File not found"},
      {"MissingFolder", [](const TempFolder& f) { return f / "no/such/folder/x.txt"; }, ioPathNotFound,
       "Path not found"},
      {"FileUsedAsFolder",
       [](const TempFolder& f) {
         WriteBytes(f / "plain.txt", "x");
         return f / "plain.txt/x.txt";
       },
       ioPathNotFound, "Path not found"},
      {"Folder", [](const TempFolder& f) { return f.Path().string(); }, ioIsDirectory, nullptr},
      {"EmptyName", [](const TempFolder&) { return std::string(); }, ioNoFileName, nullptr},
      {"EndlessDevice", [](const TempFolder&) { return std::string("/dev/zero"); }, ioNotAFile, nullptr},
      {"PipeWithoutWriter",
       [](const TempFolder& f) {
         const std::string path = f / "pipe";
         ::mkfifo(path.c_str(), 0600);
         return path;
       },
       ioNotAFile, nullptr},
  };
}

class TextReaderOpenErrors : public ::testing::TestWithParam<OpenErrorCase> {};

TEST_P(TextReaderOpenErrors, RaiseTheirOwnErrorAndLeaveNothingOpen) {
  TempFolder folder;
  const std::string name = GetParam().prepare(folder);
  const int before = OpenDescriptors();
  TTextReader reader;
  reader.AssignFile(name);
  try {
    reader.Reset();
    FAIL() << "no error raised";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.ErrorCode(), GetParam().code);
    if (GetParam().message) {
      EXPECT_EQ(error.Message(), GetParam().message);
    }
    EXPECT_FALSE(error.Message().empty());
  }
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_EQ(OpenDescriptors(), before);
}

INSTANTIATE_TEST_SUITE_P(Table, TextReaderOpenErrors, ::testing::ValuesIn(ReaderErrorCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextReader, UnreadableFileIsAccessDenied) {
  TempFolder folder;
  fs::permissions(folder.Path(), fs::perms::all);
  const std::string path = folder / "secret.txt";
  WriteBytes(path, "x\n");
  fs::permissions(path, fs::perms::none);
  const auto message = ErrorAsUnprivileged([&] {
    if (::access(path.c_str(), R_OK) == 0) return;  // this user reads anything: nothing to test
    TTextReader reader;
    reader.AssignFile(path);
    reader.Reset();
  });
  if (!message || *message == "no error") GTEST_SKIP() << "no user here is kept from reading a file";
  EXPECT_EQ(*message, "Access denied");
}

// Reading the start of the process's own memory fails with EIO: a read error
// that can be had on any Linux machine.
TEST(TextReader, ReadErrorIsRaisedWithItsNumberAndClosesTheFile) {
  const int before = OpenDescriptors();
  TTextReader reader;
  reader.AssignFile("/proc/self/mem");
  reader.Reset();
  EXPECT_EQ(ErrorOf([&] { reader.Eof(); }), "I/O error 5");
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST(TextReader, OpeningAnotherFileClosesTheFirst) {
  TempFolder folder;
  WriteBytes(folder / "a.txt", "a\n");
  const int before = OpenDescriptors();
  TTextReader reader;
  reader.AssignFile(folder / "a.txt");
  reader.Reset();
  reader.AssignFile(folder / "missing.txt");
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_EQ(ErrorOf([&] { reader.Reset(); }), "File not found");
  EXPECT_EQ(OpenDescriptors(), before);
}

// ---------------------------------------------------------------------------
// Writing

void WriteFile(TTextWriter& writer, const std::vector<std::string>& lines) {
  for (const auto& line : lines) {
    writer.Write(line);
    writer.WriteLineEnd();
  }
}

TEST(TextWriter, RewriteReplacesContentAndEndsLinesWithCrLf) {
  TempFolder folder;
  const std::string path = folder / "out.csv";
  WriteBytes(path, "a much longer old content that must not survive\n");
  TTextWriter writer;
  writer.AssignFile(path);
  writer.Rewrite();
  WriteFile(writer, {"one", "two"});
  writer.Close();
  EXPECT_FALSE(writer.IsOpen());
  EXPECT_EQ(ReadBytes(path), "one\r\ntwo\r\n");
}

TEST(TextWriter, AppendContinuesAfterTheLastByte) {
  TempFolder folder;
  const std::string path = folder / "out.csv";
  WriteBytes(path, "old");
  TTextWriter writer;
  writer.AssignFile(path);
  writer.Append();
  WriteFile(writer, {"new"});
  writer.Close();
  EXPECT_EQ(ReadBytes(path), "oldnew\r\n");
}

TEST(TextWriter, AppendToMissingFileIsFileNotFound) {
  TempFolder folder;
  TTextWriter writer;
  writer.AssignFile(folder / "absent.csv");
  EXPECT_EQ(ErrorOf([&] { writer.Append(); }), "File not found");
  EXPECT_FALSE(fs::exists(folder / "absent.csv"));
}

TEST(TextWriter, TextLargerThanTheBufferArrivesInOrder) {
  TempFolder folder;
  const std::string path = folder / "big.csv";
  std::string expected;
  TTextWriter writer;
  writer.AssignFile(path);
  writer.Rewrite();
  for (int i = 0; i < 50000; ++i) {
    const std::string piece = std::to_string(i) + (i % 997 == 0 ? std::string(300000, 'p') : "");
    writer.Write(piece);
    writer.WriteLineEnd();
    expected += piece + "\r\n";
  }
  writer.Close();
  EXPECT_TRUE(ReadBytes(path) == expected);
}

TEST(TextWriter, DroppedWithoutCloseKeepsWhatWasWrittenInPlace) {
  TempFolder folder;
  const std::string path = folder / "out.csv";
  {
    TTextWriter writer;
    writer.AssignFile(path);
    writer.Rewrite();
    WriteFile(writer, {"kept"});
  }
  EXPECT_EQ(ReadBytes(path), "kept\r\n");
}

TEST(TextWriter, WritingWhenNotOpenRaises) {
  TempFolder folder;
  TTextWriter writer;
  EXPECT_EQ(ErrorCodeOf([&] { writer.Write("x"); }), ioFileNotOpen);
  writer.AssignFile(folder / "out.csv");
  writer.Rewrite();
  writer.Close();
  EXPECT_EQ(ErrorCodeOf([&] { writer.WriteLineEnd(); }), ioFileNotOpen);
}

TEST(TextWriter, FullDiskIsReportedNeverLost) {
  // A short text stays in the buffer until Close, a long one fails at once;
  // both must raise, whichever way the file was opened.
  for (const std::size_t size : {std::size_t{10}, std::size_t{1} << 20}) {
    for (const bool replacing : {false, true}) {
      SCOPED_TRACE(std::to_string(size) + (replacing ? " replacing" : " in place"));
      const int before = OpenDescriptors();
      {
        TTextWriter writer;
        writer.AssignFile("/dev/full");
        replacing ? writer.RewriteReplacing() : writer.Rewrite();
        const std::string message = ErrorOf([&] {
          writer.Write(std::string(size, 'x'));
          writer.Close();
        });
        EXPECT_EQ(message, "Disk full");
        EXPECT_FALSE(writer.IsOpen());
      }
      EXPECT_EQ(OpenDescriptors(), before);
    }
  }
}

struct WriterErrorCase {
  const char* name;
  std::function<std::string(const TempFolder&)> prepare;
  int code;
};

std::vector<WriterErrorCase> WriterErrorCases() {
  return {
      {"MissingFolder", [](const TempFolder& f) { return f / "no/such/out.csv"; }, ioPathNotFound},
      {"Folder", [](const TempFolder& f) { return f.Path().string(); }, ioIsDirectory},
      {"EmptyName", [](const TempFolder&) { return std::string(); }, ioNoFileName},
  };
}

class TextWriterOpenErrors : public ::testing::TestWithParam<WriterErrorCase> {};

TEST_P(TextWriterOpenErrors, RaiseForEveryWayOfOpening) {
  TempFolder folder;
  const std::string name = GetParam().prepare(folder);
  const auto before = folder.Entries();
  const int descriptors = OpenDescriptors();
  for (const auto open : {&TTextWriter::Rewrite, &TTextWriter::RewriteReplacing}) {
    TTextWriter writer;
    writer.AssignFile(name);
    EXPECT_EQ(ErrorCodeOf([&] { (writer.*open)(); }), GetParam().code);
    EXPECT_FALSE(writer.IsOpen());
  }
  EXPECT_EQ(folder.Entries(), before);
  EXPECT_EQ(OpenDescriptors(), descriptors);
}

INSTANTIATE_TEST_SUITE_P(Table, TextWriterOpenErrors, ::testing::ValuesIn(WriterErrorCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextWriter, ReadOnlyFolderAndReadOnlyFileAreAccessDenied) {
  TempFolder folder;
  fs::permissions(folder.Path(), fs::perms::all);
  fs::create_directory(folder.Path() / "locked");
  fs::permissions(folder.Path() / "locked", fs::perms::owner_read | fs::perms::owner_exec |
                                                fs::perms::group_read | fs::perms::group_exec |
                                                fs::perms::others_read | fs::perms::others_exec);
  const std::string readOnly = folder / "read-only.csv";
  WriteBytes(readOnly, "precious");
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  for (const auto open : {&TTextWriter::Rewrite, &TTextWriter::RewriteReplacing}) {
    for (const std::string& name : {folder / "locked/new.csv", readOnly}) {
      SCOPED_TRACE(name);
      const auto message = ErrorAsUnprivileged([&] {
        const std::string locked = folder / "locked";
        if (::access(locked.c_str(), W_OK) == 0 && ::access(readOnly.c_str(), W_OK) == 0) return;
        TTextWriter writer;
        writer.AssignFile(name);
        (writer.*open)();
      });
      if (!message || *message == "no error") GTEST_SKIP() << "no user here is kept from writing a file";
      EXPECT_EQ(*message, "Access denied");
    }
  }
  EXPECT_EQ(ReadBytes(readOnly), "precious");
  EXPECT_TRUE(fs::is_empty(folder.Path() / "locked"));
}

// ---------------------------------------------------------------------------
// Replacing a file

TEST(TextWriterReplacing, OldFileStaysUntilCloseAndKeepsItsPermissions) {
  TempFolder folder;
  const std::string path = folder / "out.csv";
  WriteBytes(path, "old\r\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  TTextWriter writer;
  writer.AssignFile(path);
  writer.RewriteReplacing();
  WriteFile(writer, {std::string(600000, 'n')});
  EXPECT_EQ(ReadBytes(path), "old\r\n");
  writer.Close();
  EXPECT_EQ(ReadBytes(path), std::string(600000, 'n') + "\r\n");
  EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"out.csv"});
}

TEST(TextWriterReplacing, NewFileGetsTheUsualPermissions) {
  TempFolder folder;
  const std::string path = folder / "new.csv";
  TTextWriter writer;
  writer.AssignFile(path);
  writer.RewriteReplacing();
  WriteFile(writer, {"x"});
  writer.Close();
  const mode_t mask = ::umask(022);
  ::umask(mask);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0666 & ~mask);
  EXPECT_EQ(ReadBytes(path), "x\r\n");
}

TEST(TextWriterReplacing, DroppedWithoutCloseLeavesTheOldFile) {
  TempFolder folder;
  const std::string path = folder / "out.csv";
  WriteBytes(path, "old");
  {
    TTextWriter writer;
    writer.AssignFile(path);
    writer.RewriteReplacing();
    WriteFile(writer, {"half-done"});
  }
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"out.csv"});
}

TEST(TextWriterReplacing, SymbolicLinkStaysAndItsTargetIsReplaced) {
  TempFolder folder;
  fs::create_directory(folder.Path() / "real");
  WriteBytes(folder / "real/data.csv", "old");
  fs::create_symlink("real/data.csv", folder.Path() / "link.csv");
  TTextWriter writer;
  writer.AssignFile(folder / "link.csv");
  writer.RewriteReplacing();
  WriteFile(writer, {"new"});
  writer.Close();
  EXPECT_TRUE(fs::is_symlink(folder.Path() / "link.csv"));
  EXPECT_EQ(ReadBytes(folder / "real/data.csv"), "new\r\n");
  EXPECT_EQ(folder.Entries(), (std::set<std::string>{"link.csv", "real"}));
}

TEST(TextWriterReplacing, FailurePartWayLeavesOldFileAndNoTemporaryFile) {
  TempFolder folder;
  const std::string path = folder / "out.csv";
  const std::string old = "old content\r\n";
  WriteBytes(path, old);
  const int before = OpenDescriptors();
  for (const bool closeAfterFailure : {false, true}) {
    SCOPED_TRACE(closeAfterFailure ? "closed after the failure" : "dropped after the failure");
    std::string message;
    {
      TTextWriter writer;
      writer.AssignFile(path);
      writer.RewriteReplacing();
      testing_support::TFileSizeCap limit(64 * 1024);
      message = ErrorOf([&] {
        for (int i = 0; i < 100; ++i) WriteFile(writer, {std::string(10000, 'z')});
        writer.Close();
      });
      if (closeAfterFailure) {
        EXPECT_EQ(ErrorOf([&] { writer.Close(); }), message);
      }
    }
    EXPECT_EQ(message, "I/O error 27");
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"out.csv"});
    EXPECT_EQ(OpenDescriptors(), before);
  }
}

}  // namespace
}  // namespace kelvora
