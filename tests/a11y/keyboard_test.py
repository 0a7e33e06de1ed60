"""The panel operated with the keyboard alone (xdotool keys into the real
panel on the simulator): VFO A stepped by its 10 Hz digit, Port Setup,
Channels and a band list opened and closed, the mode changed, the
transmitter keyed and unkeyed. The accessibility bus only tells where the
focus is, as a screen reader would tell the operator."""

import re
import sys

import pyatspi

from panel_session import MAIN, START_DEADLINE, Failures, PanelSession, frequency_commands, poll_until

TAB_LIMIT = 120


def focused_name(app):
    def search(node, depth=0):
        if node is None or depth > 40:
            return None
        try:
            state = node.getState()
            if not state.contains(pyatspi.STATE_SHOWING):
                return None
            if state.contains(pyatspi.STATE_FOCUSED):
                # A list is read as its label and its value.
                labels = [r.getTarget(i).name for r in node.getRelationSet()
                          if r.getRelationType() == pyatspi.RELATION_LABELLED_BY for i in range(r.getNTargets())]
                return " ".join(labels + [node.name or ""]).strip()
        except Exception:
            return None
        for child in node:
            found = search(child, depth + 1)
            if found is not None:
                return found
        return None

    for window in app:
        found = search(window)
        if found is not None:
            return found
    return None


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name in ("zr3817", "ZR-3817"):
            return app
    return None


def tab_to(session, app, wanted, seen=None):
    """Tab through the main window until the control read as `wanted` has the
    focus: a text it contains, or a test of what it is read as."""
    matches = wanted if callable(wanted) else (lambda now: wanted in now)
    for _ in range(TAB_LIMIT):
        now = focused_name(app) or ""
        if seen is not None:
            seen.append(now)
        if matches(now):
            return True
        session.keys(MAIN, "Tab", pause=0.05)
        poll_until(lambda: focused_name(app) is not None, 5)
    return False


def opens_and_closes(session, failures, label, keys, title, app=None, tab=None):
    seen = []
    if tab and not failures.check(tab_to(session, app, tab, seen), "Tab never reached %s: %r" % (tab, seen[-60:])):
        return
    session.keys(MAIN, *keys)
    opened = poll_until(lambda: session.window(title))
    if not failures.check(opened, "%s did not open from the keyboard" % label):
        return
    session.keys(title, "Escape")
    failures.check(poll_until(lambda: session.window(title) is None), "%s did not close on Escape" % label)


def main(panel, simulator):
    failures = Failures()
    session = PanelSession(panel, simulator)
    try:
        app = poll_until(application, START_DEADLINE)
        failures.check(app is not None, "the panel is not on the accessibility bus")

        # VFO A has the keyboard; its 10 Hz digit is marked.
        before = len(frequency_commands(session.commands()))
        session.keys(MAIN, "ctrl+a", "Up")
        sent = poll_until(lambda: len(frequency_commands(session.commands())) >= before + 2)
        if failures.check(sent, "Up on VFO A sent no frequency"):
            up = frequency_commands(session.commands())[-1]
            session.keys(MAIN, "Down")
            poll_until(lambda: len(frequency_commands(session.commands())) >= before + 4)
            down = frequency_commands(session.commands())[-1]
            failures.check(int(up[1:]) - int(down[1:]) == 1, "Up then Down on the 10 Hz digit: %s, %s" % (up, down))
            print("VFO A by keys: %s then %s" % (up, down))

        opens_and_closes(session, failures, "Port Setup", ["alt+e", "p"], "^Port Setup$")
        opens_and_closes(session, failures, "Channels", ["alt+e", "h"], "^Channel Setup$")
        if app is not None:
            opens_and_closes(session, failures, "the 20 m band list", ["space"], "^Frequency Select$", app,
                             "20 metre band list")

            # The mode list, read as "Mode" and its value; VFO B's, read as
            # "Mode VFO B ...", comes first and only changes the panel's VFO B.
            seen = []
            if failures.check(tab_to(session, app, lambda now: now.startswith("Mode ") and "VFO B" not in now, seen),
                              "Tab never reached the mode list: %r" % seen[-60:]):
                before = len(session.commands())
                session.keys(MAIN, "Down")
                changed = poll_until(lambda: any(re.fullmatch(r"M[1-4]", c) for c in session.commands()[before:]))
                failures.check(changed, "Down on the mode list sent no mode: %r" % session.commands()[before:])

        # Keyed and unkeyed with Alt+X.
        keyed_before = session.commands().count("K")
        session.keys(MAIN, "alt+x")
        keyed = poll_until(lambda: session.commands().count("K") > keyed_before)
        if failures.check(keyed, "Alt+X did not key"):
            session.keys(MAIN, "alt+x")

            def unkeyed():
                c = session.commands()
                last_k = len(c) - 1 - c[::-1].index("K")
                return "U" in c[last_k:]

            failures.check(poll_until(unkeyed), "the second Alt+X did not unkey")
    except Exception as e:
        failures.check(False, "%s: %s" % (type(e).__name__, e))
    return failures.finish(session)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
