#include "runtime/SystemCritical.h"

namespace vantrel {

void TSystemCritical::setIsCritical(bool value) {
  if (value == FIsCritical) return;
  FIsCritical = value;
  UpdateExecutionState(value);
}

void TSystemCritical::UpdateExecutionState(bool critical) {
  platform_.setExecutionState(critical ? (ES_CONTINUOUS | ES_SYSTEM_REQUIRED) : ES_CONTINUOUS);
}

}  // namespace vantrel
