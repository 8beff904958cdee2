#include "gadgetbutton.h"

#include <QIcon>
#include <QPushButton>

namespace GadgetButton {

QPushButton *make(QWidget *parent, const QString &iconPath)
{
    auto *button = new QPushButton(parent);
    if (!iconPath.isEmpty())
        button->setIcon(QIcon(iconPath));
    button->setText(QString());
    button->setIconSize(QSize(kIconSide, kIconSide));
    button->setFixedSize(kSide, kSide);
    button->setStyleSheet(QLatin1String(kNormalStyle));
    button->show();
    return button;
}

} // namespace GadgetButton
