"""The run harness: where the build is, how Windows programs are started (always through
tools/wine-run, the one place for the Wine settings), how long waits may last on this
machine, and one run of the program with the test double beside it."""
import contextlib
import os
import shutil
import subprocess
import time
from pathlib import Path

import double_protocol

BUILD = Path(os.environ.get("SORVANIL_BUILD", "build")).resolve()
SOURCE = Path(os.environ.get("SORVANIL_SOURCE", Path(__file__).resolve().parents[2]))
WINE_RUN = SOURCE / "tools" / "wine-run"

# Every bound is a generous time for a native machine, multiplied by how much slower this
# machine proved to be when the first dialog of the session opened (under emulation, or
# with heap checking, many times slower). Bounds only end waits that failed anyway.
REFERENCE_OPEN = 2.0   # seconds the first dialog takes to open on a native machine
_scale = 1.0


def bound(seconds):
    return seconds * _scale


def calibrate(first_open_seconds):
    global _scale
    _scale = min(max(first_open_seconds / REFERENCE_OPEN, 1.0), 20.0)
    print("bench: the first dialog opened in %.1f s; waits are bounded at %.1f times the native bounds"
          % (first_open_seconds, _scale))


def wine_command(program, *args):
    return [str(WINE_RUN), str(program), *[str(a) for a in args]]


def wine_env():
    env = dict(os.environ)
    env["SORVANIL_BUILD"] = str(BUILD)
    return env


def winpath(path):
    return "Z:" + str(path).replace("/", "\\")


def private_locale(lang):
    """A locale built into the build folder, so that no system locale is needed."""
    folder = BUILD / "locales"
    if not (folder / lang).exists():
        folder.mkdir(exist_ok=True)
        name, charset = lang.split(".")
        subprocess.run(["localedef", "-i", name, "-f", charset, str(folder / lang)], capture_output=True,
                       timeout=bound(300))
        assert (folder / lang).exists(), "could not build the locale " + lang
    return folder


