// Collection suite 2: the lists of selected layers and masks the Comp suites hand out.
#include "ProjectSuites.h"
#include "Trampoline.h"

namespace sim {

// The names the call log gives the calls through these tables.
constexpr char kCollectionSuite[] = "CollectionSuite";
namespace projectsuites {

AEGP_Collection2H newCollection(Host& h, const std::string& what,
                                std::vector<AEGP_CollectionItemV2> items) {
    auto c = std::make_shared<Collection>();
    c->items = std::move(items);
    return h.handles().make(HandleKind::Collection, what, c)->handle<AEGP_Collection2H>();
}

Collection& collectionOf(Host& h, AEGP_Collection2H collectionH, HandleRecord** recP) {
    HandleRecord* r = h.record(collectionH, HandleKind::Collection, "collection");
    if (recP) *recP = r;
    return *HandleRegistry::payload<Collection>(r);
}

}  // namespace projectsuites

namespace {

using namespace projectsuites;

A_Err DisposeCollection(AEGP_Collection2H collectionH) {
    return hostCall("AEGP_DisposeCollection", [&](Host& h) {
        HandleRecord* r = nullptr;
        collectionOf(h, collectionH, &r);
        args(h, r->what);
        h.handles().release(r);
        return A_Err_NONE;
    });
}

A_Err GetCollectionNumItems(AEGP_Collection2H collectionH, A_u_long* numPL) {
    return hostCall("AEGP_GetCollectionNumItems", [&](Host& h) {
        requireOut(numPL, "count");
        const Collection& c = collectionOf(h, collectionH);
        *numPL = static_cast<A_u_long>(c.items.size());
        args(h, "->", *numPL);
        return A_Err_NONE;
    });
}

A_Err GetCollectionItemByIndex(AEGP_Collection2H collectionH, A_u_long index,
                               AEGP_CollectionItemV2* itemP) {
    return hostCall("AEGP_GetCollectionItemByIndex", [&](Host& h) {
        requireOut(itemP, "item");
        const Collection& c = collectionOf(h, collectionH);
        args(h, index);
        if (index >= c.items.size())
            throw HostError(A_Err_PARAMETER, "index " + std::to_string(index) +
                                                 " is past the collection's " +
                                                 std::to_string(c.items.size()) + " items");
        *itemP = c.items[index];
        return A_Err_NONE;
    });
}

// Half-open range [first, last), like an iterator pair; an empty range is allowed.
A_Err CollectionErase(AEGP_Collection2H collectionH, A_u_long first, A_u_long last) {
    return hostCall("AEGP_CollectionErase", [&](Host& h) {
        Collection& c = collectionOf(h, collectionH);
        args(h, first, last);
        if (first > last || last > c.items.size())
            throw HostError(A_Err_PARAMETER, "range [" + std::to_string(first) + ", " +
                                                 std::to_string(last) + ") is outside the " +
                                                 std::to_string(c.items.size()) + " items");
        c.items.erase(c.items.begin() + first, c.items.begin() + last);
        return A_Err_NONE;
    });
}

}  // namespace

void registerCollectionSuites(Host& host) {
    static AEGP_CollectionSuite2 collection = [] {
        AEGP_CollectionSuite2 s{};
        s.AEGP_DisposeCollection = entry<kCollectionSuite, DisposeCollection>;
        s.AEGP_GetCollectionNumItems = entry<kCollectionSuite, GetCollectionNumItems>;
        s.AEGP_GetCollectionItemByIndex = entry<kCollectionSuite, GetCollectionItemByIndex>;
        s.AEGP_CollectionErase = entry<kCollectionSuite, CollectionErase>;
        fillUnimplemented(&s, sizeof s);
        return s;
    }();
    host.addSuite(kAEGPCollectionSuite, kAEGPCollectionSuiteVersion2, &collection);
}

}  // namespace sim
