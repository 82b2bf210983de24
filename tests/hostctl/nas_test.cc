// NAS volumes (NFS v3 and v4.1): adding, removing, the preunmount state,
// their parameters, and what their servers decide.
#include "host_test_support.h"
#include "hostctl/rules/admin.h"

namespace HostTest {
namespace {

using HostCtl::Storage::NetworkFileSystem;
using StrelCtl::Storage::StorageInfoImpl;

using NasTest = DefaultHostTest;

// The settings given to an add are the add command's; the host's own part:
// transfer sizes, the capacity its server offers, mounting only when asked.
TEST_F(NasTest, AddedVolumeHasHostDefaultsAndMountsOnlyWhenAsked) {
  auto added = storage_.AddNetworkFileSystem("198.51.100.20", "/vol/new", "nfs-new", false, "", 0);
  EXPECT_FALSE(added->IsMounted());
  EXPECT_EQ(added->GetMaxReadTransferSize(), 1048576u);
  EXPECT_EQ(added->GetCapacity(), 8796093022208);  // what the server offers
  added->Mount(0);
  auto again = Nas("nfs-new");
  EXPECT_TRUE(again->IsMounted());
  EXPECT_EQ(again->GetUuid().size(), 17u);

  auto deep = storage_.AddNetworkFileSystem("192.0.2.77", "/q", "nfs-deep", false, "", 32);
  EXPECT_EQ(deep->GetCapacity(), 1099511627776);  // a server the host has no record of
}

// An unknown strelnic and an empty server show through the add command.
TEST_F(NasTest, AddRefusesTakenNamesAnEmptyShareAndAServerList) {
  EXPECT_EQ(HostError([&] {
              storage_.AddNetworkFileSystem("192.0.2.1", "/x", "datastore1", false, "", 0);
            }),
            "Cannot add NFS volume 'datastore1': the name is already used by another volume");
  EXPECT_EQ(HostError([&] { storage_.AddNetworkFileSystem("192.0.2.1", "", "n", false, "", 0); }),
            "Cannot add NFS volume 'n': the share is empty");
  EXPECT_EQ(HostError([&] { storage_.AddNetworkFileSystem("host\xff", "/x", "n", false, "", 0); }),
            "Cannot add NFS volume 'n': a server address is not UTF-8");
  EXPECT_EQ(HostError([&] {
              storage_.AddNetworkFileSystem("192.0.2.1,192.0.2.2", "/x", "n", false, "", 0);
            }),
            "Cannot add NFS volume 'n': an NFS v3 volume has one server, not "
            "'192.0.2.1,192.0.2.2'");
  EXPECT_EQ(HostError([&] {
              storage_.AddV41NetworkFileSystem({"203.0.113.21"}, "/x", "nfs-iso",
                                               NetworkFileSystem::SEC_SYS);
            }),
            "Cannot add NFS v4.1 volume 'nfs-iso': the name is already used by another volume");
  EXPECT_EQ(Nas("n"), nullptr);
}

// The servers' order and the security are the add command's; an empty
// address inside one comma-separated entry, and a security type out of the
// enumeration, are the host's to refuse.
TEST_F(NasTest, V41AddRefusesAnEmptyServerInsideAListAndAnUnknownSecurity) {
  EXPECT_EQ(HostError([&] {
              storage_.AddV41NetworkFileSystem({"203.0.113.22,"}, "/e", "bad",
                                               NetworkFileSystem::SEC_SYS);
            }),
            "Cannot add NFS v4.1 volume 'bad': an NFS server address is empty");
  EXPECT_EQ(HostError([&] {
              storage_.AddV41NetworkFileSystem({"203.0.113.22"}, "/e", "bad",
                                               static_cast<NetworkFileSystem::SecurityType>(5));
            }),
            "Cannot add NFS v4.1 volume 'bad': unknown security type 5");
}

TEST_F(NasTest, ServersDecideReachabilityAndReadOnlyExports) {
  EXPECT_TRUE(Nas("nfs-iso")->IsMountReadOnly());
  EXPECT_FALSE(Nas("nfs-legacy")->IsAccessible());
  EXPECT_TRUE(Nas("nfs-backup")->IsAccessible());

  auto rw = storage_.AddNetworkFileSystem("192.0.2.10", "/exports/iso", "iso-rw", false, "", 0);
  EXPECT_FALSE(rw->IsReadOnly());
  EXPECT_TRUE(rw->IsMountReadOnly());

  Json host = DefaultHost();
  host["nfs_servers"][3]["reachable"] = false;  // 203.0.113.21
  UseHost(host);
  EXPECT_TRUE(Nas("nfs41-home")->IsAccessible());  // the other server answers
  host["nfs_servers"][4]["reachable"] = false;
  VolumeIn(host, "nfs41-home")["mounted"] = false;
  UseHost(host);
  EXPECT_FALSE(Nas("nfs41-home")->IsAccessible());
  EXPECT_EQ(HostError([] { Nas("nfs41-home")->Mount(0); }),
            "Cannot mount volume 'nfs41-home': Unable to connect to NFS servers 203.0.113.21, "
            "203.0.113.22");
}

TEST_F(NasTest, RemoveTakesTheVolumeOutOfEveryViewAndRefusesWhatItCannotRemove) {
  storage_.RemoveNetworkFileSystem("nfs-iso");
  EXPECT_EQ(Nas("nfs-iso"), nullptr);
  EXPECT_EQ(storage_.GetFileSystemByLabel("nfs-iso"), nullptr);
  EXPECT_EQ(storage_.GetFileSystemByUuidEx("a0b1c2d3-e4f5a6b7"), nullptr);

  EXPECT_EQ(HostError([&] { storage_.RemoveNetworkFileSystem("nfs-iso"); }),
            "Cannot remove NAS volume 'nfs-iso': no volume has that name");
  EXPECT_EQ(HostError([&] { storage_.RemoveNetworkFileSystem("datastore1"); }),
            "Cannot remove NAS volume 'datastore1': it is a Kovra volume, not a NAS volume");
  EXPECT_EQ(HostError([] {
              StorageInfoImpl::RemoveNetworkFileSystem("nfs-backup", StrelCtl::Storage::NFS_V41);
            }),
            "Cannot remove NFS v4.1 volume 'nfs-backup': it is an NFS v3 volume");
  EXPECT_EQ(HostError([] {
              StorageInfoImpl::RemoveNetworkFileSystem("nfs41-home", StrelCtl::Storage::NFS_V3);
            }),
            "Cannot remove NFS volume 'nfs41-home': it is an NFS v4.1 volume");
  StorageInfoImpl::RemoveNetworkFileSystem("nfs41-home", StrelCtl::Storage::NFS_V41);
  EXPECT_EQ(Nas("nfs41-home"), nullptr);

  Json host = DefaultHost();
  VolumeIn(host, "nfs-backup")["busy"] = true;
  UseHost(host);
  EXPECT_EQ(HostError([&] { storage_.RemoveNetworkFileSystem("nfs-backup"); }),
            "Cannot remove NAS volume 'nfs-backup': the volume is busy");
}

TEST_F(NasTest, PreunmountStateIsEnteredOnceAndLeftOnce) {
  storage_.EnterNetworkFileSystemPreUnmount("nfs-backup");
  EXPECT_EQ(HostError([&] { storage_.EnterNetworkFileSystemPreUnmount("nfs-backup"); }),
            "Cannot enter the preunmount state of NAS volume 'nfs-backup': the volume is already "
            "in the preunmount state");
  storage_.ExitNetworkFileSystemPreUnmount("nfs-backup");
  EXPECT_EQ(HostError([&] { storage_.ExitNetworkFileSystemPreUnmount("nfs-backup"); }),
            "Cannot exit the preunmount state of NAS volume 'nfs-backup': the volume is not in "
            "the preunmount state");
  EXPECT_EQ(HostError([&] { storage_.EnterNetworkFileSystemPreUnmount("ghost"); }),
            "Cannot enter the preunmount state of NAS volume 'ghost': no volume has that name");
  EXPECT_EQ(HostError([&] { storage_.EnterNetworkFileSystemPreUnmount("nfs-legacy"); }),
            "Cannot enter the preunmount state of NAS volume 'nfs-legacy': the volume is not "
            "mounted");

  storage_.EnterNetworkFileSystemPreUnmount("nfs-iso");
  HostCtl::Sim::RestartHost();
  Json after = CurrentHost();
  EXPECT_FALSE(VolumeIn(after, "nfs-iso")["nfs"]["preunmount"]);
}

TEST_F(NasTest, QueueDepthAndStrelnicParameters) {
  auto backup = Nas("nfs-backup");
  backup->SetMaxQueueDepth(4294967295u, true);
  EXPECT_EQ(Nas("nfs-backup")->GetMaxQueueDepth(), 4294967295u);
  backup->SetMaxQueueDepth(1, false);
  EXPECT_EQ(Nas("nfs-backup")->GetMaxQueueDepth(), 1u);
  HostCtl::Sim::RestartHost();
  EXPECT_EQ(Nas("nfs-backup")->GetMaxQueueDepth(), 4294967295u);  // the persisted one
  EXPECT_EQ(HostError([&] { backup->SetMaxQueueDepth(0, true); }),
            "Cannot set the queue depth of volume 'nfs-backup': the queue depth must be from 1 "
            "to 4294967295");

  backup->SetStrelnic("tvn0");
  EXPECT_EQ(Nas("nfs-backup")->GetStrelnicParameter(), "tvn0");
  EXPECT_EQ(Nas("nfs-backup")->GetStrelnic(), "tvn1");  // in use until the next mount
  EXPECT_EQ(HostError([&] { backup->SetStrelnic("tvn7"); }),
            "Cannot set the strelnic of volume 'nfs-backup': strelnic 'tvn7' does not exist on "
            "this host");
  backup->Unmount(0);
  backup->Mount(0);
  EXPECT_EQ(Nas("nfs-backup")->GetStrelnic(), "tvn0");
}

}  // namespace
}  // namespace HostTest
