// A stand-in instrument that does nothing: it waits to be killed, never longer than 60 s.
#include <time.h>

int main() {
  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (;;) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (now.tv_sec - start.tv_sec >= 60) return 0;
    timespec step{0, 200 * 1000 * 1000};
    nanosleep(&step, nullptr);
  }
}
