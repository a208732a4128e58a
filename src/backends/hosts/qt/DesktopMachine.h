#pragma once

#include <string>

#include "host/MachineFacts.h"

class QScreen;

namespace dovetail {

// The desktop host's answers about the machine, read from the system at the
// moment they are asked for.

// The local date and time in the Japanese short date and long time forms
// ("2026/12/10", "13:05:09").
LocalDateTime ReadLocalNow();

// The size and colour depth of `screen` (the primary screen when null).
ScreenFacts ReadScreen(const QScreen* screen);

// Physical memory and swap from the kernel (available physical memory as the
// kernel estimates it for new programs, "MemAvailable"); the virtual figures
// are the program's address space limit and what of it it does not use yet.
MemoryFacts ReadMemory();

// The system's product name (e.g. "Debian GNU/Linux 12 (bookworm)"), its
// kernel version text and that version's leading numbers.
SystemFacts ReadSystem();

// The machine's architecture (uname), the first processor's family, model
// and stepping from /proc/cpuinfo (0 where it has none, as on most ARM
// systems) and the processors online.
ProcessorFacts ReadProcessor();

// Opens the link with the desktop's handler for its scheme.
bool OpenLinkOnDesktop(const std::string& url);

}  // namespace dovetail
