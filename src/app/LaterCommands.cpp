// Commands whose subsystems are not built yet: they do nothing so far.
#include "app/TfrmMain.h"

namespace vantrel {

void TfrmMain::aExportExecute() {}
void TfrmMain::aImportExecute() {}

}  // namespace vantrel
