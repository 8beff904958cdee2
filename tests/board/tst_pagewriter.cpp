#include "board/boardtypes.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpathtableitem.h"
#include "board/dpage.h"
#include "board/pagewriter.h"
#include "document/iwbformat.h"
#include "support/boardfixture.h"

#include <QBuffer>
#include <QGraphicsItemGroup>
#include <QGuiApplication>
#include <QScreen>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtTest>

// The page element of an IWB document as it is written and read back: element names,
// attribute order and values, media files, and that writing leaves the page as it was.
class tst_PageWriter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void background_data();
    void background();
    void pathElements_data();
    void pathElements();
    void penStyles_data();
    void penStyles();
    void values();
    void writingMovesNothing();
    void geometryComesBackAsShown_data();
    void geometryComesBackAsShown();
    void orderAndVisibility();
    void longPathsKeepTheirOwnPoints();
    void pointsWrittenAsBefore_data();
    void pointsWrittenAsBefore();
    void links();
    void sameNameDifferentFiles();
    void penTextureIsStored();
    void tableKeepsRowsAndColumns();
    void picturesWrittenAgainWhenChangedOrGone();

private:
    struct Element
    {
        QString name;
        QStringList attributeNames;
        QXmlStreamAttributes attributes;
        QString value(const char *name) const
        {
            return attributes.value(QLatin1String(name)).toString();
        }
    };
    QList<Element> writeAndRead(DPage *page, int n = 0);
    DGPathCurveItem *addCurve(DPage *page, int kind, const QPainterPath &path, QPointF pos,
                              const QPen &pen = QPen(Qt::black, 3));

    QTemporaryDir m_dir;
    std::unique_ptr<BoardFixture::Board> m_board;
};

void tst_PageWriter::init()
{
    m_board = std::make_unique<BoardFixture::Board>(1);
    for (const char *folder : { "images", "videos", "document" })
        QDir(m_dir.path()).mkpath(QLatin1String(folder));
}

QList<tst_PageWriter::Element> tst_PageWriter::writeAndRead(DPage *page, int n)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter stream(&buffer);
    stream.writeStartDocument();
    stream.writeStartElement(QStringLiteral("svg:pageset"));
    // The document writer binds the prefixes on its root element.
    stream.writeAttribute(QStringLiteral("xmlns:svg"),
                          QStringLiteral("http://www.w3.org/2000/svg"));
    stream.writeAttribute(QStringLiteral("xmlns:xlink"),
                          QStringLiteral("http://www.w3.org/1999/xlink"));
    const QStringList errors = page->savePageDataToIWB(stream, m_dir.path(), n);
    stream.writeEndElement();
    stream.writeEndDocument();
    if (!errors.isEmpty())
        qWarning() << errors;
    QList<Element> elements;
    QXmlStreamReader reader(bytes);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        Element element;
        element.name = reader.qualifiedName().toString();
        element.attributes = reader.attributes();
        for (const QXmlStreamAttribute &attribute : reader.attributes())
            if (!attribute.qualifiedName().startsWith(QLatin1String("xmlns")))
                element.attributeNames << attribute.qualifiedName().toString();
        elements << element;
    }
    if (reader.hasError())
        qWarning() << reader.errorString();
    return elements;
}

DGPathCurveItem *tst_PageWriter::addCurve(DPage *page, int kind, const QPainterPath &path,
                                          QPointF pos, const QPen &pen)
{
    auto *curve = new DGPathCurveItem(pos, pen, BtMenus::btType(kind), nullptr);
    curve->setPath(path);
    page->addItem(curve);
    return curve;
}

void tst_PageWriter::background_data()
{
    QTest::addColumn<int>("pageType");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("element");
    QTest::addColumn<QStringList>("attributes");
    QTest::addColumn<QString>("fill");
    QTest::addColumn<QString>("opacity");

    const QStringList rect{ "id", "fill", "fill-opacity", "x", "y", "width", "height" };
    const QStringList image{ "id", "xlink:href", "x", "y", "width", "height" };
    QTest::newRow("colour") << 0 << 0 << "svg:rect" << rect << "#ffffff"
                            << "255";
    QTest::newRow("transparent") << 3 << 1 << "svg:rect" << rect << "#000000"
                                 << "0";
    QTest::newRow("image") << 1 << 2 << "svg:image" << image << QString() << QString();
    QTest::newRow("capture") << 2 << 3 << "svg:image" << image << QString() << QString();
}

