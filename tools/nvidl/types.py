"""How each kind of parameter crosses the three generated layers:
the interface object (vtable -> implementation), the call wrappers
(C++ caller -> vtable) and the late-bound dispatch thunks (VARIANTs -> vtable)."""

from .model import AUTOMATION_SCALARS


def base_type(p):
    return p.type + '*' * (p.depth - (1 if p.is_out else 0))


# ---- interface object: vtable arguments to implementation arguments -------------
def impl_argument(p):
    if p.is_out:
        return p.name
    return {
        'bstr': f'::nv::BstrArg::Borrow({p.name})',
        'variant': p.name,
        'bool': f'({p.name} != VARIANT_FALSE)',
        'scalar': p.name,
        'enum': p.name,
        'object': f'::nv::ComPtr<{p.type}>({p.name})',
    }[p.kind]


def store_result(p, expr):
    store = {
        'bstr': '::nv::frame::StoreBstr',
        'variant': '::nv::frame::StoreVariant',
        'bool': '::nv::frame::StoreBool',
        'scalar': f'::nv::frame::StoreValue<{p.type}>',
        'enum': f'::nv::frame::StoreValue<{p.type}>',
        'object': '::nv::frame::StoreObject',
    }[p.kind]
    return f'{store}({p.name}, {expr})'


# ---- call wrappers: C++ arguments to vtable arguments ---------------------------------
def call_param(p):
    if p.is_out:
        return f'{p.type}{"*" * p.depth} {p.name}'
    return {
        'bstr': f'const ::nv::BstrArg& {p.name}',
        'variant': f'const VARIANT& {p.name}',
        'bool': f'::nv::ExactBool {p.name}',
        'scalar': f'{p.type} {p.name}',
        'enum': f'{p.type} {p.name}',
        'object': f'::nv::InArg<{p.type}> {p.name}',
    }[p.kind]


def call_argument(p):
    if p.is_out:
        return p.name
    return {
        'bstr': f'{p.name}.Raw()',
        'variant': p.name,
        'bool': f'{p.name}.Raw()',
        'scalar': p.name,
        'enum': p.name,
        'object': f'{p.name}.get()',
    }[p.kind]


def call_result(p):
    """(C++ result type, declaration of the receiving local, vtable argument, return expr)."""
    if p.kind == 'bstr':
        return '::nv::Bstr', '::nv::Bstr r;', 'r.Receive()', 'r'
    if p.kind == 'variant':
        return '::nv::Variant', '::nv::Variant r;', 'r.Receive()', 'r'
    if p.kind == 'bool':
        return 'bool', 'VARIANT_BOOL r = VARIANT_FALSE;', '&r', 'r != VARIANT_FALSE'
    if p.kind == 'object':
        # Dependent on P, so that ComPtr<X> is instantiated only when the
        # call is, after every Calls<X> specialisation has been seen.
        ptr = f'::nv::DependentComPtr<P, {p.type}>'
        return ptr, f'{ptr} r;', 'r.put()', 'r'
    return p.type, f'{p.type} r{{}};', '&r', 'r'


# ---- dispatch thunks: VARIANT arguments to vtable arguments ---------------------------
def dispatch_vartype(p):
    return {
        'bstr': 'VT_BSTR',
        'variant': 'VT_VARIANT',
        'bool': 'VT_BOOL',
        'enum': 'VT_I4',
        'object': 'VT_UNKNOWN',
    }.get(p.kind) or AUTOMATION_SCALARS[p.type][1]


def described_vartype(lib, p):
    """The variant type that type information gives a parameter or result."""
    if p.kind != 'object':
        return dispatch_vartype(p)
    itf = lib.by_name.get(p.type)
    dispatch = itf.dispatch if itf else p.type == 'IDispatch'
    return 'VT_DISPATCH' if dispatch else 'VT_UNKNOWN'


def dispatch_value(p, var):
    if p.kind == 'object':
        return f'static_cast<{p.type}*>({var}->byref)'
    if p.kind == 'variant':
        return f'*{var}'
    field = {'bstr': 'bstrVal', 'bool': 'boolVal', 'enum': 'lVal'}.get(p.kind)
    if field is None:
        field = AUTOMATION_SCALARS[p.type][2]
    value = f'{var}->{field}'
    return f'static_cast<{p.type}>({value})' if p.kind == 'enum' else value


def dispatch_return(p):
    """(declaration of the local, statement that hands it to the dispatch result)."""
    if p.kind == 'object':
        return f'{p.type}* r = nullptr;', 'a.ReturnObject(r);'
    if p.kind == 'variant':
        return 'VARIANT r; VariantInit(&r);', 'a.ReturnVariant(r);'
    if p.kind == 'bstr':
        return 'BSTR r = nullptr;', 'a.ReturnBstr(r);'
    if p.kind == 'bool':
        return 'VARIANT_BOOL r = VARIANT_FALSE;', 'a.ReturnBool(r);'
    if p.kind == 'enum':
        return f'{p.type} r{{}};', 'a.ReturnLong(static_cast<LONG>(r));'
    vt = AUTOMATION_SCALARS[p.type][1]
    return f'{p.type} r{{}};', f'a.ReturnScalar({vt}, r);'
