// The screen saver inhibit on a real, private session bus: a dbus-daemon of the test's
// own and a stand-in screen saver service that writes down every call and every caller
// that leaves the bus.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "platform/posix/PosixPlatform.h"
#include "platform_test_util.h"

namespace vantrel {
namespace {

using namespace vantrel::testing;

const std::string FakeScreenSaver = std::string(VANTREL_TEST_HELPERS) + "/fake_screen_saver";
constexpr const char* InhibitedBy = "Vantrel|A panel is running";

std::string programOnPath(const std::string& name) {
  const char* env = std::getenv("PATH");
  std::istringstream dirs(env != nullptr ? env : "/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::string candidate = dir + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::string();
}

// Starts a program that dies with the test, its output to outFd (or nowhere).
pid_t startChild(const std::vector<std::string>& args, int outFd = -1) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid != 0) return pid;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(126);
  const int null = open("/dev/null", O_RDWR);
  dup2(null, 0);
  dup2(outFd >= 0 ? outFd : null, 1);
  dup2(null, 2);
  execv(argv[0], argv.data());
  _exit(127);
}

void endChild(pid_t& pid) {
  if (pid <= 0) return;
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  pid = 0;
}

std::size_t threadCount() {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/task")) ++n;
  return n;
}

std::int64_t msSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

class ScreenSaverBusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.path().empty());
    ASSERT_FALSE(programOnPath("dbus-daemon").empty()) << "the tests need dbus-daemon";
  }

  void TearDown() override {
    platform.reset();
    const pid_t service = service_, daemon = daemon_;
    endChild(service_);
    endChild(daemon_);
    EXPECT_TRUE(service == 0 || isGone(service));
    EXPECT_TRUE(daemon == 0 || isGone(daemon));
  }

  // A bus of the test's own, which the platform is pointed at.
  void startBus(const std::string& name = "bus") {
    int out[2];
    ASSERT_EQ(pipe2(out, O_CLOEXEC), 0);
    daemon_ = startChild({programOnPath("dbus-daemon"), "--session", "--nofork", "--print-address",
                          "--address=unix:path=" + dir / name},
                         out[1]);
    close(out[1]);
    std::string address;
    const auto start = std::chrono::steady_clock::now();
    while (address.find('\n') == std::string::npos && msSince(start) < 5000) {
      pollfd p{out[0], POLLIN, 0};
      if (poll(&p, 1, 100) <= 0) continue;
      char buf[512];
      const ssize_t n = read(out[0], buf, sizeof buf);
      if (n <= 0) break;
      address.append(buf, static_cast<std::size_t>(n));
    }
    close(out[0]);
    ASSERT_NE(address.find('\n'), std::string::npos) << "the bus did not start";
    address.resize(address.find('\n'));
    env.set("DBUS_SESSION_BUS_ADDRESS", address);
  }

  // The stand-in service, serving one object, once it owns its name.
  void startService(const std::string& path = "/org/freedesktop/ScreenSaver", const std::string& answer = "cookie") {
    endChild(service_);
    std::filesystem::remove(log());
    service_ = startChild({FakeScreenSaver, log(), path, answer});
    ASSERT_TRUE(waitUntil([&] { return !logLines().empty(); }, 5000)) << "the service did not start";
    ASSERT_EQ(logLines()[0], "ready");
  }

  std::string log() const { return dir / "service.log"; }
  std::vector<std::string> logLines() const {
    std::vector<std::string> out;
    std::ifstream in(log());
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }
  // The words of each line that starts with word.
  std::vector<std::vector<std::string>> logged(const std::string& word) const {
    std::vector<std::vector<std::string>> out;
    for (const std::string& line : logLines()) {
      std::istringstream in(line);
      std::vector<std::string> words;
      for (std::string w; in >> w;) words.push_back(w);
      if (!words.empty() && words[0] == word) out.push_back(words);
    }
    return out;
  }
  // The reason is the one field with spaces: put it back together.
  std::vector<std::string> inhibit(std::size_t i) const {
    auto all = logged("Inhibit");
    if (i >= all.size()) return {"<missing>"};
    auto w = all[i];
    std::string reason;
    for (std::size_t k = 3; k + 1 < w.size(); ++k) reason += (reason.empty() ? "" : " ") + w[k];
    return {w[1], w[2], reason, w.back()};  // sender, path, who|why, cookie
  }

  TempDir dir;
  ScopedEnv env;
  std::unique_ptr<PosixPlatform> platform = std::make_unique<PosixPlatform>();
  pid_t daemon_ = 0;
  pid_t service_ = 0;
};

