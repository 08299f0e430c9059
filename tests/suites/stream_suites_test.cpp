// Mask, Mask Outline, Stream and Keyframe suites on their own: values, outlines, keyframes, leaks.
#include "LayerSuitesFixture.h"

namespace simtest {
namespace {

TEST_F(LayerSuites, OutlineVertexIndicesFollowTheHost) {
    struct Case {
        bool closed;
        AEGP_VertexIndex index;
        A_Err err;
        double x;  // of the vertex read
    };
    // A rectangle (0,0) (10,0) (10,20) (0,20): closed it has 4 segments, open 3.
    const Case cases[] = {
        {true, 0, A_Err_NONE, 0},      {true, 2, A_Err_NONE, 10},
        {true, 3, A_Err_NONE, 0},      {true, 4, A_Err_NONE, 0},  // vertex N is vertex 0
        {true, 5, A_Err_PARAMETER, 0}, {true, -1, A_Err_PARAMETER, 0},
        {false, 3, A_Err_NONE, 0},  // vertex N is the last vertex
        {false, 1, A_Err_NONE, 10},    {false, 4, A_Err_PARAMETER, 0},
    };
    Id c = comp("Main", 100, 100);
    Id l = layer(c, solid("S", 100, 100), "L").id;
    addMask(l, "Closed", rectPath(0, 0, 10, 20, true));
    addMask(l, "Open", rectPath(0, 0, 10, 20, false));
    for (A_long m = 0; m < 2; ++m) {
        AEGP_MaskRefH ref = maskRef(l, m);
        AEGP_StreamRefH s = outlineStream(ref);
        AEGP_StreamValue2 v = valueAtTime(s, at(0));
        A_Boolean open = 2;
        EXPECT_EQ(outlines->AEGP_IsMaskOutlineOpen(v.val.mask, &open), A_Err_NONE);
        EXPECT_EQ(open, m == 1);
        A_long segments = 0;
        EXPECT_EQ(outlines->AEGP_GetMaskOutlineNumSegments(v.val.mask, &segments), A_Err_NONE);
        EXPECT_EQ(segments, m == 0 ? 4 : 3);
        for (const Case& k : cases) {
            if (k.closed != (m == 0)) continue;
            AEGP_MaskVertex vx{};
            EXPECT_EQ(outlines->AEGP_GetMaskOutlineVertexInfo(v.val.mask, k.index, &vx), k.err)
                << k.closed << " " << k.index;
            if (k.err == A_Err_NONE) {
                EXPECT_EQ(vx.x, k.x) << k.closed << " " << k.index;
            }
            EXPECT_EQ(outlines->AEGP_SetMaskOutlineVertexInfo(v.val.mask, k.index, &vx), k.err);
        }
        // Writing vertex N of the closed outline writes vertex 0; of the open one, its last.
        AEGP_MaskVertex moved{-7, -8, 1, 2, 3, 4};
        EXPECT_EQ(outlines->AEGP_SetMaskOutlineVertexInfo(v.val.mask, segments, &moved),
                  A_Err_NONE);
        EXPECT_EQ(streams->AEGP_SetStreamValue(1, s, &v), A_Err_NONE);
        const MaskPath& path = get(l).masks[static_cast<size_t>(m)].path.value;
        ASSERT_EQ(path.vertices.size(), 4u);
        const size_t written = m == 0 ? 0 : 3;
        EXPECT_EQ(path.vertices[written], (Vec2{-7, -8}));
        EXPECT_EQ(path.inTangents[written], (Vec2{1, 2}));
        EXPECT_EQ(path.outTangents[written], (Vec2{3, 4}));
        EXPECT_EQ(path.vertices[m == 0 ? 3 : 0], (Vec2{0, m == 0 ? 20.0 : 0.0}));  // untouched
        EXPECT_EQ(streams->AEGP_DisposeStreamValue(&v), A_Err_NONE);
        EXPECT_EQ(streams->AEGP_DisposeStream(s), A_Err_NONE);
        EXPECT_EQ(masks->AEGP_DisposeMask(ref), A_Err_NONE);
    }
}

// Writing vertex 0 (or vertex N of a closed outline, which is vertex 0) touches no other vertex
// by default; in the coupled reading of the host's note its in-tangent also becomes the last
// vertex's out-tangent. Writing any other vertex never touches another.
TEST_F(LayerSuites, WritingVertexZeroFollowsTheHostModel) {
    struct Case {
        HostModel::Vertex0 model;
        bool closed;
        AEGP_VertexIndex written;
        Vec2 lastOut;  // the last vertex's out-tangent afterwards (it starts at (9, 9))
    } cases[] = {
        {HostModel::Vertex0::Independent, true, 0, {9, 9}},
        {HostModel::Vertex0::Independent, false, 0, {9, 9}},
        {HostModel::Vertex0::Coupled, true, 0, {5, 6}},
        {HostModel::Vertex0::Coupled, true, 4, {5, 6}},
        {HostModel::Vertex0::Coupled, false, 0, {5, 6}},
        {HostModel::Vertex0::Coupled, true, 1, {9, 9}},
        {HostModel::Vertex0::Coupled, false, 3, {7, 8}},  // the open outline's last vertex itself
    };
    Id c = comp("Main", 100, 100);
    Id l = layer(c, solid("S", 100, 100), "L").id;
    for (const Case& k : cases) {
        SCOPED_TRACE(
            std::string(k.model == HostModel::Vertex0::Coupled ? "coupled" : "independent") +
            (k.closed ? " closed, vertex " : " open, vertex ") + std::to_string(k.written));
        host.model().vertex0 = k.model;
        get(l).masks.clear();
        MaskPath path = rectPath(0, 0, 10, 20, k.closed);
        path.outTangents.assign(4, Vec2{9, 9});
        addMask(l, "M", path);
        AEGP_MaskRefH ref = maskRef(l, 0);
        AEGP_StreamRefH s = outlineStream(ref);
        AEGP_StreamValue2 v = valueAtTime(s, at(0));
        AEGP_MaskVertex vertex{1, 2, 5, 6, 7, 8};
        EXPECT_EQ(outlines->AEGP_SetMaskOutlineVertexInfo(v.val.mask, k.written, &vertex),
                  A_Err_NONE);
        AEGP_MaskVertex last{};
        EXPECT_EQ(outlines->AEGP_GetMaskOutlineVertexInfo(v.val.mask, 3, &last), A_Err_NONE);
        EXPECT_EQ((Vec2{last.tan_out_x, last.tan_out_y}), k.lastOut);
        EXPECT_EQ(streams->AEGP_DisposeStreamValue(&v), A_Err_NONE);
        EXPECT_EQ(streams->AEGP_DisposeStream(s), A_Err_NONE);
        EXPECT_EQ(masks->AEGP_DisposeMask(ref), A_Err_NONE);
    }
}

TEST_F(LayerSuites, ReadsModifiesAndWritesStaticAndKeyframedAnchorPoints) {
    Id c = comp("Main", 100, 100);
    const Id sid = layer(c, solid("S", 100, 100), "Static").id;
    get(sid).anchorPoint.value = {50, 25, 0};
    const Id kid = layer(c, solid("K", 100, 100), "Keyed").id;
    get(kid).startTime = Rational(1);
    get(kid).anchorPoint.keys = {{Rational(0), {1, 2, 0}}, {Rational(3, 2), {3, 4, 0}}};

    AEGP_StreamRefH s = layerStream(sid, AEGP_LayerStream_ANCHORPOINT);
    AEGP_StreamValue2 v = valueAtTime(s, at(0));
    EXPECT_EQ(v.streamH, s);
    EXPECT_EQ(v.val.three_d.x, 50);
    v.val.three_d.x *= 2;
    EXPECT_EQ(streams->AEGP_SetStreamValue(1, s, &v), A_Err_NONE);
    EXPECT_EQ(get(sid).anchorPoint.value, (Vec3{100, 25, 0}));
    EXPECT_EQ(streams->AEGP_DisposeStreamValue(&v), A_Err_NONE);
    EXPECT_EQ(streams->AEGP_DisposeStream(s), A_Err_NONE);

    s = layerStream(kid, AEGP_LayerStream_ANCHORPOINT);
    A_long n = 0;
    EXPECT_EQ(keys->AEGP_GetStreamNumKFs(s, &n), A_Err_NONE);
    ASSERT_EQ(n, 2);
    v = valueAtTime(s, at(0));
    EXPECT_EQ(streams->AEGP_SetStreamValue(1, s, &v), A_Err_PARAMETER);  // keyframed
    EXPECT_EQ(streams->AEGP_DisposeStreamValue(&v), A_Err_NONE);
    for (A_long k = 0; k < n; ++k) {
        A_Time t{};
        EXPECT_EQ(keys->AEGP_GetKeyframeTime(s, k, AEGP_LTimeMode_CompTime, &t), A_Err_NONE);
        EXPECT_EQ(exact(t), get(kid).anchorPoint.keys[k].time + Rational(1));
        v = valueAtTime(s, t, AEGP_LTimeMode_CompTime);
        v.val.three_d.y += 10;
        EXPECT_EQ(keys->AEGP_SetKeyframeValue(s, k, &v), A_Err_NONE);
        EXPECT_EQ(streams->AEGP_DisposeStreamValue(&v), A_Err_NONE);
    }
    EXPECT_EQ(get(kid).anchorPoint.keys[0].value, (Vec3{1, 12, 0}));
    EXPECT_EQ(get(kid).anchorPoint.keys[1].value, (Vec3{3, 14, 0}));
    EXPECT_EQ(keys->AEGP_SetKeyframeValue(s, 2, &v), A_Err_PARAMETER);
    EXPECT_EQ(streams->AEGP_DisposeStream(s), A_Err_NONE);
}

TEST_F(LayerSuites, ReadsModifiesAndWritesStaticAndKeyframedMaskPaths) {
    Id c = comp("Main", 100, 100);
    Id l = layer(c, solid("S", 100, 100), "L").id;
    addMask(l, "Static", rectPath(0, 0, 10, 10));
    Mask& km = addMask(l, "Keyed", {});
    km.path.keys = {{Rational(0), rectPath(0, 0, 10, 10)}, {Rational(1), rectPath(20, 20, 40, 40)}};
    auto shift = [&](AEGP_MaskOutlineValH o) {
        A_long n = 0;
        EXPECT_EQ(outlines->AEGP_GetMaskOutlineNumSegments(o, &n), A_Err_NONE);
        for (A_long i = 0; i < n; ++i) {
            AEGP_MaskVertex v{};
            EXPECT_EQ(outlines->AEGP_GetMaskOutlineVertexInfo(o, i, &v), A_Err_NONE);
            v.x += 5;
            v.tan_out_y = 1;
            EXPECT_EQ(outlines->AEGP_SetMaskOutlineVertexInfo(o, i, &v), A_Err_NONE);
        }
    };
    AEGP_MaskRefH m0 = maskRef(l, 0), m1 = maskRef(l, 1);
    AEGP_StreamRefH s0 = outlineStream(m0), s1 = outlineStream(m1);
    AEGP_StreamValue2 v = valueAtTime(s0, at(0));
    shift(v.val.mask);
    EXPECT_EQ(get(l).masks[0].path.value, rectPath(0, 0, 10, 10));  // a copy until it is set
    EXPECT_EQ(streams->AEGP_SetStreamValue(1, s0, &v), A_Err_NONE);
    EXPECT_EQ(streams->AEGP_DisposeStreamValue(&v), A_Err_NONE);
    MaskPath expected = rectPath(5, 0, 15, 10);
    for (Vec2& t : expected.outTangents)
        t.y = 1;
    EXPECT_EQ(get(l).masks[0].path.value, expected);

    for (A_long k = 0; k < 2; ++k) {
        A_Time t{};
        EXPECT_EQ(keys->AEGP_GetKeyframeTime(s1, k, AEGP_LTimeMode_LayerTime, &t), A_Err_NONE);
        v = valueAtTime(s1, t);
        shift(v.val.mask);
        EXPECT_EQ(keys->AEGP_SetKeyframeValue(s1, k, &v), A_Err_NONE);
        EXPECT_EQ(streams->AEGP_DisposeStreamValue(&v), A_Err_NONE);
    }
    MaskPath second = rectPath(25, 20, 45, 40);
    for (Vec2& t : second.outTangents)
        t.y = 1;
    EXPECT_EQ(get(l).masks[1].path.keys[0].value, expected);
    EXPECT_EQ(get(l).masks[1].path.keys[1].value, second);
    for (AEGP_StreamRefH s : {s0, s1})
        EXPECT_EQ(streams->AEGP_DisposeStream(s), A_Err_NONE);
    for (AEGP_MaskRefH m : {m0, m1})
        EXPECT_EQ(masks->AEGP_DisposeMask(m), A_Err_NONE);
}

TEST_F(LayerSuites, KeyframeInterpolationRoundTrips) {
    Id c = comp("Main", 100, 100);
    Layer& l = layer(c, 0, "L", LayerKind::Text);
    l.rotation.keys = {{Rational(0), 0}, {Rational(1), 90}};
    const Id id = l.id;
    AEGP_StreamRefH s = layerStream(id, AEGP_LayerStream_ROTATION);
    const std::pair<AEGP_KeyframeInterpolationType, Interp> kinds[] = {
        {AEGP_KeyInterp_LINEAR, Interp::Linear},
        {AEGP_KeyInterp_BEZIER, Interp::Bezier},
        {AEGP_KeyInterp_HOLD, Interp::Hold}};
    for (auto [inHost, inModel] : kinds) {
        for (auto [outHost, outModel] : kinds) {
            ASSERT_EQ(keys->AEGP_SetKeyframeInterpolation(s, 1, inHost, outHost), A_Err_NONE);
            EXPECT_EQ(get(id).rotation.keys[1].in, inModel);
            EXPECT_EQ(get(id).rotation.keys[1].out, outModel);
            AEGP_KeyframeInterpolationType in = 0, out = 0;
            EXPECT_EQ(keys->AEGP_GetKeyframeInterpolation(s, 1, &in, &out), A_Err_NONE);
            EXPECT_EQ(in, inHost);
            EXPECT_EQ(out, outHost);
            EXPECT_EQ(keys->AEGP_GetKeyframeInterpolation(s, 1, nullptr, &out), A_Err_NONE);
            EXPECT_EQ(keys->AEGP_GetKeyframeInterpolation(s, 1, &in, nullptr), A_Err_NONE);
        }
    }
    for (AEGP_KeyframeInterpolationType bad : {AEGP_KeyInterp_NONE, AEGP_Interp_NUM_VALUES})
        EXPECT_EQ(keys->AEGP_SetKeyframeInterpolation(s, 0, bad, AEGP_KeyInterp_LINEAR),
                  A_Err_PARAMETER);
    EXPECT_EQ(get(id).rotation.keys[0].in, Interp::Linear);
    EXPECT_EQ(keys->AEGP_GetKeyframeInterpolation(s, 2, nullptr, nullptr), A_Err_PARAMETER);
    EXPECT_EQ(streams->AEGP_DisposeStream(s), A_Err_NONE);
}

TEST_F(LayerSuites, TimeRemapValuesAreSecondsOfSourceTime) {
    Id main = comp("Main", 100, 100);
    Id pre = comp("Pre", 100, 100);
    Layer& l = layer(main, pre, "Pre");
    l.startTime = Rational(1);
    l.timeRemapEnabled = true;
    l.timeRemap.keys = {{Rational(0), 0.0}, {Rational(2), 4.0}};
    const Id id = l.id;
    Id flat = layer(main, solid("S", 10, 10), "Flat").id;

    AEGP_LayerFlags flags = 0;
    EXPECT_EQ(layers->AEGP_GetLayerFlags(lh(id), &flags), A_Err_NONE);
    EXPECT_TRUE(flags & AEGP_LayerFlag_TIME_REMAPPING);
    AEGP_StreamRefH s = layerStream(id, AEGP_LayerStream_TIME_REMAP);
    struct Case {
        AEGP_LTimeMode mode;
        A_Time time;
        double seconds;
    };
    for (const Case& k :
         {Case{AEGP_LTimeMode_LayerTime, at(1), 2.0}, Case{AEGP_LTimeMode_CompTime, at(5, 2), 3.0},
          Case{AEGP_LTimeMode_LayerTime, at(9), 4.0}}) {
        AEGP_StreamValue2 v = valueAtTime(s, k.time, k.mode);
        EXPECT_EQ(v.val.one_d, k.seconds);
        EXPECT_EQ(streams->AEGP_DisposeStreamValue(&v), A_Err_NONE);
    }
    get(id).timeRemapEnabled = false;  // the source then runs with the layer
    AEGP_StreamValue2 v = valueAtTime(s, at(3, 2));
    EXPECT_EQ(v.val.one_d, 1.5);
    EXPECT_EQ(streams->AEGP_DisposeStreamValue(&v), A_Err_NONE);
    EXPECT_EQ(streams->AEGP_DisposeStream(s), A_Err_NONE);

    AEGP_StreamRefH none = nullptr;
    EXPECT_EQ(streams->AEGP_GetNewLayerStream(1, lh(flat), AEGP_LayerStream_TIME_REMAP, &none),
              A_Err_PARAMETER);
    EXPECT_EQ(streams->AEGP_GetNewLayerStream(1, lh(flat), AEGP_LayerStream_MARKER, &none),
              A_Err_PARAMETER);
    EXPECT_EQ(none, nullptr);
}

TEST_F(LayerSuites, StaleStreamMaskAndOutlineHandlesAreErrorsNotCrashes) {
    Id c = comp("Main", 100, 100);
    Id l = layer(c, solid("S", 10, 10), "L").id;
    addMask(l, "M", rectPath(0, 0, 5, 5));
    AEGP_StreamRefH s = layerStream(l, AEGP_LayerStream_OPACITY);
    EXPECT_EQ(streams->AEGP_DisposeStream(s), A_Err_NONE);
    AEGP_StreamValue2 v{};
    A_Time t = at(0);
    EXPECT_EQ(streams->AEGP_GetNewStreamValue(1, s, 0, &t, 0, &v), A_Err_PARAMETER);
    EXPECT_EQ(streams->AEGP_DisposeStream(s), A_Err_PARAMETER);

    AEGP_MaskRefH m = maskRef(l, 0);
    AEGP_StreamRefH outline = outlineStream(m);
    v = valueAtTime(outline, t);
    EXPECT_EQ(streams->AEGP_DisposeStreamValue(&v), A_Err_NONE);
    EXPECT_EQ(streams->AEGP_DisposeStreamValue(&v), A_Err_PARAMETER);  // twice
    A_long n = 0;
    EXPECT_EQ(outlines->AEGP_GetMaskOutlineNumSegments(v.val.mask, &n), A_Err_PARAMETER);

    EXPECT_EQ(masks->AEGP_DeleteMaskFromLayer(m), A_Err_NONE);
    EXPECT_EQ(streams->AEGP_GetNewStreamValue(1, outline, 0, &t, 0, &v), A_Err_PARAMETER);
    AEGP_StreamRefH again = nullptr;
    EXPECT_EQ(streams->AEGP_GetNewMaskStream(1, m, AEGP_MaskStream_OUTLINE, &again),
              A_Err_PARAMETER);
    EXPECT_EQ(masks->AEGP_DeleteMaskFromLayer(m), A_Err_PARAMETER);
    // Refs to what is gone are still the plug-in's to release.
    EXPECT_EQ(streams->AEGP_DisposeStream(outline), A_Err_NONE);
    EXPECT_EQ(masks->AEGP_DisposeMask(m), A_Err_NONE);
    EXPECT_EQ(masks->AEGP_DisposeMask(m), A_Err_PARAMETER);
    EXPECT_EQ(host.log().problems().size(), 8u);
}

TEST_F(LayerSuites, DeletingASelectedMaskClearsTheCompsMaskSelection) {
    Id c = comp("Main", 100, 100);
    Id a = layer(c, solid("S", 10, 10), "A").id;
    Id b = layer(c, solid("T", 10, 10), "B").id;
    addMask(a, "A1", rectPath(0, 0, 5, 5)).selected = true;
    addMask(a, "A2", rectPath(0, 0, 5, 5)).selected = true;
    addMask(b, "B1", rectPath(0, 0, 5, 5)).selected = true;
    get(b).selected = true;
    AEGP_MaskRefH m = maskRef(a, 0);
    ASSERT_EQ(masks->AEGP_DeleteMaskFromLayer(m), A_Err_NONE);
    A_long n = 0;
    EXPECT_EQ(masks->AEGP_GetLayerNumMasks(lh(a), &n), A_Err_NONE);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(get(a).masks[0].name, "A2");
    EXPECT_FALSE(get(a).masks[0].selected);
    EXPECT_FALSE(get(b).masks[0].selected);
    EXPECT_TRUE(get(b).selected);
    EXPECT_EQ(host.handles().leaks(), std::vector<std::string>{"mask: mask 'A1' of layer 'A'"});
    EXPECT_EQ(masks->AEGP_DisposeMask(m), A_Err_NONE);
}

TEST_F(LayerSuites, EveryUndisposedHandleIsListedAsALeak) {
    Id c = comp("Main", 100, 100);
    Id l = layer(c, solid("S", 10, 10), "Red").id;
    addMask(l, "Mask 1", rectPath(0, 0, 5, 5));
    AEGP_StreamRefH s = layerStream(l, AEGP_LayerStream_POSITION);
    AEGP_MaskRefH m = maskRef(l, 0);
    AEGP_StreamRefH o = outlineStream(m);
    AEGP_StreamValue2 v = valueAtTime(o, at(0));
    const std::vector<std::string> all = {
        "stream: position of layer 'Red'", "mask: mask 'Mask 1' of layer 'Red'",
        "stream: outline of mask 'Mask 1' of layer 'Red'",
        "mask outline: value of outline of mask 'Mask 1' of layer 'Red'"};
    EXPECT_EQ(host.handles().leaks(), all);
    // Disposing the value's stream first still lets the value release its outline.
    EXPECT_EQ(streams->AEGP_DisposeStream(o), A_Err_NONE);
    EXPECT_EQ(streams->AEGP_DisposeStreamValue(&v), A_Err_NONE);
    EXPECT_EQ(host.handles().leaks(), std::vector<std::string>(all.begin(), all.begin() + 2));
    EXPECT_EQ(masks->AEGP_DisposeMask(m), A_Err_NONE);
    EXPECT_EQ(streams->AEGP_DisposeStream(s), A_Err_NONE);
    EXPECT_TRUE(host.handles().leaks().empty());
}

TEST_F(LayerSuites, NewMasksStartEmptyAndVerticesAreInsertedWhereAsked) {
    Id c = comp("Main", 100, 100);
    Id l = layer(c, solid("S", 100, 100), "L").id;
    addMask(l, "Existing", rectPath(0, 0, 10, 20));
    Id camera = layer(c, 0, "Camera", LayerKind::Camera).id;
    AEGP_MaskRefH ref = nullptr;
    A_long index = -1;
    EXPECT_EQ(masks->AEGP_CreateNewMask(lh(camera), &ref, &index), A_Err_PARAMETER);
    EXPECT_EQ(ref, nullptr);
    ASSERT_EQ(masks->AEGP_CreateNewMask(lh(l), &ref, &index), A_Err_NONE);
    EXPECT_EQ(index, 1);
    ASSERT_EQ(get(l).masks.size(), 2u);
    EXPECT_EQ(get(l).masks[1].name, "Mask 2");
    EXPECT_EQ(get(l).masks[1].mode, MaskMode::Add);

    AEGP_StreamRefH s = outlineStream(ref);
    AEGP_StreamValue2 v = valueAtTime(s, at(0));
    A_long segments = -1;
    EXPECT_EQ(outlines->AEGP_GetMaskOutlineNumSegments(v.val.mask, &segments), A_Err_NONE);
    EXPECT_EQ(segments, 0);
    // Inserted at the end, then in front of the first: (1,1) ends up second.
    EXPECT_EQ(outlines->AEGP_CreateVertex(v.val.mask, 1), A_Err_PARAMETER);
    EXPECT_EQ(outlines->AEGP_CreateVertex(v.val.mask, 0), A_Err_NONE);
    AEGP_MaskVertex first{1, 1, 2, 3, 4, 5};
    EXPECT_EQ(outlines->AEGP_SetMaskOutlineVertexInfo(v.val.mask, 0, &first), A_Err_NONE);
    EXPECT_EQ(outlines->AEGP_CreateVertex(v.val.mask, 0), A_Err_NONE);
    EXPECT_EQ(outlines->AEGP_CreateVertex(v.val.mask, 2), A_Err_NONE);
    EXPECT_EQ(outlines->AEGP_GetMaskOutlineNumSegments(v.val.mask, &segments), A_Err_NONE);
    EXPECT_EQ(segments, 3);
    EXPECT_EQ(streams->AEGP_SetStreamValue(1, s, &v), A_Err_NONE);
    const MaskPath& path = get(l).masks[1].path.value;
    ASSERT_EQ(path.vertices.size(), 3u);
    EXPECT_EQ(path.vertices[0], (Vec2{0, 0}));
    EXPECT_EQ(path.vertices[1], (Vec2{1, 1}));
    EXPECT_EQ(path.inTangents[1], (Vec2{2, 3}));
    EXPECT_EQ(path.outTangents[1], (Vec2{4, 5}));
    EXPECT_EQ(path.outTangents[2], (Vec2{0, 0}));
    EXPECT_TRUE(path.closed);
    EXPECT_EQ(streams->AEGP_DisposeStreamValue(&v), A_Err_NONE);
    EXPECT_EQ(streams->AEGP_DisposeStream(s), A_Err_NONE);
    EXPECT_EQ(masks->AEGP_DisposeMask(ref), A_Err_NONE);
}

TEST_F(LayerSuites, InsertsAndDeletesKeyframes) {
    Id c = comp("Main", 100, 100);
    Layer& l = layer(c, 0, "L", LayerKind::Text);
    l.startTime = Rational(1);
    l.opacity.value = 40;
    const Id id = l.id;
    const auto insert = keys->AEGP_InsertKeyframe;
    const auto erase = slotAs<DeleteKeyframeFn>(keys->AEGP_DeleteKeyframe);
    const auto varies = slotAs<IsStreamTimevaryingFn>(streams->AEGP_IsStreamTimevarying);
    AEGP_StreamRefH s = layerStream(id, AEGP_LayerStream_OPACITY);
    A_Boolean varying = 1;
    EXPECT_EQ(varies(s, &varying), A_Err_NONE);
    EXPECT_EQ(varying, 0);
    AEGP_KeyframeIndex index = -1;
    A_Time t = at(3);
    EXPECT_EQ(insert(s, AEGP_LTimeMode_CompTime, &t, &index), A_Err_NONE);
    EXPECT_EQ(index, 0);
    t = at(1);
    EXPECT_EQ(insert(s, AEGP_LTimeMode_LayerTime, &t, &index), A_Err_NONE);
    EXPECT_EQ(index, 0);
    t = at(2);
    EXPECT_EQ(insert(s, AEGP_LTimeMode_LayerTime, &t, &index), A_Err_NONE);
    EXPECT_EQ(index, 1);  // already there
    ASSERT_EQ(get(id).opacity.keys.size(), 2u);
    EXPECT_EQ(get(id).opacity.keys[1].time, Rational(2));
    EXPECT_EQ(get(id).opacity.keys[0].value, 40);
    EXPECT_EQ(varies(s, &varying), A_Err_NONE);
    EXPECT_EQ(varying, 1);
    EXPECT_EQ(erase(s, 1), A_Err_NONE);
    EXPECT_EQ(erase(s, 0), A_Err_NONE);
    EXPECT_EQ(erase(s, 0), A_Err_PARAMETER);
    EXPECT_FALSE(get(id).opacity.keyed());
    EXPECT_EQ(get(id).opacity.value, 40);
    EXPECT_EQ(streams->AEGP_DisposeStream(s), A_Err_NONE);
}

}  // namespace
}  // namespace simtest
