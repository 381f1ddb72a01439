// A stand-in instrument that writes the arguments it was given to the file named by
// $VANTREL_ARGS_FILE, one a line, then waits to be ended (never longer than 60 s).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

int main(int argc, char* argv[]) {
  if (const char* out = std::getenv("VANTREL_ARGS_FILE")) {
    const std::string temp = std::string(out) + ".tmp";
    if (FILE* f = std::fopen(temp.c_str(), "wb")) {
      for (int i = 1; i < argc; ++i) std::fprintf(f, "%s\n", argv[i]);
      std::fclose(f);
      std::rename(temp.c_str(), out);
    }
  }
  std::this_thread::sleep_for(std::chrono::seconds(60));
  return 0;
}
