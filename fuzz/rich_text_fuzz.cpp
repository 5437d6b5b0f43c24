// The rich-text reader on any bytes, as a cell beginning "{\" may hold: it
// must end, quickly and without a fault, and give the same text every time.
// Half of the inputs are given the document header, so that the fuzzer
// spends its time inside documents rather than on their first bytes.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "grid/render/rich_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string document(reinterpret_cast<const char*>(data + 1), size - 1);
  if (data[0] % 2 == 1) document.insert(0, "{\\rtf1\\ansi ");
  const std::string text = kelvora::RichTextToPlainText(document);
  if (kelvora::RichTextToPlainText(document) != text) std::abort();
  // Every control word of a few bytes stands for a few bytes at most, so the
  // text never outgrows its document by much.
  if (text.size() > 4 * document.size() + 16) std::abort();
  return 0;
}
