// Data and SQL texts never follow the user's locale. The desktop UI lets Qt set
// the C locale from the environment, so a German user's process formats 0.5 as
// "0,5" in printf; nothing that reaches data, SQL or the log may do that.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fmt/printf.h>
#include <gtest/gtest.h>

#include "platform/framework/text.h"
#include "platform/framework/variant.h"
#include "tests/support/test_dir.h"

namespace dpx {
namespace {

// Builds a German locale in a private folder, so the test does not depend on
// the locales installed on the machine.
class GermanLocale : public testing::Test {
 protected:
  void SetUp() override {
    const std::string command = "localedef -i de_DE -f UTF-8 '" + (dir_ / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "localedef cannot build de_DE here";
    ::setenv("LOCPATH", dir_.path().c_str(), 1);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 cannot be selected";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", 0.5);
    ASSERT_STREQ(buf, "0,5") << "the locale is active";
  }
  void TearDown() override {
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");
  }
  test::TestDir dir_;
};

TEST_F(GermanLocale, NumbersInDataStayInTheCForm) {
  EXPECT_EQ(Variant(0.5).toText(), "0.5");
  EXPECT_EQ(Variant(-1234567.25).toText(), "-1234567.25");
  EXPECT_EQ(FormatDouble(1e-7), "1e-07");
  double d = 0;
  EXPECT_TRUE(ParseDouble("1234.5", d));
  EXPECT_DOUBLE_EQ(d, 1234.5);
  EXPECT_FALSE(ParseDouble("1234,5", d));
  EXPECT_EQ(Variant("0.25").toDouble(), 0.25);
  // printf-style formats of the program's texts, SQL and log lines.
  EXPECT_EQ(fmt::sprintf("%f", 0.5), "0.500000");
  EXPECT_EQ(fmt::sprintf("%lf", 2.25), "2.250000");
  EXPECT_EQ(fmt::sprintf("%d", 1234567), "1234567");
  EXPECT_EQ(fmt::sprintf("%g", 0.125), "0.125");
  EXPECT_EQ(ToLowerAscii("ITEMS"), "items");
  DateTime date;
  ASSERT_TRUE(DateTime::parse("2024-03-01", date));
  EXPECT_EQ(Variant(date).toText(), "20240301");
}

}  // namespace
}  // namespace dpx
