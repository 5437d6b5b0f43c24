#include "toolkit/editors/widget_editor_text.h"

#include <QLocale>
#include <QString>

#include <array>
#include <cmath>

namespace kelvora {
namespace {

QString Trimmed(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed(); }

}  // namespace

std::optional<int> IntegerOf(std::string_view text) {
  const QString trimmed = Trimmed(text);
  bool ok = false;
  const int value = trimmed.toInt(&ok);
  if (!ok) return std::nullopt;
  return value;
}

std::optional<TDecimal> DecimalOf(std::string_view text) {
  QString trimmed = Trimmed(text);
  const bool comma = trimmed.contains(u',');
  if (comma && trimmed.contains(u'.')) return std::nullopt;
  if (comma) trimmed.replace(u',', u'.');
  bool ok = false;
  const double value = QLocale::c().toDouble(trimmed, &ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return TDecimal{value, comma ? ',' : '.'};
}

std::string DecimalText(double value, char separator) {
  QString text = QLocale::c().toString(value, 'g', 15);
  if (separator == ',') text.replace(u'.', u',');
  return text.toStdString();
}

std::optional<TTimeText> TimeOf(std::string_view text) {
  const QString trimmed = Trimmed(text);
  for (const bool seconds : {true, false}) {
    const QTime time = QTime::fromString(trimmed, seconds ? QStringLiteral("H:mm:ss") : QStringLiteral("H:mm"));
    if (time.isValid()) return TTimeText{time, seconds};
  }
  return std::nullopt;
}

std::string TimeText(const TTimeText& time) {
  return time.Time.toString(time.Seconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm")).toStdString();
}

// Month names are English, as mail and news headers write them, whatever
// the desktop's language.
std::optional<TDateText> DateOf(std::string_view text) {
  const QString trimmed = Trimmed(text);
  static const std::array<QString, 4> formats = {QStringLiteral("yyyy-MM-dd"), QStringLiteral("d.M.yyyy"),
                                                 QStringLiteral("d/M/yyyy"), QStringLiteral("d MMM yyyy")};
  for (const QString& format : formats) {
    const QDate date = QLocale::c().toDate(trimmed, format);
    if (date.isValid()) return TDateText{date, format};
  }
  return std::nullopt;
}

std::string DateText(const TDateText& date) { return QLocale::c().toString(date.Date, date.Format).toStdString(); }

TCheckWords CheckWordsOf(std::string_view text) {
  struct TPair {
    const char* on;
    const char* off;
  };
  static constexpr TPair pairs[] = {{"1", "0"}, {"true", "false"}, {"yes", "no"}, {"on", "off"}, {"x", ""}};
  const QString trimmed = Trimmed(text);
  for (const TPair& pair : pairs) {
    const bool on = trimmed.compare(QLatin1String(pair.on), Qt::CaseInsensitive) == 0;
    const bool off = trimmed.compare(QLatin1String(pair.off), Qt::CaseInsensitive) == 0;
    if (!on && !off) continue;
    // The case the cell uses for one word is the case of both.
    const bool upper = !trimmed.isEmpty() && trimmed == trimmed.toUpper() && trimmed != trimmed.toLower();
    const bool title = !upper && !trimmed.isEmpty() && trimmed[0].isUpper();
    const auto shaped = [&](const char* word) {
      QString w = QLatin1String(word);
      if (upper) w = w.toUpper();
      else if (title && !w.isEmpty()) w[0] = w[0].toUpper();
      return w.toStdString();
    };
    return {on, shaped(pair.on), shaped(pair.off)};
  }
  return {};
}

bool IsValueChar(char32_t ch) { return (ch >= U'0' && ch <= U'9') || ch == U',' || ch == U'-' || ch == U'.'; }

TValueUnit SplitUnit(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && IsValueChar(static_cast<unsigned char>(text[end]))) ++end;
  std::size_t unit = end;
  while (unit < text.size() && text[unit] == ' ') ++unit;
  return {std::string(text.substr(0, end)), std::string(text.substr(unit))};
}

std::string JoinUnit(const TValueUnit& parts) {
  if (parts.Value.empty() || parts.Unit.empty()) return parts.Value + parts.Unit;
  return parts.Value + " " + parts.Unit;
}

}  // namespace kelvora
