"""End-to-end bench: the real Sorvanil.exe under Wine, with the Install Aide test double
beside it, driven by real input through probe.exe and read back from its windows."""
import os
import select
import shutil
import subprocess
import time
from pathlib import Path

import pytest

BUILD = Path(os.environ.get("SORVANIL_BUILD", "build")).resolve()
SOURCE = Path(os.environ.get("SORVANIL_SOURCE", Path(__file__).resolve().parents[2]))
CAPTION = b"Drestovane Handheld Computer Application Install"

READY = b"Installation ready.  Files will be transferred next time user performs a hotsync."
NO_USERS = b"Installation failed: No users found."
NOT_SELECTED = b"Installation failed: No users selected."
NOT_FOUND = b"Installation failed: Application files not found (*.PRC)."

VK_RETURN, VK_ESCAPE, VK_SPACE, VK_SHIFT, VK_CONTROL = 0x0D, 0x1B, 0x20, 0x10, 0x11
VK_MENU, VK_F4, VK_TAB, VK_DOWN, VK_UP = 0x12, 0x73, 0x09, 0x28, 0x26

# A separate click on the same spot must not join the one before into a double click.
CLICK_GAP = 0.6


def wine_env():
    env = dict(os.environ)
    env.setdefault("WINEPREFIX", str(BUILD / "wineprefix"))
    env.setdefault("WINEDEBUG", "-all")
    env.setdefault("WINEDLLOVERRIDES", "mscoree=d;mshtml=d;winedbg.exe=d;winemenubuilder.exe=d")
    return env


def winpath(path):
    return "Z:" + str(path).replace("/", "\\")


def rect(text):
    return tuple(int(v) for v in text.split(","))


def centre(r):
    return (r[0] + r[2]) // 2, (r[1] + r[3]) // 2


class Probe:
    """probe.exe, one command a line, one answer a line."""

    def __init__(self):
        self.proc = subprocess.Popen(["wine", str(BUILD / "tests" / "probe.exe")], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=wine_env())
        self.buffer = b""

    def ask(self, command, timeout=30):
        self.proc.stdin.write(command.encode() + b"\n")
        self.proc.stdin.flush()
        deadline = time.monotonic() + timeout
        while b"\n" not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0:
                raise TimeoutError("probe gave no answer to %r" % command)
            ready, _, _ = select.select([self.proc.stdout], [], [], left)
            if ready:
                chunk = os.read(self.proc.stdout.fileno(), 65536)
                if not chunk:
                    raise RuntimeError("probe ended")
                self.buffer += chunk
        line, self.buffer = self.buffer.split(b"\n", 1)
        return line.decode().strip()

    def close(self):
        try:
            self.ask("quit", timeout=5)
        except (TimeoutError, RuntimeError, BrokenPipeError):
            pass
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait(timeout=10)

    # --- reading windows -------------------------------------------------------------------
    def find_dialog(self, timeout_ms=15000):
        return int(self.ask("find %d %s" % (timeout_ms, CAPTION.hex()), timeout=timeout_ms / 1000 + 10))

    def dialog(self, hwnd):
        fields = self.ask("dialog %d" % hwnd).split(" ")
        info = {"children": []}
        for field in fields:
            key, value = field.split("=", 1)
            if key == "child":
                cid, cls, text, r, visible = value.split(":")
                info["children"].append({"id": int(cid), "class": cls, "text": bytes.fromhex(text),
                                         "rect": rect(r), "visible": visible == "1"})
            elif key == "title":
                info[key] = bytes.fromhex(value)
            elif key in ("rect", "client"):
                info[key] = rect(value)
            else:
                info[key] = int(value)
        return info

    def child(self, hwnd, control_id):
        for c in self.dialog(hwnd)["children"]:
            if c["id"] == control_id:
                return c
        raise KeyError(control_id)

    def list(self, list_hwnd):
        info = {"items": []}
        for field in self.ask("list %d" % list_hwnd).split(" "):
            key, value = field.split("=", 1)
            if key == "item":
                text, check, sel, r = value.split(":")
                info["items"].append({"text": bytes.fromhex(text), "check": int(check), "sel": int(sel),
                                      "rect": rect(r)})
            elif key == "client":
                info[key] = rect(value)
            else:
                info[key] = int(value)
        return info

    def message_box(self, owner, timeout_ms=10000):
        answer = self.ask("msgbox %d %d" % (timeout_ms, owner), timeout=timeout_ms / 1000 + 10)
        if answer == "none":
            return None
        box = {"buttons": []}
        for field in answer.split(" "):
            key, value = field.split("=", 1)
            if key == "button":
                bid, text, r = value.split(":")
                box["buttons"].append({"id": int(bid), "text": bytes.fromhex(text), "rect": rect(r)})
            elif key in ("title", "text"):
                box[key] = bytes.fromhex(value)
            else:
                box[key] = int(value)
        return box

    def files(self, directory, pattern="*.prc"):
        answer = self.ask("files %s %s" % (winpath(directory).encode().hex(), pattern)).split(" ")[1:]
        return [(bytes.fromhex(name), kind) for name, kind in (a.split(":") for a in answer)]

    def workarea(self):
        return rect(self.ask("workarea"))

    def alive(self, hwnd):
        return self.ask("alive %d" % hwnd) == "1"

    # --- real input ------------------------------------------------------------------------
    def click(self, x, y):
        self.ask("click %d %d" % (x, y))

    def shift_click(self, x, y):
        """A click with Shift held. Wine takes the modifiers' state from the X server at
        every pointer event, so Shift is held on the X keyboard (XTEST) around the click."""
        subprocess.run(["xdotool", "keydown", "shift"], check=True, timeout=10)
        try:
            time.sleep(0.1)
            self.click(x, y)
            time.sleep(0.1)
        finally:
            subprocess.run(["xdotool", "keyup", "shift"], check=True, timeout=10)

    def dblclick(self, x, y):
        self.ask("dblclick %d %d" % (x, y))

    def key(self, *vks):
        self.ask("key " + " ".join(str(vk) for vk in vks))


