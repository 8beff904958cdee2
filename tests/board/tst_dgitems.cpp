#include "support/boardfixture.h"
#include "support/contentmedia.h"
#include "support/craftedpictures.h"
#include "support/itemmedia.h"
#include "support/testsupport.h"

#include "board/boardtypes.h"
#include "board/animationplayer.h"
#include "board/dggifitem.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgsounditem.h"
#include "board/dgtextitem.h"
#include "board/dgvideoitem.h"
#include "board/dpage.h"
#include "board/drotateitem.h"
#include "board/drotateitembutton.h"
#include "board/drotateitemfocus.h"
#include "board/dview.h"
#include "board/textcommand.h"
#include "content/drichtexteditor.h"
#include "content/player.h"
#include "document/toolrun.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionGraphicsItem>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

using namespace BoardFixture;

Q_DECLARE_METATYPE(BtMenus::eStack)

class tst_DGItems : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qRegisterMetaType<BtMenus::eStack>("BtMenus::eStack");
        TestSupport::recordConnectWarnings();
    }
    void cleanup() { QVERIFY(TestSupport::takeConnectWarnings().isEmpty()); }

    void textStartsAsDefaultText();
    void textMadeWholeMatchesTextFilledLater_data();
    void textMadeWholeMatchesTextFilledLater();
    void textButtonStripKeepsItsScreenHeight_data();
    void textButtonStripKeepsItsScreenHeight();
    void acceptedEditIsOneUndoableTextStep();
    void cancelledEditChangesNothing();
    void editOfALockedTextIsUndoneToo();
    void clickingNeverStartsInlineEditing();
    void dragReportsOneMoveAndClickNone_data();
    void dragReportsOneMoveAndClickNone();
    void videoIgnoresClickJitter();
    void lockedObjectsStaySelectableButDoNotMove();
    void soundShowsItsNameUnderTheIcon();
    void pictureCloneLiesOverTheOriginal();
    void animatedImagePlaysAndItsCopyIsIndependent();
    void animationShownAtTheSizeGiven();
    void videoCopyKeepsPathAndPoster();
    void videoMediaButtonOpensOnePlayerWindow();
    void animatedVideoOpensAnAnimationWindow();
    void groupMemberDrawsNoFrame();
    void picturesShownSmoothly_data();
    void picturesShownSmoothly();
    void cameraPhotosShownSmall_data();
    void cameraPhotosShownSmall();
    void pagePictureChangedWhileSmall_data();
    void pagePictureChangedWhileSmall();
};

namespace {

QPixmap picture(QSize size = QSize(80, 50), Qt::GlobalColor colour = Qt::darkBlue)
{
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return pixmap;
}

QPoint viewPointOf(DView *view, const QGraphicsItem *item, QPointF itemPoint)
{
    return view->mapFromScene(item->mapToScene(itemPoint));
}

// Answers the text editor with new HTML and the accept or cancel button.
std::shared_ptr<bool> answerEditor(const QString &html, bool accept)
{
    return TestSupport::answerNextModal([html, accept](QWidget *dialog) {
        auto *editor = qobject_cast<DRichTextEditor *>(dialog);
        QVERIFY(editor);
        editor->setText(html);
        auto *button = editor->findChild<QPushButton *>(accept ? QStringLiteral("aceptBt")
                                                               : QStringLiteral("cancelBt"));
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    });
}

} // namespace

void tst_DGItems::textStartsAsDefaultText()
{
    DGTextItem text(QPointF(5, 6));
    QCOMPARE(text.toPlainText(), QStringLiteral("Text"));
    QCOMPARE(text.font().family(), QStringLiteral("Helvetica"));
    QCOMPARE(text.font().pointSize(), 25);
    QCOMPARE(text.font().styleHint(), QFont::Helvetica);
    QVERIFY(!text.font().italic());
    QCOMPARE(text.defaultTextColor(), QColor(0, 0, 0, 255));
    QCOMPARE(text.type(), int(ItemTypeText));
    QCOMPARE(text.pos(), QPointF(5, 6));
    QVERIFY(text.m_prevHtml.isEmpty());
    QCOMPARE(text.editor()->text(), text.toHtml());
}

namespace {

QImage textPicture(QGraphicsItem *text)
{
    QGraphicsScene scene;
    scene.addItem(text);
    QImage image(500, 300, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(image.rect()), QRectF(-10, -30, 500, 300));
    painter.end();
    scene.removeItem(text);
    return image;
}

} // namespace

void tst_DGItems::textMadeWholeMatchesTextFilledLater_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QFont>("font");

    QTextDocument saved;
    saved.setDefaultFont(QFont(QStringLiteral("Arial"), 18));
    saved.setHtml(QStringLiteral("<p>Hola <b>clase</b> <i>x</i></p><h1>T</h1>"
                                 "<p><font size=5>grande</font></p>"));
    QTest::newRow("plain words") << QStringLiteral("text") << QFont(QStringLiteral("Arial"), 25);
    QTest::newRow("inline markup") << QStringLiteral("Página 1, texto <b>2</b>")
                                   << QFont(QString(), 25);
    QTest::newRow("as saved, other font") << saved.toHtml() << QFont(QStringLiteral("Times"), 40);
    QTest::newRow("relative sizes") << QStringLiteral("<h2>a</h2><small>b</small><big>c</big>")
                                    << QFont(QStringLiteral("DejaVu Sans"), 12, QFont::Bold, true);
    QTest::newRow("body of an opened document")
            << QStringLiteral("<html><body style=\" font-family:'Sans'; font-size:30pt; "
                              "font-weight:400;\"><p><span style=\" color:#ff0000;\">Hi</span>"
                              "</p></body></html>")
            << QFont(QStringLiteral("Sans"), 30);
    QTest::newRow("empty") << QString() << QFont(QStringLiteral("Times"), 20);
}

