#!/usr/bin/python3
"""What a desktop session offers a program, stood in for on a session bus
that an end-to-end test starts: the freedesktop screen saver service, which
records each Inhibit and UnInhibit.

  session_services.py serve <log>   one line per call, until killed
"""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib


class ScreenSaver(dbus.service.Object):
    def __init__(self, session, log):
        super().__init__(session, "/org/freedesktop/ScreenSaver")
        self.log = log
        self.cookie = 0

    @dbus.service.method("org.freedesktop.ScreenSaver", in_signature="ss", out_signature="u")
    def Inhibit(self, application, reason):
        self.cookie += 1
        self.log(f"Inhibit {application} {reason} {self.cookie}")
        return self.cookie

    @dbus.service.method("org.freedesktop.ScreenSaver", in_signature="u")
    def UnInhibit(self, cookie):
        self.log(f"UnInhibit {cookie}")


def serve(path):
    DBusGMainLoop(set_as_default=True)
    out = open(path, "a", encoding="utf-8", buffering=1)

    def log(line):
        print(line, file=out)

    session = dbus.SessionBus()
    name = dbus.service.BusName("org.freedesktop.ScreenSaver", session)
    saver = ScreenSaver(session, log)
    log("ready")
    GLib.MainLoop().run()
    del name, saver


if __name__ == "__main__":
    {"serve": serve}[sys.argv[1]](sys.argv[2])
