#!/usr/bin/env python3
"""Checks that linkcalc-cli takes the largest inputs it accepts in bounded memory.

Runs the tool on the largest terrain it accepts (the most rows, over the longest path, drawn as
a picture) and on the longest path it accepts, drawn from a bare earth, in each picture format,
and on a batch whose blocks each start with such a row, so that its workers would take them at
once; fails when a run does not complete or its peak resident memory exceeds the limit.

Usage: profile_memory_check.py LINKCALC-CLI FOLDER [--limit-mb M]
"""
import argparse
import math
import os
import subprocess
import sys
import time

from batch_memory_check import high_water_kb

LINK = ["--gain1", "23", "--gain2", "23", "--band", "5800", "--speed", "54", "--unit", "Km"]
MOST_ROWS = 1000000
LONGEST_PATH_M = 20015114  # half the earth's circumference, to the metre below


def write_largest_terrain(path):
    with open(path, "w") as terrain:
        terrain.write("distance,elevation,obstruction\n")
        for i in range(MOST_ROWS):
            distance = LONGEST_PATH_M * i / (MOST_ROWS - 1)
            terrain.write("%.3f,%.1f,%d\n" % (distance, 400 + 300 * math.sin(i / 997.0), i % 41))


def run(cli, args):
    """The exit status, the peak in MB and the seconds of one run."""
    start = time.monotonic()
    child = subprocess.Popen([cli] + args, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    peak = 0
    while True:
        peak = max(peak, high_water_kb(child.pid))
        pid, status, usage = os.wait4(child.pid, os.WNOHANG)
        if pid != 0:
            break
        time.sleep(0.005)
    # What grew after the last look: the kernel's peak at the exit (which may also count pages
    # this script shared with the tool between fork and exec, so it errs on the safe side).
    peak = max(peak, usage.ru_maxrss)
    child.returncode = os.waitstatus_to_exitcode(status)
    err = child.stderr.read().decode(errors="replace")
    return child.returncode, peak / 1024, time.monotonic() - start, err


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("folder")
    parser.add_argument("--limit-mb", type=float, default=256)
    args = parser.parse_args()
    os.makedirs(args.folder, exist_ok=True)
    terrain = os.path.join(args.folder, "largest-terrain.csv")
    write_largest_terrain(terrain)

    runs = []
    for extension in ("png", "svg", "pdf"):
        picture = os.path.join(args.folder, "profile." + extension)
        runs.append(("largest terrain, " + extension,
                     LINK + ["--terrain", terrain, "--profile", picture]))
        runs.append(("longest path, " + extension,
                     LINK + ["--distance", "%.3f" % (LONGEST_PATH_M / 1000), "--profile", picture]))
    runs.append(("largest terrain, json", LINK + ["--terrain", terrain, "--json"]))
    batch = os.path.join(args.folder, "largest-rows.csv")
    with open(batch, "w") as rows:
        rows.write("gain1,gain2,band,speed,unit,distance,terrain\n")
        for block in range(8):  # a block of the batch is 2048 rows
            first = "," + terrain if block % 2 == 0 else "%.3f," % (LONGEST_PATH_M / 1000)
            rows.write("23,23,5800,24,Km," + first + "\n")
            rows.write("23,23,5800,24,Km,10,\n" * 2047)
    runs.append(("batch of largest rows", ["--csv", batch, "--quiet"]))

    failed = False
    for name, arguments in runs:
        status, peak_mb, seconds, err = run(args.cli, arguments)
        print("%-24s exit %d, peak resident memory %.1f MB, %.2f s" % (name, status, peak_mb, seconds))
        if status != 0:
            print("  " + err.strip())
            failed = True
        if peak_mb > args.limit_mb:
            print("  over the limit of %.0f MB" % args.limit_mb)
            failed = True
    os.remove(terrain)
    os.remove(batch)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