// A text made with its content and font at once is the text that used to be filled in after
// its placeholder: the same stored HTML, bounds and pixels.
void tst_DGItems::textMadeWholeMatchesTextFilledLater()
{
    QFETCH(QString, html);
    QFETCH(QFont, font);
    DGTextItem later(QPointF(4, 5));
    later.setHtml(html);
    later.setFont(font);
    textPicture(&later); // the first picture of a new font size may differ in its last bits
    DGTextItem whole(QPointF(4, 5), html, font);
    QCOMPARE(whole.toHtml(), later.toHtml());
    QCOMPARE(whole.font(), later.font());
    QCOMPARE(whole.boundingRect(), later.boundingRect());
    QCOMPARE(whole.defaultTextColor(), later.defaultTextColor());
    QCOMPARE(whole.flags(), later.flags());
    QCOMPARE(textPicture(&whole), textPicture(&later));
}

void tst_DGItems::textButtonStripKeepsItsScreenHeight_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("strip");
    QTest::newRow("1") << 1.0 << 20;
    QTest::newRow("2") << 2.0 << 10;
    QTest::newRow("0.5") << 0.5 << 40;
    QTest::newRow("0.3") << 0.3 << 66;
    QTest::newRow("0: no infinite strip") << 0.0 << 20;
}

void tst_DGItems::textButtonStripKeepsItsScreenHeight()
{
    QFETCH(double, scale);
    QFETCH(int, strip);
    DGTextItem text{ QPointF() };
    const QRectF plain = text.QGraphicsTextItem::boundingRect();
    text.setScale(scale);
    const QRectF bounds = text.boundingRect();
    QCOMPARE(bounds.top(), plain.top() - strip);
    QCOMPARE(bounds.bottom(), plain.bottom());
    QCOMPARE(bounds.width(), plain.width());
}

