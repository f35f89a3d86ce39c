#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Prints one table from a Google Benchmark JSON file: each of our rows, the peer's row of
the same name, and the speed ratio (ours / peer; above 1 means we are faster).

Usage: compare.py RESULTS.json
"""
import json
import sys

# Peers in the order they are looked for; a row is named "<who>/<work>/<shape>/<size>".
PEERS = ("OpenSSL", "OpenSSL-MD5()", "Crypto++")
# Rows of ours whose peer row has another name: both ways of decoding face one peer.
PEER_ROW = {"Base64/DecodeText": "Base64/Decode", "Base64/DecodeToStream": "Base64/Decode"}
# Every Base64 form, encoded and decoded in bulk, faces OpenSSL's one form.
PEER_ROW.update({f"Base64Encode/{form}": "Base64/Encode"
                 for form in ("Standard", "StandardUnpadded", "Url", "UrlUnpadded", "Mime")})
PEER_ROW.update({f"Base64Decode/{form}": "Base64/Decode"
                 for form in ("StrictStandard", "StrictUrlUnpadded", "StrictMime",
                              "ForgivingStandard", "ForgivingMime")})
# Rows of sixteen messages at once, "md5b64/<work>/<path>/<size of each>": each path faces the
# same messages one after the other through the plain path, the single-stream compression.
LANE_WORKS = ("MD5Many16", "MD5Lanes16")
LANE_BASE = "md5b64/MD5Many16/Plain"


def human_bytes(size):
    for unit, scale in (("MiB", 1 << 20), ("KiB", 1 << 10)):
        if size >= scale and size % scale == 0:
            return f"{size // scale} {unit}"
    return f"{size} B"


def speed(row):
    value = row.get("bytes_per_second")
    if value is None:
        return None
    if value >= 1e9:
        return f"{value / 1e9:.2f} GB/s"
    return f"{value / 1e6:.1f} MB/s"


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1]) as results:
        data = json.load(results)
    rows = {}
    for row in data["benchmarks"]:
        # With repetitions, keep the median only.
        if row.get("run_type") == "aggregate" and row.get("aggregate_name") != "median":
            continue
        name = row.get("run_name", row["name"])
        rows[name] = row

    print("| work | shape | size | md5b64 | time | peer | peer speed | peer time | ratio |")
    print("|---|---|---|---|---|---|---|---|---|")
    for name, ours in rows.items():
        who, _, rest = name.partition("/")
        if who != "md5b64":
            continue
        work, shape, size = rest.split("/")
        if work in LANE_WORKS:
            continue
        peer_rest = f"{PEER_ROW.get(f'{work}/{shape}', f'{work}/{shape}')}/{size}"
        # A row of ours with several peers gets a line for each.
        peers = [(p, rows[f"{p}/{peer_rest}"]) for p in PEERS if f"{p}/{peer_rest}" in rows]
        for peer_name, peer in peers or [("-", None)]:
            cells = [work, shape, human_bytes(int(size)), speed(ours),
                     f"{ours['cpu_time']:.0f} ns"]
            if peer is None:
                cells += ["-", "-", "-", "-"]
            else:
                ratio = ours["bytes_per_second"] / peer["bytes_per_second"]
                cells += [peer_name, speed(peer), f"{peer['cpu_time']:.0f} ns", f"{ratio:.2f}x"]
            print("| " + " | ".join(cells) + " |")

    lanes = [(name, row) for name, row in rows.items()
             if name.split("/")[1:2] and name.split("/")[1] in LANE_WORKS]
    if lanes:
        print()
        print("| work | path | each of 16 | aggregate | time | single stream | ratio |")
        print("|---|---|---|---|---|---|---|")
        for name, ours in lanes:
            _, work, path, size = name.split("/")
            base = rows.get(f"{LANE_BASE}/{size}")
            cells = [work, path, human_bytes(int(size)), speed(ours), f"{ours['cpu_time']:.0f} ns"]
            if base is None:
                cells += ["-", "-"]
            else:
                ratio = ours["bytes_per_second"] / base["bytes_per_second"]
                cells += [speed(base), f"{ratio:.2f}x"]
            print("| " + " | ".join(cells) + " |")


if __name__ == "__main__":
    main()
