// The progress window on Windows: a small dark Win32 window owned by the host's main window, with a
// progress bar and the cancel hint; Ctrl + Shift is the cancel chord.
#if !defined(_WIN32)
#error "ProgressWindow_Win.cpp is for Windows only"
#endif

#include <windows.h>
#include <commctrl.h>

#include "ProgressWindow.h"

namespace crop {

namespace {

const char kClassName[] = "myWindowClass";
const COLORREF kBackground = RGB(40, 40, 40);
const COLORREF kHintColour = RGB(200, 200, 200);
const int kWidth = 400;
const int kHeight = 200;

// The host is 64-bit only, where the class structure is 80 bytes; anything else is a wrong header.
static_assert(sizeof(WNDCLASSEXA) == 80, "WNDCLASSEXA must be 80 bytes");

// The procedure's children, kept for the process: each new window's WM_CREATE replaces them, and
// only one window is open at a time.
HWND g_bar = NULL;
HWND g_label = NULL;

LRESULT CALLBACK progressProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // One brush for the process, never freed: the label's background on every repaint.
    static const HBRUSH brush = CreateSolidBrush(kBackground);
    switch (message) {
        case WM_CREATE:
            g_bar = CreateWindowExA(0, "msctls_progress32", NULL, WS_CHILD | WS_VISIBLE, 10, 20,
                                    360, 40, hwnd, NULL, NULL, NULL);
            g_label =
                CreateWindowExA(0, "Static", "Hold Ctrl + Shift to cancel the crop",
                                WS_CHILD | WS_VISIBLE, 10, 95, 360, 20, hwnd, NULL, NULL, NULL);
            // The bar keeps the control's default range, 0 to 100.
            SendMessageA(g_bar, PBM_SETPOS, 0, 0);
            return 0;
        case WM_COMMAND:
            // The window's own set-progress message: wParam is the percent.
            SendMessageA(g_bar, PBM_SETPOS, wParam, 0);
            return 0;
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) != g_label) return 0;
            SetTextColor(reinterpret_cast<HDC>(wParam), kHintColour);
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(brush);
        case WM_DESTROY:
            return 0;
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

void registerWindowClass() {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(WNDCLASSEXA);
    wc.style = 0;
    wc.lpfnWndProc = progressProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = NULL;
    wc.hIcon = LoadIconA(NULL, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(kBackground);
    wc.lpszMenuName = NULL;
    wc.lpszClassName = kClassName;
    wc.hIconSm = LoadIconA(NULL, IDI_APPLICATION);
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        MessageBoxA(NULL, "Error 137", "Zentrim Error", MB_OK);
}

// The rectangle the window is centred on: the host's main window, or, when the host gives none,
// the primary screen's work area, so that the window still shows where the user looks.
RECT centringArea(HWND mainWindow) {
    RECT area = {0, 0, 0, 0};
    if (mainWindow && GetWindowRect(mainWindow, &area)) return area;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
        area.right = GetSystemMetrics(SM_CXSCREEN);
        area.bottom = GetSystemMetrics(SM_CYSCREEN);
    }
    return area;
}

}  // namespace

void ProgressWindow::open(bool firstRun, AEGP_SuiteHandler& suites) {
    if (firstRun) registerWindowClass();

    // Its error is not looked at: a failure leaves no main window, which is handled below.
    HWND mainWindow = NULL;
    suites.UtilitySuite5()->AEGP_GetMainHWND(&mainWindow);

    RECT area = centringArea(mainWindow);
    int left = area.left + (area.right - area.left) / 2 - kWidth / 2;
    int top = area.top + (area.bottom - area.top) / 2 - kHeight / 2;

    // Style 0: a caption but no system menu, so no close box; cancelling is by the keys only.
    HWND hwnd = CreateWindowExA(WS_EX_DLGMODALFRAME, kClassName, "Zentrim Duration - Progress", 0,
                                left, top, kWidth, kHeight, mainWindow, NULL, NULL, NULL);
    if (!hwnd) MessageBoxA(mainWindow, "Error 138", "Zentrim Error", MB_ICONWARNING);
    window_ = hwnd;
    // With no window these calls do nothing, and the crop goes on without a display.
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
}

void ProgressWindow::setPercent(int percent) {
    SendMessageA(static_cast<HWND>(window_), WM_COMMAND, static_cast<WPARAM>(percent), 0);
}

bool ProgressWindow::cancelRequested() {
    // The high bit (a negative value) means the key is down.
    return GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) < 0;
}

void ProgressWindow::close() {
    DestroyWindow(static_cast<HWND>(window_));
    window_ = NULL;
}

}  // namespace crop
