// The statements of the schema's steps (schema_steps.cc): version N is what
// kVersionN adds to version N - 1. schema.cc applies them.
#ifndef HOSTCTL_STORE_SCHEMA_STEPS_H_
#define HOSTCTL_STORE_SCHEMA_STEPS_H_

namespace HostCtl {
namespace Sim {

extern const char kVersion1[];
extern const char kVersion2[];
extern const char kVersion3[];
extern const char kVersion4[];
extern const char kVersion5[];

}  // namespace Sim
}  // namespace HostCtl

#endif  // HOSTCTL_STORE_SCHEMA_STEPS_H_
