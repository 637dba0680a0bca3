#!/usr/bin/env python3
"""Prints the accessibility tree of one running program as a screen reader reads it.

Usage: atspi_dump.py PID

One line per object, its fields separated by tabs: depth, role, name, states (comma separated), text (for objects
with a text interface), actions (comma separated). Exits with status 2 when no application of that process is on
the accessibility bus.
"""
import sys

import pyatspi


def field(value):
    return str(value).replace("\t", " ").replace("\n", " ")


def text_of(accessible):
    try:
        text = accessible.queryText()
    except NotImplementedError:
        return ""
    return text.getText(0, text.characterCount)


def actions_of(accessible):
    try:
        action = accessible.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def states_of(accessible):
    return sorted(state.value_nick for state in accessible.getState().getStates())


def dump(accessible, depth, out):
    out.append("\t".join([str(depth), field(accessible.getRoleName()), field(accessible.name),
                          ",".join(states_of(accessible)), field(text_of(accessible)),
                          ",".join(actions_of(accessible))]))
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None:
            dump(child, depth + 1, out)


def main():
    pid = int(sys.argv[1])
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        application = desktop.getChildAtIndex(i)
        if application is not None and application.get_process_id() == pid:
            lines = []
            dump(application, 0, lines)
            print("\n".join(lines))
            return 0
    return 2


if __name__ == "__main__":
    sys.exit(main())
