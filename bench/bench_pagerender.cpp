// Rendering a page full of ink: first render (which builds each stroke's picture) and repaint
// of the unchanged page, each against drawing the same paths directly with QPainter in the same
// run; and the resident memory with that page. Prints figures, asserts nothing.
#include "benchfigures.h"
#include "board/dgpathcurveitem.h"
#include "board/dpage.h"
#include "board/dview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using BenchFigures::median;

namespace {

constexpr int kStrokes = 2000;
constexpr int kPoints = 200;
constexpr int kRuns = 7;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Handwriting-like: a random walk of small steps inside a box of a word's size.
QPainterPath makeStroke(QRandomGenerator &random)
{
    QPainterPath path;
    QPointF point(random.bounded(120.0), random.bounded(80.0));
    path.moveTo(point);
    for (int i = 1; i < kPoints; ++i) {
        point += QPointF(random.bounded(6.0) - 3.0, random.bounded(6.0) - 3.0);
        point.setX(qBound(0.0, point.x(), 120.0));
        point.setY(qBound(0.0, point.y(), 80.0));
        path.lineTo(point);
    }
    return path;
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

double timeMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(kWidth, kHeight);
    DView view(&window);
    DPage page(&view, &window);
    page.setPageBackgroundColor(Qt::white);
    view.setScene(&page);

    QRandomGenerator random(20261207);
    const QPen pen(QColor(0, 0, 0), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    std::vector<DGPathCurveItem *> strokes;
    std::vector<std::pair<QPointF, QPainterPath>> raw;
    for (int i = 0; i < kStrokes; ++i) {
        const QPointF pos(random.bounded(double(kWidth - 130)),
                          random.bounded(double(kHeight - 90)));
        const QPainterPath path = makeStroke(random);
        auto *stroke = new DGPathCurveItem(pos, pen, BtMenus::btPencil, nullptr);
        stroke->setPath(path);
        page.addItem(stroke);
        strokes.push_back(stroke);
        raw.emplace_back(pos, path);
    }

    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    const auto renderPage = [&]() {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        page.render(&painter, QRectF(0, 0, kWidth, kHeight), QRectF(0, 0, kWidth, kHeight));
    };
    // The baseline touches every path: the same strokes drawn straight onto the image.
    const auto drawRaw = [&]() {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(pen);
        for (const auto &[pos, path] : raw) {
            painter.save();
            painter.translate(pos);
            painter.drawPath(path);
            painter.restore();
        }
    };

    std::vector<double> firstRatios;
    std::vector<double> repaintRatios;
    std::vector<double> rawTimes;
    for (int run = 0; run < kRuns; ++run) {
        for (DGPathCurveItem *stroke : strokes)
            stroke->restorePx(); // a page opened afresh: no pictures yet
        const double rawMs = timeMs(drawRaw);
        const double firstMs = timeMs(renderPage);
        const double repaintMs = timeMs(renderPage);
        rawTimes.push_back(rawMs);
        firstRatios.push_back(firstMs / rawMs);
        repaintRatios.push_back(repaintMs / rawMs);
    }
    std::printf("page of %d strokes x %d points, %dx%d, median of %d runs\n", kStrokes, kPoints,
                kWidth, kHeight, kRuns);
    std::printf("raw QPainter: %.1f ms\n", median(rawTimes));
    std::printf("first render / raw QPainter: %.2f\n", median(firstRatios));
    std::printf("repaint of unchanged page / raw QPainter: %.2f\n", median(repaintRatios));
    std::printf("resident memory with the page: %.1f MB\n", residentKiB() / 1024.0);
    view.setScene(nullptr);
    return 0;
}
