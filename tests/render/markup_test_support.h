#pragma once

#include <string>
#include <string_view>

#include "grid/render/markup.h"
#include "toolkit/recording_canvas.h"

namespace kelvora::testing {

// A recording surface with a 20-pixel black font: every byte is 10 pixels
// wide and every line 22 high, so sub- and superscripts get 5 pixels of
// room. Its brush is the white of a cell.
class MarkupSurface {
 public:
  static constexpr int w = 10;
  static constexpr int h = 22;

  MarkupSurface() {
    canvas.Font().Height = -20;
    canvas.Font().Color = clBlack;
    canvas.Brush().Color = clWhite;
  }

  TMarkupResult Draw(std::string_view text, TRect rect = {0, 0, 200, 100}) {
    TMarkupInput input;
    input.Text = text;
    input.Rect = rect;
    return Draw(input);
  }
  TMarkupResult Draw(TMarkupInput input) {
    canvas.Clear();
    return DrawMarkup(canvas, input);
  }
  TMarkupResult Measure(std::string_view text, TRect rect = {0, 0, 65535, 65535}) {
    TMarkupInput input;
    input.Text = text;
    input.Rect = rect;
    input.MeasureOnly = true;
    return Draw(input);
  }

  // The record, one call a line.
  std::string Calls() const { return canvas.Text(); }

  TRecordingCanvas canvas;
};

// The flags every run of text is drawn with, and the record of one.
inline constexpr const char* kRunFlags = "SingleLine|Bottom|NoPrefix|ExpandTabs|NoClip";

inline std::string Drawn(std::string_view text, int l, int t, int r, int b, const std::string& font) {
  return "DrawText " + RecordedText(text) + " " + std::to_string(l) + "," + std::to_string(t) + "," +
         std::to_string(r) + "," + std::to_string(b) + " flags=" + kRunFlags + " font=" + font;
}

inline const std::string kPlain = "MS Sans Serif/-20/clBlack";

}  // namespace kelvora::testing
