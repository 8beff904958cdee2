#include "picturereading.h"

#include "picturedecoding.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace PictureReading {

namespace {

qint64 pixelsOf(QSize size)
{
    return qint64(std::max(size.width(), 0)) * std::max(size.height(), 0);
}

// A picture that cannot be read, said by why: what the teacher can do about it differs (find
// the file, save it again as PNG or JPEG, get another copy).
struct UnreadableSentence
{
    Cause cause;
    const char *text;
};
// clang-format off
constexpr UnreadableSentence kUnreadable[] = {
    { Cause::Missing,  QT_TRANSLATE_NOOP("PictureReading", "No se ha podido leer la imagen «%1»: falta, o no es un archivo que se pueda abrir.") },
    { Cause::NoFormat, QT_TRANSLATE_NOOP("PictureReading", "No se ha podido leer la imagen «%1»: no es una imagen de ningún formato que la pizarra sepa leer.") },
    { Cause::Damaged,  QT_TRANSLATE_NOOP("PictureReading", "No se ha podido leer la imagen «%1»: está dañada.") },
};
// clang-format on

QString unreadable(Cause cause, const QString &name)
{
    // Any other cause is a reader's that failed on it.
    const Cause why = cause == Cause::Missing || cause == Cause::NoFormat ? cause : Cause::Damaged;
    for (const UnreadableSentence &sentence : kUnreadable) {
        if (sentence.cause == why)
            return QCoreApplication::translate("PictureReading", sentence.text).arg(name);
    }
    return QString();
}

// Why a file a picture links is left out, as the teacher is told it.
// clang-format off
constexpr const char *kLeftOut[] = {
    QT_TRANSLATE_NOOP("PictureReading", "falta, o no se puede abrir"),
    QT_TRANSLATE_NOOP("PictureReading", "está fuera de la carpeta de la imagen"),
    QT_TRANSLATE_NOOP("PictureReading", "es un dispositivo, no un archivo"),
    QT_TRANSLATE_NOOP("PictureReading", "es una tubería, no un archivo"),
    QT_TRANSLATE_NOOP("PictureReading", "está en una carpeta de tipos de letra"),
    QT_TRANSLATE_NOOP("PictureReading", "está en una carpeta del sistema (/proc, /sys o /dev)"),
};
// clang-format on

// The files a picture links that it shows without, by name and why; "" when none.
QString leftOut(const Probe &probe, const QString &name)
{
    const auto why = [](const LeftOutLink &link) {
        return QCoreApplication::translate("PictureReading", kLeftOut[int(link.why)]);
    };
    const auto linked = [](const LeftOutLink &link) {
        return link.name.mid(link.name.lastIndexOf(QLatin1Char('/')) + 1);
    };
    if (probe.leftOut.isEmpty())
        return QString();
    if (probe.leftOut.size() == 1)
        return QCoreApplication::translate("PictureReading",
                                           "La imagen «%1» se muestra sin «%2», que enlaza: %3.")
                .arg(name, linked(probe.leftOut.first()), why(probe.leftOut.first()));
    QStringList links;
    for (const LeftOutLink &link : probe.leftOut)
        links << QStringLiteral("«%1» (%2)").arg(linked(link), why(link));
    return QCoreApplication::translate("PictureReading",
                                       "La imagen «%1» se muestra sin %2 imágenes que enlaza: %3.")
            .arg(name, QString::number(links.size()), links.join(QLatin1String(", ")));
}

} // namespace

bool fits(QSize size)
{
    return size.width() > 0 && size.height() > 0 && size.width() <= kMaxPictureSide
            && size.height() <= kMaxPictureSide && pixelsOf(size) <= kMaxPicturePixels;
}

QSize fitted(QSize size)
{
    if (size.isEmpty() || fits(size))
        return size;
    const double scale = std::min({ double(kMaxPictureSide) / size.width(),
                                    double(kMaxPictureSide) / size.height(),
                                    std::sqrt(double(kMaxPicturePixels) / pixelsOf(size)) });
    QSize shrunk(std::max(1, int(size.width() * scale)), std::max(1, int(size.height() * scale)));
    while (!fits(shrunk)) // a hair over from rounding
        shrunk = QSize(std::max(1, shrunk.width() - 1), std::max(1, shrunk.height() - 1));
    return shrunk;
}

