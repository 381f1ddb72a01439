// The Winsock multicast socket of the listener, inside the private network only.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Win32Platform.h"
#include "support/PrivateNetwork.h"

namespace vantrel::test {
namespace {

constexpr const char* kGroup = "239.255.42.99";
constexpr int kPort = 49321;

TEST(Win32Multicast, DatagramsArriveWholeAndOversizedOnesAreDropped) {
  if (!inPrivateNetwork()) return;
  Win32Platform platform;
  auto receiver = platform.openMulticastReceiver(kGroup, kPort, 16);
  ASSERT_NE(receiver, nullptr);
  EXPECT_EQ(platform.openMulticastReceiver(kGroup, kPort, 16), nullptr) << "the port is taken";

  std::string bytes;
  EXPECT_EQ(receiver->receive(bytes, 50), MulticastReceiver::Wait::Timeout);
  EXPECT_EQ(platform.sendMulticast(kGroup, kPort, std::string("cmd\0x", 5)), "");
  ASSERT_EQ(receiver->receive(bytes, 2000), MulticastReceiver::Wait::Datagram);
  EXPECT_EQ(bytes, std::string("cmd\0x", 5));

  // Longer than the buffer: dropped whole, and the next one still arrives.
  EXPECT_EQ(platform.sendMulticast(kGroup, kPort, std::string(17, 'L')), "");
  EXPECT_EQ(platform.sendMulticast(kGroup, kPort, std::string(16, 'S')), "");
  EXPECT_EQ(receiver->receive(bytes, 2000), MulticastReceiver::Wait::Discarded);
  ASSERT_EQ(receiver->receive(bytes, 2000), MulticastReceiver::Wait::Datagram);
  EXPECT_EQ(bytes, std::string(16, 'S'));

  receiver->interrupt();
  EXPECT_EQ(receiver->receive(bytes, 2000), MulticastReceiver::Wait::Interrupted);
  receiver->leaveGroup();
}

TEST(Win32Multicast, BadAddressesAreRefused) {
  if (!inPrivateNetwork()) return;
  Win32Platform platform;
  EXPECT_EQ(platform.openMulticastReceiver("not an address", kPort, 16), nullptr);
  EXPECT_EQ(platform.openMulticastReceiver(kGroup, 70000, 16), nullptr);
  EXPECT_EQ(platform.sendMulticast("1.2.3", kPort, "x"), "'1.2.3' is not an IPv4 address");
  // The host's own addresses resolve without error; in the private network there may be none.
  for (const std::string& a : platform.localIPv4Addresses()) EXPECT_NE(a.find('.'), std::string::npos) << a;
}

}  // namespace
}  // namespace vantrel::test
