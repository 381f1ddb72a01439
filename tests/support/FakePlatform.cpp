#include "support/FakePlatform.h"

#include <chrono>
#include <cstdio>

namespace vantrel::test {

std::vector<std::string> FakePlatform::startedCommandLines() const {
  std::vector<std::string> out;
  for (const auto& p : processes) out.push_back(p.commandLine);
  return out;
}

std::vector<const FakePlatform::Process*> FakePlatform::runningProcesses() const {
  std::vector<const Process*> out;
  for (const auto& p : processes)
    if (p.running) out.push_back(&p);
  return out;
}

std::optional<std::string> FakePlatform::environment(const std::string& name) {
  auto it = env.find(name);
  if (it == env.end()) return std::nullopt;
  return it->second;
}

void FakePlatform::sleepMs(int ms) {
  sleeps.push_back(ms);
  clock += ms;
  log.push_back("sleep " + std::to_string(ms));
}

ProcessHandle FakePlatform::createProcess(const std::string& commandLine) {
  if (!canStart(commandLine)) {
    log.push_back("failed " + commandLine);
    return 0;
  }
  Process p;
  p.handle = next_++;
  p.commandLine = commandLine;
  processes.push_back(p);
  log.push_back("start " + commandLine);
  return p.handle;
}

bool FakePlatform::terminateProcess(ProcessHandle handle, std::uint32_t exitCode) {
  terminated.push_back(handle);
  log.push_back("terminate " + std::to_string(handle) + " " + std::to_string(exitCode));
  for (auto& p : processes)
    if (p.handle == handle && p.running) {
      p.running = false;
      return true;
    }
  return false;
}

void FakePlatform::closeProcess(ProcessHandle handle) {
  for (auto& p : processes)
    if (p.handle == handle) p.closed = true;
}

std::optional<ProcessIdentity> FakePlatform::processIdentity(ProcessHandle handle) {
  for (const auto& p : processes)
    if (p.handle == handle && p.running)
      return ProcessIdentity{static_cast<std::int64_t>(handle), "boot:" + std::to_string(handle),
                             p.commandLine.substr(0, p.commandLine.find(' '))};
  return std::nullopt;
}

bool FakePlatform::isRunning(const ProcessIdentity& identity) {
  if (identity == self) return true;
  for (const auto& f : foreign)
    if (f == identity) return true;
  for (const auto& p : processes)
    if (processIdentity(p.handle) == identity) return true;
  return false;
}

std::size_t FakePlatform::endLeftovers(const std::vector<ProcessIdentity>& leftovers) {
  log.push_back("end leftovers " + std::to_string(leftovers.size()));
  std::size_t ended = 0;
  for (const auto& id : leftovers)
    for (auto it = foreign.begin(); it != foreign.end(); ++it)
      if (*it == id) {
        foreign.erase(it);
        ++ended;
        break;
      }
  return ended;
}

bool FakePlatform::shellOpen(const std::string& target) {
  shellOpened.push_back(target);
  log.push_back("open " + target);
  return true;
}

void FakePlatform::setExecutionState(std::uint32_t flags) {
  executionStates.push_back(flags);
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%08X", flags);
  log.push_back(std::string("execution ") + buf);
}

void FakePlatform::setScreenSaverActive(bool active) {
  screenSaver = active;
  screenSaverSets.push_back(active);
  log.push_back(active ? "screensaver on" : "screensaver off");
}

void FakePlatform::showDesktopIcons(bool show) {
  desktopIconCalls.push_back(show);
  log.push_back(show ? "icons show" : "icons hide");
}

void FakePlatform::minimizeAllWindows() {
  ++minimizeAllCount;
  log.push_back("minimize all");
}

namespace {

class FakeReceiver : public MulticastReceiver {
 public:
  FakeReceiver(std::shared_ptr<FakePlatform::Multicast> state, int bufferSize)
      : state_(std::move(state)), bufferSize_(bufferSize) {}
  ~FakeReceiver() override {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->closed = true;
  }
  Wait receive(std::string& bytes, int timeoutMs) override {
    std::unique_lock<std::mutex> lock(state_->mutex);
    ++state_->receives;
    state_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [this] { return state_->interrupted || !state_->queued.empty(); });
    if (state_->interrupted) return Wait::Interrupted;
    if (state_->queued.empty()) return Wait::Timeout;
    std::string next = std::move(state_->queued.front());
    state_->queued.pop_front();
    if (next.size() > static_cast<std::size_t>(bufferSize_)) return Wait::Discarded;
    bytes = std::move(next);
    return Wait::Datagram;
  }
  void interrupt() override {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->interrupted = true;
    state_->changed.notify_all();
  }
  void leaveGroup() override {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->left = true;
  }

 private:
  std::shared_ptr<FakePlatform::Multicast> state_;
  int bufferSize_;
};

}  // namespace

void FakePlatform::deliverDatagram(const std::string& bytes) {
  std::lock_guard<std::mutex> lock(multicast->mutex);
  multicast->queued.push_back(bytes);
  multicast->changed.notify_all();
}

std::unique_ptr<MulticastReceiver> FakePlatform::openMulticastReceiver(const std::string& group,
                                                                      int port, int bufferSize) {
  multicastOpens.push_back({group, port, bufferSize});
  log.push_back("join " + group + ":" + std::to_string(port));
  if (multicastOpenFails) return nullptr;
  if (realNetwork) return realNetwork->openMulticastReceiver(group, port, bufferSize);
  return std::make_unique<FakeReceiver>(multicast, bufferSize);
}

std::string FakePlatform::sendMulticast(const std::string& group, int port,
                                        const std::string& bytes) {
  multicastSent.push_back(group + ":" + std::to_string(port) + " " + bytes);
  return realNetwork ? realNetwork->sendMulticast(group, port, bytes) : "";
}

}  // namespace vantrel::test
