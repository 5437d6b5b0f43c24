#include "toolkit/text_ink_cache.h"

namespace kelvora {

TTextInkCache::Slot& TTextInkCache::SlotOf(std::size_t hash) {
  if (slots_.empty()) slots_.resize(kSlots);
  return slots_[hash & (kSlots - 1)];
}

}  // namespace kelvora
