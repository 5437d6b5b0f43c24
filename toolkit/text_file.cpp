#include "toolkit/text_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define KELVORA_X86 1
#endif

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <utility>

#include "toolkit/exceptions.h"
#include "toolkit/file_calls.h"
#include "toolkit/save_in_place.h"
#include "toolkit/save_temporary.h"

namespace kelvora {
namespace {

constexpr std::size_t kWriteBufferSize = std::size_t{256} << 10;

// Owns one descriptor. Closing is explicit where its result matters (a
// written file); the destructor only makes sure nothing stays open.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { Release(); }
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
      Release();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }

  // The descriptor is gone afterwards whatever close says; Linux must not be
  // asked twice, and EINTR there still means closed.
  int Close() {
    const int fd = std::exchange(fd_, -1);
    if (fd < 0) return 0;
    if (::close(fd) == 0 || errno == EINTR) return 0;
    return errno;
  }

 private:
  void Release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  int fd_ = -1;
};

// Line ends are found 64 bytes at a time, one bit per byte that is LF or CR,
// and listed once per block. Each byte is looked at once, whatever mix of
// line ends a file has, and a line then costs a step through the list rather
// than a search of its own.
constexpr std::size_t kChunk = 64;

#if defined(KELVORA_X86)
std::uint64_t LineEndMask(const char* bytes) {
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  std::uint64_t mask = 0;
  for (int part = 0; part < 4; ++part) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * part));
    const __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr));
    mask |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(hit))} << (16 * part);
  }
  return mask;
}

#define KELVORA_WIDE_TARGET __attribute__((target("avx2,popcnt,bmi")))

KELVORA_WIDE_TARGET std::uint64_t LineEndMaskWide(const char* bytes) {
  const __m256i lf = _mm256_set1_epi8('\n');
  const __m256i cr = _mm256_set1_epi8('\r');
  std::uint64_t mask = 0;
  for (int part = 0; part < 2; ++part) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + 32 * part));
    const __m256i hit = _mm256_or_si256(_mm256_cmpeq_epi8(v, lf), _mm256_cmpeq_epi8(v, cr));
    mask |= std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(hit))} << (32 * part);
  }
  return mask;
}
#else
// Elsewhere the compiler vectorises this loop as far as the machine allows.
std::uint64_t LineEndMask(const char* bytes) {
  std::uint64_t mask = 0;
  for (std::size_t i = 0; i < kChunk; ++i)
    mask |= std::uint64_t{bytes[i] == '\n' || bytes[i] == '\r'} << i;
  return mask;
}
#endif

// Lists the offsets of every LF and CR among the first `size` bytes, in
// order, and returns how many there are. `out` needs room for size + 4
// entries: four are written for every chunk whatever its count, which keeps
// the common case (a chunk with up to four line ends) free of branches.
template <std::uint64_t (*Mask)(const char*)>
[[gnu::always_inline]] inline std::size_t IndexWith(const char* bytes, std::size_t size, std::uint32_t* out) {
  std::uint32_t* next = out;
  for (std::size_t base = 0; base < size; base += kChunk) {
    std::uint64_t mask = Mask(bytes + base);
    if (size - base < kChunk) mask &= (std::uint64_t{1} << (size - base)) - 1;
    const int count = std::popcount(mask);
    for (int k = 0; k < 4; ++k) {
      next[k] = static_cast<std::uint32_t>(base + static_cast<std::size_t>(std::countr_zero(mask)));
      mask &= mask - 1;
    }
    for (int k = 4; k < count; ++k) {
      next[k] = static_cast<std::uint32_t>(base + static_cast<std::size_t>(std::countr_zero(mask)));
      mask &= mask - 1;
    }
    next += count;
  }
  return static_cast<std::size_t>(next - out);
}


#if defined(KELVORA_X86)
// The same with 32-byte compares and the processor's own bit counting, which
// the baseline x86-64 instruction set lacks; picked when the processor has them.
KELVORA_WIDE_TARGET std::size_t IndexLineEndsWide(const char* bytes, std::size_t size, std::uint32_t* out) {
  return IndexWith<LineEndMaskWide>(bytes, size, out);
}

bool ProcessorHasWideScan() {
  static const bool wide = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") &&
                           __builtin_cpu_supports("bmi");
  return wide;
}
#endif

