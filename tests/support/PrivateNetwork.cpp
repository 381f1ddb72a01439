#include "support/PrivateNetwork.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vantrel::test {

namespace {

const char* const kInside = "VANTREL_PRIVATE_NETWORK";
const char* const kSetUp = "ip link set lo up && ip route add 224.0.0.0/4 dev lo";

// Interface names of the current network namespace.
std::vector<std::string> interfaces() {
  std::ifstream in("/proc/self/net/dev");
  std::vector<std::string> names;
  std::string line;
  while (std::getline(in, line)) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string name = line.substr(0, colon);
    name.erase(0, name.find_first_not_of(' '));
    names.push_back(name);
  }
  return names;
}

std::string quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

void skip() {
  GTEST_SKIP() << "network namespaces are not available here (root, unshare and ip are "
                  "needed); the socket test does not run";
}

}  // namespace

bool inPrivateNetwork() {
  if (std::getenv(kInside) != nullptr) {
    const auto names = interfaces();
    if (names != std::vector<std::string>{"lo"}) {
      ADD_FAILURE() << "not inside a private network namespace; no socket is opened";
      return false;
    }
    return true;
  }

  const std::string probe =
      std::string("unshare -n sh -c ") + quoted(kSetUp) + " >/dev/null 2>&1";
  if (std::system(probe.c_str()) != 0) {
    skip();
    return false;
  }

  char self[4096];
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) {
    ADD_FAILURE() << "cannot find the test program";
    return false;
  }
  self[n] = '\0';
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string filter = std::string(info->test_suite_name()) + "." + info->name();
  const std::string command = std::string(kInside) + "=1 unshare -n sh -c " +
                              quoted(std::string(kSetUp) + " && exec \"$0\" \"$1\"") + " " +
                              quoted(self) + " " + quoted("--gtest_filter=" + filter) + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot run " << command;
    return false;
  }
  std::ostringstream output;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.write(buffer, got);
  const int status = ::pclose(pipe);
  const std::string text = output.str();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    ADD_FAILURE() << "in the private network namespace:\n" << text;
  else if (text.find("[  PASSED  ] 1 test") == std::string::npos)
    ADD_FAILURE() << "the test did not run in the private network namespace:\n" << text;
  return false;
}

}  // namespace vantrel::test
