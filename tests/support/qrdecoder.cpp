#include "qrdecoder.h"

#include <QVector>

#include <cmath>

namespace QrDecoder {

namespace {
using Grid = QVector<QVector<bool>>; // [y][x], true for dark

constexpr int kMaxVersion = 5;
// Per version 1 to 5, indexed by the error-correction level in format-bit order (M, L, H, Q).
constexpr int kRawCodewords[kMaxVersion + 1] = { 0, 26, 44, 70, 100, 134 };
constexpr int kEccPerBlock[4][kMaxVersion + 1] = {
    { 0, 10, 16, 26, 18, 24 }, // M
    { 0, 7, 10, 15, 20, 26 }, // L
    { 0, 17, 28, 22, 16, 22 }, // H
    { 0, 13, 22, 18, 26, 18 }, // Q
};
constexpr int kBlocks[4][kMaxVersion + 1] = {
    { 0, 1, 1, 1, 2, 2 }, // M
    { 0, 1, 1, 1, 1, 1 }, // L
    { 0, 1, 1, 2, 4, 4 }, // H
    { 0, 1, 1, 2, 2, 4 }, // Q
};

bool fail(QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return false;
}

bool isDark(const QImage &picture, int x, int y)
{
    return qGray(picture.pixel(x, y)) < 128;
}

// The 15 format bits for an error-correction level (format-bit order) and a mask.
int formatWord(int level, int mask)
{
    const int data = level << 3 | mask;
    int remainder = data;
    for (int i = 0; i < 10; ++i)
        remainder = (remainder << 1) ^ ((remainder >> 9) * 0x537);
    return (data << 10 | remainder) ^ 0x5412;
}

bool sampleGrid(const QImage &picture, Grid *grid, QString *why)
{
    int left = picture.width(), top = picture.height(), right = -1, bottom = -1;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (isDark(picture, x, y)) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
        }
    }
    if (right < 0)
        return fail(why, QStringLiteral("nothing dark in the picture"));
    // The top-left finder's outer ring is seven modules wide.
    int run = 0;
    while (left + run <= right && isDark(picture, left + run, top + 1))
        ++run;
    const double module = run / 7.0;
    if (module < 1.0)
        return fail(why, QStringLiteral("modules smaller than a pixel"));
    const int size = int(std::lround((right - left + 1) / module));
    if ((size - 17) % 4 != 0 || size < 21 || size > 17 + 4 * kMaxVersion)
        return fail(why, QStringLiteral("%1 modules across is no version 1 to 5").arg(size));
    const double cellX = (right - left + 1) / double(size);
    const double cellY = (bottom - top + 1) / double(size);
    grid->fill(QVector<bool>(size), size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            (*grid)[y][x] =
                    isDark(picture, left + int((x + 0.5) * cellX), top + int((y + 0.5) * cellY));
    }
    return true;
}

bool isFunction(int size, int version, int x, int y)
{
    if ((x < 9 && y < 9) || (x >= size - 8 && y < 9) || (x < 9 && y >= size - 8))
        return true; // finders, separators, format bits and the dark module
    if (x == 6 || y == 6)
        return true; // timing patterns
    if (version >= 2 && qAbs(x - (size - 7)) <= 2 && qAbs(y - (size - 7)) <= 2)
        return true; // the one alignment pattern of versions 2 to 6
    return false;
}

bool masked(int mask, int x, int y)
{
    switch (mask) {
    case 0:
        return (x + y) % 2 == 0;
    case 1:
        return y % 2 == 0;
    case 2:
        return x % 3 == 0;
    case 3:
        return (x + y) % 3 == 0;
    case 4:
        return (x / 3 + y / 2) % 2 == 0;
    case 5:
        return x * y % 2 + x * y % 3 == 0;
    case 6:
        return (x * y % 2 + x * y % 3) % 2 == 0;
    default:
        return ((x + y) % 2 + x * y % 3) % 2 == 0;
    }
}
} // namespace

QString decode(const QImage &picture, QString *why)
{
    Grid grid;
    if (!sampleGrid(picture, &grid, why))
        return QString();
    const int size = grid.size();
    const int version = (size - 17) / 4;

    // Format bits, first copy, bit 0 first.
    int format = 0;
    const auto formatBit = [&](int i, int x, int y) { format |= int(grid[y][x]) << i; };
    for (int i = 0; i <= 5; ++i)
        formatBit(i, 8, i);
    formatBit(6, 8, 7);
    formatBit(7, 8, 8);
    formatBit(8, 7, 8);
    for (int i = 9; i < 15; ++i)
        formatBit(i, 14 - i, 8);
    int level = -1, mask = -1, best = 16;
    for (int l = 0; l < 4; ++l) {
        for (int m = 0; m < 8; ++m) {
            const int distance = __builtin_popcount(unsigned(formatWord(l, m) ^ format));
            if (distance < best) {
                best = distance;
                level = l;
                mask = m;
            }
        }
    }
    if (best > 3) {
        fail(why, QStringLiteral("unreadable format bits"));
        return QString();
    }

    // The codewords in placement order: two columns at a time from the right, up and down.
    const int raw = kRawCodewords[version];
    QByteArray codewords(raw, '\0');
    int bit = 0;
    for (int right = size - 1; right >= 1; right -= 2) {
        if (right == 6)
            right = 5;
        for (int vertical = 0; vertical < size; ++vertical) {
            for (int j = 0; j < 2; ++j) {
                const int x = right - j;
                const bool upward = ((right + 1) & 2) == 0;
                const int y = upward ? size - 1 - vertical : vertical;
                if (isFunction(size, version, x, y) || bit >= raw * 8)
                    continue;
                if (grid[y][x] != masked(mask, x, y))
                    codewords[bit >> 3] = char(codewords[bit >> 3] | (0x80 >> (bit & 7)));
                ++bit;
            }
        }
    }

    // Undo the interleaving of the blocks and keep their data codewords, in block order.
    const int blocks = kBlocks[level][version];
    const int ecc = kEccPerBlock[level][version];
    const int shortBlocks = blocks - raw % blocks;
    const int shortData = raw / blocks - ecc;
    QVector<QByteArray> blockData(blocks);
    int at = 0;
    for (int i = 0; i <= shortData; ++i) {
        for (int b = 0; b < blocks; ++b) {
            if (i == shortData && b < shortBlocks)
                continue;
            blockData[b] += codewords[at++];
        }
    }
    QByteArray data;
    for (const QByteArray &block : qAsConst(blockData))
        data += block;

    const auto bits = [&data](int from, int count) {
        int value = 0;
        for (int i = from; i < from + count; ++i)
            value = value << 1 | ((uchar(data[i >> 3]) >> (7 - (i & 7))) & 1);
        return value;
    };
    if (bits(0, 4) != 0b0100) {
        fail(why, QStringLiteral("not a byte-mode symbol (mode %1)").arg(bits(0, 4)));
        return QString();
    }
    const int length = bits(4, 8);
    if (12 + length * 8 > data.size() * 8) {
        fail(why, QStringLiteral("a length of %1 bytes does not fit").arg(length));
        return QString();
    }
    QByteArray text;
    for (int i = 0; i < length; ++i)
        text += char(bits(12 + i * 8, 8));
    return QString::fromUtf8(text);
}

} // namespace QrDecoder
