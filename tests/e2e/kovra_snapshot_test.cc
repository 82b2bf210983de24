// Kovra snapshots on the default host: listing, mounting (for good or for
// this boot only), resignaturing, and the extent lists that follow them.
#include <string>

#include "tests/e2e/storage_fixture.h"

namespace TarvexE2e {
namespace {

const char kProdDbUuid[] = "4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6";
const char kProdDbMounted[] = "prod-db 4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6 true\n";

class KovraSnapshotTest : public StorageTest {
 protected:
  // "name uuid mounted" of the volumes in `filesystem list` whose name contains "prod-db".
  std::string ProdDbVolumes() const {
    return JsonOf({"storage", "filesystem", "list"},
                  ".[] | select(.\"Volume Name\" | contains(\"prod-db\")) | "
                  "\"\\(.\"Volume Name\") \\(.UUID) \\(.Mounted)\"");
  }
  std::string SnapshotLabels() const {
    return JsonOf({"storage", "kovra", "snapshot", "list"}, ".[].\"Volume Name\"");
  }
};

TEST_F(KovraSnapshotTest, ListThenMountForGood) {
  EXPECT_EQ(Output({"storage", "kovra", "snapshot", "list"}),
            "4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6\n"
            "   Volume Name: prod-db\n"
            "   Kovra UUID: 4e8f0a1c-2b3d4e5f-6a7b-027a3ed4e5f6\n"
            "   Can mount: true\n"
            "   Reason for un-mountability:\n"
            "   Can resignature: true\n"
            "   Reason for non-resignaturability:\n"
            "   Unresolved Extent Count: 1\n"
            "\n"
            "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3\n"
            "   Volume Name: datastore1\n"
            "   Kovra UUID: 5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3\n"
            "   Can mount: false\n"
            "   Reason for un-mountability: the original volume is still online\n"
            "   Can resignature: false\n"
            "   Reason for non-resignaturability: some extents missing\n"
            "   Unresolved Extent Count: 2\n"
            "\n");

  ExpectTrue({"storage", "kovra", "snapshot", "mount", "-l", "prod-db"});
  EXPECT_EQ(ProdDbVolumes(), kProdDbMounted);
  EXPECT_EQ(SnapshotLabels(), "datastore1\n");
  EXPECT_EQ(JsonOf({"storage", "kovra", "extent", "list"},
                   ".[] | select(.\"Volume Name\" == \"prod-db\") | "
                   "\"\\(.\"Extent Number\") \\(.\"Device Name\") \\(.Partition)\""),
            "0 naa.624a93701b2c3d4e5f60718293a4b5c1 1\n");
  ASSERT_EQ(Host({"restart"}).status, 0);
  EXPECT_EQ(ProdDbVolumes(), kProdDbMounted);

  ExpectFails({"storage", "kovra", "snapshot", "mount", "-l", "prod-db"}, 1,
              "No unresolved Kovra snapshots with volume label 'prod-db' found.\n", "true\n");
}

TEST_F(KovraSnapshotTest, MountForThisBootIsUndoneThenResignature) {
  ExpectTrue({"storage", "kovra", "snapshot", "mount", "-u", kProdDbUuid, "--no-persist"});
  EXPECT_EQ(ProdDbVolumes(), kProdDbMounted);
  ASSERT_EQ(Host({"restart"}).status, 0);
  EXPECT_EQ(ProdDbVolumes(), "");
  EXPECT_EQ(SnapshotLabels(), "prod-db\ndatastore1\n");

  ExpectTrue({"storage", "kovra", "snapshot", "resignature", "-l", "prod-db"});
  // A new label "snap-" + 8 hex digits + "-prod-db" and a new UUID, mounted.
  EXPECT_EQ(JsonOf({"storage", "filesystem", "list"},
                   ".[] | select(.\"Volume Name\" | contains(\"prod-db\")) | "
                   "[(.\"Volume Name\" | test(\"^snap-[0-9a-f]{8}-prod-db$\")), "
                   "(.UUID | test(\"^[0-9a-f]{8}-[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{12}$\")), "
                   ".UUID != \"" +
                       std::string(kProdDbUuid) + "\", .Mounted] | map(tostring) | join(\" \")"),
            "true true true true\n")
      << ProdDbVolumes();

  // What remains: the one extent of datastore1 the host found; its empty slot makes no row.
  EXPECT_EQ(Output({"storage", "kovra", "snapshot", "extent", "list"}),
            "Volume Name  Kovra UUID                           Extent Number  Device Name        "
            "                   Partition  Start  End\n"
            "-----------  -----------------------------------  -------------  -----------------"
            "-------------------  ---------  -----  ------\n"
            "datastore1   5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3  0              "
            "naa.624a93701b2c3d4e5f60718293a4b5c2  1          0      255999\n");
  ExpectFails({"storage", "kovra", "snapshot", "resignature", "-l", "datastore1"}, 1,
              "Target snapshot cannot be resignatured: some extents missing\n", "true\n");
  EXPECT_EQ(SnapshotLabels(), "datastore1\n");
}

}  // namespace
}  // namespace TarvexE2e
