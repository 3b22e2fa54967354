#include "core/conversion/LilyPondSource.h"

#include <QFile>
#include <QList>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

namespace velmarto::lilypondsource {

using namespace Qt::StringLiterals;

namespace {

struct Span {
    qsizetype start = 0;
    qsizetype end = 0;
};

// Where the rewrite applies in a source: the end of the line holding the first top-level
// \version, and the lines of the first top-level \paper block that set the page's width or height.
struct PaperSites {
    qsizetype afterVersionLine = -1;
    QList<Span> pageDimensionLines;
};

qsizetype endOfLine(const QString& text, qsizetype from) {
    const qsizetype lineFeed = text.indexOf(u'\n', from);
    return lineFeed < 0 ? text.size() : lineFeed;
}

bool isPageDimension(QStringView line) {
    static const QRegularExpression assignment(
        u"^\\s*paper-(width|height)\\s*=\\s*[0-9.]+\\s*\\\\(cm|mm|in|pt)\\s*$"_s);
    return assignment.match(line).hasMatch();
}

// A lexer of just enough LilyPond: strings (with their escapes) and comments are skipped whole,
// so a line break inside either is never the start of a line of code; braces give the depth.
PaperSites findPaperSites(const QString& text) {
    PaperSites sites;
    int depth = 0;
    bool awaitingPaperBlock = false;
    bool inPaperBlock = false;
    bool paperBlockSeen = false;
    qsizetype index = 0;
    const qsizetype size = text.size();

    while (index < size) {
        const QChar character = text.at(index);
        if (character == u'"') {
            for (++index; index < size && text.at(index) != u'"'; ++index) {
                if (text.at(index) == u'\\') {
                    ++index;
                }
            }
            ++index;
            continue;
        }
        if (character == u'%') {
            if (index + 1 < size && text.at(index + 1) == u'{') {
                const qsizetype close = text.indexOf(u"%}"_s, index + 2);
                index = close < 0 ? size : close + 2;
            } else {
                index = endOfLine(text, index);
            }
            continue;
        }
        if (character == u'\\') {
            qsizetype end = index + 1;
            while (end < size && (text.at(end).isLetter() || text.at(end) == u'-')) {
                ++end;
            }
            const QStringView command = QStringView(text).sliced(index + 1, end - index - 1);
            if (depth == 0 && command == u"version" && sites.afterVersionLine < 0) {
                sites.afterVersionLine = endOfLine(text, end);
            }
            awaitingPaperBlock = depth == 0 && command == u"paper" && !paperBlockSeen;
            index = std::max(end, index + 2);
            continue;
        }
        if (character == u'{') {
            ++depth;
            if (awaitingPaperBlock && depth == 1) {
                inPaperBlock = true;
                paperBlockSeen = true;
            }
            awaitingPaperBlock = false;
        } else if (character == u'}') {
            if (depth == 1) {
                inPaperBlock = false;
            }
            depth = std::max(0, depth - 1);
        } else if (character == u'\n') {
            const qsizetype lineStart = index + 1;
            const qsizetype lineEnd = endOfLine(text, lineStart);
            if (inPaperBlock && depth == 1 &&
                isPageDimension(QStringView(text).sliced(lineStart, lineEnd - lineStart))) {
                sites.pageDimensionLines.append({lineStart, std::min(lineEnd + 1, size)});
            }
        } else if (!character.isSpace()) {
            awaitingPaperBlock = false;
        }
        ++index;
    }
    return sites;
}

QString withLinesAfterVersion(const QString& text, const QString& lines) {
    const PaperSites sites = findPaperSites(text);

    QString result;
    result.reserve(text.size() + lines.size() + 1);
    bool linesWritten = false;
    if (sites.afterVersionLine < 0) {
        result += lines + u'\n';
        linesWritten = true;
    }
    qsizetype copied = 0;
    const auto copyUpTo = [&](qsizetype end) {
        if (!linesWritten && sites.afterVersionLine <= end) {
            result += QStringView(text).sliced(copied, sites.afterVersionLine - copied);
            result += u'\n' + lines;
            copied = sites.afterVersionLine;
            linesWritten = true;
        }
        result += QStringView(text).sliced(copied, end - copied);
        copied = end;
    };
    for (const Span& line : sites.pageDimensionLines) {
        copyUpTo(line.start);
        copied = line.end;
    }
    copyUpTo(text.size());
    return result;
}

} // namespace

QString paperSizeLine(const QString& paperSize) {
    QString escaped = paperSize;
    escaped.replace(u'\\', u"\\\\"_s).replace(u'"', u"\\\""_s);
    return u"#(set-default-paper-size \""_s + escaped + u"\")"_s;
}

QString withPaperSize(const QString& text, const QString& paperSize) {
    return withLinesAfterVersion(text, paperSizeLine(paperSize));
}

QString withEngraving(const QString& text, const QString& paperSize,
                      const LilyPondEngraving& engraving) {
    return withLinesAfterVersion(withoutLoneVerseNumbers(text),
                                 paperSizeLine(paperSize) + engraving.prelude()) +
           engraving.closing();
}

QString withoutLoneVerseNumbers(const QString& text) {
    // Lyrics reach the source neutralised (no backslash, no straight quote), so this is always
    // musicxml2ly's own setting.
    static const QRegularExpression verseNumber(u"\\\\set stanza = \"([^\"]*)\" ?"_s);
    bool anotherVerse = false;
    for (auto matches = verseNumber.globalMatch(text); matches.hasNext();) {
        anotherVerse = anotherVerse || matches.next().captured(1) != u"1."_s;
    }
    if (anotherVerse) {
        return text;
    }
    return QString(text).remove(verseNumber);
}

bool rewrite(const QString& path, const QString& paperSize, const LilyPondEngraving& engraving) {
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly)) {
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(source.readAll());
    source.close();
    if (decoder.hasError()) {
        return false;
    }

    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly)) {
        return false;
    }
    target.write(withEngraving(text, paperSize, engraving).toUtf8());
    return target.commit();
}

} // namespace velmarto::lilypondsource
