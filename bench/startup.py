#!/usr/bin/env python3
"""Start-up of Tolmar beside a bare window of the same look, under Xvfb.

Each program is started on a fresh copy of the fixture Wine prefix, one after the other, nine
times (after one unmeasured start each that warms the caches). For each start it measures the
time from exec to the first frame of the window (a preloaded probe notes when the first pixels
reach the X server) and the resident memory once the program has settled. It prints the medians
side by side with the two ratios and their targets, and exits 1 when a target is missed.

Tolmar is also started on a registry holding no keys, which sets its floor apart from what the
registry costs, and the resident memory of each is split by kind of mapping (libraries' code
and data, fonts, heap), which says where Tolmar's memory beyond the bare window goes.

Usage: bench/startup.py [--build build/release] [--tolmar PATH] [--runs 9]
"""
import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
FIXTURE = os.path.join(ROOT, "tests", "fixtures", "wine-prefix")
# The fixture holds a real Wine registry only; the default machine lends it a C: drive, so that
# the start reads and writes the profile files as it does on any prefix.
DRIVE_C = os.path.join(ROOT, "data", "machine", "drive_c")
REGISTRY_FILES = ("system.reg", "user.reg", "userdef.reg")
TIME_TARGET = 1.3  # Tolmar's time at most this many times the bare window's
MEMORY_TARGET = 3.0  # Tolmar's extra memory at most this many times the registry's bytes
SETTLE_SECONDS = 1.0  # after the first frame: the start-up writes are saved by then


def start_xvfb():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
        pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        display = f.readline().strip()
    if not display:
        server.kill()
        sys.exit("Xvfb did not start")
    return server, ":" + display


# The kinds of mapping the memory is split into, by the file mapped; the first that matches.
KINDS = (("Qt Widgets", "libQt6Widgets"), ("Qt Gui and Core", "libQt6"), ("fonts", "/fonts/"),
         ("program", None), ("other libraries", ".so"), ("heap and anonymous", ""))


def resident_by_kind(pid, program):
    """Resident bytes of each kind of mapping, from /proc/<pid>/smaps."""
    kinds = dict.fromkeys((name for name, _ in KINDS), 0)
    kind = None
    with open(f"/proc/{pid}/smaps") as f:
        for line in f:
            fields = line.split()
            if "-" in fields[0] and ":" not in fields[0]:
                mapped = fields[5] if len(fields) > 5 else ""
                kind = next(name for name, part in KINDS
                            if (mapped == program if part is None else part in mapped))
            elif fields[0] == "Rss:":
                kinds[kind] += int(fields[1]) * 1024
    return kinds


def empty_registry(folder):
    """A copy of the fixture's registry files without their keys: the headers only."""
    os.makedirs(folder)
    for name in REGISTRY_FILES:
        with open(os.path.join(FIXTURE, name), "rb") as f:
            header = f.read().split(b"\n[", 1)[0]
        with open(os.path.join(folder, name), "wb") as f:
            f.write(header.rstrip(b"\n") + b"\n")


