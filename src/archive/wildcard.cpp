#include "archive/wildcard.h"

namespace nv::archive {

bool HasWildcard(std::string_view mask) {
  return mask.find_first_of("*?") != std::string_view::npos;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  // A final "*.*" component means "everything there".
  if (mask.ends_with("*.*") && (mask.size() == 3 || mask[mask.size() - 4] == '/'))
    mask.remove_suffix(2);
  // Greedy matching with one backtrack point: linear for masks with a single
  // '*', and never exponential.
  size_t n = 0, m = 0;
  size_t starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || mask[m] == name[n])) {
      ++n, ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace nv::archive
