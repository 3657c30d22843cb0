"""Reads the program's windows back as the desktop's own clients do.

    taskbar WINDOW     listed, skipped or missing in taskbars and pagers (libwnck)
    buttons TITLE      the window's buttons, left to right (AT-SPI)
    text TITLE NAME    the text of the box NAME in the window (AT-SPI)
    audit TITLE...     what a screen reader would announce badly (AT-SPI)
    pointer            free, or grabbed by another client, as a window manager
                       holds it through a drag (Xlib)

Run by Debian's own Python; the AT-SPI commands wait up to ten seconds.
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
    skips = {window.is_skip_tasklist(), window.is_skip_pager()}
    return "partly" if len(skips) == 2 else "skipped" if True in skips else "listed"


def pointer():
    import ctypes

    xlib = ctypes.cdll.LoadLibrary("libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XGrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_uint,
                                  ctypes.c_int, ctypes.c_int, ctypes.c_ulong, ctypes.c_ulong,
                                  ctypes.c_ulong]
    xlib.XUngrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the display")
    grab_mode_async, current_time, grab_success = 1, 0, 0
    status = xlib.XGrabPointer(display, xlib.XDefaultRootWindow(display), False, 0,
                               grab_mode_async, grab_mode_async, 0, 0, current_time)
    if status == grab_success:
        xlib.XUngrabPointer(display, current_time)
    xlib.XCloseDisplay(display)
    return "free" if status == grab_success else "grabbed"


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


def text(title, name):
    def find():
        for window in program_windows():
            if re.fullmatch(title, window.name):
                for node in below(window):
                    if node.name == name:
                        return node
        return None

    box = until_found(find)
    if box is None:
        sys.exit(f"no box {name!r} in a window {title!r} on the accessibility bus")
    return box.queryText().getText(0, -1)


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


if __name__ == "__main__":
    command, arguments = sys.argv[1], sys.argv[2:]
    if command == "taskbar":
        print(taskbar(arguments[0]))
    elif command == "buttons":
        print(buttons(arguments[0]))
    elif command == "text":
        print(text(*arguments))
    elif command == "pointer":
        print(pointer())
    elif command == "audit":
        print(audit(arguments), end="")
    else:
        sys.exit(f"unknown command {command}")
