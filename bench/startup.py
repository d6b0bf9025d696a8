#!/usr/bin/env python3
"""Start-up and a click of Tolmar as the registry grows, beside a bare window of the same look.

Tolmar is started under Xvfb on fresh copies of the fixture Wine prefix (1.7 MB of registry) and
of the same prefix with its system.reg grown to about 5, 20 and 50 MB, each one after the other,
nine times (after one unmeasured start each that warms the caches), each round in a turned
order. For each start it measures the time from exec to the first frame of the window (a
preloaded probe notes when the first pixels reach the X server) and the resident memory once the
program has settled. The bare
window (ten tabs of twenty check boxes) is the toolkit's floor for the time, and Tolmar on a
registry holding no keys is its own floor for the memory; the resident memory of each is split
by kind of mapping (libraries' code and data, fonts, heap).

Then, on each size, bench/click_bench starts the real main window (offscreen) and clicks a
machine-wide box of the Files page several times: the time from the click to system.reg renamed
into place, beside a plain write + fsync + rename of as many bytes in the same folder, and the
longest time the window's thread was kept from its events, up to the rename and up to the end of
the save (which the window's thread sees through).

The grown registries are made here, the same every time: a few hundred vendors under
Software\\Zz Vendors, tens of products each with sub-keys, about five values a key (texts with
paths, numbers, now and then a binary blob), written as Wine writes them and in Wine's order.

It prints the medians per size and the targets, and exits 1 when a target is missed.

Usage: bench/startup.py [--build build/release] [--tolmar PATH] [--runs 9] [--clicks 9] [--samples]
"""
import argparse
import os
import random
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
MB = 1024 * 1024
GROWN_MB = (5, 20, 50)  # the sizes system.reg is grown to
FRAME_GROWTH_TARGET = 1.2  # first frame at the largest size / at the fixture's
FRAME_BARE_TARGET = 1.5  # first frame at the fixture's / the bare window's
MEMORY_TARGET = 1.0  # resident beyond Tolmar's no-keys floor / the registry files' bytes
DURABLE_TARGET = 1.2  # click to durable at the largest size / the plain write
BUSY_TARGET_MS = 16.0  # the window's thread busy at most this long during any click
SETTLE_SECONDS = 1.0  # after the first frame, and as long as the registry files are still written
REFUSAL = "Nie można uruchomić programu Tolmar"


# ---- grown registries ----------------------------------------------------------------------

# Seconds from 1601 to 1970, and the ticks of a second, as Wine stamps keys.
EPOCH_1601 = 11644473600
TICKS = 10_000_000
GROWN_ROOT = ("Software", "Zz Vendors")
KEY_SEPARATOR = "\\\\"  # a key line's backslash, escaped
WORDS = ("Studio", "Office", "Media", "Tools", "Graphics", "Audio", "Net", "Data", "Games",
         "Systems", "Works", "Labs", "Soft", "Logic", "Vision", "Power")
FOLDERS = ("bin", "lib", "data", "plugins", "help", "templates", "lang")


def wine_order(name):
    """Wine's order of names: unit by unit in lower case, then the shorter first. The generated
    names are ASCII letters, digits, spaces and dots, where lower case is the same in every
    convention."""
    return name.lower()


def escape(text):
    """A text as Wine writes it between quotes: backslash and quote escaped, every unit above
    127 as \\x and its hex (four digits when a hex digit follows, so it reads back)."""
    out = []
    for i, c in enumerate(text):
        if c in '\\"':
            out.append("\\" + c)
        elif ord(c) > 127:
            follows = i + 1 < len(text) and text[i + 1] in "0123456789abcdefABCDEF"
            out.append(f"\\x{ord(c):04x}" if follows else f"\\x{ord(c):x}")
        else:
            out.append(c)
    return "".join(out)


def hex_value(lead, data):
    """A binary value as Wine wraps it: a backslash and a new line indented by two once the line
    passes 76 columns, counting from the value's name."""
    out = [lead]
    count = len(lead)
    for i, byte in enumerate(data):
        out.append(f"{byte:02x}")
        count += 2
        if i < len(data) - 1:
            out.append(",")
            count += 1
            if count > 76:
                out.append("\\\n  ")
                count = 2
    return "".join(out)


def value_line(name, kind, data):
    quoted = f'"{escape(name)}"='
    if kind == "sz":
        return quoted + f'"{escape(data)}"'
    if kind == "expand":
        return quoted + f'str(2):"{escape(data)}"'
    if kind == "dword":
        return quoted + f"dword:{data:08x}"
    return hex_value(quoted + "hex:", data)


