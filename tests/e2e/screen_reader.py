#!/usr/bin/python3
# Fotonar as Orca reads it over AT-SPI (screen_reader.sh runs it): the picture before any run;
# then, once the file named by the argument says that it listens, what the run that the script
# starts announces, and the picture after it.
import sys
import time

import pyatspi
from gi.repository import GLib

SUMMARY = 'Běh skončil: dráha nejkratšího času protíná rozhraní v bodě x = 436, ' \
          'úhel α je 58° a úhel β 25°.'
announced, changed = [], set()


def find(root, test):
    queue = [root]
    while queue and not (queue[0] is not None and test(queue[0])):
        queue.extend(queue.pop(0) or [])
    return queue[0] if queue else None


def on_event(event):
    if event.type.startswith('object:property-change:'):
        changed.add((event.source.getRole(), event.type))
    elif event.source.getRole() == pyatspi.ROLE_NOTIFICATION and event.detail1:  # Orca speaks it
        announced.append(event.source.name)
        if event.source.name.startswith('Běh skončil'):
            pyatspi.Registry.stop()


for _ in range(400):  # it registers a moment after its window shows
    app = find(pyatspi.Registry.getDesktop(0), lambda o: o.name == 'fotonar')
    if app is not None:
        break
    time.sleep(0.05)
assert app is not None, 'fotonar is not on the accessibility bus'
picture = find(app, lambda o: o.getRole() == pyatspi.ROLE_IMAGE and o.name.startswith('Obraz'))
assert picture is not None and picture.name == 'Obraz běhu', 'no picture named "Obraz běhu"'
assert picture.description.startswith('Tlačítko Start') and 'x =' not in picture.description, \
    f'before any run: {picture.description}'

# Orca listens to these too, and so keeps what it reads of names and descriptions up to date.
pyatspi.Registry.registerEventListener(on_event, 'object:state-changed:showing',
                                       'object:property-change:accessible-name',
                                       'object:property-change:accessible-description')
GLib.timeout_add_seconds(120, pyatspi.Registry.stop)
open(sys.argv[1], 'w').close()
pyatspi.Registry.start()

assert announced == ['Běh začal', SUMMARY], f'announced: {announced}'
assert picture.name == 'Obraz běhu: index lomu 2, vzdálenost detektoru 400', picture.name
assert picture.description.startswith(SUMMARY), picture.description
assert 'sin α / sin β je 2' in picture.description, picture.description
assert (pyatspi.ROLE_IMAGE, 'object:property-change:accessible-description') in changed, \
    "no event for the picture's new description"
