// The monitor, which keeps the configured entry connected for the life of the program, and the
// manual redial of the tray menu.
#pragma once

// Starts MonitorLoop on a worker thread of its own.
void StartMonitor();

// About once a second: follows whether the entry is connected, redials it after a drop while
// "永不掉线" is checked, and with "每" checked hangs up and redials every N minutes of real
// time. Returns only once the Main window is gone.
void MonitorLoop();

// The tray menu's "重播": hang up, pause, dial again.
void StartManualRedial();
void ManualRedial();
