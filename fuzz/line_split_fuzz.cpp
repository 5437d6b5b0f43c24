// The text reader's line splitting against the rules it promises, written
// the plainest way: LF, CR LF and a lone CR each end a line, and a last line
// without a line end still counts. Inputs are read from a real file, mostly
// in blocks of a few bytes, so that every input meets the block boundaries
// where a line, or the two bytes of a CR LF, are split between two reads.

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/text_file.h"

namespace {

using kelvora::TTextReader;

std::vector<std::string> ReferenceLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\n' && bytes[i] != '\r') {
      line += bytes[i];
      continue;
    }
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    lines.push_back(std::move(line));
    line.clear();
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

// One file in memory for the whole run, rewritten for each input and opened
// by the reader under its /proc name like any file; it goes with the process.
int ScratchFile() {
  static const int fd = ::memfd_create("line_split_fuzz", MFD_CLOEXEC);
  if (fd < 0) std::abort();
  return fd;
}

std::string ScratchPath() { return "/proc/self/fd/" + std::to_string(ScratchFile()); }

void WriteScratch(std::string_view bytes) {
  if (::ftruncate(ScratchFile(), 0) != 0) std::abort();
  if (::pwrite(ScratchFile(), bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) std::abort();
}

// The first byte picks the block size: 1 to 64 bytes for a third of the
// inputs, else the real one. The readers are kept, as their blocks are in a
// long run.
TTextReader& ReaderFor(std::uint8_t choice) {
  static std::map<std::size_t, std::unique_ptr<TTextReader>> readers;
  const std::size_t blockSize = choice < 85 ? 1 + choice % 64 : TTextReader::kBlockSize;
  auto& reader = readers[blockSize];
  if (!reader) reader = std::make_unique<TTextReader>(blockSize);
  return *reader;
}

// The scan under the reader: its fast way and its portable way list the same
// line ends as a plain search.
void CheckScan(std::string_view bytes) {
  std::string padded(bytes);
  padded.resize(bytes.size() + 64, '\n');  // the scan may read past the end
  std::vector<std::uint32_t> fast(bytes.size() + 4), portable(bytes.size() + 4);
  const std::size_t n = kelvora::IndexLineEnds(padded.data(), bytes.size(), fast.data());
  if (kelvora::IndexLineEndsPortable(padded.data(), bytes.size(), portable.data()) != n) std::abort();
  std::size_t k = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\n' && bytes[i] != '\r') continue;
    if (k >= n || fast[k] != i || portable[k] != i) std::abort();
    ++k;
  }
  if (k != n) std::abort();
}

}  // namespace

// Block boundaries come every few bytes, so a short file meets them all;
// longer inputs would only cost reads.
constexpr std::size_t kMaxFileBytes = 512;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), std::min(size - 1, kMaxFileBytes));
  CheckScan(bytes);
  WriteScratch(bytes);

  TTextReader& reader = ReaderFor(data[0]);
  reader.AssignFile(ScratchPath());
  reader.Reset();
  const std::vector<std::string> expected = ReferenceLines(bytes);
  std::size_t count = 0;
  std::string copy;
  while (!reader.Eof()) {
    // Views and copies alternate: both must give the same lines.
    std::string_view line;
    if (count % 2 == 0) {
      line = reader.ReadLineView();
    } else {
      reader.ReadLine(copy);
      line = copy;
    }
    if (count >= expected.size() || line != expected[count]) std::abort();
    ++count;
  }
  if (count != expected.size()) std::abort();

  // Skipping to the lines with a prefix finds just those of the plain split.
  // "Da" is short enough that random bytes make it, and cut by a block end.
  reader.Reset();
  std::size_t next = 0;
  std::string_view line;
  while (reader.ReadLineStartingWith("Da", line)) {
    while (next < expected.size() && expected[next].rfind("Da", 0) != 0) ++next;
    if (next >= expected.size() || line != expected[next]) std::abort();
    ++next;
  }
  while (next < expected.size() && expected[next].rfind("Da", 0) != 0) ++next;
  if (next != expected.size()) std::abort();
  reader.Close();
  return 0;
}
