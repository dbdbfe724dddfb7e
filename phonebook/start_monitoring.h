// The checks before monitoring starts.
#pragma once

// 按钮1 ("开始监控"): checks the choices in order, asks, saves the account and starts the
// monitor. A failed check shows one box and changes nothing.
void OnStartMonitoring();
