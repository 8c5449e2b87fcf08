"""The settings dialog and the notice window as a user meets them: the tray menu's "系统设置(&S)"
opens the settings dialog on the user page with the stored name and group and the known peers'
groups; a name and group typed there and confirmed with OK are shown by the buddy list's own name
and group edits, stay in the settings file when the user clicks into the name edit and out again,
and are in the program's answer to the next entry a peer sends. The frame's notice command makes the notice rise to the
bottom-right corner of the work area, and its message-list command opens the message list. Screenshots are kept in build/<arch>/artifacts/."""

import re

import desktop
import harness
from application_case import TREE, ZQ, ApplicationCase
from ipmsg_peer import ANSENTRY

PEER = "10.77.0.2"
USER_NAME = 1017
OWN_NAME = 1018
OWN_GROUP = 1019
GROUP_COMBO = 1044
SETTINGS_TITLE = "设置"
NOTICE_COMMAND = 32771
MESSAGE_LIST_COMMAND = 32773
SCREEN = (1280, 800)


def setUpModule():
    desktop.skip_unless_possible()


def visible_child(inspect, window, control_id):
    """The shown control of this id (two pages share an id; only one page is shown)."""
    for child in inspect.children(window):
        if child.id == control_id and child.visible:
            return child
    raise AssertionError("no visible control %d in %r" % (control_id, window))


