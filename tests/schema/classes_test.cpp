#include <gtest/gtest.h>

#include "schema/class_back_patch.h"
#include "schema_test_support.h"

namespace nv::test {
namespace {

TEST(Classes, AddChecksTheNameInOrder) {
  auto classes = NewSchema().Classes();
  classes.Add(u"Part");
  struct Case {
    const char16_t* name;
    const char* failure;
  };
  const Case cases[] = {
      {u"", "Missing Class Name"},
      {u"1abc", "Invalid name \"1abc\" for class"},
      {u"a:b", "Invalid name \"a:b\" for class"},
      {u"a b", "Invalid name \"a b\" for class"},
      {u"Part", "Class Part already exist"},
      {u"part", "<no failure>"},
  };
  for (const Case& c : cases) EXPECT_EQ(FailureOf([&] { classes.Add(c.name); }), c.failure);
  EXPECT_EQ(classes.Count(), 2);
  EXPECT_FALSE(classes.Item(1).IsAbstract());
  EXPECT_EQ(classes.Item(1).ParentClass(), nullptr);
}

TEST(Classes, LookupsAreExact) {
  auto classes = NewSchema().Classes();
  classes.Add(u"Part");
  auto doc = classes.Add(u"Document");
  EXPECT_EQ(classes.ItemByName(u"part"), nullptr);
  EXPECT_EQ(classes.IndexOf(u"part"), -1);
  EXPECT_EQ(classes.ItemByName(u"Document"), doc);
  EXPECT_EQ(classes.IndexOf(u"Document"), 1);
  EXPECT_EQ(classes.Item(1), doc);
}

TEST(Classes, IndexesOutsideTheVectorFail) {
  auto classes = NewSchema().Classes();
  classes.Add(u"A");
  for (LONG index : {-1, 1}) {
    EXPECT_EQ(FailureOf([&] { classes.Remove(index); }),
              "Remove item from vector failed due to illegal index");
    EXPECT_EQ(FailureOf([&] { classes.Item(index); }),
              "Get item from vector failed due to illegal index");
  }
}

TEST(Classes, AParentCannotBeRemovedBeforeItsChildren) {
  auto schema = NewSchema();
  auto classes = schema.Classes();
  auto base = AddClass(schema, u"Base");
  AddClass(schema, u"Other");
  AddClass(schema, u"First", base);
  AddClass(schema, u"Second", base);
  EXPECT_EQ(FailureOf([&] { classes.Remove(0); }),
            "Cannot remove class \"Base\" since it is parent of class \"First\".");
  classes.Remove(2);
  EXPECT_EQ(FailureOf([&] { classes.Remove(0); }),
            "Cannot remove class \"Base\" since it is parent of class \"Second\".");
  classes.Remove(2);
  classes.Remove(0);
  ASSERT_EQ(classes.Count(), 1);
  EXPECT_EQ(Utf8(classes.Item(0).Name()), "Other");
}

TEST(Class, ParentClassRefusesCyclesAndOtherSchemas) {
  auto schema = NewSchema();
  auto a = AddClass(schema, u"A");
  auto b = AddClass(schema, u"B", a);
  auto c = AddClass(schema, u"C", b);
  auto foreign = AddClass(NewSchema(), u"F");
  struct Case {
    ComPtr<INvVexaClass> child;
    ComPtr<INvVexaClass> parent;
    const char* failure;
  };
  const Case cases[] = {
      {a, a,
       "Class \"A\" cannot be the parent of class \"A\" since the inheritance would become cyclic"},
      {a, b,
       "Class \"B\" cannot be the parent of class \"A\" since the inheritance would become cyclic"},
      {a, c,
       "Class \"C\" cannot be the parent of class \"A\" since the inheritance would become cyclic"},
      {a, foreign,
       "Class \"F\" cannot be the parent of class \"A\" since it belongs to another schema"},
      {foreign, c,
       "Class \"C\" cannot be the parent of class \"F\" since it belongs to another schema"},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(FailureOf([&] { k.child.PutParentClass(k.parent); }), k.failure);
  }
  EXPECT_EQ(a.ParentClass(), nullptr);
  c.PutParentClass(a);  // moving up the chain is fine
  EXPECT_EQ(c.ParentClass(), a);
  c.PutParentClass(nullptr);
  EXPECT_EQ(c.ParentClass(), nullptr);
}

TEST(Class, ARemovedClassNoLongerBelongsToTheSchema) {
  auto schema = NewSchema();
  auto a = AddClass(schema, u"A");
  auto loose = AddClass(schema, u"Loose");
  schema.Classes().Remove(1);
  EXPECT_EQ(
      FailureOf([&] { loose.PutParentClass(a); }),
      "Class \"A\" cannot be the parent of class \"Loose\" since it belongs to another schema");
}

TEST(ClassesBackPatch, KeepsClassesWithTheirParentNames) {
  auto schema = NewSchema();
  auto a = AddClass(schema, u"A");
  auto b = AddClass(schema, u"B");
  ComPtr<INvVexaClassesBackPatchCRaw> list = CreateObject<CNvVexaClassesBackPatchRaw>();
  list.AddItem(a, u"Later");
  list.AddItem(b, u"");
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(0).VexaClass(), a);
  EXPECT_EQ(Utf8(list.Item(0).ParentClassName()), "Later");
  EXPECT_EQ(list.Item(1).VexaClass(), b);
  EXPECT_EQ(FailureOf([&] { list.Item(2); }), "Illegal index. Failed to get item from list.");
}

}  // namespace
}  // namespace nv::test