EInOutError NotOpenError() { return EInOutError(ioFileNotOpen, "File not open"); }

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The system says ENOENT both for a missing file and for a missing folder on
// the way to it; the user is told which of the two it is.
EInOutError OpenError(int err, const std::string& path) {
  if (err == ENOENT && !IsFolder(FolderOf(path))) return EInOutError(ioPathNotFound);
  return EInOutError::FromErrno(err);
}

// Opens without ever waiting: a pipe with nobody at the other end must give
// an error or an empty file, not a window that hangs. Blocking is restored
// once the descriptor is ours.
FileDescriptor OpenFile(const std::string& path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) throw OpenError(errno, path);
  FileDescriptor owned(fd);
  const int status = ::fcntl(fd, F_GETFL);
  if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) < 0) throw EInOutError::FromErrno(errno);
  return owned;
}

struct stat StatOf(const FileDescriptor& fd) {
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0) throw EInOutError::FromErrno(errno);
  return st;
}

void RequireName(const std::string& fileName) {
  if (fileName.empty()) throw EInOutError(ioNoFileName);
}

std::string ReadLink(const std::string& path) {
  std::string target(256, '\0');
  while (true) {
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < target.size()) {
      target.resize(static_cast<std::size_t>(n));
      return target;
    }
    target.resize(target.size() * 2);
  }
}

// A saved file that is a symbolic link stays a link: the file it points to
// is the one replaced. Follows the same number of hops as the system does.
std::string FollowLinks(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    const std::string link = ReadLink(current);
    if (link.empty()) return current;
    current = link.front() == '/' ? link : FolderOf(current) + "/" + link;
  }
  return current;
}

// The creation mask, read without changing it (umask() can only be read by
// setting it, which would race with any other thread creating files).
mode_t CreationMask() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "Umask:") {
      std::string octal;
      status >> octal;
      return static_cast<mode_t>(std::strtoul(octal.c_str(), nullptr, 8));
    }
    status.ignore(1 << 16, '\n');
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

}  // namespace

std::size_t IndexLineEndsPortable(const char* bytes, std::size_t size, std::uint32_t* out) {
  return IndexWith<LineEndMask>(bytes, size, out);
}

std::size_t IndexLineEnds(const char* bytes, std::size_t size, std::uint32_t* out) {
#if defined(KELVORA_X86)
  if (ProcessorHasWideScan()) return IndexLineEndsWide(bytes, size, out);
#endif
  return IndexLineEndsPortable(bytes, size, out);
}

// ---------------------------------------------------------------------------
// Reading

struct TTextReader::State {
  std::string fileName;
  FileDescriptor fd;
  std::size_t blockSize = TTextReader::kBlockSize;
  std::unique_ptr<char[]> block;          // blockSize bytes and a chunk of slack
  std::unique_ptr<std::uint32_t[]> ends;  // room for a line end at every byte
  bool atFileEnd = false;
  std::string longLine;  // a line that crosses blocks is assembled here

  void Allocate() {
    // Pages are only committed when touched, so an ordinary file uses a
    // small part of the index.
    if (!block) block = std::make_unique_for_overwrite<char[]>(blockSize + kChunk);
    if (!ends) ends = std::make_unique_for_overwrite<std::uint32_t[]>(blockSize + kChunk);
  }

  std::size_t ReadBlock() {
    if (atFileEnd) return 0;
    ssize_t n;
    do {
      n = ::read(fd.Get(), block.get(), blockSize);
    } while (n < 0 && errno == EINTR);
    if (n < 0) throw EInOutError::FromErrno(errno);
    atFileEnd = n == 0;
    return static_cast<std::size_t>(n);
  }
};

TTextReader::TTextReader(std::size_t blockSize) : s_(std::make_unique<State>()) {
  s_->blockSize = blockSize == 0 ? kBlockSize : std::min(blockSize, kBlockSize);
}
TTextReader::~TTextReader() = default;

void TTextReader::AssignFile(const std::string& fileName) {
  Close();
  s_->fileName = fileName;
}

