#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Prints the one table of bench/run: every figure, its target and whether it is met.

Usage: table.py <folder with core.json, ui.json, clock.txt, program.txt> <clock seconds> [--quick]
"""
import json
import sys
from pathlib import Path

UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def medians(path):
    """Median aggregates of a Google Benchmark JSON file, by benchmark name."""
    found = {}
    for run in json.loads(Path(path).read_text())["benchmarks"]:
        if run.get("aggregate_name") != "median":
            continue
        name = run["run_name"].split("/")[0]
        found[name] = run
    return found


def medians_by_run(path):
    """Median aggregates of a Google Benchmark JSON file, by run name with its arguments."""
    return {run["run_name"]: run for run in json.loads(Path(path).read_text())["benchmarks"]
            if run.get("aggregate_name") == "median"}


def largest(path, counter):
    """The largest value of a counter over every repetition, by benchmark name."""
    found = {}
    for run in json.loads(Path(path).read_text())["benchmarks"]:
        if run.get("run_type") != "iteration" or counter not in run:
            continue
        name = run["run_name"].split("/")[0]
        found[name] = max(found.get(name, 0.0), run[counter])
    return found


def time_ns(run):
    return run["real_time"] * UNIT_NS[run["time_unit"]]


def pairs(path):
    values = {}
    for word in Path(path).read_text().split():
        if "=" in word:
            key, value = word.split("=", 1)
            values[key] = float(value)
    return values


def main():
    folder = Path(sys.argv[1])
    clock_seconds = int(sys.argv[2])
    quick = "--quick" in sys.argv
    core = medians(folder / "core.json")
    ui = medians(folder / "ui.json")
    clock = pairs(folder / "clock.txt")
    program = pairs(folder / "program.txt")
    rows = []

    def at_most(label, value, limit, unit, shown=None):
        rows.append((label, shown or f"{value:,.2f} {unit}", f"<= {limit:,g} {unit}",
                     value <= limit))

    def at_least(label, value, limit, unit):
        rows.append((label, f"{value:,.0f} {unit}", f">= {limit:,g} {unit}", value >= limit))

    def info(label, shown):
        rows.append((label, shown, "(no target)", None))

    us = lambda name, source=core: time_ns(source[name]) / 1e3
    ms = lambda name, source=ui: time_ns(source[name]) / 1e6
    core_max = largest(folder / "core.json", "max_us")
    ui_max = largest(folder / "ui.json", "max_us")

    def spread(name, source, largest_of):
        """Mean without preempted iterations / mean / median / 99th percentile / largest (us)."""
        run = source[name]
        return (f"{run['mean_us']:,.2f} / {time_ns(run) / 1e3:,.2f} / {run['p50_us']:,.2f} / "
                f"{run['p99_us']:,.2f} / {largest_of[name]:,.0f} us")

    def at_most_spread(label, name, source, largest_of, limit):
        """A step's mean time, preempted iterations left out, against its target."""
        mean = source[name]["mean_us"]
        rows.append((label, spread(name, source, largest_of), f"mean* <= {limit:g} us",
                     mean <= limit))

    at_most_spread("Processor cycle, real log and Qt display (mean*/mean/med/p99/max)",
                   "BM_ProgramProcessorCycle", ui, ui_max, 1)
    at_most_spread("Wait-service pass, real log and Qt display (mean*/mean/med/p99/max)",
                   "BM_ProgramWaitServicePass", ui, ui_max, 1)
    info("Processor cycle, log only counted (mean*/mean/med/p99/max)",
         spread("BM_ProcessorCycle", core, core_max))
    info("Processor cycle, log file through the writer thread (mean*/mean/med/p99/max)",
         spread("BM_ProcessorCycleWithLogFile", core, core_max))
    info("Wait-service pass, log only counted (mean*/mean/med/p99/max)",
         spread("BM_WaitServicePass", core, core_max))
    at_most_spread("Free-frame check that flushes and swaps out (mean*/mean/med/p99/max)",
                   "BM_FreeFrameCheckFlushAndSwap", core, core_max, 5)
    check = core["BM_FreeFrameCheckFlushAndSwap"]
    info("  of which: checks that swapped / pages written each",
         f"{check['swapped']:.2f} / {check['flushed']:.1f}")
    info("One log-file line, stamped and queued for the writer thread",
         f"{us('BM_LogWriterLine'):,.2f} us")
    at_least("AddLine throughput, simulation thread, view shown",
             ui["BM_LogAddLineFromSimulationThread"]["items_per_second"], 100000, "lines/s")
    info("Log view catching up with those lines",
         f"{ui['BM_LogViewCatchUp']['items_per_second']:,.0f} lines/s")
    info("AddLine on the user-interface thread, view shown",
         f"{ui['BM_LogAddLineFromUiThread']['items_per_second']:,.0f} lines/s")
    refreshes = [("Processor window refresh (500 ms timer)", "BM_ProcessorWindowRefresh"),
                 ("Process list refresh and repaint", "BM_ProcessListRefresh"),
                 ("Memory grid refresh and repaint", "BM_MemoryWindowRefresh"),
                 ("Page-file grid repaint", "BM_PageFileRepaint"),
                 ("Statistics refresh", "BM_StatisticsRefresh"),
                 ("PCB window refresh (reads the English settings file)", "BM_PcbWindowRefresh")]
    xvfb_path = folder / "ui_xvfb.json"
    xvfb = medians(xvfb_path) if xvfb_path.exists() else {}
    for label, name in refreshes:
        at_most(label + ", offscreen", ms(name), 2, "ms")
        if name in xvfb:
            at_most(label + ", Xvfb", ms(name, xvfb), 2, "ms")

    # The program's timeline over a class longer than eight hours at 100 ms: what the heap grew
    # by, against 20 MB, and what a tick's end costs with the newest ticks kept.
    kept = core.get("BM_TimelineGrowthNewestKept")
    if kept is not None:
        every = core["BM_TimelineGrowthEveryTick"]
        at_most("Heap growth, 300,000 ticks, 20 processes, timeline keeping the newest ticks",
                kept["heap_mb"], 20, "MB",
                f"{kept['heap_mb']:,.1f} MB (every tick kept: {every['heap_mb']:,.1f} MB)")
        info("Timeline bytes per tick / growth once the kept ticks are full",
             f"{kept['bytes_per_tick']:,.0f} B / {kept['after_full_mb']:,.2f} MB")
        info("End of a tick with the timeline (med/p99/max)",
             f"{kept['p50_us']:,.2f} / {kept['p99_us']:,.2f} / "
             f"{core_max['BM_TimelineGrowthNewestKept']:,.0f} us")

    # The timeline's paint of a 1000 x 600 window, 20 processes: the median against 16 ms (one
    # frame at 60 Hz), with the 99th percentile and the largest beside it.
    for label, name in [("1,000 ticks fitted", "BM_TimelinePaintFitted1k"),
                        ("100,000 ticks fitted", "BM_TimelinePaintFitted100k"),
                        ("1,000 ticks, newest at 4 px", "BM_TimelinePaintNewest1k"),
                        ("100,000 ticks, newest at 4 px",
                         "BM_TimelinePaintNewest100k")]:
        run = ui[name]
        median = run["p50_us"] / 1e3
        rows.append((f"Timeline paint, 20 processes, {label} (med/p99/max)",
                     f"{median:,.2f} / {run['p99_us'] / 1e3:,.2f} / "
                     f"{ui_max[name] / 1e3:,.2f} ms", "med <= 16 ms", median <= 16))

    # "Voltar" one tick at a late tick in the whole program: until the windows answer again, the
    # median against 100 ms beyond the replay, with the replay's median beside it.
    jumps = medians_by_run(folder / "ui.json")

    def jump(prefix):
        return next((run for name, run in jumps.items() if name.startswith(prefix)), None)

    for ticks in (1000, 10000, 100000):
        idle = jump(f"BM_BackOneTickUntilIdle/{ticks}/")
        replay = jump(f"BM_BackOneTickReplay/{ticks}/")
        if idle is None or replay is None:
            continue
        median = idle["p50_us"] / 1e3
        rows.append((f"Back one tick at {ticks:,}, until idle (med/p99; replay med)",
                     f"{median:,.2f} / {idle['p99_us'] / 1e3:,.2f} ms; "
                     f"{replay['p50_us'] / 1e3:,.1f} ms", "med <= 100 ms", median <= 100))

    expected = clock_seconds * 10
    ticks = clock["ticks"]
    rows.append((f"Clock ticks at 100 ms over {clock_seconds} s", f"{ticks:.0f}",
                 f"{expected} +- 1", abs(ticks - expected) <= 1))
    at_most("Clock drift of the last tick from its schedule", abs(clock["drift_ms"]), 1, "ms")
    at_most("Clock interval error, 99th percentile", clock["p99_error_ms"], 1, "ms")
    info("Clock interval error, median / largest",
         f"{clock['p50_error_ms']:.3f} ms / {clock['max_error_ms']:.3f} ms")

    at_most("Start-up to the credits shown", program["startup_s"], 0.5, "s")
    at_most("Resident memory after start-up", program["rss_startup_mb"], 60, "MB")
    minutes = program["busy_seconds"] / 60
    at_most(f"Resident memory growth, {minutes:.0f} min, 20 processes, 100 ms",
            program["rss_growth_mb"], 5, "MB",
            f"{program['rss_growth_mb']:.1f} MB ({program['rss_loaded_start_mb']:.1f} -> "
            f"{program['rss_loaded_end_mb']:.1f})")
    info("Resident memory growth in the second half of that run",
         f"{program['rss_loaded_end_mb'] - program['rss_loaded_half_mb']:.1f} MB")
    at_most("Processor use, no process, 30 s", program["idle_cpu_pct"], 1, "% of a core")
    at_most(f"Processor use, 20 processes at 100 ms, {minutes:.0f} min", program["busy_cpu_pct"],
            3, "% of a core")

    width = max(len(r[0]) for r in rows)
    value_width = max(len(r[1]) for r in rows)
    target_width = max(len(r[2]) for r in rows)
    title = "Kelpa benchmarks" + (" (quick run)" if quick else "")
    print(title)
    print(f"| {'Figure':<{width}} | {'Measured':<{value_width}} | {'Target':<{target_width}} | Met |")
    print(f"|{'-' * (width + 2)}|{'-' * (value_width + 2)}|{'-' * (target_width + 2)}|-----|")
    for label, shown, target, met in rows:
        verdict = "" if met is None else ("yes" if met else "NO")
        print(f"| {label:<{width}} | {shown:<{value_width}} | {target:<{target_width}} | {verdict:<3} |")
    print("mean*: the mean of the iterations under 100 us (over it the thread was descheduled)")
    print(f"processes created: {program['processes_created']:.0f}, "
          f"log lines: {program['log_lines']:.0f}, live on average: {program['live_average']:.0f}")


if __name__ == "__main__":
    main()
