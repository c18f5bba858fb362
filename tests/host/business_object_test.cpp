// Business objects: record XML round trips between two companies, the
// refusals a host makes and their last-error texts, and the by-name face.
#include <gtest/gtest.h>

#include "platform/host/host.h"
#include "tests/support/demo_server.h"

namespace dpx::host {
namespace {

std::string LastError(Company& c) {
  int code;
  std::string text;
  c.GetLastError(code, text);
  return std::to_string(code) + " " + text;
}

int64_t Count(Company& c, const std::string& sql) {
  auto rs = c.NewRecordset();
  rs->DoQuery(sql);
  return rs->Field(0).toInt64();
}

class BusinessObjects : public ::testing::TestWithParam<int> {
 protected:
  test::DemoServerFixture server{GetParam()};
  std::shared_ptr<Company> base = server.base();
  std::shared_ptr<Company> target = server.target();
};

// A currency read in the base as XML is added to the target, read back and
// gives the same XML; names with an apostrophe, "&" and "<" survive.
TEST_P(BusinessObjects, GetAsXmlAddRoundTripAcrossCompanies) {
  auto gbp = base->NewBusinessObject(37);
  ASSERT_TRUE(gbp->GetByKey({Variant("GBP")}));
  std::string xml = gbp->GetAsXML();
  EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-16\"?><BOM><BO><AdmInfo><Object>37</Object></AdmInfo>"
                      "<Currencies><row><Code>GBP</Code><Name>Pound&apos;s &amp; &lt;Sterling&gt;</Name>",
                      0),
            0u)
      << xml;
  EXPECT_NE(xml.find("<ForeignName nil=\"true\"/>"), std::string::npos) << xml;

  auto fresh = target->GetBusinessObjectFromXML(xml, 0);
  Variant name;
  ASSERT_EQ(fresh->GetProperty("Name", name), S_OK);   // readable before it is saved
  EXPECT_EQ(name.toText(), "Pound's & <Sterling>");
  ASSERT_EQ(fresh->Add(), 0) << LastError(*target);
  auto back = target->NewBusinessObject(37);
  ASSERT_TRUE(back->GetByKey({Variant("GBP")}));
  EXPECT_EQ(back->GetAsXML(), xml);
}

// A text property keeps an empty text apart from NULL, and a CR as it is:
// the XML carries "" as an element without nil, NULL with nil="true", a CR
// as a character reference; the target's columns get back the same.
TEST_P(BusinessObjects, EmptyTextNullAndCarriageReturnSurviveTheRecordXml) {
  for (auto* company : {base.get(), target.get()}) company->store().execScript("DELETE FROM OUQR;");
  base->store().execScript(
      "INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES (1, 1, 'empty', '', 'W'),"
      "(2, 1, 'null', NULL, 'W'), (3, 1, 'cr', 'a' || char(13, 10) || 'b' || char(13), 'W');");
  auto rs = base->NewRecordset();
  rs->DoQuery("SELECT QName, QString FROM OUQR ORDER BY IntrnalKey");
  const std::string rows = rs->GetAsXML();
  EXPECT_NE(rows.find("<QName>empty</QName><QString></QString>"), std::string::npos) << rows;
  EXPECT_NE(rows.find("<QName>null</QName><QString nil=\"true\"/>"), std::string::npos) << rows;
  EXPECT_NE(rows.find("<QString>a&#13;\nb&#13;</QString>"), std::string::npos) << rows;
  for (int key = 1; key <= 3; ++key) {
    auto query = base->NewBusinessObject(160);
    ASSERT_TRUE(query->GetByKey({Variant(key), Variant(1)}));
    auto copy = target->GetBusinessObjectFromXML(query->GetAsXML(), 0);
    ASSERT_EQ(copy->Add(), 0) << LastError(*target);
  }
  auto stored = target->NewRecordset();
  stored->DoQuery("SELECT QName || ':' || typeof(QString) || ':' || hex(QString) FROM OUQR ORDER BY QName");
  std::string got;
  for (stored->MoveFirst(); !stored->EoF(); stored->MoveNext()) got += stored->Field(0).toText() + " ";
  EXPECT_EQ(got, "cr:text:610D0A620D empty:text: null:null: ");
}

// Update through the browser changes the fetched record, never its key, even
// when the XML comes from another company under another number.
TEST_P(BusinessObjects, UpdateThroughBrowserKeepsTheFetchedKey) {
  auto sales = base->NewBusinessObject(134);
  ASSERT_TRUE(sales->GetByKey({Variant(3)}));
  std::string xml = sales->GetAsXML();
  // Rename it in the XML the way a user edit would.
  xml.replace(xml.find("<Name>Sales</Name>"), 18, "<Name>Sales &amp; Service</Name>");

  auto targetSales = target->NewBusinessObject(134);
  ASSERT_TRUE(targetSales->GetByKey({Variant(7)}));
  auto browser = targetSales->Browser();
  ASSERT_TRUE(browser);
  browser->ReadXml(xml, 0);
  ASSERT_EQ(targetSales->Update(), 0) << LastError(*target);
  EXPECT_EQ(Count(*target, "SELECT COUNT(*) FROM OQCN WHERE CategoryId = 7 AND CatName = 'Sales & Service'"), 1);
  EXPECT_EQ(Count(*target, "SELECT COUNT(*) FROM OQCN WHERE CategoryId = 3"), 0);
}

