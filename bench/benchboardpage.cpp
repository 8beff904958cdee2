#include "benchboardpage.h"

#include "benchdocument.h"

#include "board/boardtypes.h"
#include "board/dgitemgroup.h"
#include "board/dgpathcurveitem.h"
#include "board/dgpathtableitem.h"
#include "board/dgpixmapitem.h"
#include "board/dgtextitem.h"
#include "board/dpage.h"
#include "board/dview.h"

#include <QDir>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QPainterPath>
#include <QPen>
#include <QRandomGenerator>
#include <QStringList>
#include <QToolButton>

#include <algorithm>

namespace BenchBoardPage {

namespace {

constexpr quint32 kStrokeSeed = 20261207;

struct PartName
{
    Part part;
    const char *name;
    const char *what;
};
// clang-format off
constexpr PartName kPartNames[] = {
    { Strokes, "strokes", "the 2,000 strokes, each on its own" },
    { Groups,  "groups",  "the 2,000 strokes in groups of 20 (every third scaled 1.5x, one nested)" },
    { Picture, "picture", "a photo of 800 x 600 scaled 3x and turned 30 degrees" },
    { Fill,    "fill",    "an ellipse filled with a photo, scaled 2x" },
    { Table,   "table",   "a table of 5 rows and 3 columns" },
    { Text,    "text",    "a text of a few lines" },
    { Palette, "palette", "a widget of 400 x 300 over the board, as a palette lies" },
    { Bin,     "bin",     "the recycle bin over the board's corner, as the board starts (else hidden)" },
    { Turned,  "turned",  "a group of a photo, a text and a table, scaled 1.5x and turned 30 degrees" },
};
// clang-format on

// Handwriting-like: a random walk of small steps inside a box of a word's size.
QPainterPath makeStroke(QRandomGenerator &random)
{
    QPainterPath path;
    QPointF point(random.bounded(120.0), random.bounded(80.0));
    path.moveTo(point);
    for (int i = 1; i < kPoints; ++i) {
        point += QPointF(random.bounded(6.0) - 3.0, random.bounded(6.0) - 3.0);
        point.setX(qBound(0.0, point.x(), 120.0));
        point.setY(qBound(0.0, point.y(), 80.0));
        path.lineTo(point);
    }
    return path;
}

// A teacher groups what lies together (a word, a line, a sum), not strokes from all over the
// board: the strokes go in bands of the board's height, left to right within each, 20 at a time.
std::vector<std::vector<DGPathCurveItem *>> neighbours(std::vector<DGPathCurveItem *> strokes,
                                                       int height)
{
    const int groups = int(strokes.size()) / kStrokesPerGroup;
    const int bands = std::max(1, groups / 10);
    const qreal bandHeight = qreal(height) / bands;
    std::sort(strokes.begin(), strokes.end(),
              [bandHeight](const DGPathCurveItem *a, const DGPathCurveItem *b) {
                  const int bandA = int(a->pos().y() / bandHeight);
                  const int bandB = int(b->pos().y() / bandHeight);
                  return bandA != bandB ? bandA < bandB : a->pos().x() < b->pos().x();
              });
    std::vector<std::vector<DGPathCurveItem *>> gathered;
    for (size_t first = 0; first < strokes.size(); first += kStrokesPerGroup) {
        const size_t end = std::min(strokes.size(), first + kStrokesPerGroup);
        gathered.emplace_back(strokes.begin() + long(first), strokes.begin() + long(end));
    }
    return gathered;
}

// Selected and grouped with the page's command ("Agrupar"), as the teacher does; every third
// group then scaled about its centre with the object zoom, and the second group put into the
// first.
int addGroups(DPage *page, const std::vector<DGPathCurveItem *> &strokes, int height)
{
    std::vector<DGItemGroup *> groups;
    for (const std::vector<DGPathCurveItem *> &members : neighbours(strokes, height)) {
        page->clearSelection();
        for (DGPathCurveItem *stroke : members)
            stroke->setSelected(true);
        page->addObjToGroup();
        if (auto *group = dynamic_cast<DGItemGroup *>(page->m_pGroupItem))
            groups.push_back(group);
    }
    page->clearSelection();
    for (size_t n = 0; n < groups.size(); n += 3) {
        DGItemGroup *group = groups[n];
        group->setTransformOriginPoint(group->boundingRect().center());
        group->setSelected(true);
        page->zoomObj(1.5f);
        page->clearSelection();
    }
    if (groups.size() >= 2)
        page->addItemToGroup(groups[0], groups[1]);
    return int(groups.size());
}

void addFilledEllipse(DPage *page, DView *view, const QString &scratchDir)
{
    // The shape palette's picture fill reads its picture from a file.
    const QString file = QDir(scratchDir).filePath(QStringLiteral("fill.png"));
    BenchDocument::photo(QSize(640, 480), 7).save(file);
    QPainterPath outline;
    outline.addEllipse(QRectF(1300, 600, 300, 200));
    page->addCurveItem(outline, QPen(QColor(200, 40, 40), 4), 0, BtMenus::btEllipse,
                       BtMenus::fnPathSceneCoords, QPointF(), 2.0f, QTransform(), false);
    view->setShapeFillPenColour(QColor(0, 0, 0, 0), FillImage, file);
    page->fillFigure(); // on the shape just made, as the shape tool fills it as it is drawn
    page->m_pDrawItem = nullptr;
}

// Across the board's centre, where the zoom goes in: grouped with the page's command, scaled
// with the object zoom and turned about its centre.
void addTurnedGroup(DPage *page, QPointF centre)
{
    QPainterPath outline;
    outline.addRect(QRectF(centre - QPointF(240, 60), QSizeF(480, 300)));
    QList<QGraphicsItem *> members;
    members << page->addPixmapItem(BenchDocument::photo(QSize(400, 300), 11),
                                   centre - QPointF(300, 250), 0, 1.0f, QTransform(), false);
    members << page->addTextItem(
            QStringLiteral("<p><b>Tabla de multiplicar</b></p><p>Del 1 al 5.</p>"),
            QFont(QStringLiteral("DejaVu Sans"), 24), centre + QPointF(120, -200), 0, 1.0f,
            QTransform(), false, 360);
    members << page->addTableItem(outline, 5, 3, 0, 1.0f, QTransform(), false);
    page->clearSelection();
    for (QGraphicsItem *member : members)
        member->setSelected(true);
    page->addObjToGroup();
    auto *group = dynamic_cast<DGItemGroup *>(page->m_pGroupItem);
    if (!group)
        return;
    group->setTransformOriginPoint(group->boundingRect().center());
    page->clearSelection();
    group->setSelected(true);
    page->zoomObj(1.5f);
    page->clearSelection();
    group->setRotation(30); // as the frame's turning handle does: the command leaves groups be
}

QWidget *addPalette(QWidget *window)
{
    auto *palette = new QWidget(window);
    palette->setAutoFillBackground(true);
    auto *grid = new QGridLayout(palette);
    for (int n = 0; n < 12; ++n) {
        auto *button = new QToolButton(palette);
        button->setText(QString::number(n + 1));
        button->setMinimumSize(80, 60);
        grid->addWidget(button, n / 4, n % 4);
    }
    palette->setGeometry(window->width() - 460, 160, 400, 300);
    palette->show();
    palette->raise();
    return palette;
}

} // namespace

std::vector<DGPathCurveItem *> addStrokes(DPage *page, int width, int height)
{
    QRandomGenerator random(kStrokeSeed);
    const QPen pen(QColor(0, 0, 0), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    std::vector<DGPathCurveItem *> strokes;
    for (int i = 0; i < kStrokes; ++i) {
        const QPointF pos(random.bounded(double(width - 130)), random.bounded(double(height - 90)));
        auto *stroke = new DGPathCurveItem(pos, pen, BtMenus::btPencil, nullptr);
        stroke->setPath(makeStroke(random));
        page->addItem(stroke);
        strokes.push_back(stroke);
    }
    return strokes;
}

bool partsFromNames(const QString &names, unsigned *parts)
{
    const QString wanted = names.trimmed();
    if (wanted.isEmpty() || wanted == QLatin1String("all")) {
        *parts = kAllParts;
        return true;
    }
    *parts = 0;
    for (const QString &name : wanted.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto found =
                std::find_if(std::begin(kPartNames), std::end(kPartNames), [&](const PartName &p) {
                    return name.trimmed() == QLatin1String(p.name);
                });
        if (found == std::end(kPartNames))
            return false;
        *parts |= found->part;
    }
    return *parts != 0;
}

QString namesOf(unsigned parts)
{
    QStringList names;
    for (const PartName &part : kPartNames) {
        if (parts & part.part)
            names << QLatin1String(part.name);
    }
    return names.join(QLatin1Char(','));
}

QString partsHelp()
{
    QString help;
    for (const PartName &part : kPartNames)
        help += QStringLiteral("  %1: %2\n")
                        .arg(QLatin1String(part.name), QLatin1String(part.what));
    return help;
}

MixedPage addMixed(DPage *page, DView *view, QWidget *window, unsigned parts,
                   const QString &scratchDir)
{
    MixedPage mixed;
    const int width = window->width();
    const int height = window->height();
    // The photo first: the teacher writes over it.
    if (parts & Picture) {
        const QPixmap photo = BenchDocument::photo(QSize(800, 600), 3);
        page->addPixmapItem(photo, QPointF(width / 2.0 - 400, height / 2.0 - 300), 30, 3.0f,
                            QTransform(), false);
    }
    if (parts & Fill)
        addFilledEllipse(page, view, scratchDir);
    if (parts & Turned)
        addTurnedGroup(page, QPointF(width / 2.0, height / 2.0));
    if (parts & Table) {
        QPainterPath outline;
        outline.addRect(QRectF(80, 640, 480, 300));
        page->addTableItem(outline, 5, 3, 0, 1.0f, QTransform(), false);
    }
    if (parts & Text) {
        page->addTextItem(QStringLiteral("<p><b>Los ríos de España</b></p><p>El Ebro nace en "
                                         "Fontibre y desemboca en el Mediterráneo.</p>"),
                          QFont(QStringLiteral("DejaVu Sans"), 28), QPointF(160, 80), 0, 1.0f,
                          QTransform(), false, 700);
    }
    if (parts & (Strokes | Groups)) {
        const std::vector<DGPathCurveItem *> strokes = addStrokes(page, width, height);
        if (parts & Groups)
            mixed.groups = addGroups(page, strokes, height);
    }
    if (parts & Palette)
        mixed.palette = addPalette(window);
    // The board starts with it shown; the teacher's button (showBin) toggles what it reads as
    // shown, which nothing is before the window is.
    if (!(parts & Bin))
        view->m_binLabel->hide();

    for (QGraphicsItem *item : page->items()) {
        if (DGPathItem *object = DGPathItem::pathObject(item))
            mixed.pathObjects.push_back(object);
    }
    return mixed;
}

} // namespace BenchBoardPage
