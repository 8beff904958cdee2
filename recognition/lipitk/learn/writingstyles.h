#pragma once

#include "glyphstrokes.h"

#include <QList>
#include <QSet>
#include <QString>

// The writing styles the engine learns from (styles.cfg beside the model builder): the one list
// that the build and the recognition benchmark both read.
namespace WritingStyles {

struct Style
{
    QString name;
    bool print = true; // letters standing apart; false for joined-up script
    QSet<int> classes; // the classes the style gives
    QString kind; // "drawn", "hershey" or "font"
    QString source; // a file: absolute, or for "drawn" beside the list
};

// Every style of the list; empty, with the reason in error, when the list cannot be read or a
// line is wrong.
QList<Style> read(const QString &fileName, QString *error = nullptr);

// The ways the style writes each class (index = class number), in the letter box of
// GlyphStrokes. A drawn model gives several ways for some classes; fonts one each. Empty where
// the style gives nothing for the class, or when its source cannot be read.
QVector<QList<GlyphStrokes::Strokes>> glyphs(const Style &style, const QString &listFolder);

} // namespace WritingStyles
