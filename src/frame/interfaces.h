// Everything library code needs to hold and call the library's objects: the
// interfaces (public and internal), ComPtr and its generated throwing calls.
#pragma once

#include "NorvVexa1/NorvVexa1.h"
#include "nvgen/internal_interfaces.h"
#include "frame/com_ptr.h"
#include "nvgen/calls.h"
