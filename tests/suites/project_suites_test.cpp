// The simulator's Item, Proj, Comp and Collection suites, called the way a plug-in calls them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Host.h"
#include "Suites.h"

namespace {

using namespace sim;

std::vector<A_UTF16Char> wide(const std::u16string& s) {
    std::vector<A_UTF16Char> out(s.begin(), s.end());
    out.push_back(0);
    return out;
}

class ProjectSuites : public ::testing::Test {
  protected:
    Host host;
    AEGP_ItemSuite1* item1 = acquire<AEGP_ItemSuite1>(kAEGPItemSuite, kAEGPItemSuiteVersion1);
    AEGP_ItemSuite6* item6 = acquire<AEGP_ItemSuite6>(kAEGPItemSuite, kAEGPItemSuiteVersion6);
    AEGP_ItemSuite8* item8 = acquire<AEGP_ItemSuite8>(kAEGPItemSuite, kAEGPItemSuiteVersion8);
    AEGP_ProjSuite6* proj = acquire<AEGP_ProjSuite6>(kAEGPProjSuite, kAEGPProjSuiteVersion6);
    AEGP_CompSuite4* comp4 = acquire<AEGP_CompSuite4>(kAEGPCompSuite, kAEGPCompSuiteVersion4);
    AEGP_CompSuite7* comp7 = acquire<AEGP_CompSuite7>(kAEGPCompSuite, kAEGPCompSuiteVersion7);
    AEGP_CompSuite9* comp9 = acquire<AEGP_CompSuite9>(kAEGPCompSuite, kAEGPCompSuiteVersion9);
    AEGP_CollectionSuite2* coll =
        acquire<AEGP_CollectionSuite2>(kAEGPCollectionSuite, kAEGPCollectionSuiteVersion2);
    AEGP_MemorySuite1* mem = acquire<AEGP_MemorySuite1>(kAEGPMemorySuite, kAEGPMemorySuiteVersion1);

    template <typename T>
    T* acquire(const char* name, int version) {
        const void* p = nullptr;
        EXPECT_EQ(host.basicSuite()->AcquireSuite(name, version, &p), A_Err_NONE) << name;
        return static_cast<T*>(const_cast<void*>(p));
    }

    void TearDown() override { EXPECT_EQ(host.handles().leaks(), std::vector<std::string>{}); }

