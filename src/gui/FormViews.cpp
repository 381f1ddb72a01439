#include "gui/FormViews.h"

#include <QDebug>

namespace vantrel::gui {

ModalResult showFormView(TForm& form, QWidget* /*parent*/, QtUi& /*ui*/) {
  // Each dialog model gets its view here as it is built.
  qWarning("no view for form %s", form.Name.c_str());
  return ModalResult::Cancel;
}

}  // namespace vantrel::gui
