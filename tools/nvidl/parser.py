"""Parser for the subset of IDL that describes the NorvVexa1 type library."""

import re

from .model import Coclass, Enum, IdlError, Interface, Library, Method, Param

TOKEN_RE = re.compile(
    r'\s+|//[^\n]*|/\*.*?\*/'          # blanks and comments
    r'|(?P<str>"(?:[^"\\]|\\.)*")'
    r'|(?P<guid>[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12})'
    r'|(?P<num>-?(?:0[xX][0-9A-Fa-f]+|\d+(?:\.\d+)?))'
    r'|(?P<id>[A-Za-z_]\w*)'
    r'|(?P<punct>[\[\](){};:,=*])',
    re.S)

# The attributes each construct accepts, with the form of their value (None:
# a bare flag). Only what the generator understands or the libraries use: a
# misspelt [propget] must not quietly turn a property into a method.
GUID = (r'[0-9A-Fa-f]{8}(?:-[0-9A-Fa-f]{4}){3}-[0-9A-Fa-f]{12}', 'a uuid')
INT = (r'-?(?:0[xX][0-9A-Fa-f]+|\d+)', 'a number')
TEXT = (r'.*', 'a value')
ATTRIBUTES = {
    'library': {'uuid': GUID, 'version': (r'\d+\.\d+', 'major.minor'), 'helpstring': TEXT},
    'enum': {},
    'interface': {'object': None, 'dual': None, 'internal': None, 'noframe': None,
                  'uuid': GUID, 'helpstring': TEXT},
    'method': {'propget': None, 'propput': None, 'id': INT, 'helpstring': TEXT},
    'parameter': {'in': None, 'out': None, 'retval': None, 'optional': None,
                  'defaultvalue': TEXT},
    'coclass': {'uuid': GUID, 'helpstring': TEXT, 'progid': TEXT, 'viprogid': TEXT,
                'hidden': None},
    'coclass member': {'default': None},
}
REQUIRED = {'library': ('uuid',), 'interface': ('uuid',), 'coclass': ('uuid',)}


class Attributes(dict):
    """name -> value (True for a flag), remembering the line of each name."""
    def __init__(self):
        super().__init__()
        self.lines = {}


def tokenize(text, source):
    pos, tokens = 0, []
    while pos < len(text):
        m = TOKEN_RE.match(text, pos)
        if not m:
            line = text.count('\n', 0, pos) + 1
            raise IdlError(f'{source}:{line}', f'unexpected character {text[pos]!r}')
        pos = m.end()
        kind = m.lastgroup
        if kind:
            tokens.append((kind, m.group(kind), text.count('\n', 0, m.start()) + 1))
    return tokens


