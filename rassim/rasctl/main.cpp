// rasctl: scripts the simulated dial-up world of the Wine prefix (see rassim/README.md).
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "rasctl/commands.h"

namespace rasctl {
namespace {

std::vector<std::string> SplitWords(const char* text) {
    std::istringstream stream(text);
    std::vector<std::string> words;
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

// The command whose words start the command line, and how many arguments they take up.
const Command* Select(int argc, char** argv, int& used) {
    for (const Command& command : Commands()) {
        const std::vector<std::string> words = SplitWords(command.words);
        const int count = static_cast<int>(words.size());
        if (argc - 1 < count)
            continue;
        bool matches = true;
        for (int i = 0; i < count; ++i)
            matches = matches && words[i] == argv[1 + i];
        if (matches) {
            used = 1 + count;
            return &command;
        }
    }
    return nullptr;
}

bool TakesOption(const Command& command, const std::string& option) {
    for (const std::string& allowed : SplitWords(command.options)) {
        if (allowed == option)
            return true;
    }
    return false;
}

int Usage() {
    std::fputs("usage: rasctl COMMAND\n", stderr);
    for (const Command& command : Commands()) {
        std::fprintf(stderr, "  rasctl %s%s%s\n", command.words, *command.usage ? " " : "", command.usage);
    }
    return kBadUsage;
}

int Run(int argc, char** argv) {
    int used = 0;
    const Command* command = Select(argc, argv, used);
    Arguments arguments;
    if (!command || !ParseArguments(argc, argv, used, arguments))
        return Usage();
    const int count = static_cast<int>(arguments.words.size());
    if (count < command->minArguments || count > command->maxArguments)
        return Usage();
    for (const auto& [option, value] : arguments.options) {
        if (!TakesOption(*command, option))
            return Usage();
    }
    return command->run(arguments);
}

}  // namespace
}  // namespace rasctl

int main(int argc, char** argv) { return rasctl::Run(argc, argv); }
