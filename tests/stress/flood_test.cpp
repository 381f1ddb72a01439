// Flood: 20000 datagrams of valid commands and garbage, up to 9000 bytes, sent to the
// listener of a main window inside a private network namespace. Every datagram arrives (the
// sender keeps only a few in flight, so the socket never overflows), the valid commands are
// carried out in arrival order and nothing else is, and the memory stays flat.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <iostream>
#include <mutex>
#include <random>

#include "net/net_fixture.h"
#include "platform/posix/PosixPlatform.h"
#include "support/PrivateNetwork.h"

namespace vantrel::test {
namespace {

using Clock = std::chrono::steady_clock;

const char* const kGroup = "239.7.7.7";
const int kPort = 48131;

// Counts what the listener's socket hands out, whole or discarded as too long.
struct ReceiveCount {
  std::mutex mutex;
  std::condition_variable changed;
  long count = 0;
};

class CountingReceiver : public MulticastReceiver {
 public:
  CountingReceiver(std::unique_ptr<MulticastReceiver> inner, ReceiveCount& count)
      : inner_(std::move(inner)), count_(count) {}
  Wait receive(std::string& bytes, int timeoutMs) override {
    const Wait w = inner_->receive(bytes, timeoutMs);
    if (w == Wait::Datagram || w == Wait::Discarded) {
      std::lock_guard<std::mutex> lock(count_.mutex);
      ++count_.count;
      count_.changed.notify_all();
    }
    return w;
  }
  void interrupt() override { inner_->interrupt(); }
  void leaveGroup() override { inner_->leaveGroup(); }

 private:
  std::unique_ptr<MulticastReceiver> inner_;
  ReceiveCount& count_;
};

class CountingNetwork : public PosixPlatform {
 public:
  ReceiveCount received;
  std::unique_ptr<MulticastReceiver> openMulticastReceiver(const std::string& group, int port,
                                                           int bufferSize) override {
    auto inner = PosixPlatform::openMulticastReceiver(group, port, bufferSize);
    return inner ? std::make_unique<CountingReceiver>(std::move(inner), received) : nullptr;
  }
};

long rssKb() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// What the main window shows after a valid datagram.
struct Effect {
  std::string documentName;
  bool running = false;
  bool operator==(const Effect&) const = default;
};

struct Flood {
  std::mt19937 random;
  explicit Flood(unsigned seed) : random(seed) {}
  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

  // Bytes that can never form a command: no "P" anywhere, so no "PNL" item.
  std::string garbage(std::size_t size) {
    std::string s(size, '\0');
    for (char& c : s) {
      c = static_cast<char>(below(256));
      if (c == 'P') c = 'p';
    }
    return s;
  }
  // Items the handler passes over, up to size bytes in all.
  std::string filler(std::size_t size) {
    std::string s;
    while (s.size() + 8 <= size) s += "|Q:" + std::to_string(below(10000));
    return s;
  }

