// Native functions behind File: every operation stays in the sandbox and is recorded.
#include <fstream>
#include <sstream>
#include <system_error>

#include "Engine.h"

namespace sim::script {

namespace {

namespace fsys = std::filesystem;

// Records the operation (as the script named the path) and gives the sandboxed place, or records
// the refusal and gives nothing.
std::optional<fsys::path> place(Engine& e, const std::string& op, const std::string& path,
                                const std::string& detail = "") {
    std::string event = op + " " + path + (detail.empty() ? "" : " " + detail);
    std::optional<fsys::path> where = e.files.resolve(path);
    e.host.events().fileEvents.push_back(where ? event : "refused " + event);
    return where;
}

// fileOpen(path, mode): "r" needs the file; "w" empties or makes it; "a" and "e" make it when
// missing.
duk_ret_t fileOpenNative(duk_context* ctx, Engine& e) {
    std::string path = argText(ctx, 0), mode = argText(ctx, 1);
    auto where = place(e, "open", path, mode);
    bool ok = false;
    if (where) {
        std::error_code ec;
        if (mode == "r") {
            ok = fsys::is_regular_file(*where, ec);
        } else if (mode == "w" || mode == "a" || mode == "e") {
            fsys::create_directories(where->parent_path(), ec);
            std::ofstream out(*where, mode == "w" ? std::ios::binary | std::ios::trunc
                                                  : std::ios::binary | std::ios::app);
            ok = static_cast<bool>(out);
        }
    }
    duk_push_boolean(ctx, ok);
    return 1;
}

duk_ret_t fileWriteNative(duk_context* ctx, Engine& e) {
    std::string path = argText(ctx, 0), text = argText(ctx, 1);
    auto where = place(e, "write", path);
    bool ok = false;
    if (where) {
        std::ofstream out(*where, std::ios::binary | std::ios::app);
        ok = out && (out << text) && out.flush();
    }
    duk_push_boolean(ctx, ok);
    return 1;
}

duk_ret_t fileReadNative(duk_context* ctx, Engine& e) {
    std::string path = argText(ctx, 0);
    auto where = place(e, "read", path);
    if (!where) return 0;
    std::ifstream in(*where, std::ios::binary);
    if (!in) return 0;
    std::stringstream buf;
    buf << in.rdbuf();
    pushText(ctx, buf.str());
    return 1;
}

// Nothing is ever run: the request is recorded and answered as done.
duk_ret_t fileExecuteNative(duk_context* ctx, Engine& e) {
    duk_push_boolean(ctx, place(e, "execute", argText(ctx, 0)).has_value());
    return 1;
}

duk_ret_t fileRemoveNative(duk_context* ctx, Engine& e) {
    auto where = place(e, "remove", argText(ctx, 0));
    std::error_code ec;
    duk_push_boolean(ctx, where && fsys::remove(*where, ec));
    return 1;
}

duk_ret_t fileExistsNative(duk_context* ctx, Engine& e) {
    auto where = e.files.resolve(argText(ctx, 0));
    std::error_code ec;
    duk_push_boolean(ctx, where && fsys::exists(*where, ec));
    return 1;
}

duk_ret_t fileFsNameNative(duk_context* ctx, Engine& e) {
    pushText(ctx, e.files.fsName(argText(ctx, 0)));
    return 1;
}

duk_ret_t fileSystemNative(duk_context* ctx, Engine& e) {
    pushText(ctx, e.files.fs());
    return 1;
}

}  // namespace

void addFileNatives(duk_context* ctx) {
    const duk_function_list_entry natives[] = {
        {"fileOpen", guarded<fileOpenNative>, 2},
        {"fileWrite", guarded<fileWriteNative>, 2},
        {"fileRead", guarded<fileReadNative>, 1},
        {"fileExecute", guarded<fileExecuteNative>, 1},
        {"fileRemove", guarded<fileRemoveNative>, 1},
        {"fileExists", guarded<fileExistsNative>, 1},
        {"fileFsName", guarded<fileFsNameNative>, 1},
        {"fileSystem", guarded<fileSystemNative>, 0},
        {nullptr, nullptr, 0},
    };
    duk_put_function_list(ctx, -1, natives);
}

}  // namespace sim::script
