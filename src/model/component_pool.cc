#include "model/component_pool.h"

#include <new>

#include "shell/pending_error.h"

namespace jov {

ComponentPool::ComponentPool() {
  records_.resize(kDimensionCount);
  for (ComponentRef root = 0; root < kFirstComponent; ++root) {
    records_[root].number = root;
    records_[root].prev_sibling = root;
  }
}

ComponentRef ComponentPool::Allocate() {
  if (free_head_ != kNoComponent) {
    const ComponentRef ref = free_head_;
    free_head_ = records_[ref].next_sibling;
    records_[ref] = Component();
    records_[ref].number = ref;
    return ref;
  }
  if (records_.size() >= kNoComponent) {
    PostOutOfMemory();
    return kNoComponent;
  }
  try {
    records_.emplace_back();
  } catch (const std::bad_alloc&) {
    PostOutOfMemory();
    return kNoComponent;
  }
  const ComponentRef ref = static_cast<ComponentRef>(records_.size() - 1);
  records_[ref].number = ref;
  return ref;
}

void ComponentPool::Free(ComponentRef ref) {
  JOV_DCHECK(ref < records_.size() && !IsRoot(ref) && records_[ref].number == ref,
             "a component freed twice, a root, or never allocated");
  records_[ref] = Component();
  records_[ref].next_sibling = free_head_;
  free_head_ = ref;
}

bool ComponentPool::IsLive(ComponentRef ref) const {
  return ref < records_.size() && (IsRoot(ref) || records_[ref].parent != kNoComponent);
}

ComponentRef ComponentPool::LastChild(ComponentRef ref) const {
  const ComponentRef first = records_[ref].first_child;
  return first == kNoComponent ? kNoComponent : records_[first].prev_sibling;
}

void ComponentPool::AppendChild(ComponentRef parent, ComponentRef child) {
  Component& node = records_[child];
  node.parent = parent;
  node.next_sibling = kNoComponent;
  Component& up = records_[parent];
  if (up.first_child == kNoComponent) {
    up.first_child = child;
    node.prev_sibling = child;
    return;
  }
  const ComponentRef last = records_[up.first_child].prev_sibling;
  records_[last].next_sibling = child;
  node.prev_sibling = last;
  records_[up.first_child].prev_sibling = child;
}

void ComponentPool::Unlink(ComponentRef ref) {
  Component& node = records_[ref];
  Component& up = records_[node.parent];
  const ComponentRef first = up.first_child;
  if (ref == first) {
    up.first_child = node.next_sibling;
    if (node.next_sibling != kNoComponent)
      records_[node.next_sibling].prev_sibling = node.prev_sibling;
  } else {
    records_[node.prev_sibling].next_sibling = node.next_sibling;
    const ComponentRef after = node.next_sibling == kNoComponent ? first : node.next_sibling;
    records_[after].prev_sibling = node.prev_sibling;
  }
  node.parent = kNoComponent;
  node.next_sibling = kNoComponent;
  node.prev_sibling = kNoComponent;
}

int ComponentPool::DimensionOf(ComponentRef ref) const {
  while (!IsRoot(ref)) ref = records_[ref].parent;
  return static_cast<int>(ref);
}

ComponentRef ComponentPool::NextInPreorder(ComponentRef ref, int* depth_change) const {
  int change = 0;
  const Component* node = &records_[ref];
  if (node->first_child != kNoComponent) {
    change = 1;
    ref = node->first_child;
  } else {
    while (!IsRoot(ref) && records_[ref].next_sibling == kNoComponent) {
      ref = records_[ref].parent;
      --change;
    }
    if (!IsRoot(ref)) ref = records_[ref].next_sibling;
  }
  if (depth_change != nullptr) *depth_change = change;
  return ref;
}

bool ComponentPool::IsDescendant(ComponentRef ancestor, ComponentRef ref) const {
  while (ref != kNoComponent) {
    if (ref == ancestor) return true;
    ref = records_[ref].parent;
  }
  return false;
}

int ComponentPool::Level(ComponentRef ref) const {
  int level = 0;
  while (!IsRoot(ref)) {
    ref = records_[ref].parent;
    ++level;
  }
  return level;
}

}  // namespace jov
