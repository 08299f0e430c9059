// Redirecting a loaded module's user32 imports to recorders, by rewriting its import address table.
#include "ImportHooks.h"

#include <cstring>

namespace wintest {

namespace {

ImportLog g_log;

std::string text(const char* s) {
    // Resource ids (MAKEINTRESOURCE) are not strings.
    if (!s || reinterpret_cast<ULONG_PTR>(s) <= 0xFFFF) return std::string();
    return s;
}

ATOM WINAPI recordRegisterClassExA(const WNDCLASSEXA* wc) {
    ClassRegistration r;
    r.fields = *wc;
    r.className = text(wc->lpszClassName);
    r.menuName = text(wc->lpszMenuName);
    ATOM atom = 0;
    if (g_log.failRegistration) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    } else {
        atom = RegisterClassExA(wc);
    }
    r.succeeded = atom != 0;
    r.error = atom ? 0 : GetLastError();
    g_log.registrations.push_back(r);
    SetLastError(r.error);
    return atom;
}

HWND WINAPI recordCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x,
                                  int y, int width, int height, HWND parent, HMENU menu,
                                  HINSTANCE instance, LPVOID param) {
    WindowCreation c;
    c.exStyle = exStyle;
    c.className = text(className);
    c.title = text(title);
    c.titleNull = title == NULL;
    c.style = style;
    c.x = x;
    c.y = y;
    c.width = width;
    c.height = height;
    c.parent = parent;
    c.menu = menu;
    c.instance = instance;
    c.param = param;
    // Recorded before the call: the window procedure creates children inside it.
    size_t at = g_log.windows.size();
    g_log.windows.push_back(c);
    HWND hwnd = NULL;
    if (g_log.failProgressWindow && c.className == "myWindowClass") {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    } else {
        hwnd = CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu,
                               instance, param);
    }
    g_log.windows[at].result = hwnd;
    return hwnd;
}

int WINAPI recordMessageBoxA(HWND owner, LPCSTR message, LPCSTR caption, UINT type) {
    g_log.messageBoxes.push_back({owner, text(message), text(caption), type});
    return IDOK;
}

struct Redirect {
    const char* name;
    void* to;
};

}  // namespace

void ImportLog::clear() {
    registrations.clear();
    windows.clear();
    messageBoxes.clear();
    failRegistration = false;
    failProgressWindow = false;
}

std::vector<WindowCreation> ImportLog::created(const std::string& className) const {
    std::vector<WindowCreation> out;
    for (const WindowCreation& w : windows)
        if (w.className == className) out.push_back(w);
    return out;
}

ImportLog& importLog() {
    return g_log;
}

bool watchImports(HMODULE module, std::string* why) {
    const Redirect redirects[] = {
        {"RegisterClassExA", reinterpret_cast<void*>(&recordRegisterClassExA)},
        {"CreateWindowExA", reinterpret_cast<void*>(&recordCreateWindowExA)},
        {"MessageBoxA", reinterpret_cast<void*>(&recordMessageBoxA)},
    };
    bool done[3] = {false, false, false};

    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) {
        *why = "the module has no import table";
        return false;
    }
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name;
         ++d) {
        if (_stricmp(reinterpret_cast<const char*>(base + d->Name), "user32.dll") != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (int i = 0; i < 3; ++i) {
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), redirects[i].name))
                    continue;
                DWORD old = 0;
                VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
                slots->u1.Function = reinterpret_cast<ULONG_PTR>(redirects[i].to);
                VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
                done[i] = true;
            }
        }
    }
    for (int i = 0; i < 3; ++i) {
        if (!done[i]) {
            *why = std::string("the module does not import ") + redirects[i].name;
            return false;
        }
    }
    return true;
}

}  // namespace wintest
