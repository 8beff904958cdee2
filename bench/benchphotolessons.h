#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

class DGPixmapItem;
class DPage;
class DView;

// Lessons as large as a class's, written as another program writes them: a content.xml of our
// own and the photos' JPEG files beside it in images/, zipped, the photos stored as they are.
// The photos are photo-like with a camera's grain (BenchDocument::photoImage), each its own.
// Everything is made once, on several threads, and kept in a folder of the build folder
// (bench-data beside the benchmarks), so that the benchmarks that share it do not make it
// again; a file is kept only once whole. Each function returns "" when something could not be
// made, having said why on the error output.
namespace BenchPhotoLessons {

// A phone's photo: about 4 to 5 MB as JPEG.
constexpr QSize kCameraSize(4000, 3000);
constexpr int kLessonPages = 100;
constexpr int kPdfPages = 500;

QString dataFolder();

// count camera photos (photo0.jpg, photo1.jpg...), or count photos of size.
QStringList cameraPhotos(int count);
QStringList largePhotos(int count, QSize size);

// 100 pages, each with its own camera photo shown over 1000 x 750 and two strokes.
QString hundredPhotoLesson();
// One page of 40 camera photos, each at a scale of 0.1 to 0.5, laid over the page.
QString fortyPhotoPage();
// One page of 40 camera photos in 8 columns and 5 rows, none over another, each shown over 90 x
// 67 (as on a classroom's screen showing the whole page), in the part of the page the
// benchmarks' board of 800 x 600 shows; below kWritingFrom there is room to write.
QString fortyPhotoGrid();
constexpr int kWritingFrom = 500;
// One page of six 9000 x 7000 photos, each shown over 600 x 467.
QString sixLargePhotoPage();
// A document of A4 pages of text and shapes, as a word processor prints it.
QString textPdf(int pages);

// The pictures held as their files on page, in its order.
std::vector<DGPixmapItem *> heldPictures(DPage *page);
// picture as the board shows it in view is sharp: a copy held that serves the size it shows at
// there (one hidden under another, or out of view, asks for none and is sharp as it is).
bool isSharp(DGPixmapItem *picture, DView *view);
// Turns the event loop until every picture the board shows of its page is sharp and nothing is
// asked of the decoding processes after a repaint: the time it took in ms, or -1 after
// limitMs.
double waitUntilSharp(DView *view, double limitMs);
// Turns the event loop until every picture the board shows of its page is sharp, then repaints
// the board: the time it took in ms, or -1 after limitMs. What is asked for other pages may
// still be on its way.
double waitUntilServed(DView *view, double limitMs);

} // namespace BenchPhotoLessons
