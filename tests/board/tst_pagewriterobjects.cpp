#include "board/dggifitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgsounditem.h"
#include "board/dgtextitem.h"
#include "board/dgvideoitem.h"
#include "board/dpage.h"
#include "board/pagewriter.h"
#include "support/boardfixture.h"
#include "support/itemmedia.h"

#include <QBuffer>
#include <QTextCursor>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtTest>

// The elements of pictures, animated images, videos, sounds and texts in a written page, read
// back with a plain XML reader: names, attribute order, values and the files they name.
class tst_PageWriterObjects : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void objectElements_data();
    void objectElements();
    void textRuns();
    void textKeepsEverythingAfterALineBreak();

private:
    struct Element
    {
        QString name;
        QStringList attributeNames;
        QXmlStreamAttributes attributes;
        QString text; // character data directly inside
        QString value(const char *name) const
        {
            return attributes.value(QLatin1String(name)).toString();
        }
    };
    QList<Element> writeAndRead(DPage *page);
    QString media(const QString &name) const { return m_media.filePath(name); }

    QTemporaryDir m_dir;
    QTemporaryDir m_media;
    std::unique_ptr<BoardFixture::Board> m_board;
};

void tst_PageWriterObjects::init()
{
    m_board = std::make_unique<BoardFixture::Board>(1);
    for (const char *folder : { "images", "videos", "document" })
        QDir(m_dir.path()).mkpath(QLatin1String(folder));
}

QList<tst_PageWriterObjects::Element> tst_PageWriterObjects::writeAndRead(DPage *page)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter stream(&buffer);
    stream.writeStartDocument();
    stream.writeStartElement(QStringLiteral("svg:pageset"));
    stream.writeAttribute(QStringLiteral("xmlns:svg"),
                          QStringLiteral("http://www.w3.org/2000/svg"));
    stream.writeAttribute(QStringLiteral("xmlns:xlink"),
                          QStringLiteral("http://www.w3.org/1999/xlink"));
    const QStringList errors = page->savePageDataToIWB(stream, m_dir.path(), 0);
    stream.writeEndElement();
    stream.writeEndDocument();
    if (!errors.isEmpty())
        qWarning() << errors;
    QList<Element> elements;
    QXmlStreamReader reader(bytes);
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::Characters && !elements.isEmpty()
            && !reader.isWhitespace()) {
            elements.last().text += reader.text();
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
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
    [&] { QVERIFY2(!reader.hasError(), qPrintable(reader.errorString())); }();
    return elements;
}

void tst_PageWriterObjects::objectElements_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("element");
    QTest::addColumn<QStringList>("attributes");
    QTest::addColumn<QString>("href"); // "%1" stands for the object's id
    QTest::addColumn<QString>("storedFile"); // relative to the working directory

    const QStringList picture{ "id", "xlink:href", "x", "y", "width", "height", "transform" };
    QTest::newRow("picture") << "picture"
                             << "svg:image" << picture << "images/%1.png"
                             << "images/%1.png";
    QTest::newRow("animated image") << "gif"
                                    << "svg:image" << picture << "images/flag.gif"
                                    << "images/flag.gif";
    QTest::newRow("video") << "video"
                           << "svg:video"
                           << QStringList{ "id", "xlink:href", "x", "y", "transform" }
                           << "/videos/clip.avi"
                           << "videos/clip.avi";
    QTest::newRow("sound") << "sound"
                           << "svg:sound"
                           << QStringList{ "id", "x", "y", "transform", "xlink:href" }
                           << "document/bell.mp3"
                           << "document/bell.mp3";
}