    Id add(ItemType type, const std::string& name, Id folder = 0, int w = 200, int h = 100) {
        Item it;
        it.id = host.project().newId();
        it.type = type;
        it.name = name;
        it.folder = folder;
        it.width = w;
        it.height = h;
        it.comp.width = w;
        it.comp.height = h;
        it.comp.duration = Rational(10);
        host.project().items.push_back(it);
        return it.id;
    }
    Layer& layer(Id comp, Id source, const std::string& name) {
        Layer l;
        l.id = host.project().newId();
        l.name = name;
        l.source = source;
        l.outPoint = Rational(10);
        auto& layers = host.project().findItem(comp)->comp.layers;
        layers.push_back(l);
        return layers.back();
    }
    Mask& mask(Layer& l, bool selected) {
        Mask m;
        m.id = host.project().newId();
        m.selected = selected;
        m.path.value.vertices = {{0, 0}, {200, 0}, {200, 100}};
        m.path.value.inTangents = {{0, 0}, {10, 20}, {0, 0}};
        m.path.value.outTangents = {{-4, 8}, {0, 0}, {0, 0}};
        l.masks.push_back(m);
        return l.masks.back();
    }
    AEGP_ItemH itemH(Id id) { return host.itemHandle(id); }
    AEGP_CompH compH(Id id) { return host.compHandle(id); }
    Item& item(Id id) { return *host.project().findItem(id); }
    std::vector<AEGP_CollectionItemV2> read(AEGP_Collection2H c) {
        A_u_long n = 0;
        EXPECT_EQ(coll->AEGP_GetCollectionNumItems(c, &n), A_Err_NONE);
        std::vector<AEGP_CollectionItemV2> out(n);
        for (A_u_long i = 0; i < n; ++i)
            EXPECT_EQ(coll->AEGP_GetCollectionItemByIndex(c, i, &out[i]), A_Err_NONE);
        return out;
    }
};

TEST_F(ProjectSuites, WalksEveryItemInProjectOrderThroughFolders) {
    AEGP_ProjectH p = nullptr, none = nullptr;
    ASSERT_EQ(proj->AEGP_GetProjectByIndex(0, &p), A_Err_NONE);
    EXPECT_NE(proj->AEGP_GetProjectByIndex(1, &none), A_Err_NONE);
    AEGP_ItemH first = itemH(1);
    ASSERT_EQ(item8->AEGP_GetFirstProjItem(p, &first), A_Err_NONE);
    EXPECT_EQ(first, nullptr);  // an empty project

    Id a = add(ItemType::Folder, "A");
    Id solid = add(ItemType::Solid, "Red", a);
    Id b = add(ItemType::Folder, "B", a);
    Id image = add(ItemType::Image, "Logo", b);
    Id comp = add(ItemType::Comp, "Main");
    Id nul = add(ItemType::NullSource, "Null 1", b);
    const std::vector<std::pair<Id, AEGP_ItemType>> expected = {
        {a, AEGP_ItemType_FOLDER},  {solid, AEGP_ItemType_FOOTAGE},
        {b, AEGP_ItemType_FOLDER},  {image, AEGP_ItemType_FOOTAGE},
        {comp, AEGP_ItemType_COMP}, {nul, AEGP_ItemType_FOOTAGE}};
    for (auto walk : {item6->AEGP_GetFirstProjItem, item8->AEGP_GetFirstProjItem}) {
        AEGP_ItemH it = nullptr;
        ASSERT_EQ(walk(p, &it), A_Err_NONE);
        for (auto [id, type] : expected) {
            ASSERT_NE(it, nullptr);
            A_long got = 0;
            AEGP_ItemType t = AEGP_ItemType_NONE;
            ASSERT_EQ(item8->AEGP_GetItemID(it, &got), A_Err_NONE);
            ASSERT_EQ(item1->AEGP_GetItemType(it, &t), A_Err_NONE);
            EXPECT_EQ(got, id);
            EXPECT_EQ(t, type);
            ASSERT_EQ(item6->AEGP_GetNextProjItem(p, it, &it), A_Err_NONE);
        }
        EXPECT_EQ(it, nullptr);
    }
    EXPECT_EQ(host.log().problems().size(), 1u);  // only the second project
}

TEST_F(ProjectSuites, NamesRoundTripThroughUtf16AndTruncateInEightBitSuites) {
    Id id = add(ItemType::Comp, "x");
    auto name = wide(u"Ünïcødé 😀 ✓");
    ASSERT_EQ(item8->AEGP_SetItemName(itemH(id), name.data()), A_Err_NONE);
    EXPECT_EQ(item(id).name, "Ünïcødé 😀 ✓");
    AEGP_MemHandle h = nullptr;
    ASSERT_EQ(item8->AEGP_GetItemName(7, itemH(id), &h), A_Err_NONE);
    void* bytes = nullptr;
    AEGP_MemSize size = 0;
    ASSERT_EQ(mem->AEGP_LockMemHandle(h, &bytes), A_Err_NONE);
    ASSERT_EQ(mem->AEGP_GetMemHandleSize(h, &size), A_Err_NONE);
    ASSERT_EQ(size, name.size() * sizeof(A_UTF16Char));
    EXPECT_EQ(std::memcmp(bytes, name.data(), size), 0);
    mem->AEGP_UnlockMemHandle(h);
    mem->AEGP_FreeMemHandle(h);

    // 30 ASCII bytes then a two-byte letter: the 31-byte limit must not split it.
    item(id).name = std::string(30, 'a') + "é and more";
    A_char buf[AEGP_MAX_ITEM_NAME_SIZE + 8];
    std::memset(buf, 'Z', sizeof buf);
    ASSERT_EQ(item1->AEGP_GetItemName(itemH(id), buf), A_Err_NONE);
    EXPECT_EQ(std::string(buf), std::string(30, 'a'));
    ASSERT_EQ(item6->AEGP_SetItemName(itemH(id), "Short"), A_Err_NONE);
    ASSERT_EQ(item6->AEGP_GetItemName(itemH(id), buf), A_Err_NONE);
    EXPECT_STREQ(buf, "Short");
}

TEST_F(ProjectSuites, ReadsItemPropertiesAndTimesExactly) {
    Id comp = add(ItemType::Comp, "C", 0, 1920, 1080);
    Id solid = add(ItemType::Solid, "S", 0, 64, 32);
    Id folder = add(ItemType::Folder, "F");
    item(comp).comp.frameRate = 29.97;
    item(comp).comp.duration = Rational(10000, 2997);  // 100 frames
    item(comp).comp.currentTime = Rational(100, 2997);
    host.project().activeItem = comp;
    item(solid).selected = true;

    A_Time t{};
    ASSERT_EQ(item8->AEGP_GetItemDuration(itemH(comp), &t), A_Err_NONE);
    EXPECT_EQ(fromATime(t), Rational(10000, 2997));
    EXPECT_EQ(t.scale, 2997u);  // the frame rate's scale
    ASSERT_EQ(item8->AEGP_GetItemCurrentTime(itemH(comp), &t), A_Err_NONE);
    EXPECT_EQ(fromATime(t), Rational(100, 2997));
    const A_Time third{1, 3};
    ASSERT_EQ(item8->AEGP_SetItemCurrentTime(itemH(comp), &third), A_Err_NONE);
    EXPECT_EQ(item(comp).comp.currentTime, Rational(1, 3));
    ASSERT_EQ(item8->AEGP_GetItemCurrentTime(itemH(comp), &t), A_Err_NONE);
    EXPECT_EQ(fromATime(t), Rational(1, 3));

    const A_Time badTimes[] = {{1, 0}, {-1, 30}, {400, 30}};
    for (const A_Time& bad : badTimes)
        EXPECT_NE(item8->AEGP_SetItemCurrentTime(itemH(comp), &bad), A_Err_NONE) << bad.value;
    EXPECT_NE(item8->AEGP_SetItemCurrentTime(itemH(solid), &third), A_Err_NONE);
    EXPECT_EQ(item(comp).comp.currentTime, Rational(1, 3));

    A_long w = 0, h = 0;
    ASSERT_EQ(item8->AEGP_GetItemDimensions(itemH(solid), &w, &h), A_Err_NONE);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(64, 32));
    EXPECT_NE(item8->AEGP_GetItemDimensions(itemH(folder), &w, &h), A_Err_NONE);
    const A_Ratio twoToOne{2, 1};
    ASSERT_EQ(comp9->AEGP_SetCompPixelAspectRatio(compH(comp), &twoToOne), A_Err_NONE);
    A_Ratio r{};
    ASSERT_EQ(item8->AEGP_GetItemPixelAspectRatio(itemH(comp), &r), A_Err_NONE);
    EXPECT_EQ(std::make_pair(r.num, r.den), std::make_pair(2, 1u));

