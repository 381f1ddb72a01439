#pragma once
// Which local IPv4 address the instruments of a starting panel are told.
#include <functional>
#include <string>

#include "net/TfrmSelAdapter.h"
#include "platform/Platform.h"
#include "platform/Ui.h"

namespace vantrel {

// Lists the host's addresses and settles localAddress: the only one (storing "Auto"),
// the user's choice among several when it is "Auto" (storing the choice), else the stored
// value as it is. store keeps the adapter address for the next run. With no address it
// shows the message and returns false.
bool resolveLocalAddress(Platform& platform, Ui& ui, TfrmSelAdapter& dialog,
                         const std::function<void(const std::string&)>& store,
                         std::string& localAddress);

}  // namespace vantrel
