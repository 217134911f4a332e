// A client's view of the schema model, built against the installed header
// only: the writer made with CoCreateInstance, plain vtable calls with result
// codes, failures read with GetErrorInfo.
#include <NorvVexa1/NorvVexa1.h>
#include <gtest/gtest.h>

#include <string>

namespace {

// Owns one interface reference, as client code would with a smart pointer.
template <class I>
struct Ref {
  Ref() = default;
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  ~Ref() {
    if (p) p->Release();
  }
  I** out() { return &p; }
  I* operator->() const { return p; }
  I* p = nullptr;
};

struct Text {
  explicit Text(const char16_t* text) : b(SysAllocString(text)) {}
  ~Text() { SysFreeString(b); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  operator BSTR() const { return b; }  // NOLINT
  BSTR b;
};

// Takes ownership of a BSTR holding ASCII text.
std::string Take(BSTR text) {
  std::string out;
  for (UINT i = 0; i < SysStringLen(text); ++i) out += static_cast<char>(text[i]);
  SysFreeString(text);
  return out;
}

// The description of the failure that produced `hr`.
std::string Failure(HRESULT hr) {
  if (hr != DISP_E_EXCEPTION) return "result " + std::to_string(hr);
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) != S_OK || !info) return "no error information";
  BSTR text = nullptr;
  info->GetDescription(&text);
  info->Release();
  return Take(text);
}

class ClientSchema : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(CoCreateInstance(CLSID_NvVexaWriter, nullptr, CLSCTX_INPROC_SERVER, IID_INvVexaWriter,
                               reinterpret_cast<void**>(writer.out())),
              S_OK);
    ASSERT_EQ(writer->get_Schema(schema.out()), S_OK);
    ASSERT_EQ(schema->get_Classes(classes.out()), S_OK);
    ASSERT_EQ(schema->get_ClassesBehaviors(behaviors.out()), S_OK);
  }

  Ref<INvVexaWriter> writer;
  Ref<INvVexaSchema> schema;
  Ref<INvVexaClasses> classes;
  Ref<INvVexaClassesBehaviors> behaviors;
};

TEST(ClientExternalSchemaWriter, SetsTheUriOfItsSchema) {
  Ref<INvVexaExternalSchemaWriter> writer;
  ASSERT_EQ(
      CoCreateInstance(CLSID_NvVexaExternalSchemaWriter, nullptr, CLSCTX_INPROC_SERVER,
                       IID_INvVexaExternalSchemaWriter, reinterpret_cast<void**>(writer.out())),
      S_OK);
  ASSERT_EQ(writer->put_SchemaURI(Text(u"urn:ext")), S_OK);
  EXPECT_EQ(Failure(writer->put_SchemaURI(Text(u"urn:other"))),
            "Schema URI is already set to \"urn:ext\"");
  Ref<INvVexaSchema> schema;
  ASSERT_EQ(writer->get_Schema(schema.out()), S_OK);
  BSTR uri = nullptr;
  ASSERT_EQ(schema->get_SchemaURI(&uri), S_OK);
  EXPECT_EQ(Take(uri), "urn:ext");
  ASSERT_EQ(writer->get_SchemaURI(&uri), S_OK);
  EXPECT_EQ(Take(uri), "urn:ext");
}

