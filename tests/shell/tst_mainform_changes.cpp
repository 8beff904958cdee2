#include "shell/mainform.h"

#include "board/dpage.h"
#include "board/dview.h"
#include "board/scribblearea.h"
#include "content/dlabel.h"
#include "content/dresources.h"
#include "document/dpageslist.h"
#include "document/toolrun.h"
#include "palettes/widgetpageselector.h"
#include "shell/dmainui.h"
#include "shell/globals.h"
#include "support/documentfixture.h"
#include "support/groupsfixture.h"
#include "support/inkfixture.h"
#include "support/testsupport.h"

#include <QAbstractButton>
#include <QGraphicsItem>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QtTest>

#include <cmath>

#include <sys/stat.h>

// What the main window asks about and writes, after each thing a teacher changes, undoes and
// does again, driven through the window's own commands and the board's events.
class tst_MainFormChanges : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void everyChangeIsOwed_data();
    void everyChangeIsOwed();

private:
    // One step of a teacher's, done through the window's own wiring.
    void teacherDoes(const QString &step);
    // Drags the tile of page from onto the tile of page onto in the gallery.
    void dragPageTile(int from, int onto);
    // Whether "Salir" asks to save; a question is answered "Cancelar" and the program goes on.
    bool exitAsks();
    // Whether "Guardar Archivo" writes archive anew (another file in its place).
    bool saveWrites(const QString &archive);
    QScopedPointer<MainForm> m_window;
    QTemporaryDir m_pictures;
};

void tst_MainFormChanges::initTestCase()
{
    qApp->setQuitOnLastWindowClosed(false);
    TestSupport::recordConnectWarnings();
    settings.setValue("System/Language", 0);
}

void tst_MainFormChanges::init()
{
    m_window.reset(new MainForm);
}

void tst_MainFormChanges::cleanup()
{
    m_window.reset();
    QCOMPARE(TestSupport::takeConnectWarnings(), QStringList());
}

