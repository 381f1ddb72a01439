#pragma once
// The sizes the forms give are the least a window or control takes: it grows to what its
// captions need at the font in use, so no caption is cut.
#include <QLayout>
#include <QWidget>
#include <algorithm>

namespace vantrel::gui {

inline QSize atLeast(QWidget* w, int width, int height) {
  if (QLayout* l = w->layout()) l->activate();
  const QSize need = w->minimumSizeHint();
  return {std::max(width, need.width()), std::max(height, need.height())};
}

// setFixedSize(width, height), grown to the window's needs.
inline void fixSizeAtLeast(QWidget* w, int width, int height) { w->setFixedSize(atLeast(w, width, height)); }

}  // namespace vantrel::gui
