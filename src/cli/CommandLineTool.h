#pragma once

#include "conversion/Converter.h"

#include <QStringList>
#include <QTextStream>

namespace velmarto {

// velmarto-cli: the conversion pipeline behind a command line for scripts.
//   velmarto-cli convert [--fast] [--paper NAME] [-o OUT.pdf] [--musicxml OUT.musicxml] [--log]
//                        FILE.mid...
//   velmarto-cli engines
// Exit codes: 0 success, 1 a conversion failed, 2 a usage error.
class CommandLineTool {
public:
    enum ExitCode { success = 0, conversionFailed = 1, usageError = 2 };

    CommandLineTool(Converter converter, QTextStream& out, QTextStream& err);

    int run(const QStringList& arguments);

private:
    int convert(const QStringList& arguments);
    int engines(const QStringList& arguments);
    int usage(const QString& message);
    bool convertOne(const QString& midi, ConversionEngine engine, const QString& paperSize,
                    const QString& pdfDestination, const QString& musicXmlDestination,
                    bool printLog);

    Converter m_converter;
    QTextStream& m_out;
    QTextStream& m_err;
    QString m_program;
};

} // namespace velmarto
