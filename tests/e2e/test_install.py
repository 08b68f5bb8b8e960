"""The install command through the real program: checks, search, requests, outcome messages."""
import time

from constants import NO_USERS, NOT_FOUND, NOT_SELECTED, READY, VK_RETURN

USERS = ["Ann", "Bob", "Cy"]   # listed Cy, Bob, Ann from the top
OTHERS = b"The other files will be transferred next time user performs a hotsync."


def install(r):
    """Presses INSTALL and returns the message box that answers."""
    r.click_control(1)
    return r.wait_message()


def assert_message_box(box, text, title=b"Sorvanil"):
    assert box["text"] == text
    assert box["title"] == title
    assert box["icon"] == 0
    assert box["owner_enabled"] == 0   # owned by the dialog, which waits
    assert [b["text"] for b in box["buttons"]] == [b"OK"]


def finish(r, box, text, title=b"Sorvanil"):
    """Checks the final message, confirms it, and sees the program end."""
    assert_message_box(box, text, title)
    r.confirm(box)
    assert r.wait_exit() == 0


def test_two_files_for_two_checked_users_of_three(run, probe):
    r = run(users=USERS, files=["b.prc", "a.prc"])
    r.click_box(1)   # Bob off
    assert r.wait_until(lambda: r.entries() == [(b"Cy", 1), (b"Bob", 0), (b"Ann", 1)])
    order = [name for name, _ in probe.files(r.work)]
    assert sorted(order) == [b"a.prc", b"b.prc"]

    finish(r, install(r), READY)
    assert r.installs() == [(b"Ann", order[0]), (b"Cy", order[0]), (b"Ann", order[1]), (b"Cy", order[1])]


def test_empty_user_list(run):
    r = run(users=[], files=["a.prc"])
    assert r.entries() == []
    finish(r, install(r), NO_USERS)
    assert r.installs() == []


def test_no_user_selected_keeps_the_dialog_for_another_try(run):
    r = run(users=USERS, files=["a.prc"])
    for index in range(3):
        r.click_box(index)
    assert r.wait_until(lambda: [c for _, c in r.entries()] == [0, 0, 0])

    box = install(r)
    assert_message_box(box, NOT_SELECTED)
    r.confirm(box)
    time.sleep(1)
    assert r.proc.poll() is None and r.probe.alive(r.hwnd)
    assert r.installs() == []

    r.click_box(0)   # Cy on
    assert r.wait_until(lambda: r.entries()[0] == (b"Cy", 1))
    finish(r, install(r), READY)
    assert r.installs() == [(b"Cy", b"a.prc")]


def test_no_application_file(run):
    r = run(users=USERS, files=["readme.txt", "a.prc.bak"])
    finish(r, install(r), NOT_FOUND)
    assert r.installs() == []


def test_only_directories_match(run):
    r = run(users=USERS, files=["notes.txt"], dirs=["old.prc", "new.PRC"])
    finish(r, install(r), NOT_FOUND)
    assert r.installs() == []


def test_a_matching_directory_is_skipped_and_upper_case_is_found(run):
    r = run(users=["Ann"], files=["APP.PRC"], dirs=["old.prc"])
    finish(r, install(r), READY)
    assert r.installs() == [(b"Ann", b"APP.PRC")]


def test_enter_right_after_opening_installs_for_every_user(run):
    r = run(users=USERS, files=["a.prc"])
    r.probe.key(VK_RETURN)
    finish(r, r.wait_message(), READY)
    assert r.installs() == [(b"Ann", b"a.prc"), (b"Bob", b"a.prc"), (b"Cy", b"a.prc")]


def test_a_renamed_program_titles_its_messages_with_its_own_name(run):
    r = run(users=USERS, files=["a.prc"], exe_name="Setup Palm.exe")
    finish(r, install(r), READY, title=b"Setup Palm")


def test_every_request_failing(run):
    r = run(users=["Ann", "Bob"], files=["a.prc"], script="install -1\n")
    finish(r, install(r), b"Installation failed: Files could not be queued.\n\na.prc for Ann\na.prc for Bob")
    assert len(r.installs()) == 2


def test_some_requests_failing(run, probe):
    r = run(users=["Ann", "Bob"], files=["a.prc", "b.prc"], script="install-user Bob -3\ninstall-file b.prc -2\n")
    order = [name for name, _ in probe.files(r.work)]
    failed = [b"%s for Bob" % order[0], b"b.prc for Ann", b"b.prc for Bob"]
    failed.sort(key=lambda line: order.index(line.split(b" for ")[0]))
    finish(r, install(r), b"Installation incomplete: Some files could not be queued.\n\n" + b"\n".join(failed) +
           b"\n\n" + OTHERS)
    assert len(r.installs()) == 4   # every pair was still asked for


def test_more_than_ten_failures_are_counted(run, probe):
    files = ["f%02d.prc" % i for i in range(12)]
    r = run(users=["Ann", "Bob"], files=files, script="install-user Ann -1\n")
    order = [name for name, _ in probe.files(r.work)]
    lines = [b"%s for Ann" % name for name in order[:10]]
    finish(r, install(r), b"Installation incomplete: Some files could not be queued.\n\n" + b"\n".join(lines) +
           b"\nand 2 more.\n\n" + OTHERS)
    assert len(r.installs()) == 24


def test_positive_results_are_success(run):
    r = run(users=["Ann"], files=["a.prc"], script="install 5\n")
    finish(r, install(r), READY)


def test_names_outside_ascii_pass_byte_for_byte(run):
    # The user "Jörg" and the file "café.prc", in the ANSI code page 1252.
    r = run(users=[b"J\xf6rg"], files=["café.prc".encode()])
    assert r.entries() == [(b"J\xf6rg", 1)]
    finish(r, install(r), READY)
    assert r.installs() == [(b"J\xf6rg", b"caf\xe9.prc")]


def test_same_user_twice_gets_every_file_twice(run):
    r = run(users=["Ann", "Ann"], files=["a.prc"])
    finish(r, install(r), READY)
    assert r.installs() == [(b"Ann", b"a.prc"), (b"Ann", b"a.prc")]
