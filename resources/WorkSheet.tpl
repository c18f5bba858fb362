<?xml version="1.0" encoding="UTF-8"?>
<twinlyWorksheet version="1.0">
  <!--
    The category tree of every worksheet. Each leaf is one category that the
    category factory makes a manager for, in the factory's order; the groups
    and their names follow the category key table.

    How the rules were chosen:
    - data_area_format: T where the category lists its records, D for company
      details (one record shown field by field), N for the settings categories
      and the others without a record list (copied as a whole).
    - allow_selection: where single records can be picked and are read alone.
      Document numbering has none: a partial selection would drop the series
      and copy only the document names. Neither have the G/L settings for
      banks: a partial choice of banks cannot pick their house bank accounts.
    - localization_transfer: categories whose records hold no tax, account or
      legal set-up of a localization (customization, users, code lists).
    - prohibited_copyMethods / substitute_copyMethod:
        3 -> 33   categories that can only overwrite what the target has (the
                  settings, authorizations, per-user settings and defaults, the
                  G/L settings): "Add New Records Without Updating Existing
                  Records" cannot be honoured, so they are not copied with it;
        1 -> 4    titles and accounts: the target's chart of accounts is never
                  emptied, Replace All adds and updates (notes 23 and 24);
                  posting periods are never removed either, and copying them
                  once keeps them from being written twice;
        2 -> 33   journal entries are only ever added, never updated;
        1,3,4 -> 2   default series are only ever updated (note 9): the
                  target's series stay, and each user's default is set to one;
        1,2,3,4 -> 33   initial quantities copy nothing.
    - dependencies: the categories whose records a category names: the
      references it translates into the target's keys, and the codes it writes
      unchanged that must exist in the target (currencies, the default
      warehouse, the items of prices and catalog numbers). A bank names its
      default house bank account, but the house bank accounts category sets
      that reference, so banks do not depend on it.
    - note: the category note whose text describes the category. Not used:
      notes 4 and 26, which place credit cards under the chart of accounts
      and item groups under the items, where this tree (in the factory's
      order) does not put them; note 5, which the accounts' own note 24
      contradicts; notes 14 and 21, which repeat what the general settings
      and the G/L settings for inventory say with notes 13 and 7; notes 19
      and 20, whose addresses and contact persons have no category.
    Configuration.tpl lists the categories in this order, except that a
    category moves before the first category that depends on it.
  -->
  <header/>
  <body>
    <group leaf_id="1" string_id="DPX_TRN_CUSTOMIZATION_100">
      <category leaf_id="1.1" string_id="DPX_TRN_QUERIES_100" note="1" data_area_format="T" allow_selection="true" localization_transfer="true"/>
      <group leaf_id="1.2" string_id="DPX_TRN_UDEFS_100">
        <category leaf_id="1.2.1" string_id="DPX_TRN_UDT_100" note="2" data_area_format="T" allow_selection="true" localization_transfer="true"/>
        <category leaf_id="1.2.2" string_id="DPX_TRN_UDF_100" note="2" data_area_format="T" allow_selection="true" localization_transfer="true">
          <dependencies><leaf_id>1.2.1</leaf_id></dependencies>
        </category>
        <category leaf_id="1.2.3" string_id="DPX_TRN_UDTCONT_100" note="2" data_area_format="T" allow_selection="true" localization_transfer="true">
          <dependencies><leaf_id>1.2.1</leaf_id><leaf_id>1.2.2</leaf_id></dependencies>
        </category>
        <category leaf_id="1.2.4" string_id="DPX_TRN_FSUDF_100" note="2" data_area_format="T" allow_selection="true" localization_transfer="true">
          <dependencies><leaf_id>1.1</leaf_id><leaf_id>1.2.2</leaf_id></dependencies>
        </category>
        <category leaf_id="1.2.5" string_id="DPX_TRN_FSSTDF_100" note="2" data_area_format="T" allow_selection="true" localization_transfer="true">
          <dependencies><leaf_id>1.1</leaf_id></dependencies>
        </category>
        <category leaf_id="1.2.6" string_id="DPX_TRN_UDO_100" note="2" data_area_format="T" allow_selection="true" localization_transfer="true">
          <dependencies><leaf_id>1.2.1</leaf_id></dependencies>
        </category>
      </group>
      <group leaf_id="1.3" string_id="DPX_TRN_PRINTLAYOUTS_100">
        <category leaf_id="1.3.1" string_id="DPX_TRN_DOCREP_100" note="3" data_area_format="T" allow_selection="true"/>
        <category leaf_id="1.3.2" string_id="DPX_TRN_QUERYLAYOUTS_100" note="3" data_area_format="T" allow_selection="true" localization_transfer="true"/>
      </group>
      <group leaf_id="1.4" string_id="DPX_TRN_USERS_100">
        <category leaf_id="1.4.1" string_id="DPX_TRN_USERSLEAF_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
        <group leaf_id="1.4.2" string_id="DPX_TRN_AUTHORIZATIONS_100">
          <category leaf_id="1.4.2.1" string_id="DPX_TRN_AUTHORIZATIONSLEAF_100" data_area_format="T" allow_selection="true" prohibited_copyMethods="3" substitute_copyMethod="33">
            <dependencies><leaf_id>1.4.1</leaf_id></dependencies>
          </category>
          <category leaf_id="1.4.2.2" string_id="DPX_TRN_ADDITIONALAUT_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
        </group>
      </group>
      <group leaf_id="1.5" string_id="DPX_TRN_DISPLAYSETTINGS_100">
        <category leaf_id="1.5.1" string_id="DPX_TRN_CMPDSPSETTINGS_100" note="10" data_area_format="N" localization_transfer="true" prohibited_copyMethods="3" substitute_copyMethod="33"/>
        <category leaf_id="1.5.2" string_id="DPX_TRN_USRDSPSETTINGS_100" note="12" data_area_format="T" allow_selection="true" prohibited_copyMethods="3" substitute_copyMethod="33">
          <dependencies><leaf_id>1.4.1</leaf_id></dependencies>
        </category>
        <category leaf_id="1.5.3" string_id="DPX_TRN_USRMENUS_100" data_area_format="T" allow_selection="true" prohibited_copyMethods="3" substitute_copyMethod="33">
          <dependencies><leaf_id>1.4.1</leaf_id></dependencies>
        </category>
      </group>
    </group>
    <group leaf_id="2" string_id="DPX_TRN_INITSETTINGS_100">
      <group leaf_id="2.1" string_id="DPX_TRN_GENERAL_100">
        <group leaf_id="2.1.1" string_id="DPX_TRN_SETTINGS_100">
          <category leaf_id="2.1.1.1" string_id="DPX_TRN_CMPDETAILS_100" data_area_format="D" prohibited_copyMethods="3" substitute_copyMethod="33"/>
          <category leaf_id="2.1.1.2" string_id="DPX_TRN_GENERALSETTINGS_100" note="13" data_area_format="N" prohibited_copyMethods="3" substitute_copyMethod="33">
            <dependencies><leaf_id>2.2.2.8</leaf_id><leaf_id>2.2.2.9</leaf_id></dependencies>
          </category>
          <category leaf_id="2.1.1.3" string_id="DPX_TRN_POSTPER_100" data_area_format="T" allow_selection="true" prohibited_copyMethods="1" substitute_copyMethod="4"/>
          <category leaf_id="2.1.1.4" string_id="DPX_TRN_DOCNUMBERING_100" note="25" data_area_format="T"/>
          <category leaf_id="2.1.1.5" string_id="DPX_TRN_DOCSETTINGS_100" data_area_format="N" prohibited_copyMethods="3" substitute_copyMethod="33"/>
          <category leaf_id="2.1.1.6" string_id="DPX_TRN_PRTONADDSETTINGS_100" note="15" data_area_format="N"/>
        </group>
        <group leaf_id="2.1.2" string_id="DPX_TRN_DEFINITIONS_100">
          <category leaf_id="2.1.2.1" string_id="DPX_TRN_ALERTS_100" data_area_format="T" allow_selection="true" localization_transfer="true">
            <dependencies><leaf_id>1.1</leaf_id><leaf_id>1.4.1</leaf_id></dependencies>
          </category>
          <category leaf_id="2.1.2.2" string_id="DPX_TRN_COUNTRIES_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.1.2.3" string_id="DPX_TRN_ADDRESSFORMAT_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
        </group>
      </group>
      <group leaf_id="2.2" string_id="DPX_TRN_FINANCE_100">
        <group leaf_id="2.2.1" string_id="DPX_TRN_FINANCESETTINGS_100">
          <category leaf_id="2.2.1.1" string_id="DPX_TRN_CURRENCYSETTINGS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.2.1.2" string_id="DPX_TRN_COASETTINGS_100" note="16" data_area_format="N" prohibited_copyMethods="3" substitute_copyMethod="33">
            <dependencies><leaf_id>2.2.1.1</leaf_id></dependencies>
          </category>
          <category leaf_id="2.2.1.3" string_id="DPX_TRN_TAXDEFINITION_100" note="29" data_area_format="N">
            <dependencies><leaf_id>3.3</leaf_id></dependencies>
          </category>
        </group>
        <group leaf_id="2.2.2" string_id="DPX_TRN_FINANCEDEFINITIONS_100">
          <category leaf_id="2.2.2.1" string_id="DPX_TRN_INDEXES_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.2.2.2" string_id="DPX_TRN_TRANSACTIONCODES_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.2.2.3" string_id="DPX_TRN_BANKSANDBRANCHES_100" data_area_format="T" allow_selection="true" localization_transfer="true">
            <dependencies><leaf_id>2.1.2.2</leaf_id></dependencies>
          </category>
          <category leaf_id="2.2.2.4" string_id="DPX_TRN_HOUSEBANKACCOUNTS_100" data_area_format="T" allow_selection="true">
            <dependencies><leaf_id>1.3.1</leaf_id><leaf_id>2.2.2.3</leaf_id><leaf_id>3.3</leaf_id></dependencies>
          </category>
          <category leaf_id="2.2.2.5" string_id="DPX_TRN_CREDITCARDS_100" data_area_format="T" allow_selection="true">
            <dependencies><leaf_id>3.3</leaf_id></dependencies>
          </category>
          <category leaf_id="2.2.2.6" string_id="DPX_TRN_CREDITSUPPLIERS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.2.2.7" string_id="DPX_TRN_PAYMENTMETHODS_100" data_area_format="T" allow_selection="true">
            <dependencies><leaf_id>2.2.2.4</leaf_id></dependencies>
          </category>
          <category leaf_id="2.2.2.8" string_id="DPX_TRN_DUNNINGLEVELS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.2.2.9" string_id="DPX_TRN_PAYMENTTERMS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.2.2.10" string_id="DPX_TRN_PAYMENTBLOCKS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
        </group>
      </group>
      <group leaf_id="2.3" string_id="DPX_TRN_LOGISTICS_100">
        <group leaf_id="2.3.1" string_id="DPX_TRN_LOGISTICSSETTINGS_100">
          <category leaf_id="2.3.1.1" string_id="DPX_TRN_INVENTORYSETTINGS_100" note="17" data_area_format="N" prohibited_copyMethods="3" substitute_copyMethod="33">
            <dependencies><leaf_id>4.2.1</leaf_id></dependencies>
          </category>
          <category leaf_id="2.3.1.2" string_id="DPX_TRN_PRICELISTDEFS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
        </group>
        <group leaf_id="2.3.2" string_id="DPX_TRN_LOGISTICSDEFS_100">
          <category leaf_id="2.3.2.1" string_id="DPX_TRN_COMMISIONGROUPS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.3.2.2" string_id="DPX_TRN_SALESEMPLOYEES_100" data_area_format="T" allow_selection="true" localization_transfer="true">
            <dependencies><leaf_id>1.4.1</leaf_id><leaf_id>2.1.2.2</leaf_id><leaf_id>2.3.2.1</leaf_id></dependencies>
          </category>
          <category leaf_id="2.3.2.3" string_id="DPX_TRN_PROJECTS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <group leaf_id="2.3.2.4" string_id="DPX_TRN_SALESOPPORTUNITIES_100">
            <category leaf_id="2.3.2.4.1" string_id="DPX_TRN_RELTNSHPS_40" data_area_format="T" allow_selection="true" localization_transfer="true"/>
            <category leaf_id="2.3.2.4.2" string_id="DPX_TRN_SALESSTAGES_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
            <category leaf_id="2.3.2.4.3" string_id="DPX_TRN_PARTNERS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
            <category leaf_id="2.3.2.4.4" string_id="DPX_TRN_COMPETITORS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          </group>
          <category leaf_id="2.3.2.5" string_id="DPX_TRN_LANDEDCOSTS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.3.2.6" string_id="DPX_TRN_CUSTOMERGROUPS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.3.2.7" string_id="DPX_TRN_SUPPLIERGROUPS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.3.2.8" string_id="DPX_TRN_BPPROPERTIES_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.3.2.9" string_id="DPX_TRN_BPPRIORITIES_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.3.2.10" string_id="DPX_TRN_INVENTORYCYCLES_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.3.2.11" string_id="DPX_TRN_ITEMGROUPS_100" data_area_format="T" allow_selection="true">
            <dependencies><leaf_id>2.3.2.10</leaf_id><leaf_id>3.3</leaf_id></dependencies>
          </category>
          <category leaf_id="2.3.2.12" string_id="DPX_TRN_ITEMPROPERTIES_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.3.2.13" string_id="DPX_TRN_LOCATIONS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.3.2.14" string_id="DPX_TRN_UOMLENGTHWIDTH_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.3.2.15" string_id="DPX_TRN_UOMWEIGHT_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.3.2.16" string_id="DPX_TRN_CUSTOMGROUPS_100" data_area_format="T" allow_selection="true"/>
          <category leaf_id="2.3.2.17" string_id="DPX_TRN_MANUFACTURERS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.3.2.18" string_id="DPX_TRN_SHIPPINGTYPES_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.3.2.19" string_id="DPX_TRN_TEMPLATES_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.3.2.20" string_id="DPX_TRN_PACKAGETYPES_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.3.2.21" string_id="DPX_TRN_TERRITORIES_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
          <category leaf_id="2.3.2.22" string_id="DPX_TRN_PREDEFINEDTEXT_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
        </group>
      </group>
    </group>
    <group leaf_id="3" string_id="DPX_TRN_COA_100">
      <group leaf_id="3.1" string_id="DPX_TRN_COASETUP_100">
        <category leaf_id="3.1.1" string_id="DPX_TRN_ACCTSEGMENTATION_100" data_area_format="T" allow_selection="true"/>
        <category leaf_id="3.1.2" string_id="DPX_TRN_SEGMENTCODES_100" data_area_format="T" allow_selection="true">
          <dependencies><leaf_id>3.1.1</leaf_id></dependencies>
        </category>
      </group>
      <category leaf_id="3.2" string_id="DPX_TRN_COATITLES_100" note="23" data_area_format="T" allow_selection="true" prohibited_copyMethods="1" substitute_copyMethod="4"/>
      <category leaf_id="3.3" string_id="DPX_TRN_ACCOUNTS_100" note="24" data_area_format="T" allow_selection="true" prohibited_copyMethods="1" substitute_copyMethod="4">
        <dependencies><leaf_id>2.2.1.1</leaf_id><leaf_id>3.1.1</leaf_id><leaf_id>3.1.2</leaf_id><leaf_id>3.2</leaf_id></dependencies>
      </category>
      <group leaf_id="3.4" string_id="DPX_TRN_DEFGLACCTDTRMINATION_100">
        <category leaf_id="3.4.1" string_id="DPX_TRN_GLACCTDETERMINATION_100" note="6" data_area_format="T" allow_selection="true" prohibited_copyMethods="3" substitute_copyMethod="33">
          <dependencies><leaf_id>2.1.1.3</leaf_id><leaf_id>3.3</leaf_id></dependencies>
        </category>
        <category leaf_id="3.4.2" string_id="DPX_TRN_GLBANKSETTINGS_100" note="18" data_area_format="T" prohibited_copyMethods="3" substitute_copyMethod="33">
          <dependencies><leaf_id>2.2.2.3</leaf_id><leaf_id>2.2.2.4</leaf_id><leaf_id>3.3</leaf_id></dependencies>
        </category>
        <category leaf_id="3.4.3" string_id="DPX_TRN_GLINVNTRYSETTINGS_100" note="7" data_area_format="N" prohibited_copyMethods="3" substitute_copyMethod="33">
          <dependencies><leaf_id>2.1.1.3</leaf_id><leaf_id>3.3</leaf_id></dependencies>
        </category>
        <category leaf_id="3.4.4" string_id="DPX_TRN_GLTAXDEFSETTINGS_100" data_area_format="N" prohibited_copyMethods="3" substitute_copyMethod="33">
          <dependencies><leaf_id>2.2.1.3</leaf_id><leaf_id>3.3</leaf_id></dependencies>
        </category>
      </group>
      <category leaf_id="3.5" string_id="DPX_TRN_BUDGET_100" data_area_format="T" allow_selection="true">
        <dependencies><leaf_id>3.3</leaf_id></dependencies>
      </category>
      <category leaf_id="3.6" string_id="DPX_TRN_FINANCIALREPORTTMPL_100" data_area_format="T" allow_selection="true">
        <dependencies><leaf_id>3.3</leaf_id></dependencies>
      </category>
      <group leaf_id="3.7" string_id="DPX_TRN_CREDSETUP_100">
        <category leaf_id="3.7.1" string_id="DPX_TRN_CCPAYMENTS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
        <category leaf_id="3.7.2" string_id="DPX_TRN_CCPAYMNTMETHODS_100" data_area_format="T" allow_selection="true" localization_transfer="true">
          <dependencies><leaf_id>2.2.2.5</leaf_id><leaf_id>3.7.1</leaf_id></dependencies>
        </category>
      </group>
    </group>
    <group leaf_id="4" string_id="DPX_TRN_MASTERDATA_100">
      <group leaf_id="4.1" string_id="DPX_TRN_BUSINESSPARTNERS_100">
        <category leaf_id="4.1.1" string_id="DPX_TRN_BPGENERALINFO_100" data_area_format="T" allow_selection="true">
          <dependencies><leaf_id>2.2.2.5</leaf_id><leaf_id>2.2.2.9</leaf_id><leaf_id>2.3.1.2</leaf_id><leaf_id>2.3.2.1</leaf_id><leaf_id>2.3.2.2</leaf_id><leaf_id>2.3.2.6</leaf_id><leaf_id>2.3.2.7</leaf_id><leaf_id>2.3.2.18</leaf_id><leaf_id>2.3.2.21</leaf_id><leaf_id>3.3</leaf_id></dependencies>
        </category>
      </group>
      <group leaf_id="4.2" string_id="DPX_TRN_ITEMS_100">
        <category leaf_id="4.2.1" string_id="DPX_TRN_WAREHOUSES_100" note="27" data_area_format="T" allow_selection="true">
          <dependencies><leaf_id>2.3.2.13</leaf_id><leaf_id>3.3</leaf_id></dependencies>
        </category>
        <category leaf_id="4.2.2" string_id="DPX_TRN_ITEMSLEAF_100" note="8" data_area_format="T" allow_selection="true">
          <dependencies><leaf_id>2.3.1.2</leaf_id><leaf_id>2.3.2.1</leaf_id><leaf_id>2.3.2.10</leaf_id><leaf_id>2.3.2.11</leaf_id><leaf_id>2.3.2.14</leaf_id><leaf_id>2.3.2.15</leaf_id><leaf_id>2.3.2.17</leaf_id><leaf_id>2.3.2.18</leaf_id><leaf_id>3.3</leaf_id><leaf_id>4.2.1</leaf_id></dependencies>
        </category>
        <category leaf_id="4.2.3" string_id="DPX_TRN_ALTERNATIVEITEMS_100" data_area_format="T" allow_selection="true" localization_transfer="true">
          <dependencies><leaf_id>4.2.2</leaf_id></dependencies>
        </category>
        <category leaf_id="4.2.4" string_id="DPX_TRN_BPCATALOGNUMBERS_100" data_area_format="T" allow_selection="true" localization_transfer="true">
          <dependencies><leaf_id>4.1.1</leaf_id><leaf_id>4.2.2</leaf_id></dependencies>
        </category>
      </group>
      <group leaf_id="4.3" string_id="DPX_TRN_PRICELISTS_100">
        <category leaf_id="4.3.1" string_id="DPX_TRN_PRICELISTSLEAF_100" data_area_format="T" allow_selection="true" localization_transfer="true">
          <dependencies><leaf_id>2.3.1.2</leaf_id><leaf_id>4.2.2</leaf_id></dependencies>
        </category>
        <category leaf_id="4.3.2" string_id="DPX_TRN_SPECIALPRICESBP_100" data_area_format="T" allow_selection="true" localization_transfer="true">
          <dependencies><leaf_id>2.3.1.2</leaf_id><leaf_id>4.1.1</leaf_id><leaf_id>4.2.2</leaf_id></dependencies>
        </category>
        <category leaf_id="4.3.3" string_id="DPX_TRN_DISCOUNTGROUPS_100" data_area_format="T" allow_selection="true" localization_transfer="true">
          <dependencies><leaf_id>2.3.2.11</leaf_id><leaf_id>2.3.2.12</leaf_id><leaf_id>2.3.2.17</leaf_id><leaf_id>4.1.1</leaf_id></dependencies>
        </category>
        <category leaf_id="4.3.4" string_id="DPX_TRN_PRICEHIERARCHIES_100" data_area_format="T" allow_selection="true" localization_transfer="true">
          <dependencies><leaf_id>2.3.1.2</leaf_id><leaf_id>4.2.2</leaf_id></dependencies>
        </category>
      </group>
      <category leaf_id="4.4" string_id="DPX_TRN_BILLOFMATERIALS_100" data_area_format="T" allow_selection="true" localization_transfer="true">
        <dependencies><leaf_id>4.2.2</leaf_id></dependencies>
      </category>
      <category leaf_id="4.5" string_id="DPX_TRN_FORECASTS_100" data_area_format="T" allow_selection="true" localization_transfer="true"/>
    </group>
    <group leaf_id="5" string_id="DPX_TRN_USERDEFAULTS_100">
      <category leaf_id="5.1" string_id="DPX_TRN_DEFAULTS_100" data_area_format="T" allow_selection="true" prohibited_copyMethods="3" substitute_copyMethod="33">
        <dependencies><leaf_id>1.4.1</leaf_id></dependencies>
      </category>
      <category leaf_id="5.2" string_id="DPX_TRN_DEFAULTLAYOUTS_100" data_area_format="T" allow_selection="true" prohibited_copyMethods="3" substitute_copyMethod="33">
        <dependencies><leaf_id>1.3.1</leaf_id><leaf_id>1.4.1</leaf_id></dependencies>
      </category>
      <category leaf_id="5.3" string_id="DPX_TRN_DEFAULTSERIES_100" note="9" data_area_format="T" allow_selection="true" prohibited_copyMethods="1,3,4" substitute_copyMethod="2">
        <dependencies><leaf_id>1.4.1</leaf_id><leaf_id>2.1.1.4</leaf_id></dependencies>
      </category>
    </group>
    <group leaf_id="6" string_id="DPX_TRN_MANUALTRANSACTIONS_100">
      <group leaf_id="6.1" string_id="DPX_TRN_FINANCIALMT_100">
        <category leaf_id="6.1.1" string_id="DPX_TRN_MANUALJOURNALENTRIES_100" data_area_format="T" allow_selection="true" prohibited_copyMethods="2" substitute_copyMethod="33">
          <dependencies><leaf_id>2.1.1.4</leaf_id><leaf_id>3.3</leaf_id></dependencies>
        </category>
        <category leaf_id="6.1.2" string_id="DPX_TRN_OPENINGBALANCES_100" note="30" data_area_format="N" prohibited_copyMethods="2" substitute_copyMethod="33">
          <dependencies><leaf_id>2.1.1.4</leaf_id><leaf_id>3.3</leaf_id></dependencies>
        </category>
      </group>
      <group leaf_id="6.2" string_id="DPX_TRN_INVENTORYMT_100">
        <category leaf_id="6.2.1" string_id="DPX_TRN_STOCKPOSTINGS_100" note="28" data_area_format="N" prohibited_copyMethods="2" substitute_copyMethod="33">
          <dependencies><leaf_id>2.1.1.4</leaf_id><leaf_id>3.3</leaf_id></dependencies>
        </category>
        <category leaf_id="6.2.2" string_id="DPX_TRN_INITIALQUANTITIES_100" data_area_format="N" prohibited_copyMethods="1,2,3,4" substitute_copyMethod="33"/>
      </group>
    </group>
  </body>
</twinlyWorksheet>