void tst_PageWriter::background()
{
    QFETCH(int, pageType);
    QFETCH(int, number);
    QFETCH(QString, element);
    QFETCH(QStringList, attributes);
    QFETCH(QString, fill);
    QFETCH(QString, opacity);
    DPage *page = m_board->newPage(pageType == 3 ? 3 : 0);
    if (pageType == 1 || pageType == 2) {
        QPixmap picture(30, 20);
        picture.fill(Qt::green);
        page->setBackgroundBrush(QBrush(picture));
        page->setPageType(pageType);
    }
    page->setModified(true);
    const QList<Element> elements = writeAndRead(page, number);
    QCOMPARE(elements.size(), 3); // pageset, page, background
    QCOMPARE(elements.at(1).name, QStringLiteral("svg:page"));
    QCOMPARE(elements.at(1).value("id"), QStringLiteral("page%1").arg(number));
    const Element &background = elements.at(2);
    QCOMPARE(background.name, element);
    QCOMPARE(background.attributeNames, attributes);
    QCOMPARE(background.value("id"), QStringLiteral("bck%1").arg(number));
    if (element == QLatin1String("svg:rect")) {
        QCOMPARE(background.value("fill"), fill);
        QCOMPARE(background.value("fill-opacity"), opacity);
        const QSize desktop = QGuiApplication::primaryScreen()->virtualSize();
        QCOMPARE(background.value("width"), QString::number(desktop.width()));
        QCOMPARE(background.value("height"), QString::number(desktop.height()));
    } else {
        const QString href = QStringLiteral("images/bck%1.png").arg(number);
        QCOMPARE(background.value("xlink:href"), href);
        QCOMPARE(background.value("width"), QStringLiteral("30"));
        const QImage stored(m_dir.filePath(href));
        QCOMPARE(stored.size(), QSize(30, 20));
        QCOMPARE(stored.pixelColor(3, 3), QColor(Qt::green));
    }
    QVERIFY(!page->isModified());
}

void tst_PageWriter::pathElements_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("fillType");
    QTest::addColumn<QString>("element"); // "" when nothing is written
    QTest::addColumn<QStringList>("attributes");

    const QStringList stroke{ "stroke",         "stroke-dasharray", "stroke-width",
                              "stroke-linecap", "stroke-opacity",   "transform" };
    const QStringList rect = QStringList{ "id", "points", "x", "y", "width", "height", "fillType" };
    QTest::newRow("square unfilled") << 74 << 5 << 0 << "svg:rect" << rect + stroke;
    QTest::newRow("rectangle solid")
            << 75 << 5 << 1 << "svg:rect" << rect + QStringList{ "fill" } + stroke;
    QTest::newRow("rectangle texture")
            << 75 << 5 << 3 << "svg:rect" << rect + QStringList{ "fill", "pathFile" } + stroke;
    QTest::newRow("round rectangle") << 76 << 5 << 0 << "svg:roundrect" << rect + stroke;
    QTest::newRow("cone") << 88 << 5 << 0 << "svg:cone" << rect + stroke;
    QTest::newRow("cube") << 89 << 5 << 0 << "svg:cube" << rect + stroke;
    QTest::newRow("cylinder") << 90 << 5 << 0 << "svg:cylinder" << rect + stroke;
    QTest::newRow("ball") << 91 << 5 << 0 << "svg:sphere" << rect + stroke;
    QTest::newRow("circle texture") << 77 << 5 << 3 << "svg:circle"
                                    << QStringList{ "id",       "points", "cx",   "cy",      "r",
                                                    "fillType", "gradH",  "fill", "pathFile" }
                    + stroke;
    QTest::newRow("ellipse gradient")
            << 78 << 5 << 2 << "svg:ellipse"
            << QStringList{ "id", "points", "cx", "cy", "rx", "ry", "fillType", "fill" } + stroke;
    QTest::newRow("line of two points") << 72 << 2 << 0 << "svg:line"
                                        << QStringList{ "id",
                                                        "points",
                                                        "x1",
                                                        "y1",
                                                        "x2",
                                                        "y2",
                                                        "stroke",
                                                        "stroke-width",
                                                        "stroke-linecap",
                                                        "stroke-opacity",
                                                        "transform" };
    QTest::newRow("line of three points is a polyline")
            << 72 << 3 << 0 << "svg:polyline"
            << QStringList{ "id", "type", "points", "fillType" } + stroke;
    QTest::newRow("pencil never filled")
            << 50 << 5 << 1 << "svg:polyline"
            << QStringList{ "id", "type", "points", "fillType" } + stroke;
    QTest::newRow("triangle solid")
            << 73 << 4 << 1 << "svg:polygon"
            << QStringList{ "id", "type", "points", "fillType", "fill" } + stroke;
    QTest::newRow("highlighter stroke")
            << 54 << 5 << 0 << "svg:polygon"
            << QStringList{ "id", "type", "points", "fillType" } + stroke;
}

