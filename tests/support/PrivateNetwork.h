#pragma once
// Socket tests run only inside a private network namespace that holds nothing but loopback
// with a route for 224.0.0.0/4, so nothing is sent to or joined on a real interface.
#include <string>

namespace vantrel::test {

// In the test process: runs the current test again in a new network namespace and reports
// its result; returns false, and the test must return. Skips the test when namespaces
// cannot be made here. In the re-run: checks that only loopback is there and returns true.
//
//   TEST(Listener, ...) {
//     if (!inPrivateNetwork()) return;
//     ...
//   }
bool inPrivateNetwork();

}  // namespace vantrel::test