    AEGP_ItemH active = nullptr;
    ASSERT_EQ(item8->AEGP_GetActiveItem(&active), A_Err_NONE);
    EXPECT_EQ(active, itemH(comp));
    A_Boolean sel = 0;
    ASSERT_EQ(item8->AEGP_IsItemSelected(itemH(solid), &sel), A_Err_NONE);
    EXPECT_TRUE(sel);
    host.project().activeItem = 0;
    ASSERT_EQ(item8->AEGP_GetActiveItem(&active), A_Err_NONE);
    EXPECT_EQ(active, nullptr);
}

TEST_F(ProjectSuites, CompFromItemIsNullWithoutErrorForOtherItems) {
    Id comp = add(ItemType::Comp, "C");
    for (ItemType type : {ItemType::Solid, ItemType::Folder, ItemType::Image}) {
        AEGP_CompH c = compH(comp);
        EXPECT_EQ(comp9->AEGP_GetCompFromItem(itemH(add(type, "other")), &c), A_Err_NONE);
        EXPECT_EQ(c, nullptr);
    }
    AEGP_CompH c = nullptr;
    AEGP_ItemH back = nullptr;
    ASSERT_EQ(comp4->AEGP_GetCompFromItem(itemH(comp), &c), A_Err_NONE);
    ASSERT_EQ(comp4->AEGP_GetItemFromComp(c, &back), A_Err_NONE);
    EXPECT_EQ(back, itemH(comp));
    EXPECT_EQ(host.log().problems(), std::vector<std::string>{});
}

TEST_F(ProjectSuites, SelectionCollectionListsLayersThenTheirMasksAndSetSelectionReplacesIt) {
    Id comp = add(ItemType::Comp, "C");
    Id other = add(ItemType::Comp, "Other");
    Id solid = add(ItemType::Solid, "S");
    Layer& l0 = layer(comp, solid, "top");
    mask(l0, true);
    mask(l0, false);
    Layer& l1 = layer(comp, solid, "middle");
    l1.selected = true;
    mask(l1, false);
    mask(l1, true);
    layer(comp, solid, "bottom").selected = true;
    layer(other, solid, "elsewhere");
    const auto& layers = item(comp).comp.layers;

    AEGP_Collection2H c = nullptr;
    ASSERT_EQ(comp9->AEGP_GetNewCollectionFromCompSelection(1, compH(comp), &c), A_Err_NONE);
    auto items = read(c);
    ASSERT_EQ(items.size(), 4u);
    struct Row {
        AEGP_CollectionItemType type;
        Id layer;
        int mask;
    };
    const Row expected[] = {{AEGP_CollectionItemType_MASK, layers[0].id, 0},
                            {AEGP_CollectionItemType_LAYER, layers[1].id, -1},
                            {AEGP_CollectionItemType_MASK, layers[1].id, 1},
                            {AEGP_CollectionItemType_LAYER, layers[2].id, -1}};
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].type, expected[i].type) << i;
        bool isMask = items[i].type == AEGP_CollectionItemType_MASK;
        EXPECT_EQ(isMask ? items[i].u.mask.layerH : items[i].u.layer.layerH,
                  host.layerHandle(expected[i].layer));
        if (isMask) {
            EXPECT_EQ(items[i].u.mask.index, expected[i].mask);
        }
        EXPECT_EQ(items[i].stream_refH, nullptr);
    }

    // Keep the middle layer and the top layer's mask; the collection stays the caller's.
    ASSERT_EQ(coll->AEGP_CollectionErase(c, 2, 4), A_Err_NONE);
    ASSERT_EQ(comp9->AEGP_SetSelection(compH(comp), c), A_Err_NONE);
    EXPECT_TRUE(layers[0].masks[0].selected);
    EXPECT_TRUE(layers[1].selected);
    EXPECT_FALSE(layers[1].masks[1].selected);
    EXPECT_FALSE(layers[2].selected);
    EXPECT_EQ(read(c).size(), 2u);

    // A member of another composition is refused and nothing changes.
    AEGP_Collection2H bad = nullptr;
    item(other).comp.layers[0].selected = true;
    ASSERT_EQ(comp9->AEGP_GetNewCollectionFromCompSelection(1, compH(other), &bad), A_Err_NONE);
    item(other).comp.layers[0].selected = false;
    const Project before = host.project();
    EXPECT_NE(comp9->AEGP_SetSelection(compH(comp), bad), A_Err_NONE);
    EXPECT_EQ(describeDifference(host.project(), before), "");

    ASSERT_EQ(coll->AEGP_DisposeCollection(bad), A_Err_NONE);
    ASSERT_EQ(coll->AEGP_DisposeCollection(c), A_Err_NONE);
    A_u_long n = 0;
    EXPECT_NE(coll->AEGP_GetCollectionNumItems(c, &n), A_Err_NONE);  // disposed: stale
}

