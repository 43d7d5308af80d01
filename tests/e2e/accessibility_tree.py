"""The client as a screen reader finds it, and a table of flows done with the keyboard alone.
usage: accessibility_tree.py CLIENT_PID SERVICE_LOG   (run by accessibility_test.sh)"""
import subprocess
import sys
import time

import gi
import pyatspi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

pid, service_log = int(sys.argv[1]), sys.argv[2]
# What a person reaches and acts on; what the pages hold is the pages' own.
CONTROLS = {"push button", "toggle button", "table", "list", "text", "entry", "password text",
            "menu", "check box", "combo box"}
failures, focus, announced = [], [], []


def name_of(node):
    try:
        return node.name
    except GLib.GError:  # gone already
        return None


def listen(kind, keep):
    listener = Atspi.EventListener.new(keep)
    listener.register(kind)
    return listener


# The focus as the toolkit announces it, which is what Orca follows (a drawn control's state may
# still say "focused" after the focus left it).
listeners = [listen("object:state-changed:focused",
                    lambda e: e.detail1 == 1 and focus.append(name_of(e.source))),
             listen("object:announcement", lambda e: announced.append(e.any_data))]


def eventually(condition, seconds=10.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            if condition():
                return True
        except GLib.GError:  # an object gone while it was read: read again
            pass
        time.sleep(0.1)
    return False


def objects(node, depth=0):
    yield node
    if depth < 15 and node.getRoleName() != "document web":
        for child in node:
            if child is not None:
                yield from objects(child, depth + 1)


def client_windows():
    return next((a for a in pyatspi.Registry.getDesktop(0) if a and a.get_process_id() == pid), [])


def window(part):
    return next((w for w in client_windows() if part in (w.name or "") and
                 w.getState().contains(pyatspi.STATE_SHOWING)), None)


def cells(table):
    found = [o for o in objects(main) if o.getRoleName() == "table" and o.name == table]
    return [cell.name for cell in found[0]] if found else []


def check_view(top, table=None, row=None):
    """Every control named, nothing hidden exposed, and the list's rows there by name."""
    eventually(lambda: table is None or row in cells(table))
    for node in objects(top):
        role = node.getRoleName()
        if role in CONTROLS and not node.getState().contains(pyatspi.STATE_SHOWING):
            failures.append(f"{top.name}: a hidden {role} {node.name!r} is exposed")
        elif role in CONTROLS and not node.name:
            failures.append(f"{top.name}: a {role} without a name")
    if table and row not in cells(table):
        failures.append(f"the list {table} has no row {row}: {cells(table)[:5]}")


def keys(*names):
    subprocess.run(["xdotool", "key", "--clearmodifiers", "--delay", "60", *names], check=True)


def shown_item(name):
    return any(o.getRoleName() == "menu item" and o.name == name and
               o.getState().contains(pyatspi.STATE_SHOWING)
               for w in client_windows() for o in objects(w))


def focus_on(name):
    return lambda: bool(focus) and focus[-1] == name


def asked_for(path):
    with open(service_log, encoding="utf-8", errors="replace") as log:
        return any(line.split()[1:2] == [path] for line in log)


if not eventually(lambda: window("V2.02") is not None, 20):
    sys.exit("accessibility_tree: the main window never appeared in the accessibility tree")
main = window("V2.02")
check_view(main, "电视频道", "北京卫视高清")
# The bulletins arrive after the lists: the menu bar is walked once its first one is there.
if not eventually(lambda: any(o.getRoleName() == "menu" and o.name == "1.欢迎试用塔沃高清"
                              for o in objects(main))):
    failures.append("the menu bar has no bulletin 1.欢迎试用塔沃高清")
subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(pid),
                "windowactivate", "--sync"], capture_output=True)
# Each flow: its name, its keys (Tab: up to 8 presses, until it holds), and what must then hold.
flows = [
    ("the menu bar to a bulletin", ["F10", "Right", "Right", "Right", "Right", "Return"],
     lambda: asked_for("/news/g1.html")),
    ("Tab to the channel list", ["Tab"], focus_on("电视频道")),
    ("Shift+F10 on a row to a favourite", ["Down", "shift+F10", "Down", "Return"],
     lambda: "收藏 北京卫视高清" in cells("电视频道")),
    ("the Menu key on the row opens its context menu", ["Menu"], lambda: shown_item("取消收藏")),
    ("Esc closes it, and the list has the focus", ["Escape"],
     lambda: not shown_item("取消收藏") and focus_on("电视频道")()),
    ("typing finds in the list", ["h"], focus_on("查找频道")),
    ("Esc leaves the find box", ["Escape"], focus_on("电视频道")),
    ("账号登陆 to the login window's first box", ["F10", "Right", "Right", "Return"],
     focus_on("用户")),
    ("a sign-in from the keyboard", ["d", "e", "m", "o", "underscore", "v", "i", "p", "Tab",
                                     "v", "i", "p", "8", "8", "8", "Return"],
     lambda: "demo_vip" in window("V2.02").name),
    ("Alt alone to 听广播", ["Alt_L", "Right", "Return"], lambda: "中国之声广播" in cells("广播电台")),
]
for name, pressed, holds in flows:
    tried = len(focus)
    for _ in range(8 if pressed == ["Tab"] else 1):
        keys(*pressed)
        if eventually(holds, 0.5 if pressed == ["Tab"] else 10):
            break
    if not eventually(holds, 0.1):
        failures.append(f"{name}: not so, the focus on {focus[-1] if focus else None!r}")
    if pressed == ["Tab"] and "广播电台" in focus[tried:]:
        failures.append("Tab stopped on the station list, out of sight under the channels")
    if name.startswith("账号登陆") and window("登录") is not None:
        check_view(window("登录"))
check_view(main, "广播电台", "中国之声广播")
if "正在播放 北京卫视高清" not in announced:
    failures.append(f"the channel played from the keyboard was not announced: {announced}")
for failure in failures:
    print("accessibility_tree:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