TEST_F(ClientSchema, BuildsClassesWithInheritanceAndAttributes) {
  Ref<INvVexaSchema> again;  // the writer keeps one schema
  ASSERT_EQ(writer->get_Schema(again.out()), S_OK);
  EXPECT_EQ(again.p, schema.p);
  Ref<INvVexaClass> base, part;
  ASSERT_EQ(classes->Add(Text(u"Base"), base.out()), S_OK);
  ASSERT_EQ(classes->Add(Text(u"Part"), part.out()), S_OK);
  ASSERT_EQ(part->put_ParentClass(base.p), S_OK);
  ASSERT_EQ(base->put_IsAbstract(VARIANT_TRUE), S_OK);

  Ref<INvVexaAttributes> own;
  ASSERT_EQ(base->get_CurrentClassAttributes(own.out()), S_OK);
  for (int type = dtString; type <= dtXML; ++type) {
    Ref<INvVexaAttribute> attribute;
    const std::u16string name = u"a" + std::u16string(1, static_cast<char16_t>(u'A' + type));
    ASSERT_EQ(own->Add(Text(name.c_str()), attribute.out()), S_OK);
    Ref<INvVexaTypeDefinition> definition;
    ASSERT_EQ(attribute->get_TypeDefinition(definition.out()), S_OK);
    ASSERT_EQ(definition->put_ValueType(static_cast<DataTypeEnum>(type)), S_OK);
    if (type == dtString) {
      Ref<INvVexaStringTypeDefinition> text;
      ASSERT_EQ(definition->get_StringType(text.out()), S_OK);
      EXPECT_EQ(text->put_MaxLength(30), S_OK);
    }
    if (type == dtObjectReference) {
      Ref<INvVexaObjectReferenceTypeDefinition> reference;
      ASSERT_EQ(definition->get_ObjectReferenceType(reference.out()), S_OK);
      EXPECT_EQ(reference->put_RestrictionType(ortClassAndDescendants), S_OK);
      EXPECT_EQ(reference->put_ClassName(Text(u"Base")), S_OK);
    }
  }

  Ref<INvVexaReadOnlyAttributes> all;
  ASSERT_EQ(part->get_AllAttributes(all.out()), S_OK);
  LONG count = 0;
  ASSERT_EQ(all->get_Count(&count), S_OK);
  EXPECT_EQ(count, 21);
  Ref<INvVexaAttribute> first;
  ASSERT_EQ(all->get_Item(0, first.out()), S_OK);
  BSTR name = nullptr;
  ASSERT_EQ(first->get_Name(&name), S_OK);
  EXPECT_EQ(Take(name), "aB");
  VARIANT_BOOL abstract = VARIANT_FALSE;
  ASSERT_EQ(base->get_IsAbstract(&abstract), S_OK);
  EXPECT_EQ(abstract, VARIANT_TRUE);
}

TEST_F(ClientSchema, FailuresCarryTheirMessages) {
  Ref<INvVexaClass> part, same;
  ASSERT_EQ(classes->Add(Text(u"Part"), part.out()), S_OK);
  EXPECT_EQ(Failure(classes->Add(Text(u"Part"), same.out())), "Class Part already exist");
  EXPECT_EQ(same.p, nullptr);
  EXPECT_EQ(Failure(classes->Add(Text(u"1abc"), same.out())), "Invalid name \"1abc\" for class");
  EXPECT_EQ(Failure(part->put_ParentClass(part.p)),
            "Class \"Part\" cannot be the parent of class \"Part\" since the inheritance would "
            "become cyclic");

  Ref<INvVexaAttributes> own;
  ASSERT_EQ(part->get_CurrentClassAttributes(own.out()), S_OK);
  Ref<INvVexaAttribute> attribute;
  EXPECT_EQ(Failure(own->Add(Text(u""), attribute.out())), "Missing Name for attribute");
  ASSERT_EQ(own->Add(Text(u"x"), attribute.out()), S_OK);
  Ref<INvVexaTypeDefinition> definition;
  ASSERT_EQ(attribute->get_TypeDefinition(definition.out()), S_OK);
  Ref<INvVexaStringTypeDefinition> text;
  EXPECT_EQ(Failure(definition->get_StringType(text.out())),
            "You must define TypeDefinition.ValueType prior to using other properties of "
            "TypeDefinition");

  Ref<INvVexaClassBehavior> behavior;
  EXPECT_EQ(Failure(behaviors->Add(mtEmbedded, Text(u"urn:x#1B"), Text(u""), VARIANT_FALSE,
                                   behavior.out())),
            "Invalid name \"1B\" for class behavior");
  EXPECT_EQ(Failure(behaviors->Add(mtExternal, Text(u"urn:x#B"), Text(u""), VARIANT_FALSE,
                                   behavior.out())),
            "SchemaLocation is missing for behavior \"urn:x#B\"");
}