def key_text(path, stamp, values):
    """A key's lines as Wine writes them, from the blank line before it."""
    ticks = (stamp[0] + EPOCH_1601) * TICKS + stamp[1]
    lines = ["", f"[{KEY_SEPARATOR.join(path)}] {stamp[0]}", f"#time={ticks:x}"]
    for name, kind, data in sorted(values, key=lambda v: wine_order(v[0])):
        lines.append(value_line(name, kind, data))
    return "\n".join(lines) + "\n"


def grown_keys(rng):
    """The keys added to a grown registry, in Wine's order: (path, stamp, values) for each key
    with values, without end. Parents that only hold sub-keys are left out, as Wine does."""
    base = 1796737662
    vendor = 0
    while True:
        vendor += 1
        if vendor >= 1000:
            raise RuntimeError("more vendors than three digits keep in Wine's order")
        name = f"Vendor {vendor:03d}"
        brand = f"{rng.choice(WORDS)} {rng.choice(WORDS)}"
        home = f"C:\\Program Files\\{brand} {vendor:03d}"
        products = rng.randint(10, 40)

        def stamp():
            return (base - rng.randrange(400_000_000), rng.randrange(TICKS))

        def number():
            return rng.choice((0, 1, 1, 2, 0x415, 0x80000000 | rng.randrange(1 << 16),
                               rng.randrange(1 << 32)))

        vendor_path = GROWN_ROOT + (name,)
        keys = [(vendor_path, [("Company", "sz", f"{brand} sp. z o.o."),
                               ("Path", "sz", home), ("Products", "dword", products),
                               ("Support", "sz", f"http://www.vendor{vendor:03d}.example/pomoc")])]
        for product in range(1, products + 1):
            product_name = f"Product {product:02d}"
            folder = f"{home}\\{rng.choice(WORDS)} {product:02d}"
            product_path = vendor_path + (product_name,)
            version = f"{rng.randint(1, 12)}.{rng.randint(0, 9)}.{rng.randint(0, 9999)}"
            subtree = {(): [("DisplayName", "sz", f"{brand} {product_name} – Narzędzia"),
                            ("InstallDate", "dword", rng.randrange(1 << 32)),
                            ("InstallPath", "sz", folder),
                            ("Language", "dword", 0x415),
                            ("Version", "sz", version)]}
            for component in range(1, rng.randint(3, 12) + 1):
                file = f"{folder}\\{rng.choice(FOLDERS)}\\comp{component:03d}.dll"
                values = [("Path", "sz", file), ("Flags", "dword", number()),
                          ("Version", "sz", version), ("Shared", "dword", rng.randint(0, 1)),
                          ("Source", "expand", "%ProgramFiles%\\Common Files\\Setup\\"
                                               f"{vendor:03d}{product:02d}.cab")]
                if rng.random() < 0.15:
                    values.append(("Checksum", "hex", rng.randbytes(rng.randint(16, 120))))
                subtree[("Components", f"Component {component:03d}")] = values
            settings = [("AutoSave", "dword", rng.randint(0, 60)), ("Toolbar", "dword", number()),
                        ("Skin", "sz", rng.choice(WORDS)),
                        ("DataFolder", "sz", f"C:\\Moje dokumenty\\{brand}"),
                        ("Status", "dword", number())]
            if rng.random() < 0.4:
                settings.append(("WindowPlacement", "hex", rng.randbytes(44)))
            subtree[("Settings",)] = settings
            subtree[("Settings", "Recent Files")] = [
                (f"File{n}", "sz", f"C:\\Moje dokumenty\\{rng.choice(WORDS)} {rng.randrange(1000)}"
                                   f".{rng.choice(('doc', 'txt', 'bmp', 'wav'))}")
                for n in range(1, rng.randint(2, 6) + 1)]
            for sub in sorted(subtree, key=lambda p: [wine_order(part) for part in p]):
                keys.append((product_path + sub, subtree[sub]))
        for path, values in keys:
            yield path, stamp(), values


def key_line_paths(text):
    """(where the key's blank line begins, the key's path in parts) for every key line."""
    at = 0
    while True:
        at = text.find("\n[", at)
        if at < 0:
            return
        end = text.find("]", at)
        yield at, text[at + 2:end].split(KEY_SEPARATOR)
        at = end


