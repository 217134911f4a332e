#include "archive/zip_error_text.h"

namespace nv::archive {

std::string ZipErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

std::string ZipErrorText(zip_t* archive) { return ZipErrorText(zip_get_error(archive)); }

std::string ZipErrorText(zip_error_t* error) { return zip_error_strerror(error); }

}  // namespace nv::archive