void tst_DGItems::acceptedEditIsOneUndoableTextStep()
{
    Board board;
    DPage *page = board.current();
    DGTextItem *text = page->addTextItem(QStringLiteral("Hola"), QFont(QString(), 25),
                                         QPointF(200, 200), 0, 1.0f, QTransform(), false);
    const QString before = text->toHtml();
    QSignalSpy reports(text, &DGTextItem::releaseBt);
    const QPoint centre = viewPointOf(board.view(), text, text->boundingRect().center());

    auto answered = answerEditor(QStringLiteral("<p>Adiós, clase</p>"), true);
    QTest::mouseDClick(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    QVERIFY(*answered);
    QCOMPARE(text->toPlainText(), QStringLiteral("Adiós, clase"));
    QCOMPARE(text->m_prevHtml, before);
    QCOMPARE(reports.count(), 1);
    QCOMPARE(reports.first().at(1).value<BtMenus::eStack>(), BtMenus::stText);
    QCOMPARE(page->undoStack()->count(), 1);
    QVERIFY(dynamic_cast<const TextCommand *>(page->undoStack()->command(0)));
    QVERIFY(page->isModified());

    page->setUndo();
    QCOMPARE(text->toPlainText(), QStringLiteral("Hola"));
    page->setRedo();
    QCOMPARE(text->toPlainText(), QStringLiteral("Adiós, clase"));

    // A second edit goes back to the text of its own opening, not the first one's.
    answered = answerEditor(QStringLiteral("<p>Tercera</p>"), true);
    QTest::mouseDClick(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    QVERIFY(*answered);
    QCOMPARE(page->undoStack()->count(), 2);
    page->setUndo();
    QCOMPARE(text->toPlainText(), QStringLiteral("Adiós, clase"));
}

void tst_DGItems::cancelledEditChangesNothing()
{
    Board board;
    DPage *page = board.current();
    DGTextItem *text = page->addTextItem(QStringLiteral("Hola"), QFont(QString(), 25),
                                         QPointF(200, 200), 0, 1.0f, QTransform(), false);
    const QString before = text->toHtml();
    QSignalSpy reports(text, &DGTextItem::releaseBt);
    auto answered = answerEditor(QStringLiteral("<p>otra cosa</p>"), false);
    QTest::mouseDClick(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier,
                       viewPointOf(board.view(), text, text->boundingRect().center()));
    QVERIFY(*answered);
    QCOMPARE(text->toHtml(), before);
    QCOMPARE(reports.count(), 0);
    QCOMPARE(page->undoStack()->count(), 0);
    QVERIFY(!page->isModified());
}

void tst_DGItems::editOfALockedTextIsUndoneToo()
{
    Board board;
    DPage *page = board.current();
    DGTextItem *locked = page->addTextItem(QStringLiteral("Fija"), QFont(QString(), 25),
                                           QPointF(200, 200), 0, 1.0f, QTransform(), false);
    DGTextItem *other = page->addTextItem(QStringLiteral("Otra"), QFont(QString(), 25),
                                          QPointF(500, 400), 0, 1.0f, QTransform(), false);
    other->m_prevHtml = QStringLiteral("<p>stale</p>"); // from an earlier edit
    other->setSelected(true);
    locked->lock(true);
    auto answered = answerEditor(QStringLiteral("<p>Cambiada</p>"), true);
    QTest::mouseDClick(board.view()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                       viewPointOf(board.view(), locked, locked->boundingRect().center()));
    QVERIFY(*answered);
    QVERIFY(other->isSelected());
    QCOMPARE(page->undoStack()->count(), 1);
    page->setUndo();
    QCOMPARE(locked->toPlainText(), QStringLiteral("Fija"));
    QCOMPARE(other->toPlainText(), QStringLiteral("Otra"));
}

void tst_DGItems::clickingNeverStartsInlineEditing()
{
    Board board;
    DPage *page = board.current();
    DGTextItem *text = page->addTextItem(QStringLiteral("Hola"), QFont(QString(), 25),
                                         QPointF(200, 200), 0, 1.0f, QTransform(), false);
    text->setTextInteractionFlags(Qt::TextEditorInteraction); // as if something had turned it on
    const QPoint centre = viewPointOf(board.view(), text, text->boundingRect().center());
    QTest::mouseClick(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    QCOMPARE(text->textInteractionFlags(), Qt::NoTextInteraction);
    QVERIFY(text->isSelected());
    QTest::keyClicks(board.view()->viewport(), QStringLiteral("xyz"));
    QCOMPARE(text->toPlainText(), QStringLiteral("Hola"));
}

void tst_DGItems::dragReportsOneMoveAndClickNone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("picture") << QStringLiteral("picture");
    QTest::newRow("sound") << QStringLiteral("sound");
    QTest::newRow("text") << QStringLiteral("text");
    QTest::newRow("video") << QStringLiteral("video");
    QTest::newRow("animated image") << QStringLiteral("gif");
}

void tst_DGItems::dragReportsOneMoveAndClickNone()
{
    QFETCH(QString, kind);
    Board board;
    DPage *page = board.current();
    const QPointF start(300, 250);
    QGraphicsItem *item = nullptr;
    if (kind == QLatin1String("picture"))
        item = page->addPixmapItem(picture(), start, 0, 1.0f, QTransform(), false);
    else if (kind == QLatin1String("sound"))
        item = page->addSoundItem(QStringLiteral("/a/b.mp3"), start, 0, 1.0f, QTransform(), false);
    else if (kind == QLatin1String("text"))
        item = page->addTextItem(QStringLiteral("Hola"), QFont(), start, 0, 1.0f, QTransform(),
                                 false);
    else if (kind == QLatin1String("video"))
        item = page->addVideoItem(QStringLiteral("/a/b.mp4"), start, 0, 1.0f, QTransform(), false);
    else {
        auto *label = new QLabel(QStringLiteral("animación"));
        label->resize(90, 40);
        item = page->addGifItem(label, start, 0, 1.0f, QTransform(), false);
    }
    const QPoint press = viewPointOf(board.view(), item, QPointF(30, 20));
    QTest::mouseClick(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier, press);
    QCOMPARE(page->undoStack()->count(), 0);
    QVERIFY(item->isSelected());

    TestSupport::drag(board.view()->viewport(),
                      { press, press + QPoint(20, 3), press + QPoint(57, 21) });
    QCOMPARE(item->pos(), start + QPointF(57, 21));
    QCOMPARE(page->undoStack()->count(), 1);
    QVERIFY(!DCustomItem::fromItem(item)->m_bMoved);
    page->setUndo();
    QCOMPARE(item->pos(), start);
}

void tst_DGItems::videoIgnoresClickJitter()
{
    Board board;
    DPage *page = board.current();
    DGVideoItem *video = page->addVideoItem(QStringLiteral("/a/b.mp4"), QPointF(300, 250), 0, 1.0f,
                                            QTransform(), false);
    QSignalSpy reports(video, &DGVideoItem::releaseBt);
    const QPoint press = viewPointOf(board.view(), video, QPointF(50, 50));
    TestSupport::drag(board.view()->viewport(),
                      { press, press + QPoint(3, 3), press + QPoint(4, 4) });
    QCOMPARE(reports.count(), 0); // 5.7 units: jitter
    TestSupport::drag(board.view()->viewport(),
                      { press, press + QPoint(5, 0), press + QPoint(7, 0) });
    QCOMPARE(reports.count(), 1);
    QCOMPARE(reports.first().at(1).value<BtMenus::eStack>(), BtMenus::stMove);
}

void tst_DGItems::lockedObjectsStaySelectableButDoNotMove()
{
    Board board;
    DPage *page = board.current();
    QList<QGraphicsItem *> items;
    items << page->addPixmapItem(picture(), QPointF(100, 100), 0, 1.0f, QTransform(), false);
    items << page->addSoundItem(QStringLiteral("s.mp3"), QPointF(300, 100), 0, 1.0f, QTransform(),
                                false);
    items << page->addTextItem(QStringLiteral("T"), QFont(), QPointF(500, 100), 0, 1.0f,
                               QTransform(), false);
    items << page->addVideoItem(QStringLiteral("v.mp4"), QPointF(100, 400), 0, 1.0f, QTransform(),
                                false);
    auto *label = new QLabel(QStringLiteral("gif"));
    label->resize(80, 40);
    items << page->addGifItem(label, QPointF(300, 400), 0, 1.0f, QTransform(), false);
    for (QGraphicsItem *item : items) {
        DCustomItem *object = DCustomItem::fromItem(item);
        QVERIFY(object);
        object->lock(true);
        QVERIFY(object->isLocked());
        QVERIFY(!(item->flags() & QGraphicsItem::ItemIsMovable));
        const QPointF before = item->pos();
        const QPoint press = viewPointOf(board.view(), item, item->boundingRect().center());
        TestSupport::drag(board.view()->viewport(), { press, press + QPoint(30, 30) });
        QCOMPARE(item->pos(), before);
        QVERIFY2(item->isSelected(), qPrintable(QString::number(item->type())));
        object->lock(false);
        QVERIFY(!object->isLocked());
    }
}

void tst_DGItems::soundShowsItsNameUnderTheIcon()
{
    DGSoundItem sound(QPointF(10, 20), QStringLiteral("/home/profe/música/himno.mp3"));
    QCOMPARE(sound.type(), int(ItemTypeSound));
    QCOMPARE(sound.pixmap().size(), QSize(100, 100));
    QCOMPARE(sound.boundingRect(), QRectF(-5, -5, 110, 110));
    QCOMPARE(sound.nameStrip(), QRect(-5, 85, 110, 20));
    QCOMPARE(sound.m_fileName, QStringLiteral("himno.mp3"));
    QCOMPARE(sound.m_linkMedia, QStringLiteral("/home/profe/música/himno.mp3"));
    QCOMPARE(sound.m_prevLinkMedia, sound.m_linkMedia);
    QCOMPARE(sound.pos(), QPointF(10, 20));

    // The name is drawn in the strip and only there.
    auto render = [&sound]() {
        QImage image(120, 120, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.translate(5, 5);
        QStyleOptionGraphicsItem option;
        sound.paint(&painter, &option, nullptr);
        return image;
    };
    const QImage named = render();
    sound.m_fileName.clear();
    const QImage unnamed = render();
    sound.m_fileName = QStringLiteral("himno.mp3");
    QVERIFY(named != unnamed);
    const QRect strip = sound.nameStrip().translated(5, 5);
    for (int y = 0; y < named.height(); ++y)
        for (int x = 0; x < named.width(); ++x)
            if (!strip.contains(x, y))
                QCOMPARE(named.pixel(x, y), unnamed.pixel(x, y));

    QScopedPointer<DGPixmapItem> copy(sound.clone());
    QCOMPARE(copy->type(), int(ItemTypeSound));
    QCOMPARE(copy->m_linkMedia, sound.m_linkMedia); // its file, the one link a copy keeps
    QCOMPARE(static_cast<DGSoundItem *>(copy.data())->m_fileName, QStringLiteral("himno.mp3"));
}

void tst_DGItems::pictureCloneLiesOverTheOriginal()
{
    Board board;
    DPage *page = board.current();
    DGPixmapItem *original =
            page->addPixmapItem(picture(), QPointF(150, 120), 25, 1.5f, QTransform(), false);
    original->changeLinks(QStringLiteral("http://x"), QStringLiteral("2"), QString(),
                          QStringLiteral("a.mp3"));
    original->lock(true);
    original->m_pressPos = QPointF(7, 7);
    QScopedPointer<DGPixmapItem> copy(original->clone());
    const QRectF bounds = original->boundingRect();
    for (const QPointF &corner :
         { bounds.topLeft(), bounds.topRight(), bounds.bottomLeft(), bounds.bottomRight() }) {
        const QPointF a = original->mapToScene(corner);
        const QPointF b = copy->mapToScene(corner);
        QVERIFY2(QLineF(a, b).length() < 1e-6, "the copy does not lie over the original");
    }
    QCOMPARE(copy->rotation(), original->rotation());
    QCOMPARE(copy->scale(), 1.5);
    QCOMPARE(copy->rotateItem()->scale(), 1.0 / 1.5);
    QCOMPARE(copy->flags(), original->flags());
    QVERIFY(copy->isLocked());
    QVERIFY(copy->m_linkWeb.isEmpty() && copy->m_linkPage.isEmpty() && copy->m_linkMedia.isEmpty());
    QCOMPARE(copy->rotateItem()->m_focus->m_menu, board.view()->m_menuGeneric);
    QCOMPARE(copy->pixmap().toImage(), original->pixmap().toImage());
}

void tst_DGItems::animatedImagePlaysAndItsCopyIsIndependent()
{
    if (!ItemMedia::haveConvert())
        QSKIP("ImageMagick convert is not installed");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("baile.gif"));
    QCOMPARE(ItemMedia::makeGif(file, QSize(40, 30)), QString());
    Board board;
    DPage *page = board.current();
    QLabel *label = DGGifItem::makeAnimation(file);
    QVERIFY(label);
    DGGifItem *animation =
            page->addGifItem(label, QPointF(100, 100), 10, 1.0f, QTransform(), false);
    QCOMPARE(animation->boundingRect(), QRectF(-5, -5, 50, 40));
    AnimationPlayer *player = AnimationPlayer::of(label);
    QVERIFY(player && player->isRunning());
    const int firstFrame = player->currentFrameNumber();
    QTRY_VERIFY(player->currentFrameNumber() != firstFrame); // it plays
    // ... and the board shows it: the middle of the animation changes colour.
    auto middleColour = [&]() {
        QImage image(page->sceneRect().size().toSize(), QImage::Format_ARGB32);
        QPainter painter(&image);
        page->render(&painter);
        painter.end();
        return QColor(image.pixel(animation->mapToScene(QPointF(20, 15)).toPoint())).rgb();
    };
    const QRgb shown = middleColour();
    QTRY_VERIFY(middleColour() != shown);

    QPointer<DGGifItem> copy = animation->clone();
    QVERIFY(copy->m_label);
    QVERIFY(copy->m_label != animation->m_label);
    QCOMPARE(copy->widget(), copy->m_label.data());
    QCOMPARE(copy->fileName(), file);
    QCOMPARE(copy->rotation(), -10.0);
    page->addItem(copy);
    page->removeItem(animation);
    delete animation; // the original and its label go: the copy keeps playing its own
    QVERIFY(copy->m_label);
    AnimationPlayer *copied = AnimationPlayer::of(copy->m_label);
    QVERIFY(copied && copied->isRunning());
    const int copyFrame = copied->currentFrameNumber();
    QTRY_VERIFY(copied->currentFrameNumber() != copyFrame);
    QVERIFY(!copy->toPixmap().isNull());
}

// A lesson gives an animation its size: the object is that large, the frames drawn to fill it,
// and its copy keeps it.
void tst_DGItems::animationShownAtTheSizeGiven()
{
    QTemporaryDir dir;
    const QString file =
            CraftedPictures::writeIn(dir.path(), "gif-animated", QSize(40, 30), "baile");
    Board board;
    DPage *page = board.current();
    QLabel *label = DGGifItem::makeAnimation(file, QSize(300, 200));
    QVERIFY(label);
    DGGifItem *animation = page->addGifItem(label, QPointF(100, 100), 0, 1.0f, QTransform(), false);
    QCOMPARE(animation->boundingRect(), QRectF(-5, -5, 310, 210));
    QImage image(page->sceneRect().size().toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    page->render(&painter, QRectF(QPointF(0, 0), image.size()), page->sceneRect());
    painter.end();
    const QPointF corner = animation->mapToScene(QPointF(290, 190)) - page->sceneRect().topLeft();
    QVERIFY(QColor(image.pixel(corner.toPoint())) != QColor(Qt::white));
    QPointer<DGGifItem> copy = animation->clone();
    QVERIFY(copy->m_label);
    QCOMPARE(copy->m_label->size(), QSize(300, 200));
    delete copy;
}

void tst_DGItems::videoCopyKeepsPathAndPoster()
{
    QPixmap poster(16, 12);
    poster.fill(Qt::magenta);
    DGVideoItem video(QPointF(40, 50), QStringLiteral("/clase/videos/volcán.mp4"), poster);
    QCOMPARE(video.type(), int(ItemTypeVideo));
    QCOMPARE(video.m_fileName, QStringLiteral("volcán.mp4"));
    QCOMPARE(video.m_linkMedia, QStringLiteral("/clase/videos/volcán.mp4"));
    video.setRotation(-20);
    QScopedPointer<DGVideoItem> copy(video.clone());
    QCOMPARE(copy->m_filePath, QStringLiteral("/clase/videos/volcán.mp4"));
    QCOMPARE(copy->m_linkMedia, copy->m_filePath);
    QCOMPARE(copy->m_poster.toImage(), poster.toImage());
    QCOMPARE(copy->rotation(), -20.0);
    QCOMPARE(copy->mapToScene(QPointF(50, 50)), video.mapToScene(QPointF(50, 50)));

    // The poster fills the box: its colour shows at the box's corners.
    QImage image(110, 110, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.translate(5, 5);
        QStyleOptionGraphicsItem option;
        video.paint(&painter, &option, nullptr);
    }
    QCOMPARE(image.pixel(1, 1), QColor(Qt::magenta).rgb());
    QCOMPARE(image.pixel(108, 2), QColor(Qt::magenta).rgb());
}

void tst_DGItems::videoMediaButtonOpensOnePlayerWindow()
{
    if (!ContentMedia::haveFfmpeg())
        QSKIP("ffmpeg is not installed");
    QTemporaryDir dir;
    const QString clip = dir.filePath(QStringLiteral("clase.ogv"));
    QCOMPARE(ContentMedia::makeClip(clip, 1), QString());
    Board board;
    DPage *page = board.current();
    DGVideoItem *video = page->addVideoItem(clip, QPointF(200, 150), 0, 1.0f, QTransform(), false);
    board.view()->viewport()->repaint(); // lays the frame's buttons out
    DRotateItemButton *media = video->rotateItem()->m_btMedia;
    QVERIFY(media->isVisible());
    const QPoint click =
            board.view()->mapFromScene(media->mapToScene(media->boundingRect().center()));
    QTest::mouseClick(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier, click);
    QPointer<Player> window = qobject_cast<Player *>(QApplication::activeWindow());
    if (!window) {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *player = qobject_cast<Player *>(top))
                window = player;
    }
    QVERIFY(window);
    QCOMPARE(window->fileName(), clip);
    QVERIFY(window->isVisible());
    QVERIFY(!media->m_player); // no sound player of its own for a video
    QTest::mouseClick(board.view()->viewport(), Qt::LeftButton, Qt::NoModifier, click);
    int players = 0;
    for (QWidget *top : QApplication::topLevelWidgets())
        players += qobject_cast<Player *>(top) && top->isVisible() ? 1 : 0;
    QCOMPARE(players, 1); // the second press brings the same window forward
    window->close();
    QTRY_VERIFY(!window);
}

void tst_DGItems::animatedVideoOpensAnAnimationWindow()
{
    if (!ItemMedia::haveConvert())
        QSKIP("ImageMagick convert is not installed");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("anim.gif"));
    QCOMPARE(ItemMedia::makeGif(file, QSize(40, 30)), QString());
    DGVideoItem video(QPointF(120.7, 80.2), file);
    QPointer<QWidget> window = video.showPlayer();
    QVERIFY(window);
    QVERIFY(!qobject_cast<Player *>(window));
    QCOMPARE(window->pos(), QPoint(120, 80));
    auto *label = window->findChild<QLabel *>();
    QVERIFY(AnimationPlayer::of(label) && AnimationPlayer::of(label)->isRunning());
    window->close();
    QTRY_VERIFY(!window); // deleted on close: nothing piles up
}

void tst_DGItems::groupMemberDrawsNoFrame()
{
    Board board;
    DPage *page = board.current();
    DGPixmapItem *member =
            page->addPixmapItem(picture(), QPointF(100, 100), 0, 1.0f, QTransform(), false);
    member->setSelected(true);
    QTRY_VERIFY(member->rotateItem()->m_focus->isVisible());
    auto *group = new BoardFixture::RectObject(QRectF(0, 0, 10, 10), ItemTypeGroup);
    page->addItem(group);
    member->setParentItem(group);
    member->update();
    QTRY_VERIFY(!member->rotateItem()->m_focus->isVisible());
    member->setParentItem(nullptr);
}

namespace {
// Shown smaller than its pixels, each row's picture is a grid of fine lines; else a photo.
enum Shown {
    ShownPhoto,
    ShownFill,
    ShownSelectedFill,
    ShownAnimation,
    ShownVideo,
    ShownLargeGrid,
    ShownBackground,
    ShownLargeBackground
};
}

void tst_DGItems::picturesShownSmoothly_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("zoomSteps"); // of the zoom-in button
    QTest::addColumn<float>("scale");
    QTest::addColumn<float>("turn");
    QTest::addColumn<int>("tolerance"); // grey levels
    QTest::addColumn<int>("perMille"); // of the pixels, at most, further off
    // Turned across most of the board, it is filtered in bands on several threads.
    QTest::newRow("photo scaled 3x and turned 30 degrees")
            << int(ShownPhoto) << 0 << 3.0f << 30.0f << 40 << 2;
    QTest::newRow("photo at 214 %") << int(ShownPhoto) << 8 << 1.0f << 0.0f << 40 << 2;
    QTest::newRow("shape filled with the photo at 214 %")
            << int(ShownFill) << 8 << 1.0f << 0.0f << 40 << 2;
    QTest::newRow("animated image scaled 2.5x and turned 20 degrees")
            << int(ShownAnimation) << 0 << 2.5f << 20.0f << 40 << 2;
    // Shown smaller than its pixels, a picture is averaged over those each pixel covers.
    QTest::newRow("grid scaled 0.3x") << int(ShownPhoto) << 0 << 0.3f << 0.0f << 64 << 20;
    QTest::newRow("grid scaled 0.3x and turned 30 degrees")
            << int(ShownPhoto) << 0 << 0.3f << 30.0f << 64 << 20;
    QTest::newRow("grid at 39 %") << int(ShownPhoto) << -10 << 1.0f << 0.0f << 64 << 20;
    QTest::newRow("animated grid scaled 0.3x")
            << int(ShownAnimation) << 0 << 0.3f << 0.0f << 64 << 20;
    QTest::newRow("video still of a grid, fitted to its box")
            << int(ShownVideo) << 0 << 1.0f << 0.0f << 64 << 20;
    // A camera's picture is averaged down beside the board, and shown once it comes: held to
    // the photos' figure, which what stands in for it meanwhile misses.
    QTest::newRow("grid of 1600 x 1200 scaled 0.3x")
            << int(ShownLargeGrid) << 0 << 0.3f << 0.0f << 40 << 2;
    QTest::newRow("shape filled with the grid at 39 %")
            << int(ShownFill) << -10 << 1.0f << 0.0f << 64 << 20;
    // Selected, the shape is painted as the toolkit paints it, its outline about it.
    QTest::newRow("selected shape filled with the grid at 39 %")
            << int(ShownSelectedFill) << -10 << 1.0f << 0.0f << 64 << 20;
    QTest::newRow("the page's picture, the grid, at 39 %")
            << int(ShownBackground) << -10 << 1.0f << 0.0f << 64 << 20;
    // Averaged beside the board, from the picture's halvings.
    QTest::newRow("the page's picture, a grid of 1600 x 1200, at 39 %")
            << int(ShownLargeBackground) << -10 << 1.0f << 0.0f << 64 << 20;
}

