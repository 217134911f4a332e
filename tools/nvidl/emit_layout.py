"""The public binary interface as text: what a compiled client depends on.

One line per identifier, vtable slot and enumerator, so that a diff against the
committed file shows exactly which member moved or changed."""

import os

# Slots the public interfaces inherit from their root (as the header declares them).
ROOT_SLOTS = {'IUnknown': 3, 'IDispatch': 7}

BANNER = """\
# Binary interface of the {lib} library, generated from {idl} by tools/nvidl.py.
# Installed clients are compiled against every line: identifiers, vtable slots
# (counting the IUnknown/IDispatch slots before them), signatures, dispatch ids
# and enumerator values. The nvidl_layout test fails when the IDL no longer
# produces this file. Add members only at the end of an interface, or add a new
# interface; never reorder, remove or retype. To accept a deliberate change:
#   python3 tools/nvidl.py --idl idl/{idl} --layout idl/{layout}
"""


def first_slot(itf):
    if itf.base is None:
        return ROOT_SLOTS[itf.base_name]
    return first_slot(itf.base) + len(itf.base.methods)


def slot_line(itf, slot, m):
    params = ', '.join(p.type + '*' * p.depth for p in m.params)
    dispid = f' id({m.dispid})' if itf.dispatch else ''
    return f'{itf.name} {slot} {m.vtable_name} HRESULT({params}){dispid}'


def interface_lines(itf):
    lines = [f'interface {itf.name} : {itf.base_name} {itf.attrs["uuid"].upper()}']
    start = first_slot(itf)
    lines += [slot_line(itf, start + k, m) for k, m in enumerate(itf.methods)]
    return lines


def layout(lib, idl_name):
    banner = BANNER.format(lib=lib.name, idl=idl_name,
                           layout=os.path.splitext(idl_name)[0] + '.layout')
    lines = [banner.rstrip('\n'),
             f'library {lib.name} {lib.attrs["uuid"].upper()}']
    for enum in lib.own(lib.enums):
        lines += [f'enum {enum.name} {name} = {value}' for name, value in enum.values]
    for itf in lib.own(lib.interfaces):
        if not itf.internal:
            lines += interface_lines(itf)
    for cls in lib.own(lib.coclasses):
        lines.append(f'coclass {cls.name} {cls.attrs["uuid"].upper()} '
                     f'default {cls.default_interface}')
    return '\n'.join(lines) + '\n'
