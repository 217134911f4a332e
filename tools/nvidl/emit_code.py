"""Forwarders, call wrappers and dispatch tables."""

from . import types
from .emit_header import BANNER


# ---- interface objects: Forward<I, D> ---------------------------------------------
def forwarder_method(itf, m):
    params = ', '.join(p.c_decl() for p in m.params)
    args = ', '.join(types.impl_argument(p) for p in m.inputs)
    call = f'::nv::frame::ImplOf<D>(this).{m.impl_name}({args})'
    rv = m.retval
    body = types.store_result(rv, call) if rv else call
    guard = 'RunUnframed' if itf.noframe else 'Run'
    lines = [f'  HRESULT STDMETHODCALLTYPE {m.vtable_name}({params}) override {{']
    declared_in = next(i for i in itf.chain() if m in i.methods)
    for p in m.params:
        if p.is_out:
            lines.append(f'    if (!{p.name}) return ::nv::frame::NullOutPointer<D>('
                         f'u"{p.name}", u"{declared_in.name}.{m.name}");')
    lines.append(f'    return ::nv::frame::{guard}<D>([&] {{ {body}; }});')
    lines.append('  }')
    return '\n'.join(lines)


def forwarder(itf):
    out = [f'template <class D>\nstruct Forward<{itf.name}, D> : public {itf.name} {{']
    for m in itf.all_methods():
        out.append(forwarder_method(itf, m))
    if itf.dispatch:
        out.append(f'  NV_FORWARD_DISPATCH({itf.name})')
    out.append('};\n')
    return '\n'.join(out)


def chain_check(itf):
    iids = ' || '.join(f'riid == IID_{i.name}' for i in itf.chain())
    return (f'template <>\ninline bool InterfaceChainHas<{itf.name}>(REFIID riid) {{\n'
            f'  return {iids};\n}}')


def forwarders_file(lib, idl_name, internal_include):
    own = lib.own(lib.interfaces)
    parts = [BANNER.format(idl=idl_name), '#pragma once\n',
             f'#include "{internal_include}"', '#include "frame/forward.h"\n',
             'namespace nv::dispatch {']
    parts += [f'extern const Table kTable_{i.name};' for i in own if i.dispatch]
    parts.append('}  // namespace nv::dispatch\n\nnamespace nv {\n')
    parts += [chain_check(i) for i in own]
    parts += [forwarder(i) for i in own]
    parts.append('}  // namespace nv\n')
    return '\n'.join(parts)


# ---- call wrappers: Calls<I, P> ------------------------------------------------------
def call_method(itf, m):
    rv = m.retval
    params = ', '.join(types.call_param(p) for p in m.inputs)
    args = [types.call_argument(p) for p in m.inputs]
    if rv:
        rtype, decl, slot, ret = types.call_result(rv)
        args.append(slot)
    else:
        rtype, decl, ret = 'void', '', None
    lines = [f'  {rtype} {m.impl_name}({params}) const {{',
             f'    {itf.name}* self = static_cast<const P*>(this)->checked();']
    if decl:
        lines.append(f'    {decl}')
    lines.append(f'    ::nv::Check(self->{m.vtable_name}({", ".join(args)}), self, IID_{itf.name});')
    if ret:
        lines.append(f'    return {ret};')
    lines.append('  }')
    return '\n'.join(lines)


def calls_file(lib, idl_name, internal_include):
    parts = [BANNER.format(idl=idl_name), '#pragma once\n',
             f'#include "{internal_include}"', '#include "frame/call_args.h"\n',
             'namespace nv {\n']
    for itf in lib.own(lib.interfaces):
        parts.append(f'template <class P>\nstruct Calls<{itf.name}, P> {{')
        parts += [call_method(itf, m) for m in itf.all_methods()]
        parts.append('};\n')
    parts.append('}  // namespace nv\n')
    return '\n'.join(parts)


# ---- late-bound dispatch ----------------------------------------------------------------
def default_initializer(lib, p):
    d = p.default
    if d is None:
        return '{VT_ERROR, DISP_E_PARAMNOTFOUND, 0.0, nullptr}'
    if d.startswith('"') or p.kind == 'bstr':
        return f'{{VT_BSTR, 0, 0.0, u"{d.strip(chr(34))}"}}'
    if d in ('TRUE', 'VARIANT_TRUE', 'true'):
        return '{VT_BOOL, -1, 0.0, nullptr}'
    if d in ('FALSE', 'VARIANT_FALSE', 'false'):
        return '{VT_BOOL, 0, 0.0, nullptr}'
    if d in lib.enum_values:
        return f'{{VT_I4, {lib.enum_values[d]}, 0.0, nullptr}}'
    if '.' in d:
        return f'{{VT_R8, 0, {d}, nullptr}}'
    return f'{{VT_I4, {int(d, 0)}, 0.0, nullptr}}'


def thunk_name(itf, m):
    return f'Invoke_{itf.name}_{m.vtable_name}'