TEST_F(ProjectSuites, CollectionEraseTakesHalfOpenRanges) {
    Id comp = add(ItemType::Comp, "C");
    Id solid = add(ItemType::Solid, "S");
    for (int i = 0; i < 4; ++i)
        layer(comp, solid, "l" + std::to_string(i)).selected = true;
    struct Case {
        A_u_long first, last;
        bool ok;
        std::vector<int> left;  // indices of the original layers still listed
    };
    const Case cases[] = {{0, 1, true, {1, 2, 3}},    {1, 3, true, {0, 3}},
                          {2, 2, true, {0, 1, 2, 3}}, {0, 4, true, {}},
                          {4, 4, true, {0, 1, 2, 3}}, {3, 5, false, {0, 1, 2, 3}},
                          {2, 1, false, {0, 1, 2, 3}}};
    for (const Case& k : cases) {
        AEGP_Collection2H c = nullptr;
        ASSERT_EQ(comp9->AEGP_GetNewCollectionFromCompSelection(1, compH(comp), &c), A_Err_NONE);
        EXPECT_EQ(coll->AEGP_CollectionErase(c, k.first, k.last) == A_Err_NONE, k.ok) << k.first;
        auto items = read(c);
        ASSERT_EQ(items.size(), k.left.size()) << k.first << "," << k.last;
        for (size_t i = 0; i < items.size(); ++i)
            EXPECT_EQ(items[i].u.layer.layerH,
                      host.layerHandle(item(comp).comp.layers[static_cast<size_t>(k.left[i])].id));
        AEGP_CollectionItemV2 past{};
        EXPECT_NE(
            coll->AEGP_GetCollectionItemByIndex(c, static_cast<A_u_long>(items.size()), &past),
            A_Err_NONE);
        coll->AEGP_DisposeCollection(c);
    }
}

TEST_F(ProjectSuites, CreateNullPutsAnAnchorlessNullAtTheCompCentreOnTop) {
    Id comp = add(ItemType::Comp, "C", 0, 1921, 1080);
    item(comp).comp.duration = Rational(12);
    layer(comp, add(ItemType::Solid, "S"), "existing");
    struct Case {
        const A_Time* duration;
        Rational out;
    };
    const A_Time two{60, 30}, zero{0, 30}, noScale{5, 0};
    const Case cases[] = {{nullptr, 12}, {&zero, 12}, {&noScale, 12}, {&two, 2}};
    for (const Case& k : cases) {
        auto name = wide(u"Null ✓");
        AEGP_LayerH lh = nullptr;
        ASSERT_EQ(comp9->AEGP_CreateNullInComp(name.data(), compH(comp), k.duration, &lh),
                  A_Err_NONE);
        const Layer& l = item(comp).comp.layers.front();
        EXPECT_EQ(host.layerHandle(l.id), lh);
        EXPECT_EQ(l.kind, LayerKind::Null);
        EXPECT_EQ(l.name, "Null ✓");
        EXPECT_EQ(l.anchorPoint.value, (Vec3{0, 0, 0}));
        EXPECT_EQ(l.position.value, (Vec3{960.5, 540, 0}));
        EXPECT_EQ(l.scale.value, (Vec3{100, 100, 100}));
        EXPECT_EQ(l.inPoint, Rational(0));
        EXPECT_EQ(l.outPoint, k.out);
        const Item* source = host.project().findItem(l.source);
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(source->type, ItemType::NullSource);
        EXPECT_EQ(source->name, "Null ✓");
        EXPECT_EQ(std::make_pair(source->width, source->height), std::make_pair(100, 100));
    }
    AEGP_LayerH lh = nullptr;
    ASSERT_EQ(comp4->AEGP_CreateNullInComp("Eight", compH(comp), nullptr, &lh), A_Err_NONE);
    EXPECT_EQ(host.layerOf(lh).name, "Eight");
    EXPECT_EQ(item(comp).comp.layers.size(), 6u);
    EXPECT_EQ(item(comp).comp.layers.back().name, "existing");

    // No duration is the host's length of a new still, when its preferences give one; a zero or
    // unscaled duration stays the composition's length.
    host.settings().stillDuration = Rational(5);
    for (const Case& k : {Case{nullptr, 5}, Case{&zero, 12}, Case{&noScale, 12}, Case{&two, 2}}) {
        AEGP_LayerH still = nullptr;
        ASSERT_EQ(comp4->AEGP_CreateNullInComp("Still", compH(comp), k.duration, &still),
                  A_Err_NONE);
        EXPECT_EQ(host.layerOf(still).outPoint, k.out);
    }
    host.settings().stillDuration.reset();

    // Moved to (x, y, 0), its anchor at the origin and no scale or rotation, the null's transform
    // is the translation (x, y) for its children.
    Layer& null = host.layerOf(lh);
    null.position.value = {300, 200, 0};
    EXPECT_EQ(null.anchorPoint.value, (Vec3{0, 0, 0}));
    EXPECT_EQ(null.scale.value, (Vec3{100, 100, 100}));
    EXPECT_EQ(null.rotation.value, 0);
}

