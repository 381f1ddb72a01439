// Commands whose subsystems are not built yet: they do nothing so far.
#include "app/TfrmMain.h"

namespace vantrel {

void TfrmMain::aSendToMonitorExecute() {}
void TfrmMain::aAddInstrumentExecute() {}
void TfrmMain::a3rdPartyExecute() {}
void TfrmMain::aEditInstrumentExecute() {}
void TfrmMain::aDeleteInstrumentExecute() {}
void TfrmMain::aResetPosExecute() {}
void TfrmMain::aExportExecute() {}
void TfrmMain::aImportExecute() {}
void TfrmMain::lvInstrumentsDblClick() {}

}  // namespace vantrel
