// Naming the suite of every host call, and writing the trace file.
#include "Trace.h"

#include <map>
#include <vector>

namespace sim {

namespace {

// The simulator's host functions by suite (their names without "AEGP_").
const std::map<std::string, std::string>& suiteTable() {
    static const std::map<std::string, std::string> table = [] {
        const std::vector<std::pair<const char*, std::vector<const char*>>> suites = {
            {"CollectionSuite",
             {"CollectionErase", "DisposeCollection", "GetCollectionItemByIndex",
              "GetCollectionNumItems"}},
            {"CommandSuite",
             {"DisableCommand", "DoCommand", "EnableCommand", "GetUniqueCommand",
              "InsertMenuCommand", "SetMenuCommandName"}},
            {"CompSuite",
             {"CreateNullInComp", "DuplicateComp", "GetCompFromItem", "GetItemFromComp",
              "GetNewCollectionFromCompSelection", "SetCompDimensions", "SetCompPixelAspectRatio",
              "SetSelection"}},
            {"ItemSuite",
             {"DeleteItem", "GetActiveItem", "GetFirstProjItem", "GetItemCurrentTime",
              "GetItemDimensions", "GetItemDuration", "GetItemID", "GetItemName",
              "GetItemPixelAspectRatio", "GetItemType", "GetNextProjItem", "IsItemSelected",
              "SetItemCurrentTime", "SetItemName"}},
            {"KeyframeSuite",
             {"DeleteKeyframe", "GetKeyframeInterpolation", "GetKeyframeTime", "GetStreamNumKFs",
              "InsertKeyframe", "SetKeyframeInterpolation", "SetKeyframeValue"}},
            {"LayerSuite",
             {"AddLayer", "DeleteLayer", "GetActiveLayer", "GetCompLayerByIndex",
              "GetCompNumLayers", "GetLayerCurrentTime", "GetLayerDuration", "GetLayerFlags",
              "GetLayerInPoint", "GetLayerIndex", "GetLayerMaskedBounds", "GetLayerObjectType",
              "GetLayerParent", "GetLayerParentComp", "GetLayerSourceItem", "IsAddLayerValid",
              "IsLayer3D", "ReorderLayer", "SetLayerParent"}},
            {"MaskOutlineSuite",
             {"GetMaskOutlineNumSegments", "GetMaskOutlineVertexInfo", "IsMaskOutlineOpen",
              "SetMaskOutlineOpen", "SetMaskOutlineVertexInfo"}},
            {"MaskSuite",
             {"DeleteMaskFromLayer", "DisposeMask", "GetLayerMaskByIndex", "GetLayerNumMasks"}},
            {"MemorySuite",
             {"FreeMemHandle", "GetMemHandleSize", "LockMemHandle", "NewMemHandle",
              "UnlockMemHandle"}},
            {"PersistentDataSuite", {"DeleteEntry", "GetApplicationBlob", "GetData", "GetLong"}},
            {"ProjSuite", {"GetProjectByIndex"}},
            {"RegisterSuite",
             {"RegisterCommandHook", "RegisterIdleHook", "RegisterUpdateMenuHook"}},
            {"RenderOptionsSuite",
             {"GetDownsampleFactor", "GetTimeStep", "NewFromItem", "SetDownsampleFactor",
              "SetTime"}},
            {"RenderSuite", {"CheckinFrame", "GetReceiptWorld", "RenderAndCheckoutFrame"}},
            {"StreamSuite",
             {"DisposeStream", "DisposeStreamValue", "GetNewLayerStream", "GetNewMaskStream",
              "GetNewStreamValue", "IsStreamTimevarying", "SetStreamValue"}},
            {"UtilitySuite",
             {"EndUndoGroup", "ExecuteScript", "GetMainHWND", "IsScriptingAvailable", "ReportInfo",
              "StartUndoGroup"}},
            {"WorldSuite",
             {"GetBaseAddr16", "GetBaseAddr32", "GetBaseAddr8", "GetRowBytes", "GetSize",
              "GetType"}},
        };
        std::map<std::string, std::string> byName;
        for (const auto& [suite, functions] : suites)
            for (const char* f : functions)
                byName[std::string("AEGP_") + f] = suite;
        return byName;
    }();
    return table;
}

std::string errorName(A_Err err) {
    switch (err) {
        case A_Err_NONE:
            return "ok";
        case A_Err_GENERIC:
            return "A_Err_GENERIC";
        case A_Err_STRUCT:
            return "A_Err_STRUCT";
        case A_Err_PARAMETER:
            return "A_Err_PARAMETER";
        case A_Err_ALLOC:
            return "A_Err_ALLOC";
        case A_Err_MISSING_SUITE:
            return "A_Err_MISSING_SUITE";
        default:
            return "";
    }
}

}  // namespace

std::string suiteOfCall(const CallRecord& call) {
    if (call.name.rfind("SPBasic.", 0) == 0) return "SPBasic";
    if (call.name == "(host)") return "host";
    // The Render Options suite's Dispose releases render options; the World suite's is refused
    // for every world the host hands out (a frame's world goes back with its receipt).
    if (call.name == "AEGP_Dispose")
        return call.problem.find("world") != std::string::npos ? "WorldSuite"
                                                               : "RenderOptionsSuite";
    auto found = suiteTable().find(call.name);
    return found == suiteTable().end() ? "?" : found->second;
}

std::string traceLine(size_t number, const CallRecord& call) {
    std::string function = call.name;
    if (function.rfind("SPBasic.", 0) == 0) function = function.substr(8);
    std::string line = std::to_string(number) + " " + suiteOfCall(call) + " " + function + "(" +
                       call.args + ") -> " + std::to_string(call.result);
    std::string name = errorName(call.result);
    if (!name.empty()) line += " " + name;
    if (call.injected) line += " (injected)";
    if (!call.problem.empty()) line += " ! " + call.problem;
    return line;
}

TraceWriter::TraceWriter(const std::string& path)
    : file_(std::make_unique<AtomicFileWriter>(path)) {
    std::fputs(
        "# zentrim-host trace: every host call the plug-in made, one line each when it returns "
        "(a call made\n# inside another, such as the command hook's calls under AEGP_DoCommand, "
        "comes before it):\n# number, suite, function(key arguments) -> result\n",
        file_->file());
}

void TraceWriter::call(const CallRecord& call) {
    std::string line = traceLine(++count_, call) + "\n";
    std::fputs(line.c_str(), file_->file());
}

void TraceWriter::step(const std::string& name) {
    std::string line = "== " + name + "\n";
    std::fputs(line.c_str(), file_->file());
}

void TraceWriter::commit() {
    file_->commit();
}

}  // namespace sim
