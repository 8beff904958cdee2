// Handwriting to text: the page cuts its selected strokes into characters and asks the offline
// recogniser for each, or sends them all to the online service, and places the text it gets.

#include "dpage.h"

#include "boardtypes.h"
#include "dgpathitem.h"
#include "dview.h"

#include "recognition/qhandwritingcustomsupport.h"

#include <QMessageBox>

#include <algorithm>

namespace {

// Classes of the character table the pairing rule looks at.
constexpr int kClassCapitalI = 8;
constexpr int kClassCapitalL = 11;
constexpr int kClassCapitalV = 21;
constexpr int kClassSmallH = 33;
constexpr int kClassSmallI = 34;
constexpr int kClassSmallL = 37;
constexpr int kClassSmallN = 39;
constexpr int kClassSmallR = 43;
constexpr int kClassOne = 53;
constexpr int kClassDot = 62;
constexpr int kClassDash = 65;
constexpr int kClassEnie = 72;
constexpr int kNoPair = -1;

// The first character goes this far right of the rightmost stroke, each next one this much
// further on.
constexpr int kFirstOffset = 40;
constexpr int kCharacterStep = 30;
constexpr int kTextPointSize = 25;

const char kLanguage[] = "es_ES";

// A tapped i-dot reads as "." where a dash was drawn: both stand over the stem.
bool isBar(int c)
{
    return c == kClassDash || c == kClassDot;
}

bool isStem(int c)
{
    return c == kClassCapitalI || c == kClassSmallR || c == kClassSmallL || c == kClassCapitalL;
}

bool isTilde(int c)
{
    return c == kClassDash || c == kClassOne || c == kClassCapitalV;
}

int pairOf(int a, int b)
{
    if ((isBar(a) && isStem(b)) || (isBar(b) && isStem(a)))
        return kClassSmallI;
    if ((a == kClassSmallN && isTilde(b)) || (b == kClassSmallN && isTilde(a)))
        return kClassEnie;
    if ((a == kClassSmallH && b == kClassDash) || (b == kClassSmallH && a == kClassDash))
        return kClassEnie;
    return kNoPair;
}

} // namespace

void DPage::connectRecognition()
{
    connect(m_handwriting, &QHandwritingCustomSupport::textRecognitionSucceded, this,
            &DPage::textRecognizer);
    connect(m_handwriting, &QHandwritingCustomSupport::textRecognitionError, this,
            &DPage::textNoRecognizer);
}

bool DPage::compare(const QGraphicsItem *a, const QGraphicsItem *b)
{
    return a->scenePos().x() < b->scenePos().x();
}

QVector<QPointF> DPage::strokeOf(const QGraphicsItem *item)
{
    QVector<QPointF> stroke;
    const auto *path = dynamic_cast<const DGPathItem *>(item);
    if (!path)
        return stroke;
    const QVector<QPointF> &points = path->points();
    const QList<int> &erased = path->erased();
    stroke.reserve(points.size());
    for (int i = 0; i < points.size(); ++i) {
        if (!erased.contains(i))
            stroke << item->mapToScene(points.at(i));
    }
    return stroke;
}

int DPage::isENIEoI(QGraphicsItem *first, QGraphicsItem *second)
{
    const int a = m_recog.reconocer({ strokeOf(first) });
    const int b = m_recog.reconocer({ strokeOf(second) });
    return pairOf(a, b);
}

void DPage::placeRecognisedText(const QString &text, QPointF pos)
{
    // The text is shown as it was read, even where it holds characters of markup.
    addTextItem(text.toHtmlEscaped(), QFont(QStringLiteral("Times"), kTextPointSize), pos, 0.0f,
                1.0f, QTransform(), true);
}

void DPage::pathToText(bool offline)
{
    QList<QGraphicsItem *> objects = validItems(false);
    if (objects.isEmpty())
        return;
    std::sort(objects.begin(), objects.end(), &DPage::compare);
    const QPointF rightmost = objects.last()->scenePos();
    const QPointF base(int(rightmost.x()), int(rightmost.y()));
    const auto isStroke = [](const QGraphicsItem *item) { return item->type() == ItemTypePath; };

    if (!offline) {
        QList<QVector<QPointF>> strokes;
        for (const QGraphicsItem *item : qAsConst(objects)) {
            if (isStroke(item))
                strokes << strokeOf(item);
        }
        m_handwriting->m_textPos = base;
        m_handwriting->recognizeDrawPathAsText(QLatin1String(kLanguage), strokes);
        return;
    }

    if (std::none_of(objects.cbegin(), objects.cend(), isStroke))
        return;
    if (!m_recog.isAvailable()) {
        textNoRecognizer();
        return;
    }
    QList<QVector<QPointF>> gathered;
    int offset = kFirstOffset;
    int placed = 0;
    bool unreadable = false;
    // The character of the gathered strokes, if the recogniser knows it; classes outside the
    // table are left out.
    const auto placeGathered = [&]() {
        const int c = m_recog.reconocer(gathered);
        if (c >= 0 && c < m_recogChars.size()) {
            placeRecognisedText(QString(m_recogChars.at(c)), m_handwriting->m_textPos);
            ++placed;
        } else {
            unreadable = true;
        }
        gathered.clear();
    };
    const int n = objects.size();
    int i = 0;
    while (i < n) {
        m_handwriting->m_textPos = base + QPointF(offset, 0);
        QGraphicsItem *item = objects.at(i);
        if (!isStroke(item)) {
            ++i;
            continue;
        }
        gathered << strokeOf(item);
        if (i == n - 1) {
            placeGathered();
            break;
        }
        QGraphicsItem *next = objects.at(i + 1);
        // Another kind of object next in line ends the character, as a gap would.
        const bool touching =
                isStroke(next) && item->collidesWithItem(next, Qt::IntersectsItemShape);
        int pair = isStroke(next) ? isENIEoI(item, next) : kNoPair;
        // An i-dot stands apart from its stem; a bar across a stem is a T, t, + or H.
        if (pair == kClassSmallI && touching)
            pair = kNoPair;
        if (pair != kNoPair) {
            placeRecognisedText(QString(m_recogChars.at(pair)), m_handwriting->m_textPos);
            ++placed;
            gathered.clear();
            offset += kCharacterStep;
            i += 2;
        } else if (touching) {
            ++i;
        } else {
            placeGathered();
            offset += kCharacterStep;
            ++i;
        }
    }
    if (placed == 0 && unreadable)
        textNoRecognizer();
}

void DPage::textRecognizer(const QString &text)
{
    QString label;
    if (!QHandwritingCustomSupport::replyLabel(text, &label)) {
        textNoRecognizer();
        return;
    }
    placeRecognisedText(label, m_handwriting->m_textPos);
}

void DPage::textNoRecognizer()
{
    QMessageBox::information(m_parent, tr("Atención"), tr("Error al convertir a texto"),
                             QMessageBox::Ok);
}
