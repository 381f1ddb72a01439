// Power, window manager and shell-open, each through a stand-in tool put on PATH, which
// writes down how it was called. The screen saver, which goes over the session bus, is
// tested in platform_screensaver_test.cpp.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>

#include "platform/posix/PosixPlatform.h"
#include "platform_test_util.h"

namespace vantrel {
namespace {

using namespace vantrel::testing;

class PosixDesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.path().empty());
    // Only the stand-ins and the few tools they use, so no real one is found.
    std::filesystem::create_directory(bin());
    for (const char* tool : {"sleep", "cat"}) std::filesystem::create_symlink("/bin/" + std::string(tool), bin() + "/" + tool);
    env.set("PATH", bin());
    env.set("VANTREL_FAKE_LOG", dir / "log");
  }

  std::string bin() const { return dir / "bin"; }

  // A tool that appends its pid and arguments to the log, then runs body.
  void fakeTool(const std::string& name, const std::string& body) {
    const std::string path = bin() + "/" + name;
    std::ofstream(path) << "#!/bin/sh\n"
                        << "echo \"" << name << " $$ $*\" >> \"$VANTREL_FAKE_LOG\"\n"
                        << body << "\n";
    chmod(path.c_str(), 0755);
  }

  std::vector<std::string> logLines() const {
    std::vector<std::string> out;
    std::ifstream in(dir / "log");
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }

  // The line of the log without the pid: "wmctrl -k on".
  std::string logEntry(std::size_t i) const {
    const auto lines = logLines();
    if (i >= lines.size()) return "<missing>";
    const std::string& l = lines[i];
    const std::size_t a = l.find(' ');
    const std::size_t b = l.find(' ', a + 1);
    return l.substr(0, a) + (b == std::string::npos ? "" : l.substr(b));
  }
  int logPid(std::size_t i) const {
    const auto lines = logLines();
    if (i >= lines.size()) return 0;
    const std::size_t a = lines[i].find(' ');
    return std::atoi(lines[i].c_str() + a + 1);
  }

  TempDir dir;
  ScopedEnv env;
  PosixPlatform platform;
};

TEST_F(PosixDesktopTest, KeepAwakeHoldsOneInhibitorUntilCleared) {
  // Runs its command the way the real tool does: as a child that it waits for.
  fakeTool("systemd-inhibit",
           "while [ \"${1#--}\" != \"$1\" ]; do shift; done\n"
           "exec 3<&0\n\"$@\" <&3 3<&- &\necho $! > \"$VANTREL_FAKE_LOG.child\"\nwait");
  platform.setExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
  // The tool writes the child's number after creating the file: wait for the whole line.
  ASSERT_TRUE(waitUntil([&] {
    const auto child = readFile(dir / "log.child");
    return logLines().size() == 1 && child && !child->empty() && child->back() == '\n';
  }, 3000));
  EXPECT_EQ(logEntry(0), "systemd-inhibit --what=sleep --who=Vantrel --why=A panel is running --mode=block cat");
  const int tool = logPid(0);
  const int held = std::stoi(*readFile(dir / "log.child"));
  EXPECT_FALSE(isDead(tool));
  EXPECT_FALSE(isDead(held));

  platform.setExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED);  // already held
  platform.setExecutionState(ES_SYSTEM_REQUIRED);                   // one-time: nothing lasting
  EXPECT_EQ(logLines().size(), 1u);

  platform.setExecutionState(ES_CONTINUOUS);
  EXPECT_TRUE(isGone(tool));
  EXPECT_TRUE(waitUntil([&] { return isDead(held); }, 1000));
  EXPECT_TRUE(childrenOf(getpid()).empty());
}

TEST_F(PosixDesktopTest, InhibitorEndsWithTheManager) {
  fakeTool("systemd-inhibit",
           "while [ \"${1#--}\" != \"$1\" ]; do shift; done\n"
           "exec 3<&0\n\"$@\" <&3 3<&- &\necho $! > \"$VANTREL_FAKE_LOG.child\"\nwait");
  auto other = std::make_unique<PosixPlatform>();
  other->setExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
  ASSERT_TRUE(waitUntil([&] { return readFile(dir / "log.child").has_value(); }, 3000));
  const int tool = logPid(0);
  other.reset();
  EXPECT_TRUE(isGone(tool));
}

TEST_F(PosixDesktopTest, HangingHelperIsKilledAfterItsTime) {
  fakeTool("wmctrl", "sleep 30; echo late");
  const auto start = std::chrono::steady_clock::now();
  platform.minimizeAllWindows();
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GE(ms, 1900);
  EXPECT_LT(ms, 3000);
  ASSERT_EQ(logLines().size(), 1u);
  EXPECT_TRUE(isGone(logPid(0)));
  // Its own "sleep" went with its group.
  EXPECT_TRUE(waitUntil([&] { return groupMembers(logPid(0)).empty(); }, 1000));
}

TEST_F(PosixDesktopTest, MinimizeAllAsksTheWindowManagerToShowTheDesktop) {
  platform.minimizeAllWindows();  // no tool: nothing
  platform.showDesktopIcons(false);
  platform.showDesktopIcons(true);
  fakeTool("wmctrl", "");
  platform.minimizeAllWindows();
  ASSERT_EQ(logLines().size(), 1u);
  EXPECT_EQ(logEntry(0), "wmctrl -k on");
}

TEST_F(PosixDesktopTest, ShellOpenRunsProgramsAndHandsTheRestToTheOpener) {
  const std::string program = dir / "Popwarden.exe";
  {
    std::ofstream(program) << "#!/bin/sh\necho \"popwarden $$ $#\" >> \"$VANTREL_FAKE_LOG\"\nexec sleep 5\n";
  }
  chmod(program.c_str(), 0755);
  const std::string manual = dir / "Manual.pdf";
  std::ofstream(manual) << "%PDF";

  EXPECT_FALSE(platform.shellOpen(manual));  // no opener installed
  fakeTool("xdg-open", "exec sleep 5");

  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(platform.shellOpen(program));
  EXPECT_TRUE(platform.shellOpen(manual));
  EXPECT_TRUE(platform.shellOpen("https://example.invalid/"));
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(ms, 500);  // never waits for what it opened

  ASSERT_TRUE(waitUntil([&] { return logLines().size() == 3; }, 3000));
  std::vector<std::string> entries{logEntry(0), logEntry(1), logEntry(2)};
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"popwarden 0", "xdg-open " + manual, "xdg-open https://example.invalid/"}));

  for (std::size_t i = 0; i < 3; ++i) kill(logPid(i), SIGKILL);
  // Reaped by the platform, not left as zombies.
  EXPECT_TRUE(waitUntil([&] { return isGone(logPid(0)) && isGone(logPid(1)) && isGone(logPid(2)); }, 2000));
}

}  // namespace
}  // namespace vantrel
