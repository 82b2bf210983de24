// Everything a command sees of the host-control library.
#ifndef HOSTCTL_HOSTCTL_H_
#define HOSTCTL_HOSTCTL_H_

#include "hostctl/adv.h"
#include "hostctl/file_system.h"
#include "hostctl/hardware.h"
#include "hostctl/host.h"
#include "hostctl/kovra_file_system.h"
#include "hostctl/lib.h"
#include "hostctl/network_file_system.h"
#include "hostctl/pbcache.h"
#include "hostctl/storage_info.h"
#include "hostctl/unresolved.h"

#endif  // HOSTCTL_HOSTCTL_H_
