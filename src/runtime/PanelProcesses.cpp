#include "runtime/PanelProcesses.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <limits>
#include <system_error>

#include "platform/Paths.h"

namespace vantrel {

namespace {

const char* const kPopOutProgram = "Popwarden.exe";

}  // namespace

bool parseProcessHandle(const std::string& text, ProcessHandle& handle) {
  const char* first = text.data();
  const char* last = first + text.size();
  const auto r = std::from_chars(first, last, handle);
  return r.ec == std::errc() && r.ptr == last && handle != 0;
}

void launchProcess(Platform& platform, const std::string& commandLine,
                   std::vector<std::string>& processList) {
  const ProcessHandle handle = platform.createProcess(commandLine);
  if (handle != 0) processList.push_back(std::to_string(handle));
}

void terminateProcesses(Platform& platform, std::vector<std::string>& processList) {
  // Every process is told to end before any handle is let go of, so they die together.
  std::vector<ProcessHandle> handles;
  handles.reserve(processList.size());
  for (const std::string& entry : processList) {
    ProcessHandle handle = 0;
    if (!parseProcessHandle(entry, handle)) continue;
    handles.push_back(handle);
    try {
      platform.terminateProcess(handle, 0);
    } catch (...) {
      // One failure must not keep the rest alive.
    }
  }
  for (ProcessHandle handle : handles) {
    try {
      platform.closeProcess(handle);
    } catch (...) {
    }
  }
  processList.clear();
}

bool popOutTick(Platform& platform, const std::string& appPath, std::int32_t interval,
                std::int32_t maximum, std::int32_t& elapsed) {
  const std::string program = appPath + kPopOutProgram;
  std::error_code ec;
  if (std::filesystem::exists(fsPath(program), ec)) platform.shellOpen(program);

  // Added wide and held at the top, so a huge interval cannot wrap the count below the limit.
  const std::int64_t sum = static_cast<std::int64_t>(elapsed) + interval;
  elapsed = static_cast<std::int32_t>(
      std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
  return !(elapsed > maximum || sum > std::numeric_limits<std::int32_t>::max());
}

}  // namespace vantrel