def run_once(command, registry, display, probe, workdir):
    prefix = os.path.join(workdir, "prefix")
    shutil.rmtree(prefix, ignore_errors=True)
    shutil.copytree(registry, prefix)
    shutil.copytree(DRIVE_C, os.path.join(prefix, "drive_c"))
    frame_file = os.path.join(workdir, "first-frame")
    if os.path.exists(frame_file):
        os.remove(frame_file)
    env = dict(os.environ, DISPLAY=display, LD_PRELOAD=probe, FIRST_FRAME_FILE=frame_file,
               HOME=workdir, XDG_DATA_HOME=os.path.join(workdir, "data"))
    for name in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "TOLMAR_MACHINE", "WINEPREFIX"):
        env.pop(name, None)
    started = time.monotonic_ns()
    process = subprocess.Popen(command + ["--machine", prefix], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    try:
        deadline = time.monotonic() + 60
        while not os.path.exists(frame_file) or os.path.getsize(frame_file) == 0:
            if process.poll() is not None:
                raise RuntimeError(f"{command[0]} ended with {process.returncode}: "
                                   + process.stderr.read().decode(errors="replace"))
            if time.monotonic() > deadline:
                raise RuntimeError(f"{command[0]} showed no frame within a minute")
            time.sleep(0.002)
        with open(frame_file) as f:
            first_frame = int(f.read())
        time.sleep(SETTLE_SECONDS)
        memory = resident_by_kind(process.pid, os.path.realpath(command[0]))
    finally:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    return (first_frame - started) / 1e6, memory


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "release"),
                        help="build folder with bench/ and app/ (default: build/release)")
    parser.add_argument("--tolmar", help="the Tolmar executable (default: the build's)")
    parser.add_argument("--runs", type=int, default=9)
    args = parser.parse_args()

    tolmar = args.tolmar or os.path.join(args.build, "app", "tolmar")
    bare = os.path.join(args.build, "bench", "bare_window")
    probe = os.path.join(args.build, "bench", "first_frame_probe.so")
    for path in (tolmar, bare, probe):
        if not os.path.exists(path):
            sys.exit(f"missing {path}: build the release preset first")
    registry = sum(os.path.getsize(os.path.join(FIXTURE, name)) for name in REGISTRY_FILES)

    programs = {"Tolmar": [tolmar], "Tolmar, no keys": [tolmar], "bare window": [bare]}
    results = {name: [] for name in programs}
    server, display = start_xvfb()
    try:
        with tempfile.TemporaryDirectory() as workdir:
            no_keys = os.path.join(workdir, "no-keys")
            empty_registry(no_keys)
            registries = {"Tolmar": FIXTURE, "Tolmar, no keys": no_keys, "bare window": FIXTURE}
            for name, command in programs.items():
                run_once(command, registries[name], display, probe, workdir)
            for _ in range(args.runs):
                for name, command in programs.items():
                    results[name].append(
                        run_once(command, registries[name], display, probe, workdir))
    finally:
        server.terminate()
        server.wait()

    time_ms = {n: statistics.median(r[0] for r in results[n]) for n in programs}
    kinds = [kind for kind, _ in KINDS]
    by_kind = {n: {k: statistics.median(r[1][k] for r in results[n]) for k in kinds}
               for n in programs}
    memory = {n: statistics.median(sum(r[1].values()) for r in results[n]) for n in programs}
    mb = 1024 * 1024
    print(f"Start-up on the fixture prefix (registry {registry / mb:.2f} MB), "
          f"median of {args.runs} starts each:")
    print(f"{'':22} {'first frame':>12} {'resident':>10}")
    for name in programs:
        print(f"{name:22} {time_ms[name]:9.0f} ms {memory[name] / mb:7.1f} MB")
    print("Resident memory by kind of mapping (MB):")
    print(f"{'':22}" + "".join(f"{n:>17}" for n in programs))
    for kind in kinds:
        print(f"{kind:22}" + "".join(f"{by_kind[n][kind] / mb:17.1f}" for n in programs))
    time_ratio = time_ms["Tolmar"] / time_ms["bare window"]
    memory_ratio = (memory["Tolmar"] - memory["bare window"]) / registry
    time_ok = time_ratio <= TIME_TARGET
    memory_ok = memory_ratio <= MEMORY_TARGET
    print(f"time:   Tolmar / bare window = {time_ratio:.2f} "
          f"(target at most {TIME_TARGET}) {'met' if time_ok else 'MISSED'}")
    print(f"memory: (Tolmar - bare window) / registry bytes = {memory_ratio:.2f} "
          f"(target at most {MEMORY_TARGET:.0f}) {'met' if memory_ok else 'MISSED'}")
    floor = (memory["Tolmar, no keys"] - memory["bare window"]) / registry
    print(f"        of which Tolmar's own with no registry keys = {floor:.2f}")
    return 0 if time_ok and memory_ok else 1


if __name__ == "__main__":
    sys.exit(main())
