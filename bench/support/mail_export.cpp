#include "support/mail_export.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "support/bench_environment.h"
#include "support/bench_scale.h"

namespace kelvora::bench {
namespace {

// A fixed generator (splitmix64): the same sequence on every machine.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A number in [0, n).
  unsigned Below(unsigned n) { return static_cast<unsigned>(((Next() >> 32) * n) >> 32); }
  bool Percent(unsigned p) { return Below(100) < p; }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[Below(N)];
  }

 private:
  std::uint64_t state_;
};

constexpr std::array<std::string_view, 7> kWeekdays{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 12> kZones{"+0100", "+0200", "-0500", "-0800", "+0000", "GMT",
                                                  "-0700 (PDT)", "+0100 (CET)", "UT", "EST", "+0530", "-0300"};
constexpr std::array<std::string_view, 16> kFirstNames{"Anna", "Ben", "Clara", "David", "Eva", "Frank",
                                                       "Greta", "Hugo", "Ines", "Jonas", "Karin", "Lars",
                                                       "Mona", "Nils", "Olga", "Paul"};
constexpr std::array<std::string_view, 12> kLastNames{"Berg", "Fischer", "Novak", "Moreau", "Rossi", "Lind",
                                                      "Kowalski", "Haas", "Varga", "Costa", "Weber", "Dahl"};
constexpr std::array<std::string_view, 8> kDomains{"example.org", "example.net", "example.com", "mail.example.edu",
                                                   "news.example.org", "lists.example.net", "corp.example.com",
                                                   "uni.example.edu"};
constexpr std::array<std::string_view, 48> kWords{
    "the", "meeting", "notes", "about", "next", "week", "please", "find", "attached", "report", "on", "our",
    "project", "and", "let", "me", "know", "if", "you", "have", "any", "questions", "thanks", "for", "sending",
    "draft", "budget", "we", "should", "discuss", "this", "at", "call", "server", "was", "down", "again",
    "tonight", "list", "archive", "posted", "a", "new", "version", "of", "patch", "reply", "agenda"};

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// 0 for Sunday; Sakamoto's method.
int Weekday(int year, int month, int day) {
  static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  return (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + day) % 7;
}

struct Moment {
  int year, month, day, hour, minute, second;
};

Moment RandomMoment(Random& random) {
  Moment m{};
  m.year = 1996 + static_cast<int>(random.Below(29));
  m.month = 1 + static_cast<int>(random.Below(12));
  m.day = 1 + static_cast<int>(random.Below(static_cast<unsigned>(DaysInMonth(m.year, m.month))));
  m.hour = static_cast<int>(random.Below(24));
  m.minute = static_cast<int>(random.Below(60));
  m.second = static_cast<int>(random.Below(60));
  return m;
}

void AppendFormat(std::string& out, const char* format, auto... values) {
  char text[512];
  const int n = std::snprintf(text, sizeof text, format, values...);
  out.append(text, static_cast<std::size_t>(std::min<int>(n, sizeof text - 1)));
}

// The date as a "Date:" header writes it: "Tue, 4 Feb 2003 09:05:07 +0100",
// without weekday in about one case in eight, zero-padded day now and then.
void AppendHeaderDate(std::string& out, Random& random, const Moment& m) {
  if (!random.Percent(12)) {
    out += kWeekdays[Weekday(m.year, m.month, m.day)];
    out += ", ";
  }
  AppendFormat(out, random.Percent(6) ? "%02d " : "%d ", m.day);
  out += kMonths[m.month - 1];
  AppendFormat(out, " %d %02d:%02d:%02d ", m.year, m.hour, m.minute, m.second);
  out += random.Pick(kZones);
}

// The separator line's form: "Tue Feb  4 09:05:07 2003".
void AppendSeparatorDate(std::string& out, const Moment& m) {
  out += kWeekdays[Weekday(m.year, m.month, m.day)];
  out += ' ';
  out += kMonths[m.month - 1];
  AppendFormat(out, " %2d %02d:%02d:%02d %d", m.day, m.hour, m.minute, m.second, m.year);
}

struct Person {
  std::string name;
  std::string address;
};

Person RandomPerson(Random& random) {
  const std::string_view first = random.Pick(kFirstNames);
  const std::string_view last = random.Pick(kLastNames);
  Person p;
  p.name = std::string(first) + " " + std::string(last);
  p.address = std::string(first) + "." + std::string(last) + "@" + std::string(random.Pick(kDomains));
  for (char& c : p.address) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return p;
}

// Body lines are drawn from a pool made once, so a gigabyte takes seconds.
// No pool line starts with "From " or "Date:".
std::vector<std::string> MakeBodyPool(Random& random) {
  std::vector<std::string> pool(8192);
  for (auto& line : pool) {
    if (random.Percent(9)) continue;  // paragraph break
    if (random.Percent(6)) line = "> ";
    const unsigned length = 24 + random.Below(52);
    const std::size_t start = line.size();
    while (line.size() < length) {
      if (line.size() > start) line += ' ';
      line += random.Pick(kWords);
    }
    if (random.Percent(30)) line += '.';
  }
  return pool;
}

class MessageMaker {
 public:
  explicit MessageMaker(Random& random) : random_(random), pool_(MakeBodyPool(random)) {}

  void Append(std::string& out) {
    const Person from = RandomPerson(random_);
    const Person to = RandomPerson(random_);
    const Moment when = RandomMoment(random_);
    const unsigned id = static_cast<unsigned>(random_.Next());
    AppendEnvelope(out, from, to, when, id);
    AppendHeaders(out, from, to, when, id);
    AppendBody(out);
  }

  const std::vector<std::string>& Pool() const { return pool_; }

 private:
  void AppendEnvelope(std::string& out, const Person& from, const Person& to, const Moment& when, unsigned id) {
    out += "From " + from.address + " ";
    AppendSeparatorDate(out, when);
    out += "\nReturn-Path: <" + from.address + ">\n";
    const int hops = 1 + static_cast<int>(random_.Below(3));
    for (int hop = 0; hop < hops; ++hop) {
      const unsigned relay = random_.Below(9);
      const char* domain = random_.Pick(kDomains).data();
      AppendFormat(out, "Received: from relay%u.%s (relay%u.%s [192.0.2.%u])\n", relay, domain, relay, domain,
                   1 + random_.Below(254));
      AppendFormat(out, "\tby mx%u.%s with ESMTP id %08X%04X\n\tfor <%s>; ", random_.Below(5),
                   random_.Pick(kDomains).data(), id, static_cast<unsigned>(hop), to.address.c_str());
      AppendHeaderDate(out, random_, when);
      out += '\n';
    }
  }

  void AppendHeaders(std::string& out, const Person& from, const Person& to, const Moment& when, unsigned id) {
    out += "From: " + from.name + " <" + from.address + ">\n";
    out += "To: " + to.name + " <" + to.address + ">\n";
    out += random_.Percent(40) ? "Subject: Re: " : "Subject: ";
    AppendWords(out, 2 + random_.Below(6));
    AppendFormat(out, "\nMessage-ID: <%04d%02d%02d%02d%02d%02d.%08X@%s>\nDate: ", when.year, when.month, when.day,
                 when.hour, when.minute, when.second, id, random_.Pick(kDomains).data());
    AppendHeaderDate(out, random_, when);
    out += "\nMIME-Version: 1.0\nContent-Type: text/plain; charset=us-ascii\n\n";
  }

  void AppendBody(std::string& out) {
    const unsigned lines = 8 + random_.Below(random_.Percent(10) ? 160 : 44);
    const bool forwards = random_.Percent(2);
    for (unsigned i = 0; i < lines; ++i) {
      if (forwards && i == lines / 2) AppendForwarded(out);
      out += pool_[random_.Below(static_cast<unsigned>(pool_.size()))];
      out += '\n';
    }
    out += '\n';
  }

  void AppendForwarded(std::string& out) {
    const Person original = RandomPerson(random_);
    out += "\n-------- Forwarded Message --------\nSubject: ";
    AppendWords(out, 3);
    out += "\nDate: ";
    AppendHeaderDate(out, random_, RandomMoment(random_));
    out += "\nFrom: " + original.name + " <" + original.address + ">\n\n";
  }

  void AppendWords(std::string& out, unsigned count) {
    for (unsigned i = 0; i < count; ++i) {
      if (i) out += ' ';
      out += random_.Pick(kWords);
    }
  }

  Random& random_;
  std::vector<std::string> pool_;
};

class BlockFile {
 public:
  explicit BlockFile(const std::string& path)
      : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)) {
    if (fd_ < 0) throw std::runtime_error("cannot create " + path);
  }
  ~BlockFile() { ::close(fd_); }
  void Write(const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
      const ssize_t n = ::write(fd_, data.data() + done, data.size() - done);
      if (n <= 0) throw std::runtime_error("cannot write the mail export");
      done += static_cast<std::size_t>(n);
    }
  }

 private:
  int fd_;
};

