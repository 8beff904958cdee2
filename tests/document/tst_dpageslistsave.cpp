#include "board/boardtypes.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpathtableitem.h"
#include "board/dgpixmapitem.h"
#include "board/dpage.h"
#include "board/pagewriter.h"
#include "document/dpageslist.h"
#include "document/iwbarchive.h"
#include "document/toolrun.h"
#include "document/workprogress.h"
#include "shell/appsettings.h"
#include "shell/globals.h"
#include "support/documentfixture.h"
#include "support/itemmedia.h"
#include "support/otherprogram.h"
#include "support/testsupport.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QDeadlineTimer>
#include <QGraphicsItemGroup>
#include <QImageWriter>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtTest>

#include <memory>

// The document half of saving: the "content.xml" tree around the pages, the records after
// them, the packed archive, and failures that leave the old file alone.
class tst_DPagesListSave : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void documentTree();
    void recordsAfterThePages();
    void packedArchiveIsValid();
    void pictureReadIsCopiedNotEncoded_data();
    void pictureReadIsCopiedNotEncoded();
    void failedSaveKeepsTheOldFile();
    void saveIntoAFileAsFolderFails();
    void emptyNameWritesNothing();
    void zeroPages();
    void sameBytesAsOneWriter_data();
    void sameBytesAsOneWriter();
    void autosaveWritesOnlyWhatChanged();
    void autosaveInStepsWritesTheSameFile();
    void openedDocumentIsNotWrittenAgain();
    void longWorkShowsItsProgress();
    void killedSavesLeaveNothingBehind();

private:
    struct Element
    {
        QString name;
        QStringList attributeNames;
        QXmlStreamAttributes attributes;
        int depth = 0;
    };
    QList<Element> readContent() const;
    DGPathCurveItem *addStroke(DPage *page);
    QByteArray oneWriterContent();
    QByteArray writtenContent() const;
    void makeMixedDocument();

    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<DPagesList> m_list;
    QTemporaryDir m_target;
};

void tst_DPagesListSave::init()
{
    settings.clear();
    m_window = std::make_unique<QWidget>();
    m_window->setFixedSize(900, 700);
    m_list = std::make_unique<DPagesList>(m_window.get());
}

void tst_DPagesListSave::cleanup()
{
    m_list->exit();
    m_list.reset();
    m_window.reset();
}

QList<tst_DPagesListSave::Element> tst_DPagesListSave::readContent() const
{
    QFile file(m_list->workDir() + QStringLiteral("/content.xml"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Element> elements;
    QXmlStreamReader reader(&file);
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement)
            --depth;
        if (token != QXmlStreamReader::StartElement)
            continue;
        Element element;
        element.name = reader.qualifiedName().toString();
        element.attributes = reader.attributes();
        element.depth = depth++;
        for (const QXmlStreamAttribute &attribute : reader.attributes())
            element.attributeNames << attribute.qualifiedName().toString();
        elements << element;
    }
    if (reader.hasError())
        qWarning() << reader.errorString();
    return elements;
}

DGPathCurveItem *tst_DPagesListSave::addStroke(DPage *page)
{
    auto *stroke =
            new DGPathCurveItem(QPointF(10, 10), QPen(Qt::black, 3), BtMenus::btPencil, nullptr);
    QPainterPath path(QPointF(0, 0));
    path.lineTo(20, 30);
    path.lineTo(40, 5);
    stroke->setPath(path);
    page->addItem(stroke);
    return stroke;
}

