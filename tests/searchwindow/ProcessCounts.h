// What the process holds, as Wine reports it truthfully (it reports no GDI, USER or
// handle counts): threads, windows, open descriptors (sockets among them, seen
// through the Z: drive) and the working set.
#pragma once

#include <windows.h>

#include <ostream>

struct ProcessCounts {
    int threads = 0, windows = 0, descriptors = 0;
    SIZE_T workingSet = 0;
};

ProcessCounts Counts();
std::ostream& operator<<(std::ostream& out, const ProcessCounts& c);