// Numbered keys are given by the host on Add, whatever the XML carried.
TEST_P(BusinessObjects, AddGivesTheNextNumber) {
  auto q = base->NewBusinessObject(160);
  ASSERT_TRUE(q->GetByKey({Variant(5), Variant(1)}));
  auto copy = target->GetBusinessObjectFromXML(q->GetAsXML(), 0);
  ASSERT_EQ(copy->SetProperty("QueryCategory", Variant(2)), S_OK);   // "General" in the target
  ASSERT_EQ(copy->Add(), 0) << LastError(*target);
  Variant key;
  copy->GetProperty("InternalKey", key);
  EXPECT_EQ(key.toInt64(), 5);   // target's MAX(IntrnalKey) is 4
  auto again = target->NewBusinessObject(160);
  EXPECT_TRUE(again->GetByKey({Variant(5), Variant(2)}));
}

struct RefusalCase {
  std::string name;
  std::function<int(Company& base, Company& target)> act;
  int code;
  std::string text;
};

// Every refusal gives a non-zero result, writes nothing, and the last error
// says what and why.
TEST_P(BusinessObjects, RefusalsSayWhatAndWhy) {
  std::vector<RefusalCase> cases = {
      {"duplicate key",
       [](Company&, Company& t) {
         auto c = t.NewBusinessObject(37);
         c->SetProperty("Code", Variant("USD"));
         c->SetProperty("Name", Variant("again"));
         return c->Add();
       },
       kErrDuplicateKey, "This entry already exists: Currency 'USD' (table OCRN)"},
      {"missing reference",
       [](Company& b, Company& t) {
         auto q = b.NewBusinessObject(160);
         q->GetByKey({Variant(6), Variant(3)});   // category 3 does not exist in the target
         return t.GetBusinessObjectFromXML(q->GetAsXML(), 0)->Add();
       },
       kErrMissingReference, "refers to OQCN.CategoryId = '3', which does not exist"},
      {"still referenced",
       [](Company&, Company& t) {
         auto c = t.NewBusinessObject(37);
         c->GetByKey({Variant("USD")});   // the local currency of the target
         return c->Remove();
       },
       kErrStillReferenced, "Currency 'USD' cannot be removed: 1 record(s) of OADM (AdminInfo) still refer to it"},
      {"category with queries",
       [](Company&, Company& t) {
         auto c = t.NewBusinessObject(134);
         c->GetByKey({Variant(7)});
         return c->Remove();
       },
       kErrStillReferenced, "Query Category '7' cannot be removed"},
      {"duplicate name",
       [](Company&, Company& t) {
         auto c = t.NewBusinessObject(134);
         c->SetProperty("Name", Variant("General"));
         return c->Add();
       },
       kErrDuplicateKey, "Query Category with Name 'General'"},
      {"update before GetByKey",
       [](Company&, Company& t) { return t.NewBusinessObject(37)->Update(); },
       kErrNotPositioned, "call GetByKey before Update"},
      {"injected third add",
       [](Company&, Company& t) {
         t.InjectFault("Add:134", 3, -77, "Injected refusal");
         int last = 0;
         for (const char* n : {"A1", "A2", "A3"}) {
           auto c = t.NewBusinessObject(134);
           c->SetProperty("Name", Variant(n));
           last = c->Add();
         }
         return last;
       },
       -77, "Injected refusal"},
  };
  for (const RefusalCase& c : cases) {
    int64_t rowsBefore = Count(*target, "SELECT (SELECT COUNT(*) FROM OCRN) + (SELECT COUNT(*) FROM OQCN) * 100 + "
                                        "(SELECT COUNT(*) FROM OUQR) * 10000");
    int result = c.act(*base, *target);
    EXPECT_EQ(result, c.code) << c.name;
    EXPECT_NE(result, -2035) << c.name;
    int code;
    std::string text;
    target->GetLastError(code, text);
    EXPECT_EQ(code, c.code) << c.name;
    EXPECT_NE(text.find(c.text), std::string::npos) << c.name << ": " << text;
    if (c.name != "injected third add") {
      EXPECT_EQ(Count(*target, "SELECT (SELECT COUNT(*) FROM OCRN) + (SELECT COUNT(*) FROM OQCN) * 100 + "
                               "(SELECT COUNT(*) FROM OUQR) * 10000"),
                rowsBefore)
          << c.name;
    }
  }
}

