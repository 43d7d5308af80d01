"""A StatusNotifierWatcher of the test's own, which takes every item, on the session bus that
DBUS_SESSION_BUS_ADDRESS names (a bus the test started). Each item that registers is written to
stdout as its bus name and object path on one line.
usage: sni_watcher.py"""
import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"


class Watcher(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(dbus.service.BusName(WATCHER, bus), "/StatusNotifierWatcher")

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # An item names its path, or its bus name with the usual path.
        path = service if service.startswith("/") else "/StatusNotifierItem"
        print(sender, path, flush=True)
        self.StatusNotifierItemRegistered(f"{sender}{path}")

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, item):
        pass


DBusGMainLoop(set_as_default=True)
watcher = Watcher(dbus.SessionBus())
print("ready", flush=True)
GLib.MainLoop().run()
