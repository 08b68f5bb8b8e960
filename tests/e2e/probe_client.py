"""The client of probe.exe, the tests' eyes and hands inside the Wine session.

Each question carries a tag and only the answer with that tag is taken, so an answer that
comes after its question timed out can never be read as the answer to a later one. A
client that timed out is broken: the harness ends it and starts a fresh probe."""
import itertools
import os
import select
import subprocess
import time

from constants import CAPTION
from harness import BUILD, bound, wine_command, winpath

# Two clicks on the same spot closer than the double-click time (500 ms) would merge.
CLICK_GAP = 0.6


def rect(text):
    return tuple(int(v) for v in text.split(","))


class Probe:
    """probe.exe, one command a line, one answer a line."""

    def __init__(self):
        self.proc = subprocess.Popen(wine_command(BUILD / "tests" / "probe.exe"), stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.buffer = b""
        self.tags = itertools.count(1)
        self.broken = False
        self.last_click = 0.0

    def ask(self, command, timeout=None):
        """Sends one command and returns its answer; TimeoutError after `timeout` seconds
        (scaled to this machine's speed; 60 when not given)."""
        tag = "#%d" % next(self.tags)
        self.proc.stdin.write(("%s %s\n" % (tag, command)).encode())
        self.proc.stdin.flush()
        deadline = time.monotonic() + bound(60 if timeout is None else timeout)
        while True:
            while b"\n" in self.buffer:
                line, self.buffer = self.buffer.split(b"\n", 1)
                head, _, answer = line.decode().strip().partition(" ")
                if head == tag:
                    return answer
                # An answer to a question asked before, which its asker gave up on.
            left = deadline - time.monotonic()
            if left <= 0:
                self.broken = True
                raise TimeoutError("probe gave no answer to %r in time" % command)
            ready, _, _ = select.select([self.proc.stdout], [], [], left)
            if ready:
                chunk = os.read(self.proc.stdout.fileno(), 65536)
                if not chunk:
                    self.broken = True
                    raise RuntimeError("probe ended")
                self.buffer += chunk

    def close(self):
        if not self.broken:
            try:
                self.ask("quit", timeout=10)
            except (TimeoutError, RuntimeError, BrokenPipeError):
                pass
        try:
            self.proc.stdin.close()
        except BrokenPipeError:
            pass
        try:
            self.proc.wait(timeout=bound(20))
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()

    # --- reading windows -------------------------------------------------------------------
    def find_dialog(self, timeout_ms=60000, scaled=True):
        """The install dialog's handle, or 0 when none opened within the bound (scaled to
        this machine's speed unless told otherwise)."""
        timeout_ms = int(bound(timeout_ms) if scaled else timeout_ms)
        return int(self.ask("find %d %s" % (timeout_ms, CAPTION.hex()), timeout=timeout_ms / 1000 + 30))

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

    def message_box(self, owner, timeout_ms=20000):
        """The message box owned by `owner`, or None when none came within the bound
        (0: only look)."""
        timeout_ms = int(bound(timeout_ms))
        answer = self.ask("msgbox %d %d" % (timeout_ms, owner), timeout=timeout_ms / 1000 + 30)
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
            elif key == "rect":
                box[key] = rect(value)
            else:
                box[key] = int(value)
        return box

    def files(self, directory, pattern="*.prc"):
        """(name, kind) of each match of the ANSI search, in its order."""
        return [(name, kind) for name, kind, _ in self.files_with_aliases(directory, pattern)]

    def files_with_aliases(self, directory, pattern="*.prc"):
        """(name, kind, 8.3 alias) of each match of the ANSI search, in its order."""
        answer = self.ask("files %s %s" % (winpath(directory).encode().hex(), pattern)).split(" ")[1:]
        return [(bytes.fromhex(n), k, bytes.fromhex(alias)) for n, k, alias in (a.split(":") for a in answer)]

    def workarea(self):
        return rect(self.ask("workarea"))

    def alive(self, hwnd):
        return self.ask("alive %d" % hwnd) == "1"

    # --- real input ------------------------------------------------------------------------
    def _apart(self):
        """Keeps this click apart from the one before, so that the two never merge."""
        wait = self.last_click + CLICK_GAP - time.monotonic()
        if wait > 0:
            time.sleep(wait)

    def click(self, x, y):
        self._apart()
        self.ask("click %d %d" % (x, y))
        self.last_click = time.monotonic()

    def shift_click(self, x, y):
        """A click with Shift held. Wine takes the modifiers' state from the X server at
        every pointer event, so Shift is held on the X keyboard (XTEST) around the click."""
        subprocess.run(["xdotool", "keydown", "shift"], check=True, timeout=bound(10))
        try:
            time.sleep(0.1)
            self.click(x, y)
            time.sleep(0.1)
        finally:
            subprocess.run(["xdotool", "keyup", "shift"], check=True, timeout=bound(10))

    def dblclick(self, x, y):
        self._apart()
        self.ask("dblclick %d %d" % (x, y))
        self.last_click = time.monotonic()

    def key(self, *vks):
        self.ask("key " + " ".join(str(vk) for vk in vks))
