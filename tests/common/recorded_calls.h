#pragma once

// Questions about what was recorded: a recording canvas's drawing calls, or
// a test grid's log of the hooks it went through, one entry a line.

#include <string>
#include <string_view>
#include <vector>

#include "toolkit/recording_canvas.h"

namespace kelvora::testing {

// The entries that begin with `prefix`, in recorded order.
inline std::vector<std::string> CallsStartingWith(const std::vector<std::string>& calls, std::string_view prefix) {
  std::vector<std::string> matching;
  for (const std::string& call : calls)
    if (call.starts_with(prefix)) matching.push_back(call);
  return matching;
}
inline std::vector<std::string> CallsStartingWith(const TRecordingCanvas& canvas, std::string_view prefix) {
  return CallsStartingWith(canvas.Calls(), prefix);
}

// How many entries begin with `prefix`.
inline int Count(const std::vector<std::string>& calls, std::string_view prefix) {
  return static_cast<int>(CallsStartingWith(calls, prefix).size());
}

// Whether any drawing call begins with `prefix`.
inline bool Has(const TRecordingCanvas& canvas, std::string_view prefix) {
  return Count(canvas.Calls(), prefix) > 0;
}

// The texts drawn, in drawing order.
inline std::vector<std::string> DrawnTexts(const TRecordingCanvas& canvas) {
  constexpr std::string_view kDrawText = "DrawText \"";
  std::vector<std::string> texts;
  for (const std::string& call : CallsStartingWith(canvas, kDrawText)) {
    const std::size_t end = call.find("\" ", kDrawText.size());
    texts.push_back(call.substr(kDrawText.size(), end - kDrawText.size()));
  }
  return texts;
}

}  // namespace kelvora::testing