namespace {

// The text of a lesson's archive.
QByteArray contentOf(const QString &archive)
{
    return runTool(QStringLiteral("unzip"), { QStringLiteral("-p"), archive, "content.xml" },
                   QString(), 60000)
            .output;
}

void clickIn(QWidget *parent, const char *name)
{
    auto *button = parent->findChild<QAbstractButton *>(QLatin1String(name));
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

namespace {

// What each page holds, page by page: the kinds of its objects that stand on their own.
QList<QList<int>> kindsOnPages(const QList<DPage *> &pages)
{
    QList<QList<int>> kinds;
    for (DPage *page : pages) {
        kinds << QList<int>();
        for (QGraphicsItem *object : InkFixture::boardObjects(page))
            kinds.last() << object->type();
    }
    return kinds;
}

QPoint centreOf(DView *view, QGraphicsItem *object)
{
    return view->mapFromScene(object->sceneBoundingRect().center());
}

// Selects the objects and chooses path in the menu of the first one's frame.
void chooseOnFrame(DView *view, const QList<QGraphicsItem *> &objects, const QStringList &path)
{
    view->page()->clearSelection();
    for (QGraphicsItem *object : objects)
        object->setSelected(true);
    GroupsFixture::paintPage(view->page()); // the frames and their handles laid out
    QVERIFY(GroupsFixture::chooseInMenu(view, GroupsFixture::handlePoint(view, objects.first()),
                                        path));
}

// A drag of the first object's handle to where arm (its handle from its centre) takes it.
void dragHandle(DView *view, QGraphicsItem *object, QPoint (*arm)(QPoint, int eighths))
{
    view->page()->clearSelection();
    object->setSelected(true);
    GroupsFixture::paintPage(view->page());
    const QPoint handle = GroupsFixture::handlePoint(view, object);
    const QPoint centre = centreOf(view, object);
    TestSupport::drag(
            view->viewport(),
            { handle, centre + arm(handle - centre, 1), centre + arm(handle - centre, 2) });
}

// A teacher's steps, in the page palette or on the board. objects: the page's, bottom to top.
struct TeacherStep
{
    const char *name;
    void (*act)(MainForm &window, const QList<QGraphicsItem *> &objects);
};

void drawSquare(MainForm &window, QPoint from)
{
    window.uiMainBt(BtMenus::btSquare);
    TestSupport::drag(window.pagesList()->getView()->viewport(),
                      InkFixture::line(from, from + QPoint(100, 100), 8));
    window.uiMainBt(BtMenus::btSelect);
}

void answered(const DocumentFixture::ModalAnswer &answer, MainForm &window, const char *button)
{
    const auto count = DocumentFixture::answerInTurn({ answer });
    clickIn(window.mainUi()->pageSelector(), button);
    QTRY_COMPARE(*count, 1);
}

// clang-format off
const TeacherStep kTeacherSteps[] = {
    { "undo", [](MainForm &w, const QList<QGraphicsItem *> &) { w.uiMainBt(BtMenus::btUndo); } },
    { "redo", [](MainForm &w, const QList<QGraphicsItem *> &) { w.uiMainBt(BtMenus::btRedo); } },
    { "stroke", [](MainForm &w, const QList<QGraphicsItem *> &objects) {
          w.uiMainBt(BtMenus::btPencil);
          TestSupport::drag(w.pagesList()->getView()->m_scribbleArea,
                            InkFixture::line(QPoint(300, 300), QPoint(500, 420), 10));
          QTRY_COMPARE(InkFixture::boardObjects(w.pagesList()->getCurPage()).size(),
                       objects.size() + 1); } },
    { "square", [](MainForm &w, const QList<QGraphicsItem *> &) { drawSquare(w, { 200, 150 }); } },
    { "another square", [](MainForm &w, const QList<QGraphicsItem *> &) {
          drawSquare(w, { 380, 150 }); } },
    { "word", [](MainForm &w, const QList<QGraphicsItem *> &) {
          emit w.resources()->pressText(QStringLiteral("casa")); } },
    { "picture", [](MainForm &w, const QList<QGraphicsItem *> &) {
          emit w.resources()->pressImage(QStringLiteral(":/PicRes/Animal/CAT.png"));
          QVERIFY(TestSupport::picturesCome()); } },
    { "move", [](MainForm &w, const QList<QGraphicsItem *> &objects) {
          const QPoint from = centreOf(w.pagesList()->getView(), objects.first());
          TestSupport::drag(w.pagesList()->getView()->viewport(),
                            InkFixture::line(from, from + QPoint(60, 40), 4)); } },
    { "scale", [](MainForm &w, const QList<QGraphicsItem *> &objects) { // twice as far out
          dragHandle(w.pagesList()->getView(), objects.first(),
                     [](QPoint arm, int eighths) { return arm + arm * eighths / 2; }); } },
    { "turn", [](MainForm &w, const QList<QGraphicsItem *> &objects) { // a quarter turn
          dragHandle(w.pagesList()->getView(), objects.first(), [](QPoint arm, int eighths) {
              const qreal angle = -M_PI / 4 * eighths;
              return QPoint(qRound(arm.x() * std::cos(angle) - arm.y() * std::sin(angle)),
                            qRound(arm.x() * std::sin(angle) + arm.y() * std::cos(angle))); }); } },
    { "lock", [](MainForm &w, const QList<QGraphicsItem *> &objects) {
          chooseOnFrame(w.pagesList()->getView(), { objects.first() }, { "Bloquear" }); } },
    { "link", [](MainForm &w, const QList<QGraphicsItem *> &objects) {
          const auto typed = TestSupport::answerNextModal([](QWidget *dialog) {
              auto *input = qobject_cast<QInputDialog *>(dialog);
              input->setTextValue(QStringLiteral("https://escuela.example"));
              input->accept();
          });
          chooseOnFrame(w.pagesList()->getView(), { objects.first() },
                        { "Enlazar", "Enlace Web" });
          QVERIFY(*typed); } },
    { "group", [](MainForm &w, const QList<QGraphicsItem *> &objects) {
          chooseOnFrame(w.pagesList()->getView(), objects, { "Grupo", "Agrupar" }); } },
    { "bin", [](MainForm &w, const QList<QGraphicsItem *> &objects) {
          DView *view = w.pagesList()->getView();
          view->page()->clearSelection();
          const QPoint from = centreOf(view, objects.first());
          TestSupport::drag(view->viewport(), { from, from + QPoint(30, 30),
                                                view->m_binLabel->geometry().center() }); } },
    { "clear", [](MainForm &w, const QList<QGraphicsItem *> &) {
          answered(DocumentFixture::click("Si"), w, "baCleanPage"); } },
    { "new page", [](MainForm &w, const QList<QGraphicsItem *> &) {
          clickIn(w.mainUi()->pageSelector(), "baColorPage"); } },
    { "delete page", [](MainForm &w, const QList<QGraphicsItem *> &) {
          answered(DocumentFixture::click("Si"), w, "baDelPage"); } },
};
// clang-format on

} // namespace

void tst_MainFormChanges::teacherDoes(const QString &step)
{
    if (step == QLatin1String("move page"))
        return dragPageTile(0, 1);
    if (step.endsWith(QLatin1String("color"))) // a colour of the page palette
        return clickIn(m_window->mainUi()->pageSelector(), qPrintable(step));
    if (step == QLatin1String("picture page")) {
        const QString file = m_pictures.filePath(QStringLiteral("background.png"));
        QImage background(320, 240, QImage::Format_RGB32);
        background.fill(QColor(40, 120, 200));
        QVERIFY(background.save(file));
        const int before = m_window->pagesList()->size();
        answered(DocumentFixture::chooseFile(file), *m_window, "baImagePage");
        QTRY_COMPARE_WITH_TIMEOUT(m_window->pagesList()->size(), before + 1, 30000);
        return;
    }
    const QList<QGraphicsItem *> objects =
            InkFixture::boardObjects(m_window->pagesList()->getCurPage());
    for (const TeacherStep &row : kTeacherSteps) {
        if (step == QLatin1String(row.name))
            return row.act(*m_window, objects);
    }
    QFAIL(qPrintable(QStringLiteral("no such step: ") + step));
}

void tst_MainFormChanges::dragPageTile(int from, int onto)
{
    DResources *gallery = m_window->resources();
    if (!gallery->isVisible())
        m_window->uiMainBt(BtMenus::btExpandRes);
    QTRY_COMPARE_WITH_TIMEOUT(gallery->pageTilesToDraw(), 0, 20000);
    // The column laid out again after the last move, as it is before a teacher's next drag.
    QCoreApplication::sendPostedEvents();
    QList<DLabel *> tiles;
    QLayout *column = gallery->findChild<QWidget *>("scrollAreaWidgetContents")->layout();
    for (int i = 0; i < column->count(); ++i) {
        if (auto *tile = qobject_cast<DLabel *>(column->itemAt(i)->widget()))
            tiles << tile;
    }
    QVERIFY(std::max(from, onto) < tiles.size());
    QLabel *picture = tiles.at(from)->findChild<QLabel *>("label");
    const QPoint start = picture->rect().center();
    const QPoint end = picture->mapFromGlobal(
            tiles.at(onto)->mapToGlobal(tiles.at(onto)->rect().center() + QPoint(0, 10)));
    TestSupport::drag(picture, InkFixture::line(start, end, 8));
}

bool tst_MainFormChanges::exitAsks()
{
    const auto answered = DocumentFixture::answerInTurn({ DocumentFixture::click("Cancelar") });
    m_window->uiMainBt(BtMenus::btExit);
    return *answered == 1 && m_window->isVisible();
}

bool tst_MainFormChanges::saveWrites(const QString &archive)
{
    struct stat before;
    struct stat after;
    if (::stat(QFile::encodeName(archive).constData(), &before) != 0)
        return false;
    // A failure would be said in a box: closed, so that the test goes on and fails.
    const auto failure = DocumentFixture::answerInTurn({ DocumentFixture::click("OK") });
    m_window->uiMainBt(BtMenus::btSaveFile);
    if (*failure > 0 || ::stat(QFile::encodeName(archive).constData(), &after) != 0)
        return false;
    // A save replaces the archive by another file, written whole beside it.
    return before.st_ino != after.st_ino;
}

void tst_MainFormChanges::everyChangeIsOwed_data()
{
    QTest::addColumn<QStringList>("before"); // what the lesson holds when it is saved
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("back"); // undoes it, or does it back by hand
    QTest::addColumn<QString>("again");
    const auto row = [](const char *name, const QStringList &before, const char *change,
                        const char *back = "undo", const char *again = "redo") {
        QTest::newRow(name) << before << QString(change) << QString(back) << QString(again);
    };
    const QStringList square{ "square" };
    const QStringList twoSquares{ "square", "another square" };
    row("a stroke", {}, "stroke");
    row("a shape", {}, "square");
    row("a word from the gallery", {}, "word");
    row("a picture from the gallery", {}, "picture");
    row("an object moved", square, "move");
    row("an object scaled", square, "scale");
    row("an object turned", square, "turn");
    row("an object locked", square, "lock");
    row("an object linked", square, "link");
    row("objects grouped", twoSquares, "group");
    row("an object onto the bin", square, "bin");
    row("a group onto the bin", { "square", "another square", "group" }, "bin");
    row("the page cleared", twoSquares, "clear");
    row("the page's colour", {}, "greencolor", "whitecolor", "greencolor");
    row("a page added", {}, "new page", "delete page", "new page");
    row("a picture page added", {}, "picture page", "delete page", "picture page");
    // A blank page in the place of the blank page deleted: the lesson writes as it did.
    row("a page deleted", { "new page" }, "delete page", "new page", "delete page");
    row("pages moved", { "new page", "bluecolor" }, "move page", "move page", "move page");
}

// Whatever a teacher changes is offered for saving until it is saved, and undoing back to what
// was saved is no change: "Guardar Archivo" writes exactly when the lesson differs from its
// file, "Salir" asks exactly then, and the file holds what the board shows.
void tst_MainFormChanges::everyChangeIsOwed()
{
    QFETCH(QStringList, before);
    QFETCH(QString, change);
    QFETCH(QString, back);
    QFETCH(QString, again);
    DPagesList *pages = m_window->pagesList();
    QVERIFY(!pages->isDocumentModified()); // as the program started
    for (const QString &step : qAsConst(before))
        teacherDoes(step);
    QTemporaryDir folder;
    const QString lesson = folder.filePath(QStringLiteral("lesson.iwb"));
    const auto saveAs = [this](const QString &file) {
        const auto answered = DocumentFixture::answerInTurn(
                { DocumentFixture::click("Si"), DocumentFixture::chooseFile(file) });
        m_window->uiMainBt(BtMenus::btSaveAsFile);
        return *answered == 2;
    };
    QVERIFY(saveAs(lesson));
    const QByteArray saved = contentOf(lesson);
    QVERIFY(!saved.isEmpty());
    QVERIFY(!pages->isDocumentModified());

    teacherDoes(change);
    QVERIFY(pages->isDocumentModified());
    QVERIFY(exitAsks());
    teacherDoes(back);
    QVERIFY(!pages->isDocumentModified());
    QVERIFY(!saveWrites(lesson)); // nothing to write: the lesson is as saved
    teacherDoes(again);
    QVERIFY(pages->isDocumentModified());
    QVERIFY(saveWrites(lesson));
    const QByteArray changed = contentOf(lesson);
    QVERIFY(changed != saved);
    QVERIFY(!pages->isDocumentModified());

    // Undone after the save: owed again, and the file then holds the lesson as it was.
    teacherDoes(back);
    QVERIFY(pages->isDocumentModified());
    QVERIFY(exitAsks());
    QVERIFY(saveWrites(lesson));
    QCOMPARE(contentOf(lesson), saved);
    teacherDoes(again);
    QVERIFY(pages->isDocumentModified());
    QVERIFY(saveWrites(lesson));
    QCOMPARE(contentOf(lesson), changed);
    teacherDoes(back);
    QVERIFY(pages->isDocumentModified());
    QVERIFY(saveWrites(lesson));
    QCOMPARE(contentOf(lesson), saved);

    // Opened again, it is the lesson the board showed, and is written alike.
    const QList<QList<int>> shown = kindsOnPages(*pages);
    {
        const auto answered =
                DocumentFixture::answerInTurn({ DocumentFixture::chooseFile(lesson) });
        m_window->uiMainBt(BtMenus::btOpenFile);
        QCOMPARE(*answered, 1);
    }
    QCOMPARE(kindsOnPages(*pages), shown);
    QVERIFY(!pages->isDocumentModified());
    const QString copy = folder.filePath(QStringLiteral("copy.iwb"));
    QVERIFY(saveAs(copy));
    QCOMPARE(contentOf(copy), saved);

    // Saved: "Salir" leaves without a question.
    bool asked = false;
    const auto question = TestSupport::answerNextModal([&asked](QWidget *dialog) {
        asked = true;
        TestSupport::clickButton(dialog, QStringLiteral("Cancelar"));
        qApp->exit(97);
    });
    QTimer::singleShot(0, m_window.data(), [this]() { m_window->uiMainBt(BtMenus::btExit); });
    QObject neverEnded; // its timer goes with it
    QTimer::singleShot(60000, &neverEnded, []() { qApp->exit(98); });
    QCOMPARE(qApp->exec(), 0);
    QVERIFY(!asked);
}

QTEST_MAIN(tst_MainFormChanges)
#include "tst_mainform_changes.moc"
