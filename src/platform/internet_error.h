// Messages of failed internet calls: "Error Number <n> => <text>", with the
// numbers and texts of the package format's internet-error table.
#pragma once

#include "frame/bstr.h"

#include <curl/curl.h>

#include <string_view>

namespace nv {

// The table text for `number`; empty for numbers not listed.
std::u16string_view InternetErrorText(int number);

// "Error Number " + number + " => " + table text.
Bstr InternetErrorMessage(int number);

// The table number equivalent to a curl failure; 0 when there is none.
int InternetErrorNumberOf(CURLcode code);

}  // namespace nv