void tst_PageWriter::pathElements()
{
    QFETCH(int, kind);
    QFETCH(int, points);
    QFETCH(int, fillType);
    QFETCH(QString, element);
    QFETCH(QStringList, attributes);
    QPainterPath path(QPointF(0, 0));
    for (int i = 1; i < points; ++i)
        path.lineTo(10 * i, 5 * (i % 2));
    DPage *page = m_board->page(0);
    DGPathCurveItem *curve = addCurve(page, kind, path, QPointF(100, 50));
    curve->m_fillType = short(fillType);
    curve->setGradColor(Qt::red);
    curve->setFillFileName(QStringLiteral("/nowhere/texture.png"));
    curve->changeLinks(QStringLiteral("http://example.org"), QString(), QString(), QString());
    const QList<Element> elements = writeAndRead(page);
    if (element.isEmpty()) {
        QCOMPARE(elements.size(), 3); // no element and no link wrapper
        return;
    }
    QCOMPARE(elements.size(), 5);
    QCOMPARE(elements.at(3).name, QStringLiteral("svg:a"));
    const Element &written = elements.at(4);
    QCOMPARE(written.name, element);
    QCOMPARE(written.attributeNames, attributes);
    QCOMPARE(written.value("id"), PageWriter::objectId(curve));
    if (attributes.contains(QStringLiteral("fill")))
        QCOMPARE(written.value("fill"), QStringLiteral("#ff0000"));
    if (element == QLatin1String("svg:polyline") || element == QLatin1String("svg:polygon"))
        QCOMPARE(written.value("type"), QStringLiteral("table"));
}

void tst_PageWriter::penStyles_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("dashArray");
    QTest::newRow("solid") << int(Qt::SolidLine) << "1, 0";
    QTest::newRow("dash") << int(Qt::DashLine) << "2, 1";
    QTest::newRow("dot") << int(Qt::DotLine) << "5, 1";
    QTest::newRow("dash dot") << int(Qt::DashDotLine) << "5, 1, 2";
    QTest::newRow("dash dot dot") << int(Qt::DashDotDotLine) << "";
}

void tst_PageWriter::penStyles()
{
    QFETCH(int, style);
    QFETCH(QString, dashArray);
    QPainterPath path(QPointF(0, 0));
    path.lineTo(20, 20);
    path.lineTo(40, 0);
    addCurve(m_board->page(0), BtMenus::btPencil, path, QPointF(),
             QPen(Qt::blue, 4, Qt::PenStyle(style)));
    const QList<Element> elements = writeAndRead(m_board->page(0));
    QCOMPARE(elements.last().value("stroke-dasharray"), dashArray);
}

