#include "protocol/objekt_liste.h"

ObjektListe::~ObjektListe() {
  Clear();
}

void* ObjektListe::Add(void* item) {
  ++count_;
  Node* node = new Node{count_, item, nullptr};
  if (last_ == nullptr) {
    first_ = node;
  } else {
    last_->Next = node;
  }
  last_ = node;
  return item;
}

void* ObjektListe::Find(std::int32_t id) const {
  const Node* node = first_;
  while (node != nullptr && node->Id != id && node->Next != nullptr) node = node->Next;
  return node != nullptr && node->Id == id ? node->Item : nullptr;
}

void ObjektListe::Clear() {
  Node* node = first_;
  while (node != nullptr) {
    Node* next = node->Next;
    delete node;
    node = next;
  }
  first_ = last_ = nullptr;
  count_ = 0;
}
