#include "subtitles/DocumentChange.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace orlisk {
namespace {

bool SameWork(const SubtitleRow& rowA, const SubtitleEntry& entryA, const SubtitleRow& rowB,
              const SubtitleEntry& entryB) {
  SubtitleEntry untagged = entryA;
  untagged.Tag = entryB.Tag;
  return rowA == rowB && untagged == entryB;
}

template <typename T>
std::vector<T> Slice(const std::vector<T>& items, std::size_t first, std::size_t count) {
  const auto begin = items.begin() + static_cast<std::ptrdiff_t>(first);
  return {begin, begin + static_cast<std::ptrdiff_t>(count)};
}

template <typename T>
void Replace(std::vector<T>& items, const DocumentSplice& change, const std::vector<T>& replacement) {
  const auto first = items.begin() + change.First;
  items.erase(first, first + change.RemovedCount);
  items.insert(items.begin() + change.First, replacement.begin(), replacement.end());
}

}  // namespace

void CheckSpliceFits(const DocumentSplice& change, std::size_t rowCount) {
  if (change.First < 0 || change.RemovedCount < 0 || change.Rows.size() != change.Entries.size() ||
      static_cast<std::size_t>(change.First) + static_cast<std::size_t>(change.RemovedCount) > rowCount) {
    throw std::out_of_range("The change to rows " + std::to_string(change.First) + " and on does not fit a list of " +
                            std::to_string(rowCount) + " subtitles");
  }
}

DocumentSnapshot DocumentSnapshot::Of(const SubtitleDocument& document) {
  const std::vector<SubtitleEntry>& entries = document.entries();
  std::vector<SubtitleEntry> belonging = Slice(entries, 0, std::min(entries.size(), document.rows().size()));
  belonging.resize(document.rows().size());
  return {document.rows(), std::move(belonging)};
}

std::optional<DocumentSplice> SpliceBetween(const DocumentSnapshot& before, const DocumentSnapshot& after) {
  const std::size_t beforeCount = before.Rows.size();
  const std::size_t afterCount = after.Rows.size();
  std::size_t prefix = 0;
  while (prefix < beforeCount && prefix < afterCount &&
         SameWork(before.Rows[prefix], before.Entries[prefix], after.Rows[prefix], after.Entries[prefix])) {
    ++prefix;
  }
  if (prefix == beforeCount && prefix == afterCount) return std::nullopt;
  std::size_t suffix = 0;
  while (suffix < beforeCount - prefix && suffix < afterCount - prefix &&
         SameWork(before.Rows[beforeCount - 1 - suffix], before.Entries[beforeCount - 1 - suffix],
                  after.Rows[afterCount - 1 - suffix], after.Entries[afterCount - 1 - suffix])) {
    ++suffix;
  }
  const std::size_t added = afterCount - prefix - suffix;
  return DocumentSplice{static_cast<int>(prefix), static_cast<int>(beforeCount - prefix - suffix),
                        Slice(after.Rows, prefix, added), Slice(after.Entries, prefix, added)};
}

DocumentSplice InverseOf(const DocumentSplice& change, const DocumentSnapshot& before) {
  CheckSpliceFits(change, before.Rows.size());
  const auto first = static_cast<std::size_t>(change.First);
  const auto removed = static_cast<std::size_t>(change.RemovedCount);
  return {change.First, static_cast<int>(change.Rows.size()), Slice(before.Rows, first, removed),
          Slice(before.Entries, first, removed)};
}

void ApplySplice(DocumentSnapshot& snapshot, const DocumentSplice& change) {
  CheckSpliceFits(change, snapshot.Rows.size());
  Replace(snapshot.Rows, change, change.Rows);
  Replace(snapshot.Entries, change, change.Entries);
}

void ApplySplice(SubtitleDocument& document, const DocumentSplice& change) {
  DocumentSnapshot snapshot = DocumentSnapshot::Of(document);
  ApplySplice(snapshot, change);
  document.replaceAll(std::move(snapshot.Rows), std::move(snapshot.Entries));
}

}  // namespace orlisk
