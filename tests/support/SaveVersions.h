#pragma once
// The two versions of three files that the kill-during-saves stress test and its helper
// program (helpers/save_loop.cpp) write through the program's writers: the instrument list
// and panel file of panel "Stress", and the settings file. Large enough that a kill often
// lands inside a write.
#include <string>

#include "app/Settings.h"
#include "store/Panel.h"

namespace vantrel::test {

inline const char* const kStressPanel = "Stress";

InstrumentList stressList(int version);
Settings stressSettings(int version);
std::string stressPanelComment(int version);

// Writes every file of version (0 or 1): the list whole, the panel file's one key, and the
// thirteen network settings one key after the other, each write on its own.
void saveVersion(const std::string& iniPath, const std::string& settingsPath, int version);

}  // namespace vantrel::test
