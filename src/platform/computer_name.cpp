#include "platform/computer_name.h"

#include "frame/exception.h"

#include <unistd.h>

namespace nv {

Bstr GetCurrentComputerName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0)
    throw ENvException("GetCurrentComputerName() failed, can't get computer name");
  return Bstr::FromUtf8(name);
}

}  // namespace nv
