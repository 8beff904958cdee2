#include "board/boardtypes.h"
#include "board/dpage.h"
#include "board/dview.h"
#include "support/boardfixture.h"
#include "support/instrumentsfixture.h"
#include "support/testsupport.h"
#include "support/toolsfixture.h"
#include "tools/dcalculator.h"
#include "tools/dcompass.h"
#include "tools/dcoverscreen.h"
#include "tools/dmagnifier.h"
#include "tools/dprotractor.h"
#include "tools/drulers.h"
#include "tools/drulertriangle.h"
#include "tools/dscreenrecord.h"
#include "tools/dsearchlight.h"

#include <QTemporaryDir>

#include <QtTest>

namespace {

// One drawing instrument's toggle: the page slot the shell calls and the page's slot for it.
struct InstrumentToggle
{
    const char *slot;
    QGraphicsItem *(*of)(const DPage *page);
};

// clang-format off
const InstrumentToggle kInstrumentToggles[] = {
    { "insertCompass",       [](const DPage *p) -> QGraphicsItem * { return p->classroomTools().compass; } },
    { "insertPortractor",    [](const DPage *p) -> QGraphicsItem * { return p->classroomTools().protractor; } },
    { "insertRuler",         [](const DPage *p) -> QGraphicsItem * { return p->classroomTools().ruler; } },
    { "insertTriangleRuler", [](const DPage *p) -> QGraphicsItem * { return p->classroomTools().triangleRuler; } },
};
// clang-format on

int instrumentsOn(const DPage *page)
{
    int count = 0;
    const auto items = page->items();
    for (const QGraphicsItem *item : items)
        count += item->type() == ItemTypeInstrument;
    return count;
}

void call(DPage *page, const char *slot)
{
    QVERIFY(QMetaObject::invokeMethod(page, slot));
}

} // namespace

class tst_DPageInstruments : public QObject
{
    Q_OBJECT
private slots:
    void instrumentToggles_data();
    void instrumentToggles();
    void instrumentOfAnotherSceneComesBack_data();
    void instrumentOfAnotherSceneComesBack();
    void eachPageHasItsOwn();
    void calculatorIsOnlyShown();
    void curtainCoversTheBoard();
    void spotlightIsCentred();
    void magnifierIsShownWithTheView();
    void unusedButtonsChangeNothing();
    void pageTakesItsToolsAlong();
    void linesDrawnAlongInstrumentsShowOnTheBoard();
    void recorderStartsAndStopsInTurn();
};

void tst_DPageInstruments::instrumentToggles_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(kInstrumentToggles)); ++i)
        QTest::newRow(kInstrumentToggles[i].slot) << i;
}

void tst_DPageInstruments::instrumentToggles()
{
    QFETCH(int, index);
    const InstrumentToggle &toggle = kInstrumentToggles[index];
    BoardFixture::Board board;
    DPage *page = board.current();
    DView *view = board.view();
    view->m_penType[PenUserMain] = BtMenus::btHighlighter;
    const QPointF centre = view->mapToScene(QPoint(511, 383));

    call(page, toggle.slot);
    QGraphicsItem *first = toggle.of(page);
    QVERIFY(first);
    QCOMPARE(first->scene(), static_cast<QGraphicsScene *>(page));
    QCOMPARE(first->pos(), centre);
    QCOMPARE(view->getPenType(PenUserMain), int(BtMenus::btSelect));
    QCOMPARE(instrumentsOn(page), 1);
    QCOMPARE(first->type(), int(ItemTypeInstrument));

    call(page, toggle.slot); // toggled off: removed and deleted
    QVERIFY(!toggle.of(page));
    QCOMPARE(instrumentsOn(page), 0);

    view->centerOn(centre + QPointF(40, 30)); // the view has moved since
    call(page, toggle.slot);
    QVERIFY(toggle.of(page));
    QCOMPARE(toggle.of(page)->pos(), view->mapToScene(QPoint(511, 383)));
    QCOMPARE(instrumentsOn(page), 1);
}

void tst_DPageInstruments::instrumentOfAnotherSceneComesBack_data()
{
    instrumentToggles_data();
}