void tst_DPagesListSave::documentTree()
{
    m_list->newPage(BtMenus::btTransparentPage, false);
    addStroke(m_list->getCurPage());
    QVERIFY(!m_list->saveAllPagesToFileIWB(m_list->workDir(), false)); // an autosave answers false
    QVERIFY(m_list->lastSaveError().isEmpty());
    QFile raw(m_list->workDir() + QStringLiteral("/content.xml"));
    QVERIFY(raw.open(QIODevice::ReadOnly));
    const QByteArray text = raw.readAll();
    QVERIFY(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    QVERIFY(text.contains("\n     <svg:svg")); // five blanks a level
    const QList<Element> elements = readContent();
    QVERIFY(elements.size() > 4);
    QCOMPARE(elements.at(0).name, QStringLiteral("iwb"));
    // The reader hands namespace declarations apart from attributes: their order is in the text.
    QVERIFY(text.contains("<iwb xmlns:iwb=\"http://www.imsglobal.org/xsd/iwb_v1p0\" "
                          "xmlns:svg=\"http://www.w3.org/2000/svg\" "
                          "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.0\">"));
    QCOMPARE(elements.at(1).name, QStringLiteral("svg:svg"));
    QCOMPARE(elements.at(1).attributeNames, (QStringList{ "width", "height", "viewbox" }));
    QCOMPARE(elements.at(1).attributes.value(QLatin1String("width")), QStringLiteral("900"));
    QCOMPARE(elements.at(1).attributes.value(QLatin1String("height")), QStringLiteral("700"));
    QCOMPARE(elements.at(1).attributes.value(QLatin1String("viewbox")),
             QStringLiteral("0,0,1200,800"));
    QCOMPARE(elements.at(2).name, QStringLiteral("svg:pageset"));
    QStringList pages;
    for (const Element &element : elements) {
        if (element.name == QLatin1String("svg:page")) {
            QCOMPARE(element.depth, 3);
            pages << element.attributes.value(QLatin1String("id")).toString();
        }
    }
    QCOMPARE(pages, (QStringList{ "page0", "page1" }));
    QCOMPARE(AppSettings::temporalName(settings), m_list->workDir());
}

void tst_DPagesListSave::recordsAfterThePages()
{
    DPage *page = m_list->getCurPage();
    DGPathCurveItem *locked = addStroke(page);
    locked->lock(true);
    auto *outer = new QGraphicsItemGroup; // the toolkit's group reports type 10 as well
    page->QGraphicsScene::addItem(outer);
    auto *inner = new QGraphicsItemGroup;
    page->QGraphicsScene::addItem(inner);
    DGPathCurveItem *member = addStroke(page);
    member->lock(true);
    DGPathCurveItem *innerMember = addStroke(page);
    inner->addToGroup(innerMember);
    outer->addToGroup(member);
    outer->addToGroup(inner);
    auto *table = new DGPathTableItem(2, 2, QPointF(), QPen(Qt::black), nullptr);
    QPainterPath grid;
    grid.addRect(0, 0, 50, 50);
    table->setPath(grid);
    page->addItem(table);
    DGPathCurveItem *inTable = addStroke(page);
    inTable->setParentItem(table);
    inTable->lock(true);
    m_list->newPage(BtMenus::btCapturePage, false);
    m_list->saveAllPagesToFileIWB(m_list->workDir(), false);

    const QList<Element> elements = readContent();
    int afterPages = 0;
    while (afterPages < elements.size()
           && elements.at(afterPages).name != QLatin1String("iwb:element"))
        ++afterPages;
    QStringList records;
    for (int i = afterPages; i < elements.size(); ++i) {
        const Element &element = elements.at(i);
        QString record = QString::number(element.depth) + QLatin1Char(' ') + element.name;
        for (const QXmlStreamAttribute &attribute : element.attributes)
            record += QLatin1Char(' ') + attribute.qualifiedName() + QLatin1Char('=')
                    + attribute.value();
        records << record;
    }
    const auto ref = [](QGraphicsItem *item) { return PageWriter::objectId(item); };
    const QStringList lockRecords = records.filter(QStringLiteral("locked=true"));
    QVERIFY(lockRecords.contains(QStringLiteral("1 element ref=%1 locked=true").arg(ref(locked))));
    QVERIFY(lockRecords.contains(QStringLiteral("1 element ref=%1 locked=true").arg(ref(member))));
    QVERIFY(records.filter(ref(inTable)).isEmpty()); // inside a table: no record
    QCOMPARE(records.first(), QStringLiteral("1 iwb:element ref=bck0 background=true"));
    QCOMPARE(records.last(),
             QStringLiteral("1 iwb:element ref=bck1 background=true "
                            "background-posture=stretched-to-fill"));
    // One group record at the top, the inner group nested in it with its own member.
    QCOMPARE(records.filter(QRegularExpression(QStringLiteral("^1 group"))).size(), 1);
    QCOMPARE(records.filter(QRegularExpression(QStringLiteral("^2 group"))).size(), 1);
    QVERIFY(records.contains(QStringLiteral("2 element ref=%1").arg(ref(member))));
    QVERIFY(records.contains(QStringLiteral("3 element ref=%1").arg(ref(innerMember))));
}

void tst_DPagesListSave::packedArchiveIsValid()
{
    addStroke(m_list->getCurPage());
    m_list->getCurPage()->setModified(true);
    const QString base = m_target.filePath(QStringLiteral("lesson"));
    QVERIFY(m_list->saveAllPagesToFileIWB(base, true));
    QVERIFY(!m_list->isDocumentModified());
    const QString archive = base + QStringLiteral(".iwb");
    const ToolRun tested = runTool(QStringLiteral("unzip"), { QStringLiteral("-tq"), archive },
                                   m_target.path(), 30000);
    QVERIFY2(tested.ok, qPrintable(tested.error));
    const ToolRun listed = runTool(QStringLiteral("unzip"), { QStringLiteral("-Z1"), archive },
                                   m_target.path(), 30000);
    QVERIFY(listed.ok);
    const QStringList entries =
            QString::fromUtf8(listed.output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const char *entry : { "content.xml", "images/", "videos/", "document/" })
        QVERIFY2(entries.contains(QLatin1String(entry)), entry);
}

void tst_DPagesListSave::pictureReadIsCopiedNotEncoded_data()
{
    // A lesson's picture goes back with it as it came, whatever its format: copied, never
    // decoded and encoded again.
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("PNG") << QByteArray("png");
    QTest::newRow("JPEG") << QByteArray("jpg");
}

void tst_DPagesListSave::pictureReadIsCopiedNotEncoded()
{
    QFETCH(QByteArray, format);
    const auto pictureFile = [this](const QString &archive, const QString &folder) {
        const QString into = m_target.filePath(folder);
        QDir(into).removeRecursively(); // a folder of the row before
        const IwbArchive::Result unpacked = IwbArchive::unpack(archive, into);
        const QStringList files = QDir(into + QStringLiteral("/images")).entryList(QDir::Files);
        return unpacked.ok && files.size() == 1 ? into + QStringLiteral("/images/") + files.first()
                                                : QString();
    };
    QImage picture(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 4, y * 5, (x * y) % 256));
    m_list->getCurPage()->addPixmapItem(QPixmap::fromImage(picture), QPointF(100, 100), 0, 1.0f,
                                        QTransform(), false);
    const QString first = m_target.filePath(QStringLiteral("first"));
    QVERIFY(m_list->saveAllPagesToFileIWB(first, true));
    // The lesson's picture as another program wrote it: the same picture in other bytes.
    const QString file = pictureFile(first + QStringLiteral(".iwb"), QStringLiteral("first"));
    QVERIFY(!file.isEmpty());
    QByteArray stored;
    QBuffer buffer(&stored);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(format == "png" ? 0 : 100);
    writer.setText(QStringLiteral("Author"), QStringLiteral("another program"));
    QVERIFY(writer.write(picture));
    QFile replaced(file);
    QVERIFY(replaced.open(QIODevice::WriteOnly) && replaced.write(stored) == stored.size());
    replaced.close();
    const QString second = m_target.filePath(QStringLiteral("second.iwb"));
    QVERIFY(IwbArchive::pack(m_target.filePath(QStringLiteral("first")), second).ok);

    QVERIFY(m_list->openAllPagesFromFileIWB(second));
    DGPixmapItem *item = nullptr;
    for (DPage *page : *m_list) {
        for (QGraphicsItem *object : page->items())
            item = item ? item : dynamic_cast<DGPixmapItem *>(object);
    }
    QVERIFY(item);
    const QImage shown = item->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    const QString third = m_target.filePath(QStringLiteral("third"));
    QVERIFY(m_list->saveAllPagesToFileIWB(third, true));
    const QString savedFile = pictureFile(third + QStringLiteral(".iwb"), QStringLiteral("third"));
    QCOMPARE(DocumentFixture::readAll(savedFile), stored);
    QCOMPARE(QImage(savedFile).convertToFormat(QImage::Format_RGB32), shown);
}

