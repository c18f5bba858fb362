// Print-on-add settings: the settings family without an administration
// record: an OADP record and ADP1 rows.
#include "categories/setup/print_on_add_settings_manager.h"

namespace {

DPX_SettingsCategoryDefinition Definition() {
  constexpr auto N = DPX_SettingsField::kNumber;
  DPX_SettingsCategoryDefinition d;
  d.tableRecords = {{"OADP",
                     "PrintPreference",
                     {{"MaxLineNum", N},
                      {"V_Compress", N},
                      {"TopMrgn", N},
                      {"BtmMrgn", N},
                      {"MaxWordLin", N},
                      {"SNType", N},
                      {"PrintMeta"},
                      {"PrnCompany"},
                      {"MnhlNote"},
                      {"DraftNote"},
                      {"PrintRcpt"},
                      {"ShortRcpt"}}}};
  DPX_SettingsRows rows;
  rows.table = "ADP1";
  rows.keyColumns = {"ObjType"};
  rows.descriptionColumns = {"ObjType", "PrintId"};
  rows.matchColumns = {"ObjType"};
  rows.byCopyMethod = true;
  d.rowsLast = {rows};
  return d;
}

}  // namespace

DPX_PrintOnAddSettingsManager::DPX_PrintOnAddSettingsManager(DPX_ConnectionContext* context,
                                                             const std::string& categoryKey)
    : DPX_SettingsCategory(context, categoryKey, Definition()) {
  m_keyColumns = {"ObjType"};
  m_listColumns = {"ObjType", "PrintId"};
}