def thunk(lib, itf, m):
    lines = [f'HRESULT {thunk_name(itf, m)}(IDispatch* self, [[maybe_unused]] Args& a) {{',
             '  HRESULT hr = S_OK;']
    for index, p in enumerate(m.inputs):
        var = f'v{index}'
        dflt = 'nullptr'
        if p.optional:
            lines.append(f'  static const Default d{index} = {default_initializer(lib, p)};')
            dflt = f'&d{index}'
        lines.append(f'  VARIANT* {var} = nullptr;')
        if p.kind == 'object':
            fetch = f'a.GetObject({index}, ::nv::IidOf<{p.type}>(), {dflt}, &{var})'
        else:
            fetch = f'a.Get({index}, {types.dispatch_vartype(p)}, {dflt}, &{var})'
        lines.append(f'  if (FAILED(hr = {fetch})) return hr;')
    args = [types.dispatch_value(p, f'v{i}') for i, p in enumerate(m.inputs)]
    rv = m.retval
    if rv:
        decl, hand = types.dispatch_return(rv)
        lines.append(f'  {decl}')
        args.append('&r')
    call = f'static_cast<{itf.name}*>(self)->{m.vtable_name}({", ".join(args)})'
    lines.append(f'  hr = {call};')
    if rv:
        lines.append(f'  if (SUCCEEDED(hr)) {hand}')
    lines.append('  return hr;\n}')
    return '\n'.join(lines)


def member_entry(lib, itf, m):
    flag = {'get': 'DISPATCH_PROPERTYGET', 'put': 'DISPATCH_PROPERTYPUT',
            'method': 'DISPATCH_METHOD'}[m.kind]
    required = sum(1 for p in m.inputs if not p.optional)
    result = types.described_vartype(lib, m.retval) if m.retval else 'VT_VOID'
    suffix = f'{itf.name}_{m.vtable_name}'
    return (f'    {{u"{m.name}", {m.dispid}, {flag}, {len(m.inputs)}, {required}, '
            f'kNames_{suffix}, kTypes_{suffix}, {result}, &{thunk_name(itf, m)}}},')


def parameter_arrays(lib, itf, m):
    """The member's parameter names and described types (one placeholder entry when
    there are none: C++ has no empty arrays)."""
    names = ', '.join(f'u"{p.name}"' for p in m.inputs) or 'nullptr'
    vts = ', '.join(types.described_vartype(lib, p) for p in m.inputs) or 'VT_EMPTY'
    suffix = f'{itf.name}_{m.vtable_name}'
    return (f'const char16_t* const kNames_{suffix}[] = {{{names}}};\n'
            f'const VARTYPE kTypes_{suffix}[] = {{{vts}}};')


def table(lib, itf):
    """The member table and its type information, which point at each other."""
    entries = '\n'.join(member_entry(lib, itf, m) for m in itf.all_methods())
    count = len(itf.all_methods())
    name = itf.name
    return (f'const Member kMembers_{name}[] = {{\n{entries}\n}};\n'
            f'extern const Table kTable_{name};\n'
            f'constinit InterfaceTypeInfo kTypeInfo_{name}{{kTable_{name}}};\n'
            f'const Table kTable_{name} = {{kMembers_{name}, {count}, IID_{name}, u"{name}", '
            f'&kTypeInfo_{name}}};\n')


def dispatch_file(lib, idl_name, internal_include):
    parts = [BANNER.format(idl=idl_name), f'#include "{internal_include}"',
             '#include "frame/dispatch.h"', '#include "frame/type_info.h"\n',
             'namespace nv::dispatch {', 'namespace {\n']
    dispatch_itfs = [i for i in lib.own(lib.interfaces) if i.dispatch]
    for itf in dispatch_itfs:
        for m in itf.all_methods():
            parts.append(parameter_arrays(lib, itf, m))
            parts.append(thunk(lib, itf, m) + '\n')
    parts.append('}  // namespace\n')
    parts += [table(lib, itf) for itf in dispatch_itfs]
    parts.append('}  // namespace nv::dispatch\n')
    return '\n'.join(parts)


# ---- coclass table -----------------------------------------------------------------------
def coclasses_file(lib, idl_name, public_include):
    coclasses = lib.own(lib.coclasses)
    defaults = sorted({cls.default_interface for cls in coclasses})
    parts = [BANNER.format(idl=idl_name), '#pragma once\n', f'#include "{public_include}"',
             '#include "frame/module_info.h"\n', 'namespace nv::dispatch {']
    parts += [f'extern const Table kTable_{name};' for name in defaults]
    parts += ['}  // namespace nv::dispatch\n', 'namespace nv {\n',
              'inline constexpr CoclassInfo kCoclasses[] = {']
    for cls in coclasses:
        a = cls.attrs
        parts.append(f'    {{CLSID_{cls.name}, u"{cls.name}", u"{a.get("progid", "")}", '
                     f'u"{a.get("viprogid", "")}", u"{a.get("helpstring", "")}", '
                     f'&dispatch::kTable_{cls.default_interface}}},')
    parts.append('};\n\n}  // namespace nv\n')
    return '\n'.join(parts)
