#include "cli/CommandLineTool.h"
#include "cli/StopSignals.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const velmarto::StopSignals stopSignals;
    QTextStream out(stdout);
    QTextStream err(stderr);
    velmarto::CommandLineTool tool(velmarto::Converter(), out, err, stopSignals.cancellation());
    return stopSignals.exitStatus(tool.run(QCoreApplication::arguments()));
}
