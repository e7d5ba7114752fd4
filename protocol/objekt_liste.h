#pragma once
// A small singly linked list of values with ids from 1, in the order they were added. Ids are
// never reused between two clearings.

#include <cstdint>
#include <utility>

template <typename T>
class ObjektListe {
 public:
  struct Node {
    std::int32_t Id;
    T Item;
    Node* Next;
  };

  ObjektListe() = default;
  ~ObjektListe() { Clear(); }
  ObjektListe(const ObjektListe&) = delete;
  ObjektListe& operator=(const ObjektListe&) = delete;

  // Appends the item with the next id; returns the stored item.
  T& Add(T item) {
    Node* node = new Node{count_ + 1, std::move(item), nullptr};
    ++count_;
    if (last_ == nullptr) {
      first_ = node;
    } else {
      last_->Next = node;
    }
    last_ = node;
    return node->Item;
  }

  // The item with this id, or nullptr.
  const T* Find(std::int32_t id) const {
    for (const Node* node = first_; node != nullptr; node = node->Next) {
      if (node->Id == id) return &node->Item;
    }
    return nullptr;
  }

  void Clear() {
    Node* node = first_;
    while (node != nullptr) {
      Node* next = node->Next;
      delete node;
      node = next;
    }
    first_ = last_ = nullptr;
    count_ = 0;
  }

  const Node* First() const { return first_; }
  std::int32_t Count() const { return count_; }

 private:
  Node* first_ = nullptr;
  Node* last_ = nullptr;
  std::int32_t count_ = 0;
};
