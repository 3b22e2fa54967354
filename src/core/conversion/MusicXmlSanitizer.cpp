#include "core/conversion/MusicXmlSanitizer.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

namespace velmarto::musicxmlsanitizer {

using namespace Qt::StringLiterals;

namespace {

bool isLineBreak(QChar character) {
    switch (character.unicode()) {
    case u'\n':
    case u'\r':
    case u'\v':
    case u'\f':
    case 0x0085:
    case 0x2028:
    case 0x2029:
        return true;
    default:
        return false;
    }
}

bool containsLineBreak(QStringView text) {
    return std::ranges::any_of(text, isLineBreak);
}

// The internal subset of a document type may declare entities and attribute defaults that carry
// text of their own, so only the name and the public and system identifiers are kept.
QString documentType(const QXmlStreamReader& reader) {
    const auto quoted = [](QStringView identifier) -> QString {
        return u" \""_s + identifier.toString() + u'"';
    };
    const QStringView publicId = reader.dtdPublicId();
    const QStringView systemId = reader.dtdSystemId();
    QString declaration = u"<!DOCTYPE "_s + reader.dtdName().toString();
    if (!publicId.contains(u'"') && !systemId.contains(u'"') && !systemId.isEmpty()) {
        declaration += publicId.isEmpty() ? u" SYSTEM"_s : u" PUBLIC"_s + quoted(publicId);
        declaration += quoted(systemId);
    }
    return declaration + u'>';
}

} // namespace

QString neutralisedText(QStringView text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype index = 0; index < text.size(); ++index) {
        const QChar character = text.at(index);
        if (isLineBreak(character)) {
            result += u' ';
        } else if (character == u'\\') {
            result += QChar(0x29F5); // REVERSE SOLIDUS OPERATOR
        } else if (character == u'"') {
            const bool opens = index == 0 || text.at(index - 1).isSpace() ||
                               isLineBreak(text.at(index - 1)) || text.at(index - 1) == u'(';
            result += opens ? QChar(0x201C) : QChar(0x201D); // curly double quotes
        } else if (character == u'#') {
            result += QChar(0xFF03); // FULLWIDTH NUMBER SIGN
        } else if (character == u'$') {
            result += QChar(0xFF04); // FULLWIDTH DOLLAR SIGN
        } else if (character == u'%') {
            result += QChar(0xFF05); // FULLWIDTH PERCENT SIGN
        } else if (character == u'{') {
            result += QChar(0xFF5B); // FULLWIDTH LEFT CURLY BRACKET
        } else if (character == u'}') {
            result += QChar(0xFF5D); // FULLWIDTH RIGHT CURLY BRACKET
        } else {
            result += character;
        }
    }
    return result;
}

std::optional<QByteArray> neutralised(const QByteArray& musicXml) {
    QXmlStreamReader reader(musicXml);
    reader.setNamespaceProcessing(false);
    QByteArray output;
    QXmlStreamWriter writer(&output);
    // Indentation is the writer's own: every line break in the document's text is gone, and the
    // line breaks between elements are not text that musicxml2ly could copy.
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(2);

    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartDocument:
            writer.writeStartDocument(reader.documentVersion().isEmpty()
                                          ? u"1.0"_s
                                          : reader.documentVersion().toString());
            break;
        case QXmlStreamReader::DTD:
            writer.writeDTD(documentType(reader));
            break;
        case QXmlStreamReader::StartElement:
            writer.writeStartElement(reader.qualifiedName().toString());
            for (const QXmlStreamAttribute& attribute : reader.attributes()) {
                writer.writeAttribute(attribute.qualifiedName().toString(),
                                      neutralisedText(attribute.value()));
            }
            break;
        case QXmlStreamReader::EndElement:
            writer.writeEndElement();
            break;
        case QXmlStreamReader::Characters:
            if (reader.isCDATA()) {
                writer.writeCDATA(neutralisedText(reader.text()));
            } else if (!reader.isWhitespace() || !containsLineBreak(reader.text())) {
                writer.writeCharacters(neutralisedText(reader.text()));
            }
            break;
        case QXmlStreamReader::EntityReference:
            writer.writeCharacters(neutralisedText(reader.text()));
            break;
        case QXmlStreamReader::Comment:
            writer.writeComment(neutralisedText(reader.text()));
            break;
        case QXmlStreamReader::ProcessingInstruction:
            writer.writeProcessingInstruction(reader.processingInstructionTarget().toString(),
                                              neutralisedText(reader.processingInstructionData()));
            break;
        case QXmlStreamReader::EndDocument:
            writer.writeEndDocument();
            break;
        case QXmlStreamReader::NoToken:
        case QXmlStreamReader::Invalid:
            break;
        }
    }
    if (reader.hasError()) {
        return std::nullopt;
    }
    return output;
}

bool neutralise(const QString& path) {
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly)) {
        return false;
    }
    const auto rewritten = neutralised(source.readAll());
    source.close();
    if (!rewritten) {
        return false;
    }
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly)) {
        return false;
    }
    target.write(*rewritten);
    return target.commit();
}

} // namespace velmarto::musicxmlsanitizer
