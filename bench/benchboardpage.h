#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

class DGPathCurveItem;
class DGPathItem;
class DPage;
class DView;
class QRandomGenerator;

// The pages the page rendering benchmark shows on a board of 1920 x 1080: a page of freehand
// strokes, and the same strokes on a mixed page, with the objects a lesson brings beside them.
// The same numbers give the same page on every run.
namespace BenchBoardPage {

constexpr int kStrokes = 2000;
constexpr int kPoints = 200;
constexpr int kStrokesPerGroup = 20;

// The page's 2,000 strokes of 200 points, each in a box of a word's size, all over the board.
std::vector<DGPathCurveItem *> addStrokes(DPage *page, int width, int height);

// What a mixed page holds; each part can be left out, to tell which of them makes the memory or
// the stalls grow.
enum Part : unsigned {
    Strokes = 1u << 0, // the strokes, each on its own
    Groups = 1u << 1, // the strokes gathered into groups of 20, some scaled, one nested
    Picture = 1u << 2, // a photo of 800 x 600, scaled 3x and turned 30 degrees
    Fill = 1u << 3, // an ellipse filled with a photo, scaled 2x
    Table = 1u << 4,
    Text = 1u << 5,
    Palette = 1u << 6, // a palette's worth of widget lying over the board
    Bin = 1u << 7, // the recycle bin in the board's corner, shown as the board starts
    Turned = 1u << 8, // a group of a photo, a text and a table, scaled 1.5x and turned 30 degrees
};
constexpr unsigned kAllParts = Groups | Picture | Fill | Table | Text | Palette | Bin | Turned;

// Parts by name, comma separated ("groups,palette"); empty or "all" is every part. False for a
// name that is no part.
bool partsFromNames(const QString &names, unsigned *parts);
QString namesOf(unsigned parts);
// Every part's name and what it is, one a line, for a usage text.
QString partsHelp();

struct MixedPage
{
    // Every stroke and shape of the page, inside a group or not: the board is settled when
    // every one it shows is drawn at the scale shown.
    std::vector<DGPathItem *> pathObjects;
    int groups = 0;
    QPointer<QWidget> palette; // a child of the board's window
};

// Adds parts to page, as the page's own tools and commands make them (the groups through the
// selection and the page's grouping, the fill through the shape palette's fill). The ellipse's
// picture is written in scratchDir, which must outlive the page. window is the board's window.
MixedPage addMixed(DPage *page, DView *view, QWidget *window, unsigned parts,
                   const QString &scratchDir);

} // namespace BenchBoardPage
