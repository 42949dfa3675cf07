// Prints what Windows records of the frame of the top-level window titled
// "Tervalin": the style bits of its title bar, buttons and border, one name
// a line. The end-to-end tests of the Windows build run it beside the
// program, in the same Wine prefix.
#include <windows.h>

#include <cstdio>

int main() {
    const HWND window = FindWindowW(nullptr, L"Tervalin");
    if (!window) {
        std::puts("no window");
        return 1;
    }
    const auto style = GetWindowLongPtrW(window, GWL_STYLE);
    const auto exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    const struct {
        LONG_PTR bits, bit;
        const char* name;
    } flags[] = {{style, WS_CAPTION, "WS_CAPTION"},
                 {style, WS_SYSMENU, "WS_SYSMENU"},
                 {style, WS_MINIMIZEBOX, "WS_MINIMIZEBOX"},
                 {style, WS_MAXIMIZEBOX, "WS_MAXIMIZEBOX"},
                 {style, WS_THICKFRAME, "WS_THICKFRAME"},
                 {exStyle, WS_EX_TOOLWINDOW, "WS_EX_TOOLWINDOW"},
                 {exStyle, WS_EX_APPWINDOW, "WS_EX_APPWINDOW"}};
    for (const auto& f : flags)
        if ((f.bits & f.bit) == f.bit)
            std::puts(f.name);
    return 0;
}
