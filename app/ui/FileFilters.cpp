#include "app/ui/FileFilters.h"

namespace orlisk {

QStringList QtNameFilters(const std::string& windowsFilter) {
  const QStringList parts = QString::fromStdString(windowsFilter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString label = parts[i].trimmed();
    const QString patternText = i + 1 < parts.size() ? parts[i + 1] : QString();
    if (label.isEmpty() && patternText.trimmed().isEmpty()) continue;  // a trailing "|"
    QStringList patterns;
    for (const QString& pattern : patternText.split(QLatin1Char(';'))) {
      const QString trimmed = pattern.trimmed();
      if (trimmed.isEmpty()) continue;
      patterns << (trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
    }
    if (patterns.isEmpty()) patterns << QStringLiteral("*");
    filters << QStringLiteral("%1 (%2)").arg(label, patterns.join(QLatin1Char(' ')));
  }
  return filters;
}

}  // namespace orlisk