void tst_DPageInstruments::instrumentOfAnotherSceneComesBack()
{
    QFETCH(int, index);
    const InstrumentToggle &toggle = kInstrumentToggles[index];
    BoardFixture::Board board(2);
    DPage *page = board.page(0);
    call(page, toggle.slot);
    QGraphicsItem *instrument = toggle.of(page);
    instrument->setPos(5, 5);
    page->removeItem(instrument);
    board.page(1)->QGraphicsScene::addItem(instrument);
    board.view()->m_penType[PenUserMain] = BtMenus::btHighlighter;

    call(page, toggle.slot);
    QCOMPARE(toggle.of(page), instrument); // the same one, back on its page
    QCOMPARE(instrument->scene(), static_cast<QGraphicsScene *>(page));
    QCOMPARE(instrumentsOn(board.page(1)), 0);
    QCOMPARE(instrument->pos(), board.view()->mapToScene(QPoint(511, 383)));
    QCOMPARE(board.view()->getPenType(PenUserMain), int(BtMenus::btHighlighter)); // untouched
}

void tst_DPageInstruments::eachPageHasItsOwn()
{
    BoardFixture::Board board(2);
    board.page(0)->insertPortractor();
    board.page(1)->insertPortractor();
    DProtractor *first = board.page(0)->classroomTools().protractor;
    DProtractor *second = board.page(1)->classroomTools().protractor;
    QVERIFY(first && second && first != second);
    board.page(1)->insertPortractor();
    QVERIFY(!board.page(1)->classroomTools().protractor);
    QCOMPARE(board.page(0)->classroomTools().protractor, first);
    QCOMPARE(first->scene(), static_cast<QGraphicsScene *>(board.page(0)));
}

void tst_DPageInstruments::calculatorIsOnlyShown()
{
    BoardFixture::Board board;
    DPage *page = board.current();
    page->insertCalculator();
    QPointer<DCalculator> calculator = page->classroomTools().calculator.data();
    QVERIFY(calculator && calculator->isVisible());
    page->insertCalculator();
    QCOMPARE(page->classroomTools().calculator.data(), calculator.data());
    QVERIFY(calculator->isVisible());
}

void tst_DPageInstruments::curtainCoversTheBoard()
{
    BoardFixture::Board board;
    DPage *page = board.current();
    page->insertCurtain();
    DCoverScreen *curtain = page->classroomTools().curtain;
    QVERIFY(curtain && curtain->isVisible());
    QCOMPARE(curtain->parentWidget(), board.window());
    QCOMPARE(curtain->geometry(), QRect(0, 0, 1024, 768));
    curtain->move(100, 50);
    curtain->hide();
    page->insertCurtain();
    QCOMPARE(page->classroomTools().curtain.data(), curtain);
    QVERIFY(curtain->isVisible());
    QCOMPARE(curtain->pos(), QPoint(0, 0));
}

void tst_DPageInstruments::spotlightIsCentred()
{
    BoardFixture::Board board;
    DPage *page = board.current();
    page->insertSearchLight();
    DSearchlight *light = page->classroomTools().searchLight;
    QVERIFY(light && light->isVisible());
    QCOMPARE(light->size(), QSize(2048, 1536));
    QCOMPARE(light->pos(), QPoint(-512, -384));
    light->move(-100, -100);
    page->insertSearchLight();
    QCOMPARE(light->pos(), QPoint(-512, -384));
}

void tst_DPageInstruments::magnifierIsShownWithTheView()
{
    BoardFixture::Board board;
    DPage *page = board.current();
    page->insertMagnifier();
    DMagnifier *magnifier = page->classroomTools().magnifier;
    QVERIFY(magnifier && magnifier->isVisible());
    magnifier->move(-300, -200);
    magnifier->hide();
    page->insertMagnifier();
    QCOMPARE(page->classroomTools().magnifier.data(), magnifier);
    QVERIFY(magnifier->isVisible());
    QCOMPARE(magnifier->pos(), QPoint(-300, -200)); // shown again where it was left
}

void tst_DPageInstruments::unusedButtonsChangeNothing()
{
    BoardFixture::Board board;
    DPage *page = board.current();
    const int children = board.window()->findChildren<QWidget *>().size();
    const int items = page->items().size();
    page->insertFlash();
    page->insertKeyboard();
    page->insertVideoCamera();
    QCOMPARE(board.window()->findChildren<QWidget *>().size(), children);
    QCOMPARE(page->items().size(), items);
}

