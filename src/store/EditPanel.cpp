// The Edit Panel command.
#include "app/TfrmMain.h"

namespace vantrel {

void TfrmMain::aEditSettingsExecute() {}

}  // namespace vantrel
