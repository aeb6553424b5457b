#include "subtitles/SpliceSequence.h"

#include <utility>

namespace orlisk {

// A tree of rows in list order (a treap keyed by position): each node knows
// how many rows its subtree holds, so a position is found from the root, and
// every node's rank is at least its children's.
struct SpliceSequence::Node {
  SubtitleRow Row;
  SubtitleEntry Entry;
  std::uint32_t Rank = 0;
  std::size_t Count = 1;
  std::unique_ptr<Node> Left, Right;
};

namespace {

using Tree = std::unique_ptr<SpliceSequence::Node>;

std::size_t CountOf(const Tree& tree) { return tree ? tree->Count : 0; }

void Recount(SpliceSequence::Node& node) { node.Count = 1 + CountOf(node.Left) + CountOf(node.Right); }

// The first `count` rows of `tree`, and the rest.
std::pair<Tree, Tree> Split(Tree tree, std::size_t count) {
  if (!tree) return {};
  if (CountOf(tree->Left) >= count) {
    auto [front, back] = Split(std::move(tree->Left), count);
    tree->Left = std::move(back);
    Recount(*tree);
    return {std::move(front), std::move(tree)};
  }
  auto [front, back] = Split(std::move(tree->Right), count - CountOf(tree->Left) - 1);
  tree->Right = std::move(front);
  Recount(*tree);
  return {std::move(tree), std::move(back)};
}

// The rows of `front` followed by those of `back`.
Tree Join(Tree front, Tree back) {
  if (!front) return back;
  if (!back) return front;
  if (front->Rank >= back->Rank) {
    front->Right = Join(std::move(front->Right), std::move(back));
    Recount(*front);
    return front;
  }
  back->Left = Join(std::move(front), std::move(back->Left));
  Recount(*back);
  return back;
}

void CollectInOrder(const Tree& tree, DocumentSnapshot& into) {
  if (!tree) return;
  CollectInOrder(tree->Left, into);
  into.Rows.push_back(tree->Row);
  into.Entries.push_back(tree->Entry);
  CollectInOrder(tree->Right, into);
}

}  // namespace

SpliceSequence::SpliceSequence(const DocumentSnapshot& start) {
  for (std::size_t i = 0; i < start.Rows.size(); ++i) {
    root_ = append(std::move(root_), start.Rows[i], i < start.Entries.size() ? start.Entries[i] : SubtitleEntry{});
  }
}

SpliceSequence::~SpliceSequence() = default;

std::size_t SpliceSequence::size() const { return CountOf(root_); }

Tree SpliceSequence::append(Tree tree, const SubtitleRow& row, const SubtitleEntry& entry) {
  auto node = std::make_unique<Node>();
  node->Row = row;
  node->Entry = entry;
  node->Rank = static_cast<std::uint32_t>(random_());
  return Join(std::move(tree), std::move(node));
}

void SpliceSequence::apply(const DocumentSplice& change) {
  CheckSpliceFits(change, size());
  auto [front, rest] = Split(std::move(root_), static_cast<std::size_t>(change.First));
  Tree back = Split(std::move(rest), static_cast<std::size_t>(change.RemovedCount)).second;
  Tree added;
  for (std::size_t i = 0; i < change.Rows.size(); ++i) added = append(std::move(added), change.Rows[i], change.Entries[i]);
  root_ = Join(Join(std::move(front), std::move(added)), std::move(back));
}

DocumentSnapshot SpliceSequence::snapshot() const {
  DocumentSnapshot result;
  result.Rows.reserve(size());
  result.Entries.reserve(size());
  CollectInOrder(root_, result);
  return result;
}

}  // namespace orlisk
