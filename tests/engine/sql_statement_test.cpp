#include "engine/sql_statement.h"

#include <functional>

#include <gtest/gtest.h>

namespace {

// The statements the data layer builds, each spelled out for every dialect.
struct Statement {
  const char* name;
  std::function<std::string(int32_t serverType)> build;
  // Expected text for server types 2, 3, 4 (any other) and 5.
  const char* type2;
  const char* type3;
  const char* type4;
  const char* type5;
};

const std::vector<Statement>& Statements() {
  static const std::vector<Statement> statements = {
      {"select of a user table by its code",
       [](int32_t t) {
         DPX_SqlStatement s(t);
         s.setTable("@DPXSETT");
         s.addColumn("Code");
         s.addColumn("U_LFFolder");
         s.addValue("Code", "00000000", DPX_SqlStatement::kAlpha);
         return s.buildSelect();
       },
       "SELECT Code, U_LFFolder FROM @DPXSETT WHERE Code = N'00000000'",
       "SELECT Code, U_LFFolder FROM [@DPXSETT] WHERE Code = N'00000000'",
       "SELECT Code, U_LFFolder FROM [@DPXSETT] WHERE Code = N'00000000'",
       "SELECT \"Code\", \"U_LFFolder\" FROM @DPXSETT WHERE \"Code\" = '00000000'"},
      {"select of everything, no condition, table name trimmed",
       [](int32_t t) {
         DPX_SqlStatement s(t);
         s.setTable("  OCRD ");
         return s.buildSelect();
       },
       "SELECT * FROM OCRD", "SELECT * FROM OCRD", "SELECT * FROM OCRD", "SELECT * FROM OCRD"},
      {"insert of every field type, apostrophe doubled, empty values NULL",
       [](int32_t t) {
         DPX_SqlStatement s(t);
         s.setTable("OCRD");
         s.addValue("CardCode", "O'Neil", DPX_SqlStatement::kAlpha);
         s.addValue("Balance", "-12.5", DPX_SqlStatement::kFloat);
         s.addValue("CreateDate", "20240131", DPX_SqlStatement::kDate);
         s.addValue("Notes", "memo", DPX_SqlStatement::kMemo);
         s.addValue("Fax", "", DPX_SqlStatement::kAlpha);
         s.addValue("GroupCode", "", DPX_SqlStatement::kNumeric);
         s.addValue("UpdateDate", "", DPX_SqlStatement::kDate);
         return s.buildInsert();
       },
       "INSERT INTO OCRD (CardCode, Balance, CreateDate, Notes, Fax, GroupCode, UpdateDate) VALUES "
       "(N'O''Neil', -12.5, TIMESTAMP_ISO('2024-01-31'), N'memo', NULL, NULL, NULL)",
       "INSERT INTO OCRD (CardCode, Balance, CreateDate, Notes, Fax, GroupCode, UpdateDate) VALUES "
       "(N'O''Neil', -12.5, 20240131, N'memo', NULL, NULL, NULL)",
       "INSERT INTO OCRD (CardCode, Balance, CreateDate, Notes, Fax, GroupCode, UpdateDate) VALUES "
       "(N'O''Neil', -12.5, CONVERT(datetime,'20240131',112), N'memo', NULL, NULL, NULL)",
       "INSERT INTO OCRD (\"CardCode\", \"Balance\", \"CreateDate\", \"Fax\", \"GroupCode\", \"UpdateDate\") VALUES "
       "('O''Neil', -12.5, '2024-01-31 00:00:00.000000', NULL, NULL, NULL)"},
      {"update of a user table: empty text stays an empty text",
       [](int32_t t) {
         DPX_SqlStatement set(t), key(t);
         set.setTable("@DPXNOTE");
         set.addValue("U_String", "", DPX_SqlStatement::kAlpha);
         set.addValue("U_ID", "7", DPX_SqlStatement::kNumeric);
         key.addValue("Code", "00000007", DPX_SqlStatement::kAlpha);
         return set.buildUpdate() + key.buildWhere();
       },
       "UPDATE @DPXNOTE SET U_String = N'' , U_ID = 7 WHERE Code = N'00000007'",
       "UPDATE [@DPXNOTE] SET U_String = N'' , U_ID = 7 WHERE Code = N'00000007'",
       "UPDATE [@DPXNOTE] SET U_String = N'' , U_ID = 7 WHERE Code = N'00000007'",
       "UPDATE @DPXNOTE SET \"U_String\" = '' , \"U_ID\" = 7 WHERE \"Code\" = '00000007'"},
      {"delete of several codes within one group: the alternatives are grouped",
       [](int32_t t) {
         DPX_SqlStatement s(t);
         s.setTable("OCRG");
         s.addValue("GroupName", "A", DPX_SqlStatement::kAlpha);
         s.addValue("GroupName", "B", DPX_SqlStatement::kAlpha);
         s.addValue("GroupType", "C", DPX_SqlStatement::kAlpha);
         return s.buildDelete();
       },
       "DELETE  FROM OCRG WHERE (GroupName = N'A' OR GroupName = N'B') AND GroupType = N'C'",
       "DELETE  FROM OCRG WHERE (GroupName = N'A' OR GroupName = N'B') AND GroupType = N'C'",
       "DELETE  FROM OCRG WHERE (GroupName = N'A' OR GroupName = N'B') AND GroupType = N'C'",
       "DELETE  FROM OCRG WHERE (\"GroupName\" = 'A' OR \"GroupName\" = 'B') AND \"GroupType\" = 'C'"},
      {"NULL only for an empty non-text value; the text NULL is a text",
       [](int32_t t) {
         DPX_SqlStatement s(t);
         s.setTable("OCRD");
         s.addValue("CardName", "NULL", DPX_SqlStatement::kAlpha);
         s.addValue("GroupCode", "", DPX_SqlStatement::kNumeric);
         s.addValue("GroupCode", "100", DPX_SqlStatement::kNumeric);
         return s.buildSelect();
       },
       "SELECT * FROM OCRD WHERE CardName = N'NULL' AND (GroupCode IS NULL OR GroupCode = 100)",
       "SELECT * FROM OCRD WHERE CardName = N'NULL' AND (GroupCode IS NULL OR GroupCode = 100)",
       "SELECT * FROM OCRD WHERE CardName = N'NULL' AND (GroupCode IS NULL OR GroupCode = 100)",
       "SELECT * FROM OCRD WHERE \"CardName\" = 'NULL' AND (\"GroupCode\" IS NULL OR \"GroupCode\" = 100)"},
      {"a memo condition is dropped under type 5 only",
       [](int32_t t) {
         DPX_SqlStatement s(t);
         s.setTable("OUQR");
         s.addValue("QString", "SELECT 1", DPX_SqlStatement::kMemo);
         s.addValue("QName", "Q1", DPX_SqlStatement::kAlpha);
         return s.buildDelete();
       },
       "DELETE  FROM OUQR WHERE QString = N'SELECT 1' AND QName = N'Q1'",
       "DELETE  FROM OUQR WHERE QString = N'SELECT 1' AND QName = N'Q1'",
       "DELETE  FROM OUQR WHERE QString = N'SELECT 1' AND QName = N'Q1'",
       "DELETE  FROM OUQR WHERE \"QName\" = 'Q1'"},
      {"a row's NULL and empty text are written apart, also in a new row",
       [](int32_t t) {
         DPX_SqlStatement s(t);
         s.setTable("OIDX");
         s.addValue("IdexCode", "", DPX_SqlStatement::kAlpha, true);
         s.addNull("IndexName");
         return s.buildInsert();
       },
       "INSERT INTO OIDX (IdexCode, IndexName) VALUES (N'', NULL)",
       "INSERT INTO OIDX (IdexCode, IndexName) VALUES (N'', NULL)",
       "INSERT INTO OIDX (IdexCode, IndexName) VALUES (N'', NULL)",
       "INSERT INTO OIDX (\"IdexCode\", \"IndexName\") VALUES ('', NULL)"},
      {"a NULL assigned and compared",
       [](int32_t t) {
         DPX_SqlStatement s(t);
         s.setTable("OIDX");
         s.addNull("IndexName");
         return s.buildUpdate().str() + s.buildWhere().str();
       },
       "UPDATE OIDX SET IndexName = NULL WHERE IndexName IS NULL",
       "UPDATE OIDX SET IndexName = NULL WHERE IndexName IS NULL",
       "UPDATE OIDX SET IndexName = NULL WHERE IndexName IS NULL",
       "UPDATE OIDX SET \"IndexName\" = NULL WHERE \"IndexName\" IS NULL"},
      {"a date condition in each dialect",
       [](int32_t t) {
         DPX_SqlStatement s(t);
         s.setTable("OFPR");
         s.addColumn("Code");
         s.addValue("F_RefDate", "20230101", DPX_SqlStatement::kDate);
         return s.buildSelect();
       },
       "SELECT Code FROM OFPR WHERE F_RefDate = TIMESTAMP_ISO('2023-01-01')",
       "SELECT Code FROM OFPR WHERE F_RefDate = 20230101",
       "SELECT Code FROM OFPR WHERE F_RefDate = CONVERT(datetime,'20230101',112)",
       "SELECT \"Code\" FROM OFPR WHERE \"F_RefDate\" = '2023-01-01 00:00:00.000000'"},
  };
  return statements;
}

TEST(SqlStatement, EachStatementInEachDialect) {
  for (const auto& st : Statements()) {
    SCOPED_TRACE(st.name);
    EXPECT_EQ(st.build(2), st.type2);
    EXPECT_EQ(st.build(3), st.type3);
    EXPECT_EQ(st.build(4), st.type4);
    EXPECT_EQ(st.build(5), st.type5);
    // Any other server type reads like type 4.
    EXPECT_EQ(st.build(7), st.type4);
  }
}

TEST(SqlStatement, EmptyStatementHasNoCondition) {
  DPX_SqlStatement s(4);
  s.setTable("@X");
  EXPECT_EQ(s.buildWhere(), "");
  EXPECT_EQ(s.buildDelete(), "DELETE  FROM [@X]");
  EXPECT_EQ(s.buildSelect(), "SELECT * FROM [@X]");
}

TEST(SqlStatement, BuildingTwiceGivesTheSameText) {
  DPX_SqlStatement s(3);
  s.setTable(" @T ");
  s.addValue("A", "1", DPX_SqlStatement::kNumeric);
  const std::string first = s.buildSelect();
  EXPECT_EQ(first, "SELECT * FROM [@T] WHERE A = 1");
  EXPECT_EQ(s.buildSelect(), first);
}

// Whatever a configuration file puts into a value that is written without
// quotes, nothing but a number or a date reaches the SQL text.
TEST(SqlStatement, ValuesThatCouldCarrySqlAreRefused) {
  struct Case {
    std::string value;
    int32_t typeCode;
  };
  const Case refused[] = {
      {"0 OR 1=1", DPX_SqlStatement::kNumeric},
      {"1; DELETE FROM OCRD", DPX_SqlStatement::kNumeric},
      {"1--", DPX_SqlStatement::kFloat},
      {"1)", DPX_SqlStatement::kFloat},
      {" 1", DPX_SqlStatement::kNumeric},
      {"1,5", DPX_SqlStatement::kFloat},
      {"NULL", DPX_SqlStatement::kNumeric},
      {"inf", DPX_SqlStatement::kFloat},
      {"0x10", DPX_SqlStatement::kNumeric},
      {"1e", DPX_SqlStatement::kFloat},
      {"-", DPX_SqlStatement::kNumeric},
      {"20240101 OR 1=1", DPX_SqlStatement::kDate},
      {"2024-01-01", DPX_SqlStatement::kDate},
      {"2024010", DPX_SqlStatement::kDate},
      {"2024O101", DPX_SqlStatement::kDate},
      {"A1", 9},  // an unknown type code is written unquoted too
  };
  for (int32_t serverType : {2, 3, 4, 5}) {
    for (const auto& c : refused) {
      SCOPED_TRACE(std::to_string(serverType) + ": " + c.value);
      DPX_SqlStatement s(serverType);
      s.setTable("OCRD");
      s.addValue("CardCode", "C1", DPX_SqlStatement::kAlpha);
      s.addValue("Balance", c.value, c.typeCode);
      EXPECT_FALSE(s.isValid());
      EXPECT_NE(s.error().find("Balance"), std::string::npos) << s.error();
      EXPECT_THROW(s.buildInsert(), DPX_SqlValueRefused);
      EXPECT_THROW(s.buildUpdate(), DPX_SqlValueRefused);
      EXPECT_THROW(s.buildWhere(), DPX_SqlValueRefused);
      EXPECT_THROW(s.buildSelect(), DPX_SqlValueRefused);
      EXPECT_THROW(s.buildDelete(), DPX_SqlValueRefused);
      // The callers catch host errors and log the record as failed.
      try {
        s.buildDelete();
      } catch (const dpx::HostError& e) {
        EXPECT_EQ(e.code(), dpx::E_INVALIDARG);
        EXPECT_NE(std::string(e.what()).find("Balance"), std::string::npos);
      }
    }
  }
}

// Names reach the text as the host spells them, or not at all: a bare name
// (type 2) cannot be quoted, and no host table or column holds these characters.
const char* const kHostileNames[] = {
    "CARS] UNION SELECT USER_CODE, PASSWORD, NULL, NULL, NULL FROM OUSR --",
    "CARS\" UNION SELECT USER_CODE, PASSWORD FROM OUSR --",
    "CARS' OR '1'='1",
    "CARS`",
    "CARS; DELETE FROM OUSR",
    "CARS--",
    "CARS UNION SELECT PASSWORD FROM OUSR",
    "CARS.Code",
    "CARS\u00e9",
    "",
    "@",
    "@@CARS",
};

TEST(SqlStatement, NamesThatCouldCarrySqlAreRefused) {
  for (int32_t serverType : {2, 3, 5, 6}) {
    for (const char* hostile : kHostileNames) {
      for (const std::string& name : {std::string(hostile), "@" + std::string(hostile)}) {
        SCOPED_TRACE(std::to_string(serverType) + ": " + name);
        DPX_SqlStatement asTable(serverType);
        asTable.setTable(name);
        asTable.addValue("Code", "A", DPX_SqlStatement::kAlpha);
        for (const auto& build : {&DPX_SqlStatement::buildSelect, &DPX_SqlStatement::buildDelete,
                                  &DPX_SqlStatement::buildInsert, &DPX_SqlStatement::buildUpdate})
          EXPECT_THROW((asTable.*build)(), DPX_SqlValueRefused);

        DPX_SqlStatement asColumn(serverType);
        asColumn.setTable("@CARS");
        asColumn.addColumn(name);
        EXPECT_FALSE(asColumn.isValid());
        EXPECT_THROW(asColumn.buildSelect(), DPX_SqlValueRefused);
        DPX_SqlStatement asCondition(serverType);
        asCondition.setTable("@CARS");
        asCondition.addValue(name, "A", DPX_SqlStatement::kAlpha);
        EXPECT_FALSE(asCondition.isValid());
        EXPECT_THROW(asCondition.buildWhere(), DPX_SqlValueRefused);
        EXPECT_THROW(asCondition.buildInsert(), DPX_SqlValueRefused);

        std::string out = "kept";
        EXPECT_FALSE(DPX_SqlStatement::TableName(serverType, name, out));
        EXPECT_FALSE(DPX_SqlStatement::ColumnName(serverType, name, out));
        EXPECT_EQ(out, "kept");
      }
    }
  }
}

TEST(SqlStatement, HostNamesAreWrittenInTheDialectsSpelling) {
  struct Case {
    int32_t serverType;
    const char* table;
    const char* column;
  };
  const Case cases[] = {
      {2, "@CARS_2", "U_Color9"},
      {3, "[@CARS_2]", "U_Color9"},
      {5, "@CARS_2", "\"U_Color9\""},
      {6, "[@CARS_2]", "U_Color9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.serverType);
    EXPECT_EQ(DPX_SqlStatement::TableName(c.serverType, " @CARS_2 "), c.table);
    EXPECT_EQ(DPX_SqlStatement::TableName(c.serverType, "OUSR"), "OUSR");
    EXPECT_EQ(DPX_SqlStatement::ColumnName(c.serverType, "U_Color9"), c.column);
    EXPECT_THROW(DPX_SqlStatement::ColumnName(c.serverType, "@CARS"), DPX_SqlValueRefused);
  }
}

TEST(SqlStatement, NumbersAndDatesAreAccepted) {
  for (const char* number : {"0", "-1", "+3", "12.50", ".5", "5.", "-1.5e-05", "1E+10", "000123"}) {
    SCOPED_TRACE(number);
    DPX_SqlStatement s(4);
    s.setTable("OCRD");
    s.addValue("Balance", number, DPX_SqlStatement::kFloat);
    EXPECT_TRUE(s.isValid());
    EXPECT_EQ(s.buildUpdate(), std::string("UPDATE OCRD SET Balance = ") + number);
  }
}

TEST(SqlStatement, TextValuesAreNeverInterpreted) {
  // An apostrophe cannot end the literal early in any dialect.
  const std::string attack = "x' OR '1'='1";
  for (int32_t serverType : {2, 3, 4, 5}) {
    DPX_SqlStatement s(serverType);
    s.setTable("OCRD");
    s.addValue("CardCode", attack, DPX_SqlStatement::kAlpha);
    const std::string prefix = serverType == 5 ? "'" : "N'";
    const std::string column = serverType == 5 ? "\"CardCode\"" : "CardCode";
    EXPECT_EQ(s.buildWhere(), " WHERE " + column + " = " + prefix + "x'' OR ''1''=''1'");
  }
}

// The host gets the text with a "?" for each value and the values apart, in
// the order of the marks; NULLs and final pairs stay in the text.
TEST(SqlStatement, TheBoundFormCarriesEachValueApart) {
  using dpx::Variant;
  struct Case {
    int32_t serverType;
    std::function<DPX_SqlText(int32_t serverType)> build;
    const char* text;
    std::vector<Variant> values;
  };
  auto insert = [](int32_t t) {
    DPX_SqlStatement s(t);
    s.setTable("OCRD");
    s.addValue("CardCode", "O'Neil", DPX_SqlStatement::kAlpha);
    s.addValue("Balance", "-12.50", DPX_SqlStatement::kFloat);
    s.addValue("GroupCode", "000100", DPX_SqlStatement::kNumeric);
    s.addValue("CreateDate", "20240131", DPX_SqlStatement::kDate);
    s.addValue("Notes", "memo", DPX_SqlStatement::kMemo);
    s.addValue("Fax", "", DPX_SqlStatement::kAlpha);
    s.addValue("Phone", "", DPX_SqlStatement::kNumeric);
    return s.buildInsert();
  };
  auto update = [](int32_t t) {
    DPX_SqlStatement set(t), key(t);
    set.setTable("@DPXSETT");
    set.addValue("U_Name", "", DPX_SqlStatement::kAlpha);
    set.addValue("U_Size", "99999999999999999999", DPX_SqlStatement::kNumeric);
    key.addValue("Code", "A", DPX_SqlStatement::kAlpha);
    key.addValue("Code", "B", DPX_SqlStatement::kAlpha);
    key.addValue("Qty", "", DPX_SqlStatement::kNumeric);
    return set.buildUpdate() + key.buildWhere() + " ORDER BY Code";
  };
  auto finalPairs = [](int32_t t) {
    DPX_SqlStatement s(t);
    s.setTable("OUQR");
    DPX_ValuePair pair;
    pair.column = "QName";
    pair.value = "Bob''s";
    s.setValues({pair});
    s.addValue("QCategory", "3", DPX_SqlStatement::kNumeric);
    return s.buildSelect();
  };
  const std::vector<Case> cases = {
      {4, insert, "INSERT INTO OCRD (CardCode, Balance, GroupCode, CreateDate, Notes, Fax, Phone) VALUES "
                  "(?, ?, ?, ?, ?, NULL, NULL)",
       {Variant("O'Neil"), Variant(-12.5), Variant(int64_t{100}), Variant("20240131"), Variant("memo")}},
      {5, insert, "INSERT INTO OCRD (\"CardCode\", \"Balance\", \"GroupCode\", \"CreateDate\", \"Fax\", \"Phone\") "
                  "VALUES (?, ?, ?, ?, NULL, NULL)",
       {Variant("O'Neil"), Variant(-12.5), Variant(int64_t{100}), Variant("20240131")}},
      {3, update, "UPDATE [@DPXSETT] SET U_Name = ? , U_Size = ? WHERE (Code = ? OR Code = ?) AND Qty IS NULL ORDER BY Code",
       {Variant(""), Variant(1e20), Variant("A"), Variant("B")}},
      {2, finalPairs, "SELECT * FROM OUQR WHERE QName = N'Bob''s' AND QCategory = ?", {Variant(int64_t{3})}},
  };
  for (const Case& c : cases) {
    const DPX_SqlText sql = c.build(c.serverType);
    SCOPED_TRACE(sql.str());
    EXPECT_EQ(sql.text, c.text);
    ASSERT_EQ(sql.values.size(), c.values.size());
    for (size_t i = 0; i < c.values.size(); ++i) {
      EXPECT_EQ(sql.values[i].type(), c.values[i].type()) << i;
      EXPECT_EQ(sql.values[i].toText(), c.values[i].toText()) << i;
    }
  }
}

TEST(SqlStatement, SplitClausesQuotesIdentifiersOnly) {
  struct Case {
    const char* sql;
    const char* condition;
  };
  const Case cases[] = {
      {"SELECT * FROM OCRD", ""},
      {"SELECT * FROM OCRD WHERE CardType = 'C' AND Balance >= -5",
       "\"CardType\" = 'C' AND \"Balance\" >= -5 "},
      {"SELECT X FROM T WHERE A IS NOT NULL OR B LIKE 'U_%' ORDER BY X",
       "\"A\" IS NOT NULL OR \"B\" LIKE 'U_%' "},
      {"SELECT X FROM T WHERE A <> 0", "\"A\" <> 0 "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    EXPECT_EQ(DPX_SqlStatement::splitClauses(c.sql), c.condition);
  }
}

TEST(SqlStatement, ParseRewritesAHandWrittenSelect) {
  struct Case {
    const char* sql;
    const char* rewritten;
  };
  const Case cases[] = {
      {"SELECT Code, Name FROM OADF WHERE Code = 5 ORDER BY Name DESC",
       "SELECT \"Code\",\"Name\" FROM OADF WHERE \"Code\" = 5 ORDER BY \"Name\" DESC"},
      {"SELECT * FROM OADF", "SELECT * FROM OADF"},
      {"SELECT DocCode FROM RDOC ORDER BY TypeCode, DocCode ASC",
       "SELECT \"DocCode\" FROM RDOC ORDER BY \"TypeCode\",\"DocCode\" ASC"},
      {"SELECT TransId FROM OJDT WHERE TransType = '30'",
       "SELECT \"TransId\" FROM OJDT WHERE \"TransType\" = '30' "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    EXPECT_EQ(DPX_SqlStatement::parse(c.sql), c.rewritten);
  }
}

}  // namespace
