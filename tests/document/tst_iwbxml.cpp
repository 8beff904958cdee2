#include "document/iwbxml.h"

#include <QBuffer>
#include <QPainterPath>
#include <QtTest>

#include <thread>

// A document's text walked from a recording made ahead must give the readers exactly what a
// reader of their own gives them: the same tokens, values, texts, skips, errors and end, however
// the text came in pieces.
class tst_IwbXml : public QObject
{
    Q_OBJECT

private slots:
    void replayAnswersAsTheReader_data();
    void replayAnswersAsTheReader();
    void recordingBeyondItsBudgetIsGivenUp();
    void walkStopsWhereTheRecordingIs_data();
    void walkStopsWhereTheRecordingIs();
};

namespace {

// Walks xml as the readers do, writing down every answer, and the pictures it names.
QStringList walk(IwbXml &xml, QStringList *pictures = nullptr)
{
    QStringList seen;
    while (!xml.atEnd() && !xml.hasError()) {
        const QXmlStreamReader::TokenType type = xml.readNext();
        QString line = QString::number(int(type));
        if (xml.hasError()) { // what a reader leaves behind on an error is not an answer
            seen << line;
            break;
        }
        line += QLatin1Char(' ') + xml.name().toString() + QLatin1Char('|') + xml.text();
        if (xml.isStartElement()) {
            // The points of a polyline are asked for as its path only.
            const bool polyline = xml.name() == QLatin1String("polyline")
                    || xml.name() == QLatin1String("polygon");
            for (const char *name : { "id", "x", "fill", "xlink:href", "points", "none" })
                line += QLatin1Char(' ') + QLatin1String(name) + QLatin1Char('=')
                        + (polyline && qstrcmp(name, "points") == 0 ? QString()
                                                                    : xml.attribute(name));
            if (polyline) {
                const QPainterPath path = xml.polyline();
                line += QStringLiteral(" path");
                for (int i = 0; i < path.elementCount(); ++i)
                    line += QStringLiteral(" %1,%2,%3")
                                    .arg(path.elementAt(i).x)
                                    .arg(path.elementAt(i).y)
                                    .arg(int(path.elementAt(i).type));
            } else if (xml.name() == QLatin1String("image") && pictures) {
                *pictures << xml.attribute("xlink:href");
            } else if (xml.name() == QLatin1String("t")) {
                line += QStringLiteral(" text[")
                        + xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement)
                        + QStringLiteral("]");
            } else if (xml.name() == QLatin1String("skipped")) {
                xml.skipCurrentElement();
                line += QStringLiteral(" skipped to ") + xml.name().toString();
            } else if (xml.name() == QLatin1String("many")) {
                // Names asked from text that is not the reader's own: more places than a
                // lookup holds at first, and one place whose text changes between asks.
                std::vector<QByteArray> places;
                for (int n = 0; n < 150; ++n)
                    places.push_back("a" + QByteArray::number(n % 120));
                char reused[8];
                for (int n = 0; n < 150; ++n) {
                    qsnprintf(reused, sizeof reused, "a%d", (n * 7) % 130);
                    line += QLatin1Char(' ') + xml.attribute(places[size_t(n)].constData())
                            + QLatin1Char('/') + xml.attribute(reused);
                }
            }
        }
        seen << line;
    }
    seen << QStringLiteral("end %1 %2 %3")
                    .arg(xml.hasError())
                    .arg(xml.errorString())
                    .arg(xml.hasError() ? xml.lineNumber() : 0);
    return seen;
}

} // namespace

