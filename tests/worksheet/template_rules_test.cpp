// The two templates that ship beside the program: the category tree of every
// worksheet ("WorkSheet.tpl") and the category list of a save from a company
// ("Configuration.tpl"). Both are data that nothing else checks, so their rules
// are held here: every category of the factory appears once, the tree is
// consistently numbered, its copy-method rules and dependencies are usable,
// and the save lists every category after the ones it needs.
#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <xercesc/dom/DOM.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/sax/HandlerBase.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLException.hpp>

#include "engine/category_factory.h"
#include "engine/resource_manager.h"
#include "platform/framework/string_table.h"
#include "platform/framework/text.h"

namespace {

using xercesc::DOMElement;
using xercesc::DOMNode;

// The category keys the factory makes managers for, in its order (the order
// of the worksheet tree).
std::vector<std::string> FactoryKeys() {
  std::vector<std::string> keys;
  for (const DPX_CategoryFactory::Category& category : DPX_CategoryFactory::categories()) keys.push_back(category.key);
  return keys;
}

std::string Text(const XMLCh* s) { return s ? dpx::Utf16ToUtf8(s) : std::string(); }

std::string Name(const DOMNode* node) { return Text(node->getNodeName()); }

std::vector<DOMElement*> ChildElements(const DOMNode* node) {
  std::vector<DOMElement*> out;
  for (DOMNode* c = node->getFirstChild(); c; c = c->getNextSibling())
    if (c->getNodeType() == DOMNode::ELEMENT_NODE) out.push_back(static_cast<DOMElement*>(c));
  return out;
}

// One node element of the template body, as the worksheet reader sees it.
struct TemplateNode {
  std::string tag;
  std::map<std::string, std::string> attributes;
  std::string parentId;  // empty on the top level
  std::vector<std::string> dependencies;
  bool isLeaf = true;

  std::string attr(const std::string& name) const {
    auto it = attributes.find(name);
    return it == attributes.end() ? std::string() : it->second;
  }
  bool has(const std::string& name) const { return attributes.count(name) != 0; }
  std::string leafId() const { return attr("leaf_id"); }
  std::string key() const { return attr("string_id"); }
};

// The template body in document order, and what is wrong with its shape.
struct TemplateTree {
  bool parsed = false;
  std::string rootName;
  // The reader starts at the document's first node: anything before the root
  // element (a comment, say) would hide the whole tree from it.
  bool rootIsFirstNode = false;
  std::vector<TemplateNode> nodes;
  std::vector<std::string> problems;