void TTextReader::Reset() {
  RequireName(s_->fileName);
  Close();
  FileDescriptor opened = OpenFile(s_->fileName, O_RDONLY);
  const struct stat st = StatOf(opened);
  if (S_ISDIR(st.st_mode)) throw EInOutError(ioIsDirectory);
  // A device such as /dev/zero never ends, and reading it would eat all
  // memory; a pipe with no writer reads as empty, and one whose writer
  // never writes would hang the window. Neither is a file to take rows from.
  if (!S_ISREG(st.st_mode)) throw EInOutError(ioNotAFile, "Not a regular file");
  s_->Allocate();
  s_->fd = std::move(opened);
}

bool TTextReader::EofSlow() {
  if (!IsOpen()) throw NotOpenError();
  return !HasLine();
}

void TTextReader::ReadLine(std::string& line) { line.assign(ReadLineView()); }

void TTextReader::Close() {
  s_->fd.Close();
  s_->atFileEnd = false;
  std::string().swap(s_->longLine);  // a 100 MB line should not outlive its file
  Forget();
}

bool TTextReader::IsOpen() const { return s_->fd.Valid(); }

void TTextReader::Forget() {
  block_ = cursor_ = limit_ = nullptr;
  nextEnd_ = lastEnd_ = nullptr;
  skipLf_ = false;
  indexed_ = false;
}

bool TTextReader::Refill(bool index) {
  std::size_t size = 0;
  try {
    size = s_->ReadBlock();
  } catch (const EInOutError&) {
    Close();  // a file that failed once is not read on from a guessed place
    throw;
  }
  if (size == 0) return false;
  block_ = cursor_ = s_->block.get();
  limit_ = block_ + size;
  if (index) {
    IndexRest();
  } else {
    DropIndex();
  }
  return true;
}

// The line ends from cursor_ to the end of the block, as offsets from there.
void TTextReader::IndexRest() {
  block_ = cursor_;
  nextEnd_ = s_->ends.get();
  lastEnd_ = nextEnd_ + IndexLineEnds(cursor_, static_cast<std::size_t>(limit_ - cursor_), s_->ends.get());
  indexed_ = true;
}

void TTextReader::DropIndex() {
  nextEnd_ = lastEnd_;
  indexed_ = false;
}

// True when another line follows; the LF half of a CR LF split across two
// blocks is passed over here.
bool TTextReader::HasLine() {
  while (true) {
    if (cursor_ < limit_) {
      if (!skipLf_) return true;
      skipLf_ = false;
      if (*cursor_ != '\n') return true;
      ++cursor_;
      if (indexed_) ++nextEnd_;
      continue;
    }
    if (!Refill()) return false;
  }
}

// The line from cursor_ to the line end at `at`, which is consumed with it:
// a CR together with the LF that follows it, even one in the next block.
std::string_view TTextReader::TakeLineEndingAt(const char* at) {
  const std::string_view line(cursor_, static_cast<std::size_t>(at - cursor_));
  ++nextEnd_;
  cursor_ = at + 1;
  if (*at == '\r') {
    if (cursor_ == limit_) {
      skipLf_ = true;
    } else if (*cursor_ == '\n') {
      ++cursor_;
      ++nextEnd_;
    }
  }
  return line;
}

std::string_view TTextReader::ReadLineSlow() {
  if (!IsOpen()) throw NotOpenError();
  if (!HasLine()) return {};
  if (!indexed_) IndexRest();
  if (nextEnd_ < lastEnd_) return TakeLineEndingAt(block_ + *nextEnd_);
  return ReadLongLine();
}

std::string_view TTextReader::ReadLongLine() {
  std::string& line = s_->longLine;
  line.assign(cursor_, limit_);
  cursor_ = limit_;
  while (Refill()) {
    if (nextEnd_ < lastEnd_) {
      const char* at = block_ + *nextEnd_;
      line.append(cursor_, at);
      TakeLineEndingAt(at);
      break;
    }
    line.append(cursor_, limit_);
    cursor_ = limit_;
  }
  return line;
}

