#include "core/conversion/Converter.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace velmarto;

class TestConversionTypes : public QObject {
    Q_OBJECT

private slots:
    void presetsAreNamedByTheirLongTitles() {
        QCOMPARE(allConversionEngines.size(), 2u);
        QCOMPARE(allConversionEngines[0], ConversionEngine::both);
        QCOMPARE(rawValue(ConversionEngine::both), u"MuseScore + LilyPond (best quality)"_s);
        QCOMPARE(rawValue(ConversionEngine::museScoreOnly), u"MuseScore only (fast)"_s);
        for (ConversionEngine engine : allConversionEngines) {
            QCOMPARE(conversionEngineFromRawValue(rawValue(engine)), engine);
        }
        // The stored preference texts are not raw values.
        QCOMPARE(conversionEngineFromRawValue(u"both"_s), std::nullopt);
        QCOMPARE(conversionEngineFromRawValue(u"fast"_s), std::nullopt);
        QCOMPARE(conversionEngineFromRawValue(u"MuseScore only (fast) "_s), std::nullopt);
        QCOMPARE(QSet<ConversionEngine>({ConversionEngine::both, ConversionEngine::both}).size(),
                 1);
    }

    void errorDescriptions() {
        QCOMPARE(ConversionError(u"MuseScore import"_s, QString()).description(),
                 u"MuseScore import failed:\n"_s);
        const ConversionError locating(u"Locating lilypond"_s,
                                       u"Install LilyPond with:\n  brew install lilypond"_s);
        QCOMPARE(locating.description(),
                 u"Locating lilypond failed:\nInstall LilyPond with:\n  brew install lilypond"_s);
        QCOMPARE(describe(ConversionFailure(locating)), locating.description());
        QCOMPARE(describe(ConversionFailure(WorkDirectoryError{u"Permission denied"_s})),
                 u"Permission denied"_s);
    }
};

QTEST_GUILESS_MAIN(TestConversionTypes)
#include "tst_conversiontypes.moc"
