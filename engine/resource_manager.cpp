// The category key table. Lookups are linear over 169 rows: small enough that
// nothing cleverer pays off, and the first match wins like the order of the table.
#include "engine/resource_manager.h"

#include <iterator>

#include "platform/framework/string_table.h"

namespace {

struct KeyId {
  const char* key;
  uint32_t id;
};

// In building order. Some ids do not follow that order (user-defined fields
// 147, the item-group and warehouse duplicates 220 and 223, user menus 831,
// note 10 166, notes 25 to 30 from 10064); there are no rows for notes 11 and 22.
constexpr KeyId kKeyTable[] = {
      {"DPX_TRN_CUSTOMIZATION_100", 700},
      {"DPX_TRN_QUERIES_100", 701},
      {"DPX_TRN_UDEFS_100", 702},
      {"DPX_TRN_UDF_100", 147},
      {"DPX_TRN_FSUDF_100", 704},
      {"DPX_TRN_FSSTDF_100", 705},
      {"DPX_TRN_UDO_100", 706},
      {"DPX_TRN_PRINTLAYOUTS_100", 707},
      {"DPX_TRN_DOCREP_100", 708},
      {"DPX_TRN_QUERYLAYOUTS_100", 709},
      {"DPX_TRN_USERS_100", 710},
      {"DPX_TRN_USERSLEAF_100", 711},
      {"DPX_TRN_AUTHORIZATIONS_100", 712},
      {"DPX_TRN_AUTHORIZATIONSLEAF_100", 713},
      {"DPX_TRN_ADDITIONALAUT_100", 714},
      {"DPX_TRN_OWNERSHIP_100", 715},
      {"DPX_TRN_DISPLAYSETTINGS_100", 716},
      {"DPX_TRN_CMPDSPSETTINGS_100", 717},
      {"DPX_TRN_USRDSPSETTINGS_100", 718},
      {"DPX_TRN_USRMENUS_100", 831},
      {"DPX_TRN_INITSETTINGS_100", 719},
      {"DPX_TRN_GENERAL_100", 720},
      {"DPX_TRN_SETTINGS_100", 721},
      {"DPX_TRN_CMPDETAILS_100", 722},
      {"DPX_TRN_GENERALSETTINGS_100", 723},
      {"DPX_TRN_DOCNUMBERING_100", 724},
      {"DPX_TRN_DOCSETTINGS_100", 725},
      {"DPX_TRN_PRTONADDSETTINGS_100", 726},
      {"DPX_TRN_DEFINITIONS_100", 727},
      {"DPX_TRN_ALERTS_100", 728},
      {"DPX_TRN_COUNTRIES_100", 729},
      {"DPX_TRN_ADDRESSFORMAT_100", 730},
      {"DPX_TRN_APPROVALPROCS_100", 731},
      {"DPX_TRN_FINANCE_100", 732},
      {"DPX_TRN_FINANCESETTINGS_100", 733},
      {"DPX_TRN_CURRENCYSETTINGS_100", 734},
      {"DPX_TRN_COASETTINGS_100", 735},
      {"DPX_TRN_TAXDEFINITION_100", 736},
      {"DPX_TRN_FINANCEDEFINITIONS_100", 737},
      {"DPX_TRN_INDEXES_100", 738},
      {"DPX_TRN_TRANSACTIONCODES_100", 739},
      {"DPX_TRN_BANKSANDBRANCHES_100", 740},
      {"DPX_TRN_CREDITCARDS_100", 741},
      {"DPX_TRN_CCPAYMENTS_100", 742},
      {"DPX_TRN_CCPAYMNTMETHODS_100", 743},
      {"DPX_TRN_CREDITSUPPLIERS_100", 744},
      {"DPX_TRN_PAYMENTMETHODS_100", 745},
      {"DPX_TRN_DUNNINGLEVELS_100", 746},
      {"DPX_TRN_PAYMENTTERMS_100", 747},
      {"DPX_TRN_PAYMENTBLOCKS_100", 748},
      {"DPX_TRN_LOGISTICS_100", 749},
      {"DPX_TRN_LOGISTICSSETTINGS_100", 750},
      {"DPX_TRN_INVENTORYSETTINGS_100", 751},
      {"DPX_TRN_PRICELISTDEFS_100", 752},
      {"DPX_TRN_LOGISTICSDEFS_100", 753},
      {"DPX_TRN_COMMISIONGROUPS_100", 754},
      {"DPX_TRN_SALESEMPLOYEES_100", 755},
      {"DPX_TRN_PROJECTS_100", 756},
      {"DPX_TRN_SALESOPPORTUNITIES_100", 757},
      {"DPX_TRN_SALESSTAGES_100", 758},
      {"DPX_TRN_PARTNERS_100", 759},
      {"DPX_TRN_COMPETITORS_100", 760},
      {"DPX_TRN_LANDEDCOSTS_100", 761},
      {"DPX_TRN_CUSTOMERGROUPS_100", 762},
      {"DPX_TRN_SUPPLIERGROUPS_100", 763},
      {"DPX_TRN_BPPROPERTIES_100", 764},
      {"DPX_TRN_BPPRIORITIES_100", 765},
      {"DPX_TRN_ITEMGROUPS_100", 766},
      {"DPX_TRN_ITEMGROUPS1_100", 220},
      {"DPX_TRN_ITEMPROPERTIES_100", 767},
      {"DPX_TRN_WAREHOUSES_100", 768},
      {"DPX_TRN_WAREHOUSES1_100", 223},
      {"DPX_TRN_UOMLENGTHWIDTH_100", 769},
      {"DPX_TRN_UOMWEIGHT_100", 770},
      {"DPX_TRN_CUSTOMGROUPS_100", 771},
      {"DPX_TRN_MANUFACTURERS_100", 772},
      {"DPX_TRN_SHIPPINGTYPES_100", 773},
      {"DPX_TRN_LOCATIONS_100", 774},
      {"DPX_TRN_INVENTORYCYCLES_100", 775},
      {"DPX_TRN_TEMPLATES_100", 776},
      {"DPX_TRN_PACKAGETYPES_100", 777},
      {"DPX_TRN_TERRITORIES_100", 778},
      {"DPX_TRN_PREDEFINEDTEXT_100", 779},
      {"DPX_TRN_COA_100", 780},
      {"DPX_TRN_COASETUP_100", 781},
      {"DPX_TRN_ACCTSEGMENTATION_100", 782},
      {"DPX_TRN_SEGMENTCODES_100", 783},
      {"DPX_TRN_COATITLES_100", 784},
      {"DPX_TRN_ACCOUNTS_100", 785},
      {"DPX_TRN_DEFGLACCTDTRMINATION_100", 786},
      {"DPX_TRN_GLACCTDETERMINATION_100", 787},
      {"DPX_TRN_GLBANKSETTINGS_100", 788},
      {"DPX_TRN_GLCCSETTINGS_100", 789},
      {"DPX_TRN_GLINVNTRYSETTINGS_100", 790},
      {"DPX_TRN_GLTAXDEFSETTINGS_100", 791},
      {"DPX_TRN_BUDGET_100", 792},
      {"DPX_TRN_FINANCIALREPORTTMPL_100", 793},
      {"DPX_TRN_MASTERDATA_100", 794},
      {"DPX_TRN_BUSINESSPARTNERS_100", 795},
      {"DPX_TRN_BPGENERALINFO_100", 796},
      {"DPX_TRN_BPACCOUNTS_100", 797},
      {"DPX_TRN_BPADDRESSES_100", 798},
      {"DPX_TRN_CONTACTPERSONS_100", 799},
      {"DPX_TRN_BPBANKS_100", 800},
      {"DPX_TRN_ITEMS_100", 801},
      {"DPX_TRN_ITEMSLEAF_100", 802},
      {"DPX_TRN_ALTERNATIVEITEMS_100", 803},
      {"DPX_TRN_BPCATALOGNUMBERS_100", 804},
      {"DPX_TRN_PRICELISTS_100", 805},
      {"DPX_TRN_PRICELISTSLEAF_100", 806},
      {"DPX_TRN_SPECIALPRICESBP_100", 807},
      {"DPX_TRN_DISCOUNTGROUPS_100", 808},
      {"DPX_TRN_PRICEHIERARCHIES_100", 809},
      {"DPX_TRN_BILLOFMATERIALS_100", 810},
      {"DPX_TRN_FORECASTS_100", 811},
      {"DPX_TRN_USERDEFAULTS_100", 812},
      {"DPX_TRN_DEFAULTS_100", 813},
      {"DPX_TRN_DEFAULTLAYOUTS_100", 814},
      {"DPX_TRN_DEFAULTSERIES_100", 815},
      {"DPX_TRN_MANUALTRANSACTIONS_100", 816},
      {"DPX_TRN_FINANCIALMT_100", 817},
      {"DPX_TRN_MANUALJOURNALENTRIES_100", 818},
      {"DPX_TRN_OPENINGBALANCES_100", 819},
      {"DPX_TRN_INVENTORYMT_100", 820},
      {"DPX_TRN_STOCKPOSTINGS_100", 821},
      {"DPX_TRN_INITIALQUANTITIES_100", 822},
      {"DPX_TRN_DOCUMENTS_100", 823},
      {"DPX_TRN_SALESDOCS_100", 824},
      {"DPX_TRN_PURCHASEDOCS_100", 825},
      {"DPX_TRN_BANKINGDOCS_100", 826},
      {"DPX_TRN_INVENTORYDOCS_100", 827},
      {"DPX_TRN_OTHERDOCS_100", 828},
      {"DPX_TRN_UDT_100", 148},
      {"DPX_TRN_UDTCONT_100", 149},
      {"DPX_TRN_POSTPER_100", 161},
      {"DPX_TRN_TABRAREPORTS_100", 160},
      {"DPX_TRN_CREDSETUP_100", 162},
      {"DPX_TRN_SETUPCREDITCARDS_100", 829},
      {"DPX_TRN_HOUSEBANKACCOUNTS_100", 830},
      {"DPX_TRN_RELTNSHPS_40", 211},
      {"DPX_LMS_NOTE1_0", 163},
      {"DPX_LMS_NOTE2_0", 164},
      {"DPX_LMS_NOTE3_0", 167},
      {"DPX_LMS_NOTE4_0", 168},
      {"DPX_LMS_NOTE5_0", 169},
      {"DPX_LMS_NOTE6_0", 170},
      {"DPX_LMS_NOTE7_0", 171},
      {"DPX_LMS_NOTE8_0", 172},
      {"DPX_LMS_NOTE9_0", 173},
      {"DPX_LMS_NOTE10_0", 166},
      {"DPX_LMS_NOTE12_0", 174},
      {"DPX_LMS_NOTE13_0", 175},
      {"DPX_LMS_NOTE14_0", 176},
      {"DPX_LMS_NOTE15_0", 177},
      {"DPX_LMS_NOTE16_0", 178},
      {"DPX_LMS_NOTE17_0", 179},
      {"DPX_LMS_NOTE18_0", 180},
      {"DPX_LMS_NOTE19_0", 181},
      {"DPX_LMS_NOTE20_0", 182},
      {"DPX_LMS_NOTE21_0", 183},
      {"DPX_LMS_NOTE23_0", 221},
      {"DPX_LMS_NOTE24_0", 222},
      {"DPX_LMS_NOTE25_0", 10064},
      {"DPX_LMS_NOTE26_0", 10065},
      {"DPX_LMS_NOTE27_0", 10066},
      {"DPX_LMS_NOTE28_0", 10067},
      {"DPX_LMS_NOTE29_0", 20000},
      {"DPX_LMS_NOTE30_0", 20001},
};

}  // namespace

