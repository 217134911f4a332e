"""The type library as the generators see it."""

import re

AUTOMATION_SCALARS = {
    # IDL type: (C++ type, variant type, variant field)
    'LONG': ('LONG', 'VT_I4', 'lVal'),
    'SHORT': ('SHORT', 'VT_I2', 'iVal'),
    'BYTE': ('BYTE', 'VT_UI1', 'bVal'),
    'FLOAT': ('FLOAT', 'VT_R4', 'fltVal'),
    'DOUBLE': ('DOUBLE', 'VT_R8', 'dblVal'),
    'DATE': ('DATE', 'VT_DATE', 'date'),
}
BASE_INTERFACES = ('IUnknown', 'IDispatch')


class IdlError(Exception):
    """A fault in the interface description, at 'file:line' where known."""
    def __init__(self, where, message):
        super().__init__(f'{where}: {message}' if where else message)


def guid_initializer(text):
    """'29D4A9F9-65CE-...' -> C++ aggregate initializer of a GUID."""
    h = text.replace('-', '')
    if not re.fullmatch(r'[0-9A-Fa-f]{32}', h):
        raise IdlError(None, f'bad uuid {text!r}')
    data4 = ', '.join('0x' + h[16 + 2 * k:18 + 2 * k] for k in range(8))
    return f'{{0x{h[0:8]}, 0x{h[8:12]}, 0x{h[12:16]}, {{{data4}}}}}'


class Param:
    where = None  # 'file:line' of the declaration, set by the parser

    def __init__(self, name, type_name, depth, attrs):
        self.name, self.type, self.depth, self.attrs = name, type_name, depth, attrs
        self.kind = None  # set by Library.resolve: bstr, variant, bool, scalar, enum, object

    @property
    def is_retval(self):
        return 'retval' in self.attrs

    @property
    def is_out(self):
        return 'out' in self.attrs

    @property
    def optional(self):
        return 'optional' in self.attrs or 'defaultvalue' in self.attrs

    @property
    def default(self):
        return self.attrs.get('defaultvalue')

    def c_decl(self):
        return f'{self.type}{"*" * self.depth} {self.name}'


class Method:
    where = None

    def __init__(self, name, attrs):
        self.name, self.attrs, self.params = name, attrs, []
        self.dispid = None

    @property
    def kind(self):
        if 'propget' in self.attrs:
            return 'get'
        if 'propput' in self.attrs:
            return 'put'
        return 'method'

    @property
    def vtable_name(self):
        return {'get': 'get_', 'put': 'put_', 'method': ''}[self.kind] + self.name

    @property
    def impl_name(self):
        """The name of the implementation's operation and of the call wrapper."""
        return ('Put' if self.kind == 'put' else '') + self.name

    @property
    def retval(self):
        return next((p for p in self.params if p.is_retval), None)

    @property
    def inputs(self):
        return [p for p in self.params if not p.is_retval]


class Interface:
    where = None

    def __init__(self, name, attrs, base):
        self.name, self.attrs, self.base_name = name, attrs, base
        self.methods = []
        self.base = None      # Interface, or None for IUnknown / IDispatch
        self.imported = False

    @property
    def internal(self):
        return 'internal' in self.attrs

    @property
    def dispatch(self):
        return self.root_base == 'IDispatch'

    @property
    def noframe(self):
        return 'noframe' in self.attrs

    @property
    def root_base(self):
        return self.base.root_base if self.base else self.base_name

    def chain(self):
        """This interface and its bases, most derived first."""
        return [self] + (self.base.chain() if self.base else [])

    def all_methods(self):
        """Vtable order: base methods first."""
        return (self.base.all_methods() if self.base else []) + self.methods


class Enum:
    where = None

    def __init__(self, name, attrs, values):
        self.name, self.attrs, self.values = name, attrs, values
        self.imported = False


class Coclass:
    where = None

    def __init__(self, name, attrs):
        self.name, self.attrs, self.interfaces = name, attrs, []
        self.imported = False

    @property
    def default_interface(self):
        for name, attrs in self.interfaces:
            if 'default' in attrs:
                return name
        return self.interfaces[0][0]


