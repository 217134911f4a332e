#!/usr/bin/env python3
"""Generates the NorvVexa1 interface code from an IDL file.

nvidl.py --idl LIB.idl [--out DIR] [--prelude automation_api.h] [--import OTHER.idl]
         [--subdir nvgen] [--public-header include/NorvVexa1/NorvVexa1.h]
         [--layout FILE] [--check-layout FILE]

With a prelude, the public header starts with the automation layer (the
library's own header); without one it includes the imported library's
internal header (for test interface descriptions).

--layout writes the public binary interface as text; --check-layout compares
it with a committed file and fails with a diff when they differ.
"""

import argparse
import difflib
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from nvidl import emit_code, emit_header, emit_layout  # noqa: E402
from nvidl.model import IdlError  # noqa: E402
from nvidl.parser import parse  # noqa: E402


def write_if_changed(path, text):
    """Leaves an unchanged file alone so that dependants do not rebuild."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if os.path.exists(path):
        with open(path, encoding='utf-8') as f:
            if f.read() == text:
                return
    with open(path, 'w', encoding='utf-8') as f:
        f.write(text)


def load(path):
    with open(path, encoding='utf-8') as f:
        return f.read()


def check_layout(path, text):
    """Fails with a diff when the committed layout differs from the generated text."""
    committed = load(path) if os.path.exists(path) else ''
    if committed == text:
        return
    diff = difflib.unified_diff(committed.splitlines(True), text.splitlines(True),
                                path, 'generated from the IDL')
    sys.stderr.writelines(diff)
    sys.exit(f'{path}: the public binary interface changed (see the diff above)')


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--idl', required=True)
    ap.add_argument('--out')
    ap.add_argument('--layout')
    ap.add_argument('--check-layout')
    ap.add_argument('--prelude')
    ap.add_argument('--import', dest='imports', action='append', default=[])
    ap.add_argument('--subdir', default='nvgen')
    ap.add_argument('--public-header', default='include/NorvVexa1/NorvVexa1.h')
    args = ap.parse_args()

    try:
        lib = parse(load(args.idl), args.idl)
        for other in args.imports:
            lib.merge_imported(parse(load(other), other))
        lib.resolve()
    except IdlError as e:
        sys.exit(str(e))

    idl_name = os.path.basename(args.idl)
    if args.layout:
        write_if_changed(args.layout, emit_layout.layout(lib, idl_name))
    if args.check_layout:
        check_layout(args.check_layout, emit_layout.layout(lib, idl_name))
    if args.out:
        write_outputs(lib, idl_name, args)


def write_outputs(lib, idl_name, args):
    public_path = args.public_header if args.prelude else f'{args.subdir}/public.h'
    internal_path = f'{args.subdir}/internal_interfaces.h'
    if args.prelude:
        prelude = load(args.prelude)
        includes = []
        guard = 'NORVVEXA1_NORVVEXA1_H'
    else:
        prelude = None
        includes = ['#include "nvgen/internal_interfaces.h"\n']
        guard = f'NV_{args.subdir.upper()}_PUBLIC_H'
    outputs = {
        public_path: emit_header.public_header(lib, idl_name, prelude, includes, guard),
        internal_path: emit_header.internal_header(
            lib, idl_name, 'NorvVexa1/NorvVexa1.h' if args.prelude else public_path),
        f'{args.subdir}/forwarders.h': emit_code.forwarders_file(lib, idl_name, internal_path),
        f'{args.subdir}/calls.h': emit_code.calls_file(lib, idl_name, internal_path),
        f'{args.subdir}/dispatch_tables.cpp': emit_code.dispatch_file(lib, idl_name, internal_path),
        f'{args.subdir}/coclasses.h': emit_code.coclasses_file(lib, idl_name, public_path),
    }
    for rel, text in outputs.items():
        write_if_changed(os.path.join(args.out, rel), text)


if __name__ == '__main__':
    main()
