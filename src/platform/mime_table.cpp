#include "platform/mime_table.h"

#include <fstream>
#include <sstream>

namespace nv {
namespace {

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

}  // namespace

MimeTable MimeTable::Load(const std::string& path) {
  MimeTable table;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream fields(line);
    std::string type, extension;
    if (!(fields >> type)) continue;
    while (fields >> extension) table.types_.try_emplace(AsciiLower(extension), type);
  }
  return table;
}

std::string MimeTable::TypeOf(std::string_view fileName) const {
  const size_t componentStart = fileName.find_last_of("/\\");
  if (componentStart != std::string_view::npos) fileName.remove_prefix(componentStart + 1);
  const size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return {};
  const auto found = types_.find(AsciiLower(fileName.substr(dot + 1)));
  return found != types_.end() ? found->second : std::string();
}

const MimeTable& SystemMimeTable() {
  static const MimeTable table = MimeTable::Load(kSystemMimeTablePath);
  return table;
}

}  // namespace nv
