#include "archive/zip_error_text.h"

namespace nv::archive {

std::string ZipErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

std::string ZipErrorText(zip_t* archive) { return zip_error_strerror(zip_get_error(archive)); }

int ZipErrorCode(zip_t* archive) { return zip_error_code_zip(zip_get_error(archive)); }

}  // namespace nv::archive
