"""What the Install Aide or the folder may hand the program: it must neither crash, hang,
nor read outside its name buffer, and must still say what happened."""
import pytest

from constants import NO_USERS, READY, VK_RETURN

LONG = "L" * 255
LONG_FILE = "f" * 251 + ".prc"


def press_enter_and_finish(r, timeout_ms=60000):
    r.probe.key(VK_RETURN)
    box = r.wait_message(timeout_ms)
    r.confirm(box)
    assert r.wait_exit(timeout=60) == 0, "ended normally, not by a crash"
    return box["text"]


@pytest.mark.parametrize("count", [-1, 0, -2147483648])
def test_no_usable_user_count(run, count):
    r = run(users=["Ann"], files=["a.prc"], script="count %d\n" % count)
    assert r.entries() == []
    assert press_enter_and_finish(r) == NO_USERS
    assert r.installs() == []


def test_names_the_library_mangles(run):
    # Index 0: 255 characters; 1: no terminator; 2: nothing written; 3: size word changed.
    r = run(users=[LONG, "Bob", "Cy", "Dee"], files=["a.prc"],
            script="name 1 unterminated\nname 2 unwritten\nname 3 size=4294967295\nname 0 result=-1\n")
    entries = [text for text, _ in r.entries()]
    assert entries == [b"Dee", b"", b"Bob" + b"#" * 252, LONG.encode()]
    assert press_enter_and_finish(r) == READY
    assert [user for user, _ in r.installs()] == list(reversed(entries))


def test_ten_thousand_users(run):
    users = ["User %05d" % i for i in range(10000)]
    r = run(users=users, files=["a.prc"], open_timeout=120, heap_validated=False)
    info = r.list_info()
    assert info["count"] == 10000
    assert info["items"][0]["text"] == b"User 09999" and info["items"][-1]["text"] == b"User 00000"
    assert press_enter_and_finish(r) == READY
    installs = r.installs()
    assert len(installs) == 10000 and installs[0] == (b"User 00000", b"a.prc")


def test_two_thousand_application_files(run):
    files = ["app%04d.prc" % i for i in range(2000)]
    r = run(users=["Ann", "Bob"], files=files)
    assert press_enter_and_finish(r) == READY
    installs = r.installs()
    assert len(installs) == 4000
    assert sorted(f for u, f in installs if u == b"Ann") == sorted(f.encode() for f in files)


def test_longest_file_name(run):
    r = run(users=["Ann"], files=[LONG_FILE, "b.prc"])
    assert press_enter_and_finish(r) == READY
    assert sorted(r.installs()) == sorted([(b"Ann", LONG_FILE.encode()), (b"Ann", b"b.prc")])


def test_bytes_above_127_everywhere_and_every_request_failing(run):
    r = run(users=[b"\xc0\xff\x80 \xe9t\xe9", b"\xa0"], files=["\u00e9t\u00e9.prc", "\u00ff.prc"],
            script="install -7\n")
    text = press_enter_and_finish(r)
    assert text.startswith(b"Installation failed: Files could not be queued.\n\n")
    assert len(r.installs()) == 4
    assert {u for u, _ in r.installs()} == {b"\xc0\xff\x80 \xe9t\xe9", b"\xa0"}
    assert {f for _, f in r.installs()} == {b"\xe9t\xe9.prc", b"\xff.prc"}
