// Where one command run's result values live. A listing of a hundred
// thousand volumes makes close to a million values; giving each its own heap
// block and its own shared count costs more than reading the rows.
//
// An arena is shared: every shared_ptr to a value in it shares the arena's
// own count (the aliasing constructor), so the arena lives while any of its
// values is held anywhere and goes with the last one. A Scope makes an arena
// the thread's current one; while it is, every value MetaObj::New() makes on
// that thread is placed in it. Structures and lists in an arena hold plain
// pointers: to values of the same arena, or to values made elsewhere, which
// the arena keeps alive until it ends.
#ifndef FRAMEWORK_VALUE_ARENA_H_
#define FRAMEWORK_VALUE_ARENA_H_

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/value_shape.h"

namespace Cordra {
namespace MetaObj {

class MetaObj;

class ValueArena {
 public:
  // Makes the thread's current arena `arena` (a new one by default) until
  // the scope ends, then the one before it again.
  class Scope {
   public:
    explicit Scope(std::shared_ptr<ValueArena> arena = ValueArena::Make());
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    const std::shared_ptr<ValueArena>& arena() const { return arena_; }

   private:
    friend class ValueArena;
    std::shared_ptr<ValueArena> arena_;
    Scope* outer_;
  };

  static std::shared_ptr<ValueArena> Make();
  // Destroys what needs destroying, lets go of what it kept alive and frees
  // every block.
  ~ValueArena();
  ValueArena(const ValueArena&) = delete;
  ValueArena& operator=(const ValueArena&) = delete;

  // The thread's current arena, or null outside every Scope.
  static const std::shared_ptr<ValueArena>* Current() {
    return current_ ? &current_->arena_ : nullptr;
  }
  // The arena of the values that live as long as the process (the empty
  // values, the booleans), and the lock under which they are made in it.
  static const std::shared_ptr<ValueArena>& ForeverArena();
  static std::recursive_mutex& ForeverLock();

  // A shared_ptr to `obj`, a value placed in this arena, sharing its count.
  template <class T>
  std::shared_ptr<T> Share(T* obj) const {
    return std::shared_ptr<T>(self_.lock(), obj);
  }
  // True when `value` is one of this arena's (it shares this arena's count)
  // or lives as long as the process: a plain pointer to it is then safe for
  // as long as this arena lives, without keeping it alive.
  bool Holds(const std::shared_ptr<MetaObj>& value) const;
  // Throws std::logic_error unless this arena is current on this thread
  // (the innermost scope or one around it): a value of a run is changed
  // only by that run, on its thread.
  void CheckCurrent() const;
  // The common case of both checks, for every field a run sets: this is the
  // innermost current arena, and `value` one of its own or of the arena
  // that never ends.
  bool IsInnermostWith(const std::shared_ptr<MetaObj>& value) const {
    if (!current_ || current_->arena_.get() != this) return false;
    auto same = [&value](const std::shared_ptr<ValueArena>& arena) {
      return !value.owner_before(arena) && !arena.owner_before(value);
    };
    const std::shared_ptr<ValueArena>* forever = forever_.load(std::memory_order_acquire);
    return same(current_->arena_) || (forever && same(*forever));
  }

  // `size` bytes aligned to 8, valid until the arena ends.
  void* Allocate(size_t size) {
    size = (size + 7) & ~size_t{7};
    if (size > static_cast<size_t>(end_ - next_)) return AllocateSlow(size);
    void* p = next_;
    next_ += size;
    return p;
  }

  // Runs `obj`'s destructor when the arena ends; for values holding memory
  // of their own (a list's vector).
  void DestroyAtEnd(MetaObj* obj) { destroy_.push_back(obj); }
  // Keeps `owner` alive until the arena ends.
  void KeepAlive(std::shared_ptr<const void> owner) { keep_.push_back(std::move(owner)); }
  // The std::string of a string value `value` placed in an arena, made on
  // the first request and kept until that arena ends. Safe from any thread.
  static const std::string& CopyOf(const void* value, std::string_view text);

  // The interned shapes of the structures made in this arena.
  ShapeTable& shapes() { return shapes_; }

 private:
  ValueArena() = default;
  void* AllocateSlow(size_t size);

  // libcordra is linked, never loaded later, so the fast TLS model is open
  // to it: every value made asks for the current arena.
  __attribute__((tls_model("initial-exec"))) static thread_local Scope* current_;
  // ForeverArena(), once made: read without the guard of a local static.
  static std::atomic<const std::shared_ptr<ValueArena>*> forever_;

  std::weak_ptr<ValueArena> self_;
  char* next_ = nullptr;
  char* end_ = nullptr;
  size_t block_size_ = 64 * 1024;  // doubles up to the largest block as the run grows
  std::vector<std::pair<char*, size_t>> blocks_;  // from malloc() or aligned_alloc()
  std::vector<MetaObj*> destroy_;
  std::vector<std::shared_ptr<const void>> keep_;
  ShapeTable shapes_;
};

}  // namespace MetaObj
}  // namespace Cordra

#endif  // FRAMEWORK_VALUE_ARENA_H_
