#include "picturereading.h"

#include "picturedecoding.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace PictureReading {

namespace {

qint64 pixelsOf(QSize size)
{
    return qint64(std::max(size.width(), 0)) * std::max(size.height(), 0);
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

QString message(const Probe &probe, const QString &name, bool animation)
{
    const QString width = QString::number(probe.size.width());
    const QString height = QString::number(probe.size.height());
    switch (probe.outcome) {
    case Outcome::Whole:
        if (!animation || probe.playable)
            return QString();
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
        return QCoreApplication::translate("PictureReading",
                                           "La imagen «%1» mide %2 x %3 píxeles, más de lo que "
                                           "admite la pizarra, y se ha tomado reducida a %4 x %5.")
                .arg(name, width, height, QString::number(probe.taken.width()),
                     QString::number(probe.taken.height()));
    case Outcome::TooLarge:
        return QCoreApplication::translate("PictureReading",
                                           "No se ha usado la imagen «%1»: mide %2 x %3 píxeles, "
                                           "y la pizarra admite como mucho %4 píxeles por lado y "
                                           "%5 millones de píxeles.")
                .arg(name, width, height, QString::number(kMaxPictureSide),
                     QString::number(kMaxPicturePixels / 1000000));
    case Outcome::TooCostly:
        return QCoreApplication::translate("PictureReading",
                                           "No se ha usado la imagen «%1»: mide %2 x %3 píxeles, "
                                           "y leerla ocuparía más de %4 MB de memoria.")
                .arg(name, width, height, QString::number(kMaxDecodeBytes >> 20));
    case Outcome::Unmeasurable:
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
    return QCoreApplication::translate("PictureReading", "No se ha podido leer la imagen «%1».")
            .arg(name);
}

QImage shrink(const QImage &source, QSize size)
{
    return PictureDecoding::shrink(source, size, PictureDecoding::ownMemory);
}

} // namespace PictureReading
