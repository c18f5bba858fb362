// The target is written in batches: one transaction for many records, a
// savepoint for each. A record the target refuses in the middle of a batch
// costs only that record; a failure that ends the whole transaction leaves
// every record with one true line: "402" only for what the target holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "categories/category_classes.h"
#include "categories/setup/currency_settings_manager.h"
#include "categories/setup/indexes_manager.h"
#include "engine/category_factory.h"
#include "engine/company_transaction.h"
#include "engine/copy_stop.h"
#include "engine/operation_args.h"
#include "engine/target_batch.h"
#include "platform/host/host.h"
#include "tests/support/copy_fixture.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;

constexpr const char* kCurrencyKey = "DPX_TRN_CURRENCYSETTINGS_100";
constexpr const char* kIndexKey = "DPX_TRN_INDEXES_100";

// Five currencies in the base; the target has two of them under older names.
void SeedCurrencies(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base, "DELETE FROM OCRN; INSERT INTO OCRN (CurrCode, CurrName, RoundSys, Locked) VALUES "
                              "('AAA', 'Alpha', 0, 'N'), ('BBB', 'Beta', 0, 'N'), ('CCC', 'Gamma', 0, 'N'),"
                              "('DDD', 'Delta', 0, 'N'), ('EEE', 'Eps', 0, 'N');");
  CopyFixture::Exec(*fx.target, "DELETE FROM OCRN; INSERT INTO OCRN (CurrCode, CurrName, RoundSys, Locked) VALUES "
                                "('BBB', 'Beta-old', 0, 'N'), ('CCC', 'Gamma-old', 0, 'N');");
}

// Five indexes in the base; the target has one of them under an older name.
void SeedIndexes(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base, "DELETE FROM OIDX; INSERT INTO OIDX (IdexCode, IndexName) VALUES "
                              "('I1', 'One'), ('I2', 'Two'), ('I3', 'Three'), ('I4', 'Four'), ('I5', 'Five');");
  CopyFixture::Exec(*fx.target, "DELETE FROM OIDX; INSERT INTO OIDX (IdexCode, IndexName) VALUES ('I2', 'Two-old');");
}

template <class Manager>
void Copy(CopyFixture& fx, const std::string& key) {
  std::vector<DPX_OperationArgs> blocks;
  Manager(&fx.context, key).readFromDB(blocks, {});
  Manager(&fx.context, key).writeData(blocks, 4);
}

class BatchWrites : public ::testing::TestWithParam<int> {};

