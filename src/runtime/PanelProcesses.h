#pragma once
// The processes of a running panel and the pop-out watcher's tick.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vantrel {

// A handle as processList keeps it (unsigned decimal, never 0).
bool parseProcessHandle(const std::string& text, ProcessHandle& handle);

// Starts a command line; a started process's handle goes into processList as unsigned
// decimal text. A program that cannot be started is skipped silently.
void launchProcess(Platform& platform, const std::string& commandLine,
                   std::vector<std::string>& processList);

// Ends every process of processList, then lets go of their handles, and empties the list.
// Entries that are no handle are passed over; one failure never keeps the rest alive.
void terminateProcesses(Platform& platform, std::vector<std::string>& processList);

// One tick of the pop-out watcher: runs Popwarden.exe from appPath when it is there and
// adds interval to elapsed. Returns false once the watcher should stop.
bool popOutTick(Platform& platform, const std::string& appPath, std::int32_t interval,
                std::int32_t maximum, std::int32_t& elapsed);

}  // namespace vantrel
