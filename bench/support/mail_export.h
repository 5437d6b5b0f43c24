#pragma once

#include <cstdint>
#include <string>

namespace kelvora::bench {

// Makes `path` a mail export of exactly `bytes` bytes, the kind of file
// Kelvora is given: messages with separator lines, received chains and the
// usual headers, dates in every common form (with and without weekday, one-
// and two-digit days, every month, numeric and named zones), bodies of varied
// length, and about one message in fifty forwarding another with a "Date:"
// line of its own in the body. Roughly 2.4 KB a message, so about 416,000
// date lines a gigabyte.
//
// The same size always gives the same bytes, so a file of that size already
// there is kept as it is.
void EnsureMailExport(const std::string& path, std::uint64_t bytes);

// The gigabyte export that the reading benches share: made once in the data
// folder, then read through so that it is page-cached. Answers its path.
// A short run makes it 2 MB.
std::uint64_t GigabyteExportBytes();
std::string PreparedGigabyteExport();
// The same for a tenth of a gigabyte (200 kB in a short run): the small end
// of the sizes at which a date row must cost the same.
std::string PreparedTenthGigabyteExport();

// The anchor of the reading benches: the best wall time of counting the date
// lines with grep, and the count, which a bench checks against its own.
struct TGrepCount {
  double Seconds = 0;
  long Lines = 0;
};
TGrepCount GrepDateLines(const std::string& path);

}  // namespace kelvora::bench