// A picture scaled, turned or zoomed showed its pixels as blocks and stairs, its edges and
// letters stepped: the board shows it as a photo viewer does, filtered, with smooth edges.
void tst_DGItems::picturesShownSmoothly()
{
    QFETCH(int, kind);
    QFETCH(int, zoomSteps);
    QFETCH(float, scale);
    QFETCH(float, turn);
    QFETCH(int, tolerance);
    QFETCH(int, perMille);
    const bool small = scale < 1 || zoomSteps < 0 || kind == ShownVideo;
    QImage photo = small ? TestSupport::gridOfLines(QSize(480, 360))
                         : TestSupport::photoLike(QSize(240, 180));
    if (kind == ShownLargeGrid || kind == ShownLargeBackground)
        photo = TestSupport::gridOfLines(QSize(1600, 1200));
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    QPainterPath oval;
    oval.addEllipse(0, 0, 160, 110);
    QGraphicsItem *item = nullptr;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("photo.png"));
    if (kind == ShownAnimation) {
        if (!ItemMedia::haveConvert())
            QSKIP("ImageMagick convert is not installed");
        QVERIFY(photo.save(file));
        QVERIFY(runTool(QStringLiteral("convert"), { file, file, file + ".gif" }, dir.path(), 30000)
                        .ok);
        QLabel *label = DGGifItem::makeAnimation(file + ".gif");
        QVERIFY(label);
        photo = AnimationPlayer::of(label)->currentImage(); // its colours as the file holds them
        item = page->addGifItem(label, QPointF(300, 250), turn, scale, QTransform(), false);
    } else if (kind == ShownBackground || kind == ShownLargeBackground) {
        page->setBackgroundBrush(QBrush(QPixmap::fromImage(photo))); // as a lesson's is set
    } else if (kind == ShownVideo) {
        item = new DGVideoItem(QPointF(300, 250), QString(), QPixmap::fromImage(photo));
        page->addItem(item);
    } else if (kind == ShownFill || kind == ShownSelectedFill) {
        item = addCurve(page, oval, QPointF(420, 330), BtMenus::btEllipse, false,
                        QPen(Qt::black, 2));
        static_cast<DGPathCurveItem *>(item)->setBrush(QBrush(QPixmap::fromImage(photo)));
        item->setSelected(kind == ShownSelectedFill);
    } else {
        // Its centre on the page, where the board can be centred on it.
        const QPointF at = kind == ShownLargeGrid
                ? QPointF(500, 380) - QPointF(photo.width(), photo.height()) / 2
                : QPointF(450, 340);
        item = page->addPixmapItem(QPixmap::fromImage(photo), at, turn, scale, QTransform(), false);
    }
    for (int step = 0; step < qAbs(zoomSteps); ++step)
        page->zoomPage(zoomSteps > 0 ? 1.1f : 1 / 1.1f);
    if (item)
        view->centerOn(item->sceneBoundingRect().center());
    const QTransform placed =
            item ? item->deviceTransform(view->viewportTransform()) : view->viewportTransform();
    const QRect shownArea = view->viewport()->rect();
    const auto drawn = [&](QPainter *painter) {
        painter->setTransform(placed, true);
        if (kind == ShownBackground || kind == ShownLargeBackground) // tiled from the page's origin over all the board shows
            return painter->fillRect(view->mapToScene(shownArea).boundingRect(),
                                     page->backgroundBrush());
        if (kind == ShownVideo)
            return painter->drawImage(QRectF(-5, -5, 110, 110), photo); // fitted to its box
        if (kind != ShownFill && kind != ShownSelectedFill)
            return painter->drawImage(0, 0, photo);
        painter->setPen(QPen(Qt::black, 2));
        painter->setBrush(static_cast<DGPathCurveItem *>(item)->QGraphicsPathItem::brush());
        painter->drawPath(oval);
    };
    const QImage reference = TestSupport::fineDrawing(shownArea.size(), drawn);
    QRect area = item ? view->mapFromScene(item->sceneBoundingRect()).boundingRect() & shownArea
                      : shownArea;
    if (kind == ShownSelectedFill) // within the oval, clear of the outline and frame about it
        area = QRect(area.x() + area.width() / 4, area.y() + area.height() / 4, area.width() / 2,
                     area.height() / 2);
    TestSupport::InkDifference difference;
    const auto smooth = [&] {
        difference = TestSupport::inkDifference(
                reference.copy(area), view->viewport()->grab().toImage().copy(area), tolerance);
        return !view->isSharpening() && difference.differing * 1000 <= difference.ink * perMille;
    };
    QTRY_VERIFY2(smooth(), qPrintable(difference.toString()));
}