TEST_F(ProjectSuites, NewFoldersAndCompositionsGoAtTheEndOfTheirFolder) {
    Id outer = add(ItemType::Folder, "Outer");
    Id inside = add(ItemType::Solid, "Inside", outer);
    Id root = add(ItemType::Solid, "Root");
    host.project().activeItem = root;
    auto folderName = wide(u"Scratch ✓");
    AEGP_ItemH folder = nullptr;
    ASSERT_EQ(item8->AEGP_CreateNewFolder(folderName.data(), itemH(outer), &folder), A_Err_NONE);
    const Id folderId = host.itemOf(folder).id;
    EXPECT_EQ(host.itemOf(folder).name, "Scratch ✓");
    EXPECT_EQ(host.itemOf(folder).folder, outer);

    auto compName = wide(u"New");
    const A_Ratio square{1, 1}, fps{30, 1}, bad{0, 1};
    const A_Time fourSeconds{120, 30}, none{0, 30};
    AEGP_CompH comp = nullptr;
    ASSERT_EQ(comp7->AEGP_CreateComp(folder, compName.data(), 401, 301, &square, &fourSeconds, &fps,
                                     &comp),
              A_Err_NONE);
    const Item& made = host.compItemOf(comp);
    EXPECT_EQ(made.name, "New");
    EXPECT_EQ(made.folder, folderId);
    EXPECT_EQ(std::make_pair(made.comp.width, made.comp.height), std::make_pair(401, 301));
    EXPECT_EQ(made.comp.duration, Rational(4));
    EXPECT_EQ(made.comp.frameRate, 30);
    EXPECT_TRUE(made.comp.layers.empty());
    const Id madeId = made.id;
    AEGP_CompH atRoot = nullptr;
    ASSERT_EQ(comp7->AEGP_CreateComp(nullptr, compName.data(), 10, 10, &square, &fourSeconds, &fps,
                                     &atRoot),
              A_Err_NONE);
    const Id atRootId = host.compItemOf(atRoot).id;
    // Folder contents stay in place: outer, inside, the new folder and its composition, root, ...
    std::vector<Id> order;
    for (const Item& it : host.project().items)
        order.push_back(it.id);
    EXPECT_EQ(order, (std::vector<Id>{outer, inside, folderId, madeId, root, atRootId}));
    EXPECT_EQ(host.project().activeItem, root);

    // Bad sizes, ratios, durations and folders are refused and change nothing.
    AEGP_CompH refused = nullptr;
    EXPECT_EQ(comp7->AEGP_CreateComp(nullptr, compName.data(), 0, 10, &square, &fourSeconds, &fps,
                                     &refused),
              A_Err_PARAMETER);
    EXPECT_EQ(comp7->AEGP_CreateComp(nullptr, compName.data(), 10, 10, &bad, &fourSeconds, &fps,
                                     &refused),
              A_Err_PARAMETER);
    EXPECT_EQ(
        comp7->AEGP_CreateComp(nullptr, compName.data(), 10, 10, &square, &none, &fps, &refused),
        A_Err_PARAMETER);
    EXPECT_EQ(comp7->AEGP_CreateComp(itemH(root), compName.data(), 10, 10, &square, &fourSeconds,
                                     &fps, &refused),
              A_Err_PARAMETER);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(host.project().items.size(), order.size());

    // The preview resolution, which render options made from the composition start with.
    AEGP_DownsampleFactor factor{0, 0};
    EXPECT_EQ(comp7->AEGP_GetCompDownsampleFactor(comp, &factor), A_Err_NONE);
    EXPECT_EQ(std::make_pair(factor.xS, factor.yS), std::make_pair(A_short(1), A_short(1)));
    const AEGP_DownsampleFactor half{2, 2}, zero{0, 2};
    EXPECT_EQ(comp7->AEGP_SetCompDownsampleFactor(comp, &half), A_Err_NONE);
    EXPECT_EQ(comp7->AEGP_SetCompDownsampleFactor(comp, &zero), A_Err_PARAMETER);
    EXPECT_EQ(comp7->AEGP_GetCompDownsampleFactor(comp, &factor), A_Err_NONE);
    EXPECT_EQ(std::make_pair(factor.xS, factor.yS), std::make_pair(A_short(2), A_short(2)));
}

