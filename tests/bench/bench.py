#!/usr/bin/env python3
"""Start-up, size and scale of Sorvanil.exe under Wine, each against a baseline measured
in the same run. Prints one table and writes it to docs/benchmarks.md.

Usage: bench.py BUILD_DIR SOURCE_DIR
"""
import datetime
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
from pathlib import Path

BUILD = Path(sys.argv[1]).resolve()
SOURCE = Path(sys.argv[2]).resolve()
ROUNDS_STARTUP = 21
ROUNDS_USERS = 9
ROUNDS_INSTALL = 5


WINE_RUN = SOURCE / "tools" / "wine-run"


def wine_env(config):
    env = dict(os.environ)
    env["SORVANIL_BUILD"] = str(BUILD)
    env.pop("SORVANIL_HEAP", None)
    env["INSTAIDE_DOUBLE_CONFIG"] = "Z:" + str(config).replace("/", "\\")
    env.pop("INSTAIDE_DOUBLE_LOG", None)
    return env


def prepare(root, users, files):
    """A folder with both programs, the double (recording nothing) and the .prc files."""
    root.mkdir(parents=True)
    for exe in (BUILD / "Sorvanil.exe", BUILD / "bench" / "bare.exe", BUILD / "double" / "INSTAIDE.dll"):
        shutil.copy(exe, root)
    config = root / "double.txt"
    config.write_text("record off\n" + "".join("user User %05d\n" % i for i in range(users)))
    for i in range(files):
        (root / ("app%04d.prc" % i)).write_bytes(b"x")
    return config


def launcher(root, config, *args):
    result = subprocess.run([str(WINE_RUN), str(BUILD / "bench" / "launcher.exe"), *args], cwd=root,
                            env=wine_env(config), capture_output=True, text=True, timeout=1800)
    times = {}
    for line in result.stdout.splitlines():
        name, ms = line.rsplit(" ", 1)
        times.setdefault(Path(name.replace("\\", "/")).name, []).append(float(ms))
    if result.returncode != 0 or not times:
        raise SystemExit("launcher failed: %s %s" % (result.stdout, result.stderr))
    return times


def median(values):
    return statistics.median(values)


def main():
    rows = []
    work = Path(tempfile.mkdtemp(prefix="sorvanil-bench-"))
    try:
        # Start-up against the bare program.
        root = work / "startup"
        config = prepare(root, 3, 3)
        times = launcher(root, config, "startup", str(ROUNDS_STARTUP), "Sorvanil.exe", "bare.exe")
        ours, bare = median(times["Sorvanil.exe"]), median(times["bare.exe"])
        rows.append(("Start-up to ready for input, 3 users (median of %d)" % ROUNDS_STARTUP,
                     "%.1f ms" % ours, "bare Win32: %.1f ms" % bare, "ratio %.2f (goal <= 1.10)" % (ours / bare)))

        # Size against the bare program.
        size, bare_size = (BUILD / "Sorvanil.exe").stat().st_size, (BUILD / "bench" / "bare.exe").stat().st_size
        rows.append(("Size of the executable", "%.1f KB" % (size / 1024), "bare Win32: %.1f KB" % (bare_size / 1024),
                     "ratio %.2f (goal <= 2, under 100 KB)" % (size / bare_size)))

        # The user list: start-up with more and more users.
        list_times = {}
        for users in (10, 1000, 10000):
            root = work / ("users%d" % users)
            config = prepare(root, users, 1)
            times = launcher(root, config, "startup", str(ROUNDS_USERS), "Sorvanil.exe", "bare.exe")
            list_times[users] = (median(times["Sorvanil.exe"]), median(times["bare.exe"]))
        for users, (ours, bare) in list_times.items():
            rows.append(("Dialog ready with %d users (median of %d)" % (users, ROUNDS_USERS), "%.1f ms" % ours,
                         "bare Win32: %.1f ms" % bare, ""))
        slope = (list_times[10000][0] - list_times[10][0]) / 9990
        bare_slope = (list_times[10000][1] - list_times[10][1]) / 9990
        rows.append(("User list growth: time a further user, 10 to 10,000", "%.1f us" % (1000 * slope),
                     "bare Win32: %.1f us" % (1000 * bare_slope),
                     "below 1,000 users the fill hides in the start-up's noise"))

        # The install command: press to message, for files x checked users requests.
        press = {}
        for files, users in ((10, 100), (100, 100), (100, 1000)):
            root = work / ("install%dx%d" % (files, users))
            config = prepare(root, users, files)
            times = launcher(root, config, "install", str(ROUNDS_INSTALL), "Sorvanil.exe")
            ms = median(times["Sorvanil.exe"])
            press[files * users] = ms
            rows.append(("Install %d files x %d users = %d requests (median of %d)" % (
                files, users, files * users, ROUNDS_INSTALL), "%.1f ms" % ms, "",
                "%.2f us a request" % (1000 * ms / (files * users))))
        slope1 = (press[10000] - press[1000]) / 9000
        slope2 = (press[100000] - press[10000]) / 90000
        rows.append(("Install growth: time a further request", "", "",
                     "%.2f us (1,000 to 10,000), %.2f us (10,000 to 100,000): linear when alike" % (
                         1000 * slope1, 1000 * slope2)))
    finally:
        shutil.rmtree(work, ignore_errors=True)

    commit = subprocess.run(["git", "-C", str(SOURCE), "rev-parse", "--short", "HEAD"], capture_output=True,
                            text=True).stdout.strip() or "unknown"
    cpu = next((l.split(":", 1)[1].strip() for l in open("/proc/cpuinfo") if l.startswith("model name")), "?")
    wine = subprocess.run([str(WINE_RUN), "--version"], capture_output=True, text=True).stdout.strip()
    arch = os.environ.get("SORVANIL_ARCH", "win64")
    mode = subprocess.run(["bash", str(SOURCE / "tools" / "i386-mode.sh")], capture_output=True,
                          text=True).stdout.strip()
    if mode == "emulated":
        how = ("**under emulation**: this kernel runs no i386 programs, so Wine's 32-bit side ran through qemu "
               "user-mode emulation. The times are no native figures; the ratios against the baseline, measured "
               "in the same run, still compare.")
    else:
        how = "natively: the kernel ran Wine's 32-bit side itself."
    header = ["# Benchmarks", "",
              "Measured %s on commit %s: %s, %d cores, %s, %s %s, a %s Wine prefix, %s" % (
                  datetime.date.today().isoformat(), commit, cpu, os.cpu_count(), wine, platform.system(),
                  platform.release(), arch, how),
              "Times run from the process's start (or the INSTALL click) to the dialog (or the message) being",
              "shown with the program waiting for input, taken inside the Wine session by tests/bench/launcher.exe.",
              "Each baseline is measured in the same run, alternating with the program.", ""]
    table = ["| measure | Sorvanil.exe | baseline | comparison |", "|---|---|---|---|"]
    table += ["| %s | %s | %s | %s |" % row for row in rows]
    text = "\n".join(header + table) + "\n"
    print(text)
    docs = SOURCE / "docs"
    docs.mkdir(exist_ok=True)
    (docs / "benchmarks.md").write_text(text)
    # The README shows the same table between its markers.
    readme = SOURCE / "README.md"
    start, end = "<!-- benchmarks -->", "<!-- /benchmarks -->"
    body = readme.read_text()
    if start in body and end in body:
        head, rest = body.split(start, 1)
        body = head + start + "\n" + "\n".join(header[2:] + table) + "\n" + end + rest.split(end, 1)[1]
        readme.write_text(body)


if __name__ == "__main__":
    main()
