#!/usr/bin/env python3
"""Checks that linkcalc-cli --csv runs in memory that does not grow with its input.

Feeds the tool a generated batch through a pipe (nothing on disk): ordinary rows, rows with long
texts, and now and then rows made to cost the most memory (fields of 1 MiB, quoted fields of
doubled quotes, fields over the limit, an unclosed quote before many lines). Reads the output
back to count its records, and fails when the tool's peak resident memory exceeds the limit or
a row is missing.

Usage: batch_memory_check.py LINKCALC-CLI [--bytes N] [--limit-mb M] [--plain]
"""
import argparse
import subprocess
import sys
import threading

MIB = 1024 * 1024
HEADER = b"gain1,gain2,loss1,loss2,distance,unit,band,speed,packet\n"


def ordinary_rows():
    """About 1 MiB of rows, all different, some with long unit texts; and how many."""
    rows = []
    gains = ["19", "23", "27", "28", "31", "34"]
    bands = ["4900", "5300", "5400", "5800"]
    speeds = ["6", "12", "18", "24", "36", "48", "54"]
    size = 0
    i = 0
    while size < MIB:
        unit = "Km" if i % 2 else "Miles"
        if i % 3 == 0:
            unit = "Miles " + "x" * (150 + i % 200)  # any text is taken as a unit
        distance = "" if i % 17 == 0 else "%.2f" % (0.5 + (i % 400) * 0.25)  # "" stops the run
        row = "%s,%s,%.1f,%.1f,%s,%s,%s,%s,%d\n" % (
            gains[i % 6], gains[(i * 7) % 6], (i % 5) * 0.5, (i % 3) * 0.5, distance, unit,
            bands[i % 4], speeds[i % 7], 64 + i % 1455)
        rows.append(row)
        size += len(row)
        i += 1
    return "".join(rows).encode(), len(rows)


def costly_rows():
    """Rows that ask the most of the reader and the writer; and how many records they make."""
    blank_padded = "23" + " " * (MIB - 2)  # a number with blanks is a number: the row runs
    quotes = '"' + '""' * MIB + '"'  # 1 MiB of quotes, written back as 2 MiB
    parts = [
        ",".join([blank_padded] * 4 + [blank_padded, "Miles", "5800", "54", blank_padded]) + "\n",
        ",".join([quotes] * 9) + "\n",  # every field as long as can be
        "23,23,0,0,10," + quotes + ",5800,54,\n",
        "23,23,0,0," + "9" * (3 * MIB) + ",Miles,5800,54,\n",  # over the limit: invalid
        '23,23,0,0,10,"Miles,5800,54,\n' + "23,23,0,0,10,Km,5800,54,\n" * 40000,  # unclosed
        '"' + "y" * (2 * MIB) + '",23,0,0,10,Km,5800,54,\n',  # quoted and over the limit
    ]
    records = 1 + 1 + 1 + 1 + (1 + 40000) + 1
    return "".join(parts).encode(), records


def high_water_kb(pid):
    """The peak resident memory of the tool so far. (The peak that wait4 reports would also
    count the pages of this script that the tool shared between fork and exec.)"""
    try:
        with open("/proc/%d/status" % pid) as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except OSError:
        pass  # gone already
    return 0


def is_costly(block, plain):
    return not plain and block % 64 == 7


def feed(pipe, total, ordinary, costly, plain):
    written = 0
    try:
        pipe.write(HEADER)
        blocks = 0
        while written < total:
            block = costly if is_costly(blocks, plain) else ordinary
            pipe.write(block)
            written += len(block)
            blocks += 1
    finally:
        pipe.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("--bytes", type=int, default=256 * MIB)
    parser.add_argument("--limit-mb", type=float, default=64)
    parser.add_argument("--plain", action="store_true", help="ordinary rows only")
    args = parser.parse_args()

    child = subprocess.Popen([args.cli, "--csv", "-", "--quiet"], stdin=subprocess.PIPE,
                             stdout=subprocess.PIPE)
    ordinary, ordinary_records = ordinary_rows()
    costly, costly_records = costly_rows()
    blocks = []
    total = 0
    while total < args.bytes:
        blocks.append(is_costly(len(blocks), args.plain))
        total += len(costly) if blocks[-1] else len(ordinary)
    expected = sum(costly_records if c else ordinary_records for c in blocks)

    feeder = threading.Thread(target=feed, args=(child.stdin, args.bytes, ordinary, costly, args.plain))
    feeder.start()
    records = -1  # the header
    out_bytes = 0
    last = b""
    peak_kb = 0
    while True:
        chunk = child.stdout.read(MIB)
        if not chunk:
            break
        out_bytes += len(chunk)
        records += (last + chunk).count(b"\r\n")  # a CRLF may fall across two reads
        last = chunk[-1:]
        peak_kb = max(peak_kb, high_water_kb(child.pid))
    feeder.join()
    child.wait()
    peak_mb = peak_kb / 1024

    print("input %.0f MiB, output %.0f MiB, %d records, peak resident memory %.1f MB"
          % (total / MIB, out_bytes / MIB, records, peak_mb))
    failed = False
    if child.returncode != 0:
        print("linkcalc-cli exited with %d" % child.returncode)
        failed = True
    if records != expected:
        print("expected %d records" % expected)
        failed = True
    if peak_mb > args.limit_mb:
        print("peak resident memory over the limit of %.0f MB" % args.limit_mb)
        failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
