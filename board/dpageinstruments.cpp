#include "dpage.h"

#include "dview.h"

#include "tools/dcalculator.h"
#include "tools/dcompass.h"
#include "tools/dcoverscreen.h"
#include "tools/ddices.h"
#include "tools/dmagnifier.h"
#include "tools/dprotractor.h"
#include "tools/drulers.h"
#include "tools/drulertriangle.h"
#include "tools/dscreenrecord.h"
#include "tools/dsearchlight.h"

DPage::ClassroomTools::~ClassroomTools()
{
    delete compass;
    delete protractor;
    delete ruler;
    delete triangleRuler;
    delete curtain.data();
    delete searchLight.data();
    delete magnifier.data();
    delete calculator.data();
    delete dice.data();
}

QPointF DPage::viewCentreInScene() const
{
    return m_view->mapToScene(QPoint((m_view->width() - 1) / 2, (m_view->height() - 1) / 2));
}

template <class Instrument> void DPage::toggleInstrument(Instrument *&instrument)
{
    if (!instrument) {
        instrument = new Instrument(nullptr);
        instrument->m_view = m_view;
        addItem(instrument);
        instrument->setPos(viewCentreInScene());
        m_view->setSelect();
        return;
    }
    if (instrument->scene() == this) {
        removeItem(instrument);
        delete instrument;
        instrument = nullptr;
        return;
    }
    // Taken off its page somehow: bring it back here, where it belongs.
    if (QGraphicsScene *other = instrument->scene())
        other->removeItem(instrument);
    addItem(instrument);
    instrument->setPos(viewCentreInScene());
}

void DPage::insertCompass()
{
    toggleInstrument(m_tools.compass);
}

void DPage::insertPortractor()
{
    toggleInstrument(m_tools.protractor);
}

void DPage::insertRuler()
{
    toggleInstrument(m_tools.ruler);
}

void DPage::insertTriangleRuler()
{
    toggleInstrument(m_tools.triangleRuler);
}

void DPage::insertCalculator()
{
    if (!m_tools.calculator)
        m_tools.calculator = new DCalculator(m_parent);
    m_tools.calculator->show();
}

void DPage::insertCurtain()
{
    if (!m_tools.curtain)
        m_tools.curtain = new DCoverScreen(m_parent);
    m_tools.curtain->show();
    if (m_parent)
        m_tools.curtain->setFixedSize(m_parent->size());
    m_tools.curtain->move(0, 0);
    m_tools.curtain->raise();
}

void DPage::insertSearchLight()
{
    if (!m_tools.searchLight)
        m_tools.searchLight = new DSearchlight(m_parent);
    DSearchlight *light = m_tools.searchLight;
    light->show();
    light->move(-(light->width() / 4), -(light->height() / 4));
    light->raise();
}

void DPage::insertMagnifier()
{
    if (!m_tools.magnifier)
        m_tools.magnifier = new DMagnifier(m_parent);
    m_tools.magnifier->show();
    m_tools.magnifier->raise();
    m_tools.magnifier->setView(m_view);
}

void DPage::insertRecorder()
{
    // One recorder for the whole program: two pages must not film into the same file at once.
    if (!m_tools.recorder)
        m_tools.recorder = DScreenRecord::shared(m_parent);
    DScreenRecord *recorder = m_tools.recorder;
    if (!recorder->isVisible()) {
        if (recorder->play())
            recorder->raise();
    } else {
        recorder->stop();
    }
}

void DPage::insertDice()
{
    if (!m_tools.dice)
        m_tools.dice = new DDiceS(m_parent);
    DDiceS *dice = m_tools.dice;
    if (dice->isVisible()) {
        dice->setParent(nullptr);
        dice->hide();
    } else {
        dice->setParent(m_parent);
        dice->show();
        dice->startRotate();
    }
}

// The flash player, the on-screen keyboard and the video camera have no tool on this board: their
// buttons change nothing.
void DPage::insertFlash() { }

void DPage::insertKeyboard() { }

void DPage::insertVideoCamera() { }
