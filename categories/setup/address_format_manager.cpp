// Address formats: the table family with the key found by name or next number.
#include "categories/setup/address_format_manager.h"

DPX_AddressFormatManager::DPX_AddressFormatManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_TableCategory(context, categoryKey,
                        {"OADF", "SELECT Code, Name FROM OADF", 131, "Code", /*matchColumns=*/{"Name"}, ""}) {
  m_keyColumns = {"Code"};
  m_columns = {"Name"};
  m_columnFlags = {0};
  m_listColumns = {"Code", "Name"};
}

void DPX_AddressFormatManager::mapReferences(std::string table, std::string& xml, int32_t mode) {
  mapByNameOrNextNumber(table, xml, mode, "Code", "Name");
}
