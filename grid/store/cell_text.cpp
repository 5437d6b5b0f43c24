#include "grid/store/cell_text.h"

#include <new>
#include <utility>

namespace kelvora {

TCellText& TCellText::operator=(TCellText&& other) noexcept {
  if (this != &other) {
    Release();
    word_ = std::exchange(other.word_, kEmptyWord);
  }
  return *this;
}

void TCellText::AssignWithHeap(std::string_view text) {
  const std::uint64_t word = text.size() <= kInlineCapacity ? InlineWord(text) : LongWord(text);
  Release();
  word_ = word;
}

void TCellText::Clear() noexcept {
  Release();
  word_ = kEmptyWord;
}

bool TCellText::WellFormed() const noexcept {
  if (IsInline()) return TPackedText::WellFormed(word_);
  return word_ != 0 && View().size() > kInlineCapacity;
}

std::uint64_t TCellText::LongWord(std::string_view text) {
  const std::size_t length = text.size();
  char* block = static_cast<char*>(::operator new(sizeof length + length));
  std::memcpy(block, &length, sizeof length);
  std::memcpy(block + sizeof length, text.data(), length);
  return reinterpret_cast<std::uint64_t>(block);
}

void TCellText::Release() noexcept {
  if (!IsInline()) ::operator delete(reinterpret_cast<char*>(word_));
}

}  // namespace kelvora