void tst_PageWriter::values()
{
    DPage *page = m_board->page(0);
    QPainterPath line(QPointF(0, 0));
    line.lineTo(10, 5);
    QColor ink(10, 20, 30, 127);
    addCurve(page, BtMenus::btLine, line, QPointF(100, 50), QPen(ink, 7));
    QPainterPath round;
    round.addEllipse(QRectF(10, 10, 80, 40));
    DGPathCurveItem *circle = addCurve(page, BtMenus::btCircle, round, QPointF(50, 60));
    circle->setRotation(-90); // 90 counter-clockwise
    circle->setScale(2);
    const QList<Element> elements = writeAndRead(page);
    const Element &written = elements.at(3);
    QCOMPARE(written.value("points"), QStringLiteral("100,50 110,55"));
    QCOMPARE(written.value("x1"), QStringLiteral("100"));
    QCOMPARE(written.value("y2"), QStringLiteral("55"));
    QCOMPARE(written.value("stroke"), QStringLiteral("#0a141e"));
    QCOMPARE(written.value("stroke-opacity"), QStringLiteral("127"));
    QCOMPARE(written.value("stroke-width"), QStringLiteral("7"));
    QCOMPARE(written.value("transform"), QStringLiteral("translate(0,0) rotate(0,0,0) scale(1)"));
    const Element &ring = elements.at(4);
    QCOMPARE(ring.value("transform"), QStringLiteral("translate(0,0) rotate(90,0,0) scale(2)"));
    QCOMPARE(ring.value("r"), QStringLiteral("40"));
    QCOMPARE(ring.value("gradH"), IwbFormat::number(circle->boundingRect().height()));
}

void tst_PageWriter::writingMovesNothing()
{
    DPage *page = m_board->page(0);
    QPainterPath box;
    box.addRect(0, 0, 60, 30);
    DGPathCurveItem *turned = addCurve(page, BtMenus::btRectangle, box, QPointF(200, 100));
    turned->setRotation(30);
    turned->setScale(1.5);
    auto *group = new QGraphicsItemGroup;
    page->QGraphicsScene::addItem(group);
    DGPathCurveItem *member = addCurve(page, BtMenus::btRectangle, box, QPointF(400, 300));
    group->addToGroup(member);
    group->setTransformOriginPoint(group->boundingRect().center());
    group->setRotation(45);
    turned->setSelected(true);
    const QRectF turnedBefore = turned->sceneBoundingRect();
    const QPointF originBefore = turned->transformOriginPoint();
    const QRectF memberBefore = member->sceneBoundingRect();
    writeAndRead(page);
    QCOMPARE(turned->sceneBoundingRect(), turnedBefore);
    QCOMPARE(turned->transformOriginPoint(), originBefore);
    QCOMPARE(member->sceneBoundingRect(), memberBefore);
    QCOMPARE(member->parentItem(), group);
    QVERIFY(turned->isSelected());
}

void tst_PageWriter::geometryComesBackAsShown_data()
{
    QTest::addColumn<qreal>("rotation");
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<qreal>("groupRotation");
    QTest::addColumn<qreal>("groupScale");

    QTest::newRow("plain") << 0.0 << 1.0 << 0.0 << 1.0;
    QTest::newRow("turned about its corner") << 30.0 << 1.0 << 0.0 << 1.0;
    QTest::newRow("turned and scaled") << -70.0 << 1.7 << 0.0 << 1.0;
    QTest::newRow("in a turned group") << 0.0 << 1.0 << 45.0 << 1.0;
    QTest::newRow("turned in a scaled and turned group") << 20.0 << 1.0 << -30.0 << 2.0;
}

