// The host and its host-wide objects: advanced options, kernel heaps, the
// pointer-block cache.
#include "hostctl/impl/handles.h"
#include "hostctl/impl/host_objects.h"
#include "hostctl/store/session.h"
#include "hostctl/store/sqlite_db.h"

namespace HostCtl {
namespace {

using Sim::CheckFault;
using Sim::Db;
using Sim::Op;
using Sim::Session;
using Sim::Stmt;

class IntegerOption : public Adv::AdvancedIntegerOption {
 public:
  IntegerOption(std::string group, std::string name, int64_t value)
      : group_(std::move(group)), name_(std::move(name)), value_(value) {}
  ~IntegerOption() override;
  std::string GetName() override {
    CheckFault(Op::GetName, {name_, group_ + "/" + name_});
    return name_;
  }
  int64_t GetValue() override {
    CheckFault(Op::GetValue, {name_, group_ + "/" + name_});
    return value_;
  }

 private:
  std::string group_;
  std::string name_;
  int64_t value_;
};
IntegerOption::~IntegerOption() = default;

class StringOption : public Adv::AdvancedStringOption {
 public:
  StringOption(std::string group, std::string name, std::string value)
      : group_(std::move(group)), name_(std::move(name)), value_(std::move(value)) {}
  ~StringOption() override;
  std::string GetName() override {
    CheckFault(Op::GetName, {name_, group_ + "/" + name_});
    return name_;
  }
  std::string GetValue() override {
    CheckFault(Op::GetValue, {name_, group_ + "/" + name_});
    return value_;
  }

 private:
  std::string group_;
  std::string name_;
  std::string value_;
};
StringOption::~StringOption() = default;

class OptionGroup : public Adv::AdvancedOptionGroup {
 public:
  explicit OptionGroup(std::string name) : name_(std::move(name)) {}
  ~OptionGroup() override;
  std::unique_ptr<Adv::AdvancedOption> GetOption(const std::string& name) override {
    CheckFault(Op::GetOption, {name, name_ + "/" + name});
    Stmt stmt = Session::Get().db().Prepare(
        "SELECT is_string, int_value, string_value FROM advanced_options WHERE grp = ? AND "
        "name = ? AND host_id = " +
        Sim::ThisHost());
    stmt.Bind(1, name_).Bind(2, name);
    if (!stmt.Step()) {
      throw Lib::HostCtlException("Advanced option '" + name_ + "/" + name + "' does not exist");
    }
    if (stmt.Int(0)) return std::make_unique<StringOption>(name_, name, stmt.Text(2));
    return std::make_unique<IntegerOption>(name_, name, stmt.Int(1));
  }

 private:
  std::string name_;
};
OptionGroup::~OptionGroup() = default;

class Options : public Adv::AdvancedOptions {
 public:
  ~Options() override;
  std::unique_ptr<Adv::AdvancedOptionGroup> GetOptionGroup(const std::string& name) override {
    CheckFault(Op::GetOptionGroup, {name});
    Stmt stmt = Session::Get().db().Prepare(
        "SELECT 1 FROM advanced_options WHERE grp = ? AND host_id = " + Sim::ThisHost());
    stmt.Bind(1, name);
    if (!stmt.Step()) {
      throw Lib::HostCtlException("Advanced option group '" + name + "' does not exist");
    }
    return std::make_unique<OptionGroup>(name);
  }
};
Options::~Options() = default;

class Heap : public Hardware::HeapInfo {
 public:
  explicit Heap(Sim::HeapRecord record) : record_(std::move(record)) {}
  ~Heap() override;
  std::string GetName() override {
    CheckFault(Op::GetName, {record_.name});
    return record_.name;
  }
  uint64_t GetCurrentSize() override {
    CheckFault(Op::GetCurrentSize, {record_.name});
    return record_.current;
  }
  uint64_t GetMaxSize() override {
    CheckFault(Op::GetMaxSize, {record_.name});
    return record_.max;
  }

