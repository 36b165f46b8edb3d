#!/usr/bin/python3
"""What a desktop session offers a program, stood in for on a session bus
that an end-to-end test starts: the freedesktop screen saver service, which
records each Inhibit and UnInhibit, and a screen reader, which turns the
session's accessibility on and records every accessible name change as the
name it reads.

  session_services.py <log> [late]   one line per call or change, until killed

late: the first Inhibit is answered 1.5 s after it came, as a slow service
may answer, while every other call is served meanwhile.
"""
import sys
import time

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

ATSPI = "org.a11y.atspi."


def accessibility_bus(session):
    bus = session.get_object("org.a11y.Bus", "/org/a11y/bus")
    return dbus.bus.BusConnection(bus.GetAddress(dbus_interface="org.a11y.Bus"))


def accessible_name(a11y, bus_name, path):
    node = a11y.get_object(bus_name, path)
    return str(node.Get(ATSPI + "Accessible", "Name", dbus_interface=dbus.PROPERTIES_IFACE))


class ScreenSaver(dbus.service.Object):
    def __init__(self, session, log, late):
        super().__init__(session, "/org/freedesktop/ScreenSaver")
        self.log = log
        self.late = late
        self.cookie = 0

    @dbus.service.method("org.freedesktop.ScreenSaver", in_signature="ss", out_signature="u",
                         async_callbacks=("reply", "error"))
    def Inhibit(self, application, reason, reply, error):
        self.cookie += 1
        cookie = self.cookie
        self.log(f"Inhibit {application} {reason} {cookie}")
        if not self.late:
            reply(cookie)
            return

        def answer():
            reply(cookie)
            return GLib.SOURCE_REMOVE

        self.late = False
        GLib.timeout_add(1500, answer)

    @dbus.service.method("org.freedesktop.ScreenSaver", in_signature="u")
    def UnInhibit(self, cookie):
        self.log(f"UnInhibit {cookie}")


def serve(path, late):
    DBusGMainLoop(set_as_default=True)
    out = open(path, "a", encoding="utf-8", buffering=1)

    def log(line):
        print(line, file=out)

    session = dbus.SessionBus()
    name = dbus.service.BusName("org.freedesktop.ScreenSaver", session)
    saver = ScreenSaver(session, log, late)

    # As a screen reader does: accessibility on, and a listener registered,
    # so that programs send the events it wants.
    status = session.get_object("org.a11y.Bus", "/org/a11y/bus")
    status.Set("org.a11y.Status", "ScreenReaderEnabled", True, dbus_interface=dbus.PROPERTIES_IFACE)
    a11y = accessibility_bus(session)
    event = "object:property-change:accessible-name"
    # The bus starts its registry on its own too; until it owns its name, a
    # start asked for here may come back before it does.
    for _ in range(50):
        if a11y.name_has_owner(ATSPI + "Registry"):
            break
        a11y.start_service_by_name(ATSPI + "Registry")
        time.sleep(0.1)
    registry = a11y.get_object(ATSPI + "Registry", "/org/a11y/atspi/registry")
    registry.RegisterEvent(event, dbus.Array([], signature="s"), "", dbus_interface=ATSPI + "Registry")

    # The event names the object; a screen reader then reads its name.
    def changed(detail, *_, sender=None, path=None):
        if detail == "accessible-name":
            log(f"name {accessible_name(a11y, sender, path)}")

    a11y.add_signal_receiver(changed, signal_name="PropertyChange", dbus_interface=ATSPI + "Event.Object",
                             sender_keyword="sender", path_keyword="path")
    log("ready")
    GLib.MainLoop().run()
    del name, saver


if __name__ == "__main__":
    serve(sys.argv[1], sys.argv[2:] == ["late"])