class Parser:
    def __init__(self, text, source):
        self.source = source
        self.tokens = tokenize(text, source)
        self.i = 0

    # ---- token helpers --------------------------------------------------------
    def peek(self, offset=0):
        j = self.i + offset
        if j < len(self.tokens):
            return self.tokens[j]
        return ('eof', '', self.tokens[-1][2] if self.tokens else 1)

    def where(self, line=None):
        """'file:line' of the given line, or of the next token."""
        return f'{self.source}:{self.peek()[2] if line is None else line}'

    def error(self, message, line=None):
        return IdlError(self.where(line), message)

    def take(self, value=None):
        tok = self.peek()
        if tok[0] == 'eof':
            raise self.error('unexpected end of the file')
        if value is not None and tok[1] != value:
            raise self.error(f'expected {value!r}, found {tok[1]!r}')
        self.i += 1
        return tok[1]

    def located(self, item, line):
        item.where = self.where(line)
        return item

    def accept(self, value):
        if self.peek()[1] == value:
            self.i += 1
            return True
        return False

    # ---- grammar ----------------------------------------------------------------
    def attributes(self, construct=None):
        """[name, name(value), ...] -> Attributes; a missing list gives none.
        Without a construct the caller checks them once it knows what they belong to."""
        attrs = Attributes()
        if self.accept('['):
            self.attribute_list(attrs)
        return self.checked(attrs, construct) if construct else attrs

    def attribute_list(self, attrs):
        while not self.accept(']'):
            line = self.peek()[2]
            name = self.take()
            if name in attrs:
                raise self.error(f'attribute [{name}] given twice', line)
            value = True
            if self.accept('('):
                parts = []
                while not self.accept(')'):
                    parts.append(self.take())
                value = ''.join(parts)
                if value.startswith('"'):
                    value = value[1:-1]
            attrs[name] = value
            attrs.lines[name] = line
            self.accept(',')

    def checked(self, attrs, construct):
        """Refuses an attribute the construct does not take, or a value of the wrong form."""
        accepted = ATTRIBUTES[construct]
        for name, value in attrs.items():
            line = attrs.lines[name]
            if name not in accepted:
                names = ', '.join(sorted(accepted)) or 'none'
                raise self.error(f'unknown {construct} attribute [{name}] (accepted: {names})',
                                 line)
            form = accepted[name]
            if form is None and value is not True:
                raise self.error(f'attribute [{name}] takes no value', line)
            if form is not None and (value is True or not re.fullmatch(form[0], value)):
                raise self.error(f'attribute [{name}] needs {form[1]}', line)
        for name in REQUIRED.get(construct, ()):
            if name not in attrs:
                raise self.error(f'the {construct} needs the attribute [{name}]')
        return attrs

    def library(self):
        attrs = self.attributes()
        self.take('library')
        self.checked(attrs, 'library')
        lib = self.located(Library(self.take(), attrs), self.peek(-1)[2])
        self.take('{')
        while not self.accept('}'):
            item_attrs = self.attributes()
            keyword = self.peek()[1]
            if keyword == 'typedef':
                lib.enums.append(self.enum(self.checked(item_attrs, 'enum')))
            elif keyword == 'interface':
                lib.interfaces.append(self.interface(self.checked(item_attrs, 'interface')))
            elif keyword == 'coclass':
                lib.coclasses.append(self.coclass(self.checked(item_attrs, 'coclass')))
            else:
                raise self.error(f'unexpected {keyword!r}')
        self.accept(';')
        return lib

    def enum(self, attrs):
        self.take('typedef')
        attrs.update(self.attributes('enum'))
        self.take('enum')
        line, name = self.peek()[2], self.take()
        values, next_value = [], 0
        self.take('{')
        while not self.accept('}'):
            member = self.take()
            if self.accept('='):
                next_value = int(self.take(), 0)
            values.append((member, next_value))
            next_value += 1
            self.accept(',')
        self.take(name)
        self.take(';')
        return self.located(Enum(name, attrs, values), line)

    def interface(self, attrs):
        self.take('interface')
        line, name = self.peek()[2], self.take()
        self.take(':')
        itf = self.located(Interface(name, attrs, self.take()), line)
        self.take('{')
        while not self.accept('}'):
            itf.methods.append(self.method())
        self.take(';')
        return itf

    def method(self):
        attrs = self.attributes('method')
        self.take('HRESULT')
        method = self.located(Method(self.take(), attrs), self.peek(-1)[2])
        self.take('(')
        while not self.accept(')'):
            p_attrs = self.attributes('parameter')
            line, type_name = self.peek()[2], self.take()
            depth = 0
            while self.accept('*'):
                depth += 1
            param = Param(self.take(), type_name, depth, p_attrs)
            method.params.append(self.located(param, line))
            self.accept(',')
        self.take(';')
        return method

    def coclass(self, attrs):
        self.take('coclass')
        cls = self.located(Coclass(self.take(), attrs), self.peek(-1)[2])
        self.take('{')
        while not self.accept('}'):
            i_attrs = self.attributes('coclass member')
            self.take('interface')
            cls.interfaces.append((self.take(), i_attrs))
            self.take(';')
        self.take(';')
        return cls


def parse(text, source='<idl>'):
    """The library in text; errors name source and the line."""
    parser = Parser(text, source)
    lib = parser.library()
    if parser.peek()[0] != 'eof':
        raise parser.error('text after the library')
    return lib
