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