def grow(fixture_text, sizes):
    """The fixture's system.reg grown to each size (bytes): the new keys go where
    Software\\Zz Vendors belongs, after every key that sorts before it."""
    here = [wine_order(part) for part in GROWN_ROOT]
    splice = len(fixture_text)
    for at, path in key_line_paths(fixture_text):
        if [wine_order(part) for part in path] > here:
            # The blank line before the key is the key's own: the new keys go before it.
            splice = at
            break
    head, tail = fixture_text[:splice], fixture_text[splice:]
    if not head.endswith("\n"):
        head += "\n"
    grown = {}
    parts, size = [], len(head.encode()) + len(tail.encode())
    keys = grown_keys(random.Random(1998))
    for target in sorted(sizes):
        while size < target:
            path, stamp, values = next(keys)
            text = key_text(path, stamp, values)
            parts.append(text)
            size += len(text.encode())
        grown[target] = head + "".join(parts) + tail
    return grown


def make_registries(workdir):
    """Folders of registry files: the fixture's, the fixture's grown to each size, and one whose
    files hold no keys. Each grown system.reg is checked to be read the quick way (folded, in
    Wine's order) and written back byte for byte."""
    registries = {"1.7 MB": FIXTURE}
    with open(os.path.join(FIXTURE, "system.reg"), encoding="utf-8", newline="") as f:
        fixture = f.read()
    grown = grow(fixture, [mb * MB for mb in GROWN_MB])
    for mb in GROWN_MB:
        folder = os.path.join(workdir, f"registry-{mb}")
        os.makedirs(folder)
        with open(os.path.join(folder, "system.reg"), "w", encoding="utf-8", newline="") as f:
            f.write(grown[mb * MB])
        for name in REGISTRY_FILES[1:]:
            shutil.copy(os.path.join(FIXTURE, name), folder)
        registries[f"{mb} MB"] = folder
    no_keys = os.path.join(workdir, "no-keys")
    os.makedirs(no_keys)
    for name in REGISTRY_FILES:
        with open(os.path.join(FIXTURE, name), "rb") as f:
            header = f.read().split(b"\n[", 1)[0]
        with open(os.path.join(no_keys, name), "wb") as f:
            f.write(header.rstrip(b"\n") + b"\n")
    return registries, no_keys


def registry_bytes(folder):
    return sum(os.path.getsize(os.path.join(folder, name)) for name in REGISTRY_FILES)


# ---- runs ----------------------------------------------------------------------------------

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


def fresh_prefix(registry, workdir):
    prefix = os.path.join(workdir, "prefix")
    shutil.rmtree(prefix, ignore_errors=True)
    shutil.copytree(registry, prefix)
    shutil.copytree(DRIVE_C, os.path.join(prefix, "drive_c"))
    # The copy's own writing back to the disk would otherwise run during the start it serves.
    os.sync()
    return prefix


def registry_stamps(prefix):
    stamps = []
    for name in REGISTRY_FILES:
        try:
            st = os.stat(os.path.join(prefix, name))
            stamps.append((st.st_ino, st.st_size, st.st_mtime_ns))
        except FileNotFoundError:
            stamps.append(None)
    return stamps


def run_once(command, registry, display, probe, workdir):
    prefix = fresh_prefix(registry, workdir)
    # The X server and the kernel are still tidying up after the last program: a start right
    # away would pay for it, and always the one that follows a quick copy.
    time.sleep(0.5)
    frame_file = os.path.join(workdir, "first-frame")
    if os.path.exists(frame_file):
        os.remove(frame_file)
    env = dict(os.environ, DISPLAY=display, LD_PRELOAD=probe, FIRST_FRAME_FILE=frame_file,
               HOME=workdir, XDG_DATA_HOME=os.path.join(workdir, "data"))
    for name in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "TOLMAR_MACHINE", "WINEPREFIX"):
        env.pop(name, None)
    errors = tempfile.TemporaryFile()
    started = time.monotonic_ns()
    process = subprocess.Popen(command + ["--machine", prefix], env=env,
                               stdout=subprocess.DEVNULL, stderr=errors)
    try:
        deadline = time.monotonic() + 60
        while not os.path.exists(frame_file) or os.path.getsize(frame_file) == 0:
            if process.poll() is not None:
                errors.seek(0)
                raise RuntimeError(f"{command[0]} ended with {process.returncode}: "
                                   + errors.read().decode(errors="replace"))
            if time.monotonic() > deadline:
                raise RuntimeError(f"{command[0]} showed no frame within a minute")
            time.sleep(0.002)
        with open(frame_file) as f:
            first_frame = int(f.read())
        # Settled: a while after the first frame, and the start's writes saved.
        time.sleep(SETTLE_SECONDS)
        stamps = registry_stamps(prefix)
        while True:
            time.sleep(0.5)
            now = registry_stamps(prefix)
            if now == stamps:
                break
            stamps = now
        memory = resident_by_kind(process.pid, os.path.realpath(command[0]))
    finally:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    errors.seek(0)
    said = errors.read().decode(errors="replace")
    if REFUSAL in said:
        raise RuntimeError(f"{command[0]} refused the machine: {said}")
    return (first_frame - started) / 1e6, memory


