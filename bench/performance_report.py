#!/usr/bin/env python3
"""Turns one run of zentrim_bench (Google Benchmark JSON) into docs/performance.md.

Usage: performance_report.py RESULTS.json OUT.md NPROC COMPILER
Only the standard library, so the script runs wherever the benchmarks build.
"""
import datetime
import json
import sys

# The worst layouts for an outside-in scan: nothing ends it early.
TARGET_RATIO = 1.5
TARGET_LAYOUTS = ("empty", "corner")
TARGET_SIZE = "3840x2160"
DEPTHS = ("8", "16", "32")
SIZES = ("1920x1080", "3840x2160")
LAYOUTS = ("empty", "full", "box", "corner", "diagonal", "padded")
UNIT_TO_US = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}


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


def fastest_runs(benchmarks):
    """Case name -> the repetition with the lowest real time; repetitions share a run_name."""
    best = {}
    for b in benchmarks:
        if b.get("run_type") != "iteration" or b.get("error_occurred"):
            continue
        b = dict(b)
        b["us"] = b["real_time"] * UNIT_TO_US[b["time_unit"]]
        name = case_name(b["run_name"])
        if name not in best or b["us"] < best[name]["us"]:
            best[name] = b
    return best


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


def scan_section(best):
    out = []

    def us(name):
        run = best.get(name)
        return run["us"] if run else None

    def ratio(a, b):
        return a / b if a is not None and b else None

    for depth in DEPTHS:
        out.append(f"### {depth} bits per channel\n")
        header = "| Layout |"
        rule = "|---|"
        for size in SIZES:
            header += f" Scan {size} | Reference {size} | Scan / MemoryRead {size} |"
            rule += "---:|---:|---:|"
        out += [header, rule]
        row = "| MemoryRead |"
        for size in SIZES:
            run = best.get(f"MemoryRead/{depth}/{size}")
            rate = f"{run['bytes_per_second'] / 1e9:.1f} GB/s" if run else ""
            row += f" {fmt_us(us(f'MemoryRead/{depth}/{size}'))} | {rate} | |"
        out.append(row)
        for layout in LAYOUTS:
            row = f"| {layout} |"
            for size in SIZES:
                scan = us(f"Scan/{depth}/{layout}/{size}")
                ref = us(f"ScanReference/{depth}/{layout}/{size}")
                mem = us(f"MemoryRead/{depth}/{size}")
                row += f" {fmt_us(scan)} | {fmt_us(ref)} | {fmt_ratio(ratio(scan, mem))} |"
            out.append(row)
        out.append("")

    out.append("### Target\n")
    out.append(
        f"The layouts `{'` and `'.join(TARGET_LAYOUTS)}` at {TARGET_SIZE} make the scan look at "
        f"every pixel, so they must take at most {TARGET_RATIO}× MemoryRead at every depth.\n"
    )
    out += ["| Depth | " + " | ".join(f"{l} Scan / MemoryRead" for l in TARGET_LAYOUTS) + " | Met |",
            "|---|" + "---:|" * len(TARGET_LAYOUTS) + "---|"]
    missed = []
    for depth in DEPTHS:
        mem = us(f"MemoryRead/{depth}/{TARGET_SIZE}")
        ratios = [ratio(us(f"Scan/{depth}/{l}/{TARGET_SIZE}"), mem) for l in TARGET_LAYOUTS]
        met = all(r is not None and r <= TARGET_RATIO for r in ratios)
        if not met:
            missed.append(depth)
        out.append(f"| {depth} | " + " | ".join(fmt_ratio(r) for r in ratios) +
                   f" | {'yes' if met else '**no**'} |")
    out.append("")
    if missed:
        out.append(f"Missed at {', '.join(d + ' bits' for d in missed)} per channel.\n")
    else:
        out.append("Met at every depth.\n")
    return out


def duration_section(best):
    out = ["| Depth | Frames | Whole run | Renderer alone, per frame | Host frame calls in the run, "
           "per frame | Plug-in's own time, per frame |",
           "|---|---:|---:|---:|---:|---:|"]
    runs = sorted(((int(n.split("/")[1]), r) for n, r in best.items() if n.startswith("Duration/")),
                  key=lambda dr: dr[0])
    for depth, run in runs:
        frames = int(run["frames"])
        out.append(f"| {depth} | {frames} | {run['us'] / 1e6:.1f} s | "
                   f"{run['render_ms_per_frame']:.1f} ms | {run['host_frame_ms_per_frame']:.1f} ms | "
                   f"{run['plugin_ms_per_frame']:.2f} ms |")
    if not runs:
        out.append("| (no run) | | | | | |")
    return out + [""]


def uses_section(best):
    out = ["| Compositions | Layers | Uses | Time of one call | Host calls |",
           "|---:|---:|---:|---:|---:|"]
    runs = sorted((r for n, r in best.items() if n.startswith("CorrectUses")),
                  key=lambda r: r["layers"])
    for r in runs:
        out.append(f"| {int(r['comps']):,} | {int(r['layers']):,} | {int(r['uses']):,} | "
                   f"{fmt_us(r['us'])} | {int(r['host_calls']):,} |")
    out.append("")
    if len(runs) >= 2:
        small, large = runs[0], runs[-1]
        size = large["layers"] / small["layers"]
        growth = large["us"] / small["us"]
        out.append(f"{size:.0f}× the project took {growth:.0f}× the time "
                   f"(linear growth would be {size:.0f}×, quadratic {size * size:.0f}×).\n")
        if growth > 2 * size:
            out.append("Growth beyond linear is the host's side: the simulator finds items and "
                       "layers by id through an index, but some of its steps still search a list "
                       "(the next item of the project walk, a mask by id), and larger projects "
                       "fall out of the processor's caches. The plug-in's own work grows with the "
                       "number of layers and uses only.\n")
    return out


