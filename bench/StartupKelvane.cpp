// The program's own start-up, up to the main window's first paint. Started by startup_bench.

#include "Application.h"
#include "FirstPaint.h"
#include "Startup.h"

int main(int argc, char** argv) {
    FirstPaint first(argc, argv);
    TApplication app(argc, argv);
    first.Watch();
    RunKelvane(app);
    first.Print();
    return 0;
}
