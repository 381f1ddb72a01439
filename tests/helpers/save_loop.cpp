// Saves through the program's own writers over and over until it is killed (never longer
// than 60 s), for the kill-during-saves stress test:
//   save_loop <data folder> <settings file> <first version: 0 or 1>
// Each round writes version 0 or 1, alternately, of the instrument list and the panel file
// of panel "Stress" and of the network settings; saveVersion in support/SaveVersions.h
// says what each version holds.
#include <chrono>
#include <cstdio>

#include "support/SaveVersions.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: save_loop <data folder> <settings file> <first version>\n");
    return 2;
  }
  const int first = argv[3][0] == '1' ? 1 : 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  for (int round = 0; std::chrono::steady_clock::now() < deadline; ++round)
    vantrel::test::saveVersion(argv[1], argv[2], (first + round) % 2);
  return 0;
}