DPX_ResourceManager& DPX_ResourceManager::getInstance() {
  // Made on first use, so that no static object can ask before the table is built.
  static DPX_ResourceManager instance;
  return instance;
}

DPX_ResourceManager::DPX_ResourceManager() {
  DPX_ResourceManager::buildKeyTable();
  mapKeys_.reserve(rows_.size());
  mapRows_.reserve(rows_.size());
  for (const Row& row : rows_) {
    mapKeys_.push_back(row.key);
    mapRows_.push_back(row);
  }
}

DPX_ResourceManager::~DPX_ResourceManager() {
  mapKeys_.clear();
  mapRows_.clear();
  rows_.clear();
}

void DPX_ResourceManager::buildKeyTable() {
  rows_.reserve(std::size(kKeyTable) + 1);
  for (const KeyId& k : kKeyTable) rows_.push_back(Row{k.key, k.id, {}});
  rows_.push_back(Row{{}, kTerminatorId, {}});
}

uint32_t DPX_ResourceManager::getStringId(const std::string& key) const {
  for (size_t i = 0; i < mapKeys_.size(); ++i) {
    if (mapKeys_[i] == key) return mapRows_[i].stringId;
  }
  return 0;
}

int32_t DPX_ResourceManager::loadString(int32_t id, int language, std::string& text) {
  if (id < 1) return 1;
  std::string loaded = dpx::StringTable::Load(static_cast<uint32_t>(id), language);
  if (loaded.empty()) return 1;
  text = std::move(loaded);
  return 0;
}
