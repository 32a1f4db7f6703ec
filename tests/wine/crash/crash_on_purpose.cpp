// Dereferences a null pointer on purpose. The harness runs it to prove that a crash under
// Wine ends the test at once with a failure instead of hanging in a crash dialog.
#include <cstdio>

int main() {
    std::printf("crashing now\n");
    std::fflush(stdout);
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    std::printf("CRASH SURVIVED\n");
    return 0;
}
