// The rich-text reader on any bytes, as a cell beginning "{\" may hold: it
// must end, quickly and without a fault, and give the same text every time,
// as UTF-8. Drawn and measured on the recording surface, it must leave the
// surface as it found it, measure the same twice, and show no text that
// the plain text does not hold, in the same order.
// Half of the inputs are given the document header, so that the fuzzer
// spends its time inside documents rather than on their first bytes.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "grid/render/rich_text.h"
#include "toolkit/byte_text.h"
#include "toolkit/recording_canvas.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

std::string WithoutLineEnds(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != '\r' && c != '\n') out += c;
  return out;
}

kelvora::TMarkupResult Draw(kelvora::TRecordingCanvas& canvas, std::string_view document, kelvora::TRect rect,
                            bool measureOnly) {
  kelvora::TMarkupInput input;
  input.Text = document;
  input.Rect = rect;
  input.MeasureOnly = measureOnly;
  return kelvora::DrawRichText(canvas, input);
}

void CheckDrawing(std::string_view document, const std::string& plain) {
  kelvora::TRecordingCanvas canvas;
  canvas.Font().Height = -13;
  const kelvora::TFont font = canvas.Font();
  const kelvora::TBrush brush = canvas.Brush();
  const kelvora::TRect everywhere{0, 0, 65535, 65535};
  const kelvora::TMarkupResult measured = Draw(canvas, document, everywhere, true);
  Require(measured.Width >= 0 && measured.Height > 0);
  const kelvora::TMarkupResult again = Draw(canvas, document, everywhere, true);
  Require(again.Width == measured.Width && again.Height == measured.Height);
  Require(WithoutLineEnds(plain).starts_with(WithoutLineEnds(measured.PlainText)));
  const kelvora::TMarkupResult painted = Draw(canvas, document, {2, 2, 120, 21}, false);
  Require(WithoutLineEnds(measured.PlainText).starts_with(WithoutLineEnds(painted.PlainText)));
  Require(canvas.Font() == font && canvas.Brush() == brush);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string document(reinterpret_cast<const char*>(data + 1), size - 1);
  if (data[0] % 2 == 1) document.insert(0, "{\\rtf1\\ansi ");
  const std::string text = kelvora::RichTextToPlainText(document);
  Require(kelvora::RichTextToPlainText(document) == text);
  Require(kelvora::IsValidUtf8(text));
  // Every control word or byte stands for a few bytes at most, so the text
  // never outgrows its document by much.
  Require(text.size() <= 4 * document.size() + 16);
  CheckDrawing(document, text);
  return 0;
}
