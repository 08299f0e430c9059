// Render Options, Render and World suites: frames of a composition rendered by the simulator's
// renderer and handed out as checked-out frames.
#include "Renderer.h"
#include "Suites.h"
#include "Trampoline.h"

namespace sim {

// The names the call log gives the calls through these tables.
constexpr char kRenderOptionsSuite[] = "RenderOptionsSuite";
constexpr char kRenderSuite[] = "RenderSuite";
constexpr char kWorldSuite[] = "WorldSuite";

namespace {

struct RenderOptions {
    Id item = 0;
    Rational time{0};
    Rational timeStep{1, 30};
    A_short downH = 1, downV = 1;
};

struct FrameReceipt {
    std::shared_ptr<ReusableFrame> frame;  // goes back to the host's frame pool at checkin
    HandleRecord* worldRecord = nullptr;
};

RenderOptions& optionsOf(Host& h, AEGP_RenderOptionsH optionsH) {
    return *HandleRegistry::payload<RenderOptions>(
        h.record(optionsH, HandleKind::RenderOptions, "render options"));
}

World& worldOf(Host& h, AEGP_WorldH worldH) {
    return *HandleRegistry::payload<World>(h.record(worldH, HandleKind::World, "world"));
}

// A_Time whose scale is the rational's own denominator, so the value is exact.
A_Time exactATime(Rational t) {
    A_Time out;
    out.value = static_cast<A_long>(t.num);
    out.scale = static_cast<A_u_long>(t.den);
    return out;
}

// ---- Render Options suite ----

A_Err NewFromItem(AEGP_PluginID plugin, AEGP_ItemH itemH, AEGP_RenderOptionsH* optionsPH) {
    return hostCall("AEGP_NewFromItem", [&](Host& h) {
        requireOut(optionsPH, "render options");
        Item& item = h.itemOf(itemH);
        args(h, plugin, item.name);
        if (item.type != ItemType::Comp)
            throw HostError(A_Err_PARAMETER, "only compositions are rendered here");
        auto options = std::make_shared<RenderOptions>();
        options->item = item.id;
        options->timeStep = Rational(1) / Rational::fromDouble(item.comp.frameRate);
        // The composition's preview resolution, unless this host starts every render at full.
        const bool full = h.model().renderDownsample == HostModel::RenderDownsample::Full;
        options->downH = static_cast<A_short>(full ? 1 : item.comp.resolutionH);
        options->downV = static_cast<A_short>(full ? 1 : item.comp.resolutionV);
        *optionsPH = h.handles()
                         .make(HandleKind::RenderOptions, "render options of '" + item.name + "'",
                               options, item.id)
                         ->handle<AEGP_RenderOptionsH>();
        return A_Err_NONE;
    });
}

A_Err Dispose(AEGP_RenderOptionsH optionsH) {
    return hostCall("AEGP_Dispose", [&](Host& h) {
        h.handles().release(h.record(optionsH, HandleKind::RenderOptions, "render options"));
        return A_Err_NONE;
    });
}

A_Err SetTime(AEGP_RenderOptionsH optionsH, A_Time time) {
    return hostCall("AEGP_SetTime", [&](Host& h) {
        args(h, time.value, "/", time.scale);
        optionsOf(h, optionsH).time = fromATime(time);
        return A_Err_NONE;
    });
}

A_Err GetTimeStep(AEGP_RenderOptionsH optionsH, A_Time* timeP) {
    return hostCall("AEGP_GetTimeStep", [&](Host& h) {
        requireOut(timeP, "time step");
        *timeP = exactATime(optionsOf(h, optionsH).timeStep);
        return A_Err_NONE;
    });
}

A_Err SetDownsampleFactor(AEGP_RenderOptionsH optionsH, A_short x, A_short y) {
    return hostCall("AEGP_SetDownsampleFactor", [&](Host& h) {
        args(h, x, y);
        if (x < 1 || y < 1)
            throw HostError(A_Err_PARAMETER, "downsample factors must be at least 1");
        RenderOptions& o = optionsOf(h, optionsH);
        o.downH = x;
        o.downV = y;
        return A_Err_NONE;
    });
}

A_Err GetDownsampleFactor(AEGP_RenderOptionsH optionsH, A_short* xP, A_short* yP) {
    return hostCall("AEGP_GetDownsampleFactor", [&](Host& h) {
        requireOut(xP, "x factor");
        requireOut(yP, "y factor");
        RenderOptions& o = optionsOf(h, optionsH);
        *xP = o.downH;
        *yP = o.downV;
        return A_Err_NONE;
    });
}

// ---- Render suite ----

A_Err RenderAndCheckoutFrame(AEGP_RenderOptionsH optionsH, AEGP_RenderSuiteCheckForCancel cancel,
                             AEGP_CancelRefcon refcon, AEGP_FrameReceiptH* receiptPH) {
    return hostCall("AEGP_RenderAndCheckoutFrame", [&](Host& h) -> A_Err {
        requireOut(receiptPH, "receipt");
        RenderOptions& o = optionsOf(h, optionsH);
        const Item* item = h.project().findItem(o.item);
        if (!item) throw HostError(A_Err_PARAMETER, "the rendered item no longer exists");
        args(h, item->name, o.time.toString(), o.downH, o.downV);
        if (cancel) {
            A_Boolean cancelled = 0;
            A_Err err = cancel(refcon, &cancelled);
            if (err) return err;
            if (cancelled) return static_cast<A_Err>(PF_Interrupt_CANCEL);
        }
        // The frame comes at the depth the project renders at, in the memory of a frame checked
        // in earlier when there is one.
        auto receipt = std::make_shared<FrameReceipt>();
        receipt->frame = h.frames().take();
        try {
            renderComp(h.project(), o.item, o.time, o.downH, o.downV, *receipt->frame,
                       h.frames().scratch);
        } catch (...) {
            h.frames().giveBack(std::move(receipt->frame));
            throw;
        }
        HandleRecord* worldRecord =
            h.handles().make(HandleKind::World, "world of a frame",
                             std::shared_ptr<World>(receipt->frame, &receipt->frame->world));
        worldRecord->releasable = false;  // goes away with its receipt
        receipt->worldRecord = worldRecord;
        *receiptPH = h.handles()
                         .make(HandleKind::FrameReceipt,
                               "frame of '" + item->name + "' at " + o.time.toString(), receipt)
                         ->handle<AEGP_FrameReceiptH>();
        return A_Err_NONE;
    });
}

A_Err CheckinFrame(AEGP_FrameReceiptH receiptH) {
    return hostCall("AEGP_CheckinFrame", [&](Host& h) {
        HandleRecord* r = h.record(receiptH, HandleKind::FrameReceipt, "frame receipt");
        std::shared_ptr<ReusableFrame> frame = HandleRegistry::payload<FrameReceipt>(r)->frame;
        h.handles().release(HandleRegistry::payload<FrameReceipt>(r)->worldRecord);
        h.handles().release(r);
        h.frames().giveBack(std::move(frame));
        return A_Err_NONE;
    });
}

A_Err GetReceiptWorld(AEGP_FrameReceiptH receiptH, AEGP_WorldH* worldPH) {
    return hostCall("AEGP_GetReceiptWorld", [&](Host& h) {
        requireOut(worldPH, "world");
        HandleRecord* r = h.record(receiptH, HandleKind::FrameReceipt, "frame receipt");
        *worldPH = HandleRegistry::payload<FrameReceipt>(r)->worldRecord->handle<AEGP_WorldH>();
        return A_Err_NONE;
    });
}

// ---- World suite ----

A_Err WorldDispose(AEGP_WorldH worldH) {
    return hostCall("AEGP_Dispose", [&](Host& h) {
        h.record(worldH, HandleKind::World, "world");
        throw HostError(A_Err_PARAMETER,
                        "a frame's world belongs to its receipt: check the frame in instead");
        return A_Err_NONE;
    });
}

A_Err GetType(AEGP_WorldH worldH, AEGP_WorldType* typeP) {
    return hostCall("AEGP_GetType", [&](Host& h) {
        requireOut(typeP, "type");
        *typeP = static_cast<AEGP_WorldType>(worldOf(h, worldH).type);
        return A_Err_NONE;
    });
}

A_Err GetSize(AEGP_WorldH worldH, A_long* widthP, A_long* heightP) {
    return hostCall("AEGP_GetSize", [&](Host& h) {
        requireOut(widthP, "width");
        requireOut(heightP, "height");
        World& w = worldOf(h, worldH);
        *widthP = w.width;
        *heightP = w.height;
        args(h, w.width, w.height);
        return A_Err_NONE;
    });
}

A_Err GetRowBytes(AEGP_WorldH worldH, A_u_long* rowBytesP) {
    return hostCall("AEGP_GetRowBytes", [&](Host& h) {
        requireOut(rowBytesP, "row bytes");
        *rowBytesP = static_cast<A_u_long>(worldOf(h, worldH).rowBytes);
        return A_Err_NONE;
    });
}

template <typename Pixel>
A_Err baseAddress(const char* name, AEGP_WorldH worldH, int type, Pixel** baseP) {
    return hostCall(name, [&](Host& h) {
        requireOut(baseP, "base address");
        World& w = worldOf(h, worldH);
        if (w.type != type) throw HostError(A_Err_PARAMETER, "the world has another depth");
        *baseP = reinterpret_cast<Pixel*>(w.data.data());
        return A_Err_NONE;
    });
}

A_Err GetBaseAddr8(AEGP_WorldH worldH, PF_Pixel8** baseP) {
    return baseAddress("AEGP_GetBaseAddr8", worldH, kWorld8, baseP);
}
A_Err GetBaseAddr16(AEGP_WorldH worldH, PF_Pixel16** baseP) {
    return baseAddress("AEGP_GetBaseAddr16", worldH, kWorld16, baseP);
}
A_Err GetBaseAddr32(AEGP_WorldH worldH, PF_PixelFloat** baseP) {
    return baseAddress("AEGP_GetBaseAddr32", worldH, kWorld32, baseP);
}

}  // namespace

void registerRenderSuites(Host& host) {
    static AEGP_RenderOptionsSuite3 options = [] {
        AEGP_RenderOptionsSuite3 s{};
        s.AEGP_NewFromItem = entry<kRenderOptionsSuite, NewFromItem>;
        s.AEGP_Dispose = entry<kRenderOptionsSuite, Dispose>;
        s.AEGP_SetTime = entry<kRenderOptionsSuite, SetTime>;
        s.AEGP_GetTimeStep = entry<kRenderOptionsSuite, GetTimeStep>;
        s.AEGP_SetDownsampleFactor = entry<kRenderOptionsSuite, SetDownsampleFactor>;
        s.AEGP_GetDownsampleFactor = entry<kRenderOptionsSuite, GetDownsampleFactor>;
        fillUnimplemented(&s, sizeof s);
        return s;
    }();
    static AEGP_RenderSuite3 render = [] {
        AEGP_RenderSuite3 s{};
        s.AEGP_RenderAndCheckoutFrame = entry<kRenderSuite, RenderAndCheckoutFrame>;
        s.AEGP_CheckinFrame = entry<kRenderSuite, CheckinFrame>;
        s.AEGP_GetReceiptWorld = entry<kRenderSuite, GetReceiptWorld>;
        fillUnimplemented(&s, sizeof s);
        return s;
    }();
    static AEGP_WorldSuite3 world = [] {
        AEGP_WorldSuite3 s{};
        s.AEGP_Dispose = entry<kWorldSuite, WorldDispose>;
        s.AEGP_GetType = entry<kWorldSuite, GetType>;
        s.AEGP_GetSize = entry<kWorldSuite, GetSize>;
        s.AEGP_GetRowBytes = entry<kWorldSuite, GetRowBytes>;
        s.AEGP_GetBaseAddr8 = entry<kWorldSuite, GetBaseAddr8>;
        s.AEGP_GetBaseAddr16 = entry<kWorldSuite, GetBaseAddr16>;
        s.AEGP_GetBaseAddr32 = entry<kWorldSuite, GetBaseAddr32>;
        fillUnimplemented(&s, sizeof s);
        return s;
    }();
    host.addSuite(kAEGPRenderOptionsSuite, kAEGPRenderOptionsSuiteVersion3, &options);
    host.addSuite(kAEGPRenderSuite, kAEGPRenderSuiteVersion3, &render);
    host.addSuite(kAEGPWorldSuite, kAEGPWorldSuiteVersion3, &world);
}

}  // namespace sim
