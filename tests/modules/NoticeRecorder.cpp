// Stands in for the notice program: appends its arguments as one line to
// "Notelle.log" beside itself.
#include <windows.h>

#include <fstream>
#include <string>

int main(int argc, char** argv) {
    char path[MAX_PATH * 2] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string log(path);
    log = log.substr(0, log.find_last_of('\\') + 1) + "Notelle.log";
    std::string line;
    for (int i = 1; i < argc; ++i) line += (i > 1 ? " " : "") + std::string(argv[i]);
    std::ofstream(log, std::ios::app) << line << "\n";
    return 0;
}
