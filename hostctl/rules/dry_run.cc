#include "hostctl/rules/dry_run.h"

#include <nlohmann/json.hpp>

#include "hostctl/fixture/fixture.h"
#include "hostctl/rules/text_util.h"
#include "hostctl/store/model_io.h"
#include "hostctl/store/session.h"

namespace HostCtl {
namespace Sim {

namespace {

using Json = nlohmann::ordered_json;

std::string DumpStore(Db& db) { return DumpFixture(ReadModel(db)); }

// A value as a line shows it: long lists and objects by their size.
std::string Shown(const std::string& json_text) {
  if (json_text.size() <= 60) return json_text;
  const Json value = Json::parse(json_text);
  if (value.is_array()) return "[" + std::to_string(value.size()) + " items]";
  if (value.is_object()) return "{" + std::to_string(value.size()) + " keys}";
  return json_text;
}

// A name as it is, or quoted with escapes when it holds control bytes or
// bytes that are not UTF-8, so that it stays on its line.
std::string Shown(const std::string& text, const char* quote) {
  bool plain = IsValidUtf8(text);
  for (char c : text) plain = plain && static_cast<unsigned char>(c) >= 0x20 && c != 0x7f;
  return plain ? quote + text + quote : EscapeForDisplay(text);
}

std::string Title(const ObjectChange& change) {
  std::string title = change.kind + " " + Shown(change.name, "'");
  if (!change.host.empty()) title += " on " + change.host;
  return title;
}

std::string Lines(const std::vector<ObjectChange>& changes, const std::vector<AgentCall>& calls) {
  std::string text;
  if (changes.empty()) {
    text = "dry run: no change\n";
  } else {
    text = "dry run: nothing was changed; the command would change:\n";
    for (const ObjectChange& change : changes) {
      if (change.change != "changed") {
        text += "  " + Title(change) + ": " + change.change + "\n";
        continue;
      }
      text += "  " + Title(change) + "\n";
      for (const FieldChange& field : change.fields) {
        text += "    " + field.field + ": " + Shown(field.old_json) + " -> " +
                Shown(field.new_json) + "\n";
      }
    }
  }
  if (!calls.empty()) text += "dry run: the datastore agent would be run as:\n";
  for (const AgentCall& call : calls) {
    // A name of any bytes stays on its line.
    text +=
        "  " + Shown(call.command_line, "") + " (standard input: " + Shown(call.input, "") + ")\n";
  }
  return text;
}

std::string JsonReport(const std::vector<ObjectChange>& changes,
                       const std::vector<AgentCall>& calls) {
  Json list = Json::array();
  for (const ObjectChange& change : changes) {
    Json entry = {{"kind", change.kind}, {"name", change.name}};
    if (!change.host.empty()) entry["host"] = change.host;
    entry["change"] = change.change;
    if (change.change == "added") entry["new"] = Json::parse(change.fields.front().new_json);
    if (change.change == "removed") entry["old"] = Json::parse(change.fields.front().old_json);
    if (change.change == "changed") {
      Json fields = Json::array();
      for (const FieldChange& field : change.fields) {
        fields.push_back({{"field", field.field},
                          {"old", Json::parse(field.old_json)},
                          {"new", Json::parse(field.new_json)}});
      }
      entry["fields"] = fields;
    }
    list.push_back(entry);
  }
  Json notifications = Json::array();
  for (const AgentCall& call : calls) {
    notifications.push_back({{"command", call.command_line}, {"input", call.input}});
  }
  const Json report = {{"changes", list}, {"notifications", notifications}};
  return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace

void StartDryRun() { Session::Get().SetDryRun(true); }

bool FinishDryRun(std::vector<ObjectChange>* changes) {
  changes->clear();
  Session& session = Session::Get();
  Db* db = session.OpenDb();
  // Off first: a failure below still leaves the next run a real one.
  session.SetDryRun(false);
  if (!db) return false;
  if (!db->DryRunWrote()) return true;
  if (!db->InTransaction()) {
    db->EndDryRun();  // SQLite rolled it back on an error
    return true;
  }
  std::string after;
  std::string before;
  try {
    after = DumpStore(*db);
    db->UndoDryRunChanges();
    before = DumpStore(*db);
  } catch (...) {
    db->EndDryRun();
    throw;
  }
  db->EndDryRun();
  *changes = DiffDumps(before, after);
  return true;
}

std::string DryRunReport(const std::vector<ObjectChange>& changes,
                         const std::vector<AgentCall>& calls, bool json) {
  return json ? JsonReport(changes, calls) : Lines(changes, calls);
}

}  // namespace Sim
}  // namespace HostCtl
