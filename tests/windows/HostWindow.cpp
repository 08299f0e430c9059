// The test host's main window, message pumping, key events and screenshot handshake.
#include "HostWindow.h"

#include <cstdio>

namespace wintest {

namespace {

LRESULT CALLBACK mainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        SetBkMode(dc, TRANSPARENT);
        const char text[] = "Zentrim Windows test host (the host's main window)";
        TextOutA(dc, 16, 16, text, sizeof text - 1);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool fileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes the request whole (a rename), then waits for the script's answer, painting meanwhile.
bool askRunner(const std::string& folder, const std::string& request, int timeoutMilliseconds) {
    const std::string path = folder + "/request", done = folder + "/done";
    DeleteFileA(done.c_str());
    FILE* f = std::fopen((path + ".tmp").c_str(), "w");
    if (!f) return false;
    std::fputs(request.c_str(), f);
    std::fclose(f);
    if (!MoveFileExA((path + ".tmp").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return false;
    DWORD start = GetTickCount();
    while (!fileExists(done)) {
        if (GetTickCount() - start > static_cast<DWORD>(timeoutMilliseconds)) {
            DeleteFileA(path.c_str());
            return false;
        }
        pumpMessages(20);
    }
    DeleteFileA(done.c_str());
    return true;
}

}  // namespace

HWND createMainWindow(int x, int y, int width, int height) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = mainProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(225, 228, 232));
    wc.lpszClassName = "ZentrimTestHostMain";
    if (!RegisterClassExA(&wc)) return NULL;
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "Zentrim test host", WS_OVERLAPPEDWINDOW, x, y,
                                width, height, NULL, NULL, wc.hInstance, NULL);
    if (!hwnd) return NULL;
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    SetForegroundWindow(hwnd);
    pumpMessages(200);
    return hwnd;
}

void pumpMessages(int milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    } while (GetTickCount() - start < static_cast<DWORD>(milliseconds));
}

bool sendKey(const std::string& folder, WORD virtualKey, bool down) {
    const char* name = virtualKey == VK_CONTROL ? "Control_L"
                       : virtualKey == VK_SHIFT ? "Shift_L"
                                                : nullptr;
    if (!name) return false;
    if (!askRunner(folder, std::string(down ? "keydown " : "keyup ") + name, 10000)) return false;
    // The key state follows the messages once they are taken from the queue.
    for (int i = 0; i < 100; ++i) {
        pumpMessages(20);
        if ((GetKeyState(virtualKey) < 0) == down) return true;
    }
    return false;
}

bool requestScreenshot(const std::string& folder, int timeoutMilliseconds) {
    pumpMessages(500);  // let every window paint before the capture
    return askRunner(folder, "shot", timeoutMilliseconds);
}

}  // namespace wintest