namespace {

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

#if defined(KELVORA_X86)
// One bit for each of the 64 bytes from `at` that is `first` and follows a
// LF or a CR.
std::uint64_t LineStartMask(const char* at, char first) {
  const __m128i wanted = _mm_set1_epi8(first);
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  std::uint64_t mask = 0;
  for (int part = 0; part < 4; ++part) {
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * part));
    const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * part - 1));
    const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(before, lf), _mm_cmpeq_epi8(before, cr));
    const __m128i hit = _mm_and_si128(_mm_cmpeq_epi8(here, wanted), ends);
    mask |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(hit))} << (16 * part);
  }
  return mask;
}
#else
std::uint64_t LineStartMask(const char* at, char first) {
  std::uint64_t mask = 0;
  for (std::size_t i = 0; i < kChunk; ++i) mask |= std::uint64_t{at[i] == first && IsLineEnd(at[i - 1])} << i;
  return mask;
}
#endif

// The first byte from `from` (which has a byte before it) up to `limit`
// that is `first` and follows a line end; `limit` if there is none.
const char* FindAfterLineEnd(const char* from, const char* limit, char first) {
  for (; limit - from >= static_cast<std::ptrdiff_t>(kChunk); from += kChunk) {
    if (const std::uint64_t mask = LineStartMask(from, first)) return from + std::countr_zero(mask);
  }
  for (; from < limit; ++from)
    if (*from == first && IsLineEnd(from[-1])) return from;
  return limit;
}

// Whether the bytes from `at` begin with the prefix, or, where the block
// ends first, with as much of it as the block holds.
bool BeginsWithPart(const char* at, const char* limit, std::string_view prefix) {
  const std::size_t size = std::min(static_cast<std::size_t>(limit - at), prefix.size());
  return std::memcmp(at, prefix.data(), size) == 0;
}

}  // namespace

// Nearly every line of an export is passed over, and only one in forty or
// so begins with the prefix: the block is searched, 64 bytes at a time, for
// line ends followed by the prefix's first byte, and a line's own end is
// looked for only once it begins with the prefix.
bool TTextReader::ReadLineStartingWith(std::string_view prefix, std::string_view& line) {
  if (!IsOpen()) throw NotOpenError();
  if (prefix.empty()) {
    if (Eof()) return false;
    line = ReadLineView();
    return true;
  }
  DropIndex();
  bool inLine = false;  // the block goes on with a line passed over before it
  while (true) {
    if (cursor_ == limit_ && !Refill(false)) return false;
    if (skipLf_) {
      skipLf_ = false;
      if (*cursor_ == '\n') {
        ++cursor_;
        continue;
      }
    }
    if (inLine) {
      const char* end = std::find_if(cursor_, limit_, IsLineEnd);
      inLine = end == limit_;
      if (inLine) cursor_ = limit_; else PassLineEnd(end);
      continue;
    }
    const char* start = FindLineStartingWith(prefix);
    if (!start) {
      skipLf_ = limit_[-1] == '\r';
      inLine = !IsLineEnd(limit_[-1]);
      cursor_ = limit_;
      continue;
    }
    cursor_ = start;
    const char* end = std::find_if(start, limit_, IsLineEnd);
    if (end < limit_) {
      line = std::string_view(start, static_cast<std::size_t>(end - start));
      PassLineEnd(end);
      return true;
    }
    // The line goes on into the next block, or the block ends before it
    // tells whether the line begins with the prefix: it is read whole.
    IndexRest();
    line = ReadLineSlow();
    if (line.starts_with(prefix)) return true;
    DropIndex();
  }
}

// The first line start from cursor_ (itself one) on whose bytes begin with
// the prefix, or begin with a part of it where the block ends; null if none.
const char* TTextReader::FindLineStartingWith(std::string_view prefix) const {
  if (BeginsWithPart(cursor_, limit_, prefix)) return cursor_;
  for (const char* at = cursor_ + 1; (at = FindAfterLineEnd(at, limit_, prefix.front())) < limit_; ++at)
    if (BeginsWithPart(at, limit_, prefix)) return at;
  return nullptr;
}

// Moves past the line end at `at`: a CR together with the LF after it, even
// one in the next block.
void TTextReader::PassLineEnd(const char* at) {
  cursor_ = at + 1;
  if (*at != '\r') return;
  if (cursor_ == limit_) {
    skipLf_ = true;
  } else if (*cursor_ == '\n') {
    ++cursor_;
  }
}

// ---------------------------------------------------------------------------
// Writing

