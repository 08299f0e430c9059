#!/usr/bin/env python3
"""Turns one run of zentrim_bench (Google Benchmark JSON files) into docs/performance.md.

Usage: performance_report.py --out OUT.md --nproc N --compiler TEXT [--load L] [--load-after L]
       --results FILE... [--baseline-name TEXT --baseline FILE...] [--scan-only --command TEXT]
The baseline files come from an older checkout's zentrim_bench run in the same session; its cases
are matched by name for before/after ratios. Only the standard library, so the script runs
wherever the benchmarks build.
"""
import argparse
import datetime
import json

# The layouts that make the scan read (nearly) every pixel: nothing ends it early.
TARGET_RATIO = 1.5
TARGET_LAYOUTS = ("empty", "corner", "box", "padded")
TARGET_SIZE = "3840x2160"
DEPTHS = ("8", "16", "32")
SIZES = ("1920x1080", "3840x2160")
LAYOUTS = ("empty", "full", "box", "corner", "diagonal", "padded")
UNIT_TO_US = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}

# Targets of the simulator's speed.
RENDER_SPEEDUP = 4.0
RENDER_FPS = 120.0
DURATION_LIMIT_S = {"8": 6.0, "32": 20.0}
USES_LIMIT_MS = 150.0
USES_GROWTH = 12.0

def cpu_model():
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return "unknown"


# Settings Google Benchmark appends to a case's name; the tables look cases up without them.
RUN_SETTINGS = ("min_time:", "repeats:", "iterations:", "manual_time", "real_time")


def case_name(run_name):
    parts = run_name.split("/")
    while parts and parts[-1].startswith(RUN_SETTINGS):
        parts.pop()
    return "/".join(parts)


def errors(benchmarks):
    return [(b["name"], b.get("error_message", "")) for b in benchmarks if b.get("error_occurred")]


def fmt_us(us):
    if us is None:
        return "—"
    if us < 1:
        return f"{us:.2f} µs"
    if us < 1000:
        return f"{us:.0f} µs"
    if us < 1e7:
        return f"{us / 1000:.2f} ms"
    return f"{us / 1e6:.1f} s"


def fmt_ratio(r):
    return "—" if r is None else f"{r:.2f}×"


def scan_section(now):
    """The scan against the whole-frame read: ScanVsRead cases carry their medians as counters."""
    out = []

    def vs(depth, layout, size):
        return now.get(f"ScanVsRead/{depth}/{layout}/{size}")

    def cell(run, key, fmt):
        return fmt(run[key]) if run and key in run else "—"

    kernels = {int(r["avx2"]) for n, r in now.items() if n.startswith("ScanVsRead/") and "avx2" in r}
    rounds = {int(r["rounds"]) for n, r in now.items() if n.startswith("ScanVsRead/") and "rounds" in r}
    kernel = ("AVX2" if kernels == {1} else "portable" if kernels == {0} else "mixed") if kernels else "—"
    empty = vs("8", "empty", TARGET_SIZE)
    out.append(f"The product's scan ran its {kernel} kernel here; figures are medians of "
               f"{', '.join(str(r) for r in sorted(rounds)) or '—'} rounds. The read of the whole "
               "frame reached "
               + ", ".join(f"{vs(d, 'empty', TARGET_SIZE)['read_gb_per_s']:.1f} GB/s at {d} bits"
                           for d in DEPTHS if vs(d, 'empty', TARGET_SIZE))
               + f" ({TARGET_SIZE}).\n" if empty else "")
    for depth in DEPTHS:
        out.append(f"### {depth} bits per channel\n")
        header = "| Layout |"
        rule = "|---|"
        for size in SIZES:
            header += f" Read {size} | Scan | Scan / read |"
            rule += "---:|---:|---:|"
        header += " Portable kernel / read | One-pass reference |"
        rule += "---:|---:|"
        out += [header, rule]
        for layout in LAYOUTS:
            row = f"| {layout} |"
            for size in SIZES:
                run = vs(depth, layout, size)
                row += (f" {cell(run, 'read_us', fmt_us)} | {cell(run, 'scan_us', fmt_us)} | "
                        f"{cell(run, 'ratio', fmt_ratio)} |")
            run = vs(depth, layout, TARGET_SIZE)
            ref = now.get(f"ScanReference/{depth}/{layout}/{TARGET_SIZE}")
            row += (f" {cell(run, 'ratio_portable', fmt_ratio)} | "
                    f"{fmt_us(ref['us']) if ref else '—'} |")
            out.append(row)
        out.append("")

    out.append("### Target\n")
    out.append(
        f"The layouts `{'`, `'.join(TARGET_LAYOUTS)}` at {TARGET_SIZE} make the scan read every "
        f"pixel, or all but a few, so it must take at most {TARGET_RATIO}× the read of the whole "
        "frame at every depth.\n")
    out += ["| Depth | " + " | ".join(f"{l} Scan / read (wall clock)" for l in TARGET_LAYOUTS) +
            " | Met |",
            "|---|" + "---:|" * len(TARGET_LAYOUTS) + "---|"]
    missed = []
    for depth in DEPTHS:
        runs = [vs(depth, l, TARGET_SIZE) or {} for l in TARGET_LAYOUTS]
        ratios = [r.get("ratio") for r in runs]
        met = all(r is not None and r <= TARGET_RATIO for r in ratios)
        if not met:
            missed.append(depth)
        out.append(f"| {depth} | " +
                   " | ".join(f"{fmt_ratio(r.get('ratio'))} ({fmt_ratio(r.get('wall_ratio'))})"
                              for r in runs) +
                   f" | {'yes' if met else '**no**'} |")
    out.append("")
    if missed:
        out.append(f"Missed at {', '.join(d + ' bits' for d in missed)} per channel.\n")
    else:
        out.append("Met at every depth.\n")
    portable = [[(vs(d, l, TARGET_SIZE) or {}).get("ratio_portable") for l in TARGET_LAYOUTS]
                for d in DEPTHS]
    out.append("The portable kernel (what arm64 and processors without AVX2 run) on the same "
               "frames, for comparison: " +
               "; ".join(f"{d} bits " + ", ".join(fmt_ratio(r) for r in rs)
                         for d, rs in zip(DEPTHS, portable)) +
               f" ({', '.join(TARGET_LAYOUTS)}).\n")
    return out


