#include "framework/value_arena.h"

#include "cordra/meta_obj.h"

namespace Cordra {
namespace MetaObj {

namespace {
// Blocks grow to this size; a larger request gets a block of its own.
constexpr size_t kMaxBlock = 1 << 20;
}  // namespace

thread_local ValueArena* ValueArena::current_ = nullptr;

ValueArena::ValueArena() : active_(current_ == nullptr) {
  if (active_) current_ = this;
}

ValueArena::~ValueArena() {
  // Newest first, as automatic objects end: a list made after its elements
  // goes before them.
  for (auto it = destroy_.rbegin(); it != destroy_.rend(); ++it) (*it)->~MetaObj();
  if (active_) current_ = nullptr;
}

void* ValueArena::AllocateSlow(size_t size) {
  if (size > block_size_ / 4) {
    // Kept apart, so that the current block's free space is not wasted.
    blocks_.emplace_back(new char[size]);
    return blocks_.back().get();
  }
  blocks_.emplace_back(new char[block_size_]);
  next_ = blocks_.back().get();
  end_ = next_ + block_size_;
  if (block_size_ < kMaxBlock) block_size_ *= 2;
  void* p = next_;
  next_ += size;
  return p;
}

}  // namespace MetaObj
}  // namespace Cordra
