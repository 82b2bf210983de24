// Where one command run's result values live. A listing of a hundred
// thousand volumes makes close to a million values; giving each its own heap
// block and its own shared count costs more than reading the rows.
//
// While a ValueArena is in scope on a thread, every value MetaObj::New()
// makes on that thread is placed in the arena, and the shared_ptr it returns
// does not count references: the arena owns the value, and destroys it when
// the arena ends. A value made before the arena (a prototype, a shared empty
// value) and set into one made in it is kept alive by the arena until then.
//
// That is safe because a run's result is rendered, and its messages printed,
// before the run's arena ends, and nothing keeps a result afterwards. Code
// that must keep values longer (tests holding a command's output) makes them
// outside any arena, where every value owns itself as before.
#ifndef FRAMEWORK_VALUE_ARENA_H_
#define FRAMEWORK_VALUE_ARENA_H_

#include <cstddef>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Cordra {
namespace MetaObj {

class MetaObj;

class ValueArena {
 public:
  // Becomes the thread's arena until it ends. While one is current, another
  // made on the same thread adds nothing: values stay in the first, which
  // outlives it.
  ValueArena();
  // Destroys what needs destroying and frees every block.
  ~ValueArena();
  ValueArena(const ValueArena&) = delete;
  ValueArena& operator=(const ValueArena&) = delete;

  // The thread's current arena (the first of any nested ones), or null.
  static ValueArena* Current() { return current_; }

  // `size` bytes aligned to 8, valid until the arena ends.
  void* Allocate(size_t size) {
    size = (size + 7) & ~size_t{7};
    if (size > static_cast<size_t>(end_ - next_)) return AllocateSlow(size);
    void* p = next_;
    next_ += size;
    return p;
  }

  // The std::string of a string value's `text`, made on the first request
  // for `value` and kept until the arena ends.
  const std::string& CopyOf(const void* value, std::string_view text) {
    auto it = copies_.find(value);
    if (it == copies_.end()) it = copies_.emplace(value, std::string(text)).first;
    return it->second;
  }

  // Runs `obj`'s destructor when the arena ends; for values holding memory
  // of their own (a list's vector).
  void DestroyAtEnd(MetaObj* obj) { destroy_.push_back(obj); }

  // Keeps `owner` (a value made outside the arena) alive until the arena
  // ends.
  void KeepAlive(std::shared_ptr<const void> owner) { keep_.push_back(std::move(owner)); }

 private:
  void* AllocateSlow(size_t size);

  // libcordra is linked, never loaded later, so the fast TLS model is open
  // to it: every value made asks for the current arena.
  __attribute__((tls_model("initial-exec"))) static thread_local ValueArena* current_;

  bool active_;  // false for an arena made while another was current
  char* next_ = nullptr;
  char* end_ = nullptr;
  size_t block_size_ = 64 * 1024;  // doubles up to kMaxBlock as the run grows
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::vector<MetaObj*> destroy_;
  std::vector<std::shared_ptr<const void>> keep_;
  std::unordered_map<const void*, std::string> copies_;
};

}  // namespace MetaObj
}  // namespace Cordra

#endif  // FRAMEWORK_VALUE_ARENA_H_
