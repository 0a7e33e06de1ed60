#include "ui/qt/FileDialogs.h"

#include <QRegularExpression>

namespace zr::qt {

QStringList toQtNameFilters(const std::string& filter) {
  QStringList out;
  QStringList parts = QString::fromStdString(filter).split('|');
  // "Text Files|*.txt|" ends the last pair; it does not start another.
  if (parts.size() > 1 && parts.size() % 2 == 1 && parts.last().trimmed().isEmpty()) parts.removeLast();
  if (filter.empty()) return out;
  for (int i = 0; i < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    QStringList patterns = i + 1 < parts.size() ? parts[i + 1].split(';', Qt::SkipEmptyParts) : QStringList{"*"};
    for (QString& p : patterns) {
      p = p.trimmed();
      if (p == "*.*") p = "*";  // every file, with or without a dot
    }
    // Qt reads the patterns from the parentheses, so they must be ours.
    description.remove(QRegularExpression(R"(\s*\([^)]*\)\s*$)"));
    if (description.isEmpty()) description = patterns.join(' ');
    out << QStringLiteral("%1 (%2)").arg(description, patterns.join(' '));
  }
  return out;
}

}  // namespace zr::qt
