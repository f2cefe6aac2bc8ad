#!/usr/bin/env python3
"""Times the whole program against two prime listers and writes a table.

Each command lists the primes up to a bound through a pipe into cat. The
commands run in alternating rounds (one hyperfine run of each per round), so
that a slow spell of a shared machine hits them all alike; the table gives
the median of the rounds, the ratio to primesieve, and the peak memory that
/usr/bin/time -v reports.

Peers: primesieve (Debian package primesieve) and primes (bsdgames).
Usage: bench/compare_peers.py SITO [--rounds N] [--out doc/benchmarks.md]
"""

import argparse
import datetime
import json
import os
import platform
import re
import statistics
import subprocess
import sys
import tempfile

BOUNDS = [10**7, 10**9, 2147483647]


def commands(sito, bound):
    return {
        "sito": f"echo {bound} | {sito} | cat > /dev/null",
        "primesieve -t1": f"primesieve {bound} -p -t1 | cat > /dev/null",
        "primes (bsdgames)": f"/usr/games/primes 2 {bound} | cat > /dev/null",
    }


def one_round(cmds):
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        subprocess.run(["hyperfine", "--runs", "1", "--style", "none", "--export-json", out.name, *cmds.values()],
                       check=True, stdout=subprocess.DEVNULL)
        with open(out.name) as f:
            results = json.load(f)["results"]
    return [r["mean"] for r in results]


def peak_memory_kib(command):
    done = subprocess.run(["/usr/bin/time", "-v", "sh", "-c", command], check=True, capture_output=True, text=True)
    return max(int(m) for m in re.findall(r"Maximum resident set size \(kbytes\): (\d+)", done.stderr))


def machine():
    model = "unknown processor"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    mem = os.sysconf("SC_PAGE_SIZE") * os.sysconf("SC_PHYS_PAGES") / 2**30
    return f"{model}, {os.cpu_count()} cores, {mem:.0f} GiB, Linux {platform.release()}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("sito", help="path of the built program")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--out", default="doc/benchmarks.md")
    args = parser.parse_args()
    sito = os.path.abspath(args.sito)

    rows = []
    for bound in BOUNDS:
        cmds = commands(sito, bound)
        times = [[] for _ in cmds]
        for r in range(args.rounds):
            for i, t in enumerate(one_round(cmds)):
                times[i].append(t)
            print(f"bound {bound}: round {r + 1}/{args.rounds}", file=sys.stderr)
        medians = [statistics.median(t) for t in times]
        reference = medians[1]
        for (name, command), median in zip(cmds.items(), medians):
            rows.append((bound, name, median, median / reference, peak_memory_kib(command) / 1024))

    lines = [
        "# Whole-program timings",
        "",
        "The primes up to each bound listed through a pipe (`| cat > /dev/null`); medians of "
        f"{args.rounds} alternating rounds of hyperfine runs, peak resident memory from `/usr/bin/time -v` "
        "(the largest process of the pipeline).",
        "",
        f"Machine: {machine()}. Run on {datetime.date.today().isoformat()} with "
        f"`bench/compare_peers.py build/sito --rounds {args.rounds}`.",
        "",
        "| bound | program | median time (s) | time / primesieve | peak memory (MiB) |",
        "|---:|---|---:|---:|---:|",
    ]
    for bound, name, median, ratio, mib in rows:
        lines.append(f"| {bound} | {name} | {median:.3f} | {ratio:.2f} | {mib:.0f} |")
    with open(args.out, "w") as f:
        f.write("\n".join(lines) + "\n")
    print("\n".join(lines))


if __name__ == "__main__":
    main()
