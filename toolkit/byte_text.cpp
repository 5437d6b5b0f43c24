#include "toolkit/byte_text.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>

namespace kelvora {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five bytes it
// leaves undefined pass through as the control characters of the same value.
constexpr std::array<char16_t, 32> kCp1252High{{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
}};

// Code page 850, bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> kCp850High{{
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
}};

char16_t FromCp1252(unsigned char b) {
  return (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : static_cast<char16_t>(b);
}

char ToCp850(char32_t c) {
  if (c < 0x80) return static_cast<char>(c);
  const auto it = std::find(kCp850High.begin(), kCp850High.end(), static_cast<char16_t>(c));
  if (c > 0xFFFF || it == kCp850High.end()) return '?';
  return static_cast<char>(0x80 + (it - kCp850High.begin()));
}

bool IsAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Length of the UTF-8 sequence that starts with b, 0 when b cannot start one.
int SequenceLength(unsigned char b) {
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF4) return 4;
  return 0;
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Overlong forms, surrogates and values past U+10FFFF are not valid UTF-8.
bool ValidSecondByte(unsigned char first, unsigned char second) {
  if (first == 0xE0) return second >= 0xA0;
  if (first == 0xED) return second < 0xA0;
  if (first == 0xF0) return second >= 0x90;
  if (first == 0xF4) return second < 0x90;
  return true;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const int length = SequenceLength(first);
    if (length == 0 || i + length > bytes.size()) return false;
    for (int k = 1; k < length; ++k)
      if (!IsContinuation(static_cast<unsigned char>(bytes[i + k]))) return false;
    if (length > 2 && !ValidSecondByte(first, static_cast<unsigned char>(bytes[i + 1]))) return false;
    i += static_cast<std::size_t>(length);
  }
  return true;
}

QString DisplayText(std::string_view bytes) {
  const auto size = static_cast<qsizetype>(bytes.size());
  if (IsAscii(bytes)) return QString::fromLatin1(bytes.data(), size);
  if (IsValidUtf8(bytes)) return QString::fromUtf8(bytes.data(), size);
  QString text(size, Qt::Uninitialized);
  for (qsizetype i = 0; i < size; ++i)
    text[i] = QChar(FromCp1252(static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)])));
  return text;
}

char32_t CodePageCharacter(int codePage, unsigned char byte) {
  if (codePage == 850 && byte >= 0x80) return kCp850High[byte - 0x80];
  return FromCp1252(byte);
}

void AppendUtf8(std::string& out, char32_t c) {
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
  char bytes[4];
  int n = 0;
  if (c < 0x80) {
    bytes[n++] = static_cast<char>(c);
  } else if (c < 0x800) {
    bytes[n++] = static_cast<char>(0xC0 | (c >> 6));
  } else if (c < 0x10000) {
    bytes[n++] = static_cast<char>(0xE0 | (c >> 12));
  } else {
    bytes[n++] = static_cast<char>(0xF0 | (c >> 18));
    bytes[n++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
  }
  if (c >= 0x800) bytes[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  if (c >= 0x80) bytes[n++] = static_cast<char>(0x80 | (c & 0x3F));
  out.append(bytes, static_cast<std::size_t>(n));
}

std::string StoredText(const QString& text) { return text.toStdString(); }

std::string ToOemCodePage(std::string_view bytes) {
  if (IsAscii(bytes)) return std::string(bytes);
  const std::u32string characters = DisplayText(bytes).toStdU32String();
  std::string out;
  out.reserve(characters.size());
  for (char32_t c : characters) out += ToCp850(c);
  return out;
}

}  // namespace kelvora
