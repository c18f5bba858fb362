#include "platform/framework/variant.h"

#include <clocale>

#include <gtest/gtest.h>

#include "platform/framework/host_error.h"

namespace dpx {
namespace {

TEST(Variant, CanonicalTextIgnoresTheUserLocale) {
  // A German locale would write 0,5; data and SQL must never see that.
  std::setlocale(LC_ALL, "de_DE.UTF-8");
  EXPECT_EQ(Variant(0.5).toText(), "0.5");
  EXPECT_EQ(Variant(1234.25).toText(), "1234.25");
  double d = 0;
  EXPECT_TRUE(ParseDouble("0.5", d));
  EXPECT_DOUBLE_EQ(d, 0.5);
  std::setlocale(LC_ALL, "C");
}

TEST(Variant, TextsOfEachKind) {
  struct Case {
    Variant value;
    std::string text;
  };
  const Case cases[] = {
      {Variant(), ""},
      {Variant(int32_t{-42}), "-42"},
      {Variant(int64_t{9000000000}), "9000000000"},
      {Variant(0.1), "0.1"},
      {Variant(true), "Y"},
      {Variant(false), "N"},
      {Variant("O'Brien & <Co>"), "O'Brien & <Co>"},
      {Variant(DateTime{2024, 12, 31}), "20241231"},
      {Variant(DateTime{}), ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.toText(), c.text) << c.text;
}

TEST(Variant, NumbersFromTextAreStrict) {
  int64_t i = 0;
  double d = 0;
  EXPECT_TRUE(ParseInt64("-17", i));
  EXPECT_EQ(i, -17);
  for (const char* bad : {"", "1 OR 1=1", "12abc", "1;", " 1", "0x10"}) {
    EXPECT_FALSE(ParseInt64(bad, i)) << bad;
    EXPECT_FALSE(ParseDouble(bad, d)) << bad;
  }
  EXPECT_EQ(LeadingInt("42abc"), 42);
  EXPECT_EQ(LeadingInt("abc"), 0);
}

TEST(Variant, DatesParseInTheFormsDataUses) {
  DateTime d;
  ASSERT_TRUE(DateTime::parse("20240229", d));
  EXPECT_EQ(d, (DateTime{2024, 2, 29}));
  ASSERT_TRUE(DateTime::parse("2024-02-29 13:45:10.000000", d));
  EXPECT_EQ(d, (DateTime{2024, 2, 29, 13, 45, 10}));
  for (const char* bad : {"2024", "20241301", "2024-1-1", "20240229x", "31.12.2024"})
    EXPECT_FALSE(DateTime::parse(bad, d)) << bad;
}

TEST(HostError, CarriesCodeSourceAndDescription) {
  const HostError e(E_INVALIDARG, "Recordset", "bad column");
  EXPECT_EQ(e.code(), E_INVALIDARG);
  EXPECT_STREQ(e.what(), "bad column");
  EXPECT_EQ(StatusMessage(static_cast<HRESULT>(0x80041234u)), "Unknown error 0x80041234");
  EXPECT_EQ(InterfaceCode(static_cast<HRESULT>(0x80040503u)), 0x303);
  EXPECT_EQ(InterfaceCode(E_FAIL), 0);
}

}  // namespace
}  // namespace dpx
