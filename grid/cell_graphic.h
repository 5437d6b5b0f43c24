#pragma once

namespace kelvora {

// A picture or control drawn in a cell beside its text. The grid owns the
// graphics of its cells.
class TCellGraphic {
 public:
  virtual ~TCellGraphic() = default;
  virtual int Width() const = 0;  // room it takes beside the text
};

}  // namespace kelvora