TEST_F(ScreenSaverBusTest, InhibitHoldsWhileTheConnectionLivesAndIsGivenBackWithItsCookie) {
  startBus();
  startService();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(platform->screenSaverActive());
  platform->setScreenSaverActive(false);
  EXPECT_FALSE(platform->screenSaverActive());
  platform->setScreenSaverActive(false);  // already off: no second inhibit
  EXPECT_LT(msSince(start), 1000);

  ASSERT_EQ(logged("Inhibit").size(), 1u);
  const auto held = inhibit(0);
  EXPECT_EQ(held[1], "/org/freedesktop/ScreenSaver");
  EXPECT_EQ(held[2], InhibitedBy);
  // The caller's connection stays open: the service has not seen it leave.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(logged("Gone").empty());
  EXPECT_TRUE(logged("Dropped").empty());

  platform->setScreenSaverActive(true);
  ASSERT_TRUE(waitUntil([&] { return !logged("Gone").empty(); }, 2000)) << "the connection stayed open";
  EXPECT_EQ(logged("UnInhibit"), (std::vector<std::vector<std::string>>{{"UnInhibit", held[0], held[3], "held"}}));
  EXPECT_EQ(logged("Gone"), (std::vector<std::vector<std::string>>{{"Gone", held[0]}}));
  EXPECT_TRUE(logged("Dropped").empty());

  EXPECT_TRUE(platform->screenSaverActive());
  platform->setScreenSaverActive(true);  // nothing to undo
  EXPECT_EQ(logLines().size(), 4u);      // ready, Inhibit, UnInhibit, Gone
}

TEST_F(ScreenSaverBusTest, InhibitStillHeldIsGivenBackWhenThePlatformEnds) {
  startBus();
  startService();
  platform->setScreenSaverActive(false);
  ASSERT_EQ(logged("Inhibit").size(), 1u);
  const auto held = inhibit(0);
  platform.reset();
  ASSERT_TRUE(waitUntil([&] { return !logged("Gone").empty(); }, 2000));
  EXPECT_EQ(logged("UnInhibit"), (std::vector<std::vector<std::string>>{{"UnInhibit", held[0], held[3], "held"}}));
}