def open_tray_menu(desk, inspect):
    tray = inspect.wait_window(lambda w: w.title == "Wine System Tray")
    left, top, _, bottom = tray.rect
    desk.click(left + 12, (top + bottom) // 2 + 8, button=3)
    return inspect.wait_window(lambda w: w.cls == "#32768" and w.visible, what="the tray menu")


class SettingsTest(ApplicationCase):

    def test_a_name_set_in_the_settings_dialog_reaches_peers_and_the_file(self):
        desk, inspect = self.desk, self.inspect
        peer = self.peer(user="peeruser", hostname="peerbox")
        buddy = self.start_and_meet(peer, "PeerNick", "Sales")
        zq = self.zq

        # The welcome balloon lies over the tray menu until it times out.
        inspect.wait_until(inspect.windows,
                           lambda ws: not any(w.visible and w.cls == "tooltips_class32" for w in ws),
                           timeout=60, what="the welcome balloon gone")

        # Tray menu, fifth row from the top ("系统设置(&S)"; rows and separators as in the
        # menu: 退出 12 pixels above its bottom, 27 pixels from row to row).
        menu = open_tray_menu(desk, inspect)
        desk.screenshot("tray-menu-settings.png", menu.rect)
        desk.click(menu.rect[0] + 30, menu.rect[3] - 12 - 2 * 27)
        settings = inspect.wait_window(lambda w: w.title == SETTINGS_TITLE and w.visible,
                                       what="the settings dialog")

        # The tray menu still works while the dialog is open; asking again brings no second one.
        # The menu's next appearance shows that the frame has handled the command before it.
        for _ in range(2):
            menu = open_tray_menu(desk, inspect)
            desk.click(menu.rect[0] + 30, menu.rect[3] - 12 - 2 * 27)
            inspect.wait_until(inspect.windows,
                               lambda ws: not any(w.cls == "#32768" and w.visible for w in ws),
                               what="the tray menu closed")
        self.assertEqual(len([w for w in inspect.windows() if w.title == SETTINGS_TITLE and w.visible]), 1)

        # The user page first, with the stored name and group and the peers' groups.
        name = visible_child(inspect, settings, USER_NAME)
        self.assertEqual(name.text_bytes, b"Li")
        self.assertEqual(visible_child(inspect, settings, GROUP_COMBO).text_bytes, b"Dev")
        desk.screenshot("settings-dialog.png", settings.rect)

        # The user types a new name, Chinese and ASCII, and presses OK.
        desk.focus(desk.x_window("^%s$" % re.escape(SETTINGS_TITLE)))
        desk.click(*name.centre())
        desk.key("End")
        for _ in range(4):
            desk.key("BackSpace")
        new_name = "王五 Wu"
        desk.type_into(new_name, lambda: visible_child(inspect, settings, USER_NAME).text_bytes)
        group = visible_child(inspect, settings, GROUP_COMBO)
        desk.click(group.rect[0] + 20, (group.rect[1] + group.rect[3]) // 2)
        desk.key("End")
        for _ in range(3):
            desk.key("BackSpace")
        new_group = "测试部-质量组"
        desk.type_into(new_group, lambda: visible_child(inspect, settings, GROUP_COMBO).text_bytes)
        desk.screenshot("settings-dialog-typed.png", settings.rect)
        desk.click(*inspect.child(settings, 1).centre())
        inspect.wait_until(inspect.windows,
                           lambda ws: not any(w.title == SETTINGS_TITLE and w.visible for w in ws),
                           what="the dialog closed")

        # Stored in the file at once ...
        with open(self.wine.settings_path(), "rb") as f:
            stored = f.read()
        self.assertIn(b"userName=" + new_name.encode("gbk") + b"\r\n", stored)
        self.assertIn(b"userGroupName=" + new_group.encode("gbk") + b"\r\n", stored)

        # ... shown by the buddy list's own edits, which store what they show when left: the user
        # clicks into the name edit and out again, into the group edit, and the file keeps it.
        own = {control: inspect.child(buddy, control) for control in (OWN_NAME, OWN_GROUP)}
        self.assertEqual(own[OWN_NAME].text_bytes, new_name.encode("gbk"))
        self.assertEqual(own[OWN_GROUP].text_bytes, new_group.encode("gbk"))
        self.focus_buddy_list()
        tree = inspect.child(buddy, TREE)
        for control in (own[OWN_NAME], own[OWN_GROUP], tree):
            desk.click(*control.centre())
            inspect.wait_until(lambda: inspect.look(buddy)[1], lambda focus: focus == control.hwnd,
                               what="the focus in control %d" % control.id)
        # Handled after the window has done with leaving the group edit.
        inspect.tree(tree)
        desk.screenshot("settings-buddy-list-own-name.png", buddy.rect)
        with open(self.wine.settings_path(), "rb") as f:
            stored = f.read()
        self.assertIn(b"userName=" + new_name.encode("gbk") + b"\r\n", stored)
        self.assertIn(b"userGroupName=" + new_group.encode("gbk") + b"\r\n", stored)

        # ... and the next entry of a peer is answered with it.
        peer.inbox.clear()
        peer.send_entry(ZQ, "PeerNick", "Sales")
        answer = peer.expect(lambda p: p.mode == ANSENTRY and p.sender[0] == ZQ, what="the answer")
        self.assertEqual(answer.extra_fields()[:2], [new_name.encode("gbk"), new_group.encode("gbk")])

        # The frame's notice command: the notice rises to the work area's bottom-right corner
        # (the whole screen here: no task bar), one pixel above its bottom edge.
        frame = inspect.wait_window(lambda w: "Vantlor" in w.title and not w.visible, what="the hidden frame")
        inspect.command(frame, NOTICE_COMMAND)
        width, height = SCREEN
        risen = (width - 181, height - 117, width, height - 1)
        notice = inspect.wait_window(lambda w: w.visible and w.rect == risen, what="the risen notice")
        desk.screenshot("notice-window.png", notice.rect)

        # The frame's message-list command, before any chat window: the list opens, and its
        # close button ends it.
        inspect.command(frame, MESSAGE_LIST_COMMAND)
        messages = inspect.wait_window(lambda w: w.title == "消息列表" and w.visible, what="the message list")
        desk.screenshot("message-list.png", messages.rect)
        desk.focus(desk.x_window("^消息列表$"))
        desk.click(*inspect.child(messages, 1).centre())
        inspect.wait_until(inspect.windows,
                           lambda ws: not any(w.title == "消息列表" and w.visible for w in ws),
                           what="the message list closed")

        menu = open_tray_menu(desk, inspect)
        desk.click(menu.rect[0] + 30, menu.rect[3] - 12)
        self.assertEqual(zq.wait(30), 0)


if __name__ == "__main__":
    harness.run_tests()
