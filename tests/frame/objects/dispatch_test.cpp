// Late-bound calls: names without regard to case, argument order and
// coercion, optional arguments, properties and failures through EXCEPINFO.
#include "error_info_probe.h"
#include "widget.h"

#include <gtest/gtest.h>

#include <vector>

namespace nv::test {
namespace {

class DispatchTest : public ::testing::Test {
 protected:
  DISPID IdOf(const char16_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = 0;
    EXPECT_EQ(dispatch_->GetIDsOfNames(GUID_NULL, names, 1, 0, &id), S_OK) << Bstr(name).Utf8();
    return id;
  }

  // Invokes with arguments given in declaration order (reversed for the call).
  HRESULT Call(const char16_t* name, WORD flags, std::vector<Variant> args, Variant* result,
               EXCEPINFO* excep = nullptr, UINT* argErr = nullptr) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags == DISPATCH_PROPERTYPUT) params.rgdispidNamedArgs = &put, params.cNamedArgs = 1;
    return dispatch_->Invoke(IdOf(name), GUID_NULL, 0, flags, &params,
                             result ? result->Receive() : nullptr, excep, argErr);
  }

  ComPtr<IWidgetEx> widget_ = CreateObject<CWidget>();
  ComPtr<IDispatch> dispatch_ = widget_.as<IDispatch>();
};

TEST_F(DispatchTest, NamesMatchWithoutRegardToCase) {
  const DISPID id = IdOf(u"Combine");
  EXPECT_EQ(IdOf(u"COMBINE"), id);
  EXPECT_EQ(IdOf(u"item"), DISPID_VALUE);
  EXPECT_EQ(IdOf(u"twice"), IdOf(u"Twice"));  // derived interface member

  LPOLESTR names[] = {const_cast<LPOLESTR>(u"combine"), const_cast<LPOLESTR>(u"suffix"),
                      const_cast<LPOLESTR>(u"TIMES")};
  DISPID ids[3] = {};
  ASSERT_EQ(dispatch_->GetIDsOfNames(GUID_NULL, names, 3, 0, ids), S_OK);
  EXPECT_EQ(ids[1], 3);  // parameter names resolve to positions
  EXPECT_EQ(ids[2], 1);
  names[0] = const_cast<LPOLESTR>(u"Nope");
  EXPECT_EQ(dispatch_->GetIDsOfNames(GUID_NULL, names, 1, 0, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], DISPID_UNKNOWN);
}

TEST_F(DispatchTest, MethodArgumentsAreCoercedAndDefaulted) {
  struct Row {
    std::vector<Variant> args;
    const char* expected;
  } rows[] = {
      {{Variant(u"ab")}, "abab:5!"},                                // all optional defaulted
      {{Variant(u"x"), Variant(1.5), Variant(int16_t(1))}, "xx:1!"},  // 1.5 rounds to 2
      {{Variant(int32_t(7)), Variant(int32_t(1)), Variant(int32_t(0)), Variant(u"?")}, "7:0?"},
      {{Variant(u"x"), Variant::Error(DISP_E_PARAMNOTFOUND), Variant(int32_t(1))}, "xx:1!"},
  };
  for (auto& row : rows) {
    Variant result;
    ASSERT_EQ(Call(u"Combine", DISPATCH_METHOD, row.args, &result), S_OK) << row.expected;
    EXPECT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(result.ToBstr().ToUtf8(), row.expected);
  }
}

TEST_F(DispatchTest, BadArgumentsAreRefused) {
  Variant result;
  UINT argErr = 99;
  EXPECT_EQ(Call(u"Combine", DISPATCH_METHOD, {Variant(u"a"), Variant(u"many")}, &result, nullptr,
                 &argErr),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argErr, 0u);  // rgvarg index of the second argument (arguments are reversed)
  EXPECT_EQ(Call(u"Combine", DISPATCH_METHOD, {}, &result), DISP_E_PARAMNOTOPTIONAL);
  std::vector<Variant> five(5, Variant(int32_t(1)));
  EXPECT_EQ(Call(u"Combine", DISPATCH_METHOD, five, &result), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Call(u"Scale", DISPATCH_METHOD, {Variant(1.0), Variant(int32_t(70000)), Variant(0.0)},
                 &result),
            DISP_E_OVERFLOW);
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(dispatch_->Invoke(4242, GUID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr,
                              nullptr),
            DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Call(u"Color", DISPATCH_PROPERTYPUT, {Variant(int32_t(1))}, nullptr),
            DISP_E_MEMBERNOTFOUND);
}

TEST_F(DispatchTest, PropertiesGetAndPut) {
  Variant result;
  ASSERT_EQ(Call(u"name", DISPATCH_PROPERTYPUT, {Variant(int32_t(12))}, nullptr), S_OK);
  ASSERT_EQ(Call(u"Name", DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_EQ(result.ToBstr().ToUtf8(), "12");

  ASSERT_EQ(Call(u"Enabled", DISPATCH_PROPERTYPUT, {Variant(u"True")}, nullptr), S_OK);
  ASSERT_EQ(Call(u"Enabled", DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_BOOL);
  EXPECT_EQ(result.boolVal, -1);

  ASSERT_EQ(Call(u"Item", DISPATCH_PROPERTYPUT, {Variant(int32_t(0)), Variant(2.5)}, nullptr), S_OK);
  ASSERT_EQ(Call(u"Item", DISPATCH_PROPERTYGET, {Variant(int32_t(0))}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_R8);
  EXPECT_EQ(result.dblVal, 2.5);

  ASSERT_EQ(Call(u"Color", DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_I4);
  EXPECT_EQ(result.lVal, wcGreen);
}

TEST_F(DispatchTest, ObjectsTravelAsDispatch) {
  Variant child;
  ASSERT_EQ(Call(u"MakeChild", DISPATCH_METHOD, {Variant(u"kid")}, &child), S_OK);
  ASSERT_EQ(child.vt, VT_DISPATCH);
  Variant none;
  ASSERT_EQ(Call(u"Relay", DISPATCH_METHOD, {child, Variant(u"via child")}, &none),
            DISP_E_EXCEPTION);
  EXPECT_EQ(TakeErrorInfo().description, "via child");
  EXPECT_EQ(Call(u"Relay", DISPATCH_METHOD, {Variant(int32_t(3)), Variant(u"x")}, &none),
            DISP_E_TYPEMISMATCH);
}

TEST_F(DispatchTest, FailureFillsExcepInfo) {
  EXCEPINFO excep{};
  Variant result;
  ASSERT_EQ(Call(u"Fail", DISPATCH_METHOD, {Variant(u"bad value")}, &result, &excep),
            DISP_E_EXCEPTION);
  EXPECT_EQ(Bstr::Attach(excep.bstrDescription).ToUtf8(), "bad value");
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrHelpFile);
  EXPECT_EQ(excep.scode, DISP_E_EXCEPTION);
}

}  // namespace
}  // namespace nv::test
