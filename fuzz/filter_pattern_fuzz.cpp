// The filter's pattern matcher against a plain recursive matcher, on a
// pattern and a text cut from the input at its first NUL byte (the rest).
// Both are kept short, so that the reference's backtracking stays cheap.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "grid/sort/row_filter.h"
#include "toolkit/ascii_case.h"

namespace {

bool Reference(std::string_view text, std::string_view pattern) {
  if (pattern.empty()) return text.empty();
  if (pattern.front() == '*')
    return Reference(text, pattern.substr(1)) || (!text.empty() && Reference(text.substr(1), pattern));
  if (text.empty()) return false;
  const bool one = pattern.front() == '?' || kelvora::AsciiLower(pattern.front()) == kelvora::AsciiLower(text.front());
  return one && Reference(text.substr(1), pattern.substr(1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find('\0');
  if (cut == std::string_view::npos) return 0;
  const std::string_view pattern = input.substr(0, std::min<std::size_t>(cut, 8));
  const std::string_view text = input.substr(cut + 1, 16);
  if (kelvora::MatchesPattern(text, pattern) != Reference(text, pattern)) std::abort();
  return 0;
}
