// Hostile XML texts that every parser of the library must refuse quickly.
#pragma once

#include <string>

namespace nv::xml_test {

// `levels` elements nested in one another.
inline std::string Deep(int levels) {
  std::string text;
  for (int k = 0; k < levels; ++k) text += "<a>";
  for (int k = 0; k < levels; ++k) text += "</a>";
  return text;
}

// Nine levels of entities, each ten of the one before: 10^9 expansions.
inline std::string BillionLaughs() {
  std::string text = "<!DOCTYPE l [<!ENTITY l0 \"ha\">";
  for (int k = 1; k < 10; ++k) {
    text += "<!ENTITY l" + std::to_string(k) + " \"";
    for (int n = 0; n < 10; ++n) text += "&l" + std::to_string(k - 1) + ";";
    text += "\">";
  }
  return text + "]><l>&l9;</l>";
}

}  // namespace nv::xml_test