void tst_DPageInstruments::pageTakesItsToolsAlong()
{
    BoardFixture::Board board;
    auto *page = new DPage(board.view(), board.window()); // a page the board does not hold
    page->insertCalculator();
    page->insertMagnifier();
    page->insertRuler();
    QPointer<DCalculator> calculator = page->classroomTools().calculator.data();
    QPointer<DMagnifier> magnifier = page->classroomTools().magnifier.data();
    QVERIFY(calculator && magnifier);
    board.current()->insertMagnifier(); // the other page keeps its own
    QPointer<DMagnifier> other = board.current()->classroomTools().magnifier.data();
    QVERIFY(other && other != magnifier);
    delete page;
    QVERIFY(!calculator);
    QVERIFY(!magnifier);
    QVERIFY(other);
}

void tst_DPageInstruments::linesDrawnAlongInstrumentsShowOnTheBoard()
{
    BoardFixture::Board board;
    DPage *page = board.current();
    DView *view = board.view();
    page->insertRuler();
    page->insertTriangleRuler();
    page->insertPortractor();
    page->insertCompass();
    const DPage::ClassroomTools &tools = page->classroomTools();
    tools.ruler->setPos(view->mapToScene(QPoint(380, 620)));
    tools.ruler->setRotation(-20);
    tools.triangleRuler->setPos(view->mapToScene(QPoint(30, 30)));
    tools.protractor->setPos(view->mapToScene(QPoint(760, 260)));
    tools.compass->setPos(view->mapToScene(QPoint(560, 430)));
    using InstrumentsFixture::dragItem;
    dragItem(view, tools.ruler, { { 100, 5 }, { 300, 5 }, { 500, 5 } });
    dragItem(view, tools.triangleRuler, { { 5, 100 }, { 5, 250 }, { 5, 340 } });
    tools.protractor->setDrawTriangle_Actionclicked();
    dragItem(view, tools.protractor,
             { QLineF::fromPolar(190, 30).p2(), QLineF::fromPolar(190, 120).p2() });
    dragItem(view, tools.compass,
             { { 208, -50 }, QLineF::fromPolar(215, 60).p2(), QLineF::fromPolar(215, 60).p2() });
    QCOMPARE(InstrumentsFixture::vertexObjects(page).size(), 4);

    const QImage shot = board.window()->grab().toImage();
    ToolsFixture::saveShot(shot, "instruments");
    // The ruler's line is painted in black along its turned top edge, under the ruler's tint.
    const QPoint onLine = InstrumentsFixture::viewPoint(view, tools.ruler, { 400, 0 });
    const QColor ink = ToolsFixture::pixel(shot, onLine);
    QVERIFY2(qGray(ink.rgb()) < 90, qPrintable(ink.name()));
    // Beside the drawn stretch the edge carries only the instrument's own outline.
    const QPoint pastLine = InstrumentsFixture::viewPoint(view, tools.ruler, { 540, 50 });
    QVERIFY(qGray(ToolsFixture::pixel(shot, pastLine).rgb()) > 150);
}

void tst_DPageInstruments::recorderStartsAndStopsInTurn()
{
    // A recorder program of our own: writes frames to the file after "-o" until it is stopped.
    QTemporaryDir appDir;
    QVERIFY(appDir.isValid());
    QVERIFY(QDir(appDir.path()).mkpath(QStringLiteral("Sys")));
    const QString program = appDir.filePath(QStringLiteral("Sys/record"));
    QFile script(program);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(
            "#!/bin/sh\ntrap 'exit 0' TERM\nwhile :; do echo frame >> \"$2\"; sleep 0.05; done\n");
    script.close();
    QVERIFY(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner));

    BoardFixture::Board board(2);
    DScreenRecord::shared(board.window())->setApplicationDir(appDir.path());
    DPage *page = board.page(0);
    page->insertRecorder();
    QPointer<DScreenRecord> recorder = page->classroomTools().recorder.data();
    QVERIFY(recorder);
    QVERIFY(recorder->isVisible());
    QVERIFY(recorder->isRecording());

    // Another page reaches the same recorder and stops it; where to keep the video is declined.
    auto asked = TestSupport::answerNextModal([](QWidget *dialog) { dialog->close(); });
    board.page(1)->insertRecorder();
    QVERIFY(*asked);
    QCOMPARE(board.page(1)->classroomTools().recorder.data(), recorder.data());
    QVERIFY(!recorder->isVisible());
    QVERIFY(!recorder->isRecording());

    page->insertRecorder(); // and the next press starts again
    QVERIFY(recorder->isRecording());
    asked = TestSupport::answerNextModal([](QWidget *dialog) { dialog->close(); });
    page->insertRecorder();
    QVERIFY(*asked);
    QVERIFY(!recorder->isRecording());
}

QTEST_MAIN(tst_DPageInstruments)
#include "tst_dpageinstruments.moc"
