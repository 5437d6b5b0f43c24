#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora {

// Reads a text file line by line. LF, CR LF and a lone CR each end a line; a
// last line without a line end is still delivered; every other byte (NUL,
// 0x1A, a byte-order mark) is part of the line. The file is read in large
// blocks, so memory grows only with the longest line. Every failure is an
// EInOutError, and the file is closed again on every path.
class TTextReader {
 public:
  TTextReader();
  ~TTextReader();
  TTextReader(const TTextReader&) = delete;
  TTextReader& operator=(const TTextReader&) = delete;

  void AssignFile(const std::string& fileName);
  void Reset();  // opens the assigned file for reading
  bool Eof();
  // The next line, without its line end. The view stays valid until the next
  // call on the reader.
  std::string_view ReadLineView();
  void ReadLine(std::string& line);
  void Close();
  bool IsOpen() const;

 private:
  struct State;
  std::unique_ptr<State> s_;
};

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
  // text goes to a temporary file in the same folder first, so a failure
  // half-way leaves an existing file as it was. Targets that are not regular
  // files (devices, pipes) are written directly.
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
