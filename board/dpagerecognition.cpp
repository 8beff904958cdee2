// Handwriting to text: the page cuts its selected strokes into characters and asks the offline
// recogniser for each, or sends them all to the online service, and places the text it gets.

#include "dpage.h"

#include "boardtypes.h"
#include "dgpathitem.h"
#include "dview.h"

#include "recognition/handwritingline.h"
#include "recognition/qhandwritingcustomsupport.h"

#include <QMessageBox>

#include <algorithm>

namespace {

// Classes of the character table the pairing rule gives.
constexpr int kClassSmallI = 34;
constexpr int kClassEnie = 72;
constexpr int kNoPair = -1;

// Two strokes read alone as one and other (in either order) make result: the dot and the stem
// of an "i", the tilde and the body of an "ñ". A tapped i-dot reads as "." where a dash was drawn.
struct PairRule
{
    int one;
    int other;
    int result;
};
// clang-format off
constexpr PairRule kPairRules[] = {
    { 65 /* - */, 8  /* I */, kClassSmallI }, { 65 /* - */, 43 /* r */, kClassSmallI },
    { 65 /* - */, 37 /* l */, kClassSmallI }, { 65 /* - */, 11 /* L */, kClassSmallI },
    { 62 /* . */, 8  /* I */, kClassSmallI }, { 62 /* . */, 43 /* r */, kClassSmallI },
    { 62 /* . */, 37 /* l */, kClassSmallI }, { 62 /* . */, 11 /* L */, kClassSmallI },
    { 65 /* - */, 53 /* 1 */, kClassSmallI }, { 62 /* . */, 53 /* 1 */, kClassSmallI },
    { 39 /* n */, 65 /* - */, kClassEnie },   { 39 /* n */, 53 /* 1 */, kClassEnie },
    { 39 /* n */, 21 /* V */, kClassEnie },   { 33 /* h */, 65 /* - */, kClassEnie },
};
// clang-format on

int pairOf(int a, int b)
{
    for (const PairRule &rule : kPairRules) {
        if ((a == rule.one && b == rule.other) || (a == rule.other && b == rule.one))
            return rule.result;
    }
    return kNoPair;
}

// The box of a stroke's points in scene coordinates.
QRectF boxOf(const QVector<QPointF> &stroke)
{
    if (stroke.isEmpty())
        return QRectF();
    qreal left = stroke.first().x();
    qreal right = left;
    qreal top = stroke.first().y();
    qreal bottom = top;
    for (const QPointF &point : stroke) {
        left = qMin(left, point.x());
        right = qMax(right, point.x());
        top = qMin(top, point.y());
        bottom = qMax(bottom, point.y());
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

// Whether a mark (an i-dot, a tilde) stands over a body within one character's box: above the
// body's upper part, not further above it than the body is high, and over it sideways. A dash
// beside a stem ("LT" written with a separate bar) is another character.
bool standsOver(const QRectF &mark, const QRectF &body)
{
    const qreal height = qMax(body.height(), 1.0);
    const qreal reach = qMax(body.width() / 2.0, height * 0.25);
    const qreal middle = mark.center().x();
    return middle >= body.center().x() - reach && middle <= body.center().x() + reach
            && mark.center().y() < body.top() + height * 0.3
            && body.top() - mark.bottom() <= height;
}

// Whether a stroke stands within the box of the character gathered so far, left to right:
// most of the narrower of the two lies over the other (the two dots of a colon), or it is a
// small mark over or under the character, where a slanted hand puts it a little aside (the dot
// of a j, the point of a question mark).
bool withinBox(const QRectF &stroke, const QRectF &character)
{
    const qreal height = qMax(character.height(), 1.0);
    if (qMax(stroke.width(), stroke.height()) < 0.3 * height) {
        const qreal middle = stroke.center().x();
        // Over the character, a slanted hand's dot may stand a little aside; under it (a
        // question mark's point) it stands within, or it is a full stop or comma after it.
        const qreal margin = 0.2 * height;
        if (stroke.bottom() <= character.top() + 0.3 * height && middle >= character.left() - margin
            && middle <= character.right() + margin)
            return true;
        if (stroke.top() >= character.bottom() - 0.3 * height && middle >= character.left()
            && middle <= character.right())
            return true;
    }
    const qreal overlap =
            qMin(stroke.right(), character.right()) - qMax(stroke.left(), character.left());
    const qreal narrower = qMax(qMin(stroke.width(), character.width()), 1.0);
    return overlap >= 0.5 * narrower;
}

// The first character goes this far right of the rightmost stroke, each next one this much
// further on.
constexpr int kFirstOffset = 40;
constexpr int kCharacterStep = 30;
constexpr int kTextPointSize = 25;

const char kLanguage[] = "es_ES";

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
    // Characters are read first and placed once the whole line is known: the line settles
    // letters that look alike alone (C and c, O, o and 0, I, l and 1).
    struct Read
    {
        HandwritingLine::Character character;
        QPointF pos;
    };
    QVector<Read> line;
    QList<QVector<QPointF>> gathered;
    QRectF gatheredBox;
    int offset = kFirstOffset;
    const auto gather = [&](const QVector<QPointF> &stroke) {
        gathered << stroke;
        gatheredBox = gatheredBox.isNull() ? boxOf(stroke) : gatheredBox | boxOf(stroke);
    };
    const auto readGathered = [&]() {
        line.append({ { m_recog.reconocer(gathered), gatheredBox }, m_handwriting->m_textPos });
        gathered.clear();
        gatheredBox = QRectF();
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
        const QVector<QPointF> stroke = strokeOf(item);
        if (i == n - 1) {
            gather(stroke);
            readGathered();
            break;
        }
        QGraphicsItem *next = objects.at(i + 1);
        // Another kind of object next in line ends the character, as a gap would.
        const bool touching =
                isStroke(next) && item->collidesWithItem(next, Qt::IntersectsItemShape);
        int pair = kNoPair;
        QVector<QPointF> nextStroke;
        if (isStroke(next)) {
            nextStroke = strokeOf(next);
            pair = isENIEoI(item, next);
            // The mark (dot, dash, tilde) is the smaller of the two; it must stand over the
            // other.
            const QRectF first = boxOf(stroke);
            const QRectF second = boxOf(nextStroke);
            const auto size = [](const QRectF &box) { return qMax(box.width(), box.height()); };
            const bool firstIsMark = size(first) < size(second);
            if (pair != kNoPair
                && !standsOver(firstIsMark ? first : second, firstIsMark ? second : first))
                pair = kNoPair;
        }
        // An i-dot stands apart from its stem; a bar across a stem is a T, t, + or H.
        if (pair == kClassSmallI && touching)
            pair = kNoPair;
        if (pair != kNoPair) {
            // Strokes gathered before the pair belong to no character that can be read.
            gathered.clear();
            gatheredBox = QRectF();
            line.append({ { pair, boxOf(stroke) | boxOf(nextStroke) }, m_handwriting->m_textPos });
            offset += kCharacterStep;
            i += 2;
            continue;
        }
        gather(stroke);
        if (touching || (isStroke(next) && withinBox(boxOf(nextStroke), gatheredBox))) {
            ++i;
        } else {
            readGathered();
            offset += kCharacterStep;
            ++i;
        }
    }
    const QPointF lastTextPos = m_handwriting->m_textPos;
    QVector<HandwritingLine::Character> characters;
    for (const Read &read : qAsConst(line))
        characters << read.character;
    const QVector<int> classes = HandwritingLine::read(characters);
    int placed = 0;
    bool unreadable = false;
    for (int k = 0; k < line.size(); ++k) {
        // Classes outside the table are left out; their place in the row stays empty.
        const int c = classes.at(k);
        if (c >= 0 && c < m_recogChars.size()) {
            placeRecognisedText(QString(m_recogChars.at(c)), line.at(k).pos);
            ++placed;
        } else {
            unreadable = true;
        }
    }
    m_handwriting->m_textPos = lastTextPos;
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
