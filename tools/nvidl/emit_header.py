"""Interface declarations: the public header and the internal interfaces."""

from .model import guid_initializer

BANNER = '// Generated from {idl} by tools/nvidl.py. Do not edit.\n'


def interface_struct(itf):
    out = [f'struct {itf.name} : public {itf.base_name} {{']
    for m in itf.methods:
        params = ', '.join(p.c_decl() for p in m.params)
        out.append(f'  virtual HRESULT STDMETHODCALLTYPE {m.vtable_name}({params}) = 0;')
    out.append('\n protected:')
    out.append(f'  ~{itf.name}() = default;')
    out.append('};\n')
    return '\n'.join(out)


def iid_constant(itf):
    return f'inline constexpr IID IID_{itf.name} = {guid_initializer(itf.attrs["uuid"])};'


def enum_decl(enum):
    body = ',\n'.join(f'  {name} = {value}' for name, value in enum.values)
    return f'enum {enum.name} : LONG {{\n{body}\n}};\n'


def interfaces_block(interfaces):
    out = [f'struct {i.name};' for i in interfaces]
    out.append('')
    out += [iid_constant(i) for i in interfaces]
    out.append('')
    out += [interface_struct(i) for i in interfaces]
    return '\n'.join(out)


def public_header(lib, idl_name, prelude_text, include_lines, guard):
    public = [i for i in lib.own(lib.interfaces) if not i.internal]
    parts = [BANNER.format(idl=idl_name)]
    if prelude_text:
        parts.append(prelude_text)
    parts.append(f'#ifndef {guard}\n#define {guard}\n')
    parts += include_lines
    parts += [enum_decl(e) for e in lib.own(lib.enums)]
    parts.append(interfaces_block(public))
    for cls in lib.own(lib.coclasses):
        parts.append(f'inline constexpr CLSID CLSID_{cls.name} = {guid_initializer(cls.attrs["uuid"])};')
    if prelude_text:
        parts.append(f'inline constexpr GUID LIBID_{lib.name} = {guid_initializer(lib.attrs["uuid"])};')
    parts.append(f'\n#endif  // {guard}\n')
    return '\n'.join(parts)


def internal_header(lib, idl_name, public_include):
    internal = [i for i in lib.own(lib.interfaces) if i.internal]
    parts = [BANNER.format(idl=idl_name), '#pragma once\n',
             f'#include "{public_include}"', '#include "frame/com_ptr.h"\n',
             interfaces_block(internal), 'namespace nv {']
    for itf in lib.own(lib.interfaces):
        parts.append(f'template <>\ninline const IID& IidOf<{itf.name}>() {{ return IID_{itf.name}; }}')
    parts.append('}  // namespace nv\n')
    return '\n'.join(parts)
