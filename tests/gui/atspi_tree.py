"""Reads a program's accessible tree over AT-SPI, as a screen reader would, and can do an action.

Run as its own process with the session bus of the program in its environment: the AT-SPI library
keeps its first bus connection for the life of the process.

    atspi_tree.py PID                 prints the tree as JSON: one object per node, in tree order
    atspi_tree.py PID ROLE NAME ACTION  does the named action of the first node with that role and name
"""
import json
import sys

import pyatspi


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def walk(node, path=()):
    yield path, node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, path + (i,))


def describe(node, path, where):
    relations = {}
    for relation in node.getRelationSet():
        kind = pyatspi.relationToString(relation.getRelationType()).lower().replace('_', '-').replace(' ', '-')
        relations[kind] = [where.get(relation.getTarget(i)) for i in range(relation.getNTargets())]
    try:
        action = node.queryAction()
        actions = [action.getName(i) for i in range(action.nActions)]
    except NotImplementedError:
        actions = []
    states = node.getState()
    return {'path': list(path), 'role': node.getRoleName(), 'name': node.name, 'relations': relations,
            'actions': actions, 'focusable': states.contains(pyatspi.STATE_FOCUSABLE),
            'showing': states.contains(pyatspi.STATE_SHOWING)}


def tree(app):
    nodes = list(walk(app))
    where = {node: list(path) for path, node in nodes}
    return [describe(node, path, where) for path, node in nodes]


def main(argv):
    app = application(int(argv[1]))
    if app is None:
        print('null')  # not on the bus (yet)
        return 0
    if len(argv) == 2:
        print(json.dumps(tree(app), ensure_ascii=False))
        return 0
    role, name, wanted = argv[2:5]
    for _, node in walk(app):
        if node.getRoleName() == role and node.name == name:
            action = node.queryAction()
            for i in range(action.nActions):
                if action.getName(i) == wanted:
                    print(json.dumps(action.doAction(i)))
                    return 0
    print(f'no {role} {name!r} with the action {wanted!r}', file=sys.stderr)
    return 1


if __name__ == '__main__':
    sys.exit(main(sys.argv))
