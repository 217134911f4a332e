#include "platform/internet_error.h"

#include <string>

namespace nv {
namespace {

struct NumberText {
  int number;
  std::u16string_view text;
};

constexpr NumberText kTexts[] = {
    {12001, u"(Out of handles)"},
    {12002, u"(Timeout)"},
    {12004, u"(Internal Error)"},
    {12005, u"(Invalid URL)"},
    {12006, u"(Unrecognized Scheme : Please check the URL name in 'Pelvartemenor.ini'.)"},
    {12007, u"(Service Name Not Resolved)"},
    {12008, u"(Protocol Not Found)"},
    {12013, u"(Incorrect User Name)"},
    {12014, u"(Incorrect Password)"},
    {12015, u"(Login Failure)"},
    {12016, u"(Invalid Operation)"},
    {12017, u"(Operation Canceled)"},
    {12020, u"(Not Proxy Request)"},
    {12023, u"(No Direct Access)"},
    {12026, u"(Request Pending)"},
    {12027, u"(Incorrect Format)"},
    {12028, u"(Item not found)"},
    {12029, u"(Cannot connect)"},
    {12030, u"(Connection Aborted)"},
    {12031, u"(Connection Reset)"},
    {12033, u"(Invalid Proxy Request)"},
    {12034, u"(Need UI)"},
    {12035, u"(Sec Cert Date Invalid)"},
    {12038, u"(Sec Cert CN Invalid)"},
    {12044, u"(Client Auth Cert Needed)"},
    {12045, u"(Invalid CA Cert)"},
    {12046, u"(Client Auth Not Setup)"},
    {12150, u"(HTTP Header Not Found)"},
    {12152, u"(Invalid HTTP Server Response)"},
    {12153, u"(Invalid HTTP Header)"},
    {12154, u"(Invalid Query Request)"},
    {12156, u"(Redirect Failed)"},
    {12159, u"(TCP/IP not installed)"},
};

struct CurlNumber {
  CURLcode code;
  int number;
};

// Only failures with a clear counterpart are listed; certificate and TLS
// failures keep curl's more precise description.
constexpr CurlNumber kCurlNumbers[] = {
    {CURLE_UNSUPPORTED_PROTOCOL, 12006},
    {CURLE_URL_MALFORMAT, 12005},
    {CURLE_COULDNT_RESOLVE_PROXY, 12007},
    {CURLE_COULDNT_RESOLVE_HOST, 12007},
    {CURLE_COULDNT_CONNECT, 12029},
    {CURLE_OPERATION_TIMEDOUT, 12002},
    {CURLE_TOO_MANY_REDIRECTS, 12156},
    {CURLE_SEND_ERROR, 12030},
    {CURLE_RECV_ERROR, 12030},
    {CURLE_PARTIAL_FILE, 12030},
    {CURLE_GOT_NOTHING, 12152},
    {CURLE_WEIRD_SERVER_REPLY, 12152},
    {CURLE_LOGIN_DENIED, 12015},
    {CURLE_ABORTED_BY_CALLBACK, 12017},
};

}  // namespace

std::u16string_view InternetErrorText(int number) {
  for (const NumberText& entry : kTexts)
    if (entry.number == number) return entry.text;
  return {};
}

Bstr InternetErrorMessage(int number) {
  const std::string digits = std::to_string(number);
  return u"Error Number " + Bstr::FromUtf8(digits) + u" => " + InternetErrorText(number);
}

int InternetErrorNumberOf(CURLcode code) {
  for (const CurlNumber& entry : kCurlNumbers)
    if (entry.code == code) return entry.number;
  return 0;
}

}  // namespace nv