void tst_PageWriter::geometryComesBackAsShown()
{
    QFETCH(qreal, rotation);
    QFETCH(qreal, scale);
    QFETCH(qreal, groupRotation);
    QFETCH(qreal, groupScale);
    DPage *page = m_board->page(0);
    QPainterPath box;
    box.addRect(0, 0, 80, 40);
    DGPathCurveItem *shape = addCurve(page, BtMenus::btRectangle, box, QPointF(300, 200));
    shape->setRotation(rotation); // about the item's corner: the origin is not the centre
    shape->setScale(scale);
    if (groupRotation != 0 || groupScale != 1) {
        auto *group = new QGraphicsItemGroup;
        page->QGraphicsScene::addItem(group);
        group->addToGroup(shape);
        group->setTransformOriginPoint(group->boundingRect().center());
        group->setRotation(groupRotation);
        group->setScale(groupScale);
    }
    const QList<Element> elements = writeAndRead(page);
    const Element &written = elements.last();
    QCOMPARE(written.name, QStringLiteral("svg:rect"));
    // The object a reader builds: origin at the centre of its bounds, the written place, turn
    // and scale. It must cover what the screen showed.
    DGPathCurveItem rebuilt(QPointF(written.value("x").toDouble(), written.value("y").toDouble()),
                            shape->pen(), BtMenus::btRectangle, nullptr);
    rebuilt.setPath(box);
    rebuilt.setTransformOriginPoint(rebuilt.boundingRect().center());
    const QString transform = written.value("transform");
    const QRegularExpression numbers(
            QStringLiteral("rotate\\(([-0-9.e]+),0,0\\) scale\\(([-0-9.e]+)\\)"));
    const QRegularExpressionMatch match = numbers.match(transform);
    QVERIFY2(match.hasMatch(), qPrintable(transform));
    rebuilt.setRotation(-match.captured(1).toDouble());
    rebuilt.setScale(match.captured(2).toDouble());
    const QRectF shown = shape->sceneBoundingRect();
    const QRectF read = rebuilt.sceneBoundingRect();
    QVERIFY2(qAbs(shown.left() - read.left()) < 0.01 && qAbs(shown.top() - read.top()) < 0.01
                     && qAbs(shown.width() - read.width()) < 0.01,
             qPrintable(QStringLiteral("shown %1,%2 %3 read %4,%5 %6")
                                .arg(shown.left())
                                .arg(shown.top())
                                .arg(shown.width())
                                .arg(read.left())
                                .arg(read.top())
                                .arg(read.width())));
}

void tst_PageWriter::longPathsKeepTheirOwnPoints()
{
    // Long paths have their points written on other threads: each element still carries its
    // own object's points, at its own place, in the page's order, among short ones.
    DPage *page = m_board->page(0);
    QList<DGPathCurveItem *> curves;
    for (int n = 0; n < 12; ++n) {
        QPainterPath path(QPointF(0, 0));
        for (int p = 1; p < (n % 3 == 1 ? 4 : 70 + n * 13); ++p)
            path.lineTo(p * 1.7 + n, (p * p + n) % 29 + 0.25);
        curves << addCurve(page, BtMenus::btPencil, path, QPointF(10.5 * n, 400 - 7.25 * n));
    }
    const QList<Element> elements = writeAndRead(page);
    QList<Element> written;
    for (const Element &element : elements) {
        if (element.name == QLatin1String("svg:polyline"))
            written << element;
    }
    QCOMPARE(written.size(), curves.size());
    for (int n = 0; n < curves.size(); ++n) {
        QCOMPARE(written.at(n).value("id"), PageWriter::objectId(curves.at(n)));
        QCOMPARE(written.at(n).value("points"),
                 IwbFormat::points(curves.at(n)->path(), curves.at(n)->pos()));
    }
}

void tst_PageWriter::pointsWrittenAsBefore_data()
{
    QTest::addColumn<int>("kind"); // 0: a line drawn along an instrument
    QTest::addColumn<QPolygonF>("line"); // none: a circle of 40 at the object's origin
    QTest::addColumn<QString>("points"); // as earlier versions wrote them, to the byte

    using P = QVector<QPointF>;
    QTest::newRow("pencil stroke") << 50 << QPolygonF(P{ { 0, 0 }, { 10.5, 5 }, { 20, 0.25 } })
                                   << "100,50 110.5,55 120,50.25";
    QTest::newRow("polygon") << 81 << QPolygonF(P{ { 0, 0 }, { 40, 0 }, { 20, 30 }, { 0, 0 } })
                             << "100,50 140,50 120,80 100,50";
    QTest::newRow("line along an instrument")
            << 0 << QPolygonF(P{ { 0, 0 }, { 100, -0.5 } }) << "100,50 200,49.5";
    // Its reader rebuilds the curves from the box and moves every element, control points
    // included, to these points.
    QTest::newRow("circle") << 77 << QPolygonF()
                            << "140,70 140,81.0457 131.046,90 120,90 108.954,90 100,81.0457 100,70 "
                               "100,58.9543 108.954,50 120,50 131.046,50 140,58.9543 140,70";
}

