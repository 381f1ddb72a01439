// The listener: start-up checks, the hand-over to the user-interface thread, and stopping.
#include <gtest/gtest.h>

#include <chrono>

#include "net/MulticastListener.h"
#include "net/TfrmSetPort.h"
#include "net_fixture.h"
#include "platform/Error.h"

namespace vantrel::test {
namespace {

using Clock = std::chrono::steady_clock;

std::string errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

TEST(Listener, ABadGroupOrPortFailsBeforeAnySocketIsOpened) {
  struct Case {
    const char* group;
    const char* port;
    const char* message;
  };
  const Case cases[] = {
      {"10.0.0.1", "48000", "The supplied IP address is not a valid multicast address."},
      {"240.1.1.1", "48000", "The supplied IP address is not a valid multicast address."},
      {"10.0.0.1", "port", "The supplied IP address is not a valid multicast address."},
      {"224.11.5.62", "48k", "'48k' is not a valid integer value"},
      {"224.11.5.62", "", "'' is not a valid integer value"},
  };
  for (const auto& c : cases) {
    FakePlatform platform;
    ScriptedUi ui;
    MulticastListener listener(platform, ui);
    EXPECT_EQ(errorOf([&] { listener.start(c.group, c.port, [](const auto&) {}); }), c.message);
    EXPECT_FALSE(listener.active());
    EXPECT_TRUE(platform.multicastOpens.empty());
  }
}

TEST(Listener, JoinsTheGroupOnThePortWithTheDatagramBuffer) {
  FakePlatform platform;
  ScriptedUi ui;
  MulticastListener listener(platform, ui);
  listener.start("239.1.2.3", "0x1F90", [](const auto&) {});
  ASSERT_EQ(platform.multicastOpens.size(), 1u);
  EXPECT_EQ(platform.multicastOpens[0].group, "239.1.2.3");
  EXPECT_EQ(platform.multicastOpens[0].port, 8080);
  EXPECT_EQ(platform.multicastOpens[0].bufferSize, 8192);
  EXPECT_TRUE(listener.active());
}

TEST(Listener, DatagramsReachTheUserInterfaceThreadWholeAndInOrder) {
  FakePlatform platform;
  ScriptedUi ui;
  MulticastListener listener(platform, ui);
  std::vector<std::vector<CommandItem>> handled;
  listener.start("224.11.5.62", "48000", [&](const auto& items) { handled.push_back(items); });
  platform.deliverDatagram("PNL:C172|PNL:Start");
  platform.deliverDatagram(std::string(8193, 'x'));               // too long: dropped whole
  platform.deliverDatagram("PNL:" + std::string(8188, 'y'));      // exactly the buffer
  platform.deliverDatagram("");                                   // no item
  platform.deliverDatagram("PNL:Stop");
  while (handled.size() < 3 && ui.runNext(2000)) {
  }
  ASSERT_EQ(handled.size(), 3u);
  EXPECT_EQ(handled[0], (std::vector<CommandItem>{{"PNL", "C172"}, {"PNL", "Start"}}));
  EXPECT_EQ(handled[1][0].Value.size(), 8188u);
  EXPECT_EQ(handled[2], (std::vector<CommandItem>{{"PNL", "Stop"}}));
  EXPECT_FALSE(ui.runNext(100));
}

TEST(Listener, ADatagramHandedOverInsideADialogWaitsForTheOneBeingHandled) {
  // A command may open a dialog whose event loop runs the next hand-over; the datagrams
  // must still be carried out one after the other.
  FakePlatform platform;
  ScriptedUi ui;
  MulticastListener listener(platform, ui);
  std::vector<std::string> trace;
  listener.start("224.11.5.62", "48000", [&](const auto& items) {
    trace.push_back("begin " + items[0].Value);
    if (items[0].Value == "first") {
      ASSERT_TRUE(ui.runNext(2000));  // the dialog's event loop
    }
    trace.push_back("end " + items[0].Value);
  });
  platform.deliverDatagram("PNL:first");
  platform.deliverDatagram("PNL:second");
  ASSERT_TRUE(ui.runNext(2000));
  EXPECT_EQ(trace, (std::vector<std::string>{"begin first", "end first", "begin second",
                                             "end second"}));
}

TEST(Listener, StopEndsAtOnceLeavesTheGroupAndDropsWhatWasNotHandled) {
  FakePlatform platform;
  ScriptedUi ui;
  MulticastListener listener(platform, ui);
  int handled = 0;
  listener.start("224.11.5.62", "48000", [&](const auto&) { ++handled; });
  platform.deliverDatagram("PNL:Stop");
  // Wait until it has been handed over, not handled.
  auto taken = [&] {
    std::lock_guard<std::mutex> lock(platform.multicast->mutex);
    return platform.multicast->queued.empty();
  };
  for (int i = 0; i < 200 && !taken(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const auto before = Clock::now();
  listener.stop();
  EXPECT_LT(Clock::now() - before, std::chrono::milliseconds(500));
  EXPECT_FALSE(listener.active());
  EXPECT_TRUE(platform.multicast->left);
  EXPECT_TRUE(platform.multicast->closed);
  ui.runPending();
  EXPECT_EQ(handled, 0) << "nothing is carried out after the listener stopped";
  listener.stop();  // a second stop is nothing
}

TEST(Listener, ASocketThatCannotBeOpenedIsSilent) {
  FakePlatform platform;
  platform.multicastOpenFails = true;
  ScriptedUi ui;
  MulticastListener listener(platform, ui);
  listener.start("224.11.5.62", "48000", [](const auto&) {});
  EXPECT_FALSE(listener.active());
  listener.stop();
}

// Start-up: the listener starts after the panel is loaded and before the automatic start.
struct StartUp : PanelsFixture {
  void settingsFile(const std::string& text) {
    std::filesystem::create_directories(dataFolder());
    writeFile(MainFixture::settingsFile(), "[Config]\n" + text + "XPlanePopOutChecking=no\n");
  }
};

TEST(ListenerAtStartUp, AFailureIsShownAndTheAutomaticStartDoesNotRun) {
  for (const char* bad : {"MulticastGroup=192.168.1.1\n", "ListenPort=forty\n"}) {
    StartUp f;
    f.settingsFile(bad);
    f.m.Arguments = {"start"};
    f.ui.expectMessage(std::string(bad).find("Group") != std::string::npos
                           ? "The supplied IP address is not a valid multicast address."
                           : "'forty' is not a valid integer value");
    f.platform.log.clear();
    f.m.FormShow();
    EXPECT_FALSE(f.m.Listener.active());
    EXPECT_TRUE(f.platform.processes.empty());
  }
}

TEST(ListenerAtStartUp, AFailedJoinIsSilentAndTheAutomaticStartRuns) {
  StartUp f;
  f.settingsFile("LastPanelUsed=A320\n");
  f.platform.multicastOpenFails = true;
  f.m.Arguments = {"start"};
  // The stand-in programs are not in the catalog; the check says so once per row.
  f.ui.expectMessage("Missing instrument file for A320 gauge\n\rDid you install all instument add-ons?");
  f.m.FormShow();
  EXPECT_EQ(f.platform.multicastOpens.size(), 1u);
  EXPECT_TRUE(f.running());
}

TEST(ListenerAtStartUp, TheListenerKeepsItsPortWhenTheDialogChangesIt) {
  StartUp f;
  f.settingsFile("ListenPort=48000\n");
  f.m.FormShow();
  ASSERT_TRUE(f.m.Listener.active());
  f.ui.expectModal([](TForm& form) {
    dynamic_cast<TfrmSetPort&>(form).edPort.Text = "48001";
    return ModalResult::OK;
  });
  f.m.execute("aPortNumber");
  EXPECT_EQ(f.m.settings.ListenPort, "48001");
  EXPECT_EQ(f.platform.multicastOpens.size(), 1u) << "no restart during the run";
  f.m.FormClose();
  EXPECT_FALSE(f.m.Listener.active());
  EXPECT_TRUE(f.platform.multicast->left);
}

}  // namespace
}  // namespace vantrel::test

namespace vantrel::test {
namespace {

TEST(ListenerAtStartUp, ADatagramWaitsWhileACommandsDialogIsOpen) {
  // The dialog's event loop hands the datagram over; it is carried out once the command
  // has ended, so it cannot change the panel under the command's feet.
  StartUp f;
  f.settingsFile("LastPanelUsed=A320\nXPlanePopOutChecking=no\n");
  f.ui.expectMessage("Missing instrument file for A320 gauge\n\rDid you install all instument add-ons?");
  f.m.FormShow();
  ASSERT_TRUE(f.m.Listener.active());
  ASSERT_FALSE(f.running());
  f.ui.expectModal([&](TForm&) {
    f.platform.deliverDatagram("PNL:Start");
    EXPECT_TRUE(f.ui.runNext(2000));  // the dialog's event loop
    EXPECT_FALSE(f.running()) << "not while the dialog is open";
    return ModalResult::Cancel;
  });
  f.m.execute("aPortNumber");
  EXPECT_TRUE(f.running()) << "carried out when the command ended";
}

}  // namespace
}  // namespace vantrel::test
