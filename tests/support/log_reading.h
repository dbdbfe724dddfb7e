// For tests whose thread is the GUI thread: the Activity log's messages, without their time.
#pragma once
#include <string>
#include <vector>

namespace log_reading {

std::vector<std::string> LogMessages();

}  // namespace log_reading
