"""A folder shared through the windows, as a new user does it: the buddy list's 共享 button, the
我的共享 tab, 添加共享, a Desktop folder picked in the real folder picker (whose display name
Wine gives as the whole path). The folder is listed under its own name, without the box that
refuses names with ':', stored in the settings file, and a peer that asks for the share list gets
it. Screenshots are kept in build/<arch>/artifacts/."""

import os

import desktop
import harness
from application_case import ZQ, ApplicationCase
from test_app_receive import DESKTOP

SHARE_BUTTON = 1046
TAB = 1047
MY_SHARES = 1048
ADD_SHARE = 1050
PICKED = "zqshare"
REQUEST = b"ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST"
REPLY = b"ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST_REPLY&MESSAGE="


def setUpModule():
    desktop.skip_unless_possible()


class AddShareTest(ApplicationCase):

    def test_a_desktop_folder_added_on_the_own_page_is_offered_to_peers(self):
        desk, inspect = self.desk, self.inspect
        peer = self.peer(user="peer", hostname="peerbox")
        login = os.environ.get("USER") or "root"
        folder = DESKTOP % login + "\\" + PICKED
        os.makedirs(self.wine.unix_path(folder))
        with open(os.path.join(self.wine.unix_path(folder), "a.txt"), "wb") as f:
            f.write(b"12345")
        buddy = self.start_and_meet(peer, "PeerNick", "Sales")

        inspect.command(buddy, SHARE_BUTTON)
        browser = inspect.wait_window(lambda w: w.title == "共享文件夹" and w.visible, what="the browser")
        desk.focus(desk.x_window("^共享文件夹$"))
        # The second tab, 我的共享, right of 共享文件.
        tab = inspect.child(browser, TAB)
        desk.click(tab.rect[0] + 85, tab.rect[1] + 10)
        add = inspect.wait_until(lambda: inspect.child(browser, ADD_SHARE), lambda c: c.visible,
                                 what="the own page shown")
        desk.screenshot("add-share-own-page.png", browser.rect)
        desk.click(*add.centre())

        picker = inspect.wait_window(lambda w: w.title == "选择文件夹" and w.visible, what="the folder picker")
        tree = [c for c in inspect.children(picker) if c.cls == "SysTreeView32"][0]
        desk.focus(desk.x_window("^选择文件夹$"))
        left, _, right, bottom = tree.rect
        desk.click((left + right) // 2, bottom - 8)
        desk.type(PICKED)
        desk.screenshot("add-share-folder-picker.png", picker.rect)
        desk.key("Return")

        shares = inspect.child(browser, MY_SHARES)
        rows = inspect.wait_until(lambda: inspect.rows(shares), lambda r: len(r) == 1, what="the folder listed")
        entry, path = rows[0]
        self.assertEqual(path.lower(), folder.lower())
        self.assertEqual(entry.split(":")[2:], [PICKED, "5"], entry)
        self.assertFalse([w for w in inspect.windows() if w.title == "ZQ" and w.visible], "a refusal box")
        desk.screenshot("add-share-listed.png", browser.rect)
        with open(self.wine.settings_path(), "rb") as f:
            self.assertIn(b"shareFolders=" + path.encode("gbk") + b"\r\n", f.read())

        # A peer asks for the share list and gets the folder.
        peer.send_raw(REQUEST, ZQ)
        answer = peer.expect(lambda p: p.raw.startswith(REPLY), timeout=30, what="the share-list reply")
        self.assertEqual(answer.raw[len(REPLY):].decode("gbk"), entry)


if __name__ == "__main__":
    harness.run_tests()
