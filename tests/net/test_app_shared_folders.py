"""Shared folders between two copies of the messenger, as their users meet them: the first shares
a folder tree named in its settings file; on the second, the user opens the shared-folder browser
from the buddy list's 共享 button, presses 刷新 and sees the tree on the peers' page, selects it,
presses 下载, answers the real yes/no box and picks a folder in the real folder picker: every file
of the tree arrives byte for byte. A scripted peer answers the first copy's request with its own
entry, and floods the second with malformed and hostile replies: the second shows one notice,
goes on receiving and keeps its list as it was."""

import os

import desktop
import harness
from application_case import ApplicationCase
from desktop import Inspector
from test_app_receive import CHOSEN, DESKTOP, accept_offer, sha, tree_hashes, wait_rows_ended

SHARER = "10.77.0.1"
DOWNLOADER = "10.77.0.2"
SHARED = "C:\\shared\\tree"
SHARE_BUTTON = 1046
REFRESH = 1053
DOWNLOAD = 1052
PEER_SHARES = 1051
REQUEST = b"ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST"
REPLY = b"ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST_REPLY&MESSAGE="


def setUpModule():
    desktop.skip_unless_possible()


def peer_rows(inspect, browser):
    shares = [c for c in inspect.children(browser) if c.id == PEER_SHARES and c.cls == "SysListView32"][0]
    return shares, inspect.rows(shares)


class SharedFoldersTest(ApplicationCase):
    hosts = 3
    settings = {"userName": "Li", "userGroupName": "Dev", "shareFolders": SHARED}

    def test_a_shared_tree_is_listed_after_a_refresh_and_downloads_whole(self):
        desk, sharer = self.desk, self.wine
        downloader = self.wine_host(1, userName="Wang", userGroupName="Sales")
        peer = self.peer(2, user="peer", hostname="peerbox")
        tree = sharer.unix_path(SHARED)
        os.makedirs(os.path.join(tree, "sub", "deeper"))
        files = {"a.txt": os.urandom(1234), os.path.join("sub", "b.bin"): os.urandom(300000),
                 os.path.join("sub", "deeper", "empty.dat"): b""}
        for name, content in files.items():
            with open(os.path.join(tree, name), "wb") as f:
                f.write(content)
        login = os.environ.get("USER") or "root"
        chosen = downloader.unix_path(DESKTOP % login + "\\" + CHOSEN)
        os.makedirs(chosen)

        inspect_sharer, inspect = self.inspect, Inspector(downloader)
        self.start_zq(sharer)
        self.wait_buddy_list(inspect_sharer, what="the sharer's buddy list")

        # The sharer answers any request with the tree's entry, and its size.
        peer.send_raw(REQUEST, SHARER)
        answer = peer.expect(lambda p: p.raw.startswith(REPLY), timeout=30, what="the share-list reply")
        entry = answer.raw[len(REPLY):].decode("gbk")
        fields = entry.split(":")
        self.assertEqual(fields[2:], ["tree", str(sum(len(c) for c in files.values()))], entry)

        self.start_zq(downloader)
        buddy = self.wait_buddy_list(inspect)
        inspect_sharer.close(self.wait_buddy_list(inspect_sharer, what="the sharer's buddy list"))
        inspect.command(buddy, SHARE_BUTTON)
        browser = inspect.wait_window(lambda w: w.title == "共享文件夹" and w.visible, what="the browser")
        refresh = [c for c in inspect.children(browser) if c.id == REFRESH][0]
        desk.focus(desk.x_window("^共享文件夹$"))
        desk.click(*refresh.centre())
        shares, _ = peer_rows(inspect, browser)
        rows = inspect.wait_until(lambda: inspect.rows(shares),
                                  lambda r: any(row[1] == SHARER for row in r), timeout=30,
                                  what="the sharer's tree listed")
        self.assertEqual([row[1:] for row in rows], [[SHARER, "tree", entry]])
        desk.screenshot("shared-folders-peers-page.png", browser.rect)

        # The user selects the row, presses 下载, says yes and picks the folder.
        left, top, right, _ = shares.rect
        desk.click(left + 40, top + 30)
        desk.key("Home")
        desk.click(*[c for c in inspect.children(browser) if c.id == DOWNLOAD][0].centre())
        accept_offer(desk, inspect, CHOSEN, shots="shared-folders")
        window, ended = wait_rows_ended(inspect, 1)
        desk.screenshot("shared-folders-progress.png", window.rect)
        self.assertIn("完成100%", ended[0][7], ended[0])
        self.assertEqual(tree_hashes(os.path.join(chosen, "tree")), {k: sha(v) for k, v in files.items()})

        # A scripted peer floods the downloader with broken replies.
        hostile = [b"1:2:bad", b"1:2:a;b:3", b"1:2:ok:5;3:4:a&b:10", b"1:2:a=b:1", b"1:2:a:b:3",
                   b" ; ;", b"\xff" * 1500]
        for _ in range(20):
            for message in hostile:
                peer.send_raw(REPLY + message, DOWNLOADER)
        notice = inspect.wait_window(lambda w: w.title == "ZQ" and w.visible, timeout=30, what="the notice")
        desk.screenshot("shared-folders-notice.png", notice.rect)
        desk.focus(desk.x_window("^ZQ$"))
        desk.key("Return")
        # Still receiving: the peer's good reply is listed after the flood.
        peer.send_raw(REPLY + b"7:8:music:42", DOWNLOADER)
        rows = inspect.wait_until(lambda: inspect.rows(shares),
                                  lambda r: any(row[2] == "music" for row in r), timeout=30,
                                  what="the peer's good reply listed")
        # The flood's one good entry ("ok") was replaced by the peer's next good reply.
        self.assertEqual([row[1:] for row in rows],
                         [[SHARER, "tree", entry], ["10.77.0.3", "music", "7:8:music:42"]])
        visible_notices = [w for w in inspect.windows() if w.title == "ZQ" and w.visible]
        self.assertLessEqual(len(visible_notices), 1)


if __name__ == "__main__":
    harness.run_tests()
