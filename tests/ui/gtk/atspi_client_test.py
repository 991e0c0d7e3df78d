#!/usr/bin/python3
"""A screen reader's view of the Linux build, through the AT-SPI bus.

Starts the wizard (the program named on the command line) on a fresh simulated machine,
finds it on the accessibility bus, walks its tree, presses the push button named "Next"
through its action and waits for the port page's radio buttons; then presses Tab through
the bus's keyboard and waits for focus events from the wizard's controls.

Run it inside its own session bus, on an X display:
  dbus-run-session -- python3 tests/ui/gtk/atspi_client_test.py build/linux-asan/bin/quorvel-setup
Exit code 0 when every check passed, 1 otherwise.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

APP_NAME = "quorvel-setup"
TAB_KEYSYM = 0xFF09


def pump(seconds):
    """Runs the client's main loop for a while, so that events arrive."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if not context.iteration(False):
            time.sleep(0.01)


def wait_for(condition, seconds, step=0.2):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = condition()
        if found:
            return found
        pump(step)
    return None


def find_application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:  # an application that left the bus meanwhile
            continue
    return None


def walk(node, depth=0, out=None):
    """Every object below node with its depth, in the order a screen reader reads them."""
    if out is None:
        out = []
    for child in node:
        if child is None:
            continue
        out.append((depth, child))
        walk(child, depth + 1, out)
    return out


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def describe(node):
    states = [pyatspi.stateToString(s) for s in node.getState().getStates()]
    return "%s %r [%s]" % (node.getRoleName(), node.name, " ".join(sorted(states)))


def main():
    program = os.path.abspath(sys.argv[1])
    machine = tempfile.mkdtemp(prefix="quorvel-atspi-")
    env = dict(os.environ, QUORVEL_MACHINE_DIR=machine, LC_ALL="C.UTF-8", LANG="C.UTF-8")
    env.pop("NO_AT_BRIDGE", None)
    env.setdefault("ASAN_OPTIONS", "detect_leaks=0")
    wizard = subprocess.Popen([program], env=env)
    failures = []

    def check(ok, what):
        print(("ok   " if ok else "FAIL ") + what, flush=True)
        if not ok:
            failures.append(what)
        return ok

    focus_events = []

    def on_focus(event):
        if event.detail1 == 1 and event.source is not None:
            try:
                if event.source.get_process_id() == wizard.pid:
                    focus_events.append(describe(event.source))
            except Exception:
                pass

    try:
        app = wait_for(lambda: find_application(wizard.pid) or wizard.poll() is not None, 60)
        if app is True:
            app = None  # the wizard ended before it reached the bus
        if not check(app is not None, "the wizard is on the accessibility bus"):
            return 1
        frames = wait_for(lambda: [w for w in app if w is not None and w.getRole() == pyatspi.ROLE_FRAME], 30)
        if not check(bool(frames), "the wizard has a frame"):
            return 1
        frame = frames[0]
        # The application learns of a new listener over the bus: events before that are lost.
        pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
        pump(0.5)
        print("frame %r" % frame.name)

        def next_button():
            for _, node in walk(frame):
                if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.name == "Next" and showing(node):
                    return node
            return None

        button = wait_for(next_button, 30)
        for depth, node in walk(frame):
            print("  " * (depth + 1) + describe(node))
        if not check(button is not None, 'a push button named "Next"'):
            return 1
        check(button.getState().contains(pyatspi.STATE_ENABLED), '"Next" is enabled')
        action = button.queryAction()
        check(action.nActions >= 1 and action.getName(0) == "press", '"Next" offers the action "press"')
        extents = button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        check(extents.width > 0 and extents.height > 0, '"Next" has extents on the screen')

        def shown_radio_buttons():
            return [n for _, n in walk(frame) if n.getRole() == pyatspi.ROLE_RADIO_BUTTON and showing(n)]

        # The index page has options of its own (install, remove): the port page's are others.
        index_options = {n.name for n in shown_radio_buttons()}
        action.doAction(0)

        def port_options():
            found = shown_radio_buttons()
            names = {n.name for n in found}
            return found if names and not names & index_options else None

        radios = wait_for(port_options, 30)
        check(radios is not None, 'the port page\'s radio buttons replace the index page\'s after "Next"')
        for radio in radios or []:
            print("  " + describe(radio))
        if radios:
            # The page is a group of options: its selection is the chosen one, and choosing
            # another through its action moves both.
            group = radios[0].parent
            selection = group.querySelection()
            chosen = [r.name for r in radios if r.getState().contains(pyatspi.STATE_CHECKED)]
            check(selection.nSelectedChildren == 1 and [selection.getSelectedChild(0).name] == chosen,
                  "the options' group names the checked option as its selection")
            usb = next((r for r in radios if r.name == "USB"), None)
            if check(usb is not None and usb.queryAction().getName(0) == "select", 'the option "USB" offers "select"'):
                usb.queryAction().doAction(0)
                picked = wait_for(lambda: usb.getState().contains(pyatspi.STATE_CHECKED)
                                  and selection.getSelectedChild(0).name == "USB", 10)
                check(bool(picked), '"select" checks "USB" and the group\'s selection follows')

        # Keys reach the window under the pointer on a display without window manager.
        area = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        pyatspi.Registry.generateMouseEvent(area.x + area.width // 2, area.y + 8, "abs")
        pump(0.5)
        for event in focus_events:
            print("  focus after \"Next\": " + event)
        for _, node in walk(frame):
            if node.getState().contains(pyatspi.STATE_FOCUSED):
                print("  focused after \"Next\": " + describe(node))
        focus_events.clear()
        for _ in range(3):
            pyatspi.Registry.generateKeyboardEvent(TAB_KEYSYM, None, pyatspi.KEY_SYM)
            pump(0.3)
        wait_for(lambda: len(focus_events) >= 2, 10)
        for event in focus_events:
            print("  focus: " + event)
        for _, node in walk(frame):
            if node.getState().contains(pyatspi.STATE_FOCUSED):
                print("  focused now: " + describe(node))
        check(len(focus_events) >= 2, "Tab moves the focus, and the bus tells of each stop")
        # A fault in the adapter shows as a sanitizer report and an ended program.
        check(wizard.poll() is None, "the wizard is still running")
        return 1 if failures else 0
    finally:
        pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")
        wizard.terminate()
        try:
            wizard.wait(10)
        except subprocess.TimeoutExpired:
            wizard.kill()
        shutil.rmtree(machine, ignore_errors=True)
        print("%d failed" % len(failures))


if __name__ == "__main__":
    sys.exit(main())
