// The calculation page's accessible texts, from the reading of the current line and the status line.
#include "ui/screen/PageAccess.h"

#include <QAccessible>
#include <QWidget>

#include "screen/ReadAloud.h"
#include "screen/sikiInp.h"

void UpdatePageAccessibility(QWidget* page) {
  if (!page) return;
  std::string line = CurrentLineReading().display;
  const QString name = QString::fromStdString(line.empty() ? "計算の行: (空)" : "計算の行: " + line);
  const QString description = QString::fromStdString(StatusText);
  if (page->accessibleName() != name) {
    page->setAccessibleName(name);
    QAccessibleEvent e(page, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&e);
  }
  if (page->accessibleDescription() != description) {
    page->setAccessibleDescription(description);
    QAccessibleEvent e(page, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&e);
  }
}
