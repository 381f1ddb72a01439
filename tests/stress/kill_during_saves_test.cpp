// Kills during saves: a helper saves the instrument list, the panel file and the settings
// file through the program's writers, over and over, and is killed with SIGKILL at random
// moments. After every kill each file must hold one whole version of every write.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "platform/Paths.h"
#include "store/InstrumentFile.h"
#include "store/PanelFolder.h"
#include "support/SaveVersions.h"
#include "support/TempDir.h"

extern char** environ;

namespace vantrel::test {
namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// Lines with their endings.
std::vector<std::string> linesOf(const std::string& bytes) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    end = end == std::string::npos ? bytes.size() : end + 1;
    out.push_back(bytes.substr(start, end - start));
    start = end;
  }
  return out;
}

// What the files of each version hold, as the writers leave them; written once in a folder
// of the test's own.
struct Versions {
  std::string list[2], panel[2];
  std::vector<std::string> settingsLines[2];
  Versions() {
    TempDir scratch;
    const std::string settings = scratch.file("vantrel.ini");
    for (int v = 0; v < 2; ++v) {
      saveVersion(scratch.str(), settings, v);
      list[v] = readFile(instrumentFilePath(scratch.str(), kStressPanel));
      panel[v] = readFile(panelFilePath(scratch.str(), kStressPanel));
      settingsLines[v] = linesOf(readFile(settings));
    }
  }
  // The settings are thirteen writes of one key each: every line holds one version's.
  bool settingsWhole(const std::string& bytes) const {
    const auto lines = linesOf(bytes);
    if (lines.size() != settingsLines[0].size()) return false;
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i] != settingsLines[0][i] && lines[i] != settingsLines[1][i]) return false;
    return true;
  }
};

pid_t startSaving(const std::string& iniPath, const std::string& settings, int firstVersion) {
  const std::string helper = std::string(VANTREL_TEST_HELPERS) + "/save_loop";
  std::string first = std::to_string(firstVersion);
  std::vector<char*> argv = {const_cast<char*>(helper.c_str()), const_cast<char*>(iniPath.c_str()),
                             const_cast<char*>(settings.c_str()), first.data(), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, helper.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

TEST(Stress, EveryFileIsWholeAfterKillsDuringSaves) {
  const Versions versions;
  TempDir data;
  const std::string iniPath = data.str();
  const std::string settings = data.file("vantrel.ini");
  const std::string listPath = instrumentFilePath(iniPath, kStressPanel);
  const std::string panelPath = panelFilePath(iniPath, kStressPanel);
  const std::string panelFolder = panelFolderPath(iniPath, kStressPanel);
  saveVersion(iniPath, settings, 0);
  const std::set<std::string> ownFiles = {fs::path(listPath).filename().string(),
                                          fs::path(panelPath).filename().string(), "vantrel.ini",
                                          fs::path(panelFolder).filename().string()};

  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  // Up to 60 ms: from before the helper has started to a few rounds of saves in.
  std::uniform_int_distribution<int> delayUs(0, 60000);
  const int wanted = 300;
  const auto deadline = Clock::now() + std::chrono::seconds(60);
  int kills = 0, badFiles = 0, changed = 0, interrupted = 0, leftovers = 0;
  std::string last = readFile(listPath) + readFile(panelPath) + readFile(settings);
  std::set<std::string> seenTemps;
  while (kills < wanted && Clock::now() < deadline) {
    const pid_t pid = startSaving(iniPath, settings, static_cast<int>(random() % 2));
    ASSERT_GT(pid, 0) << "cannot start the save_loop helper";
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ++kills;

    const std::string list = readFile(listPath), panel = readFile(panelPath),
                      settingsBytes = readFile(settings);
    auto bad = [&](const char* which, bool whole) {
      if (whole) return;
      if (++badFiles <= 5) ADD_FAILURE() << which << " not whole after kill " << kills << " (seed " << seed << ")";
    };
    bad("instrument list", list == versions.list[0] || list == versions.list[1]);
    bad("panel file", panel == versions.panel[0] || panel == versions.panel[1]);
    bad("settings file", versions.settingsWhole(settingsBytes));
    const std::string now = list + panel + settingsBytes;
    changed += now != last;
    last = now;

    // What an interrupted save leaves behind must never pass for a file the program reads:
    // an instrument list, a panel or settings file, or a panel folder.
    bool newTemp = false;
    for (const std::string& folder : {iniPath, panelFolder}) {
      for (const std::string& name : listEntries(folder, "*.*")) {
        if (ownFiles.count(name)) continue;
        if (seenTemps.insert(folder + "/" + name).second) newTemp = true;
        EXPECT_FALSE(matchesPattern(name, "*.cfg") || matchesPattern(name, "*.ini") ||
                     matchesPattern(name, "Panel_*"))
            << name << " left in " << folder;
      }
    }
    interrupted += newTemp;
  }
  leftovers = static_cast<int>(seenTemps.size());

  EXPECT_GE(kills, wanted) << "the time ran out";
  EXPECT_EQ(badFiles, 0) << "seed " << seed;
  EXPECT_GT(changed, 0) << "no save was ever completed between two kills";
  EXPECT_GT(interrupted, 0) << "no kill ever landed inside a write";

  // The next complete save clears what the killed writers left behind.
  saveVersion(iniPath, settings, 0);
  for (const std::string& folder : {iniPath, panelFolder})
    for (const std::string& name : listEntries(folder, "*.*"))
      EXPECT_TRUE(ownFiles.count(name)) << name << " still in " << folder << " after a save";

  // The program's own readers take what is left.
  InstrumentList read;
  std::string problem;
  ASSERT_TRUE(readInstrumentFile(listPath, read, problem)) << problem;
  EXPECT_EQ(read.size(), stressList(0).size());

  std::cout << "kills " << kills << ", bad files " << badFiles << ", kills after a completed save "
            << changed << ", kills inside a write " << interrupted << ", temporary files left "
            << leftovers << std::endl;
  ::testing::Test::RecordProperty("kills", kills);
  ::testing::Test::RecordProperty("bad_files", badFiles);
  ::testing::Test::RecordProperty("temporary_files_left", leftovers);
}

}  // namespace
}  // namespace vantrel::test