void tst_PageWriter::pointsWrittenAsBefore()
{
    QFETCH(int, kind);
    QFETCH(QPolygonF, line);
    QFETCH(QString, points);
    QPainterPath path;
    if (line.isEmpty())
        path.addEllipse(QRectF(0, 0, 40, 40));
    else
        path.addPolygon(line);
    DPage *page = m_board->page(0);
    if (kind == 0)
        BoardFixture::addVertex(page, path, QPointF(100, 50));
    else
        addCurve(page, kind, path, QPointF(100, 50));
    QCOMPARE(writeAndRead(page).last().value("points"), points);
}

void tst_PageWriter::orderAndVisibility()
{
    DPage *page = m_board->page(0);
    QPainterPath path(QPointF(0, 0));
    path.lineTo(10, 10);
    path.lineTo(20, 0);
    DGPathCurveItem *low = addCurve(page, BtMenus::btPencil, path, QPointF());
    DGPathCurveItem *under = addCurve(page, BtMenus::btPencil, path, QPointF());
    DGPathCurveItem *over = addCurve(page, BtMenus::btPencil, path, QPointF());
    DGPathCurveItem *hidden = addCurve(page, BtMenus::btPencil, path, QPointF());
    low->setZValue(-5);
    under->setZValue(3);
    over->setZValue(3); // added later: drawn on top of under
    hidden->setVisible(false);
    const QList<Element> elements = writeAndRead(page);
    QStringList ids;
    for (int i = 3; i < elements.size(); ++i)
        ids << elements.at(i).value("id");
    QCOMPARE(ids,
             (QStringList{ PageWriter::objectId(low), PageWriter::objectId(over),
                           PageWriter::objectId(under) }));
}

void tst_PageWriter::links()
{
    const QString linked = m_dir.filePath(QStringLiteral("lesson.pdf"));
    QFile file(linked);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("pdf");
    file.close();
    DPage *page = m_board->page(0);
    QPainterPath path(QPointF(0, 0));
    path.lineTo(10, 10);
    DGPathCurveItem *pageLinked = addCurve(page, BtMenus::btPencil, path, QPointF());
    pageLinked->changeLinks(QString(), QStringLiteral("3"), QString(), QString());
    DGPathCurveItem *fileLinked = addCurve(page, BtMenus::btPencil, path, QPointF());
    fileLinked->changeLinks(QString(), QString(), linked, QStringLiteral("/nowhere/song.mp3"));
    const QList<Element> elements = writeAndRead(page);
    QCOMPARE(elements.size(), 7);
    const Element &first = elements.at(3);
    QCOMPARE(first.name, QStringLiteral("svg:a"));
    QCOMPARE(first.attributeNames,
             (QStringList{ "id", "xlink", "xpagelink", "xfilelink", "xsoundlink" }));
    QCOMPARE(first.value("xpagelink"), QStringLiteral("3"));
    QCOMPARE(first.value("xlink"), QString());
    QCOMPARE(first.value("id"), PageWriter::linkId(pageLinked));
    const Element &second = elements.at(5);
    QCOMPARE(second.value("xfilelink"), linked);
    QCOMPARE(second.value("xsoundlink"), QStringLiteral("/nowhere/song.mp3")); // missing: kept
    QVERIFY(QFileInfo::exists(m_dir.filePath(QStringLiteral("document/lesson.pdf"))));
}

