#pragma once
// What every view shares: text in Qt's form, widgets named after their controls, a widget
// following its control model, and a dialog shown centred on the window it belongs to.
#include <QDialog>
#include <QLineEdit>
#include <QString>
#include <QWidget>
#include <string>

#include "platform/Forms.h"

class QButtonGroup;
class QGroupBox;

namespace vantrel::gui {

inline QString q(const std::string& s) { return QString::fromStdString(s); }

template <class W>
W* named(W* w, const std::string& name) {
  w->setObjectName(q(name));
  return w;
}

inline void follow(QWidget* w, const TControl& c) {
  w->setVisible(c.Visible);
  w->setEnabled(c.Enabled);
}

inline void draw(QLineEdit* w, const TEdit& e) {
  // Only a real change is written, so the cursor stays where the user left it.
  if (w->text() != q(e.Text)) w->setText(q(e.Text));
  w->setReadOnly(e.ReadOnly);
  follow(w, e);
}

// A captioned box of radio buttons for a radio group, filled column by column as the
// group lays its items out; the buttons' ids are the item indexes. A negative spacing
// keeps the style's own.
QGroupBox* radioGroup(const TRadioGroup& r, QButtonGroup*& buttons, QWidget* owner,
                      int verticalSpacing = -1);

// A fixed-size tool window.
constexpr Qt::WindowFlags kFixedToolWindow = Qt::Tool | Qt::MSWindowsFixedSizeDialogHint |
                                             Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                             Qt::CustomizeWindowHint;

// Centres the dialog on its parent, when it has one, and runs it.
inline int execCentred(QDialog& dialog, QWidget* parent) {
  if (parent) dialog.move(parent->geometry().center() - dialog.rect().center());
  return dialog.exec();
}

}  // namespace vantrel::gui
