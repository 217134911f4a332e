"""Parser for the subset of IDL that describes the NorvVexa1 type library."""

import re

from .model import Coclass, Enum, Interface, Library, Method, Param

TOKEN_RE = re.compile(
    r'\s+|//[^\n]*|/\*.*?\*/'          # blanks and comments
    r'|(?P<str>"(?:[^"\\]|\\.)*")'
    r'|(?P<guid>[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12})'
    r'|(?P<num>-?(?:0[xX][0-9A-Fa-f]+|\d+(?:\.\d+)?))'
    r'|(?P<id>[A-Za-z_]\w*)'
    r'|(?P<punct>[\[\](){};:,=*])',
    re.S)


class IdlError(Exception):
    pass


def tokenize(text):
    pos, tokens = 0, []
    while pos < len(text):
        m = TOKEN_RE.match(text, pos)
        if not m:
            line = text.count('\n', 0, pos) + 1
            raise IdlError(f'line {line}: unexpected character {text[pos]!r}')
        pos = m.end()
        kind = m.lastgroup
        if kind:
            tokens.append((kind, m.group(kind), text.count('\n', 0, m.start()) + 1))
    return tokens


class Parser:
    def __init__(self, text):
        self.tokens = tokenize(text)
        self.i = 0

    # ---- token helpers --------------------------------------------------------
    def peek(self, offset=0):
        j = self.i + offset
        return self.tokens[j] if j < len(self.tokens) else ('eof', '', -1)

    def take(self, value=None):
        tok = self.peek()
        if value is not None and tok[1] != value:
            raise IdlError(f'line {tok[2]}: expected {value!r}, found {tok[1]!r}')
        self.i += 1
        return tok[1]

    def accept(self, value):
        if self.peek()[1] == value:
            self.i += 1
            return True
        return False

    # ---- grammar ----------------------------------------------------------------
    def attributes(self):
        """[name, name(value), ...] -> dict; a missing list gives {}."""
        attrs = {}
        if not self.accept('['):
            return attrs
        while not self.accept(']'):
            name = self.take()
            value = True
            if self.accept('('):
                parts = []
                while not self.accept(')'):
                    parts.append(self.take())
                value = ''.join(parts)
                if value.startswith('"'):
                    value = value[1:-1]
            attrs[name] = value
            self.accept(',')
        return attrs

    def library(self):
        attrs = self.attributes()
        self.take('library')
        lib = Library(self.take(), attrs)
        self.take('{')
        while not self.accept('}'):
            item_attrs = self.attributes()
            keyword = self.peek()[1]
            if keyword == 'typedef':
                lib.enums.append(self.enum(item_attrs))
            elif keyword == 'interface':
                lib.interfaces.append(self.interface(item_attrs))
            elif keyword == 'coclass':
                lib.coclasses.append(self.coclass(item_attrs))
            else:
                raise IdlError(f'line {self.peek()[2]}: unexpected {keyword!r}')
        self.accept(';')
        return lib

    def enum(self, attrs):
        self.take('typedef')
        attrs.update(self.attributes())
        self.take('enum')
        name = self.take()
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
        return Enum(name, attrs, values)

    def interface(self, attrs):
        self.take('interface')
        name = self.take()
        self.take(':')
        itf = Interface(name, attrs, self.take())
        self.take('{')
        while not self.accept('}'):
            itf.methods.append(self.method())
        self.take(';')
        return itf

    def method(self):
        attrs = self.attributes()
        self.take('HRESULT')
        method = Method(self.take(), attrs)
        self.take('(')
        while not self.accept(')'):
            p_attrs = self.attributes()
            type_name = self.take()
            depth = 0
            while self.accept('*'):
                depth += 1
            method.params.append(Param(self.take(), type_name, depth, p_attrs))
            self.accept(',')
        self.take(';')
        return method

    def coclass(self, attrs):
        self.take('coclass')
        cls = Coclass(self.take(), attrs)
        self.take('{')
        while not self.accept('}'):
            i_attrs = self.attributes()
            self.take('interface')
            cls.interfaces.append((self.take(), i_attrs))
            self.take(';')
        self.take(';')
        return cls


def parse(text):
    parser = Parser(text)
    lib = parser.library()
    if parser.peek()[0] != 'eof':
        raise IdlError(f'line {parser.peek()[2]}: text after the library')
    return lib
