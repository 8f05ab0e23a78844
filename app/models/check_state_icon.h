#pragma once
// The icon of a check state (fine, warning, error) as the table generation
// page shows it on its schedules, its messages and its "Generate" button.

#include <QApplication>
#include <QIcon>
#include <QStyle>

#include "tablegen/table_generation.h"

namespace kv::app {

// No icon for a fine state; an error wins over a warning.
inline QIcon CheckStateIcon(int state, const QStyle* style = QApplication::style()) {
  if (state & kCheckError) return style->standardIcon(QStyle::SP_MessageBoxCritical);
  if (state & kCheckWarning) return style->standardIcon(QStyle::SP_MessageBoxWarning);
  return {};
}

}  // namespace kv::app
