#include "support/FakePlatform.h"

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

}  // namespace vantrel::test
