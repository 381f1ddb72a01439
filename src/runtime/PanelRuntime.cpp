// Starting and stopping the loaded panel.
#include "app/TfrmMain.h"

namespace vantrel {

void TfrmMain::aStartPanelExecute() { SetRunningState(true); }
void TfrmMain::aStopPanelExecute() { SetRunningState(false); }
void TfrmMain::TimerXPlanePopOutsTimer() {}

}  // namespace vantrel
