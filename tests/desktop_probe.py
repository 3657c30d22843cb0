"""Reads the program's windows back as the desktop's own clients do.

    desktop_probe.py taskbar WINDOW     listed, skipped or missing, as libwnck
                                        (taskbars and pagers) sees the window
    desktop_probe.py buttons TITLE      the buttons of the window, left to right,
                                        as a screen reader finds them (AT-SPI)
    desktop_probe.py audit TITLE...     what a screen reader would announce
                                        badly in the program's windows
    desktop_probe.py panel              a desktop panel, "morvantel-panel",
                                        along the top of the screen, until killed

Run by Debian's own Python, with the bindings of the desktop's libraries. The
AT-SPI commands wait up to ten seconds for the windows to reach the bus.
"""
import re
import sys
import time


def taskbar(window_id):
    import gi

    gi.require_version("Wnck", "3.0")
    from gi.repository import Wnck

    screen = Wnck.Screen.get_default()
    screen.force_update()
    window = Wnck.Window.get(int(window_id))
    if window is None:
        return "missing"
    return "skipped" if window.is_skip_tasklist() else "listed"


def program_windows():
    import pyatspi

    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "morvantel":
            yield from (window for window in app if window is not None)


def program_nodes():
    for window in program_windows():
        yield window
        yield from below(window)


def below(node):
    for child in node:
        if child is not None:
            yield child
            yield from below(child)


def showing(node):
    import pyatspi

    return node.getState().contains(pyatspi.STATE_SHOWING)


def until_found(find):
    deadline = time.monotonic() + 10
    while True:
        found = find()
        if found or time.monotonic() > deadline:
            return found
        time.sleep(0.1)


def buttons(title):
    import pyatspi

    def find():
        for window in program_windows():
            if re.fullmatch(title, window.name):
                found = [button for button in below(window)
                         if button.getRole() == pyatspi.ROLE_PUSH_BUTTON and showing(button)]
                if found:
                    return found
        return []

    across = lambda button: button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x
    return " ".join(button.name for button in sorted(until_found(find), key=across))


def audit(titles):
    import pyatspi

    def names():
        return [node.name for node in program_nodes() if showing(node)]

    def all_there():
        found = names()
        return all(any(re.fullmatch(title, name) for name in found) for title in titles)

    until_found(all_there)
    faults = []
    for node in program_nodes():
        if not showing(node):
            continue
        role = node.getRoleName()
        if node.getState().contains(pyatspi.STATE_FOCUSABLE) and not node.name.strip():
            faults.append(f"a focusable {role} without a name")
        if re.search("[\u00ab\u00a4\u00bb]", node.name):
            faults.append(f"a {role} announced as {node.name!r}")
    found = names()
    for title in titles:
        if not any(re.fullmatch(title, name) for name in found):
            faults.append(f"no window {title!r} on the accessibility bus")
    return "\n".join(faults)


def panel():
    import gi

    gi.require_version("Gdk", "3.0")
    gi.require_version("Gtk", "3.0")
    from gi.repository import Gdk, Gtk

    window = Gtk.Window(title="morvantel-panel")
    window.set_type_hint(Gdk.WindowTypeHint.DOCK)
    window.set_default_size(1024, 24)
    window.move(0, 0)
    window.show_all()
    Gtk.main()


if __name__ == "__main__":
    command, arguments = sys.argv[1], sys.argv[2:]
    if command == "taskbar":
        print(taskbar(arguments[0]))
    elif command == "buttons":
        print(buttons(arguments[0]))
    elif command == "audit":
        print(audit(arguments), end="")
    elif command == "panel":
        panel()
    else:
        sys.exit(f"unknown command {command}")
