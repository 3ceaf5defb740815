#pragma once
// What every benchmark of the program's windows needs around it: the offscreen platform unless
// another is asked for, the application, and the benchmark library's options.

#include <QApplication>

namespace tamrivo::bench {

class WindowBenchmarks {
public:
    WindowBenchmarks(int& argc, char** argv);

    // Runs the benchmarks the command line chose; the process's exit status.
    int run();

private:
    QApplication application_;
};

}  // namespace tamrivo::bench
