// How long a wait on a waitable timer lasts, for waits asked in steps of a
// tenth of a millisecond: the program's frame waits end this way on Windows.
// Where the waits come out in whole milliseconds, the system rounds them.
//
//   x86_64-w64-mingw32-g++-posix -O2 -static bench/timer_waits.cpp -o timer_waits.exe
//   WINEPREFIX=$PWD/build-windows/wine-prefix scripts/wine-run.sh timer_waits.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION // older MinGW-w64 headers lack it
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x2
#endif

int main() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                          TIMER_ALL_ACCESS);
    const bool high = timer != nullptr;
    if (!high)
        timer = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    std::printf("%s waitable timer, 25 waits each\n", high ? "high-resolution" : "plain");
    std::printf("| asked (ms) | lasted, median (ms) | late, median (ms) |\n|---|---|---|\n");
    for (int tenths = 290; tenths <= 310; tenths += 2) {
        const double asked = tenths / 10.0;
        std::vector<double> lasted;
        for (int i = 0; i < 25; ++i) {
            const LARGE_INTEGER due{.QuadPart = -LONGLONG(asked * 1e4)}; // 100 ns units, relative
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE);
            WaitForSingleObject(timer, INFINITE);
            QueryPerformanceCounter(&end);
            lasted.push_back(1e3 * double(end.QuadPart - start.QuadPart) / frequency.QuadPart);
        }
        std::nth_element(lasted.begin(), lasted.begin() + 12, lasted.end());
        std::printf("| %.1f | %.3f | %.3f |\n", asked, lasted[12], lasted[12] - asked);
    }
    CloseHandle(timer);
}
