// Commands whose subsystems are not built yet: they do nothing so far.
#include "app/TfrmMain.h"

namespace vantrel {

void TfrmMain::aPortNumberExecute() {}
void TfrmMain::StartListener() {}
void TfrmMain::StopListener() {}

}  // namespace vantrel