void tst_PageWriterObjects::objectElements()
{
    QFETCH(QString, kind);
    QFETCH(QString, element);
    QFETCH(QStringList, attributes);
    QFETCH(QString, href);
    QFETCH(QString, storedFile);
    DPage *page = m_board->current();
    QGraphicsItem *item = nullptr;
    const QPointF at(120, 80);
    if (kind == QLatin1String("picture")) {
        QPixmap pixmap(30, 20);
        pixmap.fill(Qt::red);
        item = page->addPixmapItem(pixmap, at, 30, 2, QTransform(), false);
    } else if (kind == QLatin1String("gif")) {
        if (!ItemMedia::haveConvert())
            QSKIP("ImageMagick is needed to make an animated image");
        QCOMPARE(ItemMedia::makeGif(media("flag.gif")), QString());
        item = page->addGifItem(DGGifItem::makeAnimation(media("flag.gif")), at, 30, 2,
                                QTransform(), false);
    } else if (kind == QLatin1String("video")) {
        QFile file(media("clip.avi"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not really a video");
        file.close();
        item = page->addVideoItem(file.fileName(), at, 30, 2, QTransform(), false);
    } else {
        QFile file(media("bell.mp3"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not really a sound");
        file.close();
        item = page->addSoundItem(file.fileName(), at, 30, 2, QTransform(), false);
    }
    QVERIFY(item);
    const QString id = PageWriter::objectId(item);
    const QPointF shown = item->pos();
    const QList<Element> elements = writeAndRead(page);
    // Videos and sounds carry their own file as media link: they are wrapped in "svg:a".
    const bool linked = kind == QLatin1String("video") || kind == QLatin1String("sound");
    QCOMPARE(elements.size(), linked ? 5 : 4);
    if (linked)
        QCOMPARE(elements.at(3).name, QStringLiteral("svg:a"));
    const Element &written = elements.last();
    QCOMPARE(written.name, element);
    QCOMPARE(written.attributeNames, attributes);
    QCOMPARE(written.value("id"), id);
    QCOMPARE(written.value("xlink:href"), QString(href).replace(QLatin1String("%1"), id));
    QCOMPARE(written.value("x"), QStringLiteral("120"));
    QCOMPARE(written.value("y"), QStringLiteral("80"));
    QCOMPARE(written.value("transform"), QStringLiteral("translate(0,0) rotate(30,0,0) scale(2)"));
    QVERIFY2(QFileInfo(m_dir.filePath(QString(storedFile).replace(QLatin1String("%1"), id)))
                     .isFile(),
             qPrintable(storedFile));
    if (kind == QLatin1String("picture")) {
        QCOMPARE(written.value("width"), QStringLiteral("30"));
        QCOMPARE(
                QImage(m_dir.filePath(QString(storedFile).replace(QLatin1String("%1"), id))).size(),
                QSize(30, 20));
    }
    if (kind == QLatin1String("gif"))
        QCOMPARE(written.value("width"), QStringLiteral("40"));
    QCOMPARE(item->pos(), shown);
}

void tst_PageWriterObjects::textRuns()
{
    DPage *page = m_board->current();
    const QString html = QStringLiteral(
            "<p>a &lt; b &amp;amp; c &gt; d</p>"
            "<p align=\"right\"><b>bold</b> plain <span style=\"color:#ff0000;\"><i><u>"
            "red</u></i></span></p>"
            "<p align=\"center\">middle</p>");
    QFont font(QStringLiteral("DejaVu Sans"), 18);
    DGTextItem *text = page->addTextItem(html, font, QPointF(10, 20), 0, 1, QTransform(), false);
    QVERIFY(text);
    const QList<Element> elements = writeAndRead(page);
    QCOMPARE(elements.at(3).name, QStringLiteral("svg:textarea"));
    QCOMPARE(elements.at(3).attributeNames,
             (QStringList{ "id", "x", "y", "width", "height", "fill", "font-family", "font-size",
                           "font-stretch", "font-style", "font-weight", "transform" }));
    QCOMPARE(elements.at(3).value("font-size"), QStringLiteral("18"));

    // One line per element after the textarea: paragraphs by their alignment, runs by their
    // text and look.
    QStringList seen;
    for (int i = 4; i < elements.size(); ++i) {
        const Element &e = elements.at(i);
        if (e.name == QLatin1String("svg:tbreak"))
            seen << QStringLiteral("break");
        else if (!e.value("text-align").isEmpty())
            seen << QStringLiteral("paragraph ") + e.value("text-align");
        else if (e.value("id").startsWith(QLatin1String("paragraph.")))
            seen << QStringLiteral("inner");
        else
            seen << QStringLiteral("run '%1' %2 %3 %4 %5")
                            .arg(e.text, e.value("fill"), e.value("font-weight"),
                                 e.value("font-style"), e.value("text-decoration"));
    }
    const QStringList expected{
        "paragraph start",
        "inner",
        "run 'a < b &amp; c > d' #000000 normal normal ",
        "break",
        "paragraph end",
        "inner",
        "run 'bold' #000000 bold normal ",
        "run ' plain ' #000000 normal normal ",
        "run 'red' #ff0000 normal italic underline",
        "break",
        "paragraph center",
        "inner",
        "run 'middle' #000000 normal normal ",
        "break",
    };
    if (seen != expected)
        qWarning() << seen;
    QCOMPARE(seen, expected);
}

void tst_PageWriterObjects::textKeepsEverythingAfterALineBreak()
{
    DPage *page = m_board->current();
    DGTextItem *text =
            page->addTextItem(QString(), QFont(), QPointF(0, 0), 0, 1, QTransform(), false);
    QTextCursor cursor(text->document());
    cursor.insertText(QStringLiteral("first"));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QString(QChar::LineSeparator) + QStringLiteral("second"), bold);
    cursor.insertText(QStringLiteral(" third"));
    const QList<Element> elements = writeAndRead(page);
    QString all;
    for (const Element &e : elements)
        all += e.text;
    QCOMPARE(all,
             QStringLiteral("first") + QChar(QChar::LineSeparator)
                     + QStringLiteral("second third"));
}

QTEST_MAIN(tst_PageWriterObjects)
#include "tst_pagewriterobjects.moc"
