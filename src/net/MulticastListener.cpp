#include "net/MulticastListener.h"

#include <chrono>
#include <deque>

#include "platform/Error.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "platform/Ui.h"

namespace vantrel {

const char* const kInvalidGroupMessage =
    "The supplied IP address is not a valid multicast address.";

// What the user-interface thread keeps of the hand-over. Only that thread touches it,
// except for the live flag, which stop clears.
struct MulticastListener::Delivery {
  Handler handler;
  MayHandle mayHandle;
  std::atomic<bool> live{true};
  std::deque<std::vector<CommandItem>> waiting;
  bool handling = false;

  // A command may open a dialog whose event loop hands over the next datagram while the
  // first is still being handled: that one waits its turn, so datagrams never interleave.
  void deliver(std::vector<CommandItem> items) {
    if (!live) return;
    waiting.push_back(std::move(items));
    drain();
  }

  void drain() {
    if (handling) return;
    handling = true;
    while (live && !waiting.empty() && (!mayHandle || mayHandle())) {
      std::vector<CommandItem> next = std::move(waiting.front());
      waiting.pop_front();
      try {
        handler(next);
      } catch (...) {
        // The handler reports its own failures; nothing may stop the hand-over.
      }
    }
    if (!live) waiting.clear();
    handling = false;
  }
};

MulticastListener::MulticastListener(Platform& platform, Ui& ui) : platform_(platform), ui_(ui) {}

MulticastListener::~MulticastListener() { stop(); }

void MulticastListener::start(const std::string& group, const std::string& portText,
                              Handler handler, MayHandle mayHandle) {
  if (active()) stop();
  if (!isMulticastGroup(group)) throw Error(kInvalidGroupMessage);
  const int port = strToInt(portText);
  receiver_ = platform_.openMulticastReceiver(group, port, static_cast<int>(kDatagramBufferSize));
  if (!receiver_) return;
  delivery_ = std::make_shared<Delivery>();
  delivery_->handler = std::move(handler);
  delivery_->mayHandle = std::move(mayHandle);
  stopping_ = false;
  thread_ = std::thread([this] { run(); });
}

void MulticastListener::resume() {
  if (delivery_ && delivery_->live) delivery_->drain();
}

void MulticastListener::stop() {
  if (!thread_.joinable()) return;
  delivery_->live = false;
  stopping_ = true;
  receiver_->interrupt();
  thread_.join();
  receiver_->leaveGroup();
  receiver_.reset();
  delivery_.reset();
}

void MulticastListener::run() {
  std::string bytes;
  while (!stopping_) {
    switch (receiver_->receive(bytes, kWaitMs)) {
      case MulticastReceiver::Wait::Datagram: {
        std::vector<CommandItem> items = parseDatagram(bytes);
        if (items.empty()) break;
        // The work holds the delivery state itself, so it is safe to run after a stop.
        ui_.runOnUiThread([delivery = delivery_, items = std::move(items)]() mutable {
          delivery->deliver(std::move(items));
        });
        break;
      }
      case MulticastReceiver::Wait::Interrupted:
        return;
      case MulticastReceiver::Wait::Failed:
        // A socket error that does not clear must not spin the thread.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        break;
      case MulticastReceiver::Wait::Timeout:
      case MulticastReceiver::Wait::Discarded:
        break;
    }
  }
}

}  // namespace vantrel
