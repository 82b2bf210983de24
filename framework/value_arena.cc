#include "framework/value_arena.h"

#include <sys/mman.h>

#include <cstdlib>
#include <map>
#include <new>
#include <stdexcept>

#include "cordra/meta_obj.h"

namespace Cordra {
namespace MetaObj {

namespace {

// Blocks grow to this size, which the kernel can back with one huge page: a
// large listing then takes a few page faults instead of thousands.
constexpr size_t kHugeBlock = 2 << 20;

// The std::strings made of arena strings, by the string's address; an
// arena's end removes those within its blocks.
std::mutex& CopiesLock() {
  static auto* lock = new std::mutex;
  return *lock;
}
std::map<const void*, std::string>& Copies() {
  static auto* copies = new std::map<const void*, std::string>;
  return *copies;
}

bool SameOwner(const std::shared_ptr<MetaObj>& value, const std::weak_ptr<ValueArena>& arena) {
  return !value.owner_before(arena) && !arena.owner_before(value);
}

}  // namespace

thread_local ValueArena::Scope* ValueArena::current_ = nullptr;

ValueArena::Scope::Scope(std::shared_ptr<ValueArena> arena)
    : arena_(std::move(arena)), outer_(current_) {
  current_ = this;
}

ValueArena::Scope::~Scope() { current_ = outer_; }

std::shared_ptr<ValueArena> ValueArena::Make() {
  std::shared_ptr<ValueArena> arena(new ValueArena);
  arena->self_ = arena;
  return arena;
}

std::atomic<const std::shared_ptr<ValueArena>*> ValueArena::forever_{nullptr};

const std::shared_ptr<ValueArena>& ValueArena::ForeverArena() {
  static const auto* forever = [] {
    const auto* made = new std::shared_ptr<ValueArena>(Make());
    forever_.store(made, std::memory_order_release);
    return made;
  }();
  return *forever;
}

std::recursive_mutex& ValueArena::ForeverLock() {
  static auto* lock = new std::recursive_mutex;
  return *lock;
}

ValueArena::~ValueArena() {
  // Newest first, as automatic objects end: a list made after its elements
  // goes before them.
  for (auto it = destroy_.rbegin(); it != destroy_.rend(); ++it) (*it)->~MetaObj();
  {
    std::lock_guard<std::mutex> lock(CopiesLock());
    auto& copies = Copies();
    for (const auto& [block, bytes] : blocks_) {
      copies.erase(copies.lower_bound(block), copies.lower_bound(block + bytes));
    }
  }
  for (const auto& block : blocks_) std::free(block.first);
}

bool ValueArena::Holds(const std::shared_ptr<MetaObj>& value) const {
  return !value || SameOwner(value, self_) || SameOwner(value, ForeverArena()->self_);
}

void ValueArena::CheckCurrent() const {
  for (const Scope* scope = current_; scope; scope = scope->outer_) {
    if (scope->arena_.get() == this) return;
  }
  throw std::logic_error("a value of a command run changed outside the run that made it");
}

const std::string& ValueArena::CopyOf(const void* value, std::string_view text) {
  std::lock_guard<std::mutex> lock(CopiesLock());
  auto& copies = Copies();
  auto it = copies.find(value);
  if (it == copies.end()) it = copies.emplace(value, std::string(text)).first;
  return it->second;
}

void* ValueArena::AllocateSlow(size_t size) {
  const bool alone = size > block_size_ / 4;  // kept apart: the current block's room stays
  const size_t bytes = alone ? size : block_size_;
  char* block;
  if (bytes == kHugeBlock) {
    block = static_cast<char*>(std::aligned_alloc(kHugeBlock, kHugeBlock));
    if (block) madvise(block, kHugeBlock, MADV_HUGEPAGE);
  } else {
    block = static_cast<char*>(std::malloc(bytes));
  }
  if (!block) throw std::bad_alloc();
  blocks_.emplace_back(block, bytes);
  if (alone) return block;
  next_ = block;
  end_ = block + bytes;
  if (block_size_ < kHugeBlock) block_size_ *= 2;
  void* p = next_;
  next_ += size;
  return p;
}

}  // namespace MetaObj
}  // namespace Cordra