TEST_F(ClientSchema, ClassesListBehaviorsAndDomainsMapRoles) {
  Ref<INvVexaClass> base, part;
  ASSERT_EQ(classes->Add(Text(u"Base"), base.out()), S_OK);
  ASSERT_EQ(classes->Add(Text(u"Part"), part.out()), S_OK);
  ASSERT_EQ(part->put_ParentClass(base.p), S_OK);
  Ref<INvVexaClassBehavior> versioned;
  ASSERT_EQ(behaviors->Add(mtEmbedded, Text(u"urn:x#Versioned"), Text(u""), VARIANT_FALSE,
                           versioned.out()),
            S_OK);
  Ref<INvVexaClassBehaviors> baseOwn, partOwn;
  ASSERT_EQ(base->get_CurrentClassBehaviors(baseOwn.out()), S_OK);
  ASSERT_EQ(baseOwn->Add(versioned.p, muYes), S_OK);
  ASSERT_EQ(part->get_CurrentClassBehaviors(partOwn.out()), S_OK);
  EXPECT_EQ(Failure(partOwn->Add(versioned.p, muNo)), "Error: Behavior already exist");
  EXPECT_EQ(Failure(partOwn->Add(nullptr, muNo)), "Invalid value for parameter ClassBehavior");

  VARIANT_BOOL supports = VARIANT_FALSE;
  ASSERT_EQ(part->SupportsBehavior(Text(u"urn:x#Versioned"), &supports), S_OK);
  EXPECT_EQ(supports, VARIANT_TRUE);
  Ref<INvVexaReadOnlyClassBehaviors> all;
  ASSERT_EQ(part->get_AllBehaviors(all.out()), S_OK);
  MustUnderstandEnum mark = muNo;
  ASSERT_EQ(all->GetMustUnderstandStatus(Text(u"urn:x#Versioned"), &mark), S_OK);
  EXPECT_EQ(mark, muYes);
  EXPECT_EQ(Failure(all->GetMustUnderstandStatus(Text(u"urn:x#None"), &mark)),
            "behavior \"urn:x#None\" does not exist");

  Ref<INvVexaDomainBehaviors> domains;
  ASSERT_EQ(schema->get_DomainBehaviors(domains.out()), S_OK);
  Ref<INvVexaDomainBehavior> files;
  ASSERT_EQ(domains->Add(Text(u"urn:d#Files"), files.out()), S_OK);
  Ref<INvVexaDomainBehaviorRoleClassMapping> roles;
  ASSERT_EQ(files->get_RoleClassMapping(roles.out()), S_OK);
  ASSERT_EQ(roles->put_Item(Text(u"file"), part.p), S_OK);
  EXPECT_EQ(Failure(roles->put_Item(Text(u""), part.p)), "Role Name cannot be an empty string");
  Ref<INvVexaClass> mapped;
  ASSERT_EQ(roles->get_Item(Text(u"file"), mapped.out()), S_OK);
  EXPECT_EQ(mapped.p, part.p);
}

TEST_F(ClientSchema, LateBoundCallsSupplyTheOptionalArguments) {
  Ref<IDispatch> dispatch;
  ASSERT_EQ(behaviors->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.out())),
            S_OK);
  LPOLESTR names[] = {const_cast<LPOLESTR>(u"add")};
  DISPID id = 0;
  ASSERT_EQ(dispatch->GetIDsOfNames(GUID_NULL, names, 1, 0, &id), S_OK);
  VARIANT args[2] = {};  // reversed: BehaviorURI, Mode
  args[0].vt = VT_BSTR;
  args[0].bstrVal = SysAllocString(u"urn:x#Late");
  args[1].vt = VT_I4;
  args[1].lVal = mtEmbedded;
  DISPPARAMS params{args, nullptr, 2, 0};
  VARIANT result = {};
  ASSERT_EQ(dispatch->Invoke(id, GUID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(result.vt, VT_DISPATCH);
  VariantClear(&result);
  VariantClear(&args[0]);
  LONG count = 0;
  ASSERT_EQ(behaviors->get_Count(&count), S_OK);
  EXPECT_EQ(count, 1);
}

}  // namespace

