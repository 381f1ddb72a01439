#pragma once
// The keep-awake object: keeps the computer from sleeping while a panel runs.
#include "platform/Platform.h"

namespace vantrel {

class TSystemCritical {
 public:
  // Off, and no platform call.
  explicit TSystemCritical(Platform& platform) : platform_(platform) {}
  virtual ~TSystemCritical() = default;

  bool IsCritical() const { return FIsCritical; }
  // A change stores the value, then calls UpdateExecutionState; an equal value does nothing.
  void setIsCritical(bool value);

 protected:
  virtual void UpdateExecutionState(bool critical);

 private:
  Platform& platform_;
  bool FIsCritical = false;
};

}  // namespace vantrel