SCAN_INTRO = (
    "`ScanVsRead` measures, on one frame and in interleaved rounds, the product's scan "
    "(`crop::scanContentExtent`: from the top down to the first content, from the bottom up to the "
    "last, then only the margins of the rows between, each pass reading memory in one direction; "
    "the AVX2 kernel where the processor has it), its portable kernel, and the fastest read of "
    "every byte of the frame one core does: the faster of an OR over 64-bit words in eight chains, "
    "which the compiler vectorises, and an OR over 256-bit AVX2 vectors in four chains where the "
    "processor has them. Each measurement is the thread's time on the processor "
    "(`CLOCK_THREAD_CPUTIME_ID`), so time spent waiting while other work on the machine has the "
    "processor does not count; *Read* is that read's median over the rounds, *Scan* the scan's, "
    "and the ratios are of those medians. The target table also gives, in brackets, the same "
    "ratio of wall-clock medians, which other work on the machine disturbs more. The order of the "
    "four measurements rotates from round to round, so what other work does to the memory system "
    "slows reads and scans alike. *One-pass reference* is the plain scan of every "
    "pixel the unit tests compare the product with (mean of three calls). Layouts: `empty` "
    "(nothing visible), `full` (everything opaque), `box` (200 × 100 in the middle), `corner` (one "
    "pixel at the bottom right), `diagonal` (a line from the top left to the bottom right), "
    "`padded` (the box with rows 64 bytes longer than the pixels; its read covers those bytes "
    "too). Frames small enough to stay in the processor's caches read faster than the large ones; "
    "the target is set on the 3840x2160 frames.")


def median_runs(benchmarks):
    """Case name -> its median: the "median" aggregate of repetitions, else the one run."""
    single, medians = {}, {}
    for b in benchmarks:
        if b.get("error_occurred"):
            continue
        b = dict(b)
        b["us"] = b["real_time"] * UNIT_TO_US[b["time_unit"]]
        name = case_name(b["run_name"])
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                medians[name] = b
        elif b.get("run_type") == "iteration":
            single.setdefault(name, b)
    single.update(medians)
    return single


def ratio_text(before, after):
    return "—" if not before or not after else f"{before / after:.1f}×"


