// The company service's numbering series and posting periods: what the host
// derives and numbers itself, and what it refuses with a reason.
#include <gtest/gtest.h>

#include "platform/host/company_service.h"
#include "platform/host/company_store.h"
#include "platform/host/host.h"
#include "tests/support/demo_server.h"

namespace dpx::host {
namespace {

class SeriesAndPeriods : public ::testing::Test {
 protected:
  test::DemoServerFixture server{6, false};
  std::shared_ptr<Company> company = server.target();
  std::shared_ptr<CompanyService> service = company->GetCompanyService();

  std::string Column(const std::string& sql) {
    std::string out;
    for (auto& row : company->store().query(sql).rows) out += (out.empty() ? "" : ",") + row[0].toText();
    return out;
  }
};

TEST_F(SeriesAndPeriods, ACategoryGetsThePeriodsOfItsSubPeriodType) {
  struct Case {
    std::string code, start;
    int type;
    std::string periods;  // code:from-to of the first three periods
  } cases[] = {
      {"Y", "20240101", 0, "Y:20240101-20241231"},
      {"Q", "20240401", 1, "Q-Q1:20240401-20240630,Q-Q2:20240701-20240930,Q-Q3:20241001-20241231"},
      {"M", "20240101", 2, "M-01:20240101-20240131,M-02:20240201-20240229,M-03:20240301-20240331"},
  };
  for (const Case& c : cases) {
    auto category = service->NewPeriodCategory(2);
    ASSERT_EQ(category->put("PeriodCategory", Variant(c.code)), S_OK);
    ASSERT_EQ(category->put("PeriodName", Variant("Name of " + c.code)), S_OK);
    ASSERT_EQ(category->put("BeginningofFinancialYear", Variant(c.start)), S_OK);
    ASSERT_EQ(category->put("SubPeriodType", Variant(c.type)), S_OK);
    auto item = service->CreatePeriodCategory(category);
    EXPECT_EQ(Column("SELECT GROUP_CONCAT(Code || ':' || RefDateFrom || '-' || RefDateTo, ',') FROM "
                     "(SELECT * FROM OFPR WHERE PeriodCat = '" + c.code + "' AND PeriodIndex < 3 ORDER BY PeriodIndex)"),
              c.periods);
    Variant count;
    EXPECT_EQ(service->GetPeriodCategory(item)->get("NumberOfPeriods", count), S_OK);
    EXPECT_EQ(count.toInt32(), c.type == 0 ? 1 : c.type == 1 ? 4 : 12);
    // The last period ends the day before the next financial year begins.
    EXPECT_EQ(Column("SELECT MAX(RefDateTo) FROM OFPR WHERE PeriodCat = '" + c.code + "'"),
              c.start == "20240101" ? "20241231" : "20250331");
  }
  // Listed in the order they were made.
  auto list = service->GetPeriodCategoryList();
  ASSERT_EQ(list->Count(), 3);
  EXPECT_EQ(list->Item(2)->value("PeriodCategory").toText(), "M");
}

TEST_F(SeriesAndPeriods, RefusedCategoriesAndPeriodsSayWhy) {
  auto make = [&](const std::string& code, const std::string& name, int type) {
    auto category = service->NewPeriodCategory(2);
    category->put("PeriodCategory", Variant(code));
    category->put("PeriodName", Variant(name));
    category->put("BeginningofFinancialYear", Variant("20240101"));
    category->put("SubPeriodType", Variant(type));
    return service->CreatePeriodCategory(category);
  };
  auto item = make("A", "A", 0);
  EXPECT_THROW(make("A", "again", 0), HostError);
  EXPECT_NE(company->GetLastErrorDescription().find("exists"), std::string::npos);
  EXPECT_THROW(make("B", "B", 3), HostError);
  EXPECT_NE(company->GetLastErrorDescription().find("sub-period type 3"), std::string::npos);
  EXPECT_THROW(make("C", "", 0), HostError);
  EXPECT_EQ(Column("SELECT COUNT(*) FROM OACP"), "1");

  auto period = service->GetPeriodsList(item)->Item(0);
  ASSERT_EQ(period->put("RefDateTo", Variant("20231231")), S_OK);
  EXPECT_EQ(service->UpdatePeriod(period), kErrInvalidValue);
  EXPECT_EQ(Column("SELECT RefDateTo FROM OFPR"), "20241231");
  ASSERT_EQ(period->put("RefDateTo", Variant("20241130")), S_OK);
  ASSERT_EQ(period->put("Name", Variant("Year & <A>")), S_OK);
  EXPECT_EQ(service->UpdatePeriod(period), 0);
  EXPECT_EQ(Column("SELECT Name || ':' || RefDateTo FROM OFPR"), "Year & <A>:20241130");
  // A period made from XML is no period of the company.
  EXPECT_EQ(service->UpdatePeriod(service->PeriodFromXml(period->GetAsXML())), kErrNotPositioned);
}

TEST_F(SeriesAndPeriods, AddedSeriesAreNumberedOverTheWholeTableAndCheckedFirst) {
  company->store().execScript(
      "INSERT INTO OPID (Code, Indicator) VALUES (1, 'Default');"
      "INSERT INTO NNM1 (ObjectCode, Series, SeriesName, InitialNum, NextNumber, Indicator) VALUES "
      "('13', 1, 'Primary', 1, 5, 'Default'), ('22', 40, 'Primary', 1, 9, 'Default');");
  auto series = service->GetSeriesService();
  auto add = [&](const std::string& document, const std::string& name, int first, int next, const std::string& indicator) {
    auto s = series->GetDataInterface(SeriesService::kSeries);
    s->put("Document", Variant(document));
    s->put("Name", Variant(name));
    s->put("InitialNumber", Variant(first));
    s->put("NextNumber", Variant(next));
    s->put("PeriodIndicator", Variant(indicator));
    return series->AddSeries(s)->value("Series").toInt32();
  };
  EXPECT_EQ(add("13", "Export", 100, 100, "Default"), 41);
  struct Refused {
    std::string document, name;
    int first, next;
    std::string indicator, reason;
  } refused[] = {
      {"13", "Export", 200, 200, "Default", "already has a series named 'Export'"},
      {"", "Other", 200, 200, "Default", "names no document"},
      {"13", "", 200, 200, "Default", "has no name"},
      {"13", "Other", 200, 100, "Default", "out of order"},
      {"13", "Other", 200, 200, "FY1999", "Period indicator 'FY1999' does not exist"},
  };
  for (const Refused& r : refused) {
    EXPECT_THROW(add(r.document, r.name, r.first, r.next, r.indicator), HostError) << r.reason;
    EXPECT_NE(company->GetLastErrorDescription().find(r.reason), std::string::npos) << company->GetLastErrorDescription();
  }
  EXPECT_EQ(Column("SELECT Series FROM NNM1 ORDER BY Series"), "1,40,41");

  // An update keeps the series' number and document.
  auto params = series->GetDataInterface(SeriesService::kSeriesParams);
  params->put("Series", Variant(41));
  auto got = series->GetSeries(params);
  got->ReadXml("<Series><Series>7</Series><Name>Export &amp; more</Name><NextNumber>150</NextNumber></Series>");
  EXPECT_EQ(series->UpdateSeries(got), 0);
  EXPECT_EQ(Column("SELECT Series || ':' || SeriesName || ':' || NextNumber FROM NNM1 WHERE ObjectCode = '13' AND "
                   "InitialNum = 100"),
            "41:Export & more:150");
  got->put("Document", Variant("22"));
  EXPECT_EQ(series->UpdateSeries(got), kErrInvalidValue);
  params->put("Series", Variant(99));
  EXPECT_THROW(series->GetSeries(params), HostError);
}

}  // namespace
}  // namespace dpx::host