DPI_KEYS = (r"HKCU\Control Panel\Desktop",
            r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts")


@contextlib.contextmanager
def set_dpi(dpi):
    """The screen's DPI for programs started meanwhile (Wine reads LogPixels as they start)."""
    def reg(*args):
        subprocess.run(wine_command("reg", *args), env=wine_env(), capture_output=True, timeout=bound(120))
    for key in DPI_KEYS:
        reg("add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
    try:
        yield
    finally:
        for key in DPI_KEYS:
            reg("add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", "96", "/f")


def centre(r):
    return (r[0] + r[2]) // 2, (r[1] + r[3]) // 2


class Run:
    """One run of the program in a folder of its own, with the double set up."""

    calibrated = False

    def __init__(self, root, probe, users=(), script="", files=(), dirs=(), exe_name="Sorvanil.exe", args=(),
                 open_timeout=60, bin_dir="bin", program=None, heap_validated=True, lang=None):
        self.probe = probe
        if not heap_validated and exe_name == "Sorvanil.exe":
            # Not among the names the heap-checking prefix validates (tools/wine-run): with
            # 10,000 users, validating the whole heap at every call takes many minutes.
            exe_name = "Sorvanil-scale.exe"
        self.bin = root / bin_dir
        self.work = root / "work"
        self.bin.mkdir(parents=True)
        self.work.mkdir(parents=True)
        shutil.copy(program or BUILD / "Sorvanil.exe", self.bin / exe_name)
        shutil.copy(BUILD / "double" / "INSTAIDE.dll", self.bin / "INSTAIDE.dll")
        for name in files:
            name = name if isinstance(name, bytes) else name.encode()
            (self.work / os.fsdecode(name)).write_bytes(b"PRC " + name)
        for name in dirs:
            (self.work / name).mkdir()
        self.config = root / "double.txt"
        self.log = root / "double.log"
        self.config.write_bytes(double_protocol.config(users, script))
        env = wine_env()
        env["INSTAIDE_DOUBLE_CONFIG"] = winpath(self.config)
        env["INSTAIDE_DOUBLE_LOG"] = winpath(self.log)
        if lang:
            # The program's ANSI code page follows its Unix locale (ja_JP.UTF-8: 932).
            env.pop("LC_ALL", None)
            env["LANG"] = lang
            env["LOCPATH"] = str(private_locale(lang))
        self.stderr = root / "stderr.txt"
        self.hwnd = None
        self.list_hwnd = None
        started = time.monotonic()
        with open(self.stderr, "wb") as stderr:
            self.proc = subprocess.Popen(wine_command(self.bin / exe_name, *args), cwd=self.work, env=env,
                                         stdout=subprocess.DEVNULL, stderr=stderr)
        try:
            # Looked for in slices, so that a program that died is noticed at once.
            deadline = time.monotonic() + bound(open_timeout)
            while not self.hwnd and time.monotonic() < deadline:
                if self.proc.poll() is not None:
                    raise AssertionError("the program ended (exit code %#x) before its dialog opened"
                                         % (self.proc.returncode & 0xFFFFFFFF))
                self.hwnd = probe.find_dialog(2000, scaled=False)
            if not self.hwnd:
                raise AssertionError("the install dialog did not open")
            if not Run.calibrated:
                Run.calibrated = True
                calibrate(time.monotonic() - started)
            # Ready for input: the dialog is in front and its thread waits for messages.
            assert self.wait_until(lambda: self.dialog()["foreground"] == 1, timeout=20), "dialog not in front"
            probe.ask("idle %d %d" % (self.hwnd, bound(10000)), timeout=40)
        except BaseException:
            self.kill()
            raise

    # --- what the program shows and did ------------------------------------------------------
    def dialog(self):
        return self.probe.dialog(self.hwnd)

    def entries(self):
        return [(i["text"], i["check"]) for i in self.items()]

    def items(self):
        return self.list_info()["items"]

    def list_info(self):
        return self.probe.list(self.list_handle())

    def list_handle(self):
        if self.list_hwnd is None:
            self.list_hwnd = int(self.probe.ask("item %d 1001" % self.hwnd))
        return self.list_hwnd

    def calls(self, kind=None):
        return double_protocol.calls(self.log.read_bytes(), kind) if self.log.exists() else []

    def installs(self):
        """(user, file) of every InstallFile call, as bytes."""
        return double_protocol.installs(self.log.read_bytes()) if self.log.exists() else []

    # --- real input ----------------------------------------------------------------------------
    def click_control(self, control_id):
        self.probe.click(*centre(self.probe.child(self.hwnd, control_id)["rect"]))

    def click_box(self, index):
        r = self.items()[index]["rect"]
        self.probe.click(r[0] + 8, (r[1] + r[3]) // 2)

    def click_text(self, index):
        r = self.items()[index]["rect"]
        self.probe.click(r[0] + 60, (r[1] + r[3]) // 2)

    def wait_message(self, timeout_ms=20000):
        box = self.probe.message_box(self.hwnd, timeout_ms)
        assert box is not None, "no message box appeared"
        return box

    def confirm(self, box):
        """Presses the message box's OK button with a real click."""
        assert [b["text"] for b in box["buttons"]] == [b"OK"]
        self.probe.click(*centre(box["buttons"][0]["rect"]))

    def wait_exit(self, timeout=30):
        try:
            return self.proc.wait(timeout=bound(timeout))
        except subprocess.TimeoutExpired:
            self.kill()
            raise AssertionError("the program did not end")

    def wait_until(self, condition, timeout=10):
        """Polls the condition until it holds or the bound passes; returns its last value."""
        deadline = time.monotonic() + bound(timeout)
        while True:
            value = condition()
            if value or time.monotonic() > deadline:
                return value
            time.sleep(0.1)

    def kill(self):
        """Ends the program this run started, by its process id, and waits until it is gone."""
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait()