struct TTextWriter::State {
  std::string fileName;
  FileDescriptor fd;
  std::string buffer;
  std::string tempPath;    // set while a replacement waits for Close
  std::string targetPath;  // the file the replacement takes the place of
  std::optional<EInOutError> failure;  // the first failure; the file is not good after it
  bool inPlace = false;    // the replacement is copied over the target, not renamed
  off_t written = 0;       // bytes of a replacement handed to the system so far
  off_t writebackFrom = 0;  // where the disk has not yet been asked to catch up

  void RequireOpen() const {
    if (failure) throw *failure;
    if (!fd.Valid()) throw NotOpenError();
  }

  // The file is given up at the first failure, so nothing stays open or
  // half-replaced; the error is raised again by any later Write or Close.
  [[noreturn]] void Fail(int err) {
    const EInOutError error = EInOutError::FromErrno(err);
    Abandon();
    failure = error;
    throw error;
  }

  void WriteAll(std::string_view data) {
    while (!data.empty()) {
      const std::size_t size = BeforeFileCall(TFileCall::Write, data.size());
      const ssize_t n = ::write(fd.Get(), data.data(), size);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) Fail(errno);
      if (n == 0) Fail(EIO);
      data.remove_prefix(static_cast<std::size_t>(n));
      written += n;
    }
    if (!tempPath.empty() && written - writebackFrom >= kWritebackStep) StartWriteback();
  }

  // A replacement is synced before its rename. Asking the disk to start on
  // each few megabytes as they are written lets it work while the rest of
  // the text is made, so that the sync at the end has little left to wait
  // for. It only starts the writing, and a failure shows at the sync.
  static constexpr off_t kWritebackStep = off_t{4} << 20;
  void StartWriteback() {
    ::sync_file_range(fd.Get(), writebackFrom, written - writebackFrom, SYNC_FILE_RANGE_WRITE);
    writebackFrom = written;
  }

  void Flush() {
    WriteAll(buffer);
    buffer.clear();
  }

  void Write(std::string_view text) {
    RequireOpen();
    if (buffer.size() + text.size() <= kWriteBufferSize) {
      buffer.append(text);
      return;
    }
    Flush();
    if (text.size() >= kWriteBufferSize)
      WriteAll(text);
    else
      buffer.append(text);
  }

  void OpenDirect(int flags) {
    fd = OpenFile(fileName, O_WRONLY | flags, 0666);
    buffer.reserve(kWriteBufferSize);
  }

  void OpenReplacing() {
    const std::string target = FollowLinks(fileName);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) throw OpenError(errno, target);
    if (exists && S_ISDIR(st.st_mode)) throw EInOutError(ioIsDirectory);
    if (exists && !S_ISREG(st.st_mode)) return OpenDirect(O_CREAT | O_TRUNC);
    // Renaming would replace a read-only file too; it must stay protected.
    if (exists && ::access(target.c_str(), W_OK) != 0) throw EInOutError::FromErrno(errno);

    TSaveTemporary temp;
    if (const int err = ClaimSaveTemporary(target, temp)) {
      // A writable file in a folder where no new file may be made can still
      // be saved, only not as safely.
      if (exists && (err == EACCES || err == EPERM)) return OpenDirect(O_TRUNC);
      throw OpenError(err, target);
    }
    fd = FileDescriptor(temp.fd);
    tempPath = temp.path;
    targetPath = target;
    buffer.reserve(kWriteBufferSize);
    TakeOverAttributes(exists ? std::optional<struct stat>(st) : std::nullopt);
  }

  // The new file gets the old one's permission bits, owner and group, and
  // extended attributes, or the bits a newly created file would get. What it
  // cannot be given, and a second name of the old file, the old file keeps
  // only when it is written in place.
  void TakeOverAttributes(const std::optional<struct stat>& old) {
    const mode_t mode = old ? (old->st_mode & 07777) : (0666 & ~CreationMask());
    BeforeFileCall(TFileCall::Attributes);
    const bool ownerKept = !old || ::fchown(fd.Get(), old->st_uid, old->st_gid) == 0 || OwnedAlike(*old);
    BeforeFileCall(TFileCall::Attributes);
    if (::fchmod(fd.Get(), mode) != 0) {
      const int err = errno;
      Abandon();
      throw EInOutError::FromErrno(err);
    }
    if (!old) return;
    BeforeFileCall(TFileCall::Attributes);
    const bool attributesKept = CopyExtendedAttributes(targetPath, fd.Get());
    inPlace = RenameWouldSplit(*old, ownerKept) || !attributesKept;
  }

  // Only a privileged user may give a file away; a file the others own
  // anyway needs no giving.
  bool OwnedAlike(const struct stat& old) const {
    struct stat own {};
    return ::fstat(fd.Get(), &own) == 0 && own.st_uid == old.st_uid && own.st_gid == old.st_gid;
  }

  void Close() {
    if (failure) {
      const EInOutError error = *failure;
      failure.reset();
      throw error;
    }
    if (!fd.Valid()) return;
    try {
      Flush();
      if (!tempPath.empty()) Commit();
      BeforeFileCall(TFileCall::Close);
      if (const int err = fd.Close()) Fail(err);
    } catch (...) {
      Abandon();
      throw;
    }
  }

  // The text is on the disk before the rename, so a power cut leaves either
  // the old file or the new one whole; which of the two is left does not
  // lose anything the user had, so the folder itself is not synced. The
  // rename comes before the close: until then the lock keeps any other save
  // from taking the temporary file over.
  void Commit() {
    BeforeFileCall(TFileCall::Sync);
    if (::fsync(fd.Get()) != 0) Fail(errno);
    if (inPlace) return CommitInPlace();
    BeforeFileCall(TFileCall::Rename);
    if (::rename(tempPath.c_str(), targetPath.c_str()) != 0) Fail(errno);
    tempPath.clear();
  }

  // The whole new text stands under a name of its own before the target is
  // touched; from then on it is the person's file and is never removed by a
  // failure, which says where it is. Once the target holds it, it goes.
  void CommitInPlace() {
    std::string recovery;
    if (const int err = NameRecoveryFile(tempPath, targetPath, recovery)) Fail(err);
    tempPath.clear();
    if (const int err = OverwriteInPlace(fd.Get(), written, targetPath)) {
      const EInOutError cause = EInOutError::FromErrno(err);
      throw EInOutError(cause.ErrorCode(), cause.Message() + ". The saved text is kept whole in " + recovery);
    }
    BeforeFileCall(TFileCall::Remove);
    ::unlink(recovery.c_str());
  }

  // Drops whatever is unfinished: the descriptor, an unrenamed temporary
  // file, buffered text and a remembered failure.
  void Abandon() noexcept {
    if (!tempPath.empty()) {
      BeforeFileCall(TFileCall::Remove);
      ::unlink(tempPath.c_str());  // while still locked, so no other save has taken it
    }
    fd.Close();
    tempPath.clear();
    buffer.clear();
    failure.reset();
    inPlace = false;
    written = writebackFrom = 0;
  }

  // A writer dropped without Close keeps what was written to a file written
  // in place, but never replaces a file with an unfinished one.
  void CloseQuietly() noexcept {
    if (fd.Valid() && tempPath.empty() && !failure) {
      try {
        Flush();
      } catch (...) {
      }
    }
    Abandon();
  }
};

TTextWriter::TTextWriter() : s_(std::make_unique<State>()) {}

TTextWriter::~TTextWriter() { s_->CloseQuietly(); }

void TTextWriter::AssignFile(const std::string& fileName) {
  s_->CloseQuietly();
  s_->fileName = fileName;
}

void TTextWriter::Rewrite() {
  RequireName(s_->fileName);
  s_->CloseQuietly();
  s_->OpenDirect(O_CREAT | O_TRUNC);
}

void TTextWriter::Append() {
  RequireName(s_->fileName);
  s_->CloseQuietly();
  s_->OpenDirect(O_APPEND);
}

void TTextWriter::RewriteReplacing() {
  RequireName(s_->fileName);
  s_->CloseQuietly();
  s_->OpenReplacing();
}

void TTextWriter::Write(std::string_view text) { s_->Write(text); }

void TTextWriter::WriteLineEnd() { s_->Write("\r\n"); }

void TTextWriter::Close() { s_->Close(); }

bool TTextWriter::IsOpen() const { return s_->fd.Valid(); }

}  // namespace kelvora
