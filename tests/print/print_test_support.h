#pragma once

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "grid/print/print_source.h"
#include "toolkit/print_target.h"
#include "toolkit/recording_canvas.h"

namespace kelvora::print_test {

// Pages as text: each page's parts, each with the recording canvas's calls.
class TRecordingPrintTarget : public TPrintTarget {
 public:
  explicit TRecordingPrintTarget(TSize page = {400, 300}) : page_(page) {}

  TSize PageSize() const override { return page_; }
  TCanvas& Measurer() override { return canvas_; }
  void BeginPage() override {
    Flush();
    pages.emplace_back();
  }
  TCanvas& Part(double scale) override {
    Flush();
    std::ostringstream line;
    line << "Part scale=" << scale << "\n";
    pages.back() += line.str();
    return canvas_;
  }
  void EndPage() override { Flush(); }
  void Finish() override { finished = true; }

  std::vector<std::string> pages;
  bool finished = false;

 private:
  void Flush() {
    for (const std::string& call : canvas_.Calls())
      if (!pages.empty()) pages.back() += call + "\n";
    canvas_.Clear();
  }

  TSize page_;
  TRecordingCanvas canvas_;
};

// A grid of given sizes whose cells say where they are, "col,row".
class TFakePrintSource : public TPrintSource {
 public:
  TFakePrintSource(int cols, int rows, int width = 60, int height = 20) : cols_(cols), rows_(rows), width_(width), height_(height) {}

  int ColCount() const override { return cols_; }
  int RowCount() const override { return rows_; }
  int FixedCols() const override { return fixedCols; }
  int FixedRows() const override { return fixedRows; }
  int ColWidth(int col) const override { return widths.contains(col) ? widths.at(col) : width_; }
  int RowHeight(int row) const override { return heights.contains(row) ? heights.at(row) : height_; }
  int GridLineWidth() const override { return gap; }
  TGridOptions Options() const override { return options; }
  TColor LineColor(bool fixedArea) const override { return fixedArea ? clBlack : clSilver; }
  void PaintCell(TCanvas& canvas, int col, int row, const TRect& rect, const TRect&) override {
    canvas.TextOut(rect.Left, rect.Top, std::to_string(col) + "," + std::to_string(row));
  }

  int fixedCols = 0;
  int fixedRows = 0;
  int gap = 1;
  TGridOptions options = kDefaultGridOptions;
  std::map<int, int> widths;
  std::map<int, int> heights;

 private:
  int cols_;
  int rows_;
  int width_;
  int height_;
};

}  // namespace kelvora::print_test
