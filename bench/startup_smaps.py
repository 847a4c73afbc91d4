#!/usr/bin/python3
"""Resident memory of tallix against the bare Qt window, mapping by mapping.

Runs ../shared/tools/startup.py itself (its Xvfb, session bus, neutral
environment and measuring moment: --settle seconds after the window maps),
with tallix and the bare window from a terminal and as a launcher starts them
(DESKTOP_STARTUP_ID set), and keeps /proc/PID/smaps of every launch at the
moment startup.py reads VmRSS. Then prints, per path, Rss in kB grouped by
mapping (a file's name, [heap], [stack], thread stacks, other anonymous
memory), the median over the launches, tallix minus the bare window, largest
differences first.

    bench/startup_smaps.py [-n RUNS] [--keep DIR] [--all] [--program PATH] [other startup.py options]

--program measures another build of tallix against the same bare window;
--all lists every mapping, not only those 8 kB apart; --keep keeps the smaps.

Build first: cmake --build --preset release --target tallix tallix-bare-window
TALLIX_BUILD_DIR and TALLIX_STARTUP_TOOLS as for bench/startup.sh.
"""

import importlib.util
import os
import re
import statistics
import sys
import tempfile
from collections import defaultdict

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.dirname(here)
build = os.environ.get("TALLIX_BUILD_DIR", os.path.join(root, "build/release"))
tools = os.environ.get("TALLIX_STARTUP_TOOLS", os.path.join(root, "../shared/tools"))

spec = importlib.util.spec_from_file_location("startup", os.path.join(tools, "startup.py"))
startup = importlib.util.module_from_spec(spec)
spec.loader.exec_module(startup)

STACK_KB = 8192  # glibc's default thread stack (the main thread's is [stack])


def group(name, size_kb):
    """The row a mapping counts in."""
    if not name:
        return "[thread stack]" if size_kb in (STACK_KB, STACK_KB + 4) else "[anon]"
    if name.startswith("["):
        return name
    return os.path.basename(name.split(" (deleted)")[0])


def parse_smaps(text):
    rows = defaultdict(int)
    name, size = None, 0
    for line in text.splitlines():
        if re.match(r"^[0-9a-f]+-[0-9a-f]+ ", line):
            parts = line.split(None, 5)
            name = parts[5] if len(parts) > 5 else ""
        elif line.startswith("Size:"):
            size = int(line.split()[1])
        elif line.startswith("Rss:"):
            rows[group(name, size)] += int(line.split()[1])
    return rows


def main():
    # Inside its own network namespace, as startup.py runs itself.
    if os.environ.get("STARTUP_BENCH_NETNS") != "1" and os.geteuid() == 0 and startup.shutil.which("unshare"):
        env = dict(os.environ, STARTUP_BENCH_NETNS="1")
        os.execvpe("unshare", ["unshare", "--net", "--", sys.executable] + sys.argv, env)
    argv = sys.argv[1:]
    keep = None
    show_all = False
    if "--keep" in argv:
        i = argv.index("--keep")
        keep = argv[i + 1]
        del argv[i : i + 2]
    program = os.path.join(build, "app/tallix")
    if "--program" in argv:
        i = argv.index("--program")
        program = os.path.abspath(argv[i + 1])
        del argv[i : i + 2]
    if "--all" in argv:
        argv.remove("--all")
        show_all = True
    if "-n" not in argv and "--runs" not in argv:
        argv = ["-n", "3"] + argv
    out = keep or tempfile.mkdtemp(prefix="startup-smaps-")
    os.makedirs(out, exist_ok=True)

    current = {}
    launch = startup.Bench.launch

    def launch_and_note(self, spec, label):
        current["bench"], current["name"], current["label"] = self, spec.name, label
        return launch(self, spec, label)

    mem_of = startup.mem_of
    taken = defaultdict(list)

    def mem_and_smaps(pid):
        bench = current.get("bench")
        if bench is not None and bench.current is not None:
            p, marker = bench.current
            if pid == p.pid or startup.has_marker(pid, marker):
                try:
                    with open(f"/proc/{pid}/smaps") as f:
                        text = f.read()
                except OSError:
                    text = ""
                if text and not current["label"].startswith("warmup"):
                    path = os.path.join(out, f"{current['name']}-{current['label']}-{pid}.smaps")
                    with open(path, "w") as f:
                        f.write(text)
                    taken[current["name"]].append(parse_smaps(text))
        return mem_of(pid)

    startup.Bench.launch = launch_and_note
    startup.mem_of = mem_and_smaps
    launcher = "DESKTOP_STARTUP_ID=tallix-bench_TIME0"
    sys.argv = [sys.argv[0], "--only", "bare-qt,tallix,bare-qt-launcher,tallix-launcher",
                "-c", f"bare-qt={build}/tools/tallix-bare-window",
                "-c", f"tallix={program}",
                "-c", f"bare-qt-launcher={launcher} {build}/tools/tallix-bare-window",
                "-c", f"tallix-launcher={launcher} {program}",
                "--baseline", "bare-qt"] + argv
    startup.main()

    def medians(name):
        launches = taken.get(name, [])
        keys = set().union(*launches) if launches else set()
        return {k: statistics.median(run.get(k, 0) for run in launches) for k in keys}, len(launches)

    for ours, bare in (("tallix", "bare-qt"), ("tallix-launcher", "bare-qt-launcher")):
        a, na = medians(ours)
        b, nb = medians(bare)
        print(f"\n{ours} ({na} launches) against {bare} ({nb}), Rss kB, medians:\n")
        print(f"| mapping | {bare} | {ours} | difference |")
        print("|---|---|---|---|")
        rows = sorted(set(a) | set(b), key=lambda k: (-abs(a.get(k, 0) - b.get(k, 0)), k))
        for k in rows:
            d = a.get(k, 0) - b.get(k, 0)
            if show_all or abs(d) >= 8:
                print(f"| {k} | {b.get(k, 0):g} | {a.get(k, 0):g} | {d:+g} |")
        ta, tb = sum(a.values()), sum(b.values())
        print(f"| total of medians | {tb:g} | {ta:g} | {ta - tb:+g} |")
    print(f"\nsmaps kept in {out}")


if __name__ == "__main__":
    main()
