#include "cli/CommandLineTool.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    velmarto::CommandLineTool tool(velmarto::Converter(), out, err);
    return tool.run(QCoreApplication::arguments());
}