def render_section(now, old, old_name):
    out = ["| Depth | Before, per frame | After, per frame | Speed-up | After, frames per second | "
           "After on one thread | Target |",
           "|---|---:|---:|---:|---:|---:|---|"]
    for depth in DEPTHS:
        run = now.get(f"Render/{depth}/1920x1080")
        if not run:
            continue
        before = old.get(f"Render/{depth}/1920x1080")
        one = now.get(f"RenderOneThread/{depth}/1920x1080")
        fps = 1e6 / run["us"]
        speedup = before["us"] / run["us"] if before else None
        met = fps >= RENDER_FPS or (speedup is not None and speedup >= RENDER_SPEEDUP)
        one_text = f"{fmt_us(one['us'])} ({1e6 / one['us']:.0f} fps)" if one else "—"
        out.append(f"| {depth} | {fmt_us(before['us']) if before else '—'} | {fmt_us(run['us'])} | "
                   f"{ratio_text(before['us'] if before else None, run['us'])} | {fps:.0f} | "
                   f"{one_text} | {'met' if met else '**missed**'} |")
    out.append("")
    out.append(f"Target: at least {RENDER_SPEEDUP:.0f}× the figure of {old_name or 'the baseline'} "
               f"in the same run, or at least {RENDER_FPS:.0f} frames per second.\n")
    return out


def duration_section(now, old):
    out = ["| Depth | Frames | Whole run before | Whole run after | Speed-up | Plug-in's own time "
           "per frame | Plug-in's share of the run | Host frame calls per frame | Renderer alone "
           "per frame | Target |",
           "|---|---:|---:|---:|---:|---:|---:|---:|---:|---|"]
    found = False
    for depth in ("8", "32"):
        name = f"Duration/{depth}/3840x2160/300frames"
        run = now.get(name)
        if not run:
            continue
        found = True
        before = old.get(name)
        frames = int(run["frames"])
        seconds = run["us"] / 1e6
        share = run["plugin_ms_per_frame"] * frames / 1e3 / seconds if seconds else 0
        limit = DURATION_LIMIT_S.get(depth)
        met = limit is not None and seconds <= limit
        out.append(f"| {depth} | {frames} | {before['us'] / 1e6:.1f} s |" if before else
                   f"| {depth} | {frames} | — |")
        out[-1] += (f" {seconds:.2f} s | {ratio_text(before['us'] if before else None, run['us'])} | "
                    f"{run['plugin_ms_per_frame']:.2f} ms | {share * 100:.0f} % | "
                    f"{run['host_frame_ms_per_frame']:.2f} ms | {run['render_ms_per_frame']:.2f} ms | "
                    f"≤ {limit:.0f} s: {'met' if met else '**missed**'} |")
    if not found:
        out.append("| (no run) | | | | | | | | | |")
    return out + [""]


COVERED_CASE = "Duration/8/3840x2160/300frames/coveredFromFrame10"


def covered_section(now, old, old_name):
    run = now.get(COVERED_CASE)
    if not run:
        return []
    before = old.get(COVERED_CASE)
    out = [
        "### A composition covered from frame 10",
        "",
        "The same composition at 8 bits with a full-frame solid over everything from frame 10 on. "
        "Once the union of the frames measured holds the whole frame, no later frame can widen the "
        "crop, and nothing more is rendered. *Before* is "
        f"{old_name or 'the baseline'}, built and run in the same session just before *after*.",
        "",
        "| Frames | Rendered before | Rendered after | Whole run before | Whole run after | "
        "Speed-up |",
        "|---:|---:|---:|---:|---:|---:|",
        f"| {int(run['frames'])} | {int(before['rendered']) if before else '—'} | "
        f"{int(run['rendered'])} | {fmt_us(before['us']) if before else '—'} | "
        f"{fmt_us(run['us'])} | {ratio_text(before['us'] if before else None, run['us'])} |",
        "",
    ]
    return out


def uses_time(run):
    return run.get("median_ms", run["us"] / 1e3)


