// The installed man page and velmarto-cli's own --help must describe the same options and commands:
// the help is generated from the parser, the man page is written by hand and drifts silently.

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString helpOf(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(VELMARTO_CLI_PATH), arguments);
    process.waitForFinished(-1);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Option names as a reader sees them: "-o", "--output". A hyphen inside a word ("one-bar") is
// not an option.
QSet<QString> optionsIn(const QString& text) {
    static const QRegularExpression option(u"(?:^|[\\s,\\[(|])(--?[a-z][a-z0-9-]*)"_s,
                                           QRegularExpression::MultilineOption);
    QSet<QString> names;
    for (const auto& match : option.globalMatch(text)) {
        names.insert(match.captured(1));
    }
    return names;
}

// The command names listed under "Commands:" in the general help.
QSet<QString> commandsIn(const QString& generalHelp) {
    static const QRegularExpression command(u"^  ([a-z][a-z-]*)\\b"_s,
                                            QRegularExpression::MultilineOption);
    const QString section = generalHelp.section(u"Commands:"_s, 1).section(u"\n\n"_s, 0, 0);
    QSet<QString> names;
    for (const auto& match : command.globalMatch(section)) {
        names.insert(match.captured(1));
    }
    return names;
}

// The man page as plain text: roff's escaped hyphens and font switches removed.
QString manPageText() {
    QFile page(QStringLiteral(VELMARTO_MAN_PAGE_PATH));
    if (!page.open(QIODevice::ReadOnly)) {
        return {};
    }
    QString text = QString::fromUtf8(page.readAll());
    text.replace(u"\\-"_s, u"-"_s);
    static const QRegularExpression fontSwitch(u"\\\\f[BIRP]"_s);
    return text.remove(fontSwitch);
}

} // namespace

class TestManPage : public QObject {
    Q_OBJECT

private slots:
    void describesTheOptionsOfTheHelp() {
        const QString manPage = manPageText();
        QVERIFY2(!manPage.isEmpty(), VELMARTO_MAN_PAGE_PATH);
        QSet<QString> helpOptions;
        for (const QStringList& arguments :
             {QStringList{u"--help"_s}, QStringList{u"convert"_s, u"--help"_s},
              QStringList{u"engines"_s, u"--help"_s}}) {
            const QString help = helpOf(arguments);
            QVERIFY2(!help.isEmpty(), qPrintable(arguments.join(u' ')));
            helpOptions += optionsIn(help);
        }
        QVERIFY(helpOptions.contains(u"--help"_s));
        QCOMPARE(optionsIn(manPage), helpOptions);
    }

    void describesTheCommandsOfTheHelp() {
        const QSet<QString> commands = commandsIn(helpOf({u"--help"_s}));
        QVERIFY(commands.contains(u"convert"_s));
        const QString manPage = manPageText();
        const QString commandSection =
            manPage.section(u".SH COMMANDS"_s, 1).section(u".SH"_s, 0, 0);
        QSet<QString> documented;
        static const QRegularExpression entry(u"^\\.TP\n\\.BI? \"?([a-z][a-z-]*)"_s,
                                              QRegularExpression::MultilineOption);
        for (const auto& match : entry.globalMatch(commandSection)) {
            documented.insert(match.captured(1));
        }
        QCOMPARE(documented, commands);
    }
};

QTEST_GUILESS_MAIN(TestManPage)
#include "tst_manpage.moc"