// Remove, then Add inside a transaction that is rolled back, leaves the
// record as it was.
TEST_P(BusinessObjects, TransactionRollbackUndoesRemoveAndAdd) {
  auto eur = base->NewBusinessObject(37);
  ASSERT_TRUE(eur->GetByKey({Variant("EUR")}));
  target->SetBrowserEnabled(37, false);   // an update by Remove and Add
  auto chf = target->NewBusinessObject(37);
  ASSERT_TRUE(chf->GetByKey({Variant("CHF")}));
  EXPECT_FALSE(chf->Browser());
  target->StartTransaction();
  EXPECT_TRUE(target->InTransaction());
  ASSERT_EQ(chf->Remove(), 0) << LastError(*target);
  target->InjectFault("Add", 1);
  EXPECT_NE(target->GetBusinessObjectFromXML(eur->GetAsXML(), 0)->Add(), 0);
  target->EndTransaction(kEndRollback);
  EXPECT_FALSE(target->InTransaction());
  EXPECT_TRUE(target->NewBusinessObject(37)->GetByKey({Variant("CHF")}));
}

// A failed GetByKey is told apart from one that finds nothing.
TEST_P(BusinessObjects, GetByKeyFailureIsNotNotFound) {
  auto c = target->NewBusinessObject(37);
  EXPECT_FALSE(c->GetByKey({Variant("XXX")}));
  ASSERT_TRUE(c->GetByKey({Variant("USD")}));
  EXPECT_THROW(c->GetByKey({Variant("USD"), Variant("extra")}), HostError);
  EXPECT_NE(LastError(*target).find("takes 1 key value(s), not 2"), std::string::npos) << LastError(*target);
  // The record fetched before the failed call is no longer the one written.
  EXPECT_EQ(c->Update(), kErrNotPositioned);
  Variant out;
  EXPECT_EQ(c->invoke("GetByKey", {Variant("USD")}, out), S_OK);
  EXPECT_TRUE(out.toBool());
  EXPECT_EQ(c->invoke("GetByKey", {}, out), E_INVALIDARG);
  target->InjectFault("GetByKey", 1, -5, "server gone");
  EXPECT_EQ(c->invoke("GetByKey", {Variant("USD")}, out), kHrInjected);
  target->Disconnect();
  EXPECT_THROW(c->GetByKey({Variant("USD")}), HostError);
}

