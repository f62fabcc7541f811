#!/usr/bin/env python3
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
    ms = lambda name: time_ns(ui[name]) / 1e6
    at_most("Processor cycle (lock held)", us("BM_ProcessorCycle"), 1, "us")
    at_most("Processor cycle logging to the file (writer thread)",
            us("BM_ProcessorCycleWithLogFileInBackground"), 1, "us")
    info("Processor cycle logging to the file (written at once)",
         f"{us('BM_ProcessorCycleWithLogFile'):,.2f} us")
    at_most("Wait-service pass (lock held)", us("BM_WaitServicePass"), 1, "us")
    at_most("Free-frame check that flushes and swaps out", us("BM_FreeFrameCheckFlushAndSwap"),
            5, "us")
    info("One log-file line, written at once / by the writer thread",
         f"{us('BM_LogWriterLine'):,.2f} us / {us('BM_LogWriterLineInBackground'):,.2f} us")
    at_least("AddLine throughput, simulation thread, view shown",
             ui["BM_LogAddLineFromSimulationThread"]["items_per_second"], 100000, "lines/s")
    info("Log view catching up with those lines",
         f"{ui['BM_LogViewCatchUp']['items_per_second']:,.0f} lines/s")
    info("AddLine on the user-interface thread, view shown",
         f"{ui['BM_LogAddLineFromUiThread']['items_per_second']:,.0f} lines/s")
    at_most("Processor window refresh (500 ms timer)", ms("BM_ProcessorWindowRefresh"), 2, "ms")
    at_most("Process list refresh and repaint", ms("BM_ProcessListRefresh"), 2, "ms")
    at_most("Memory grid refresh and repaint", ms("BM_MemoryWindowRefresh"), 2, "ms")
    at_most("Page-file grid repaint", ms("BM_PageFileRepaint"), 2, "ms")
    at_most("Statistics refresh", ms("BM_StatisticsRefresh"), 2, "ms")
    at_most("PCB window refresh (reads the English settings file)", ms("BM_PcbWindowRefresh"), 2,
            "ms")

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
    print(f"processes created: {program['processes_created']:.0f}, "
          f"log lines: {program['log_lines']:.0f}, live on average: {program['live_average']:.0f}")


if __name__ == "__main__":
    main()
