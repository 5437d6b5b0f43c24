#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora {

// Failures of the text-file layer that are not the system's: a file used
// before it was opened, and a device or socket where a file was expected.
enum TTextFileCode {
  ioFileNotOpen = 103,
  ioNotAFile = 1003,
};

// Reads a text file line by line. LF, CR LF and a lone CR each end a line; a
// last line without a line end is still delivered; every other byte (NUL,
// 0x1A, a byte-order mark) is part of the line. The file is read in large
// blocks, so memory grows only with the longest line. Every failure is an
// EInOutError, and the file is closed again on every path.
class TTextReader {
 public:
  // The size of one block read; a line longer than this is assembled.
  static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

  // Tests and fuzzers read in tiny blocks, so that every input meets the
  // block boundaries; at most kBlockSize, and 0 means kBlockSize.
  explicit TTextReader(std::size_t blockSize = kBlockSize);
  ~TTextReader();
  TTextReader(const TTextReader&) = delete;
  TTextReader& operator=(const TTextReader&) = delete;

  void AssignFile(const std::string& fileName);
  void Reset();  // opens the assigned file for reading
  bool Eof() { return cursor_ < limit_ ? false : EofSlow(); }
  // The next line, without its line end. The view stays valid until the next
  // call on the reader.
  std::string_view ReadLineView() {
    // A gigabyte holds tens of millions of lines, and nearly all of them end
    // in LF inside the current block: those are handed out here, inline.
    if (nextEnd_ < lastEnd_) {
      const char* at = block_ + *nextEnd_;
      if (*at == '\n') {
        const std::string_view line(cursor_, static_cast<std::size_t>(at - cursor_));
        ++nextEnd_;
        cursor_ = at + 1;
        return line;
      }
    }
    return ReadLineSlow();
  }
  void ReadLine(std::string& line);
  // Passes over the lines that do not begin with `prefix` and reads the next
  // one that does, as a loop of ReadLineView would find it; false at the end
  // of the file. The lines passed over are not split one by one: the block
  // is searched only for line ends followed by the prefix's first byte. The
  // prefix holds no LF and no CR; an empty one begins every line. The view stays valid until
  // the next call on the reader.
  bool ReadLineStartingWith(std::string_view prefix, std::string_view& line);
  void Close();
  bool IsOpen() const;

 private:
  struct State;
  bool EofSlow();
  std::string_view ReadLineSlow();
  std::string_view ReadLongLine();
  bool HasLine();
  bool Refill(bool index = true);
  void IndexRest();
  void DropIndex();
  const char* FindLineStartingWith(std::string_view prefix) const;
  void PassLineEnd(const char* at);
  std::string_view TakeLineEndingAt(const char* at);
  void Forget();

  // The current block: its unread bytes run from cursor_ to limit_, and the
  // positions of its line ends (LF and CR) from cursor_ on are listed from
  // nextEnd_ to lastEnd_, as offsets from block_, while indexed_; the search
  // for a prefix goes without them.
  const char* block_ = nullptr;
  const char* cursor_ = nullptr;
  const char* limit_ = nullptr;
  const std::uint32_t* nextEnd_ = nullptr;
  const std::uint32_t* lastEnd_ = nullptr;
  bool skipLf_ = false;  // a line ended with the CR that closed the last block
  bool indexed_ = false;
  std::unique_ptr<State> s_;
};

// The scan under TTextReader: lists the offsets of every LF and CR among the
// first `size` bytes, in order, and returns their number. `bytes` must stay
// readable 64 bytes past `size` and `out` needs room for size + 4 entries.
// IndexLineEnds takes the fastest way the processor offers; the portable way
// is open too, so that both can be checked on any machine.
std::size_t IndexLineEnds(const char* bytes, std::size_t size, std::uint32_t* out);
std::size_t IndexLineEndsPortable(const char* bytes, std::size_t size, std::uint32_t* out);

// Writes a text file through a buffer. Failures of write, line end, flush and
// close are raised as EInOutError, so a full disk is never lost silently.
class TTextWriter {
 public:
  TTextWriter();
  ~TTextWriter();  // closes without raising; an unfinished replacement is dropped
  TTextWriter(const TTextWriter&) = delete;
  TTextWriter& operator=(const TTextWriter&) = delete;

  void AssignFile(const std::string& fileName);
  void Rewrite();  // create, or truncate an existing file
  void Append();   // continue after the last byte of an existing file
  // Like Rewrite, but the target is replaced only by a successful Close: the
  // text goes to a hidden temporary file in the same folder first (see
  // save_temporary.h), synced and renamed over the target, so a failure or a
  // kill half-way leaves an existing file as it was. Targets that are not
  // regular files (devices, pipes) are written directly.
  void RewriteReplacing();
  void Write(std::string_view text);
  void WriteLineEnd();  // CR LF
  void Close();
  bool IsOpen() const;

 private:
  struct State;
  std::unique_ptr<State> s_;
};

}  // namespace kelvora
