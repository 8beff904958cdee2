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
#include <limits>

namespace {

// Classes of the character table the pairing rule gives.
constexpr int kClassSmallI = 34;
constexpr int kClassEnie = 72;
constexpr int kClassCapitalI = 8;
constexpr int kClassSmallL = 37;
constexpr int kClassOne = 53;
// Choices of the recogniser a line picks among for each character (HandwritingLine).
constexpr int kLineChoices = 3;
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

// Both boxes in one; a dot's box has no size but still counts.
QRectF unite(const QRectF &a, const QRectF &b)
{
    return QRectF(QPointF(qMin(a.left(), b.left()), qMin(a.top(), b.top())),
                  QPointF(qMax(a.right(), b.right()), qMax(a.bottom(), b.bottom())));
}

// How far a point's x lies outside a box's sides (0 within them).
qreal besides(qreal x, const QRectF &box)
{
    return x < box.left() ? box.left() - x : x > box.right() ? x - box.right() : 0.0;
}

// Whether a small mark belongs to a body: it stands above the body's top (an i- or j-dot, a
// tilde) or below its foot (the point of a question mark), over the body sideways. A hand's
// slant and tilt move a mark aside by a share of its distance from the body, so that much is
// allowed; a comma or full stop written after a letter, level with its foot, is not over it.
// Negative where it does not belong; otherwise how far aside it stands.
qreal markOver(const QRectF &mark, const QRectF &body)
{
    const qreal height = qMax(body.height(), 1.0);
    const qreal middle = mark.center().y();
    qreal gap = 0.0;
    if (middle <= body.top() + 0.1 * height)
        gap = body.top() - middle;
    else if (mark.top() >= body.bottom() - 0.3 * height)
        gap = middle - body.bottom();
    else
        return -1.0;
    if (gap > 1.5 * height)
        return -1.0;
    const qreal aside = besides(mark.center().x(), body);
    return aside <= 0.1 * height + 0.4 * qMax(gap, 0.0) ? aside : -1.0;
}

// Whether a stroke is a small mark beside a body (a dot, a short dash, a tilde).
bool isMark(const QRectF &stroke, const QRectF &body)
{
    return qMax(stroke.width(), stroke.height()) < 0.35 * qMax(body.height(), 1.0);
}

// The shortest distance between the points of two strokes.
qreal gapBetween(const QVector<QPointF> &a, const QVector<QPointF> &b)
{
    qreal nearest = std::numeric_limits<qreal>::max();
    for (const QPointF &p : a) {
        for (const QPointF &q : b)
            nearest = qMin(nearest, QLineF(p, q).length());
    }
    return nearest;
}

// Whether a mark stands over a body as the dot of an i or j does.
bool dotOver(const QRectF &mark, const QRectF &body)
{
    return isMark(mark, body) && mark.center().y() < body.top() && markOver(mark, body) >= 0.0;
}

// Whether the next stroke belongs to the character gathered so far, left to right: a mark over
// or under it (unless it stands rather over the stroke after it), the body under a mark that
// came first, or a stroke most of whose width lies over the character's (the two dots of a
// colon, the bar of a 5).
bool joins(const QRectF &next, const QRectF &character, const QRectF *after)
{
    // Two marks one over the other (the dots of a colon, the dot and comma of a semicolon):
    // close sideways for how far apart they stand.
    const qreal dx = qAbs(next.center().x() - character.center().x());
    const qreal dy = qAbs(next.center().y() - character.center().y());
    const auto size = [](const QRectF &box) { return qMax(box.width(), box.height()); };
    if (qMax(size(next), size(character)) < dy && dx <= 0.4 * dy)
        return true;
    if (isMark(next, character)) {
        const qreal aside = markOver(next, character);
        const qreal asideAfter = after && isMark(next, *after) ? markOver(next, *after) : -1.0;
        if (aside >= 0.0) {
            if (asideAfter < 0.0)
                return true;
            // Over both: a dot goes to a stem (an i or j) rather than to a round or wide
            // letter, else to the one it stands nearer.
            const auto stem = [](const QRectF &box) { return box.height() >= 2.0 * box.width(); };
            if (stem(character) != stem(*after))
                return stem(character);
            return aside <= asideAfter;
        }
        if (asideAfter >= 0.0)
            return false;
    } else if (isMark(character, next) && markOver(character, next) >= 0.0) {
        return true;
    }
    const qreal overlap =
            qMin(next.right(), character.right()) - qMax(next.left(), character.left());
    const qreal narrower = qMax(qMin(next.width(), character.width()), 1.0);
    return overlap >= 0.5 * narrower;
}

// Strokes this close (a share of the taller one's height) are taken as touching.
constexpr qreal kNearlyTouching = 0.08;

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
    const QVector<QPointF> points = path->points();
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
    bool dotted = false; // a dot stands over the gathered strokes
    int offset = kFirstOffset;
    const auto gather = [&](const QVector<QPointF> &stroke) {
        gathered << stroke;
        gatheredBox = gathered.size() == 1 ? boxOf(stroke) : unite(gatheredBox, boxOf(stroke));
    };
    const auto readGathered = [&]() {
        // The next choices let the line take a digit among digits, a letter among letters.
        QVector<int> choices = m_recog.choices(gathered, kLineChoices);
        int c = choices.isEmpty() ? recog::kNoMatch : choices.takeFirst();
        // A bar with a dot over it is an i, whatever the scaled shape looked like.
        if (dotted && (c == kClassCapitalI || c == kClassSmallL || c == kClassOne)) {
            c = kClassSmallI;
            choices.clear();
        }
        line.append({ { c, gatheredBox, choices }, m_handwriting->m_textPos });
        gathered.clear();
        gatheredBox = QRectF();
        dotted = false;
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
            dotted = false;
            line.append({ { pair, unite(boxOf(stroke), boxOf(nextStroke)), {} },
                          m_handwriting->m_textPos });
            offset += kCharacterStep;
            i += 2;
            continue;
        }
        gather(stroke);
        // The stroke after the next one, which a mark may stand over instead.
        QRectF after;
        const bool hasAfter = i + 2 < n && isStroke(objects.at(i + 2));
        if (hasAfter)
            after = boxOf(strokeOf(objects.at(i + 2)));
        // Strokes that nearly touch belong together: a child's ball and stick (a, b, d, p, q)
        // often leave a small gap. Nearly is a small share of the writing's height, well under
        // the space between letters.
        bool nearlyTouching = false;
        if (isStroke(next) && !touching) {
            const QRectF nextBox = boxOf(nextStroke);
            const qreal reach = kNearlyTouching * qMax(gatheredBox.height(), nextBox.height());
            for (const QVector<QPointF> &part : qAsConst(gathered)) {
                if (gapBetween(part, nextStroke) <= reach) {
                    nearlyTouching = true;
                    break;
                }
            }
        }
        if (touching || nearlyTouching
            || (isStroke(next)
                && joins(boxOf(nextStroke), gatheredBox, hasAfter ? &after : nullptr))) {
            const QRectF nextBox = boxOf(nextStroke);
            dotted = dotted
                    || (!touching
                        && (dotOver(nextBox, gatheredBox) || dotOver(gatheredBox, nextBox)));
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
