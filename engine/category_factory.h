// The category factory: makes the manager of a category from its category
// key. One table lists the 94 keys with their manager class (90 classes;
// three classes serve several keys and take a mode).
//
// The manager classes live in a higher layer than the factory, so a class
// makes itself known by registering its creator under its class name, one
// line per class:
//   DPX_CategoryFactory::registerClass("DPX_ItemsManager", &DPX_CategoryFactory::Make<DPX_ItemsManager>);
//   DPX_CategoryFactory::registerClass("DPX_PrintLayoutsManager",
//                                      &DPX_CategoryFactory::MakeWithMode<DPX_PrintLayoutsManager>);
// A key whose class has not registered yields no manager and a logged error,
// exactly like a key that is not in the table.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

class DPX_ConnectionContext;
class DPX_DIInterface;

class DPX_CategoryFactory {
 public:
  // The mode of a class that serves one key only.
  static constexpr int32_t kNoMode = -1;

  // One row of the category table.
  struct Category {
    const char* key;
    const char* className;
    int32_t mode;
  };

  // Makes a manager of one class for a key and the mode of its row.
  using Creator =
      std::function<std::unique_ptr<DPX_DIInterface>(DPX_ConnectionContext* context, const std::string& key,
                                                     int32_t mode)>;

  explicit DPX_CategoryFactory(DPX_ConnectionContext* context) : context_(context) {}

  // The manager of the category `key` (matched exactly, case included), made
  // with the factory's context, a copy of the key and the row's mode; null
  // for an unknown key or a class that has not registered.
  std::unique_ptr<DPX_DIInterface> createManager(std::string key) const;

  // The 94 rows in the order of the worksheet tree.
  static std::span<const Category> categories();
  // The row of a key (exact match), or null.
  static const Category* findCategory(const std::string& key);

  // Makes a class available. False (and nothing registered) when no row
  // names the class or the creator is null.
  static bool registerClass(const std::string& className, Creator creator);
  // Takes a class back (tests that registered stand-ins).
  static void unregisterClass(const std::string& className);
  static bool isRegistered(const std::string& className);

  // Creators for the two kinds of constructor.
  template <class Manager>
  static std::unique_ptr<DPX_DIInterface> Make(DPX_ConnectionContext* context, const std::string& key, int32_t) {
    return std::make_unique<Manager>(context, key);
  }
  template <class Manager>
  static std::unique_ptr<DPX_DIInterface> MakeWithMode(DPX_ConnectionContext* context, const std::string& key,
                                                       int32_t mode) {
    return std::make_unique<Manager>(context, key, mode);
  }

 private:
  DPX_ConnectionContext* context_;  // not owned
};
