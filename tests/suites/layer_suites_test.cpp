// Layer suites 5 and 7 on their own: queries, adding, reordering, parenting and deleting layers.
#include <cmath>

#include "Geometry.h"
#include "LayerSuitesFixture.h"

namespace simtest {
namespace {

TEST_F(LayerSuites, AnswersWhatEachKindOfLayerIs) {
    Id c = comp("Main", 640, 360);
    Id red = solid("Red", 200, 100);
    Id nullSource = item(ItemType::NullSource, "Null source", 100, 100).id;
    struct Case {
        LayerKind kind;
        Id source;
        bool threeD;
        AEGP_ObjectType type;
        bool is3D;
        bool hasSource;
        AEGP_LayerFlags flags;
    };
    const Case cases[] = {
        {LayerKind::AV, red, false, AEGP_ObjectType_AV, false, true, AEGP_LayerFlag_VIDEO_ACTIVE},
        {LayerKind::AV, red, true, AEGP_ObjectType_AV, true, true,
         AEGP_LayerFlag_VIDEO_ACTIVE | AEGP_LayerFlag_LAYER_IS_3D},
        {LayerKind::Null, nullSource, false, AEGP_ObjectType_AV, false, true,
         AEGP_LayerFlag_VIDEO_ACTIVE | AEGP_LayerFlag_NULL_LAYER},
        {LayerKind::Camera, 0, false, AEGP_ObjectType_CAMERA, true, false,
         AEGP_LayerFlag_VIDEO_ACTIVE},
        {LayerKind::Light, 0, false, AEGP_ObjectType_LIGHT, true, false,
         AEGP_LayerFlag_VIDEO_ACTIVE},
        {LayerKind::Text, 0, false, AEGP_ObjectType_TEXT, false, false,
         AEGP_LayerFlag_VIDEO_ACTIVE},
        {LayerKind::Shape, 0, false, AEGP_ObjectType_VECTOR, false, false,
         AEGP_LayerFlag_VIDEO_ACTIVE},
    };
    for (const Case& k : cases)
        layer(c, k.source, "l", k.kind).threeD = k.threeD;
    A_long n = 0;
    ASSERT_EQ(layers->AEGP_GetCompNumLayers(ch(c), &n), A_Err_NONE);
    ASSERT_EQ(n, 7);
    for (A_long i = 0; i < n; ++i) {
        const Case& k = cases[i];
        AEGP_LayerH l = nullptr;
        ASSERT_EQ(layers->AEGP_GetCompLayerByIndex(ch(c), i, &l), A_Err_NONE);
        A_long index = -1;
        EXPECT_EQ(layers->AEGP_GetLayerIndex(l, &index), A_Err_NONE);
        EXPECT_EQ(index, i);
        AEGP_ObjectType type = -1;
        EXPECT_EQ(layers5->AEGP_GetLayerObjectType(l, &type), A_Err_NONE);
        EXPECT_EQ(type, k.type) << i;
        A_Boolean is3D = 2;
        EXPECT_EQ(layers->AEGP_IsLayer3D(l, &is3D), A_Err_NONE);
        EXPECT_EQ(is3D, k.is3D) << i;
        AEGP_LayerFlags flags = 0;
        EXPECT_EQ(layers->AEGP_GetLayerFlags(l, &flags), A_Err_NONE);
        EXPECT_EQ(flags, k.flags) << i;
        AEGP_ItemH source = nullptr;
        EXPECT_EQ(layers->AEGP_GetLayerSourceItem(l, &source), A_Err_NONE);
        EXPECT_EQ(source, k.hasSource ? ih(k.source) : nullptr) << i;
        AEGP_CompH parentComp = nullptr;
        EXPECT_EQ(layers->AEGP_GetLayerParentComp(l, &parentComp), A_Err_NONE);
        EXPECT_EQ(parentComp, ch(c));
    }
    AEGP_LayerH none = nullptr;
    EXPECT_EQ(layers->AEGP_GetCompLayerByIndex(ch(c), 7, &none), A_Err_PARAMETER);
    EXPECT_EQ(layers->AEGP_GetCompLayerByIndex(ch(c), -1, &none), A_Err_PARAMETER);
}

TEST_F(LayerSuites, GivesTimesInBothModesExactly) {
    Id c = comp("Main", 640, 360);
    compOf(c).frameRate = 30;
    compOf(c).currentTime = Rational(5);
    Layer& l = layer(c, solid("S", 10, 10), "L");
    l.startTime = Rational(2);
    l.inPoint = Rational(3);
    l.outPoint = Rational(22, 3);
    const Id id = l.id;
    struct Case {
        const char* what;
        AEGP_LTimeMode mode;
        Rational expected;
    };
    const Case cases[] = {{"current, layer", AEGP_LTimeMode_LayerTime, Rational(3)},
                          {"current, comp", AEGP_LTimeMode_CompTime, Rational(5)},
                          {"in, layer", AEGP_LTimeMode_LayerTime, Rational(1)},
                          {"in, comp", AEGP_LTimeMode_CompTime, Rational(3)},
                          {"duration, layer", AEGP_LTimeMode_LayerTime, Rational(13, 3)},
                          {"duration, comp", AEGP_LTimeMode_CompTime, Rational(13, 3)}};
    for (size_t i = 0; i < 6; ++i) {
        const Case& k = cases[i];
        A_Time t{-1, 0};
        auto fn = i < 2   ? layers->AEGP_GetLayerCurrentTime
                  : i < 4 ? layers->AEGP_GetLayerInPoint
                          : layers->AEGP_GetLayerDuration;
        ASSERT_EQ(fn(lh(id), k.mode, &t), A_Err_NONE) << k.what;
        EXPECT_EQ(exact(t), k.expected) << k.what;
        EXPECT_EQ(t.scale, 30u) << k.what;  // in frames, as the host gives them
    }
    A_Time t{};
    EXPECT_EQ(layers->AEGP_GetLayerInPoint(lh(id), 2, &t), A_Err_PARAMETER);
}

TEST_F(LayerSuites, ActiveLayerIsTheOnlySelectedLayerOfTheActiveComp) {
    Id c = comp("Main", 640, 360);
    Id a = layer(c, 0, "A", LayerKind::Text).id;
    Id b = layer(c, 0, "B", LayerKind::Text).id;
    auto active = [&] {
        AEGP_LayerH l = lh(a);
        EXPECT_EQ(layers->AEGP_GetActiveLayer(&l), A_Err_NONE);
        return l;
    };
    get(a).selected = true;
    EXPECT_EQ(active(), nullptr);  // no active item
    host.project().activeItem = c;
    EXPECT_EQ(active(), lh(a));
    get(b).selected = true;
    EXPECT_EQ(active(), nullptr);
}

TEST_F(LayerSuites, AddLayerPlacesTheSourceAtTheCompCentreOnTop) {
    Id main = comp("Main", 1920, 1080, Rational(10));
    Id pre = comp("Pre", 400, 300, Rational(4));
    Id inner = comp("Inner", 50, 50);
    Id red = solid("Red", 200, 100);
    layer(main, red, "Existing");
    layer(pre, inner, "Inner");
    struct Case {
        Id source;
        Vec3 anchor;
        Rational out;
    };
    for (const Case& k :
         {Case{red, {100, 50, 0}, Rational(10)}, Case{pre, {200, 150, 0}, Rational(4)}}) {
        AEGP_LayerH added = nullptr;
        ASSERT_EQ(layers->AEGP_AddLayer(ih(k.source), ch(main), &added), A_Err_NONE);
        const Layer& l = compOf(main).layers[0];
        EXPECT_EQ(added, lh(l.id));
        EXPECT_EQ(l.source, k.source);
        EXPECT_EQ(l.anchorPoint.value, k.anchor);
        EXPECT_EQ(l.position.value, (Vec3{960, 540, 0}));
        EXPECT_EQ(l.inPoint, Rational(0));
        EXPECT_EQ(l.outPoint, k.out);
        EXPECT_EQ(l.startTime, Rational(0));
    }
    EXPECT_EQ(compOf(main).layers.size(), 3u);
    EXPECT_EQ(layers->AEGP_AddLayer(ih(main), ch(main), nullptr), A_Err_PARAMETER);
    // "Main" now holds "Pre", which holds "Inner": neither may take "Main".
    for (Id into : {pre, inner}) {
        A_Boolean valid = 1;
        EXPECT_EQ(layers->AEGP_IsAddLayerValid(ih(main), ch(into), &valid), A_Err_NONE);
        EXPECT_EQ(valid, 0);
        EXPECT_EQ(layers->AEGP_AddLayer(ih(main), ch(into), nullptr), A_Err_PARAMETER);
    }
    Id folder = item(ItemType::Folder, "Folder", 0, 0).id;
    EXPECT_EQ(layers->AEGP_AddLayer(ih(folder), ch(main), nullptr), A_Err_PARAMETER);
    EXPECT_EQ(compOf(main).layers.size(), 3u);
    EXPECT_EQ(compOf(pre).layers.size(), 1u);
}

TEST_F(LayerSuites, ReorderLayerMovesToAnIndexOrTheEnd) {
    Id c = comp("Main", 100, 100);
    Id a = layer(c, 0, "A", LayerKind::Text).id;
    Id b = layer(c, 0, "B", LayerKind::Text).id;
    Id d = layer(c, 0, "D", LayerKind::Text).id;
    auto order = [&] {
        std::string s;
        for (const Layer& l : compOf(c).layers)
            s += l.name;
        return s;
    };
    struct Case {
        Id layer;
        A_long index;
        A_Err err;
        const char* order;
    };
    const Case cases[] = {
        {a, 2, A_Err_NONE, "BDA"},      {d, AEGP_REORDER_LAYER_TO_END, A_Err_NONE, "BAD"},
        {d, 0, A_Err_NONE, "DBA"},      {b, 1, A_Err_NONE, "DBA"},
        {b, 3, A_Err_PARAMETER, "DBA"}, {b, -2, A_Err_PARAMETER, "DBA"}};
    for (const Case& k : cases) {
        EXPECT_EQ(layers->AEGP_ReorderLayer(lh(k.layer), k.index), k.err) << k.index;
        EXPECT_EQ(order(), k.order) << k.index;
    }
}

TEST_F(LayerSuites, SetLayerParentKeepsValuesAndRefusesCycles) {
    Id c = comp("Main", 100, 100);
    Id other = comp("Other", 100, 100);
    Layer& child = layer(c, 0, "Child", LayerKind::Text);
    child.position.value = {10, 20, 0};
    const Id kid = child.id;
    Id p = layer(c, 0, "Parent", LayerKind::Text).id;
    get(p).position.value = {300, 300, 0};
    Id g = layer(c, 0, "Grandparent", LayerKind::Text).id;
    Id stranger = layer(other, 0, "Stranger", LayerKind::Text).id;

    ASSERT_EQ(layers->AEGP_SetLayerParent(lh(kid), lh(p)), A_Err_NONE);
    ASSERT_EQ(layers->AEGP_SetLayerParent(lh(p), lh(g)), A_Err_NONE);
    EXPECT_EQ(get(kid).position.value, (Vec3{10, 20, 0}));  // no compensation
    AEGP_LayerH parent = nullptr;
    EXPECT_EQ(layers->AEGP_GetLayerParent(lh(kid), &parent), A_Err_NONE);
    EXPECT_EQ(parent, lh(p));

    for (auto [layerId, parentId] : {std::pair{g, kid}, {g, p}, {p, p}, {kid, stranger}})
        EXPECT_EQ(layers->AEGP_SetLayerParent(lh(layerId), lh(parentId)), A_Err_PARAMETER);
    EXPECT_EQ(get(g).parent, 0);
    EXPECT_EQ(get(kid).parent, p);

    EXPECT_EQ(layers->AEGP_SetLayerParent(lh(kid), nullptr), A_Err_NONE);
    EXPECT_EQ(layers->AEGP_GetLayerParent(lh(kid), &parent), A_Err_NONE);
    EXPECT_EQ(parent, nullptr);
}

TEST_F(LayerSuites, DeletingATranslatingNullMovesItsChildExactlyAtEveryKeyframe) {
    Id c = comp("Main", 1000, 1000);
    compOf(c).currentTime = Rational(7, 2);
    Layer& nul = layer(c, item(ItemType::NullSource, "Null", 100, 100).id, "Null", LayerKind::Null);
    const double x = 123.7, y = -45.3;
    nul.position.value = {x, y, 0};
    const Id n = nul.id;
    Layer& child = layer(c, solid("S", 10, 10), "Child");
    child.parent = n;
    child.startTime = Rational(1, 3);
    child.position.keys = {{Rational(0), {0.1, 0.2, 0}},
                           {Rational(1, 3), {10.3, 7.7, 1.5}},
                           {Rational(2), {-3.3, 1e-7, 0}}};
    child.position.value = {0.7, 0.9, 0};
    const Layer before = child;

    ASSERT_EQ(layers->AEGP_DeleteLayer(lh(n)), A_Err_NONE);
    const Layer& after = compOf(c).layers[0];
    ASSERT_EQ(compOf(c).layers.size(), 1u);
    EXPECT_EQ(after.parent, 0);
    for (size_t i = 0; i < 3; ++i) {
        const Vec3& v = before.position.keys[i].value;
        EXPECT_EQ(after.position.keys[i].value, (Vec3{v.x + x, v.y + y, v.z})) << i;
        EXPECT_EQ(after.position.keys[i].time, before.position.keys[i].time);
    }
    EXPECT_EQ(after.position.value, (Vec3{0.7 + x, 0.9 + y, 0}));
    EXPECT_EQ(after.rotation, before.rotation);
    EXPECT_EQ(after.scale, before.scale);
}

TEST_F(LayerSuites, DeletingAnAnimatedParentUsesItsValueAtEachKeyframesTime) {
    Id c = comp("Main", 1000, 1000);
    Layer& p = layer(c, 0, "Parent", LayerKind::Text);
    p.startTime = Rational(1);
    p.position.keys = {{Rational(0), {0, 0, 0}}, {Rational(1), {100, 0, 0}}};
    const Id pid = p.id;
    Layer& child = layer(c, 0, "Child", LayerKind::Text);
    child.parent = pid;
    child.startTime = Rational(1, 2);
    // Child time 1 is comp time 3/2, which is parent time 1/2.
    child.position.keys = {{Rational(1), {1, 2, 0}}, {Rational(5, 2), {1, 2, 0}}};
    ASSERT_EQ(layers->AEGP_DeleteLayer(lh(pid)), A_Err_NONE);
    const Layer& after = compOf(c).layers[0];
    EXPECT_EQ(after.position.keys[0].value, (Vec3{51, 2, 0}));
    EXPECT_EQ(after.position.keys[1].value, (Vec3{101, 2, 0}));
}

TEST_F(LayerSuites, DeletingARotatedScaledParentFoldsItsWholeTransform) {
    Id c = comp("Main", 1000, 1000);
    compOf(c).currentTime = Rational(1);
    Layer& g = layer(c, 0, "Grandparent", LayerKind::Text);
    g.position.value = {10, 10, 0};
    const Id gid = g.id;
    Layer& p = layer(c, 0, "Parent", LayerKind::Text);
    p.parent = gid;
    p.anchorPoint.value = {10, 0, 0};
    p.scale.value = {200, 200, 100};
    p.rotation.value = 90;
    p.position.value = {100, 100, 0};
    const Id pid = p.id;
    Layer& child = layer(c, solid("S", 40, 20), "Child");
    child.parent = pid;
    child.position.value = {5, 0, 0};
    child.rotation.value = 15;
    child.scale.value = {50, 50, 100};
    const Id kid = child.id;
    const Affine world = layerTransform(compOf(c), child, Rational(1)).full();

    ASSERT_EQ(layers->AEGP_DeleteLayer(lh(pid)), A_Err_NONE);
    const Layer& after = get(kid);
    EXPECT_EQ(after.parent, gid);  // takes the deleted layer's parent
    // (5, 0) - anchor (10, 0) = (-5, 0); doubled (-10, 0); a quarter turn clockwise (0, -10).
    EXPECT_NEAR(after.position.value.x, 100, 1e-9);
    EXPECT_NEAR(after.position.value.y, 90, 1e-9);
    EXPECT_DOUBLE_EQ(after.rotation.value, 105);
    EXPECT_EQ(after.scale.value, (Vec3{100, 100, 100}));
    // Uniformly scaled, the child ends up exactly where it was drawn.
    const Affine now = layerTransform(compOf(c), after, Rational(1)).full();
    for (double v : {now.a - world.a, now.b - world.b, now.c - world.c, now.d - world.d,
                     now.tx - world.tx, now.ty - world.ty})
        EXPECT_NEAR(v, 0, 1e-9);
}

TEST_F(LayerSuites, MaskedBoundsAreInSourcePixelsAtTheGivenTime) {
    Id c = comp("Main", 1000, 1000);
    Layer& l = layer(c, solid("S", 100, 50), "L");
    l.startTime = Rational(1);
    l.position.value = {500, 500, 0};  // the bounds ignore where the layer is drawn
    const Id id = l.id;
    Mask& m = addMask(id, "Mask 1", {});
    m.path.keys = {{Rational(0), rectPath(10, 5, 30, 25)}, {Rational(2), rectPath(50, 5, 70, 25)}};
    struct Case {
        AEGP_LTimeMode mode;
        A_Time time;
        A_FloatRect expected;
    };
    const Case cases[] = {{AEGP_LTimeMode_LayerTime, at(0), {10, 5, 30, 25}},
                          {AEGP_LTimeMode_LayerTime, at(1), {30, 5, 50, 25}},
                          {AEGP_LTimeMode_CompTime, at(1), {10, 5, 30, 25}},
                          {AEGP_LTimeMode_CompTime, at(6, 2), {50, 5, 70, 25}}};
    for (const Case& k : cases) {
        A_FloatRect r{};
        ASSERT_EQ(layers->AEGP_GetLayerMaskedBounds(lh(id), k.mode, &k.time, &r), A_Err_NONE);
        EXPECT_EQ(r.left, k.expected.left);
        EXPECT_EQ(r.top, k.expected.top);
        EXPECT_EQ(r.right, k.expected.right);
        EXPECT_EQ(r.bottom, k.expected.bottom);
    }
    A_FloatRect r{};
    A_Time bad = at(1, 0);
    EXPECT_EQ(layers->AEGP_GetLayerMaskedBounds(lh(id), 0, &bad, &r), A_Err_PARAMETER);
}

TEST_F(LayerSuites, StaleAndForeignLayerHandlesAreErrorsNotCrashes) {
    Id c = comp("Main", 100, 100);
    Id a = layer(c, 0, "A", LayerKind::Text).id;
    AEGP_LayerH stale = lh(a);
    ASSERT_EQ(layers->AEGP_DeleteLayer(stale), A_Err_NONE);
    A_long index = 0;
    EXPECT_EQ(layers->AEGP_GetLayerIndex(stale, &index), A_Err_PARAMETER);
    EXPECT_EQ(layers->AEGP_DeleteLayer(stale), A_Err_PARAMETER);
    int notAHandle = 0;
    EXPECT_EQ(layers->AEGP_GetLayerIndex(reinterpret_cast<AEGP_LayerH>(&notAHandle), &index),
              A_Err_PARAMETER);
    EXPECT_EQ(layers->AEGP_GetLayerIndex(reinterpret_cast<AEGP_LayerH>(ch(c)), &index),
              A_Err_PARAMETER);
    EXPECT_EQ(layers->AEGP_GetLayerIndex(lh(a), nullptr), A_Err_PARAMETER);
    EXPECT_EQ(host.log().problems().size(), 5u);
}

TEST_F(LayerSuites, UndoRestoresEveryLayerEditExactly) {
    Id main = comp("Main", 640, 360);
    compOf(main).currentTime = Rational(2);
    Id red = solid("Red", 20, 10);
    Id p = layer(main, 0, "Parent", LayerKind::Text).id;
    get(p).position.value = {50, 60, 0};
    get(p).rotation.value = 30;
    Layer& child = layer(main, red, "Child");
    child.parent = p;
    child.position.keys = {{Rational(0), {1, 1, 0}}, {Rational(3), {9, 9, 0}}};
    const Id kid = child.id;
    Id other = layer(main, red, "Other").id;
    addMask(other, "M", rectPath(0, 0, 5, 5)).selected = true;
    const Project before = host.project();

    host.startUndoGroup("Edits");
    EXPECT_EQ(layers->AEGP_AddLayer(ih(red), ch(main), nullptr), A_Err_NONE);
    EXPECT_EQ(layers->AEGP_ReorderLayer(lh(other), 0), A_Err_NONE);
    EXPECT_EQ(layers->AEGP_SetLayerParent(lh(other), lh(kid)), A_Err_NONE);
    EXPECT_EQ(layers->AEGP_DeleteLayer(lh(p)), A_Err_NONE);
    AEGP_StreamRefH s = layerStream(kid, AEGP_LayerStream_POSITION);
    EXPECT_EQ(keys->AEGP_SetKeyframeInterpolation(s, 1, AEGP_KeyInterp_HOLD, AEGP_KeyInterp_BEZIER),
              A_Err_NONE);
    EXPECT_EQ(streams->AEGP_DisposeStream(s), A_Err_NONE);
    AEGP_MaskRefH m = maskRef(other, 0);
    EXPECT_EQ(masks->AEGP_DeleteMaskFromLayer(m), A_Err_NONE);
    EXPECT_EQ(masks->AEGP_DisposeMask(m), A_Err_NONE);
    host.endUndoGroup();

    EXPECT_NE(describeDifference(before, host.project()), "");
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(describeDifference(before, host.project()), "");
    // Handles to the restored layers work again.
    A_long index = -1;
    EXPECT_EQ(layers->AEGP_GetLayerIndex(lh(p), &index), A_Err_NONE);
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(host.log().problems().empty());
}

}  // namespace
}  // namespace simtest
