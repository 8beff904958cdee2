#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>

class DPage;

// The made-up lesson pages the document benchmarks fill: strokes of many points (pencil and
// highlighter in turn, some turned), outlined shapes, short texts and a photo-like picture.
// The same numbers give the same page on every run.
namespace BenchDocument {

struct Recipe
{
    int strokes = 200;
    int pointsPerStroke = 40;
    int shapes = 5; // at most 5: rectangle, circle, triangle, star, ellipse
    int texts = 2;
    QSize picture = QSize(800, 600);
};

// A picture that compresses like a photo (about 480 KB as PNG at 800 x 600): smooth light,
// shapes with hard edges and a camera's grain. Each variant is a picture of its own.
QPixmap photo(QSize size, int variant = 0);
// The same as an image, which any thread may make (many camera-sized photos are made at once).
QImage photoImage(QSize size, int variant = 0);

// Adds the objects of recipe to page (page number pageNumber), not recorded for undo.
void fillPage(DPage *page, int pageNumber, const Recipe &recipe, const QPixmap &picture);

} // namespace BenchDocument