bool turnsQuarter(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

Probe asStored(const Probe &probe)
{
    Probe stored = probe;
    stored.orientation = 1;
    if (turnsQuarter(probe.orientation)) {
        stored.size = probe.size.transposed();
        stored.taken = probe.taken.transposed();
    }
    return stored;
}

bool shownAsStored(const Probe &probe, QSizeF size)
{
    if (!turnsQuarter(probe.orientation) || probe.size.isEmpty() || size.isEmpty())
        return false;
    const double shape = size.width() / size.height();
    const auto apart = [shape](QSize picture) {
        return std::abs(std::log(shape * picture.height() / picture.width()));
    };
    // An object's sides are whole pixels, scaled alike: its shape is the picture's to within a
    // pixel of its shorter side.
    const double within = 1.0 / std::min(size.width(), size.height()) + 0.01;
    const double fromStored = apart(probe.size.transposed());
    return fromStored <= within && fromStored < apart(probe.size);
}

QString message(const Probe &probe, const QString &name, bool animation)
{
    const QString width = QString::number(probe.size.width());
    const QString height = QString::number(probe.size.height());
    switch (probe.outcome) {
    case Outcome::Whole:
        if (!animation || probe.playable)
            return leftOut(probe, name);
        if (probe.cause == Cause::Frames)
            return QCoreApplication::translate("PictureReading",
                                               "La animación «%1» tiene %2 fotogramas, más de los "
                                               "que la pizarra puede mover, y se muestra quieta.")
                    .arg(name, QString::number(probe.frames));
        return QCoreApplication::translate("PictureReading",
                                           "La animación «%1» mide %2 x %3 píxeles, más de lo "
                                           "que la pizarra puede mover, y se muestra quieta.")
                .arg(name, width, height);
    case Outcome::Smaller:
        if (animation)
            return QCoreApplication::translate("PictureReading",
                                               "La animación «%1» mide %2 x %3 píxeles, más de lo "
                                               "que admite la pizarra, y se muestra quieta y "
                                               "reducida a %4 x %5.")
                    .arg(name, width, height, QString::number(probe.taken.width()),
                         QString::number(probe.taken.height()));
        return (QCoreApplication::translate("PictureReading",
                                            "La imagen «%1» mide %2 x %3 píxeles, más de lo que "
                                            "admite la pizarra, y se ha tomado reducida a %4 x %5.")
                        .arg(name, width, height, QString::number(probe.taken.width()),
                             QString::number(probe.taken.height()))
                + QLatin1Char(' ') + leftOut(probe, name))
                .trimmed();
    case Outcome::TooLarge:
        return QCoreApplication::translate("PictureReading",
                                           "No se ha usado la imagen «%1»: mide %2 x %3 píxeles, "
                                           "y la pizarra admite como mucho %4 píxeles por lado y "
                                           "%5 millones de píxeles.")
                .arg(name, width, height, QString::number(kMaxPictureSide),
                     QString::number(kMaxPicturePixels / 1000000));
    case Outcome::TooCostly:
        if (probe.cause == Cause::Data)
            return QCoreApplication::translate(
                           "PictureReading",
                           "No se ha usado la imagen «%1»: mide %2 x %3 píxeles, pero el texto y "
                           "los demás datos que guarda ocuparían más de %4 MB de memoria al "
                           "leerla.")
                    .arg(name, width, height, QString::number(kMaxDecodeBytes >> 20));
        return QCoreApplication::translate("PictureReading",
                                           "No se ha usado la imagen «%1»: mide %2 x %3 píxeles, "
                                           "y leerla ocuparía más de %4 MB de memoria.")
                .arg(name, width, height, QString::number(kMaxDecodeBytes >> 20));
    case Outcome::Unmeasurable:
        if (probe.cause == Cause::LinksItself)
            return QCoreApplication::translate("PictureReading",
                                               "No se ha usado la imagen «%1»: se enlaza a sí "
                                               "misma, directamente o a través de otra imagen, y "
                                               "dibujarla no terminaría nunca.")
                    .arg(name);
        return QCoreApplication::translate("PictureReading",
                                           "No se ha usado la imagen «%1»: no se puede saber "
                                           "cuánta memoria ocuparía sin leerla entera.")
                .arg(name);
    case Outcome::OutOfMemory:
        return QCoreApplication::translate("PictureReading",
                                           "No se ha usado la imagen «%1»: leerla necesitaba más "
                                           "memoria de la que la pizarra le permite.")
                .arg(name);
    case Outcome::OutOfTime:
        return QCoreApplication::translate("PictureReading",
                                           "No se ha usado la imagen «%1»: leerla llevaba "
                                           "demasiado tiempo.")
                .arg(name);
    case Outcome::Failed:
        return QCoreApplication::translate("PictureReading",
                                           "No se ha usado la imagen «%1»: su lector ha fallado "
                                           "al leerla.")
                .arg(name);
    case Outcome::Unreadable:
        break;
    }
    return unreadable(probe.cause, name);
}

QImage shrink(const QImage &source, QSize size)
{
    return PictureDecoding::shrink(source, size, PictureDecoding::ownMemory);
}

} // namespace PictureReading