void tst_PageWriter::sameNameDifferentFiles()
{
    QTemporaryDir one;
    QTemporaryDir two;
    const QStringList sources{ one.filePath(QStringLiteral("a.pdf")),
                               two.filePath(QStringLiteral("a.pdf")) };
    DPage *page = m_board->page(0);
    QPainterPath path(QPointF(0, 0));
    path.lineTo(10, 10);
    for (const QString &source : sources) {
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(source.toUtf8());
        file.close();
        addCurve(page, BtMenus::btPencil, path, QPointF())
                ->changeLinks(QString(), QString(), source, QString());
    }
    const QList<Element> elements = writeAndRead(page);
    QStringList names;
    for (const Element &element : elements) {
        if (element.name == QLatin1String("svg:a"))
            names << QFileInfo(element.value("xfilelink")).fileName();
    }
    QCOMPARE(names.size(), 2);
    QVERIFY(names.at(0) != names.at(1));
    for (int i = 0; i < 2; ++i) {
        QFile copy(m_dir.filePath(QStringLiteral("document/") + names.at(i)));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), sources.at(i).toUtf8());
    }
}

void tst_PageWriter::penTextureIsStored()
{
    QPixmap texture(8, 8);
    texture.fill(Qt::magenta);
    QPen pen(Qt::black, 12);
    pen.setBrush(QBrush(Qt::black, texture));
    QPainterPath path(QPointF(0, 0));
    path.lineTo(30, 30);
    DGPathCurveItem *stroke =
            addCurve(m_board->page(0), BtMenus::btFountainPen, path, QPointF(), pen);
    const QList<Element> elements = writeAndRead(m_board->page(0));
    const Element &written = elements.last();
    QCOMPARE(written.attributeNames.last(), QStringLiteral("xlink:href"));
    const QString href =
            QStringLiteral("/images/") + PageWriter::objectId(stroke) + QStringLiteral(".png");
    QCOMPARE(written.value("xlink:href"), href);
    QCOMPARE(QImage(m_dir.path() + href).pixelColor(2, 2), QColor(Qt::magenta));
}

void tst_PageWriter::tableKeepsRowsAndColumns()
{
    auto *table = new DGPathTableItem(3, 2, QPointF(10, 20), QPen(Qt::black), nullptr);
    QPainterPath grid;
    grid.addRect(0, 0, 120, 90);
    table->setPath(grid);
    m_board->page(0)->addItem(table);
    const QList<Element> elements = writeAndRead(m_board->page(0));
    QCOMPARE(elements.at(3).name, QStringLiteral("svg:table"));
    QCOMPARE(elements.at(3).attributeNames,
             (QStringList{ "id", "x", "y", "width", "height", "rows", "columns", "title",
                           "transform" }));
    QCOMPARE(elements.at(3).value("rows"), QStringLiteral("3"));
    QCOMPARE(elements.at(3).value("x"), QStringLiteral("10"));
    QCOMPARE(elements.at(3).value("width"), QStringLiteral("120"));
    QCOMPARE(elements.size(), 4 + 6); // one cell per row and column
}

// Unchanged pictures are not encoded again, yet the file always ends up holding the picture:
// after it was deleted, replaced by something else, or the picture itself changed.
void tst_PageWriter::picturesWrittenAgainWhenChangedOrGone()
{
    DPage *page = m_board->newPage(0);
    const auto setBackground = [page](QColor colour) {
        QPixmap picture(30, 20);
        picture.fill(colour);
        page->setBackgroundBrush(QBrush(picture));
        page->setPageType(1);
    };
    const QString file = m_dir.filePath(QStringLiteral("images/bck7.png"));
    const auto storedColour = [&file]() { return QImage(file).pixelColor(3, 3); };
    setBackground(Qt::green);
    writeAndRead(page, 7);
    QCOMPARE(storedColour(), QColor(Qt::green));

    QVERIFY(QFile::remove(file));
    writeAndRead(page, 7);
    QCOMPARE(storedColour(), QColor(Qt::green));

    QImage other(60, 50, QImage::Format_RGB32);
    other.fill(Qt::blue);
    QVERIFY(other.save(file, "PNG"));
    writeAndRead(page, 7);
    QCOMPARE(storedColour(), QColor(Qt::green));
    QCOMPARE(QImage(file).size(), QSize(30, 20));

    setBackground(Qt::red);
    writeAndRead(page, 7);
    QCOMPARE(storedColour(), QColor(Qt::red));
}

QTEST_MAIN(tst_PageWriter)
#include "tst_pagewriter.moc"
