#include "writingstyles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace WritingStyles {

namespace {

QList<Style> failed(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return {};
}

// "all", or parts joined by '+'; false for an unknown part.
bool parseClasses(const QString &text, QSet<int> *classes)
{
    for (const QString &part : text.split(QLatin1Char('+'))) {
        int from = 0;
        int count = 0;
        if (part == QLatin1String("all")) {
            count = GlyphStrokes::kClassCount;
        } else if (part == QLatin1String("capitals")) {
            count = 26;
        } else if (part == QLatin1String("small")) {
            from = 26;
            count = 26;
        } else if (part == QLatin1String("digits")) {
            from = 52;
            count = 10;
        } else if (part == QLatin1String("marks")) {
            from = 62;
            count = GlyphStrokes::kClassCount - 62;
        } else {
            return false;
        }
        for (int id = from; id < from + count; ++id)
            classes->insert(id);
    }
    return true;
}

} // namespace

QList<Style> read(const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return failed(error, fileName + QStringLiteral(": cannot be read"));
    QList<Style> styles;
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    for (int number = 1; !stream.atEnd(); ++number) {
        const QStringList words = stream.readLine().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty() || words.first().startsWith(QLatin1Char('#')))
            continue;
        const QString where = QStringLiteral("%1:%2: ").arg(fileName).arg(number);
        if (words.size() != 4)
            return failed(error, where + QStringLiteral("name, kind, classes and source"));
        Style style;
        style.name = words.at(0);
        for (const Style &other : qAsConst(styles)) {
            if (other.name == style.name)
                return failed(error, where + QStringLiteral("style named twice"));
        }
        if (words.at(1) != QLatin1String("print") && words.at(1) != QLatin1String("script"))
            return failed(error, where + QStringLiteral("kind is print or script"));
        style.print = words.at(1) == QLatin1String("print");
        if (!parseClasses(words.at(2), &style.classes))
            return failed(error, where + QStringLiteral("unknown classes"));
        const int colon = words.at(3).indexOf(QLatin1Char(':'));
        style.kind = words.at(3).left(colon);
        style.source = words.at(3).mid(colon + 1);
        if (colon < 1 || style.source.isEmpty()
            || (style.kind != QLatin1String("drawn") && style.kind != QLatin1String("hershey")
                && style.kind != QLatin1String("font")))
            return failed(error, where + QStringLiteral("source is drawn:, hershey: or font:"));
        styles << style;
    }
    if (styles.isEmpty())
        return failed(error, fileName + QStringLiteral(": no style"));
    return styles;
}

QVector<QList<GlyphStrokes::Strokes>> glyphs(const Style &style, const QString &listFolder)
{
    QVector<QList<GlyphStrokes::Strokes>> result(GlyphStrokes::kClassCount);
    if (style.kind == QLatin1String("drawn")) {
        // A model file: "shape <id> <label>", "variant", "stroke x,y x,y ..." lines.
        QFile file(QDir(listFolder).filePath(style.source));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return result;
        QTextStream stream(&file);
        int current = -1;
        while (!stream.atEnd()) {
            const QStringList words =
                    stream.readLine().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (words.isEmpty() || words.first().startsWith(QLatin1Char('#')))
                continue;
            if (words.first() == QLatin1String("shape")) {
                current = words.value(1).toInt();
                if (current < 0 || current >= GlyphStrokes::kClassCount)
                    current = -1;
                else
                    result[current] << GlyphStrokes::Strokes();
            } else if (words.first() == QLatin1String("variant") && current >= 0) {
                result[current] << GlyphStrokes::Strokes();
            } else if (words.first() == QLatin1String("stroke") && current >= 0) {
                QVector<QPointF> stroke;
                for (int i = 1; i < words.size(); ++i) {
                    const QStringList xy = words.at(i).split(QLatin1Char(','));
                    stroke << QPointF(xy.value(0).toDouble(), xy.value(1).toDouble());
                }
                result[current].last() << stroke;
            }
        }
    } else {
        const GlyphStrokes::Alphabet alphabet = style.kind == QLatin1String("hershey")
                ? GlyphStrokes::hershey(style.source)
                : GlyphStrokes::outlineFont(style.source);
        for (int id = 0; id < alphabet.size(); ++id) {
            if (!alphabet.at(id).isEmpty())
                result[id] << alphabet.at(id);
        }
    }
    for (int id = 0; id < result.size(); ++id) {
        if (!style.classes.contains(id))
            result[id].clear();
    }
    return result;
}

} // namespace WritingStyles
