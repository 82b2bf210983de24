// Names and values of a mebibyte through the commands themselves (the shell
// cannot pass an argument that long: Linux stops at 128 KiB): added, listed,
// read back and removed intact, and heard intact by the datastore agent.
#include "commands/nfs/nfs_volume_add.h"
#include "commands/nfs/nfs_volume_list.h"
#include "commands/nfs/nfs_volume_param.h"
#include "commands/nfs/nfs_volume_remove.h"
#include "commands/nfs41/nfs41_volume_add.h"
#include "commands/nfs41/nfs41_volume_list.h"
#include "tests/commands/command_test.h"

namespace TarvexCli {
namespace Testing {
namespace {

const size_t kMebibyte = 1 << 20;

std::string Text(size_t length, char first) {
  std::string text;
  text.reserve(length);
  for (size_t i = 0; i < length; ++i) text += static_cast<char>(first + (i * 7 + i / 26) % 26);
  return text;
}

class MebibyteValuesTest : public CommandTest {};

TEST_F(MebibyteValuesTest, NfsVolumeNamedWithAMebibyteRoundTrips) {
  const std::string name = Text(kMebibyte, 'a');
  const std::string share = "/" + Text(kMebibyte, 'A');
  auto add = FileSystem::NFSVolumeAdd::New();
  ASSERT_TRUE(IsTrue(*Run(*add, {"-H", "192.0.2.10", "-s", share, "-v", name})));

  auto list = Rows(*Run(*FileSystem::NFSVolumeList::New()));
  ASSERT_EQ(list.size(), 4u);  // the default host's three and this one
  EXPECT_TRUE(list.back()["Volume Name"] == name);
  EXPECT_TRUE(list.back()["Share"] == share);

  auto params = Rows(*Run(*FileSystem::NFSVolumeParamGet::New(), {"-v", name}));
  ASSERT_EQ(params.size(), 1u);
  EXPECT_TRUE(params[0]["Volume Name"] == name);

  ASSERT_TRUE(IsTrue(*Run(*FileSystem::NFSVolumeRemove::New(), {"-v", name})));
  ASSERT_EQ(notifications_.size(), 1u);
  EXPECT_EQ(notifications_[0].event, "PreUnmount");
  EXPECT_TRUE(notifications_[0].input == name);
  EXPECT_EQ(Rows(*Run(*FileSystem::NFSVolumeList::New())).size(), 3u);
}

TEST_F(MebibyteValuesTest, Nfs41HostListOfAMebibyte) {
  // One --hosts value holding many comma-separated servers.
  std::string hosts = "192.0.2.10";
  while (hosts.size() < kMebibyte) hosts += ",192.0.2." + std::to_string(hosts.size() % 250);
  auto add = FileSystem::NFS41VolumeAdd::New();
  ASSERT_TRUE(IsTrue(*Run(*add, {"-H", hosts, "-s", "/s", "-v", "many"})));
  auto rows = Rows(*Run(*FileSystem::NFS41VolumeList::New()));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows.back()["Volume Name"], "many");
  EXPECT_TRUE(rows.back()["Host(s)"] == hosts);
}

}  // namespace
}  // namespace Testing
}  // namespace TarvexCli
