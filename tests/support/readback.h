// Reading written documents back with tools independent of the library:
// xmllint for well-formedness and Python's minidom for the values, so that a
// fault in the library's own escaping cannot hide itself.
#pragma once

#include <stdio.h>
#include <sys/wait.h>

#include <map>
#include <string>

#include "support/scratch.h"

namespace nv_test {

struct CommandResult {
  int status = -1;
  std::string output;
};

// Runs a shell command; its output is its standard output, and its standard
// error too unless `outputOnly`.
inline CommandResult RunCommand(const std::string& command, bool outputOnly = false) {
  CommandResult result;
  FILE* pipe = ::popen((outputOnly ? command : command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    result.output.append(buffer, got);
  const int raw = ::pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

// The standard output of a shell command.
inline std::string Shell(const std::string& command) { return RunCommand(command, true).output; }

// xmllint's complaints about `file` when it is not well-formed, else empty
// (a namespace name that is no valid URI draws a warning only).
inline std::string XmllintErrors(const std::string& file) {
  const CommandResult lint = RunCommand("xmllint --noout '" + file + "'");
  return lint.status == 0 ? std::string() : lint.output;
}

// Flattens an instance document into path -> value: "info:{ns}name" for an
// Info item, "ID:{ns}name" for an attribute of the object with that id, and
// "ID:{ns}Behavior/{ns}name" inside a behaviour block. A value is the text, or
// "nil", "href=" + reference, or for XML content a canonical form of its
// nodes: <{ns}local {ns}attr=value ...>children</>. Objects are listed in
// order under "objects", separated by blanks.
inline constexpr const char* kFlattenScript = R"PY(
import sys, xml.dom.minidom as md
XSI = 'http://www.w3.org/2001/XMLSchema-instance'
XMLNS = 'http://www.w3.org/2000/xmlns/'
doc = md.parse(sys.argv[1])
env = doc.documentElement
tns = env.getAttribute('xmlns:tns')
out = []
def elements(node):
    return [c for c in node.childNodes if c.nodeType == c.ELEMENT_NODE]
def name(node):
    return '{%s}%s' % (node.namespaceURI or '', node.localName)
def canonical(node):
    if node.nodeType in (node.TEXT_NODE, node.CDATA_SECTION_NODE):
        return node.data
    if node.nodeType != node.ELEMENT_NODE:
        return ''
    attrs = sorted((name(a), a.value) for a in node.attributes.values()
                   if a.namespaceURI != XMLNS)
    return '<%s%s>%s</>' % (name(node), ''.join(' %s=%s' % kv for kv in attrs),
                            ''.join(canonical(c) for c in node.childNodes))
def value(e):
    if e.hasAttribute('href'):
        return 'href=' + e.getAttribute('href')
    if e.getAttributeNS(XSI, 'nil') == 'true':
        return 'nil'
    if elements(e):
        return ''.join(canonical(c) for c in e.childNodes)
    return ''.join(c.data for c in e.childNodes)
ids = []
for part in elements(env):
    if part.localName == 'Header':
        for item in elements(part):
            out.append(('info:' + name(item), value(item)))
    elif part.localName == 'Body':
        for obj in elements(part):
            oid = obj.getAttribute('id')
            ids.append(oid)
            out.append((oid + ':type', obj.getAttributeNS(XSI, 'type')))
            for child in elements(obj):
                if child.namespaceURI == tns:
                    out.append((oid + ':' + name(child), value(child)))
                else:
                    for attr in elements(child):
                        out.append((oid + ':' + name(child) + '/' + name(attr), value(attr)))
out.append(('objects', ' '.join(ids)))
sys.stdout.buffer.write(b''.join(k.encode() + b'\0' + v.encode('utf-8', 'surrogatepass') + b'\0'
                                 for k, v in out))
)PY";

// The instance document at `file`, flattened as above (UTF-8 values).
inline std::map<std::string, std::string> ReadBackInstance(const std::string& file) {
  ScratchFolder folder;
  WriteText(folder.File("flatten.py"), kFlattenScript);
  const std::string records =
      Shell("python3 '" + folder.File("flatten.py") + "' '" + file + "'");
  std::map<std::string, std::string> values;
  for (size_t at = 0; at < records.size();) {
    const size_t keyEnd = records.find('\0', at);
    const size_t valueEnd = records.find('\0', keyEnd + 1);
    if (keyEnd == std::string::npos || valueEnd == std::string::npos) break;
    values[records.substr(at, keyEnd - at)] = records.substr(keyEnd + 1, valueEnd - keyEnd - 1);
    at = valueEnd + 1;
  }
  return values;
}

}  // namespace nv_test
