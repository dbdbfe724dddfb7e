// What runs when the Main window has been created.
#pragma once

void RunStartup();
