"""What a screen reader hears of the user list and does with it, asked from another process
through Active Accessibility, as a screen reader asks."""
from constants import READY

ROLE_SYSTEM_LIST, ROLE_SYSTEM_CHECKBUTTON = 0x21, 0x2C
STATE_SELECTED, STATE_FOCUSED, STATE_CHECKED = 0x2, 0x4, 0x10
STATE_FOCUSABLE, STATE_SELECTABLE = 0x100000, 0x200000
OBJID_CLIENT = -4
USERS = ["Ann", "Bob", "Cy"]   # listed Cy, Bob, Ann from the top


def accessible(r):
    answer = r.probe.ask("acc %d" % r.list_handle())
    assert not answer.startswith("error"), answer
    info = {"children": []}
    for field in answer.split(" "):
        key, value = field.split("=", 1)
        if key == "child":
            name, role, state, action = value.split(":")
            info["children"].append({"name": bytes.fromhex(name), "role": int(role), "state": int(state),
                                     "action": bytes.fromhex(action)})
        else:
            info[key] = int(value)
    return info


def heard(r, child):
    """Waits for the state-change event of that child (id: position + 1) of the list."""
    target, seen = "%d:%d:%d" % (r.list_handle(), OBJID_CLIENT, child), []

    def poll():
        seen.extend(r.probe.ask("events 2000", timeout=30).split(" ")[1:])
        return target in seen
    return r.wait_until(poll, timeout=30)


def test_every_user_is_heard_with_its_check_state(run):
    r = run(users=USERS)
    r.click_text(1)   # Bob selected, with the caret
    assert r.wait_until(lambda: r.list_info()["caret"] == 1)
    r.click_box(1)    # Bob off
    assert r.wait_until(lambda: r.entries()[1] == (b"Bob", 0))

    acc = accessible(r)
    assert acc["count"] == 3 and acc["role"] == ROLE_SYSTEM_LIST
    children = acc["children"]
    assert [c["name"] for c in children] == [b"Cy", b"Bob", b"Ann"]
    assert all(c["role"] == ROLE_SYSTEM_CHECKBUTTON for c in children)
    assert [bool(c["state"] & STATE_CHECKED) for c in children] == [True, False, True]
    assert [c["action"] for c in children] == [b"Uncheck", b"Check", b"Uncheck"]
    assert all(c["state"] & STATE_SELECTABLE and c["state"] & STATE_FOCUSABLE for c in children)
    # The list as it stands: the caret (and the focus) on Bob.
    items = r.items()
    assert [bool(c["state"] & STATE_SELECTED) for c in children] == [i["sel"] > 0 for i in items]
    assert [bool(c["state"] & STATE_FOCUSED) for c in children] == [False, True, False]


def test_a_screen_reader_unchecks_a_user_hears_it_and_the_install_follows(run):
    r = run(users=USERS, files=["a.prc"])
    pid = r.probe.ask("pid %d" % r.hwnd)
    assert r.probe.ask("hook %s" % pid) == "1"

    assert r.probe.ask("accdo %d 2" % r.list_handle()) == "0"   # Bob, the second entry
    assert r.wait_until(lambda: r.entries() == [(b"Cy", 1), (b"Bob", 0), (b"Ann", 1)])
    assert heard(r, 2)
    assert [c["action"] for c in accessible(r)["children"]] == [b"Uncheck", b"Check", b"Uncheck"]

    # A click on a box is announced as well.
    r.click_box(0)
    assert r.wait_until(lambda: r.entries()[0] == (b"Cy", 0))
    assert heard(r, 1)

    r.click_control(1)
    box = r.wait_message()
    assert box["text"] == READY
    r.confirm(box)
    assert r.wait_exit() == 0
    assert r.installs() == [(b"Ann", b"a.prc")]