def uses_section(now, old):
    out = ["| Compositions | Layers | Uses | Before | After (median of 3) | Speed-up | Host calls |",
           "|---:|---:|---:|---:|---:|---:|---:|"]
    runs = sorted(((n, r) for n, r in now.items() if n.startswith("CorrectUses")),
                  key=lambda nr: nr[1]["layers"])
    for name, r in runs:
        before = old.get(name)
        ms = uses_time(r)
        out.append(f"| {int(r['comps']):,} | {int(r['layers']):,} | {int(r['uses']):,} | "
                   f"{fmt_us(before['us']) if before else '—'} | {ms:.1f} ms | "
                   f"{ratio_text(before['us'] / 1e3 if before else None, ms)} | "
                   f"{int(r['host_calls']):,} |")
    out.append("")
    by_layers = {int(r["layers"]): r for _, r in runs}
    target = by_layers.get(100000)
    if target:
        ms = uses_time(target)
        out.append(f"100,000 layers in {ms:.1f} ms: the target of at most {USES_LIMIT_MS:.0f} ms is "
                   f"{'met' if ms <= USES_LIMIT_MS else '**missed**'}.\n")
    for small, large in ((10000, 100000), (100000, 1000000)):
        if small in by_layers and large in by_layers:
            growth = uses_time(by_layers[large]) / uses_time(by_layers[small])
            verdict = "met" if growth <= USES_GROWTH else "**missed**"
            out.append(f"- {large:,} layers against {small:,}: {growth:.1f}× the time for 10× the "
                       f"project (at most {USES_GROWTH:.0f}×: {verdict}).")
    return out + [""]


def suite_call_section(now):
    out = ["| Function | Log counting only (zentrim-host) | Log keeping its record (tests) | "
           "Every call streamed to an observer (trace) |",
           "|---|---:|---:|---:|"]
    for fn in ("GetItemDimensions", "GetNextProjItem"):
        cells = []
        for mode in ("count", "record", "observe"):
            run = now.get(f"SuiteCall/{fn}/{mode}")
            cells.append(f"{run['us'] * 1e3:.0f} ns" if run else "—")
        out.append(f"| AEGP_{fn} | " + " | ".join(cells) + " |")
    return out + [""]


def fmt_bytes(n):
    if n is None:
        return "—"
    for unit, size in (("GB", 1e9), ("MB", 1e6), ("KB", 1e3)):
        if abs(n) >= size:
            return f"{n / size:.1f} {unit}"
    return f"{n:.0f} B"


def memory_section(now):
    out = ["| Frames | Call log | Time per frame | Peak heap during the run | Left after the run |",
           "|---:|---|---:|---:|---:|"]
    runs = sorted((r for n, r in now.items() if n.startswith("LongDuration/")),
                  key=lambda r: (r["record"], r["frames"]))
    for r in runs:
        out.append(f"| {int(r['frames']):,} | {'record kept' if r['record'] else 'counts only'} | "
                   f"{r['us_per_frame']:.1f} µs | {fmt_bytes(r['peak_bytes'])} | "
                   f"{fmt_bytes(r['retained_bytes'])} |")
    out.append("")
    counted = {int(r["frames"]): r for r in runs if not r["record"]}
    if 10000 in counted and 100000 in counted:
        a, b = counted[10000]["peak_bytes"], counted[100000]["peak_bytes"]
        flat = b <= a * 1.1 + 4096
        out.append(f"Ten times the frames: peak heap {fmt_bytes(a)} → {fmt_bytes(b)} "
                   f"({'flat' if flat else '**grows**'}).\n")
    recorded = [r for r in runs if r["record"]]
    if recorded:
        r = recorded[0]
        out.append(f"With the record kept, as the tests keep it, the heap grows by about "
                   f"{fmt_bytes(r['peak_bytes'] / r['frames'])} a frame.\n")
    out += ["| Items | Project text | Load | Crop | Peak heap |", "|---:|---:|---:|---:|---:|"]
    items = sorted((r for n, r in now.items() if n.startswith("ManyItems/")),
                   key=lambda r: r["items"])
    for r in items:
        out.append(f"| {int(r['items']):,} | {fmt_bytes(r['text_bytes'])} | {r['load_ms']:.0f} ms | "
                   f"{r['crop_ms']:.1f} ms | {fmt_bytes(r['peak_bytes'])} |")
    out.append("")
    if len(items) >= 2:
        a, b = items[0], items[-1]
        size = b["items"] / a["items"]
        out.append(f"{size:.0f}× the items: load {b['load_ms'] / a['load_ms']:.1f}×, crop "
                   f"{b['crop_ms'] / a['crop_ms']:.1f}× the time (linear growth would be "
                   f"{size:.0f}×).\n")
    return out


