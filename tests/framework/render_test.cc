#include "framework/render.h"

#include <gtest/gtest.h>

#include <optional>

#include "framework/parser.h"
#include "framework/value_arena.h"
#include "tests/framework/test_support.h"

namespace Cordra {
namespace Frame {
namespace {

using namespace MetaObj;
using Testing::ExpectGolden;

std::shared_ptr<MetaStruct> Volume(const std::string& mount, const std::string& name,
                                   const std::string& type, bool mounted, int64_t size,
                                   int64_t free) {
  auto row = MetaStruct::New("FilesystemVolume");
  row->SetField("Mount Point", MetaString::New(mount));
  row->SetField("Volume Name", MetaString::New(name));
  row->SetField("UUID", MetaString::New(name.empty() ? "" : "5f1e2d3c-8a7b6c5d-1e2f-" + name));
  row->SetField("Type", MetaString::New(type));
  row->SetField("Mounted", MetaBool::New(mounted));
  row->SetField("Size", MetaInt::New(size));
  row->SetField("Free", MetaInt::New(free));
  return row;
}

std::shared_ptr<MetaList> Volumes(bool with_rows) {
  auto proto = Volume("", "", "", false, 0, 0);
  auto list = MetaList::New(META_STRUCT, proto);
  if (!with_rows) return list;
  list->Add(Volume("/kovra/volumes/ds1", "datastore1", "Kovra-6", true, 1099511627776, 7));
  list->Add(Volume("/kovra/volumes/Größe", "Größe", "NFS", false, 0, 0));
  list->Add(Volume("/kovra/volumes/boot", "BOOTBANK1", "vfat", true, 4293918720, 4293918720));
  return list;
}

const OutputHints kVolumeHints = {
    {"fields:FilesystemVolume", "Mount Point,Volume Name,UUID,Mounted,Type,Size,Free"}};

std::shared_ptr<MetaStruct> PBCache() {
  auto stats = MetaStruct::New("KovraPBCacheGet");
  stats->SetField("Cache Capacity Miss Ratio", MetaInt::New(3));
  stats->SetField("Cache Size", MetaInt::New());
  stats->SetField("Cache Size Max", MetaInt::New(1024));
  stats->SetField("Cache Usage", MetaInt::New(75));
  stats->SetField("Kovra Heap Size", MetaInt::New());  // never set
  stats->SetField("Cache Size", MetaInt::New(768));    // keeps its place
  return stats;
}

const OutputHints kPBCacheHints = {{"units:KovraPBCacheGet.Cache Capacity Miss Ratio", "%"},
                                   {"units:KovraPBCacheGet.Cache Size", "MiB"},
                                   {"units:KovraPBCacheGet.Cache Size Max", "MiB"},
                                   {"units:KovraPBCacheGet.Kovra Heap Size", "MiB"}};

std::shared_ptr<MetaList> Snapshots() {
  auto make = [](const std::string& name, const std::string& uuid, bool can_mount,
                 const std::string& reason, int64_t extents) {
    auto row = MetaStruct::New("KovraSnapshot");
    row->SetField("Volume Name", MetaString::New(name));
    row->SetField("Kovra UUID", MetaString::New(uuid));
    row->SetField("Can mount", MetaBool::New(can_mount));
    row->SetField("Reason for un-mountability", MetaString::New(reason));
    row->SetField("Unresolved Extent Count", MetaInt::New(extents));
    return row;
  };
  auto list = MetaList::New(META_STRUCT, make("", "", false, "", 0));
  list->Add(make("snapds", "5f1e2d3c-8a7b6c5d-1e2f-027a3ea1b2c3", true, "", 1));
  list->Add(make("replica", "61a2b3c4-d5e6f708-1a2b-027a3ec3d4e5", false,
                 "the original volume is still online", 2));
  return list;
}

std::shared_ptr<MetaList> NasParams() {
  auto row = MetaStruct::New("NasMountParams");
  row->SetField("Volume Name", MetaString::New("nfs1"));
  row->SetField("MaxQueueDepth", MetaInt::New(4294967295LL));
  row->SetField("MaxReadTransferSize", MetaInt::New(1048576));
  auto list = MetaList::New(META_STRUCT, row);
  list->Add(row);
  return list;
}

// Every character the machine formats must escape, plus invalid UTF-8.
std::shared_ptr<MetaList> Awkward() {
  auto row = MetaStruct::New("Awkward");
  row->SetField("Plain", MetaString::New("a \"quoted\", comma"));
  row->SetField("Markup", MetaString::New("<&> 'single'"));
  row->SetField("Lines", MetaString::New("one\ntwo\r\nthree\ttab"));
  row->SetField("Bytes", MetaString::New("bad\xff\xc3("));
  row->SetField("Control", MetaString::New(std::string("nul\0bell\x07", 9)));
  row->SetField("N", MetaInt::New(-99));                  // as wide as its digits and sign
  row->SetField("Ends", MetaString::New("in blanks  "));  // the table trims them
  auto list = MetaList::New(META_STRUCT, MetaStruct::New("Awkward"));
  auto other = MetaStruct::New("Awkward");  // the same fields in another order, some unset
  other->SetField("N", MetaInt::New(7));
  other->SetField("Plain", MetaString::New("second"));
  list->Add(row);
  list->Add(other);
  list->Add(nullptr);  // an element no command sets reads as a record of unset fields
  return list;
}

// Lists and a structure inside a record, as no command makes yet.
std::shared_ptr<MetaStruct> Nested() {
  auto extent = MetaStruct::New("Extent");
  extent->SetField("Device", MetaString::New("naa.1"));
  extent->SetField("Partition", MetaInt::New(3));
  auto extents = MetaList::New(META_STRUCT, MetaStruct::New("Extent"));
  extents->Add(extent);
  extents->Add(extent);
  auto hosts = MetaList::New(META_STRING, MetaString::New());
  hosts->Add(MetaString::New("host-a"));
  auto owner = MetaStruct::New("Owner");
  owner->SetField("Hosts", hosts);
  owner->SetField("None", MetaList::New(META_INT, MetaInt::New()));
  auto row = MetaStruct::New("Nested");
  row->SetField("Extents", extents);
  row->SetField("Owner", owner);
  return row;
}

std::string Render(const std::shared_ptr<MetaObj::MetaObj>& result, const OutputHints& hints,
                   const std::string& format, std::vector<std::string> fields = {},
                   bool no_header = false) {
  RenderOptions options;
  options.format = format;
  options.fields = std::move(fields);
  options.no_header = no_header;
  return Frame::Render(result, hints, options);
}

// Table columns follow the fields hint (or the fields selected) and fit the
// content, an empty list shows the header only, units go into the header,
// simple records are headed by the header field, and the machine formats
// escape everything and keep types and exact names.
void ExpectGoldenOutputs() {
  const OutputHints snapshot_hints = {{"header:KovraSnapshot", "%Kovra UUID%"},
                                      {"fields:KovraSnapshot", "Volume Name,Kovra UUID,Can mount"}};
  const std::vector<std::string> selected = {"Free", "Volume Name"};  // overrides the hint
  const OutputHints nas_hints = {
      // names trimmed, unknown ones skipped
      {"fields:NasMountParams", "Volume Name, MaxQueueDepth,MaxReadTransferSize,Strelnic"}};
  struct Case {
    std::string golden;
    std::string actual;
  } cases[] = {
      {"table_volumes.txt", Render(Volumes(true), kVolumeHints, "table")},
      {"table_volumes_no_header.txt", Render(Volumes(true), kVolumeHints, "table", {}, true)},
      {"table_pbcache.txt", Render(PBCache(), kPBCacheHints, "table")},
      {"simple_pbcache.txt", Render(PBCache(), kPBCacheHints, "simple")},
      {"simple_snapshots.txt", Render(Snapshots(), snapshot_hints, "simple")},
      {"awkward.json", Render(Awkward(), {}, "json")},
      {"awkward.csv", Render(Awkward(), {}, "csv")},
      {"awkward.xml", Render(Awkward(), {}, "xml")},
      {"awkward_table.txt", Render(Awkward(), {}, "table")},
      {"volumes.json", Render(Volumes(true), kVolumeHints, "json")},
      {"volumes.csv", Render(Volumes(true), kVolumeHints, "csv")},
      {"pbcache.xml", Render(PBCache(), kPBCacheHints, "xml")},
      {"table_empty.txt", Render(Volumes(false), kVolumeHints, "table")},
      {"table_selected_fields.txt", Render(Volumes(true), kVolumeHints, "table", selected)},
      {"selected_fields.csv", Render(Volumes(true), kVolumeHints, "csv", selected, true)},
      {"table_trimmed_hint.txt", Render(NasParams(), nas_hints, "table")},
      {"nested.json", Render(Nested(), {}, "json")},
      {"nested.xml", Render(Nested(), {}, "xml")},
      {"nested_table.txt", Render(Nested(), {}, "table")},
  };
  for (const Case& c : cases) ExpectGolden(c.golden, c.actual);
}

// The same, whether the values are made in a run's arena or each on its own.
TEST(RenderTest, GoldenOutputs) {
  for (bool in_arena : {false, true}) {
    std::optional<ValueArena::Scope> arena;
    if (in_arena) arena.emplace();
    ExpectGoldenOutputs();
  }
}

TEST(RenderTest, PlainResultsPrintTheirValueInEveryFormat) {
  auto yes = MetaBool::New(true);
  for (const char* format : {"table", "simple", "json"})
    EXPECT_EQ("true\n", Render(yes, {}, format));
  EXPECT_EQ("true\r\n", Render(yes, {}, "csv"));
  EXPECT_EQ(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<output>\n  <boolean>true</boolean>\n"
      "</output>\n",
      Render(yes, {}, "xml"));
  EXPECT_EQ("\"a\\\"b\"\n", Render(MetaString::New("a\"b"), {}, "json"));
  for (const auto& format : FormatNames()) EXPECT_EQ("", Render(nullptr, {}, format)) << format;
  EXPECT_EQ("[]\n", Render(Volumes(false), kVolumeHints, "json"));
  EXPECT_EQ("", Render(Volumes(false), kVolumeHints, "table", {}, true));
  EXPECT_EQ("{\n  \"Cache Size\": 768,\n  \"Kovra Heap Size\": null\n}\n",
            Render(PBCache(), kPBCacheHints, "json", {"Cache Size", "Kovra Heap Size"}));
  // A list of plain values has no record type to find hints by.
  auto names = MetaList::New(META_STRING, MetaString::New());
  names->Add(MetaString::New("a"));
  names->Add(MetaString::New("b"));
  EXPECT_EQ("a\nb\n", Render(names, kVolumeHints, "table"));
  EXPECT_EQ("[\n  \"a\",\n  \"b\"\n]\n", Render(names, kVolumeHints, "json"));
}

// Written to a stream, a list far larger than one block is written as it is
// made and comes out exactly as the whole text: no line is split or trimmed
// where a block ends.
TEST(RenderTest, StreamedTextEqualsTheWholeText) {
  auto list = Volumes(false);
  for (int i = 0; i < 3000; ++i) {
    const std::string n = std::to_string(i);
    list->Add(Volume(i % 7 ? "/kovra/volumes/" + n : "", "v" + n, i % 5 ? "NFS" : "", i % 2,
                     i * 1000, i));
  }
  for (const auto& format : FormatNames()) {
    RenderOptions options;
    options.format = format;
    FILE* file = tmpfile();
    ASSERT_NE(file, nullptr);
    {
      TextSink sink(file);
      Frame::Render(list, kVolumeHints, options, &sink);
      // Written as it was made: no more than a block is held back.
      EXPECT_LT(sink.text().size(), size_t{1} << 16) << format;
    }
    std::string streamed(static_cast<size_t>(ftell(file)), '\0');
    rewind(file);
    ASSERT_EQ(fread(&streamed[0], 1, streamed.size(), file), streamed.size());
    fclose(file);
    EXPECT_GT(streamed.size(), size_t{1} << 16) << format;
    EXPECT_EQ(streamed, Frame::Render(list, kVolumeHints, options)) << format;
  }
}

}  // namespace
}  // namespace Frame
}  // namespace Cordra
