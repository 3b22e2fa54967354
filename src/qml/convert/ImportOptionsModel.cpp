#include "qml/convert/ImportOptionsModel.h"

#include "core/conversion/ImportOptions.h"
#include "core/settings/Preferences.h"

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

struct Presentation {
    QString name;
    QString title;
    QString summary;
};

// In the order the section shows them; the command line's track choice needs the file's track
// list, which the window does not show, so it is not offered here.
const QList<Presentation> presentations = {
    {u"played"_s, u"Played or sequenced"_s,
     u"A recording from a keyboard is put into bars first."_s},
    {u"quantize"_s, u"Shortest note"_s, u"No note is written shorter than this."_s},
    {u"voices"_s, u"Voices per staff"_s, u"The most lines of notes that share one staff."_s},
    {u"tuplets"_s, u"Tuplets"_s, u"Which tuplets notes may be grouped into."_s},
    {u"split-piano"_s, u"Piano on two staves"_s, u"Splits a piano track between the hands."_s},
    {u"key"_s, u"Key signature"_s, u"Auto fits each track; File keeps the file's own."_s},
    {u"meter"_s, u"Time signature"_s, u"Auto finds it in a recording; File keeps the file's."_s},
    {u"swing"_s, u"Swing"_s, u"Writes swung eighths as straight ones."_s},
};

// "Bbm" reads "B♭ minor", "F#" "F♯ major", "16" "1/16"; "auto" and the like start upper-case.
QString titleOf(const QString& name, const QString& value) {
    if (value == u"file"_s) {
        return u"From file"_s;
    }
    if (name == u"quantize"_s && value != u"auto"_s) {
        return u"1/"_s + value;
    }
    if (name == u"key"_s && value != u"auto"_s) {
        const bool minor = value.endsWith(u'm');
        QString tonic = minor ? value.chopped(1) : value;
        tonic.replace(u'#', u'♯');
        if (tonic.size() == 2 && tonic.at(1) == u'b') {
            tonic[1] = u'♭';
        }
        return tonic + (minor ? u" minor"_s : u" major"_s);
    }
    if (name == u"played"_s && value != u"auto"_s) {
        return value == u"yes"_s ? u"Played"_s : u"Sequenced"_s;
    }
    return value.at(0).toUpper() + value.mid(1);
}

} // namespace

ImportOptionsModel::ImportOptionsModel(Preferences* preferences, QObject* parent)
    : QObject(parent)
    , m_preferences(preferences) {
    for (const Presentation& presentation : presentations) {
        const auto option = importoptions::named(presentation.name);
        if (!option) {
            continue;
        }
        QStringList titles;
        for (const QString& value : option->choices) {
            titles << titleOf(presentation.name, value);
        }
        m_options.append(QVariantMap{
            {u"name"_s, presentation.name},
            {u"title"_s, presentation.title},
            {u"summary"_s, presentation.summary},
            {u"values"_s, option->choices},
            {u"titles"_s, titles},
        });
    }
    connect(m_preferences, &Preferences::importOptionsChanged, this,
            &ImportOptionsModel::valuesChanged);
}

QVariantMap ImportOptionsModel::values() const {
    QVariantMap values;
    for (const Presentation& presentation : presentations) {
        values.insert(presentation.name, m_preferences->importOption(presentation.name));
    }
    return values;
}

void ImportOptionsModel::setExpanded(bool expanded) {
    if (m_expanded != expanded) {
        m_expanded = expanded;
        emit expandedChanged();
    }
}

void ImportOptionsModel::choose(const QString& name, const QString& value) {
    m_preferences->setImportOption(name, value);
}

} // namespace velmarto
