// What the model's lists share. A list's first node is held inside the record
// that owns the list; each further node is allocated on its own and owned by
// its predecessor's `next`; nodes are numbered from 1, and the record keeps
// the 8-bit count. FurtherNodes remembers where the further nodes stand, so
// that appending and finding a node by number need no walk. It holds no
// pointer to the first node, so a record can be moved together with its list.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <span>

#include "model/pooled_array.h"
#include "model/short_list.h"

namespace fxt {

// The n-th node from `first`, following `next` and stopping at the last
// node; n <= 1 gives `first`.
template <typename Node>
Node* NthNode(Node* first, int n) {
  Node* node = first;
  for (int i = 1; i < n && node->next != nullptr; ++i) node = node->next.get();
  return node;
}

// The n-th node of a list whose further nodes are `further`: the same answer
// as NthNode(&first, n), without the walk.
template <typename First, typename Node>
First& NodeAt(First& first, std::span<Node* const> further, int n) {
  if (n <= 1 || further.empty()) return first;
  const size_t index = static_cast<size_t>(n) - 2;
  return index < further.size() ? *further[index] : *further.back();
}

template <typename Node>
class FurtherNodes {
 public:
  // The node that the list's next element is: the first node while `count`
  // is 0, else a new node linked after the last. Null when no memory could
  // be had or the 8-bit count is full.
  Node* Append(Node& first, uint8_t& count) {
    if (count == 0) {
      count = 1;
      return &first;
    }
    if (count == UINT8_MAX) return nullptr;
    std::unique_ptr<Node> node(new (std::nothrow) Node);
    if (node == nullptr) return nullptr;
    Node& last = Last(first);
    if constexpr (requires { node->prev; }) node->prev = &last;
    last.next = std::move(node);
    nodes_.push_back(last.next.get());
    ++count;
    return nodes_.back();
  }

  template <typename First>
  First& Last(First& first) const {
    return nodes_.empty() ? first : *nodes_.back();
  }

  // The same answer as NthNode(&first, n), without the walk.
  template <typename First>
  First& At(First& first, int n) const {
    return NodeAt(first, Nodes(), n);
  }

  // Nodes 2, 3, ... in list order, for loops that would walk the list.
  std::span<Node* const> Nodes() const { return nodes_.Items(); }

  // A further node that has left the list.
  void Forget(const Node* node) {
    const std::span<Node* const> nodes = nodes_.Items();
    const auto found = std::find(nodes.rbegin(), nodes.rend(), node);
    if (found != nodes.rend()) nodes_.Erase(static_cast<size_t>(nodes.rend() - found - 1));
  }
  void Clear() { nodes_.clear(); }

 private:
  // Room in place for the further nodes of most lists: a parameter's stops,
  // a fixture's parameters.
  static constexpr size_t IN_PLACE = 6;

  ShortList<Node*, IN_PLACE> nodes_;  // nodes 2, 3, ... in list order
};

// Grows an owned array by exactly the elements added, into a new array of
// the new length, as far as the 8-bit count allows. False when not all of
// them were added; none are when no memory could be had.
template <typename Element>
bool GrowBy(PooledArray<Element>& array, uint8_t& count, std::span<const Element> added) {
  const size_t room = UINT8_MAX - count;
  const size_t taken = std::min(room, added.size());
  if (taken == 0) return added.empty();
  PooledArray<Element> grown = PooledArray<Element>::Make(static_cast<uint8_t>(count + taken));
  if (grown == nullptr) return false;
  std::copy_n(array.get(), count, grown.get());
  std::copy_n(added.begin(), taken, grown.get() + count);
  array = std::move(grown);
  count = static_cast<uint8_t>(count + taken);
  return taken == added.size();
}

// Grows an owned array by exactly one element, as the model's arrays do.
// False, with the array unchanged, when no memory could be had or the 8-bit
// count is full.
template <typename Element>
bool GrowByOne(PooledArray<Element>& array, uint8_t& count, const Element& element) {
  return GrowBy(array, count, std::span<const Element>(&element, 1));
}

}  // namespace fxt