TEST_F(ProjectSuites, SetCompDimensionsScalesEveryUseButNotTheCompsOwnLayers) {
    Id pre = add(ItemType::Comp, "Pre", 0, 200, 100);
    Id main = add(ItemType::Comp, "Main", 0, 1000, 1000);
    Id second = add(ItemType::Comp, "Second", 0, 500, 500);
    Id solid = add(ItemType::Solid, "S");
    Layer& inner = layer(pre, solid, "inner");
    inner.anchorPoint.value = {100, 50, 0};
    Layer& use = layer(main, pre, "use");
    use.anchorPoint.keys = {{Rational(0), {100, 50, 10}}, {Rational(2), {20, 40, 4}}};
    Mask& m = mask(use, false);
    m.path.keys = {{Rational(1), m.path.value}};
    layer(second, pre, "static use").anchorPoint.value = {200, 100, 0};
    layer(main, solid, "not a use").anchorPoint.value = {100, 50, 0};

    ASSERT_EQ(comp9->AEGP_SetCompDimensions(compH(pre), 300, 50), A_Err_NONE);
    EXPECT_EQ(item(pre).comp.width, 300);
    EXPECT_EQ(item(pre).comp.height, 50);
    EXPECT_EQ(item(pre).comp.layers[0].anchorPoint.value, (Vec3{100, 50, 0}));
    const Layer& u = item(main).comp.layers[0];
    EXPECT_EQ(u.anchorPoint.keys[0].value, (Vec3{150, 25, 5}));
    EXPECT_EQ(u.anchorPoint.keys[1].value, (Vec3{30, 20, 2}));
    for (const MaskPath* p : {&u.masks[0].path.value, &u.masks[0].path.keys[0].value}) {
        EXPECT_EQ(p->vertices, (std::vector<Vec2>{{0, 0}, {300, 0}, {300, 50}}));
        EXPECT_EQ(p->inTangents, (std::vector<Vec2>{{0, 0}, {15, 10}, {0, 0}}));
        EXPECT_EQ(p->outTangents, (std::vector<Vec2>{{-6, 4}, {0, 0}, {0, 0}}));
    }
    EXPECT_EQ(item(second).comp.layers[0].anchorPoint.value, (Vec3{300, 50, 0}));
    EXPECT_EQ(item(main).comp.layers[1].anchorPoint.value, (Vec3{100, 50, 0}));

    for (auto [w, h] : {std::pair{0, 10}, {10, -1}, {30001, 10}})
        EXPECT_NE(comp9->AEGP_SetCompDimensions(compH(pre), w, h), A_Err_NONE) << w << "x" << h;
    EXPECT_EQ(item(pre).comp.width, 300);
}

