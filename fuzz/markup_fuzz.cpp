// The mark-up renderer takes any bytes a cell can hold. Each input is
// parsed, laid out and painted on the recording surface, hit-tested,
// measured as column fitting measures, and stripped. The first bytes pick
// the rectangle, the font height, the hit point and the blink phase.
// Besides the sanitizers it checks that the surface's state comes back, that
// measuring draws nothing, and that the results are in range.

#include <QApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "grid/render/markup.h"
#include "grid/render/markup_parse.h"
#include "grid/render/strip_markup.h"
#include "toolkit/recording_canvas.h"

namespace {

constexpr std::size_t kHeader = 5;

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

// The desktop's icons need the widget application object. It is never torn
// down: at exit Qt's clean-ups would run after the fonts they clean are gone.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* application = new QApplication(*argc, *argv);
  (void)application;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvora;
  if (size < kHeader) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + kHeader, size - kHeader);

  for (const TMarkupPiece& piece : ParseMarkup(text)) Require(piece.Kind != mpWord || !piece.Word.empty());

  TRecordingCanvas canvas;
  canvas.Font().Height = -(1 + data[0] % 40);
  canvas.Brush().Color = clWhite;
  const TFont font = canvas.Font();
  const TBrush brush = canvas.Brush();
  TMarkupInput input;
  input.Text = text;
  input.Rect = {data[1] % 16, data[2] % 16, 16 + data[1] * 2, 16 + data[2] / 4};
  input.HitPoint = {data[3], data[4] / 8};
  input.BlinkPhase = (data[0] & 0x80) != 0;
  const TMarkupResult painted = DrawMarkup(canvas, input);
  Require(canvas.Font() == font && canvas.Brush() == brush && !canvas.ClipRect());
  Require(painted.Width >= 0 && painted.Height >= 0);
  Require(!painted.OnLink || painted.LinkIndex >= 0);

  input.MeasureOnly = true;
  input.Rect = {0, 0, 65535, 65535};
  canvas.Clear();
  const TMarkupResult measured = DrawMarkup(canvas, input);
  Require(canvas.Calls().empty());
  Require(measured.Width >= 0 && measured.Height > 0);

  const std::string plain = StripMarkup(text);
  Require(plain.size() <= 2 * text.size());
  return 0;
}
