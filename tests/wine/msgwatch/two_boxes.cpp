// Shows two message boxes one after the other and reports what each returned; the harness
// runs it under msgwatch to prove that boxes are logged and answered.
#include <windows.h>

#include <cstdio>

int main() {
    int first = MessageBoxA(nullptr, "First box text", "First caption", MB_OK);
    int second = MessageBoxA(nullptr, "Second box\nhas two lines", "Second caption",
                             MB_OKCANCEL | MB_ICONWARNING);
    std::printf("first=%d second=%d\n", first, second);
    std::printf(first == IDOK && second == IDOK ? "TWO BOXES OK\n" : "TWO BOXES FAILED\n");
    std::fflush(stdout);
    return first == IDOK && second == IDOK ? 0 : 1;
}
