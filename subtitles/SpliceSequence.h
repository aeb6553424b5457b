#pragma once
// A subtitle list that takes one splice after another without moving the
// rows it does not touch: a splice costs the rows it removes and adds and a
// few steps per doubling of the list's length, so replaying a journal of many
// changes to a long list costs time in proportion to the journal. (A plain
// vector moves every row behind the change, every time.)
#include <cstddef>
#include <memory>
#include <random>

#include "DocumentChange.h"

namespace orlisk {

class SpliceSequence {
 public:
  explicit SpliceSequence(const DocumentSnapshot& start);
  ~SpliceSequence();
  SpliceSequence(const SpliceSequence&) = delete;
  SpliceSequence& operator=(const SpliceSequence&) = delete;

  std::size_t size() const;
  // As ApplySplice: throws std::out_of_range, and changes nothing, when the
  // splice does not fit the list.
  void apply(const DocumentSplice& change);
  // The rows and entries in order.
  DocumentSnapshot snapshot() const;

  struct Node;

 private:
  std::unique_ptr<Node> append(std::unique_ptr<Node> tree, const SubtitleRow& row, const SubtitleEntry& entry);

  std::unique_ptr<Node> root_;
  // Each row's rank in a heap of random numbers keeps the tree shallow
  // whatever order the rows come in; seeded afresh so that a crafted
  // journal cannot line them up.
  std::mt19937 random_{std::random_device{}()};
};

}  // namespace orlisk
