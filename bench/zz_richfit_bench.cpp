// THROWAWAY: the rich-text fit of print_bench alone. Not to be committed.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/bench_support.h"
#include "support/fit_timing.h"
#include "support/stopwatch.h"
#include "toolkit/application.h"

namespace {
constexpr const char* kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
struct TRichCell { std::string rich; };
TRichCell MakeRichCell(int i) {
  const std::string day = kDays[i % 7];
  const std::string month = kMonths[(i / 7) % 12];
  const std::string n = std::to_string(i);
  const std::string head = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Sans;}{\\f1\\fmodern Mono;}}"
                           "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\\pard ";
  switch (i % 4) {
    case 0: return {head + "\\b " + day + "\\b0 , " + n + " \\cf1 " + month + "\\cf0  2003}"};
    case 1: return {head + "\\i msg " + n + "\\i0\\par\\fs24 re: " + month + "}"};
    case 2: return {head + "\\f1 " + day + "\\f0  \\ul " + n + "\\ulnone  " + month + " caf\\'e9}"};
    default: return {head + "\\cf2\\b " + day + "\\b0\\cf0 \\tab " + month + "\\line " + n + " \\u8364?}"};
  }
}
}  // namespace

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  kelvora::TApplication app(argc, argv);
  const int reps = getenv("REPS") ? atoi(getenv("REPS")) : 3;
  std::vector<TRichCell> cells;
  for (int i = 0; i < 100000; ++i) cells.push_back(MakeRichCell(i));
  const double fit = Best(reps, [&] { return FirstColumnFitSeconds(cells, &TRichCell::rich, "rich text"); });
  std::printf("fit %.4f s\n", fit);
}
