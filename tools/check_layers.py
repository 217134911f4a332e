#!/usr/bin/env python3
"""Checks that every source file includes only its own layer and the layers below.

usage: check_layers.py SRC_DIR GROUP...
Each GROUP is a layer, or layers side by side joined by "+", from the bottom
up (the order the build gives). Generated headers (nvgen/, NorvVexa1/) belong
to the bottom layer. Every folder of SRC_DIR must be a layer. Prints each
offending include and exits with 1 when there is one.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/')
GENERATED = ('nvgen', 'NorvVexa1')


def layer_ranks(groups):
    ranks = {}
    for rank, group in enumerate(groups):
        for layer in group.split('+'):
            ranks[layer] = rank
    return ranks


def faults_of_file(path, layer, ranks):
    own = ranks[layer]
    with open(path, encoding='utf-8') as source:
        for number, line in enumerate(source, 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = match.group(1)
            if target in GENERATED:
                continue
            if target not in ranks:
                yield f'{path}:{number}: includes "{target}/", which is no layer'
            elif target != layer and ranks[target] >= own:
                yield f'{path}:{number}: layer {layer} includes {target}, which is not below it'


def faults(src, groups):
    ranks = layer_ranks(groups)
    for entry in sorted(os.listdir(src)):
        folder = os.path.join(src, entry)
        if not os.path.isdir(folder):
            yield f'{folder}: a file outside every layer'
            continue
        if entry not in ranks:
            yield f'{folder}: a folder that is not in the layer list'
            continue
        for root, _, files in os.walk(folder):
            for name in sorted(files):
                if name.endswith(('.h', '.cpp')):
                    yield from faults_of_file(os.path.join(root, name), entry, ranks)


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    found = list(faults(argv[1], argv[2:]))
    for fault in found:
        print(fault)
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
