#include "toolkit/saved_widths.h"

#include <QSettings>
#include <QStringList>

namespace kelvora {
namespace {

constexpr int kWidestColumn = 1 << 20;

constexpr const char* kOrganization = "Kelvora";
constexpr const char* kApplication = "Kelvora";

QString Key(const std::string& key) { return "ColumnWidths/" + QString::fromStdString(key); }

}  // namespace

std::optional<std::vector<int>> LoadSavedWidths(const std::string& key, int expectedCount) {
  const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kOrganization, kApplication);
  const QStringList texts = settings.value(Key(key)).toString().split(',', Qt::SkipEmptyParts);
  if (texts.size() != expectedCount) return std::nullopt;
  std::vector<int> widths;
  for (const QString& text : texts) {
    bool ok = false;
    const int width = text.trimmed().toInt(&ok);
    if (!ok || width < 0 || width > kWidestColumn) return std::nullopt;
    widths.push_back(width);
  }
  return widths;
}

void SaveWidths(const std::string& key, const std::vector<int>& widths) {
  QStringList texts;
  for (int width : widths) texts.push_back(QString::number(width));
  QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kOrganization, kApplication);
  settings.setValue(Key(key), texts.join(','));
}

}  // namespace kelvora
