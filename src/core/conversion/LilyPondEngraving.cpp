#include "core/conversion/LilyPondEngraving.h"

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

// Names are split at the first ", " (MuseScore joins instrument and track that way) and each
// half is wrapped at this many characters, so even a long name takes a modest indent.
// musicxml2ly writes a drum note as the pitch where MuseScore displays it, with MuseScore's note
// head, not as a drum name: LilyPond's drum engraver would put every such note on the middle
// line. The ordinary note heads place it, read as if in a treble clef (middle C six steps below
// the middle line), which is where MuseScore's percussion clef puts it.
// A MIDI file's parts often rest for long stretches; leaving their empty staves out of later
// systems is what saves pages on dense scores, since LilyPond's own spacing of fast notes is
// wider than MuseScore's. The top staff always stays: a system whose every staff is empty would
// otherwise vanish with its bars.
// LilyPond spaces a score after its commonest shortest note; where that was a 64th, every bar
// took a line of its own. Spacing after sixteenths at the shortest keeps such scores as long as
// MuseScore's and leaves scores of longer notes as LilyPond spaces them.
const QString preludeText = uR"(
% Added by Velmarto: LilyPond chooses the line and page breaks, names fit the page, after the
% first system a staff that rests throughout a system is left out, all but the top one, drums sit
% where MuseScore placed them, and a hyphen between two syllables gets room of its own.
break = {}
pageBreak = {}
#(define (velmarto-wrap text limit)
   (let loop ((words (string-split text #\space)) (line "") (lines '()))
     (cond ((null? words) (reverse (if (string-null? line) lines (cons line lines))))
           ((> (string-length (car words)) limit)
            (loop (cons (substring (car words) limit) (cdr words))
                  "" (cons (substring (car words) 0 limit)
                           (if (string-null? line) lines (cons line lines)))))
           ((string-null? line) (loop (cdr words) (car words) lines))
           ((> (+ (string-length line) 1 (string-length (car words))) limit)
            (loop (cdr words) (car words) (cons line lines)))
           (else (loop (cdr words) (string-append line " " (car words)) lines)))))
#(define (velmarto-name-markup name)
   (if (string? name)
       (let* ((comma (string-contains name ", "))
              (halves (if comma
                          (list (substring name 0 comma) (substring name (+ comma 2)))
                          (list name))))
         (make-center-column-markup
          (append-map (lambda (half) (velmarto-wrap half 22)) halves)))
       name))
#(define (velmarto-name-indent names)
   (let* ((paper $defaultpaper)
          (props (list (ly:output-def-lookup paper 'text-font-defaults)))
          (width (lambda (name)
                   (interval-length
                    (ly:stencil-extent
                     (interpret-markup paper props (velmarto-name-markup name)) X)))))
     (* (ly:output-def-lookup paper 'staff-space)
        (+ 3 (apply max 0 (map width names))))))
#(define (velmarto-keep-top-staff context)
   (let ((kept #f))
     (make-engraver
      (acknowledgers
       ((hara-kiri-group-spanner-interface engraver grob source)
        (when (and (not kept)
                   (memq (ly:context-name (ly:translator-context source)) '(Staff DrumStaff)))
          (set! kept #t)
          (ly:grob-set-property! grob 'remove-empty #f)))))))
\layout {
  \context { \Staff \RemoveEmptyStaves }
  \context { \DrumStaff \RemoveEmptyStaves middleCOffset = #-6 }
  \context { \DrumVoice \remove "Drum_notes_engraver" \consists "Note_heads_engraver" }
  \context { \Lyrics \override LyricHyphen.minimum-distance = #1.2 }
  \context {
    \Score
    \consists #velmarto-keep-top-staff
    \override SpacingSpanner.common-shortest-duration =
      #(lambda (grob)
         (let ((shortest (ly:spacing-spanner::calc-common-shortest-duration grob)))
           (if (ly:moment<? shortest (ly:make-moment 1/16)) (ly:make-moment 1/16) shortest)))
    \override InstrumentName.before-line-breaking =
      #(lambda (grob)
         (ly:grob-set-property! grob 'long-text
                                (velmarto-name-markup (ly:grob-property grob 'long-text)))
         (ly:grob-set-property! grob 'text
                                (velmarto-name-markup (ly:grob-property grob 'text))))
  }
}
)"_s;

} // namespace

LilyPondEngraving::LilyPondEngraving(std::optional<QString> title, QStringList names,
                                     QStringList shortNames)
    : m_title(std::move(title))
    , m_names(std::move(names))
    , m_shortNames(std::move(shortNames)) {
    m_names.removeAll(QString());
    m_shortNames.removeAll(QString());
}

QString LilyPondEngraving::quoted(QStringView text) {
    QString literal = u"\""_s;
    literal.reserve(text.size() + 2);
    for (const QChar character : text) {
        if (character == u'\\' || character == u'"') {
            literal += u'\\';
            literal += character;
        } else if (character.category() == QChar::Other_Control ||
                   character == QChar::LineSeparator || character == QChar::ParagraphSeparator) {
            literal += u' ';
        } else {
            literal += character;
        }
    }
    return literal + u'"';
}

QString LilyPondEngraving::indentSetting(const char* variable, const QStringList& names) {
    if (names.isEmpty()) {
        return {};
    }
    QStringList literals;
    for (const QString& name : names) {
        literals.append(quoted(name));
    }
    return u"    "_s + QLatin1StringView(variable) + u" = #(velmarto-name-indent (list "_s +
           literals.join(u' ') + u"))\n"_s;
}

QString LilyPondEngraving::prelude() const {
    return preludeText;
}

QString LilyPondEngraving::closing() const {
    return u"\n% Added by Velmarto: the title, a last system as long as its music and the indents "
           u"for the instrument names.\n"
           u"\\header {\n    title = "_s +
           (m_title ? quoted(*m_title) : u"##f"_s) +
           u"\n    tagline = ##f\n}\n\\paper {\n    ragged-last = ##t\n"_s +
           indentSetting("indent", m_names) + indentSetting("short-indent", m_shortNames) +
           u"}\n"_s;
}

} // namespace velmarto
