#include "commands/kovra/pbcache.h"
#include "tests/commands/kovra/admin_fixture.h"

namespace TarvexCli {
namespace Testing {
namespace {

const uint64_t kTiB = 1ull << 40;
const uint64_t k32Bits = 0xffffffffull;

nlohmann::json Heap(const char* name, uint64_t current, uint64_t max) {
  return {{"name", name}, {"current", current}, {"max", max}};
}

class KovraPBCacheTest : public KovraAdminTest {
 protected:
  void UseCache(const nlohmann::json& pbcache, const std::vector<nlohmann::json>& heaps) {
    nlohmann::json host = Host();
    host["faults"] = nlohmann::json::array();
    host["pbcache"] = pbcache;
    host["heaps"] = heaps;
    UseHost(host);
  }
  Row Get() {
    auto output = Run(*get_);
    EXPECT_TRUE(Errors(*output).empty());
    return Record(*output);
  }
  std::shared_ptr<FileSystem::KovraPBCacheGet> get_ = FileSystem::KovraPBCacheGet::New();
};

TEST_F(KovraPBCacheTest, ConversionsTruncateAndKeepTheLow32Bits) {
  UseCache({{"cache_size", kMiB - 1},
            {"cache_size_max", 0},
            {"working_set", kTiB - 1},
            {"working_set_max", UINT64_MAX},
            {"heap_overhead", 1023},
            {"capacity_miss_ratio", 0}},
           {Heap("kovra3", (k32Bits + 6) * kMiB, k32Bits * kMiB)});
  EXPECT_EQ(Get(), (Row{{"Cache Capacity Miss Ratio", "0"},
                        {"Cache Size", "0"},
                        {"Cache Size Max", "0"},
                        {"Cache Usage", "0"},  // no maximum: no division
                        {"Cache Working Set", "0"},
                        {"Cache Working Set Max", "16777215"},
                        {"Kovra Heap Overhead", "0"},
                        {"Kovra Heap Size", "5"},
                        {"Kovra Heap Size Max", "4294967295"}}));
}

TEST_F(KovraPBCacheTest, OnlyTheFirstLiveKovra3HeapCounts) {
  const nlohmann::json cache = Host()["pbcache"];
  for (const std::vector<nlohmann::json>& heaps :
       {std::vector<nlohmann::json>{},
        {Heap("Kovra3", kMiB, kMiB)},
        {Heap("kovra3", 0, kMiB), Heap("kovra3", kMiB, kMiB)}}) {
    UseCache(cache, heaps);
    ExpectRefused(*get_, {}, "Did not find Kovra3 heap stats!");
  }
  UseCache(cache, {Heap("netstack", kMiB, kMiB), Heap("kovra3", 2 * kMiB, 3 * kMiB),
                   Heap("kovra3", 9 * kMiB, 9 * kMiB)});
  const Row record = Get();
  EXPECT_EQ(record.at("Kovra Heap Size"), "2");
  EXPECT_EQ(record.at("Kovra Heap Size Max"), "3");
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
