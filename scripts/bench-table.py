#!/usr/bin/env python3
"""Prints the ratios of scripts/bench from Google Benchmark JSON results: each
measurement's real time over its baseline's, and the target where there is one:
a ratio, or a time in milliseconds that the measurement itself must stay under."""

import json
import os
import sys

ROWS = [
    # (what, benchmark, baseline, target ratio or None[, time limit in ms])
    ("CRC-16 vs zlib CRC-32, 1 MiB", "BM_Crc16", "BM_ZlibCrc32", None),
    ("save .ldtx 4 Mi words vs raw write + fsync", "BM_SaveLdtx/real_time", "BM_WriteRawSynced/real_time", None),
    ("open .ldtx 4 Mi words vs raw read + CRC-16", "BM_OpenLdtx/real_time", "BM_ReadRawCrc/real_time", 2.0),
    ("open .ldtx 4 Mi words vs raw read", "BM_OpenLdtx/real_time", "BM_ReadRaw/real_time", None),
    ("CSV export 1 Mi words hex, 8 col., flushed file vs od", "ExportFile/hex16/real_time", "OdHex16/1/real_time", 1.0),
    ("CSV export 1 Mi words hex, 8 col., to memory vs od", "ExportMemory/hex16/real_time", "OdHex16/0/real_time", 1.0),
    ("paint a screen, 4 Mi-word block vs 100 words", "BM_PaintScreen/4194304/0", "BM_PaintScreen/100/0", None),
    ("paint the last screen, 4 Mi words vs 100 words", "BM_PaintScreen/4194304/1", "BM_PaintScreen/100/0", None),
    ("paint a screen with compare marks vs without, 4 Mi words", "BM_PaintScreenCompared", "BM_PaintScreen/4194304/0",
     1.2),
    ("find a 16-bit value at the end of 4 Mi words vs memmem", "BM_FindValue16AtEnd", "BM_MemmemLargeBlock", 2.0),
    ("find a 32-bit decimal in a full CA-500L document vs memmem", "BM_FindDecimal32EveryBlock",
     "BM_MemmemFullDocument", 2.0),
    ("memorix-cli diff 4 Mi words, 1,000 differences vs cmp -l", "BM_DiffProcess/real_time", "BM_CmpProcess/real_time",
     2.0),
    ("upload through the libraries vs plain libmodbus loop", "ReadThroughMsg91/min_time:1.000/real_time",
     "ReadWithPlainLibmodbus/min_time:1.000/real_time", None),
    ("upload through protocol 7 vs plain libmodbus loop", "ReadThroughTocol7/min_time:1.000/real_time",
     "ReadWithPlainLibmodbus/min_time:1.000/real_time", None),
    ("whole DT of CA-500L, 5 ms answer delay: libraries vs libmodbus loop",
     "ReadDtThroughLibrary/5/iterations:1/real_time", "ReadDtWithPlainLibmodbus/5/iterations:1/real_time", 1 / 3),
    ("whole DT of CA-500L, no delay: libraries vs libmodbus loop", "ReadDtThroughLibrary/0/iterations:5/real_time",
     "ReadDtWithPlainLibmodbus/0/iterations:5/real_time", 1.0),
    ("monitor cycle of 1,000 words vs plain libmodbus read", "MonitorCycleOf1000Words/min_time:1.000/real_time",
     "PlainLibmodbusReadOf1000Words/min_time:1.000/real_time", 1.2),
    ("posted event wait p99, monitoring at 100 ms vs idle", "PostedEventWait/load:1/iterations:1/manual_time",
     "PostedEventWait/load:0/iterations:1/manual_time", None, 20),
    ("posted event wait p99, monitoring with a trend vs idle", "PostedEventWait/load:2/iterations:1/manual_time",
     "PostedEventWait/load:0/iterations:1/manual_time", None, 20),
]


def load(folder):
    times = {}
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".json"):
            continue
        with open(os.path.join(folder, name)) as f:
            data = json.load(f)
        for b in data.get("benchmarks", []):
            if b.get("run_type", "iteration") != "iteration" or b.get("error_occurred"):
                continue
            scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b.get("time_unit", "ns")]
            times[b["name"]] = b["real_time"] * scale
    return times


def main():
    times = load(sys.argv[1] if len(sys.argv) > 1 else "build/bench-results")
    print(f"{'measurement':<56} {'time':>10} {'baseline':>10} {'ratio':>7} {'target':>7}")
    failed = False
    for what, name, base, target, *limit in ROWS:
        if name not in times or base not in times:
            print(f"{what:<56} {'-':>10} {'-':>10} {'-':>7} {'':>7}  (not measured)")
            continue
        ratio = times[name] / times[base]
        mark = ""
        if target is not None:
            mark = "ok" if ratio <= target else "MISSED"
            failed |= ratio > target
        t = f"<={target:g}" if target is not None else ""
        if limit:
            met = times[name] * 1e3 <= limit[0]
            mark = "ok" if met else "MISSED"
            failed |= not met
            t = f"<{limit[0]:g}ms"
        print(f"{what:<56} {times[name]*1e3:>8.3f}ms {times[base]*1e3:>8.3f}ms {ratio:>7.2f} {t:>7} {mark}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
