"""Prints what a screen reader hears of one program over AT-SPI.

    atspi_listener.py PROGRAM

One line per event of PROGRAM, flushed at once: the event type, the role
and name of the object, and the text the event carries.  "listening" first,
once the listener is registered.
"""

import sys

import pyatspi

program = sys.argv[1]


def heard(event):
    try:
        if event.host_application.name != program:
            return
        role = event.source.getRoleName()
        name = event.source.name
    except Exception:  # the object is gone already
        return
    carried = event.any_data if isinstance(event.any_data, str) else ""
    if event.type.startswith("object:state-changed:showing") and not event.detail1:
        return
    print("\t".join((event.type, role, name, carried)).replace("\n", "\\n"), flush=True)


for kind in ("object:text-changed:insert", "object:property-change:accessible-name", "object:state-changed:showing"):
    pyatspi.Registry.registerEventListener(heard, kind)
print("listening", flush=True)
pyatspi.Registry.start()