namespace {

// A camera's photo, as large as such photos are: a photo-like picture made larger, each variant
// turned about or in other colours.
QImage cameraPhoto(int variant)
{
    QImage photo = TestSupport::photoLike(QSize(800, 600))
                           .scaled(3200, 2400, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (variant % 2 == 1)
        photo = photo.mirrored(true, false);
    if (variant % 3 == 2)
        photo = photo.rgbSwapped();
    return photo;
}

} // namespace

void tst_DGItems::cameraPhotosShownSmall_data()
{
    QTest::addColumn<int>("photos");
    QTest::addColumn<float>("scale");
    QTest::addColumn<float>("turn");
    QTest::addColumn<int>("zoomSteps"); // of the zoom-in button, each shown
    QTest::addColumn<bool>("background"); // a camera photo the page's picture, tiled
    // Larger than the board, each repainted whenever the board is: the three copies averaged
    // for them did not fit together, and each that came gave back another, for ever.
    QTest::newRow("three overlapping at 100 %") << 3 << 0.45f << 0.0f << 0 << false;
    QTest::newRow("three overlapping, zoomed out step by step")
            << 3 << 0.45f << 0.0f << -4 << false;
    // Averaged on the board's thread, a zoom step held the board up to eight frames on two CPUs.
    QTest::newRow("the page's picture, zoomed out step by step")
            << 0 << 1.0f << 0.0f << -4 << true;
}

// Photos shown smaller than their pixels are averaged beside the board: each step is shown at
// once, what stands in for the photos replaced by them averaged over what each shown pixel
// covers, as a photo viewer shows them.
void tst_DGItems::cameraPhotosShownSmall()
{
    QFETCH(int, photos);
    QFETCH(float, scale);
    QFETCH(float, turn);
    QFETCH(int, zoomSteps);
    QFETCH(bool, background);
    Board board;
    DView *view = board.view();
    DPage *page = board.current();
    if (background)
        page->setBackgroundBrush(QBrush(QPixmap::fromImage(cameraPhoto(1))));
    std::vector<std::pair<QGraphicsItem *, QImage>> shown;
    for (int n = 0; n < photos; ++n) {
        const QImage photo = cameraPhoto(n);
        const QPointF centre = QPointF(512, 384) + QPointF(120, 80) * (n - (photos - 1) / 2.0);
        const QPointF middle(photo.width() / 2.0, photo.height() / 2.0);
        shown.emplace_back(page->addPixmapItem(QPixmap::fromImage(photo), centre - middle, turn,
                                               scale, QTransform(), false),
                           photo);
    }
    view->centerOn(QPointF(512, 384));
    TestSupport::InkDifference difference;
    const auto averaged = [&] {
        const QRect area = view->viewport()->rect();
        const QImage reference = TestSupport::fineDrawing(area.size(), [&](QPainter *painter) {
            const QTransform fine = painter->transform();
            if (background) { // tiled from the page's origin over all the board shows
                painter->setTransform(view->viewportTransform() * fine);
                painter->fillRect(view->mapToScene(area).boundingRect(), page->backgroundBrush());
            }
            for (const auto &[item, photo] : shown) {
                painter->setTransform(item->deviceTransform(view->viewportTransform()) * fine);
                painter->drawImage(0, 0, photo);
            }
        });
        difference = TestSupport::inkDifference(reference, view->viewport()->grab().toImage(), 40);
        return difference.differing * 1000 <= difference.ink * 2;
    };
    for (int step = 0; step <= qAbs(zoomSteps); ++step) {
        if (step > 0)
            page->zoomPage(zoomSteps > 0 ? 1.1f : 1 / 1.1f);
        // Shown at once: the step does not wait for the photos' averaging.
        view->viewport()->repaint();
        QVERIFY(view->viewport()->grab().toImage().pixel(512, 384) != qRgb(255, 255, 255));
        // The averaging is made beside the board, not while it paints.
        QVERIFY(step == 0 || view->isSharpening());
        // Painted as the screen shows it first: a grab alone may be the first to paint the new
        // scale, asking then for what the screen would have asked for.
        const auto settled = [&] {
            view->viewport()->repaint();
            return !view->isSharpening() && averaged();
        };
        QTRY_VERIFY2_WITH_TIMEOUT(
                settled(),
                qPrintable(QStringLiteral("step %1: %2").arg(step).arg(difference.toString())),
                20000);
    }
}

void tst_DGItems::pagePictureChangedWhileSmall_data()
{
    QTest::addColumn<bool>("otherPage"); // the other picture is another page's, shown after
    QTest::newRow("the page's picture replaced") << false;
    QTest::newRow("another page's picture, shown after it, and back") << true;
}

// A page's picture averaged beside the board is made again for the picture it shows now: the
// one made for another picture, or another page, is not laid in its place.
void tst_DGItems::pagePictureChangedWhileSmall()
{
    QFETCH(bool, otherPage);
    Board board(2);
    DView *view = board.view();
    const QBrush first(QPixmap::fromImage(cameraPhoto(1)));
    const QBrush second(QPixmap::fromImage(cameraPhoto(2)));
    board.page(0)->setBackgroundBrush(first);
    board.page(1)->setBackgroundBrush(second);
    TestSupport::InkDifference difference;
    const auto shownAsIts = [&] {
        view->viewport()->repaint();
        DPage *page = board.current();
        const QRect area = view->viewport()->rect();
        const QImage reference = TestSupport::fineDrawing(area.size(), [&](QPainter *painter) {
            painter->setTransform(view->viewportTransform() * painter->transform());
            painter->fillRect(view->mapToScene(area).boundingRect(), page->backgroundBrush());
        });
        difference = TestSupport::inkDifference(reference, view->viewport()->grab().toImage(), 40);
        return !view->isSharpening() && difference.differing * 1000 <= difference.ink * 2;
    };
    const auto zoomOut = [&] {
        for (int step = 0; step < 4; ++step)
            board.current()->zoomPage(1 / 1.1f);
    };
    zoomOut();
    QTRY_VERIFY2_WITH_TIMEOUT(shownAsIts(), qPrintable(difference.toString()), 20000);
    if (otherPage) {
        board.selectPage(1);
        zoomOut();
    } else {
        board.page(0)->setBackgroundBrush(second);
    }
    QTRY_VERIFY2_WITH_TIMEOUT(shownAsIts(), qPrintable(difference.toString()), 20000);
    if (otherPage) {
        board.selectPage(0);
        QTRY_VERIFY2_WITH_TIMEOUT(shownAsIts(), qPrintable(difference.toString()), 20000);
    }
}

QTEST_MAIN(tst_DGItems)
#include "tst_dgitems.moc"
