#include "hostctl/json_reader.h"

#include <cstdio>

#include "hostctl/sim.h"

namespace HostCtl {
namespace Sim {
namespace {

const char* TypeName(const nlohmann::json& value) {
  switch (value.type()) {
    case nlohmann::json::value_t::null:
      return "null";
    case nlohmann::json::value_t::boolean:
      return "a boolean";
    case nlohmann::json::value_t::string:
      return "a string";
    case nlohmann::json::value_t::array:
      return "an array";
    case nlohmann::json::value_t::object:
      return "an object";
    case nlohmann::json::value_t::number_float:
      return "a fractional number";
    default:
      return "an integer";
  }
}

// A fixture's keys and values may hold any character; a message naming them
// stays one line: control characters as \xNN.
std::string OneLine(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

// JSON Pointer escaping of one member name.
std::string Escape(const std::string& key) {
  std::string out;
  for (char c : key) {
    if (c == '~') {
      out += "~0";
    } else if (c == '/') {
      out += "~1";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

const std::string JsonReader::kRoot = "/";

void JsonReader::Fail(const std::string& reason) const {
  throw FixtureError(file_ + ": " + OneLine(path() + ": " + reason));
}

void JsonReader::WrongType(const char* expected) const {
  Fail(std::string("expected ") + expected + ", got " + TypeName(value_));
}

void JsonReader::ExpectObject(std::initializer_list<const char*> allowed) const {
  if (!value_.is_object()) WrongType("an object");
  for (const auto& member : value_.items()) {
    bool known = false;
    for (const char* key : allowed) known = known || member.key() == key;
    if (!known)
      JsonReader(member.value(), file_, path_ + "/" + Escape(member.key())).Fail("unknown key");
  }
}

bool JsonReader::Has(const char* key) const { return value_.contains(key); }

JsonReader JsonReader::operator[](const char* key) const {
  if (!value_.is_object()) WrongType("an object");
  auto it = value_.find(key);
  if (it == value_.end()) Fail(std::string("missing key \"") + key + "\"");
  return JsonReader(*it, file_, path_ + "/" + Escape(key));
}

JsonReader JsonReader::At(size_t index) const {
  return JsonReader(value_.at(index), file_, path_ + "/" + std::to_string(index));
}

size_t JsonReader::Size() const {
  if (!value_.is_array()) WrongType("an array");
  return value_.size();
}

std::string JsonReader::String() const {
  if (!value_.is_string()) WrongType("a string");
  return value_.get<std::string>();
}

bool JsonReader::Bool() const {
  if (!value_.is_boolean()) WrongType("a boolean");
  return value_.get<bool>();
}

int64_t JsonReader::Int(int64_t min, int64_t max) const {
  if (!value_.is_number_integer()) WrongType("an integer");
  bool in_range;
  if (value_.is_number_unsigned()) {
    uint64_t v = value_.get<uint64_t>();
    in_range = max >= 0 && v <= static_cast<uint64_t>(max) &&
               (min <= 0 || v >= static_cast<uint64_t>(min));
  } else {
    int64_t v = value_.get<int64_t>();
    in_range = v >= min && v <= max;
  }
  if (!in_range) {
    Fail("expected an integer from " + std::to_string(min) + " to " + std::to_string(max) +
         ", got " + value_.dump());
  }
  return value_.get<int64_t>();
}

uint64_t JsonReader::UInt64() const {
  if (!value_.is_number_integer()) WrongType("an integer");
  if (!value_.is_number_unsigned() && value_.get<int64_t>() < 0) {
    Fail("expected an integer from 0 to 18446744073709551615, got " + value_.dump());
  }
  return value_.get<uint64_t>();
}

std::string JsonReader::String(const char* key, const std::string& fallback) const {
  return Has(key) ? (*this)[key].String() : fallback;
}

bool JsonReader::Bool(const char* key, bool fallback) const {
  return Has(key) ? (*this)[key].Bool() : fallback;
}

int64_t JsonReader::Int(const char* key, int64_t fallback, int64_t min, int64_t max) const {
  return Has(key) ? (*this)[key].Int(min, max) : fallback;
}

uint64_t JsonReader::UInt64(const char* key, uint64_t fallback) const {
  return Has(key) ? (*this)[key].UInt64() : fallback;
}

}  // namespace Sim
}  // namespace HostCtl
