"""The interface generator's refusals and its layout check, run through its command line."""

import os
import subprocess
import sys
import tempfile
import unittest

NVIDL = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools', 'nvidl.py')
U = '00000000-0000-0000-0000-0000000000'  # and two digits
LIB = f'[uuid({U}00)]\nlibrary T\n{{\n{{body}}\n}};\n'
IA = (f'[object, dual, uuid({U}01)]\ninterface IA : IDispatch\n{{\n'
      '  [propget, id(1)] HRESULT F([out, retval] LONG* v);\n'
      '  [propput, id(1)] HRESULT F([in] LONG v);\n'
      '  [id(2)] HRESULT G([in] LONG x);\n};')
IB = f'\n[object, dual, uuid({U}02)]\ninterface IB : IA {{\n  [id(3)] HRESULT H(); }};'

# (IDL text, fragments of the message); line 7 is IA's get_F.
REFUSED = [
    (IA + IB.replace(f'{U}02', f'{U}01'), ['t.idl:12:', 'uuid', 'of IA (']),
    (IA.replace(f'{U}01', f'{U}00'), ['t.idl:5:', 'uuid', 'of T (']),
    (IA.replace('id(2)', 'id(1)'), ['t.idl:9:', 'id(1) of IA.G', 'id of get_F (']),
    (IA + IB.replace('id(3)', 'id(2)'), ['t.idl:13:', 'id(2) of IB.H', 'id of G (']),
    (IA.replace('[propput, id(1)]', '[propput, id(3)]'), ['t.idl:8:', 'put_F has id(3) but get_F']),
    (IA.replace('[propget,', '[propgte,'), ['t.idl:7:', 'unknown method attribute [propgte]']),
    (IA.replace('[in] LONG x', '[in, optinal] LONG x'), ['t.idl:9:', 'attribute [optinal]']),
    (IA.replace('[id(2)]', '[id]'), ['t.idl:9:', '[id] needs a number']),
]
# (text in IA, its replacement, a line of the diff)
LAYOUT_CHANGES = [
    ('  [propput, id(1)] HRESULT F([in] LONG v);\n  [id(2)] HRESULT G([in] LONG x);',
     '  [id(2)] HRESULT G([in] LONG x);\n  [propput, id(1)] HRESULT F([in] LONG v);',
     '+IA 8 G HRESULT(LONG) id(2)'),
    ('[in] LONG x', '[in] BSTR x', '+IA 9 G HRESULT(BSTR) id(2)'),
    ('[id(2)]', '[id(5)]', '+IA 9 G HRESULT(LONG) id(5)'),
    (f'{U}01', f'{U}03', f'+interface IA : IDispatch {U}03'),
]


class NvidlTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.layout = os.path.join(self.tmp.name, 't.layout')

    def tearDown(self):
        self.tmp.cleanup()

    def nvidl(self, body, *args):
        idl = os.path.join(self.tmp.name, 't.idl')
        with open(idl, 'w', encoding='utf-8') as f:
            f.write(LIB.replace('{body}', body))
        return subprocess.run([sys.executable, NVIDL, '--idl', idl, *args],
                              capture_output=True, text=True)

    def test_refuses_a_fault_naming_file_and_line(self):
        for idl, fragments in REFUSED:
            result = self.nvidl(idl)
            self.assertNotEqual(result.returncode, 0, idl)
            for fragment in fragments:
                self.assertIn(fragment, result.stderr, idl)

    def test_layout_check_fails_with_a_diff_on_each_change(self):
        self.assertEqual(self.nvidl(IA, '--layout', self.layout).returncode, 0)
        self.assertEqual(self.nvidl(IA, '--check-layout', self.layout).returncode, 0)
        for old, new, line in LAYOUT_CHANGES:
            result = self.nvidl(IA.replace(old, new), '--check-layout', self.layout)
            self.assertNotEqual(result.returncode, 0, new)
            self.assertIn(line, result.stderr.splitlines(), new)


if __name__ == '__main__':
    unittest.main()
