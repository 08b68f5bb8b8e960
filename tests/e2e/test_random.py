"""Random clicks and keys on the dialog, from a fixed seed (SORVANIL_SEED to replay one).
Whatever happens, the program ends normally or still shows its dialog, every message is
one of the outcome messages, every request names a listed user and a file of the folder,
and no pair is asked for twice. When a run ends, the next one starts, until the events are
spent."""
import os
import random
import time

from harness import bound
from constants import (NO_USERS, NOT_FOUND, NOT_SELECTED, READY, VK_DOWN, VK_ESCAPE, VK_RETURN, VK_SPACE, VK_TAB,
                      VK_UP)

EVENTS = 150
MAX_RUNS = 10
FIRST_LINES = {t.split(b"\n")[0] for t in (NO_USERS, NOT_SELECTED, NOT_FOUND, READY)} | {
    b"Installation incomplete: Some files could not be queued."}
USERS = ["Ann", "Bob", "Cy", "Dee", "Eve"]
FILES = ["a.prc", "b.prc"]


def random_run(run, rng, seed, budget):
    r = run(users=USERS, files=FILES, script="install-user Cy -1\n")
    left, top, right, bottom = r.dialog()["rect"]
    seen, sent = [], 0
    while sent < budget and r.proc.poll() is None:
        box = r.probe.message_box(r.hwnd, 0)
        if box is not None and box["text"] == b"":
            # Caught while it was being built or taken down: look again.
            time.sleep(0.3)
            box = r.probe.message_box(r.hwnd, 0)
        if box is not None and box["hwnd"] not in seen:
            seen.append(box["hwnd"])
            assert box["text"].split(b"\n")[0] in FIRST_LINES, (seed, box["text"])
        sent += 1
        kind = rng.choice(["click"] * 5 + ["dblclick"] * 2 + ["key"] * 4)
        x, y = rng.randrange(left + 4, right - 4), rng.randrange(top + 4, bottom - 4)
        if kind == "click":
            r.probe.click(x, y)
        elif kind == "dblclick":
            r.probe.dblclick(x, y)
        else:
            r.probe.key(rng.choice([VK_SPACE, VK_SPACE, VK_TAB, VK_UP, VK_DOWN, VK_RETURN, VK_ESCAPE]))

    if r.proc.poll() is None:
        assert r.probe.alive(r.hwnd), (seed, "running without its dialog")
    else:
        assert r.proc.wait(timeout=bound(10)) == 0, (seed, "did not end normally")
    installs = r.installs()
    assert all(u.decode() in USERS and f.decode() in FILES for u, f in installs), (seed, installs)
    assert len(installs) == len(set(installs)), (seed, "a pair was asked for twice")
    print("run: %d events, %d messages, %d requests" % (sent, len(seen), len(installs)))
    r.kill()
    return sent


def test_random_input_on_the_dialog(run):
    seed = int(os.environ.get("SORVANIL_SEED", "20261211"))
    print("random input seed: %d (set SORVANIL_SEED to replay)" % seed)
    rng = random.Random(seed)
    left = EVENTS
    for _ in range(MAX_RUNS):
        if left <= 0:
            break
        left -= random_run(run, rng, seed, left)
