#include "grid/render/markup_html.h"

#include <algorithm>
#include <vector>

#include "grid/render/markup_colour.h"
#include "grid/render/markup_parse.h"
#include "toolkit/ascii_case.h"
#include "toolkit/html_text.h"

namespace kelvora {
namespace {

constexpr std::size_t kDeepestNesting = 64;
constexpr std::size_t kLongestFace = 64;

const char* ElementOf(TMarkupTagKind kind) {
  switch (kind) {
    case mtBold: return "b";
    case mtItalic: return "i";
    case mtUnderline: return "u";
    case mtStrikeOut: return "s";
    case mtSubscript: return "sub";
    case mtSuperscript: return "sup";
    case mtParagraph: return "p";
    case mtList: return "ul";
    case mtListItem: return "li";
    case mtFont: return "span";
    case mtLink: return "a";
    default: return nullptr;
  }
}

bool IsSafeLink(std::string_view target) {
  for (std::string_view scheme : {"http://", "https://", "mailto:"})
    if (target.size() > scheme.size() && StartsWithIgnoringAsciiCase(target, scheme)) return true;
  return false;
}

bool IsPlainFace(std::string_view face) {
  return !face.empty() && face.size() <= kLongestFace && std::all_of(face.begin(), face.end(), [](char c) {
           return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || c == '-';
         });
}

std::string FontStyle(const TMarkupTag& tag) {
  std::string style;
  if (const auto colour = MarkupColour(AttributeValue(tag, "color"))) style += "color:" + HtmlColor(*colour) + ";";
  if (const auto colour = MarkupColour(AttributeValue(tag, "bgcolor")))
    style += "background-color:" + HtmlColor(*colour) + ";";
  const std::string_view face = AttributeValue(tag, "face");
  if (IsPlainFace(face)) style += "font-family:'" + std::string(face) + "';";
  const std::string_view size = AttributeValue(tag, "size");
  if (!size.empty()) style += "font-size:" + std::to_string(std::clamp(MarkupNumber(size), 1, 72)) + "pt;";
  return style;
}

class THtmlFromMarkup {
 public:
  std::string Take() {
    while (!open_.empty()) Close();
    return std::move(out_);
  }

  void Word(std::string_view word) {
    if (hidden_ > 0) return;
    decoded_.clear();
    AppendDecodedWord(decoded_, word);
    AppendHtmlText(out_, decoded_, true);
  }

  void Tag(const TMarkupTag& tag) {
    if (tag.Kind == mtHidden) hidden_ += tag.Closing ? (hidden_ > 0 ? -1 : 0) : 1;
    else if (tag.Kind == mtBreak && !tag.Closing) out_ += "<br/>";
    else if (tag.Kind == mtRule && !tag.Closing) out_ += "<hr/>";
    else if (tag.Kind == mtScripts && tag.Closing) CloseUpTo(mtSubscript), CloseUpTo(mtSuperscript);
    else if (ElementOf(tag.Kind) && tag.Closing) CloseUpTo(tag.Kind);
    else if (ElementOf(tag.Kind)) Open(tag);
  }

 private:
  void Open(const TMarkupTag& tag) {
    if (open_.size() >= kDeepestNesting) return;
    out_ += '<';
    out_ += ElementOf(tag.Kind);
    if (tag.Kind == mtLink) AppendLinkTarget(tag);
    if (tag.Kind == mtFont) AppendStyle(FontStyle(tag));
    out_ += '>';
    open_.push_back(tag.Kind);
  }

  void AppendLinkTarget(const TMarkupTag& tag) {
    const std::string_view target = AttributeValue(tag, "href");
    if (!IsSafeLink(target)) return;
    out_ += " href=\"";
    AppendHtmlText(out_, target, false);
    out_ += '"';
  }

  void AppendStyle(const std::string& style) {
    if (style.empty()) return;
    out_ += " style=\"";
    AppendHtmlText(out_, style, false);
    out_ += '"';
  }

  // Elements opened inside the one that closes are closed with it.
  void CloseUpTo(TMarkupTagKind kind) {
    if (std::find(open_.begin(), open_.end(), kind) == open_.end()) return;
    while (open_.back() != kind) Close();
    Close();
  }

  void Close() {
    out_ += "</";
    out_ += ElementOf(open_.back());
    out_ += '>';
    open_.pop_back();
  }

  std::string out_;
  std::string decoded_;
  std::vector<TMarkupTagKind> open_;
  int hidden_ = 0;
};

}  // namespace

std::string MarkupToHtml(std::string_view markup) {
  THtmlFromMarkup html;
  TMarkupScanner scanner(markup);
  for (TMarkupPiece piece = scanner.Next(); piece.Kind != mpEnd; piece = scanner.Next()) {
    if (piece.Kind == mpWord) html.Word(piece.Word);
    else html.Tag(piece.Tag);
  }
  return html.Take();
}

}  // namespace kelvora
