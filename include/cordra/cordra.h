// Everything a plug-in sees of the framework.
#ifndef CORDRA_CORDRA_H_
#define CORDRA_CORDRA_H_

#include "cordra/call_spec.h"
#include "cordra/command.h"
#include "cordra/exception.h"
#include "cordra/meta_obj.h"
#include "cordra/namespace.h"
#include "cordra/shell_cmd.h"

#endif  // CORDRA_CORDRA_H_