  const TemplateNode* find(const std::string& leafId) const {
    for (const auto& n : nodes)
      if (n.leafId() == leafId) return &n;
    return nullptr;
  }
  std::vector<const TemplateNode*> leaves() const {
    std::vector<const TemplateNode*> out;
    for (const auto& n : nodes)
      if (n.isLeaf) out.push_back(&n);
    return out;
  }
};

// The elements that the worksheet file gives a meaning of its own: none of
// them may be the tag of a category node.
const std::set<std::string> kReservedTags = {"dependencies", "selection", "header", "body"};

// The node read last with that leaf id; the caller has just read it.
TemplateNode* FindNode(std::vector<TemplateNode>& nodes, const std::string& leafId) {
  for (auto it = nodes.rbegin(); it != nodes.rend(); ++it)
    if (it->leafId() == leafId) return &*it;
  return nullptr;
}

void ReadNodes(const DOMNode* parent, const std::string& parentId, TemplateTree& tree) {
  bool sawChildNode = false;
  for (DOMElement* e : ChildElements(parent)) {
    const std::string tag = Name(e);
    if (tag == "dependencies") {
      // A dependency list belongs to the node above it and holds leaf ids only;
      // anything else under this tag would be a node the reader cannot see.
      if (parentId.empty()) {
        tree.problems.push_back("a dependency list outside a node");
        continue;
      }
      if (e->getAttributes()->getLength() != 0) tree.problems.push_back("node named dependencies under " + parentId);
      if (sawChildNode) tree.problems.push_back("dependencies of " + parentId + " after its child nodes");
      TemplateNode& owner = *FindNode(tree.nodes, parentId);
      for (DOMElement* d : ChildElements(e)) {
        if (Name(d) != "leaf_id" || !ChildElements(d).empty()) {
          tree.problems.push_back("dependencies of " + parentId + " hold <" + Name(d) + ">");
          continue;
        }
        owner.dependencies.push_back(Text(d->getTextContent()));
      }
      continue;
    }
    TemplateNode node;
    node.tag = tag;
    node.parentId = parentId;
    auto* attributes = e->getAttributes();
    for (XMLSize_t i = 0; i < attributes->getLength(); ++i) {
      DOMNode* a = attributes->item(i);
      node.attributes[Name(a)] = Text(a->getNodeValue());
    }
    if (kReservedTags.count(tag)) tree.problems.push_back("node " + node.leafId() + " is named <" + tag + ">");
    if (!node.has("leaf_id")) {
      // The reader skips such an element with everything below it.
      tree.problems.push_back("<" + tag + "> without leaf_id under '" + parentId + "'");
      continue;
    }
    if (!parentId.empty()) FindNode(tree.nodes, parentId)->isLeaf = false;
    sawChildNode = true;
    const std::string id = node.leafId();
    tree.nodes.push_back(node);
    ReadNodes(e, id, tree);
  }
}

// Parses a file with the XML library alone, so that these checks hold the
// files to their rules whatever the program's own readers do, and hands the
// document to `use`. False with a message when the file does not parse.
template <typename Use>
bool WithDocument(const std::filesystem::path& path, std::string& error, Use use) {
  xercesc::XMLPlatformUtils::Initialize();
  bool ok = false;
  {
    xercesc::HandlerBase errors;  // fatal errors throw, others are counted
    xercesc::XercesDOMParser parser;
    parser.setErrorHandler(&errors);
    parser.setDoNamespaces(false);
    parser.setLoadExternalDTD(false);
    try {
      parser.parse(path.string().c_str());
      ok = parser.getErrorCount() == 0 && parser.getDocument() && parser.getDocument()->getDocumentElement();
      if (ok) use(parser.getDocument());
      else error = path.string() + " has errors";
    } catch (const xercesc::SAXParseException& e) {
      error = path.string() + ":" + std::to_string(e.getLineNumber()) + ": " + Text(e.getMessage());
    } catch (const xercesc::XMLException& e) {
      error = path.string() + ": " + Text(e.getMessage());
    }
  }
  xercesc::XMLPlatformUtils::Terminate();
  return ok;
}

TemplateTree ReadTemplate(const std::filesystem::path& path) {
  TemplateTree tree;
  std::string error;
  tree.parsed = WithDocument(path, error, [&](xercesc::DOMDocument* document) {
    DOMElement* root = document->getDocumentElement();
    tree.rootName = Name(root);
    tree.rootIsFirstNode = document->getFirstChild() == root;
    DOMElement* body = nullptr;
    for (DOMElement* e : ChildElements(root))
      if (Name(e) == "body") body = e;
    if (!body) {
      tree.problems.push_back("no body");
      return;
    }
    ReadNodes(body, "", tree);
  });
  if (!tree.parsed) tree.problems.push_back(error);
  return tree;
}

const TemplateTree& WorksheetTemplate() {
  static const TemplateTree tree = ReadTemplate(dpx::ProgramFolder() / "WorkSheet.tpl");
  return tree;
}

// A positive decimal number without sign, blanks or leading zero.
bool IsPositiveNumber(const std::string& s) {
  return !s.empty() && s.size() < 10 && s[0] != '0' &&
         std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The prohibited methods as the worksheet reader splits them; false when an
// entry is not a plain number.
bool SplitMethods(const std::string& text, std::vector<int>& out) {
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    const std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (!IsPositiveNumber(part)) return false;
    out.push_back(std::stoi(part));
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

// True when id lies at or below the node `ancestor` (the tree's own cover rule:
// 1.2 covers 1.2 and 1.2.5, not 1.25).
bool Covers(const std::string& ancestor, const std::string& id) {
  return id == ancestor || (id.size() > ancestor.size() && id.compare(0, ancestor.size(), ancestor) == 0 &&
                            id[ancestor.size()] == '.');
}

struct ConfigurationSkeleton {
  std::string bytes;
  bool parsed = false;
  std::string rootName;
  std::vector<std::string> objectKeys;  // string_id of every OBJECT, in order
  std::string errors;
};

const ConfigurationSkeleton& Skeleton() {
  static const ConfigurationSkeleton skeleton = [] {
    ConfigurationSkeleton s;
    const auto path = dpx::ProgramFolder() / "Configuration.tpl";
    std::ifstream in(path, std::ios::binary);
    s.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    s.parsed = WithDocument(path, s.errors, [&](xercesc::DOMDocument* document) {
      s.rootName = Name(document->getDocumentElement());
      auto* objects = document->getElementsByTagName(dpx::Utf8ToUtf16("OBJECT").c_str());
      for (XMLSize_t i = 0; i < objects->getLength(); ++i)
        s.objectKeys.push_back(
            Text(static_cast<DOMElement*>(objects->item(i))->getAttribute(dpx::Utf8ToUtf16("string_id").c_str())));
    });
    return s;
  }();
  return skeleton;
}

TEST(WorksheetTemplate, IsAWorksheetFileWhoseBodyTheReaderTakesWhole) {
  const TemplateTree& tree = WorksheetTemplate();
  ASSERT_TRUE(tree.parsed) << ::testing::PrintToString(tree.problems);
  EXPECT_EQ(tree.rootName, "twinlyWorksheet");
  EXPECT_TRUE(tree.rootIsFirstNode) << "something stands before the root element";
  EXPECT_TRUE(tree.problems.empty()) << ::testing::PrintToString(tree.problems);
  EXPECT_FALSE(tree.nodes.empty());
}

TEST(WorksheetTemplate, EveryFactoryKeyIsOneLeafInTheFactoryOrder) {
  const TemplateTree& tree = WorksheetTemplate();
  const std::vector<std::string> factory = FactoryKeys();
  const std::set<std::string> factorySet(factory.begin(), factory.end());
  ASSERT_EQ(factorySet.size(), 94u);

  std::vector<std::string> leafKeys;
  for (const TemplateNode* leaf : tree.leaves()) {
    if (factorySet.count(leaf->key())) {
      leafKeys.push_back(leaf->key());
    } else {
      // A leaf the factory cannot make a manager for can only show a note.
      EXPECT_EQ(leaf->attr("data_area_format"), "N") << leaf->leafId() << " " << leaf->key();
    }
  }
  EXPECT_EQ(leafKeys, factory);

  auto& keys = DPX_ResourceManager::getInstance();
  for (const TemplateNode& node : tree.nodes) {
    // A category key as a group would never be copied: the driver copies leaves.
    EXPECT_TRUE(node.isLeaf || factorySet.count(node.key()) == 0) << "group " << node.leafId() << " " << node.key();
    const uint32_t id = keys.getStringId(node.key());
    EXPECT_TRUE(id != 0 && id != DPX_ResourceManager::kTerminatorId)
        << node.leafId() << ": '" << node.key() << "' has no text in the key table";
  }
}

TEST(WorksheetTemplate, LeafIdsAreUniqueAndExtendTheirParentsId) {
  const TemplateTree& tree = WorksheetTemplate();
  std::set<std::string> seen;
  for (const TemplateNode& node : tree.nodes) {
    const std::string id = node.leafId();
    EXPECT_TRUE(seen.insert(id).second) << "leaf id " << id << " twice";
    const std::string prefix = node.parentId.empty() ? std::string() : node.parentId + ".";
    ASSERT_EQ(id.compare(0, prefix.size(), prefix), 0) << id << " is not below " << node.parentId;
    EXPECT_TRUE(IsPositiveNumber(id.substr(prefix.size()))) << id << " under '" << node.parentId << "'";
  }
}

TEST(WorksheetTemplate, CategoryRulesHoldValuesTheProgramUnderstands) {
  const TemplateTree& tree = WorksheetTemplate();
  auto& keys = DPX_ResourceManager::getInstance();
  for (const TemplateNode& node : tree.nodes) {
    const std::string id = node.leafId();
    const std::string format = node.attr("data_area_format");
    if (node.isLeaf) {
      EXPECT_TRUE(format == "T" || format == "D" || format == "N") << id << " format '" << format << "'";
    } else {
      // A group may show a note, never records.
      EXPECT_TRUE(format.empty() || format == "N") << id << " format '" << format << "'";
    }

    for (const char* flag : {"allow_selection", "localization_transfer"}) {
      if (!node.has(flag)) continue;
      EXPECT_EQ(node.attr(flag), "true") << id << " " << flag;
      // Groups take the localization flag from their leaves; selection is per category.
      EXPECT_TRUE(node.isLeaf) << id << " " << flag;
    }
    // Single records can only be picked where records are listed.
    EXPECT_TRUE(!node.has("allow_selection") || format == "T" || format == "D") << id;

    if (node.has("note")) {
      const std::string note = node.attr("note");
      ASSERT_TRUE(IsPositiveNumber(note)) << id << " note '" << note << "'";
      const std::string noteKey = "DPX_LMS_NOTE" + note + "_0";
      EXPECT_NE(keys.getStringId(noteKey), 0u) << id << ": note " << note << " has no text";
      EXPECT_LE(std::stoi(note), 30) << id << ": the notes table holds rows 1 to 30";
    }

    // The copy driver uses the substitute in place of a prohibited method:
    // without one, or with a method the managers do not know, a category would
    // be emptied (method 0) or written by accident.
    if (node.has("prohibited_copyMethods")) {
      std::vector<int> methods;
      ASSERT_TRUE(SplitMethods(node.attr("prohibited_copyMethods"), methods))
          << id << " prohibits '" << node.attr("prohibited_copyMethods") << "'";
      for (int m : methods) EXPECT_TRUE(m >= 1 && m <= 4) << id << " prohibits " << m;
      EXPECT_EQ(std::set<int>(methods.begin(), methods.end()).size(), methods.size()) << id;
      ASSERT_TRUE(node.has("substitute_copyMethod")) << id << " has no substitute";
      const std::string text = node.attr("substitute_copyMethod");
      ASSERT_TRUE(IsPositiveNumber(text)) << id << " substitute '" << text << "'";
      const int substitute = std::stoi(text);
      EXPECT_TRUE((substitute >= 1 && substitute <= 4) || substitute == 33) << id << " substitute " << substitute;
      EXPECT_EQ(std::count(methods.begin(), methods.end(), substitute), 0) << id << " substitutes a prohibited method";
      EXPECT_TRUE(node.isLeaf) << id;
    } else {
      EXPECT_FALSE(node.has("substitute_copyMethod")) << id << " has a substitute but prohibits nothing";
    }
  }
}

// A note that tells the user the one method a category is copied with is
// what the copy does: every other method is replaced by that one.
TEST(WorksheetTemplate, ACategoryCopiedOnlyOneWayAllowsOnlyThatMethod) {
  const TemplateTree& tree = WorksheetTemplate();
  const DPX_ResourceManager& keys = DPX_ResourceManager::getInstance();
  size_t found = 0;
  for (const TemplateNode& node : tree.nodes) {
    if (!node.has("note")) continue;
    const uint32_t id = keys.getStringId("DPX_LMS_NOTE" + node.attr("note") + "_0");
    const std::string text = dpx::StringTable::Load(id);
    const std::string marker = "will be only copied as '";
    const size_t at = text.find(marker);
    if (at == std::string::npos) continue;
    ++found;
    const std::string name = text.substr(at + marker.size(), text.find('\'', at + marker.size()) - at - marker.size());
    int only = 0;
    for (int m = 1; m <= 4; ++m)
      if (dpx::EqualsIgnoreCase(dpx::StringTable::Load(static_cast<uint32_t>(349 + m)), name)) only = m;
    ASSERT_NE(only, 0) << node.leafId() << ": no copy method is named '" << name << "'";
    std::vector<int> prohibited;
    SplitMethods(node.attr("prohibited_copyMethods"), prohibited);
    for (int chosen = 1; chosen <= 4; ++chosen) {
      const bool replaced = std::count(prohibited.begin(), prohibited.end(), chosen) > 0;
      const int effective = replaced ? std::stoi(node.attr("substitute_copyMethod")) : chosen;
      EXPECT_EQ(effective, only) << node.leafId() << " chosen " << chosen;
    }
  }
  EXPECT_GT(found, 0u);
}

TEST(WorksheetTemplate, DependenciesNameOtherExistingNodes) {
  const TemplateTree& tree = WorksheetTemplate();
  size_t withDependencies = 0;
  for (const TemplateNode& node : tree.nodes) {
    if (!node.dependencies.empty()) ++withDependencies;
    std::set<std::string> seen;
    for (const std::string& dep : node.dependencies) {
      EXPECT_NE(tree.find(dep), nullptr) << node.leafId() << " depends on missing node '" << dep << "'";
      // Depending on oneself, an ancestor or a descendant can never be satisfied
      // by ticking another category.
      EXPECT_FALSE(Covers(dep, node.leafId()) || Covers(node.leafId(), dep)) << node.leafId() << " depends on " << dep;
      EXPECT_TRUE(seen.insert(dep).second) << node.leafId() << " lists " << dep << " twice";
    }
  }
  EXPECT_GT(withDependencies, 0u);
}

TEST(ConfigurationTemplate, IsAConfigurationFileListingEveryCategoryOnce) {
  const ConfigurationSkeleton& skeleton = Skeleton();
  // The configuration format: UTF-16LE after a byte-order mark, declaration line first.
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-16\" ?>\n";
  ASSERT_GE(skeleton.bytes.size(), 2u);
  EXPECT_EQ(skeleton.bytes.substr(0, 2), std::string("\xFF\xFE"));
  EXPECT_EQ(dpx::Utf16LEBytesToUtf8(skeleton.bytes.substr(2, declaration.size() * 2)), declaration);
  ASSERT_TRUE(skeleton.parsed) << skeleton.errors;
  EXPECT_EQ(skeleton.rootName, "duploraConfigurationFile");

  std::vector<std::string> listed = skeleton.objectKeys;
  std::vector<std::string> factory = FactoryKeys();
  std::sort(listed.begin(), listed.end());
  std::sort(factory.begin(), factory.end());
  EXPECT_EQ(listed, factory);
}

TEST(ConfigurationTemplate, ListsEveryCategoryAfterTheCategoriesItDependsOn) {
  const TemplateTree& tree = WorksheetTemplate();
  const std::vector<std::string>& order = Skeleton().objectKeys;
  ASSERT_FALSE(order.empty());
  auto position = [&](const std::string& key) -> std::ptrdiff_t {
    return std::find(order.begin(), order.end(), key) - order.begin();
  };
  const auto leaves = tree.leaves();
  for (const TemplateNode* leaf : leaves) {
    const auto at = position(leaf->key());
    if (at == static_cast<std::ptrdiff_t>(order.size())) continue;  // reported by the listing test
    for (const std::string& dep : leaf->dependencies) {
      // A dependency on a group is a dependency on every category below it.
      for (const TemplateNode* needed : leaves) {
        if (!Covers(dep, needed->leafId())) continue;
        EXPECT_LT(position(needed->key()), at) << leaf->key() << " is saved before " << needed->key();
      }
    }
  }
}

// The save keeps the tree's order: a category may come earlier than in the
// tree only because a category at or before its new place needs it.
TEST(ConfigurationTemplate, MovesACategoryOnlyAheadOfACategoryThatNeedsIt) {
  const TemplateTree& tree = WorksheetTemplate();
  const auto leaves = tree.leaves();
  const std::vector<std::string>& saved = Skeleton().objectKeys;
  std::map<std::string, size_t> treeAt, savedAt;
  for (size_t i = 0; i < leaves.size(); ++i) treeAt[leaves[i]->key()] = i;
  for (size_t i = 0; i < saved.size(); ++i) savedAt[saved[i]] = i;

  // needs[i]: the leaves that leaf i needs, directly or through others.
  std::vector<std::set<size_t>> needs(leaves.size());
  for (size_t i = 0; i < leaves.size(); ++i)
    for (const std::string& dep : leaves[i]->dependencies)
      for (size_t j = 0; j < leaves.size(); ++j)
        if (Covers(dep, leaves[j]->leafId())) needs[i].insert(j);
  for (bool grew = true; grew;) {
    grew = false;
    for (auto& set : needs) {
      const std::set<size_t> direct = set;
      for (size_t j : direct)
        for (size_t k : needs[j]) grew |= set.insert(k).second;
    }
  }

  for (const auto& [a, aTree] : treeAt) {
    for (const auto& [b, bTree] : treeAt) {
      if (!(aTree < bTree) || !savedAt.count(a) || !savedAt.count(b) || savedAt[b] > savedAt[a]) continue;
      bool needed = false;
      for (size_t c = 0; c <= aTree && !needed; ++c) needed = needs[c].count(bTree) != 0;
      EXPECT_TRUE(needed) << b << " is saved before " << a << " although nothing up to " << a << " needs it";
    }
  }
}

}  // namespace
