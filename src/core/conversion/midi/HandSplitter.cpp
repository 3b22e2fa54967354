#include "core/conversion/midi/HandSplitter.h"

#include <algorithm>

namespace velmarto::handsplitter {

namespace {

constexpr double middleC = 60;
// The widest chord one hand plays, in semitones.
constexpr int handSpan = 14;
// How quickly the remembered register of a hand follows its newest notes.
constexpr double follow = 0.2;

} // namespace

QList<Hand> split(const QList<QuantisedNote>& notes) {
    QList<Hand> hands(notes.size(), Hand::right);
    double rightLow = middleC + 4;
    double leftHigh = middleC - 5;
    qsizetype chordStart = 0;
    while (chordStart < notes.size()) {
        qsizetype chordEnd = chordStart;
        while (chordEnd < notes.size() && notes.at(chordEnd).start == notes.at(chordStart).start) {
            ++chordEnd;
        }
        // Notes of one chord come sorted by pitch; everything below the boundary is the left
        // hand's, and a hand that would have to stretch too far gives its outer notes away.
        const double boundary = std::clamp((rightLow + leftHigh) / 2, middleC - 10, middleC + 7);
        qsizetype firstRight = chordStart;
        while (firstRight < chordEnd && notes.at(firstRight).pitch < boundary) {
            ++firstRight;
        }
        while (firstRight < chordEnd &&
               notes.at(chordEnd - 1).pitch - notes.at(firstRight).pitch > handSpan) {
            ++firstRight;
        }
        while (firstRight > chordStart &&
               notes.at(firstRight - 1).pitch - notes.at(chordStart).pitch > handSpan) {
            --firstRight;
        }
        for (qsizetype index = chordStart; index < chordEnd; ++index) {
            hands[index] = index < firstRight ? Hand::left : Hand::right;
        }
        if (firstRight < chordEnd) {
            rightLow += follow * (notes.at(firstRight).pitch - rightLow);
        }
        if (firstRight > chordStart) {
            leftHigh += follow * (notes.at(firstRight - 1).pitch - leftHigh);
        }
        chordStart = chordEnd;
    }
    return hands;
}

} // namespace velmarto::handsplitter