// The by-name face: properties, methods, unknown names, bad values.
TEST_P(BusinessObjects, ByNameMembers) {
  std::shared_ptr<HostObject> obj = base->GetBusinessObject(12);
  Variant out;
  ASSERT_EQ(obj->invoke("GetByKey", {Variant(base->UserSignature())}, out), S_OK);
  ASSERT_TRUE(out.toBool());
  EXPECT_EQ(obj->get("Superuser", out), S_OK);
  EXPECT_EQ(out.toInt64(), 1);
  EXPECT_EQ(obj->get("UserCode", out), S_OK);
  EXPECT_EQ(out.toText(), "manager");
  EXPECT_EQ(obj->get("NoSuchProperty", out), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(obj->get("UserPassword", out), DISP_E_MEMBERNOTFOUND);   // write-only
  EXPECT_EQ(obj->put("UserPassword", Variant("secret")), S_OK);
  EXPECT_EQ(obj->put("Department", Variant("not a number")), E_INVALIDARG);
  EXPECT_EQ(obj->invoke("Fly", {}, out), DISP_E_MEMBERNOTFOUND);
  EXPECT_TRUE(obj->hasMember("Browser"));
  base->SetBrowserEnabled(37, false);
  EXPECT_FALSE(base->GetBusinessObject(37)->hasMember("Browser"));
  base->SetBrowserEnabled(37, true);
  std::shared_ptr<HostObject> browser;
  EXPECT_EQ(obj->getObject("Browser", browser), S_OK);
  EXPECT_TRUE(browser && browser->hasMember("ReadXml"));
  EXPECT_EQ(obj->invoke("GetAsXML", {}, out), S_OK);
  EXPECT_EQ(out.toText().find("UserPassword"), std::string::npos);   // never in XML
  EXPECT_EQ(obj->invoke("Update", {}, out), S_OK);
  EXPECT_EQ(out.toInt64(), 0);
  // The new password is stored: the user connects with it.
  base->Disconnect();
  EXPECT_NO_THROW(server.connect("DEMO_BASE", "manager", "secret"));
  EXPECT_THROW(base->GetBusinessObject(4711), HostError);
}

// The ordinary user is no superuser; a user added through the object gets
// the next internal key from the numbering table.
TEST_P(BusinessObjects, Users) {
  auto clerk = server.connect("DEMO_BASE", "clerk", "clerk");
  auto u = clerk->NewBusinessObject(kObjectUsers);
  ASSERT_TRUE(u->GetByKey({Variant(clerk->UserSignature())}));
  Variant super;
  u->GetProperty("Superuser", super);
  EXPECT_EQ(super.toInt64(), 0);
  const int64_t next = Count(*base, "SELECT AutoKey FROM ONNM WHERE ObjectCode = '12'");
  auto added = base->NewBusinessObject(kObjectUsers);
  added->SetProperty("UserCode", Variant("newbie"));
  added->SetProperty("UserName", Variant("New & <Bie>"));
  added->SetProperty("Superuser", Variant(0));
  added->SetProperty("UserPassword", Variant("pw"));
  ASSERT_EQ(added->Add(), 0) << LastError(*base);
  Variant key;
  added->GetProperty("InternalKey", key);
  EXPECT_EQ(key.toInt64(), next);
  EXPECT_EQ(Count(*base, "SELECT USERID FROM OUSR WHERE USER_CODE = 'newbie'"), next);
  EXPECT_EQ(Count(*base, "SELECT AutoKey FROM ONNM WHERE ObjectCode = '12'"), next + 1);
  EXPECT_EQ(server.connect("DEMO_BASE", "newbie", "pw")->UserSignature(), next);
}

// Adding a user table makes its "@" table with Code and Name; adding a user
// field makes its U_ column and CUFD row; the bridge lists both; removing
// undoes them.
TEST_P(BusinessObjects, UserTablesAndFields) {
  auto t = target->NewBusinessObject(153);
  t->SetProperty("TableName", Variant("DPXNOTE"));
  t->SetProperty("TableDescription", Variant("Notes"));
  ASSERT_EQ(t->Add(), 0) << LastError(*target);
  auto f = target->NewBusinessObject(152);
  f->SetProperty("TableName", Variant("@DPXNOTE"));
  f->SetProperty("Name", Variant("String"));
  f->SetProperty("Description", Variant("Note text"));
  f->SetProperty("Type", Variant(1));
  ASSERT_EQ(f->Add(), 0) << LastError(*target);
  auto again = target->NewBusinessObject(152);
  again->SetProperty("TableName", Variant("@DPXNOTE"));
  again->SetProperty("Name", Variant("String"));
  EXPECT_EQ(again->Add(), kErrDuplicateKey);
  // Column names differ by more than case on every server type.
  auto upper = target->NewBusinessObject(152);
  upper->SetProperty("TableName", Variant("@DPXNOTE"));
  upper->SetProperty("Name", Variant("STRING"));
  EXPECT_EQ(upper->Add(), kErrDuplicateKey);
  EXPECT_NE(LastError(*target).find("already exists"), std::string::npos) << LastError(*target);
  auto orphan = target->NewBusinessObject(152);
  orphan->SetProperty("TableName", Variant("@NOWHERE"));
  orphan->SetProperty("Name", Variant("X"));
  EXPECT_EQ(orphan->Add(), kErrMissingReference);

  auto fields = target->NewBridge()->GetTableFieldList("@DPXNOTE");
  std::string list;
  for (fields->MoveFirst(); !fields->EoF(); fields->MoveNext())
    list += fields->Field(0).toText() + ":" + fields->Field(2).toText() + ":" + fields->Field(6).toText() + ";";
  EXPECT_EQ(list, "Code:0:Code;Name:0:Name;U_String:1:Note text;");
  auto rs = target->NewRecordset();
  rs->DoQuery(server.serverType() == 2 || server.serverType() == 5
                  ? "INSERT INTO @DPXNOTE (Code, Name, U_String) VALUES ('1', '1', 'x')"
                  : "INSERT INTO [@DPXNOTE] (Code, Name, U_String) VALUES (N'1', N'1', N'x')");

  Variant fieldId;
  f->GetProperty("FieldID", fieldId);
  auto field = target->NewBusinessObject(152);
  ASSERT_TRUE(field->GetByKey({Variant("@DPXNOTE"), fieldId}));
  ASSERT_EQ(field->Remove(), 0) << LastError(*target);
  EXPECT_EQ(target->NewBridge()->GetTableFieldList("@DPXNOTE")->RecordCount(), 2);
  auto table = target->NewBusinessObject(153);
  ASSERT_TRUE(table->GetByKey({Variant("DPXNOTE")}));
  ASSERT_EQ(table->Remove(), 0) << LastError(*target);
  EXPECT_THROW(target->NewBridge()->GetTableFieldList("@DPXNOTE"), HostError);
}

INSTANTIATE_TEST_SUITE_P(ServerTypes, BusinessObjects, ::testing::Values(6, 2, 5),
                         [](const auto& info) { return "Type" + std::to_string(info.param); });

}  // namespace
}  // namespace dpx::host