// What a resize does to the uses of the composition and to their children, under each answer the
// host model can give: uses' anchors and masks scaled or left, children's positions left or scaled
// like the anchor (z with the height).
TEST_F(ProjectSuites, SetCompDimensionsTreatsUsesAndTheirChildrenAsTheHostModelSays) {
    struct Case {
        HostModel::ResizeUses uses;
        HostModel::ResizeChildren children;
        Vec3 anchor, child;
        Vec2 vertex;  // the mask's second vertex
    } cases[] = {
        {HostModel::ResizeUses::Proportional,
         HostModel::ResizeChildren::Unchanged,
         {150, 25, 5},
         {40, 60, 8},
         {300, 0}},
        {HostModel::ResizeUses::Unchanged,
         HostModel::ResizeChildren::Unchanged,
         {100, 50, 10},
         {40, 60, 8},
         {200, 0}},
        {HostModel::ResizeUses::Proportional,
         HostModel::ResizeChildren::Proportional,
         {150, 25, 5},
         {60, 30, 4},
         {300, 0}},
        {HostModel::ResizeUses::Unchanged,
         HostModel::ResizeChildren::Proportional,
         {100, 50, 10},
         {60, 30, 4},
         {200, 0}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(hostModelValue(HostModel{k.uses, k.children}, "resize-uses") + ", children " +
                     hostModelValue(HostModel{k.uses, k.children}, "resize-children"));
        host.project() = Project();
        host.model().resizeUses = k.uses;
        host.model().resizeChildren = k.children;
        Id pre = add(ItemType::Comp, "Pre", 0, 200, 100);
        Id main = add(ItemType::Comp, "Main", 0, 1000, 1000);
        Id solid = add(ItemType::Solid, "S");
        Layer& use = layer(main, pre, "use");
        use.anchorPoint.value = {100, 50, 10};
        mask(use, false);
        Id useId = use.id;
        Layer& child = layer(main, solid, "child");
        child.parent = useId;
        child.position.keys = {{Rational(0), {40, 60, 8}}, {Rational(1), {40, 60, 8}}};
        Layer& other = layer(main, solid, "not a child");
        other.position.value = {40, 60, 8};

        ASSERT_EQ(comp9->AEGP_SetCompDimensions(compH(pre), 300, 50), A_Err_NONE);
        const Comp& m = item(main).comp;
        EXPECT_EQ(m.layers[0].anchorPoint.value, k.anchor);
        EXPECT_EQ(m.layers[0].masks[0].path.value.vertices[1], k.vertex);
        for (const auto& key : m.layers[1].position.keys)
            EXPECT_EQ(key.value, k.child);
        EXPECT_EQ(m.layers[2].position.value, (Vec3{40, 60, 8}));
    }
}

TEST_F(ProjectSuites, DuplicateCompIsIndependentAndPlacedAfterTheOriginal) {
    Id folder = add(ItemType::Folder, "F");
    Id comp = add(ItemType::Comp, "Shot", folder);
    Id after = add(ItemType::Solid, "After");
    Id parent = layer(comp, after, "parent").id;
    Layer& child = layer(comp, after, "child");
    child.parent = parent;
    mask(child, true);

    AEGP_CompH dup = nullptr;
    ASSERT_EQ(comp9->AEGP_DuplicateComp(compH(comp), &dup), A_Err_NONE);
    const auto& items = host.project().items;
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[2].id, host.compItemOf(dup).id);
    EXPECT_EQ(items[3].id, after);
    const Item& copy = items[2];
    const Item& original = items[1];
    EXPECT_EQ(copy.name, "Shot");
    EXPECT_EQ(copy.folder, folder);
    ASSERT_EQ(copy.comp.layers.size(), 2u);
    EXPECT_NE(copy.comp.layers[0].id, original.comp.layers[0].id);
    EXPECT_NE(copy.comp.layers[1].masks[0].id, original.comp.layers[1].masks[0].id);
    EXPECT_EQ(copy.comp.layers[1].parent, copy.comp.layers[0].id);

    Project before = host.project();
    host.layerOf(host.layerHandle(copy.comp.layers[1].id)).position.value = {5, 6, 7};
    ASSERT_EQ(comp9->AEGP_SetCompDimensions(dup, 64, 64), A_Err_NONE);
    Project now = host.project();
    now.items.erase(now.items.begin() + 2);
    before.items.erase(before.items.begin() + 2);
    EXPECT_EQ(describeDifference(now, before), "");
}

TEST_F(ProjectSuites, DeleteItemRemovesItsUsesEverywhereAndLeavesStaleHandles) {
    Id folder = add(ItemType::Folder, "F");
    Id pre = add(ItemType::Comp, "Pre", folder);
    Id solid = add(ItemType::Solid, "S");
    Id main = add(ItemType::Comp, "Main");
    Id other = add(ItemType::Comp, "Other");
    Id kept = add(ItemType::Image, "Kept");
    Id preUse = layer(main, pre, "pre use").id;
    layer(main, kept, "kept").parent = preUse;
    layer(other, solid, "solid use");
    layer(other, kept, "kept too");
    host.project().activeItem = pre;

    AEGP_ItemH solidH = itemH(solid), folderH = itemH(folder), preH = itemH(pre);
    ASSERT_EQ(item8->AEGP_DeleteItem(solidH), A_Err_NONE);
    ASSERT_EQ(item8->AEGP_DeleteItem(folderH), A_Err_NONE);
    EXPECT_EQ(host.project().findItem(pre), nullptr);
    EXPECT_EQ(host.project().items.size(), 3u);
    ASSERT_EQ(item(main).comp.layers.size(), 1u);
    EXPECT_EQ(item(main).comp.layers[0].parent, 0);
    ASSERT_EQ(item(other).comp.layers.size(), 1u);
    EXPECT_EQ(item(other).comp.layers[0].name, "kept too");
    EXPECT_EQ(host.project().activeItem, 0);

    // Stale, wrong-kind, foreign and null handles: an error each, never a crash.
    AEGP_ItemType type = AEGP_ItemType_NONE;
    AEGP_CompH c = nullptr;
    int junk = 0;
    const A_Err results[] = {
        item8->AEGP_GetItemType(solidH, &type),
        comp9->AEGP_GetCompFromItem(preH, &c),
        item8->AEGP_DeleteItem(preH),
        item8->AEGP_GetItemType(reinterpret_cast<AEGP_ItemH>(compH(main)), &type),
        item8->AEGP_GetItemType(reinterpret_cast<AEGP_ItemH>(&junk), &type),
        item8->AEGP_GetItemType(nullptr, &type),
        comp9->AEGP_DuplicateComp(reinterpret_cast<AEGP_CompH>(itemH(main)), &c),
    };
    for (A_Err err : results)
        EXPECT_EQ(err, A_Err_PARAMETER);
    EXPECT_EQ(host.log().problems().size(), std::size(results));
}