TEST_F(ScreenSaverBusTest, ServicesThatServeElsewhereOrAnswerOddly) {
  startBus();
  struct Case {
    const char* name;
    const char* path;    // the one object the service serves
    const char* answer;
    bool held;
    int minMs, maxMs;
  };
  const Case cases[] = {
      {"object at /ScreenSaver", "/ScreenSaver", "cookie", true, 0, 1000},
      {"no screen saver object", "/elsewhere", "cookie", false, 0, 1000},
      {"answer is no cookie", "/org/freedesktop/ScreenSaver", "text", false, 0, 1000},
      {"no answer", "/org/freedesktop/ScreenSaver", "silent", false, 1900, 3000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    startService(c.path, c.answer);
    platform = std::make_unique<PosixPlatform>();
    EXPECT_TRUE(platform->screenSaverActive());
    const auto start = std::chrono::steady_clock::now();
    platform->setScreenSaverActive(false);
    const auto ms = msSince(start);
    EXPECT_GE(ms, c.minMs);
    EXPECT_LT(ms, c.maxMs);
    // Start then finds it was on and switches it back on at Stop; with nothing held
    // that is nothing.
    EXPECT_EQ(platform->screenSaverActive(), !c.held);
    platform->setScreenSaverActive(true);
    const auto inhibits = logged("Inhibit");
    EXPECT_EQ(inhibits.size(), std::string(c.path) == "/elsewhere" ? 0u : 1u);
    if (c.held) {
      const auto held = inhibit(0);
      EXPECT_EQ(held[1], c.path);
      EXPECT_EQ(logged("UnInhibit"), (std::vector<std::vector<std::string>>{{"UnInhibit", held[0], held[3], "held"}}));
    } else {
      EXPECT_TRUE(logged("UnInhibit").empty());
    }
    // Nothing is left held on a connection of ours.
    if (!inhibits.empty())
      EXPECT_TRUE(waitUntil([&] { return !logged("Gone").empty(); }, 2000)) << "a connection stayed open";
  }
}

TEST_F(ScreenSaverBusTest, WithoutABusOrAServiceItIsSilentlyNothing) {
  // A socket that never says a word and, after the first caller, has no room for another.
  const std::size_t threadsBefore = threadCount();
  const std::string silentPath = dir / "silent";
  const int silent = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un sa{};
  sa.sun_family = AF_UNIX;
  std::snprintf(sa.sun_path, sizeof sa.sun_path, "%s", silentPath.c_str());
  ASSERT_EQ(bind(silent, reinterpret_cast<sockaddr*>(&sa), sizeof sa), 0);
  ASSERT_EQ(listen(silent, 0), 0);

  struct Case {
    const char* name;
    std::optional<std::string> address;  // nullopt: the test's own bus, without the service
    int maxMs;                           // for each call
  };
  const Case cases[] = {
      {"no session bus", std::string(), 300},
      {"bus unreachable", "unix:path=" + dir / "no-bus", 300},
      {"address that would start a bus", std::string("autolaunch:"), 300},
      {"bus without the service", std::nullopt, 500},
      {"bus that never answers", "unix:path=" + silentPath, 2600},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.address)
      startBus();
    else if (c.address->empty())
      env.set("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
    else
      env.set("DBUS_SESSION_BUS_ADDRESS", *c.address);
    platform = std::make_unique<PosixPlatform>();
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(platform->screenSaverActive());  // so Start leaves it alone...
    EXPECT_LT(msSince(start), c.maxMs);
    start = std::chrono::steady_clock::now();
    platform->setScreenSaverActive(false);  // ...and a direct switch does nothing either
    EXPECT_LT(msSince(start), c.maxMs);
    EXPECT_FALSE(platform->screenSaverActive());
    start = std::chrono::steady_clock::now();
    platform->setScreenSaverActive(true);
    EXPECT_LT(msSince(start), c.maxMs);
    EXPECT_TRUE(childrenOf(getpid()) == (daemon_ ? std::vector<int>{daemon_} : std::vector<int>{}));
  }
  // Whatever waited on the silent bus lets go once it is gone.
  close(silent);
  EXPECT_TRUE(waitUntil([&] { return threadCount() == threadsBefore; }, 2000));
}

TEST_F(ScreenSaverBusTest, BusThatGoesAwayWhileHeldHurtsNothingAndIsAskedAgainLater) {
  startBus();
  startService();
  platform->setScreenSaverActive(false);
  ASSERT_EQ(logged("Inhibit").size(), 1u);
  endChild(service_);
  endChild(daemon_);
  // Giving back on the closed connection must neither hang nor end the program.
  const auto start = std::chrono::steady_clock::now();
  platform->setScreenSaverActive(true);
  EXPECT_FALSE(platform->screenSaverActive());
  EXPECT_LT(msSince(start), 500);

  // A new session (bus and service) after the inhibit was lost with the old one.
  startBus("bus2");
  startService();
  platform->setScreenSaverActive(false);
  ASSERT_EQ(logged("Inhibit").size(), 1u);
  endChild(service_);
  endChild(daemon_);
  startBus("bus3");
  startService();
  platform->setScreenSaverActive(false);
  ASSERT_EQ(logged("Inhibit").size(), 1u);
  const auto held = inhibit(0);
  platform->setScreenSaverActive(true);
  EXPECT_EQ(logged("UnInhibit"), (std::vector<std::vector<std::string>>{{"UnInhibit", held[0], held[3], "held"}}));
}

}  // namespace
}  // namespace vantrel
