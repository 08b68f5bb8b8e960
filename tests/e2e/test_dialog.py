"""The install dialog as the person meets it: layout, the user list, mouse and keyboard."""
import pytest

from constants import CAPTION, VK_DOWN, VK_ESCAPE, VK_F4, VK_MENU, VK_RETURN, VK_SPACE

FIRST_TEXT = b'Install the Drestovane (TM) "Quimbrel Audio Player" software to your Palm m100 handhelds.'
SECOND_TEXT = (b"Select the Palm Desktop (TM) users for which the software should be installed.  "
               b"Files will be installed on the handheld during each users next hotsync.")
USERS = ["Ann", "Bob", "Cy"]


def test_opens_centred_with_its_texts_and_the_focus_on_install(run, probe):
    r = run(users=USERS)
    d = r.dialog()
    assert d["title"] == CAPTION
    texts = [(c["id"] & 0xFFFF, c["class"], c["text"]) for c in d["children"]]
    assert texts == [(1, "Button", b"INSTALL"), (1001, "ListBox", b""), (0xFFFF, "Static", FIRST_TEXT),
                     (0xFFFF, "Static", SECOND_TEXT), (2, "Button", b"EXIT")]
    assert d["focus"] == 1
    assert d["foreground"] == 1

    area = probe.workarea()
    left, top, right, bottom = d["rect"]
    assert abs((left + right) - (area[0] + area[2])) <= 2
    assert abs((top + bottom) - (area[1] + area[3])) <= 2


def test_both_window_icons_are_the_application_icon(run):
    r = run(users=USERS)
    assert r.calls("Window") == ["Window icon_big=app icon_small=app"]


def test_users_listed_highest_index_on_top_all_checked(run):
    r = run(users=USERS)
    assert r.entries() == [(b"Cy", 1), (b"Bob", 1), (b"Ann", 1)]
    assert [c.split(" -> ")[0] for c in r.calls("UserName")] == [
        "UserName index=2 size=256", "UserName index=1 size=256", "UserName index=0 size=256"]


def test_clicking_a_box_toggles_it_and_clicking_the_text_does_not(run):
    r = run(users=USERS)
    r.click_box(1)
    assert r.wait_until(lambda: r.entries()[1] == (b"Bob", 0))
    r.click_box(1)
    assert r.wait_until(lambda: r.entries()[1] == (b"Bob", 1))

    r.click_text(2)
    assert r.wait_until(lambda: r.items()[2]["sel"] > 0)
    assert r.entries() == [(b"Cy", 1), (b"Bob", 1), (b"Ann", 1)]


def test_space_toggles_the_caret_entry(run):
    r = run(users=USERS)
    r.click_text(0)
    assert r.wait_until(lambda: r.list_info()["caret"] == 0)
    r.probe.key(VK_DOWN)
    assert r.wait_until(lambda: r.list_info()["caret"] == 1)
    r.probe.key(VK_SPACE)
    assert r.wait_until(lambda: r.entries()[1][1] == 0)
    assert r.entries() == [(b"Cy", 1), (b"Bob", 0), (b"Ann", 1)]
    r.probe.key(VK_SPACE)
    assert r.wait_until(lambda: r.entries()[1][1] == 1)


def test_toggling_a_selected_entry_gives_every_selected_entry_its_state(run):
    r = run(users=["Ann", "Bob", "Cy", "Dee"])
    r.click_text(0)
    # Shift+click on the third entry selects the top three.
    items = r.items()
    x, y = items[2]["rect"][0] + 60, (items[2]["rect"][1] + items[2]["rect"][3]) // 2
    r.probe.shift_click(x, y)
    assert r.wait_until(lambda: [i["sel"] > 0 for i in r.items()] == [True, True, True, False])

    r.click_box(1)
    assert r.wait_until(lambda: [c for _, c in r.entries()] == [0, 0, 0, 1])
    r.click_box(0)
    assert r.wait_until(lambda: [c for _, c in r.entries()] == [1, 1, 1, 1])

    # Space on the caret entry (the third, selected) does the same.
    r.probe.key(VK_SPACE)
    assert r.wait_until(lambda: [c for _, c in r.entries()] == [0, 0, 0, 1])


def test_a_long_name_can_be_scrolled_into_view(run):
    name = "N" * 255
    r = run(users=[name, "Ann"])
    info = r.list_info()
    assert info["items"][1]["text"] == name.encode()
    width = info["client"][2] - info["client"][0]
    assert info["extent"] > 5 * width


def leave_by_escape(r):
    r.probe.key(VK_ESCAPE)


def leave_by_exit(r):
    r.click_control(2)


def leave_by_alt_f4(r):
    r.probe.key(VK_MENU, VK_F4)


def leave_by_close_box(r):
    left, top, right, bottom = r.dialog()["rect"]
    r.probe.click(right - 12, top + 12)


@pytest.mark.parametrize("leave", [leave_by_escape, leave_by_exit, leave_by_alt_f4, leave_by_close_box])
def test_leaving_ends_the_program_without_installing(run, leave):
    r = run(users=USERS, files=["a.prc"])
    leave(r)
    assert r.wait_exit() == 0
    assert r.installs() == []
    assert r.calls("UserCount") == ["UserCount -> 3"]


def test_command_line_arguments_change_nothing(run):
    r = run(users=USERS, files=["a.prc"], args=["/s", "--install", "b.prc"])
    assert r.entries() == [(b"Cy", 1), (b"Bob", 1), (b"Ann", 1)]
    r.probe.key(VK_RETURN)
    r.confirm(r.wait_message())
    assert r.wait_exit() == 0
    assert r.installs() == [(b"Ann", b"a.prc"), (b"Bob", b"a.prc"), (b"Cy", b"a.prc")]
