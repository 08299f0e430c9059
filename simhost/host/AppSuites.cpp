// Command, Register and Utility suites: menus, hooks, reports, undo groups and scripts.
#include <cstring>

#include "Suites.h"
#include "Trampoline.h"

namespace sim {

// The names the call log gives the calls through these tables.
constexpr char kCommandSuite[] = "CommandSuite";
constexpr char kRegisterSuite[] = "RegisterSuite";
constexpr char kUtilitySuite[] = "UtilitySuite";

namespace {

std::vector<MenuEntry>& menuOf(Host& h, AEGP_MenuID menu) {
    return h.menus().entries[static_cast<int>(menu)];
}

MenuEntry& entryOf(Host& h, AEGP_Command command) {
    for (auto& [id, entries] : h.menus().entries)
        for (MenuEntry& e : entries)
            if (e.command == command && command != 0) return e;
    throw HostError(A_Err_PARAMETER, "no menu command " + std::to_string(command));
}

// ---- Command suite ----

A_Err GetUniqueCommand(AEGP_Command* commandP) {
    return hostCall("AEGP_GetUniqueCommand", [&](Host& h) {
        requireOut(commandP, "command");
        *commandP = h.menus().nextCommand++;
        args(h, "->", *commandP);
        return A_Err_NONE;
    });
}

A_Err InsertMenuCommand(AEGP_Command command, const A_char* nameZ, AEGP_MenuID menu, A_long after) {
    return hostCall("AEGP_InsertMenuCommand", [&](Host& h) {
        requireOut(nameZ, "name");
        args(h, command, nameZ, static_cast<int>(menu), after);
        std::vector<MenuEntry>& entries = menuOf(h, menu);
        MenuEntry entry{command, nameZ, false};
        if (after == AEGP_MENU_INSERT_AT_BOTTOM) {
            entries.push_back(entry);
        } else if (after == AEGP_MENU_INSERT_AT_TOP) {
            entries.insert(entries.begin(), entry);
        } else if (after == AEGP_MENU_INSERT_SORTED) {
            auto at = entries.begin();
            while (at != entries.end() && at->name < entry.name)
                ++at;
            entries.insert(at, entry);
        } else if (after > 0 && static_cast<size_t>(after) <= entries.size()) {
            entries.insert(entries.begin() + after, entry);
        } else {
            throw HostError(A_Err_PARAMETER,
                            "menu position " + std::to_string(after) + " is outside the menu");
        }
        return A_Err_NONE;
    });
}

A_Err SetMenuCommandName(AEGP_Command command, const A_char* nameZ) {
    return hostCall("AEGP_SetMenuCommandName", [&](Host& h) {
        requireOut(nameZ, "name");
        args(h, command, nameZ);
        entryOf(h, command).name = nameZ;
        return A_Err_NONE;
    });
}

A_Err EnableCommand(AEGP_Command command) {
    return hostCall("AEGP_EnableCommand", [&](Host& h) {
        args(h, command);
        entryOf(h, command).enabled = true;
        return A_Err_NONE;
    });
}

A_Err DisableCommand(AEGP_Command command) {
    return hostCall("AEGP_DisableCommand", [&](Host& h) {
        args(h, command);
        entryOf(h, command).enabled = false;
        return A_Err_NONE;
    });
}

A_Err DoCommand(AEGP_Command command) {
    return hostCall("AEGP_DoCommand", [&](Host& h) {
        args(h, command);
        return h.doCommand(command);
    });
}

// ---- Register suite ----

A_Err RegisterCommandHook(AEGP_PluginID plugin, AEGP_HookPriority priority, AEGP_Command command,
                          AEGP_CommandHook func, AEGP_CommandRefcon refcon) {
    return hostCall("AEGP_RegisterCommandHook", [&](Host& h) {
        requireOut(func, "hook");
        args(h, plugin, priority, command);
        h.menus().commandHooks.push_back({plugin, priority, command, func, refcon});
        return A_Err_NONE;
    });
}

A_Err RegisterUpdateMenuHook(AEGP_PluginID plugin, AEGP_UpdateMenuHook func,
                             AEGP_UpdateMenuRefcon refcon) {
    return hostCall("AEGP_RegisterUpdateMenuHook", [&](Host& h) {
        requireOut(func, "hook");
        args(h, plugin);
        h.menus().updateMenuHooks.emplace_back(func, refcon);
        return A_Err_NONE;
    });
}

A_Err RegisterIdleHook(AEGP_PluginID plugin, AEGP_IdleHook func, AEGP_IdleRefcon refcon) {
    return hostCall("AEGP_RegisterIdleHook", [&](Host& h) {
        requireOut(func, "hook");
        args(h, plugin);
        h.menus().idleHooks.emplace_back(func, refcon);
        return A_Err_NONE;
    });
}

// ---- Utility suite ----

A_Err ReportInfo(AEGP_PluginID plugin, const A_char* textZ) {
    return hostCall("AEGP_ReportInfo", [&](Host& h) {
        requireOut(textZ, "text");
        args(h, plugin, textZ);
        h.events().reports.push_back(textZ);
        return A_Err_NONE;
    });
}

A_Err StartUndoGroup(const A_char* nameZ) {
    return hostCall("AEGP_StartUndoGroup", [&](Host& h) {
        requireOut(nameZ, "undo group name");
        args(h, nameZ);
        h.startUndoGroup(nameZ);
        return A_Err_NONE;
    });
}

A_Err EndUndoGroup(void) {
    return hostCall("AEGP_EndUndoGroup", [&](Host& h) {
        h.endUndoGroup();
        return A_Err_NONE;
    });
}

A_Err GetMainHWND(void* mainHwndP) {
    return hostCall("AEGP_GetMainHWND", [&](Host& h) {
        requireOut(mainHwndP, "window");
        std::memcpy(mainHwndP, &h.platform().mainWindow, sizeof(void*));
        return A_Err_NONE;
    });
}

AEGP_MemHandle newTextHandle(Host& h, const std::string& text, const char* what) {
    return newMemHandle(h, text.c_str(), text.size() + 1, what);
}

A_Err ExecuteScript(AEGP_PluginID plugin, const A_char* scriptZ, const A_Boolean platformEncoding,
                    AEGP_MemHandle* resultPH, AEGP_MemHandle* errorPH) {
    return hostCall("AEGP_ExecuteScript", [&](Host& h) {
        requireOut(scriptZ, "script");
        args(h, plugin, platformEncoding ? "platform-encoding" : "utf-8");
        if (resultPH) *resultPH = nullptr;
        if (errorPH) *errorPH = nullptr;
        h.events().scripts.push_back(scriptZ);
        if (!h.platform().scriptRunner)
            throw HostError(A_Err_GENERIC, "scripting is not available");
        ScriptOutcome out = h.platform().scriptRunner(scriptZ);
        if (!out.ok) {
            if (errorPH) *errorPH = newTextHandle(h, out.error, "script error text");
            h.log().problem("script error: " + out.error);
            if (h.model().scriptError == HostModel::ScriptError::Error) return A_Err_GENERIC;
            // One alternative host reports success: the result is empty, the error text is only
            // in the error handle.
            if (resultPH) *resultPH = newTextHandle(h, "", "script result");
            return A_Err_NONE;
        }
        if (resultPH) *resultPH = newTextHandle(h, out.value, "script result");
        return A_Err_NONE;
    });
}

A_Err IsScriptingAvailable(A_Boolean* availableP) {
    return hostCall("AEGP_IsScriptingAvailable", [&](Host& h) {
        requireOut(availableP, "flag");
        *availableP = h.platform().scriptRunner ? 1 : 0;
        return A_Err_NONE;
    });
}

}  // namespace

void registerAppSuites(Host& host) {
    static AEGP_CommandSuite1 command = [] {
        AEGP_CommandSuite1 s{};
        s.AEGP_GetUniqueCommand = entry<kCommandSuite, GetUniqueCommand>;
        s.AEGP_InsertMenuCommand = entry<kCommandSuite, InsertMenuCommand>;
        s.AEGP_SetMenuCommandName = entry<kCommandSuite, SetMenuCommandName>;
        s.AEGP_EnableCommand = entry<kCommandSuite, EnableCommand>;
        s.AEGP_DisableCommand = entry<kCommandSuite, DisableCommand>;
        s.AEGP_DoCommand = entry<kCommandSuite, DoCommand>;
        fillUnimplemented(&s, sizeof s);
        return s;
    }();
    static AEGP_RegisterSuite5 reg = [] {
        AEGP_RegisterSuite5 s{};
        s.AEGP_RegisterCommandHook = entry<kRegisterSuite, RegisterCommandHook>;
        s.AEGP_RegisterUpdateMenuHook = entry<kRegisterSuite, RegisterUpdateMenuHook>;
        s.AEGP_RegisterIdleHook = entry<kRegisterSuite, RegisterIdleHook>;
        fillUnimplemented(&s, sizeof s);
        return s;
    }();
    static AEGP_UtilitySuite5 utility = [] {
        AEGP_UtilitySuite5 s{};
        s.AEGP_ReportInfo = entry<kUtilitySuite, ReportInfo>;
        s.AEGP_StartUndoGroup = entry<kUtilitySuite, StartUndoGroup>;
        s.AEGP_EndUndoGroup = entry<kUtilitySuite, EndUndoGroup>;
        s.AEGP_GetMainHWND = entry<kUtilitySuite, GetMainHWND>;
        s.AEGP_ExecuteScript = entry<kUtilitySuite, ExecuteScript>;
        s.AEGP_IsScriptingAvailable = entry<kUtilitySuite, IsScriptingAvailable>;
        fillUnimplemented(&s, sizeof s);
        return s;
    }();
    host.addSuite(kAEGPCommandSuite, kAEGPCommandSuiteVersion1, &command);
    host.addSuite(kAEGPRegisterSuite, kAEGPRegisterSuiteVersion5, &reg);
    host.addSuite(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5, &utility);

    // The host's own entries of the Layer menu, above which the plug-in's commands are added.
    if (host.menus().entries[AEGP_Menu_LAYER].empty()) {
        for (const char* name : {"New", "Layer Settings...", "Open Layer", "Mask", "Transform",
                                 "Time", "Pre-compose..."}) {
            host.menus().entries[AEGP_Menu_LAYER].push_back(
                {host.menus().nextCommand++, name, true});
        }
    }
}

}  // namespace sim
