// Registry: the settings that name accounts and stock rules. The accounts
// each posting-period category carries (OACP columns named after the
// properties of the company service's period category), and the settings of
// the administration record (OADM) and of the company information (CINF)
// that the inventory, G/L account determination and bank settings copy.
//
// Demo rows: inventory, tax and bank settings that differ (the period
// categories' accounts stand with the posting periods' demo rows).
#include "platform/host/object_registry.h"

namespace dpx::host {

namespace {

using K = PropKind;

// Accounts of a period category: G/L account determination, then the
// inventory accounts it does not already name.
const char* const kPeriodAccounts[] = {
    "DebitorsFollowUpAccount", "ForeignAccountsReceivables", "ReconciliationDifference", "AccountforCashReceipt",
    "OverpaymentsARAccount", "UnderpaymentsARAccount", "DownPaymentSClearingAcct", "ARGainRealizedExchngeDif",
    "ARLossRealizedExchangeDi", "ARCashDiscountAccount", "DefaultSaleAccount", "RevenuesAccountForeign",
    "SalesRevenueEU", "SalesCreditAcc", "SalesCreditForeignAcc", "SalesCreditEUAcc", "DownPaymentVATAcctSale",
    "CreditorsFollowUpAccount", "OutgoingChecksAccount", "APGainRealizedExchngeDif", "APLossRealizedExchangeDif",
    "OutgoingCashAccount", "APCashDiscountAccount", "APLossCashDiscountAccount", "ExpenseAccountDefault",
    "ExpensesAccountForeign", "EUExpenseAccount", "PurchaseCreditAcc", "ForeignPurchaseCreditAcc",
    "EUPurchaseCreditAcc", "OverpaymentsAPAccount", "UnderpaymentsAPAccount", "DownPaymentPClearingAcct",
    "ExpenseVarianceAccount", "DownPaymentVATAcctPurch", "CommissionAccountDefault", "RoundingAccount",
    "EOYControlAccount", "AccountforOutgoingChecks", "TaxExemptRevenuesDefault", "ExemptedCredits",
    "InputTaxAccount", "TaxDefinition", "AccountforCreditMemoPayme", "WithholodingTax", "PurchaseTax",
    "StockAccount", "StockRevaluationAccount", "StockRevaluationOffsetAcct", "VarianceAcc", "VendorAssetsAccount",
    "VendorDoubtfulDebtsAcct", "VendorDownPaymentsAccount", "WIPMaterialAccount", "WIPMaterialVarianceAccount",
    "DecreaseGLAcc",
    // The inventory accounts ("DecreaseGLAccount" is the second name of DecreaseGLAcc).
    "CostOfGoodsSold", "AllocationAcc", "PriceDifferenceAccount", "InventoryOffsetDecrease",
    "InventoryOffsetIncrease", "SalesReturns", "ExchangeRateDifferencesAcct", "GoodsClearingAcc",
    "IncreaseGLAccount", "ExpenseClearingAccount"};

struct Setting {
  const char* property;
  K kind;
};

void AddSettings(ObjectRegistry& r, const char* table, int type, std::initializer_list<Setting> settings) {
  std::vector<ColumnDef> columns;
  std::vector<PropertyDef> properties;
  for (const Setting& s : settings) {
    columns.push_back(Col(s.property, s.kind == K::Int ? db_Numeric : db_Alpha, s.property));
    properties.push_back(Prop(s.property, s.property, s.kind));
  }
  r.extendTable(table, std::move(columns));
  r.extendType(type, std::move(properties));
}

}  // namespace

const std::vector<std::string>& PeriodCategoryAccounts() {
  static const std::vector<std::string> accounts(std::begin(kPeriodAccounts), std::end(kPeriodAccounts));
  return accounts;
}

void RegisterAccountSettings(ObjectRegistry& r) {
  std::vector<ColumnDef> columns = {Col("InvoicePaymentBP", db_Alpha, "Invoice Payment BP", 15)};
  for (const char* account : kPeriodAccounts) columns.push_back(Col(account, db_Alpha, account, 15));
  r.extendTable("OACP", std::move(columns));

  constexpr K I = K::Int, T = K::Text;
  // Inventory settings, the G/L account determination's ten settings, the default bank.
  AddSettings(r, "OADM", kTypeAdminInfo,
              {{"ContinuousStockManagement", I}, {"ContinuousStockSystem", I}, {"PriceSystem", I},
               {"UsePASystem", I}, {"UniqueSerialNo", I}, {"DefaultforBatchStatus", I}, {"DefaultWarehouse", T},
               {"GLMethod", I}, {"SetItemsWarehouses", I}, {"WTLiableExpense", I},
               {"ChangeDefReconARAccounts", I}, {"TaxDefinitionforVatitem", T}, {"TaxDefinitionforVatservice", T},
               {"ChangeDefReconAPAccounts", I}, {"WithholdingTaxPHandle", T}, {"TaxGroupforPurchaseItem", T},
               {"TaxGroupforServicePurchase", T}, {"VendorDdct", I}, {"CustomersDeductionatSource", I},
               {"SHandleWT", I}, {"BankCountry", T}, {"DefaultBankNo", T}, {"DefaultBankAccount", T},
               {"DefaultBranch", T}});
  AddSettings(r, "CINF", kTypeCompanyInfo,
              {{"EnableStockRelNoCostPrice", I}, {"SRIManagementSystem", I}, {"AutoSRICreationOnReceipt", I},
               {"AutoCreateCustomerEqCard", I}});

  r.addDemoRows({"OADM",
                 {"ContinuousStockManagement", "PriceSystem", "DefaultWarehouse", "GLMethod",
                  "TaxDefinitionforVatitem", "WithholdingTaxPHandle", "BankCountry", "DefaultBankNo",
                  "DefaultBankAccount", "DefaultBranch"},
                 {{"1", "1", "01", "1", "V1", "P & <H>'s", "IE", "AIB", "1001", "Dublin"}},
                 {{"0", "0", "02", "0", "VT", "old", "FR", "TGT", "9009", "Paris"}},
                 true});
  r.addDemoRows({"CINF",
                 {"EnableStockRelNoCostPrice", "SRIManagementSystem"},
                 {{"1", "1"}},
                 {{"0", "0"}},
                 true});
}

}  // namespace dpx::host
