#pragma once
// Finds the view that draws a form model and shows it modally.
#include <QWidget>

#include "platform/Forms.h"

namespace vantrel::gui {

class QtUi;
ModalResult showFormView(TForm& form, QWidget* parent, QtUi& ui);

}  // namespace vantrel::gui