void tst_IwbXml::replayAnswersAsTheReader_data()
{
    QTest::addColumn<QByteArray>("text");

    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const QByteArray longText(20000, 'x');
    QTest::newRow("elements and values")
            << head + "<iwb><page id=\"p\"><rect id=\"a\" x=\"1.5\" fill=\"#ff0000\"/>\n"
                      "<image xlink:href=\"images/a b.png\" x=\"2\"/><rect id=\"a\" x=\"1.5\"/>"
                      "</page></iwb>";
    QTest::newRow("polylines, some without points")
            << head + "<iwb><polyline points=\"1,2 3,4 5.5,6\" id=\"s\"/><polyline/>"
                      "<polyline points=\"\"/><polyline points=\"7\"/><polygon points=\"1,1 2,2\"/>"
                      "</iwb>";
    QByteArray strokes = head + "<iwb>";
    for (int n = 0; n < 3000; ++n) {
        strokes += "<polyline id=\"s" + QByteArray::number(n) + "\" points=\"";
        for (int p = 0; p < 30; ++p)
            strokes += QByteArray::number(n) + "," + QByteArray::number(p) + ".5 ";
        strokes += "\"/>";
    }
    QTest::newRow("point lists made into paths in several batches") << strokes + "</iwb>";
    QTest::newRow("texts, entities and CDATA")
            << head + "<iwb><t>a &amp; b &#x41;<![CDATA[<c>]]>" + longText + "</t>\n  <u>"
                    + longText + "</u></iwb>";
    QTest::newRow("element inside a text is an error")
            << head + "<iwb><t>before<b>inside</b>after</t><rect id=\"late\"/></iwb>";
    QByteArray many = head + "<iwb><many";
    for (int n = 0; n < 120; ++n)
        many += " a" + QByteArray::number(n) + "=\"v" + QByteArray::number(n) + "\"";
    QTest::newRow("names asked from many places") << many + "/><many a3=\"w\"/></iwb>";
    QByteArray late = head + "<iwb>";
    for (int n = 0; n < 20000; ++n)
        late += "<rect id=\"r" + QByteArray::number(n) + "\"/>";
    QTest::newRow("a name first met late in the text")
            << late + "<rect fill=\"#00ff00\" x=\"4\"/></iwb>";
    QTest::newRow("skipped elements")
            << head + "<iwb><skipped><a><b/><c>text</c></a></skipped><rect id=\"after\"/></iwb>";
    QTest::newRow("cut short") << head + "<iwb><page><rect id=\"a\"/><rect id=\"b\" x=\"1";
    QTest::newRow("cut short inside a text") << head + "<iwb><t>no end " + longText;
    QTest::newRow("tags that do not match") << head + "<iwb><page><rect></page></iwb>";
    QTest::newRow("content after the end") << head + "<iwb/><iwb/>";
    QTest::newRow("comments and blanks after the end") << head + "<iwb/>\n<!-- c -->\n  ";
    QTest::newRow("nothing") << QByteArray();
    QTest::newRow("no declaration") << QByteArray("<iwb><rect id=\"x\"/></iwb>");
    QTest::newRow("entities expanded beyond bounds")
            << head + "<!DOCTYPE iwb [<!ENTITY a \"aaaaaaaaaa\">"
                      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                      "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                      "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]>"
                      "<iwb><t>&d;&d;&d;&d;&d;&d;&d;&d;</t></iwb>";
    QTest::newRow("prefixed names") << head
                    + "<iwb xmlns:svg=\"http://www.w3.org/2000/svg\" "
                      "xmlns:xlink=\"http://www.w3.org/1999/xlink\"><svg:page>"
                      "<svg:image xlink:href=\"x.png\"/><svg:polyline points=\"1,1 2,2\"/>"
                      "</svg:page></iwb>";
    QTest::newRow("text in another encoding")
            << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><iwb><t>a\xe9</t></iwb>");
}

void tst_IwbXml::replayAnswersAsTheReader()
{
    QFETCH(QByteArray, text);

    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    QXmlStreamReader reader(&buffer);
    IwbXml live(reader);
    QStringList pictures;
    const QStringList expected = walk(live, &pictures);
    QVERIFY(!live.pictures());

    for (const int piece : { 1, 7, 4096, int(text.size()) + 1 }) {
        if (piece < 4096 && text.size() > 65536)
            continue; // a long text byte by byte tells no more than a short one
        auto recording = std::make_shared<IwbXmlRecording>();
        for (int at = 0; at < text.size(); at += piece)
            recording->addData(text.mid(at, piece));
        recording->finish();
        QVERIFY(!recording->givenUp());
        QCOMPARE(recording->bytes(), qint64(text.size()));
        IwbXml replayed{ std::shared_ptr<const IwbXmlRecording>(recording) };
        QCOMPARE(walk(replayed), expected);
        if (!replayed.hasError()) // a walk that broke off saw only some
            QCOMPARE(*replayed.pictures(), pictures);
    }
    buffer.seek(0);
    const std::shared_ptr<const IwbXmlRecording> whole = IwbXmlRecording::read(buffer);
    QVERIFY(whole);
    IwbXml replayed(whole);
    QCOMPARE(walk(replayed), expected);

    // Walked while it is recorded on another thread, each piece let go only once it is given
    // (as the check of the text lets it), the walk answers the same.
    for (const int piece : { 7, 4096 }) {
        if (piece < 4096 && text.size() > 65536)
            continue;
        auto recording = std::make_shared<IwbXmlRecording>();
        recording->holdBack();
        std::thread recorder([&text, piece, recording]() {
            for (int at = 0; at < text.size(); at += piece) {
                recording->addData(text.mid(at, piece));
                recording->allow(qMin<qint64>(at + piece, text.size()));
            }
            recording->finish();
            recording->allow(text.size());
        });
        IwbXml walked{ std::shared_ptr<const IwbXmlRecording>(recording) };
        const QStringList seen = walk(walked, nullptr);
        recorder.join();
        QCOMPARE(seen, expected);
        QVERIFY(!walked.isInterrupted());
        QVERIFY(!walked.references()); // known only once the text is whole
    }
}

