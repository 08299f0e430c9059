// Native functions behind alert, $.writeln, app.preferences and app.project.
#include <cmath>
#include <ostream>
#include <nlohmann/json.hpp>

#include "Engine.h"

namespace sim::script {

namespace {

using nlohmann::json;

duk_ret_t alertNative(duk_context* ctx, Engine& e) {
    Alert a;
    a.text = argText(ctx, 0);
    a.title = argText(ctx, 1);
    a.errorIcon = duk_to_boolean(ctx, 2) != 0;
    e.host.events().alerts.push_back(a);
    // A person answering at the terminal sees an alert when it is shown, as at the host.
    if (e.asksTerminal())
        e.terminalOut() << "alert" << (a.title.empty() ? "" : " \"" + a.title + "\"") << ": "
                        << a.text << "\n";
    return 0;
}

// findMenuCommandId(name): the command number of the first menu entry with that name, in the
// host's menus in order; 0 when there is none.
duk_ret_t findMenuCommandIdNative(duk_context* ctx, Engine& e) {
    std::string name = argText(ctx, 0);
    for (const auto& [menu, entries] : e.host.menus().entries) {
        (void)menu;
        for (const MenuEntry& entry : entries) {
            if (entry.name == name && entry.command != 0) {
                duk_push_number(ctx, static_cast<double>(entry.command));
                return 1;
            }
        }
    }
    duk_push_number(ctx, 0);
    return 1;
}

duk_ret_t writelnNative(duk_context* ctx, Engine& e) {
    e.host.events().console.push_back(argText(ctx, 0));
    return 0;
}

duk_ret_t osNative(duk_context* ctx, Engine& e) {
    const std::string& fs = e.options.fs;
    pushText(ctx, fs == "Windows"     ? "Windows/64-bit 10.0"
                  : fs == "Macintosh" ? "Macintosh OS 13.0.0/64"
                                      : "Linux");
    return 1;
}

// ---- preferences ----

duk_ret_t prefHaveNative(duk_context* ctx, Engine& e) {
    duk_push_boolean(ctx, e.host.prefs().has(argText(ctx, 0), argText(ctx, 1)));
    return 1;
}

// prefGet(kind, section, key): the value read as kind (bool, float, long, string), undefined
// when absent.
duk_ret_t prefGetNative(duk_context* ctx, Engine& e) {
    std::string kind = argText(ctx, 0), section = argText(ctx, 1), key = argText(ctx, 2);
    const Preferences& p = e.host.prefs();
    if (!p.has(section, key)) return 0;
    if (kind == "bool")
        duk_push_boolean(ctx, p.getBool(section, key, false));
    else if (kind == "float")
        duk_push_number(ctx, p.getDouble(section, key, 0));
    else if (kind == "long")
        duk_push_number(ctx, static_cast<double>(p.getLong(section, key, 0)));
    else
        pushText(ctx, p.getString(section, key, ""));
    return 1;
}

long wholeNumber(double d) {
    if (!std::isfinite(d)) return 0;
    if (d >= 2147483647.0) return 2147483647L;
    if (d <= -2147483648.0) return -2147483647L - 1;
    return static_cast<long>(std::trunc(d));
}

// prefSave(kind, section, key, value): the value keeps the type its save call names.
duk_ret_t prefSaveNative(duk_context* ctx, Engine& e) {
    std::string kind = argText(ctx, 0), section = argText(ctx, 1), key = argText(ctx, 2);
    if (kind == "bool")
        e.host.prefs().set(section, key, duk_to_boolean(ctx, 3) != 0);
    else if (kind == "float")
        e.host.prefs().set(section, key, static_cast<double>(duk_get_number(ctx, 3)));
    else if (kind == "long")
        e.host.prefs().set(section, key, wholeNumber(duk_get_number(ctx, 3)));
    else
        e.host.prefs().set(section, key, argText(ctx, 3));
    return 0;
}

duk_ret_t prefSaveToDiskNative(duk_context*, Engine& e) {
    ++e.host.prefs().savesToDisk;
    return 0;
}

// ---- project: read afresh on every call, since the plug-in changes it between scripts ----

Id argId(duk_context* ctx, duk_idx_t i) {
    return static_cast<Id>(duk_get_number_default(ctx, i, 0));
}

const char* typeName(ItemType t) {
    switch (t) {
        case ItemType::Folder:
            return "folder";
        case ItemType::Solid:
            return "solid";
        case ItemType::Image:
            return "image";
        case ItemType::Comp:
            return "comp";
        case ItemType::NullSource:
            return "null";
    }
    return "unknown";
}

const char* kindName(LayerKind k) {
    switch (k) {
        case LayerKind::AV:
            return "av";
        case LayerKind::Null:
            return "null";
        case LayerKind::Camera:
            return "camera";
        case LayerKind::Light:
            return "light";
        case LayerKind::Text:
            return "text";
        case LayerKind::Shape:
            return "shape";
    }
    return "unknown";
}

duk_ret_t activeItemIdNative(duk_context* ctx, Engine& e) {
    const Project& p = e.host.project();
    duk_push_number(ctx, p.findItem(p.activeItem) ? static_cast<double>(p.activeItem) : 0);
    return 1;
}

duk_ret_t numItemsNative(duk_context* ctx, Engine& e) {
    duk_push_number(ctx, static_cast<double>(e.host.project().items.size()));
    return 1;
}

duk_ret_t itemIdAtNative(duk_context* ctx, Engine& e) {
    double i = duk_get_number_default(ctx, 0, -1);
    const auto& items = e.host.project().items;
    if (!(i >= 0 && i < static_cast<double>(items.size()))) return 0;
    duk_push_number(ctx, static_cast<double>(items[static_cast<size_t>(i)].id));
    return 1;
}

// item(id): JSON {id, name, type, width, height, layers: [layer ids]}; undefined when gone.
duk_ret_t itemNative(duk_context* ctx, Engine& e) {
    const Item* item = e.host.project().findItem(argId(ctx, 0));
    if (!item) return 0;
    int w = 0, h = 0;
    itemSize(*item, &w, &h);
    json out = {
        {"id", item->id}, {"name", item->name},      {"type", typeName(item->type)}, {"width", w},
        {"height", h},    {"layers", json::array()}, {"folder", item->folder}};
    if (item->type == ItemType::Comp) {
        out["frameRate"] = item->comp.frameRate;
        out["duration"] = item->comp.duration.toDouble();
        for (const Layer& l : item->comp.layers)
            out["layers"].push_back(l.id);
    }
    pushText(ctx, out.dump());
    return 1;
}

// layer(id): JSON {id, name, kind, index (from 1), selected, source, comp, masks: [{id, name}]};
// undefined when gone.
duk_ret_t layerNative(duk_context* ctx, Engine& e) {
    Id id = argId(ctx, 0);
    int index = 0;
    const Project& p = e.host.project();
    const Item* comp = p.findLayerComp(id, &index);
    const Layer* layer = p.findLayer(id);
    if (!comp || !layer) return 0;
    json masks = json::array();
    for (const Mask& m : layer->masks)
        masks.push_back({{"id", m.id}, {"name", m.name}, {"selected", m.selected}});
    json out = {{"id", layer->id},
                {"name", layer->name},
                {"kind", kindName(layer->kind)},
                {"index", index + 1},
                {"selected", layer->selected},
                {"source", layer->source},
                {"comp", comp->id},
                {"masks", masks}};
    pushText(ctx, out.dump());
    return 1;
}

}  // namespace

void addHostNatives(duk_context* ctx) {
    const duk_function_list_entry natives[] = {
        {"alert", guarded<alertNative>, 3},
        {"writeln", guarded<writelnNative>, 1},
        {"os", guarded<osNative>, 0},
        {"findMenuCommandId", guarded<findMenuCommandIdNative>, 1},
        {"prefHave", guarded<prefHaveNative>, 2},
        {"prefGet", guarded<prefGetNative>, 3},
        {"prefSave", guarded<prefSaveNative>, 4},
        {"prefSaveToDisk", guarded<prefSaveToDiskNative>, 0},
        {"activeItemId", guarded<activeItemIdNative>, 0},
        {"numItems", guarded<numItemsNative>, 0},
        {"itemIdAt", guarded<itemIdAtNative>, 1},
        {"item", guarded<itemNative>, 1},
        {"layer", guarded<layerNative>, 1},
        {nullptr, nullptr, 0},
    };
    duk_put_function_list(ctx, -1, natives);
}

}  // namespace sim::script
