// Checks of the plug-in's progress window: how it was made, where it is, what it shows.
#include "ProgressChecks.h"

#include <commctrl.h>

#include "Checks.h"
#include "HostWindow.h"
#include "ImportHooks.h"

namespace wintest {

namespace {

const COLORREF kDark = RGB(40, 40, 40);

COLORREF brushColour(HBRUSH brush) {
    LOGBRUSH lb = {};
    if (!brush || GetObjectA(brush, sizeof lb, &lb) != sizeof lb || lb.lbStyle != BS_SOLID)
        return CLR_INVALID;
    return lb.lbColor;
}

std::string num(long long v) {
    return std::to_string(v);
}

void checkChild(const std::string& run, const WindowCreation& c, HWND parent, const char* text,
                int x, int y, int w, int h) {
    const std::string what = run + ": child " + c.className;
    check(c.exStyle == 0 && c.style == (WS_CHILD | WS_VISIBLE), what + " styles");
    check(text ? c.title == text : (c.titleNull || c.title.empty()),
          what + " text '" + c.title + "'");
    check(c.x == x && c.y == y && c.width == w && c.height == h,
          what + " at " + num(c.x) + "," + num(c.y) + " " + num(c.width) + "x" + num(c.height));
    check(c.parent == parent && c.result && GetParent(c.result) == parent, what + " parent");
}

}  // namespace

OpenWindow checkOpenedWindow(const std::string& run, HWND owner, const RECT& area) {
    OpenWindow out;
    const ImportLog& log = importLog();
    std::vector<WindowCreation> made = log.created("myWindowClass");
    if (!check(made.size() == 1, run + ": one progress window created, got " + num(made.size())))
        return out;
    const WindowCreation& c = made.back();
    const int left = area.left + (area.right - area.left) / 2 - 200;
    const int top = area.top + (area.bottom - area.top) / 2 - 100;
    check(c.exStyle == WS_EX_DLGMODALFRAME, run + ": extended style WS_EX_DLGMODALFRAME");
    check(c.title == "Zentrim Duration - Progress", run + ": title '" + c.title + "'");
    check(c.style == 0, run + ": style 0 (no system menu, no close box)");
    check(c.x == left && c.y == top, run + ": position " + num(c.x) + "," + num(c.y) +
                                         ", expected " + num(left) + "," + num(top));
    check(c.width == 400 && c.height == 200, run + ": size 400x200");
    check(c.parent == owner, run + ": owner passed to CreateWindowExA");
    check(!c.menu && !c.instance && !c.param, run + ": no menu, instance or creation data");
    out.window = c.result;
    if (!check(out.window && IsWindow(out.window), run + ": the window exists")) return out;

    check(IsWindowVisible(out.window) != 0, run + ": the window is shown");
    check(GetWindow(out.window, GW_OWNER) == owner, run + ": owned by the host's main window");
    RECT r = {};
    GetWindowRect(out.window, &r);
    check(r.left == left && r.top == top && r.right - r.left == 400 && r.bottom - r.top == 200,
          run + ": on screen at " + num(r.left) + "," + num(r.top) + " " + num(r.right - r.left) +
              "x" + num(r.bottom - r.top));

    std::vector<WindowCreation> bars = log.created("msctls_progress32");
    std::vector<WindowCreation> labels = log.created("Static");
    if (check(bars.size() == 1 && labels.size() == 1, run + ": one bar and one label")) {
        checkChild(run, bars[0], out.window, nullptr, 10, 20, 360, 40);
        checkChild(run, labels[0], out.window, "Hold Ctrl + Shift to cancel the crop", 10, 95, 360,
                   20);
        out.bar = bars[0].result;
        out.label = labels[0].result;
    }
    if (out.bar) {
        PBRANGE range = {};
        SendMessageA(out.bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        check(range.iLow == 0 && range.iHigh == 100, run + ": the bar's range is 0 to 100");
        check(barPosition(out) == 0, run + ": the bar opens at 0");
    }
    if (out.label) {
        // The label's colours, asked the way the label itself asks its parent.
        HDC dc = CreateCompatibleDC(NULL);
        LRESULT brush = SendMessageA(out.window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(out.label));
        out.labelBrush = reinterpret_cast<HBRUSH>(brush);
        check(brushColour(out.labelBrush) == kDark, run + ": the label's brush is RGB 40,40,40");
        check(GetTextColor(dc) == RGB(200, 200, 200), run + ": the hint is RGB 200,200,200");
        check(GetBkMode(dc) == TRANSPARENT, run + ": the hint has a transparent background");
        LRESULT other = SendMessageA(out.window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(out.bar));
        check(other == 0, run + ": WM_CTLCOLORSTATIC for another control answers 0");
        DeleteDC(dc);
    }

    // What the screen shows between the bar and the hint: the class's dark background.
    pumpMessages(300);
    POINT p = {200, 75};
    ClientToScreen(out.window, &p);
    HDC screen = GetDC(NULL);
    COLORREF shown = GetPixel(screen, p.x, p.y);
    ReleaseDC(NULL, screen);
    check(shown == kDark, run + ": the window's background on screen is RGB 40,40,40 (got 0x" +
                              num(static_cast<long long>(shown)) + ")");
    return out;
}

int barPosition(const OpenWindow& w) {
    return w.bar ? static_cast<int>(SendMessageA(w.bar, PBM_GETPOS, 0, 0)) : -1;
}

void checkClassRegistration(const std::string& run) {
    const ImportLog& log = importLog();
    if (!check(log.registrations.size() == 1,
               run + ": RegisterClassExA called once, got " + num(log.registrations.size())))
        return;
    const ClassRegistration& r = log.registrations[0];
    const WNDCLASSEXA& wc = r.fields;
    check(r.succeeded, run + ": the class was registered (error " + num(r.error) + ")");
    check(r.className == "myWindowClass", run + ": class name '" + r.className + "'");
    check(wc.cbSize == 80, run + ": structure size 80");
    check(wc.style == 0 && wc.cbClsExtra == 0 && wc.cbWndExtra == 0,
          run + ": class style 0, no extra bytes");
    check(wc.lpfnWndProc != nullptr, run + ": a window procedure");
    check(wc.hInstance == NULL, run + ": no instance handle");
    check(wc.hIcon == LoadIconA(NULL, IDI_APPLICATION) &&
              wc.hIconSm == LoadIconA(NULL, IDI_APPLICATION),
          run + ": the application icon, large and small");
    check(wc.hCursor == LoadCursorA(NULL, IDC_ARROW), run + ": the arrow cursor");
    check(brushColour(wc.hbrBackground) == kDark, run + ": background brush RGB 40,40,40");
    check(wc.lpszMenuName == NULL, run + ": no menu");
}

}  // namespace wintest
