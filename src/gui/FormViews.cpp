#include "gui/FormViews.h"

#include <QDebug>

#include "gui/Add3rdPartyView.h"
#include "gui/AddInstrumentView.h"
#include "gui/PanelSetupView.h"
#include "gui/SelAdapterView.h"
#include "gui/SelMonitorView.h"
#include "gui/SelPanelView.h"
#include "gui/SetPortView.h"

namespace vantrel::gui {

ModalResult showFormView(TForm& form, QWidget* parent, QtUi& /*ui*/) {
  // Each dialog model gets its view here as it is built.
  if (auto* setup = dynamic_cast<TfrmPanel*>(&form)) return showPanelSetup(*setup, parent);
  if (auto* adapters = dynamic_cast<TfrmSelAdapter*>(&form)) return showSelAdapter(*adapters, parent);
  if (auto* panels = dynamic_cast<TfrmSelPanel*>(&form)) return showSelPanel(*panels, parent);
  if (auto* add = dynamic_cast<TfrmAddInstrument*>(&form)) return showAddInstrument(*add, parent);
  if (auto* app = dynamic_cast<TfrmAdd3rdParty*>(&form)) return showAdd3rdParty(*app, parent);
  if (auto* monitors = dynamic_cast<TfrmSelMonitor*>(&form)) return showSelMonitor(*monitors, parent);
  if (auto* network = dynamic_cast<TfrmSetPort*>(&form)) return showSetPort(*network, parent);
  qWarning("no view for form %s", form.Name.c_str());
  return ModalResult::Cancel;
}

}  // namespace vantrel::gui
