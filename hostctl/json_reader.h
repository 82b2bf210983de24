// Typed, path-aware access to a parsed fixture: every error names the file
// and the JSON path of the value (e.g. "host.json: /volumes/3/name: ...").
#ifndef HOSTCTL_JSON_READER_H_
#define HOSTCTL_JSON_READER_H_

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>

#include <nlohmann/json.hpp>

namespace HostCtl {
namespace Sim {

class JsonReader {
 public:
  JsonReader(const nlohmann::json& value, std::string file, std::string path = "")
      : value_(value), file_(std::move(file)), path_(std::move(path)) {}

  // Throws FixtureError "FILE: PATH: reason".
  [[noreturn]] void Fail(const std::string& reason) const;
  const std::string& path() const { return path_.empty() ? kRoot : path_; }
  const std::string& file() const { return file_; }

  // Requires an object whose keys are all among `allowed`.
  void ExpectObject(std::initializer_list<const char*> allowed) const;
  bool Has(const char* key) const;
  // The member `key` (required), or element `index` of an array.
  JsonReader operator[](const char* key) const;
  JsonReader At(size_t index) const;
  // The number of elements of an array.
  size_t Size() const;
  bool IsNull() const { return value_.is_null(); }
  const nlohmann::json& value() const { return value_; }

  std::string String() const;
  bool Bool() const;
  int64_t Int(int64_t min = std::numeric_limits<int64_t>::min(),
              int64_t max = std::numeric_limits<int64_t>::max()) const;
  uint64_t UInt64() const;
  uint32_t UInt32() const { return static_cast<uint32_t>(Int(0, 4294967295)); }

  // Optional members: `fallback` when the key is absent.
  std::string String(const char* key, const std::string& fallback) const;
  bool Bool(const char* key, bool fallback) const;
  int64_t Int(const char* key, int64_t fallback, int64_t min, int64_t max) const;
  uint64_t UInt64(const char* key, uint64_t fallback) const;
  uint32_t UInt32(const char* key, uint32_t fallback) const {
    return static_cast<uint32_t>(Int(key, fallback, 0, 4294967295));
  }

 private:
  static const std::string kRoot;
  [[noreturn]] void WrongType(const char* expected) const;

  const nlohmann::json& value_;
  std::string file_;
  std::string path_;
};

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_JSON_READER_H_
