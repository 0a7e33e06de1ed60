"""Walks the panel's tree on the accessibility bus (AT-SPI) as a screen
reader sees it: every control an operator can operate has a name, the VFO
displays are named with their frequency, and the VFO A display's value
follows a frequency change. Each dialog and list window is opened and
walked the same way. Keying, unkeying and the radio's line going away are
announced on the notification line. Run under its own D-Bus session
(dbus-run-session)."""

import re
import sys

import pyatspi

from panel_session import DEADLINE, MAIN, START_DEADLINE, Failures, PanelSession, poll_until

R = pyatspi
INTERACTIVE = {R.ROLE_PUSH_BUTTON, R.ROLE_TOGGLE_BUTTON, R.ROLE_CHECK_BOX, R.ROLE_RADIO_BUTTON, R.ROLE_COMBO_BOX,
               R.ROLE_SPIN_BUTTON, R.ROLE_TEXT, R.ROLE_ENTRY, R.ROLE_PASSWORD_TEXT, R.ROLE_SCROLL_BAR, R.ROLE_SLIDER,
               R.ROLE_LIST, R.ROLE_MENU_ITEM, R.ROLE_MENU, R.ROLE_PAGE_TAB, R.ROLE_PROGRESS_BAR, R.ROLE_TABLE}
VFO = re.compile(r"^VFO [AB] frequency (\d{1,2} )?\d{1,3}\.\d\d kHz")


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name in ("zr3817", "ZR-3817"):
            return app
    return None


def windows(app):
    out = []
    for w in app:
        try:
            if w is not None and w.getState().contains(R.STATE_SHOWING):
                out.append(w)
        except Exception:
            pass
    return out


def window_named(app, pattern):
    for w in windows(app):
        if re.search(pattern, w.name or ""):
            return w
    return None


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    for child in node:
        yield from walk(child, depth + 1)


def check_tree(failures, top, title):
    interactive = 0
    for node in walk(top):
        try:
            state = node.getState()
            role = node.getRole()
            name = node.name or ""
        except Exception:
            continue
        if not state.contains(R.STATE_SHOWING) or role not in INTERACTIVE:
            continue
        interactive += 1
        failures.check(name.strip() != "", "%s: a %s without a name (%s)" % (title, node.getRoleName(),
                                                                             node.description))
        if role == R.ROLE_SPIN_BUTTON and name.startswith("VFO"):
            failures.check(VFO.match(name) is not None, "%s: VFO display without its frequency: %r" % (title, name))
    failures.check(interactive > 0, "%s: no controls found on the bus" % title)
    return interactive


def find(top, role, prefix):
    for node in walk(top):
        try:
            if node.getRole() == role and (node.name or "").startswith(prefix):
                return node
        except Exception:
            pass
    return None


def main(panel, simulator):
    failures = Failures()
    session = PanelSession(panel, simulator)
    try:
        app = poll_until(application, START_DEADLINE)
        if not failures.check(app is not None, "the panel is not on the accessibility bus"):
            return failures.finish(session)
        main_window = poll_until(lambda: window_named(app, MAIN))
        if not failures.check(main_window is not None, "no main window on the bus"):
            return failures.finish(session)
        # The band buttons show once the radio is under remote control.
        poll_until(lambda: find(main_window, R.ROLE_PUSH_BUTTON, "20 metre band list"))
        count = check_tree(failures, main_window, "main window")
        print("main window: %d controls" % count)

        vfo = find(main_window, R.ROLE_SPIN_BUTTON, "VFO A frequency")
        if failures.check(vfo is not None, "no VFO A display"):
            before_name = vfo.name
            before_value = vfo.queryValue().currentValue
            session.keys(MAIN, "ctrl+a", "Up")
            changed = poll_until(lambda: vfo.queryValue().currentValue != before_value, DEADLINE)
            failures.check(changed, "VFO A value unchanged after Up: %r" % before_value)
            failures.check(abs(vfo.queryValue().currentValue - before_value - 0.01) < 1e-6,
                           "Up on the 10 Hz digit: %r -> %r" % (before_value, vfo.queryValue().currentValue))
            failures.check(vfo.name != before_name and VFO.match(vfo.name), "VFO A name after Up: %r" % vfo.name)
            print("VFO A: %r -> %r" % (before_name, vfo.name))

        dialogs = [("Port Setup", ["alt+e", "p"], "^Port Setup$"),
                   ("Audio Setup", ["alt+e", "a"], "Audio"),
                   ("CAT Setup", ["alt+e", "c"], "CAT"),
                   ("Network Rig Server", ["alt+e", "n"], "Rig Server"),
                   ("Channels", ["alt+e", "h"], "^Channel Setup$"),
                   ("Scan Bands", ["alt+s", "s"], "^Scan Bands$"),
                   ("Scan Freqs", ["alt+s", "f"], "^Scan Freq"),
                   ("About", ["alt+h", "a"], "About")]
        for label, keys, title in dialogs:
            session.keys(MAIN, *keys)
            dialog = poll_until(lambda: window_named(app, title))
            if not failures.check(dialog is not None, "%s did not open from the keyboard" % label):
                session.keys(MAIN, "Escape", "Escape")
                continue
            print("%s: %d controls" % (label, check_tree(failures, dialog, label)))
            session.keys(title, "Escape")
            failures.check(poll_until(lambda: window_named(app, title) is None), "%s did not close on Escape" % label)

        band = find(main_window, R.ROLE_PUSH_BUTTON, "20 metre band list")
        if failures.check(band is not None, "no band button on the bus"):
            band.queryAction().doAction(0)
            dialog = poll_until(lambda: window_named(app, "^Frequency Select$"))
            if failures.check(dialog is not None, "the 20 m band list did not open"):
                print("band list: %d controls" % check_tree(failures, dialog, "band list"))
                session.keys("^Frequency Select$", "Escape")
                failures.check(poll_until(lambda: window_named(app, "^Frequency Select$") is None),
                               "the band list did not close on Escape")

        announcer = find(main_window, R.ROLE_NOTIFICATION, "")
        if failures.check(announcer is not None, "no notification line on the bus"):
            session.keys(MAIN, "alt+x")
            said = poll_until(lambda: "Transmit" in (announcer.name or ""))
            failures.check(said, "keying was not announced: %r" % announcer.name)
            session.keys(MAIN, "alt+x")
            said = poll_until(lambda: "Receive" in (announcer.name or ""))
            failures.check(said, "unkeying was not announced: %r" % announcer.name)
            session.end_simulator()
            said = poll_until(lambda: "Port Lost" in (announcer.name or ""))
            failures.check(said, "the lost port was not announced: %r" % announcer.name)
    except Exception as e:  # a broken session is a failure, reported with the rest
        failures.check(False, "%s: %s" % (type(e).__name__, e))
    return failures.finish(session)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
