// A vector whose copies share their storage: a 32-way tree of fixed-size
// nodes, copied along one path when an element is changed or appended while
// another copy holds that path. Copying the vector (an undo step keeps one)
// costs a pointer; changing or appending an element costs O(log n); two
// copies are compared by skipping the nodes they share.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <utility>

namespace pomeli2 {

template <typename T>
class PersistentVector {
 public:
  static constexpr int kBits = 5;
  static constexpr size_t kWidth = size_t{1} << kBits;

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  void clear() {
    root_.reset();
    size_ = 0;
    shift_ = 0;
  }

  const T& operator[](size_t i) const {
    const Node* node = root_.get();
    for (int shift = shift_; shift > 0; shift -= kBits) node = node->kids[(i >> shift) & (kWidth - 1)].get();
    return node->items[i & (kWidth - 1)];
  }

  // The element to change: the nodes on its path are copied first when a
  // copy of the vector shares them.
  T& Mutable(size_t i) {
    Node* node = Own(root_);
    for (int shift = shift_; shift > 0; shift -= kBits) node = Own(node->kids[(i >> shift) & (kWidth - 1)]);
    return node->items[i & (kWidth - 1)];
  }

  void push_back(T value) {
    if (!root_) {
      root_ = std::make_shared<Node>();
    } else if (size_ == (kWidth << shift_)) {  // full: one level more
      auto grown = std::make_shared<Node>();
      grown->kids[0] = std::move(root_);
      root_ = std::move(grown);
      shift_ += kBits;
    }
    const size_t i = size_++;
    Node* node = Own(root_);
    for (int shift = shift_; shift > 0; shift -= kBits) {
      std::shared_ptr<Node>& kid = node->kids[(i >> shift) & (kWidth - 1)];
      if (!kid) kid = std::make_shared<Node>();
      node = Own(kid);
    }
    node->items[i & (kWidth - 1)] = std::move(value);
  }

  // Every element in order, a node at a time.
  template <typename F>
  void ForEach(F&& visit) const {
    if (root_) Visit(root_.get(), shift_, 0, visit);
  }

  // Calls `differ(i)` for every index below the larger size whose element
  // may differ between the two vectors: the indexes under nodes the two
  // share are skipped without looking.
  template <typename F>
  void ForEachDifferent(const PersistentVector& other, F&& differ) const {
    if (shift_ == other.shift_) {
      Walk(root_.get(), other.root_.get(), shift_, 0, std::min(size_, other.size_), std::max(size_, other.size_),
           differ);
    } else {
      for (size_t i = 0; i < std::max(size_, other.size_); ++i) differ(i);
    }
  }

 private:
  struct Node {
    std::array<std::shared_ptr<Node>, kWidth> kids;
    std::array<T, kWidth> items;
  };

  // The node itself when no copy shares it, else its own copy.
  static Node* Own(std::shared_ptr<Node>& node) {
    if (node.use_count() > 1) node = std::make_shared<Node>(*node);
    return node.get();
  }

  template <typename F>
  void Visit(const Node* node, int shift, size_t first, F& visit) const {
    if (shift == 0) {
      for (size_t k = 0; k < kWidth && first + k < size_; ++k) visit(node->items[k]);
      return;
    }
    const size_t step = size_t{1} << shift;
    for (size_t k = 0; k < kWidth && first + k * step < size_; ++k)
      Visit(node->kids[k].get(), shift - kBits, first + k * step, visit);
  }

  template <typename F>
  // Indexes from `both` on are in one vector only, and always differ.
  static void Walk(const Node* a, const Node* b, int shift, size_t first, size_t both, size_t end, F& differ) {
    if (a == b || first >= end) return;
    const size_t span = size_t{1} << (shift + kBits);
    if (!a || !b) {
      for (size_t i = first; i < std::min(first + span, end); ++i) differ(i);
      return;
    }
    if (shift == 0) {
      for (size_t k = 0; k < kWidth && first + k < end; ++k)
        if (first + k >= both || !(a->items[k] == b->items[k])) differ(first + k);
      return;
    }
    const size_t step = size_t{1} << shift;
    for (size_t k = 0; k < kWidth; ++k)
      Walk(a->kids[k].get(), b->kids[k].get(), shift - kBits, first + k * step, both, end, differ);
  }

  std::shared_ptr<Node> root_;
  size_t size_ = 0;
  int shift_ = 0;
};

}  // namespace pomeli2