class Library:
    where = None

    def __init__(self, name, attrs):
        self.name, self.attrs = name, attrs
        self.enums, self.interfaces, self.coclasses = [], [], []

    def merge_imported(self, other):
        for seq_name in ('enums', 'interfaces', 'coclasses'):
            for item in getattr(other, seq_name):
                item.imported = True
                getattr(self, seq_name).insert(0, item)

    def own(self, seq):
        return [x for x in seq if not x.imported]

    def resolve(self):
        self.check_unique_uuids()
        self.enum_names = {e.name: e for e in self.enums}
        self.enum_values = {n: v for e in self.enums for n, v in e.values}
        self.by_name = {i.name: i for i in self.interfaces}
        for itf in self.interfaces:  # all bases first: a base may come later in the file
            if itf.base_name not in BASE_INTERFACES:
                if itf.base_name not in self.by_name:
                    raise IdlError(itf.where, f'{itf.name}: unknown base {itf.base_name}')
                itf.base = self.by_name[itf.base_name]
        for itf in self.interfaces:
            for method in itf.methods:
                for p in method.params:
                    p.kind = self.param_kind(itf, method, p)
            self.assign_dispids(itf)
            self.check_dispids(itf)
            self.check_names(itf)

    def check_unique_uuids(self):
        """Every identifier names one thing: a shared one would make QueryInterface
        or class creation hand out the wrong object."""
        owners = {}
        for item in [self] + self.enums + self.interfaces + self.coclasses:
            uuid = item.attrs.get('uuid')
            if uuid is None:
                continue
            first = owners.setdefault(uuid.upper(), item)
            if first is not item:
                raise IdlError(item.where, f'uuid {uuid} of {item.name} is already the uuid '
                                           f'of {first.name} ({first.where})')

    def param_kind(self, itf, method, p):
        where = f'{itf.name}.{method.name}.{p.name}'
        direct = p.depth - (1 if p.is_out else 0)
        if p.type == 'BSTR' and direct == 0:
            return 'bstr'
        if p.type == 'VARIANT' and direct == 0:
            return 'variant'
        if p.type == 'VARIANT_BOOL' and direct == 0:
            return 'bool'
        if p.type in AUTOMATION_SCALARS and direct == 0:
            return 'scalar'
        if p.type in self.enum_names and direct == 0:
            return 'enum'
        if (p.type in self.by_name or p.type in BASE_INTERFACES) and direct == 1:
            return 'object'
        raise IdlError(p.where, f'{where}: type {p.type}{"*" * p.depth} is not supported')

    @staticmethod
    def assign_dispids(itf):
        """A member without id(N) takes its property's id, else the next one after
        every id already used in the chain, explicit ones included."""
        members = itf.all_methods()
        used = {m.dispid for m in members if m.dispid is not None}
        used |= {int(m.attrs['id'], 0) for m in members if 'id' in m.attrs}
        by_name = {m.name: m.dispid for m in members if m.dispid is not None}
        for m in members:
            if m.dispid is not None:
                continue
            if 'id' in m.attrs:
                m.dispid = int(m.attrs['id'], 0)
            elif m.name in by_name:
                m.dispid = by_name[m.name]
            else:
                m.dispid = max([d for d in used if d < 0x10000] + [0]) + 1
            used.add(m.dispid)
            by_name[m.name] = m.dispid

    @staticmethod
    def check_dispids(itf):
        """One name, one id: only the get and put of a property share it."""
        by_id, by_name = {}, {}
        for m in itf.all_methods():
            first = by_id.setdefault(m.dispid, m)
            if first is not m and (first.name != m.name or {first.kind, m.kind} != {'get', 'put'}):
                raise IdlError(m.where, f'id({m.dispid}) of {itf.name}.{m.vtable_name} is already '
                                        f'the id of {first.vtable_name} ({first.where})')
            first = by_name.setdefault(m.name, m)
            if first.dispid != m.dispid:
                raise IdlError(m.where, f'{itf.name}.{m.vtable_name} has id({m.dispid}) but '
                                        f'{first.vtable_name} has id({first.dispid}) '
                                        f'({first.where})')

    @staticmethod
    def check_names(itf):
        seen = {}
        for m in itf.all_methods():
            key = m.impl_name
            if key in seen and seen[key] is not m:
                raise IdlError(m.where, f'{itf.name}: {m.vtable_name} and {seen[key].vtable_name} '
                                 f'would share the operation name {key}')
            seen[key] = m
