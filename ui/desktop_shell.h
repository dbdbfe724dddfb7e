// Requests to the desktop's own shell. An elevated program starts what it opens elevated; the
// desktop's shell runs unelevated, so what it opens does too.
#pragma once

namespace ui {

// Opens `file` (an address, a document) through the desktop shell's IShellDispatch2::
// ShellExecute; false where there is no desktop shell to ask (no Explorer running).
bool OpenThroughDesktop(const char* file);

}  // namespace ui