  // The next datagram; expected is set when it is a valid command.
  std::string next(long seq, bool& running, std::optional<Effect>& expected) {
    expected.reset();
    const std::string id = "N" + std::to_string(seq);
    const int kind = below(100);
    auto valid = [&](const std::string& bytes) {
      expected = Effect{"A320 (" + id + ")", running};
      return bytes;
    };
    if (kind < 25) return valid("PNL:" + id);
    if (kind < 27) {
      running = true;
      return valid("PNL:Start|PNL:" + id);
    }
    if (kind < 29) {
      running = false;
      return valid("PNL:Stop|PNL:" + id);
    }
    if (kind < 33) return valid("x|X:1|PNL:\"" + id + "\"|");
    if (kind < 40) {
      // Up to the longest datagram the listener takes.
      const std::size_t room = kDatagramBufferSize - 4 - id.size();
      return valid("PNL:" + id + filler(room - static_cast<std::size_t>(below(8000))));
    }
    if (kind < 70) return garbage(below(9001));
    if (kind < 75) return "";
    // Longer than the listener takes: dropped whole, commands and all.
    if (kind < 85) return "PNL:Kill|PNL:Stop|PNL:" + id + filler(8193 + below(800));
    // A NUL ends the text before any command.
    if (kind < 90) return std::string("\0PNL:Kill|PNL:", 14) + id;
    return garbage(below(200)) + "|" + garbage(below(200)) + ":" + garbage(below(200));
  }
};

TEST(Stress, FloodOfDatagramsCarriesOutTheValidCommandsInOrder) {
  if (!inPrivateNetwork()) return;
  constexpr long kDatagrams = 20000;
  constexpr long kInFlight = 8;  // 8 x 9000 bytes fit the socket's buffer many times over

  CountingNetwork network;
  PanelsFixture f;
  f.platform.realNetwork = &network;
  f.load("A320");
  f.m.settings.MulticastGroup = kGroup;
  f.m.settings.ListenPort = std::to_string(kPort);
  f.m.settings.PanelSwitching = true;
  // What the window shows now, then after every datagram that changed it.
  std::vector<Effect> seen = {{f.m.DocumentName, f.running()}};
  f.m.AfterListenerWork = [&] {
    const Effect now{f.m.DocumentName, f.running()};
    if (seen.empty() || !(seen.back() == now)) seen.push_back(now);
  };
  f.m.StartListener();
  ASSERT_TRUE(f.m.Listener.active());

  const unsigned seed = std::random_device{}();
  Flood flood(seed);
  std::vector<Effect> expected = seen;
  // The test's own records must not pass for the program's memory: their room is taken
  // (and touched) before anything is measured.
  for (auto* v : {&seen, &expected}) {
    v->resize(kDatagrams + 2, seen[0]);
    v->resize(1);
  }
  bool running = false;
  long rssWarm = 0;
  std::size_t bytesSent = 0;
  const auto deadline = Clock::now() + std::chrono::seconds(90);
  auto receivedAtLeast = [&](long n) {
    std::unique_lock<std::mutex> lock(network.received.mutex);
    while (network.received.count < n) {
      if (Clock::now() > deadline) return false;
      network.received.changed.wait_for(lock, std::chrono::milliseconds(20));
    }
    return true;
  };
  const auto started = Clock::now();
  for (long seq = 0; seq < kDatagrams; ++seq) {
    std::optional<Effect> effect;
    const std::string bytes = flood.next(seq, running, effect);
    if (effect) expected.push_back(*effect);
    ASSERT_EQ(network.sendMulticast(kGroup, kPort, bytes), "") << "datagram " << seq;
    bytesSent += bytes.size();
    ASSERT_TRUE(receivedAtLeast(seq + 1 - kInFlight)) << "datagram " << seq << " (seed " << seed << ")";
    f.ui.runPending();
    // The fake platform's records grow with every Start; they are no part of the program.
    f.platform.log.clear();
    if (!running) f.platform.processes.clear();
    if (seq == 2000) rssWarm = rssKb();
  }
  ASSERT_TRUE(receivedAtLeast(kDatagrams)) << "seed " << seed;
  // One last command: once it is carried out, everything before it has been.
  ASSERT_EQ(network.sendMulticast(kGroup, kPort, "PNL:Nend"), "");
  expected.push_back({"A320 (Nend)", running});
  while ((seen.empty() || seen.back().documentName != "A320 (Nend)") && Clock::now() < deadline)
    f.ui.runNext(100);
  const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
  const long rssEnd = rssKb();

  ASSERT_EQ(seen.size(), expected.size()) << "seed " << seed;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(seen[i].documentName, expected[i].documentName) << "command " << i << " (seed " << seed << ")";
    ASSERT_EQ(seen[i].running, expected[i].running) << "command " << i << " (seed " << seed << ")";
  }
  EXPECT_FALSE(f.m.CloseRequested) << "a Kill got through";
  EXPECT_EQ(f.m.CurrentPanel, "A320");
  EXPECT_LE(rssEnd - rssWarm, 1024) << "RSS " << rssWarm << " kB -> " << rssEnd << " kB";
  f.m.StopListener();

  std::cout << "datagrams " << kDatagrams + 1 << " (" << bytesSent / 1024 << " KiB) in " << seconds
            << " s, valid commands carried out " << seen.size() - 1 << ", RSS " << rssWarm
            << " kB after 2000 -> " << rssEnd << " kB at the end" << std::endl;
}

}  // namespace
}  // namespace vantrel::test
