#!/usr/bin/python3
"""Fotonar as Orca reads it over AT-SPI, with pyatspi (screen_reader.sh runs it).

Checks the picture before any run, writes READY_FILE once it listens for events, then waits
for the run that screen_reader.sh starts to be announced and checks the picture after it."""

import sys
import time

import pyatspi
from gi.repository import GLib

READY_FILE = sys.argv[1]
failures = []
announced = []
changed = set()


def check(condition, what):
    if not condition:
        failures.append(what)


def find(root, test):
    """The first object under `root`, breadth first, that passes `test`."""
    queue = [root]
    while queue:
        node = queue.pop(0)
        if node is None:
            continue
        if test(node):
            return node
        queue.extend(node)
    return None


def application():
    """Fotonar's application on the bus; it registers a moment after its window shows."""
    for _ in range(400):
        app = find(pyatspi.Registry.getDesktop(0),
                   lambda o: o.getRoleName() == 'application' and o.name == 'fotonar')
        if app is not None:
            return app
        time.sleep(0.05)
    return None


def picture(app):
    return find(app, lambda o: o.getRole() == pyatspi.ROLE_IMAGE and o.name.startswith('Obraz'))


def on_event(event):
    role = event.source.getRole()
    if event.type.startswith('object:property-change:'):
        changed.add((role, event.type))
    # What Orca speaks unasked: a notification that has become showing, by its name.
    elif role == pyatspi.ROLE_NOTIFICATION and event.detail1:
        announced.append(event.source.name)
        if event.source.name.startswith('Běh skončil'):
            pyatspi.Registry.stop()


def main():
    app = application()
    if app is None:
        print('fotonar is not on the accessibility bus')
        return 1
    before = picture(app)
    if before is None:
        print('no picture (an image named "Obraz běhu")')
        return 1
    check(before.name == 'Obraz běhu', f'name before any run: {before.name!r}')
    check(before.description.startswith('Tlačítko Start'),
          f'description before any run: {before.description!r}')
    check('x =' not in before.description, 'a result described before any run')

    # Orca listens to these, and so keeps what it reads of names and descriptions up to date.
    pyatspi.Registry.registerEventListener(on_event, 'object:state-changed:showing',
                                           'object:property-change:accessible-name',
                                           'object:property-change:accessible-description')
    GLib.timeout_add_seconds(120, pyatspi.Registry.stop)
    open(READY_FILE, 'w').close()
    pyatspi.Registry.start()

    after = picture(app)
    summary = 'Běh skončil: dráha nejkratšího času protíná rozhraní v bodě x = 436, ' \
              'úhel α je 58° a úhel β 25°.'
    check(announced == ['Běh začal', summary], f'announced: {announced}')
    check(after.name == 'Obraz běhu: index lomu 2, vzdálenost detektoru 400',
          f'name after the run: {after.name!r}')
    check(after.description.startswith(summary), f'description: {after.description!r}')
    check('sin α / sin β je 2,03' in after.description.replace('2.03', '2,03'),
          'sin α / sin β in the description')
    check((pyatspi.ROLE_IMAGE, 'object:property-change:accessible-description') in changed,
          "no event for the picture's new description")
    notification = find(app, lambda o: o.getRole() == pyatspi.ROLE_NOTIFICATION)
    check(not notification.getState().contains(pyatspi.STATE_FOCUSABLE),
          'the announcements can take the focus')
    print('; '.join(failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
