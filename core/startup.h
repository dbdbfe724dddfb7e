// What runs when the Main window has been created.
#pragma once

void RunStartup();
// Starts the single-instance guard's process scan on a worker, so that it runs while the Main
// window is built; RunStartup waits for its answer before any later step.
void StartInstanceScan();
