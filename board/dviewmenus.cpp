// The four context menus of the board objects, built once by the view, and the view's slots
// behind their entries: each forwards to the page the view shows.

#include "dview.h"

#include "dpage.h"

#include <QMenu>

QMenu *DView::createSubMenus(BtMenus::btItemType kind)
{
    auto *menu = new QMenu;
    menu->setObjectName(QStringLiteral("menu%1").arg(int(kind)));
    menu->addAction(tr("Borrar"), this, &DView::deleteObj);
    QMenu *layers = menu->addMenu(tr("Capas"));
    layers->addAction(tr("Traer al frente"), this, &DView::bringObjToFront);
    layers->addAction(tr("Llevar al fondo"), this, &DView::sendObjToBack);
    menu->addAction(tr("Clonar"), this, &DView::cloneObj);
    menu->addAction(tr("Copiar"), this, &DView::copyObj);
    menu->addAction(tr("Pegar"), this, &DView::pasteObj);
    menu->addAction(tr("Bloquear"), this, &DView::lockObj);
    QMenu *group = menu->addMenu(tr("Grupo"));
    group->addAction(tr("Agrupar"), this, &DView::addObjToGroup);
    group->addAction(tr("Desagrupar"), this, &DView::detachObjFromGroup);
    QMenu *rotate = menu->addMenu(tr("Rotar"));
    rotate->addAction(tr("Rotar 45º"), this, &DView::rotate45Obj);
    rotate->addAction(tr("Rotar 90º"), this, &DView::rotate90Obj);
    rotate->addAction(tr("Rotar 180º"), this, &DView::rotate180Obj);
    rotate->addAction(tr("Rotar 270º"), this, &DView::rotate270Obj);
    QMenu *links = menu->addMenu(tr("Enlazar"));
    links->addAction(tr("Enlace Web"), this, &DView::editLinkObj);
    links->addAction(tr("Enlace a una página"), this, &DView::editLinkPageObj);
    links->addAction(tr("Enlace a un fichero"), this, &DView::editLinkFileObj);
    if (kind == BtMenus::btItemVideo)
        links->addAction(tr("Enlace de video"), this, &DView::editLinkVideoObj);
    else
        links->addAction(tr("Enlace de audio"), this, &DView::editLinkSoundObj);
    if (kind == BtMenus::btItemPath || kind == BtMenus::btItemVertex) {
        QMenu *colours = menu->addMenu(tr("Colorear"));
        if (kind == BtMenus::btItemVertex)
            colours->addAction(tr("Color de fondo"), this, &DView::editFillColor);
        colours->addAction(tr("Color de borde"), this, &DView::editBorderColor);
    }
    if (kind == BtMenus::btItemPath) {
        menu->addAction(tr("Convertir en texto offline"), this, &DView::pathToTextOffline);
        menu->addAction(tr("Convertir en texto online"), this, &DView::pathToTextOnline);
    }
    return menu;
}

void DView::bringObjToFront()
{
    if (DPage *current = page())
        current->bringObjToFront();
}

void DView::sendObjToBack()
{
    if (DPage *current = page())
        current->sendObjToBack();
}

void DView::cloneObj()
{
    if (DPage *current = page())
        current->cloneObj();
}

void DView::copyObj()
{
    if (DPage *current = page())
        current->copyObj();
}

void DView::pasteObj()
{
    if (DPage *current = page())
        current->pasteObj();
}

void DView::addObjToGroup()
{
    if (DPage *current = page())
        current->addObjToGroup();
}

void DView::detachObjFromGroup()
{
    if (DPage *current = page())
        current->detachObjFromGroup();
}

void DView::rotate45Obj()
{
    if (DPage *current = page())
        current->rotateObj(45);
}

void DView::rotate90Obj()
{
    if (DPage *current = page())
        current->rotateObj(90);
}

void DView::rotate180Obj()
{
    if (DPage *current = page())
        current->rotateObj(180);
}

void DView::rotate270Obj()
{
    if (DPage *current = page())
        current->rotateObj(270);
}

void DView::zoomInObj()
{
    if (DPage *current = page())
        current->zoomInObj();
}

void DView::zoomOutObj()
{
    if (DPage *current = page())
        current->zoomOutObj();
}

void DView::editLinkObj()
{
    if (DPage *current = page())
        current->editLinkObj();
}

void DView::editLinkPageObj()
{
    if (DPage *current = page())
        current->editLinkPageObj();
}

void DView::editLinkFileObj()
{
    if (DPage *current = page())
        current->editLinkFileObj();
}

void DView::editLinkSoundObj()
{
    if (DPage *current = page())
        current->editLinkSoundObj();
}

void DView::editLinkVideoObj()
{
    if (DPage *current = page())
        current->editLinkVideoObj();
}

void DView::editFillColor()
{
    if (DPage *current = page())
        current->editFillColor();
}

void DView::editBorderColor()
{
    if (DPage *current = page())
        current->editBoderColor();
}

void DView::setTextFont()
{
    if (DPage *current = page())
        current->setTextFont();
}

void DView::editSetAV()
{
    if (DPage *current = page())
        current->editSetAV();
}

void DView::clearAV()
{
    if (DPage *current = page())
        current->clearAV();
}

void DView::pathToTextOffline()
{
    if (DPage *current = page())
        current->pathToText(true);
}

void DView::pathToTextOnline()
{
    if (DPage *current = page())
        current->pathToText(false);
}

void DView::playAV()
{
    if (DPage *current = page())
        current->playAV();
}