IFEO = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\Image File Execution Options"
PROGRAM_NAMES = ("Sorvanil.exe", "Setup Palm.exe")


def heap_checking():
    return "heap" in os.environ.get("WINEDEBUG", "")


@pytest.fixture(scope="session", autouse=True)
def heap_validation():
    """With WINEDEBUG=warn+heap, every heap operation of the program is validated too:
    Wine reports heap errors on its err channel, but checks blocks only when the program's
    GlobalFlag asks for it (tail, free and parameter checks, validate all: 0xF0)."""
    if not heap_checking():
        yield
        return
    for name in PROGRAM_NAMES:
        subprocess.run(["wine", "reg", "add", IFEO + "\\" + name, "/v", "GlobalFlag", "/t", "REG_DWORD",
                        "/d", "0xF0", "/f"], env=wine_env(), capture_output=True, timeout=60, check=True)
    yield
    for name in PROGRAM_NAMES:
        subprocess.run(["wine", "reg", "delete", IFEO + "\\" + name, "/f"], env=wine_env(), capture_output=True,
                       timeout=60)


@pytest.fixture(scope="session")
def probe():
    p = Probe()
    yield p
    p.close()


class Run:
    """One run of the program in a folder of its own, with the double set up."""

    def __init__(self, root, probe, users=(), script="", files=(), dirs=(), exe_name="Sorvanil.exe", args=()):
        self.probe = probe
        self.bin = root / "bin"
        self.work = root / "work"
        self.bin.mkdir(parents=True)
        self.work.mkdir(parents=True)
        shutil.copy(BUILD / "Sorvanil.exe", self.bin / exe_name)
        shutil.copy(BUILD / "double" / "INSTAIDE.dll", self.bin / "INSTAIDE.dll")
        for name in files:
            name = name if isinstance(name, bytes) else name.encode()
            (self.work / os.fsdecode(name)).write_bytes(b"PRC " + name)
        for name in dirs:
            (self.work / name).mkdir()
        self.config = root / "double.txt"
        self.log = root / "double.log"
        lines = [b"user " + escape(u if isinstance(u, bytes) else u.encode("cp1252")) for u in users]
        self.config.write_bytes(b"\n".join(lines) + b"\n" + script.encode())
        env = wine_env()
        env["INSTAIDE_DOUBLE_CONFIG"] = winpath(self.config)
        env["INSTAIDE_DOUBLE_LOG"] = winpath(self.log)
        self.stderr = root / "stderr.txt"
        with open(self.stderr, "wb") as stderr:
            self.proc = subprocess.Popen(["wine", str(self.bin / exe_name), *args], cwd=self.work, env=env,
                                         stdout=subprocess.DEVNULL, stderr=stderr)
        self.hwnd = None
        self.list_hwnd = None
        self.hwnd = probe.find_dialog()
        if not self.hwnd:
            self.kill()
            raise AssertionError("the install dialog did not open")
        # Ready for input: the dialog is in front and its thread waits for messages.
        self.wait_until(lambda: self.dialog()["foreground"] == 1, timeout=10)
        probe.ask("idle %d 5000" % self.hwnd)

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
        if not self.log.exists():
            return []
        lines = self.log.read_bytes().decode("latin-1").splitlines()
        return [l for l in lines if kind is None or l.startswith(kind)]

    def installs(self):
        """(user, file) of every InstallFile call, as bytes."""
        result = []
        for line in self.calls("InstallFile"):
            user = line.split('user="', 1)[1].split('" file="', 1)[0]
            file = line.split('file="', 1)[1].rsplit('" -> ', 1)[0]
            result.append((unescape(user), unescape(file)))
        return result

    # --- real input ----------------------------------------------------------------------------
    def click_control(self, control_id):
        self.probe.click(*centre(self.probe.child(self.hwnd, control_id)["rect"]))

    def click_box(self, index):
        r = self.items()[index]["rect"]
        self.probe.click(r[0] + 8, (r[1] + r[3]) // 2)

    def click_text(self, index):
        r = self.items()[index]["rect"]
        self.probe.click(r[0] + 60, (r[1] + r[3]) // 2)

    def wait_message(self, timeout_ms=10000):
        box = self.probe.message_box(self.hwnd, timeout_ms)
        assert box is not None, "no message box appeared"
        return box

    def confirm(self, box):
        """Presses the message box's OK button with a real click."""
        assert [b["text"] for b in box["buttons"]] == [b"OK"]
        self.probe.click(*centre(box["buttons"][0]["rect"]))

    def wait_exit(self, timeout=15):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise AssertionError("the program did not end")

    def wait_until(self, condition, timeout=5):
        deadline = time.monotonic() + timeout
        while True:
            value = condition()
            if value or time.monotonic() > deadline:
                return value
            time.sleep(0.1)

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait(timeout=10)
        # A killed program's windows linger a moment; the next run must not find them.
        if self.hwnd:
            self.wait_until(lambda: not self.probe.alive(self.hwnd), timeout=10)


def escape(name):
    out = b""
    for c in name:
        out += b"\\\\" if c == 0x5C else (bytes([c]) if 32 <= c < 127 else b"\\x%02X" % c)
    return out


def unescape(text):
    out, i = b"", 0
    while i < len(text):
        if text[i] == "\\" and text[i + 1] == "x":
            out += bytes([int(text[i + 2:i + 4], 16)])
            i += 4
        else:
            out += text[i].encode("latin-1")
            i += 1
    return out


@pytest.fixture
def run(tmp_path, probe):
    """Starts the program: run(users=[...], files=[...], ...). Ends whatever it started."""
    started = []

    def start(**kwargs):
        r = Run(tmp_path / ("run%d" % len(started)), probe, **kwargs)
        started.append(r)
        return r

    yield start
    for r in started:
        r.kill()
    # With heap checking, Wine reports every heap error it finds in the program.
    if heap_checking():
        for r in started:
            problems = [l for l in r.stderr.read_bytes().decode("latin-1").splitlines() if ":heap:" in l]
            assert not problems, "heap errors:\n" + "\n".join(problems[:20])
