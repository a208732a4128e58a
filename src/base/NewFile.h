#pragma once

namespace dovetail {

// Gives the temporary file `temp`, written whole, the new name `path`, never
// replacing anything already under it; returns 0, or the system's error
// number (EEXIST when the name is taken). `temp` keeps its own name too;
// the caller removes it. The build's way (backends/files): a hard link on the
// desktop (posix), a rename to a name found free where the file system has no
// hard links (browser: the program is the only, single-threaded writer of
// its in-memory files there, so a name found free stays free until the
// rename).
int PlaceNewFile(const char* temp, const char* path);

}  // namespace dovetail