void tst_DPagesListSave::failedSaveKeepsTheOldFile()
{
    const QString base = m_target.filePath(QStringLiteral("lesson"));
    QFile old(base + QStringLiteral(".iwb"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("the lesson saved yesterday");
    old.close();
    // A media folder that cannot be made: a plain file stands in its place.
    QFile blocker(m_list->workDir() + QStringLiteral("/images"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    addStroke(m_list->getCurPage());
    QVERIFY(!m_list->saveAllPagesToFileIWB(base, true));
    QVERIFY(!m_list->lastSaveError().isEmpty());
    QVERIFY(m_list->isDocumentModified());
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("the lesson saved yesterday"));
}

void tst_DPagesListSave::saveIntoAFileAsFolderFails()
{
    QFile notAFolder(m_target.filePath(QStringLiteral("plain")));
    QVERIFY(notAFolder.open(QIODevice::WriteOnly));
    notAFolder.close();
    addStroke(m_list->getCurPage());
    QVERIFY(!m_list->saveAllPagesToFileIWB(notAFolder.fileName() + QStringLiteral("/lesson"),
                                           true));
    QVERIFY(!m_list->lastSaveError().isEmpty());
    QVERIFY(m_list->isDocumentModified());
    QVERIFY(QFileInfo(notAFolder.fileName()).isFile());
}

void tst_DPagesListSave::emptyNameWritesNothing()
{
    QVERIFY(!m_list->saveAllPagesToFileIWB(QString(), true));
    QCOMPARE(m_list->lastSaveError(), QStringLiteral("Error al guardar archivo"));
    QVERIFY(!QFileInfo::exists(m_list->workDir() + QStringLiteral("/content.xml")));
    QVERIFY(!m_list->isSaving());
}

void tst_DPagesListSave::zeroPages()
{
    m_list->delAllPages();
    m_list->saveAllPagesToFileIWB(m_list->workDir(), false);
    const QList<Element> elements = readContent();
    QCOMPARE(elements.size(), 3); // iwb, svg:svg, an empty svg:pageset; no records
    QCOMPARE(elements.last().name, QStringLiteral("svg:pageset"));
}

// The whole document written in one go by one writer, as the document used to be written: the
// file written page by page must be the same, byte for byte.
QByteArray tst_DPagesListSave::oneWriterContent()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter stream(&buffer);
    stream.setAutoFormatting(true);
    stream.setAutoFormattingIndent(5);
    stream.writeStartDocument();
    stream.writeStartElement(QStringLiteral("iwb"));
    stream.writeAttribute(QStringLiteral("xmlns:iwb"),
                          QStringLiteral("http://www.imsglobal.org/xsd/iwb_v1p0"));
    stream.writeAttribute(QStringLiteral("xmlns:svg"),
                          QStringLiteral("http://www.w3.org/2000/svg"));
    stream.writeAttribute(QStringLiteral("xmlns:xlink"),
                          QStringLiteral("http://www.w3.org/1999/xlink"));
    stream.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    stream.writeStartElement(QStringLiteral("svg:svg"));
    stream.writeAttribute(QStringLiteral("width"), QString::number(m_window->width()));
    stream.writeAttribute(QStringLiteral("height"), QString::number(m_window->height()));
    stream.writeAttribute(QStringLiteral("viewbox"), QStringLiteral("0,0,1200,800"));
    stream.writeStartElement(QStringLiteral("svg:pageset"));
    PageWriter::restartNumbering();
    for (int n = 0; n < m_list->size(); ++n) {
        PageWriter::startPage(n);
        m_list->at(n)->savePageDataToIWB(stream, m_list->workDir(), n);
        PageWriter::endPage();
    }
    stream.writeEndElement();
    stream.writeEndElement();
    for (int n = 0; n < m_list->size(); ++n) {
        DPage *page = m_list->at(n);
        stream.writeStartElement(QStringLiteral("iwb:element"));
        stream.writeAttribute(QStringLiteral("ref"), QStringLiteral("bck") + QString::number(n));
        stream.writeAttribute(QStringLiteral("background"), QStringLiteral("true"));
        if (page->pageType() == PageTypeImage || page->pageType() == PageTypeCapture)
            stream.writeAttribute(QStringLiteral("background-posture"),
                                  QStringLiteral("stretched-to-fill"));
        stream.writeEndElement();
        for (QGraphicsItem *item : page->items(Qt::DescendingOrder)) {
            QGraphicsItem *parent = item->parentItem();
            if (item->type() != ItemTypeGroup && (!parent || parent->type() != ItemTypeTable))
                m_list->saveLockedItems(stream, item);
            if (!parent || parent->type() != ItemTypeGroup)
                m_list->saveGroupItems(stream, item);
        }
    }
    stream.writeEndElement();
    stream.writeEndDocument();
    return buffer.data();
}

QByteArray tst_DPagesListSave::writtenContent() const
{
    QFile file(m_list->workDir() + QStringLiteral("/content.xml"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void tst_DPagesListSave::makeMixedDocument()
{
    DGPathCurveItem *locked = addStroke(m_list->getCurPage());
    locked->lock(true);
    m_list->newPage(BtMenus::btTransparentPage, false);
    auto *group = new QGraphicsItemGroup;
    m_list->getCurPage()->QGraphicsScene::addItem(group);
    group->addToGroup(addStroke(m_list->getCurPage()));
    m_list->newPage(BtMenus::btCapturePage, false);
    addStroke(m_list->getCurPage());
}

void tst_DPagesListSave::sameBytesAsOneWriter_data()
{
    QTest::addColumn<int>("pages");
    QTest::newRow("no page") << 0;
    QTest::newRow("one page") << 1;
    QTest::newRow("three pages of every kind") << 3;
}

void tst_DPagesListSave::sameBytesAsOneWriter()
{
    QFETCH(int, pages);
    if (pages == 0)
        m_list->delAllPages();
    if (pages == 1)
        addStroke(m_list->getCurPage());
    if (pages == 3)
        makeMixedDocument();
    m_list->saveAllPagesToFileIWB(m_list->workDir(), false);
    QVERIFY(m_list->lastSaveError().isEmpty());
    QCOMPARE(writtenContent(), oneWriterContent());
    if (pages == 3) {
        // Written again with two pages kept from before: still the same bytes.
        addStroke(m_list->at(1));
        m_list->saveAllPagesToFileIWB(m_list->workDir(), false);
        QCOMPARE(m_list->pagesWritten(), 1);
        QCOMPARE(writtenContent(), oneWriterContent());
    }
}

void tst_DPagesListSave::autosaveWritesOnlyWhatChanged()
{
    makeMixedDocument();
    const QString content = m_list->workDir() + QStringLiteral("/content.xml");
    m_list->autoSave();
    QCOMPARE(m_list->pagesWritten(), 3);
    const QByteArray first = writtenContent();

    // Unchanged: nothing is written at all (the file keeps its old time), however often asked.
    const QDateTime past = QDateTime::currentDateTime().addDays(-1);
    QFile stamp(content);
    QVERIFY(stamp.open(QIODevice::ReadWrite));
    QVERIFY(stamp.setFileTime(past, QFileDevice::FileModificationTime));
    stamp.close();
    for (int round = 0; round < 2; ++round) {
        m_list->autoSave();
        QCOMPARE(m_list->pagesWritten(), 0);
        QCOMPARE(QFileInfo(content).lastModified(), past);
    }
    // Paging through the document changes no page.
    m_list->selectPage(0);
    m_list->autoSave();
    QCOMPARE(QFileInfo(content).lastModified(), past);

    // One page changed: that page alone is written again.
    addStroke(m_list->at(1));
    m_list->autoSave();
    QCOMPARE(m_list->pagesWritten(), 1);
    QVERIFY(QFileInfo(content).lastModified() != past);
    QVERIFY(writtenContent() != first);
    QCOMPARE(writtenContent(), oneWriterContent());
    // The page written again names no object (nor picture file) by a number that a page kept
    // as written already uses.
    addStroke(m_list->at(0));
    m_list->autoSave();
    QSet<QString> ids;
    for (const Element &element : readContent()) {
        const QString id = element.attributes.value(QStringLiteral("id")).toString();
        QVERIFY2(id.isEmpty() || !ids.contains(id), qPrintable(id));
        ids << id;
    }

    // Pages reordered or deleted change the document, not the pages.
    m_list->changePage(0, 2);
    m_list->autoSave();
    QCOMPARE(m_list->pagesWritten(), 2); // page numbers are part of what is written
    QCOMPARE(writtenContent(), oneWriterContent());
    m_list->delPage(1);
    m_list->autoSave();
    QCOMPARE(writtenContent(), oneWriterContent());
}

void tst_DPagesListSave::autosaveInStepsWritesTheSameFile()
{
    makeMixedDocument();
    m_list->autoSave();
    addStroke(m_list->at(0));
    addStroke(m_list->at(2));
    m_list->autoSaveInSteps();
    const QByteArray expected = oneWriterContent();
    QTRY_COMPARE_WITH_TIMEOUT(writtenContent(), expected, 10000);
    QVERIFY(m_list->lastSaveError().isEmpty());
    QVERIFY(!m_list->isSaving());
    // Asked again with nothing changed: nothing to do.
    m_list->autoSaveInSteps();
    QCOMPARE(m_list->pagesWritten(), 0);
}

void tst_DPagesListSave::openedDocumentIsNotWrittenAgain()
{
    makeMixedDocument();
    const QString base = m_target.filePath(QStringLiteral("opened"));
    QVERIFY(m_list->saveAllPagesToFileIWB(base, true));
    QVERIFY(m_list->openAllPagesFromFileIWB(base + QStringLiteral(".iwb")));
    const QString content = m_list->workDir() + QStringLiteral("/content.xml");
    const QByteArray opened = writtenContent();
    m_list->autoSave();
    QCOMPARE(m_list->pagesWritten(), 0);
    QCOMPARE(writtenContent(), opened);
    // The first change writes the document afresh, every page of it.
    addStroke(m_list->at(1));
    m_list->autoSave();
    QCOMPARE(m_list->pagesWritten(), 3);
    QCOMPARE(writtenContent(), oneWriterContent());
    QVERIFY(QFileInfo::exists(content));
}

void tst_DPagesListSave::longWorkShowsItsProgress()
{
    m_window->show();
    {
        WorkProgress progress(m_window.get(), QStringLiteral("Abriendo"), 10);
        progress.step(1);
        QVERIFY(!progress.isShown()); // a short piece of work shows nothing
        QTest::qWait(800);
        progress.step(6);
        QVERIFY(progress.isShown());
        auto *dialog = m_window->findChild<QProgressDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->value(), 6);
        QCOMPARE(dialog->maximum(), 10);
        QCOMPARE(dialog->labelText(), QStringLiteral("Abriendo"));
        QVERIFY(dialog->findChildren<QPushButton *>().isEmpty()); // nothing to cancel
        // Tests that wait for a question pass the bar over and answer the question that comes.
        QString seen;
        const auto answered = DocumentFixture::answerInTurn(
                { DocumentFixture::click(QStringLiteral("No"), &seen) });
        QTest::qWait(100);
        QCOMPARE(*answered, 0);
        QMessageBox question(QMessageBox::Warning, QStringLiteral("Atención"),
                             QStringLiteral("¿Seguro?"), QMessageBox::Yes | QMessageBox::No,
                             m_window.get());
        question.button(QMessageBox::No)->setText(QStringLiteral("No"));
        QCOMPARE(question.exec(), int(QMessageBox::No));
        QCOMPARE(*answered, 1);
        QCOMPARE(seen.section(QLatin1Char('|'), 0, 1), QStringLiteral("Atención|¿Seguro?"));
        QVERIFY(dialog->isVisible());
        // The bar moves again once a moment has passed, and always for the end of the work.
        QTest::qWait(100);
        progress.step(8);
        QCOMPARE(dialog->value(), 8);
        progress.step(10);
        QCOMPARE(dialog->value(), 10);
    }
    QVERIFY(!m_window->findChild<QProgressDialog *>()); // gone with the work
}

void tst_DPagesListSave::killedSavesLeaveNothingBehind()
{
    // Programs killed (SIGKILL, with the zip they run) while they save a lesson, each at
    // another moment; their temporary folder is the test's, so that all they leave is seen.
    QTemporaryDir temporary;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), temporary.path());
    const QString picture = m_target.filePath(QStringLiteral("photo.png"));
    QVERIFY(ItemMedia::makePicture(picture, QSize(400, 300)));
    const QString lesson = m_target.filePath(QStringLiteral("lesson"));
    const auto besideTheFile = [this] {
        return QDir(m_target.path())
                .entryList({ QStringLiteral(".lesson.iwb*") },
                           QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    const auto leftInTemporary = [&temporary] {
        QStringList left =
                QDir(temporary.path())
                        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        // Qt's runtime folder (XDG_RUNTIME_DIR unset) lands there too; it is no document's.
        return left.filter(QRegularExpression(QStringLiteral("^(?!runtime-)")));
    };
    int killedHalfWay = 0; // rounds that left scratch beside the file
    for (int round = 0; round < 10; ++round) {
        OtherProgram saving(QDir::currentPath(), environment);
        QVERIFY2(saving.ask(QStringLiteral("start")).startsWith(QLatin1String("workdir ")),
                 qPrintable(saving.errors()));
        QCOMPARE(saving.ask(QStringLiteral("pictures 12 ") + picture), QStringLiteral("ok"));
        QCOMPARE(saving.ask(QStringLiteral("saves ") + lesson), QStringLiteral("saving"));
        // Killed while a save packs the archive, a little later in each round.
        QTest::qWait(round * 15);
        const QDeadlineTimer deadline(120000);
        while (besideTheFile().isEmpty() && !deadline.hasExpired())
            QTest::qWait(1);
        saving.kill();
        killedHalfWay += besideTheFile().isEmpty() ? 0 : 1;
    }
    QVERIFY2(killedHalfWay > 0, "no save was killed half-way: nothing was shown");
    // Each start already removed the folders of the programs killed before it: the last one's
    // is left.
    QCOMPARE(leftInTemporary()
                     .filter(QRegularExpression(QStringLiteral("^veltorina-\\w{6}$")))
                     .size(),
             1);

    // One save of the same file removes its stale scratch (and its own, on another thread,
    // with the file it replaced) ...
    m_list->insertPixmap(picture);
    QVERIFY(TestSupport::picturesCome());
    QVERIFY(m_list->saveAllPagesToFileIWB(lesson, true));
    QTRY_VERIFY_WITH_TIMEOUT(besideTheFile().isEmpty(), 20000);
    QStringList left = besideTheFile();
    for (QString &name : left)
        name += QLatin1Char(' ') + QDir(m_target.filePath(name)).entryList(QDir::Files).join(',');
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1String("; "))));
    QCOMPARE(DocumentFixture::archiveEntries(lesson + QStringLiteral(".iwb"))
                     .filter(QRegularExpression(QStringLiteral("^images/.+")))
                     .size(),
             1);
    // ... and one start the killed programs' working folders.
    OtherProgram starting(QDir::currentPath(), environment);
    QVERIFY(starting.ask(QStringLiteral("start")).startsWith(QLatin1String("workdir ")));
    QCOMPARE(starting.ask(QStringLiteral("exit")), QStringLiteral("bye"));
    QVERIFY2(starting.waitForEnd(), qPrintable(starting.errors()));
    QCOMPARE(leftInTemporary(), QStringList());
}

QTEST_MAIN(tst_DPagesListSave)
#include "tst_dpageslistsave.moc"
