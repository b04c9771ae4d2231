#pragma once

namespace platform {

// Maps the two faces the tool offers (and their Latin names) to the AR PL
// fonts that Debian ships. Qt tries a face itself before its substitutes, so
// a machine that has the original faces keeps using them. Call once after
// the application object exists.
void installFaceSubstitutions();

} // namespace platform
