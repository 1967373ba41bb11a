#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Checks that every include in src/ and tools/ runs down the layers, never up or sideways.

The include roots of the build already refuse most such includes; this also catches what they
cannot: relative paths ("../"), a file that names its own folder's header through another
root, and new folders that no one placed. Prints one line per fault and exits 1 on any.

    checklayers.py [ROOT]    ROOT defaults to the repository this script lives in.
"""
import pathlib
import re
import sys

# Each library and the libraries it may use directly; what those may use, it may use too.
LAYERS = {
    'core/base': [],
    'core/settings': ['core/base'],
    'core/mapdb': ['core/base'],
    'core/navi': ['core/mapdb'],
    'core/navilist': ['core/navi'],
    'core/lookup': ['core/navi'],
    'core/quiz': ['core/navilist', 'core/lookup'],
    'core/session': ['core/navilist', 'core/lookup', 'core/settings', 'core/quiz'],
    'ui/mapview': ['core/lookup'],
    'ui/windows': ['ui/mapview', 'core/session', 'core/settings'],
    'app': ['ui/windows'],              # src/main.cpp
    'tools/moravelt-map': ['core/navilist', 'core/lookup', 'core/quiz'],
    'tools/moravelt-jet-read': ['core/mapdb'],   # the Jet reader program
}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def below(layer, seen=None):
    seen = set() if seen is None else seen
    for lower in LAYERS[layer]:
        if lower not in seen:
            seen.add(lower)
            below(lower, seen)
    return seen


def layer_of(rel):
    parts = rel.parts
    if parts[0] == 'tools':
        return 'tools/' + parts[1]
    if rel == pathlib.PurePath('src/main.cpp'):
        return 'app'
    return '/'.join(parts[1:3])


def root_of(layer):
    """The name a layer's headers are included by ("navi/...")."""
    return layer.split('/')[-1]


def check(root):
    root = pathlib.Path(root)
    by_root = {root_of(layer): layer for layer in LAYERS if layer.startswith(('core/', 'ui/'))}
    faults = []
    files = [p for d in ('src', 'tools') for p in sorted((root / d).rglob('*'))
             if p.suffix in ('.h', '.cpp')]
    for path in files:
        rel = path.relative_to(root)
        layer = layer_of(rel)
        if layer not in LAYERS:
            faults.append(f'{rel}: the folder {layer} is in no layer')
            continue
        allowed = below(layer) | {layer}
        for line_no, target in ((path.read_text(encoding='utf-8')[:m.start()].count('\n') + 1,
                                 m.group(1))
                                for m in INCLUDE.finditer(path.read_text(encoding='utf-8'))):
            where = f'{rel}:{line_no}: "{target}"'
            if '..' in pathlib.PurePath(target).parts:
                faults.append(f'{where} climbs out of its folder')
                continue
            first = target.split('/')[0] if '/' in target else None
            if first is None:
                if not (path.parent / target).exists():
                    faults.append(f'{where} is no file of its own folder')
                continue
            if first not in by_root:
                if layer.startswith('tools/') and (path.parent / target).exists():
                    continue
                faults.append(f'{where} names no library')
                continue
            if by_root[first] not in allowed:
                faults.append(f'{where} runs from {layer} to {by_root[first]}, which is not below it')
    return faults


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parents[2]
    faults = check(root)
    for fault in faults:
        print(fault)
    print(f'{len(faults)} include(s) against the layers')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
