"""A StatusNotifierWatcher of the test's own, with a host that shows every item, on the session
bus that DBUS_SESSION_BUS_ADDRESS names (a bus the test started). Each item that registers is
written to stdout as its bus name and object path on one line.
usage: sni_watcher.py"""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"


class Watcher(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(dbus.service.BusName(WATCHER, bus), "/StatusNotifierWatcher")
        self.items = []

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # An item names its path, or its bus name with the usual path.
        path = service if service.startswith("/") else "/StatusNotifierItem"
        self.items.append(f"{sender}{path}")
        print(sender, path, flush=True)
        self.StatusNotifierItemRegistered(f"{sender}{path}")

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, item):
        pass

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.GetAll(interface)[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {"RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
                "IsStatusNotifierHostRegistered": True, "ProtocolVersion": dbus.Int32(0)}


DBusGMainLoop(set_as_default=True)
watcher = Watcher(dbus.SessionBus())
print("ready", flush=True)
GLib.MainLoop().run()
sys.exit(0)