// An undoable call made outside any undo group is an undo step of its own, named after the call;
// inside a group it is part of the group; a refused call and a call that is not undoable make none.
TEST_F(ProjectSuites, AnUndoableCallOutsideAnyGroupIsAnUndoStepOfItsOwn) {
    Id pre = add(ItemType::Comp, "Pre");
    Id main = add(ItemType::Comp, "Main");
    const Project original = host.project();
    const A_Time t{2, 1};
    auto name = wide(u"Renamed");

    ASSERT_EQ(item8->AEGP_SetItemCurrentTime(itemH(main), &t), A_Err_NONE);
    ASSERT_EQ(item8->AEGP_SetItemName(itemH(pre), name.data()), A_Err_NONE);
    EXPECT_NE(comp9->AEGP_SetCompDimensions(compH(pre), 0, 10), A_Err_NONE) << "refused";
    AEGP_MemHandle read = nullptr;
    ASSERT_EQ(item8->AEGP_GetItemName(1, itemH(pre), &read), A_Err_NONE);
    ASSERT_EQ(mem->AEGP_FreeMemHandle(read), A_Err_NONE);
    host.startUndoGroup("Group");
    ASSERT_EQ(comp9->AEGP_SetCompDimensions(compH(pre), 50, 70), A_Err_NONE);
    host.endUndoGroup();

    std::vector<std::string> steps;
    for (const UndoStep& step : host.undoSteps())
        steps.push_back(step.name);
    EXPECT_EQ(steps,
              (std::vector<std::string>{"AEGP_SetItemCurrentTime", "AEGP_SetItemName", "Group"}));
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(item(pre).comp.width, 200);
    EXPECT_EQ(item(pre).name, "Renamed");
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(item(pre).name, "Pre");
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(describeDifference(host.project(), original), "");
}

TEST_F(ProjectSuites, UndoRestoresEveryEditExactly) {
    Id pre = add(ItemType::Comp, "Pre");
    Id main = add(ItemType::Comp, "Main");
    Id solid = add(ItemType::Solid, "S");
    Layer& use = layer(main, pre, "use");
    mask(use, true);
    layer(main, solid, "solid").selected = true;
    host.project().activeItem = main;
    const Project original = host.project();

    host.startUndoGroup("edits");
    host.startUndoGroup("nested");
    auto name = wide(u"Renamed");
    const A_Time t{2, 1};
    const A_Ratio par{3, 2};
    AEGP_LayerH nul = nullptr;
    AEGP_CompH dup = nullptr;
    AEGP_Collection2H c = nullptr;
    ASSERT_EQ(item8->AEGP_SetItemName(itemH(pre), name.data()), A_Err_NONE);
    ASSERT_EQ(item8->AEGP_SetItemCurrentTime(itemH(main), &t), A_Err_NONE);
    ASSERT_EQ(comp9->AEGP_CreateNullInComp(name.data(), compH(main), nullptr, &nul), A_Err_NONE);
    ASSERT_EQ(comp9->AEGP_SetCompDimensions(compH(pre), 50, 70), A_Err_NONE);
    ASSERT_EQ(comp9->AEGP_SetCompPixelAspectRatio(compH(pre), &par), A_Err_NONE);
    ASSERT_EQ(comp9->AEGP_DuplicateComp(compH(main), &dup), A_Err_NONE);
    ASSERT_EQ(comp9->AEGP_GetNewCollectionFromCompSelection(1, compH(main), &c), A_Err_NONE);
    ASSERT_EQ(coll->AEGP_CollectionErase(c, 0, 1), A_Err_NONE);
    ASSERT_EQ(comp9->AEGP_SetSelection(compH(main), c), A_Err_NONE);
    ASSERT_EQ(coll->AEGP_DisposeCollection(c), A_Err_NONE);
    ASSERT_EQ(item8->AEGP_DeleteItem(itemH(solid)), A_Err_NONE);
    AEGP_ItemH folder = nullptr;
    AEGP_CompH made = nullptr;
    const A_Ratio square{1, 1};
    const AEGP_DownsampleFactor half{2, 2};
    ASSERT_EQ(item8->AEGP_CreateNewFolder(name.data(), nullptr, &folder), A_Err_NONE);
    ASSERT_EQ(comp7->AEGP_CreateComp(folder, name.data(), 20, 10, &square, &t, &square, &made),
              A_Err_NONE);
    ASSERT_EQ(comp7->AEGP_SetCompDownsampleFactor(compH(main), &half), A_Err_NONE);
    host.endUndoGroup();
    host.endUndoGroup();
    ASSERT_NE(describeDifference(host.project(), original), "");

    ASSERT_TRUE(host.undo());
    EXPECT_EQ(describeDifference(host.project(), original), "");
    EXPECT_EQ(host.log().problems(), std::vector<std::string>{});
    A_long id = 0;  // handles by id work again once the item is back
    EXPECT_EQ(item8->AEGP_GetItemID(itemH(solid), &id), A_Err_NONE);
}

}  // namespace
