#include "handwritingline.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace HandwritingLine {

namespace {

constexpr int kCapitalA = 0;
constexpr int kSmallA = 26;
constexpr int kDigit0 = 52;
constexpr int kTableSize = 73;

constexpr int capital(char letter)
{
    return kCapitalA + (letter - 'A');
}
constexpr int small(char letter)
{
    return kSmallA + (letter - 'a');
}
constexpr int digit(char value)
{
    return kDigit0 + (value - '0');
}

// Capitals written as their small letters, only bigger.
constexpr char kSizePairs[] = "cosuvwxz";
// A bar and a ring: letters or digits.
constexpr int kBar[] = { capital('I'), small('l'), digit('1') };
constexpr int kRing[] = { capital('O'), small('o'), digit('0') };

// Small letters that stand on the baseline and reach only the x-height; they measure it.
constexpr char kShortLetters[] = "aemnr";
// Small letters above the x-height (measure the tall height with capitals and digits).
constexpr char kTallLetters[] = "bdfhkt";
// Small letters below the baseline: their height says nothing alone.
constexpr char kDescenders[] = "gjqy";

bool isSizePair(int id)
{
    for (const char *c = kSizePairs; *c; ++c) {
        if (id == capital(char(*c - 'a' + 'A')) || id == small(*c))
            return true;
    }
    return false;
}

template <size_t N> bool among(const int (&group)[N], int id)
{
    return std::find(std::begin(group), std::end(group), id) != std::end(group);
}

bool among(const char *letters, int id)
{
    for (const char *c = letters; *c; ++c) {
        if (id == small(*c))
            return true;
    }
    return false;
}

// Capitals written as their small letters, only lower: the small one hangs below the baseline.
constexpr char kDropPairs[] = "py";

bool isDropPair(int id)
{
    for (const char *c = kDropPairs; *c; ++c) {
        if (id == capital(char(*c - 'a' + 'A')) || id == small(*c))
            return true;
    }
    return false;
}

bool isAmbiguous(int id)
{
    return isSizePair(id) || isDropPair(id) || among(kBar, id) || among(kRing, id);
}
bool isDigit(int id)
{
    return id >= kDigit0 && id < kDigit0 + 10;
}
bool isCapital(int id)
{
    return id >= kCapitalA && id < kCapitalA + 26;
}
bool isLetter(int id)
{
    return isCapital(id) || (id >= kSmallA && id < kSmallA + 26);
}
bool isSmall(int id)
{
    return (id >= kSmallA && id < kSmallA + 26) || id == kTableSize - 1;
}

// Letters and digits whose foot is on the baseline (not g, j, p, q, y, nor P and Y, which may
// be their small letters).
bool standsOnLine(int id)
{
    if (id < 0 || id >= kTableSize || isDropPair(id) || among(kDescenders, id) || id == small('j')
        || id == small('p'))
        return false;
    return isCapital(id) || isDigit(id) || isSmall(id);
}

enum class Size { Tall, Short, Unknown };

Size sizeOf(int id)
{
    if (isAmbiguous(id))
        return Size::Unknown;
    if (isCapital(id) || isDigit(id) || among(kTallLetters, id))
        return Size::Tall;
    if (among(kShortLetters, id))
        return Size::Short;
    return Size::Unknown;
}

qreal median(QVector<qreal> values)
{
    if (values.isEmpty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const int middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2;
}

// The letter's capital or small form.
int withCase(int id, bool capitalForm)
{
    if (among(kRing, id))
        return capitalForm ? capital('O') : small('o');
    if (isCapital(id))
        return capitalForm ? id : id - kCapitalA + kSmallA;
    return capitalForm ? id - kSmallA + kCapitalA : id;
}

} // namespace

bool lookAlike(int a, int b)
{
    if (a == b)
        return true;
    if ((among(kBar, a) && among(kBar, b)) || (among(kRing, a) && among(kRing, b)))
        return true;
    return (isSizePair(a) || isDropPair(a)) && (isSizePair(b) || isDropPair(b)) && !isDigit(a)
            && !isDigit(b) && withCase(a, false) == withCase(b, false);
}

namespace {

QVector<int> settled(const QVector<Character> &line)
{
    QVector<int> result;
    QVector<qreal> tall;
    QVector<qreal> shorter;
    for (const Character &character : line) {
        result << character.classId;
        const Size size = sizeOf(character.classId);
        // A bar is an I, an l or a 1: whichever it is, it stands as high as the capitals.
        if (size == Size::Tall || among(kBar, character.classId))
            tall << character.box.height();
        else if (size == Size::Short)
            shorter << character.box.height();
    }
    const qreal tallHeight = median(tall);
    const qreal shortHeight = median(shorter);
    // Heights of the undecided letters alone, for a line made only of them ("Oso", "SOS").
    QVector<qreal> undecided;
    for (const Character &character : line) {
        if (isSizePair(character.classId) || among(kRing, character.classId))
            undecided << character.box.height();
    }
    const qreal lowest =
            undecided.isEmpty() ? 0.0 : *std::min_element(undecided.cbegin(), undecided.cend());
    const qreal highest =
            undecided.isEmpty() ? 0.0 : *std::max_element(undecided.cbegin(), undecided.cend());

    // The baseline at x through the feet of the other characters that stand on it, as a
    // straight line (the line may be written at a slope); false when none stands on it.
    const auto baselineAt = [&](int self, qreal x, qreal *y) {
        QVector<QPointF> feet;
        for (int k = 0; k < line.size(); ++k) {
            if (k != self && standsOnLine(line.at(k).classId))
                feet << QPointF(line.at(k).box.center().x(), line.at(k).box.bottom());
        }
        if (feet.isEmpty())
            return false;
        qreal meanX = 0.0;
        qreal meanY = 0.0;
        for (const QPointF &foot : feet) {
            meanX += foot.x() / feet.size();
            meanY += foot.y() / feet.size();
        }
        qreal spread = 0.0;
        qreal slope = 0.0;
        for (const QPointF &foot : feet) {
            spread += (foot.x() - meanX) * (foot.x() - meanX);
            slope += (foot.x() - meanX) * (foot.y() - meanY);
        }
        slope = spread > 0.0 ? qBound(-0.5, slope / spread, 0.5) : 0.0;
        *y = meanY + slope * (x - meanX);
        return true;
    };

    // 1 where a height is a capital's, 0 where it is a small letter's, -1 where the line cannot
    // say.
    const auto capitalHeight = [&](qreal height) -> int {
        if (tallHeight > 0 && shortHeight > 0)
            return height > std::sqrt(tallHeight * shortHeight) ? 1 : 0;
        if (tallHeight > 0)
            return height > 0.8 * tallHeight ? 1 : 0;
        if (shortHeight > 0)
            return height > 1.3 * shortHeight ? 1 : 0;
        if (highest > 1.3 * lowest)
            return height > std::sqrt(highest * lowest) ? 1 : 0;
        return -1;
    };
    // What the nearest decided characters on either side are: digits, capitals or small
    // letters.
    const auto neighbours = [&](int at, int *digits, int *capitals, int *smalls) {
        *digits = *capitals = *smalls = 0;
        for (int step : { -1, 1 }) {
            for (int i = at + step; i >= 0 && i < line.size(); i += step) {
                const int id = line.at(i).classId;
                if (id < 0 || id >= kTableSize || isAmbiguous(id))
                    continue;
                if (isDigit(id))
                    ++*digits;
                else if (isCapital(id))
                    ++*capitals;
                else if (isSmall(id))
                    ++*smalls;
                else
                    continue; // punctuation says nothing
                break;
            }
        }
    };

    // Whether a character hangs below the baseline by more than share of the body, as p, y
    // and j do; false where the line has no baseline.
    const auto hangs = [&](int at, qreal share) {
        const QRectF &box = line.at(at).box;
        qreal baseline = 0.0;
        if (!baselineAt(at, box.center().x(), &baseline))
            return false;
        const qreal body = tallHeight > 0 ? tallHeight
                : shortHeight > 0         ? 1.6 * shortHeight
                                          : box.height();
        return box.bottom() > baseline + share * body;
    };

    QVector<int> undecidedBars;
    for (int i = 0; i < line.size(); ++i) {
        const int id = line.at(i).classId;
        // A stem with a dot, or a bar, reaching below the line is a j: with its dot the stem
        // looks like an i or a bar once the recogniser has scaled it.
        if ((id == small('i') || among(kBar, id)) && hangs(i, 0.3)) {
            result[i] = small('j');
            continue;
        }
        if (id < 0 || id >= kTableSize || !isAmbiguous(id))
            continue;
        int digits = 0;
        int capitals = 0;
        int smalls = 0;
        neighbours(i, &digits, &capitals, &smalls);
        const bool numeric = digits > 0 && digits >= capitals + smalls;
        if (among(kBar, id)) {
            if (numeric)
                result[i] = digit('1');
            else if (smalls > 0)
                result[i] = small('l');
            else if (capitals > 0)
                result[i] = capital('I');
            else
                undecidedBars << i;
            continue;
        }
        if (isDropPair(id)) {
            qreal baseline = 0.0;
            const bool known = baselineAt(i, 0.0, &baseline);
            // A p or y hangs by a third of its height or more; a capital stands on the line
            // give or take a shaky hand.
            result[i] = withCase(id, known && !hangs(i, 0.2));
            continue;
        }
        const int capitalForm = capitalHeight(line.at(i).box.height());
        // A ring as high as the digits beside it is a zero; a small one is still an o.
        if (among(kRing, id) && numeric && capitalForm != 0) {
            result[i] = digit('0');
            continue;
        }
        if (capitalForm >= 0)
            result[i] = withCase(id, capitalForm == 1);
        else if (id != digit('0'))
            result[i] = withCase(id, false);
    }
    // A bar among letters that only their height could settle ("OIS", "sol") takes their case.
    for (int i : qAsConst(undecidedBars)) {
        int capitals = 0;
        int smalls = 0;
        for (int step : { -1, 1 }) {
            const int k = i + step;
            if (k < 0 || k >= line.size() || !isLetter(result.at(k)) || among(kBar, result.at(k)))
                continue;
            capitals += isCapital(result.at(k)) ? 1 : 0;
            smalls += isCapital(result.at(k)) ? 0 : 1;
        }
        const int id = line.at(i).classId;
        result[i] = capitals > 0 && smalls == 0 ? capital('I')
                : id == digit('1') && smalls == 0 ? id
                                                   : small('l');
    }
    return result;
}

// Small letters as high as the x-height that have a capital of another shape.
constexpr char kBodyLetters[] = "aemnr";

// The first of the character's next two choices that passes, or -1.
template <typename Test> int nextChoice(const Character &character, Test passes)
{
    for (int k = 0; k < std::min(2, int(character.others.size())); ++k) {
        if (passes(character.others.at(k)))
            return character.others.at(k);
    }
    return -1;
}

} // namespace

QVector<int> read(const QVector<Character> &input)
{
    QVector<Character> line = input;
    // Digits among letters and letters among digits: the next choice that fits the others.
    for (int i = 0; i < line.size(); ++i) {
        int letters = 0;
        int digits = 0;
        for (int k = 0; k < input.size(); ++k) {
            const int id = input.at(k).classId;
            if (k == i || isAmbiguous(id))
                continue;
            letters += isLetter(id) ? 1 : 0;
            digits += isDigit(id) ? 1 : 0;
        }
        const int id = line.at(i).classId;
        int other = -1;
        if (isDigit(id) && letters > digits)
            other = nextChoice(line.at(i), isLetter);
        else if (isLetter(id) && digits > letters)
            other = nextChoice(line.at(i), isDigit);
        if (other >= 0)
            line[i].classId = other;
    }
    // A word is written in capitals, or in small letters after its first: a letter of the other
    // case among them takes the next choice of this case, where it has one.
    for (int i = 0; i < line.size(); ++i) {
        const int id = line.at(i).classId;
        if (!isLetter(id) || isAmbiguous(id))
            continue;
        int capitals = 0;
        int smalls = 0;
        for (int k = 0; k < input.size(); ++k) {
            const int other = input.at(k).classId;
            if (k == i || !isLetter(other) || isAmbiguous(other))
                continue;
            capitals += isCapital(other) ? 1 : 0;
            smalls += isCapital(other) ? 0 : 1;
        }
        int other = -1;
        if (!isCapital(id) && capitals > 0 && smalls == 0)
            other = nextChoice(line.at(i), isCapital);
        else if (isCapital(id) && i > 0 && smalls > 0 && capitals == 0)
            other = nextChoice(line.at(i), [](int c) { return isLetter(c) && !isCapital(c); });
        if (other >= 0)
            line[i].classId = other;
    }
    // A capital as small as the small letters, or a small letter as high as the capitals: the
    // next choice of the other size, where the line knows both heights.
    QVector<qreal> tall;
    QVector<qreal> shorter;
    for (const Character &character : qAsConst(line)) {
        const Size size = sizeOf(character.classId);
        if (size == Size::Tall)
            tall << character.box.height();
        else if (size == Size::Short)
            shorter << character.box.height();
    }
    if (!tall.isEmpty() && !shorter.isEmpty()) {
        const qreal between = std::sqrt(median(tall) * median(shorter));
        for (Character &character : line) {
            const int id = character.classId;
            if (isAmbiguous(id) || among(kDescenders, id))
                continue;
            int other = -1;
            if (isCapital(id) && character.box.height() < between)
                other = nextChoice(character, [](int c) {
                    return among(kBodyLetters, c) || isSizePair(c);
                });
            else if (among(kBodyLetters, id) && character.box.height() > between)
                other = nextChoice(character, isCapital);
            if (other >= 0)
                character.classId = other;
        }
    }
    return settled(line);
}

} // namespace HandwritingLine