TEST_P(BatchWrites, ARefusalInTheMiddleOfABatchCostsOnlyItsRecord) {
  struct Case {
    std::string name;
    std::function<void(CopyFixture&)> copy;  // seeds, sets the fault and copies
    std::string rowsQuery;
    std::string rows;
    Lines lines;
  };
  const std::vector<Case> cases = {
      {"a refused Add",
       [](CopyFixture& fx) {
         SeedCurrencies(fx);
         fx.target->InjectFault("Add:37", 2, -99, "Refused by the test");
         Copy<DPX_CurrencySettingsManager>(fx, kCurrencyKey);
       },
       "SELECT CurrCode || ':' || CurrName FROM OCRN ORDER BY CurrCode",
       "AAA:Alpha,BBB:Beta,CCC:Gamma,EEE:Eps",
       {"DPX_TRN_CURRENCYSETTINGS_100|212|402|AAA|Alpha||||",
        "DPX_TRN_CURRENCYSETTINGS_100|213|402|BBB|Beta|BBB|Beta|Beta-old|",
        "DPX_TRN_CURRENCYSETTINGS_100|213|402|CCC|Gamma|CCC|Gamma|Gamma-old|",
        "DPX_TRN_CURRENCYSETTINGS_100|212|403|DDD|Delta||||Refused by the test",
        "DPX_TRN_CURRENCYSETTINGS_100|212|402|EEE|Eps||||"}},
      {"a refused Remove and Add: the old record stays",
       [](CopyFixture& fx) {
         SeedCurrencies(fx);
         fx.target->SetBrowserEnabled(37, false);
         fx.target->InjectFault("Add:37", 3, -99, "Refused by the test");
         Copy<DPX_CurrencySettingsManager>(fx, kCurrencyKey);
       },
       "SELECT CurrCode || ':' || CurrName FROM OCRN ORDER BY CurrCode",
       "AAA:Alpha,BBB:Beta,CCC:Gamma-old,DDD:Delta,EEE:Eps",
       {"DPX_TRN_CURRENCYSETTINGS_100|212|402|AAA|Alpha||||",
        "DPX_TRN_CURRENCYSETTINGS_100|213|402|BBB|Beta|BBB|Beta|Beta-old|",
        "DPX_TRN_CURRENCYSETTINGS_100|213|403|CCC|Gamma|CCC||Gamma-old|Refused by the test",
        "DPX_TRN_CURRENCYSETTINGS_100|212|402|DDD|Delta||||",
        "DPX_TRN_CURRENCYSETTINGS_100|212|402|EEE|Eps||||"}},
      {"a rejected row",
       [](CopyFixture& fx) {
         SeedIndexes(fx);
         fx.target->InjectSqlFault("INSERT", 2, "Rejected by the test");
         Copy<DPX_IndexesManager>(fx, kIndexKey);
       },
       "SELECT IdexCode || ':' || IndexName FROM OIDX ORDER BY IdexCode",
       "I1:One,I2:Two,I4:Four,I5:Five",
       {"DPX_TRN_INDEXES_100|212|402|I1|One||||", "DPX_TRN_INDEXES_100|213|402|I2|Two|I2|Two|Two-old|",
        "DPX_TRN_INDEXES_100|212|403|I3|Three||||Rejected by the test", "DPX_TRN_INDEXES_100|212|402|I4|Four||||",
        "DPX_TRN_INDEXES_100|212|402|I5|Five||||"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CopyFixture fx(GetParam());
    c.copy(fx);
    EXPECT_EQ(CopyFixture::Column(*fx.target, c.rowsQuery), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
    EXPECT_FALSE(fx.target->InTransaction());
  }
}

// Splits a copy-log line into its columns.
std::vector<std::string> Columns(const std::string& line) {
  std::vector<std::string> columns(1);
  for (char ch : line) {
    if (ch == '|')
      columns.emplace_back();
    else
      columns.back() += ch;
  }
  return columns;
}

TEST_P(BatchWrites, AFailureThatEndsTheTransactionNeverLeavesASuccessForARowTheTargetLacks) {
  struct Family {
    std::string name;
    std::function<void(CopyFixture&)> seed;
    std::function<void(CopyFixture&)> copy;
    std::string rowsQuery;  // code and name of every target row
  };
  const std::vector<Family> families = {
      {"business objects", SeedCurrencies, [](CopyFixture& fx) { Copy<DPX_CurrencySettingsManager>(fx, kCurrencyKey); },
       "SELECT CurrCode, CurrName FROM OCRN"},
      {"table rows", SeedIndexes, [](CopyFixture& fx) { Copy<DPX_IndexesManager>(fx, kIndexKey); },
       "SELECT IdexCode, IndexName FROM OIDX"},
  };
  for (const Family& family : families) {
    // The fault at every write of the batch, alone and followed by a second
    // one that meets the records written again one by one.
    for (int nth = 1; nth <= 5; ++nth) {
      for (bool twice : {false, true}) {
        SCOPED_TRACE(family.name + ", write " + std::to_string(nth) + (twice ? ", twice" : ""));
        CopyFixture fx(GetParam());
        family.seed(fx);
        fx.target->InjectFault("EndTransaction", nth, -60, "Disk full");
        if (twice) fx.target->InjectFault("EndTransaction", nth + 1, -60, "Disk full");
        family.copy(fx);
        EXPECT_FALSE(fx.target->InTransaction());

        std::map<std::string, std::string> held;
        for (const auto& row : CopyFixture::Rows(*fx.target, family.rowsQuery)) held[row[0]] = row[1];
        const Lines lines = fx.logLines();
        ASSERT_EQ(lines.size(), 5u);  // one line for each record
        size_t failed = 0;
        for (const std::string& line : lines) {
          const std::vector<std::string> columns = Columns(line);
          ASSERT_GE(columns.size(), 5u) << line;
          const std::string& code = columns[3];
          const std::string& name = columns[4];
          if (columns[2] == "402") {
            EXPECT_EQ(held[code], name) << line;
          } else {
            ASSERT_EQ(columns[2], "403") << line;
            EXPECT_NE(held[code], name) << line;
            ++failed;
          }
        }
        EXPECT_EQ(failed, twice ? 1u : 0u);
      }
    }
  }
}

// A block larger than a batch is written in several: a failure that ends the
// transaction in a later batch undoes only that batch, and the records the
// earlier ones committed keep their lines.
TEST_P(BatchWrites, AFailureInALaterBatchLeavesTheCommittedBatchesAsTheyAre) {
  const size_t rows = dpx::TargetBatch::kLimit + 5;
  std::string values;
  for (size_t i = 1; i <= rows; ++i) {
    const std::string n = std::to_string(i);
    values += (i > 1 ? ", " : "") + std::string("('I") + std::string(4 - std::min<size_t>(4, n.size()), '0') + n +
              "', 'Index " + n + "')";
  }
  for (bool twice : {false, true}) {
    SCOPED_TRACE(twice ? "twice" : "once");
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.base, "DELETE FROM OIDX; INSERT INTO OIDX (IdexCode, IndexName) VALUES " + values + ";");
    CopyFixture::Exec(*fx.target, "DELETE FROM OIDX;");
    const int nth = static_cast<int>(dpx::TargetBatch::kLimit) + 3;
    fx.target->InjectFault("EndTransaction", nth, -60, "Disk full");
    if (twice) fx.target->InjectFault("EndTransaction", nth + 1, -60, "Disk full");
    Copy<DPX_IndexesManager>(fx, kIndexKey);
    EXPECT_FALSE(fx.target->InTransaction());

    std::map<std::string, std::string> held;
    for (const auto& row : CopyFixture::Rows(*fx.target, "SELECT IdexCode, IndexName FROM OIDX")) held[row[0]] = row[1];
    const Lines lines = fx.logLines();
    ASSERT_EQ(lines.size(), rows);
    std::vector<std::string> failed;
    for (const std::string& line : lines) {
      const std::vector<std::string> columns = Columns(line);
      ASSERT_GE(columns.size(), 5u) << line;
      if (columns[2] == "402")
        EXPECT_EQ(held[columns[3]], columns[4]) << line;
      else
        failed.push_back(columns[3]);
    }
    // The second fault meets the first record of the later batch written
    // again on its own: that record alone fails.
    EXPECT_EQ(failed, twice ? std::vector<std::string>{"I1001"} : std::vector<std::string>{});
    EXPECT_EQ(held.size(), rows - failed.size());
  }
}

// A record whose savepoint the target cannot end takes its batch with it,
// and nothing stays open: the batch's records are written again one by one,
// and the next category writes and commits its own.
TEST_P(BatchWrites, ASavepointTheTargetCannotEndLeavesNoTransactionForTheNextCategory) {
  for (int nth = 1; nth <= 5; ++nth) {
    SCOPED_TRACE("savepoint " + std::to_string(nth));
    CopyFixture fx(GetParam());
    SeedCurrencies(fx);
    SeedIndexes(fx);
    fx.target->InjectFault("EndSavepoint", nth, -60, "Disk full");
    Copy<DPX_CurrencySettingsManager>(fx, kCurrencyKey);
    EXPECT_FALSE(fx.target->InTransaction());
    Copy<DPX_IndexesManager>(fx, kIndexKey);
    EXPECT_FALSE(fx.target->InTransaction());
    // What a new connection sees is committed.
    auto reader = fx.server_.target();
    EXPECT_EQ(CopyFixture::Column(*reader, "SELECT CurrCode || ':' || CurrName FROM OCRN ORDER BY CurrCode"),
              "AAA:Alpha,BBB:Beta,CCC:Gamma,DDD:Delta,EEE:Eps");
    EXPECT_EQ(CopyFixture::Column(*reader, "SELECT IdexCode || ':' || IndexName FROM OIDX ORDER BY IdexCode"),
              "I1:One,I2:Two,I3:Three,I4:Four,I5:Five");
    const Lines lines = fx.logLines();
    ASSERT_EQ(lines.size(), 10u);
    for (const std::string& line : lines) EXPECT_EQ(Columns(line).at(2), "402") << line;
  }
}

// A transaction open on the target that no write of the program holds was
// left by a write that failed to end it: a batch never writes into it. It is
// rolled back and the copy stops; a transaction a caller truly holds takes
// the records, and the caller decides about them.
TEST_P(BatchWrites, ABatchNeverWritesIntoATransactionItFindsLeftOpen) {
  {
    SCOPED_TRACE("left open");
    CopyFixture fx(GetParam());
    SeedIndexes(fx);
    fx.target->StartTransaction();
    CopyFixture::Exec(*fx.target, "INSERT INTO OIDX (IdexCode, IndexName) VALUES ('LEFT', 'Left open');");
    try {
      Copy<DPX_IndexesManager>(fx, kIndexKey);
      ADD_FAILURE() << "the copy did not stop";
    } catch (const DPX_CopyStopped& stop) {
      EXPECT_NE(stop.reason().find("was left in a transaction that no write of the copy holds"), std::string::npos)
          << stop.reason();
    }
    EXPECT_FALSE(fx.target->InTransaction());
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT IdexCode || ':' || IndexName FROM OIDX ORDER BY IdexCode"),
              "I2:Two-old");
    EXPECT_EQ(fx.logLines(), Lines{});
  }
  {
    SCOPED_TRACE("held by the caller");
    CopyFixture fx(GetParam());
    SeedIndexes(fx);
    {
      dpx::CompanyTransaction held(fx.target);
      Copy<DPX_IndexesManager>(fx, kIndexKey);
      EXPECT_TRUE(fx.target->InTransaction());
      EXPECT_EQ(fx.logLines().size(), 5u);
    }  // not committed
    EXPECT_FALSE(fx.target->InTransaction());
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT IdexCode || ':' || IndexName FROM OIDX ORDER BY IdexCode"),
              "I2:Two-old");
  }
}

INSTANTIATE_TEST_SUITE_P(BatchWrites, BatchWrites, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "ServerType" + std::to_string(info.param);
                         });

}  // namespace