void tst_IwbXml::recordingBeyondItsBudgetIsGivenUp()
{
    QByteArray text = "<iwb>";
    for (int n = 0; n < 5000; ++n)
        text += "<polyline id=\"s" + QByteArray::number(n) + "\" points=\"1,1 2,2 3,3\"/>";
    text += "</iwb>";
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    QVERIFY(IwbXmlRecording::read(buffer)); // within the budget a document has
    for (const int piece : { 100, int(text.size()) }) {
        IwbXmlRecording recording(64 << 10);
        for (int at = 0; at < text.size(); at += piece)
            recording.addData(text.mid(at, piece));
        recording.finish();
        QVERIFY(recording.givenUp());
        QCOMPARE(recording.bytes(), qint64(text.size()));
    }
    buffer.seek(0);
    QVERIFY(!IwbXmlRecording::read(buffer, 64 << 10));
}

void tst_IwbXml::walkStopsWhereTheRecordingIs_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("interrupted");
    // Its text refused half way (or the archive): the walk goes no further than it was let,
    // and ends as interrupted, not as a text that broke off.
    QTest::newRow("stopped") << "stop" << true;
    QTest::newRow("given up, too large") << "budget" << true;
    QTest::newRow("let go whole") << "allow" << false;
}

void tst_IwbXml::walkStopsWhereTheRecordingIs()
{
    QFETCH(QString, how);
    QFETCH(bool, interrupted);
    QByteArray first = "<iwb>";
    QByteArray second;
    for (int n = 0; n < 2000; ++n) {
        first += "<rect id=\"a" + QByteArray::number(n) + "\"/>";
        second += "<polyline id=\"b" + QByteArray::number(n) + "\" points=\"1,1 2,2 3,3\"/>";
    }
    second += "</iwb>";
    auto recording = std::make_shared<IwbXmlRecording>(how == QLatin1String("budget") ? 256 << 10
                                                                                      : 256 << 20);
    recording->holdBack();
    recording->addData(first);
    recording->allow(first.size());
    // The rest comes once the walk is through what it was let have.
    std::thread recorder;
    const auto recordTheRest = [&]() {
        recording->addData(second);
        recording->finish();
        if (how == QLatin1String("stop"))
            recording->stop(QStringLiteral("refused"));
        else
            recording->allow(first.size() + second.size());
    };
    IwbXml walked{ std::shared_ptr<const IwbXmlRecording>(recording) };
    int rects = 0;
    int polylines = 0;
    while (!walked.atEnd() && !walked.hasError()) {
        if (walked.readNext() == QXmlStreamReader::StartElement) {
            rects += walked.name() == QLatin1String("rect") ? 1 : 0;
            polylines += walked.name() == QLatin1String("polyline") ? 1 : 0;
            if (rects == 2000 && !recorder.joinable())
                recorder = std::thread(recordTheRest);
        }
    }
    recorder.join();
    QCOMPARE(walked.isInterrupted(), interrupted);
    QCOMPARE(rects, 2000);
    QCOMPARE(polylines, interrupted ? 0 : 2000);
    QCOMPARE(walked.hasError(), interrupted);
}

QTEST_MAIN(tst_IwbXml)
#include "tst_iwbxml.moc"
