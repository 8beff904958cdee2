#include "shell/btmenus.h"

#include <QtTest>

using namespace BtMenus;

// Values that stored settings, documents and string-signature signals depend on.
static_assert(btBitmapEraser == 0 && btNextPage == 119 && kBtTypeCount == 120);
static_assert(btPencil - kFirstPenKind == 0 && btSmartPen - btPencil == 19);
static_assert(btEnglish == 12 && btGerman == 17 && lngEnglish == 1 && lngGerman == 5);
static_assert(btItemPath == 2 && btItemVertex == 3 && btItemVideo == 12 && btItemGeneric == 21);
static_assert(stAdd == 0 && stGoToPage == 9 && stColor == 11);
static_assert(fnWebLink == 1 && fnMedia == 5 && fnPathVertexItem == 3);
static_assert(imMultiUser == 3 && dmDesktop == 0 && dmBoard == 1 && resPage == 2);

class tst_BtMenus : public QObject
{
    Q_OBJECT

private slots:
    void groups_data();
    void groups();
};

void tst_BtMenus::groups_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("pen");
    QTest::addColumn<bool>("shape");
    QTest::addColumn<bool>("solid");

    QTest::newRow("object eraser") << int(btObjectEraser) << false << false << false;
    QTest::newRow("video camera") << int(btVideoCamera) << false << false << false;
    QTest::newRow("pencil") << int(btPencil) << true << false << false;
    QTest::newRow("smart pen") << int(btSmartPen) << true << false << false;
    QTest::newRow("table tool") << int(btTableTool) << false << false << false;
    QTest::newRow("temporary tool") << int(btTemporaryTool) << false << false << false;
    QTest::newRow("line") << int(btLine) << false << true << false;
    QTest::newRow("double arrow") << int(btDoubleArrow) << false << true << false;
    QTest::newRow("cone") << int(btCone) << false << true << true;
    QTest::newRow("shape 93") << int(btShape93) << false << true << true;
    QTest::newRow("fill") << int(btFill) << false << false << false;
    QTest::newRow("past the end") << 120 << false << false << false;
}

void tst_BtMenus::groups()
{
    QFETCH(int, type);
    QFETCH(bool, pen);
    QFETCH(bool, shape);
    QFETCH(bool, solid);
    QCOMPARE(isPenKind(type), pen);
    QCOMPARE(isShapeKind(type), shape);
    QCOMPARE(isSolidShape(type), solid);
}

QTEST_APPLESS_MAIN(tst_BtMenus)
#include "tst_btmenus.moc"