def render_section(best):
    out = ["| Depth | Time per frame | Frames per second |", "|---|---:|---:|"]
    for depth in DEPTHS:
        run = best.get(f"Render/{depth}/1920x1080")
        if run:
            out.append(f"| {depth} | {fmt_us(run['us'])} | {run['fps']:.1f} |")
    return out + [""]


def main():
    results, target, nproc, compiler = sys.argv[1:5]
    with open(results, encoding="utf-8") as f:
        data = json.load(f)
    ctx = data["context"]
    best = fastest_runs(data["benchmarks"])
    date = ctx.get("date", datetime.datetime.now().isoformat())
    load = ", ".join(f"{x:.2f}" for x in ctx.get("load_avg", []))

    md = [
        "# Performance",
        "",
        "Generated by `scripts/bench.sh` from one run of `zentrim_bench` (Google Benchmark, the "
        "`bench` preset: Release, `-O3`, no `-march`, as the product ships). Every figure below "
        "comes from that same run, so ratios between them are meaningful; absolute times depend on "
        "the machine and on what else it ran. Rerun the script to refresh this file.",
        "",
        "## Machine",
        "",
        f"- Date of the run: {date}",
        f"- Processors (`nproc`): {nproc}",
        f"- CPU: {cpu_model()}",
        f"- Compiler: {compiler}",
        f"- Load average when the run started: {load or 'unknown'}",
        f"- Google Benchmark library build type: {ctx.get('library_build_type', 'unknown')} "
        "(its own bookkeeping only; the measured code is Release)",
        "",
        "## The pixel scan",
        "",
        "`Scan` is the product's scan (`crop::scanContentExtent`, outside-in with early exits), "
        "`Reference` the one-pass scan of every pixel the unit tests compare it with, and "
        "`MemoryRead` an OR over every byte of a frame of that depth and size: the time any scan "
        "that must look at every pixel cannot beat. Layouts: `empty` (nothing visible), `full` "
        "(everything opaque), `box` (200 × 100 in the middle), `corner` (one pixel at the bottom "
        "right), `diagonal` (a line from the top left to the bottom right), `padded` (the box with "
        "rows 64 bytes longer than the pixels). Each case ran three times back to back; the table "
        "gives the fastest, the one least disturbed by other work on the machine. Throughput in "
        "the raw JSON counts the whole frame's bytes per call; the MemoryRead row gives its rate "
        "in the Reference column. Frames small enough to stay in the processor's caches read "
        "faster than the large ones, so their ratios are higher; the target below is set on the "
        "3840x2160 frames.",
        "",
    ]
    md += scan_section(best)
    md += [
        "## The crop over a duration",
        "",
        "\"Zentrim Duration\" (`crop::cropDuration`) on a 10 s, 30 fps, 3840 × 2160 composition of "
        "five small moving solids, through the simulator's suites. One run each. *Renderer alone* "
        "is `sim::renderComp` on every tenth frame; *host frame calls* is the time the run spent "
        "inside the render suite's checkout and checkin (rendering, then freeing the frame); the "
        "plug-in's own time is the rest of the run (asking for the frames, measuring them with the "
        "scan, the progress display, the crop at the end), per frame. A 3840 × 2160 frame is 33 MB "
        "at 8 bits and 133 MB at 32, obtained and cleared by the simulator for every frame.",
        "",
    ]
    md += duration_section(best)
    md += [
        "## Correcting the uses of a cropped composition",
        "",
        "`crop::findAndCorrectAllUses` on a generated project: compositions of ten layers, mostly "
        "solids; one composition is cropped and used by one layer in each of a tenth of the others; "
        "a quarter of the uses have a mask, another quarter a mask keyframed three times, every "
        "fifth a keyframed anchor point. One call through the simulator's suites (a fresh host "
        "each time); the host calls column counts every suite call the correction made.",
        "",
    ]
    md += uses_section(best)
    md += [
        "## The simulator's renderer",
        "",
        "`sim::renderComp` on a 1920 × 1080 composition of ten layers: a full-frame background, "
        "seven solids (moved, scaled, turned, one half transparent), a nested 1280 × 720 "
        "composition of three solids and a solid under a curved mask; successive frames of its "
        "animation. Fastest of three repetitions. At 32 bits a frame and the renderer's float "
        "working copy are each about 33 MB: whether the C library keeps such blocks between "
        "frames or gives them back to the system (so that the next render page-faults them in "
        "again) depends on what ran earlier in the process, and can change this figure several "
        "times over between runs.",
        "",
    ]
    md += render_section(best)
    failed = errors(data["benchmarks"])
    if failed:
        md += ["## Cases that failed", ""]
        md += [f"- `{name}`: {msg}" for name, msg in failed]
        md.append("")
    with open(target, "w", encoding="utf-8") as f:
        f.write("\n".join(md))


if __name__ == "__main__":
    main()