 private:
  Sim::HeapRecord record_;
};
Heap::~Heap() = default;

class Memory : public Hardware::MemoryInfo {
 public:
  ~Memory() override;
  std::vector<std::unique_ptr<Hardware::HeapInfo>> GetHeaps() override {
    CheckFault(Op::GetHeaps);
    Stmt stmt = Session::Get().db().Prepare(
        "SELECT name, current, max FROM heaps WHERE host_id = " + Sim::ThisHost() + " ORDER BY id");
    std::vector<std::unique_ptr<Hardware::HeapInfo>> heaps;
    while (stmt.Step()) {
      heaps.push_back(std::make_unique<Heap>(Sim::HeapRecord{
          stmt.Text(0), static_cast<uint64_t>(stmt.Int(1)), static_cast<uint64_t>(stmt.Int(2))}));
    }
    return heaps;
  }
};
Memory::~Memory() = default;

class HardwareImpl : public Hardware::HardwareInfo {
 public:
  ~HardwareImpl() override;
  std::unique_ptr<Hardware::MemoryInfo> GetMemoryInfo() override {
    CheckFault(Op::GetMemoryInfo);
    return std::make_unique<Memory>();
  }
};
HardwareImpl::~HardwareImpl() = default;

class PBCacheImpl : public Storage::PBCache {
 public:
  ~PBCacheImpl() override;
  Storage::PBCacheStats GetStats() override {
    CheckFault(Op::GetStats);
    Stmt stmt = Session::Get().db().Prepare(
        "SELECT pb_cache_size, pb_cache_size_max, pb_working_set, pb_working_set_max, "
        "pb_heap_overhead, pb_capacity_miss_ratio FROM host WHERE id = " +
        Sim::ThisHost());
    Storage::PBCacheStats stats;
    if (stmt.Step()) {
      stats.cacheSize = static_cast<uint64_t>(stmt.Int(0));
      stats.cacheSizeMax = static_cast<uint64_t>(stmt.Int(1));
      stats.workingSet = static_cast<uint64_t>(stmt.Int(2));
      stats.workingSetMax = static_cast<uint64_t>(stmt.Int(3));
      stats.heapOverhead = static_cast<uint64_t>(stmt.Int(4));
      stats.capacityMissRatio = static_cast<int32_t>(stmt.Int(5));
    }
    return stats;
  }
  void ResetStats() override {
    CheckFault(Op::ResetStats);
    Sim::WriteTransaction([](Db& db) {
      db.Exec(
          "UPDATE host SET pb_capacity_miss_ratio = 0, pb_working_set_max = pb_working_set "
          "WHERE id = " +
          Sim::ThisHost());
    });
  }
};
PBCacheImpl::~PBCacheImpl() = default;

class HostImpl : public Host {
 public:
  ~HostImpl() override;
  std::unique_ptr<Storage::StorageInfo> GetStorageInfo() override {
    CheckFault(Op::GetStorageInfo);
    return std::make_unique<StrelCtl::Storage::StorageInfoImpl>();
  }
  std::unique_ptr<Adv::AdvancedOptions> GetAdvancedOptions() override {
    CheckFault(Op::GetAdvancedOptions);
    return std::make_unique<Options>();
  }
  std::unique_ptr<Hardware::HardwareInfo> GetHardwareInfo() override {
    CheckFault(Op::GetHardwareInfo);
    return std::make_unique<HardwareImpl>();
  }
};
HostImpl::~HostImpl() = default;

}  // namespace

std::unique_ptr<Host> HostFactory::GetHost() {
  CheckFault(Op::GetHost);
  return std::make_unique<HostImpl>();
}

namespace Sim {
std::unique_ptr<Storage::PBCache> MakePBCache() { return std::make_unique<PBCacheImpl>(); }
}  // namespace Sim

}  // namespace HostCtl
