// The crop engine: measuring visible pixels, the crop commands, applying a crop and correcting
// the uses of a cropped composition.
#pragma once

#include <vector>

#include "AE_GeneralPlug.h"
#include "SPBasic.h"
#include "cropUtil.h"

namespace crop {

// The crop rectangle of one measured composition: inclusive pixel edges at full resolution
// (padding included) and the measured frame's size at full resolution. Copied by value.
struct CroppingBounds {
    double top;
    double bottom;
    double left;
    double right;
    A_long width;
    A_long height;
};

// Measures the visible pixels of a rendered frame. The factors are the downsample factors the
// frame was rendered with (horizontal, vertical). A limit whose right or bottom is exactly -1.0
// means no limit. The record is written in all cases; the first host error is returned.
A_Err findCropBounds(SPBasicSuite* basic, AEGP_WorldH* worldP, short hFactor, short vFactor,
                     CroppingBounds* boundsP, A_FloatRect limit);

// A limit rectangle that limits nothing (a right or bottom of exactly -1.0 means no limit).
constexpr A_FloatRect kNoLimit = {-1.0, -1.0, -1.0, -1.0};

// ---- Correcting the uses of a cropped composition ----

// A point value (Anchor Point, Position) as it was before a crop: the stream's single value
// (key -1) or one keyframe's value, with the time it was read at (layer time).
struct PointBefore {
    A_long key;
    A_Time time;
    AEGP_ThreeDVal value;
};
// A mask outline as it was before a crop: every vertex with both tangents.
struct OutlineBefore {
    A_long key;
    A_Time time;
    std::vector<AEGP_MaskVertex> vertices;
};
struct PointStreamBefore {
    AEGP_LayerH layer;
    AEGP_LayerStream stream;
    std::vector<PointBefore> values;
};
struct MaskBefore {
    AEGP_LayerH layer;
    A_long index;
    std::vector<OutlineBefore> outlines;
};
// What the correction of a crop rewrites, read before the composition is resized: the uses, each
// use's Anchor Point and mask outlines, and the Position of each layer parented to a use.
struct UsesBefore {
    std::vector<AEGP_LayerH> uses;
    std::vector<PointStreamBefore> points;
    std::vector<MaskBefore> masks;
};

// Where a point or mask vertex of a use (in the source's pixels), or the position of a use's child
// (in the use's source pixels), lies once the source is cropped at (left, top): moved by the
// offset, z and tangents unchanged.
AEGP_ThreeDVal pointAfterCrop(const AEGP_ThreeDVal& before, double left, double top);
AEGP_MaskVertex vertexAfterCrop(const AEGP_MaskVertex& before, double left, double top);
// Where the null that carries a cropped composition's layers is placed: at (-left, -top, 0), so
// that its children move by the crop's offset.
AEGP_ThreeDVal carryingNullPosition(double left, double top);

// Finds every layer in the project that uses `item` and the layers parented to those uses, and
// reads what the correction rewrites; unkeyed mask outlines are read at `time` (layer time).
A_Err findAllUses(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH item, A_Time time,
                  UsesBefore* before);
// Writes back what findAllUses read, moved by (-left, -top) of the bounds, so that every use and
// its children keep showing the same content in the same place after the crop.
A_Err correctAllUses(SPBasicSuite* basic, AEGP_PluginID pluginId, const UsesBefore& before,
                     CroppingBounds bounds);

// Makes `*parentP` the parent of every layer of the composition that has none (except itself).
A_Err SetAllEmptyParents(SPBasicSuite* basic, AEGP_LayerH* parentP, AEGP_CompH* compP);

// What finishCropping returns when it refused a crop whose size the host cannot take (the user was
// told; nothing changed). It never reaches the host: the crop commands end such a crop without an
// error, and the expand pass ends the command with it.
constexpr A_Err kCropRefused = -0x5A52;
// What the expand pass returns when it found nothing to enlarge ("No Layers to Crop" was said): the
// command ends with it, without an error and without saying it again.
constexpr A_Err kNothingToCrop = -0x5A53;

// Whether the host can take the size a crop to `bounds` gives the composition of `item` (1 to
// 30000 pixels each way); when it cannot, the user is told which composition and what size, and
// kCropRefused is returned.
A_Err checkCropSize(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH item,
                    const CroppingBounds& bounds);

// Resizes the composition of `*itemP` to the bounds, carries its layers by (-left, -top) through a
// temporary parent null, corrects its uses, restores the render options' factors when the
// resolution check switched them, and disposes of the render options (a null handle is allowed;
// the caller's handle is cleared). A size outside 1 to 30000 pixels either way is refused with an
// alert before anything changes (kCropRefused).
A_Err finishCropping(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH* itemP,
                     CroppingBounds bounds, A_Time time, unsigned char fullResolution,
                     AEGP_RenderOptionsH* renderOptionsP, short hFactor, short vFactor);

// Answers a command asks at most once, shared by the crop commands it runs.
extern A_long resChosen;  // 0 not asked yet, 1 "Accurate" (full resolution), other "Fast"
// Whether the command has changed the project (a composition resized, pre-composed), so that a
// later refusal does not claim that nothing was changed.
extern bool projectChanged;
// Forgets the answers and the change of the command: called when a command starts and ends.
void forgetCommand();

// Decides whether the render options of a reduced-resolution composition are switched to full
// resolution: by the "Resolution" preference or by asking in the "Low Resolution" dialog. Reports
// the factors as they were, and whether it switched to full resolution.
A_Err checkResolution(SPBasicSuite* basic, AEGP_PluginID pluginId,
                      AEGP_RenderOptionsH* renderOptionsP, short* hFactorP, short* vFactorP,
                      unsigned char* fullResolutionP);

// The render options made to measure one item, and what the resolution check decided for them.
struct Measurement {
    AEGP_RenderOptionsH optionsH;
    short hFactor, vFactor;        // the options' downsample factors before the resolution check
    unsigned char fullResolution;  // the check switched the options to full resolution
    A_long width, height;          // the item's own size
};

// Makes the render options of `item` and runs the resolution check on them. The options are in
// `*m` as soon as they exist, also when the check then fails: the caller gives them back (or hands
// them to finishCropping).
A_Err startMeasurement(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH item,
                       Measurement* m);

// Renders the measured item at `time`, measures the frame into `*boundsP` (with the limit, in
// full-resolution pixels, narrowing the scan) and checks the frame back in. The bounds are in
// full-resolution pixels, their width and height the item's own.
A_Err measureFrame(SPBasicSuite* basic, const Measurement& m, A_Time time, A_FloatRect limit,
                   CroppingBounds* boundsP);

// A limit in full-resolution pixels (or no limit) as the limit of a frame rendered at (h, v),
// narrowed to the composition's last column and row (width x height at full resolution).
A_FloatRect limitInFramePixels(const A_FloatRect& limit, short h, short v, A_long width,
                               A_long height);

// The expand pass's rectangle: a composition of width x height enlarged by `expand` on every
// side.
CroppingBounds expandedBounds(A_long width, A_long height, short expand);

// ---- What the crop over the duration measures ----

// Times merged from runs of evenly spaced times, handed out in increasing order, each once. Holds
// one record per run, whatever the number of times.
class SampleTimes {
  public:
    // first, first + step, first + 2 step, ... while before `end`.
    void add(A_Time first, A_Time step, A_Time end);
    // The next time; false when every run is over.
    bool next(A_Time* timeP);

