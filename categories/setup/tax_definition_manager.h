// Tax definitions: the company's tax set-up copied as one whole, without a
// record list: the indicators (OIND rows) and the sales tax types (127),
// authorities (126), codes (128), VAT groups (5), deduction groups (117) and
// withholding taxes (178) as business objects, in that order, so that tax
// types are written before the authorities and codes that name them. Account
// references travel by their format code when both companies say so. An
// added authority, VAT group or withholding tax names the transport account
// "DXTRANSACCT" in place of the base's accounts, which the target may not
// hold yet; the chart-of-accounts categories remove it again later.
#pragma once

#include "engine/di_interface.h"

class DPX_TaxDefinitionManager : public DPX_DIInterface {
 public:
  DPX_TaxDefinitionManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  // Every record of the seven tables; the chosen keys do not matter.
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  // No record list.
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  DPX_TableInfo* collectDetails() override;
  // The removal pass empties the tables in the reverse order of the blocks,
  // so a record goes before the records it names.
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Before an add: the transport account exists, and the account properties
  // of authorities and VAT groups that name an account, and the empty account
  // of a withholding tax, name it. A put the target refuses raises.
  void prepareObject(int32_t objectType, const std::shared_ptr<dpx::host::BusinessObject>& object,
                     int32_t operation) override;

  // Makes sure the target holds the transport account; failures are logged, never raised.
  void createTransportAccount();

  static constexpr const char* kTransportAccount = "DXTRANSACCT";
  static constexpr const char* kTransportAccountName = "Duplora transport account";

 private:
  void writeIndicators(DPX_OperationArgs& block, uint8_t method);
};