def many_layers_section(now, old):
    """The standard crop of a composition of many layers: linear in the layers."""
    out = ["| Layers | Before | After | Speed-up | Host calls |", "|---:|---:|---:|---:|---:|"]
    runs = sorted((r for n, r in now.items() if n.startswith("ManyLayers/")),
                  key=lambda r: r["layers"])
    for r in runs:
        before = old.get(f"ManyLayers/layers:{int(r['layers'])}")
        cells = [f"{int(r['layers']):,}",
                 f"{before['crop_ms']:.0f} ms" if before else "—",
                 f"{r['crop_ms']:.0f} ms",
                 f"{before['crop_ms'] / r['crop_ms']:.1f}×" if before else "—",
                 f"{int(r['host_calls']):,}"]
        out.append("| " + " | ".join(cells) + " |")
    out.append("")
    if len(runs) >= 2:
        a, b = runs[0], runs[-1]
        size = b["layers"] / a["layers"]
        ratio = b["crop_ms"] / a["crop_ms"]
        out.append(f"{size:.0f}× the layers: {ratio:.1f}× the time (at most 12×: "
                   f"{'met' if ratio <= 12 else '**missed**'}).\n")
    return out


def load_files(paths):
    benchmarks, context = [], {}
    for path in paths:
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
        context = context or data.get("context", {})
        benchmarks += data.get("benchmarks", [])
    return benchmarks, context


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--out", required=True)
    ap.add_argument("--nproc", default="unknown")
    ap.add_argument("--compiler", default="unknown")
    ap.add_argument("--load", default="")
    ap.add_argument("--load-after", default="")
    ap.add_argument("--results", nargs="+", required=True)
    ap.add_argument("--baseline", nargs="*", default=[])
    ap.add_argument("--baseline-name", default="")
    ap.add_argument("--scan-only", action="store_true",
                    help="write only the pixel scan's section, with its own run details")
    ap.add_argument("--command", default="", help="how the benchmarks were run, for --scan-only")
    a = ap.parse_args()

    benchmarks, ctx = load_files(a.results)
    old_benchmarks, _ = load_files(a.baseline) if a.baseline else ([], {})
    now = median_runs(benchmarks)
    old = median_runs(old_benchmarks)
    old_name = a.baseline_name or ""
    date = ctx.get("date", datetime.datetime.now().isoformat())
    load = a.load or ", ".join(f"{x:.2f}" for x in ctx.get("load_avg", []))

    if a.scan_only:
        md = ["## The pixel scan", "",
              f"From its own run, not the one above: {a.command or 'zentrim_bench'} (the `bench` "
              f"preset: Release, `-O3`, no `-march`), on {date}, {cpu_model()}, {a.nproc} "
              f"processors, {a.compiler}; load average {load or 'unknown'} when it started, "
              f"{a.load_after or 'unknown'} when it ended.", "", SCAN_INTRO, ""]
        md += scan_section(now)
        failed = [(n, m) for n, m in errors(benchmarks) if n.startswith("Scan")]
        md += [f"- `{name}` failed: {msg}" for name, msg in failed]
        with open(a.out, "w", encoding="utf-8") as f:
            f.write("\n".join(md))
        return

    md = [
        "# Performance",
        "",
        "Generated by `scripts/bench.sh` from one run of `zentrim_bench` (Google Benchmark, the "
        "`bench` preset: Release, `-O3`, no `-march`, as the product ships). Every figure below "
        "comes from that same run, so ratios between them are meaningful; absolute times depend on "
        "the machine and on what else it ran. Rerun the script to refresh this file.",
        "",
        "## Machine and method",
        "",
        f"- Date of the run: {date}",
        f"- Processors (`nproc`): {a.nproc}",
        f"- CPU: {cpu_model()}",
        f"- Compiler: {a.compiler}",
        f"- Load average when the run started: {load or 'unknown'}; when it ended: "
        f"{a.load_after or 'unknown'}",
        f"- Google Benchmark library build type: {ctx.get('library_build_type', 'unknown')} "
        "(its own bookkeeping only; the measured code is Release)",
    ]
    if old_name:
        md.append(f"- Before: {old_name}, built from its own checkout with the same preset and "
                  "run in the same session, each family of cases just before the same family of "
                  "this checkout (`ZENTRIM_BENCH_BASELINE`).")
    md += [
        "",
        "Figures are medians: of the repetitions where a case repeats (the renderer five times in "
        "this checkout, three before; the crop over a duration three times), of three calls for "
        "the correction of uses, and single runs elsewhere. A load average above the number of "
        "processors means other work shared them during the run: absolute times then run long and "
        "vary, while the ratios of cases run back to back hold better. For absolute figures, run "
        "the script on a quiet machine.",
        "",
        "## The pixel scan",
        "",
        SCAN_INTRO,
        "",
    ]
    md += scan_section(now)
    md += [
        "## The simulator's renderer",
        "",
        "`sim::renderComp` on a 1920 × 1080 composition of ten layers: a full-frame background, "
        "seven solids (moved, scaled, turned, one half transparent), a nested 1280 × 720 "
        "composition of three solids and a solid under a curved mask; successive frames of its "
        "animation, wall-clock time per frame. *After* renders frame after frame into the same "
        "memory with the same working memory, on the machine's processors (as the host's render "
        "suite does), and on one thread; *before* made, cleared and freed a frame and a float copy "
        "of it for every render, on one thread.",
        "",
    ]
    md += render_section(now, old, old_name)
    md += [
        "## The crop over a duration",
        "",
        "\"Zentrim Duration\" (`crop::cropDuration`) on a 10 s, 30 fps, 3840 × 2160 composition of "
        "five small moving solids, through the simulator's suites with the call log counting only "
        "(as `zentrim-host` runs). *Host frame calls* is the time the run spent inside the render "
        "suite's checkout and checkin; the plug-in's own time is the rest of the run (asking for "
        "the frames, measuring them with the scan, the progress display, the crop at the end), per "
        "frame, and its share is of the whole run. *Renderer alone* is `sim::renderComp` on every "
        "frame, without the suites.",
        "",
    ]
    md += duration_section(now, old)
    md += covered_section(now, old, old_name)
    md += [
        "## Correcting the uses of a cropped composition",
        "",
        "`crop::findAllUses` and `crop::correctAllUses` (reading before the resize and writing "
        "back after) on a generated project: compositions of ten layers, mostly "
        "solids; one composition is cropped and used by one layer in each of a tenth of the others; "
        "a quarter of the uses have a mask, another quarter a mask keyframed three times, every "
        "fifth a keyframed anchor point. A fresh host for each call, its project index built (as "
        "after the menu update that precedes a command), the call log counting only; the host "
        "calls column counts every suite call the correction made.",
        "",
    ]
    md += uses_section(now, old)
    md += [
        "## A suite call through the trampoline",
        "",
        "One suite call from the plug-in's side of the table: counting and the fault plan, the "
        "handle check, the model lookup and answer, and with a record or an observer the text of "
        "its arguments and the record itself. Per call, on a project of a thousand layers.",
        "",
    ]
    md += suite_call_section(now)
    md += [
        "## Bounded cost: long runs and large projects",
        "",
        "Heap figures come from the benchmark program's own `operator new` and `delete`, which "
        "count the bytes held (`bench/AllocationCounter.cpp`). `LongDuration`: \"Zentrim "
        "Duration\" over a 64 × 36 composition at 100 fps with one moving solid; the peak is the "
        "most the heap grew during the run, *left* what it still held when the run was over (the "
        "frame kept for the next render, the renderer's working memory, the progress record). "
        "`ManyItems`: a project of that many items (folders of solids and, one in ten, "
        "compositions of two layers) read from its project text, then the standard crop of a "
        "precomposition, whose correction of uses walks every item.",
        "",
    ]
    md += memory_section(now)
    md += [
        "## Cropping a composition of many layers",
        "",
        "`ManyLayers`: the standard crop of a 1920 × 1080 composition of that many small solids "
        "(`crop::standardCrop` through the simulator's suites, the call log counting only): its "
        "render, then the host's part in carrying every layer, a parent for each (the temporary "
        "null) and the null deleted, its transform folded into each child.",
        "",
    ]
    md += many_layers_section(now, old)
    failed = errors(benchmarks + old_benchmarks)
    if failed:
        md += ["## Cases that failed", ""]
        md += [f"- `{name}`: {msg}" for name, msg in failed]
        md.append("")
    with open(a.out, "w", encoding="utf-8") as f:
        f.write("\n".join(md))


if __name__ == "__main__":
    main()
