// What runs when the Main window has been created.
#pragma once

void RunStartup();
// Starts the single-instance guard's process scan, then the auto-start query, on a worker, so
// that they run while the Main window is built; RunStartup waits for each answer where it needs it.
void StartInstanceScan();
