#pragma once
// A small singly linked list of untyped references with ids from 1. The list does not own its
// items.

#include <cstdint>

class ObjektListe {
 public:
  struct Node {
    std::int32_t Id;
    void* Item;
    Node* Next;
  };

  ObjektListe() = default;
  ~ObjektListe();
  ObjektListe(const ObjektListe&) = delete;
  ObjektListe& operator=(const ObjektListe&) = delete;

  void* Add(void* item);
  void* Find(std::int32_t id) const;
  void Clear();

  const Node* First() const { return first_; }
  std::int32_t Count() const { return count_; }

 private:
  Node* first_ = nullptr;
  Node* last_ = nullptr;
  std::int32_t count_ = 0;
};
