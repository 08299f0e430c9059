// Item suites 1, 6 and 8 and Proj suites 5 and 6: walking, reading, renaming and deleting items.
#include <algorithm>
#include <cstring>
#include <limits>
#include <ostream>
#include <set>

#include "LayerEdits.h"
#include "ProjectSuites.h"
#include "Trampoline.h"

namespace sim {

// The names the call log gives the calls through these tables.
constexpr char kItemSuite[] = "ItemSuite";
constexpr char kProjSuite[] = "ProjSuite";

namespace {

using namespace projectsuites;

std::string label(const Item& item) {
    return "'" + item.name + "'#" + std::to_string(item.id);
}

// An item's label as a call argument, formatted only when the call log wants the text.
struct Label {
    const Item* item;
};
std::ostream& operator<<(std::ostream& out, const Label& l) {
    if (!l.item) return out << "none";
    return out << "'" << l.item->name << "'#" << l.item->id;
}

void requireProject(Host& h, AEGP_ProjectH projectH) {
    h.record(projectH, HandleKind::Project, "project");
}

// The 8-bit suites hold names in AEGP_MAX_ITEM_NAME_SIZE bytes with the terminator; a cut
// never splits a UTF-8 sequence, so the text stays valid.
std::string shortName(const std::string& name) {
    size_t cut = AEGP_MAX_ITEM_NAME_SIZE - 1;
    if (name.size() <= cut) return name;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    return name.substr(0, cut);
}

void requireNotFolder(const Item& item, const char* what) {
    if (item.type == ItemType::Folder)
        throw HostError(A_Err_PARAMETER, "the folder " + label(item) + " has no " + what);
}

// ---- Proj suite ----

A_Err GetProjectByIndex(A_long index, AEGP_ProjectH* projPH) {
    return hostCall("AEGP_GetProjectByIndex", [&](Host& h) {
        requireOut(projPH, "project");
        args(h, index);
        *projPH = nullptr;
        if (index != 0)
            throw HostError(A_Err_PARAMETER, "there is one project; index " +
                                                 std::to_string(index) + " is out of range");
        *projPH = h.projectHandle();
        return A_Err_NONE;
    });
}

// ---- Item suites ----

A_Err GetFirstProjItem(AEGP_ProjectH projectH, AEGP_ItemH* itemPH) {
    return hostCall("AEGP_GetFirstProjItem", [&](Host& h) {
        requireProject(h, projectH);
        requireOut(itemPH, "item");
        const auto& items = h.project().items;
        *itemPH = items.empty() ? nullptr : h.itemHandle(items.front().id);
        args(h, "->", Label{items.empty() ? nullptr : &items.front()});
        return A_Err_NONE;
    });
}

// Project order is the order of Project::items, which already lists folder contents in place.
A_Err GetNextProjItem(AEGP_ProjectH projectH, AEGP_ItemH itemH, AEGP_ItemH* nextPH) {
    return hostCall("AEGP_GetNextProjItem", [&](Host& h) {
        requireProject(h, projectH);
        requireOut(nextPH, "next item");
        *nextPH = nullptr;
        const Item& item = h.itemOf(itemH);
        const auto& items = h.project().items;
        const size_t next = static_cast<size_t>(&item - items.data()) + 1;
        const Item* found = next < items.size() ? &items[next] : nullptr;
        *nextPH = found ? h.itemHandle(found->id) : nullptr;
        args(h, Label{&item}, "->", Label{found});
        return A_Err_NONE;
    });
}

A_Err GetActiveItem(AEGP_ItemH* itemPH) {
    return hostCall("AEGP_GetActiveItem", [&](Host& h) {
        requireOut(itemPH, "item");
        const Item* item = h.project().findItem(h.project().activeItem);
        *itemPH = item ? h.itemHandle(item->id) : nullptr;
        args(h, "->", Label{item});
        return A_Err_NONE;
    });
}

A_Err IsItemSelected(AEGP_ItemH itemH, A_Boolean* selectedPB) {
    return hostCall("AEGP_IsItemSelected", [&](Host& h) {
        requireOut(selectedPB, "flag");
        const Item& item = h.itemOf(itemH);
        *selectedPB = item.selected ? 1 : 0;
        args(h, Label{&item}, "->", item.selected);
        return A_Err_NONE;
    });
}

A_Err GetItemType(AEGP_ItemH itemH, AEGP_ItemType* typeP) {
    return hostCall("AEGP_GetItemType", [&](Host& h) {
        requireOut(typeP, "type");
        const Item& item = h.itemOf(itemH);
        switch (item.type) {
            case ItemType::Folder:
                *typeP = AEGP_ItemType_FOLDER;
                break;
            case ItemType::Comp:
                *typeP = AEGP_ItemType_COMP;
                break;
            case ItemType::Solid:  // modern hosts report solids as footage, not SOLID_defunct
            case ItemType::Image:
            case ItemType::NullSource:
                *typeP = AEGP_ItemType_FOOTAGE;
                break;
        }
        args(h, Label{&item}, "->", *typeP);
        return A_Err_NONE;
    });
}

A_Err GetItemName(AEGP_ItemH itemH, A_char* nameZ) {
    return hostCall("AEGP_GetItemName", [&](Host& h) {
        requireOut(nameZ, "name buffer");
        const Item& item = h.itemOf(itemH);
        std::string name = shortName(item.name);
        std::memcpy(nameZ, name.c_str(), name.size() + 1);
        args(h, Label{&item});
        return A_Err_NONE;
    });
}

A_Err GetItemNameUtf16(AEGP_PluginID plugin, AEGP_ItemH itemH, AEGP_MemHandle* namePH) {
    return hostCall("AEGP_GetItemName", [&](Host& h) {
        requireOut(namePH, "name handle");
        *namePH = nullptr;
        const Item& item = h.itemOf(itemH);
        args(h, plugin, Label{&item});
        std::vector<A_UTF16Char> text = utf16FromUtf8(item.name);
        *namePH = newMemHandle(h, text.data(), text.size() * sizeof(A_UTF16Char),
                               "name of item " + label(item));
        return A_Err_NONE;
    });
}

A_Err SetItemName(AEGP_ItemH itemH, const A_char* nameZ) {
    return undoableCall("AEGP_SetItemName", [&](Host& h) {
        requireOut(nameZ, "name");
        Item& item = h.itemOf(itemH);
        args(h, Label{&item}, nameZ);
        item.name = shortName(nameZ);
        return A_Err_NONE;
    });
}

A_Err SetItemNameUtf16(AEGP_ItemH itemH, const A_UTF16Char* nameZ) {
    return undoableCall("AEGP_SetItemName", [&](Host& h) {
        requireOut(nameZ, "name");
        Item& item = h.itemOf(itemH);
        std::string name = utf8FromUtf16(nameZ);
        args(h, Label{&item}, name);
        item.name = name;
        return A_Err_NONE;
    });
}

A_Err GetItemID(AEGP_ItemH itemH, A_long* idPL) {
    return hostCall("AEGP_GetItemID", [&](Host& h) {
        requireOut(idPL, "id");
        const Item& item = h.itemOf(itemH);
        *idPL = static_cast<A_long>(item.id);
        args(h, Label{&item});
        return A_Err_NONE;
    });
}

A_Err GetItemDuration(AEGP_ItemH itemH, A_Time* durationPT) {
    return hostCall("AEGP_GetItemDuration", [&](Host& h) {
        requireOut(durationPT, "duration");
        const Item& item = h.itemOf(itemH);
        requireNotFolder(item, "duration");
        Rational d = itemDuration(item);
        *durationPT = exactTimeIn(d, item.type == ItemType::Comp ? frameScale(item.comp) : 0);
        args(h, Label{&item}, "->", d.toString());
        return A_Err_NONE;
    });
}

A_Err GetItemCurrentTime(AEGP_ItemH itemH, A_Time* timePT) {
    return hostCall("AEGP_GetItemCurrentTime", [&](Host& h) {
        requireOut(timePT, "time");
        const Item& item = h.itemOf(itemH);
        requireNotFolder(item, "current time");
        // Footage has no time marker in the model; it is shown from its start.
        Rational t = item.type == ItemType::Comp ? item.comp.currentTime : Rational(0);
        *timePT = exactTimeIn(t, item.type == ItemType::Comp ? frameScale(item.comp) : 0);
        args(h, Label{&item}, "->", t.toString());
        return A_Err_NONE;
    });
}

A_Err SetItemCurrentTime(AEGP_ItemH itemH, const A_Time* timePT) {
    return undoableCall("AEGP_SetItemCurrentTime", [&](Host& h) {
        requireOut(timePT, "time");
        Item& item = h.itemOf(itemH);
        Rational t = fromATime(*timePT);
        args(h, Label{&item}, t.toString());
        if (item.type != ItemType::Comp)
            throw HostError(A_Err_PARAMETER,
                            "only compositions have a current time here, not " + label(item));
        if (t < Rational(0) || t > item.comp.duration)
            throw HostError(A_Err_PARAMETER,
                            "time " + t.toString() + " is outside the composition's duration");
        item.comp.currentTime = t;
        return A_Err_NONE;
    });
}

A_Err GetItemDimensions(AEGP_ItemH itemH, A_long* widthPL, A_long* heightPL) {
    return hostCall("AEGP_GetItemDimensions", [&](Host& h) {
        requireOut(widthPL, "width");
        requireOut(heightPL, "height");
        const Item& item = h.itemOf(itemH);
        requireNotFolder(item, "dimensions");
        int w = 0, ht = 0;
        itemSize(item, &w, &ht);
        *widthPL = w;
        *heightPL = ht;
        args(h, Label{&item}, "->", w, ht);
        return A_Err_NONE;
    });
}

A_Err GetItemPixelAspectRatio(AEGP_ItemH itemH, A_Ratio* ratioP) {
    return hostCall("AEGP_GetItemPixelAspectRatio", [&](Host& h) {
        requireOut(ratioP, "ratio");
        const Item& item = h.itemOf(itemH);
        requireNotFolder(item, "pixel aspect ratio");
        // Footage in the model has square pixels.
        int64_t num = item.type == ItemType::Comp ? item.comp.pixelAspectNum : 1;
        int64_t den = item.type == ItemType::Comp ? item.comp.pixelAspectDen : 1;
        if (num > std::numeric_limits<A_long>::max() || den <= 0 ||
            den > std::numeric_limits<A_u_long>::max())
            throw HostError(A_Err_PARAMETER, "pixel aspect ratio does not fit an A_Ratio");
        ratioP->num = static_cast<A_long>(num);
        ratioP->den = static_cast<A_u_long>(den);
        args(h, Label{&item}, "->", num, den);
        return A_Err_NONE;
    });
}

// Removes the item (a folder with everything in it) and every layer whose source goes with it,
// each the way AEGP_DeleteLayer removes a layer, so their children stay where they appear.
A_Err DeleteItem(AEGP_ItemH itemH) {
    return undoableCall("AEGP_DeleteItem", [&](Host& h) {
        Item& item = h.itemOf(itemH);
        args(h, Label{&item});
        Project& p = h.project();
        std::set<Id> doomed{item.id};
        for (bool grew = true; grew;) {
            grew = false;
            for (const Item& x : p.items)
                if (doomed.count(x.folder) && doomed.insert(x.id).second) grew = true;
        }
        std::vector<Id> uses;
        for (const Item& x : p.items) {
            if (x.type != ItemType::Comp || doomed.count(x.id)) continue;
            for (const Layer& l : x.comp.layers)
                if (l.source && doomed.count(l.source)) uses.push_back(l.id);
        }
        for (Id id : uses)
            deleteLayer(p, id);
        p.items.erase(std::remove_if(p.items.begin(), p.items.end(),
                                     [&](const Item& x) { return doomed.count(x.id) != 0; }),
                      p.items.end());
        if (doomed.count(p.activeItem)) p.activeItem = 0;
        return A_Err_NONE;
    });
}

// A new, empty folder at the end of the given folder (the root when none).
A_Err CreateNewFolder(const A_UTF16Char* nameZ, AEGP_ItemH parentH, AEGP_ItemH* folderPH) {
    return hostCall("AEGP_CreateNewFolder", [&](Host& h) {
        requireOut(nameZ, "name");
        requireOut(folderPH, "new folder");
        *folderPH = nullptr;
        Item folder;
        folder.type = ItemType::Folder;
        folder.name = utf8FromUtf16(nameZ);
        if (parentH) folder.folder = h.itemOf(parentH).id;
        args(h, folder.name, "in", folder.folder);
        folder.id = h.project().newId();
        Id id = folder.id;
        addToFolder(h.project(), std::move(folder));
        *folderPH = h.itemHandle(id);
        return A_Err_NONE;
    });
}

// The three versions share these members; an item's name is 8-bit up to version 6 and UTF-16 from
// version 8 on.
template <typename Suite, auto GetName>
Suite itemSuite() {
    Suite s{};
    s.AEGP_GetActiveItem = entry<kItemSuite, GetActiveItem>;
    s.AEGP_IsItemSelected = entry<kItemSuite, IsItemSelected>;
    s.AEGP_GetItemType = entry<kItemSuite, GetItemType>;
    s.AEGP_GetItemName = entry<kItemSuite, GetName>;
    s.AEGP_GetItemID = entry<kItemSuite, GetItemID>;
    s.AEGP_GetItemDuration = entry<kItemSuite, GetItemDuration>;
    s.AEGP_GetItemCurrentTime = entry<kItemSuite, GetItemCurrentTime>;
    s.AEGP_GetItemDimensions = entry<kItemSuite, GetItemDimensions>;
    s.AEGP_GetItemPixelAspectRatio = entry<kItemSuite, GetItemPixelAspectRatio>;
    s.AEGP_DeleteItem = entry<kItemSuite, DeleteItem>;
    s.AEGP_SetItemCurrentTime = entry<kItemSuite, SetItemCurrentTime>;
    fillUnimplemented(&s, sizeof s);
    return s;
}

// Walking the project's items and renaming one arrive in version 6.
template <typename Suite, auto SetName>
void addWalkAndRename(Suite& s) {
    s.AEGP_GetFirstProjItem = entry<kItemSuite, GetFirstProjItem>;
    s.AEGP_GetNextProjItem = entry<kItemSuite, GetNextProjItem>;
    s.AEGP_SetItemName = entry<kItemSuite, SetName>;
}

template <typename Suite>
Suite projSuite() {
    Suite s{};
    s.AEGP_GetProjectByIndex = entry<kProjSuite, GetProjectByIndex>;
    fillUnimplemented(&s, sizeof s);
    return s;
}

}  // namespace

void registerItemSuites(Host& host) {
    static AEGP_ItemSuite1 item1 = itemSuite<AEGP_ItemSuite1, GetItemName>();
    static AEGP_ItemSuite6 item6 = [] {
        AEGP_ItemSuite6 s = itemSuite<AEGP_ItemSuite6, GetItemName>();
        addWalkAndRename<AEGP_ItemSuite6, SetItemName>(s);
        return s;
    }();
    // Folders are made from version 8 on.
    static AEGP_ItemSuite8 item8 = [] {
        AEGP_ItemSuite8 s = itemSuite<AEGP_ItemSuite8, GetItemNameUtf16>();
        addWalkAndRename<AEGP_ItemSuite8, SetItemNameUtf16>(s);
        s.AEGP_CreateNewFolder = entry<kItemSuite, CreateNewFolder>;
        return s;
    }();
    static AEGP_ProjSuite5 proj5 = projSuite<AEGP_ProjSuite5>();
    static AEGP_ProjSuite6 proj6 = projSuite<AEGP_ProjSuite6>();
    host.addSuite(kAEGPItemSuite, kAEGPItemSuiteVersion1, &item1);
    host.addSuite(kAEGPItemSuite, kAEGPItemSuiteVersion6, &item6);
    host.addSuite(kAEGPItemSuite, kAEGPItemSuiteVersion8, &item8);
    host.addSuite(kAEGPProjSuite, kAEGPProjSuiteVersion5, &proj5);
    host.addSuite(kAEGPProjSuite, kAEGPProjSuiteVersion6, &proj6);
}

}  // namespace sim
