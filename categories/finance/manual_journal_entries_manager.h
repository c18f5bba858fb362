// Journal entries (table OJDT, business object 30) of one of three kinds,
// fixed by the mode the manager is made with: manual entries (0), opening
// balances (1) and stock postings (2). The kinds differ only in a row of a
// table: the transaction type read from the base, the type the entries get
// once added to the target, and whether the record list shows them (only
// manual entries can be picked one by one).
//
// Entries are only ever added: the removal pass of Replace All leaves the
// target alone, and every method adds every entry read whose posting the
// target does not already hold, so that a copy run twice posts nothing twice. An entry's series
// travels by its document and name; the profit centres and distribution
// rules travel with every copy and are written first. The host adds every
// entry as a manual one; the entries of an opening-balance or stock-posting
// copy are then given their own type, exactly those this copy added.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "categories/object_category.h"

class DPX_ManualJournalEntriesManager : public DPX_ObjectCategory {
 public:
  // One kind of entry.
  struct Kind {
    const char* categoryKey;
    const char* transType;  // the entries read from the base
    int32_t addedType;      // the type the added entries take; 0: left as the host adds them
    bool listed;            // listed, picked one by one and read back from a configuration file
  };

  DPX_ManualJournalEntriesManager(DPX_ConnectionContext* context, const std::string& categoryKey, int32_t mode);

  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  // Read as the whole category at once.
  bool readsInSlices() const override { return false; }
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  DPX_TableInfo* collectDetails() override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Written as the whole category at once.
  bool writesInSlices() const override { return false; }
  // The lines reach the target without their system-currency amounts, from
  // the first line that has "CreditSys" up to the first following line
  // without one.
  void adjustXml(int32_t objectType, std::string& xml) override;

  int32_t mode() const { return m_mode; }

 private:
  void writeEntries(DPX_OperationArgs& block);
  // The target's highest entry key; the entries this copy adds come above it.
  int64_t highestTargetEntry() const;
  // Gives the entries above `highestBefore` the kind's type.
  void retypeAddedEntries(int64_t highestBefore) const;

  // Leaves out of the block the entries whose posting the target already
  // holds (same date, references, memo, and lines of the same accounts and
  // amounts), each with a line naming the target's entry.
  void leaveOutTwins(DPX_OperationArgs& block);
  // The target's entries of the kind by their posting, read once a copy.
  void loadTargetPostings();

  std::map<std::string, std::vector<int64_t>> m_targetPostings;
  bool m_targetPostingsLoaded = false;
  int32_t m_mode;
  const Kind* m_kind;  // null for a mode without a kind: nothing is read or written
};
