#pragma once

#include "toolkit/canvas.h"
#include "toolkit/geometry.h"

namespace kelvora {

// The page a printout is laid on.
enum TPrintOrientation { poPortrait, poLandscape };
// ppDefault is the usual paper of the user's locale: Letter where sizes are
// measured in inches, A4 elsewhere.
enum TPaperSize { ppDefault, ppA4, ppA3, ppA5, ppLetter, ppLegal };

struct TPrintMargins {  // millimetres
  int Left = 15;
  int Top = 15;
  int Right = 15;
  int Bottom = 15;
  bool operator==(const TPrintMargins&) const = default;
};

struct TPageSetup {
  TPaperSize Paper = ppDefault;
  TPrintOrientation Orientation = poPortrait;
  TPrintMargins Margins;
};

// A document being printed, page after page: on a printer, into a PDF file,
// or recorded by a test. Everything is drawn in the grid's pixels, 96 to the
// inch, with the page's printable area starting at (0, 0); the device turns
// them into its own resolution, as vector drawing and real text.
class TPrintTarget {
 public:
  virtual ~TPrintTarget() = default;

  // The printable area, in pixels at 96 to the inch.
  virtual TSize PageSize() const = 0;
  // A surface that measures as the pages will, before any page has begun.
  virtual TCanvas& Measurer() = 0;

  virtual void BeginPage() = 0;
  // The surface for the next part of the page, whose drawing is scaled by
  // `scale` about the page's top left. It stays valid until the next call of
  // Part or EndPage.
  virtual TCanvas& Part(double scale) = 0;
  virtual void EndPage() = 0;

  // The document is complete: a file takes its target's place, a print job
  // is handed to the printer. A target dropped before Finish leaves no file
  // and no job behind.
  virtual void Finish() = 0;
};

}  // namespace kelvora
