// Real sockets, inside a private network namespace that holds only loopback.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdlib>

#include "net_fixture.h"
#include "platform/posix/PosixPlatform.h"
#include "support/PrivateNetwork.h"

namespace vantrel::test {
namespace {

using Clock = std::chrono::steady_clock;

TEST(RealSocket, TheListenerFollowsDatagramsInOrder) {
  if (!inPrivateNetwork()) return;
  PosixPlatform real;
  PanelsFixture f;
  f.platform.realNetwork = &real;
  std::filesystem::create_directories(f.dataFolder());
  writeFile(f.settingsFile(),
            "[Config]\nListenPort=48123\nMulticastGroup=239.7.7.7\nPanelSwitching=yes\n"
            "XPlanePopOutChecking=no\nLastPanelUsed=A320\n");
  f.m.Arguments = {"start"};
  f.ui.expectMessage("Missing instrument file for A320 gauge\n\rDid you install all instument add-ons?");
  f.m.FormShow();
  ASSERT_TRUE(f.m.Listener.active());
  ASSERT_TRUE(f.running());
  f.platform.log.clear();

  auto send = [&](const std::string& text) {
    ASSERT_EQ(real.sendMulticast("239.7.7.7", 48123, text), "");
  };
  // Another group on the same port is not the listener's.
  ASSERT_EQ(real.sendMulticast("239.7.7.8", 48123, "PNL:Stop"), "");
  send(std::string(9000, 'P'));  // too long: dropped whole
  send("PNL:B737");
  ASSERT_TRUE(f.ui.runNext(3000));
  EXPECT_EQ(f.m.CurrentPanel, "B737");
  EXPECT_EQ(f.m.DocumentName, "B737(B737)");
  EXPECT_EQ(f.started(), (std::vector<std::string>{"background", "B737"}));
  f.platform.log.clear();

  send("PNL:C172|PNL:Stop");
  ASSERT_TRUE(f.ui.runNext(3000));
  EXPECT_EQ(f.m.CurrentPanel, "C172 Skyhawk");
  EXPECT_FALSE(f.running());
  EXPECT_EQ(f.started(), (std::vector<std::string>{"background", "C172 Skyhawk"}));
  const auto& log = f.platform.log;
  const auto startedAt = std::find_if(log.begin(), log.end(), [](const std::string& l) {
    return l.find("C172 Skyhawk.exe") != std::string::npos;
  });
  EXPECT_TRUE(std::any_of(startedAt, log.end(), [](const std::string& l) {
    return l.rfind("terminate", 0) == 0;
  })) << "the stop comes after the switch";
  EXPECT_FALSE(f.ui.runNext(300)) << "nothing else arrived";

  const auto before = Clock::now();
  f.m.FormClose();
  EXPECT_LT(Clock::now() - before, std::chrono::seconds(1));
  EXPECT_FALSE(f.m.Listener.active());
}

TEST(RealSocket, AListenPortTakenByAnotherProgramIsSilent) {
  if (!inPrivateNetwork()) return;
  PosixPlatform real;
  auto first = real.openMulticastReceiver("239.7.7.7", 48124, 8192);
  ASSERT_TRUE(first);
  EXPECT_FALSE(real.openMulticastReceiver("239.7.7.7", 48124, 8192))
      << "no address reuse: the port stays the other program's";
}

// vantrel-send, run as a program.
int runSend(const std::string& arguments, const std::string& environment = "") {
  const std::string command = environment + " " + VANTREL_BIN_DIR "/vantrel-send " + arguments +
                              " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(VantrelSend, SendsTheTextAsOneDatagramToTheGivenOrStoredGroupAndPort) {
  if (!inPrivateNetwork()) return;
  PosixPlatform real;
  TempDir home;
  home.write("Quorvane/Dexalune/vantrel.ini",
            "[Config]\nMulticastGroup=239.7.7.9\nListenPort=48126\n");
  struct Case {
    const char* what;
    std::string arguments;
    std::string group;
    int port;
    std::string received;
  };
  const std::string env = "APPDATA='" + home.str() + "'";
  const Case cases[] = {
      {"options", "--group 239.7.7.7 --port 48125 'PNL:C172|PNL:Start'", "239.7.7.7", 48125,
       "PNL:C172|PNL:Start"},
      {"the settings file", "' PNL: Stop '", "239.7.7.9", 48126, " PNL: Stop "},
      {"one option, the other stored", "--port=48127 PNL:Kill", "239.7.7.9", 48127, "PNL:Kill"},
  };
  for (const auto& c : cases) {
    auto receiver = real.openMulticastReceiver(c.group, c.port, 8192);
    ASSERT_TRUE(receiver) << c.what;
    ASSERT_EQ(runSend(c.arguments, env), 0) << c.what;
    std::string bytes;
    ASSERT_EQ(receiver->receive(bytes, 2000), MulticastReceiver::Wait::Datagram) << c.what;
    EXPECT_EQ(bytes, c.received) << c.what;
  }
  // Without a settings file: the built-in group and port.
  TempDir empty;
  auto receiver = real.openMulticastReceiver("224.11.5.62", 48000, 8192);
  ASSERT_TRUE(receiver);
  ASSERT_EQ(runSend("PNL:Stop", "APPDATA='" + empty.str() + "'"), 0);
  std::string bytes;
  ASSERT_EQ(receiver->receive(bytes, 2000), MulticastReceiver::Wait::Datagram);
  EXPECT_EQ(bytes, "PNL:Stop");

  // A bad group or port, or no text, is refused before anything is sent.
  for (const char* bad : {"--group 10.0.0.1 PNL:Stop", "--group 224.1.1 PNL:Stop",
                          "--port 0 PNL:Stop", "--port 70000 PNL:Stop", "--port x PNL:Stop",
                          "--port", "", "PNL:Stop extra"})
    EXPECT_EQ(runSend(bad, env), 1) << bad;
  EXPECT_EQ(receiver->receive(bytes, 200), MulticastReceiver::Wait::Timeout);
  EXPECT_EQ(runSend("--help"), 0);
}

}  // namespace
}  // namespace vantrel::test
