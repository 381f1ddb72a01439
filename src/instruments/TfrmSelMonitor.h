#pragma once
// The Select Monitor dialog of Send To: monitors "1" to N.
#include "platform/Forms.h"

namespace vantrel {

class TfrmSelMonitor : public TForm {
 public:
  TfrmSelMonitor();

  TLabel lInfo;
  TGroupBox gbMonitor;
  TLabel lMonitor;
  TComboBox cbMonitor;
  TButton btnOK;  // the default button
  TButton btnCancel;

  // Entries "1" .. monitorCount, the first selected.
  void fillMonitorList(int monitorCount);
};

}  // namespace vantrel
