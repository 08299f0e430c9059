// Watching a loaded plug-in's calls into user32: its import table entries for window class
// registration, window creation and message boxes are pointed at recorders that forward to the
// real functions (or fail on request). Message boxes are recorded and never shown, so an
// unexpected one cannot block the unattended run.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wintest {

struct ClassRegistration {
    WNDCLASSEXA fields;  // as passed (the strings copied below)
    std::string className, menuName;
    bool succeeded = false;
    DWORD error = 0;  // GetLastError after a failure
};

struct WindowCreation {
    DWORD exStyle = 0, style = 0;
    std::string className, title;
    bool titleNull = false;
    int x = 0, y = 0, width = 0, height = 0;
    HWND parent = NULL;
    HMENU menu = NULL;
    HINSTANCE instance = NULL;
    void* param = nullptr;
    HWND result = NULL;
};

struct MessageBoxCall {
    HWND owner = NULL;
    std::string text, caption;
    UINT type = 0;
};

struct ImportLog {
    std::vector<ClassRegistration> registrations;
    std::vector<WindowCreation> windows;
    std::vector<MessageBoxCall> messageBoxes;
    bool failRegistration = false;    // RegisterClassExA answers 0, ERROR_NOT_ENOUGH_MEMORY
    bool failProgressWindow = false;  // CreateWindowExA of "myWindowClass" answers NULL
    void clear();
    // The windows created with one class, in order.
    std::vector<WindowCreation> created(const std::string& className) const;
};

ImportLog& importLog();

// Redirects the module's user32 imports RegisterClassExA, CreateWindowExA and MessageBoxA.
// False (with the reason) when one is not imported.
bool watchImports(HMODULE module, std::string* why);

}  // namespace wintest