// Ends the file on exactly the size asked for with ordinary body text.
void AppendFiller(std::string& out, std::uint64_t room, const std::vector<std::string>& pool) {
  for (const auto& line : pool) {
    if (line.size() + 1 > room) break;
    out += line + '\n';
    room -= line.size() + 1;
  }
  if (room == 0) return;
  out.append(room - 1, 'x');
  out += '\n';
}

void GenerateMailExport(const std::string& path, std::uint64_t bytes) {
  Random random(20030211);
  MessageMaker maker(random);
  BlockFile file(path);
  std::string block;
  std::string message;
  std::uint64_t written = 0;
  constexpr std::size_t kBlock = std::size_t{8} << 20;
  while (true) {
    message.clear();
    maker.Append(message);
    if (written + block.size() + message.size() > bytes) break;
    block += message;
    if (block.size() >= kBlock) {
      file.Write(block);
      written += block.size();
      block.clear();
    }
  }
  AppendFiller(block, bytes - written - block.size(), maker.Pool());
  file.Write(block);
}

}  // namespace

void EnsureMailExport(const std::string& path, std::uint64_t bytes) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::is_regular_file(path, error) && fs::file_size(path, error) == bytes) return;
  // Generated under another name first, so an interrupted run is never taken
  // for a finished file.
  const std::string partial = path + ".partial";
  GenerateMailExport(partial, bytes);
  fs::rename(partial, path);
}

std::uint64_t GigabyteExportBytes() { return Sized<std::uint64_t>(1'000'000'000, 2'000'000); }

std::string PreparedGigabyteExport() {
  const std::string path = DataDir() + (ShortRun() ? "/mail-export-short.txt" : "/mail-export-1g.txt");
  std::fprintf(stderr, "preparing %s\n", path.c_str());
  EnsureMailExport(path, GigabyteExportBytes());
  WarmPageCache(path);
  return path;
}

std::string PreparedTenthGigabyteExport() {
  const std::string path = DataDir() + (ShortRun() ? "/mail-export-100m-short.txt" : "/mail-export-100m.txt");
  std::fprintf(stderr, "preparing %s\n", path.c_str());
  EnsureMailExport(path, GigabyteExportBytes() / 10);
  WarmPageCache(path);
  return path;
}

// The C locale keeps grep on its fastest path, so the anchor is not flattered.
TGrepCount GrepDateLines(const std::string& path) {
  const std::string grep = "LC_ALL=C grep -c '^Date:' " + ShellQuoted(path);
  TGrepCount count;
  count.Seconds = TimeCommandSeconds(grep, Repetitions(3));
  count.Lines = std::stol(CommandOutput(grep));
  return count;
}

}  // namespace kelvora::bench
