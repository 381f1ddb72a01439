#pragma once
// The run-state file in the data folder: which processes the running panel started, so
// that the next Start can end what a killed or crashed manager left running (a second
// copy of an instrument on the same ports would fight the first). Written at Start,
// removed at Stop; a manager that ends otherwise leaves its instruments running.
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vantrel {

struct RunState {
  std::optional<ProcessIdentity> manager;  // the manager that started them
  std::vector<ProcessIdentity> processes;
};

std::string runStatePath(const std::string& dataFolder);
// One line per process, tab-separated; tabs, line breaks and "%" inside a field are
// written as %XX.
std::string runStateText(const RunState& state);
// Lines that cannot be read are passed over.
RunState parseRunState(const std::string& text);
// False when there is no file (or it cannot be read).
bool readRunState(const std::string& dataFolder, RunState& state);
// Replaces the file atomically; throws "Unable to write to %s" on failure.
void writeRunState(const std::string& dataFolder, const RunState& state);
void removeRunState(const std::string& dataFolder);

// Records the running processes of processList (handles as text) and the manager itself.
// A failure to write is passed over: the panel runs either way.
void recordRunState(Platform& platform, const std::string& dataFolder,
                    const std::vector<std::string>& processList);
// Ends the processes the file names whose number, start time and program still match,
// then removes the file. Left alone while the manager that wrote it still runs (a second
// manager on the same data folder). Returns how many were ended.
std::size_t endLeftoverProcesses(Platform& platform, const std::string& dataFolder);

}  // namespace vantrel
