// The fixture format (docs/fixtures.md): JSON that describes one simulated
// host completely. Loading checks everything before anything is written;
// dumping is canonical, so load(dump(x)) dumps identically.
#ifndef HOSTCTL_FIXTURE_H_
#define HOSTCTL_FIXTURE_H_

#include <string>

#include "hostctl/records.h"

namespace HostCtl {
namespace Sim {

// Parses and checks fixture `text`. Throws FixtureError naming `file` and
// the JSON path: a syntax error, an unknown key, a value of the wrong type,
// a duplicate volume name or UUID, a reference to a missing device.
HostModel LoadFixture(const std::string& text, const std::string& file);

// The canonical fixture of `model`: every key, in the documented order, two
// spaces of indent, a newline at the end.
std::string DumpFixture(const HostModel& model);

// The datastore agent's notifications as a JSON array, in the fixture's
// "events" form (what `tarvex-host events --json` prints).
std::string DumpEventsJson(const std::vector<EventRecord>& events);

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_FIXTURE_H_
