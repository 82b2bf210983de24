#include "commands/kovra/pbcache.h"

#include <cstdint>
#include <string>
#include <vector>

#include "hostctl/host.h"

namespace TarvexCli {
namespace FileSystem {

using MetaObj::MetaInt;

namespace {

const char kRecordName[] = "KovraPBCacheGet";
const char kHeapName[] = "kovra3";

// Display values are 32-bit: a quotient keeps its low 32 bits.
int64_t Low32(uint64_t value) { return static_cast<uint32_t>(value); }

int64_t ToMiB(uint64_t bytes) { return Low32(bytes >> 20); }
int64_t ToTiB(uint64_t bytes) { return Low32(bytes >> 40); }
int64_t ToKiB(uint64_t bytes) { return Low32(bytes >> 10); }

// The first heap named exactly "kovra3", or null.
HostCtl::Hardware::HeapInfo* FindKovraHeap(
    const std::vector<std::unique_ptr<HostCtl::Hardware::HeapInfo>>& heaps) {
  for (const auto& heap : heaps) {
    if (heap->GetName() == kHeapName) return heap.get();
  }
  return nullptr;
}

}  // namespace

std::shared_ptr<KovraPBCacheGet> KovraPBCacheGet::New() {
  return NewBoundCommand<KovraPBCacheGet>();
}

KovraPBCacheGet::KovraPBCacheGet() {
  SetDescription("Get Kovra Pointer Block cache statistics.");
  SetDefaultOutputFormatter("simple");
  SetDefaultOutputParameter("units:KovraPBCacheGet.Cache Capacity Miss Ratio", "%");
  SetDefaultOutputParameter("units:KovraPBCacheGet.Cache Size", "MiB");
  SetDefaultOutputParameter("units:KovraPBCacheGet.Cache Size Max", "MiB");
  SetDefaultOutputParameter("units:KovraPBCacheGet.Cache Usage", "%");
  SetDefaultOutputParameter("units:KovraPBCacheGet.Cache Working Set", "TiB");
  SetDefaultOutputParameter("units:KovraPBCacheGet.Cache Working Set Max", "TiB");
  SetDefaultOutputParameter("units:KovraPBCacheGet.Kovra Heap Overhead", "KiB");
  SetDefaultOutputParameter("units:KovraPBCacheGet.Kovra Heap Size", "MiB");
  SetDefaultOutputParameter("units:KovraPBCacheGet.Kovra Heap Size Max", "MiB");
}

KovraPBCacheGet::~KovraPBCacheGet() = default;

std::shared_ptr<CallSpec::InputSpec> KovraPBCacheGet::GetInputSpecInternal() {
  return CallSpec::InputSpec::New();
}

std::shared_ptr<CallSpec::OutputSpec> KovraPBCacheGet::GetOutputSpecInternal() {
  return OutputSpecOf(GetOutputStructure());
}

std::shared_ptr<MetaObj::MetaStruct> KovraPBCacheGet::GetOutputStructure() {
  return EmptyStruct(kRecordName, {{"Cache Capacity Miss Ratio", MetaObj::META_INT},
                                   {"Cache Size", MetaObj::META_INT},
                                   {"Cache Size Max", MetaObj::META_INT},
                                   {"Cache Usage", MetaObj::META_INT},
                                   {"Cache Working Set", MetaObj::META_INT},
                                   {"Cache Working Set Max", MetaObj::META_INT},
                                   {"Kovra Heap Overhead", MetaObj::META_INT},
                                   {"Kovra Heap Size", MetaObj::META_INT},
                                   {"Kovra Heap Size Max", MetaObj::META_INT}});
}

void KovraPBCacheGet::ExecuteInternal(const InputPtr&, const OutputPtr& output) {
  try {
    auto host = HostCtl::HostFactory::GetHost();
    std::unique_ptr<HostCtl::Hardware::MemoryInfo> memory =
        host->GetHardwareInfo()->GetMemoryInfo();
    const auto heaps = memory->GetHeaps();
    HostCtl::Hardware::HeapInfo* heap = FindKovraHeap(heaps);
    // Without a live "kovra3" heap nothing is shown, not even cache
    // statistics that could be read.
    if (!heap || heap->GetCurrentSize() == 0) {
      output->AddErrorMessage("Did not find Kovra3 heap stats!");
      return;
    }
    HostCtl::Storage::PBCacheStats stats;
    {
      auto storage = host->GetStorageInfo();
      stats = storage->GetPBCache()->GetStats();
    }
    const uint64_t usage = stats.cacheSizeMax == 0 ? 0 : stats.cacheSize * 100 / stats.cacheSizeMax;
    auto record = GetOutputStructure();
    record->SetField("Cache Capacity Miss Ratio", MetaInt::New(stats.capacityMissRatio));
    record->SetField("Cache Size", MetaInt::New(ToMiB(stats.cacheSize)));
    record->SetField("Cache Size Max", MetaInt::New(ToMiB(stats.cacheSizeMax)));
    record->SetField("Cache Usage", MetaInt::New(Low32(usage)));
    record->SetField("Cache Working Set", MetaInt::New(ToTiB(stats.workingSet)));
    record->SetField("Cache Working Set Max", MetaInt::New(ToTiB(stats.workingSetMax)));
    record->SetField("Kovra Heap Overhead", MetaInt::New(ToKiB(stats.heapOverhead)));
    record->SetField("Kovra Heap Size", MetaInt::New(ToMiB(heap->GetCurrentSize())));
    record->SetField("Kovra Heap Size Max", MetaInt::New(ToMiB(heap->GetMaxSize())));
    output->SetRootObject(record);
  } catch (const HostCtl::Lib::HostCtlException&) {
    output->AddErrorMessage("Error getting data for Kovra heap size.");
  }
}

std::shared_ptr<KovraPBCacheReset> KovraPBCacheReset::New() {
  return NewBoundCommand<KovraPBCacheReset>();
}

KovraPBCacheReset::KovraPBCacheReset() {
  SetDescription("Reset the Kovra Pointer Block cache statistics.");
}

KovraPBCacheReset::~KovraPBCacheReset() = default;

std::shared_ptr<CallSpec::InputSpec> KovraPBCacheReset::GetInputSpecInternal() {
  return CallSpec::InputSpec::New();
}

std::shared_ptr<CallSpec::OutputSpec> KovraPBCacheReset::GetOutputSpecInternal() {
  return OutputSpecOf(MetaObj::MetaBool::New());
}

void KovraPBCacheReset::ExecuteInternal(const InputPtr&, const OutputPtr& output) {
  try {
    auto storage = HostCtl::HostFactory::GetHost()->GetStorageInfo();
    storage->GetPBCache()->ResetStats();
    output->SetRootObject(MetaObj::MetaBool::New(true));
  } catch (const HostCtl::Lib::HostCtlException&) {
    output->AddErrorMessage("Error resetting Kovra Pointer Block cache statistics.");
  }
}

}  // namespace FileSystem
}  // namespace TarvexCli
