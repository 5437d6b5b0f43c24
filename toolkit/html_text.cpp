#include "toolkit/html_text.h"

#include <QList>
#include <QString>

#include <cstdio>

#include "toolkit/byte_text.h"

namespace kelvora {
namespace {

bool IsPlainAscii(std::string_view bytes) {
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x7F || byte < 0x20 || c == '&' || c == '<' || c == '>' || c == '"' || c == '\'') return false;
  }
  return true;
}

void AppendCharacter(std::string& out, char32_t c, bool lineBreaks) {
  switch (c) {
    case '&': out += "&amp;"; return;
    case '<': out += "&lt;"; return;
    case '>': out += "&gt;"; return;
    case '"': out += "&quot;"; return;
    case '\'': out += "&#39;"; return;
    case '\n': out += lineBreaks ? "<br/>" : " "; return;
    default: break;
  }
  const bool control = (c < 0x20 && c != '\t') || (c >= 0x7F && c < 0xA0);
  if (!control) AppendUtf8(out, c);
}

}  // namespace

// Most cells are a few plain letters and digits: they go out as they are.
void AppendHtmlText(std::string& out, std::string_view bytes, bool lineBreaks) {
  if (IsPlainAscii(bytes)) {
    out.append(bytes);
    return;
  }
  const QString text = DisplayText(bytes);
  const auto characters = text.toUcs4();
  for (qsizetype i = 0; i < characters.size(); ++i) {
    const char32_t c = characters[i];
    // A CR LF is one line break; a lone CR is one too.
    if (c == '\r') {
      if (i + 1 < characters.size() && characters[i + 1] == '\n') ++i;
      AppendCharacter(out, '\n', lineBreaks);
      continue;
    }
    AppendCharacter(out, c, lineBreaks);
  }
}

std::string HtmlColor(TColor color) {
  const TColor rgb = ColorToRGB(color);
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(rgb & 0xFF),
                static_cast<unsigned>((rgb >> 8) & 0xFF), static_cast<unsigned>((rgb >> 16) & 0xFF));
  return text;
}

}  // namespace kelvora
