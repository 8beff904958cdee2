#pragma once

#include <QRectF>
#include <QVector>

// Reading characters written in one line. The recogniser sees one character at a time, scaled
// to a unit box, so it cannot tell shapes that differ only in size or use: C and c, O, o and 0,
// I, l and 1, and the other capitals written like their small letters. The line can: a small
// letter stands as high as the other small letters of the line, a capital as high as the
// capitals, digits and tall letters, and a bar or a ring among digits is a digit.
namespace HandwritingLine {

// One character as the recogniser read it: its class number (the index into the page's table
// "ABC...Zabc...z0123456789.,?-@:;()+ñ") and the box of its strokes.
struct Character
{
    int classId = -1;
    QRectF box;
    // The recogniser's next choices, best first: among them the line finds a digit among
    // digits, a letter among letters, or a letter of the size its neighbours give it.
    QVector<int> others;
};

// The class of every character, look-alikes settled by the line, and a character read as a
// digit among letters (or a letter among digits, or a capital as small as the small letters
// beside it) taken as the next choice that fits, where it has one. Where nothing in the line can
// decide, the choice is always the same: a small letter, "l" for a bar, "o" for a ring, unless
// the recogniser read a digit ("0", "1"), which is kept.
QVector<int> read(const QVector<Character> &line);

// The same class or another member of its look-alike group (used to count look-alikes as
// right).
bool lookAlike(int a, int b);

} // namespace HandwritingLine
