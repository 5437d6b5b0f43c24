#include "grid/render/rich_text_words.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace kelvora {
namespace {

// In the order of their names.
constexpr TRichWord kWords[] = {
    {"aftncn", rwSkippedDestination},
    {"aftnsep", rwSkippedDestination},
    {"aftnsepc", rwSkippedDestination},
    {"annotation", rwSkippedDestination},
    {"ansi", rwAnsi},
    {"ansicpg", rwCodePage},
    {"atnauthor", rwSkippedDestination},
    {"atnid", rwSkippedDestination},
    {"author", rwSkippedDestination},
    {"b", rwBold},
    {"bin", rwBinary},
    {"bkmkend", rwSkippedDestination},
    {"bkmkstart", rwSkippedDestination},
    {"blue", rwBlue},
    {"bullet", rwCharacter, "\xE2\x80\xA2"},
    {"cell", rwCharacter, "\t"},
    {"cf", rwColour},
    {"colorschememapping", rwSkippedDestination},
    {"colortbl", rwColourTable},
    {"comment", rwSkippedDestination},
    {"company", rwSkippedDestination},
    {"datastore", rwSkippedDestination},
    {"deff", rwDefaultFont},
    {"doccomm", rwSkippedDestination},
    {"emdash", rwCharacter, "\xE2\x80\x94"},
    {"emspace", rwCharacter, " "},
    {"endash", rwCharacter, "\xE2\x80\x93"},
    {"enspace", rwCharacter, " "},
    {"f", rwFont},
    {"filetbl", rwSkippedDestination},
    {"fldinst", rwSkippedDestination},
    {"fonttbl", rwFontTable},
    {"footer", rwSkippedDestination},
    {"footerf", rwSkippedDestination},
    {"footerl", rwSkippedDestination},
    {"footerr", rwSkippedDestination},
    {"footnote", rwSkippedDestination},
    {"fs", rwFontSize},
    {"ftncn", rwSkippedDestination},
    {"ftnsep", rwSkippedDestination},
    {"ftnsepc", rwSkippedDestination},
    {"generator", rwSkippedDestination},
    {"green", rwGreen},
    {"header", rwSkippedDestination},
    {"headerf", rwSkippedDestination},
    {"headerl", rwSkippedDestination},
    {"headerr", rwSkippedDestination},
    {"i", rwItalic},
    {"info", rwSkippedDestination},
    {"keywords", rwSkippedDestination},
    {"latentstyles", rwSkippedDestination},
    {"ldblquote", rwCharacter, "\xE2\x80\x9C"},
    {"line", rwBreak},
    {"listoverridetable", rwSkippedDestination},
    {"listtable", rwSkippedDestination},
    {"listtext", rwSkippedDestination},
    {"lquote", rwCharacter, "\xE2\x80\x98"},
    {"nonshppict", rwSkippedDestination},
    {"objdata", rwSkippedDestination},
    {"object", rwSkippedDestination},
    {"operator", rwSkippedDestination},
    {"page", rwBreak},
    {"par", rwBreak},
    {"pard", rwAlignLeft},
    {"pca", rwCodePage850},
    {"pgdsctbl", rwSkippedDestination},
    {"pict", rwSkippedDestination},
    {"plain", rwPlain},
    {"pntext", rwSkippedDestination},
    {"qc", rwAlignCenter},
    {"qj", rwAlignLeft},
    {"ql", rwAlignLeft},
    {"qmspace", rwCharacter, " "},
    {"qr", rwAlignRight},
    {"rdblquote", rwCharacter, "\xE2\x80\x9D"},
    {"red", rwRed},
    {"revtbl", rwSkippedDestination},
    {"row", rwBreak},
    {"rquote", rwCharacter, "\xE2\x80\x99"},
    {"rsidtbl", rwSkippedDestination},
    {"sect", rwBreak},
    {"strike", rwStrikeOut},
    {"striked", rwStrikeOut},
    {"stylesheet", rwSkippedDestination},
    {"subject", rwSkippedDestination},
    {"tab", rwCharacter, "\t"},
    {"template", rwSkippedDestination},
    {"themedata", rwSkippedDestination},
    {"title", rwSkippedDestination},
    {"u", rwUnicode},
    {"uc", rwFallbackCount},
    {"ul", rwUnderline},
    {"uld", rwUnderline},
    {"uldash", rwUnderline},
    {"uldashd", rwUnderline},
    {"uldashdd", rwUnderline},
    {"uldb", rwUnderline},
    {"ulhair", rwUnderline},
    {"ulnone", rwUnderlineNone},
    {"ulth", rwUnderline},
    {"ulthd", rwUnderline},
    {"ulw", rwUnderline},
    {"ulwave", rwUnderline},
    {"userprops", rwSkippedDestination},
    {"v", rwHidden},
    {"xmlnstbl", rwSkippedDestination},
};

// A document holds a control word every few bytes, so a name is found by a
// key of its length and its first seven bytes, in an open table of them
// made when the program is compiled. Keys of names up to seven bytes long
// are the names themselves; a longer name is compared once its key matches.
constexpr std::size_t kKeyedBytes = 7;
constexpr std::size_t kSlots = 256;

constexpr std::uint64_t KeyOf(std::string_view name) {
  std::uint64_t key = std::min<std::size_t>(name.size(), 255);
  for (std::size_t i = 0; i < std::min(name.size(), kKeyedBytes); ++i)
    key |= std::uint64_t{static_cast<unsigned char>(name[i])} << (8 * (i + 1));
  return key;
}

// Fibonacci hashing: the key's bits all reach the slot's eight.
constexpr std::size_t SlotOf(std::uint64_t key) {
  return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 56);
}

constexpr bool KeysAreDistinct() {
  for (std::size_t i = 0; i < std::size(kWords); ++i)
    for (std::size_t j = 0; j < i; ++j)
      if (KeyOf(kWords[i].Name) == KeyOf(kWords[j].Name)) return false;
  return true;
}
static_assert(KeysAreDistinct(), "two control words share a key");

struct TSlot {
  std::uint64_t key = 0;  // 0: empty, as no name is empty
  std::uint8_t word = 0;  // into kWords
};

constexpr std::array<TSlot, kSlots> kSlotTable = [] {
  std::array<TSlot, kSlots> slots{};
  for (std::size_t i = 0; i < std::size(kWords); ++i) {
    const std::uint64_t key = KeyOf(kWords[i].Name);
    std::size_t at = SlotOf(key);
    while (slots[at].key != 0) at = (at + 1) % kSlots;
    slots[at] = {key, static_cast<std::uint8_t>(i)};
  }
  return slots;
}();
static_assert(2 * std::size(kWords) < kSlots, "the table is kept at most half full");

}  // namespace

const TRichWord* FindRichWord(std::string_view name) {
  const std::uint64_t key = KeyOf(name);
  for (std::size_t at = SlotOf(key);; at = (at + 1) % kSlots) {
    const TSlot& slot = kSlotTable[at];
    if (slot.key == 0) return nullptr;
    if (slot.key != key) continue;
    const TRichWord& word = kWords[slot.word];
    return name.size() <= kKeyedBytes || word.Name == name ? &word : nullptr;
  }
}

}  // namespace kelvora
