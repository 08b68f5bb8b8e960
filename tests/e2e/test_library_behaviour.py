"""An Install Aide that behaves as real libraries may: it shows a window of its own, runs the
program's messages while it works, takes its time, or reports an absurd number of users.
Whatever it and the person do meanwhile, each pair is requested once and exactly one true
outcome message follows the last request."""
import pytest

from constants import READY, VK_ESCAPE, VK_RETURN
from harness import centre

FAILED = b"Installation failed: Files could not be queued.\n\n"
LIBRARY_TITLE = "Install Aide".encode()


def library_box(r):
    """The Install Aide's own message box (unowned, titled "Install Aide")."""
    hwnd = int(r.probe.ask("find %d %s" % (20000, LIBRARY_TITLE.hex()), timeout=60))
    assert hwnd, "the library's message box did not appear"
    return hwnd


def finish_once(r, text):
    """The one outcome message: its text, OK by a real click, the program ends, no other."""
    box = r.wait_message()
    assert box["text"] == text
    r.confirm(box)
    assert r.wait_exit() == 0


def pairs_once(r, expected):
    installs = r.installs()
    assert len(installs) == len(set(installs)), "a pair was requested twice"
    assert sorted(installs) == sorted(expected)


def test_install_and_exit_pressed_while_the_library_shows_its_own_box(run):
    r = run(users=["Ann", "Bob"], files=["a.prc", "b.prc"], script="install-msgbox\n")
    r.click_control(1)
    box = library_box(r)
    # The person presses INSTALL again, EXIT, then the close box, with real clicks.
    install, leave = (centre(r.probe.child(r.hwnd, i)["rect"]) for i in (1, 2))
    left, top, right, bottom = r.dialog()["rect"]
    for x, y in (install, leave, (right - 12, top + 12)):
        r.probe.click(x, y)
    assert r.probe.message_box(r.hwnd, 0) is None, "an outcome came while a request was outstanding"
    assert r.probe.alive(r.hwnd) and r.proc.poll() is None
    # The library's own box still works.
    r.probe.click(*centre(r.probe.child(box, 1)["rect"]))
    finish_once(r, READY)
    pairs_once(r, [(u, f) for u in (b"Ann", b"Bob") for f in (b"a.prc", b"b.prc")])


def test_install_and_exit_clicked_while_the_library_runs_the_programs_messages(run):
    r = run(users=["Ann", "Bob"], files=["a.prc"], script="install-pump 2000\ninstall -1\n")
    r.click_control(1)
    assert r.wait_until(lambda: r.calls("Busy"), timeout=30), "no request started"
    r.click_control(1)
    r.click_control(2)
    finish_once(r, FAILED + b"a.prc for Ann\na.prc for Bob")
    pairs_once(r, [(b"Ann", b"a.prc"), (b"Bob", b"a.prc")])


def test_keys_typed_during_slow_requests_do_not_dismiss_the_outcome(run):
    r = run(users=["Ann"], files=["a.prc", "b.prc", "c.prc"], script="install-delay 700\ninstall -1\n")
    r.click_control(1)
    assert r.wait_until(lambda: r.calls("Busy"), timeout=30), "no request started"
    r.probe.key(VK_RETURN)
    r.probe.key(VK_ESCAPE)
    r.probe.key(VK_RETURN)
    box = r.wait_message()
    assert box["text"].startswith(FAILED)
    # Still on screen a second later: the keys typed meanwhile did not reach it.
    assert not r.wait_until(lambda: r.probe.message_box(r.hwnd, 0) is None, timeout=1)
    assert r.probe.message_box(r.hwnd, 0)["hwnd"] == box["hwnd"]
    # The pointer showed the program busy during every request.
    assert r.calls("Busy") == ["Busy cursor=wait"] * 3
    r.confirm(box)
    assert r.wait_exit() == 0
    pairs_once(r, [(b"Ann", f) for f in (b"a.prc", b"b.prc", b"c.prc")])


def test_an_absurd_user_count_still_opens_the_dialog_with_the_first_users(run):
    r = run(users=["Ann", "Bob"], files=["a.prc"], script="count 2147483647\ngenerated\n", open_timeout=120,
            heap_validated=False)
    info = r.list_info()
    assert info["count"] == 10000
    assert info["items"][0]["text"] == b"User 9999"
    assert [i["text"] for i in info["items"][-2:]] == [b"Bob", b"Ann"]
    assert len(r.calls("UserName")) == 10000
    r.probe.key(VK_ESCAPE)
    assert r.wait_exit() == 0


def test_a_program_path_longer_than_max_path_still_titles_its_messages(run):
    r = run(users=["Ann"], files=["a.prc"], bin_dir="/".join(["d" * 120] * 3))
    assert len(str(r.bin / "Sorvanil.exe")) > 260
    r.probe.key(VK_RETURN)
    box = r.wait_message()
    assert box["title"] == b"Sorvanil"
    r.confirm(box)
    assert r.wait_exit() == 0
