// A listed record: keys and fields kept apart, reads outside the lists refused.
#include "engine/detail_record.h"

#include <stdexcept>

#include <gtest/gtest.h>

TEST(DetailRecord, KeysAndFieldsAreSeparateListsAndBadIndexesThrow) {
  DPX_DetailRecord record;
  record.addKeyValue("Code", dpx::Variant("A1"));
  record.addValue("Name", dpx::Variant("First"));
  record.addValue("Amount", dpx::Variant(2.5));
  EXPECT_EQ(record.getKeyCount(), 1u);
  EXPECT_EQ(record.getValueCount(), 2u);
  EXPECT_EQ(record.getKeyValue(0).toText(), "A1");
  EXPECT_EQ(record.getKeyName(0), "Code");
  EXPECT_EQ(record.getText(1), "Amount");
  EXPECT_EQ(record.getValue(1).toDouble(), 2.5);
  EXPECT_THROW(record.getKeyValue(1), std::out_of_range);
  EXPECT_THROW(record.getText(2), std::out_of_range);
  EXPECT_THROW(record.getValue(2), std::out_of_range);
  EXPECT_THROW(DPX_DetailRecord().getKeyValue(0), std::out_of_range);
}
