// Learns the engine's model from the writing styles of a style list (see styles.cfg):
//
//     lipimodel <style list> <profile folder> <held-out folder> [--sheet <picture>]
//
// writes <profile folder>/templates.mdt, where every class gets the ways each style writes it,
// the drawn ones first, each marked with the style it comes from ("from <style>"), and
// <profile folder>/network.txt, the network learnt from all of them (see InkNetwork). For the
// recognition benchmark and its tests, <held-out folder>/<style>/ holds the same two files
// learnt without that style, for every style (the folder is made anew). --sheet draws every
// template into a picture, a row per style.
#include "glyphstrokes.h"
#include "networktrainer.h"
#include "writingstyles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <cstdio>

namespace {

int fail(const QString &why)
{
    std::fprintf(stderr, "lipimodel: %s\n", qPrintable(why));
    return 1;
}

void drawSheet(const QList<WritingStyles::Style> &styles,
               const QVector<QVector<QList<GlyphStrokes::Strokes>>> &byStyle, const QString &file)
{
    const int cell = 48;
    QImage sheet(cell * GlyphStrokes::kClassCount, cell * styles.size(), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int s = 0; s < styles.size(); ++s) {
        for (int id = 0; id < GlyphStrokes::kClassCount; ++id) {
            const QList<GlyphStrokes::Strokes> &ways = byStyle.at(s).at(id);
            if (ways.isEmpty())
                continue;
            painter.save();
            painter.translate(id * cell + 4, s * cell + 4);
            painter.scale(0.25, 0.25);
            int colour = 0;
            for (const QVector<QPointF> &stroke : ways.first()) {
                painter.setPen(QPen(QColor::fromHsv((colour++ * 70) % 360, 255, 200), 5));
                if (stroke.size() == 1)
                    painter.drawEllipse(stroke.first(), 4, 4);
                else
                    painter.drawPolyline(stroke.constData(), stroke.size());
            }
            painter.restore();
        }
    }
    sheet.save(file);
}

using ByStyle = QVector<QVector<QList<GlyphStrokes::Strokes>>>;

bool writeModel(const QList<WritingStyles::Style> &styles, const ByStyle &byStyle,
                const QString &without, const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        *error = fileName + QStringLiteral(": cannot be written");
        return false;
    }
    QTextStream out(&file);
    out.setCodec("UTF-8");
    out << "# Stroke templates of the alphanumeric project, one \"shape\" per class id (see\n"
           "# project.cfg), learnt by the build from the writing styles of styles.cfg";
    if (!without.isEmpty())
        out << " but " << without;
    out << ".\n# Coordinates in a 100-unit letter box, y downwards, the capitals from 0 to 100.\n"
           "# \"from\" names the style each way of writing comes from.\n";
    const QString chars = GlyphStrokes::characters();
    for (int id = 0; id < GlyphStrokes::kClassCount; ++id) {
        bool first = true;
        for (int s = 0; s < styles.size(); ++s) {
            if (styles.at(s).name == without)
                continue;
            for (const GlyphStrokes::Strokes &way : byStyle.at(s).at(id)) {
                if (way.isEmpty())
                    continue;
                if (first)
                    out << "\nshape " << id << ' ' << chars.at(id) << '\n';
                else
                    out << "variant\n";
                first = false;
                out << "from " << styles.at(s).name << '\n';
                for (const QVector<QPointF> &stroke : way) {
                    out << "stroke";
                    for (const QPointF &point : stroke)
                        out << ' ' << QString::number(point.x(), 'g', 4) << ','
                            << QString::number(point.y(), 'g', 4);
                    out << '\n';
                }
            }
        }
        if (first) {
            *error = QStringLiteral("no style gives %1").arg(chars.at(id));
            return false;
        }
    }
    out.flush();
    if (file.error() != QFileDevice::NoError) {
        *error = fileName + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

bool writeNetwork(const QList<WritingStyles::Style> &styles, const ByStyle &byStyle,
                  const QString &without, const QString &fileName, QString *error)
{
    std::vector<NetworkTrainer::Example> examples;
    std::vector<std::string> learnt;
    for (int s = 0; s < styles.size(); ++s) {
        if (styles.at(s).name == without)
            continue;
        learnt.push_back(styles.at(s).name.toStdString());
        for (int id = 0; id < GlyphStrokes::kClassCount; ++id) {
            for (const GlyphStrokes::Strokes &way : byStyle.at(s).at(id)) {
                NetworkTrainer::Example example;
                example.classId = id;
                for (const QVector<QPointF> &stroke : way) {
                    StrokeMatcher::Stroke points;
                    for (const QPointF &point : stroke)
                        points.push_back({ float(point.x()), float(point.y()) });
                    example.strokes.push_back(points);
                }
                examples.push_back(example);
            }
        }
    }
    const InkNetwork network = NetworkTrainer::train(examples, GlyphStrokes::kClassCount, learnt,
                                                     NetworkTrainer::Settings());
    if (!network.write(fileName.toStdString())) {
        *error = fileName + QStringLiteral(": cannot be written");
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    // Glyphs are rendered off screen: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    QString sheet;
    const int sheetAt = arguments.indexOf(QStringLiteral("--sheet"));
    if (sheetAt >= 0 && sheetAt + 1 < arguments.size()) {
        sheet = arguments.takeAt(sheetAt + 1);
        arguments.removeAt(sheetAt);
    }
    if (arguments.size() != 3)
        return fail(QStringLiteral("usage: lipimodel <style list> <profile folder> <held-out "
                                   "folder> [--sheet <picture>]"));
    QString error;
    const QList<WritingStyles::Style> styles = WritingStyles::read(arguments.at(0), &error);
    if (styles.isEmpty())
        return fail(error);
    const QString folder = QFileInfo(arguments.at(0)).absolutePath();
    ByStyle byStyle;
    for (const WritingStyles::Style &style : styles) {
        byStyle << WritingStyles::glyphs(style, folder);
        int given = 0;
        for (const QList<GlyphStrokes::Strokes> &ways : byStyle.last())
            given += ways.isEmpty() ? 0 : 1;
        // A missing font would quietly teach less: the build stops instead.
        if (given < style.classes.size() / 2)
            return fail(QStringLiteral("style %1: only %2 characters from %3 (is its package "
                                       "installed? see scripts/install-deps.sh)")
                                .arg(style.name)
                                .arg(given)
                                .arg(style.source));
    }
    if (!sheet.isEmpty())
        drawSheet(styles, byStyle, sheet);

    // Models of styles no longer listed must not linger among the held-out ones.
    QDir heldOut(arguments.at(2));
    if (heldOut.exists() && !heldOut.removeRecursively())
        return fail(arguments.at(2) + QStringLiteral(": cannot be emptied"));
    QStringList leftOut{ QString() };
    for (const WritingStyles::Style &style : styles)
        leftOut << style.name;
    for (const QString &without : leftOut) {
        const QString profile =
                without.isEmpty() ? arguments.at(1) : heldOut.filePath(without);
        if (!QDir().mkpath(profile))
            return fail(profile + QStringLiteral(": cannot be made"));
        if (!writeModel(styles, byStyle, without, profile + QStringLiteral("/templates.mdt"),
                        &error)
            || !writeNetwork(styles, byStyle, without, profile + QStringLiteral("/network.txt"),
                             &error))
            return fail(error);
    }
    return 0;
}
