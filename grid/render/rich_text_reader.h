#pragma once

#include <array>
#include <cstddef>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "grid/render/rich_text_words.h"
#include "toolkit/color.h"

namespace kelvora {

// Reading a rich-text cell ("{\rtf1 ..."), piece by piece, so that whoever
// shows only its first lines never reads the rest.
//
// Text comes out as UTF-8: "\'hh" bytes through the document's code page
// (\ansicpg: 850 as itself, any other as Windows-1252), bare bytes as the
// UTF-8 characters they form or else through the code page too, "\uN" as
// the character itself with the fallback after it skipped.
// A "\uN" outside the 16-bit range it is written in is no character: its
// fallback shows instead. Paragraph and line marks, table cells and rows
// are breaks; destinations that hold no body text (headers, pictures,
// fields' instructions, "\*" groups) are skipped, and so is hidden text.

enum TRichAlign { raLeft, raRight, raCenter };

// The character formatting in force. Fonts and colours are the document's
// numbers; 0 or -1 mean the cell's own.
struct TRichCharFormat {
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  int Font = -1;       // \fN
  int HalfPoints = 0;  // \fsN
  int Colour = 0;      // \cfN, into the colour table
  bool operator==(const TRichCharFormat&) const = default;
};

enum TRichEventKind { reText, reBreak, reAlign };

struct TRichEvent {
  TRichEventKind Kind = reText;
  std::string Text;  // reText: one format's text, never empty
  TRichCharFormat Format;
  TRichAlign Align = raLeft;  // reAlign: the paragraphs from here on
};

class TRichTextReader {
 public:
  explicit TRichTextReader(std::string_view document);
  TRichTextReader(const TRichTextReader&) = delete;
  TRichTextReader& operator=(const TRichTextReader&) = delete;

  // The next piece; false once the document has ended.
  bool Next(TRichEvent& event);

  // The tables as read so far; they come before the text that uses them.
  // A colour of the document's table, none for the automatic one or an
  // index past the table; a font's name, empty for a number not in it.
  std::optional<TColor> Colour(int index) const;
  std::string_view FontName(int number) const;

 private:
  enum TDestination { dBody, dSkipped, dFontTable, dColourTable };
  struct TGroupState {
    TRichCharFormat Format;
    TRichAlign Align = raLeft;
    TDestination Destination = dBody;
    bool Hidden = false;
    int FallbackCount = 1;  // \ucN: characters after each \uN for old readers
  };
  struct TControlWord {
    std::string_view Name;
    long long Parameter = 0;
    bool HasParameter = false;
  };

  void ReadToken();
  void ReadBareByte(char c);
  void EmitPlainRun();
  void OpenGroup();
  void CloseGroup();
  void ReadControl();
  TControlWord ReadControlWord();
  void ReadParameter(TControlWord& word);
  void ApplyControlWord(const TControlWord& word);
  bool ApplyFormatting(TRichWordKind kind, const TControlWord& word);
  bool ApplyTableWord(TRichWordKind kind, const TControlWord& word);
  bool ApplyDocumentWord(TRichWordKind kind, const TControlWord& word);
  void ApplyControlSymbol(char symbol);
  void ReadHexByte();
  void SkipBinary(const TControlWord& word);
  void ReadUnicode(const TControlWord& word);
  void EmitUnicode(long long code);
  void FlushHighSurrogate();
  void Emit(std::string_view utf8);
  void EmitBreak();
  void EmitCodePageByte(unsigned char byte);
  void TakeTableText(std::string_view utf8);
  void EndTableEntry();
  void NameFont(int number, std::string_view name);
  void FlushText();
  void NoteAlign();
  void ResetCharFormat();

  // The groups, pieces and tables of a cell's document fit in this room, so
  // that a column of them is read without a call to the heap; a larger
  // document takes more from it, all given back when the reader goes.
  static constexpr std::size_t kRoomBytes = 1024;
  std::array<std::byte, kRoomBytes> room_;
  std::pmr::monotonic_buffer_resource memory_{room_.data(), room_.size()};

  std::string_view doc_;
  std::size_t pos_ = 0;
  int codePage_ = 1252;
  int defaultFont_ = -1;

  TGroupState state_;
  std::pmr::vector<TGroupState> saved_{&memory_};
  std::size_t unsavedDepth_ = 0;
  int pendingFallback_ = 0;
  long long highSurrogate_ = 0;  // waiting for its low half

  std::string text_;  // of one format, not yet handed out
  TRichCharFormat textFormat_;
  TRichAlign announcedAlign_ = raLeft;
  std::pmr::vector<TRichEvent> ready_{&memory_};
  std::size_t nextReady_ = 0;

  std::pmr::vector<std::optional<TColor>> colours_{&memory_};
  int red_ = -1, green_ = -1, blue_ = -1;
  using TFontEntry = std::pair<int, std::string>;
  std::pmr::vector<TFontEntry> fonts_{&memory_};  // by number
  int fontNumber_ = -1;
  std::string fontName_;
};

}  // namespace kelvora
