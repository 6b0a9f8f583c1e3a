#include "intake/load_files.h"

#include "base/text1251.h"
#include "intake/header_scan.h"
#include "intake/line_list.h"
#include "intake/unread_reason.h"

namespace lorvi {
namespace {

constexpr std::string_view kUnreadRoot = "НЕ СМОГ ПРОЧИТАТЬ"_w;

const TreeNode* ChildWithCaption(const TreeNode* parent, std::string_view caption) {
  for (const TreeNode* child : parent->children)
    if (child->caption == caption) return child;
  return nullptr;
}

// The unreadable root: a top-level node of no organisation with its caption.
const TreeNode* UnreadRoot(const FileTree& tree) {
  for (const TreeNode* node : tree.TopLevel())
    if (node->datum == UnreadSlot && node->caption == kUnreadRoot) return node;
  return nullptr;
}

}  // namespace

bool IsOrganisationOf(std::string_view caption, std::string_view title) {
  // Organisations are told apart by the first 14 characters of their titles.
  return caption.find(title.substr(0, 14)) != std::string_view::npos;
}

bool ClassifyFile(const std::string& path, HeaderInfo& header) {
  try {
    return ScanHeader(path, header);
  } catch (const CannotOpenError& e) {
    header.reason = CannotOpenReason(e.SystemError());
    return false;
  }
}

bool AddDocumentNode(std::string_view title, std::string_view periodKey, std::string_view kind,
                     const std::string& path, FileTree& tree, const LoadPlacements& placed) {
  const TreeNode* org = nullptr;
  int organisations = 0;
  for (const TreeNode* node : tree.TopLevel()) {
    if (node->datum == UnreadSlot) continue;
    ++organisations;
    if (org == nullptr && IsOrganisationOf(node->caption, title)) org = node;
  }
  if (org == nullptr) {
    // Slots are taken in turn, one per organisation node.
    if (organisations >= kMaxOrgs) return false;
    org = tree.AddTop(std::string(title), kPictureOrganisation, organisations);
    if (placed.organisation) placed.organisation(organisations);
  }

  const TreeNode* period = ChildWithCaption(org, periodKey);
  if (period == nullptr)
    period = tree.AddChild(org, std::string(periodKey), kPicturePeriod, org->datum);

  const TreeNode* kindNode = ChildWithCaption(period, kind);
  if (kindNode == nullptr)
    kindNode = kind == kKindADV
                   ? tree.InsertFirstChild(period, std::string(kind), kPictureADV, period->datum)
                   : tree.AddChild(period, std::string(kind), kPictureSZV, period->datum);

  const std::string name = Utf8ToCp1251(FileNameOf(path));
  if (ChildWithCaption(kindNode, name) != nullptr) return true;
  tree.AddChild(kindNode, name, kPictureFile, kindNode->datum);
  if (placed.file) placed.file(kindNode->datum, path);
  return true;
}

void AddUnreadNode(const std::string& path, FileTree& tree, const std::string& reason) {
  const TreeNode* root = UnreadRoot(tree);
  if (root == nullptr) root = tree.AddTop(std::string(kUnreadRoot), kPictureUnread, UnreadSlot);
  const std::string name = Utf8ToCp1251(FileNameOf(path));
  if (ChildWithCaption(root, name) == nullptr)
    tree.SetNote(tree.AddChild(root, name, kPictureFile, UnreadSlot), reason);
}

void MoveUnreadLast(FileTree& tree) {
  if (const TreeNode* root = UnreadRoot(tree)) tree.MoveToEnd(root);
}

bool AddFilesToTree(const std::vector<std::string>& paths, FileTree& tree,
                    const LoadPlacements& placed, std::vector<std::string>& refused,
                    const LoadProgress& progress) {
  std::size_t done = 0;
  for (const std::string& path : paths) {
    HeaderInfo header;
    if (ClassifyFile(path, header)) {
      if (!AddDocumentNode(header.orgTitle, header.periodKey, header.kind, path, tree, placed))
        refused.push_back(FileNameOf(path));
    } else {
      AddUnreadNode(path, tree, header.reason);
    }
    if (progress) progress(++done, paths.size());
  }
  tree.SortAll();
  MoveUnreadLast(tree);
  tree.ExpandAll();
  return !tree.TopLevel().empty() && tree.Select(tree.TopLevel().front());
}

}  // namespace lorvi
