#include "platform/Ui.h"

#include <algorithm>

namespace vantrel {

MonitorInfo boundingBox(const std::vector<MonitorInfo>& monitors) {
  if (monitors.empty()) return {};
  int l = monitors[0].left, t = monitors[0].top;
  int r = l + monitors[0].width, b = t + monitors[0].height;
  for (const auto& m : monitors) {
    l = std::min(l, m.left);
    t = std::min(t, m.top);
    r = std::max(r, m.left + m.width);
    b = std::max(b, m.top + m.height);
  }
  return {l, t, r - l, b - t};
}

}  // namespace vantrel
