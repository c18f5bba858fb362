// G/L account determination: the element table of a period category's
// accounts and the ten settings of the administration record.
#include "categories/finance/gl_account_determination_manager.h"


namespace {

using E = DPX_PeriodElement;
using S = DPX_AdminSetting;

DPX_PeriodAccountsDefinition Determination() {
  DPX_PeriodAccountsDefinition d;
  d.root = "GLAccountDetermination";
  d.listsCategories = true;
  d.elements = {{"DebitorsFollowUpAccount"},     {"ForeignAccountsReceivables"},
                {"ReconciliationDifference"},    {"AccountforCashReceipt"},
                {"InvoicePaymentBP", E::kText, false},
                {"OverpaymentsARAccount"},       {"UnderpaymentsARAccount"},
                {"DownPaymentSClearingAcct"},    {"ARGainRealizedExchngeDif"},
                {"ARLossRealizedExchangeDi"},    {"ARCashDiscountAccount"},
                {"DefaultSaleAccount"},          {"RevenuesAccountForeign"},
                {"SalesRevenueEU"},              {"SalesCreditAcc"},
                {"SalesCreditForeignAcc"},       {"SalesCreditEUAcc"},
                {"DownPaymentVATAcctSale", E::kAccount, false},
                {"CreditorsFollowUpAccount"},    {"OutgoingChecksAccount"},
                {"APGainRealizedExchngeDif"},    {"APLossRealizedExchangeDif"},
                {"OutgoingCashAccount"},         {"APCashDiscountAccount"},
                {"APLossCashDiscountAccount"},   {"ExpenseAccountDefault"},
                {"ExpensesAccountForeign"},      {"EUExpenseAccount"},
                {"PurchaseCreditAcc"},           {"ForeignPurchaseCreditAcc"},
                {"EUPurchaseCreditAcc"},         {"OverpaymentsAPAccount"},
                {"UnderpaymentsAPAccount"},      {"DownPaymentPClearingAcct"},
                {"ExpenseVarianceAccount"},
                {"DownPaymentVATAcctPurch", E::kAccount, false},
                {"CommissionAccountDefault"},    {"RoundingAccount"},
                // The host names the reconciliation account twice; both take the first element.
                {"ReconciliationDifference"},    {"EOYControlAccount"},
                {"AccountforOutgoingChecks"},    {"TaxExemptRevenuesDefault"},
                {"ExemptedCredits"},             {"InputTaxAccount"},
                {"TaxDefinition"},               {"AccountforCreditMemoPayme"},
                {"WithholodingTax"},             {"PurchaseTax"},
                {"StockAccount"},                {"StockRevaluationAccount"},
                {"StockRevaluationOffsetAcct"},  {"VarianceAcc"},
                {"VendorAssetsAccount"},         {"VendorDoubtfulDebtsAcct"},
                {"VendorDownPaymentsAccount", E::kAccount, false},
                {"WIPMaterialAccount"},          {"WIPMaterialVarianceAccount"},
                {"DecreaseGLAcc"}};
  d.settings = {{"ChangeDefReconARAccounts", S::kNumber},   {"TaxDefinitionforVatitem", S::kTextIfGiven},
                {"TaxDefinitionforVatservice", S::kTextIfGiven}, {"ChangeDefReconAPAccounts", S::kNumber},
                {"WithholdingTaxPHandle", S::kTextAlways},  {"TaxGroupforPurchaseItem", S::kTextIfGiven},
                {"TaxGroupforServicePurchase", S::kTextIfGiven}, {"VendorDdct", S::kNumber},
                {"CustomersDeductionatSource", S::kNumber}, {"SHandleWT", S::kNumber}};
  return d;
}

}  // namespace

DPX_GLAccountDeterminationManager::DPX_GLAccountDeterminationManager(DPX_ConnectionContext* context,
                                                                     const std::string& categoryKey)
    : DPX_PeriodAccountsCategory(context, categoryKey, Determination()) {}
