#pragma once
// Replacing a file so that a failure never destroys what was there: the bytes go to a
// temporary file beside the target, which is flushed to disk and renamed over it. The
// target's permission bits carry over; a new file gets the usual ones (0666 less the
// umask).

#include <string>
#include <string_view>

// Raises EFCreateError ("Cannot create file "<name>". <reason>") when any step fails;
// the target is then as it was and no temporary file is left behind.
void WriteFileAtomically(const std::string& fileName, std::string_view bytes);
