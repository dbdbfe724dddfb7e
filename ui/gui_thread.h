// The GUI thread: the thread that opens the Main window and runs the message loop. Other
// threads hand it their tasks through a message-only window.
#pragma once

namespace ui {

// The calling thread becomes the GUI thread.
void StartGuiThread();
// The Main window is gone: later tasks are dropped and the message loop ends.
void EndGuiThread();
bool OnGuiThread();

}  // namespace ui