  private:
    struct Run {
        A_Time first, step, end, head;
        A_long index;
        bool done;
    };
    std::vector<Run> runs_;
};

// Adds the times of the source (`item`, from 0 to `duration`) that every composition showing it
// through a layer without time remapping shows, at that composition's frames.
A_Err addUseTimes(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH item, A_Time duration,
                  SampleTimes* times);

// How far a time is through a duration, as the progress shows it: 1 to 100 while measuring (the
// share rounded down, plus one below 100).
int percentAt(const A_Time& t, const A_Time& end);

// Rectangles met over time, as the crop over the duration keeps them.
// The union takes the first frame's record whole; later frames widen its four edges (a value
// that is not a number loses to the other).
void mergeBounds(CroppingBounds* unionP, const CroppingBounds& frame, bool* firstP);
// Mask bounds over time: -1 marks a top or left edge that no frame has set yet.
void mergeMaskBounds(A_FloatRect* unionP, const A_FloatRect& frame);
// Tightens the bounds to the masks' union; an edge taken from the masks is rounded down.
void clipToMasks(CroppingBounds* b, const A_FloatRect& masks);
// The bounds a frame of `m` whose every pixel is visible gives, with `padding`: what no frame can
// widen. The composition's last pixel, scaled as the measurement scales it.
CroppingBounds wholeFrameBounds(const Measurement& m, A_long padding);
// Whether `u` holds `whole` (so that no later frame can change it).
bool covers(const CroppingBounds& u, const CroppingBounds& whole);

// The "Zentrim" command: crops the active composition, or each selected precomposition layer's
// source, to its visible pixels at the current time; with `expand` other than 0 it enlarges each
// target by that many pixels on every side instead. A null item means the active item.
A_Err standardCrop(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH item, short expand);

// The "Zentrim Duration" command: crops one composition to the union of its visible bounds over
// its whole duration, with a progress window and a cancel chord. `*firstRunP` is true until a run
// has opened the progress window in this host session (the Windows window class is registered on
// that run); the run that opens it clears it.
A_Err cropDuration(SPBasicSuite* basic, AEGP_PluginID pluginId, bool* firstRunP);

// The "Mask Crop" command: crops a precomposition to the bounds of one of its layer's masks.
A_Err maskCrop(SPBasicSuite* basic, AEGP_PluginID pluginId);

}  // namespace crop
