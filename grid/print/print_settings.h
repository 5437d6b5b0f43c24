#pragma once

#include <optional>
#include <string>

#include "toolkit/font.h"
#include "toolkit/print_target.h"

namespace kelvora {

enum TPrintAlignment { paLeft, paCenter, paRight };

// How the grid goes onto paper.
//
// Header and footer are one line each, in their fonts and alignments, on
// every page; the title stands above the header on the first page, and is
// the PDF's title too. In the header, the footer and the title, "[page]",
// "[pages]", "[date]" and "[time]" (in any letter case) are the page's
// number, the number of pages printed, and the date and time the job began.
struct TPrintSettings {
  TPrintOrientation Orientation = poPortrait;
  TPaperSize Paper = ppDefault;
  TPrintMargins Margins;  // millimetres, each within 0..100

  // The fonts of normal and fixed cells; none: the grid's own.
  std::optional<TFont> Font;
  std::optional<TFont> FixedFont;
  TFont HeaderFont{"MS Sans Serif", -11, clBlack, {}, 0};
  TFont FooterFont{"MS Sans Serif", -11, clBlack, {}, 0};

  std::string Title;
  std::string Header;
  TPrintAlignment HeaderAlignment = paLeft;
  std::string Footer;
  TPrintAlignment FooterAlignment = paCenter;

  // The grid's fixed rows stand at the top of every page and its fixed
  // columns at the left of every page across; off, they are printed once,
  // where they lie.
  bool RepeatFixedRows = true;
  bool RepeatFixedCols = true;
  // On, the grid is made smaller until all its columns fit the page's width
  // (never larger than on the screen); off, columns that do not fit go on
  // pages of their own, to the right of the first ones.
  bool FitToPageWidth = false;
  bool GridLines = true;
  // Off, every cell is printed black on white: no cell, band or fixed colour.
  bool Colors = true;

  // The pages printed, counted from 1; 0 leaves that end open.
  int FromPage = 0;
  int ToPage = 0;
};

}  // namespace kelvora
