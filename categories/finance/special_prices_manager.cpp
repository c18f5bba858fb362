// Special prices and price hierarchies: one body, two definition rows.
#include "categories/finance/special_prices_manager.h"

#include <fmt/format.h>

#include "engine/di_record_support.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace {

constexpr const char* kHierarchiesKey = "DPX_TRN_PRICEHIERARCHIES_100";

DPX_ObjectCategoryDefinition Definition(const std::string& categoryKey) {
  const bool hierarchies = categoryKey == kHierarchiesKey;
  const std::string keys = hierarchies ? "SELECT ItemCode, CardCode FROM OSPP WHERE CardCode LIKE '*%'"
                                       : "SELECT ItemCode, CardCode FROM OSPP WHERE CardCode NOT LIKE '*%'";
  DPX_ObjectCategoryDefinition d{7, "OSPP", keys, "", "", keys};
  d.matchProperties = {"ItemCode", "CardCode"};
  d.matchColumns = {"ItemCode", "CardCode"};
  d.references = {{"PriceListNum", "", "OPLN", "ListNum", {"ListName"}}};
  // A hierarchy's CardCode names no partner: its cell stays empty.
  d.listTexts = {DPX_ListText::ObjectNameByCode(0, 4, "ItemName"),
                 DPX_ListText::ObjectNameByCode(1, 2, "CardName", hierarchies)};
  d.keyColumns = {"ItemCode", "CardCode"};
  d.keyProperties = {"ItemCode", "CardCode"};
  d.columns = {"ItemCode", "CardCode", "Price", "Currency", "Discount"};
  d.properties = {"ItemCode", "CardCode", "Price", "Currency", "DiscountPercent"};
  d.columnFlags = {0, 0, 1, 0, 1};
  d.listProperties = {"ItemCode", "CardCode"};
  return d;
}

// The list's decimals: the price and the discount, as "%lf" writes them.
bool IsDecimal(const std::string& property) { return property == "Price" || property == "DiscountPercent"; }

}  // namespace

DPX_SpecialPricesManager::DPX_SpecialPricesManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition(categoryKey)) {}

DPX_TableInfo* DPX_SpecialPricesManager::collectDetails() {
  dpx::DPX_LogScope scope("DPX_SpecialPricesManager::collectDetails");
  initialize();
  auto recordset = queryBaseList(m_definition.keyQuery);
  auto base = dpx::records::BaseCompany(m_context);
  recordset->MoveFirst();
  const int count = recordset->RecordCount();
  DPX_ListTextObjects objects;
  for (int i = 0; i < count && !recordset->EoF(); ++i) {
    DPX_DetailRecord record;
    std::vector<dpx::Variant> keys;
    for (size_t j = 0; j < m_keyColumns.size(); ++j) {
      const dpx::Variant value(recordset->Field(static_cast<int>(j)).toText());
      record.addKeyValue(m_keyColumns[j], value);
      record.addValue(m_keyProperties[j], value);
      keys.push_back(value);
    }
    auto price = base->GetBusinessObject(m_definition.objectType);
    std::vector<std::string> texts;
    if (dpx::records::GetByKey(*price, keys)) {
      for (const std::string& property : m_properties) {
        dpx::Variant value;
        price->get(property, value);
        texts.push_back(IsDecimal(property) ? fmt::format("{:f}", value.toDouble())
                                            : DPX_Util::VariantToDisplayText(value));
      }
    } else {
      // A record gone since the key query: its codes and no values.
      for (const dpx::Variant& key : keys) texts.push_back(key.toText());
      texts.resize(m_properties.size());
    }
    ApplyListTexts(m_context, m_definition.listTexts, texts, &objects);
    m_tableInfo.addRow(std::move(record));
    m_tableInfo.addListRow(std::move(texts));
    recordset->MoveNext();
  }
  m_tableInfo.setTextList(m_properties);
  return &m_tableInfo;
}