def run_clicks(click_bench, program_dir, registry, clicks, workdir):
    prefix = fresh_prefix(registry, workdir)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=workdir,
               XDG_DATA_HOME=os.path.join(workdir, "data"))
    for name in ("TOLMAR_MACHINE", "WINEPREFIX"):
        env.pop(name, None)
    done = subprocess.run([click_bench, "--program-dir", program_dir, "--clicks", str(clicks),
                           prefix], env=env, capture_output=True, text=True, timeout=1800)
    if done.returncode != 0:
        raise RuntimeError(f"click_bench ended with {done.returncode}: {done.stderr}")
    measures = {name: float(value) for name, value in
                (line.split() for line in done.stdout.splitlines() if line.strip())}
    measures["clicks"] = [line for line in done.stderr.splitlines() if line.startswith("click ")]
    return measures


def check_registry(click_bench, registry, name):
    """Whether system.reg is folded at load (not read whole) and written back byte for byte; gives
    the time its load takes in a fresh process, which the start waits for."""
    done = subprocess.run([click_bench, "--check", registry], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"the {name} registry is not read as Wine's own would be:\n{done.stdout}"
                 f"{done.stderr}")
    said = dict(line.split() for line in done.stdout.splitlines() if line.strip())
    return float(said["load_ms"])


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "release"),
                        help="build folder with bench/ and app/ (default: build/release)")
    parser.add_argument("--tolmar", help="the Tolmar executable (default: the build's)")
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--clicks", type=int, default=9, help="clicks on each size")
    parser.add_argument("--samples", action="store_true",
                        help="also print every start's first frame, in the order measured")
    args = parser.parse_args()

    tolmar = args.tolmar or os.path.join(args.build, "app", "tolmar")
    bare = os.path.join(args.build, "bench", "bare_window")
    probe = os.path.join(args.build, "bench", "first_frame_probe.so")
    click_bench = os.path.join(args.build, "bench", "click_bench")
    for path in (tolmar, bare, probe, click_bench):
        if not os.path.exists(path):
            sys.exit(f"missing {path}: build the release preset first")
    program_dir = os.path.dirname(os.path.realpath(tolmar))
    if not os.path.isdir(os.path.join(program_dir, "data")):
        program_dir = os.path.join(args.build, "app")

    with tempfile.TemporaryDirectory() as workdir:
        registries, no_keys = make_registries(workdir)
        load_ms = {size: check_registry(click_bench, folder, size)
                   for size, folder in registries.items()}
        sizes = list(registries)
        programs = {f"Tolmar {size}": ([tolmar], registries[size]) for size in sizes}
        programs["Tolmar, no keys"] = ([tolmar], no_keys)
        programs["bare window"] = ([bare], FIXTURE)
        results = {name: [] for name in programs}
        server, display = start_xvfb()
        try:
            for name, (command, registry) in programs.items():
                run_once(command, registry, display, probe, workdir)
            # Each round begins one program later: whichever follows another's exit pays for
            # it, and the same one paying every round would tilt the comparison.
            names = list(programs)
            for round_ in range(args.runs):
                for name in names[round_ % len(names):] + names[:round_ % len(names)]:
                    command, registry = programs[name]
                    results[name].append(run_once(command, registry, display, probe, workdir))
        finally:
            server.terminate()
            server.wait()
        clicks = {size: run_clicks(click_bench, program_dir, registries[size], args.clicks,
                                   workdir) for size in sizes}
        registry = {size: registry_bytes(registries[size]) for size in sizes}
        program_bytes = {name: registry_bytes(folder) for name, (_, folder) in programs.items()}

    time_ms = {n: statistics.median(r[0] for r in results[n]) for n in programs}
    kinds = [kind for kind, _ in KINDS]
    by_kind = {n: {k: statistics.median(r[1][k] for r in results[n]) for k in kinds}
               for n in programs}
    memory = {n: statistics.median(sum(r[1].values()) for r in results[n]) for n in programs}
    print(f"Start: median of {args.runs} starts each; load: system.reg's load in a fresh "
          "process, which the start waits for")
    print(f"{'':18} {'registry':>9} {'first frame':>12} {'resident':>10} {'load':>9}")
    for name in programs:
        load = load_ms.get(name.removeprefix("Tolmar "))
        print(f"{name:18} {program_bytes[name] / MB:6.2f} MB {time_ms[name]:9.0f} ms "
              f"{memory[name] / MB:7.1f} MB" + (f" {load:6.1f} ms" if load is not None else ""))
    print(f"Click on a machine-wide box: median of {args.clicks} clicks (and the longest); the "
          "window's thread busy until the rename, and until the save has ended on it")
    print(f"{'':18} {'click call':>11} {'click→durable':>14} {'plain write':>12} "
          f"{'busy to durable':>16} {'busy until saved':>17}")
    for size in sizes:
        c = clicks[size]
        print(f"{'Tolmar ' + size:18} {c['click_call_ms']:8.2f} ms "
              f"{c['click_to_durable_ms']:11.1f} ms {c['plain_write_ms']:9.1f} ms "
              f"{c['busy_to_durable_ms']:5.1f} ({c['busy_to_durable_max_ms']:5.1f}) ms "
              f"{c['busy_ms']:6.1f} ({c['busy_max_ms']:5.1f}) ms")
    print("The longest busy stretch until saved: the time the thread ran in it (in the kernel "
          "too), and the time it waited for a core; the rest it slept (a lock, the disk)")
    for size in sizes:
        c = clicks[size]
        print(f"{'Tolmar ' + size:18} {c['busy_max_ms']:5.1f} ms: running "
              f"{c['busy_max_running_ms']:.1f} ms, waiting {c['busy_max_waiting_ms']:.1f} ms")
    if args.samples:
        print("First frames of every start (ms), in the order measured:")
        for name in programs:
            print(f"{name:18} " + " ".join(f"{r[0]:4.0f}" for r in results[name]))
        for size in sizes:
            print(f"Clicks at {size}:")
            for line in clicks[size]["clicks"]:
                print("  " + line)
    print("Resident memory by kind of mapping (MB):")
    print(f"{'':20}" + "".join(f"{n:>17}" for n in programs))
    for kind in kinds:
        print(f"{kind:20}" + "".join(f"{by_kind[n][kind] / MB:17.1f}" for n in programs))

    def verdict(ok):
        return "met" if ok else "MISSED"

    largest = sizes[-1]
    fixture = f"Tolmar {sizes[0]}"
    growth = time_ms[f"Tolmar {largest}"] / time_ms[fixture]
    bare_ratio = time_ms[fixture] / time_ms["bare window"]
    floor = memory["Tolmar, no keys"]
    memory_ratios = {size: (memory[f"Tolmar {size}"] - floor) / registry[size] for size in sizes}
    durable = clicks[largest]["click_to_durable_ms"] / clicks[largest]["plain_write_ms"]
    busiest = max(c["busy_max_ms"] for c in clicks.values())
    checks = [
        (growth <= FRAME_GROWTH_TARGET,
         f"first frame at {largest} / at {sizes[0]} = {growth:.2f} "
         f"(target at most {FRAME_GROWTH_TARGET})"),
        (bare_ratio <= FRAME_BARE_TARGET,
         f"first frame at {sizes[0]} / bare window = {bare_ratio:.2f} "
         f"(target at most {FRAME_BARE_TARGET})"),
    ]
    for size in sizes:
        checks.append((memory_ratios[size] <= MEMORY_TARGET,
                       f"resident at {size}: (Tolmar - no-keys floor) / registry bytes = "
                       f"{memory_ratios[size]:.2f} (target at most {MEMORY_TARGET})"))
    checks += [
        (durable <= DURABLE_TARGET,
         f"click→durable at {largest} / plain write = {durable:.2f} "
         f"(target at most {DURABLE_TARGET})"),
        (busiest <= BUSY_TARGET_MS,
         f"window thread busy during a click and its save, longest of all = {busiest:.1f} ms "
         f"(target at most {BUSY_TARGET_MS:.0f} ms)"),
    ]
    for ok, text in checks:
        print(f"{text} {verdict(ok)}")
    return 0 if all(ok for ok, _ in checks) else 1


if __name__ == "__main__":
    sys.exit(main())
